#!/usr/bin/env python3
"""Builds the program's pictures from the text drawings in images/.

    make_images.py <images dir> <output dir>

A drawing is one character per pixel. Its file declares what it becomes and
the colour of every character it uses:

    # comment
    output toolbar.bmp            (.bmp: a strip of frames, left to right;
                                   .ico: one image per frame; .cur: one frame)
    hotspot 15 15                 (cursors only: x y of the hot spot)
    colour . 192 192 192          (red green blue)
    colour _ transparent          (icons and cursors: the screen shows through)
    colour ~ inverse              (cursors only: the screen is inverted)
    frame <name>                  (then the frame's rows, all of one width;
                                   "#" starts a comment, never a row)

Bitmaps and icons use the standard 16-colour palette, so that the loader's
3-D colour mapping (which works on palette entries) can turn the light grey
background into the button face. Cursors are black and white.
"""

import os
import struct
import sys

# The standard 16-colour palette in its usual order.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = "transparent"
INVERSE = "inverse"


class DrawingError(Exception):
    pass


class Drawing:
    def __init__(self, path):
        self.path = path
        self.output = None
        self.hotspot = None
        self.colours = {}
        self.frames = []  # (name, rows)

    @property
    def width(self):
        return len(self.frames[0][1][0])

    @property
    def height(self):
        return len(self.frames[0][1])


def fail(path, line_no, message):
    where = "%s:%d" % (path, line_no) if line_no else path
    raise DrawingError("%s: %s" % (where, message))


def parse(path):
    drawing = Drawing(path)
    rows = None
    with open(path, encoding="ascii") as f:
        for line_no, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            words = line.split()
            if rows is not None and line and not line.startswith(("frame ", "#")):
                rows.append(line)
                continue
            if not words or words[0].startswith("#"):
                continue
            key = words[0]
            if key == "output" and len(words) == 2:
                drawing.output = words[1]
            elif key == "hotspot" and len(words) == 3:
                drawing.hotspot = (int(words[1]), int(words[2]))
            elif key == "colour" and len(words) in (3, 5) and len(words[1]) == 1 and words[1] != "#":
                if len(words) == 3 and words[2] in (TRANSPARENT, INVERSE):
                    drawing.colours[words[1]] = words[2]
                elif len(words) == 5:
                    rgb = tuple(int(w) for w in words[2:])
                    if any(c < 0 or c > 255 for c in rgb):
                        fail(path, line_no, "colour out of range")
                    drawing.colours[words[1]] = rgb
                else:
                    fail(path, line_no, "bad colour")
            elif key == "frame" and len(words) == 2:
                rows = []
                drawing.frames.append((words[1], rows))
            else:
                fail(path, line_no, "cannot read this line")
    check(drawing)
    return drawing


def check(drawing):
    path = drawing.path
    if not drawing.output:
        fail(path, 0, "no output named")
    if not drawing.frames:
        fail(path, 0, "no frame")
    kind = os.path.splitext(drawing.output)[1]
    for name, rows in drawing.frames:
        if not rows or any(len(r) != len(rows[0]) for r in rows):
            fail(path, 0, "frame %s is not a rectangle" % name)
        if kind != ".ico" and (len(rows), len(rows[0])) != (drawing.height, drawing.width):
            fail(path, 0, "frame %s differs in size from the first" % name)
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                colour = drawing.colours.get(ch)
                if colour is None:
                    fail(path, 0, "frame %s, row %d, column %d: no colour for %r" % (name, y, x, ch))
                if kind == ".cur":
                    if colour not in ((0, 0, 0), (255, 255, 255), TRANSPARENT, INVERSE):
                        fail(path, 0, "cursor colours are black, white, transparent and inverse")
                elif colour == INVERSE or (kind == ".bmp" and colour == TRANSPARENT):
                    fail(path, 0, "%r cannot be used in a %s" % (ch, kind))
                elif colour != TRANSPARENT and colour not in PALETTE16:
                    fail(path, 0, "%r is not a colour of the 16-colour palette" % ch)
    if kind == ".cur":
        if len(drawing.frames) != 1 or drawing.hotspot is None:
            fail(path, 0, "a cursor has one frame and a hot spot")
        x, y = drawing.hotspot
        if not (0 <= x < drawing.width and 0 <= y < drawing.height):
            fail(path, 0, "hot spot outside the picture")


