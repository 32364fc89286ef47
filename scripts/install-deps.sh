#!/bin/sh
# Adds the Debian packages the build needs, with "dist" only what the
# release archive needs, and with "tests" those only the
# tests need too (nsis and wixl, for real installers around glyphroots.exe,
# Node.js with npm, for the CI workflow's linter, and Xvfb, ImageMagick and
# xwininfo, for the pictures);
# says nothing when they are all there already.
# Usage: install-deps.sh [tests | dist]
set -eu
# make test builds two trees at once, each asking for its packages: one
# asks at a time, so that two never meet at apt's lock.
exec 9< "$0"
flock 9
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
updated=""

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

update_once() {
  [ -n "$updated" ] && return 0
  $sudo apt-get update -qq
  updated=yes
}

# Installs whichever of the named packages are missing.
install_missing() {
  missing=""
  for p in "$@"; do
    installed "$p" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "installing:$missing"
  update_once
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq $missing >/dev/null
}

# The release archive alone needs only these.
install_missing cmake make g++-mingw-w64-x86-64 python3 python3-cryptography git osslsigncode
[ "${1:-}" = dist ] && exit 0

install_missing g++ googletest libgtest-dev wine wine64 icoutils clang openssl

# The fuzzer and sanitizer runtime must be the one of the clang installed:
# its own package from clang 15 on and in Debian 12's clang 14, part of the
# common package before that.
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
runtime="libclang-rt-$clang_major-dev"
if ! installed "$runtime"; then
  update_once
  apt-cache show "$runtime" >/dev/null 2>&1 || runtime="libclang-common-$clang_major-dev"
fi
install_missing "$runtime"

if [ "${1:-}" = tests ]; then
  install_missing nsis wixl xvfb imagemagick x11-utils
  # Node.js runs the CI workflow's linter; any node already there will do.
  command -v node > /dev/null || install_missing nodejs
  command -v npm > /dev/null || install_missing npm
fi
