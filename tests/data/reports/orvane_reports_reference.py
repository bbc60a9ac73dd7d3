#!/usr/bin/python3
"""Expected energy-transfer and quantum-yield reports, computed outside the engine.

Run with /usr/bin/python3 (needs numpy) in this folder; it rewrites the
eu_h2o_*.orvane files listed in main().

The excited states are those of ../gaussian/eu_h2o_td.log: energies 1e7 / nm
from its "Excited State" lines, RL values from the hand computation written at
the head of tests/engine/core/test_orvanerl.cpp (singlets 1.78176, 1.47584,
2.268; triplets (1.78176 + 0.864) / 2, (1.78176 + 2.616) / 2, 2.616 Angstrom;
selected state 2; shortest Eu-ligand distance 2.4 Angstrom). The rates, the
rate equations (solved with numpy's LU solver) and the text layout are
written out again here, apart from the engine; nothing comes from the
engine.
"""
import math
import re
import sys

import numpy as np

RL_FILE = "gaussian/eu_h2o_td.log"  # as the tests name it, from tests/data
SINGLET_RL = [0.0, 1.78176, 1.47584, 2.268]
TRIPLET_RL = [0.0, (1.78176 + 0.864) / 2, (1.78176 + 2.616) / 2, 2.616]
SELECTED = 2
R_MIN = 2.4

# Inputs the tests hand to the engine.
OMEGA = {2: 12.5, 4: 6.25, 6: 0.48}        # 1e-20 cm^2
OMEGA_ED = {2: 0.8125, 4: 0.4375, 6: 0.0625}  # 1e-20 cm^2
REFRACTIVE_INDEX = 1.55
N_OVERLAP = 3.5

LEVEL_ENERGY = [27586.0, 26752.0, 25325.0, 19027.0, 17293.0]  # 5D4 5G6 5L6 5D1 5D0
LEVEL_U2 = [(0.0, 0.0011, 0.0), (0.0, 0.0, 0.0037), (0.0, 0.0, 0.0153), None, None]
LEVEL_J = [4, 6, 6, 1, 0]
LEVEL_X = [None, None, None, 0.25, 0.2]

A0 = 5.2917721092e-9
RADIAL = {2: 0.9175 * A0**2, 4: 2.02 * A0**4, 6: 9.039 * A0**6}
RACAH = {2: -1.366, 4: 1.128, 6: -1.2774}
SHIELD = {0: 0.981, 1: 0.8, 2: 0.6, 4: 0.139, 6: 0.1}
E_CHARGE = 4.803204505713468e-10
BAND_HALF_WIDTH = 3250.0

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


def f(v, d):
    return "%.*f" % (d, v + 0.0)


def e(v, d):
    return "%.*e" % (d, v + 0.0)


def read_states(path):
    singlets, triplets = [], []
    pattern = re.compile(r"Excited State\s+\d+:\s+(Singlet|Triplet)\S*\s+\S+ eV\s+(\S+) nm")
    with open(path) as fh:
        for line in fh:
            m = pattern.search(line)
            if m:
                (singlets if m.group(1) == "Singlet" else triplets).append(1e7 / float(m.group(2)))
    return singlets, triplets


SINGLET_E, TRIPLET_E = read_states("../" + RL_FILE)


# --- rates --------------------------------------------------------------------
def franck_condon(delta, w=BAND_HALF_WIDTH):
    return math.exp(-math.log(2) * (delta / w) ** 2) * math.sqrt(math.log(2) / math.pi) / w * 5.03411751e15


def gama(l, r):
    return (l + 1) * RADIAL[l] ** 2 * RACAH[l] ** 2 * (1 - SHIELD[l]) ** 2 / (r ** (l + 2)) ** 2


HBAR = 1.054571817e-27  # only to check the literal factors of the rate formulas


