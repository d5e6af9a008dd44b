#!/usr/bin/python3
"""Draws Quipstream's pictures and writes them under resources/.

  resources/quipstream.ico        application icon: 16, 20, 24, 32, 48 px as
                                  32-bit DIBs, 256 px as PNG
  resources/pictures16.bmp ...32  one strip per size (16, 20, 24, 32 px), the
                                  cells in the order of PICTURES below; 32-bit
                                  top-down BGRA with straight alpha

The build only embeds these files, so run this script again (standard library
only) after changing a drawing, and commit what it writes.

  /usr/bin/python3 scripts/make_pictures.py [--preview DIR]

--preview also writes enlarged PNGs to DIR for looking at them.

Drawings are in a 16-unit design grid and are rendered with signed distance
fields: coverage = clamp(0.5 - distance_in_pixels), so edges that fall on
pixel boundaries stay sharp at 16 and 32 px.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")

# Must match the cell order in src/platform/win32/win32_pictures.h.
PICTURES = ["folder", "clipboard", "add", "edit", "delete", "move_up", "move_down"]
STRIP_SIZES = [16, 20, 24, 32]
ICON_SIZES = [16, 20, 24, 32, 48, 256]


# --- shapes: signed distance in design units, negative inside ---------------

def rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def srect(c, x0, y0, x1, y1, r=0.0):
    """A rectangle whose edges are moved onto pixel boundaries."""
    return rect(c.snap(x0), c.snap(y0), c.snap(x1), c.snap(y1), r)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, width):
    """A stroke with round caps."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
    return sdf


def polygon(points):
    n = len(points)

    def sdf(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - t * ex, wy - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -best if inside else best
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def inset(shape, amount):
    return lambda x, y: shape(x, y) + amount


def outline(shape, width):
    """A band of the given width just inside the shape's edge."""
    return lambda x, y: max(shape(x, y), -(shape(x, y) + width))


# --- paints: colour at a design point ------------------------------------------

def hexrgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255 for i in (0, 2, 4))


def solid(colour):
    rgb = hexrgb(colour)
    return lambda x, y: rgb


def vertical(top, y0, bottom, y1):
    a, b = hexrgb(top), hexrgb(bottom)

    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))
    return paint


# --- canvas -------------------------------------------------------------------

class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / 16.0
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]  # straight RGBA

    def snap(self, v):
        """The nearest design coordinate that falls on a pixel boundary."""
        return round(v * self.scale) / self.scale

    def rim(self):
        """Outline width in design units: one pixel on small pictures."""
        px = 1.0 if self.size < 32 else 1.5 if self.size < 48 else 2.0 + (self.size - 48) / 52
        return px / self.scale

    def fill(self, shape, paint, opacity=1.0):
        """Composites the shape over what is there."""
        s = self.scale
        for py in range(self.size):
            row = self.px[py]
            y = (py + 0.5) / s
            for px in range(self.size):
                x = (px + 0.5) / s
                cover = 0.5 - shape(x, y) * s
                if cover <= 0.0:
                    continue
                a = min(cover, 1.0) * opacity
                r, g, b = paint(x, y)
                dr, dg, db, da = row[px]
                oa = a + da * (1 - a)
                if oa <= 0:
                    continue
                row[px] = ((r * a + dr * da * (1 - a)) / oa,
                           (g * a + dg * da * (1 - a)) / oa,
                           (b * a + db * da * (1 - a)) / oa, oa)

    def bytes_bgra(self, top_down=True):
        rows = self.px if top_down else list(reversed(self.px))
        out = bytearray()
        for row in rows:
            for r, g, b, a in row:
                out += bytes((q(b), q(g), q(r), q(a)))
        return bytes(out)

    def bytes_rgba(self):
        out = bytearray()
        for row in self.px:
            for r, g, b, a in row:
                out += bytes((q(r), q(g), q(b), q(a)))
        return bytes(out)


def q(v):
    return max(0, min(255, int(round(v * 255))))


# --- the drawings (16-unit grid) --------------------------------------------------

def draw_badge(c, light, dark, rim):
    """The round base shared by the command pictures."""
    disc = circle(8, 8, 7.5)
    c.fill(disc, vertical(light, 1, dark, 15))
    c.fill(outline(disc, c.rim()), solid(rim))
    # A soft highlight on the upper half gives the badge some depth.
    if c.size >= 20:
        c.fill(intersect(circle(8, 8, 7.5 - c.rim()), rect(0, 0, 16, 7.5)), solid("#ffffff"), 0.16)


