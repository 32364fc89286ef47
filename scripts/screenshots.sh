#!/bin/sh
# Draws the README's pictures with the programs themselves: the Windows
# build under Wine's X11 driver, on an Xvfb display, in a Wine desktop that
# draws the windows' frames as Windows does.
#   follow-console.png  follow.exe in its console, across a log's rotation
#   follow-box.png      follow.exe's warning box for a log it cannot open
#   glyphroots-box.png  glyphroots.exe's usage box
# Each is cut out of the desktop by its window, found by its title.
# Usage: screenshots.sh [FOLDER]   (docs/images by default)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/docs/images}" && cd "${1:-$root/docs/images}" && pwd)
build="$root/build/windows"
export WINEPREFIX="$root/build/screenshots/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$root/scripts/wine-tools.sh"

fail() { echo "screenshots: $*" >&2; exit 1; }
for program in follow glyphroots; do
  [ -f "$build/$program.exe" ] || fail "no $build/$program.exe: make windows builds it"
done
for tool in Xvfb import xwininfo; do
  command -v "$tool" > /dev/null || fail "no $tool: scripts/install-deps.sh tests installs it"
done

. "$root/scripts/wine-desktop.sh"

# A prefix of its own, whose programs all open in one virtual desktop with
# frames. Its symbol font draws the caption buttons: without it the close
# button is the letter r.
sh "$root/scripts/wine-prefix.sh" "$WINEPREFIX" desktop 800x500 marlett.ttf
programs="$WINEPREFIX/drive_c/Ostrel"
mkdir -p "$programs"
cp "$build/follow.exe" "$build/glyphroots.exe" "$programs/"

# capture TITLE FILE: waits for the window, lets it finish drawing, and
# cuts it out of the desktop; then ends every program.
capture() {
  geometry=""
  for i in $(seq 200); do
    geometry=$(xwininfo -root -tree | grep -F "\"$1\": (" | head -n 1 |
               sed -n 's/.*)  *\([0-9]*x[0-9]*+[0-9]*+[0-9]*\)  .*/\1/p')
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  [ -n "$geometry" ] || fail "no window titled \"$1\" appeared within 20 s"
  sleep 2
  import -window root -crop "$geometry" +repage "$out/$2"
  "$wineserver" -k
  "$wineserver" -w
}

# A server's log, rotated while follow shows it; in a folder of the same
# name on every machine.
log="$programs/logs/Ostrel.0.log"
mkdir -p "$programs/logs"
: > "$log"
for i in $(seq 1 12); do printf '[10:00:%02d] display 0: startup step %d\r\n' "$i" "$i" >> "$log"; done
"$wine" wineconsole cmd /c 'title Ostrel display 0 log&& C:\Ostrel\follow.exe C:\Ostrel\logs\Ostrel.0.log' \
  > /dev/null 2>&1 &
sleep 3
printf '[10:00:20] display 0: client 1 connected\r\n' >> "$log"
mv "$log" "$log.old"
printf '[10:01:00] display 0: server restarted\r\n[10:01:01] display 0: client 2 connected\r\n' > "$log"
sleep 1.5
capture "Ostrel display 0 log" follow-console.png
rm -f "$log" "$log.old"

# The box names the DISPLAY a user would have, not this capture's.
"$wine" wineconsole cmd /c 'set DISPLAY=localhost:0.0&& C:\Ostrel\follow.exe C:\Ostrel\logs\Ostrel.0.log' \
  > /dev/null 2>&1 &
capture "follow.exe error" follow-box.png

"$wine" 'C:\Ostrel\glyphroots.exe' > /dev/null 2>&1 &
capture "glyphroots.exe error" glyphroots-box.png
echo "screenshots: follow-console.png, follow-box.png and glyphroots-box.png in $out"
