#!/usr/bin/env python3
"""Download throughput and peak memory: our downloader beside curl, same address, same run.

Usage: bench/download/throughput.py BUILD_DIR [SIZE_MB]
Both sides run as child processes so that each one's peak resident memory (ru_maxrss from
wait4) is measured the same way; the body comes from the platform simulator's /_bytes,
which streams it without holding it in memory."""

import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def start_simulator(log):
    proc = subprocess.Popen([sys.executable, os.path.join(ROOT, "tools", "simulator", "simulator.py"), "--port", "0",
                             "--log", log], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    for line in proc.stdout:
        if line.startswith("listening on "):
            return proc, int(line.split()[2])
    raise RuntimeError("the simulator did not start")


def measure(args):
    start = time.monotonic()
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("failed: %s" % " ".join(args))
    return elapsed, usage.ru_maxrss / 1024.0  # MB


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    size_mb = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    size = size_mb * 1024 * 1024
    with tempfile.TemporaryDirectory() as tmp:
        sim, port = start_simulator(os.path.join(tmp, "log.jsonl"))
        try:
            url = "http://127.0.0.1:%d/_bytes?size=%d" % (port, size)
            out = os.path.join(tmp, "body")
            ours, ours_rss = measure([os.path.join(build, "bench", "download_once"), url, out])
            if os.path.getsize(out) != size:
                raise RuntimeError("the downloader saved %d bytes, not %d" % (os.path.getsize(out), size))
            os.remove(out)
            curl, curl_rss = measure(["curl", "-s", "-o", "/dev/null", url])
        finally:
            sim.terminate()
            sim.wait(10)
    print("%-12s %10s %12s" % ("", "MB/s", "peak RSS MB"))
    print("%-12s %10.1f %12.1f" % ("downloader", size_mb / ours, ours_rss))
    print("%-12s %10.1f %12.1f" % ("curl", size_mb / curl, curl_rss))
    print("throughput ratio (downloader / curl): %.2f" % (curl / ours))


if __name__ == "__main__":
    main()
