#!/bin/sh
# The release archive, as a user and a packager meet it: its layout and
# checksums; stripped programs that still run under Wine; signatures made
# with a throwaway certificate, the same every time for an RSA key and the
# same but for their signatures for an EC key; no archive, no tool and no
# pass phrase left by a failed or stopped run, a full or read-only disk
# included; two runs at once; the same archive from a fresh clone in a
# folder of another name, built at another time with no tests configured,
# as from this tree (or from a second clone, where this tree holds
# changes); and, in the clone, the names that a change and a raised version
# give. The forms keys come in are tests/release's.
# Usage: dist_check.sh (from anywhere; an unsigned `make dist` must have run)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
silent=""
trap '[ -z "$silent" ] || kill "$silent"; umount "$scratch/full" "$scratch/read-only" 2>/dev/null; rm -rf "$scratch"' EXIT
trap 'exit 1' INT TERM HUP
passed=0 failed=0
check() {  # check NAME COMMAND...: one result line per check, with its seconds
  title=$1; shift
  start=$(date +%s)
  if "$@" > "$scratch/last.log" 2>&1; then
    passed=$((passed + 1)); echo "ok: $title ($(($(date +%s) - start)) s)"
  else
    failed=$((failed + 1)); echo "FAIL: $title"; sed 's/^/  /' "$scratch/last.log"
  fi
}

build="$root/build/release"
version=$(sed -n 's/^#define OSTREL_PRODUCT_VERSION "\(.*\)"$/\1/p' "$build/generated/version.h")
dirty=$(git -C "$root" status --porcelain --untracked-files=no | head -c 1)
clean="ostrel-companions-$version-win64"
name="ostrel-companions-$version${dirty:+-dirty}-win64"
zip="$root/dist/$name.zip"

unpack() {  # unpack ZIP DIR
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$1" "$2"
}

layout() {
  listed=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
  expected=$(printf '%s/%s\n' "$name" follow.exe "$name" glyphroots.exe "$name" README.txt \
             "$name" LICENSE.txt "$name" SHA256SUMS)
  [ "$listed" = "$expected" ] || { echo "lists:"; echo "$listed"; return 1; }
  (cd "$root/dist" && sha256sum -c "$name.zip.sha256") || return 1
  # Readable by whoever a new file of this umask is readable by.
  for f in "$zip" "$zip.sha256"; do
    [ "$(stat -c %a "$f")" = "$(printf '%o' $((0666 & ~$(umask))))" ] ||
      { echo "$f: mode $(stat -c %a "$f") under umask $(umask)"; return 1; }
  done
  unpack "$zip" "$scratch/unpacked"
  (cd "$scratch/unpacked/$name" && sha256sum -c SHA256SUMS) || return 1
  [ "$(wc -l < "$scratch/unpacked/$name/SHA256SUMS")" -eq 2 ] || return 1
  for txt in README.txt LICENSE.txt; do
    f="$scratch/unpacked/$name/$txt"
    # Every line feed has its carriage return, and there is something there.
    [ "$(grep -c . "$f")" -gt 5 ] && [ "$(tr -cd '\n' < "$f" | wc -c)" -eq "$(grep -c "$(printf '\r')$" "$f")" ] ||
      { echo "$txt: not CR LF"; return 1; }
  done
  readme="$scratch/unpacked/$name/README.txt"
  # The user's documents whole, the last lines of each included.
  for heading in "Following a log with follow.exe" "The font path list, written by glyphroots.exe" \
                 "Running glyphroots.exe from an installer" "Start-menu shortcut"; do
    grep -q "$heading" "$readme" || { echo "README.txt lacks: $heading"; return 1; }
  done
  # Plain text for Windows readers: nothing of Markdown, of building, or
  # of files the archive does not hold.
  ! grep -nE '`|\*\*|\]\(|!\[|Wine|make (run|test|dist|bench|soak)|native build|LICENSE\.txt in|tests/|docs/|\.md\b|\.\.\.\.' "$readme" || return 1
  # Each passage once, and each section named as below is there.
  [ "$(grep -c 'follow.exe /?' "$readme")" -eq 1 ] || { echo "README.txt: the usage twice"; return 1; }
  tr -d '\r' < "$readme" > "$scratch/readme"
  grep -o '"[^"]*", below' "$scratch/readme" | cut -d '"' -f 2 > "$scratch/below"
  [ -s "$scratch/below" ] || { echo "README.txt names no section below"; return 1; }
  while read -r section; do
    grep -qxF "$section" "$scratch/readme" || { echo "README.txt has no section $section"; return 1; }
  done < "$scratch/below"
  # No sentence begins with a word of a letter or two left alone at a
  # line's end.
  ! grep -nE '[.!?] [A-Z][a-z]?$' "$scratch/readme" || return 1
  LC_ALL=C grep -q '[^ -~'"$(printf '\r')"']' "$readme" && [ "$(head -c 3 "$readme")" != "$(printf '\357\273\277')" ] &&
    { echo "README.txt: not ASCII, and no byte-order mark"; return 1; }
  return 0
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
  tail=$(seq 16 25 | sed 's/^/line /')
  "$root/build/windows/wine-run" "$dir/follow.exe" "Z:$scratch/log" > "$scratch/shown" & follower=$!
  # The last ten lines, and nothing more for five polls.
  waited=0
  until [ "$(tr -d '\r' < "$scratch/shown")" = "$tail" ] || [ $((waited += 1)) -gt 300 ]; do sleep 0.2; done
  sleep 5
  kill "$follower"
  wait "$follower" 2> /dev/null
  [ "$(tr -d '\r' < "$scratch/shown")" = "$tail" ] ||
    { echo "follow showed:"; cat "$scratch/shown"; return 1; }
}

