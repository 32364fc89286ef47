#!/bin/sh
# The main job, shown under Wine: a simulated Ostrel X server writes the
# log of display 9 into the Windows temporary directory, and follow.exe,
# started with no argument and DISNO=9, shows its tail and then each line
# as it is appended, across a restart of the server that rotates its log.
# Everything stops by itself after a few seconds.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
wine_run="$root/build/windows/wine-run"
follow="$root/dist/windows/follow.exe"

temp_win=$("$wine_run" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
temp_dir=$("$wine_run" winepath -u "$temp_win" 2>/dev/null | tr -d '\r')
log="$temp_dir/Ostrel.9.log"
printf '== simulated server writes %s\\Ostrel.9.log\n' "$temp_win"

: > "$log"
for i in $(seq 1 14); do
  printf '[%s] display 9: startup step %d\n' "$(date +%T)" "$i" >> "$log"
done

# Half-way the server restarts: it keeps its last run's log aside and
# begins a new one, which follow picks up under the same name.
(
  for i in $(seq 1 8); do
    sleep 0.6
    printf '[%s] display 9: client %d connected\n' "$(date +%T)" "$i" >> "$log"
    if [ "$i" -eq 4 ]; then
      mv "$log" "$log.old"
      printf '[%s] display 9: server restarted\n' "$(date +%T)" > "$log"
    fi
  done
) &
writer=$!

echo "== follow.exe (DISNO=9): the last ten lines, then every appended line, across a restart"
DISNO=9 timeout 7 "$wine_run" "$follow" || true
wait "$writer"
rm -f "$log.old"
echo "== demo over: follow.exe was stopped after 7 seconds"