WHITE = solid("#ffffff")


def draw_add(c):
    draw_badge(c, "#5ccf6a", "#23913a", "#1b7a2f")
    c.fill(union(srect(c, 7, 4, 9, 12), srect(c, 4, 7, 12, 9)), WHITE)


def draw_delete(c):
    draw_badge(c, "#f26b5e", "#c9302c", "#a82420")
    w = 2.1
    c.fill(union(segment(5.3, 5.3, 10.7, 10.7, w), segment(10.7, 5.3, 5.3, 10.7, w)), WHITE)


def arrow_up(c):
    head = polygon([(8, 3.2), (12.6, 8.2), (3.4, 8.2)])
    shaft = srect(c, 7, 7, 9, 12.5)
    return union(head, shaft)


def draw_move_up(c):
    draw_badge(c, "#5aa7f0", "#1f6fc5", "#1a5ea8")
    c.fill(arrow_up(c), WHITE)


def draw_move_down(c):
    draw_badge(c, "#5aa7f0", "#1f6fc5", "#1a5ea8")
    up = arrow_up(c)
    c.fill(lambda x, y: up(x, 16 - y), WHITE)


def draw_edit(c):
    draw_badge(c, "#ffb547", "#e07b12", "#bf650b")
    # A pencil lying from the lower left (its point) to the upper right.
    ux, uy = 1 / math.sqrt(2), -1 / math.sqrt(2)   # along the pencil
    nx, ny = 1 / math.sqrt(2), 1 / math.sqrt(2)    # across it
    tip = (4.0, 12.0)
    half = 1.55
    body_start = 2.6
    length = 10.4

    def at(t, side):
        return (tip[0] + ux * t + nx * side, tip[1] + uy * t + ny * side)

    def along(x, y):
        return (x - tip[0]) * ux + (y - tip[1]) * uy
    pencil = polygon([tip, at(body_start, -half), at(length, -half), at(length, half),
                      at(body_start, half)])
    c.fill(pencil, WHITE)
    if c.size >= 20:
        # The band between body and eraser, and the graphite point.
        c.fill(intersect(pencil, lambda x, y: abs(along(x, y) - 8.2) - 0.35), solid("#e07b12"))
        c.fill(intersect(pencil, lambda x, y: along(x, y) - 1.2), solid("#7a4a14"))


def draw_folder(c):
    back = union(srect(c, 1, 2, 7.5, 6, 1.0), srect(c, 1, 3.5, 15, 14, 1.0))
    c.fill(back, vertical("#e9b03a", 2, "#d08f16", 14))
    c.fill(outline(back, c.rim()), solid("#a86f0c"))
    front = srect(c, 1, 6, 15, 14, 1.0)
    c.fill(front, vertical("#ffe38a", 6, "#f6c03e", 14))
    c.fill(outline(front, c.rim()), solid("#b9800f"))
    if c.size >= 20:
        top = c.snap(6) + c.rim()
        c.fill(rect(2, top, 14, top + 1 / c.scale), solid("#ffffff"), 0.5)


def draw_clipboard(c):
    board = srect(c, 2, 2, 14, 16, 1.25)
    c.fill(board, vertical("#b98a5a", 2, "#8d6239", 16))
    c.fill(outline(board, c.rim()), solid("#6b4525"))
    c.fill(srect(c, 3.5, 4, 12.5, 14.5), solid("#ffffff"))
    lines = solid("#8aa2bd")
    if c.size < 24:
        for y, x1 in ((7, 11), (9, 11), (11, 9)):
            c.fill(srect(c, 5, y, x1, y + 1), lines)
    else:
        line = 1 / c.scale if c.size < 32 else 0.75
        for y, x1 in ((6.5, 11), (8.5, 11), (10.5, 11), (12.5, 9)):
            top = c.snap(y)
            c.fill(rect(c.snap(5), top, c.snap(x1), top + line), lines)
    clip = union(srect(c, 5, 1, 11, 5, 1.0), circle(8, 1.5, 1.4))
    c.fill(clip, vertical("#eef2f6", 0, "#9aa6b2", 5))
    c.fill(outline(clip, c.rim()), solid("#5e6b78"))
    if c.size >= 24:
        c.fill(circle(8, 1.5, 0.55), solid("#5e6b78"))


