"""An X server of the test's own (Xvfb), a program started in it, and the
means to drive and look at it: xdotool for input, ImageMagick's import for
screenshots, Pillow to read them."""
import io
import os
import select
import subprocess
import tempfile
import time

from PIL import Image


class XSession:
    def __init__(self, width=1024, height=768):
        read_fd, write_fd = os.pipe()
        self.log = tempfile.TemporaryFile()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_fd)
        # Read up to the newline, and keep the pipe open: Xvfb ends with a
        # fatal error when the rest of what it writes finds the pipe closed.
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_fd], [], [], 30)
            chunk = os.read(read_fd, 16) if ready else b""
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        self._displayfd = read_fd
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        # The display number can arrive before the server takes connections
        # on a busy machine: wait until a client gets through.
        end = time.time() + 30
        while subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env, capture_output=True).returncode:
            if time.time() > end or self.server.poll() is not None:
                self.log.seek(0)
                raise RuntimeError(f"Xvfb on {self.display} takes no connections: {self.log.read().decode()}")
            time.sleep(0.1)

    def close(self):
        self.server.terminate()
        self.server.wait(10)
        os.close(self._displayfd)

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
        self.process = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.lines = []

    def wait_line(self, prefix, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            for line in self.lines:
                if line.startswith(prefix):
                    return line
            ready, _, _ = select.select([self.process.stdout], [], [], 0.2)
            if ready:
                line = self.process.stdout.readline()
                if line:
                    self.lines.append(line.rstrip("\n"))
                elif self.process.poll() is not None:
                    self._stderr = self.process.stderr.read()
                    break
        raise AssertionError(f"no line {prefix!r}; got {self.lines}; exit {self.process.poll()}; "
                             f"stderr: {self.stderr()}")

    def finish(self, timeout=20):
        out, err = self.process.communicate(timeout=timeout)
        self.lines += out.splitlines()
        self._stderr = err
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
