"""Draws the program's embedded images into resources/. Deterministic: the
same script always writes the same bytes, so the files can be committed.

usage: /usr/bin/python3 tools/make_images.py   (needs Debian's python3-pil)
"""
import os

from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")


def app_icon(size):
    """A magnifier over a blue rounded square: the program finds things."""
    scale = 4
    big = size * scale
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    r = big // 6
    d.rounded_rectangle((0, 0, big - 1, big - 1), radius=r, fill=(38, 104, 196, 255))
    d.rounded_rectangle((big // 16, big // 16, big - 1 - big // 16, big // 2), radius=r,
                        fill=(70, 140, 225, 255))
    cx, cy, rad = big * 0.42, big * 0.42, big * 0.22
    w = max(scale * 2, big // 12)
    d.line((cx + rad * 0.7, cy + rad * 0.7, big * 0.82, big * 0.82), fill=(255, 255, 255, 255), width=w * 2)
    d.ellipse((cx - rad, cy - rad, cx + rad, cy + rad), outline=(255, 255, 255, 255), width=w,
              fill=(170, 210, 250, 255))
    return img.resize((size, size), Image.LANCZOS)


def main():
    os.makedirs(OUT, exist_ok=True)
    sizes = [16, 32, 48]
    icons = [app_icon(s) for s in sizes]
    icons[-1].save(os.path.join(OUT, "app.ico"), format="ICO", sizes=[(s, s) for s in sizes],
                   append_images=icons[:-1])


if __name__ == "__main__":
    main()
