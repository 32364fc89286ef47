"""What the archive holds and how it is written: stripped, perhaps signed
programs, the user's README as plain text, the licence and the sums, in
entries of fixed order, time and permissions."""
import hashlib
import os
import re
import time
import zipfile

from .naming import ROOT
from .signing import sign
from .tools import run

PROGRAMS = ("follow", "glyphroots")
STRIP = "x86_64-w64-mingw32-strip"
# The user's part of the README: these sections, without their notes on
# running under Wine.
README_SECTIONS = ("Using follow.exe", "Using glyphroots.exe", "Notes for installer authors",
                   "Checking a download", "Licence")


def file_description(program):
    with open(os.path.join(ROOT, "resources", program + ".rc"), encoding="utf-8") as rc:
        return re.search(r'#define FILE_DESCRIPTION "(.*)"', rc.read()).group(1)


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


def contents(stage, sums):
    """The entries, in order, below the archive's one folder."""
    with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as licence:
        licence_text = licence.read()
    return [(p + ".exe", read_bytes(os.path.join(stage, p + ".exe"))) for p in PROGRAMS] + [
        ("README.txt", windows_text(user_readme())),
        ("LICENSE.txt", windows_text(licence_text)),
        ("SHA256SUMS", sums.encode("ascii")),
    ]


def write_zip(path, name, entries, epoch):
    stamp = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(path, "w") as zf:
        for entry, data in entries:
            info = zipfile.ZipInfo(name + "/" + entry, stamp)
            info.create_system = 3
            info.external_attr = (0o100755 if entry.endswith(".exe") else 0o100644) << 16
            zf.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
