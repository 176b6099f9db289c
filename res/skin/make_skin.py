#!/usr/bin/env python3
"""Generate the wizard's skin bitmaps and the setup icon.

Usage:
    python3 make_skin.py OUTDIR [--preview OUT.png]

Writes into OUTDIR:
    background.bmp                 584x411, 24 bpp, magenta (0xFF00FF) corners
    button_normal/pressed/hover    111x22, 24 bpp push-button faces
    close_normal.bmp, close_hover  20x17, 32 bpp close-button faces
    close_disabled.bmp             20x17, 24 bpp
    check_off.bmp, check_on.bmp    21x24, 24 bpp check-box glyphs
    radio_off.bmp, radio_on.bmp    23x28, 24 bpp radio glyphs
    setup.ico                      48x48 and 32x32 (32 bpp), 16x16 (24 bpp)
    skin_layout.h                  the window's layout for the dialog (C++)

With --preview, also writes a PNG mock-up of the wizard window with the
faces placed where the dialog puts its controls, plus a sheet of every
face and icon image, for reviewing the look.

Only the standard library is used and the output is the same byte for
byte on every run, so the generated files can be rebuilt at any time.
"""

import math
import os
import sys

# The BMP, ICO and PNG writers are shared with the stand-ins' image
# generator (see image_files.py).
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                os.pardir, "imaging"))
import image_files  # noqa: E402

# ---------------------------------------------------------------------------
# Layout of the wizard window (pixels). This is the one place it is written:
# the dialog places its controls from the header this script writes beside
# the bitmaps (skin_layout.h), and the skin keeps the matching areas calm and
# readable (check_layout makes sure of it).
# ---------------------------------------------------------------------------

WIDTH, HEIGHT = 584, 411
MAGENTA = (255, 0, 255)          # key colour: outside the window region

TITLE_BAND_BOTTOM = 36           # light band for the dark-red title text
HEADER_BOTTOM = 106              # darker strip behind the white heading
BUTTON_BAR_TOP = 369             # bar that carries the push buttons
CHECK_FILL = (71, 93, 173)       # the check box paints this colour itself
BODY = CHECK_FILL                # so the body uses the very same blue

SIDE_PANEL = (14, 118, 186, 358)  # left panel with the drive-stack picture

BUTTON_SIZE = (111, 22)
CLOSE_SIZE = (20, 17)
CHECK_SIZE = (21, 24)
RADIO_SIZE = (23, 28)

# Boxes of the texts and the progress bar: (left, top, width, height).
# The title holds one line of its font with the descenders, on the light
# band; the heading sits in the header strip, the description on the body.
TITLE_BOX = (14, 7, WIDTH - 60, 18)
HEADING_BOX = (35, 55, WIDTH - 70, 35)
DESCRIPTION_BOX = (200, 170, WIDTH - 230, 60)

CLOSE_POS = (WIDTH - 32, 11)
ACTION_POS = (WIDTH - 272, 380)  # Install or Remove; Finish takes its place
CANCEL_POS = (WIDTH - 133, 380)
CHECK_POS = (200, 235)           # control origin; the glyph sits 2 px lower
CHECK_CONTROL_HEIGHT = CHECK_SIZE[1] + 4
# The check box's text ends where the description's does.
CHECK_CONTROL_WIDTH = DESCRIPTION_BOX[0] + DESCRIPTION_BOX[2] - CHECK_POS[0]
PROGRESS_BOX = (205, 235, WIDTH - 245, 30)  # in the check box's row

# Rounded window corners: quarter ellipses with these radii. Three corners
# cut 18 pixels each, the bottom-right one 17, 71 in all, every corner over
# 8 rows.
CORNER_RADII = {
    "top_left": (6.5, 12.5),
    "top_right": (6.5, 12.5),
    "bottom_left": (6.5, 12.5),
    "bottom_right": (6.5, 12.25),
}
EXPECTED_MAGENTA = 71

SUPERSAMPLE = 4                  # 4x4 samples per pixel for smooth edges


# ---------------------------------------------------------------------------
# Colour helpers
# ---------------------------------------------------------------------------