def draw_app(c):
    """A speech bubble of text lines with a typing caret: short texts, typed."""
    body = srect(c, 0, 1, 16, 12, 2.5)
    tail = polygon([(c.snap(3), 10.5), (7.5, 10.5), (c.snap(3), 15.6)])
    bubble = union(body, tail)
    c.fill(bubble, vertical("#5b97fa", 1, "#2254c4", 15.5))
    c.fill(outline(bubble, c.rim()), solid("#1a429a"))
    if c.size >= 48:
        c.fill(intersect(inset(body, c.rim()), rect(0, 0, 16, 5.5)), solid("#ffffff"), 0.12)
    caret = solid("#ffd54a")
    if c.size < 24:
        c.fill(srect(c, 3, 3, 13, 5), WHITE)
        c.fill(srect(c, 3, 7, 9, 9), WHITE)
        c.fill(srect(c, 10, 6.25, 11.6, 9.75), caret)
    else:
        lw = 1.5 if c.size < 48 else 1.4
        for y, x1 in ((3.5, 13), (6.25, 11.5), (9, 8)):
            if c.size < 48:
                c.fill(srect(c, 3, y, x1, y + lw), WHITE)
            else:
                top = c.snap(y)
                c.fill(rect(c.snap(3), top, c.snap(x1), top + lw, lw / 2), WHITE)
        caret_w = 1.5 if c.size < 48 else 1.25
        x0 = c.snap(9.5)
        c.fill(rect(x0, c.snap(8.4), x0 + caret_w, c.snap(11.1), caret_w / 3 if c.size >= 48 else 0),
               caret)


DRAWINGS = {
    "folder": draw_folder, "clipboard": draw_clipboard, "add": draw_add, "edit": draw_edit,
    "delete": draw_delete, "move_up": draw_move_up, "move_down": draw_move_down,
}


def render(draw, size):
    c = Canvas(size)
    draw(c)
    return c


# --- file formats ---------------------------------------------------------------

def png(width, height, rgba):
    raw = b"".join(b"\x00" + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_dib(c):
    """An icon image: BITMAPINFOHEADER of double height, bottom-up BGRA, AND mask."""
    n = c.size
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(c.px):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if q(a) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + c.bytes_bgra(top_down=False) + bytes(mask)


def ico(canvases):
    images = []
    for c in canvases:
        images.append(png(c.size, c.size, c.bytes_rgba()) if c.size >= 256 else icon_dib(c))
    out = struct.pack("<HHH", 0, 1, len(canvases))
    offset = 6 + 16 * len(canvases)
    for c, data in zip(canvases, images):
        side = 0 if c.size >= 256 else c.size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def bmp32(width, height, bgra_top_down):
    """A 32-bit BMP file, top-down (negative height), straight alpha."""
    info = struct.pack("<IiiHHIIiiII", 40, width, -height, 1, 32, 0, len(bgra_top_down),
                       3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bgra_top_down), 0, 0, offset)
    return header + info + bgra_top_down


def strip(size):
    cells = [render(DRAWINGS[name], size) for name in PICTURES]
    width = size * len(cells)
    rows = bytearray()
    for y in range(size):
        for c in cells:
            for r, g, b, a in c.px[y]:
                rows += bytes((q(b), q(g), q(r), q(a)))
    return width, cells, bytes(rows)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT))


def main(argv):
    preview = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    if preview:
        os.makedirs(preview, exist_ok=True)

    icons = [render(draw_app, n) for n in ICON_SIZES]
    write(os.path.join(RESOURCES, "quipstream.ico"), ico(icons))
    for size in STRIP_SIZES:
        width, cells, data = strip(size)
        write(os.path.join(RESOURCES, "pictures%d.bmp" % size), bmp32(width, size, data))
        if preview:
            rgba = bytearray()
            for y in range(size):
                for c in cells:
                    for r, g, b, a in c.px[y]:
                        rgba += bytes((q(r), q(g), q(b), q(a)))
            write(os.path.join(preview, "strip%d.png" % size), png(width, size, bytes(rgba)))
    if preview:
        for c in icons:
            write(os.path.join(preview, "app%d.png" % c.size), png(c.size, c.size, c.bytes_rgba()))


if __name__ == "__main__":
    main(sys.argv[1:])
