#!/usr/bin/python3
"""Expected intensity-parameter reports of eu_n9.mop, computed outside the engine.

Run with /usr/bin/python3 (needs numpy and sympy) in this folder; it rewrites
eu_n9_all.omega, eu_n9_none.omega and eu_n9_omega.omega.

Nothing here comes from the engine: the spherical coordinates are taken from
the Cartesian rows of the input, the harmonics from the Legendre polynomials
of numpy (checked against sympy's Ynm below), the atom-pair matrix of the
partition through the addition theorem, its eigenvectors from numpy, and the
text layout written out again here, apart from the engine. The inputs below
(refractive index, g, alpha, QDC data, ligands, citations) are the ones the
tests hand to the engine.
"""
import cmath
import math
import sys

import numpy as np
from numpy.polynomial import legendre as npleg

REFRACTIVE_INDEX = 1.6
N = 9
# Atoms 2..10.
G = [0.42, 0.63, 0.38, 0.21, 0.55, 0.71, 0.47, 0.90, 0.35]
ALPHA_A3 = [1.85, 2.40, 1.62, 0.95, 2.05, 3.10, 1.70, 4.60, 3.35]
CHARGES = [-0.912, -0.655, -0.874, -0.502, -0.941, -0.598, -0.889, -0.315, -0.447]
SDE = [0.6231, 0.9127, 0.5874, 0.2755, 0.6402, 0.8810, 0.5519, 1.4023, 1.1186]
QDC = (0.3857, 2.1946, 0.8123)
LIGANDS = ["acac 2 4", "phen 3 7", "water 6", "fluoride 5", "thiocyanate 9"]
CITATIONS = "\n Required citations:\n   the intensity model and the charge factors of this report.\n"
GEOMETRY = "eu_n9.mop"

# Model constants (Eu3+).
A0 = 5.2917721092e-9
RK = {2: 0.9175 * A0**2, 4: 2.02 * A0**4, 6: 9.039 * A0**6, 8: 110.03237 * A0**8}
SIGMA = {2: 0.6, 4: 0.139, 6: 0.1}
REDUCED_C = {2: -1.366, 4: 1.128, 6: -1.2774}
DELTA_E = -2.383392e-11
E_CHARGE = 4.803204505713468e-10
E2_LITERAL = 2.307077352370616e-19
FOUR_PI = 12.56637061436
THETA = {(1, 2): -0.17, (3, 2): 0.345, (3, 4): 0.18, (5, 4): -0.24, (5, 6): -0.24, (7, 6): 0.24}

BANNER_WIDTH = 107


def banner_line(indent, text=""):
    return ((" " * indent + text)[:BANNER_WIDTH]).ljust(BANNER_WIDTH) + "\n"


BANNER = (banner_line(16, "*" * 91) + banner_line(0)
          + banner_line(37, "ORVANE - Lanthanide Luminescence Software - version 1.4.1") + banner_line(0)
          + banner_line(18, "Cite this work as: The ORVANE developers,")
          + banner_line(37, "ORVANE: theoretical lanthanide luminescence package")
          + banner_line(37, "README.md of the ORVANE source distribution, 2026, version 1.4.1")
          + banner_line(37, "See README.md in the ORVANE sources")
          + banner_line(37, "DOI: none (cite the README)")
          + banner_line(0) + banner_line(16, "*" * 91))


# --- number formats -----------------------------------------------------------
def _z(v):
    return v + 0.0  # an exact zero prints without a sign


def f(v, d):
    return "%.*f" % (d, _z(v))


def e(v, d):
    return "%.*e" % (d, _z(v))


def rj(s, w):
    return s.rjust(w)


def lj(s, w):
    return s.ljust(w)


def S(i):
    return ")  = " if i <= 9 else ") = "


def T(i):
    return ")|  = " if i <= 9 else ")| = "


def U(i):
    return ") = " if i <= 9 else ")="


