#!/usr/bin/env python3
"""Writes the golden files of this folder: what the engine's file writers must
produce for the real MOPAC outputs of ../mopac, the ORCA output of ../orca and
the MOL2 structure of this folder.

This is a second, independent writer of the same layouts (widths, decimals,
fixed lines, missing final line feeds), built from the file formats rather
than from the engine's code; it reads its sources with its own regular
expressions. Run it from anywhere with python3; it rewrites the files listed
in GOLDEN below and nothing else.

"@SOURCE@" in the .mop written from a MOPAC output stands for the source path,
which the tests fill in.
"""

import math
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
MOPAC = os.path.join(HERE, "..", "mopac")
ORCA = os.path.join(HERE, "..", "orca")

LANTHANIDES = ["La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu"]


def R(w, t):
    return str(t).rjust(w)


def L(w, t):
    return str(t).ljust(w)


def F(d, v):
    return "%.*f" % (d, v)


def G6(v):
    return "%g" % v


def text_of(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="") as f:
        f.write(text)


class MopacOutput:
    """Atoms of the final geometry (the first Cartesian table after the final
    heat of formation), translation vectors of the last geometry table before
    it appended, the charge and the filled levels."""

    def __init__(self, name):
        text = text_of(os.path.join(MOPAC, name))
        m = re.search(r"CHARGE ON SYSTEM = ([+-]?\d+)", text)
        self.charge = float(m.group(1)) if m else 0.0
        m = re.search(r"NO\. OF FILLED LEVELS\s+=\s+(\d+)", text)
        self.filled = int(m.group(1)) if m else None
        heat = text.index("FINAL HEAT OF FORMATION")
        table = text.index("CARTESIAN COORDINATES\n\n", heat)
        tail = text[table:]
        rows = tail[tail.index("\n\n") + 2:].split("\n")
        row = re.compile(r"^\s+\d+\s+(\w+)\s+(-?\d+\.\d+)\s+(-?\d+\.\d+)\s+(-?\d+\.\d+)$")
        self.atoms = []
        for line in rows:
            m = row.match(line)
            if not m:
                break
            self.atoms.append((m.group(1), float(m.group(2)), float(m.group(3)), float(m.group(4))))
        tv = re.compile(r"^\s+\d+\s+Tv\s+(-?\d+\.\d+)\s+\*\s+(-?\d+\.\d+)\s+\*\s+(-?\d+\.\d+)", re.M)
        self.vectors = [("Tv", float(a), float(b), float(c)) for a, b, c in tv.findall(text[heat:table])]

    def with_tv(self):
        return self.atoms + self.vectors


# --- Gaussian ---------------------------------------------------------------

ECP = {"Eu": "MWB52", "Gd": "MWB53", "Tb": "MWB54"}


def gjf(out, target):
    base = os.path.basename(target).split(".")[0]
    lines = ["%chk=" + base + ".chk", "%nproc=8", "%mem=4GB",
             "#td=(nstates=10,50-50) scf=(maxcyc=800) LC-wPBE/genecp pseudo=read guess=core pop=full",
             "", " Title Card Required ", "", G6(out.charge) + " 1"]
    labels = []
    for label, x, y, z in out.with_tv():
        lines.append(L(2, label) + R(12, F(4, x)) + R(12, F(4, y)) + R(12, F(4, z)))
        if label not in labels:
            labels.append(label)
    present = [s for s in LANTHANIDES if s in labels]
    others = [l for l in labels if l not in present]
    block = []
    for k, symbol in enumerate(present):
        if k:
            block.append("****")
        block += [symbol + " 0", ECP.get(symbol, "") + " "]
    lines += [""] + ["".join(l + " " for l in others) + "0 ", "6-31+G(d)", "****"]
    lines += block + ["****", ""] + block + ["", "", "", ""]
    return "\n".join(lines) + "\n"


# --- ZINDO ------------------------------------------------------------------

ZINDO = {"H": 1, "B": 5, "C": 6, "N": 7, "O": 8, "F": 9, "Si": 14, "P": 15, "S": 16, "Cl": 17,
         "As": 33, "Se": 34, "Br": 35, "Te": 52, "I": 53}


