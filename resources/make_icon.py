#!/usr/bin/env python3
"""Draws the program's icon: a window gliding right and down, leaving an outline and speed
lines behind it. Writes a .ico with 16x16, 32x32 and 48x48 images in 16 colours (4 bits per
pixel), so the artwork is reproducible from this file alone.

usage: make_icon.py OUTPUT.ico [PREVIEW.ppm]
"""

import struct
import sys

# The 16 standard colours, in their usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GRAY, RED, BLUE, CYAN, WHITE = 0, 4, 6, 7, 8, 9, 12, 14, 15
CLEAR = None

# Per size: (ghost window, moving window, title bar height, speed line rows as fractions of
# the moving window's body). Rectangles are left, top, right, bottom, inclusive.
LAYOUT = {
    16: ((0, 1, 9, 9), (5, 5, 15, 14), 2, (0.35, 0.75)),
    32: ((1, 3, 18, 18), (11, 10, 30, 28), 4, (0.25, 0.5, 0.75)),
    48: ((2, 4, 27, 27), (17, 15, 45, 42), 6, (0.2, 0.4, 0.6, 0.8)),
}


def frame(pixels, rect, border, title, body, title_height):
    left, top, right, bottom = rect
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x in (left, right) or y in (top, bottom):
                colour = border
            elif y <= top + title_height:
                colour = title
            else:
                colour = body
            if colour is not CLEAR:
                pixels[y][x] = colour


def draw(size):
    ghost, window, title_height, rows = LAYOUT[size]
    pixels = [[CLEAR] * size for _ in range(size)]
    # Where the window was: an outline with a faded title bar.
    frame(pixels, ghost, GRAY, SILVER, CLEAR, title_height)
    # Speed lines trail from the outline to the moving window's left edge.
    left, top, _, bottom = window
    body_top = top + title_height + 1
    for fraction in rows:
        y = body_top + round((bottom - body_top) * fraction)
        start = max(0, left - size // 3)
        for x in range(start, left - 1):
            # Fainter at the far end.
            pixels[y][x] = TEAL if x < start + (left - start) // 3 else CYAN
    # The moving window itself, in front.
    frame(pixels, window, BLACK, BLUE, WHITE, title_height)
    # Close box at the right of its title bar, from 32 pixels up.
    if size >= 32:
        box = title_height - 1
        right = window[2] - 2
        for y in range(top + 2, top + 2 + box):
            for x in range(right - box + 1, right + 1):
                pixels[y][x] = RED
        # Text lines in the body.
        for n, y in enumerate(range(body_top + 3, bottom - 2, 4)):
            length = (window[2] - left - 6) * (3 if n % 2 else 4) // 4
            for x in range(left + 3, left + 3 + length):
                pixels[y][x] = NAVY if size == 48 else GRAY
    return pixels


def dib(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is CLEAR else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour_rows.append(data + b"\0" * (-len(data) % 4))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is CLEAR else 0)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, blobs = b"", b""
    for pixels in images:
        size = len(pixels)
        blob = dib(pixels)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return directory + entries + blobs


def preview(images, scale=4):
    """The three images side by side, enlarged, on a light background (binary PPM)."""
    width = sum(len(p) for p in images) * scale + scale * 2 * (len(images) + 1)
    height = max(len(p) for p in images) * scale + scale * 4
    canvas = [[(240, 240, 240)] * width for _ in range(height)]
    x0 = scale * 2
    for pixels in images:
        for y, row in enumerate(pixels):
            for x, p in enumerate(row):
                if p is CLEAR:
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        canvas[scale * 2 + y * scale + dy][x0 + x * scale + dx] = PALETTE[p]
        x0 += len(pixels) * scale + scale * 2
    body = b"".join(bytes(c for px in row for c in px) for row in canvas)
    return b"P6 %d %d 255\n" % (width, height) + body


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    images = [draw(size) for size in sorted(LAYOUT)]
    with open(argv[1], "wb") as out:
        out.write(ico(images))
    if len(argv) == 3:
        with open(argv[2], "wb") as out:
            out.write(preview(images))


if __name__ == "__main__":
    main(sys.argv)
