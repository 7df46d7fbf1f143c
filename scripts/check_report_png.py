#!/usr/bin/env python3
"""Checks screenshots of the HTML reports: the header grey and the given cell
colours are there, and there is dark text. Decodes the PNG itself (8-bit RGB
or RGBA, not interlaced), so it needs nothing beyond Python.
    check_report_png.py PICTURE.png=RRGGBB,RRGGBB,... ..."""
import struct
import sys
import zlib

HEADER_GREY = (0xE0, 0xE0, 0xE0)  # the header cells' background


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, color, _, _, interlace = header
    if depth != 8 or color not in (2, 6) or interlace:
        raise ValueError(f"{path}: unsupported PNG layout {header}")
    channels = 3 if color == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b, c = prev[i], prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line))
        prev = line
    return width, height, channels, rows


def count_colours(path):
    width, height, channels, rows = read_png(path)
    counts = {}
    for row in rows:
        for x in range(0, width * channels, channels):
            pixel = tuple(row[x:x + 3])
            counts[pixel] = counts.get(pixel, 0) + 1
    return width * height, counts


def main(arguments):
    failures = []
    for argument in arguments:
        path, _, wanted = argument.partition("=")
        colours = [("header grey", HEADER_GREY)]
        for hex_digits in filter(None, wanted.split(",")):
            colours.append((hex_digits, tuple(int(hex_digits[i:i + 2], 16) for i in (0, 2, 4))))
        total, counts = count_colours(path)
        dark = sum(n for (r, g, b), n in counts.items() if r + g + b < 200)
        found = ", ".join(f"{name} {counts.get(colour, 0)}" for name, colour in colours)
        print(f"{path}: {total} pixels, {found}, dark {dark}")
        for name, colour in colours:
            if counts.get(colour, 0) < 500:
                failures.append(f"{path}: too little {name}")
        if dark < 2000:
            failures.append(f"{path}: hardly any text")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
