#!/usr/bin/env python3
"""Measures follow beside GNU `tail -n 10 -f` on this machine, in one run,
taking turns (follow, tail, follow, tail ...), for the native follow and for
follow.exe under Wine:

- time to first output: the last ten lines of a 1 GiB log, from process start
  until those bytes have arrived on the pipe;
- following: 256 MiB appended to a followed log in one burst; the time from
  the first appended byte out on the pipe to the last, and that rate. The
  burst is written right after a marker line has come out, that is right
  after follow's poll, so that its next poll finds the burst written and
  the figure is the copy's. A run whose bytes still came out a poll apart
  (writing the burst took longer than the poll's second) is reported as
  such and left out of the figures;
- peak resident memory of the follower process while following the 1 GiB log.

Under Wine, each timed start comes right after an idle program has run, so
that Wine's own settling after the previous, killed follower is not counted.

Each figure is the median of BENCH_RUNS runs (5 unless set). The logs, about
1.3 GiB, are made in build/bench/ and kept for the next run; `rm -rf
build/bench` removes them. Wine's own start-up time and memory, with an empty program,
are measured beside. Run it with `make bench`; it prints a Markdown table.
"""
import os
import platform
import signal
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build", "bench")
WINE_RUN = os.path.join(ROOT, "build", "windows", "wine-run")
NATIVE_FOLLOW = os.path.join(ROOT, "dist", "linux", "follow")
WINDOWS_FOLLOW = os.path.join(ROOT, "dist", "windows", "follow.exe")
RUNS = int(os.environ.get("BENCH_RUNS", "5"))
GIB = 1 << 30
MIB = 1 << 20
BURST = 256 * MIB


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Follower:
    """One way of following a log: its command line, and whether Wine runs it."""

    def __init__(self, name, command, wine=False):
        self.name, self.command, self.wine = name, command, wine

    def start(self, log):
        return subprocess.Popen(self.command(log), stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, bufsize=0)


def followers():
    tail = Follower("tail -n 10 -f", lambda log: ["tail", "-n", "10", "-f", log])
    native = Follower("follow (native)", lambda log: [NATIVE_FOLLOW, log])
    wine = Follower("follow.exe (Wine)", lambda log: [WINE_RUN, WINDOWS_FOLLOW, windows_path(log)],
                    wine=True)
    return tail, native, wine


