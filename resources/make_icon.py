#!/usr/bin/env python3
"""Draws the programs' icon, a page of text lines with an arrow pointing down
past its end, and writes it as a Windows .ico of nine bitmap images: 48, 32 and
16 pixels at 4, at 8 and at 32 bits per pixel, in that order.

The drawing is made of shapes on a 48-unit grid whose edges fall on multiples
of 3 units, so that at 16 pixels every line and border lands on whole pixels.
The output depends on nothing but this file: running it again gives the same
bytes.

Usage: make_icon.py OUTPUT.ico [PREVIEW.png]
"""
import struct
import sys
import zlib

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
SUPERSAMPLE = 4

# Logical colours; None is transparent.
BORDER = (0x33, 0x3B, 0x48)
PAGE = (0xFF, 0xFF, 0xFF)
FOLD = (0xC4, 0xCB, 0xD4)
TEXT = (0x2B, 0x57, 0x97)
ARROW = (0x1E, 0x9E, 0x3A)
ARROW_EDGE = (0x13, 0x6B, 0x27)

# The 16 colours every display can show, and what each logical colour
# becomes there.
VGA16 = [
    (0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0),
    (0, 0, 0x80), (0x80, 0, 0x80), (0, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0, 0), (0, 0xFF, 0), (0xFF, 0xFF, 0),
    (0, 0, 0xFF), (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
VGA16_OF = {BORDER: 0, PAGE: 15, FOLD: 7, TEXT: 4, ARROW: 2, ARROW_EDGE: 0}

# Exact colours for 256-colour displays; the rest of the palette is unused.
PALETTE8 = [(0, 0, 0), BORDER, PAGE, FOLD, TEXT, ARROW, ARROW_EDGE] + [(0, 0, 0)] * 249


def inside_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def colour_at(x, y):
    """The topmost shape's colour at a point of the 48-unit grid."""
    # The arrow, in front: a shaft and a head pointing down.
    head = ((27, 30), (48, 30), (37.5, 45))
    head_inner = ((30.5, 31.5), (44.5, 31.5), (37.5, 42))
    if 33 <= x < 42 and 15 <= y < 31.5:
        if 34.5 <= x < 40.5 and y >= 16.5:
            return ARROW
        return ARROW_EDGE
    if inside_triangle(x, y, *head):
        return ARROW if inside_triangle(x, y, *head_inner) else ARROW_EDGE
    # The page, its top right corner folded over.
    if 6 <= x < 33 and 3 <= y < 45:
        fold = x - 24 > y - 3  # above the fold's diagonal
        if fold:
            return None
        if x - 24 > y - 6 or (24 <= x < 27 and y < 12):
            return BORDER
        if x < 9 or x >= 30 or y < 6 or y >= 42:
            return BORDER
        if x - 24 > y - 12 and x >= 24:
            return FOLD
        for top, right in ((12, 27), (18, 27), (24, 24), (30, 27), (36, 21)):
            if top <= y < top + 3 and 12 <= x < right:
                return TEXT
        return PAGE
    return None


def render(size):
    """Rows of pixels, top first: (majority colour, (r, g, b, a))."""
    scale = 48 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            counts = {}
            r = g = b = opaque = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) * scale
                    y = (py + (sy + 0.5) / SUPERSAMPLE) * scale
                    c = colour_at(x, y)
                    counts[c] = counts.get(c, 0) + 1
                    if c is not None:
                        r, g, b, opaque = r + c[0], g + c[1], b + c[2], opaque + 1
            # Ties go to the earliest colour in a fixed order, not to chance.
            order = [None, BORDER, PAGE, FOLD, TEXT, ARROW, ARROW_EDGE]
            majority = max(order, key=lambda c: (counts.get(c, 0), -order.index(c)))
            samples = SUPERSAMPLE * SUPERSAMPLE
            rgba = (0, 0, 0, 0) if opaque == 0 else (
                round(r / opaque), round(g / opaque), round(b / opaque),
                round(255 * opaque / samples))
            row.append((majority, rgba))
        rows.append(row)
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_bits(values, bits):
    out = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bits * (j + 1))
        out.append(byte)
    return bytes(out)


def bitmap(size, depth):
    rows = render(size)
    palette = {4: VGA16, 8: PALETTE8}.get(depth, [])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom row first
        if depth == 32:
            pixels += b"".join(struct.pack("<BBBB", b, g, r, a) for _, (r, g, b, a) in row)
        else:
            index = VGA16_OF if depth == 4 else {c: PALETTE8.index(c) for c in VGA16_OF}
            pixels += padded(pack_bits([0 if c is None else index[c] for c, _ in row], depth))
        transparent = [(rgba[3] == 0) if depth == 32 else (c is None) for c, rgba in row]
        mask += padded(pack_bits([1 if t else 0 for t in transparent], 1))
    return header + colours + bytes(pixels) + bytes(mask)


def icon():
    images = [(size, depth, bitmap(size, depth)) for depth in DEPTHS for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, data in images:
        colour_count = 16 if depth == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, depth, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def preview(path):
    """All nine images side by side on a light grey ground, eight times larger."""
    zoom, gap = 8, 8
    width = sum(SIZES) * zoom * len(DEPTHS) + gap * 10
    height = 48 * zoom + 2 * gap
    canvas = [[(0xE8, 0xE8, 0xE8)] * width for _ in range(height)]
    x0 = gap
    for depth in DEPTHS:
        for size in SIZES:
            for py, row in enumerate(render(size)):
                for px, (c, (r, g, b, a)) in enumerate(row):
                    if depth == 32:
                        ground = canvas[gap][0]
                        colour = tuple(round((v * a + gv * (255 - a)) / 255)
                                       for v, gv in zip((r, g, b), ground))
                        colour = colour if a else None
                    elif c is None:
                        colour = None
                    else:
                        colour = VGA16[VGA16_OF[c]] if depth == 4 else c
                    if colour is None:
                        continue
                    for dy in range(zoom):
                        for dx in range(zoom):
                            canvas[gap + py * zoom + dy][x0 + px * zoom + dx] = colour
            x0 += size * zoom + gap
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in canvas)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "wb") as f:
        f.write(icon())
    if len(argv) == 3:
        preview(argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
