#!/usr/bin/env python3
"""Generate the stand-in image files that ship next to the application.

Usage:
    python3 make_images.py OUTDIR

Writes small images of our own into OUTDIR:
    center.gif, speed_left.gif, speed_right.gif   GIF89a, LZW-compressed
    Company.bmp, RaidAPTitle.bmp, aboutTitle.bmp  24 bpp BMP
    Raidlogo.png                                  RGBA PNG

The setup program only copies these files (and removes them again), so
simple shapes are enough: a gauge made of three GIF parts, title bands with
blocks, and a logo of stacked disks. Only the standard library is used and
every run writes the same bytes.
"""

import os
import sys

# The file writers are shared with the skin generator (see image_files.py).
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                os.pardir, os.pardir, "res", "imaging"))
import image_files  # noqa: E402

# ---------------------------------------------------------------------------
# A tiny raster: a grid of values (palette indices or RGBA tuples) with
# shape fills that test each pixel's centre.
# ---------------------------------------------------------------------------


class Raster:
    def __init__(self, width, height, value):
        self.width, self.height = width, height
        self.px = [value] * (width * height)

    def get(self, x, y):
        return self.px[y * self.width + x]

    def put(self, x, y, value):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y * self.width + x] = value

    def rows(self):
        """The pixels row by row, top row first, as the file writers take
        them."""
        return [self.px[y * self.width:(y + 1) * self.width]
                for y in range(self.height)]

    def fill(self, inside, value):
        """Set every pixel whose centre satisfies inside(x, y)."""
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.px[y * self.width + x] = value(x, y) \
                        if callable(value) else value


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r_in, r_out):
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        return r_in * r_in <= d2 <= r_out * r_out
    return inside


def polygon(points):
    """Even-odd point-in-polygon test."""
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y):
                if x < xa + (y - ya) * (xb - xa) / (yb - ya):
                    hit = not hit
        return hit
    return inside


def mirrored(raster):
    """Left-right mirror image."""
    out = Raster(raster.width, raster.height, raster.px[0])
    for y in range(raster.height):
        for x in range(raster.width):
            out.put(raster.width - 1 - x, y, raster.get(x, y))
    return out


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vertical(y0, y1, top, bottom):
    """Value function for a vertical RGBA gradient."""
    return lambda x, y: lerp(top, bottom, min(max((y - y0) / float(
        max(y1 - y0 - 1, 1)), 0.0), 1.0))


def downsampled(raster, factor):
    """Box-filter an RGBA raster drawn at factor times the final size."""
    out = Raster(raster.width // factor, raster.height // factor,
                 (0, 0, 0, 0))
    n = factor * factor
    for y in range(out.height):
        for x in range(out.width):
            acc = [0, 0, 0, 0]
            for j in range(factor):
                for i in range(factor):
                    r, g, b, a = raster.get(x * factor + i, y * factor + j)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            if acc[3]:
                out.put(x, y, (int(round(acc[0] / float(acc[3]))),
                               int(round(acc[1] / float(acc[3]))),
                               int(round(acc[2] / float(acc[3]))),
                               int(round(acc[3] / float(n)))))
    return out


# ---------------------------------------------------------------------------
# The gauge: a round centre piece and two side pieces (palette images)
# ---------------------------------------------------------------------------

GAUGE_PALETTE = [
    (255, 255, 255),   # 0 background
    (22, 30, 66),      # 1 outline
    (71, 93, 173),     # 2 blue
    (120, 146, 222),   # 3 light blue
    (200, 210, 236),   # 4 silver
    (40, 170, 78),     # 5 green
    (230, 160, 40),    # 6 amber
    (200, 50, 40),     # 7 red
]


def make_center_gif():
    """48x48 dial: a disk platter with a hub and a needle."""
    img = Raster(48, 48, 0)
    img.fill(ellipse(24, 24, 23, 23), 1)
    img.fill(ellipse(24, 24, 21.5, 21.5), 2)
    img.fill(ring(24, 24, 14, 16), 3)
    img.fill(ring(24, 24, 8, 9), 3)
    img.fill(polygon([(23, 24), (25, 24), (36, 10), (35, 9)]), 6)
    img.fill(ellipse(24, 24, 5, 5), 4)
    img.fill(ellipse(24, 24, 2, 2), 1)
    return img


def make_speed_gif():
    """24x48 side piece: three chevrons stepping from green to red."""
    img = Raster(24, 48, 0)
    img.fill(rect(0, 4, 24, 44), 1)
    img.fill(rect(0, 5, 23, 43), 2)
    for i, colour in enumerate((5, 6, 7)):
        x = 1 + i * 6
        img.fill(polygon([(x, 14), (x + 4, 14), (x + 9, 24), (x + 4, 34),
                          (x, 34), (x + 5, 24)]), colour)
    return img


