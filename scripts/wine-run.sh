#!/bin/sh
# Runs a Windows program headless under Wine, in the prefix named by
# WINEPREFIX (set up on first use), passing its exit status through.
# Usage: WINEPREFIX=... wine-run.sh PROGRAM.exe [ARG...]
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the build tree prefix}"
here=$(dirname "$0")
"$here/wine-prefix.sh" "$WINEPREFIX"
export WINEDEBUG=-all
. "$here/wine-tools.sh"

# The machine a program file is built for, from its PE header: 014c for
# 32-bit x86.
machine() {
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

# Whether this Wine runs 32-bit programs: its own 32-bit command processor
# must be there and give back the status it is asked for.
runs_32_bit() {
  [ -f "$WINEPREFIX/drive_c/windows/syswow64/cmd.exe" ] || return 1
  status=0
  "$wine" 'C:\windows\syswow64\cmd.exe' /c exit 3 > /dev/null 2>&1 || status=$?
  [ "$status" -eq 3 ]
}

# The file Wine runs for a program argument, where there is one to read: a
# Windows path is looked up in the prefix's drives, and a name may leave out
# .exe; a bare name is first looked for in the current folder.
program_file() {
  case $1 in
    [A-Za-z]:*|*\\*) file=$("$wine" winepath.exe -u "$1" 2>/dev/null) || return 0 ;;
    *) file=$1 ;;
  esac
  for candidate in "$file" "$file.exe"; do
    [ -f "$candidate" ] && { printf '%s\n' "$candidate"; break; }
  done
  return 0
}

# A Wine without its 32-bit part does not run a 32-bit program, and says
# so only in its debug output; its status would pass for the program's.
file=$(program_file "${1:-}")
if [ -n "$file" ] && [ "$(machine "$file")" = 014c ] && ! runs_32_bit; then
  printf 'wine-run: %s is a 32-bit program, and this Wine cannot run one (its 32-bit part is not installed)\n' "$1" >&2
  exit 126
fi
exec "$wine" "$@"
