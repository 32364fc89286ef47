#!/bin/sh
# A second opinion on the programs' icons: icoutils lists the nine images
# of each .exe's icon group. Usage: icoutils_check.sh EXE...
set -eu
expected="48 4
32 4
16 4
48 8
32 8
16 8
48 32
32 32
16 32"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for exe in "$@"; do
  wrestool -x -t 14 -o "$scratch/group.ico" "$exe"
  listed=$(icotool -l "$scratch/group.ico" |
           sed -n 's/.*--width=\([0-9]*\) .*--bit-depth=\([0-9]*\) .*/\1 \2/p')
  if [ "$listed" = "$expected" ]; then
    echo "ok: $(basename "$exe"): nine images"
  else
    echo "FAIL: $(basename "$exe") lists:"; echo "$listed"; status=1
  fi
done
exit $status