throwaway_certificate() {  # throwaway_certificate CERT KEY
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Ostrel test signer" \
    -keyout "$2" -out "$1" 2>/dev/null
}

# Signed with a key in the forms that reach osslsigncode differently: a
# plain PEM pair, and a PKCS#12 file of the older kind whose pass phrase
# comes through a pipe, or from a file written by Notepad. An RSA key gives
# one archive, whatever its form and whenever it is made. An EC signature
# differs at each run: RELEASING.md's command shows two such archives the
# same build.
signed() {
  throwaway_certificate "$scratch/cert.pem" "$scratch/key.pem" || return 1
  openssl pkcs12 -export -legacy -in "$scratch/cert.pem" -inkey "$scratch/key.pem" \
    -passout 'pass:pass phrase' -out "$scratch/legacy.pfx" || return 1
  { printf '\357\273\277pass phrase\r\n'; } > "$scratch/notepad.pass"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 \
    -subj "/CN=Ostrel EC signer" -keyout "$scratch/ec.key" -out "$scratch/ec.pem" 2>/dev/null || return 1
  rm -f "$scratch/first.zip"
  for vars in "SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/key.pem" \
              "SIGN_PFX=$scratch/legacy.pfx SIGN_PASS_FILE=/dev/stdin" \
              "SIGN_PFX=$scratch/legacy.pfx SIGN_PASS_FILE=$scratch/notepad.pass" \
              "SIGN_CERT=$scratch/ec.pem SIGN_KEY=$scratch/ec.key" \
              "SIGN_CERT=$scratch/ec.pem SIGN_KEY=$scratch/ec.key"; do
    rm -rf "$scratch/signed"
    # shellcheck disable=SC2086
    printf 'pass phrase\n' | env $vars timeout 120 /usr/bin/python3 "$root/scripts/make-dist.py" \
      "$build" "$scratch/signed" || { echo "with $vars"; return 1; }
    unpack "$scratch/signed/$name.zip" "$scratch/signed/unpacked"
    dir="$scratch/signed/unpacked/$name"
    (cd "$dir" && sha256sum -c SHA256SUMS) || return 1
    ca="$scratch/cert.pem"
    [ "${vars#*ec.key}" = "$vars" ] || ca="$scratch/ec.pem"
    for exe in follow.exe glyphroots.exe; do
      osslsigncode verify -CAfile "$ca" -in "$dir/$exe" || { echo "with $vars"; return 1; }
    done
    if [ "$ca" = "$scratch/cert.pem" ]; then
      [ -f "$scratch/first.zip" ] || cp "$scratch/signed/$name.zip" "$scratch/first.zip"
      cmp "$scratch/first.zip" "$scratch/signed/$name.zip" || { echo "with $vars"; return 1; }
    elif [ -d "$scratch/ec-first" ]; then
      ! cmp -s "$scratch/ec-first/follow.exe" "$dir/follow.exe" || { echo "one EC signature twice"; return 1; }
      same_build "$scratch/ec-first" "$dir" || return 1
    else
      cp -r "$dir" "$scratch/ec-first"
    fi
  done
}

