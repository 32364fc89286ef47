"""The archive's name and time: the suite's version, a mark for changes
not committed, and the time every entry and signature carries."""
import hashlib
import os
import re
import subprocess

from .tools import Failure

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The times both the archive and the programs can carry: a zip entry's date
# begins in 1980, and a program's header holds 32-bit seconds, which end on
# 2106-02-07 at 06:28:15 UTC.
EPOCHS = (315532800, 4294967295)
# A signature's signing time is a UTCTime, whose two-digit years end with
# 2049: from 2050-01-01 on it would be no valid time.
SIGNING_TIMES_END = 2524608000


def product_version(build_dir):
    """The version the build's version records carry. Generated at each
    configure from CMakeLists.txt, so a raised version reaches an existing
    build tree, as the cache would not."""
    try:
        with open(os.path.join(build_dir, "generated", "version.h"), encoding="utf-8",
                  errors="replace") as header:
            found = re.search(r'#define OSTREL_PRODUCT_VERSION "([0-9.]+)"', header.read())
    except OSError:
        found = None
    if not found:
        raise Failure("%s is not a configured build tree" % build_dir)
    return found.group(1)


def git(*args):
    """What git says, as bytes; nothing where it cannot say."""
    return subprocess.run(["git", "-C", ROOT] + list(args), capture_output=True,
                          check=False).stdout


def source_state():
    """What the sources are now: the commit, what git says has changed, and
    when each file it tracks was last written, so that an edit undone again
    still tells."""
    times = []
    for name in git("ls-files", "-z").split(b"\0"):
        try:
            times.append(os.stat(os.path.join(ROOT.encode(), name)).st_mtime_ns if name else 0)
        except OSError:
            times.append(-1)
    state = git("rev-parse", "HEAD") + git("status", "--porcelain", "--untracked-files=no")
    return hashlib.sha256(state + repr(times).encode()).hexdigest()


def archive_name(build_dir, built_from=None):
    """-dirty marks changes to what git tracks, as git describe --dirty
    does, or a tree git cannot tell about; files git does not track, a key
    beside the tree say, change nothing. built_from, the source_state()
    taken before the build, marks it too where the sources have changed
    since: the programs may hold what is no longer there."""
    status = subprocess.run(["git", "-C", ROOT, "status", "--porcelain", "--untracked-files=no"],
                            capture_output=True, check=False)
    dirty = status.returncode != 0 or status.stdout.strip()
    dirty = dirty or (built_from is not None and built_from != source_state())
    return "ostrel-companions-%s%s-win64" % (product_version(build_dir), "-dirty" if dirty else "")


def source_epoch(signing):
    """SOURCE_DATE_EPOCH, or the last commit's time."""
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value:
        if not re.fullmatch(r"[0-9]{1,10}", value) or not EPOCHS[0] <= int(value) <= EPOCHS[1]:
            raise Failure("SOURCE_DATE_EPOCH is %r, not a whole number of seconds from %d to %d "
                          "(1980 to February 2106, the times both a zip and a program's header "
                          "can hold)" % ((value[:40] + "..." if len(value) > 40 else value,)
                                         + EPOCHS))
        epoch = int(value)
    else:
        commit = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                                capture_output=True, text=True, check=False)
        if commit.returncode != 0 or not commit.stdout.strip():
            raise Failure("no commit to date the archive by; set SOURCE_DATE_EPOCH")
        epoch = max(int(commit.stdout), EPOCHS[0])
    if signing and epoch >= SIGNING_TIMES_END:
        raise Failure("the archive's time, %d, is in 2050 or later, which a signature's signing "
                      "time (UTCTime) cannot hold; sign with an earlier SOURCE_DATE_EPOCH" % epoch)
    return epoch
