"""Small image writers for the artwork generators: Windows BMP (4-bit and 24-bit),
ICO and CUR files, and PNG (for the contact sheet). Standard library only.

An image is a list of rows, each a list of pixels; a pixel is a palette index
(4-bit images) or an (r, g, b) tuple (24-bit images)."""
import struct
import zlib

# The 16 colours of the standard Windows (VGA) palette, in the usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


def new_image(w, h, fill):
    return [[fill] * w for _ in range(h)]


def _pack_4bit_rows(img):
    """Bottom-up rows of 4-bit pixels, each padded to 4 bytes."""
    w = len(img[0])
    stride = ((w * 4 + 31) // 32) * 4
    out = bytearray()
    for row in reversed(img):
        b = bytearray(stride)
        for x, v in enumerate(row):
            if x % 2 == 0:
                b[x // 2] |= (v & 15) << 4
            else:
                b[x // 2] |= v & 15
        out += b
    return bytes(out)


def _pack_1bit_rows(img):
    w = len(img[0])
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for row in reversed(img):
        b = bytearray(stride)
        for x, v in enumerate(row):
            if v:
                b[x // 8] |= 0x80 >> (x % 8)
        out += b
    return bytes(out)


def _pack_24bit_rows(img):
    w = len(img[0])
    stride = ((w * 24 + 31) // 32) * 4
    out = bytearray()
    for row in reversed(img):
        b = bytearray()
        for (r, g, bl) in row:
            b += bytes((bl, g, r))
        b += bytes(stride - len(b))
        out += b
    return bytes(out)


def _palette_bytes(pal):
    return b"".join(bytes((b, g, r, 0)) for (r, g, b) in pal)


def bmp_4bit(img, pal=VGA16):
    h, w = len(img), len(img[0])
    bits = _pack_4bit_rows(img)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 2835, 2835, 16, 16)
    palb = _palette_bytes(pal)
    off = 14 + len(info) + len(palb)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    return head + info + palb + bits


def bmp_24bit(img):
    h, w = len(img), len(img[0])
    bits = _pack_24bit_rows(img)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    off = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    return head + info + bits


def _icon_image_4bit(img, mask):
    """DIB of an icon image: header (double height), palette, XOR bits, AND bits.
    mask[y][x] true means transparent."""
    h, w = len(img), len(img[0])
    xor = _pack_4bit_rows(img)
    andb = _pack_1bit_rows(mask)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, len(xor) + len(andb), 0, 0, 16, 0)
    return info + _palette_bytes(VGA16) + xor + andb


def ico_4bit(images):
    """images: list of (img, mask) pairs, 16-colour, square."""
    datas = [_icon_image_4bit(img, mask) for img, mask in images]
    out = struct.pack("<HHH", 0, 1, len(datas))
    off = 6 + 16 * len(datas)
    for (img, _), d in zip(images, datas):
        w, h = len(img[0]), len(img)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(d), off)
        off += len(d)
    return out + b"".join(datas)


def cur_mono(img, mask, hotspot):
    """Monochrome cursor: img[y][x] 1 = white, 0 = black; mask true = transparent."""
    h, w = len(img), len(img[0])
    xor = _pack_1bit_rows(img)
    andb = _pack_1bit_rows(mask)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0, len(xor) + len(andb), 0, 0, 2, 0)
    d = info + _palette_bytes([(0, 0, 0), (255, 255, 255)]) + xor + andb
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", w, h, 2, 0, hotspot[0], hotspot[1], len(d), 22)
    return out + d


def read_bmp(data):
    """Reads a BMP written by this module back into rows of (r, g, b)."""
    off, = struct.unpack_from("<I", data, 10)
    hsize, w, h, _, bpp = struct.unpack_from("<IiiHH", data, 14)
    pal = []
    if bpp <= 8:
        for i in range(1 << bpp):
            b, g, r, _ = struct.unpack_from("<BBBB", data, 14 + hsize + 4 * i)
            pal.append((r, g, b))
    stride = ((w * bpp + 31) // 32) * 4
    rows = []
    for y in range(h):
        base = off + (h - 1 - y) * stride
        row = []
        for x in range(w):
            if bpp == 24:
                b, g, r = data[base + 3 * x: base + 3 * x + 3]
                row.append((r, g, b))
            elif bpp == 4:
                v = data[base + x // 2]
                row.append(pal[(v >> 4) if x % 2 == 0 else (v & 15)])
        rows.append(row)
    return rows


def png_rgb(img):
    h, w = len(img), len(img[0])
    raw = bytearray()
    for row in img:
        raw.append(0)
        for (r, g, b) in row:
            raw += bytes((r, g, b))

    def chunk(tag, body):
        c = struct.pack(">I", len(body)) + tag + body
        return c + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


class Lcg:
    """A fixed pseudo-random sequence, the same on every machine and Python version."""

    def __init__(self, seed):
        self.s = seed & 0xFFFFFFFF

    def next(self):
        self.s = (self.s * 1103515245 + 12345) & 0x7FFFFFFF
        return self.s

    def uniform(self):
        return (self.next() >> 8) / float(1 << 23)
