#!/usr/bin/python3
"""From process start to the first frame of a 12288 x 2048 JPEG strip given on
the command line, against the floor measured in the same run: an empty Qt
window with a GL context, the same bytes decoded to BGRA and the same
uploads. Both print their first frame's moment on the monotonic clock
(ORVALEN_TRACE), the clock this script starts them on.

  bench_startup.py PROGRAM FLOOR"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "gui"))
from xsession import XSession  # noqa: E402

RUNS = 5
LIMIT = 1.15


def first_frame_ms(args, env):
    start = time.monotonic() * 1000
    p = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    try:
        for line in p.stderr:
            if line.startswith("orvalen-trace") and line.split()[2] == "first-frame":
                return float(line.split()[1]) - start
        raise RuntimeError(f"{args[0]} showed no frame")
    finally:
        p.kill()
        p.wait()


def main():
    program, floor = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="orvalen-bench-startup-")
    strip = os.path.join(work, "strip.orvp")
    subprocess.run([floor, "--make", strip], check=True)
    env_extra = dict(ORVALEN_TRACE="1", XDG_CONFIG_HOME=os.path.join(work, "config"),
                     XDG_DATA_HOME=os.path.join(work, "data"))
    with XSession() as x:
        env = dict(x.env, **env_extra)
        ours, base = [], []
        for _ in range(RUNS):  # alternating, so that neither gets a warmer machine
            base.append(first_frame_ms([floor, strip], env))
            ours.append(first_frame_ms([program, strip], env))
    figure, floor_ms = min(ours), min(base)
    ratio = figure / floor_ms
    print(f"{'start to first frame, 12288x2048 JPEG strip':44s} {figure:10.2f} ms   floor {floor_ms:10.2f} ms   "
          f"ratio {ratio:.3f} (limit {LIMIT:.2f}) {'ok' if ratio <= LIMIT else 'OVER'}")
    return 0 if ratio <= LIMIT else 1


if __name__ == "__main__":
    sys.exit(main())
