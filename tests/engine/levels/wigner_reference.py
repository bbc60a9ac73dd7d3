#!/usr/bin/python3
"""Exact reference values of Wigner 3j and 6j symbols for the engine tests.

Run with Debian's /usr/bin/python3 and python3-sympy:
    /usr/bin/python3 wigner_reference.py > wigner_reference_values.inc
Values come from sympy.physics.wigner (exact, then rounded to 17 significant
digits); some of them are 0 because the Racah sum cancels. Rows whose value
is 0 by a selection rule are marked and written with the rule that makes them
vanish, and the program must return exactly 0 for them; the script checks the rule from the
definition, not from any program output. sympy itself does not test that
j + m is an integer (it returns a number for (1 1 1; 1/2 -1/2 0)), so those
rows are zero by definition here.
"""
from fractions import Fraction as Fr
from itertools import product

from sympy import Rational, nsimplify
from sympy.physics.wigner import wigner_3j, wigner_6j


def half(x):
    return Rational(Fr(x).numerator, Fr(x).denominator)


def c(x):
    """A C++ double literal of an exact half-integer or decimal argument."""
    return repr(float(x))


def value17(v):
    return "%.17g" % float(v.evalf(30))


def triangle(a, b, c_):
    return a <= b + c_ and b <= a + c_ and c_ <= a + b


def threej_rule(j1, j2, j3, m1, m2, m3):
    """The selection rule that makes the symbol vanish, or None."""
    args = (j1, j2, j3, m1, m2, m3)
    if any((2 * Fr(x)).denominator != 1 for x in args):
        return "argument not a multiple of 1/2"
    if any((Fr(j) + Fr(m)).denominator != 1 for j, m in ((j1, m1), (j2, m2), (j3, m3))):
        return "j + m not an integer"
    if not triangle(Fr(j1), Fr(j2), Fr(j3)):
        return "triangle violated"
    if Fr(m1) + Fr(m2) + Fr(m3) != 0:
        return "m sum not 0"
    if abs(Fr(m1)) > Fr(j1) or abs(Fr(m2)) > Fr(j2) or abs(Fr(m3)) > Fr(j3):
        return "|m| > j"
    return None


def sixj_rule(j1, j2, j3, j4, j5, j6):
    for t in ((j1, j2, j3), (j4, j5, j3), (j1, j5, j6), (j4, j2, j6)):
        if not triangle(*map(Fr, t)):
            return "triad (%s %s %s) violates the triangle" % tuple(str(Fr(x)) for x in t)
    return None


def threej_row(args, note):
    rule = threej_rule(*args)
    if rule is not None:
        return "    {%s, 0.0, true, \"%s\"}," % (", ".join(c(x) for x in args), rule)
    v = wigner_3j(*[half(x) for x in args])
    return "    {%s, %s, false, \"%s\"}," % (", ".join(c(x) for x in args), value17(v), note or str(v))


def sixj_row(args, note):
    rule = sixj_rule(*args)
    if rule is not None:
        return "    {%s, 0.0, true, \"%s\"}," % (", ".join(c(x) for x in args), rule)
    v = wigner_6j(*[half(x) for x in args])
    return "    {%s, %s, false, \"%s\"}," % (", ".join(c(x) for x in args), value17(v), note or str(v))


H = Fr(1, 2)

threej_named = [
    ((3, 2, 3, 0, 0, 0), "2/sqrt(105)"),
    ((1, 1, 0, 1, -1, 0), "1/sqrt(3)"),
    ((H, H, 1, H, H, -1), "half-integer j"),
    ((1, 1, 1, 0, 0, 0), "odd j sum with m = 0 sums to 0"),
    ((Fr(7, 2), 3, Fr(7, 2), Fr(5, 2), -1, -Fr(3, 2)), "f^7-like half-integer J"),
    ((8, 6, 8, -3, 2, 1), "J = 8, k = 6"),
    ((6, 6, 6, 0, 0, 0), None),
    ((3, 6, 3, 0, 0, 0), "f-electron C(6)"),
    ((10, 10, 10, 0, 0, 0), "large sum"),
    ((1, 1, 1, 1, 0, 0), "m sum not 0"),
    ((1, 1, 1, 2, -1, -1), "|m1| > j1"),
    ((2, 1, 1, 0, 2, -2), "|m2| > j2"),
    ((2, 2, 1, 1, 0, -1), None),
    ((1, 1, 3, 0, 0, 0), "triangle violated"),
    ((1, 1, 1, H, -H, 0), "j + m not an integer"),
    ((H, H, 1, 1, -1, 0), "j + m not an integer"),
    ((1, 1, H, -H, 0, H), "j + m not an integer"),  # only j1 + m1: the j sum is half-integer
    ((H, 1, 1, H, 0, -H), "j + m not an integer"),  # only j3 + m3
    ((Fr(3, 10), 1, 1, 0, 0, 0), "argument 0.3"),
    ((1, 1, 1, Fr(3, 10), -Fr(3, 10), 0), "argument 0.3"),
]

