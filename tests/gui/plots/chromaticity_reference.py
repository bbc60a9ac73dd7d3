#!/usr/bin/env python3
"""Reference chromaticities for test_orvanefrmciediagram.cpp.

An independent evaluation of the diagram's colour-matching lobes: Gaussian
lobes of x-bar in the wavelength and of y-bar, z-bar in its logarithm, each
interval weighted by its trapezoid area and evaluated at its first wavelength.
Run with /usr/bin/python3; the test holds the printed values.
"""
from math import exp, log


def lobes(lam):
    xb = 1.065 * exp(-0.5 * ((lam - 595.8) / 33.33) ** 2) + 0.366 * exp(-0.5 * ((lam - 446.8) / 19.44) ** 2)
    yb = 1.014 * exp(-0.5 * ((log(lam) - log(556.3)) / 0.075) ** 2)
    zb = 1.839 * exp(-0.5 * ((log(lam) - log(449.8)) / 0.051) ** 2)
    return xb, yb, zb


def chromaticity(wavelengths, intensities):
    X = Y = Z = 0.0
    for i in range(len(wavelengths) - 1):
        w = (intensities[i] + intensities[i + 1]) * (wavelengths[i + 1] - wavelengths[i]) * 0.5
        xb, yb, zb = lobes(wavelengths[i])
        X += w * xb
        Y += w * yb
        Z += w * zb
    return X / (X + Y + Z), Y / (X + Y + Z)


# The 5D0 -> 7F0..7F4 bands of a typical Eu(III) complex: centre (nm),
# height, standard deviation (nm); 0.5 nm steps from 570 to 720 nm.
EU_BANDS = [(579.0, 0.02, 1.0), (592.0, 0.25, 2.5), (612.0, 1.0, 3.0), (652.0, 0.06, 3.0), (700.0, 0.12, 4.0)]


def eu_spectrum():
    wl = [570.0 + 0.5 * k for k in range(301)]
    inten = [sum(h * exp(-0.5 * ((l - c) / s) ** 2) for c, h, s in EU_BANDS) for l in wl]
    return wl, inten


if __name__ == "__main__":
    print("line 612 nm      %.15f %.15f" % chromaticity([612.0, 612.5], [1.0, 1.0]))
    wl, inten = eu_spectrum()
    print("Eu(III) bands    %.15f %.15f" % chromaticity(wl, inten))
    print("Eu(III) reversed %.15f %.15f" % chromaticity(wl[::-1], inten[::-1]))
