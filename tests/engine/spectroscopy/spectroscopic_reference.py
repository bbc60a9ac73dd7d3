#!/usr/bin/python3
"""Reference numbers of the radiative-rate, energy-transfer and rate-equation tests.

Computed outside the engine from the published formulas and constants. The
steady states solve the normalised balance equations directly, by an LU
solution in 50-digit arithmetic (mpmath, installed with sympy), where the
engine reduces states in double precision. Run with /usr/bin/python3; the
output is pasted into test_orvanespectroscopiccalculation.cpp.
"""
import math

import mpmath

mpmath.mp.dps = 50

# Constants exactly as the method prints them.
PI = 3.14159265359
THREE_H = 1.987820871e-26
E = 4.803204505713468e-10
E2 = E * E
A0 = 5.2917721092e-9
RADIAL = {2: 0.9175 * A0**2, 4: 2.02 * A0**4, 6: 9.039 * A0**6}
RACAH = {2: -1.366, 4: 1.128, 6: -1.2774}
SIGMA = {0: 0.981, 1: 0.8, 2: 0.6, 4: 0.139, 6: 0.1}
HALF_WIDTH = 3250.0
# (energy cm-1, multipolar?, U2 by lambda, J, X)
LEVELS = [
    (27586.0, True, {2: 0.0, 4: 0.0011, 6: 0.0}, 4, None),   # 5D4
    (26752.0, True, {2: 0.0, 4: 0.0, 6: 0.0037}, 6, None),   # 5G6
    (25325.0, True, {2: 0.0, 4: 0.0, 6: 0.0153}, 6, None),   # 5L6
    (19027.0, False, None, 1, 0.25),                         # 5D1
    (17293.0, False, None, 0, 0.2),                          # 5D0
]


def rates_arad(n, omega):
    chi = n * (n * n + 2) ** 2 / 9
    pre = lambda s: 64 * PI**4 * s**3 / THREE_H
    md = pre(16921) * n**3 * 9.6e-42
    a = {2: pre(16267) * chi * E2 * omega[2] * 0.0032,
         4: pre(14470) * chi * E2 * omega[4] * 0.0023,
         6: pre(12386) * chi * E2 * omega[6] * 0.0002}
    total = a[2] + md + a[4] + a[6]
    return a, md, total


def anrad_law(arad):
    x = 2.99792458e10**3 * 3.3358947250164996e-11**4 / 1e-9**2 * (3 * 0.25 * arad)
    y = x ** 0.333333333333333
    return 5154.349 * math.exp(-0.0016612880289000001 * (y + 122.6328568073266))


def F(delta, w=HALF_WIDTH):
    return math.exp(-0.693147180559945 * (delta / w) ** 2) * math.sqrt(math.log(2) / math.pi) / w * 5.03411751e15


def gama(l, R):
    return (l + 1) * RADIAL[l] ** 2 * RACAH[l] ** 2 * (1 - SIGMA[l]) ** 2 / (R ** (l + 2)) ** 2


def wet_dd(delta, J, R, U2, G, omega_ed, model):
    s = sum(U2[l] * omega_ed[l] for l in (2, 4, 6))
    # 1.1916089066814218e28 is the method's 4 pi / hbar.
    rate = F(delta) * E2 * 1e-35 / ((2 * J + 1) * G * R**6) * 1.1916089066814218e28 * s
    return rate * (1 - SIGMA[1]) ** 2 if model in (0, 1) else rate


def wet_dm(delta, J, R, U2, G):
    s = sum(U2[l] * gama(l, R) for l in (2, 4, 6))
    return F(delta) * E2 * 1e-35 / ((2 * J + 1) * G) * 5.958044533407109e27 * s


def wet_ex(delta, J, X, R, G, model, rmin, n_overlap):
    if model in (0, 1):
        rho = 0.05 * (rmin * 1e-8 / R) ** n_overlap
        k = 2 if model == 0 else 4
        return F(delta) * rho**k * E2 / ((2 * J + 1) * R**4) * 7.944059377876147e27 * X**2 * 1e-35
    if model == 2:
        return F(delta) * (1 - SIGMA[0]) ** 2 * E2 / ((2 * J + 1) * R**4 * G) * 7.944059377876147e27 * X**2 * 1e-35
    return 0.0


def back_factor(delta):
    # hc in erg cm and kT in erg at 300 K, as the method prints them.
    hc, kT = 1.9864456845196332e-16, 4.1419464000000004e-14
    return math.exp(-delta * hc / kT)


def channel_rate(level_index, delta, R, G, omega_ed, model, rmin, n_overlap):
    energy, multipolar, U2, J, X = LEVELS[level_index]
    if multipolar:
        return wet_dd(delta, J, R, U2, G, omega_ed, model) + wet_dm(delta, J, R, U2, G)
    return wet_ex(delta, J, X, R, G, model, rmin, n_overlap)


