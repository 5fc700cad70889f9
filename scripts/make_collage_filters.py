#!/usr/bin/env python3
"""Writes the collage's built-in colour filters into Settings.bundle/filters/: one .cube table
(17 levels, red fastest) and one 100x56 cover picture per filter, and catalogue.json naming
them by their string keys. Run from the repository root; the output is committed."""
import json
import math
import os
import struct
import zlib

OUT = os.path.join("Settings.bundle", "filters")
SIZE = 17


def clamp(v):
    return 0.0 if v < 0 else 1.0 if v > 1 else v


def luma(r, g, b):
    return 0.299 * r + 0.587 * g + 0.114 * b


def warm(r, g, b):
    return r * 1.08 + 0.03, g * 1.02 + 0.01, b * 0.86


def cool(r, g, b):
    return r * 0.88, g * 1.0 + 0.01, b * 1.1 + 0.04


def mono(r, g, b):
    y = luma(r, g, b)
    return y, y, y


def sepia(r, g, b):
    return (0.393 * r + 0.769 * g + 0.189 * b, 0.349 * r + 0.686 * g + 0.168 * b,
            0.272 * r + 0.534 * g + 0.131 * b)


def vivid(r, g, b):
    y = luma(r, g, b)
    s = 1.45
    c = lambda v: 0.5 + (y + (v - y) * s - 0.5) * 1.1
    return c(r), c(g), c(b)


def fade(r, g, b):
    y = luma(r, g, b)
    d = lambda v: 0.12 + 0.78 * (y + (v - y) * 0.6)
    return d(r), d(g), d(b)


def negative(r, g, b):
    return 1 - r, 1 - g, 1 - b


FILTERS = [("warm", "Filter_Warm", warm), ("cool", "Filter_Cool", cool), ("mono", "Filter_Mono", mono),
           ("sepia", "Filter_Sepia", sepia), ("vivid", "Filter_Vivid", vivid), ("fade", "Filter_Fade", fade),
           ("negative", "Filter_Negative", negative)]


def write_cube(path, title, f):
    with open(path, "w", newline="\n") as out:
        out.write(f'TITLE "{title}"\nLUT_3D_SIZE {SIZE}\n')
        for b in range(SIZE):
            for g in range(SIZE):
                for r in range(SIZE):
                    rgb = f(r / (SIZE - 1), g / (SIZE - 1), b / (SIZE - 1))
                    out.write(" ".join(f"{clamp(v):.4f}" for v in rgb) + "\n")


def sample(x, y, w, h):
    """A small scene: sky gradient over a green field with a red and a yellow patch."""
    u, v = x / (w - 1), y / (h - 1)
    if v < 0.55:
        r, g, b = 0.35 + 0.3 * v, 0.55 + 0.3 * v, 0.95 - 0.2 * v
    else:
        r, g, b = 0.2 + 0.1 * u, 0.55 - 0.2 * (v - 0.55), 0.2
    if 0.15 < u < 0.35 and 0.35 < v < 0.8:
        r, g, b = 0.85, 0.2, 0.15
    if (u - 0.72) ** 2 + ((v - 0.3) * h / w) ** 2 < 0.012:
        r, g, b = 1.0, 0.85, 0.3
    return r, g, b


def write_png(path, w, h, f):
    rows = b""
    for y in range(h):
        row = bytearray([0])
        for x in range(w):
            row += bytes(int(round(clamp(c) * 255)) for c in f(*sample(x, y, w, h)))
        rows += bytes(row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def main():
    os.makedirs(OUT, exist_ok=True)
    entries = []
    for ident, key, f in FILTERS:
        write_cube(os.path.join(OUT, ident + ".cube"), ident, f)
        write_png(os.path.join(OUT, ident + "_cover.png"), 100, 56, lambda r, g, b, f=f: tuple(clamp(c) for c in f(r, g, b)))
        entries.append({"id": "builtin." + ident, "nameKey": key, "table": ident + ".cube", "cover": ident + "_cover.png"})
    with open(os.path.join(OUT, "catalogue.json"), "w", newline="\n") as out:
        json.dump({"filters": entries}, out, indent=2)
        out.write("\n")


if __name__ == "__main__":
    main()
