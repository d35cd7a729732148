#!/usr/bin/env python3
"""Draws the banner image (module/banner.png, 125 x 125), the toolbar
button's icon (module/vordo.ico, 16 x 16 and 32 x 32) and the browser
extension's icons (extension/icons/N.png): a white V on a blue tile. Run it again only to change them; the build uses the files as kept."""
import struct
import zlib

BLUE = (0x29, 0x29, 0x54)
LIGHT_BLUE = (0x53, 0x78, 0xA6)
WHITE = (0xFF, 0xFF, 0xFF)
PAPER = (0xFF, 0xFF, 0xE0)


def tile(size, paper=False):
    """RGBA rows of a blue tile with a white V, seen from the top row, on
    paper or on transparent ground."""
    rows = []
    margin = size // 8
    for y in range(size):
        row = []
        for x in range(size):
            inside = margin <= x < size - margin and margin <= y < size - margin
            colour, alpha = (PAPER, 255) if paper else ((0, 0, 0), 0)
            if inside:
                colour, alpha = (LIGHT_BLUE if y > size * 0.7 else BLUE), 255
                # The V: two strokes meeting at the bottom centre.
                t = (y - margin) / (size - 2 * margin)
                left = margin + t * (size / 2 - margin) + size * 0.06
                right = size - left
                stroke = size * 0.09
                if 0.15 < t < 0.85 and (abs(x - left) < stroke or abs(x - right) < stroke):
                    colour = WHITE
            row.append(colour + (alpha,))
        rows.append(row)
    return rows


def png(rows, alpha=False):
    size = len(rows)
    channels = 4 if alpha else 3
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel[:channels]) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6 if alpha else 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_image(rows):
    """A 32-bit BMP as icons store it: bottom row first, then an AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + b"\x00" * (mask_row * size)


def ico(sizes):
    images = [icon_image(tile(size)) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


if __name__ == "__main__":
    with open("module/banner.png", "wb") as out:
        out.write(png(tile(125, paper=True)))
    with open("module/vordo.ico", "wb") as out:
        out.write(ico([16, 32]))
    for size in (16, 32, 48, 128):
        with open(f"extension/icons/{size}.png", "wb") as out:
            out.write(png(tile(size), alpha=True))
