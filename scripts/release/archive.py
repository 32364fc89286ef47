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
from .tools import Failure, run

PROGRAMS = ("follow", "glyphroots")
STRIP = "x86_64-w64-mingw32-strip"
# What README.txt holds: the README's part for users, above this line,
# then these documents, whole, each below it.
USER_PART_ENDS = "<!-- The archive's README.txt takes all above this line. -->"
USER_DOCUMENTS = ("docs/follow.md", "docs/glyphroots.md", "docs/installers.md")


def file_description(program):
    with open(os.path.join(ROOT, "resources", program + ".rc"), encoding="utf-8") as rc:
        return re.search(r'#define FILE_DESCRIPTION "(.*)"', rc.read()).group(1)


def read_text(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        return f.read()


def user_readme():
    """The README's part for users and the user's documents, as plain text."""
    readme = read_text("README.md")
    if USER_PART_ENDS not in readme:
        raise Failure("README.md has no line %s" % USER_PART_ENDS)
    parts = [readme.split(USER_PART_ENDS)[0]] + [read_text(d) for d in USER_DOCUMENTS]
    return plain_text("\n".join(p.strip("\n") + "\n" for p in parts))


def said_once(paragraphs):
    """The paragraphs less any that repeats an earlier one on its own, as
    the usage in both the README and the follow document does; one that a
    sentence ending in a colon brings in stays with that sentence."""
    kept, seen = [], set()
    for paragraph in paragraphs:
        text = paragraph.strip()
        if text in seen and not (kept and kept[-1].rstrip().endswith(":")):
            continue
        seen.add(text)
        kept.append(paragraph)
    return kept


def plain_text(markdown):
    """Headings underlined; no pictures, which the archive does not hold, nor
    the paragraphs that hold them; each passage once; a link to a document
    of the archive's README.txt as the section's title, below, and any
    other as its text alone; no emphasis or code marks, and a code span
    that ends in a full stop quoted where one follows it, so that "..."
    stays three dots; and the licence under its name in the archive."""
    paragraphs = [p for p in re.split(r"\n\s*\n", markdown) if "![" not in p]
    markdown = "\n\n".join(said_once(paragraphs))
    included = "|".join(re.escape(os.path.basename(d)) for d in USER_DOCUMENTS)
    markdown = re.sub(r"\[([^\]]*)\]\((?:[^)]*/)?(?:%s)\)" % included, r'"\1", below', markdown)
    markdown = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", markdown)
    markdown = re.sub(r"`([^`]*\.)`(?=\.)", r'"\1"', markdown)
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