sixj_named = [
    ((3, 3, 1, 3, 3, 3), "1/14"),
    ((1, 1, 1, 1, 1, 1), "1/6"),
    ((H, H, 1, H, H, 0), "1/2"),
    ((0, 0, 0, 0, 0, 0), "1"),
    ((3, 3, 2, 3, 3, 3), None),
    ((6, 5, 1, 1, 1, 5), None),
    ((Fr(7, 2), Fr(5, 2), 1, 3, 3, H), "spin-orbit type"),
    ((8, 8, 6, 7, 7, 1), None),
    ((1, 1, 3, 1, 1, 1), "triad (j1 j2 j3) violated"),
    ((1, 1, 1, 1, 3, 1), "triad (j4 j5 j3) violated"),
    ((1, 3, 1, 1, 1, 1), "triad (j4 j2 j6) violated"),
    ((1, 1, 1, 1, 1, 3), "triad (j1 j5 j6) violated"),
]


def threej_sweep():
    """(J k J'; -M q M') of the f shell: J, J' in 0..6 and 1/2..15/2, k in 2, 4, 6."""
    rows = []
    for k in (2, 4, 6):
        for twoJ, twoJp in product(range(0, 16), repeat=2):
            if twoJ % 2 != twoJp % 2:
                continue
            J, Jp = Fr(twoJ, 2), Fr(twoJp, 2)
            if not triangle(J, Fr(k), Jp) or (twoJ + 3 * twoJp) % 5:
                continue  # every fifth pair keeps the table short
            for twoM in range(-twoJ, twoJ + 1, 2):
                M = Fr(twoM, 2)
                for q in range(-k, k + 1):
                    Mp = M - q
                    if abs(Mp) > Jp or (twoM + 3 * q) % 7:
                        continue
                    rows.append(((J, k, Jp, -M, q, Mp), None))
    return rows


def sixj_sweep():
    """Integer arguments up to 8 with k = 1, 2, 4, 6, and spin-orbit shapes {J J' 1; L' L 1/2}."""
    valid = []
    for a, b, d, e in product(range(0, 9), repeat=4):
        for cc in (1, 2, 4, 6):
            for f in range(0, 9):
                args = (a, b, cc, d, e, f)
                if sixj_rule(*args) is None:
                    valid.append(args)
    spinOrbit = []
    for a2, b2 in product(range(1, 16, 2), repeat=2):
        for L, Lp in product(range(0, 7), repeat=2):
            args = (Fr(a2, 2), Fr(b2, 2), 1, Lp, L, H)
            if sixj_rule(*args) is None:
                spinOrbit.append(args)
    # A stride through each list keeps the table short and still spread over the range.
    return [(args, None) for args in valid[::150] + spinOrbit[::5]]


def main():
    print("// Generated by wigner_reference.py (sympy %s); do not edit by hand." % __import__("sympy").__version__)
    print("// {j1, j2, j3, m1, m2, m3, value, zero by a selection rule, what the row shows}")
    print("#define ORVANE_THREEJ_REFERENCE \\")
    for args, note in threej_named + threej_sweep():
        print(threej_row(args, note) + " \\")
    print("")
    print("// {j1, j2, j3, j4, j5, j6, value, zero by a triangle rule, what the row shows}")
    print("#define ORVANE_SIXJ_REFERENCE \\")
    for args, note in sixj_named + sixj_sweep():
        print(sixj_row(args, note) + " \\")
    print("")


if __name__ == "__main__":
    main()