def lerp(a, b, t):
    """Linear blend of two colours (t=0 gives a, t=1 gives b)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vertical_gradient(y0, y1, *stops):
    """Paint function: colour stops spread evenly from y0 to y1."""
    count = len(stops) - 1

    def paint(x, y):
        t = (y + 0.5 - y0) / float(y1 - y0)
        t = min(max(t, 0.0), 1.0) * count
        i = min(int(t), count - 1)
        return lerp(stops[i], stops[i + 1], t - i)
    return paint


def radial_gradient(cx, cy, radius, inner, outer):
    """Paint function: inner colour at the centre fading to outer."""
    def paint(x, y):
        d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / radius
        return lerp(inner, outer, min(d, 1.0))
    return paint


# ---------------------------------------------------------------------------
# Shapes. Each knows its bounding box and whether a point lies inside. For a
# convex shape a pixel whose four corners are inside is fully covered.
# ---------------------------------------------------------------------------

class RoundRect:
    convex = True

    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r = min(radius, (x1 - x0) / 2.0, (y1 - y0) / 2.0)

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1

    def contains(self, x, y):
        if x < self.x0 or x > self.x1 or y < self.y0 or y > self.y1:
            return False
        r = self.r
        if r <= 0:
            return True
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Ellipse:
    convex = True

    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy, self.rx = cx, cy, rx
        self.ry = rx if ry is None else ry

    def bbox(self):
        return (self.cx - self.rx, self.cy - self.ry,
                self.cx + self.rx, self.cy + self.ry)

    def contains(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


class Stroke:
    """A straight line segment of the given width with round ends."""

    convex = True

    def __init__(self, ax, ay, bx, by, width):
        self.a, self.b, self.hw = (ax, ay), (bx, by), width / 2.0

    def bbox(self):
        return (min(self.a[0], self.b[0]) - self.hw,
                min(self.a[1], self.b[1]) - self.hw,
                max(self.a[0], self.b[0]) + self.hw,
                max(self.a[1], self.b[1]) + self.hw)

    def contains(self, x, y):
        (ax, ay), (bx, by) = self.a, self.b
        vx, vy = bx - ax, by - ay
        t = ((x - ax) * vx + (y - ay) * vy) / float(vx * vx + vy * vy)
        t = min(max(t, 0.0), 1.0)
        px, py = ax + vx * t, ay + vy * t
        return (x - px) ** 2 + (y - py) ** 2 <= self.hw * self.hw


class Ring:
    """Circle outline of the given width, optionally limited to a rectangle."""

    convex = False

    def __init__(self, cx, cy, radius, width, clip=None):
        self.cx, self.cy, self.r, self.hw = cx, cy, radius, width / 2.0
        self.clip = clip

    def bbox(self):
        e = self.r + self.hw
        x0, y0, x1, y1 = (self.cx - e, self.cy - e, self.cx + e, self.cy + e)
        if self.clip:
            cx0, cy0, cx1, cy1 = self.clip
            x0, y0 = max(x0, cx0), max(y0, cy0)
            x1, y1 = min(x1, cx1), min(y1, cy1)
        return x0, y0, x1, y1

    def contains(self, x, y):
        if self.clip:
            cx0, cy0, cx1, cy1 = self.clip
            if not (cx0 <= x <= cx1 and cy0 <= y <= cy1):
                return False
        return abs(math.hypot(x - self.cx, y - self.cy) - self.r) <= self.hw


def coverage(shape, x, y):
    """Fraction of pixel (x, y) covered by shape, 0.0 to 1.0."""
    corners = ((x, y), (x + 1, y), (x, y + 1), (x + 1, y + 1))
    if shape.convex and all(shape.contains(cx, cy) for cx, cy in corners):
        return 1.0
    n = SUPERSAMPLE
    hits = 0
    for j in range(n):
        for i in range(n):
            if shape.contains(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / float(n * n)


# ---------------------------------------------------------------------------
# Canvas: floating point RGBA pixels with source-over blending
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, color=(0, 0, 0), alpha=1.0):
        self.width, self.height = width, height
        self.px = [[color[0], color[1], color[2], alpha]
                   for _ in range(width * height)]

    def get(self, x, y):
        return self.px[y * self.width + x]

    def set(self, x, y, color, alpha=1.0):
        self.px[y * self.width + x] = [color[0], color[1], color[2], alpha]

    def blend(self, x, y, color, alpha):
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.px[y * self.width + x]
        out_a = alpha + p[3] * (1.0 - alpha)
        if out_a <= 0.0:
            return
        keep = p[3] * (1.0 - alpha)
        for i in range(3):
            p[i] = (color[i] * alpha + p[i] * keep) / out_a
        p[3] = out_a

    def fill(self, shape, paint, opacity=1.0):
        """Paint a shape with a colour or a paint function (x, y) -> colour."""
        x0, y0, x1, y1 = shape.bbox()
        for y in range(max(int(math.floor(y0)), 0),
                       min(int(math.ceil(y1)), self.height)):
            for x in range(max(int(math.floor(x0)), 0),
                           min(int(math.ceil(x1)), self.width)):
                cov = coverage(shape, x, y)
                if cov > 0.0:
                    color = paint(x, y) if callable(paint) else paint
                    self.blend(x, y, color, cov * opacity)

    def fill_rect(self, x0, y0, x1, y1, paint, opacity=1.0):
        """Fast fill of a pixel-aligned rectangle [x0, x1) x [y0, y1)."""
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                color = paint(x, y) if callable(paint) else paint
                self.blend(x, y, color, opacity)

    def glow(self, cx, cy, rx, ry, color, strength, clip=None):
        """Soft light that fades out towards the edge of an ellipse."""
        x0, y0, x1, y1 = clip or (0, 0, self.width, self.height)
        for y in range(max(int(cy - ry), y0, 0),
                       min(int(math.ceil(cy + ry)), y1, self.height)):
            for x in range(max(int(cx - rx), x0, 0),
                           min(int(math.ceil(cx + rx)), x1, self.width)):
                d = math.hypot((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry)
                if d < 1.0:
                    self.blend(x, y, color, strength * (1.0 - d) ** 2)

    def crop(self, x0, y0, width, height):
        out = Canvas(width, height)
        for y in range(height):
            for x in range(width):
                out.px[y * width + x] = list(self.get(x0 + x, y0 + y))
        return out

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                p = other.get(x, y)
                self.blend(x0 + x, y0 + y, p[:3], p[3])

    def scaled(self, factor):
        """Nearest-neighbour enlargement, for the review sheet."""
        out = Canvas(self.width * factor, self.height * factor)
        for y in range(out.height):
            for x in range(out.width):
                out.px[y * out.width + x] = list(
                    self.get(x // factor, y // factor))
        return out

    def rgb_bytes(self, x, y):
        """The pixel as 8-bit (r, g, b), rounded and clamped."""
        p = self.get(x, y)
        return tuple(min(max(int(round(c)), 0), 255) for c in p[:3])

    def alpha_byte(self, x, y):
        return min(max(int(round(self.get(x, y)[3] * 255)), 0), 255)

    def rows(self, alpha=True):
        """8-bit pixels row by row, top row first, as the file writers take
        them: (r, g, b, a), or (r, g, b) without alpha."""
        out = []
        for y in range(self.height):
            if alpha:
                out.append([self.rgb_bytes(x, y) + (self.alpha_byte(x, y),)
                            for x in range(self.width)])
            else:
                out.append([self.rgb_bytes(x, y) for x in range(self.width)])
        return out


# ---------------------------------------------------------------------------
# Window shape: which pixels the magenta corners cut away
# ---------------------------------------------------------------------------

def corner_profile(rx, ry):
    """Magenta pixels per row of one corner, outermost row first.

    A pixel is cut when its centre lies outside the quarter ellipse that
    rounds the corner.
    """
    counts = []
    for row in range(int(math.ceil(ry))):
        dy = (ry - (row + 0.5)) / ry
        inner_dx = rx * math.sqrt(max(0.0, 1.0 - dy * dy))
        n = 0
        while rx - (n + 0.5) > inner_dx:
            n += 1
        if n == 0:
            break
        counts.append(n)
    return counts


def corner_pixels():
    """Set of (x, y) pixels that lie outside the rounded window."""
    cut = set()
    for corner, (rx, ry) in sorted(CORNER_RADII.items()):
        for row, n in enumerate(corner_profile(rx, ry)):
            y = row if corner.startswith("top") else HEIGHT - 1 - row
            for i in range(n):
                x = i if corner.endswith("left") else WIDTH - 1 - i
                cut.add((x, y))
    return cut


# ---------------------------------------------------------------------------
# Background
# ---------------------------------------------------------------------------

def draw_title_band(c):
    """Light band at the top: the dark-red title reads well on it."""
    c.fill_rect(0, 0, WIDTH, TITLE_BAND_BOTTOM,
                vertical_gradient(0, TITLE_BAND_BOTTOM, (255, 255, 255),
                                  (240, 243, 249), (216, 223, 238)))
    # A faint sheen on the right, where the close button sits.
    c.fill(Ellipse(WIDTH - 90, -30, 220, 60), (255, 255, 255), 0.35)
    # Two-tone rule between the band and the blue header.
    c.fill_rect(0, TITLE_BAND_BOTTOM - 1, WIDTH, TITLE_BAND_BOTTOM,
                (170, 180, 206))
    c.fill_rect(0, TITLE_BAND_BOTTOM, WIDTH, TITLE_BAND_BOTTOM + 1,
                (30, 42, 92))


def draw_header(c):
    """Darker strip behind the heading, settling into the body blue."""
    top = TITLE_BAND_BOTTOM + 1
    c.fill_rect(0, top, WIDTH, HEADER_BOTTOM,
                vertical_gradient(top, HEADER_BOTTOM, (40, 55, 118),
                                  (56, 75, 152), BODY))
    # A soft light from the upper right gives the strip some depth.
    c.glow(WIDTH - 140, top - 20, 300, 110, (140, 166, 236), 0.45,
           (0, top, WIDTH, HEADER_BOTTOM))
    # Faint disk-platter rings on the right, clear of most headings.
    clip = (0, top, WIDTH - 1, HEADER_BOTTOM)
    for i, radius in enumerate((28, 46, 64, 82, 100, 118)):
        c.fill(Ring(WIDTH - 70, top + 66, radius, 1.2, clip),
               (190, 206, 250), 0.10 - 0.012 * i)
    # Engraved rule under the header.
    c.fill_rect(20, HEADER_BOTTOM, WIDTH - 20, HEADER_BOTTOM + 1,
                (46, 62, 128))
    c.fill_rect(20, HEADER_BOTTOM + 1, WIDTH - 20, HEADER_BOTTOM + 2,
                (104, 126, 200))


def draw_side_panel(c):
    """Recessed panel on the left that frames the drive-stack picture."""
    x0, y0, x1, y1 = SIDE_PANEL
    c.fill(RoundRect(x0, y0, x1, y1, 7), (98, 120, 196))
    c.fill(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 6),
           vertical_gradient(y0, y1, (54, 73, 150), (64, 85, 163)))
    # Inner shadow along the top edge makes it look set into the body.
    c.fill(RoundRect(x0 + 1, y0 + 1, x1 - 1, y0 + 4, 3), (30, 40, 90), 0.25)
    cx = (x0 + x1) / 2.0
    cy = (y0 + y1) / 2.0
    c.glow(cx, cy - 6, 80, 110, (130, 156, 230), 0.8,
           (x0 + 1, y0 + 1, x1 - 1, y1 - 1))


def draw_drive_bay(c, x0, y0, x1, y1, led):
    """One hot-swap drive tray: silver face, grip slots and a status LED."""
    c.fill(RoundRect(x0, y0, x1, y1, 3), (18, 24, 54))
    c.fill(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2),
           vertical_gradient(y0, y1, (214, 222, 240), (178, 190, 222),
                             (146, 158, 196)))
    c.fill_rect(x0 + 2, y0 + 1, x1 - 2, y0 + 2, (246, 248, 252), 0.7)
    # Grip: a row of short slots on the left of the tray.
    mid = (y0 + y1) // 2
    for i in range(5):
        gx = x0 + 7 + i * 4
        c.fill_rect(gx, mid - 6, gx + 2, mid + 6, (88, 100, 140))
        c.fill_rect(gx + 2, mid - 6, gx + 3, mid + 6, (236, 240, 250), 0.6)
    # Label strip.
    c.fill(RoundRect(x0 + 34, mid - 3, x1 - 22, mid + 3, 1.5),
           (120, 132, 172), 0.8)
    # LED with a small glow.
    lx, ly = x1 - 11, mid + 0.5
    c.fill(Ellipse(lx, ly, 6.0), led, 0.30)
    c.fill(Ellipse(lx, ly, 3.2), (20, 40, 30))
    c.fill(Ellipse(lx, ly, 2.6), led)
    c.fill(Ellipse(lx - 0.8, ly - 0.9, 1.0), (255, 255, 255), 0.8)


def draw_drive_stack(c):
    """Stylised RAID enclosure: a dark chassis holding four drive trays."""
    x0, y0, x1, y1 = SIDE_PANEL
    cx = (x0 + x1) // 2
    left, right, top, bottom = cx - 50, cx + 50, y0 + 36, y1 - 44
    # Shadow under the chassis.
    c.fill(Ellipse(cx, bottom + 4, 60, 6), (20, 28, 64), 0.45)
    c.fill(RoundRect(left, top, right, bottom, 7), (14, 20, 46))
    c.fill(RoundRect(left + 1, top + 1, right - 1, bottom - 1, 6),
           vertical_gradient(top, bottom, (66, 82, 140), (34, 44, 90),
                             (24, 32, 70)))
    c.fill(RoundRect(left + 2, top + 1, right - 2, top + 3, 1),
           (160, 180, 236), 0.6)
    # Vent slots along the top of the chassis.
    for i in range(9):
        vx = left + 16 + i * 8
        c.fill(RoundRect(vx, top + 7, vx + 4, top + 10, 1), (12, 18, 40))
    leds = [(88, 226, 120), (88, 226, 120), (88, 226, 120), (120, 190, 255)]
    bay_top = top + 17
    for i, led in enumerate(leds):
        by = bay_top + i * 34
        draw_drive_bay(c, left + 8, by, right - 8, by + 28, led)
    # Feet.
    for fx in (left + 12, right - 24):
        c.fill(RoundRect(fx, bottom - 1, fx + 12, bottom + 3, 1.5),
               (14, 20, 46))


def draw_button_bar(c):
    """Darker bar along the bottom that carries the push buttons."""
    top = BUTTON_BAR_TOP
    c.fill_rect(0, top, WIDTH, top + 1, (40, 54, 116))
    c.fill_rect(0, top + 1, WIDTH, top + 2, (110, 132, 206))
    c.fill_rect(0, top + 2, WIDTH, HEIGHT,
                vertical_gradient(top + 2, HEIGHT, (58, 77, 152),
                                  (44, 59, 124), (34, 46, 100)))


def draw_frame(c, cut):
    """Dark one-pixel outline following the rounded window edge."""
    outline = (22, 30, 66)
    edge = set()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if (x, y) in cut:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if (nx, ny) in cut or not (0 <= nx < WIDTH and
                                           0 <= ny < HEIGHT):
                    edge.add((x, y))
                    break
    for x, y in sorted(edge):
        c.set(x, y, outline)
    # A second, softer line just inside the outline on the light band.
    for x, y in sorted(edge):
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1)):
            if (0 <= nx < WIDTH and 0 <= ny < TITLE_BAND_BOTTOM - 1 and
                    (nx, ny) not in cut and (nx, ny) not in edge):
                c.blend(nx, ny, (255, 255, 255), 0.5)


def make_background():
    c = Canvas(WIDTH, HEIGHT, BODY)
    draw_title_band(c)
    draw_header(c)
    draw_side_panel(c)
    draw_drive_stack(c)
    draw_button_bar(c)
    cut = corner_pixels()
    draw_frame(c, cut)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if c.rgb_bytes(x, y) == MAGENTA:
                raise AssertionError("stray key colour at %d,%d" % (x, y))
    for x, y in sorted(cut):
        c.set(x, y, MAGENTA)
    if len(cut) != EXPECTED_MAGENTA:
        raise AssertionError("corners cut %d pixels" % len(cut))
    return c


# ---------------------------------------------------------------------------
# Push-button faces
# ---------------------------------------------------------------------------

BUTTON_LOOKS = {
    # outline, upper gloss (top, bottom), lower body (top, bottom), rim light
    "normal": ((18, 26, 62), ((112, 136, 212), (84, 108, 190)),
               ((64, 86, 166), (78, 102, 182)), (170, 190, 240)),
    "hover": ((20, 30, 72), ((138, 164, 236), (104, 132, 214)),
              ((78, 104, 192), (96, 124, 210)), (206, 222, 255)),
    "pressed": ((12, 18, 46), ((40, 54, 112), (46, 62, 126)),
                ((50, 68, 138), (60, 80, 156)), None),
}


def make_button(background, look):
    """111x22 face drawn over the bar it sits on, so its corners blend."""
    w, h = BUTTON_SIZE
    c = background.crop(ACTION_POS[0], ACTION_POS[1], w, h)
    outline, upper, lower, rim = BUTTON_LOOKS[look]
    c.fill(RoundRect(0, 0, w, h, 4), outline)
    half = h // 2
    # Two-part face: glossy upper half, deeper lower half. Both are plain
    # vertical gradients, so stretching the middle keeps the look.
    c.fill(RoundRect(1, 1, w - 1, h - 1, 3),
           vertical_gradient(1, half, upper[0], upper[1]))
    c.fill(RoundRect(1, half, w - 1, h - 1, 3),
           vertical_gradient(half, h - 1, lower[0], lower[1]))
    c.fill_rect(2, half, w - 2, half + 1, lower[0])
    if rim is not None:
        c.fill_rect(3, 1, w - 3, 2, rim, 0.85)
        c.fill_rect(1, 3, 2, h - 3, rim, 0.25)
        c.fill_rect(w - 2, 3, w - 1, h - 3, rim, 0.25)
    else:
        # Pressed: shadow along the top and left, the face looks pushed in.
        c.fill_rect(2, 1, w - 2, 2, (6, 10, 30), 0.6)
        c.fill_rect(1, 2, 2, h - 2, (6, 10, 30), 0.35)
        c.fill_rect(2, 2, w - 2, 3, (6, 10, 30), 0.25)
    return c


# ---------------------------------------------------------------------------
# Close-button faces
# ---------------------------------------------------------------------------

CLOSE_LOOKS = {
    # outline, fill top, fill bottom, glyph colour, glyph shadow
    "normal": ((34, 46, 96), (112, 132, 200), (62, 82, 156),
               (255, 255, 255), (20, 30, 70)),
    "hover": ((110, 24, 18), (236, 110, 92), (184, 42, 30),
              (255, 255, 255), (90, 10, 6)),
    "disabled": ((150, 156, 172), (218, 222, 230), (192, 197, 208),
                 (242, 244, 248), (160, 166, 180)),
}


def make_close(background, look):
    """20x17 close face with an 'x' glyph, on the title band behind it."""
    w, h = CLOSE_SIZE
    c = background.crop(CLOSE_POS[0], CLOSE_POS[1], w, h)
    outline, top, bottom, glyph, shadow = CLOSE_LOOKS[look]
    c.fill(RoundRect(0, 0, w, h, 3.5), outline)
    c.fill(RoundRect(1, 1, w - 1, h - 1, 2.5),
           vertical_gradient(1, h - 1, top, bottom))
    c.fill_rect(3, 1, w - 3, 2, (255, 255, 255), 0.35)
    cx, cy, arm = w / 2.0, h / 2.0, 3.6
    # The glyph's shadow first, a little lower, then the glyph itself.
    for dy, color, alpha in ((0.8, shadow, 0.55), (0.0, glyph, 1.0)):
        c.fill(Stroke(cx - arm, cy - arm + dy, cx + arm, cy + arm + dy, 2.2),
               color, alpha)
        c.fill(Stroke(cx - arm, cy + arm + dy, cx + arm, cy - arm + dy, 2.2),
               color, alpha)
    return c


# ---------------------------------------------------------------------------
# Check-box and radio glyphs (on the fill the control paints itself)
# ---------------------------------------------------------------------------

def draw_tick(c, x, y):
    """Green tick with a thin dark edge; (x, y) is the box's top-left."""
    pts = [(x + 3.2, y + 7.4), (x + 6.0, y + 10.2), (x + 11.6, y + 3.6)]
    for width, color in ((3.4, (16, 70, 34)), (2.2, (40, 170, 78))):
        c.fill(Stroke(pts[0][0], pts[0][1], pts[1][0], pts[1][1], width),
               color)
        c.fill(Stroke(pts[1][0], pts[1][1], pts[2][0], pts[2][1], width),
               color)


