#!/usr/bin/python3
"""Generates the world map res/map.bmp (bitmap 126: 360 x 188, 16 colours) and the
vertex tables of the map's zone regions, dialogs/zonepolygons.cpp, both from
tools/zonepolygons.txt; the land comes from tools/landmask.txt.

The map is dark blue sea and green land, with white lines where two zone regions
meet, so that the lines show exactly what a click on the map resolves to.

Usage: tools/make_map.py [resource directory, default res/] [source directory, default dialogs/]"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imglib import NAVY, GREEN, WHITE, new_image, bmp_4bit

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 360, 188
MODES = {"start": "POLY_START", "xor": "RGN_XOR", "or": "RGN_OR", "diff": "RGN_DIFF"}


def read_regions(path):
    """[(zone, name, minus or None, [(mode, name, [(x, y)])])] in hit-test order."""
    regions = []
    for raw in open(path):
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        m = re.match(r"region (\d+)(?: minus (\d+))?\s+# (.+)$", line)
        if m:
            regions.append((int(m.group(1)), m.group(3).strip(),
                            int(m.group(2)) if m.group(2) else None, []))
            continue
        m = re.match(r"\s+(start|xor|or|diff) (\w+):(.*)$", line)
        if m:
            regions[-1][3].append((m.group(1), m.group(2), []))
            coords = m.group(3)
        elif re.match(r"\s+\d", line):
            coords = line
        else:
            raise SystemExit("%s: cannot read: %s" % (path, line))
        for pair in coords.split():
            x, y = pair.split(",")
            regions[-1][3][-1][2].append((int(x), int(y)))
    return regions


def polygon_rows(pts):
    """Pixel rows of a polygon under the non-zero winding rule, as the platform's regions
    take them: pixel (x, y) is sampled at the point (x, y), left and top edges inside,
    right and bottom edges outside. A list of H sets of x."""
    rows = [set() for _ in range(H)]
    n = len(pts)
    for y in range(H):
        yc = y
        cross = []
        for i in range(n):
            (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
            if (y0 <= yc) != (y1 <= yc):
                cross.append((x0 + (yc - y0) * (x1 - x0) / (y1 - y0), 1 if y1 > y0 else -1))
        cross.sort()
        wind = 0
        for k in range(len(cross) - 1):
            wind += cross[k][1]
            if wind:
                for x in range(W):
                    if cross[k][0] <= x < cross[k + 1][0]:
                        rows[y].add(x)
    return rows


def region_rows(regions):
    """Each region's pixels as row sets, built the way the dialog builds its regions."""
    built = []
    for zone, _, minus, polys in regions:
        rows = None
        for mode, _, pts in polys:
            p = polygon_rows(pts)
            if rows is None:
                rows = p
            elif mode == "xor":
                rows = [a ^ b for a, b in zip(rows, p)]
            elif mode == "or":
                rows = [a | b for a, b in zip(rows, p)]
            else:
                rows = [a - b for a, b in zip(rows, p)]
        if minus is not None:
            rows = [a - b for a, b in zip(rows, built[minus])]
        built.append(rows)
    return built


def zone_labels(regions):
    """The zone a click on each pixel resolves to (first region in order), 0 for none."""
    label = [[0] * W for _ in range(H)]
    for (zone, _, _, _), rows in zip(regions, region_rows(regions)):
        for y in range(H):
            for x in rows[y]:
                if not label[y][x]:
                    label[y][x] = zone
    return label


def edge_pixels(a, b):
    """Pixels of the straight line from vertex a to vertex b."""
    (x0, y0), (x1, y1) = a, b
    n = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(n + 1):
        t = i / n if n else 0.0
        yield int(round(x0 + (x1 - x0) * t)), int(round(y0 + (y1 - y0) * t))


def make_map(regions, landmask):
    img = new_image(W, H, NAVY)
    for y, line in enumerate(landmask):
        for x, ch in enumerate(line):
            if ch == "#":
                img[y][x] = GREEN
    label = zone_labels(regions)
    # A polygon edge is drawn where it parts two different zones; edges along the map's
    # margin and between pieces of one zone stay undrawn.
    for _, _, _, polys in regions:
        for _, _, pts in polys:
            for i in range(len(pts)):
                for x, y in edge_pixels(pts[i], pts[(i + 1) % len(pts)]):
                    if not (0 <= x < W and 0 <= y < H):
                        continue
                    near = set()
                    for dy in (-1, 0, 1):
                        for dx in (-1, 0, 1):
                            if 0 <= x + dx < W and 0 <= y + dy < H:
                                near.add(label[y + dy][x + dx])
                    near.discard(0)
                    if len(near) > 1:
                        img[y][x] = WHITE
    return img


def write_tables(regions, path):
    out = ["// Vertex tables of the map's 29 zone regions, in hit-test order; generated by",
           "// tools/make_map.py from tools/zonepolygons.txt (edit that file, not this one).",
           '#include "dialogs/zonepolygons.h"', ""]
    specs = []
    for zone, name, minus, polys in regions:
        out.append("// Zone %d, %s" % (zone, name))
        entries = []
        for mode, pname, pts in polys:
            ident = "zone%d_%s" % (zone, pname)
            lines, cur = [], "   "
            for item in ("{%d, %d}" % p for p in pts):
                if len(cur) + len(item) + 2 > 96:
                    lines.append(cur.rstrip())
                    cur = "   "
                cur += " " + item + ","
            lines.append(cur.rstrip().rstrip(","))
            out.append("static const POINT %s[] = {" % ident)
            out.extend(lines)
            out.append("};")
            entries.append("{%s, %s, %d}" % (MODES[mode], ident, len(pts)))
        out.append("static const ZonePolygon zone%dPolygons[] = {%s};" % (zone, ", ".join(entries)))
        out.append("")
        specs.append("    {%d, zone%dPolygons, %d, %d}," % (zone, zone, len(polys),
                                                          -1 if minus is None else minus))
    out.append("const ZoneRegionSpec zoneRegionSpecs[29] = {")
    out.extend(specs)
    out.append("};")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "res")
    src = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "dialogs")
    regions = read_regions(os.path.join(HERE, "zonepolygons.txt"))
    if len(regions) != 29:
        raise SystemExit("expected 29 regions, found %d" % len(regions))
    landmask = open(os.path.join(HERE, "landmask.txt")).read().split()
    with open(os.path.join(res, "map.bmp"), "wb") as f:
        f.write(bmp_4bit(make_map(regions, landmask)))
    write_tables(regions, os.path.join(src, "zonepolygons.cpp"))


if __name__ == "__main__":
    main()
