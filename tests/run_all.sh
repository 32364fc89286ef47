#!/bin/sh
# make test: builds every tree and runs every check. The fuzz targets are
# built first and run one at a time, at full priority, for their seconds;
# every other tree builds niced beside them, taking what they leave. Each
# tree's checks start as soon as it is built, beside the next build: most
# of their time is spent waiting on a one-second poll, on Wine or on a
# window, and they get the processor when they want it. Wine's headless
# prefix, which needs nothing built, is made at the start. One line per
# step, as it ends: its status, how long it took, its processor time and
# when it ended; a failed step's output follows. Every step's output is
# kept in build/test-logs/.
# Usage: run_all.sh (from anywhere; the packages must be in)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
jobs=$(nproc)
began=$(date +%s%N)

seconds_since() {  # seconds_since NANOSECONDS: to a tenth
  echo $((($(date +%s%N) - $1) / 100000000)) | sed 's/\(.\)$/.\1/; s/^\./0./'
}

# step NAME COMMAND...: runs it, its output in build/test-logs/NAME.log, and
# says how it ended, in how long, with how many seconds of processor time
# its processes took (not Wine's server's), and when since make test began;
# a file of the step's name in build/test-logs/failed marks a failure for
# the end.
step() (
  name=$1; shift
  start=$(date +%s%N)
  status=0
  "$@" > "$logs/$name.log" 2>&1 || status=$?
  times > "$logs/$name.times"  # not in a pipe, whose fork would count nothing
  cpu=$(awk 'NR == 2 { t = 0; for (i = 1; i <= 2; i++) { split($i, p, "m"); t += p[1] * 60 + p[2] }
                               printf "%.1f", t }' "$logs/$name.times")
  if [ "$status" -eq 0 ]; then
    printf 'ok    %-16s %6s s, processor %6s s, ended at %6s s\n' "$name" "$(seconds_since "$start")" "$cpu" \
      "$(seconds_since "$began")"
  else
    mkdir -p "$logs/failed" && : > "$logs/failed/$name"
    printf 'FAIL  %-16s %6s s, status %s:\n' "$name" "$(seconds_since "$start")" "$status"
    sed 's/^/  /' "$logs/$name.log"
  fi
  exit "$status"
)

# Ctrl-C reaches the build in front, but the steps in the background
# ignore it, as a script's background jobs do: the whole process group is
# ended instead.
stop_all() {
  trap '' INT TERM HUP
  kill -TERM 0 2> /dev/null
  wait
  exit 130
}
trap stop_all INT TERM HUP

build() {  # build TARGET: a make target, niced; nothing after it runs if it fails
  step "build-$1" nice -n 19 make "$1" || { wait; echo "make test: stopped, build-$1 failed"; exit 1; }
}

step fuzz sh -c 'make fuzz && ctest --preset fuzz' &
# The prefix of build/windows/wine-run; the desktop ones are made by their
# users, each on its own display.
step wine-prefix nice -n 19 sh scripts/wine-prefix.sh "$root/build/windows/wineprefix" &
step workflow sh tests/workflow_check.sh build/tools &
step docs sh tests/docs_check.sh &
build native
step ctest-native ctest --preset native -j "$jobs" &
build windows
step ctest-windows ctest --preset windows -j "$jobs" &
step pictures sh tests/screenshots_check.sh &
build dist
# Niced: it builds the release twice more, beside checks that wait on Wine.
step dist-check nice -n 19 sh tests/dist_check.sh &
build sanitize
step ctest-sanitize ctest --preset sanitize -j "$jobs" &
wait
echo "make test: $(seconds_since "$began") s in all"
if [ -d "$logs/failed" ]; then
  echo "make test: failed: $(ls "$logs/failed" | tr '\n' ' ')"
  exit 1
fi
