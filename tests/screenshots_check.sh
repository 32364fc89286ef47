#!/bin/sh
# make screenshots, into a scratch folder: each picture is there, cut out of
# the 800x500 desktop by its window, found by its title, and not blank. No
# font's pixels are looked at.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sh "$root/scripts/screenshots.sh" "$scratch"
for picture in follow-console follow-box glyphroots-box; do
  file="$scratch/$picture.png"
  [ -s "$file" ] || { echo "FAIL: no $picture.png"; exit 1; }
  # shellcheck disable=SC2046
  set -- $(identify -format '%w %h %k' "$file")
  [ "$1" -ge 100 ] && [ "$1" -lt 800 ] && [ "$2" -ge 50 ] && [ "$2" -lt 500 ] ||
    { echo "FAIL: $picture.png is $1x$2, no window cut out of the desktop"; exit 1; }
  [ "$3" -gt 16 ] || { echo "FAIL: $picture.png has $3 colours: blank"; exit 1; }
done
echo "ok: follow-console.png, follow-box.png and glyphroots-box.png, each of its window"