def multipolar(delta, j, r, u2, g_deg, model):
    fc = franck_condon(delta)
    e2 = E_CHARGE**2
    s_dd = sum(u * OMEGA_ED[l] * 1e-20 for l, u in zip((2, 4, 6), u2))
    dd = fc * e2 * 1e-35 / ((2 * j + 1) * g_deg * r**6) * 1.1916089066814218e28 * s_dd
    if model in (0, 1):
        dd *= (1 - SHIELD[1]) ** 2
    s_dm = sum(u * gama(l, r) for l, u in zip((2, 4, 6), u2))
    dm = fc * e2 * 1e-35 / ((2 * j + 1) * g_deg) * 5.958044533407109e27 * s_dm
    return dd + dm


def exchange(delta, j, x, r, g_deg, model):
    fc = franck_condon(delta)
    if model in (0, 1):
        rho = 0.05 * (R_MIN * 1e-8 / r) ** N_OVERLAP
        return fc * rho ** (2 if model == 0 else 4) * E_CHARGE**2 / ((2 * j + 1) * r**4) * 7.944059377876147e27 \
            * x * x * 1e-35
    if model == 2:
        return fc * (1 - SHIELD[0]) ** 2 * E_CHARGE**2 / ((2 * j + 1) * r**4 * g_deg) * 7.944059377876147e27 \
            * x * x * 1e-35
    return 0.0


def back_factor(delta):
    # exp(-delta h c / k T) at 300 K
    return math.exp(-delta * 1.9864456845196332e-16 / 4.1419464e-14)