def steady_state(W):
    """W[i][j] = rate i -> j; the balance of state 0 replaced by sum(N) = 1."""
    n = len(W)
    A = mpmath.zeros(n, n)
    for i in range(n):
        for j in range(n):
            if i != j:
                A[i, j] = mpmath.mpf(W[j][i])
        A[i, i] = -mpmath.fsum(mpmath.mpf(W[i][j]) for j in range(n) if j != i)
    for j in range(n):
        A[0, j] = 1
    b = mpmath.matrix([1] + [0] * (n - 1))
    return [float(v) for v in mpmath.lu_solve(A, b)]


def show(name, values):
    print(name + ": " + ", ".join(repr(float(v)) for v in values))


def transfer_channels(ES, RS, ET, RT, omega_ed, model, rmin, n_overlap, lower=None):
    """wet and wbt by channel index, every channel on."""
    wet, wbt = [0.0] * 20, [0.0] * 20
    rs, rt = RS * 1e-8, RT * 1e-8
    if lower is None:
        donors = [(i, ES, rs, 1) for i in range(5)] + [(10 + i, ET, rt, 3) for i in range(5)]
    else:
        EL, RLow = lower
        donors = [(i, ES, rs, 1) for i in range(5)] + [(10 + i, EL, RLow * 1e-8, 3) for i in range(5)]
    for index, energy, R, G in donors:
        level = index % 10
        delta = energy - LEVELS[level][0]
        wet[index] = channel_rate(level, delta, R, G, omega_ed, model, rmin, n_overlap)
        wbt[index] = wet[index] * back_factor(delta)
    if lower is not None:
        delta = ET - LEVELS[0][0]
        wet[5] = channel_rate(0, delta, rt, 3, omega_ed, model, rmin, n_overlap)
        wbt[5] = wet[5] * back_factor(delta)
    return wet, wbt


def eight_state(wet, wbt, decay):
    S0, S1, T, D4, G6, L6, D1, D0 = range(8)
    W = [[0.0] * 8 for _ in range(8)]
    W[S0][S1] = 1e4
    W[S1][S0], W[S1][T] = 1e6, 1e8
    W[T][S0] = 1e5
    for k, level in enumerate((D4, G6, L6, D1, D0)):
        W[S1][level] = wet[k]
        W[T][level] = wet[10 + k]
        W[level][S1] = wbt[k]
        W[level][T] = wbt[10 + k]
    W[D4][G6] = W[G6][L6] = W[L6][D1] = W[D1][D0] = 1e6
    W[D0][S0] = decay
    return steady_state(W)


def seven_state(wet, wbt, decay):
    S0, S1, UP, LOW, D4, D1, D0 = range(7)
    W = [[0.0] * 7 for _ in range(7)]
    W[S0][S1] = 1e4
    W[S1][S0], W[S1][UP], W[S1][LOW], W[S1][D4] = 1e6, 1e8, 1e8, wet[0]
    W[UP][S0], W[UP][LOW], W[UP][D4] = 1e6, 1e8, wet[5]
    W[LOW][S0], W[LOW][D1], W[LOW][D0] = 1e6, wet[13], wet[14]
    W[D4][S1], W[D4][UP], W[D4][D1] = wbt[0], wbt[5], 1e6
    W[D1][LOW], W[D1][D0] = wbt[13], 1e6
    W[D0][LOW] = wbt[14]
    W[D0][S0] = decay
    return steady_state(W)


def six_state(wet, wbt, decay):
    S0, S1, T, D4, D1, D0 = range(6)
    W = [[0.0] * 6 for _ in range(6)]
    W[S0][S1] = 1e4
    W[S1][S0], W[S1][T], W[S1][D4], W[S1][D1], W[S1][D0] = 1e6, 1e8, wet[0], wet[3], wet[4]
    W[T][S0], W[T][D4], W[T][D1], W[T][D0] = 1e5, wet[10], wet[13], wet[14]
    W[D4][S1], W[D4][T], W[D4][D1] = wbt[0], wbt[10], 1e6
    W[D1][S1], W[D1][T], W[D1][D0] = wbt[3], wbt[13], 1e6
    W[D0][S1], W[D0][T] = wbt[4], wbt[14]
    W[D0][S0] = decay
    return steady_state(W)


