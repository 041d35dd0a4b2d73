#!/usr/bin/python3
"""Fills corpus/<target>/ with small seeds from the project's own fixtures and
samples: the fuzzers start from real files of each kind."""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
IMAGES = os.path.join(ROOT, "tests", "fixtures", "images")
CONTAINERS = os.path.join(ROOT, "tests", "fixtures", "containers")


def target(name):
    d = os.path.join(HERE, "corpus", name)
    shutil.rmtree(d, ignore_errors=True)
    os.makedirs(d)
    return d


def write(d, name, data):
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    d = target("container")
    for name in ("minimal.orvp2", "with_overlay.orvp2", "skip_255.orvp2", "huge_length.orvp2"):
        shutil.copy(os.path.join(CONTAINERS, name), d)

    d = target("imagedecode")
    for name in sorted(os.listdir(IMAGES)):
        if os.path.getsize(os.path.join(IMAGES, name)) < 20000:
            shutil.copy(os.path.join(IMAGES, name), d)

    d = target("pngmetadata")
    for name in sorted(os.listdir(IMAGES)):
        if name.endswith(".png") and ("meta" in name or name == "png_rgb8.png"):
            data = read(os.path.join(IMAGES, name))
            if len(data) < 20000:
                write(d, name, data[8:])  # the target puts the signature in front

    d = target("exififd")
    for name in ("meta_jpeg.jpg", "invalid_meta_exif_offsets.jpg"):
        data = read(os.path.join(IMAGES, name))
        at = data.find(b"Exif\0\0")
        length = struct.unpack(">H", data[at - 2:at])[0]
        write(d, name + ".ifd", data[at + 6:at - 2 + length])

    d = target("overlaydescription")
    for i, text in enumerate(["10;20;30;4;80", ";;10;;20;30;4;80", "12.5;7px;x;2;100", " -5;+6;\t7", ""]):
        write(d, f"description-{i}", text.encode())

    d = target("hiveparse")
    write(d, "settings.reg", b'; Orvalen registry hive\n\n[HKEY_CURRENT_USER\\Software\\TessalyCAD\\Orvalen\\Settings]\n'
          b'"WindowWidth"=dword:00000320\n"MouseDrag"="0.3000000000"\n"Odd"=hex(1):31,00,00,00\n'
          b'"Long"=hex:01,02,\\\n  03\n@="default"\n')
    write(d, "recent.reg", b'[HKEY_CURRENT_USER\\Software\\TessalyCAD\\orvalen\\Recent File List]\n'
          b'"File1"="/home/anna/Bilder/a \\"b\\".orvp"\n"File2"=hex(1):2f,00,0a,00,00,00\n')


if __name__ == "__main__":
    main()
