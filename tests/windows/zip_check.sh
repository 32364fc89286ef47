#!/bin/sh
# The Windows tests' zip, unpacked as a user would, into a folder whose
# path has a space, a comma, a letter outside ASCII, CJK letters and
# characters that the command processor reads as its own (Wine's drops a
# percent sign from the script's own path, Windows' does not), and run as
# a person runs it: by its own run-tests.cmd, in Wine's command processor,
# in a console window on a desktop (Wine's own, on its X11 driver and an
# Xvfb display).
# A test that shares that console can hide its window; headless, no
# console has one. Every test must pass, the closing count must say so,
# and the zip must hold its README. Then once more with no results folder
# to be had: one line, status 1, nothing run.
# Usage: zip_check.sh ZIP WINE-RUN
set -eu
zip=$1 run=$2
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$(cd "$(dirname "$run")" && pwd)/desktop-prefix"
fail() { echo "FAIL: $*"; exit 1; }
. "$here/../../scripts/wine-desktop.sh"
sh "$here/../../scripts/wine-prefix.sh" "$WINEPREFIX" desktop

folder="$scratch/Café bundle, ^ & 日本 (1)"
mkdir "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
bundle="$folder/$(basename "$zip" .zip)"
[ -s "$bundle/README.txt" ] || { echo "FAIL: the zip has no README.txt"; exit 1; }

# run-tests.cmd in a console window of its own: what it said, and the
# status that wineconsole passes on.
run_in_console() {
  status=0
  (cd "$bundle" && "$run" wineconsole cmd /c "run-tests.cmd > said.txt 2>&1") || status=$?
  said=$(tr -d '\r' < "$bundle/said.txt") || said="(nothing: run-tests.cmd did not start)"
}

run_in_console
printf '%s\n' "$said"
tests=$(grep -c '^call :test ' "$bundle/run-tests.cmd")
last=$(printf '%s\n' "$said" | tail -n 1)
count=$(tr -d '\r' < "$bundle/results/count.txt" 2> /dev/null || true)
if [ "$status" -ne 0 ] || [ "$last" != "$tests passed, 0 failed" ] || [ "$count" != "$last" ]; then
  echo "FAIL: run-tests.cmd ended with $status, saying \"$last\" of $tests tests, and \"$count\" in count.txt"
  for report in "$bundle"/results/*.txt; do
    grep -q '^\[  FAILED  \]\|^FAIL\|time-limit:' "$report" && { echo "== $report"; tr -d '\r' < "$report"; }
  done
  exit 1
fi
for name in $(sed -n 's/^call :test \([^ ]*\) .*/\1/p' "$bundle/run-tests.cmd" | tr -d '\r'); do
  [ "$name" = soak ] || [ -s "$bundle/results/$name.xml" ] ||
    { echo "FAIL: no XML report from $name"; exit 1; }
done

# A file where the results folder goes: no test can run, and none may
# pass for having run.
rm -rf "$bundle/results"
: > "$bundle/results"
run_in_console
refused=$said
if [ "$status" -ne 1 ] || [ "$(printf '%s\n' "$refused" | wc -l)" -ne 1 ] || [ ! -f "$bundle/results" ] ||
   printf '%s\n' "$refused" | grep -q 'PASS\|passed'; then
  echo "FAIL: with a file named results, run-tests.cmd ended with $status, saying:"
  printf '%s\n' "$refused"
  exit 1
fi
printf 'ok: %s, from %s in "%s" in a console window; with no results folder: %s\n' \
  "$last" "$(basename "$bundle")" "$folder" "$refused"