class Calculation:
    def __init__(self, singlet_level, triplet_level, two_triplets, channels, model=0, lifetime=0.0):
        self.singlet_level = singlet_level
        self.triplet_level = triplet_level
        self.two = two_triplets
        self.channels = channels  # set of channel indices switched on
        self.model = model
        self.lifetime = lifetime
        self.wet = [0.0] * 20
        self.wbt = [0.0] * 20
        self.mismatch = [0.0] * 20

    def transfer(self):
        rs = SINGLET_RL[self.singlet_level] * 1e-8
        es = SINGLET_E[self.singlet_level - 1]
        rt = TRIPLET_RL[self.triplet_level] * 1e-8
        et = TRIPLET_E[self.triplet_level - 1]
        if not self.two:
            for i in range(5):
                self.mismatch[i] = es - LEVEL_ENERGY[i]
                self.mismatch[10 + i] = et - LEVEL_ENERGY[i]
            r_triplet = rt
        else:
            lower_r = TRIPLET_RL[2] * 1e-8
            lower_e = TRIPLET_E[1]
            # Singlet channels from the singlet, every triplet channel from the lower triplet.
            for i in range(5):
                self.mismatch[i] = es - LEVEL_ENERGY[i]
                self.mismatch[10 + i] = lower_e - LEVEL_ENERGY[i]
            self.mismatch[5] = et - LEVEL_ENERGY[0]
            r_triplet = lower_r
        order = [0, 1, 2, 3, 4] + ([5] if self.two else []) + [10, 11, 12, 13, 14]
        for i in order:
            if i != 5 and i not in self.channels:
                continue
            delta = self.mismatch[i]
            level = 0 if i == 5 else i % 10
            r = rt if i == 5 else (rs if i < 5 else r_triplet)
            g_deg = 1 if i < 5 else 3
            if level < 3:
                rate = multipolar(delta, LEVEL_J[level], r, LEVEL_U2[level], g_deg, self.model)
            else:
                rate = exchange(delta, LEVEL_J[level], LEVEL_X[level], r, g_deg, self.model)
            self.wet[i] = rate
            self.wbt[i] = rate * back_factor(delta)

    def radiative(self):
        n = REFRACTIVE_INDEX
        chi = n * (n * n + 2) ** 2 / 9
        pi4 = 3.14159265359**4
        self.md = 64 * pi4 * 16921.0**3 / 1.987820871e-26 * n**3 * 9.6e-42
        self.ed = {}
        for l, u, s in ((2, 0.0032, 16267.0), (4, 0.0023, 14470.0), (6, 0.0002, 12386.0)):
            self.ed[l] = 64 * pi4 * s**3 / 1.987820871e-26 * chi * E_CHARGE**2 * OMEGA[l] * 1e-20 * u
        self.arad = self.ed[2] + self.md + self.ed[4] + self.ed[6]
        self.beta = {1: self.md * 100 / self.arad, 2: self.ed[2] * 100 / self.arad, 3: 0.0,
                     4: self.ed[4] * 100 / self.arad, 5: 0.0, 6: self.ed[6] * 100 / self.arad}
        if self.lifetime == 0.0:
            x = 2.99792458e10**3 * 3.3358947250164996e-11**4 / 1e-9**2 * (3 * 0.25 * self.arad)
            y = x ** 0.333333333333333
            self.anrad = 5154.349 * math.exp(-0.0016612880289 * (y + 122.6328568073266))
            self.lifetime = 1 / (self.anrad + self.arad)
        else:
            self.anrad = 1 / self.lifetime - self.arad
        self.efficiency = self.arad / (self.anrad + self.arad) * 100

    def solve(self, states, rates, into):
        n = states
        a = np.zeros((n, n))
        for (i, j), w in rates.items():
            a[j, i] += w
            a[i, i] -= w
        a[n - 1, n - 1] -= self.arad + self.anrad
        a[0, :] = 1.0
        b = np.zeros(n)
        b[0] = 1.0
        x = np.linalg.solve(a, b)
        print("condition number %.1e" % np.linalg.cond(a), file=sys.stderr)
        self.populations = getattr(self, "populations", [0.0] * 9)
        for k, slot in enumerate(into):
            self.populations[slot] = x[k]
        self.quantum_yield = self.arad * x[n - 1] / (1e4 * x[0]) * 100

    def quantum_yield_model(self):
        self.radiative()
        wet, wbt = self.wet, self.wbt
        if not self.two:
            # S0 S1 T 5D4 5G6 5L6 5D1 5D0
            r = {(0, 1): 1e4, (1, 0): 1e6, (1, 2): 1e8, (2, 0): 1e5,
                 (1, 3): wet[0], (1, 4): wet[1], (1, 5): wet[2], (1, 6): wet[3], (1, 7): wet[4],
                 (2, 3): wet[10], (2, 4): wet[11], (2, 5): wet[12], (2, 6): wet[13], (2, 7): wet[14],
                 (3, 1): wbt[0], (4, 1): wbt[1], (5, 1): wbt[2], (6, 1): wbt[3], (7, 1): wbt[4],
                 (3, 2): wbt[10], (4, 2): wbt[11], (5, 2): wbt[12], (6, 2): wbt[13], (7, 2): wbt[14],
                 (3, 4): 1e6, (4, 5): 1e6, (5, 6): 1e6, (6, 7): 1e6}
            self.solve(8, r, [0, 1, 3, 4, 5, 6, 7, 8])
        else:
            # S0 S1 upper lower 5D4 5D1 5D0
            r = {(0, 1): 1e4, (1, 0): 1e6, (1, 2): 1e8, (1, 3): 1e8, (1, 4): wet[0],
                 (2, 0): 1e6, (2, 3): 1e8, (2, 4): wet[5],
                 (3, 0): 1e6, (3, 5): wet[13], (3, 6): wet[14],
                 (4, 1): wbt[0], (4, 2): wbt[5], (4, 5): 1e6,
                 (5, 3): wbt[13], (5, 6): 1e6, (6, 3): wbt[14]}
            self.solve(7, r, [0, 1, 2, 3, 4, 7, 8])


SECTIONS = ["anradAndQuantumEfficiency", "aradAndBeta", "constantValues", "frankCondonFactor", "levelPopulation",
            "omega", "omegaED", "quantumYield", "singletAndTripletEnergy", "wet", "gama"]
