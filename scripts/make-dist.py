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

With SIGN_CERT and SIGN_KEY (a certificate and its private key, PEM or
DER), or with SIGN_PFX (a PKCS#12 file holding both), the programs are
signed, Authenticode with SHA-256, before they are summed, with the
archive's time as their signing time. SIGN_PASS_FILE names a file whose
first line is the pass phrase of an encrypted key or of the PKCS#12 file;
it reaches the tools through memory, never a file on disk.
SIGN_TIMESTAMP_URL, when set, names an RFC 3161 time-stamping server.
Every key and pass phrase is checked before anything is signed, and no
tool ever reads the terminal: a prompt would wait for ever in an
unattended build.

SIGTERM, SIGINT and SIGHUP end it as a failure does, the tools it started
with it.
"""
import glob
import hashlib
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = ("follow", "glyphroots")
STRIP = "x86_64-w64-mingw32-strip"
# No tool may hold the build: osslsigncode sets no limit of its own on a
# time-stamping server that never answers.
TOOL_SECONDS = 60
# The times both the archive and the programs can carry: a zip entry's date
# begins in 1980, and a program's header holds 32-bit seconds, which end on
# 2106-02-07 at 06:28:15 UTC.
EPOCHS = (315532800, 4294967295)
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
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value:
        if not re.fullmatch(r"[0-9]+", value) or not EPOCHS[0] <= int(value) <= EPOCHS[1]:
            raise Failure("SOURCE_DATE_EPOCH is %r, not a whole number of seconds from %d to %d "
                          "(1980 to February 2106, the times both a zip and a program's header "
                          "can hold)" % ((value,) + EPOCHS))
        return int(value)
    commit = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True, check=False)
    if commit.returncode != 0 or not commit.stdout.strip():
        raise Failure("no commit to date the archive by; set SOURCE_DATE_EPOCH")
    return max(int(commit.stdout), EPOCHS[0])


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


class Stop:
    """A signal that ends the run from outside: a kill, Ctrl+C, a closed
    terminal. Its handler only notes the signal and ends the tool that is
    running, with everything in its session; the run then fails at its next
    step, as on any failure. Nothing is cut short half-way, a clean-up
    least of all."""

    SIGNALS = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)

    def __init__(self):
        self.signal = None
        self.tool = None

    def catch(self):
        for number in self.SIGNALS:
            signal.signal(number, self.note)

    def note(self, number, _frame):
        self.signal = self.signal or number
        if self.tool and self.tool.returncode is None:
            end_session(self.tool)

    def check(self):
        if self.signal:
            raise Failure("stopped by %s" % signal.Signals(self.signal).name)

    def status(self):
        return 128 + self.signal if self.signal else 1


STOP = Stop()


def end_session(tool):
    try:
        os.killpg(tool.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass  # already gone


def run(command, what, reason=None, **options):
    """Runs a tool in a session of its own, with no terminal to prompt on,
    for at most TOOL_SECONDS; its failure becomes one line: what failed,
    and the reason the tool gave (by default the last thing it said)."""
    STOP.check()
    try:
        tool = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                text=True, stdin=subprocess.DEVNULL, start_new_session=True,
                                **options)
    except OSError as error:
        raise Failure("%s: %s" % (what, error.strerror)) from None
    STOP.tool = tool
    try:
        if STOP.signal:  # it came while the tool was being started
            end_session(tool)
        output = tool.communicate(timeout=TOOL_SECONDS)[0]
    except subprocess.TimeoutExpired:
        end_session(tool)
        tool.wait()
        raise Failure("%s: no answer within %d s" % (what, TOOL_SECONDS)) from None
    finally:
        STOP.tool = None
    STOP.check()
    if tool.returncode != 0:
        said = [line.strip() for line in output.splitlines() if line.strip()]
        said = reason(said) if reason else said[-1:]
        raise Failure("%s%s" % (what, ": " + said[0] if said else ""))
    return output


def failure_lines(said):
    """What osslsigncode says went wrong, first: not its warnings, its
    prompts or its closing 'Failed'."""
    return [line for line in said
            if re.search(r"fail|error|wrong|unable|cannot|can't", line, re.I)
            and line != "Failed" and not re.match(r"[0-9A-F]{8,}:error:", line)] or said[-1:]


def readable(variable, path):
    if not os.path.isfile(path) or not os.access(path, os.R_OK):
        raise Failure("%s names %s, which cannot be read" % (variable, path))
    return read_bytes(path)


def der_items(data, at, end):
    """The tag, content start and content end of each DER item in
    data[at:end]; ValueError where the bytes are no DER."""
    items = []
    while at < end:
        if at + 2 > end:
            raise ValueError("DER item cut short")
        tag, size = data[at], data[at + 1]
        at += 2
        if size & 0x80:
            count = size & 0x7F
            if not 0 < count <= 4:
                raise ValueError("no DER length")
            size = int.from_bytes(data[at:at + count], "big")
            at += count
        if at + size > end:
            raise ValueError("DER item past its end")
        items.append((tag, at, at + size))
        at += size
    return items


# A PEM block: its label and what lies between its lines.
PEM_BLOCK = re.compile(rb"-----BEGIN ([^\r\n-]+)-----\r?\n(.*?)-----END \1-----", re.S)


def key_is_encrypted(variable, path, data):
    """Whether a private key, PEM or DER, is encrypted, read from its form
    and never by trying a pass phrase: a key encrypted with an empty one
    would pass for a plain key."""
    if b"-----BEGIN" in data:
        # The key OpenSSL reads: the first key block, whatever stands
        # around it (the bag attributes of a key taken out of a PKCS#12
        # file, a byte-order mark, a certificate).
        keys = [block for block in PEM_BLOCK.findall(data) if block[0].endswith(b"PRIVATE KEY")]
        return bool(keys) and (keys[0][0] == b"ENCRYPTED PRIVATE KEY"
                               or b"Proc-Type: 4,ENCRYPTED" in keys[0][1])
    # An encrypted key's structure begins with its algorithm, a plain one
    # with a version number.
    try:
        (outer,) = der_items(data, 0, len(data))
        first = der_items(data, outer[1], outer[2])[0][0]
    except (ValueError, IndexError):
        raise Failure("%s names %s, which is not a private key" % (variable, path)) from None
    if first == 0x30:
        raise Failure("%s names %s, an encrypted DER key, which osslsigncode cannot read; "
                      "convert it to PEM" % (variable, path))
    return False


# The markers of a PKCS#12 file's protection: contents encrypted as a
# whole, a key bag of its own encrypted, or a MAC over all.
PKCS12_ENCRYPTED_DATA = bytes.fromhex("06092a864886f70d010706")
PKCS12_SHROUDED_KEY = bytes.fromhex("060b2a864886f70d010c0a0102")


def pfx_is_protected(path, data):
    try:
        (pfx,) = der_items(data, 0, len(data))
        parts = der_items(data, pfx[1], pfx[2])
    except ValueError:
        raise Failure("SIGN_PFX names %s, which is not a PKCS#12 file" % path) from None
    return len(parts) > 2 or PKCS12_ENCRYPTED_DATA in data or PKCS12_SHROUDED_KEY in data


def pass_phrase():
    """The first line of SIGN_PASS_FILE, without its line end, or None."""
    path = os.environ.get("SIGN_PASS_FILE")
    if not path:
        return None
    data = readable("SIGN_PASS_FILE", path)
    return data.split(b"\n", 1)[0].rstrip(b"\r")


class Secret:
    """The pass phrase as the tools take it: never on a command line, and
    never in a file on disk, where a run killed outright would leave it.
    It is a file in memory (a memfd) that no name leads to, handed to each
    tool that needs it as /dev/fd/N, and gone with this process however it
    ends. An empty one, which neither tool reads from a file, is given as
    the empty string it is."""

    def __init__(self, phrase):
        self.fds = ()
        if phrase:
            fd = os.memfd_create("pass")
            os.write(fd, phrase)
            self.fds = (fd,)

    def openssl(self):
        return ["-passin", "file:/dev/fd/%d" % self.fds[0] if self.fds else "pass:"]

    def osslsigncode(self):
        return ["-readpass", "/dev/fd/%d" % self.fds[0]] if self.fds else ["-pass", ""]


def public_key(command, variable, path, kind, secret=None):
    try:
        return run(["openssl"] + command + (secret.openssl() if secret else []) + ["-in", path], "",
                   pass_fds=secret.fds if secret else ())
    except Failure:
        if secret:
            raise Failure("SIGN_PASS_FILE does not hold the pass phrase of %s" % path) from None
        raise Failure("%s names %s, which is not %s" % (variable, path, kind)) from None


def check_pfx(path, secret):
    """That the pass phrase opens the PKCS#12 file. Files from older Windows
    tools use algorithms that OpenSSL 3 reads only with its legacy
    provider, as osslsigncode does."""
    for legacy in ([], ["-legacy"]):
        try:
            run(["openssl", "pkcs12", "-noout", "-in", path] + legacy + secret.openssl(), "",
                pass_fds=secret.fds)
            return
        except Failure as failure:
            said = str(failure)
    if re.search(r"mac verify|password", said, re.I):
        raise Failure("SIGN_PASS_FILE does not hold the pass phrase of %s" % path)
    raise Failure("SIGN_PFX names %s, which OpenSSL cannot read%s" % (path, said))


def signing_key():
    """The osslsigncode options that name the key to sign with, checked
    (readable, decrypted by the pass phrase given, matching its
    certificate), and the descriptors they read the pass phrase from; None
    when nothing is set."""
    cert, key, pfx = (os.environ.get(v) for v in ("SIGN_CERT", "SIGN_KEY", "SIGN_PFX"))
    phrase = pass_phrase()
    if pfx and (cert or key):
        raise Failure("SIGN_PFX, or SIGN_CERT and SIGN_KEY, name the key: not SIGN_PFX with %s"
                      % " and ".join(v for v, x in (("SIGN_CERT", cert), ("SIGN_KEY", key)) if x))
    if not (cert or key or pfx):
        if phrase is not None:
            raise Failure("SIGN_PASS_FILE is set, but neither SIGN_PFX nor SIGN_CERT and SIGN_KEY "
                          "name anything to sign with")
        print("make dist: SIGN_CERT and SIGN_KEY, or SIGN_PFX, are not set, "
              "so the programs are not signed")
        return None
    if not pfx and not (cert and key):
        raise Failure("SIGN_CERT and SIGN_KEY go together, and only %s is set"
                      % ("SIGN_CERT" if cert else "SIGN_KEY"))
    if pfx:
        encrypted = pfx_is_protected(pfx, readable("SIGN_PFX", pfx))
    else:
        readable("SIGN_CERT", cert)
        cert_key = public_key(["x509", "-noout", "-pubkey"], "SIGN_CERT", cert, "a certificate")
        encrypted = key_is_encrypted("SIGN_KEY", key, readable("SIGN_KEY", key))
    if encrypted and phrase is None:
        raise Failure("%s names %s, which is encrypted; set SIGN_PASS_FILE to a file whose first "
                      "line is its pass phrase" % (("SIGN_PFX", pfx) if pfx else ("SIGN_KEY", key)))
    # A PKCS#12 file without protection still takes a pass phrase: the empty one.
    secret = Secret(phrase if encrypted else b"")
    if pfx:
        check_pfx(pfx, secret)
        return ["-pkcs12", pfx] + secret.osslsigncode(), secret.fds
    key_key = public_key(["pkey", "-pubout"], "SIGN_KEY", key, "a private key",
                         secret if encrypted else None)
    if cert_key != key_key:
        raise Failure("SIGN_KEY names %s, which is not the key of the certificate in %s"
                      % (key, cert))
    return ["-certs", cert, "-key", key] + (secret.osslsigncode() if encrypted else []), secret.fds


def sign(path, description, key, epoch):
    """Signs with the archive's own time as the signing time, so that the
    same commit and key give the same signature."""
    options, fds = key
    command = ["osslsigncode", "sign"] + options + ["-h", "sha256", "-n", description,
                                                    "-time", str(epoch)]
    if os.environ.get("SIGN_TIMESTAMP_URL"):
        command += ["-ts", os.environ["SIGN_TIMESTAMP_URL"]]
    signed = path + ".signed"
    run(command + ["-in", path, "-out", signed], "osslsigncode could not sign %s"
        % os.path.basename(path), reason=failure_lines, pass_fds=fds)
    os.replace(signed, path)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def sha256(path):
    return hashlib.sha256(read_bytes(path)).hexdigest()


def stage_programs(build_dir, stage, epoch, key):
    """Stripped copies of the programs in stage, signed when there is a
    key to sign with; gives their SHA256SUMS."""
    # strip writes a fresh time stamp into the header; it takes this one.
    strip_env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    for program in PROGRAMS:
        exe = program + ".exe"
        path = os.path.join(stage, exe)
        run([STRIP, "--strip-all", "-o", path, os.path.join(build_dir, exe)],
            "%s could not strip %s" % (STRIP, exe), env=strip_env)
        if key:
            sign(path, file_description(program), key, epoch)
    return "".join("%s  %s.exe\n" % (sha256(os.path.join(stage, p + ".exe")), p)
                   for p in PROGRAMS)


def write_zip(archive, name, contents, epoch):
    stamp = time.gmtime(epoch)[:6]
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
    sums = stage_programs(build_dir, stage, epoch, signing_key())
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
    STOP.catch()
    try:
        archive, sums = make_archive(build_dir, out_dir, stage_root)
        STOP.check()  # a signal as it ended: the archive is not to be taken
    except Failure as failure:
        for partial in glob.glob(os.path.join(out_dir, "ostrel-companions-*-win64.zip*")):
            os.remove(partial)
        print("make dist: %s" % failure, file=sys.stderr)
        sys.exit(STOP.status())
    finally:
        shutil.rmtree(stage_root, ignore_errors=True)
    print(archive)
    sys.stdout.write(sums)
    print("%s  %s" % (sha256(archive), os.path.basename(archive)))


if __name__ == "__main__":
    main()
