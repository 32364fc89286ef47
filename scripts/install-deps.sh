#!/bin/sh
# Adds the Debian packages the build and the tests need; says nothing when
# they are all there already.
set -eu
packages="cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64 wine wine64
icoutils clang libclang-rt-14-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq $missing >/dev/null