CHANNEL_FLAGS = {0: "singlet5D4", 1: "singlet5G6", 2: "singlet5L6", 3: "singlet5D1", 4: "singlet5D0",
                 10: "triplet5D4", 11: "triplet5G6", 12: "triplet5L6", 13: "triplet5D1", 14: "triplet5D0"}
LEVEL_NAMES = ["5D4", "5G6", "5L6", "5D1", "5D0"]


def channel_labels(i, two):
    level = LEVEL_NAMES[0 if i == 5 else i % 10]
    kind = "MM" if (i == 5 or i % 10 < 3) else "EX"
    if i == 5:
        donor_f, donor_w, donor_b = "Triplet2", "Triplet2", "Triplet2"
        return ("    F (%s -> %s) = " % (donor_f, level), "      Wet%s (%s -> %s) = " % (kind, donor_w, level),
                "      Wbt%s (%s -> %s) = " % (kind, donor_b, level))
    if i < 5:
        donor = "Singlet"
        donor_w = donor
        donor_f = donor_b = donor
    else:
        donor_f = donor_b = "Triplet1" if two else "Triplet"
        donor_w = "Triplet1" if two and i not in (11, 12) else "Triplet"
    return ("    F (%s - %s) = " % (donor_f, level), "      Wet%s (%s -> %s) = " % (kind, donor_w, level),
            "      Wbt%s (%s -> %s) = " % (kind, donor_b, level))


