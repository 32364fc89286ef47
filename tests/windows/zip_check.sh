#!/bin/sh
# The Windows tests' zip, unpacked as a user would, into a folder whose
# path has a space, a comma and a letter outside ASCII, and run by its own
# run-tests.cmd under Wine's command processor, as Windows runs it. Every
# test must pass, the closing count must say so, and the zip must hold its
# README. Usage: zip_check.sh ZIP WINE-RUN
set -eu
zip=$1 run=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folder="$scratch/Tëst bundle, one"
mkdir "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
bundle="$folder/$(basename "$zip" .zip)"
[ -s "$bundle/README.txt" ] || { echo "FAIL: the zip has no README.txt"; exit 1; }
status=0
(cd "$bundle" && "$run" cmd /c run-tests.cmd) > "$scratch/said" 2>&1 || status=$?
tr -d '\r' < "$scratch/said"
tests=$(grep -c '^call :test ' "$bundle/run-tests.cmd")
last=$(tr -d '\r' < "$scratch/said" | tail -n 1)
if [ "$status" -ne 0 ] || [ "$last" != "$tests passed, 0 failed" ]; then
  echo "FAIL: run-tests.cmd ended with $status, saying \"$last\" of $tests tests"
  for report in "$bundle"/results/*.txt; do
    grep -q '^\[  FAILED  \]\|^FAIL\|time-limit:' "$report" && { echo "== $report"; tr -d '\r' < "$report"; }
  done
  exit 1
fi
for name in $(sed -n 's/^call :test \([^ ]*\) .*/\1/p' "$bundle/run-tests.cmd" | tr -d '\r'); do
  [ "$name" = soak ] || [ -s "$bundle/results/$name.xml" ] ||
    { echo "FAIL: no XML report from $name"; exit 1; }
done
echo "ok: $last, from $(basename "$bundle") in \"$folder\""
