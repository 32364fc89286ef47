#!/bin/sh
# follow LOG | head -c 100000, with a burst larger than a pipe holds
# appended while it follows: once head has gone, follow ends without a
# word. A pipe of Wine's to the host fails the write during which its
# reader left with no code to tell why, and only the next one with the
# pipe's own; when the write falls is a matter of timing, so three runs.
# SIGPIPE is ignored, as a Windows program knows none: follow itself must
# tell the gone reader from a failure.
# Arguments: the command that runs follow, program included.
set -eu
trap '' PIPE
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for run in 1 2 3; do
  seq 1 20 > "$scratch/log"
  (sleep 1; head -c 1300000 /dev/zero | tr '\0' x >> "$scratch/log") &
  "$@" "$scratch/log" 2> "$scratch/said" | head -c 100000 > /dev/null || true
  wait
  [ ! -s "$scratch/said" ] || { echo "run $run: $(cat "$scratch/said")"; exit 1; }
done
echo "follow ended without a word each time its reader went"
