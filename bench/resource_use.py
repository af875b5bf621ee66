#!/usr/bin/python3
"""Resource use of Velmora against the smallest Qt dialog with the same 100 ms timer.

Runs both under one Xvfb with openbox, side by side in one run, and prints idle CPU
(before and after the first selection, with ten stations running), the time from start
to the window being mapped, and the peak memory, each as a ratio to the baseline.

usage: resource_use.py VELMORA BASELINE [--seconds 30] [--starts 5]
"""
import argparse
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")
TARGETS = {"idle CPU": 1.5, "start-up": 1.2, "peak memory": 1.2}


def start_x():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_fd)
    number = b""
    deadline = time.monotonic() + 20
    while not number.endswith(b"\n"):
        if time.monotonic() > deadline:
            raise RuntimeError("Xvfb did not report its display")
        chunk = os.read(read_fd, 16)
        if not chunk:
            raise RuntimeError("Xvfb ended before reporting its display")
        number += chunk
    os.close(read_fd)
    display = ":" + number.decode().strip()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=tempfile.mkdtemp(), LC_ALL="C.UTF-8")
    wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, start_new_session=True)
    time.sleep(1.0)  # let the window manager take the screen before anything maps
    return env, [wm, xvfb]


def stop(processes):
    for p in processes:
        if p.poll() is None:
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
    for p in processes:
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()


def visible(env, title):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                       env=env, capture_output=True, text=True)
    return r.stdout.split()


def launch(env, program, title, timeout=20):
    """Starts program; returns (process, seconds until its window is mapped)."""
    t0 = time.monotonic()
    p = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, start_new_session=True)
    while not visible(env, title):
        if time.monotonic() - t0 > timeout or p.poll() is not None:
            stop([p])
            raise RuntimeError("%s: no window %r" % (program, title))
        time.sleep(0.005)
    return p, time.monotonic() - t0


def cpu_seconds(pid):
    """CPU time of all the process's threads, to the nanosecond (schedstat)."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
            total += int(f.read().split()[0])
    return total / 1e9


def cpu_shares(pids, seconds):
    """CPU share of each process over one and the same stretch of time."""
    before = [cpu_seconds(p) for p in pids]
    t0 = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - t0
    return [(cpu_seconds(p) - b) / elapsed * 100.0 for p, b in zip(pids, before)]


def peak_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def key_hold(env, key, seconds=0.3):
    subprocess.run(["xdotool", "keydown", key], env=env, check=True)
    time.sleep(seconds)
    subprocess.run(["xdotool", "keyup", key], env=env, check=True)


def run_all_stations(env, window):
    # After the first paint the focus is on Start and selecting moves no focus:
    # select with the F-key, start with Space.
    subprocess.run(["xdotool", "windowactivate", "--sync", window], env=env,
                   capture_output=True, timeout=10)
    for n in range(1, 11):
        key_hold(env, "F%d" % n)
        time.sleep(0.15)
        subprocess.run(["xdotool", "key", "space"], env=env, check=True)
        time.sleep(0.1)


def ratio(value, base):
    return value / base if base > 0 else float("inf")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("velmora")
    ap.add_argument("baseline")
    ap.add_argument("--seconds", type=float, default=30.0)
    ap.add_argument("--starts", type=int, default=5)
    args = ap.parse_args()

    env, infra = start_x()
    started = []
    try:
        starts = {"velmora": [], "baseline": []}
        for _ in range(args.starts):
            for name, program, title in (("velmora", args.velmora, "Velmora"),
                                         ("baseline", args.baseline, "Baseline")):
                p, seconds = launch(env, program, title)
                starts[name].append(seconds)
                stop([p])

        # Both run at once and are measured over the same seconds, so that whatever else
        # the machine does weighs on both alike.
        base, _ = launch(env, args.baseline, "Baseline")
        started.append(base)
        prog, _ = launch(env, args.velmora, "Velmora")
        started.append(prog)
        time.sleep(2)
        idle_cpu, base_cpu = cpu_shares([prog.pid, base.pid], args.seconds)
        run_all_stations(env, visible(env, "Velmora")[0])
        busy_cpu, base_cpu2 = cpu_shares([prog.pid, base.pid], args.seconds)
        base_mem = peak_kib(base.pid)
        prog_mem = peak_kib(prog.pid)
    finally:
        stop(started + infra)

    start_v = statistics.median(starts["velmora"])
    start_b = statistics.median(starts["baseline"])
    rows = [
        ("idle CPU before first selection", "%.2f %%" % idle_cpu, "%.2f %%" % base_cpu,
         ratio(idle_cpu, base_cpu), TARGETS["idle CPU"]),
        ("idle CPU, ten stations running", "%.2f %%" % busy_cpu, "%.2f %%" % base_cpu2,
         ratio(busy_cpu, base_cpu2), TARGETS["idle CPU"]),
        ("start to window mapped (median)", "%.0f ms" % (start_v * 1000),
         "%.0f ms" % (start_b * 1000), ratio(start_v, start_b), TARGETS["start-up"]),
        ("peak memory (VmHWM)", "%d KiB" % prog_mem, "%d KiB" % base_mem,
         ratio(prog_mem, base_mem), TARGETS["peak memory"]),
    ]
    print("%-34s %12s %12s %7s %7s" % ("measure", "velmora", "baseline", "ratio", "target"))
    worst = True
    for name, v, b, r, target in rows:
        ok = r <= target
        worst = worst and ok
        print("%-34s %12s %12s %6.2fx %6.1fx %s" % (name, v, b, r, target, "" if ok else "over"))
    return 0 if worst else 1


if __name__ == "__main__":
    sys.exit(main())