# RELEASING.md's command: two folders hold the same build when their
# programs are the same once their signatures are removed.
same_build() {  # same_build FOLDER FOLDER
  for exe in follow.exe glyphroots.exe; do
    rm -f "$scratch/a-$exe" "$scratch/b-$exe"
    osslsigncode remove-signature -in "$1/$exe" -out "$scratch/a-$exe" > /dev/null &&
    osslsigncode remove-signature -in "$2/$exe" -out "$scratch/b-$exe" > /dev/null &&
    cmp "$scratch/a-$exe" "$scratch/b-$exe" || return 1
  done
}

# Each way of asking for an archive that cannot be made, a disk that cannot
# take it, and a run stopped while a time-stamping server keeps it waiting:
# one line that names the cause, and the folder as it was: this version's
# older archive and an older version's stay, and no new one, partial file,
# staging folder, tool still running or file holding the pass phrase is
# left. A pass file that nobody writes, stopped, ends at once. Each runs on a
# terminal and under a time limit, so that a prompt fails its case instead
# of holding the run. The full and read-only disks are small tmpfs mounts,
# which take root.
nothing_left_by_a_failure() {
  throwaway_certificate "$scratch/cert.pem" "$scratch/key.pem" || return 1
  openssl pkey -in "$scratch/key.pem" -aes256 -passout pass: -out "$scratch/encempty.key" || return 1
  echo wrong > "$scratch/wrong.pass"
  phrase="secret $(od -An -N8 -tx1 /dev/urandom | tr -d ' \n')"
  echo "$phrase" > "$scratch/secret.pass"
  openssl pkey -in "$scratch/key.pem" -aes256 -passout "pass:$phrase" -out "$scratch/secret.key" || return 1
  # A time-stamping server that takes the request and never answers, for
  # longer than these cases take on the slowest machine; the trap ends it.
  python3 -c 'import socket, time; s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen()
print(s.getsockname()[1], flush=True); time.sleep(900)' > "$scratch/silent.port" & silent=$!
  until [ -s "$scratch/silent.port" ]; do sleep 0.1; done
  mkdir -p "$scratch/failed" "$scratch/full" "$scratch/read-only"
  mkfifo "$scratch/nobody-writes"
  : > "$scratch/plain-file"
  mounted=""
  if mount -t tmpfs -o size=40k tmpfs "$scratch/full" 2>/dev/null &&
     mount -t tmpfs -o ro,size=40k tmpfs "$scratch/read-only" 2>/dev/null; then
    mounted=yes
  else
    echo "skipped: the full and read-only disks, which take root to mount"
  fi
  while IFS='|' read -r out vars cause; do
    case "$mounted:$out" in :*/full|:*/read-only) continue ;; esac
    if [ "$out" = "$scratch/failed" ]; then
      : > "$out/ostrel-companions-0.9.0.0-win64.zip"
      : > "$out/$name.zip"
    fi
    touch -d "@$(($(date +%s) - 1))" "$scratch/began" || return 1
    if timeout 60 script -qec "env $vars /usr/bin/python3 '$root/scripts/make-dist.py' '$build' '$out'" \
         /dev/null < /dev/null > "$scratch/said" 2>&1; then
      echo "made an archive with $vars in $out"; return 1
    fi
    [ "$(wc -l < "$scratch/said")" -eq 1 ] && grep -qE "$cause" "$scratch/said" ||
      { echo "for '$cause' it said:"; cat "$scratch/said"; return 1; }
    [ ! -d "$out" ] || [ -z "$(ls "$out" | grep -vx -e 'ostrel-companions-0.9.0.0-win64.zip' -e "$name.zip")" ] ||
      { echo "left in $out:"; ls "$out"; return 1; }
    [ "$out" != "$scratch/failed" ] || { [ -f "$out/ostrel-companions-0.9.0.0-win64.zip" ] &&
      [ -f "$out/$name.zip" ] && [ ! -s "$out/$name.zip" ]; } ||
      { echo "an archive that was there is changed or gone"; return 1; }
    [ -z "$(ls -d "$build"/dist.* 2>/dev/null)" ] || { echo "a staging folder is left"; return 1; }
    ! pgrep -af "$scratch/" || { echo "a tool still runs"; return 1; }
    # Any file the run wrote: one whose status changed since it began.
    left=$(find -H /tmp "${TMPDIR:-/tmp}" /dev/shm ${XDG_RUNTIME_DIR:+"$XDG_RUNTIME_DIR"} "$build" \
             -type f -cnewer "$scratch/began" ! -name secret.pass -exec grep -lsF -e "$phrase" {} + 2> /dev/null)
    [ -z "$left" ] || { echo "the pass phrase is left in $left"; return 1; }
  done <<EOF
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/encempty.key|SIGN_KEY names .*encempty.key, which is encrypted; set SIGN_PASS_FILE
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/encempty.key SIGN_PASS_FILE=$scratch/wrong.pass|SIGN_PASS_FILE does not hold the pass phrase of .*encempty.key
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/cert.pem|SIGN_KEY names .*cert.pem, which is a certificate, not a private key
$scratch/failed|SOURCE_DATE_EPOCH=abc|SOURCE_DATE_EPOCH is 'abc', not a whole number of seconds
$scratch/failed|SOURCE_DATE_EPOCH=4294967296|SOURCE_DATE_EPOCH is '4294967296'
$scratch/failed|SOURCE_DATE_EPOCH=$(printf '%05000d' 7)|SOURCE_DATE_EPOCH is '0000.*\.\.\.', not a whole number
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/key.pem SOURCE_DATE_EPOCH=2524608000|2050 or later, which a signature's signing time
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/key.pem SIGN_TIMESTAMP_URL=http://127.0.0.1:9|osslsigncode could not sign follow.exe: (CURL|HTTP) failure
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/secret.key SIGN_PASS_FILE=$scratch/secret.pass SIGN_TIMESTAMP_URL=http://127.0.0.1:$(cat "$scratch/silent.port") timeout -s TERM 5|^make dist: stopped by SIGTERM
$scratch/failed|SIGN_CERT=$scratch/cert.pem SIGN_KEY=$scratch/secret.key SIGN_PASS_FILE=$scratch/nobody-writes timeout -s TERM 2|^make dist: stopped by SIGTERM
$scratch/full|SOURCE_DATE_EPOCH=315532800|No space left on device
$scratch/read-only|SOURCE_DATE_EPOCH=315532800|Read-only file system
$scratch/plain-file|SOURCE_DATE_EPOCH=315532800|plain-file.*(File exists|Not a directory)
EOF
}