def main():
    # 1. Radiative rates at n = 1.5, Omega = (10, 5, 0.5) x 1e-20 cm2.
    a, md, arad = rates_arad(1.5, {2: 10e-20, 4: 5e-20, 6: 0.5e-20})
    show("1. A02 A04 A06 AMD Arad", [a[2], a[4], a[6], md, arad])
    anrad = anrad_law(arad)
    show("1. law: Anrad efficiency lifetime", [anrad, arad / (arad + anrad) * 100, 1 / (arad + anrad)])
    show("1. law at Arad 1000", [anrad_law(1000.0)])

    # 2. Franck-Condon factor and gama at R = 3.5 Angstrom.
    show("2. F(0) F(1500) F(-800)", [F(0), F(1500), F(-800)])
    show("2. gama(2,4,6) R=3.5", [gama(l, 3.5e-8) for l in (2, 4, 6)])

    # 3. Multipolar rates with U2 = (0.01, 0.02, 0.03), OmegaED = (2.5, 1.5, 0.8)e-20,
    #    delta 2000, J 4, R 3.5 Angstrom, G 1 and 3.
    U2 = {2: 0.01, 4: 0.02, 6: 0.03}
    ed = {2: 2.5e-20, 4: 1.5e-20, 6: 0.8e-20}
    show("3. WetDD model0 G1, model0 G3, model2 G1",
         [wet_dd(2000, 4, 3.5e-8, U2, 1, ed, 0), wet_dd(2000, 4, 3.5e-8, U2, 3, ed, 0),
          wet_dd(2000, 4, 3.5e-8, U2, 1, ed, 2)])
    show("3. WetDM G1, G3", [wet_dm(2000, 4, 3.5e-8, U2, 1), wet_dm(2000, 4, 3.5e-8, U2, 3)])

    # 4. Exchange: delta 1500, J 1, X 0.25, R 4 Angstrom, G 3, Rmin 2.4, n 3.5.
    show("4. WetEX models 0 1 2 3",
         [wet_ex(1500, 1, 0.25, 4e-8, 3, m, 2.4, 3.5) for m in (0, 1, 2, 3)])

    # 5. Back-transfer factor.
    show("5. exp(-delta hc/kT) for 1000, -500", [back_factor(1000), back_factor(-500)])

    # 6. File-free transfer: singlet RL 4.2, 28500 cm-1; triplet RL 3.9, 21500 cm-1; Rmin 2.4.
    ed6 = {2: 3.0e-20, 4: 2.0e-20, 6: 0.6e-20}
    for model in (0, 1, 2):
        wet, wbt = [0.0] * 20, [0.0] * 20
        for index, energy, R, G in ((0, 28500.0, 4.2e-8, 1), (13, 21500.0, 3.9e-8, 3), (14, 21500.0, 3.9e-8, 3)):
            level = index % 10
            delta = energy - LEVELS[level][0]
            wet[index] = channel_rate(level, delta, R, G, ed6, model, 2.4, 3.5)
            wbt[index] = wet[index] * back_factor(delta)
        show("6. model %d wet 0 13 14, wbt 0 13 14" % model, [wet[0], wet[13], wet[14], wbt[0], wbt[13], wbt[14]])
        if model == 0:
            # Eight-state model on these rates, Arad/Anrad from Omega (10, 5, 0.5) at n 1.5, lifetime 0.
            x = eight_state(wet, wbt, arad + anrad)
            show("6. eight-state populations", x)
            show("6. eight-state yield", [arad * x[7] / (1e4 * x[0]) * 100])
            # Six-state model on the same rates with arad 600, anrad 400 given.
            x = six_state(wet, wbt, 1000.0)
            show("6. six-state populations", x)
            show("6. six-state yield", [600.0 * x[5] / (1e4 * x[0]) * 100])

    # 7. Gaussian fixture eu_h2o_td.log: singlet 2 (31250 cm-1, RL 1.47584),
    #    triplet 1 (1e7/520 cm-1, RL (1.78176 + 0.864)/2), Rmin 2.4; model 1,
    #    every channel on; OmegaED (2, 1.5, 0.4); Omega (10, 5, 0.5), n 1.5, lifetime 0.8 ms.
    ed7 = {2: 2.0e-20, 4: 1.5e-20, 6: 0.4e-20}
    ES, RS = 31250.0, 1.47584
    ET, RT = 1e7 / 520, (1.78176 + 0.864) / 2
    wet, wbt = transfer_channels(ES, RS, ET, RT, ed7, 1, 2.4, 3.5)
    show("7. wet 0..4", wet[0:5])
    show("7. wet 10..14", wet[10:15])
    show("7. wbt 0..4", wbt[0:5])
    show("7. wbt 10..14", wbt[10:15])
    decay = 1 / 0.8e-3
    x = eight_state(wet, wbt, decay)
    show("7. eight-state populations", x)
    show("7. eight-state yield", [arad * x[7] / (1e4 * x[0]) * 100])

    # 8. Two-triplet mode on the same file: upper triplet 3 (1e7/300, RL 2.616),
    #    lower triplet 2 (1e7/380, RL (1.78176 + 2.616)/2); model 2.
    ET3, RT3 = 1e7 / 300, 2.616
    EL, RLow = 1e7 / 380, (1.78176 + 2.616) / 2
    wet, wbt = transfer_channels(ES, RS, ET3, RT3, ed7, 2, 2.4, 3.5, lower=(EL, RLow))
    show("8. wet 0..5", wet[0:6])
    show("8. wet 10..14", wet[10:15])
    show("8. wbt 0 5 13 14", [wbt[0], wbt[5], wbt[13], wbt[14]])
    x = seven_state(wet, wbt, decay)
    show("8. seven-state populations", x)
    show("8. seven-state yield", [arad * x[6] / (1e4 * x[0]) * 100])


if __name__ == "__main__":
    main()
