#!/bin/sh
# On a fresh Wine prefix, a second program started while the first still
# runs must finish: the prefix's set-up lock is not held by the Wine
# processes it starts. And a 32-bit program, an NSIS installer of the
# default target, either runs and gives its status or is refused in one
# line, never passed off as run. Usage: wine_runner_check.sh WINE-RUN.SH
# FOLLOW.EXE GLYPHROOTS.EXE
set -eu
run=$1 follow=$2 glyphroots=$3
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix"
# The Wine that WINE-RUN.SH runs, whose server the clean-up ends.
. "$(dirname "$run")/wine-tools.sh"
first=""
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
printf 'first program\n' > "$scratch/log"
mkdir "$scratch/install"
"$run" "$follow" "Z:$scratch/log" > "$scratch/out" 2>&1 &
first=$!
waited=0
until grep -q 'first program' "$scratch/out"; do
  waited=$((waited + 1))
  [ "$waited" -lt 1200 ] || { echo "FAIL: follow.exe never started"; exit 1; }
  sleep 0.1
done
if timeout 60 "$run" "$glyphroots" "Z:$(echo "$scratch/install" | tr / '\\')"; then
  status=0
else
  status=$?
fi
[ "$status" -eq 0 ] && [ -f "$scratch/install/glyphroots" ] && kill -0 "$first" 2>/dev/null ||
  { echo "FAIL: the second program ended with $status while the first ran"; exit 1; }
echo "ok: a second program finished while the first still ran"
status=0
"$run" cmd /c exit 5 || status=$?
[ "$status" -eq 5 ] || { echo "FAIL: a program of the prefix's own ended with $status, not 5"; exit 1; }
command -v makensis > /dev/null || { echo "skipped: no makensis for a 32-bit program"; exit 0; }
# In a folder whose Windows path holds \c and \t, which an echo would read
# as escapes: the refusal names the program as given.
mkdir "$scratch/check"
printf 'OutFile "%s"\nSilentInstall silent\nSection\nSetErrorLevel 3\nSectionEnd\n' "$scratch/check/x86.exe" |
  makensis -V1 -
# Named by its Linux path, its Windows path, or a bare name in its folder.
for name in "$scratch/check/x86.exe" "Z:$(echo "$scratch/check/x86.exe" | tr / '\\')" x86; do
  status=0
  (cd "$scratch/check" && timeout 60 "$run" "$name") > /dev/null 2> "$scratch/said" || status=$?
  [ "$status" -eq 3 ] || { [ "$status" -eq 126 ] && [ "$(wc -l < "$scratch/said")" -eq 1 ] &&
    grep -q 32-bit "$scratch/said" && grep -qF -- "$name" "$scratch/said"; } ||
    { printf "FAIL: a 32-bit program named %s ended with %s, saying:\n" "$name" "$status"; cat "$scratch/said"; exit 1; }
  printf "ok: a 32-bit program named %s ended with %s\n" "$name" "$status"
done