# Two runs at once into one folder: each stages and writes under names of
# its own, so both succeed, or one fails in a line, and the archive left
# is whole.
two_at_once() {
  out="$scratch/together"
  for run in 1 2; do
    status=0
    /usr/bin/python3 "$root/scripts/make-dist.py" "$build" "$out" > "$scratch/one.log" 2>&1 & one=$!
    /usr/bin/python3 "$root/scripts/make-dist.py" "$build" "$out" > "$scratch/two.log" 2>&1 || status=$?
    wait "$one" || status=$?
    ! grep -q Traceback "$scratch/one.log" "$scratch/two.log" || { cat "$scratch/one.log" "$scratch/two.log"; return 1; }
    [ "$status" -eq 0 ] || grep -q '^make dist: ' "$scratch/one.log" "$scratch/two.log" || return 1
    (cd "$out" && sha256sum -c "$name.zip.sha256") || return 1
    [ "$(ls "$out")" = "$(printf '%s\n' "$name.zip" "$name.zip.sha256")" ] || { ls "$out"; return 1; }
  done
}

reproducible() {
  # A clone of what is committed, in a folder of another name, its own with
  # a space, gives the archive that make dist gave here, built at another
  # time; where this tree holds changes, a second clone stands in for it.
  reference=$zip
  for where in "first clone" "second clone"; do
    if [ "$where" = "second clone" ]; then [ -n "$dirty" ] || break; sleep 2; fi
    git clone -q "$root" "$scratch/$where" || return 1
    # The log stays out of the clone: an untracked file would mark it changed.
    (cd "$scratch/$where" && make dist > "$scratch/$where.log" 2>&1) || { cat "$scratch/$where.log"; return 1; }
    [ "$where" = "first clone" ] || reference="$scratch/$where/dist/$clean.zip"
  done
  cmp "$scratch/first clone/dist/$clean.zip" "$reference" || return 1
  # Two make dist at once after a source changed take turns at the build
  # tree, each from its build to its archive, and both give the same bytes.
  touch "$scratch/first clone/common/text.cpp"
  (cd "$scratch/first clone" && make dist > "$scratch/together-1.log" 2>&1) & together=$!
  (cd "$scratch/first clone" && make dist > "$scratch/together-2.log" 2>&1) || { cat "$scratch/together-2.log"; return 1; }
  wait "$together" || { cat "$scratch/together-1.log"; return 1; }
  cmp "$scratch/first clone/dist/$clean.zip" "$reference" || return 1
  # A signed run waits for its pass phrase (its archive named by then, the
  # FIFO open at both ends); meanwhile follow is edited to end with 42,
  # another run says it waits, and the edit is undone. The first archive
  # was built before the edit and the second after: neither holds it.
  throwaway_certificate "$scratch/cert.pem" "$scratch/key.pem" || return 1
  openssl pkey -in "$scratch/key.pem" -aes256 -passout pass:phrase -out "$scratch/locked.key" || return 1
  mkfifo "$scratch/phrase"
  (cd "$scratch/first clone" && SIGN_CERT="$scratch/cert.pem" SIGN_KEY="$scratch/locked.key" \
     SIGN_PASS_FILE="$scratch/phrase" make dist > "$scratch/signed.log" 2>&1) & signed=$!
  (exec 8> "$scratch/phrase"; : > "$scratch/reading"
   until [ -e "$scratch/go" ]; do sleep 0.2; done; echo phrase >&8) & writer=$!
  waited=0
  until grep -qx "make dist: waiting for another make dist to finish" "$scratch/after.log" 2>/dev/null; do
    if [ -e "$scratch/reading" ] && [ ! -e "$scratch/after.log" ]; then
      sed -i 's/return follow_main(argc, argv);/return 42;/' "$scratch/first clone/follow/main.cpp"
      (cd "$scratch/first clone" && make dist > "$scratch/after.log" 2>&1) & after=$!
    fi
    [ $((waited += 1)) -lt 600 ] || { echo "no pass phrase read, or no run that said it waits"; kill "$writer"; return 1; }
    sleep 0.2
  done
  git -C "$scratch/first clone" checkout -q follow/main.cpp
  : > "$scratch/go"
  wait "$signed" && grep -q "/$clean.zip\$" "$scratch/signed.log" || { cat "$scratch/signed.log"; return 1; }
  unpack "$scratch/first clone/dist/$clean.zip" "$scratch/signed-run"
  wait "$after" || { cat "$scratch/after.log"; return 1; }
  cmp "$scratch/first clone/dist/$clean.zip" "$reference" || return 1
  status=0
  "$root/build/windows/wine-run" "$scratch/signed-run/$clean/follow.exe" "Z:$scratch/no-such.log" 2> /dev/null || status=$?
  [ "$status" -eq 1 ] || { echo "the signed archive's follow.exe ended with $status"; return 1; }
  # Built with no test configured: no GoogleTest and no Wine needed.
  [ ! -e "$scratch/first clone/build/release/tests" ] && [ ! -e "$scratch/first clone/build/windows" ] &&
    ! grep -q GTest "$scratch/first clone/build/release/CMakeCache.txt"
}

