#!/usr/bin/python3
"""Reference reactivity indices of every atom 2..N of eu_h2o8_allvec.out.

For atom i and the doubly occupied orbitals k (eigenvalue e_k, eV) with the
atom's valence functions mu (S for hydrogen; S, Px, Py, Pz otherwise):
    charge index       q_i = 2 sum_k sum_mu c_k,mu^2
    superdelocalizability S_i = 2 sum_k (sum_mu c_k,mu)^2 / e_k
computed here in double precision straight from the printed eigenvectors.
Run: /usr/bin/python3 tests/data/mopac/indices_reference.py
"""
import os
import re

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "eu_h2o8_allvec.out")
text = open(path).read()

occupied = int(re.search(r"DOUBLY OCCUPIED LEVELS\s*=\s*(\d+)", text).group(1))
first_table = re.search(r"CARTESIAN COORDINATES \n\n.*\n\n((?:\s+\d+\s+\w+(?:\s+-?\d+\.\d+){3}\n)+)", text)
labels = {int(m.group(1)): m.group(2) for m in re.finditer(r"^\s+(\d+)\s+(\w+)", first_table.group(1), re.M)}

# The keyword echo at the top names both markers too: start after the occupancy line.
start = text.index("EIGENVECTORS", text.index("DOUBLY OCCUPIED LEVELS"))
listing = text[start:text.index("SUPERDELOCALIZABILITIES", start)]
eigenvalues, coefficients = [], {}
for block in listing.split("Root No.")[1:]:
    lines = block.split("\n")
    values = [float(v) for v in lines[4].split()]
    base = len(eigenvalues)
    eigenvalues += values
    for line in lines[5:]:
        m = re.match(r"^\s+(S|Px|Py|Pz)\s+([A-Z][a-z]?)\s+(\d+)((?:\s+-?\d+\.\d+)+)\s*$", line)
        if m:
            for q, c in enumerate(m.group(4).split()):
                coefficients[(base + q, int(m.group(3)), m.group(1))] = float(c)

for atom in range(2, max(labels) + 1):
    functions = ["S"] if labels[atom] == "H" else ["S", "Px", "Py", "Pz"]
    q = 2 * sum(coefficients[(k, atom, f)] ** 2 for k in range(occupied) for f in functions)
    s = 2 * sum(sum(coefficients[(k, atom, f)] for f in functions) ** 2 / eigenvalues[k] for k in range(occupied))
    print(f"{atom:3d} {labels[atom]:2s} {q:.9f} {s:.9f}")
