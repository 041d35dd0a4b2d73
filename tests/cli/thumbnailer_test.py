#!/usr/bin/python3
"""The installed thumbnailer run as a file manager runs it: the Exec line of
the .thumbnailer file with its placeholders filled, without a display, in a
home whose every file is compared before and after (CI runs as root, so a
read-only home would not stop a write: the comparison does)."""
import os
import shlex
import subprocess
import sys
import tempfile

from PIL import Image

BUILD, SOURCE = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def snapshot(root):
    state = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            state[path] = (st.st_size, st.st_mtime_ns)
    return state


def main():
    work = tempfile.mkdtemp(prefix="orvalen-thumbnailer-")
    prefix = os.path.join(work, "prefix")
    subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
    entry = {}
    with open(os.path.join(prefix, "share", "thumbnailers", "tessalycad-orvalen.thumbnailer")) as f:
        for line in f:
            if "=" in line:
                key, value = line.rstrip("\n").split("=", 1)
                entry[key] = value
    check(entry.get("MimeType") == "application/x-tessalycad-panorama;", "the thumbnailer names our MIME type")

    home = os.path.join(work, "home")
    os.makedirs(os.path.join(home, ".config"))
    os.chmod(home, 0o555)
    env = {"HOME": home, "PATH": os.path.join(prefix, "bin") + ":" + os.environ["PATH"]}
    # The sanitizer build's settings are the test machine's, not the file manager's.
    env.update({k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")})
    for name in ("sample-jpeg.orvp", "sample.orvp2", "sample.orvp"):
        out = os.path.join(work, name + ".png")
        before = snapshot(home)
        args = [a.replace("%s", "256").replace("%i", os.path.join(SOURCE, "sample", name)).replace("%o", out)
                for a in shlex.split(entry["Exec"])]
        r = subprocess.run(args, env=env, capture_output=True, text=True)
        check(r.returncode == 0, f"{name}: the Exec line succeeds {r.stderr.strip()}")
        with Image.open(out) as im:
            check(max(im.size) <= 256 and im.size[0] == 256, f"{name}: at most the size asked for ({im.size})")
            centre = im.convert("RGB").getpixel((im.size[0] // 2, im.size[1] // 3))
            check(centre[0] > 150 and centre[2] < 120, f"{name}: the panorama's north face ({centre})")
            corner = im.convert("RGB").getpixel((im.size[0] - 20, im.size[1] - 12))
            check(sum(corner) > 550, f"{name}: with its overlay ({corner})")
        check(snapshot(home) == before, f"{name}: nothing written in the home folder")
    broken = os.path.join(work, "kaputt.orvp")
    with open(broken, "wb") as f:
        f.write(b"kein Bild")
    r = subprocess.run(["orvalen-render", "--thumbnail", "128", broken, "-o", os.path.join(work, "x.png")], env=env,
                       capture_output=True)
    check(r.returncode != 0, "a file that does not load gives no thumbnail")
    os.chmod(home, 0o755)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
