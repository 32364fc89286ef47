# Sourced by every script that runs Wine (bench.py asks it too): sets wine,
# the loader of 64-bit programs, and wineserver. Debian has put the 64-bit
# loader on PATH as wine64 in some releases and kept it in /usr/lib/wine in
# others; plain wine is the last resort. Where there is none, wine is the
# bare name, so that running it says what is missing.
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine || echo wine)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
# wineserver will not start with a TMPDIR that does not exist.
if [ -n "${TMPDIR:-}" ] && [ ! -d "$TMPDIR" ]; then unset TMPDIR; fi