def inp(out, filled=None):
    f = out.filled if filled is None else filled
    atoms = out.atoms  # translation vectors are no atoms here
    n = len(atoms)
    n_ln = sum(1 for a in atoms if a[0] in LANTHANIDES)
    n_h = sum(1 for a in atoms if a[0] == "H")
    if f > 60:
        block, d, u = "   0   0   7000  ", 60, 61
    elif f > 40:
        block, d, u = "   0   0   6000  ", 40, 41
    else:
        block, d, u = "   0   0   6000  ", 30, 31
    lines = [" $TITLEI", "  cis calculation ( for spectrum ) ", " $END", " $CONTRL",
             " SCFTYP=RHF RUNTYP=CI ENTTYP=COORD UNITS=ANGS",
             " DYNAL(1)= " + str(n_ln) + R(4, n_h) + R(4, n - n_h - n_ln) + block + str(f + u),
             " ONAME=lixo VEC=9 IPRINT=0 ",
             " NAT= %d NEL= %d MULT=1  ITMAX=200  SCFTOL=0.00001  IAPX=3  INTTYP=1" % (n, 2 * f),
             " INTFA(1)= 1.0  1.2675  0.585  1.0  1.0  1.0", " $END", " $DATAIN"]
    x1, y1, z1 = atoms[0][1:]
    for label, x, y, z in atoms:
        number = 0 if label in LANTHANIDES else ZINDO[label]
        row = R(11, F(6, x - x1)) + R(11, F(6, y - y1)) + R(11, F(6, z - z1)) + R(5, number)
        if number == 0:
            row += R(11, "3.000000")
        lines.append(row)
    lines += [" $END", " $CIINPU ", "    4    1  100    1    1    1    0    1    1    1  100",
              "   -60000.   0.0", "    0    0    0    0    0    0    0    0    0",
              "00001" + R(5, f) + R(5, f) + R(5, "0"),
              "00021" + R(5, f - d) + R(5, f) + R(5, f + 1) + R(5, f + u), " $END"]
    return "\n".join(lines) + "\n"


# --- ORCA -------------------------------------------------------------------

def orbital_energies(name):
    text = text_of(os.path.join(ORCA, name))
    block = text[text.index("ORBITAL ENERGIES"):].split("\n")[4:]
    table = []
    for line in block:
        fields = line.split()
        if len(fields) < 3:
            break
        table.append((int(fields[0]), float(fields[1]), float(fields[2])))
    return table


def orca(out, target, triplets, window, occupied, virtuals, roots, earlier=None):
    low = high = 0.0
    if occupied and virtuals:
        table = orbital_energies(earlier)
        lumo = next(number for number, occ, _ in table if occ == 0.0)
        homo, m = lumo - 1, len(table)
        if homo - occupied < 1 or lumo + virtuals > m - 1:
            low, high = table[1][2], table[m - 1][2]
        else:
            low, high = table[homo - occupied + 1][2], table[lumo + virtuals - 1][2]
    lines = ["!RHF ZINDO/S TightSCF DIIS PrintBasis"]
    if window:
        lines += ["%method", "\tfrozencore fc_ewin", "end"]
    lines.append("%cis")
    if window:
        lines.append("\tewin " + F(6, low) + "," + F(6, high))
    lines += ["\tnroots %d" % roots, "\tmaxdim %d" % (4 * roots), "\tTriplets " + ("true" if triplets else "false"),
              "end", "%output", "\tprint[p_mos] 1", "end"]
    atoms = out.with_tv()
    ions = [a for a in atoms if a[0] in LANTHANIDES]
    charges = "\n".join([str(len(ions))] + [L(4, "3.0") + R(10, F(4, x)) + R(10, F(4, y)) + R(10, F(4, z))
                                            for _, x, y, z in ions]) + "\n"
    charge_name = os.path.splitext(os.path.basename(target))[0] + ".pointcharge"
    lines += ['%pointcharges "' + charge_name + '"', "*xyz %d 1" % int(out.charge - 3 * len(ions)), ""]
    for label, x, y, z in atoms:
        if label not in LANTHANIDES:
            lines.append(L(5, label) + R(10, F(4, x)) + R(10, F(4, y)) + R(10, F(4, z)))
    return "\n".join(lines) + "\n*", charges


