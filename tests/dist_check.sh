#!/bin/sh
# The release archive, as a user and a packager meet it: its layout and
# checksums; stripped programs that still run under Wine; a signature made
# with a throwaway certificate; and the same archive from two fresh clones
# in two folders, built at two times.
# Usage: dist_check.sh (from anywhere; `make dist` must have run)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0 failed=0
check() {  # check NAME COMMAND...: one result line per check
  title=$1; shift
  if "$@" > "$scratch/last.log" 2>&1; then
    passed=$((passed + 1)); echo "ok: $title"
  else
    failed=$((failed + 1)); echo "FAIL: $title"; sed 's/^/  /' "$scratch/last.log"
  fi
}

version=$(sed -n 's/^OSTREL_PRODUCT_VERSION:[A-Z]*=//p' "$root/build/windows/CMakeCache.txt")
name="ostrel-companions-$version-win64"
zip="$root/dist/$name.zip"

unpack() {  # unpack ZIP DIR
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$1" "$2"
}

layout() {
  listed=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
  expected=$(printf '%s/%s\n' "$name" follow.exe "$name" glyphroots.exe "$name" README.txt \
             "$name" LICENSE.txt "$name" SHA256SUMS)
  [ "$listed" = "$expected" ] || { echo "lists:"; echo "$listed"; return 1; }
  unpack "$zip" "$scratch/unpacked"
  (cd "$scratch/unpacked/$name" && sha256sum -c SHA256SUMS) || return 1
  [ "$(wc -l < "$scratch/unpacked/$name/SHA256SUMS")" -eq 2 ] || return 1
  for txt in README.txt LICENSE.txt; do
    f="$scratch/unpacked/$name/$txt"
    # Every line feed has its carriage return, and there is something there.
    [ "$(grep -c . "$f")" -gt 5 ] && [ "$(tr -cd '\n' < "$f" | wc -c)" -eq "$(grep -c "$(printf '\r')$" "$f")" ] ||
      { echo "$txt: not CR LF"; return 1; }
  done
  grep -q "Notes for installer authors" "$scratch/unpacked/$name/README.txt" &&
    ! grep -q "make bench" "$scratch/unpacked/$name/README.txt"
}

stripped_and_running() {
  dir="$scratch/unpacked/$name"
  for exe in follow.exe glyphroots.exe; do
    size=$(wc -c < "$dir/$exe")
    [ "$size" -lt 102400 ] || { echo "$exe: $size bytes"; return 1; }
    ! x86_64-w64-mingw32-objdump -h "$dir/$exe" | grep -q '\.debug' || { echo "$exe: debug sections"; return 1; }
  done
  mkdir "$scratch/install"
  "$root/build/windows/wine-run" "$dir/glyphroots.exe" "Z:$(echo "$scratch/install" | tr / '\\')" &&
    grep -q 'fonts\\dejavu' "$scratch/install/glyphroots" || { echo "glyphroots wrote no list"; return 1; }
  seq 1 25 | sed 's/^/line /' > "$scratch/log"
  timeout 10 "$root/build/windows/wine-run" "$dir/follow.exe" "Z:$scratch/log" > "$scratch/shown"
  [ "$(tr -d '\r' < "$scratch/shown")" = "$(seq 16 25 | sed 's/^/line /')" ] ||
    { echo "follow showed:"; cat "$scratch/shown"; return 1; }
}

signed() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Ostrel test signer" \
    -keyout "$scratch/key.pem" -out "$scratch/cert.pem" 2>/dev/null || return 1
  SIGN_CERT="$scratch/cert.pem" SIGN_KEY="$scratch/key.pem" \
    python3 "$root/scripts/make-dist.py" "$root/build/windows" "$scratch/signed" || return 1
  unpack "$scratch/signed/$name.zip" "$scratch/signed/unpacked"
  dir="$scratch/signed/unpacked/$name"
  (cd "$dir" && sha256sum -c SHA256SUMS) || return 1
  for exe in follow.exe glyphroots.exe; do
    osslsigncode verify -CAfile "$scratch/cert.pem" -in "$dir/$exe" || return 1
  done
}

reproducible() {
  # Two clones of what is committed, in folders of different names.
  for where in first "second folder"; do
    git clone -q "$root" "$scratch/$where" || return 1
    (cd "$scratch/$where" && make dist > build.log 2>&1) || { cat "$scratch/$where/build.log"; return 1; }
    sleep 2
  done
  cmp "$scratch/first/dist/$name.zip" "$scratch/second folder/dist/$name.zip"
}

check "the archive's layout, checksums and text files" layout
check "stripped programs that run under Wine" stripped_and_running
check "a signature that verifies" signed
check "the same archive from two clones" reproducible
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
