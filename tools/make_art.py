#!/usr/bin/python3
"""Generates the small artwork of Velmor: the globes 103 and 106, the buttons 107, 108,
113 and 114, the clock panel 116 and its texture 117, the pins 130 to 133, the banner
134, the icon 118 and the map cursor 131.

Usage: tools/make_art.py [output directory, default res/]"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imglib import (VGA16, BLACK, GREEN, OLIVE, NAVY, SILVER, GREY, RED, LIME, YELLOW,
                    BLUE, MAGENTA, CYAN, WHITE, TEAL, MAROON, Lcg, new_image, bmp_4bit,
                    bmp_24bit, ico_4bit, cur_mono)

PIN_COLOURS = [(255, 0, 0), (255, 255, 0), (0, 255, 255), (255, 0, 255)]
PIN_INDEX = [RED, YELLOW, CYAN, MAGENTA]

# Clock panel geometry: the white display area (inclusive), where the time is drawn.
BOX_L, BOX_T, BOX_R, BOX_B = 14, 7, 127, 35


# ---------------------------------------------------------------- globe
def globe_land(u, v):
    """Land on a small globe seen from the Atlantic; u, v in -1..1 (v down)."""
    def ell(cx, cy, rx, ry):
        return ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1.0
    return (ell(-0.45, -0.35, 0.38, 0.38) or ell(-0.2, 0.45, 0.22, 0.42)
            or ell(0.45, -0.45, 0.32, 0.22) or ell(0.45, 0.2, 0.3, 0.45))


def draw_globe(img, cx, cy, r, day_split=True):
    """A globe of radius r centred at (cx, cy) (pixel-centre coordinates); the left half
    in daylight, the right half at night when day_split."""
    for y in range(len(img)):
        for x in range(len(img[0])):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            if d > r:
                continue
            if d > r - 1.0:
                img[y][x] = BLACK
                continue
            land = globe_land(dx / (r - 1), dy / (r - 1))
            night = day_split and dx >= 0
            if night:
                img[y][x] = GREEN if land else NAVY
            else:
                img[y][x] = LIME if land else BLUE
    # A glint on the day side.
    gx, gy = int(cx - r * 0.45), int(cy - r * 0.5)
    if 0 <= gy < len(img) and 0 <= gx < len(img[0]) and img[gy][gx] == BLUE:
        img[gy][gx] = WHITE


def make_globe(w, h):
    img = new_image(w, h, SILVER)
    draw_globe(img, w / 2.0, h / 2.0, 7.0)
    return img


# ---------------------------------------------------------------- buttons
def make_button(glyph, pressed):
    """Raised (or sunken) 11 x 11 button face with a minimize bar or an X; the
    pressed glyph sits one pixel right and down."""
    n = 11
    img = new_image(n, n, SILVER)
    for i in range(n):
        if pressed:
            img[0][i] = img[i][0] = BLACK
            img[n - 1][i] = img[i][n - 1] = WHITE
        else:
            img[0][i] = img[i][0] = WHITE
            img[n - 1][i] = img[i][n - 1] = BLACK
    for i in range(1, n - 1):
        if pressed:
            img[1][i] = img[i][1] = GREY
        else:
            img[n - 2][i] = img[i][n - 2] = GREY
    o = 1 if pressed else 0
    if glyph == "min":
        for x in range(3, 8):
            for y in (6, 7):
                img[y + o][x + o] = BLACK
    else:
        for i in range(5):
            for x in (2 + i, 3 + i, 7 - i, 6 - i):
                if 2 <= x <= 7:
                    img[2 + i + o][x + o] = BLACK
    return img


# ---------------------------------------------------------------- stone texture
def stone_texture(w, h, seed, base=172):
    """Grey cobblestones: a Voronoi pattern that wraps around in both directions,
    with darker mortar lines, a tone per stone and a fine grain."""
    rnd = Lcg(seed)
    cells = []
    step = 9
    for gy in range(0, h, step):
        for gx in range(0, w, step):
            px = gx + rnd.uniform() * step
            py = gy + rnd.uniform() * step
            tone = int((rnd.uniform() - 0.5) * 26)
            cells.append((px, py, tone))
    img = []
    for y in range(h):
        row = []
        for x in range(w):
            best = [1e9, 1e9]
            tone = 0
            for (px, py, t) in cells:
                dx = abs(x + 0.5 - px)
                dx = min(dx, w - dx)
                dy = abs(y + 0.5 - py)
                dy = min(dy, h - dy)
                d = math.sqrt(dx * dx + dy * dy)
                if d < best[0]:
                    best = [d, best[0]]
                    tone = t
                elif d < best[1]:
                    best[1] = d
            grain = int((rnd.uniform() - 0.5) * 14)
            edge = best[1] - best[0]
            if edge < 1.0:
                v = base - 44 + grain // 2
            elif edge < 2.0:
                v = base - 18 + tone // 2 + grain
            else:
                v = base + tone + grain
            v = max(0, min(255, v))
            row.append((v, v, max(0, v - 6)))
        img.append(row)
    return img


def make_panel(texture):
    img = [row[:] for row in texture]
    w, h = len(img[0]), len(img)
    # drop shadow, 3 pixels to the right and below the frame
    for y in range(BOX_T + 2, BOX_B + 5):
        for x in range(BOX_L + 2, BOX_R + 5):
            if 0 <= y < h and 0 <= x < w:
                r, g, b = img[y][x]
                img[y][x] = (r * 2 // 5, g * 2 // 5, b * 2 // 5)
    # black frame, one pixel outside the white area
    for y in range(BOX_T - 1, BOX_B + 2):
        for x in range(BOX_L - 1, BOX_R + 2):
            img[y][x] = (0, 0, 0)
    for y in range(BOX_T, BOX_B + 1):
        for x in range(BOX_L, BOX_R + 1):
            img[y][x] = (255, 255, 255)
    return img


# ---------------------------------------------------------------- pins
def make_pin(index):
    img = new_image(8, 8, index)
    for y in (3, 4):
        for x in (3, 4):
            img[y][x] = WHITE
    return img


# ---------------------------------------------------------------- banner
def make_banner(texture_seed):
    w, h = 244, 41
    img = new_image(w, h, (192, 192, 192))
    # caption column on the left: strip, black and white lines, globe at its head
    for y in range(h):
        for x in range(12):
            img[y][x] = (0, 0, 128) if x < 9 else ((0, 0, 0) if x < 10 else (255, 255, 255))
    g = new_image(12, 12, SILVER)
    draw_globe(g, 6.0, 6.0, 5.5)
    for y in range(12):
        for x in range(12):
            img[y][x] = VGA16[g[y][x]]
    tex = stone_texture(58, h, texture_seed, base=172)
    for k in range(4):
        x0 = 12 + 58 * k
        for y in range(h):
            for x in range(58):
                img[y][x0 + x] = tex[y][x]
        # framed white box with a drop shadow, as on the real panels
        bl, bt, br, bb = x0 + 5, 5, x0 + 48, 27
        for y in range(bt + 2, bb + 4):
            for x in range(bl + 2, br + 4):
                r, gg, b = img[y][x]
                img[y][x] = (r * 2 // 5, gg * 2 // 5, b * 2 // 5)
        for y in range(bt - 1, bb + 2):
            for x in range(bl - 1, br + 2):
                img[y][x] = (0, 0, 0)
        for y in range(bt, bb + 1):
            for x in range(bl, br + 1):
                img[y][x] = (255, 255, 255)
        # "time" and "name" lines of text, in grey strokes
        for x in range(bl + 13, br - 3):
            for y in (bt + 5, bt + 6, bt + 7, bt + 8):
                if (x - bl) % 6 != 0:
                    img[y][x] = (0, 0, 0)
            if (x - bl) % 4 != 0 and x < br - 8:
                img[bt + 15][x] = (96, 96, 96)
                img[bt + 16][x] = (96, 96, 96)
        # the pin marker: a square in the pin's colour with its white dot
        for y in range(8):
            for x in range(8):
                c = PIN_COLOURS[k]
                if 3 <= x <= 4 and 3 <= y <= 4:
                    c = (255, 255, 255)
                img[bt + 3 + y][bl + 2 + x] = c
        for i in range(10):
            for (x, y) in ((bl + 1 + i, bt + 2), (bl + 1 + i, bt + 11), (bl + 1, bt + 2 + i), (bl + 10, bt + 2 + i)):
                if bt + 2 <= y <= bt + 11:
                    img[y][x] = (0, 0, 0)
    return img


# ---------------------------------------------------------------- icon
HOURGLASS_32 = [
    "MMMMMMMMMMM",
    "MMMMMMMMMMM",
    " K.......K",
    " K.......K",
    "  K.....K",
    "  KYYYYYK",
    "   KYYYK",
    "    KYK",
    "    KYK",
    "   K.Y.K",
    "  K..Y..K",
    "  K.YYY.K",
    " KYYYYYYYK",
    " KYYYYYYYK",
    "MMMMMMMMMMM",
    "MMMMMMMMMMM",
]
HOURGLASS_16 = [
    "MMMMMMM",
    "K.....K",
    " KYYYK",
    "  KYK",
    "  KYK",
    " K.Y.K",
    "KYYYYYK",
    "MMMMMMM",
]

def draw_icon(n):
    """The program icon at n x n (32 or 16): sun rays behind a globe, an hourglass in
    front at the lower right. Returns (image, transparency mask)."""
    img = new_image(n, n, BLACK)
    mask = [[True] * n for _ in range(n)]
    s = n / 32.0
    cx, cy = 13.0 * s, 13.0 * s
    r = 10.5 * s

    def put(x, y, c):
        if 0 <= x < n and 0 <= y < n:
            img[y][x] = c
            mask[y][x] = False
    # sun rays: twelve wedges around the globe
    for y in range(n):
        for x in range(n):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            if r < d <= r + 4.2 * s + 0.3:
                a = math.degrees(math.atan2(dy, dx)) % 30.0
                width = 7.0 if n >= 32 else 9.0
                if a < width / 2 or a > 30 - width / 2:
                    put(x, y, YELLOW if d < r + 3.0 * s else OLIVE if n >= 32 else YELLOW)
    # a glowing rim between globe and rays
    for y in range(n):
        for x in range(n):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if r < d <= r + 1.0 and n >= 32:
                put(x, y, YELLOW)
    g = new_image(n, n, -1)
    draw_globe(g, cx, cy, r, day_split=False)
    for y in range(n):
        for x in range(n):
            if g[y][x] != -1:
                put(x, y, g[y][x])
    # hourglass in front, at the lower right
    glass, hx0, hy0 = (HOURGLASS_32, 20, 15) if n >= 32 else (HOURGLASS_16, 9, 8)
    colours = {"M": MAROON, "K": BLACK, ".": WHITE, "Y": YELLOW}
    for y, line in enumerate(glass):
        for x, ch in enumerate(line):
            if ch in colours:
                put(hx0 + x, hy0 + y, colours[ch])
    return img, mask


# ---------------------------------------------------------------- cursor
HAND = [
    "XXXX",
    "X..X",
    "X..X",
    "X..X",
    "X..X",
    "X..X",
    "X..XXXX",
    "X..X..XXXX",
    "X..X..X..XXX",
    "X..X..X..X..X",
    "X..X..X..X..X",
    "X............X",
    "X............X",
    "X............X",
    "X............X",
    "X............X",
    "X...........X",
    "X...........X",
    " X.........X",
    " X.........X",
    "  X.......X",
    "  XXXXXXXXX",
]


def make_cursor():
    """32 x 32 monochrome pointing hand: the tip of the index finger at (0, 0)."""
    img = [[0] * 32 for _ in range(32)]
    mask = [[1] * 32 for _ in range(32)]
    for y, line in enumerate(HAND):
        for x, ch in enumerate(line):
            if ch == "X":
                img[y][x], mask[y][x] = 0, 0
            elif ch == ".":
                img[y][x], mask[y][x] = 1, 0
    return img, mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    write("globe_docked.bmp", bmp_4bit(make_globe(18, 16)))
    write("globe_floating.bmp", bmp_4bit(make_globe(14, 16)))
    write("minimize_up.bmp", bmp_4bit(make_button("min", False)))
    write("minimize_down.bmp", bmp_4bit(make_button("min", True)))
    write("close_up.bmp", bmp_4bit(make_button("close", False)))
    write("close_down.bmp", bmp_4bit(make_button("close", True)))
    tex = stone_texture(145, 48, 1995)
    write("panel.bmp", bmp_24bit(make_panel(tex)))
    write("filler.bmp", bmp_24bit(tex))
    for k in range(4):
        write("pin%d.bmp" % (k + 1), bmp_4bit(make_pin(PIN_INDEX[k])))
    write("banner.bmp", bmp_24bit(make_banner(1996)))
    write("velmor.ico", ico_4bit([draw_icon(32), draw_icon(16)]))
    cimg, cmask = make_cursor()
    write("hand.cur", cur_mono(cimg, cmask, (0, 0)))


if __name__ == "__main__":
    main()