# --- geometry -----------------------------------------------------------------
def read_mop(path):
    atoms = []
    with open(path) as fh:
        lines = fh.read().split("\n")
    for line in lines[3:]:
        fields = line.split()
        if not fields:
            break
        atoms.append((fields[0], float(fields[1]), float(fields[3]), float(fields[5])))
    return atoms


ATOMS = read_mop(GEOMETRY)
EU = ATOMS[0]


def spherical(k):
    """(R, theta, phi) of atom k (1-based) about atom 1, Angstrom and degrees."""
    _, x, y, z = ATOMS[k - 1]
    x, y, z = x - EU[1], y - EU[2], z - EU[3]
    r = math.sqrt(x * x + y * y + z * z)
    if r == 0:
        return 0.0, 0.0, 0.0
    theta = math.degrees(math.acos(z / r))
    phi = math.degrees(math.atan2(y, x)) % 360.0
    return r, theta, phi


def label(k):
    return ATOMS[k - 1][0]


DONORS = list(range(2, N + 2))
g = {i: G[i - 2] for i in DONORS}
alpha = {i: ALPHA_A3[i - 2] * 1e-24 for i in DONORS}
R_MIN = min(spherical(i)[0] for i in DONORS)
rho = {i: 0.05 * (R_MIN / spherical(i)[0]) ** 3.5 for i in DONORS}


def beta_of(i):
    if label(i) in ("O", "F"):
        return 1 / (1 + rho[i])
    if label(i) in ("N", "Cl"):
        return 1 / (1 - rho[i])
    return 0.0


beta = {i: beta_of(i) for i in DONORS}


def Y(t, p, i):
    """Y_t^p with the Condon-Shortley phase, any sign of p."""
    _, theta, phi = spherical(i)
    th, ph = math.radians(theta), math.radians(phi)
    m = abs(p)
    deriv = npleg.legder(npleg.Legendre.basis(t).coef, m) if m else npleg.Legendre.basis(t).coef
    plm = (-1) ** m * math.sin(th) ** m * npleg.legval(math.cos(th), deriv)
    norm = math.sqrt((2 * t + 1) / (4 * math.pi) * math.factorial(t - m) / math.factorial(t + m))
    y = norm * plm * cmath.exp(1j * m * ph)
    if p < 0:
        y = (-1) ** m * y.conjugate()
    return y


def check_harmonics():
    from sympy import Ynm, N as numeric, Symbol
    for (t, p, i) in [(3, 2, 4), (5, -3, 9), (7, 7, 10), (4, -1, 2)]:
        _, theta, phi = spherical(i)
        ref = complex(numeric(Ynm(t, p, math.radians(theta), math.radians(phi)).expand(func=True), 20))
        assert abs(ref - Y(t, p, i)) < 1e-12, (t, p, i, ref, Y(t, p, i))


def rcm(i):
    return spherical(i)[0] * 1e-8


def gamma(t, p, i):
    return (math.sqrt(FOUR_PI / (2 * t + 1)) * E2_LITERAL * rho[i] * (2 * beta[i]) ** (t + 1) * g[i]
            / rcm(i) ** (t + 1) * Y(t, p, i).conjugate())


def GAMMA(t, p, i):
    return math.sqrt(FOUR_PI / (2 * t + 1)) * alpha[i] / rcm(i) ** (t + 1) * Y(t, p, i).conjugate()


def BEd(lam, t, p):
    return (2 / DELTA_E) * RK[t + 1] * THETA.get((t, lam), 0.0) * sum(gamma(t, p, i) for i in DONORS)


def BDc(lam, t, p):
    if t != lam + 1:
        return 0j
    factor = -math.sqrt((lam + 1) * (2 * lam + 3) / (2 * lam + 1)) * RK[lam] * (1 - SIGMA[lam]) * REDUCED_C[lam]
    return factor * sum(GAMMA(t, p, i) for i in DONORS)


