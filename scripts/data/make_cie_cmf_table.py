#!/usr/bin/env python3
"""Writes the CIE 1931 2-degree colour-matching functions as C++ constants.

Input: the functions as Debian's colord-data ships them (the CGATS file that
make_cie_points.py reads too). Output: a fragment that the engine's
chromaticity calculation includes: the first wavelength and the step (nm),
the number of rows and the three arrays x-bar, y-bar and z-bar. Every value
is written as the shortest decimal that reads back as the double of the
file's own decimal, so the engine holds the table's numbers exactly.

Usage: make_cie_cmf_table.py CIE1931-2deg-XYZ.cmf orvanecie1931table.inc
Standard library only, so any Python 3 builds it.
"""
import os
import sys

from make_cie_points import read_cmf, write_atomically


def array(name, values):
    lines = []
    for start in range(0, len(values), 6):
        lines.append("    " + ", ".join(repr(v) for v in values[start:start + 6]) + ",")
    return "constexpr double %s[cmfRows] = {\n%s\n};\n" % (name, "\n".join(lines))


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    cmf = read_cmf(argv[1])
    step = cmf[1][0] - cmf[0][0]
    text = (
        "// CIE 1931 2-degree colour-matching functions from %s,\n"
        "// written by scripts/data/make_cie_cmf_table.py at build time: do not edit.\n"
        "constexpr double cmfFirstWavelength = %r;\n"
        "constexpr double cmfStep = %r;\n"
        "constexpr int cmfRows = %d;\n"
        % (os.path.basename(argv[1]), cmf[0][0], step, len(cmf))
    )
    for k, name in enumerate(("cmfX", "cmfY", "cmfZ")):
        text += array(name, [row[k + 1] for row in cmf])
    write_atomically(argv[2], text)


if __name__ == "__main__":
    main(sys.argv)
