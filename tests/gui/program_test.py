#!/usr/bin/python3
"""The real program under Xvfb with temporary XDG folders, driven with
xdotool and checked by screenshots and by the files it writes."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Program, XSession, differs, drag, settle  # noqa: E402

PROGRAM, SOURCE, XDND_DROP = sys.argv[1], sys.argv[2], sys.argv[3]
SAMPLE = os.path.join(SOURCE, "sample", "sample.orvp")
NOT_AN_IMAGE = os.path.join(SOURCE, "tests", "fixtures", "containers", "not_an_image.orvp")
MIME = "application/x-tessalycad-panorama"
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


class Home:
    """Fresh XDG folders for one start of the program."""

    def __init__(self, root, name):
        self.dir = os.path.join(root, name)
        self.env = dict(XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        XDG_DATA_HOME=os.path.join(self.dir, "data"),
                        XDG_CACHE_HOME=os.path.join(self.dir, "cache"))
        for d in self.env.values():
            os.makedirs(d, exist_ok=True)

    def read(self, *parts):
        with open(os.path.join(self.dir, *parts), encoding="utf-8") as f:
            return f.read()

    def user_hive(self):
        return self.read("config", "TessalyCAD", "user.reg")

    def classes_hive(self):
        return self.read("data", "TessalyCAD", "classes.reg")


def run(x, home, *args):
    return Program([PROGRAM, *args], dict(x.env, **home.env))


def window_name(x, wid):
    return x.xdotool("getwindowname", wid).strip()


def main_window(x, timeout=30, program=None):
    try:
        return x.wait_for_window("Tessaly CAD Panorama", timeout)
    except RuntimeError:
        if program:
            state = program.process.poll()
            program.kill()
            raise RuntimeError(f"no main window; program exit {state}; stderr {program.process.stderr.read()[-1500:]}")
        raise


def close(x, p, wid):
    """Escape in the view closes the program. On a loaded machine the first
    press can come before the view takes keys; a user would press again."""
    for _ in range(3):
        x.xdotool("mousemove", "--window", wid, 200, 200)
        x.xdotool("click", 1)
        x.xdotool("key", "Escape")
        try:
            return p.finish(10)
        except subprocess.TimeoutExpired:
            continue
    return p.finish(10)


def start_and_close(x, home, *args):
    """Starts the program, waits for its main window and closes it again."""
    p = run(x, home, *args)
    try:
        close(x, p, main_window(x, program=p))
    finally:
        p.kill()


def first_start(x, root):
    home = Home(root, "first")
    p = run(x, home)
    try:
        wid = main_window(x, program=p)
        check(window_name(x, wid) == "Unbenannt - Tessaly CAD Panorama", "an empty start is titled Unbenannt")
        settle(0.5)
        check(close(x, p, wid) == 0, "Escape closes the empty window")
    finally:
        p.kill()
    user = home.user_hive()
    expected = ('"WindowWidth"=dword:00000320\n"WindowHeight"=dword:00000320\n"EnableMipmaps"=dword:00000001\n'
                '"MouseDrag"="0.3000000000"\n"MouseInertia"="0.1500000000"\n"MouseLockDrag"="0.3500000000"\n'
                '"LogoSize"="100.0000000000"\n')
    check("[HKEY_CURRENT_USER\\Software\\TessalyCAD\\Orvalen\\Settings]\n" + expected in user,
          "the seven preferences with their exact encodings")
    classes = home.classes_hive()
    keys = [line for line in classes.splitlines() if line.startswith("[") and "\\shell]" not in line
            and not line.endswith("\\open]") and not line.endswith("\\print]") and not line.endswith("\\printto]")]
    check([k.split("\\", 1)[1].rstrip("]") for k in keys] ==
          ["TessalyCAD.Orvalen.Document", "TessalyCAD.Orvalen.Document\\DefaultIcon",
           "TessalyCAD.Orvalen.Document\\shell\\open\\command", "TessalyCAD.Orvalen.Document\\shell\\print\\command",
           "TessalyCAD.Orvalen.Document\\shell\\printto\\command", ".orvp", ".orvp\\ShellNew", ".orvp2",
           ".orvp2\\ShellNew"], "the nine classes entries in order")
    env = dict(os.environ, **home.env)
    for name in ("sample.orvp", "sample.orvp2"):
        t = subprocess.run(["xdg-mime", "query", "filetype", os.path.join(SOURCE, "sample", name)], env=env,
                           capture_output=True, text=True).stdout.strip()
        check(t == MIME, f"xdg-mime gives {name} our type ({t})")
    desktop = os.path.join(home.env["XDG_DATA_HOME"], "applications", "tessalycad-orvalen.desktop")
    v = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
    check(v.returncode == 0, f"the desktop entry is valid {v.stdout.strip()}")
    d = subprocess.run(["xdg-mime", "query", "default", MIME], env=env, capture_output=True, text=True).stdout.strip()
    check(d == "tessalycad-orvalen.desktop", f"xdg-mime names the program the default ({d})")


def extension_of_another_type(x, root):
    home = Home(root, "other")
    pkg = os.path.join(home.env["XDG_DATA_HOME"], "mime", "packages")
    os.makedirs(pkg)
    with open(os.path.join(pkg, "other.xml"), "w") as f:
        f.write('<?xml version="1.0"?>\n<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">'
                '<mime-type type="application/x-other-viewer"><glob pattern="*.orvp"/></mime-type></mime-info>\n')
    subprocess.run(["update-mime-database", os.path.join(home.env["XDG_DATA_HOME"], "mime")], check=True)
    start_and_close(x, home)
    classes = home.classes_hive()
    check("[HKEY_CLASSES_ROOT\\.orvp]" not in classes and "[HKEY_CLASSES_ROOT\\.orvp2]" in classes,
          "an extension of another MIME type is left alone")
    env = dict(os.environ, **home.env)
    t = subprocess.run(["xdg-mime", "query", "filetype", SAMPLE], env=env, capture_output=True, text=True).stdout
    check(t.strip() == "application/x-other-viewer", "the other type keeps .orvp")


def open_and_navigate(x, root):
    home = Home(root, "navigate")
    p = run(x, home, SAMPLE)
    try:
        time.sleep(0.3)
        splash = x.screenshot()
        wid = main_window(x, program=p)
        check(window_name(x, wid) == "sample.orvp - Tessaly CAD Panorama", "the title names the file")
        x.xdotool("windowmove", wid, 0, 0)
        x.xdotool("windowsize", wid, 640, 480)
        settle(2.0)
        shot = x.screenshot()
        shot.save(os.path.join(root, "opened.png"))
        # The north face's yellow fills the middle (its grid lines are darker).
        area = shot.crop((280, 100, 360, 180)).resize((1, 1)).getpixel((0, 0))
        check(area[0] > 150 and area[1] > 120 and area[2] < 110 and area[0] > area[2] + 80,
              f"the sample's north face is in front ({area})")
        corner = shot.getpixel((600, 440))
        check(sum(corner) > 550, f"the overlay sits at the bottom right ({corner})")
        box = (0, 40, 640, 470)
        drag(x, (300, 250), 120)
        settle()
        turned = x.screenshot()
        check(differs(shot, turned, box), "a drag turns the view")
        drag(x, (300, 250), 100, steps=5, modifier="ctrl")
        time.sleep(1.0)
        a = x.screenshot()
        time.sleep(0.5)
        b = x.screenshot()
        check(differs(a, b, box, 2.0), "a Ctrl drag keeps spinning")
        x.xdotool("click", 1)
        settle(3.0)
        a = x.screenshot()
        time.sleep(0.5)
        b = x.screenshot()
        check(not differs(a, b, box, 0.5), "a plain click lets the spin glide to a stop")
        x.xdotool("click", 4)
        x.xdotool("click", 4)
        settle()
        check(differs(b, x.screenshot(), box), "the wheel zooms")
        content = open(SAMPLE, "rb").read()
        x.xdotool("key", "ctrl+s")
        time.sleep(0.3)
        check(open(SAMPLE, "rb").read() == content, "Ctrl+S writes nothing")
        check(close(x, p, wid) == 0, "Escape closes the program")
    finally:
        p.kill()
    splash.save(os.path.join(root, "splash.png"))


def load_failure(x, root):
    home = Home(root, "failure")
    p = run(x, home, NOT_AN_IMAGE)
    try:
        box = x.wait_for_window("^orvalen$")
        settle(0.3)
        shot = x.screenshot()
        shot.save(os.path.join(root, "message.png"))
        # The message comes while the splash still shows, centred on the
        # 1024 x 768 screen at (257, 313); its light background is beside the box.
        px = shot.getpixel((740, 440))
        check(all(c > 230 for c in px), f"the splash shows while the command line is processed ({px})")
        # Without a window manager a click gives the box the focus.
        x.xdotool("mousemove", "--window", box, 20, 20)
        x.xdotool("click", 1)
        x.xdotool("key", "Return")
        wid = main_window(x, program=p)
        check(window_name(x, wid) == "not_an_image.orvp - Tessaly CAD Panorama",
              "after the message the program goes on with the file as open")
        check(close(x, p, wid) == 0, "and ends normally")
    finally:
        p.kill()


def print_form(x, root):
    home = Home(root, "print")
    p = run(x, home, "/p", SAMPLE)
    try:
        code = p.finish(30)
    finally:
        p.kill()
    r = subprocess.run(["xdotool", "search", "--name", "Tessaly CAD Panorama"], env=x.env, capture_output=True)
    check(code != 0 and r.returncode != 0, f"/p ends without a window (exit {code})")


def recent_files(x, root):
    home = Home(root, "recent")
    files = []
    for n in "abcde":
        path = os.path.join(root, f"{n} mit Leer $zeichen'.orvp")
        shutil.copy(SAMPLE, path)
        files.append(path)
    for path in files:
        start_and_close(x, home, path)
    hive = home.user_hive()
    section = hive.split("Recent File List]\n", 1)[1].split("\n\n", 1)[0]
    expected = "".join(f'"File{i + 1}"="{files[4 - i]}"\n' for i in range(4))
    check(section + "\n" == expected, "the fifth opened file pushes the oldest out")


def open_dialog_and_unknown_extension(x, root):
    home = Home(root, "dialog")
    other = os.path.join(root, "notiz.txt")
    with open(other, "w") as f:
        f.write("kein Panorama\n")
    p = run(x, home, SAMPLE)
    try:
        wid = main_window(x, program=p)
        x.xdotool("windowmove", wid, 0, 0)
        x.xdotool("windowsize", wid, 640, 480)
        settle(2.0)
        before = x.screenshot()
        x.xdotool("windowfocus", "--sync", wid)
        x.xdotool("key", "ctrl+o")
        dialog = x.wait_for_window("^Öffnen$")
        check(bool(dialog), "Ctrl+O shows the dialog titled Öffnen")
        x.xdotool("windowfocus", "--sync", dialog)
        x.xdotool("type", "--delay", "5", other)
        x.xdotool("key", "Return")
        time.sleep(0.25)
        moving = x.screenshot()
        settle(2.0)
        after = x.screenshot()
        check(window_name(x, wid) == "notiz.txt - Tessaly CAD Panorama", "the unrecognised file is the open one")
        box = (0, 40, 640, 470)
        check(differs(before, moving, box), "the opening animation runs again")
        check(not differs(before, after, box, 3.0), "and the scene stays as it was")
        check(close(x, p, wid) == 0, "the program ends normally")
    finally:
        p.kill()


def about_dialog(x, root):
    home = Home(root, "about")
    p = run(x, home)
    try:
        wid = main_window(x, program=p)
        x.xdotool("windowfocus", "--sync", wid)
        x.xdotool("key", "alt+h")
        time.sleep(0.3)
        x.xdotool("key", "Return")
        about = x.wait_for_window("^Über Panorama$")
        settle(0.4)
        shot = x.screenshot()
        shot.save(os.path.join(root, "about.png"))
        check(bool(about), "the About dialog opens from the Help menu")
        blue = sum(1 for px in shot.getdata() if px[2] > 200 and px[0] < 60 and px[1] < 60)
        check(blue > 40, f"the link is drawn in blue ({blue} pixels)")
        x.xdotool("key", "Return")
        time.sleep(0.3)
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Über Panorama$"], env=x.env,
                           capture_output=True)
        check(r.returncode != 0, "OK closes it")
        close(x, p, wid)
    finally:
        p.kill()


def dropped_files(x, root):
    home = Home(root, "drop")
    orientation = os.path.join(SOURCE, "tests", "fixtures", "containers", "orientation.orvp")
    drops = [os.path.join(root, "erste Datei.orvp"), os.path.join(root, "zweite Ä.orvp2"),
             os.path.join(root, "dritte $Datei.orvp")]
    shutil.copy(SAMPLE, drops[0])
    shutil.copy(os.path.join(SOURCE, "sample", "sample.orvp2"), drops[1])
    shutil.copy(orientation, drops[2])
    p = run(x, home)
    try:
        wid = main_window(x, program=p)
        x.xdotool("windowmove", wid, 0, 0)
        x.xdotool("windowsize", wid, 640, 480)
        settle(0.5)
        r = subprocess.run([XDND_DROP, wid, "300", "250", *drops], env=x.env, capture_output=True, text=True)
        check(r.returncode == 0, f"the window takes the drop {r.stderr.strip()}")
        settle(2.0)
        check(window_name(x, wid) == "dritte $Datei.orvp - Tessaly CAD Panorama",
              f"the last dropped file is the open one ({window_name(x, wid)})")
        shot = x.screenshot()
        px = shot.getpixel((560, 120))
        check(px[0] > 220 and px[1] > 220 and px[2] < 40, f"and it is shown ({px})")
        recent = home.user_hive().split("Recent File List]\n", 1)[1].split("\n\n", 1)[0]
        check(recent.startswith('"File1"="' + drops[2].replace("$", "$") + '"'), "each drop went into the recent files")
        check(close(x, p, wid) == 0, "the program ends normally")
    finally:
        p.kill()


def main():
    root = tempfile.mkdtemp(prefix="orvalen-program-")
    print("screenshots in", root)
    with XSession() as x:
        for step in (first_start, extension_of_another_type, open_and_navigate, load_failure, print_form,
                     recent_files, open_dialog_and_unknown_extension, about_dialog, dropped_files):
            try:
                step(x, root)
            except Exception as e:  # a step that breaks is a failure, the others still run
                check(False, f"{step.__name__}: {e}")
                x.log.seek(0)
                print("X server log:", x.log.read().decode()[-3000:], "alive:", x.server.poll() is None)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