# ---------------------------------------------------------------------------
# Title bands and company mark (24 bpp)
# ---------------------------------------------------------------------------

def make_title_band(width, height, top, bottom, block, caption):
    """Gradient band with drive-like blocks and bars standing for a caption."""
    img = Raster(width, height, top)
    img.fill(rect(0, 0, width, height), vertical(0, height, top, bottom))
    img.fill(rect(0, height - 1, width, height), (22, 30, 66, 255))
    for i in range(3):
        x = 4 + i * 7
        img.fill(rect(x, 5, x + 5, height - 5), block)
        img.fill(rect(x + 1, 6, x + 4, 8), (255, 255, 255, 255))
    img.fill(rect(30, height // 2 - 3, width - 10, height // 2 - 1), caption)
    img.fill(rect(30, height // 2 + 2, width - 26, height // 2 + 3), caption)
    return img


def make_company_bmp():
    """64x24 mark: three rising blocks and an underline."""
    img = Raster(64, 24, (255, 255, 255, 255))
    blue = vertical(4, 20, (120, 146, 222, 255), (46, 62, 128, 255))
    for i, top in enumerate((12, 8, 4)):
        x = 6 + i * 9
        img.fill(rect(x, top, x + 7, 19), blue)
    img.fill(rect(6, 20, 58, 21), (85, 0, 0, 255))
    img.fill(rect(36, 9, 58, 11), (71, 93, 173, 255))
    img.fill(rect(36, 14, 52, 16), (150, 160, 190, 255))
    return img


# ---------------------------------------------------------------------------
# Logo: stacked disks (PNG with transparency)
# ---------------------------------------------------------------------------

def draw_disk(img, cx, top, rx, ry, depth):
    """One disk seen from slightly above: side band and lighter top."""
    side = vertical(top, top + depth + 2 * ry,
                    (84, 108, 196, 255), (34, 46, 100, 255))
    outline = (16, 22, 52, 255)
    img.fill(ellipse(cx, top + ry + depth, rx + 4, ry + 4), outline)
    img.fill(rect(cx - rx - 4, top + ry, cx + rx + 4, top + ry + depth),
             outline)
    img.fill(ellipse(cx, top + ry + depth, rx, ry), side)
    img.fill(rect(cx - rx, top + ry, cx + rx, top + ry + depth), side)
    img.fill(ellipse(cx, top + ry, rx + 4, ry + 4), outline)
    img.fill(ellipse(cx, top + ry, rx, ry),
             vertical(top, top + 2 * ry, (214, 224, 248, 255),
                      (150, 170, 226, 255)))
    img.fill(ellipse(cx, top + ry, rx * 0.3, ry * 0.3), (84, 108, 196, 255))
    img.fill(ellipse(cx + rx * 0.72, top + ry + depth * 0.6 + ry * 0.3,
                     9, 9), (88, 226, 120, 255))


def make_logo_png():
    """64x64 logo, drawn at four times the size and scaled down."""
    scale = 4
    img = Raster(64 * scale, 64 * scale, (0, 0, 0, 0))
    cx, rx, ry, depth = 128, 100, 30, 34
    for top in (150, 96, 42):       # bottom disk first, the rest on top
        draw_disk(img, cx, top - 30, rx, ry, depth)
    return downsampled(img, scale)


# ---------------------------------------------------------------------------
# Main
# ---------------------------------------------------------------------------

def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_images.py OUTDIR\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    speed = make_speed_gif()
    gifs = [("center.gif", make_center_gif()),
            ("speed_left.gif", mirrored(speed)),
            ("speed_right.gif", speed)]
    for name, raster in gifs:
        image_files.write_gif(os.path.join(outdir, name), raster.rows(),
                              GAUGE_PALETTE)
    bmps = [("Company.bmp", make_company_bmp()),
            ("RaidAPTitle.bmp",
             make_title_band(80, 20, (96, 120, 200, 255), (46, 62, 128, 255),
                             (200, 210, 236, 255), (255, 255, 255, 255))),
            ("aboutTitle.bmp",
             make_title_band(72, 20, (250, 251, 254, 255),
                             (214, 222, 238, 255), (71, 93, 173, 255),
                             (85, 0, 0, 255)))]
    for name, raster in bmps:
        # 24 bpp: the writer leaves out the alpha.
        image_files.write_bmp(os.path.join(outdir, name), raster.rows(), 24)
    image_files.write_png(os.path.join(outdir, "Raidlogo.png"),
                          make_logo_png().rows())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
