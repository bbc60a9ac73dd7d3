#ifndef ORVANEATOMGRID_H
#define ORVANEATOMGRID_H

#include "orvaneengine_export.h"

#include <vector>

// A uniform grid of cells over a set of atoms, for the Z-matrix writer's
// searches among earlier atoms: the nearest one, and those within a radius.
// Coordinates are read from three arrays addressed from 1 (atom i at x[i]);
// atoms enter in any order through insert(), and a query sees only the atoms
// inserted so far. Atoms with a non-finite coordinate are never inserted
// (they are nobody's nearest atom in a scan either). Squared distances are
// summed x, y, z as the full scan sums them, so both find the same atoms,
// ties (equal distances) going to the lowest index.
class ORVANEENGINE_EXPORT OrvaneAtomGrid
{
public:
    // False when the atoms give no usable grid (extents that are not finite,
    // or cells so small beside the coordinates that rounding could misplace
    // an atom): the caller then scans every atom.
    bool build(const double* x, const double* y, const double* z, int count);
    void insert(int atom);
    // The inserted atom of least squared distance to `atom` below `limit`
    // (lowest index among equals); 0 when none.
    int nearest(int atom, double limit) const;
    // Every inserted atom whose cell lies within `radius` of `atom`'s cell
    // (a superset of the atoms within `radius`), appended to `out` in no
    // particular order; nothing for an atom with a non-finite coordinate.
    void around(int atom, double radius, std::vector<int>& out) const;

private:
    bool cellOf(int atom, int& cx, int& cy, int& cz) const;
    double squaredDistance(int a, int b) const;

    const double* x = nullptr;
    const double* y = nullptr;
    const double* z = nullptr;
    double origin[3] = {0.0, 0.0, 0.0};
    double side = 1.0;
    int dims[3] = {1, 1, 1};
    std::vector<int> head; // first atom of each cell, 0 when empty
    std::vector<int> next; // next atom of the same cell, 0 at the end
};

#endif
