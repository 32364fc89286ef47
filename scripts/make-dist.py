#!/usr/bin/env python3
"""Makes the release archive from a Windows build tree:

    make-dist.py BUILD_DIR OUT_DIR

writes OUT_DIR/ostrel-companions-<version>-win64.zip, one folder of that
name holding the two programs (stripped copies; the build tree keeps its own
for debugging), README.txt, LICENSE.txt and SHA256SUMS. The version is the
one the build's version records carry; a work tree with uncommitted changes
gives ostrel-companions-<version>-dirty-win64.zip, never taken for a release.
Any failure is one line on standard error and leaves no archive in OUT_DIR.

The same commit gives the same archive, byte for byte, wherever and whenever
it is built: the programs' headers and the archive's entries carry the
commit's time (or SOURCE_DATE_EPOCH), and the entries have a fixed order and
fixed permissions.

With SIGN_CERT and SIGN_KEY (a PEM certificate and its PEM private key) the
programs are signed, Authenticode with SHA-256, before they are summed;
SIGN_TIMESTAMP_URL, when set, names an RFC 3161 time-stamping server. One
of the two without the other is an error.
"""
import glob
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


class Failure(Exception):
    """What stops the archive, said in one line."""


def product_version(build_dir):
    # Generated at each configure from CMakeLists.txt, so a raised version
    # reaches an existing build tree, as the cache would not.
    try:
        with open(os.path.join(build_dir, "generated", "version.h"), encoding="utf-8") as header:
            found = re.search(r'#define OSTREL_PRODUCT_VERSION "(.*)"', header.read())
    except OSError:
        found = None
    if not found:
        raise Failure("%s is not a configured build tree" % build_dir)
    return found.group(1)


def dirty_mark():
    """-dirty when the work tree has changes that are not committed, or
    when git cannot tell."""
    status = subprocess.run(["git", "-C", ROOT, "status", "--porcelain"],
                            capture_output=True, text=True, check=False)
    return "-dirty" if status.returncode != 0 or status.stdout.strip() else ""


def file_description(program):
    with open(os.path.join(ROOT, "resources", program + ".rc"), encoding="utf-8") as rc:
        return re.search(r'#define FILE_DESCRIPTION "(.*)"', rc.read()).group(1)


def source_epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True, check=False)
    if commit.returncode != 0 or not commit.stdout.strip():
        raise Failure("no commit to date the archive by; set SOURCE_DATE_EPOCH")
    return int(commit.stdout)


def user_readme():
    """The README's title and introduction, then the sections users need,
    as plain text."""
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
        text = readme.read()
    parts = re.split(r"(?m)^(?=## )", text)
    kept = [parts[0]]
    for part in parts[1:]:
        title = part.splitlines()[0][3:].strip()
        if title in README_SECTIONS:
            kept.append(re.split(r"(?m)^### Under Wine\n", part)[0])
    return plain_text("".join(kept).rstrip("\n") + "\n")


def plain_text(markdown):
    """Headings underlined, no emphasis or code marks, and the licence
    under its name in the archive."""
    lines = []
    for line in markdown.splitlines():
        heading = re.match(r"(#+) (.*)", line)
        if heading:
            title = heading.group(2)
            lines += [title, ("=" if len(heading.group(1)) == 1 else "-") * len(title)]
        else:
            lines.append(line)
    text = "\n".join(lines).replace("**", "").replace("`", "") + "\n"
    return re.sub(r"\bLICENSE\b(?!\.txt)", "LICENSE.txt", text)


def windows_text(text):
    """CR LF line ends, and UTF-8 with a byte-order mark unless the text is
    plain ASCII, so that every Notepad reads it right."""
    data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")
    return data if data.isascii() else b"\xef\xbb\xbf" + data


def run(command, what, **options):
    """Runs a tool; its failure becomes one line: what failed, and the last
    thing the tool said."""
    try:
        done = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                              check=False, **options)
    except OSError as error:
        raise Failure("%s: %s" % (what, error.strerror)) from None
    if done.returncode != 0:
        said = (done.stderr + done.stdout).strip().splitlines()
        raise Failure("%s%s" % (what, ": " + said[-1].strip() if said else ""))
    return done.stdout


def public_key(variable, path, command, kind):
    if not os.path.isfile(path) or not os.access(path, os.R_OK):
        raise Failure("%s names %s, which cannot be read" % (variable, path))
    try:
        return run(["openssl"] + command + ["-in", path], "")
    except Failure:
        raise Failure("%s names %s, which is not %s" % (variable, path, kind)) from None