def make_check(ticked):
    w, h = CHECK_SIZE
    c = Canvas(w, h, CHECK_FILL)
    bx, by, size = 3, 5, 15
    c.fill(RoundRect(bx, by + 1, bx + size, by + size + 1, 3),
           (30, 40, 90), 0.45)                        # drop shadow
    c.fill(RoundRect(bx, by, bx + size, by + size, 3), (20, 28, 66))
    c.fill(RoundRect(bx + 1, by + 1, bx + size - 1, by + size - 1, 2),
           vertical_gradient(by, by + size, (206, 216, 238), (246, 248, 253)))
    c.fill_rect(bx + 2, by + 1, bx + size - 2, by + 2, (150, 164, 200), 0.6)
    if ticked:
        draw_tick(c, bx, by)
    return c


def make_radio(selected):
    w, h = RADIO_SIZE
    c = Canvas(w, h, CHECK_FILL)
    cx, cy, r = w / 2.0, h / 2.0, 7.5
    c.fill(Ellipse(cx, cy + 1, r), (30, 40, 90), 0.45)   # drop shadow
    c.fill(Ellipse(cx, cy, r), (20, 28, 66))
    c.fill(Ellipse(cx, cy, r - 1),
           vertical_gradient(cy - r, cy + r, (206, 216, 238),
                             (246, 248, 253)))
    if selected:
        c.fill(Ellipse(cx, cy, 3.6), (16, 70, 34))
        c.fill(Ellipse(cx, cy, 3.0),
               radial_gradient(cx - 1, cy - 1, 4, (96, 214, 126),
                               (34, 150, 66)))
    return c