# --- MOPAC input from an output ------------------------------------------------

def mop(out):
    lines = ["AM1 PRECISE XYZ T=10D BFGS GNORM=0.25 +   ", "NOLOG GEO-OK SCFCRT=1.D-10    ", "@SOURCE@", ""]
    for label, x, y, z in out.with_tv():
        lines.append(L(2, label) + R(12, F(4, x)) + " 1" + R(12, F(4, y)) + " 1" + R(12, F(4, z)) + " 1")
    return "\n".join(lines + ["0"]) + "\n"


# --- spherical coordinates ----------------------------------------------------

def sph(out):
    atoms = out.with_tv()
    x1, y1, z1 = atoms[0][1:]
    lines = []
    for label, x, y, z in atoms:
        dx, dy, dz = x - x1, y - y1, z - z1
        r = math.sqrt(dx * dx + dy * dy + dz * dz)
        theta = math.degrees(math.acos(max(-1.0, min(1.0, dz / r)))) if r else 0.0
        phi = math.degrees(math.atan2(dy, dx)) % 360.0 if (dx or dy) else 0.0
        lines.append(L(4, label) + R(14, F(5, r)) + R(12, F(3, theta)) + R(12, F(3, phi)))
    return "\n".join(lines) + "\n"


# --- Z-matrix -----------------------------------------------------------------

def sub(a, b):
    return [a[0] - b[0], a[1] - b[1], a[2] - b[2]]


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def angle(p, i, j, k):
    """Angle at j, radians."""
    u, v = sub(p[i], p[j]), sub(p[k], p[j])
    return math.acos(max(-1.0, min(1.0, dot(u, v) / math.sqrt(dot(u, u) * dot(v, v)))))


def dihedral(p, i, j, k, l):
    """Dihedral i-j-k-l in [0, 2 pi), the sign MOPAC's Z-matrices use; MOPAC
    takes a dihedral within 4e-5 rad of zero as zero."""
    b0, b1, b2 = sub(p[i], p[j]), sub(p[k], p[j]), sub(p[l], p[k])
    n = math.sqrt(dot(b1, b1))
    b1 = [c / n for c in b1]
    v = sub(b0, [dot(b0, b1) * c for c in b1])
    w = sub(b2, [dot(b2, b1) * c for c in b1])
    d = math.atan2(dot(cross(b1, v), w), dot(v, w))
    return 0.0 if abs(d) < 4e-5 else d % (2 * math.pi)


def zmt(out):
    """References: the nearest earlier atom, its own first reference and its
    second; a dihedral about a nearly straight reference angle (within 15
    degrees, else 5) takes the nearest earlier atom that makes a proper one."""
    atoms = out.with_tv()
    p = [None] + [list(a[1:]) for a in atoms]
    n = len(atoms)
    # While the atoms are chosen in turn, the earlier ones still carry their
    # provisional references: atom 1 counts 2 and 3, atom 2 counts 1 and 3.
    na, nb, nc = [2] * (n + 1), [3] * (n + 1), [4] * (n + 1)
    for i in range(2, n + 1):
        nearest = min(range(1, i), key=lambda j: (dot(sub(p[i], p[j]), sub(p[i], p[j])), j))
        na[i] = nearest
        if i > 2:
            nb[i] = na[nearest]
        if i > 3:
            nc[i] = nb[nearest]
    na[1] = nb[1] = nc[1] = 0
    if n > 1:
        nb[2] = nc[2] = 0
    if n > 2:
        nc[3] = 0
    deg = 57.29578
    lines = ["", "", ""]
    for i in range(1, n + 1):
        bond = ang = dih = 0.0
        if i >= 2:
            bond = math.sqrt(dot(sub(p[i], p[na[i]]), sub(p[i], p[na[i]])))
        if i >= 3:
            ang = angle(p, i, na[i], nb[i]) * deg
        if i >= 4:
            j, k, l = na[i], nb[i], nc[i]
            a = angle(p, j, k, l)
            if a > 2.87979326578979 or a < 0.2617993878:
                tolerance, best = 0.2617993878, 100.0
                for _ in range(2):
                    for m in range(1, i):
                        if m in (j, k):
                            continue
                        r = dot(sub(p[m], p[k]), sub(p[m], p[k]))
                        b = angle(p, j, k, m)
                        if r < best and tolerance < b < math.pi - tolerance:
                            best, l = r, m
                    if best > 99.0 and tolerance > 0.1:
                        tolerance = math.radians(5.0)
                    else:
                        break
                nc[i] = l
            dih = dihedral(p, i, j, k, l) * deg
        lines.append(L(2, atoms[i - 1][0]) + R(10, F(5, bond)) + " 1" + R(14, F(5, ang)) + " 1"
                     + R(14, F(5, dih)) + " 1" + R(5, na[i]) + R(5, nb[i]) + R(5, nc[i]))
    return "\n".join(lines + ["0"]) + "\n"