def pack_rows(width, height, bits, pixel):
    """Bottom-up rows of `bits` bits per pixel, each padded to 4 bytes."""
    out = bytearray()
    stride = ((width * bits + 31) // 32) * 4
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            value = pixel(x, y)
            bit = x * bits
            row[bit // 8] |= value << (8 - bits - bit % 8)
        out += row
    return bytes(out)


def info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, colours, 0)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)


def strip_pixels(drawing):
    """The frames side by side as one grid of colours."""
    width = drawing.width * len(drawing.frames)
    grid = [[None] * width for _ in range(drawing.height)]
    for i, (_, rows) in enumerate(drawing.frames):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                grid[y][i * drawing.width + x] = drawing.colours[ch]
    return grid


def make_bmp(drawing):
    grid = strip_pixels(drawing)
    width, height = len(grid[0]), len(grid)
    bits = pack_rows(width, height, 4, lambda x, y: PALETTE16.index(grid[y][x]))
    header = info_header(width, height, 4, len(bits), 16) + palette_bytes(PALETTE16)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + header + bits


def icon_image(rows, colours):
    """One 4-bit icon image: header, palette, colour bits, mask bits."""
    width, height = len(rows[0]), len(rows)

    def colour_index(x, y):
        colour = colours[rows[y][x]]
        return 0 if colour == TRANSPARENT else PALETTE16.index(colour)

    xor = pack_rows(width, height, 4, colour_index)
    mask = pack_rows(width, height, 1, lambda x, y: 1 if colours[rows[y][x]] == TRANSPARENT else 0)
    return info_header(width, height * 2, 4, len(xor) + len(mask), 16) + palette_bytes(PALETTE16) + xor + mask


def cursor_image(rows, colours):
    """One monochrome cursor image; the mask decides what shows through."""
    width, height = len(rows[0]), len(rows)
    see_through = (TRANSPARENT, INVERSE)
    xor = pack_rows(width, height, 1, lambda x, y: 1 if colours[rows[y][x]] in ((255, 255, 255), INVERSE) else 0)
    mask = pack_rows(width, height, 1, lambda x, y: 1 if colours[rows[y][x]] in see_through else 0)
    palette = palette_bytes([(0, 0, 0), (255, 255, 255)])
    return info_header(width, height * 2, 1, len(xor) + len(mask), 2) + palette + xor + mask


def make_icon_file(drawing, cursor):
    images = []
    for _, rows in drawing.frames:
        data = cursor_image(rows, drawing.colours) if cursor else icon_image(rows, drawing.colours)
        images.append((len(rows[0]), len(rows), data))
    out = struct.pack("<HHH", 0, 2 if cursor else 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, data in images:
        if cursor:
            x, y = drawing.hotspot
            out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, x, y, len(data), offset)
        else:
            out += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def build(drawing):
    kind = os.path.splitext(drawing.output)[1]
    if kind == ".bmp":
        return make_bmp(drawing)
    if kind in (".ico", ".cur"):
        return make_icon_file(drawing, kind == ".cur")
    raise DrawingError("%s: unknown output kind %s" % (drawing.path, kind))


def write_file(path, data):
    # Always written, even when unchanged: the build tool compares times.
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_images.py <images dir> <output dir>\n")
        return 2
    source_dir, out_dir = argv[1], argv[2]
    os.makedirs(out_dir, exist_ok=True)
    try:
        for name in sorted(os.listdir(source_dir)):
            if name.endswith(".txt"):
                drawing = parse(os.path.join(source_dir, name))
                write_file(os.path.join(out_dir, drawing.output), build(drawing))
    except (DrawingError, ValueError) as e:
        sys.stderr.write("make_images.py: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
