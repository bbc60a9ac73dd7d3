#!/usr/bin/env python3
"""Writes the chromaticity points of the CIE 1931 diagram window.

Input: the CIE 1931 2-degree colour-matching functions as Debian's colord-data
ships them (CGATS text: one data block of three rows, x-bar, y-bar and z-bar,
from SPECTRAL_START_NM to SPECTRAL_END_NM). Output: three header lines, then
one row per chromaticity point "x y z r g b R G B", fields separated by one
blank, no line end after the last row:
  x y z   chromaticity, two decimals for x and y (the window's lookup key)
  r g b   linear sRGB of the point, clipped into gamut, brightest channel 1
  R G B   the same gamma-encoded as 8-bit sRGB (what the window draws)
The points form a grid 0.01 apart that covers the inside of the spectral
locus and a margin of 0.015 outside its edge, so that chromaticities a little
outside the locus (rounding, the red edge near x + y = 1) still find a colour.

Usage: make_cie_points.py CIE1931-2deg-XYZ.cmf CIEpoints.txt
Standard library only, so any Python 3 builds it.
"""
import math
import os
import sys

GRID = 0.01
MARGIN = 0.015

# XYZ to linear sRGB, D65 white (IEC 61966-2-1).
XYZ_TO_SRGB = (
    (3.2404542, -1.5371385, -0.4985314),
    (-0.9692660, 1.8760108, 0.0415560),
    (0.0556434, -0.2040259, 1.0572252),
)


def read_cmf(path):
    """Returns [(wavelength, xbar, ybar, zbar)] from a CGATS colour-matching file."""
    start = end = None
    rows = []
    in_data = False
    with open(path, encoding="latin-1") as handle:
        for raw in handle:
            line = raw.strip()
            if line.startswith("SPECTRAL_START_NM"):
                start = float(line.split()[1])
            elif line.startswith("SPECTRAL_END_NM"):
                end = float(line.split()[1])
            elif line == "BEGIN_DATA":
                in_data = True
            elif line == "END_DATA":
                break
            elif in_data and line:
                rows.append([float(v) for v in line.split()])
    if start is None or end is None or len(rows) != 3 or len({len(r) for r in rows}) != 1:
        raise SystemExit(f"{path}: not a CGATS file of three colour-matching functions")
    count = len(rows[0])
    step = (end - start) / (count - 1)
    return [(start + i * step, rows[0][i], rows[1][i], rows[2][i]) for i in range(count)]


def locus(cmf):
    """Chromaticities of the pure spectral lines."""
    points = []
    for _, xb, yb, zb in cmf:
        total = xb + yb + zb
        if total > 0:
            points.append((xb / total, yb / total))
    return points


def convex_hull(points):
    """Counter-clockwise hull (monotone chain). The 1931 locus is convex but
    for rounding noise at its two ends; the purple line closes it."""
    pts = sorted(set(points))

    def cross(o, a, b):
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])

    lower, upper = [], []
    for p in pts:
        while len(lower) >= 2 and cross(lower[-2], lower[-1], p) <= 0:
            lower.pop()
        lower.append(p)
    for p in reversed(pts):
        while len(upper) >= 2 and cross(upper[-2], upper[-1], p) <= 0:
            upper.pop()
        upper.append(p)
    return lower[:-1] + upper[:-1]


def segment_distance(p, a, b):
    ax, ay = b[0] - a[0], b[1] - a[1]
    length2 = ax * ax + ay * ay
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * ax + (p[1] - a[1]) * ay) / length2))
    return math.hypot(p[0] - a[0] - t * ax, p[1] - a[1] - t * ay)


def inside_or_near(p, hull):
    edges = list(zip(hull, hull[1:] + hull[:1]))
    inside = all((b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]) >= 0 for a, b in edges)
    return inside or min(segment_distance(p, a, b) for a, b in edges) <= MARGIN


def encode(c):
    c = 12.92 * c if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    return int(round(255 * min(1.0, max(0.0, c))))


def colour(x, y):
    xyz = (x, y, 1.0 - x - y)  # any positive scale: the brightest channel becomes 1
    linear = [max(0.0, sum(m * v for m, v in zip(row, xyz))) for row in XYZ_TO_SRGB]
    top = max(linear)
    linear = [c / top for c in linear] if top > 0 else [0.0, 0.0, 0.0]
    return linear, [encode(c) for c in linear]


def write_atomically(target, text):
    """ASCII text with LF line ends, in place of target only once complete."""
    temporary = target + ".part"
    with open(temporary, "w", encoding="ascii", newline="\n") as handle:
        handle.write(text)
    os.replace(temporary, target)


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    hull = convex_hull(locus(read_cmf(argv[1])))
    rows = []
    steps = int(round(1.0 / GRID))
    for i in range(steps + 1):
        for j in range(steps + 1 - i):
            x, y, z = i * GRID, j * GRID, (steps - i - j) * GRID
            if not inside_or_near((x, y), hull):
                continue
            linear, rgb = colour(x, y)
            rows.append("%.2f %.2f %.2f %.4f %.4f %.4f %d %d %d" % (x, y, z, *linear, *rgb))
    header = [
        "CIE 1931 2-degree chromaticity points from %s" % os.path.basename(argv[1]),
        "grid %.2f inside the spectral locus and %.3f beyond its edge; sRGB colours, D65 white, clipped into gamut"
        % (GRID, MARGIN),
        "x y z r_linear g_linear b_linear R G B",
    ]
    write_atomically(argv[2], "\n".join(header + rows))


if __name__ == "__main__":
    main(sys.argv)