# ---------------------------------------------------------------------------
# Icon: a small drive enclosure
# ---------------------------------------------------------------------------

def make_icon(size):
    """RAID enclosure icon on a transparent canvas, for 32 and 48 pixels."""
    u = size / 48.0
    c = Canvas(size, size, (0, 0, 0), 0.0)
    left, right, top, bottom = 5 * u, 43 * u, 3 * u, 45 * u
    c.fill(RoundRect(left + u, top + 2 * u, right + u, bottom + u, 5 * u),
           (0, 0, 0), 0.3)                                   # shadow
    c.fill(RoundRect(left, top, right, bottom, 5 * u), (16, 22, 52))
    c.fill(RoundRect(left + u, top + u, right - u, bottom - u, 4 * u),
           vertical_gradient(top, bottom, (104, 128, 206), (58, 78, 156),
                             (34, 46, 100)))
    leds = [(88, 226, 120), (88, 226, 120), (120, 190, 255)]
    bay_h, gap = 10 * u, 3 * u
    for i, led in enumerate(leds):
        by = top + 6 * u + i * (bay_h + gap)
        bx0, bx1 = left + 4 * u, right - 4 * u
        c.fill(RoundRect(bx0, by, bx1, by + bay_h, 2 * u), (16, 22, 52))
        c.fill(RoundRect(bx0 + u, by + u, bx1 - u, by + bay_h - u, 1.2 * u),
               vertical_gradient(by, by + bay_h, (232, 236, 246),
                                 (176, 188, 220), (146, 158, 196)))
        for g in range(3):
            gx = bx0 + (4 + 3 * g) * u
            c.fill(RoundRect(gx, by + 3 * u, gx + 1.5 * u,
                             by + bay_h - 3 * u, 0), (84, 96, 138))
        c.fill(Ellipse(bx1 - 5 * u, by + bay_h / 2.0, 2.3 * u), (16, 40, 26))
        c.fill(Ellipse(bx1 - 5 * u, by + bay_h / 2.0, 1.7 * u), led)
    return c


