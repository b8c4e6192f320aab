#!/usr/bin/env python3
"""Draws the three programs' icons as 16-colour (4 bpp) .ico files, 32x32 and 16x16.

Run from the repository root: python3 scripts/make_icons.py
The results are committed under launcher/ and maker/; the build only reads them.
"""
import struct

# The standard 16-colour VGA palette (B, G, R, 0 as stored in a DIB).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, WHITE, GREY, BLUE, YELLOW, SILVER = 0, 4, 6, 15, 8, 12, 11, 7
TRANSPARENT = None


def launcher_pixel(x, y, n, fill=BLUE, star=True):
    """A blue rounded tile with a white 'play' triangle and a small yellow star."""
    s = n / 32.0
    inset = 1 * s
    r = 5 * s
    fx, fy = x + 0.5, y + 0.5
    lo, hi = inset, n - inset
    if not (lo <= fx <= hi and lo <= fy <= hi):
        return TRANSPARENT
    cx = min(max(fx, lo + r), hi - r)
    cy = min(max(fy, lo + r), hi - r)
    if (fx - cx) ** 2 + (fy - cy) ** 2 > r * r:
        return TRANSPARENT
    if (fx - cx) ** 2 + (fy - cy) ** 2 > (r - s) ** 2 and (fx - cx or fy - cy):
        return NAVY
    if fx < lo + s or fx > hi - s or fy < lo + s or fy > hi - s:
        return NAVY
    # play triangle pointing right
    tx0, tx1 = 10 * s, 24 * s
    if tx0 <= fx <= tx1:
        half = (tx1 - fx) / (tx1 - tx0) * 8 * s
        if abs(fy - 16 * s) <= half:
            return WHITE
    if star and (fx - 25 * s) ** 2 + (fy - 7 * s) ** 2 <= (3 * s) ** 2:
        return YELLOW
    return fill


def standard_launcher_pixel(x, y, n):
    """kelmo.exe: the launcher's tile in teal, the 'play' triangle without the star."""
    return launcher_pixel(x, y, n, fill=TEAL, star=False)


def maker_pixel(x, y, n):
    """A white sheet with lines and a shortcut arrow in its corner."""
    s = n / 32.0
    fx, fy = x + 0.5, y + 0.5
    if 4 * s <= fx <= 26 * s and 2 * s <= fy <= 30 * s:
        if fx < 5 * s or fx > 25 * s or fy < 3 * s or fy > 29 * s:
            return GREY
        # the arrow box at the bottom left
        if 4 * s <= fx <= 16 * s and 18 * s <= fy <= 30 * s:
            if fx < 5 * s or fx > 15 * s or fy < 19 * s or fy > 29 * s:
                return BLACK
            ax, ay = fx - 5 * s, 29 * s - fy
            if abs(ax - ay) <= 1.2 * s and ax > 2 * s:
                return BLUE
            if (ay >= 7 * s and 5 * s <= ax <= 9.5 * s) or (ax >= 8 * s and 5 * s <= ay <= 9.5 * s):
                return BLUE
            return WHITE
        if n >= 32 and int(fy / s) % 4 == 0 and 8 * s <= fx <= 22 * s and fy < 17 * s:
            return NAVY
        if n < 32 and int(fy / s) % 6 == 0 and 8 * s <= fx <= 22 * s and fy < 17 * s:
            return NAVY
        return WHITE
    return TRANSPARENT


def image(pixel, n):
    rows_xor, rows_and = [], []
    for y in reversed(range(n)):  # DIBs are stored bottom-up
        line = bytearray()
        mask = 0
        bits = []
        for x in range(0, n, 2):
            a = pixel(x, y, n)
            b = pixel(x + 1, y, n)
            line.append(((a or 0) << 4) | (b or 0))
            bits += [a is TRANSPARENT, b is TRANSPARENT]
        while len(line) % 4:
            line.append(0)
        mask_bytes = bytearray()
        for i in range(0, n, 8):
            v = 0
            for j in range(8):
                v = (v << 1) | (1 if bits[i + j] else 0)
            mask_bytes.append(v)
        while len(mask_bytes) % 4:
            mask_bytes.append(0)
        rows_xor.append(bytes(line))
        rows_and.append(bytes(mask_bytes))
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + b''.join(rows_xor) + b''.join(rows_and)


def write_icon(path, pixel):
    images = [image(pixel, 32), image(pixel, 16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    write_icon('launcher/win/kelmoPro.ico', launcher_pixel)
    write_icon('launcher/win/kelmo.ico', standard_launcher_pixel)
    write_icon('maker/win/kelmoCM.ico', maker_pixel)
