#!/usr/bin/python3
"""Makes the release archive from a Windows build tree:

    make-dist.py BUILD_DIR OUT_DIR
    make-dist.py --sources


writes OUT_DIR/ostrel-companions-<version>-win64.zip, one folder of that
name holding the two programs (stripped copies; the build tree keeps its own
for debugging), README.txt, LICENSE.txt and SHA256SUMS, and beside it the
archive's own sum, OUT_DIR/ostrel-companions-<version>-win64.zip.sha256.
The version is the one the build's version records carry; changes to what
git tracks give ostrel-companions-<version>-dirty-win64.zip, never taken
for a release, and so do sources that changed after the build began:
DIST_SOURCES holds what --sources printed before the build, and any
change since, an edit undone again included, marks the name. Any failure is one line on standard error, status 1, and
leaves OUT_DIR as it was, and no staging folder. Once the new archive and
its sum are in place, the archive of this version under its other name
(changed or not) is removed, so that it is not taken for the new one. Both
files get the mode any new file gets under the umask.

The same commit gives the same archive, byte for byte, wherever and whenever
it is built: the programs' headers and the archive's entries carry the
commit's time (or SOURCE_DATE_EPOCH), and the entries have a fixed order and
fixed permissions.

With SIGN_CERT and SIGN_KEY (a certificate and its private key, PEM or
DER), or with SIGN_PFX (a PKCS#12 file holding both), the programs are
signed, Authenticode with SHA-256, before they are summed, with the
archive's time as their signing time. SIGN_PASS_FILE names a file, or a
pipe, whose first line is the pass phrase of an encrypted key or of the
PKCS#12 file. The key is checked and decrypted here, once, and reaches
osslsigncode through memory, never a file on disk; no tool ever reads
the terminal. SIGN_TIMESTAMP_URL, when set, names an RFC 3161
time-stamping server.

SIGTERM, SIGINT and SIGHUP end it as a failure does, the tools it started
with it. Two runs at once each stage and write under names of their own.
"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from release import archive, naming  # noqa: E402
from release.tools import STOP, Failure, one_line  # noqa: E402


def remove(path):
    """Removes what is there; what cannot be removed, a later step says."""
    try:
        os.remove(path)
    except OSError:
        pass


def other_name(name):
    """This version's archive under its other name, changed or not: once
    the new one is in place, the older one is not to be taken for it."""
    dirty = "-dirty-win64"
    return name.replace(dirty, "-win64") if name.endswith(dirty) else name.replace("-win64", dirty)


def new_file_mode():
    """What open() gives a new file under the umask; mkstemp gives 0600."""
    umask = os.umask(0)
    os.umask(umask)
    return 0o666 & ~umask


def write_partial(path, write, partials):
    """Writes a file under a temporary name of its own beside path, noted
    in partials, with the mode of a new file: a reader never sees half of
    it, and two runs never share one."""
    fd, partial = tempfile.mkstemp(prefix=os.path.basename(path) + ".", suffix=".part",
                                   dir=os.path.dirname(path))
    os.close(fd)
    partials.append(partial)
    write(partial)
    os.chmod(partial, new_file_mode())
    return partial


def make_archive(build_dir, out_dir, stage, partials):
    """Writes the archive and its sum, noting in partials each file it
    has written under a temporary name, puts both in place once both are
    whole, and gives the archive's path and the sums to show."""
    try:
        from release import keys, signing
    except ImportError:
        raise Failure("needs Python's cryptography module, from the python3-cryptography "
                      "package, under /usr/bin/python3") from None
    name = naming.archive_name(build_dir, os.environ.get("DIST_SOURCES"))
    key = keys.signing_key()
    epoch = naming.source_epoch(signing=key is not None)
    sums = archive.stage_programs(build_dir, stage, epoch, key and signing.InMemory(key))
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, name + ".zip")
    entries = archive.contents(stage, sums)
    zipped = write_partial(path, lambda partial: archive.write_zip(partial, name, entries, epoch),
                           partials)
    summed = "%s  %s\n" % (archive.sha256(zipped), os.path.basename(path))

    def write_sum(partial):
        with open(partial, "w", encoding="ascii") as f:
            f.write(summed)
    sum_file = write_partial(path + ".sha256", write_sum, partials)
    STOP.check()  # a signal as it ended: the archive is not to be taken
    os.replace(zipped, path)
    os.replace(sum_file, path + ".sha256")
    other = os.path.join(out_dir, other_name(name) + ".zip")
    remove(other)
    remove(other + ".sha256")
    if key is None:
        print("make dist: SIGN_CERT and SIGN_KEY, or SIGN_PFX, are not set, "
              "so the programs are not signed")
    return path, sums + summed


def main():
    if sys.argv[1:] == ["--sources"]:
        print(naming.source_state())
        return
    if len(sys.argv) != 3:
        sys.exit("usage: make-dist.py BUILD_DIR OUT_DIR | --sources")
    build_dir, out_dir = sys.argv[1], sys.argv[2]
    STOP.catch()
    stage, partials = None, []
    try:
        if not os.path.isdir(build_dir):
            raise Failure("%s is not a configured build tree" % build_dir)
        stage = tempfile.mkdtemp(prefix="dist.", dir=build_dir)
        path, sums = make_archive(build_dir, out_dir, stage, partials)
        print(path)
        sys.stdout.write(sums)
        sys.stdout.flush()
    except Exception as error:  # ours or the system's: one line either way
        for path in partials:
            remove(path)
        print("make dist: %s" % one_line(error), file=sys.stderr)
        sys.exit(STOP.status())
    finally:
        if stage:
            shutil.rmtree(stage, ignore_errors=True)


if __name__ == "__main__":
    main()
