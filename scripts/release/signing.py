"""Authenticode signatures, made by osslsigncode from a key handed to it
in memory."""
import os
import re

from .tools import run


class InMemory:
    """The key and its certificates as osslsigncode reads them: files in
    memory (memfds) that no name on any file system leads to, handed to it
    as /dev/fd/N, and gone with this process however it ends. The key,
    decrypted, is never on disk nor on a command line."""

    def __init__(self, key):
        self.key = memory_file("key", key.key)
        self.certificates = memory_file("certificates", key.certificates)
        self.fds = (self.key, self.certificates)

    def options(self):
        return ["-certs", "/dev/fd/%d" % self.certificates, "-key", "/dev/fd/%d" % self.key]


def memory_file(name, data):
    fd = os.memfd_create(name)
    view = memoryview(data)
    while view:
        view = view[os.write(fd, view):]
    return fd


def failure_lines(said):
    """What osslsigncode says went wrong, first: not its warnings, its
    prompts or its closing 'Failed'."""
    return [line for line in said
            if re.search(r"fail|error|wrong|unable|cannot|can't", line, re.I)
            and line != "Failed" and not re.match(r"[0-9A-F]{8,}:error:", line)] or said[-1:]


def sign(path, description, key, epoch):
    """Signs with the archive's own time as the signing time, so that the
    same commit and RSA key give the same signature."""
    command = ["osslsigncode", "sign"] + key.options() + ["-h", "sha256", "-n", description,
                                                         "-time", str(epoch)]
    if os.environ.get("SIGN_TIMESTAMP_URL"):
        command += ["-ts", os.environ["SIGN_TIMESTAMP_URL"]]
    signed = path + ".signed"
    run(command + ["-in", path, "-out", signed], "osslsigncode could not sign %s"
        % os.path.basename(path), reason=failure_lines, pass_fds=key.fds)
    os.replace(signed, path)
