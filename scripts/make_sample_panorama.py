#!/usr/bin/python3
"""Draws the project's sample panorama and writes it as .orvp (PNG and JPEG)
and as .orvp2, into sample/ at the top of the tree.

Each face is named after its direction and has a colour of its own, a grid,
and the names of its neighbours along its edges, so that orientation and seams
can be checked by eye; a horizon line runs across the four side faces. The
overlay, a small semi-transparent label, travels in the image metadata of the
.orvp files and in the overlay record of the .orvp2 file.

The container is written here from the byte layout alone, independently of
the program's reader, so that each checks the other.
"""
import io
import os
import struct

from PIL import Image, ImageDraw, ImageFont, PngImagePlugin

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "sample")
FACE = 1024
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Strip order: +x, +z, -x, -z, top, bottom. With yaw and pitch 0 the view
# looks toward -z, at "Norden".
FACES = [
    ("Osten", "+X", (214, 96, 77)),
    ("Süden", "+Z", (95, 168, 88)),
    ("Westen", "-X", (77, 129, 214)),
    ("Norden", "-Z", (222, 186, 70)),
    ("Oben", "+Y", (150, 200, 235)),
    ("Unten", "-Y", (120, 100, 80)),
]
# The neighbour on each edge (top, right, bottom, left) of each face, as the
# cube joins them.
NEIGHBOURS = [
    ("Oben", "Süden", "Unten", "Norden"),
    ("Oben", "Westen", "Unten", "Osten"),
    ("Oben", "Norden", "Unten", "Süden"),
    ("Oben", "Osten", "Unten", "Westen"),
    ("Westen", "Süden", "Osten", "Norden"),
    ("Osten", "Süden", "Westen", "Norden"),
]
OVERLAY_DESCRIPTION = "3;0;25;4;85"  # bottom-right corner, 25 % size, 85 % opacity
OVERLAY_PLACEMENT = (3.0, 0.0, 25.0, 85.0, 4)  # the same for the container


def font(size):
    return ImageFont.truetype(FONT, size)


def draw_face(index):
    name, axis, colour = FACES[index]
    im = Image.new("RGB", (FACE, FACE), colour)
    d = ImageDraw.Draw(im)
    darker = tuple(c * 3 // 4 for c in colour)
    for k in range(1, 8):
        p = k * FACE // 8
        d.line([(p, 0), (p, FACE)], fill=darker, width=3)
        d.line([(0, p), (FACE, p)], fill=darker, width=3)
    if index < 4:
        d.line([(0, FACE // 2), (FACE, FACE // 2)], fill=(30, 30, 30), width=12)
        d.text((FACE // 2, FACE // 2 - 40), "Horizont", font=font(36), fill=(30, 30, 30), anchor="md")
    d.text((FACE // 2, FACE // 2 + 60), name, font=font(150), fill="white", anchor="ma", stroke_width=4,
           stroke_fill=(40, 40, 40))
    d.text((FACE // 2, FACE // 2 + 240), f"Fläche {index}  {axis}", font=font(56), fill="white", anchor="ma")
    top, right, bottom, left = NEIGHBOURS[index]
    f = font(44)
    d.text((FACE // 2, 24), "↑ " + top, font=f, fill="white", anchor="ma")
    d.text((FACE // 2, FACE - 24), "↓ " + bottom, font=f, fill="white", anchor="md")
    d.text((24, FACE // 2 - 110), "← " + left, font=f, fill="white", anchor="lm")
    d.text((FACE - 24, FACE // 2 - 110), right + " →", font=f, fill="white", anchor="rm")
    d.rectangle([0, 0, FACE - 1, FACE - 1], outline=(255, 255, 255), width=4)
    return im


def strip():
    im = Image.new("RGB", (6 * FACE, FACE))
    for i in range(6):
        im.paste(draw_face(i), (i * FACE, 0))
    return im


def overlay_png():
    w, h = 480, 160
    im = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=28, fill=(255, 255, 255, 200), outline=(40, 40, 40, 255),
                        width=4)
    d.text((w // 2, 58), "Orvalen", font=font(64), fill=(30, 60, 120, 255), anchor="mm")
    d.text((w // 2, 118), "Beispielpanorama", font=font(34), fill=(40, 40, 40, 255), anchor="mm")
    buf = io.BytesIO()
    im.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def data_block(payload, word1=1, word2=2, bytes3=b"abc"):
    return struct.pack("<HH", word1, word2) + bytes3 + struct.pack("<I", len(payload)) + payload


def container(strip_jpeg, overlay):
    title = "Orvalen Beispielpanorama".encode("utf-16-le")
    header = (struct.pack("<IHH", 2, 1, 0) + title.ljust(200, b"\0") + bytes(4000) + struct.pack("<H", 0) +
              bytes(1024))
    assert len(header) == 5234
    leading = data_block(b"leading block, not interpreted")
    pos_x, pos_y, size, opacity, anchor = OVERLAY_PLACEMENT
    overlay_record = data_block(overlay) + struct.pack("<ffffB", pos_x, pos_y, size, opacity, anchor)
    skip = b"\x01\x02\x03"
    panorama = (struct.pack("<I", 7) + bytes(200) + struct.pack("<I", 9) + bytes(48) + bytes([len(skip)]) + skip +
                bytes(1024) + data_block(b"extra block, not interpreted") + data_block(strip_jpeg))
    return header + leading + overlay_record + panorama + b"trailing bytes are never read"


def main():
    os.makedirs(OUT, exist_ok=True)
    im = strip()
    overlay = overlay_png()
    info = PngImagePlugin.PngInfo()
    info.add_text("Description", OVERLAY_DESCRIPTION)
    im.save(os.path.join(OUT, "sample.orvp"), "PNG", icc_profile=overlay, pnginfo=info, optimize=True)
    exif = Image.Exif()
    exif[270] = OVERLAY_DESCRIPTION
    jpeg = io.BytesIO()
    im.save(jpeg, "JPEG", quality=88, icc_profile=overlay, exif=exif.tobytes())
    with open(os.path.join(OUT, "sample-jpeg.orvp"), "wb") as f:
        f.write(jpeg.getvalue())
    plain = io.BytesIO()
    im.save(plain, "JPEG", quality=88)
    with open(os.path.join(OUT, "sample.orvp2"), "wb") as f:
        f.write(container(plain.getvalue(), overlay))


if __name__ == "__main__":
    main()