def et_report(calc, flags):
    on = set(flags)
    calc.transfer()
    calc.radiative()
    out = [BANNER + "\n\n\n"]
    w = out.append
    w("The data shown below were calculated from the geometry and excited states energies read in following file: \n")
    w("    " + RL_FILE + "\n\n")
    if "omega" in on:
        w("-------------------------------------------------------\n Theoretical Judd-Ofelt Intensity Parameters, "
          "omega(l) \n-------------------------------------------------------\n\n")
        for l in (2, 4, 6):
            w(("omega(%d) = " % l).rjust(15) + (f(OMEGA[l] * 1e-20 * 1e20, 2) + "e-20 cm^2").rjust(15) + "\n")
        w("\n")
    if "omegaED" in on:
        w("-----------------------------------------------------------\n Forced Electric Dipole Judd-Ofelt "
          "Parameters, omegaED (l)\n-----------------------------------------------------------\n\n")
        for l in (2, 4, 6):
            w(("omegaED(%d) = " % l).rjust(15) + (f(OMEGA_ED[l] * 1e-20 * 1e20, 4) + "e-20 cm^2").rjust(15) + "\n")
        w("\n")
    if "constantValues" in on:
        w("-----------------------------------\n Constant values for the Eu3+ Ion  \n"
          "-----------------------------------\n\n")
        w("  Racah Tensor Operator Used:  <f|C(2)|f> =" + f(RACAH[2], 4).rjust(8) + "<f|C(4)|f> =".rjust(20)
          + f(RACAH[4], 4).rjust(8) + "<f|C(6)|f> =".rjust(20) + f(RACAH[6], 4).rjust(8) + "\n\n")
        w(" Shielding Factor Used:         sigma(2) =" + f(SHIELD[2], 3).rjust(8) + "sigma(4) =".rjust(20)
          + f(SHIELD[4], 3).rjust(8) + "sigma(6) =".rjust(20) + f(SHIELD[6], 3).rjust(8) + "\n\n")
        w(" Radial Integrals:  r(2) =" + e(RADIAL[2], 3).rjust(10) + " cm^2" + "r(4) = ".rjust(16)
          + e(RADIAL[4], 3).rjust(10) + " cm^4" + "r(6) =".rjust(16) + e(RADIAL[6], 3).rjust(10) + " cm^6")
        w("\n\n\n\n")
    if "singletAndTripletEnergy" in on:
        w("-------------------------------------------------\n Singlet and Triplet Excited States Energies and \n"
          " RL Parameters                                   \n-------------------------------------------------\n\n")
        w("    Chosen Singlet Excited State = " + str(calc.singlet_level) + "\n")
        w("    RL Singlet: " + f(SINGLET_RL[calc.singlet_level], 4) + " Angs".ljust(25) + "Singlet Energy: "
          + f(SINGLET_E[calc.singlet_level - 1], 2) + " cm^-1" + "\n")
        w("    Chosen Triplet Excited State = " + str(calc.triplet_level) + "\n")
        w(("    RL Triplet2: " if calc.two else "    RL Triplet: ") + f(TRIPLET_RL[calc.triplet_level], 4)
          + " Angs".ljust(25) + "Triplet Energy: " + f(TRIPLET_E[calc.triplet_level - 1], 2) + " cm^-1" + "\n\n")
        if calc.two:
            w("    RL Triplet1: " + f(TRIPLET_RL[2], 4) + " Angs".ljust(25) + "    Triplet Energy: "
              + f(TRIPLET_E[1], 2) + " cm^-1" + "\n\n")
        w(" RL: distance from the donor state located at the organic ligands \n and the Eu3+ ion nucleus.\n\n")
    if "gama" in on:
        r = SINGLET_RL[SELECTED] * 1e-8
        w("---------------------\n gama(l) Parameters  \n---------------------\n\n")
        w("gama(2) = ".rjust(13) + e(gama(2, r), 4).rjust(8) + "gama(4) = ".rjust(20) + e(gama(4, r), 4).rjust(8)
          + "gama(6) = ".rjust(20) + e(gama(6, r), 4).rjust(8) + "\n\n")
    order = [0, 1, 2, 3, 4] + ([5] if calc.two else []) + [10, 11, 12, 13, 14]
    printed = [i for i in order if i == 5 or CHANNEL_FLAGS[i] in calc.flag_names]
    if "frankCondonFactor" in on:
        w("------------------------------------------------------\n Frank Condon's Factor (F), this factor depend "
          "on the \n------------------------------------------------------\n\n")
        for i in printed:
            end = " erg^-1   " + "\n\n" if i == 14 else " erg^-1 \n"
            w(channel_labels(i, calc.two)[0] + e(franck_condon(calc.mismatch[i]), 4) + end)
    if "wet" in on:
        w("------------------------------------------------------\n Energy Transfer (Wet) and Back-Transfer Rates "
          "(Wbt)  \n    Wet from the Multipolar Mechanism (WetMM)         \n    Wet from the Exchange Mechanism "
          "(WetEX)           \n------------------------------------------------------\n\n")
        w("    Energy Transfer Rates\n")
        for i in printed:
            w(channel_labels(i, calc.two)[1] + e(calc.wet[i], 2) + (" s^-1  \n\n" if i == 14 else " s^-1 \n"))
        w("    Energy Back-Transfer Rates\n")
        for i in printed:
            w(channel_labels(i, calc.two)[2] + e(calc.wbt[i], 2) + (" s^-1 \n\n" if i == 14 else " s^-1 \n"))
    if "aradAndBeta" in on:
        w("-------------------------------------\n Radiative emission rate (Arad) and  \n Branchio Rates (beta)  "
          "             \n-------------------------------------\n\n")
        w(" Refractive Index Used = " + f(REFRACTIVE_INDEX, 3) + "\n\n")
        w(" Arad = " + f(calc.arad, 2) + " s^-1\n\n")
        w(" Beta values (contribution of each 5D0 -> 7FJ transition in percentage to radiative decay rate)\n\n")
        b = calc.beta
        w("    5D0 -> 7F1: " + f(b[1], 2) + "\t" + "    5D0 -> 7F2: " + f(b[2], 2) + "\t" + "    5D0 -> 7F3: "
          + f(b[3], 2) + "\n\n" + "    5D0 -> 7F4: " + f(b[4], 2) + "\t" + "    5D0 -> 7F5: " + f(b[5], 2) + "\t"
          + "    5D0 -> 7F6: " + f(b[6], 2) + "\t\n\n")
    return "".join(out)


