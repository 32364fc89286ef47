"""Failures said in one line, signals that stop the run, and the tools it
runs."""
import contextlib
import os
import signal
import subprocess

# No tool may hold the build: osslsigncode sets no limit of its own on a
# time-stamping server that never answers.
TOOL_SECONDS = 60


class Failure(Exception):
    """What stops the archive, said in one line."""


def one_line(error):
    """Any failure, ours or the system's, as one line naming what failed."""
    if isinstance(error, Failure):
        return str(error)
    if isinstance(error, OSError) and error.strerror:
        where = error.filename if error.filename is not None else ""
        return "%s%s" % ("%s: " % where if where else "", error.strerror)
    said = " ".join(str(error).split())
    return "%s%s" % (type(error).__name__, ": " + said if said else "")


class Stop:
    """A signal that ends the run from outside: a kill, Ctrl+C, a closed
    terminal. Its handler only notes the signal and ends the tool that is
    running, with everything in its session; the run then fails at its next
    step, as on any failure. Nothing is cut short half-way, a clean-up
    least of all; only a wait for input that may never come, a pipe nobody
    writes, ends at once."""

    SIGNALS = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)

    def __init__(self):
        self.signal = None
        self.tool = None
        self.waiting = False

    def catch(self):
        for number in self.SIGNALS:
            signal.signal(number, self.note)

    def note(self, number, _frame):
        self.signal = self.signal or number
        if self.tool and self.tool.returncode is None:
            end_session(self.tool)
        if self.waiting:
            self.check()  # out of the open or the read that waits

    @contextlib.contextmanager
    def waiting_for_input(self):
        """Around an open or a read that may wait for ever: a signal then
        fails the run at once."""
        self.waiting = True
        try:
            self.check()  # one noted before the wait began
            yield
        finally:
            self.waiting = False

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
    and the reason the tool gave (by default the last thing it said), in
    whatever bytes it said it."""
    STOP.check()
    try:
        tool = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, start_new_session=True, **options)
    except OSError as error:
        raise Failure("%s: %s" % (what, error.strerror)) from None
    STOP.tool = tool
    try:
        if STOP.signal:  # it came while the tool was being started
            end_session(tool)
        output = tool.communicate(timeout=TOOL_SECONDS)[0].decode("utf-8", "replace")
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
