#!/bin/sh
# Runs a Windows program headless under Wine, in the prefix named by
# WINEPREFIX (set up on first use), passing its exit status through.
# Usage: WINEPREFIX=... wine-run.sh PROGRAM.exe [ARG...]
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the build tree prefix}"
here=$(dirname "$0")
"$here/wine-prefix.sh" "$WINEPREFIX"
export WINEDEBUG=-all
if [ -n "${TMPDIR:-}" ] && [ ! -d "$TMPDIR" ]; then unset TMPDIR; fi
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine)
exec "$wine" "$@"
