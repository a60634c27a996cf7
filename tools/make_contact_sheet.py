#!/usr/bin/python3
"""Renders every picture of res/ scaled up onto one PNG, with its resource id:
docs/artwork.png.

Usage: tools/make_contact_sheet.py [resource directory] [output PNG]"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imglib import read_bmp, png_rgb

HERE = os.path.dirname(os.path.abspath(__file__))
BACK = (212, 208, 200)

DIGITS = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001001001001", "8": "111101111101111",
    "9": "111101111001111", " ": "000000000000000", "/": "001001010100100",
}


def read_icon_images(data):
    """Images of an ICO or CUR file as rows of (r, g, b) on the sheet's background."""
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    out = []
    for i in range(count):
        w, h, _, _, _, _, size, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        hsize, _, _, _, bpp = struct.unpack_from("<IiiHH", data, off)
        pal = []
        for k in range(1 << bpp):
            b, g, r, _ = struct.unpack_from("<BBBB", data, off + hsize + 4 * k)
            pal.append((r, g, b))
        xoff = off + hsize + 4 * len(pal)
        xstride = ((w * bpp + 31) // 32) * 4
        aoff = xoff + xstride * h
        astride = ((w + 31) // 32) * 4
        rows = []
        for y in range(h):
            row = []
            for x in range(w):
                bit = data[aoff + (h - 1 - y) * astride + x // 8] >> (7 - x % 8) & 1
                if bpp == 4:
                    v = data[xoff + (h - 1 - y) * xstride + x // 2]
                    v = v >> 4 if x % 2 == 0 else v & 15
                else:
                    v = data[xoff + (h - 1 - y) * xstride + x // 8] >> (7 - x % 8) & 1
                row.append(BACK if bit else pal[v])
            rows.append(row)
        out.append(rows)
    return out


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "res")
    dst = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "docs", "artwork.png")

    def bmp(name):
        with open(os.path.join(res, name), "rb") as f:
            return read_bmp(f.read())

    def icons(name):
        with open(os.path.join(res, name), "rb") as f:
            return read_icon_images(f.read())
    ico = icons("velmor.ico")
    cur = icons("hand.cur")
    # (label, image, scale), in rows
    rows = [
        [("126", bmp("map.bmp"), 3)],
        [("116", bmp("panel.bmp"), 3), ("117", bmp("filler.bmp"), 3), ("134", bmp("banner.bmp"), 2)],
        [("103", bmp("globe_docked.bmp"), 6), ("106", bmp("globe_floating.bmp"), 6),
         ("107", bmp("minimize_up.bmp"), 6), ("108", bmp("minimize_down.bmp"), 6),
         ("114", bmp("close_up.bmp"), 6), ("113", bmp("close_down.bmp"), 6),
         ("130", bmp("pin1.bmp"), 6), ("131", bmp("pin2.bmp"), 6), ("132", bmp("pin3.bmp"), 6),
         ("133", bmp("pin4.bmp"), 6), ("118", ico[0], 6), ("118", ico[1], 6),
         ("131", cur[0], 6)],
    ]
    pad, label_h = 12, 16
    width = 0
    height = pad
    for row in rows:
        width = max(width, pad + sum(len(img[0]) * s + pad for _, img, s in row))
        height += max(len(img) * s for _, img, s in row) + label_h + pad
    sheet = [[BACK] * width for _ in range(height)]

    def text(x0, y0, s):
        for i, ch in enumerate(s):
            pat = DIGITS[ch]
            for k, bit in enumerate(pat):
                if bit == "1":
                    for yy in range(2):
                        for xx in range(2):
                            sheet[y0 + (k // 3) * 2 + yy][x0 + i * 8 + (k % 3) * 2 + xx] = (0, 0, 0)
    y = pad
    for row in rows:
        x = pad
        for label, img, s in row:
            text(x, y, label)
            for yy, line in enumerate(img):
                for xx, c in enumerate(line):
                    for dy in range(s):
                        r = sheet[y + label_h + yy * s + dy]
                        for dx in range(s):
                            r[x + xx * s + dx] = c
            x += len(img[0]) * s + pad
        y += max(len(img) * s for _, img, s in row) + label_h + pad
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    with open(dst, "wb") as f:
        f.write(png_rgb(sheet))


if __name__ == "__main__":
    main()
