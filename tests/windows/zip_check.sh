#!/bin/sh
# The Windows tests' zip, unpacked as a user would, into a folder whose
# path has a space, a comma, a letter outside ASCII, CJK letters and the
# command processor's own characters (not %, which Wine's drops from a
# script's own path), and run as a person runs it: by its run-tests.cmd in
# a console window on a desktop (Wine's own, on an Xvfb display), where a
# test that shares the console can hide its window. Every test must pass,
# the count must say so, and the zip must hold its README. Then once more
# with no results folder to be had: one line, status 1, nothing run.
# Usage: zip_check.sh ZIP WINE-RUN
set -eu
zip=$1 run=$2
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$(cd "$(dirname "$run")" && pwd)/desktop-prefix"
fail() { echo "FAIL: $*"; exit 1; }
. "$here/../../scripts/wine-tools.sh"
. "$here/../../scripts/wine-desktop.sh"
sh "$here/../../scripts/wine-prefix.sh" "$WINEPREFIX" desktop

folder="$scratch/Café bundle, ^ & 日本 (1)"
mkdir "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
bundle="$folder/$(basename "$zip" .zip)"
[ -s "$bundle/README.txt" ] || fail "the zip has no README.txt"

# run-tests.cmd in a console window of its own, in the bundle or the
# folder given: what it said, and the status that wineconsole passes on.
run_in_console() {
  in=${1:-$bundle}
  status=0
  (cd "$in" && "$run" wineconsole cmd /c "run-tests.cmd > said.txt 2>&1") || status=$?
  said=$(tr -d '\r' < "$in/said.txt") || said="(nothing: run-tests.cmd did not start)"
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
  [ "$name" = soak ] || [ -s "$bundle/results/$name.xml" ] || fail "no XML report from $name"
done

# A file where the results folder goes: no test can run, and none may
# pass for having run.
rm -rf "$bundle/results"
: > "$bundle/results"
run_in_console
[ "$status" -eq 1 ] && [ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] && [ -f "$bundle/results" ] ||
  fail "with a file named results, run-tests.cmd ended with $status, saying: $said"
no_folder=$said

# Results left from before that cannot be removed (immutable, as a locked
# file or a deny ACL is on Windows), in a folder with one test: its stale
# PASS is no pass, and a stale count stops the run in one line.
locked="$scratch/locked"
mkdir -p "$locked/results"
cp "$bundle/run-tests.cmd" "$bundle/time-limit.exe" "$bundle/follow_tests.exe" "$locked/"
echo "PASS" > "$locked/results/follow_tests.txt"
if chattr +i "$locked/results/follow_tests.txt" 2> /dev/null; then
  run_in_console "$locked"
  chattr -i "$locked/results/follow_tests.txt"
  [ "$status" -eq 1 ] && printf '%s\n' "$said" | grep -q '^FAIL follow_tests: .* cannot be removed' &&
    ! printf '%s\n' "$said" | grep -q '^PASS' || fail "with a result that cannot be removed: $said"
  echo "7 passed, 0 failed" > "$locked/results/count.txt"
  chattr +i "$locked/results/count.txt"
  run_in_console "$locked"
  chattr -i "$locked/results/count.txt"
  [ "$status" -eq 1 ] && [ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] ||
    fail "with a count that cannot be written: $said"
else
  echo "skipped: results that cannot be removed, where chattr cannot make a file immutable"
fi
printf 'ok: %s, from %s in "%s" in a console window; with no results folder: %s\n' \
  "$last" "$(basename "$bundle")" "$folder" "$no_folder"