def qy_report(calc, flags):
    text = et_report(calc, flags)
    on = set(flags)
    calc.quantum_yield_model()
    out = [text]
    w = out.append
    if "anradAndQuantumEfficiency" in on:
        w("---------------------------------------\n Nonradiative Decay Rate (Anrad) and   \n Quantum Efficiency     "
          "               \n---------------------------------------\n\n")
        w("    Chosen Experimental Lifetime = " + f(calc.lifetime * 1000, 4) + " ms\n\n")
        w("    Anrad = " + f(calc.anrad, 2) + " s^-1\n\n")
        w("    Quantum Efficiency = " + f(calc.efficiency, 2) + " %\n\n\n")
    if "levelPopulation" in on:
        p = calc.populations
        w("----------------------------------------------------------------------------\n  Level Population of "
          "each State Involved in the Process of Energy Transfer \n"
          "----------------------------------------------------------------------------\n\n")
        w("    Fundamental Singlet Population = " + f(p[0], 4) + "\n    Excited Singlet Population     = "
          + f(p[1], 4) + "\n")
        if calc.two:
            w("    Triplet 2 population           = " + f(p[2], 4) + "\n")
        w("    Triplet Population             = " + f(p[3], 4) + "\n    5D4 Population                 = "
          + f(p[4], 4) + "\n    5G6 Population                 = " + f(p[5], 4)
          + "\n    5L6 Population                 = " + f(p[6], 4) + "\n    5D1 Population                 = "
          + f(p[7], 4) + "\n    5D0 Population                 = " + f(p[8], 4) + "\n\n\n")
    if "quantumYield" in on:
        dash = "-----------------------------"
        w(dash.rjust(52) + "\n" + "Quantum Yield: ".rjust(43) + f(calc.quantum_yield, 2) + " %\n" + dash.rjust(52)
          + "\n")
    return "".join(out)


def make(singlet_level, triplet_level, two, channel_names, model=0, lifetime=0.0):
    channels = {i for i, name in CHANNEL_FLAGS.items() if name in channel_names}
    calc = Calculation(singlet_level, triplet_level, two, channels, model, lifetime)
    calc.flag_names = set(channel_names)
    return calc


ALL_CHANNELS = list(CHANNEL_FLAGS.values())
DEFAULT_CHANNELS = ["singlet5D4", "triplet5D1", "triplet5D0"]


def check_literal_factors():
    """The rate formulas carry e^2 x 1e-35, 4 pi / hbar, 2 pi / hbar and 8 pi / (3 hbar) as literals."""
    hbar = 1.0545718e-27
    for literal, exact in ((1.1916089066814218e28, 4 * math.pi / hbar), (5.958044533407109e27, 2 * math.pi / hbar),
                           (7.944059377876147e27, 8 * math.pi / (3 * hbar))):
        assert abs(literal / exact - 1) < 1e-7, (literal, exact)


def main():
    check_literal_factors()
    files = {
        # Quantum-yield report, every section and channel, one triplet.
        "eu_h2o_all.orvane": (qy_report, make(2, 2, False, ALL_CHANNELS), SECTIONS),
        # Every section off: the preamble alone, for both reports.
        "eu_h2o_none.orvane": (qy_report, make(2, 2, False, DEFAULT_CHANNELS), []),
        # Quantum-yield report in two-triplet mode with every channel.
        "eu_h2o_two_triplets.orvane": (qy_report, make(2, 3, True, ALL_CHANNELS, lifetime=1.2e-3), SECTIONS),
        # Energy-transfer report, the default channels, model 2.
        "eu_h2o_et_default.orvane": (et_report, make(2, 3, False, DEFAULT_CHANNELS, model=2), SECTIONS),
    }
    for name, (writer, calc, flags) in files.items():
        with open(name, "w", newline="\n") as fh:
            fh.write(writer(calc, flags))
    return 0


if __name__ == "__main__":
    sys.exit(main())
