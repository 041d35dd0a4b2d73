"""An X server of the test's own (Xvfb), a program started in it, and the
means to drive and look at it: xdotool for input, ImageMagick's import for
screenshots, Pillow to read them."""
import io
import os
import random
import select
import subprocess
import tempfile
import time

from PIL import Image


class XSession:
    def __init__(self, width=1024, height=768):
        # A display number of our own from a wide range, rather than the
        # server's first free one: two tests starting servers at the same
        # moment would race for that one.
        rng = random.Random(os.getpid() ^ int(time.time() * 1000))
        for _ in range(20):
            number = rng.randrange(100, 900)
            if os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            self.log = tempfile.TemporaryFile()
            self.server = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=self.log)
            self.display = f":{number}"
            self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
            self.env.pop("WAYLAND_DISPLAY", None)
            if self._wait_until_ready():
                return
            self.server.kill()
            self.server.wait()
        raise RuntimeError("no X server could be started")

    def _wait_until_ready(self, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if self.server.poll() is not None:
                return False  # the number was taken after all
            if subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env, capture_output=True).returncode == 0:
                return True
            time.sleep(0.1)
        return False

    def close(self):
        self.server.terminate()
        self.server.wait(10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, capture_output=True,
                              text=True).stdout

    def screenshot(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True,
                             capture_output=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")

    def wait_for_window(self, name, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=self.env,
                               capture_output=True, text=True)
            if r.returncode == 0 and r.stdout.strip():
                return r.stdout.split()[0]
            time.sleep(0.1)
        raise RuntimeError(f"no window named {name!r}")


class Program:
    """A program whose standard output is read line by line."""

    def __init__(self, args, env):
        self.lines = []
        self._partial = b""
        # Now and then, on a loaded machine, a client's connection to Xvfb is
        # refused although the server runs; the program then ends at once
        # saying so. That is the test machine's hiccup, not the program's:
        # start it again.
        for attempt in range(3):
            self.process = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                            text=True)
            try:
                self.process.wait(1.0)
            except subprocess.TimeoutExpired:
                return
            err = self.process.stderr.read()
            if "could not connect to display" not in err:
                self._stderr = err
                return
            print(f"note: {args[0]} could not connect to the X server; starting it again", flush=True)

    def wait_line(self, prefix, timeout=20):
        # Raw reads of the pipe: a buffered readline would take in lines that
        # select() then no longer reports.
        end = time.time() + timeout
        fd = self.process.stdout.fileno()
        while time.time() < end:
            for line in self.lines:
                if line.startswith(prefix):
                    return line
            ready, _, _ = select.select([fd], [], [], 0.2)
            if ready:
                chunk = os.read(fd, 65536)
                if chunk:
                    self._partial += chunk
                    *complete, self._partial = self._partial.split(b"\n")
                    self.lines += [c.decode(errors="replace") for c in complete]
                elif self.process.poll() is not None:
                    self._stderr = self.stderr() + self.process.stderr.read()
                    break
        raise AssertionError(f"no line {prefix!r}; got {self.lines}; exit {self.process.poll()}; "
                             f"stderr: {self.stderr()}")

    def finish(self, timeout=20):
        out, err = self.process.communicate(timeout=timeout)
        self.lines += (self._partial.decode(errors="replace") + out).splitlines()
        self._partial = b""
        self._stderr = getattr(self, "_stderr", "") + err
        return self.process.returncode

    def stderr(self):
        return getattr(self, "_stderr", "")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def differs(a, b, box, threshold=8.0):
    """Mean absolute difference of two screenshots inside box, above threshold."""
    pa, pb = a.crop(box).tobytes(), b.crop(box).tobytes()
    total = sum(abs(x - y) for x, y in zip(pa, pb))
    return total / len(pa) > threshold


def settle(seconds=1.6):
    """Long enough for an animation of 52 ticks of 20 ms to arrive."""
    time.sleep(seconds)


def drag(x, start, dx, steps=6, modifier=None):
    """A left-button drag from start, dx pixels to the right, in steps."""
    if modifier:
        x.xdotool("keydown", modifier)
    x.xdotool("mousemove", *start)
    x.xdotool("mousedown", 1)
    for i in range(steps + 1):
        x.xdotool("mousemove", start[0] + dx * i // steps, start[1])
        time.sleep(0.03)
    x.xdotool("mouseup", 1)
    if modifier:
        x.xdotool("keyup", modifier)
