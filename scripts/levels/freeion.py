#!/usr/bin/python3
"""Free-ion tables and reference levels of the 4f^N configurations.

Everything is computed here from first principles, in second quantisation over
the C(14, N) Slater determinants of the f shell:

  tables      writes EnergyLevels4f/f1.cfp ... f7.cfp and f1.ele ... f7.ele
  reference   diagonalises the free-ion Hamiltonian (Coulomb + spin-orbit) in
              the determinant basis, without the tables, and writes the levels
              that the engine tests compare against
  check       regenerates both into a temporary folder, compares them byte for
              byte with the committed files and runs the consistency checks

Usage:
  freeion.py tables [OUTDIR]        (default: data/EnergyLevels4f)
  freeion.py reference [OUTFILE]    (default: tests/engine/levels/freeionreference.h)
  freeion.py check

Conventions (the engine reads the tables with exactly these):

* One f electron: orbitals (ml, ms), ml = -3..3, ms = -1/2, +1/2; a determinant
  is a+_{i1} a+_{i2} ... |0> with i1 < i2 < ..., orbital index 2(ml+3) + (ms+1/2).
* Terms of f^N are the highest-weight states (M_S = S, M_L = L) of each (S, L):
  the null space of the raising operators S+ and L+ in that (M_S, M_L) sector.
  Lower components follow from S- and L- with the usual Condon-Shortley phases.
* Repeated terms (same S and L) are separated and numbered 1, 2, ... in this
  fixed order: seniority v ascending (from the eigenvalues of the quasispin
  pairing operator Q+Q-), then the SO(7) Casimir 3 V1.V1 + 7 V3.V3 + 11 V5.V5
  ascending (Racah's W), then the G2 Casimir 3 V1.V1 + 11 V5.V5 ascending
  (Racah's U; V^k are the orbital unit tensors), then, for the pairs of states
  of f^5, f^6 and f^7 that share S, L, v, W and U, the eigenvalues of the e2
  matrix ascending (e3 is degenerate on some of them).  A term that occurs
  once has no index.
* Terms are listed with S descending, then L ascending, then index ascending.
* Coefficients of fractional parentage couple the parent first and the added
  electron second:  |f^N a SL> = sum_p (p|}a) |f^(N-1) p, f; SL>, i.e.
  (p|}a) = N^-1/2 sum <Sp Mp 1/2 s|S S><Lp Mp' 3 m|L L> <a|a+_{m s}|p Mp Mp'>.
  The phase of each term is fixed by making its first non-zero coefficient (in
  parent order) positive.
* The Coulomb operator is sum_k F^k c^k c^k with Gaunt coefficients
  c^k(m, m') = (-1)^m 7 (3 k 3; 0 0 0)(3 k 3; -m m-m' m').  The engine's
  Slater parameters F2, F4, F6 are Condon-Shortley's F_k = F^k / D_k with
  D_2 = 225, D_4 = 1089, D_6 = 184041/25, and its Racah parameters are
  E0 = F0 - 10 F2 - 33 F4 - 286 F6, E1 = (70 F2 + 231 F4 + 2002 F6)/9,
  E2 = (F2 - 3 F4 + 7 F6)/9, E3 = (5 F2 + 6 F4 - 91 F6)/3.  The .ele table
  holds the e0..e3 with <a|H_C|b> = e0 E0 + e1 E1 + e2 E2 + e3 E3.
* Numbers that equal a rational or the square root of a rational to 2e-14,
  with a denominator free of primes above 23, are written from that exact
  value; the rest (states fixed by the e2 tie-break) with 17 significant
  digits.  The float computation itself is good to a few 1e-15.
"""

import itertools
import math
import os
import sys
import tempfile
from decimal import Decimal, getcontext
from fractions import Fraction
from functools import lru_cache

