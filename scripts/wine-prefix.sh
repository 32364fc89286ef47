#!/bin/sh
# Prepares a headless Wine prefix: created once, with the null graphics
# driver, so that consoles and message boxes exist without a display. With
# desktop, a prefix whose consoles and boxes are windows on a desktop of
# Wine's own on $DISPLAY, as on a person's PC: its own, since on a display
# with no window manager Wine waits 2 s for one whenever a window closes.
# SIZE is that desktop's, 1024x768 by default. Each FONT, a file of Wine's
# own fonts folder, is copied into the prefix: Debian's Wine does not find
# them there by itself.
# Usage: wine-prefix.sh PREFIX [null | desktop [SIZE [FONT...]]]
set -eu
prefix=$1 size=""
[ "${2:-null}" = null ] || size=${3:-1024x768}
shift $(($# < 3 ? $# : 3))
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/wine-tools.sh"
# The wineserver started here lives on after the set-up, so no Wine process
# may inherit the lock's descriptor: the lock would be held for as long as
# any program runs in the prefix, and every other start would wait.
(
  flock 9
  if [ ! -f "$prefix/.ready" ]; then
    # It says it failed where this Wine has no 32-bit part, and is done.
    "$wine" wineboot -i >/dev/null 2>&1 9>&- || true
    [ -d "$prefix/drive_c/windows/Fonts" ] ||
      { echo "wine-prefix: wineboot made no prefix in $prefix" >&2; exit 1; }
    if [ -z "$size" ]; then
      "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 9>&-
      "$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null 9>&- | grep -q null
    else
      # On Wine's default driver, X11 where there is a display: the
      # pictures were drawn in a prefix that names none.
      "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 9>&-
      "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1 9>&-
    fi
    for font in "$@"; do
      for folder in /usr/share/wine/fonts /usr/lib/wine/fonts; do
        [ -f "$folder/$font" ] && cp "$folder/$font" "$prefix/drive_c/windows/Fonts/" && break
      done
    done
    # The desktop that wineboot started is on the default driver: let that
    # server end, so that the next program starts one whose desktop is the
    # one set here.
    "$wineserver" -w 9>&-
    touch "$prefix/.ready"
  fi
) 9>"$prefix.lock"