def make_big_log(path):
    """1 GiB of log lines, then ten lines found nowhere else."""
    tail_lines = [b"bench tail line %02d of the 1 GiB log\n" % i for i in range(10)]
    if os.path.exists(path) and os.path.getsize(path) >= GIB:
        return tail_lines
    line = b"2026-12-07 21:00:00.000 display 0: client request processed, all well %08d\n"
    block = b"".join(line % i for i in range(MIB // len(line % 0)))
    block += b"x" * (MIB - len(block) - 1) + b"\n"
    with open(path, "wb") as f:
        for _ in range(GIB // MIB):
            f.write(block)
        f.write(b"".join(tail_lines))
    return tail_lines


def peak_memory(pid):
    """The process's peak resident memory so far, in KiB."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def stop(process):
    """Ends the follower and gives its peak resident memory in KiB."""
    peak = peak_memory(process.pid)
    process.kill()
    process.wait()
    if process.stdout:
        process.stdout.close()
    return peak


def settle(follower):
    """After a Wine process has been killed, the next one Wine starts waits
    about a second for the server to let go of the old one, and the first
    to use the window system after a while waits for it too: have an idle
    program pay for both, outside the figures."""
    if follower.wine:
        subprocess.run([WINE_RUN, SETTLER], check=False)


def first_output(follower, log, tail_lines):
    settle(follower)
    expected = b"".join(tail_lines)
    start = time.perf_counter()
    process = follower.start(log)
    seen = b""
    while not seen.endswith(expected):
        chunk = process.stdout.read(65536)
        if not chunk:
            raise RuntimeError(follower.name + " ended early")
        seen += chunk
    elapsed = time.perf_counter() - start
    time.sleep(0.5)  # following now: the memory figure is the following one
    return elapsed, stop(process)


# A pause this long between two reads of a burst is a poll's.
POLL_GAP = 0.5


def burst(follower, log):
    """The copy time and rate of a burst, and whether its bytes came out a
    poll apart."""
    with open(log, "wb"):
        pass
    settle(follower)
    process = follower.start(log)
    marker = b"bench marker: the follower has just looked\n"
    line = b"appended by the benchmark, one line of many, all alike........\n"
    chunk = line * (MIB // len(line))
    chunk += b"y" * (MIB - len(chunk) - 1) + b"\n"
    shown = threading.Event()
    reads = []  # when each read of the burst's bytes came

    def reader():
        total = 0
        while total < len(marker) + BURST:
            data = process.stdout.read(1 << 20)
            if not data:
                return
            total += len(data)
            if total > len(marker):
                reads.append(time.perf_counter())
            elif total == len(marker):
                shown.set()

    thread = threading.Thread(target=reader)
    thread.start()
    with open(log, "ab") as f:
        f.write(marker)
    if not shown.wait(10):
        stop(process)
        raise RuntimeError(follower.name + " never showed the marker")
    with open(log, "ab") as f:
        for _ in range(BURST // MIB):
            f.write(chunk)
    thread.join(120)
    stop(process)
    if thread.is_alive() or not reads:
        raise RuntimeError("%s did not show the whole burst" % follower.name)
    copy = reads[-1] - reads[0]
    split = any(b - a > POLL_GAP for a, b in zip(reads, reads[1:]))
    return copy, BURST / MIB / max(copy, 1e-9), split


BASELINES = {
    "empty program": "int main(void) { return 0; }\n",
    # What follow does before it opens the log: the common controls come
    # first, and with them Wine's window system.
    "empty program with InitCommonControls":
        "#include <windows.h>\n#include <commctrl.h>\n"
        "int main(void) { InitCommonControls(); return 0; }\n",
}


SETTLER = os.path.join(WORK, "empty-program-with-InitCommonControls.exe")


def wine_baseline(name, source_text):
    """Start-up to exit of a Windows program doing nothing, and its peak
    memory when it lingers, in seconds and KiB."""
    stem = os.path.join(WORK, name.replace(" ", "-"))
    for suffix, text in (("", source_text),
                         ("-idle", source_text.replace("return 0;", "Sleep(1500); return 0;")
                          .replace("int main", "#include <windows.h>\nint main", 1))):
        if not os.path.exists(stem + suffix + ".exe"):
            with open(stem + suffix + ".c", "w") as f:
                f.write(text)
            subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-static", stem + suffix + ".c",
                            "-o", stem + suffix + ".exe", "-lcomctl32"], check=True)
    times, memory = [], []
    for _ in range(RUNS):
        subprocess.run([WINE_RUN, SETTLER], check=True)  # as for follow.exe
        start = time.perf_counter()
        subprocess.run([WINE_RUN, stem + ".exe"], check=True)
        times.append(time.perf_counter() - start)
        idle = subprocess.Popen([WINE_RUN, stem + "-idle.exe"])
        time.sleep(1.0)
        memory.append(stop(idle))
    return statistics.median(times), statistics.median(memory)


def wineserver(flag):
    env = dict(os.environ, WINEPREFIX=os.path.join(ROOT, "build", "windows", "wineprefix"))
    server = subprocess.run(["sh", "-c", '. "$1"; printf %s "$wineserver"', "sh",
                             os.path.join(ROOT, "scripts", "wine-tools.sh")],
                            capture_output=True, text=True, check=True).stdout
    subprocess.run([server, flag], env=env, check=False)


def machine():
    model = "unknown processor"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    wine = subprocess.run([WINE_RUN, "--version"], capture_output=True, text=True).stdout.strip()
    tail = subprocess.run(["tail", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    return "%s, %d cores, %.0f GiB, Linux %s, %s, %s" % (
        model, os.cpu_count(), os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / GIB,
        platform.release(), tail, wine)


def median_of(results, index):
    return statistics.median(r[index] for r in results)


def main():
    for path in (NATIVE_FOLLOW, WINDOWS_FOLLOW, WINE_RUN):
        if not os.path.exists(path):
            sys.exit("bench: %s is missing; run make first" % path)
    os.makedirs(WORK, exist_ok=True)
    big = os.path.join(WORK, "ostrel-1g.log")
    print("bench: making the 1 GiB log (once)...", file=sys.stderr)
    tail_lines = make_big_log(big)
    subprocess.run([WINE_RUN, "cmd", "/c", "exit"], check=False)  # prefix ready
    wineserver("-p")  # kept running: no server start-up inside the figures

    tail, native, wine = followers()
    # The settling program is the last baseline: built before it is used.
    baselines = {}
    for name in reversed(list(BASELINES)):
        baselines[name] = wine_baseline(name, BASELINES[name])
    first = {f.name: [] for f in (tail, native, wine)}
    flow = {f.name: [] for f in (tail, native, wine)}
    # First outputs, then bursts: the bursts' writes to disk would slow the
    # start of the programs measured after them.
    for run in range(RUNS):
        print("bench: first output, run %d of %d" % (run + 1, RUNS), file=sys.stderr)
        for f in (native, tail, wine, tail):  # taking turns
            first[f.name].append(first_output(f, big, tail_lines))
    for run in range(RUNS):
        print("bench: burst, run %d of %d" % (run + 1, RUNS), file=sys.stderr)
        for f in (native, tail, wine, tail):
            flow[f.name].append(burst(f, os.path.join(WORK, "burst.log")))
    wineserver("-k")

    # Runs whose bytes came a poll apart measure the poll, not the copy.
    split = {name: sum(r[2] for r in runs) for name, runs in flow.items()}
    flow = {name: [r for r in runs if not r[2]] or [(float("nan"),) * 2] for name, runs in flow.items()}
    t_first, t_rss = median_of(first[tail.name], 0), median_of(first[tail.name], 1)
    t_copy, t_rate = median_of(flow[tail.name], 0), median_of(flow[tail.name], 1)
    print("Machine: %s. Medians of %d runs; tail ran twice as often, taking turns." % (machine(), RUNS))
    print("Each burst was written just after follow's poll; its first byte came out at the next one.")
    for name, count in split.items():
        if count:
            print("Left out: %d of %d bursts of %s, whose bytes came out a poll apart." % (
                count, RUNS * (2 if name == tail.name else 1), name))
    print()
    print("| follower | first output, 1 GiB log | 256 MiB burst: first byte out to last | copy rate | peak memory |")
    print("|---|---|---|---|---|")
    print("| tail -n 10 -f | %.1f ms | %.0f ms | %.0f MiB/s | %.1f MiB |" % (
        t_first * 1000, t_copy * 1000, t_rate, t_rss / 1024))
    for f in (native, wine):
        fi, rss = median_of(first[f.name], 0), median_of(first[f.name], 1)
        copy, rate = median_of(flow[f.name], 0), median_of(flow[f.name], 1)
        print("| %s | %.1f ms (%.2f× tail) | %.0f ms (%.2f× tail) | %.0f MiB/s (%.2f× tail) | %.1f MiB (%.2f× tail) |" % (
            f.name, fi * 1000, fi / t_first, copy * 1000, copy / max(t_copy, 1e-9),
            rate, rate / t_rate, rss / 1024, rss / t_rss))
    for name in BASELINES:
        seconds, memory = baselines[name]
        print("| Wine itself: %s | %.1f ms to start and end | | | %.1f MiB |" % (
            name, seconds * 1000, memory / 1024))


if __name__ == "__main__":
    main()