def place_zmatrix(rows):
    """Cartesian atoms of Z-matrix rows (label, bond, angle, dihedral in
    degrees, na, nb, nc): atom 1 at the origin, atom 2 on +x, atom 3 in the
    x-y plane with positive y, the rest placed from their three references."""
    p = [None]
    for i, (label, bond, ang, dih, na, nb, nc) in enumerate(rows, start=1):
        if i == 1:
            p.append([0.0, 0.0, 0.0])
        elif i == 2:
            p.append([bond, 0.0, 0.0])
        elif i == 3:
            t = math.radians(ang)
            if na == 1:
                p.append([bond * math.cos(t), bond * math.sin(t), 0.0])
            else:
                p.append([p[2][0] - bond * math.cos(t), bond * math.sin(t), 0.0])
        else:
            a, b, c = p[nc], p[nb], p[na]
            bc = sub(c, b)
            bc = [v / math.sqrt(dot(bc, bc)) for v in bc]
            normal = cross(sub(b, a), bc)
            normal = [v / math.sqrt(dot(normal, normal)) for v in normal]
            m = cross(normal, bc)
            t, d = math.radians(ang), math.radians(dih)
            local = [-bond * math.cos(t), bond * math.sin(t) * math.cos(d), bond * math.sin(t) * math.sin(d)]
            p.append([c[k] + local[0] * bc[k] + local[1] * m[k] + local[2] * normal[k] for k in range(3)])
    return [(rows[i - 1][0],) + tuple(p[i]) for i in range(1, len(rows) + 1)]


def read_zmt(text):
    rows = []
    for line in text.split("\n")[3:]:
        f = line.split()
        if len(f) < 2:
            break
        rows.append((f[0], float(f[1]), float(f[3]), float(f[5]), int(f[7]), int(f[8]), int(f[9])))
    return rows


# --- XYZ ----------------------------------------------------------------------

def xyz(atoms, keep_tv):
    rows = [a for a in atoms if keep_tv or a[0] != "Tv"]
    lines = [L(5, len(rows)), ""]
    lines += [L(2, l) + R(14, F(4, x)) + R(14, F(4, y)) + R(14, F(4, z)) for l, x, y, z in rows]
    return "\n".join(lines) + "\n"


def xyz_of_zmt(atoms):
    lines = [str(len(atoms)), ""]
    lines += [L(2, l) + R(12, F(4, x)) + R(12, F(4, y)) + R(12, F(4, z)) for l, x, y, z in atoms]
    return "\n".join(lines) + "\n"


def mop_input_atoms(name):
    """Atoms of a Cartesian MOPAC input (rows of seven fields after three lines)."""
    atoms = []
    for line in text_of(os.path.join(MOPAC, name)).split("\n")[3:]:
        f = line.split()
        if not f or f[0] == "0":
            break
        atoms.append((f[0], float(f[1]), float(f[3]), float(f[5])))
    return atoms


# --- MOL2 ---------------------------------------------------------------------

def element(name):
    return re.match(r"[^0-9]*", name).group(0).strip()


