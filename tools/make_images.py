"""Draws the program's embedded images into resources/. Deterministic: the
same script always writes the same bytes, so the files can be committed.

usage: /usr/bin/python3 tools/make_images.py   (needs Debian's python3-pil)

Glyphs are drawn as coverage masks at 8x and reduced, so their edges are
antialiased at their exact pixel sizes; white glyphs get a soft dark shadow
one pixel down and right, black ones a faint light one below.
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")
SS = 8  # supersampling factor of the glyph masks


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


# --- glyph masks -----------------------------------------------------------

def mask(size, draw):
    """Coverage mask (mode L) of the shapes `draw` paints, in pixel units."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    draw(Painter(ImageDraw.Draw(big)))
    return big.resize((w, h), Image.BOX)


class Painter:
    """Pixel-unit drawing on the supersampled mask: 255 adds, 0 cuts."""

    def __init__(self, draw):
        self.d = draw

    def rect(self, x0, y0, x1, y1, on=True):
        self.d.rectangle((x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1), fill=255 if on else 0)

    def frame(self, x0, y0, x1, y1, top=1, side=1):
        """Outline of the rectangle [x0, x1) x [y0, y1), `top` pixels thick on top."""
        self.rect(x0, y0, x1, y1)
        self.rect(x0 + side, y0 + top, x1 - side, y1 - side, on=False)

    def polygon(self, points, on=True):
        self.d.polygon([(x * SS, y * SS) for x, y in points], fill=255 if on else 0)

    def stroke(self, points, width):
        """A polyline of the given width with round joins and ends."""
        pts = [(x * SS, y * SS) for x, y in points]
        self.d.line(pts, fill=255, width=int(round(width * SS)), joint="curve")
        r = width * SS / 2
        for x, y in (pts[0], pts[-1]):
            self.d.ellipse((x - r, y - r, x + r, y + r), fill=255)

    def rounded(self, x0, y0, x1, y1, radius, on=True):
        self.d.rounded_rectangle((x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1), radius=radius * SS,
                                 fill=255 if on else 0)


def shadow_of(shape, offset, blur, strength):
    """The shape's mask moved by `offset`, softened and scaled to `strength`."""
    moved = Image.new("L", shape.size, 0)
    moved.paste(shape, offset)
    soft = moved.filter(ImageFilter.GaussianBlur(blur))
    return soft.point(lambda v: int(v * strength + 0.5))


def composite(shape, colour, shadow, shadow_colour, transparent_rgb):
    """RGBA: the shape in `colour` over its shadow, straight (not premultiplied) alpha."""
    w, h = shape.size
    out = Image.new("RGBA", (w, h))
    px = out.load()
    for y in range(h):
        for x in range(w):
            a_s = shape.getpixel((x, y)) / 255.0
            a_d = shadow.getpixel((x, y)) / 255.0 * (1 - a_s)
            a = a_s + a_d
            if a <= 0:
                px[x, y] = transparent_rgb + (0,)
                continue
            rgb = tuple(int(round((c * a_s + d * a_d) / a)) for c, d in zip(colour, shadow_colour))
            px[x, y] = rgb + (int(round(a * 255)),)
    return out


WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def white_glyph(size, draw):
    shape = mask(size, draw)
    return composite(shape, WHITE, shadow_of(shape, (1, 1), 0.7, 0.75), BLACK, WHITE)


def black_glyph(size, draw):
    shape = mask(size, draw)
    return composite(shape, BLACK, shadow_of(shape, (0, 1), 0.5, 0.45), WHITE, BLACK)


def help_shape(p):
    """A speech bubble with a tail and three dots of talk."""
    p.rounded(7, 3, 19, 12, 3)
    p.rounded(8, 4, 18, 11, 2, on=False)
    p.polygon([(10, 11), (13.5, 11), (9, 15)])
    p.polygon([(10.9, 10.9), (12.4, 10.9), (10.2, 13.2)], on=False)
    for x in (10, 12.5, 15):
        p.rect(x, 7, x + 1, 8)


def menu_shape(p):
    """A sheet with a folded corner and three lines of a list."""
    p.polygon([(9, 3), (15, 3), (18, 6), (18, 15), (9, 15)])
    p.polygon([(10, 4), (14.5, 4), (14.5, 6.5), (17, 6.5), (17, 14), (10, 14)], on=False)
    for y in (8, 10, 12):
        p.rect(11, y, 16, y + 1)


def minimize_shape(p):
    p.rect(8, 11, 18, 13)


def maximize_shape(p):
    p.frame(8, 4, 18, 14, top=2)


def restore_shape(p):
    p.frame(11, 3, 19, 10, top=2)
    p.rect(7, 6, 16, 14, on=False)
    p.frame(7, 6, 16, 14, top=2)


def close_shape(p):
    p.stroke([(15, 5), (23, 13)], 1.9)
    p.stroke([(23, 5), (15, 13)], 1.9)


def arrow(direction):
    """A solid triangle filling its 7 x 4 (or 4 x 7) box."""
    def draw(p):
        up = [(0, 4), (7, 4), (3.5, 0.3)]
        if direction == "up":
            pts = up
        elif direction == "down":
            pts = [(x, 4 - y) for x, y in up]
        elif direction == "left":
            pts = [(y, x) for x, y in up]
        else:
            pts = [(4 - y, x) for x, y in up]
        p.polygon(pts)
    return draw