def make_icon_16():
    """16x16 version, laid out on whole pixels so it stays crisp."""
    c = Canvas(16, 16, (0, 0, 0), 0.0)
    c.fill_rect(2, 0, 14, 16, (16, 22, 52))
    c.fill_rect(1, 1, 15, 15, (16, 22, 52))
    c.fill_rect(2, 1, 14, 15, vertical_gradient(1, 15, (100, 124, 204),
                                                (40, 54, 116)))
    leds = [(88, 226, 120), (88, 226, 120), (120, 190, 255)]
    for i, led in enumerate(leds):
        y = 2 + i * 4
        c.fill_rect(3, y, 13, y + 3, vertical_gradient(y, y + 3,
                                                       (240, 243, 250),
                                                       (150, 162, 200)))
        c.fill_rect(4, y + 1, 5, y + 2, (84, 96, 140))
        c.fill_rect(6, y + 1, 7, y + 2, (84, 96, 140))
        c.fill_rect(11, y + 1, 12, y + 2, led)
    return c


# ---------------------------------------------------------------------------
# The layout for the dialog: checked against the background, written as a
# C++ header
# ---------------------------------------------------------------------------

def control_boxes():
    """Every control the dialog places, in the header's order: name, box
    (left, top, width, height) and what it is."""
    button = ACTION_POS + BUTTON_SIZE
    return [
        ("kTitle", TITLE_BOX,
         "The window's title: one line of its font with the descenders, "
         "dark red on the light title band."),
        ("kHeading", HEADING_BOX,
         "The state's heading, white on the header strip."),
        ("kDescription", DESCRIPTION_BOX,
         "The state's description, white on the body."),
        ("kCloseButton", CLOSE_POS + CLOSE_SIZE,
         "The close button: its face's size."),
        ("kActionButton", button,
         "Install or Remove: the push button face's size."),
        ("kFinishButton", button,
         "Finish, in the place of Install or Remove."),
        ("kCancelButton", CANCEL_POS + BUTTON_SIZE,
         "Cancel: the push button face's size."),
        ("kLaunchCheck", CHECK_POS + (CHECK_CONTROL_WIDTH,
                                      CHECK_CONTROL_HEIGHT),
         "The launch check box: its glyph's height and 4; its text ends "
         "where the description's does."),
        ("kProgressBar", PROGRESS_BOX,
         "The progress bar, in the check box's row while the work runs."),
    ]


