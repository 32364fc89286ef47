#!/usr/bin/env python3
"""Makes the release archive from a Windows build tree:

    make-dist.py BUILD_DIR OUT_DIR

writes OUT_DIR/ostrel-companions-<version>-win64.zip, one folder of that
name holding the two programs (stripped copies; the build tree keeps its own
for debugging), README.txt, LICENSE.txt and SHA256SUMS. The version is the
one the build's version records carry.

The same commit gives the same archive, byte for byte, wherever and whenever
it is built: the programs' headers and the archive's entries carry the
commit's time (or SOURCE_DATE_EPOCH), and the entries have a fixed order and
fixed permissions.

With SIGN_CERT and SIGN_KEY (a PEM certificate and its PEM private key) the
programs are signed, Authenticode with SHA-256, before they are summed;
SIGN_TIMESTAMP_URL, when set, names an RFC 3161 time-stamping server.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = ("follow", "glyphroots")
STRIP = "x86_64-w64-mingw32-strip"
# The user's part of the README: these sections, without their notes on
# running under Wine.
README_SECTIONS = ("Using follow.exe", "Using glyphroots.exe", "Notes for installer authors",
                   "Checking a download", "Licence")


def product_version(build_dir):
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith("OSTREL_PRODUCT_VERSION:"):
                return line.split("=", 1)[1].strip()
    sys.exit("make dist: %s is not a configured build tree" % build_dir)


def file_description(program):
    with open(os.path.join(ROOT, "resources", program + ".rc"), encoding="utf-8") as rc:
        return re.search(r'#define FILE_DESCRIPTION "(.*)"', rc.read()).group(1)


def source_epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True, check=False)
    if commit.returncode != 0 or not commit.stdout.strip():
        sys.exit("make dist: no commit to date the archive by; set SOURCE_DATE_EPOCH")
    return int(commit.stdout)


def user_readme():
    """The README's title and introduction, then the sections users need."""
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
        text = readme.read()
    parts = re.split(r"(?m)^(?=## )", text)
    kept = [parts[0]]
    for part in parts[1:]:
        title = part.splitlines()[0][3:].strip()
        if title in README_SECTIONS:
            kept.append(re.split(r"(?m)^### Under Wine\n", part)[0])
    return "".join(kept).rstrip("\n") + "\n"


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def sign(path, description):
    command = ["osslsigncode", "sign", "-certs", os.environ["SIGN_CERT"],
               "-key", os.environ["SIGN_KEY"], "-h", "sha256", "-n", description]
    if os.environ.get("SIGN_TIMESTAMP_URL"):
        command += ["-ts", os.environ["SIGN_TIMESTAMP_URL"]]
    signed = path + ".signed"
    subprocess.run(command + ["-in", path, "-out", signed], check=True, stdout=subprocess.DEVNULL)
    os.replace(signed, path)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def sha256(path):
    return hashlib.sha256(read_bytes(path)).hexdigest()


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-dist.py BUILD_DIR OUT_DIR")
    build_dir, out_dir = sys.argv[1], sys.argv[2]
    name = "ostrel-companions-%s-win64" % product_version(build_dir)
    stage = os.path.join(build_dir, "dist", name)
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)

    epoch = source_epoch()
    # strip writes a fresh time stamp into the header; it takes this one.
    strip_env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    signing = bool(os.environ.get("SIGN_CERT") and os.environ.get("SIGN_KEY"))
    if not signing:
        print("make dist: SIGN_CERT and SIGN_KEY are not set, so the programs are not signed")
    exes = [p + ".exe" for p in PROGRAMS]
    for program, exe in zip(PROGRAMS, exes):
        path = os.path.join(stage, exe)
        subprocess.run([STRIP, "--strip-all", "-o", path, os.path.join(build_dir, exe)],
                       check=True, env=strip_env)
        if signing:
            sign(path, file_description(program))
    sums = "".join("%s  %s\n" % (sha256(os.path.join(stage, exe)), exe) for exe in exes)

    contents = [(exe, read_bytes(os.path.join(stage, exe))) for exe in exes] + [
        ("README.txt", crlf(user_readme())),
        ("LICENSE.txt", crlf(open(os.path.join(ROOT, "LICENSE"), encoding="utf-8").read())),
        ("SHA256SUMS", sums.encode("ascii")),
    ]
    os.makedirs(out_dir, exist_ok=True)
    archive = os.path.join(out_dir, name + ".zip")
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(archive + ".part", "w") as zf:
        for entry, data in contents:
            info = zipfile.ZipInfo(name + "/" + entry, stamp)
            info.create_system = 3
            info.external_attr = (0o100755 if entry.endswith(".exe") else 0o100644) << 16
            zf.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(archive + ".part", archive)

    print(archive)
    sys.stdout.write(sums)
    print("%s  %s" % (sha256(archive), os.path.basename(archive)))


if __name__ == "__main__":
    main()