def check_glyph():
    """A green check mark. Its colour carries its coverage (blended towards
    white) because the check-box painter recomputes alpha from brightness;
    fully transparent pixels are pure white."""
    size = (13, 12)
    shape = mask(size, lambda p: p.stroke([(2.2, 6.4), (5.0, 9.2), (10.8, 2.6)], 2.3))
    shadow = shadow_of(shape, (0, 1), 0.6, 0.35)
    green = (36, 150, 64)
    out = Image.new("RGBA", size)
    px = out.load()
    for y in range(size[1]):
        for x in range(size[0]):
            a_s = shape.getpixel((x, y)) / 255.0
            a_d = shadow.getpixel((x, y)) / 255.0 * (1 - a_s)
            a = a_s + a_d
            # Premultiplied colour over white: what the mark looks like on a white box.
            rgb = tuple(int(round(255 * (1 - a) + c * a_s)) for c in green)
            px[x, y] = (255, 255, 255, 0) if a <= 0 else rgb + (int(round(a * 255)),)
    return out


# --- background picture ----------------------------------------------------

def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def background():
    """A calm, light landscape of soft hills under a pale sky: light enough
    for black list text, pale where the dark title text goes (top left),
    deeper where the white caption glyphs go (top right)."""
    w, h = 500, 375
    top, middle, bottom = (196, 222, 242), (232, 241, 248), (226, 238, 232)
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        t = y / (h - 1)
        row = lerp(top, middle, t / 0.55) if t < 0.55 else lerp(middle, bottom, (t - 0.55) / 0.45)
        for x in range(w):
            px[x, y] = row

    # The sky deepens towards the top right, behind the white caption
    # glyphs, and stays pale on the left, behind the title.
    shade = Image.new("L", (w, h), 0)
    ImageDraw.Draw(shade).ellipse((300, -120, 640, 70), fill=200)
    shade = shade.filter(ImageFilter.GaussianBlur(40))
    img = Image.composite(Image.new("RGB", (w, h), (84, 134, 190)), img, shade)

    # A soft glow of light low on the right.
    glow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(glow).ellipse((260, 40, 560, 300), fill=110)
    glow = glow.filter(ImageFilter.GaussianBlur(60))
    img = Image.composite(Image.new("RGB", (w, h), (255, 252, 240)), img, glow)

    # Three rolling hills, far to near, each a little deeper in tone.
    hills = [
        (0.60, 16, 0.011, 0.4, (176, 206, 214), 150),
        (0.72, 20, 0.008, 2.1, (158, 198, 190), 150),
        (0.84, 14, 0.013, 4.0, (146, 192, 176), 140),
    ]
    for base, amp, freq, phase, colour, alpha in hills:
        layer = Image.new("L", (w, h), 0)
        d = ImageDraw.Draw(layer)
        ridge = [(x, h * base - amp * math.sin(x * freq + phase) - amp * 0.4 * math.sin(x * freq * 2.7 + phase))
                 for x in range(0, w + 1, 2)]
        d.polygon(ridge + [(w, h), (0, h)], fill=alpha)
        layer = layer.filter(ImageFilter.GaussianBlur(1.5))
        img = Image.composite(Image.new("RGB", (w, h), colour), img, layer)

    # The near ground fades back to light, so text at the bottom stays easy to read.
    fade = Image.new("L", (w, h), 0)
    fd = ImageDraw.Draw(fade)
    for y in range(int(h * 0.86), h):
        fd.line((0, y, w, y), fill=int(90 * (y - h * 0.86) / (h * 0.14)))
    img = Image.composite(Image.new("RGB", (w, h), (236, 244, 238)), img, fade)
    return img


GLYPHS = [
    ("help_glyph.png", (26, 18), help_shape, white_glyph),
    ("menu_glyph.png", (26, 18), menu_shape, white_glyph),
    ("minimize_glyph.png", (26, 18), minimize_shape, white_glyph),
    ("maximize_glyph.png", (26, 18), maximize_shape, white_glyph),
    ("restore_glyph.png", (26, 18), restore_shape, white_glyph),
    ("close_glyph.png", (38, 18), close_shape, white_glyph),
    ("arrow_up_glyph.png", (7, 4), arrow("up"), black_glyph),
    ("arrow_down_glyph.png", (7, 4), arrow("down"), black_glyph),
    ("arrow_left_glyph.png", (4, 7), arrow("left"), black_glyph),
    ("arrow_right_glyph.png", (4, 7), arrow("right"), black_glyph),
]


def save_png(img, name):
    # No pHYs chunk: GDI+ then draws the image at its pixel size.
    img.save(os.path.join(OUT, name), format="PNG", optimize=False)


def main():
    os.makedirs(OUT, exist_ok=True)
    sizes = [16, 32, 48]
    icons = [app_icon(s) for s in sizes]
    icons[-1].save(os.path.join(OUT, "app.ico"), format="ICO", sizes=[(s, s) for s in sizes],
                   append_images=icons[:-1])
    for name, size, shape, style in GLYPHS:
        save_png(style(size, shape), name)
    save_png(check_glyph(), "check_glyph.png")
    background().save(os.path.join(OUT, "background.jpg"), format="JPEG", quality=92, subsampling=0)


if __name__ == "__main__":
    main()
