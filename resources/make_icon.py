#!/usr/bin/env python3
"""Draws Velmora's application icon and writes it as velmora.ico.

One 48 x 48 image, 8 bits per pixel with a 256-colour palette and a 1-bit AND mask,
so the icon looks the same on every Windows version without needing an alpha channel.
Standard library only; run it from anywhere:  python3 resources/make_icon.py [out.ico]
"""

import os
import struct
import sys

SIZE = 48
SUBSAMPLES = 6  # per axis; enough to smooth the edges between shapes


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# Shapes are (inside(x, y), colour(x, y)) pairs, painted back to front.

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def union(*parts):
    return lambda x, y: any(p(x, y) for p in parts)


def solid(rgb):
    return lambda x, y: rgb


def vertical(top, bottom, y0, y1):
    def colour(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return lerp(top, bottom, t)
    return colour


def build_scene():
    outline_back = hexrgb("9C6A00")
    outline_front = hexrgb("A87400")
    paper_edge = hexrgb("8C96A3")
    scene = []

    # Back of the folder with its tab; the tab's slanted side reads as a folder at a glance.
    back = union(rounded_rect(3, 10, 45, 43, 2.5),
                 polygon([(3, 8), (4.5, 6), (12, 6), (15.5, 10.5), (3, 10.5)]))
    back_fill = union(rounded_rect(4, 11, 44, 42, 1.8),
                      polygon([(4, 8.5), (5, 7), (11.5, 7), (14.5, 11.5), (4, 11.5)]))
    scene.append((back, solid(outline_back)))
    scene.append((back_fill, vertical(hexrgb("F0B429"), hexrgb("D9961A"), 6, 42)))

    # The listing sheet standing in the folder.
    scene.append((rounded_rect(13, 3, 42, 36, 1.2), solid(paper_edge)))
    scene.append((rounded_rect(14, 4, 41, 36, 0.6), vertical(hexrgb("FFFFFF"), hexrgb("EEF2F6"), 4, 30)))

    # Rows of the listing: a small entry glyph followed by a name of varying length.
    row_colours = [hexrgb("2F6FD6"), hexrgb("E8A317"), hexrgb("2F6FD6"), hexrgb("3C9D4E")]
    text_grey = hexrgb("6B7785")
    for i, length in enumerate((19, 13, 17, 11)):
        top = 7 + i * 4.5
        scene.append((rounded_rect(16.5, top, 19.5, top + 3, 0.5), solid(row_colours[i])))
        scene.append((rounded_rect(21.5, top + 0.75, 21.5 + length * 0.85, top + 2.25, 0.4), solid(text_grey)))

    # Front of the folder, slightly tilted so the sheet shows above it.
    front_outline = polygon([(1.5, 21), (46.5, 21), (44.8, 43.5), (3.2, 43.5)])
    front_fill = polygon([(2.7, 22), (45.3, 22), (43.9, 42.5), (4.1, 42.5)])
    scene.append((front_outline, solid(outline_front)))
    scene.append((front_fill, vertical(hexrgb("FFE27A"), hexrgb("F7B500"), 22, 42.5)))
    # A highlight along the top edge of the front panel.
    scene.append((polygon([(2.7, 22), (45.3, 22), (45.2, 23.2), (2.8, 23.2)]), solid(hexrgb("FFF3BF"))))
    return scene


def render(scene):
    """Returns a list of rows, each a list of (r, g, b) or None for transparent."""
    n = SUBSAMPLES
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(n):
                y = py + (sy + 0.5) / n
                for sx in range(n):
                    x = px + (sx + 0.5) / n
                    colour = None
                    for inside, paint in reversed(scene):
                        if inside(x, y):
                            colour = paint(x, y)
                            break
                    if colour is not None:
                        covered += 1
                        for c in range(3):
                            acc[c] += colour[c]
            # The mask is one bit, so a pixel is either fully drawn or fully see-through.
            if covered * 2 >= n * n:
                row.append(tuple(int(round(acc[c] / covered)) for c in range(3)))
            else:
                row.append(None)
        rows.append(row)
    return rows


def median_cut(colours, count):
    """Reduces a list of distinct colours to at most `count` representatives."""
    boxes = [list(colours)]
    while len(boxes) < count:
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[k] for c in box) - min(c[k] for c in box) for k in range(3)]
            span = max(spans)
            if best is None or span > best[0]:
                best = (span, i, spans.index(span))
        if best is None or best[0] == 0:
            break
        _, i, axis = best
        box = sorted(boxes.pop(i), key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[k] for c in box) // len(box) for k in range(3)) for box in boxes]


def build_palette(rows):
    used = sorted({p for row in rows for p in row if p is not None})
    # Index 0 stays black: transparent pixels point at it so AND-then-XOR leaves the screen untouched.
    palette = [(0, 0, 0)]
    palette += used if len(used) <= 255 else median_cut(used, 255)
    lookup = {}
    for colour in used:
        lookup[colour] = min(range(1, len(palette)),
                             key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, lookup


def encode_ico(rows, palette, lookup):
    xor_stride = SIZE                      # 48 bytes, already a multiple of 4
    and_stride = ((SIZE + 31) // 32) * 4   # 1 bit per pixel, rows padded to 32 bits
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):             # DIB rows are stored bottom-up
        pixels += bytes(0 if p is None else lookup[p] for p in row)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    assert len(pixels) == xor_stride * SIZE

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0,
                         len(pixels) + len(mask), 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    image = header + colours + bytes(pixels) + bytes(mask)
    assert len(image) == 40 + 1024 + 2304 + 384 == 3752

    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                             "velmora.ico")
    rows = render(build_scene())
    palette, lookup = build_palette(rows)
    with open(out, "wb") as f:
        f.write(encode_ico(rows, palette, lookup))


if __name__ == "__main__":
    main()