def check_layout():
    """Each control lies on the area of the background kept calm for it."""
    band = (0, 0, WIDTH, TITLE_BAND_BOTTOM - 1)
    header = (0, TITLE_BAND_BOTTOM + 1, WIDTH, HEADER_BOTTOM)
    body = (SIDE_PANEL[2], HEADER_BOTTOM + 2, WIDTH, BUTTON_BAR_TOP)
    bar = (0, BUTTON_BAR_TOP + 2, WIDTH, HEIGHT)
    areas = {
        "kTitle": band, "kCloseButton": band, "kHeading": header,
        "kDescription": body, "kLaunchCheck": body, "kProgressBar": body,
        "kActionButton": bar, "kFinishButton": bar, "kCancelButton": bar,
    }
    for name, (x, y, w, h), _ in control_boxes():
        x0, y0, x1, y1 = areas[name]
        if not (x0 <= x and y0 <= y and x + w <= x1 and y + h <= y1):
            raise AssertionError("%s lies outside its area of the skin" %
                                 name)


def colorref(color):
    return "RGB(%d, %d, %d)" % color


def layout_header():
    """skin_layout.h: the skin's size, colours and control places for the
    dialog, in a fixed order so that every run writes the same bytes."""
    lines = [
        "// The wizard skin's layout, written by res/skin/make_skin.py "
        "with the skin's bitmaps:",
        "// change the generator, not this file. Pixels of the background "
        "bitmap, which is the",
        "// window's client area.",
        "#pragma once",
        "",
        "#include <windows.h>",
        "",
        "namespace skin_layout {",
        "",
        "// A control's place: left, top, width and height.",
        "struct Box {",
        "    int x;",
        "    int y;",
        "    int width;",
        "    int height;",
        "};",
        "",
        "// The background bitmap's size.",
        "constexpr int kWidth = %d;" % WIDTH,
        "constexpr int kHeight = %d;" % HEIGHT,
        "// The background's colour outside the window's region.",
        "constexpr COLORREF kKeyColor = %s;" % colorref(MAGENTA),
        "// The body's blue, which the check box paints behind its glyph "
        "too.",
        "constexpr COLORREF kBodyColor = %s;" % colorref(BODY),
    ]
    for name, box, what in control_boxes():
        lines += ["", "// " + what,
                  "constexpr Box %s = {%d, %d, %d, %d};" % ((name,) + box)]
    lines += ["", "} // namespace skin_layout", ""]
    return "\n".join(lines)


