#!/usr/bin/env python3
"""Reference chromaticities for test_orvanechromaticity.cpp and the
chromaticity window's tests.

An independent evaluation with numpy of the CIE 1931 2-degree chromaticity:
the colour-matching functions read from the CGATS file Debian ships
(colord-data), interpolated linearly at the spectrum's wavelengths (0 outside
the table), times the intensity, integrated by the trapezoid rule.
Run with /usr/bin/python3; the tests hold the printed values.
"""
import sys

import numpy as np

CMF = "/usr/share/colord/cmf/CIE1931-2deg-XYZ.cmf"


def read_cmf(path):
    with open(path, encoding="latin-1") as handle:
        lines = [line.strip() for line in handle]
    start = float(next(l for l in lines if l.startswith("SPECTRAL_START_NM")).split()[1])
    end = float(next(l for l in lines if l.startswith("SPECTRAL_END_NM")).split()[1])
    first = lines.index("BEGIN_DATA") + 1
    rows = np.array([[float(v) for v in lines[first + k].split()] for k in range(3)])
    return np.linspace(start, end, rows.shape[1]), rows


WAVELENGTHS, FUNCTIONS = read_cmf(CMF)


def table_chromaticity(lam):
    """x, y of the table's own functions at lam (interpolated between rows)."""
    xyz = np.array([np.interp(lam, WAVELENGTHS, f) for f in FUNCTIONS])
    return xyz[0] / xyz.sum(), xyz[1] / xyz.sum()


def chromaticity(wavelengths, intensities):
    """Intensities below zero count as 0 (an emission is never negative)."""
    lam = np.asarray(wavelengths, dtype=float)
    inten = np.maximum(np.asarray(intensities, dtype=float), 0.0)
    xyz = [np.trapz(np.interp(lam, WAVELENGTHS, f, left=0.0, right=0.0) * inten, lam) for f in FUNCTIONS]
    return xyz[0] / sum(xyz), xyz[1] / sum(xyz)


def chromaticity_any_order(wavelengths, intensities):
    """Each trapezoid weighed by its width whichever way it runs: wavelengths
    that go back and forth still give a point within the locus."""
    lam = np.asarray(wavelengths, dtype=float)
    inten = np.maximum(np.asarray(intensities, dtype=float), 0.0)
    xyz = []
    for f in FUNCTIONS:
        y = np.interp(lam, WAVELENGTHS, f, left=0.0, right=0.0) * inten
        xyz.append(np.sum(0.5 * np.abs(np.diff(lam)) * (y[:-1] + y[1:])))
    return xyz[0] / sum(xyz), xyz[1] / sum(xyz)


def line(centre):
    """A narrow line: a Gaussian of 0.1 nm standard deviation, 0.01 nm steps over +-1 nm."""
    lam = centre + 0.01 * np.arange(-100, 101)
    return lam, np.exp(-0.5 * ((lam - centre) / 0.1) ** 2)


# The 5D0 -> 7F0..7F4 bands of a typical Eu(III) complex: centre (nm),
# height, standard deviation (nm); 0.5 nm steps from 570 to 720 nm.
EU_BANDS = [(579.0, 0.02, 1.0), (592.0, 0.25, 2.5), (612.0, 1.0, 3.0), (652.0, 0.06, 3.0), (700.0, 0.12, 4.0)]


def eu_spectrum():
    lam = 570.0 + 0.5 * np.arange(301)
    return lam, sum(h * np.exp(-0.5 * ((lam - c) / s) ** 2) for c, h, s in EU_BANDS)


def eu_measured():
    """The same bands over 400-750 nm in 0.5 nm steps on a baseline 3 % of the peak below zero."""
    lam = 400.0 + 0.5 * np.arange(701)
    inten = sum(h * np.exp(-0.5 * ((lam - c) / s) ** 2) for c, h, s in EU_BANDS)
    return lam, inten - 0.03 * inten.max()


if __name__ == "__main__":
    if len(sys.argv) > 1:
        CMF = sys.argv[1]
    for centre in (450.0, 550.0, 611.0, 700.0):
        print("table at %g nm    %.15f %.15f" % ((centre,) + table_chromaticity(centre)))
        print("line at %g nm     %.15f %.15f" % ((centre,) + chromaticity(*line(centre))))
    lam, inten = eu_spectrum()
    print("Eu(III) bands       %.15f %.15f" % chromaticity(lam, inten))
    print("Eu(III) reversed    %.15f %.15f" % chromaticity(lam[::-1], inten[::-1]))
    lam, inten = eu_measured()
    print("Eu(III) measured    %.15f %.15f (%d below zero, lowest %.3g)"
          % (chromaticity(lam, inten) + ((inten < 0).sum(), inten.min())))
    print("612-613 nm, last -0.5 %.15f %.15f" % chromaticity([612.0, 612.5, 613.0], [1.0, 1.0, -0.5]))
    print("600, 700, 450, 460 nm %.15f %.15f" % chromaticity_any_order([600.0, 700.0, 450.0, 460.0], np.ones(4)))
    print("two points 612-612.5 %.15f %.15f" % chromaticity([612.0, 612.5], [1.0, 1.0]))
    # Half the spectrum beyond the table: only 820-830 nm counts.
    print("820-840 nm flat     %.15f %.15f" % chromaticity(np.arange(820.0, 840.01, 1.0), np.ones(21)))
