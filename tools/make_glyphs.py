#!/usr/bin/env python3
"""Draws the bold, italic and underline button pictures of each language as
16x16 24-bit BMP files on the silver background that the buttons treat as
transparent. Run by hand when a picture changes; the BMP files are committed."""
import os
import struct
import sys

FONT = {  # 5x7 capitals
    "B": ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."],
    "I": [".111.", "..1..", "..1..", "..1..", "..1..", "..1..", ".111."],
    "U": ["1...1", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    "N": ["1...1", "11..1", "1.1.1", "1..11", "1...1", "1...1", "1...1"],
    "K": ["1...1", "1..1.", "1.1..", "11...", "1.1..", "1..1.", "1...1"],
    "S": [".1111", "1....", "1....", ".111.", "....1", "....1", "1111."],
}
SILVER = (192, 192, 192)
BLACK = (0, 0, 0)


def draw(letter, style):
    pixels = [[SILVER] * 16 for _ in range(16)]
    rows = FONT[letter]
    for y, row in enumerate(rows):
        for x, bit in enumerate(row):
            if bit != "1":
                continue
            shift = (6 - y) // 3 if style == "italic" else 0
            for dy in range(2 if style != "underline" else 1):
                px, py = 3 + x * 2 + shift, 1 + y * 2 + dy
                pixels[py][px] = BLACK
                pixels[py][px + 1] = BLACK
                if style == "bold" and px + 2 < 16:
                    pixels[py][px + 2] = BLACK
    if style == "underline":
        for x in range(2, 15):
            pixels[15][x] = BLACK
    return pixels


def write_bmp(path, pixels):
    row_bytes = 16 * 3
    data = b""
    for row in reversed(pixels):  # bottom-up
        data += b"".join(bytes((b, g, r)) for (r, g, b) in row)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)
    assert row_bytes % 4 == 0


def main(out_dir):
    sets = {"lang0": ("B", "I", "U"), "lang1": ("N", "K", "S"), "lang2": ("B", "I", "U")}
    for lang, (bold, italic, underline) in sets.items():
        os.makedirs(os.path.join(out_dir, lang), exist_ok=True)
        write_bmp(os.path.join(out_dir, lang, "bold.bmp"), draw(bold, "bold"))
        write_bmp(os.path.join(out_dir, lang, "italic.bmp"), draw(italic, "italic"))
        write_bmp(os.path.join(out_dir, lang, "underline.bmp"), draw(underline, "underline"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/pictures")
