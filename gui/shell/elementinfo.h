#ifndef ELEMENTINFO_H
#define ELEMENTINFO_H

// The drawing program's own element data: the bond search of the molecule
// model and the sphere sizes and colours of the molecule viewer. Kept apart
// from the engine's tables, whose symbols, masses and rows serve the physics.
struct ElementInfo {
    // Two characters; a one-letter symbol is followed by a blank ("H ", "C "),
    // row 0 (a label that names no element) holds two blanks.
    char symbol[3];
    double covalentRadius; // Angstrom
    int vdwRadius;         // 1/250 Angstrom
    int colorIndex;        // row of GLMolecule::atomColors, 0 to 15
};

constexpr int elementTableSize = 104;

// Indexed by atomic number, 0 to 103.
extern const ElementInfo elementTable[elementTableSize];

// The row of an atomic number; row 0 for a number outside the table, so that a
// model whose public atoms were written carelessly still draws.
const ElementInfo& elementInfo(int atomicNumber);

#endif