def signing_pair():
    """The certificate and key to sign with, both usable and matching; None
    when neither is set."""
    cert, key = os.environ.get("SIGN_CERT"), os.environ.get("SIGN_KEY")
    if not cert and not key:
        print("make dist: SIGN_CERT and SIGN_KEY are not set, so the programs are not signed")
        return None
    if not (cert and key):
        raise Failure("SIGN_CERT and SIGN_KEY go together, and only %s is set"
                      % ("SIGN_CERT" if cert else "SIGN_KEY"))
    cert_key = public_key("SIGN_CERT", cert, ["x509", "-noout", "-pubkey"], "a PEM certificate")
    # An empty pass phrase: a key that wants one is refused, never asked for.
    key_key = public_key("SIGN_KEY", key, ["pkey", "-pubout", "-passin", "pass:"],
                         "an unencrypted PEM private key")
    if cert_key != key_key:
        raise Failure("SIGN_KEY names %s, which is not the key of the certificate in %s"
                      % (key, cert))
    return cert, key


def sign(path, description, pair):
    command = ["osslsigncode", "sign", "-certs", pair[0], "-key", pair[1], "-h", "sha256",
               "-n", description]
    if os.environ.get("SIGN_TIMESTAMP_URL"):
        command += ["-ts", os.environ["SIGN_TIMESTAMP_URL"]]
    signed = path + ".signed"
    run(command + ["-in", path, "-out", signed], "osslsigncode could not sign %s"
        % os.path.basename(path))
    os.replace(signed, path)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def sha256(path):
    return hashlib.sha256(read_bytes(path)).hexdigest()


def stage_programs(build_dir, stage, epoch, pair):
    """Stripped, and signed when there is a pair, copies of the programs in
    stage; gives their SHA256SUMS."""
    # strip writes a fresh time stamp into the header; it takes this one.
    strip_env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    for program in PROGRAMS:
        exe = program + ".exe"
        path = os.path.join(stage, exe)
        run([STRIP, "--strip-all", "-o", path, os.path.join(build_dir, exe)],
            "%s could not strip %s" % (STRIP, exe), env=strip_env)
        if pair:
            sign(path, file_description(program), pair)
    return "".join("%s  %s.exe\n" % (sha256(os.path.join(stage, p + ".exe")), p)
                   for p in PROGRAMS)


def write_zip(archive, name, contents, epoch):
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(archive, "w") as zf:
        for entry, data in contents:
            info = zipfile.ZipInfo(name + "/" + entry, stamp)
            info.create_system = 3
            info.external_attr = (0o100755 if entry.endswith(".exe") else 0o100644) << 16
            zf.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)


def make_archive(build_dir, out_dir, stage_root):
    name = "ostrel-companions-%s%s-win64" % (product_version(build_dir), dirty_mark())
    stage = os.path.join(stage_root, name)
    os.makedirs(stage)
    epoch = source_epoch()
    sums = stage_programs(build_dir, stage, epoch, signing_pair())
    contents = [(p + ".exe", read_bytes(os.path.join(stage, p + ".exe"))) for p in PROGRAMS] + [
        ("README.txt", windows_text(user_readme())),
        ("LICENSE.txt", windows_text(open(os.path.join(ROOT, "LICENSE"), encoding="utf-8").read())),
        ("SHA256SUMS", sums.encode("ascii")),
    ]
    os.makedirs(out_dir, exist_ok=True)
    archive = os.path.join(out_dir, name + ".zip")
    write_zip(archive + ".part", name, contents, epoch)
    os.replace(archive + ".part", archive)
    return archive, sums


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-dist.py BUILD_DIR OUT_DIR")
    build_dir, out_dir = sys.argv[1], sys.argv[2]
    # Whatever happens, no older archive is left to be taken for this one.
    for old in glob.glob(os.path.join(out_dir, "ostrel-companions-*-win64.zip*")):
        os.remove(old)
    stage_root = os.path.join(build_dir, "dist")
    shutil.rmtree(stage_root, ignore_errors=True)
    try:
        archive, sums = make_archive(build_dir, out_dir, stage_root)
    except Failure as failure:
        for partial in glob.glob(os.path.join(out_dir, "ostrel-companions-*-win64.zip*")):
            os.remove(partial)
        sys.exit("make dist: %s" % failure)
    finally:
        shutil.rmtree(stage_root, ignore_errors=True)
    print(archive)
    sys.stdout.write(sums)
    print("%s  %s" % (sha256(archive), os.path.basename(archive)))


if __name__ == "__main__":
    main()
