#!/usr/bin/env python3
"""Draw the KAMBRIX Setup icon and write it as setup.ico next to this script.

The icon holds exactly one image: 32 x 32 pixels, 16 colours (4 bits per
pixel, standard Windows VGA palette) with a 1-bit AND mask for transparency.
Only the Python standard library is used; the ICO/BMP bytes are written by
hand, so running the script always produces the same file.

Picture: a grey datalogger with a green measurement curve on its display,
and a CD in front of it (the programs are installed from a CD).
"""

import math
import os
import struct

SIZE = 32

# Standard Windows 16-colour palette (R, G, B), in index order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  dark red
    (0x00, 0x80, 0x00),  # 2  dark green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  silver
    (0x80, 0x80, 0x80),  # 8  grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 magenta
    (0x00, 0xFF, 0xFF),  # 14 cyan
    (0xFF, 0xFF, 0xFF),  # 15 white
]

BLACK, DKRED, DKGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

T = None  # transparent pixel


def new_canvas():
    return [[T] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    """Fill the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def hline(img, x0, x1, y, colour):
    rect(img, x0, y, x1, y, colour)


def vline(img, x, y0, y1, colour):
    rect(img, x, y0, x, y1, colour)


def line(img, x0, y0, x1, y1, colour):
    """Bresenham line between two points, inclusive."""
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    while True:
        img[y0][x0] = colour
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def draw_logger(img):
    # Body: black outline, silver face, white highlight, grey shadow.
    rect(img, 1, 3, 22, 23, BLACK)
    rect(img, 2, 4, 21, 22, SILVER)
    hline(img, 2, 20, 4, WHITE)
    vline(img, 2, 4, 21, WHITE)
    hline(img, 3, 21, 22, GREY)
    vline(img, 21, 5, 22, GREY)
    # Connector on top.
    rect(img, 5, 1, 9, 2, BLACK)
    rect(img, 6, 2, 8, 2, GREY)
    # Display: sunken frame, black screen, green measurement curve.
    hline(img, 4, 19, 6, GREY)
    vline(img, 4, 6, 15, GREY)
    hline(img, 5, 19, 15, WHITE)
    vline(img, 19, 7, 15, WHITE)
    rect(img, 5, 7, 18, 14, BLACK)
    for x in range(6, 18, 2):          # dotted grid line
        img[13][x] = DKGREEN
    curve = [(5, 12), (7, 10), (9, 11), (11, 8), (13, 9), (15, 12), (16, 10), (18, 9)]
    for (xa, ya), (xb, yb) in zip(curve, curve[1:]):
        line(img, xa, ya, xb, yb, LIME)
    # Status LEDs and keys below the display.
    img[18][5] = LIME
    img[18][7] = RED
    rect(img, 10, 18, 12, 19, GREY)
    hline(img, 10, 11, 18, WHITE)
    rect(img, 14, 18, 16, 19, GREY)
    hline(img, 14, 15, 18, WHITE)


def draw_cd(img):
    cx, cy = 22.0, 22.0        # centre (between pixels 21 and 22)
    under = [row[:] for row in img]
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d2 = dx * dx + dy * dy
            if d2 > 9.6 ** 2:
                continue
            if d2 > 8.6 ** 2:
                colour = BLACK                     # rim
            elif d2 <= 1.6 ** 2:
                colour = under[y][x]               # hole: see-through
            elif d2 <= 2.7 ** 2:
                colour = GREY                      # hole edge
            elif d2 <= 3.8 ** 2:
                colour = WHITE                     # clear hub
            else:
                # Silver disc with two wedge-shaped reflections (towards
                # the upper right and lower left), fringed with colour.
                angle = math.degrees(math.atan2(-dy, dx)) % 180.0
                off = angle - 45.0                 # 0 in the middle of a wedge
                if abs(off) < 15.0:
                    colour = WHITE
                elif abs(off) < 27.0:
                    colour = CYAN if off > 0 else MAGENTA
                else:
                    colour = SILVER
            img[y][x] = colour


def draw():
    img = new_canvas()
    draw_logger(img)
    draw_cd(img)
    return img


def encode_ico(img):
    """Return the bytes of a one-image 32x32 4-bit ICO file."""
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):            # BMP rows are stored bottom-up
        row = img[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        mask = bytearray(SIZE // 8)            # 4 bytes: already DWORD aligned
        for x in range(SIZE):
            if row[x] is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    xor_bits = b"".join(xor_rows)
    and_bits = b"".join(and_rows)

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack(
        "<IiiHHIIiiII",
        40,              # biSize
        SIZE,            # biWidth
        SIZE * 2,        # biHeight: XOR image plus AND mask
        1,               # biPlanes
        4,               # biBitCount
        0,               # biCompression = BI_RGB
        len(xor_bits) + len(and_bits),
        0, 0,            # resolution
        0, 0,            # colours used / important
    )
    image = header + palette + xor_bits + and_bits

    icondir = struct.pack("<HHH", 0, 1, 1)     # reserved, type = icon, count
    entry = struct.pack(
        "<BBBBHHII",
        SIZE, SIZE,      # width, height
        16,              # colours in palette
        0,               # reserved
        1,               # planes
        4,               # bits per pixel
        len(image),
        6 + 16,          # offset of the image data
    )
    return icondir + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "setup.ico")
    with open(out, "wb") as f:
        f.write(encode_ico(draw()))


if __name__ == "__main__":
    main()