def mol2_ordered(name):
    """Atoms relative to the ion: the ion, the atoms bonded to it in file
    order, then the others in file order (one molecule)."""
    text = text_of(os.path.join(HERE, name))
    atom_part = text.split("@<TRIPOS>ATOM\n")[1].split("@<TRIPOS>")[0]
    bond_part = text.split("@<TRIPOS>BOND\n")[1].split("@<TRIPOS>")[0]
    atoms = []
    for line in atom_part.strip("\n").split("\n"):
        f = line.split()
        atoms.append((int(f[0]), element(f[1]), float(f[2]), float(f[3]), float(f[4])))
    bonds = [tuple(int(v) for v in line.split()[1:3]) for line in bond_part.strip("\n").split("\n")]
    ion = next(a for a in atoms if a[1] in LANTHANIDES)
    bonded = {b for a, b in bonds if a == ion[0]} | {a for a, b in bonds if b == ion[0]}
    order = [ion] + [a for a in atoms if a[0] in bonded] + [a for a in atoms if a is not ion and a[0] not in bonded]
    return [(l, x - ion[2], y - ion[3], z - ion[4]) for _, l, x, y, z in order]


def mop_of_mol2(atoms, key):
    text = key + "\n\n"
    for label, x, y, z in atoms:
        text += L(4, label) + "".join(R(10, F(4, v)) + " 1 " for v in (x, y, z)) + "\n"
    return text + "0"


def xyz_of_mol2(atoms):
    lines = [str(len(atoms)), ""]
    lines += [L(3, l) + R(10, F(4, x)) + R(10, F(4, y)) + R(10, F(4, z)) for l, x, y, z in atoms]
    return "\n".join(lines) + "\n"


DEFAULT_KEY = "AM1 SPARKLE PRECISE XYZ T=10D BFGS GNORM=0.25 + \nNOLOG GEO-OK SCFCRT=1.D-10 ALLVEC\n"


def main():
    aqua8 = MopacOutput("eu_h2o8_allvec.out")
    acetate = MopacOutput("eu_acetate3_h2o2.out")
    pair = MopacOutput("eu_gd_f7.out")
    chain = MopacOutput("polyethylene_tv.out")

    write("eu_h2o8_allvec.gjf", gjf(aqua8, "eu_h2o8_allvec.gjf"))
    write("eu_acetate3_h2o2.gjf", gjf(acetate, "eu_acetate3_h2o2.gjf"))
    write("eu_gd_f7.gjf", gjf(pair, "eu_gd_f7.gjf"))

    write("eu_h2o8_allvec.inp", inp(aqua8))
    write("eu_acetate3_h2o2.inp", inp(acetate))
    write("eu_acetate3_h2o2_61_levels.inp", inp(acetate, filled=61))
    write("eu_gd_f7.inp", inp(pair))
    write("polyethylene_tv.inp", inp(chain))

    text, charges = orca(aqua8, "eu_h2o8_allvec.orcinp", True, False, 0, 0, 50)
    write("eu_h2o8_allvec.orcinp", text)
    write("eu_h2o8_allvec.pointcharge", charges)
    text, charges = orca(pair, "eu_gd_f7.orcinp", False, True, 1, 2, 10, earlier="eu_h2o_tda.orcout")
    write("eu_gd_f7.orcinp", text)
    write("eu_gd_f7.pointcharge", charges)

    write("eu_h2o8_allvec.mop", mop(aqua8))
    write("polyethylene_tv.mop", mop(chain))

    write("eu_h2o8_allvec.sph", sph(aqua8))
    zmatrix = zmt(acetate)
    write("eu_acetate3_h2o2.zmt", zmatrix)
    write("eu_acetate3_h2o2_from_zmt.xyz", xyz_of_zmt(place_zmatrix(read_zmt(zmatrix))))

    write("eu_h2o8_allvec.xyz", xyz(aqua8.with_tv(), True))
    write("polyethylene_tv_keep.xyz", xyz(chain.with_tv(), True))
    write("polyethylene_tv_drop.xyz", xyz(chain.with_tv(), False))
    write("polyethylene_tv_mop_drop.xyz", xyz(mop_input_atoms("polyethylene_tv.mop"), False))

    aqua3 = mol2_ordered("eu_aqua3.mol2")
    write("eu_aqua3.mop", mop_of_mol2(aqua3, DEFAULT_KEY))
    write("eu_aqua3.xyz", xyz_of_mol2(aqua3))


if __name__ == "__main__":
    main()
