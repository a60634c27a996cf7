#!/usr/bin/python3
"""Shows how the world map's placement was chosen: for a shift of longitude (x =
longitude + shift) and the row of the equator in Miller's projection, or a plain
latitude range, how far the zone table's pins and the fixed zone outlines fall from
the places they stand for. Prints a table; writes nothing."""
import math
import statistics

# Zone index: pin position (mapX, mapY), then the places it stands for (lat, lon).
PINS = {
    1: ((72, 46), [(8.7, 167.7)]), 2: ((90, 74), [(28.2, -177.4), (-13.8, -171.8)]),
    3: ((105, 93), [(21.3, -157.9)]), 4: ((106, 43), [(61.2, -149.9)]),
    5: ((137, 75), [(34.05, -118.25)]), 6: ((151, 78), [(33.45, -112.07)]),
    7: ((150, 67), [(39.74, -104.99)]), 8: ((163, 74), [(41.88, -87.63)]),
    9: ((163, 94), [(19.43, -99.13)]), 10: ((163, 50), [(50.45, -104.6)]),
    11: ((181, 113), [(4.71, -74.07), (-12.05, -77.04)]), 12: ((182, 75), [(40.71, -74.0)]),
    13: ((178, 75), [(39.77, -86.16)]), 14: ((195, 80), [(44.65, -63.57)]),
    15: ((196, 126), [(10.48, -66.9), (-16.5, -68.15)]), 16: ((202, 66), [(47.56, -52.71)]),
    17: ((210, 122), [(-15.79, -47.88)]), 18: ((197, 45), [(-34.6, -58.38)]),
    19: ((198, 142), [(6.8, -58.16)]), 21: ((240, 71), [(37.74, -25.67)]),
    22: ((250, 57), [(51.51, -0.13)]), 23: ((245, 95), [(33.57, -7.59), (6.3, -10.8)]),
    24: ((271, 61), [(59.33, 18.07), (41.9, 12.5)]),
    25: ((267, 71), [(48.21, 16.37), (46.95, 7.45), (50.85, 4.35)]),
    26: ((256, 74), [(38.72, -9.14), (52.23, 21.0), (40.4, -3.7)]),
    27: ((260, 68), [(48.86, 2.35), (50.08, 14.43), (52.52, 13.4)]),
    28: ((281, 80), [(37.98, 23.73), (30.04, 31.24)]), 29: ((282, 63), [(41.01, 28.98)]),
    30: ((284, 96), [(-17.83, 31.05), (-25.75, 28.19)]),
    31: ((297, 88), [(33.31, 44.36), (29.37, 47.98)]),
    32: ((295, 112), [(-1.29, 36.82), (24.71, 46.67)]),
    33: ((289, 53), [(55.76, 37.62), (59.94, 30.31)]), 34: ((309, 82), [(35.69, 51.39)]),
    35: ((303, 53), [(24.45, 54.38), (55.79, 49.12)]), 37: ((322, 82), [(34.53, 69.17)]),
    38: ((312, 61), [(33.68, 73.05), (24.86, 67.0)]),
    40: ((330, 93), [(19.08, 72.88), (22.57, 88.36), (13.08, 80.27)]),
    41: ((337, 95), [(28.61, 77.21), (6.93, 79.85)]),
    42: ((327, 47), [(43.24, 76.89), (23.81, 90.41)]),
    43: ((3, 103), [(13.75, 100.5), (21.03, 105.85)]),
    44: ((10, 74), [(39.9, 116.4), (29.56, 106.55)]),
    45: ((18, 105), [(22.3, 114.2), (-31.95, 115.86)]),
    46: ((20, 113), [(1.35, 103.8), (25.03, 121.56)]),
    47: ((36, 80), [(35.68, 139.69), (34.69, 135.5), (43.06, 141.35)]),
    48: ((30, 86), [(37.57, 126.98), (62.03, 129.73)]), 49: ((32, 138), [(-34.93, 138.6)]),
    51: ((45, 135), [(-33.87, 151.21), (-27.47, 153.03), (-37.81, 144.96)]),
    52: ((45, 121), [(13.44, 144.79), (-9.44, 147.18)]),
    53: ((49, 99), [(43.12, 131.89), (-42.88, 147.33)]),
    55: ((62, 90), [(59.56, 150.8), (-9.43, 159.95)]),
    56: ((72, 58), [(-18.14, 178.44), (53.02, 158.65)]),
}
# Fixed zone outlines: their (x0, x1, y0, y1) and the land they stand for (lat0, lat1, lon0, lon1).
OUTLINES = [
    ("Newfoundland", (200, 207, 65, 72), (46.6, 51.6, -59.4, -52.6)),
    ("Iran", (309, 324, 81, 93), (25.1, 39.8, 44.0, 63.3)),
    ("Afghanistan", (322, 328, 82, 88), (29.4, 38.5, 60.5, 74.9)),
    ("India", (327, 353, 81, 113), (8.1, 35.5, 68.1, 97.4)),
    ("South Australia and Northern Territory", (31, 45, 131, 158), (-38.1, -10.9, 129, 141)),
    ("Severnaya Zemlya (island A)", (348, 357, 12, 19), (78.2, 81.3, 91, 107)),
    ("Sarawak (island B)", (2, 8, 111, 119), (0.85, 5.0, 109.6, 115.7)),
]


def miller(lat):
    return math.degrees(1.25 * math.log(math.tan(math.pi / 4 + 0.4 * math.radians(lat))))


def errors(shift, row_of):
    """Median pin distance and mean outline-centre distance, in pixels. The pin's
    top-left corner is the point that stands for the place (a click there puts it so)."""
    pins = []
    for (px, py), places in PINS.values():
        best = 1e9
        for lat, lon in places:
            dx = abs(px + 0.5 - (lon + shift) % 360)
            best = min(best, math.hypot(min(dx, 360 - dx), py + 0.5 - row_of(lat)))
        pins.append(best)
    outl = []
    for _, (x0, x1, y0, y1), (la0, la1, lo0, lo1) in OUTLINES:
        dx = abs((x0 + x1) / 2 - ((lo0 + lo1) / 2 + shift) % 360)
        dy = (y0 + y1) / 2 - (row_of(la0) + row_of(la1)) / 2
        outl.append(math.hypot(min(dx, 360 - dx), dy))
    return statistics.median(pins), statistics.mean(outl), max(outl)


def main():
    print("shift  projection                       pins(median) outlines(mean, max)")
    for shift in range(250, 259):
        for eq in (115, 118, 120):
            e = errors(shift, lambda lat: eq - miller(lat))
            print("%5d  Miller, equator at y %d          %5.1f        %5.1f %5.1f" % ((shift, eq) + e))
        best = min((errors(shift, lambda lat: (t - lat) * 188.0 / (t - b)), t, b)
                   for t in range(80, 91) for b in range(-80, -40))
        print("%5d  linear %d N to %d S (best pins)   %5.1f        %5.1f %5.1f"
              % ((shift, best[1], -best[2]) + best[0]))


if __name__ == "__main__":
    main()
