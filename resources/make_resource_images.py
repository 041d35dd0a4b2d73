#!/usr/bin/python3
"""Draws the program's embedded images into images/ beside this script:

  opengl_logo.png   443 x 443 RGBA, a round logo on a transparent background
  startup.png       510 x 142 RGB, the start-up (splash) image
  icon-N.png        the application icon at 96, 48, 32 and 16 pixels
"""
import os

from PIL import Image, ImageDraw, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
REGULAR = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BLUE, SKY, SUN, GROUND = (30, 60, 120), (120, 180, 230), (245, 200, 70), (90, 140, 80)


def emblem(size):
    """A round view through a cube's corner: sky, sun, horizon and ground."""
    scale = 4  # drawn large and reduced, for smooth edges
    s = size * scale
    im = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    d.ellipse([0, 0, s - 1, s - 1], fill=BLUE + (255,))
    inset = s // 14
    inner = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    di = ImageDraw.Draw(inner)
    di.rectangle([0, 0, s, s // 2 + s // 12], fill=SKY + (255,))
    di.ellipse([s * 55 // 100, s * 22 // 100, s * 72 // 100, s * 39 // 100], fill=SUN + (255,))
    di.rectangle([0, s // 2 + s // 12, s, s], fill=GROUND + (255,))
    di.line([(0, s // 2 + s // 12), (s, s // 2 + s // 12)], fill=(20, 20, 20, 255), width=max(scale, s // 60))
    # The edge between two cube faces, seen from inside.
    di.line([(s // 2, 0), (s // 2, s)], fill=(255, 255, 255, 160), width=max(scale, s // 80))
    mask = Image.new("L", (s, s), 0)
    ImageDraw.Draw(mask).ellipse([inset, inset, s - 1 - inset, s - 1 - inset], fill=255)
    im.paste(inner, (0, 0), mask)
    return im.resize((size, size), Image.LANCZOS)


def main():
    os.makedirs(OUT, exist_ok=True)
    emblem(443).save(os.path.join(OUT, "opengl_logo.png"), optimize=True)
    for n in (96, 48, 32, 16):
        emblem(n).save(os.path.join(OUT, f"icon-{n}.png"), optimize=True)

    splash = Image.new("RGB", (510, 142), (245, 247, 250))
    d = ImageDraw.Draw(splash)
    splash.paste(emblem(110), (16, 16), emblem(110))
    d.text((146, 30), "Tessaly CAD Panorama", font=ImageFont.truetype(BOLD, 25), fill=BLUE)
    d.text((146, 78), "Panoramabetrachter – wird gestartet …", font=ImageFont.truetype(REGULAR, 17),
           fill=(60, 60, 60))
    d.rectangle([0, 0, 509, 141], outline=BLUE, width=2)
    splash.save(os.path.join(OUT, "startup.png"), optimize=True)


if __name__ == "__main__":
    main()
