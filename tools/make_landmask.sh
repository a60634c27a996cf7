#!/bin/sh
# Makes tools/landmask.txt, the land mask of the world map (360 x 188, '#' land,
# '.' water, north first), from the GSHHG coastlines (low resolution) through GMT.
# Needs Debian's gmt and gmt-gshhg-low; the output is committed, so the map
# generator (tools/make_map.py) runs without them.
# Usage: tools/make_landmask.sh [output file, default tools/landmask.txt]
#
# The map: one pixel per degree of longitude, x = longitude + 255 (Greenwich at
# x 255, 105 E at the left edge); rows in Miller's cylindrical projection at the
# same scale on the equator, the equator on the line y = 118 (about 85 N at the
# top edge, 61 S at the bottom). tools/map_fit.py shows why these numbers.
# Each pixel is sampled 4 x 4 (quarter degrees across, quarter rows down) and
# counts as land when 8 or more of its 16 samples are land.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath -m "${1:-$here/landmask.txt}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A geographic mask: 1440 columns of 1/4 degree, rows of 1/20 degree from 86 N to 62 S.
cd "$tmp"
gmt grdlandmask -R-255/105/-62/86 -I1440+n/2960+n -r -Dl -N0/255 -G"$tmp/mask.nc"
gmt grd2xyz "$tmp/mask.nc" -ZTLu > "$tmp/mask.raw"
/usr/bin/python3 - "$tmp/mask.raw" "$out" <<'PY'
import math, sys
raw = open(sys.argv[1], "rb").read()
W, H, F = 360, 188, 4
GW, GH, NORTH, STEP = 1440, 2960, 86.0, 0.05
EQUATOR = 118.0
assert len(raw) == GW * GH, len(raw)


def latitude(y):
    """Latitude of map row coordinate y (Miller, one pixel per degree on the equator)."""
    m = math.radians(EQUATOR - y)
    return math.degrees(2.5 * math.atan(math.exp(0.8 * m)) - 0.625 * math.pi)


grid_rows = []
for y in range(H):
    subs = []
    for dy in range(F):
        r = int((NORTH - latitude(y + (dy + 0.5) / F)) / STEP)
        subs.append(min(max(r, 0), GH - 1))
    grid_rows.append(subs)
lines = []
for y in range(H):
    row = []
    for x in range(W):
        n = 0
        for r in grid_rows[y]:
            base = r * GW + x * F
            n += sum(1 for v in raw[base:base + F] if v)
        row.append("#" if n >= 8 else ".")
    lines.append("".join(row))
open(sys.argv[2], "w").write("\n".join(lines) + "\n")
PY
