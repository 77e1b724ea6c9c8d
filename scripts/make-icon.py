#!/usr/bin/env python3
"""Draws the program's icon: twelve quilt patches laid out like a phone keypad
(3 columns x 4 rows) on a rounded dark tile. Writes a Windows .ico with the
sizes Windows asks for at 100-200 % scaling and in Explorer's large views:
16, 20, 24, 32, 40, 48 and 64 pixels as 32-bit bitmaps, 256 pixels as PNG.
Usage: scripts/make-icon.py OUTPUT.ico"""
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

INDIGO = (0x3B, 0x3F, 0x8C)
SAFFRON = (0xF2, 0xA5, 0x2C)
CREAM = (0xF7, 0xEE, 0xD8)
ROSE = (0xD9, 0x5B, 0x6A)
TILE = (0x22, 0x24, 0x33)
PATCHES = [SAFFRON, CREAM, ROSE, CREAM, ROSE, SAFFRON,
           ROSE, SAFFRON, CREAM, INDIGO, INDIGO, INDIGO]


def draw(size):
    """Returns rows (top first) of (r, g, b, a) pixels."""
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    radius = size // 6
    for y in range(size):
        for x in range(size):
            cx = min(x, size - 1 - x)
            cy = min(y, size - 1 - y)
            if cx < radius and cy < radius:
                dx, dy = radius - cx - 0.5, radius - cy - 0.5
                if dx * dx + dy * dy > radius * radius:
                    continue
            pixels[y][x] = TILE + (255,)
    margin = max(2, size // 8)
    gap = max(1, size // 32)
    seam = max(1, size // 48)
    cell_w = (size - 2 * margin - 2 * gap) // 3
    cell_h = (size - 2 * margin - 3 * gap) // 4
    left = (size - (3 * cell_w + 2 * gap)) // 2
    top = (size - (4 * cell_h + 3 * gap)) // 2
    for index, colour in enumerate(PATCHES):
        row, col = divmod(index, 3)
        x0 = left + col * (cell_w + gap)
        y0 = top + row * (cell_h + gap)
        for y in range(y0, y0 + cell_h):
            for x in range(x0, x0 + cell_w):
                shade = colour
                # A diagonal seam through every second patch, as on a quilt.
                if (row + col) % 2 == 0 and \
                        abs((x - x0) - (y - y0) * cell_w // max(cell_h, 1)) < seam:
                    shade = tuple(max(0, c - 60) for c in colour)
                pixels[y][x] = shade + (255,)
    return pixels


def bitmap(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    return header + bytes(xor) + bytes(and_mask)


def png(size):
    """The image as a PNG file: RGBA, 8 bits per channel."""
    raw = bytearray()
    for row in draw(size):
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    sizes = SIZES
    images = [png(s) if s >= 256 else bitmap(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        # A size of 256 is written as 0 in the directory's byte.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
