#!/bin/sh
# Prepares a headless Wine prefix: created once, with the null graphics
# driver, so that consoles and message boxes exist without a display. With
# desktop, a prefix whose consoles and boxes are windows on a desktop of
# Wine's own on $DISPLAY, as on a person's PC: its own, since on a display
# with no window manager Wine waits 2 s for one whenever a window closes.
# Usage: wine-prefix.sh PREFIX [null|desktop]
set -eu
prefix=$1 driver=null
[ "${2:-null}" = null ] || driver=x11
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/wine-tools.sh"
# The wineserver started here lives on after the set-up, so no Wine process
# may inherit the lock's descriptor: the lock would be held for as long as
# any program runs in the prefix, and every other start would wait.
(
  flock 9
  if [ ! -f "$prefix/.ready" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 9>&-
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1 9>&-
    "$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null 9>&- | grep -q "$driver"
    if [ "$driver" = x11 ]; then
      "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 9>&-
      "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 9>&-
    fi
    # The desktop that wineboot started is on the default driver: let that
    # server end, so that the next program starts one whose desktop takes
    # the driver named.
    "$wineserver" -w 9>&-
    touch "$prefix/.ready"
  fi
) 9>"$prefix.lock"