# Reproducible digits: one thread, whatever the BLAS.
for _var in ("OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ[_var] = "1"

import numpy as np  # noqa: E402
from sympy import Rational, S as SymS  # noqa: E402
from sympy.physics.wigner import clebsch_gordan, wigner_3j, wigner_6j  # noqa: E402

LSHELL = 3
NORB = 14
LETTERS = "SPDFGHIKLMNOQ"
ORBITALS = [(ml, ms2) for ml in range(-LSHELL, LSHELL + 1) for ms2 in (-1, 1)]
D_K = {0: Fraction(1), 2: Fraction(225), 4: Fraction(1089), 6: Fraction(184041, 25)}
# E_i = sum_k RACAH[i][k] F_k, k = 0, 2, 4, 6
RACAH = [[Fraction(1), Fraction(-10), Fraction(-33), Fraction(-286)],
         [Fraction(0), Fraction(70, 9), Fraction(231, 9), Fraction(2002, 9)],
         [Fraction(0), Fraction(1, 9), Fraction(-3, 9), Fraction(7, 9)],
         [Fraction(0), Fraction(5, 3), Fraction(6, 3), Fraction(-91, 3)]]

TERM_COUNTS = {1: 1, 2: 7, 3: 17, 4: 47, 5: 73, 6: 119, 7: 119}
LEVEL_COUNTS = {1: 2, 2: 13, 3: 41, 4: 107, 5: 198, 6: 295, 7: 327}

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
TABLE_DIR = os.path.join(ROOT, "data", "EnergyLevels4f")
REFERENCE_FILE = os.path.join(ROOT, "tests", "engine", "levels", "freeionreference.h")

# Parameter sets of the reference levels (cm^-1): F2, F4, F6 as F_k, zeta.
EU_PARAMETERS = (371.0, 54.8, 5.75, 1334.0)
REFERENCE_CASES = [(n, EU_PARAMETERS) for n in range(1, 14)] + [
    (2, (325.0, 45.0, 5.0, 750.0)),
    (12, (325.0, 45.0, 5.0, 750.0)),
    (13, (400.0, 60.0, 6.0, 2900.0)),
]


def popcount(x):
    return bin(x).count("1")


def fermion_sign(mask, p):
    return -1.0 if popcount(mask & ((1 << p) - 1)) & 1 else 1.0


# ---------------------------------------------------------------------------
# Determinant sectors and operators
# ---------------------------------------------------------------------------

class Shell:
    """Determinants of f^n grouped by (n, 2 M_S, M_L); operators between sectors."""

    def __init__(self):
        self.sectors = {}
        for n in range(0, NORB + 1):
            for occ in itertools.combinations(range(NORB), n):
                mask = 0
                ms2 = ml = 0
                for i in occ:
                    mask |= 1 << i
                    ml += ORBITALS[i][0]
                    ms2 += ORBITALS[i][1]
                self.sectors.setdefault((n, ms2, ml), []).append(mask)
        self.index = {}
        for key, masks in self.sectors.items():
            masks.sort()
            self.index[key] = {m: i for i, m in enumerate(masks)}
        self._cache = {}
        self._coulomb_pairs = None

    def dets(self, key):
        return self.sectors.get(key, [])

    def one_body(self, name, terms, key, dms2, dml):
        """Matrix of sum c a+_p a_q from sector key to key + (0, dms2, dml)."""
        ck = (name, key)
        if ck in self._cache:
            return self._cache[ck]
        n, ms2, ml = key
        dst = (n, ms2 + dms2, ml + dml)
        src_dets = self.dets(key)
        dst_index = self.index.get(dst, {})
        mat = np.zeros((len(dst_index), len(src_dets)))
        for col, mask in enumerate(src_dets):
            for p, q, c in terms:
                if not mask >> q & 1:
                    continue
                s = fermion_sign(mask, q)
                m2 = mask & ~(1 << q)
                if m2 >> p & 1:
                    continue
                s *= fermion_sign(m2, p)
                mat[dst_index[m2 | (1 << p)], col] += s * c
        self._cache[ck] = mat
        return mat

    def annihilate(self, p, key):
        """Matrix of a_p from sector key to (n-1, ms2 - ms2_p, ml - ml_p)."""
        ck = ("a%d" % p, key)
        if ck in self._cache:
            return self._cache[ck]
        n, ms2, ml = key
        dst = (n - 1, ms2 - ORBITALS[p][1], ml - ORBITALS[p][0])
        src_dets = self.dets(key)
        dst_index = self.index.get(dst, {})
        mat = np.zeros((len(dst_index), len(src_dets)))
        for col, mask in enumerate(src_dets):
            if mask >> p & 1:
                mat[dst_index[mask & ~(1 << p)], col] = fermion_sign(mask, p)
        self._cache[ck] = mat
        return mat

    # Single-particle ladder and tensor operators --------------------------

    @staticmethod
    def lplus_terms():
        out = []
        for ml in range(-LSHELL, LSHELL):
            for ms2 in (-1, 1):
                c = math.sqrt((LSHELL - ml) * (LSHELL + ml + 1))
                out.append((orb(ml + 1, ms2), orb(ml, ms2), c))
        return out

    @staticmethod
    def lminus_terms():
        return [(q, p, c) for p, q, c in Shell.lplus_terms()]

    @staticmethod
    def splus_terms():
        return [(orb(ml, 1), orb(ml, -1), 1.0) for ml in range(-LSHELL, LSHELL + 1)]

    @staticmethod
    def sminus_terms():
        return [(q, p, c) for p, q, c in Shell.splus_terms()]

    def lplus(self, key):
        return self.one_body("L+", self.lplus_terms(), key, 0, 1)

    def lminus(self, key):
        return self.one_body("L-", self.lminus_terms(), key, 0, -1)

    def splus(self, key):
        return self.one_body("S+", self.splus_terms(), key, 2, 0)

    def sminus(self, key):
        return self.one_body("S-", self.sminus_terms(), key, -2, 0)

    def unit_tensor(self, k, q, key):
        """Orbital unit tensor V^k_q = sum_i u^k_q(i), <3||u^k||3> = 1."""
        terms = []
        for ml in range(-LSHELL, LSHELL + 1):
            mp = ml - q
            if abs(mp) > LSHELL:
                continue
            c = float((-1) ** (LSHELL - ml) * wigner_3j(LSHELL, k, LSHELL, -ml, q, mp))
            if c != 0.0:
                for ms2 in (-1, 1):
                    terms.append((orb(ml, ms2), orb(mp, ms2), c))
        return self.one_body("V%d,%d" % (k, q), terms, key, 0, q)

    def spin_orbit_terms(self):
        out = []
        for ml in range(-LSHELL, LSHELL + 1):
            for ms2 in (-1, 1):
                out.append((orb(ml, ms2), orb(ml, ms2), ml * ms2 / 2.0))
        # (l+ s- + l- s+)/2
        for ml in range(-LSHELL, LSHELL):
            c = 0.5 * math.sqrt((LSHELL - ml) * (LSHELL + ml + 1))
            out.append((orb(ml + 1, -1), orb(ml, 1), c))
            out.append((orb(ml, 1), orb(ml + 1, -1), c))
        return out

    # Coulomb ----------------------------------------------------------------

    def coulomb_pairs(self):
        """For each occupied pair r < s: the pairs p < q it scatters into, with
        the antisymmetrised integral <pq|rs> - <pq|sr> as coefficients of
        F^0, F^2, F^4, F^6."""
        if self._coulomb_pairs is not None:
            return self._coulomb_pairs
        ck = {}
        for k in (0, 2, 4, 6):
            for m in range(-LSHELL, LSHELL + 1):
                for mp in range(-LSHELL, LSHELL + 1):
                    if abs(m - mp) > k:
                        ck[k, m, mp] = 0.0
                        continue
                    ck[k, m, mp] = float((-1) ** m * (2 * LSHELL + 1)
                                         * wigner_3j(LSHELL, k, LSHELL, 0, 0, 0)
                                         * wigner_3j(LSHELL, k, LSHELL, -m, m - mp, mp))

        def integral(p, q, r, s):
            (mp, sp), (mq, sq), (mr, sr), (ms, ss) = ORBITALS[p], ORBITALS[q], ORBITALS[r], ORBITALS[s]
            if sp != sr or sq != ss or mp + mq != mr + ms:
                return np.zeros(4)
            return np.array([ck[k, mp, mr] * ck[k, ms, mq] for k in (0, 2, 4, 6)])

        pairs = {}
        for r, s in itertools.combinations(range(NORB), 2):
            lst = []
            for p, q in itertools.combinations(range(NORB), 2):
                v = integral(p, q, r, s) - integral(p, q, s, r)
                if np.any(np.abs(v) > 1e-15):
                    lst.append((p, q, v))
            pairs[r, s] = lst
        self._coulomb_pairs = pairs
        return pairs

    def coulomb(self, key):
        """Coulomb matrices (coefficients of F^0, F^2, F^4, F^6) in one sector."""
        ck = ("C", key)
        if ck in self._cache:
            return self._cache[ck]
        pairs = self.coulomb_pairs()
        dets = self.dets(key)
        index = self.index.get(key, {})
        mat = np.zeros((4, len(dets), len(dets)))
        for col, mask in enumerate(dets):
            occ = [i for i in range(NORB) if mask >> i & 1]
            for r, s in itertools.combinations(occ, 2):
                # a_s a_r |D>
                sign = fermion_sign(mask, r)
                m1 = mask & ~(1 << r)
                sign *= fermion_sign(m1, s)
                m2 = m1 & ~(1 << s)
                for p, q, v in pairs[r, s]:
                    if m2 >> p & 1 or m2 >> q & 1:
                        continue
                    s2 = sign * fermion_sign(m2, q)
                    m3 = m2 | (1 << q)
                    s2 *= fermion_sign(m3, p)
                    mat[:, index[m3 | (1 << p)], col] += s2 * v
        self._cache[ck] = mat
        return mat


def orb(ml, ms2):
    return 2 * (ml + LSHELL) + (ms2 + 1) // 2


def null_space(a, tol=1e-9):
    if a.shape[0] == 0:
        return np.eye(a.shape[1])
    u, sv, vt = np.linalg.svd(a)
    rank = int(np.sum(sv > tol))
    return vt[rank:].T.copy()


# ---------------------------------------------------------------------------
# Terms of f^n
# ---------------------------------------------------------------------------

class Term:
    def __init__(self, n, s2, L, vector, seniority, casimirs, e2):
        self.n = n
        self.s2 = s2          # 2S
        self.L = L
        self.vector = vector  # highest weight, sector (n, 2S, L)
        self.seniority = seniority
        self.casimirs = casimirs  # SO(7), G2
        self.e2 = e2
        self.index = 0

    def label(self):
        text = "%d%s" % (self.s2 + 1, LETTERS[self.L])
        return text + ("%d" % self.index if self.index else "")

    def key(self):
        return (self.n, self.s2, self.L)


def racah_e_from_coulomb(fk_coeffs):
    """Coefficients of F^0, F^2, F^4, F^6 -> e0..e3 (exact linear map)."""
    # coefficient of F_k = D_k * coefficient of F^k; then solve RACAH^T e = f.
    f = [float(D_K[k]) * fk_coeffs[i] for i, k in enumerate((0, 2, 4, 6))]
    inv = racah_transpose_inverse()
    return [sum(float(inv[i][j]) * f[j] for j in range(4)) for i in range(4)]


@lru_cache(maxsize=None)
def racah_transpose_inverse():
    a = [[RACAH[j][i] for j in range(4)] for i in range(4)]  # transpose
    n = 4
    inv = [[Fraction(int(i == j)) for j in range(n)] for i in range(n)]
    for col in range(n):
        piv = next(r for r in range(col, n) if a[r][col] != 0)
        a[col], a[piv] = a[piv], a[col]
        inv[col], inv[piv] = inv[piv], inv[col]
        d = a[col][col]
        a[col] = [x / d for x in a[col]]
        inv[col] = [x / d for x in inv[col]]
        for r in range(n):
            if r != col and a[r][col] != 0:
                f = a[r][col]
                a[r] = [x - f * y for x, y in zip(a[r], a[col])]
                inv[r] = [x - f * y for x, y in zip(inv[r], inv[col])]
    return tuple(tuple(row) for row in inv)


def group_values(values, tol=1e-6):
    """Sorted distinct clusters of values; returns list of (value, indices)."""
    order = sorted(range(len(values)), key=lambda i: values[i])
    groups = []
    for i in order:
        if groups and abs(values[i] - groups[-1][0]) < tol:
            groups[-1][1].append(i)
        else:
            groups.append([values[i], [i]])
    return groups


def terms_of(shell, n):
    """Every LS term of f^n in file order, with its numbering fixed."""
    terms = []
    maxs2 = min(n, NORB - n)
    for s2 in range(maxs2, -1, -2):
        for L in range(0, 13):
            key = (n, s2, L)
            if not shell.dets(key):
                continue
            raise_s = shell.splus(key)
            raise_l = shell.lplus(key)
            hw = null_space(np.vstack([raise_s, raise_l]))
            if hw.shape[1] == 0:
                continue
            terms.extend(separate(shell, key, hw))
    return terms


def pairing_matrix(shell, key):
    """Q+ Q- in sector key, Q+ = 1/2 sum (-1)^(3-m+1/2-s) a+_{m s} a+_{-m -s}."""
    n, ms2, ml = key
    if n < 2:
        return np.zeros((len(shell.dets(key)),) * 2)
    # Q- = (Q+)^T; build Q- as sum of a a products (real coefficients).
    dst = (n - 2, ms2, ml)
    qm = np.zeros((len(shell.dets(dst)), len(shell.dets(key))))
    for ml1 in range(-LSHELL, LSHELL + 1):
        for ms21 in (-1, 1):
            p = orb(ml1, ms21)
            q = orb(-ml1, -ms21)
            phase = (-1) ** (LSHELL - ml1 + (1 - ms21) // 2)
            mid = (n - 1, ms2 - ms21, ml - ml1)
            if not shell.dets(mid):
                continue
            # (Q+)^T = 1/2 sum phase a_q a_p  (transpose of a+_p a+_q)
            qm += 0.5 * phase * shell.annihilate(q, mid) @ shell.annihilate(p, key)
    return qm.T @ qm


def casimir(shell, key, ranks):
    """sum over k in ranks of (2k+1) V^k.V^k: the Casimir of G2 for ranks
    (1, 5), of SO(7) for (1, 3, 5)."""
    n, ms2, ml = key
    dim = len(shell.dets(key))
    g = np.zeros((dim, dim))
    for k in ranks:
        weight = 2.0 * k + 1

        for q in range(-k, k + 1):
            mid = (n, ms2, ml - q)
            if not shell.dets(mid):
                continue
            # V^k_q V^k_-q
            g += weight * (-1) ** q * shell.unit_tensor(k, q, mid) @ shell.unit_tensor(k, -q, key)
    return g


def e_matrix(shell, key, vectors, which):
    """Matrix of Racah's e_which between the given states of one sector."""
    c = shell.coulomb(key)
    coeffs = [vectors.T @ c[i] @ vectors for i in range(4)]
    inv = racah_transpose_inverse()
    f = [float(D_K[k]) * coeffs[i] for i, k in enumerate((0, 2, 4, 6))]
    return sum(float(inv[which][j]) * f[j] for j in range(4))


def split(block, matrix):
    """Eigen-subspaces of a symmetric operator restricted to the columns of
    block, ascending: list of (eigenvalue, sub-block)."""
    m = block.T @ matrix @ block
    vals, vecs = np.linalg.eigh((m + m.T) / 2)
    return [(value, block @ vecs[:, idx]) for value, idx in group_values(list(vals))]


def separate(shell, key, hw):
    n, s2, L = key
    out = []
    qz = (n - 7) / 2.0
    by_seniority = []
    for value, block in split(hw, pairing_matrix(shell, key)):
        qq = value + qz * (qz - 1)            # Q(Q+1)
        qn = (-1 + math.sqrt(1 + 4 * qq)) / 2
        v = 7 - 2 * qn
        if abs(v - round(v)) > 1e-8:
            raise RuntimeError("seniority not integral in %s: %r" % (key, v))
        by_seniority.append((int(round(v)), block))
    by_seniority.sort(key=lambda x: x[0])
    so7 = casimir(shell, key, (1, 3, 5))
    g2 = casimir(shell, key, (1, 5))
    for v, vblock in by_seniority:
        for w, wblock in split(vblock, so7):
            for u, ublock in split(wblock, g2):
                if ublock.shape[1] == 1:
                    out.append(Term(n, s2, L, ublock[:, 0], v, (w, u), 0.0))
                    continue
                e2 = e_matrix(shell, key, ublock, 2)
                ev, evec = np.linalg.eigh((e2 + e2.T) / 2)
                if np.min(np.diff(ev)) < 1e-6:
                    raise RuntimeError("repeated term not separated in %s" % (key,))
                for j in range(len(ev)):
                    out.append(Term(n, s2, L, ublock @ evec[:, j], v, (w, u), ev[j]))
    if len(out) > 1:
        for i, t in enumerate(out):
            t.index = i + 1
    return out


# ---------------------------------------------------------------------------
# States of every M, parentage and electrostatic coefficients
# ---------------------------------------------------------------------------

def all_components(shell, term):
    """Normalised states |S Ms L Ml> of a term for every (Ms, Ml)."""
    n, s2, L = term.key()
    states = {}
    ms2 = s2
    vs = term.vector
    while ms2 >= -s2:
        ml = L
        vl = vs
        while ml >= -L:
            states[ms2, ml] = vl
            if ml > -L:
                # L-|L M> = sqrt((L+M)(L-M+1)) |L M-1>
                vl = shell.lminus((n, ms2, ml)) @ vl / math.sqrt((L + ml) * (L - ml + 1))
            ml -= 1
        if ms2 > -s2:
            sv = s2 / 2.0
            mv = ms2 / 2.0
            vs = shell.sminus((n, ms2, L)) @ vs / math.sqrt((sv + mv) * (sv - mv + 1))
        ms2 -= 2
    return states


@lru_cache(maxsize=None)
def cg(j1x2, m1x2, j2x2, m2x2, jx2, mx2):
    h = Rational(1, 2)
    return float(clebsch_gordan(j1x2 * h, j2x2 * h, jx2 * h, m1x2 * h, m2x2 * h, mx2 * h))


def parentage(shell, daughters, parents):
    """cfp[d][p] for every daughter term of f^n and parent term of f^(n-1)."""
    if not daughters:
        return []
    n = daughters[0].n
    pstates = [all_components(shell, p) for p in parents] if n > 1 else None
    table = []
    for d in daughters:
        key = d.key()
        row = []
        if n == 1:
            # The only parent is the empty shell (term 1S): one coefficient, 1.
            table.append([1.0])
            continue
        reduced = {p: shell.annihilate(p, key) @ d.vector for p in range(NORB)}
        for par, st in zip(parents, pstates):
            if abs(par.s2 - d.s2) != 1 or not abs(par.L - LSHELL) <= d.L <= par.L + LSHELL:
                row.append(0.0)
                continue
            c = 0.0
            for p in range(NORB):
                ml, ms2 = ORBITALS[p]
                pm = (d.s2 - ms2, d.L - ml)
                if pm not in st:
                    continue
                w = cg(par.s2, pm[0], 1, ms2, d.s2, d.s2) * cg(2 * par.L, 2 * pm[1], 6, 2 * ml, 2 * d.L, 2 * d.L)
                if w != 0.0:
                    c += w * float(st[pm] @ reduced[p])
            row.append(c / math.sqrt(n))
        table.append(row)
    # Phase of each daughter: its first non-zero coefficient is positive.
    for i, row in enumerate(table):
        first = next(c for c in row if abs(c) > 1e-6)
        if first < 0:
            table[i] = [-c for c in row]
            daughters[i].vector = -daughters[i].vector
    return table


def electrostatic(shell, terms):
    """Rows (a, b, e0..e3) for every pair a <= b of terms with equal S and L."""
    rows = []
    by_key = {}
    for i, t in enumerate(terms):
        by_key.setdefault(t.key(), []).append(i)
    for i, a in enumerate(terms):
        c = shell.coulomb(a.key())
        for j in by_key[a.key()]:
            if j < i:
                continue
            b = terms[j]
            fk = [float(a.vector @ c[x] @ b.vector) for x in range(4)]
            rows.append((i, j, racah_e_from_coulomb(fk)))
    return rows


# ---------------------------------------------------------------------------
# Number formatting
# ---------------------------------------------------------------------------

QMAX = 1000000


def smooth(q):
    """True when q has no prime factor above 23 (the denominators that occur)."""
    for p in (2, 3, 5, 7, 11, 13, 17, 19, 23):
        while q % p == 0:
            q //= p
    return q == 1


def exact_rational(x, tol=2e-14):
    f = Fraction(x).limit_denominator(QMAX)
    if smooth(f.denominator) and abs(float(f) - x) <= tol * max(1.0, abs(x)):
        return f
    return None


def format_number(x, allow_sqrt):
    if abs(x) < 1e-12:
        return "0"
    f = exact_rational(x)
    if f is not None:
        if f.denominator == 1:
            return str(f.numerator)
        getcontext().prec = 40
        return decimal_text(Decimal(f.numerator) / Decimal(f.denominator))
    if allow_sqrt:
        f2 = exact_rational(x * x)
        if f2 is not None and f2 > 0:
            getcontext().prec = 40
            d = (Decimal(f2.numerator) / Decimal(f2.denominator)).sqrt()
            return decimal_text(d if x > 0 else -d)
    return repr(float(x))


def decimal_text(d):
    """17 significant digits of an exact value, trailing zeros dropped."""
    text = "{:.17g}".format(d)
    if "e" not in text and "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


# ---------------------------------------------------------------------------
# Tables
# ---------------------------------------------------------------------------

def build_tables(shell):
    """Terms, parentage and electrostatic rows of f^1 .. f^7."""
    out = {}
    previous = None
    for n in range(1, 8):
        terms = terms_of(shell, n)
        # Phases are fixed by the parentage, before the electrostatic rows.
        cfp = parentage(shell, terms, previous if previous is not None else [])
        ele = electrostatic(shell, terms)
        out[n] = (terms, cfp, ele, previous)
        previous = terms
    return out


def write_tables(tables, outdir):
    os.makedirs(outdir, exist_ok=True)
    for n, (terms, cfp, ele, parents) in tables.items():
        lines = []
        for d, row in zip(terms, cfp):
            plabels = [p.label() for p in parents] if parents is not None else ["1S"]
            for plabel, c in zip(plabels, row):
                if abs(c) > 1e-10:
                    lines.append("%s %s %s" % (d.label(), plabel, format_number(c, True)))
        with open(os.path.join(outdir, "f%d.cfp" % n), "w") as fh:
            fh.write("\n".join(lines) + "\n")
        lines = []
        for i, j, e in ele:
            if i != j and max(abs(x) for x in e) < 1e-10:
                continue
            lines.append("%s %s %s" % (terms[i].label(), terms[j].label(),
                                       " ".join(format_number(x, True) for x in e)))
        with open(os.path.join(outdir, "f%d.ele" % n), "w") as fh:
            fh.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------
# Reference levels: the full Hamiltonian in the determinant basis
# ---------------------------------------------------------------------------

def mj_sector(shell, n, mj2):
    """The (M_S, M_L) sectors of f^n with 2 M_J = mj2, their offsets in the
    combined basis and its size."""
    keys = [k for k in sorted(shell.sectors) if k[0] == n and k[1] + 2 * k[2] == mj2]
    offsets = {}
    dim = 0
    for k in keys:
        offsets[k] = dim
        dim += len(shell.dets(k))
    return keys, offsets, dim


_LEVELS = {}


def determinant_levels(shell, n, params):
    """Every level (J, eigenvalue) of f^n from the determinant basis."""
    if (n, params) not in _LEVELS:
        _LEVELS[n, params] = _determinant_levels(shell, n, params)
    return _LEVELS[n, params]


def _determinant_levels(shell, n, params):
    f2, f4, f6, zeta = params
    fk_upper = [0.0, f2 * float(D_K[2]), f4 * float(D_K[4]), f6 * float(D_K[6])]
    mj2 = n % 2  # M_J = 0 or 1/2 holds one state of every level
    keys, offsets, dim = mj_sector(shell, n, mj2)
    h = np.zeros((dim, dim))
    for k in keys:
        c = shell.coulomb(k)
        o = offsets[k]
        d = len(shell.dets(k))
        h[o:o + d, o:o + d] += sum(fk_upper[i] * c[i] for i in range(4))
    so = shell.spin_orbit_terms()
    for k in keys:
        o = offsets[k]
        d = len(shell.dets(k))
        for dms2, dml in ((0, 0), (2, -1), (-2, 1)):
            dst = (k[0], k[1] + dms2, k[2] + dml)
            if dst not in offsets:
                continue
            terms = [t for t in so if ORBITALS[t[0]][1] - ORBITALS[t[1]][1] == dms2
                     and ORBITALS[t[0]][0] - ORBITALS[t[1]][0] == dml]
            m = shell.one_body("SO%d,%d" % (dms2, dml), terms, k, dms2, dml)
            od = offsets[dst]
            h[od:od + m.shape[0], o:o + d] += zeta * m
    h = (h + h.T) / 2
    energies, vectors = np.linalg.eigh(h)
    # J from <J^2> = |J+ v|^2 + M(M+1)
    mj = mj2 / 2.0
    _, up_off, up_dim = mj_sector(shell, n, mj2 + 2)
    jp = np.zeros((up_dim, dim))
    for k in keys:
        o = offsets[k]
        d = len(shell.dets(k))
        for op, dst in ((shell.lplus(k), (k[0], k[1], k[2] + 1)), (shell.splus(k), (k[0], k[1] + 2, k[2]))):
            if dst in up_off and op.shape[0]:
                jp[up_off[dst]:up_off[dst] + op.shape[0], o:o + d] += op
    jplus_norm = np.sum((jp @ vectors) ** 2, axis=0)
    j2 = jplus_norm + mj * (mj + 1)
    js = (-1 + np.sqrt(1 + 4 * j2)) / 2
    out = []
    for e, j in zip(energies, js):
        jr = round(2 * j) / 2.0
        if abs(j - jr) > 1e-6:
            raise RuntimeError("J not resolved (degenerate levels?) in f^%d: %r" % (n, j))
        out.append((jr, float(e)))
    return out


def write_reference(shell, path):
    lines = [
        "// Free-ion levels of 4f^N from a diagonalisation of the Coulomb and",
        "// spin-orbit Hamiltonian over all Slater determinants (M_J = 0 or 1/2),",
        "// independent of the term tables. Written by scripts/levels/freeion.py.",
        "// F2, F4, F6 are Condon-Shortley F_k (F^k / D_k), zeta and energies in cm^-1;",
        "// F0 = 0. 'absolute' is the eigenvalue itself, 'relative' the energy above",
        "// the lowest level. Levels are sorted by energy. For N >= 8 the tables of",
        "// 14 - N give the same relative energies; their absolute ones differ by a",
        "// constant (the electrostatic energy of the closed-shell part).",
        "#pragma once",
        "",
        "namespace FreeIonReference {",
        "",
        "struct Level {",
        "    double J;",
        "    double relative;",
        "    double absolute;",
        "};",
        "",
        "struct Case {",
        "    int nElectrons;",
        "    double F2, F4, F6, zeta;",
        "    int count;",
        "    const Level* levels;",
        "};",
        "",
    ]
    cases = []
    for ci, (n, params) in enumerate(REFERENCE_CASES):
        levels = sorted(determinant_levels(shell, n, params), key=lambda x: x[1])
        ground = levels[0][1]
        name = "levels%d" % ci
        lines.append("inline const Level %s[] = {" % name)
        for j, e in levels:
            lines.append("    {%.1f, %.9f, %.9f}," % (j, e - ground, e))
        lines.append("};")
        lines.append("")
        cases.append("    {%d, %s, %s, %s, %s, %d, %s}," % ((n,) + tuple(repr(p) for p in params)
                                                         + (len(levels), name)))
    lines.append("inline const Case cases[] = {")
    lines.extend(cases)
    lines.append("};")
    lines.append("")
    lines.append("} // namespace FreeIonReference")
    with open(path, "w") as fh:
        fh.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------
# Checks: the tables read as the engine reads them give the determinant levels
# ---------------------------------------------------------------------------

def parse_label(text):
    return (int(text[0]) - 1, LETTERS.index(text[1]), int(text[2:]) if len(text) > 2 else 0)


def read_tables(folder, n):
    cfp = {}
    order = []
    with open(os.path.join(folder, "f%d.cfp" % n)) as fh:
        for line in fh:
            if not line.strip():
                break
            a, b, c = line.split()[:3]
            if a not in cfp:
                cfp[a] = []
                order.append(a)
            cfp[a].append((b, float(c)))
    ele = {}
    with open(os.path.join(folder, "f%d.ele" % n)) as fh:
        for line in fh:
            if not line.strip():
                break
            tok = line.split()
            ele.setdefault((tok[0], tok[1]), [float(x) for x in tok[2:6]])
    return order, cfp, ele


@lru_cache(maxsize=None)
def sixj(a, b, c, d, e, f):
    h = Rational(1, 2)
    return float(wigner_6j(*(SymS(int(round(2 * x))) * h for x in (a, b, c, d, e, f))))


def table_levels(folder, n, params):
    """Levels from the tables, built exactly as the engine builds them."""
    f2, f4, f6, zeta = params
    nn = n if n < 8 else 14 - n
    order, cfp, ele = read_tables(folder, nn)
    big_e = [-10 * f2 - 33 * f4 - 286 * f6, (70 * f2 + 231 * f4 + 2002 * f6) / 9,
             (f2 - 3 * f4 + 7 * f6) / 9, (5 * f2 + 6 * f4 - 91 * f6) / 3]
    terms = [parse_label(t) for t in order]
    s = 0.5
    ll = 3

    def coulomb(a, b):
        e = ele.get((order[a], order[b])) or ele.get((order[b], order[a]))
        return 0.0 if e is None else sum(x * y for x, y in zip(e, big_e))

    def v11(a, b):
        (sa2, la, _), (sb2, lb, _) = terms[a], terms[b]
        sa, sb = sa2 / 2.0, sb2 / 2.0
        pre = nn * math.sqrt((2 * sa + 1) * (2 * la + 1) * (2 * sb + 1) * (2 * lb + 1) * s * (s + 1) * (2 * s + 1))
        total = 0.0
        for p, cp in cfp[order[a]]:
            for q, cq in cfp[order[b]]:
                if p != q:
                    continue
                ps2, pl, _ = parse_label(p)
                sp = ps2 / 2.0
                total += (cp * cq * sixj(sa, sb, 1, s, s, sp) * sixj(la, lb, 1, ll, ll, pl)
                          * (-1) ** int(round(pl + sp + sa + la + s + ll + 2)))
        return pre * total * (-1 if n >= 8 else 1)

    jset = sorted({j / 2.0 for (s2, L, _) in terms for j in range(abs(s2 - 2 * L), s2 + 2 * L + 1, 2)})
    out = []
    for j in jset:
        basis = [i for i, (s2, L, _) in enumerate(terms) if abs(s2 / 2.0 - L) <= j <= s2 / 2.0 + L]
        h = np.zeros((len(basis), len(basis)))
        for x, a in enumerate(basis):
            for y, b in enumerate(basis):
                if y < x:
                    continue
                sa, la = terms[a][0] / 2.0, terms[a][1]
                sb, lb = terms[b][0] / 2.0, terms[b][1]
                w = sixj(sa, sb, 1, lb, la, j)
                so = 0.0
                if w != 0.0:
                    so = (-1) ** int(round(la + j + sb)) * zeta * math.sqrt(84) * w * v11(a, b)
                h[x, y] = h[y, x] = coulomb(a, b) + so
        for e in np.linalg.eigvalsh(h):
            out.append((j, float(e)))
    return out


def verify(folder, shell, tables=None):
    """Every consistency check; raises on the first failure."""
    labels = {}
    for n in range(1, 8):
        order, cfp, ele = read_tables(folder, n)
        labels[n] = order
        if len(order) != TERM_COUNTS[n]:
            raise RuntimeError("f%d: %d terms, expected %d" % (n, len(order), TERM_COUNTS[n]))
        nlev = sum(len(range(abs(s2 - 2 * L), s2 + 2 * L + 1, 2)) for s2, L, _ in map(parse_label, order))
        if nlev != LEVEL_COUNTS[n]:
            raise RuntimeError("f%d: %d levels, expected %d" % (n, nlev, LEVEL_COUNTS[n]))
        for t, lst in cfp.items():
            if abs(sum(c * c for _, c in lst) - 1) > 1e-12:
                raise RuntimeError("f%d %s: squared cfp sum to %r" % (n, t, sum(c * c for _, c in lst)))
            for p, _ in lst:
                if n > 1 and p not in labels[n - 1]:
                    raise RuntimeError("f%d %s: parent %s not a term of f%d" % (n, t, p, n - 1))
        for t in order:
            e = ele.get((t, t))
            if e is None or abs(e[0] - n * (n - 1) / 2) > 1e-12:
                raise RuntimeError("f%d %s: diagonal e0 %r" % (n, t, e))
        for (a, b), e in ele.items():
            if a != b and abs(e[0]) > 1e-12:
                raise RuntimeError("f%d %s %s: off-diagonal e0" % (n, a, b))
    _, _, ele2 = read_tables(folder, 2)
    # Racah's f^2 energies: E0 plus these multiples of E1, E2, E3.
    racah_f2 = {"3P": (0, 0, 33), "3F": (0, 0, 0), "3H": (0, 0, -9), "1S": (9, 0, 0),
                "1D": (2, 286, -11), "1G": (2, -260, -4), "1I": (2, 70, 7)}
    for t, (e1, e2, e3) in racah_f2.items():
        if ele2[(t, t)] != [1.0, e1, e2, e3]:
            raise RuntimeError("f2 %s: %r, Racah gives %r" % (t, ele2[(t, t)], (1, e1, e2, e3)))
    # Tables against the determinant basis, relative to the lowest level.
    worst = 0.0
    for n, params in REFERENCE_CASES:
        a = sorted(determinant_levels(shell, n, params), key=lambda x: (x[0], x[1]))
        b = sorted(table_levels(folder, n, params), key=lambda x: (x[0], x[1]))
        if [x[0] for x in a] != [x[0] for x in b]:
            raise RuntimeError("f%d: J values of the levels differ" % n)
        ga = min(x[1] for x in a)
        gb = min(x[1] for x in b)
        for (j, ea), (_, eb) in zip(a, b):
            worst = max(worst, abs((ea - ga) - (eb - gb)))
            if n < 8:
                worst = max(worst, abs(ea - eb))
    if worst > 1e-6:
        raise RuntimeError("tables and determinant basis differ by %g cm-1" % worst)
    return worst


def main(argv):
    mode = argv[1] if len(argv) > 1 else "check"
    shell = Shell()
    if mode == "tables":
        outdir = argv[2] if len(argv) > 2 else TABLE_DIR
        write_tables(build_tables(shell), outdir)
        print("worst level difference %.3g cm-1" % verify(outdir, shell))
    elif mode == "terms":
        n = int(argv[2])
        print("label  seniority  SO(7) Casimir  G2 Casimir")
        for t in terms_of(shell, n):
            print("%-6s %9d  %13.6f  %10.6f" % ((t.label(), t.seniority) + t.casimirs))
    elif mode == "reference":
        write_reference(shell, argv[2] if len(argv) > 2 else REFERENCE_FILE)
    elif mode == "check":
        with tempfile.TemporaryDirectory() as tmp:
            write_tables(build_tables(shell), tmp)
            ref = os.path.join(tmp, "freeionreference.h")
            write_reference(shell, ref)
            bad = []
            for name in sorted(os.listdir(tmp)):
                mine = os.path.join(tmp, name)
                committed = REFERENCE_FILE if name == "freeionreference.h" else os.path.join(TABLE_DIR, name)
                with open(mine, "rb") as a:
                    ta = a.read()
                try:
                    with open(committed, "rb") as b:
                        tb = b.read()
                except OSError:
                    tb = None
                if ta != tb:
                    bad.append(committed)
            worst = verify(TABLE_DIR, shell)
            if bad:
                print("regenerated files differ from the committed ones:\n  " + "\n  ".join(bad))
                return 1
            print("tables and reference levels regenerate identically; "
                  "worst level difference %.3g cm-1" % worst)
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