# In the first clone: a file git does not track changes nothing, a change
# not committed or made during the build marks the archive's name, and a
# raised version, committed,
# reaches the name and both version records, and leaves the older
# version's archive where it was.
named_by_changes_and_version() {
  clone="$scratch/first clone"
  echo "a pass phrase" > "$clone/release.pass"
  (cd "$clone" && /usr/bin/python3 scripts/make-dist.py build/release dist > /dev/null) || return 1
  [ -f "$clone/dist/$clean.zip" ] || { ls "$clone/dist"; return 1; }
  echo "a change" >> "$clone/README.md"
  (cd "$clone" && /usr/bin/python3 scripts/make-dist.py build/release dist > /dev/null) || return 1
  [ -f "$clone/dist/ostrel-companions-$version-dirty-win64.zip" ] || { ls "$clone/dist"; return 1; }
  git -C "$clone" checkout -q README.md
  # Sources that change after the build began, an edit undone again
  # included, give the dirty name too.
  rm "$clone/dist/ostrel-companions-$version-dirty-win64.zip"
  built_from=$(cd "$clone" && /usr/bin/python3 scripts/make-dist.py --sources)
  touch "$clone/follow/main.cpp"
  (cd "$clone" && DIST_SOURCES=$built_from /usr/bin/python3 scripts/make-dist.py build/release dist > /dev/null) || return 1
  [ -f "$clone/dist/ostrel-companions-$version-dirty-win64.zip" ] || { ls "$clone/dist"; return 1; }
  sed -i 's/^set(OSTREL_PRODUCT_VERSION "[0-9.]*")$/set(OSTREL_PRODUCT_VERSION "9.8.7.6")/' "$clone/CMakeLists.txt"
  git -C "$clone" -c user.name=check -c user.email=check@localhost commit -qam "Raise the version" || return 1
  (cd "$clone" && make dist > "$scratch/raised.log" 2>&1) || { cat "$scratch/raised.log"; return 1; }
  [ -f "$clone/dist/ostrel-companions-9.8.7.6-win64.zip" ] &&
    [ -f "$clone/dist/ostrel-companions-$version-dirty-win64.zip" ] || { ls "$clone/dist"; return 1; }
  unpack "$clone/dist/ostrel-companions-9.8.7.6-win64.zip" "$scratch/raised"
  python3 - "$scratch/raised/ostrel-companions-9.8.7.6-win64"/*.exe <<'EOF'
import struct, sys
for path in sys.argv[1:]:
    data = open(path, "rb").read()
    fixed = data.index(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO
    high, low = struct.unpack_from("<II", data, fixed + 16)
    numbers = (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)
    assert numbers == (9, 8, 7, 6), (path, numbers)
    assert "9.8.7.6".encode("utf-16-le") in data, (path, "ProductVersion")
EOF
}

check "the archive's layout, checksums and text files" layout
check "stripped programs that run under Wine" stripped_and_running
check "signatures that verify, from each form of key" signed
check "no archive left by a failed run" nothing_left_by_a_failure
check "two runs at once" two_at_once
check "the same archive from a fresh clone" reproducible
check "names for uncommitted changes and for a raised version" named_by_changes_and_version
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