def omega_parts(lam):
    ed = dc = tot = 0.0
    for t in (lam - 1, lam + 1):
        for p in range(-t, t + 1):
            bed, bdc = BEd(lam, t, p), BDc(lam, t, p)
            ed += abs(bed) ** 2 / (2 * t + 1)
            dc += abs(bdc) ** 2 / (2 * t + 1)
            tot += abs(bed + bdc) ** 2 / (2 * t + 1)
    k = 2 * lam + 1
    return k * tot, k * ed, k * dc


OMEGA = {lam: omega_parts(lam) for lam in (2, 4, 6)}


def Bkq(k, q, i):
    return (E_CHARGE**2 * math.sqrt(FOUR_PI / (2 * k + 1)) * RK[k] * rho[i] * (2 * beta[i]) ** (k + 1) * g[i]
            / rcm(i) ** (k + 1) * Y(k, q, i).conjugate())


# --- radiative rates ----------------------------------------------------------
PI_LITERAL = 3.14159265359
THREE_H = 1.987820871e-26


def radiative_rates():
    n = REFRACTIVE_INDEX
    chi = n * (n * n + 2) ** 2 / 9
    md = 64 * PI_LITERAL**4 * 16921**3 / THREE_H * n**3 * 9.6e-42
    ed = {}
    for lam, u, sigma in ((2, 0.0032, 16267), (4, 0.0023, 14470), (6, 0.0002, 12386)):
        ed[lam] = 64 * PI_LITERAL**4 * sigma**3 / THREE_H * chi * E_CHARGE**2 * OMEGA[lam][0] * u
    return ed, md


def arad_constant(lam):
    n = REFRACTIVE_INDEX
    chi = n * (n * n + 2) ** 2 / 9
    u, sigma = {2: (0.0032, 16267), 4: (0.0023, 14470), 6: (0.0002, 12386)}[lam]
    return chi * u * E_CHARGE**2 * 64 * PI_LITERAL**4 * sigma**3 / THREE_H


def unit_vector(i):
    _, x, y, z = ATOMS[i - 1]
    v = np.array([x - EU[1], y - EU[2], z - EU[3]])
    return v / np.linalg.norm(v)


def K(lam, t, i):
    ed = THETA.get((t, lam), 0.0) * (2 / DELTA_E) * RK[t + 1] * E_CHARGE**2 * rho[i] * (2 * beta[i]) ** (t + 1) \
        * g[i] / rcm(i) ** (t + 1)
    dc = 0.0
    if t == lam + 1:
        dc = math.sqrt((lam + 1) * (2 * lam + 3) / (2 * lam + 1)) * RK[lam] * (1 - SIGMA[lam]) * REDUCED_C[lam] \
            * alpha[i] / rcm(i) ** (t + 1)
    return math.sqrt(FOUR_PI / (2 * t + 1)) * (ed - dc)


def pair_term(lam, i, j):
    """E(lambda, i, j) by the addition theorem: sum_p conj(Y_i) Y_j = (2t+1)/(4 pi) P_t(cos gamma)."""
    c = float(np.dot(unit_vector(i), unit_vector(j)))
    total = 0.0
    for t in (lam - 1, lam + 1):
        total += K(lam, t, i) * K(lam, t, j) * npleg.legval(c, npleg.Legendre.basis(t).coef) / (4 * math.pi)
    return (2 * lam + 1) * total


def partition():
    M = np.zeros((N, N))
    for a, i in enumerate(DONORS):
        for b, j in enumerate(DONORS):
            M[a, b] = sum(arad_constant(lam) * pair_term(lam, i, j) for lam in (2, 4, 6))
    values, vectors = np.linalg.eigh(M)
    shares = np.zeros(N)
    for k in range(N):
        c = vectors[:, k].sum()
        shares += values[k] * c * c * vectors[:, k] ** 2
    return shares


def ligands():
    out = []
    for line in LIGANDS:
        pieces = line.split()
        if not pieces:
            break
        out.append((pieces[0], [int(x) for x in pieces[1:]]))
    return out