def write_layout_header(path):
    with open(path, "wb") as f:
        f.write(layout_header().encode("ascii"))


# ---------------------------------------------------------------------------
# Preview
# ---------------------------------------------------------------------------

def checkerboard(width, height, cell=8):
    c = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            dark = ((x // cell) + (y // cell)) % 2
            c.set(x, y, (196, 198, 202) if dark else (226, 228, 232))
    return c


def text_bar(c, x, y, width, height, color, opacity=0.9):
    """Rounded bar standing in for a line of text."""
    c.fill(RoundRect(x, y, x + width, y + height, height / 2.0), color,
           opacity)


def compose_window(faces, background):
    """The wizard as it appears after a successful install."""
    win = background.crop(0, 0, WIDTH, HEIGHT)
    for i, p in enumerate(win.px):
        if tuple(int(round(v)) for v in p[:3]) == MAGENTA:
            win.px[i] = [0, 0, 0, 0.0]
    tx, ty = TITLE_BOX[:2]
    hx, hy = HEADING_BOX[:2]
    dx, dy = DESCRIPTION_BOX[:2]
    text_bar(win, tx, ty + 3, 170, 9, (85, 0, 0))
    text_bar(win, hx, hy + 3, 250, 10, (255, 255, 255))
    text_bar(win, dx, dy + 3, 320, 8, (255, 255, 255), 0.8)
    text_bar(win, dx, dy + 17, 240, 8, (255, 255, 255), 0.8)
    win.paste(faces["close_normal"], *CLOSE_POS)
    win.paste(faces["button_hover"], *ACTION_POS)
    win.paste(faces["button_normal"], *CANCEL_POS)
    for pos in (ACTION_POS, CANCEL_POS):
        text_bar(win, pos[0] + 35, pos[1] + 8, 41, 6, (255, 255, 255))
    glyph = faces["check_on"]
    cx, cy = CHECK_POS
    win.fill_rect(cx, cy, cx + CHECK_CONTROL_WIDTH, cy + CHECK_CONTROL_HEIGHT,
                  CHECK_FILL)
    gy = cy + CHECK_CONTROL_HEIGHT // 2 - glyph.height // 2
    win.paste(glyph, cx, gy)
    text_bar(win, cx + glyph.width + 4, gy + 8, 150, 8, (255, 255, 255))
    return win


def sheet_row(images, gap):
    """Total width and height of images laid side by side."""
    return (sum(i.width for i in images) + gap * (len(images) - 1),
            max(i.height for i in images))


def make_preview(background, faces, icons):
    """Mock-up of the window above a sheet of every face and icon."""
    margin, gap = 24, 12
    rows = [
        [faces[n].scaled(2) for n in ("button_normal", "button_hover",
                                      "button_pressed")],
        [faces[n].scaled(3) for n in ("close_normal", "close_hover",
                                      "close_disabled", "check_off",
                                      "check_on", "radio_off", "radio_on")],
        [icon.scaled(2) for icon in icons] + icons,
    ]
    sizes = [sheet_row(row, gap) for row in rows]
    width = max([WIDTH] + [w for w, _ in sizes]) + 2 * margin
    height = HEIGHT + 2 * margin + sum(h + margin for _, h in sizes)
    out = checkerboard(width, height)
    out.paste(compose_window(faces, background), margin, margin)
    y = HEIGHT + 2 * margin
    for row, (_, row_h) in zip(rows, sizes):
        x = margin
        for image in row:
            out.paste(image, x, y)
            x += image.width + gap
        y += row_h + margin
    return out


# ---------------------------------------------------------------------------
# Main
# ---------------------------------------------------------------------------

def build_all():
    background = make_background()
    faces = {
        "button_normal": make_button(background, "normal"),
        "button_pressed": make_button(background, "pressed"),
        "button_hover": make_button(background, "hover"),
        "close_normal": make_close(background, "normal"),
        "close_hover": make_close(background, "hover"),
        "close_disabled": make_close(background, "disabled"),
        "check_off": make_check(False),
        "check_on": make_check(True),
        "radio_off": make_radio(False),
        "radio_on": make_radio(True),
    }
    icons = [make_icon(48), make_icon(32), make_icon_16()]
    return background, faces, icons


def write_face(path, canvas, bpp):
    """A face or the background as BMP; 32 bpp faces are written fully
    opaque (the controls copy them with BitBlt, which takes no alpha)."""
    rows = canvas.rows()
    if bpp == 32:
        rows = [[p[:3] + (255,) for p in row] for row in rows]
    image_files.write_bmp(path, rows, bpp)


def write_all(outdir, background, faces, icons):
    os.makedirs(outdir, exist_ok=True)
    write_face(os.path.join(outdir, "background.bmp"), background, 24)
    bpp = {"close_normal": 32, "close_hover": 32}
    for name in sorted(faces):
        write_face(os.path.join(outdir, name + ".bmp"), faces[name],
                   bpp.get(name, 24))
    image_files.write_ico(os.path.join(outdir, "setup.ico"),
                          [(icons[0].rows(), 32), (icons[1].rows(), 32),
                           (icons[2].rows(), 24)])
    write_layout_header(os.path.join(outdir, "skin_layout.h"))


def parse_args(argv):
    outdir, preview = None, None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview" and args:
            preview = args.pop(0)
        elif not arg.startswith("-") and outdir is None:
            outdir = arg
        else:
            return None, None
    return outdir, preview


def main(argv):
    outdir, preview = parse_args(argv[1:])
    if outdir is None:
        sys.stderr.write("usage: make_skin.py OUTDIR [--preview OUT.png]\n")
        return 2
    check_layout()
    background, faces, icons = build_all()
    write_all(outdir, background, faces, icons)
    if preview:
        image_files.write_png(
            preview, make_preview(background, faces, icons).rows(alpha=False))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
