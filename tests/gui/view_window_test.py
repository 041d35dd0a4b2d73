#!/usr/bin/python3
"""The view window under Xvfb: its context exists before the window is
shown, a drag turns the view, the wheel zooms, a resize shows the new frame,
Escape closes, the scene is released while the context exists; a failed
set-up step shows its message; a slow frame lowers the tick rate instead of
piling up ticks."""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Program, XSession, differs, drag, settle  # noqa: E402

HOST, SAMPLES = sys.argv[1], sys.argv[2]
SAMPLE = os.path.join(SAMPLES, "sample.orvp")
VIEW_BOX = (0, 0, 640, 480)
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def start(x, *args):
    p = Program([HOST, *args], x.env)
    return p


def main():
    home = tempfile.mkdtemp(prefix="orvalen-gui-")
    os.environ["XDG_CONFIG_HOME"] = os.path.join(home, "config")
    os.environ["XDG_DATA_HOME"] = os.path.join(home, "data")
    with XSession() as x:
        p = start(x, SAMPLE)
        try:
            check(p.wait_line("context-current-before-show") == "context-current-before-show yes",
                  "the context is current before the window is shown")
            p.wait_line("shown")
            win = x.wait_for_window("view host")
            settle()
            before = x.screenshot()
            check(differs(before, before.copy().point(lambda v: 0), VIEW_BOX), "the panorama is drawn")

            # A drag to the right turns the view.
            drag(x, (320, 240), 100, steps=5)
            settle()
            turned = x.screenshot()
            check(differs(before, turned, VIEW_BOX), "a drag turns the view")

            # The wheel zooms in.
            x.xdotool("click", 4)
            x.xdotool("click", 4)
            settle()
            zoomed = x.screenshot()
            check(differs(turned, zoomed, VIEW_BOX), "the wheel zooms")

            # A resize shows the new frame over the whole new area.
            x.xdotool("windowsize", win, 800, 600)
            settle(0.8)
            resized = x.screenshot()
            corner = resized.crop((700, 500, 790, 590))
            check(max(corner.getextrema()[c][1] for c in range(3)) > 40, "the resized window is drawn to its corner")

            # Escape closes the window.
            x.xdotool("mousemove", 300, 200)
            x.xdotool("click", 1)
            x.xdotool("key", "Escape")
            code = p.finish()
            check(code == 0, f"Escape closes the program (exit {code})")
            check("released-with-context yes" in p.lines, "the scene is released while the context exists")
        finally:
            p.kill()

        # Each set-up step that fails names itself in the message.
        steps = ["ChoosePixelFormat()", "SetPixelFormat()", "DescribePixelFormat()", "wglCreateContext()",
                 "wglMakeCurrent()"]
        for n, step in enumerate(steps, start=1):
            p = start(x, "--fail-step", str(n), SAMPLE)
            code = p.finish()
            expected = ("message Bei der Initialisierung von OpenGL ist ein Fehler aufgetreten!\\n"
                        f"{step} ungültig.")
            check(code == 3 and expected in p.lines, f"failed step {n} says {step}")

        # Without the logo the view cannot be created, and says nothing.
        p = start(x, "--logo", ":/no/such/logo", SAMPLE)
        code = p.finish()
        check(code == 3 and not any(l.startswith("message") for l in p.lines), "no logo, no view, no message")

        # A frame slower than the period: ticks do not queue up.
        p = start(x, "--slow-frame", "60", SAMPLE)
        try:
            p.wait_line("shown")
            x.wait_for_window("view host")
            time.sleep(2.0)
            x.xdotool("key", "Escape")
            p.finish()
            _, ticks, ms = next(l for l in p.lines if l.startswith("ticks")).split()
            ticks, ms = int(ticks), int(ms)
            # Each tick's frame takes at least 60 ms: with no backlog at most
            # one tick fits each 60 ms, where a 20 ms period would give three.
            check(ticks > 5 and ticks <= ms / 60 + 2,
                  f"a slow frame lowers the tick rate ({ticks} ticks in {ms} ms)")
        finally:
            p.kill()
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
