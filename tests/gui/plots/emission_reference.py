#!/usr/bin/env python3
"""Reference band areas and intensity parameters for test_orvanefrmplotemissionspectrum.cpp.

The test's Eu(III) spectrum (six Gaussian bands on a 0.25 nm grid from 570 to
720 nm, written with two decimals for the wavelength and 12 significant digits
for the intensity) is rebuilt here, the typed limits are snapped to the
nearest sample by hand, and each window [lo, hi) is summed with the trapezoid
rule over the samples lo .. hi-1; the barycentre is the intensity-weighted
mean wavelength of the samples lo .. hi-2 turned into cm^-1. Omega and Arad
follow the closed formulas of the experimental method:
  A1 = 0.31e-11 n^3 E1^3,  AJ = (SJ / S1) A1 (E1 / EJ),
  Omega_J = 3 hbar c^3 AJ / (4 e^2 (2 pi c EJ)^3 chi U_J),  chi = n (n^2 + 2)^2 / 9.
Run with /usr/bin/python3; the test holds the printed values.
"""
from math import exp

BANDS = [(579.0, 0.05, 0.8), (592.0, 0.30, 1.5), (614.0, 1.00, 2.0),
         (652.0, 0.04, 1.5), (695.0, 0.20, 2.0), (714.0, 0.02, 0.8)]
START, STEP, POINTS = 570.0, 0.25, 601


def spectrum():
    xs, ys = [], []
    for i in range(POINTS):
        lam = START + STEP * i
        y = sum(h * exp(-0.5 * ((lam - c) / s) ** 2) for c, h, s in BANDS)
        xs.append(float("%.2f" % lam))
        ys.append(float("%.12g" % y))
    return xs, ys


def nearest(xs, value):
    best = 0
    for i, x in enumerate(xs):
        if abs(x - value) < abs(xs[best] - value):
            best = i
    return best


def band(xs, ys, lo, hi):
    area = sum((ys[i] + ys[i + 1]) * 0.5 * (xs[i + 1] - xs[i]) for i in range(lo, hi - 1))
    sxy = sum(xs[i] * ys[i] for i in range(lo, hi - 1))
    sy = sum(ys[i] for i in range(lo, hi - 1))
    return area, 1e7 / (sxy / sy)


def omega(areas, bary, n=1.5):
    pi = 3.14159265359
    c, e, three_hbar = 2.99792458e10, 4.803204505713468e-10, 3.163715178e-27
    a1 = 0.31e-11 * n ** 3 * bary[1] ** 3
    rate = {1: a1}
    for j in (2, 4):
        rate[j] = areas[j] / areas[1] * a1 * bary[1] / bary[j]
    chi = n * (n * n + 2) ** 2 / 9.0
    om = {}
    for j, u in ((2, 0.0032), (4, 0.0023)):
        w = 2 * pi * c * bary[j]
        om[j] = three_hbar * c ** 3 * rate[j] / (4 * e * e * w ** 3 * chi * u)
    return om[2], om[4], rate[1] + rate[2] + rate[4]


if __name__ == "__main__":
    xs, ys = spectrum()
    typed = {1: (586.10, 598.40), 2: (602.00, 626.13), 4: (683.00, 706.90)}
    areas, bary = {}, {}
    for j, (low, high) in typed.items():
        lo, hi = nearest(xs, low), nearest(xs, high)
        areas[j], bary[j] = band(xs, ys, lo, hi)
        print("7F%d window [%d, %d) = %.2f .. %.2f nm  area %.15g  barycentre %.15g"
              % (j, lo, hi, xs[lo], xs[hi], areas[j], bary[j]))
    o2, o4, arad = omega(areas, bary)
    print("Omega2 %.15g  Omega4 %.15g  Arad %.15g" % (o2, o4, arad))
