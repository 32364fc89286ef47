# Sourced by a script whose Wine programs need a desktop, windows and all,
# where there may be no display: an Xvfb display of its own, named by
# DISPLAY, and a scratch folder; on exit, the prefix's programs are ended,
# the display closed and the folder removed. The script sets WINEPREFIX,
# defines fail MESSAGE and sources wine-tools.sh before it sources this.
command -v Xvfb > /dev/null || fail "no Xvfb: scripts/install-deps.sh tests installs it"
scratch=$(mktemp -d)
xvfb=""
close_desktop() {
  "$wineserver" -k 2> /dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null || true
  rm -rf "$scratch"
}
trap close_desktop EXIT
trap 'exit 1' INT TERM HUP
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$scratch/display" 2> /dev/null &
xvfb=$!
for i in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"