# --- the report ---------------------------------------------------------------
ALL = ["betaAndRo", "bltpParameters", "bltpParametersDC", "bltpParametersED", "constantValues", "GAMA",
       "sumGAMA", "gAndAlpha", "omega", "omegaDC", "omegaED", "sphericalCoordinates", "sphericalHarmonicals",
       "gama", "sumgama", "arad", "ligandContributionForArad", "bkq"]


def report(flags, use_qdc):
    on = set(flags)
    out = [BANNER + "\n\n\n"]
    w = out.append
    w("The data shown below were calculated from the geometry read in following file: \n")
    w("    " + GEOMETRY + "\n\n")

    if "sphericalCoordinates" in on:
        w("------------------------------------------------------\n Spherical coordinates of the coordination "
          "polyhedron \n------------------------------------------------------\n\n")
        w("ATOM        R          theta         phi\n        (Angstroms)  (degrees)    (degrees)\n")
        for i in range(1, N + 2):
            r, th, ph = spherical(i)
            w(" " + lj(label(i), 2) + rj(f(r, 4), 13) + rj(f(th, 2), 12) + rj(f(ph, 2), 12) + "\n")
        w("\n")

    if use_qdc:
        q, d, c = QDC
        w("-" * 67 + "\n" + "          QDC Ajusted Values" + "\n" + "-" * 67 + "\n")
        w(" au^-1 = inverse atomic units       A^3 = cubic Angstroms\n\n")
        w(" Q =" + rj(f(q, 4), 7) + lj(" au^-1", 11) + " D =" + rj(f(d, 4), 8) + lj(" au^-1.A^3", 15)
          + " C =" + rj(f(c, 4), 8) + lj(" A^3", 7) + " Ratio D/C =" + rj(f(d / c, 2), 5) + lj(" au^-1", 7)
          + "\n\n")
        w("-------------------------------------------------------------------\n")
        w(" Atomic Charges (au)             " + "Superdelocalizabilities (au)\n")
        w("-------------------------------------------------------------------\n\n")
        for i in DONORS:
            w(lj(" atomic charges(" + str(i) + S(i), 8) + rj(f(CHARGES[i - 2], 4), 8)
              + rj(" SDE(" + str(i) + S(i), 19) + rj(f(SDE[i - 2], 4), 8) + "\n")
        w("\n")

    if "gAndAlpha" in on:
        w("------------------------------------------------------------------\n Charge Factors         "
          "Polarizabilies (cubic Angstroms)          \n"
          "------------------------------------------------------------------\n\n")
        for i in DONORS:
            w(lj(" g(" + str(i) + S(i), 8) + rj(f(g[i], 4), 8) + rj(" alpha(" + str(i) + S(i), 19)
              + rj(f(alpha[i] * 1e24, 4), 8) + "\n")
        w("\n")

    if "omega" in on:
        w("-------------------------------------------------------\n Theoretical Judd-Ofelt Intensity "
          "Parameters, omega(l) \n-------------------------------------------------------\n\n")
        for lam in (2, 4, 6):
            v = OMEGA[lam][0] * 1e20
            w(rj("omega(%d) = " % lam, 15) + rj(f(v, 4 if lam == 6 else 2) + "e-20 cm^2", 15) + "\n")
        w("\n")

    if "constantValues" in on:
        w("-----------------------------------\n  Constant values for the Eu3+ Ion \n"
          "-----------------------------------\n\n")
        w(" Used Racah Tensor Operator:  <f|C(2)|f> =" + rj(f(REDUCED_C[2], 4), 8) + rj("<f|C(4)|f> =", 20)
          + rj(f(REDUCED_C[4], 4), 8) + rj("<f|C(6)|f> =", 20) + rj(f(REDUCED_C[6], 4), 8) + "\n\n")
        w(" Used Shielding Factor:         sigma(2) =" + rj(f(SIGMA[2], 3), 8) + rj("sigma(4) =", 20)
          + rj(f(SIGMA[4], 3), 8) + rj("sigma(6) =", 20) + rj(f(SIGMA[6], 3), 8) + "\n\n")
        w(" Radial Integrals:  r(2) =" + rj(e(RK[2], 3), 10) + " cm^2" + rj("r(4) =", 16) + rj(e(RK[4], 3), 10)
          + " cm^4" + rj("r(6) =", 16) + rj(e(RK[6], 3), 10) + " cm^6" + rj("r(8) =", 16) + rj(e(RK[8], 3), 10)
          + " cm^8\n\n")
        th = lambda t, lam: rj(f(THETA.get((t, lam), 0.0), 3), 7)
        w(" Numberic Factors of Europium Ion, teta(t,l):\n    teta(1,2) =" + th(1, 2) + "    teta(3,2) ="
          + th(3, 2) + "\n    teta(3,4) =" + th(3, 4) + "    teta(5,4) =" + th(5, 4) + "\n    teta(5,6) ="
          + th(5, 6) + "    teta(7,6) =" + th(7, 6) + "\n\n")
        w(" Delta E = " + e(DELTA_E, 4) + "\n\n Delta E is a constant, approximately given by the energy "
          "difference between the barycenters\n of the ground 4fN and first opposite parity excited of "
          "configuration 4f(N-1)5d of the europium ion)\n")
        w("\n")

    if "sphericalHarmonicals" in on:
        w("---------------------------------------------------------------------\n Spherical Harmonicals "
          "Y(t,p,i), where i represents the ligand atoms \n"
          "---------------------------------------------------------------------\n\n")
        for t in (1, 3, 5, 7):
            for p in range(-t, t + 1):
                for i in DONORS:
                    y = Y(t, p, i)
                    w(lj("Y(%d,%d,%d" % (t, p, i) + U(i), 13) + rj(f(y.real, 4), 8) + " + " + rj(f(y.imag, 4), 8)
                      + "i        " + lj("|Y(%d,%d,%d" % (t, p, i) + T(i), 16) + rj(e(abs(y), 3), 7) + "\n")
        w("\n")

    if "betaAndRo" in on:
        w("---------------------------------------------------\n Quantities associated to the Simple Overlap "
          "Model \n---------------------------------------------------\n\n")
        w("    Overlap (degree of covalency of the metal-ligand bond), ro(i), i standing for each ligand atom.\n\n")
        for i in DONORS:
            w("     ro(" + str(i) + S(i) + f(rho[i], 4) + "\n")
        w("\n")
        w("    Beta factor (according to the SOM the beta factor is introduced as a parameter to account for "
          "the fact that the charge\n    distributions may not necessarily be centered at the middle distances "
          "Ri/2), beta (i), i standing for each ligand atom.\n\n")
        for i in DONORS:
            w("     beta(" + str(i) + S(i) + f(beta[i], 4) + "\n")
        w("\n")

    def lattice_section(heading, name, fn, units, per_atom_flag, sum_flag, atom_modulus_suffix):
        if per_atom_flag not in on and sum_flag not in on:
            return
        w(heading)
        for t in (1, 3, 5, 7):
            u = units[t]
            for p in range(-t, t + 1):
                total = 0j
                for i in DONORS:
                    G_ = fn(t, p, i)
                    total += G_
                    if per_atom_flag in on:
                        w(name + "(%d,%d,%d" % (t, p, i) + S(i) + rj(e(G_.real, 3), 10) + " + "
                          + rj(e(G_.imag, 3), 10) + "i " + u
                          + rj("|" + name + "(%d,%d,%d" % (t, p, i) + atom_modulus_suffix(i), 24)
                          + rj(e(abs(G_), 3), 10) + " " + u + "\n")
                if sum_flag in on:
                    w("Sum " + name + "(%d,%d) = " % (t, p) + rj(e(total.real, 3), 10) + " + "
                      + rj(e(total.imag, 3), 10) + "i " + u + rj("|" + name + "(%d,%d)| = " % (t, p), 21)
                      + rj(e(abs(total), 3), 10) + " " + u + "\n")
        w("\n")

    lattice_section("---------------------------\n   Parameters GAMA(t,p,i)  \n---------------------------\n\n",
                    "GAMA", GAMMA, {1: "cm   ", 3: "cm^-1", 5: "cm^-3", 7: "cm^-5"}, "GAMA", "sumGAMA", T)

    def bltp_section(heading, fn, tag):
        w(heading)
        for lam in (2, 4, 6):
            for t in (lam - 1, lam + 1):
                for p in range(-t, t + 1):
                    b = fn(lam, t, p)
                    w(lj("B(%d,%d,%d) %s = " % (lam, t, p, tag), 15) + rj(e(b.real, 3), 10) + " + "
                      + rj(e(b.imag, 3), 10) + "i cm" + rj("|B(%d,%d,%d) %s| = " % (lam, t, p, tag), 24)
                      + rj(e(abs(b), 3), 10) + " cm\n")
        w("\n")

    if "bltpParametersDC" in on:
        bltp_section("-------------------------------------------------\n  Dynamics Coupling Bltp Parameters, "
                     "B(l,t,p) DC \n-------------------------------------------------\n\n", BDc, "DC")

    if "omegaDC" in on:
        w("-----------------------------------------------------\n Dynamics Coupling Judd-Ofelt Parameters, "
          "omegaDC(l) \n-----------------------------------------------------\n\n")
        for lam in (2, 4, 6):
            w(rj("omegaDC(%d) = " % lam, 15) + rj(f(OMEGA[lam][2] * 1e20, 4) + "e-20 cm^2", 15) + "\n")
        w("\n")

    lattice_section("----------------------------------------------\n Odd-rank ligand field parameters, "
                    "gama(t,p,i)\n----------------------------------------------\n\n",
                    "gama", gamma, {1: "erg cm^-1", 3: "erg cm^-3", 5: "erg cm^-5", 7: "erg cm^-7"}, "gama",
                    "sumgama", lambda i: ")| = ")

    if "bltpParametersED" in on:
        bltp_section("----------------------------------------------\n Electric Dipole Bltp Parameters, "
                     "B(l,t,p) ED \n----------------------------------------------\n\n", BEd, "ED")

    if "omegaED" in on:
        w("-----------------------------------------------------------\n Forced Electric Dipole Judd-Ofelt "
          "Parameters, omegaED (l) \n-----------------------------------------------------------\n\n")
        for lam in (2, 4, 6):
            v = max(OMEGA[lam][1] * 1e20, 0.0001)
            w(rj("omegaED(%d) = " % lam, 15) + rj(f(v, 4) + "e-20 cm^2", 15) + "\n")
        w("\n")

    if "bltpParameters" in on:
        w("-------------------------------------------------------\n Bltp parameters (B(l,t,p) = B(l,t,p) ED + "
          "B(l,t,p) DC)\n-------------------------------------------------------\n\n")
        for lam in (2, 4, 6):
            for t in (lam - 1, lam + 1):
                for p in range(-t, t + 1):
                    b = BEd(lam, t, p) + BDc(lam, t, p)
                    w(lj("B(%d,%d,%d) = " % (lam, t, p), 12) + rj(e(b.real, 3), 10) + " + " + rj(e(b.imag, 3), 10)
                      + "i cm" + rj("|B(%d,%d,%d)| = " % (lam, t, p), 22) + rj(e(abs(b), 3), 10) + " cm"
                      + rj("|B(%d,%d,%d)|^2 = " % (lam, t, p), 24) + rj(e(abs(b) ** 2, 3), 10) + " cm^2\n")

    if "arad" in on:
        w("---------------------------------------------------------------\n")
        w("             Theoretical Radiative Emission Rates              \n")
        w("---------------------------------------------------------------\n")
        w(" ED electric dipole, MD magnetic dipole\n\n")
        ed, md = radiative_rates()
        total = ed[2] + md + ed[4] + ed[6]
        w(" Chosen Refractive Index = " + f(REFRACTIVE_INDEX, 3) + "\n\n")
        w(" Arad(ED02) (5D0->7F2)        =" + rj(f(ed[2], 2), 8) + " s^-1\n")
        w(" Arad(ED04) (5D0->7F4)        =" + rj(f(ed[4], 2), 8) + " s^-1\n")
        w(" Arad(ED06) (5D0->7F6)        =" + rj(f(ed[6], 2), 8) + " s^-1\n\n")
        w(" Arad(ED) (5D0->7FJ, J=2,4,6) =" + rj(f(total - md, 2), 8) + " s^-1\n")
        w(" Arad(MD) (5D0->7F1)          =" + rj(f(md, 2), 8) + " s^-1\n\n")
        w(" Arad [Arad(ED) + Arad(MD)]   =" + rj(f(total, 2), 8) + " s^-1\n")

    if "ligandContributionForArad" in on:
        groups = ligands()
        shares = partition()
        total = shares.sum()
        w("\n" + "-" * 63 + "\n" + "    Chemical Partition of Arad(ED)" + "\n" + "-" * 63 + "\n\n")
        w("---------------------------------\n" + "Chemical Partition by Atom (s^-1)\n"
          + "---------------------------------\n")
        for k in range(N):
            a = k + 2
            name = next((n for n, atoms in groups if a in atoms), "")
            w(lj(name + "(" + str(a) + ")  ", 11) + rj(f(shares[k], 2), 8) + rj(f(100 * shares[k] / total, 2), 8)
              + " %\n")
        w("=================================\n" + lj("Arad(ED)", 10) + rj(f(total, 2), 9) + rj("100.00 %", 10)
          + "\n\n")
        w("-------------------------------------\n" + "Chemical Partition by Grouping (s^-1)\n"
          + "-------------------------------------\n")
        for name, atoms in groups:
            s = sum(shares[a - 2] for a in atoms)
            w(lj(name, 11) + rj(f(s, 2), 8) + rj(f(100 * s / total, 2), 8) + " %\n")
        w("=================================\n" + lj("Arad(ED)", 10) + rj(f(total, 2), 9) + rj("100.00 %", 10)
          + "\n")

    w("\n\n")

    if "bkq" in on:
        w("----------------------------------------------\n    Bkq ligand field parameters, Bkq(k,q)   \n"
          "----------------------------------------------\n\n")
        for k in (2, 4, 6):
            for q in range(-k, k + 1):
                s = sum(Bkq(k, q, i) for i in DONORS) * 5.035e15
                V = ")  = " if q >= 0 else ") = "
                w("Bkq(%d,%d" % (k, q) + V + rj(f(s.real, 2), 10) + " + " + rj(f(s.imag, 2), 8) + "i " + "cm^-1"
                  + rj("|Bkq(%d,%d)| = " % (k, q), 21) + rj(f(abs(s), 2), 10) + " " + "cm^-1" + "\n")
        w("\n")

    w(CITATIONS)
    return "".join(out)


def main():
    check_harmonics()
    files = {
        "eu_n9_all.omega": (ALL, True),
        "eu_n9_none.omega": ([], False),
        "eu_n9_omega.omega": (["omega"], False),
    }
    for name, (flags, use_qdc) in files.items():
        with open(name, "w", newline="\n") as fh:
            fh.write(report(flags, use_qdc))
    ed, md = radiative_rates()
    shares = partition()
    print("Omega (cm^2):", {lam: OMEGA[lam] for lam in OMEGA})
    print("Arad(ED) =", sum(ed.values()), " partition total =", shares.sum(), " Arad(MD) =", md)
    return 0


if __name__ == "__main__":
    sys.exit(main())
