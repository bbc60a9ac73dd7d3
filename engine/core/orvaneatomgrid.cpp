#include "orvaneatomgrid.h"

#include <algorithm>
#include <cmath>

namespace {

bool finite3(double a, double b, double c)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

// Cells per axis for a given side, in double so that nothing overflows.
double cellsFor(const double extent[3], double side)
{
    double total = 1.0;
    for (int a = 0; a < 3; ++a)
        total *= std::floor(extent[a] / side) + 1.0;
    return total;
}

} // namespace

bool OrvaneAtomGrid::build(const double* xs, const double* ys, const double* zs, int count)
{
    x = xs;
    y = ys;
    z = zs;
    head.clear();
    next.assign(std::size_t(std::max(count, 0)) + 1, 0);
    double low[3] = {0.0, 0.0, 0.0}, high[3] = {0.0, 0.0, 0.0};
    int finite = 0;
    for (int i = 1; i <= count; ++i) {
        if (!finite3(x[i], y[i], z[i]))
            continue;
        const double p[3] = {x[i], y[i], z[i]};
        for (int a = 0; a < 3; ++a) {
            if (finite == 0 || p[a] < low[a])
                low[a] = p[a];
            if (finite == 0 || p[a] > high[a])
                high[a] = p[a];
        }
        ++finite;
    }
    double extent[3];
    double largestCoordinate = 0.0, largestExtent = 0.0;
    for (int a = 0; a < 3; ++a) {
        extent[a] = high[a] - low[a];
        if (!std::isfinite(extent[a]))
            return false;
        largestExtent = std::max(largestExtent, extent[a]);
        largestCoordinate = std::max({largestCoordinate, std::fabs(low[a]), std::fabs(high[a])});
        origin[a] = low[a];
    }
    // About one atom per cell: the side from the box's volume, with flat or
    // straight boxes given the thickness of one cell; then widened until the
    // cells number at most twice the atoms.
    const double n = std::max(finite, 1);
    double side = largestExtent / std::cbrt(n);
    if (side > 0.0) {
        const double volume = std::max(extent[0], side) * std::max(extent[1], side) * std::max(extent[2], side);
        side = std::max(std::cbrt(volume / n), largestExtent * 1e-6);
        while (cellsFor(extent, side) > 2.0 * n + 8.0)
            side *= 1.25;
    } else {
        side = 1.0; // every atom in one place: one cell
    }
    // A cell must be far wider than the rounding of a coordinate, or an atom
    // near a cell wall could land one cell off and be missed.
    if (!(side > largestCoordinate * 1e-9) || !std::isfinite(side))
        return false;
    this->side = side;
    for (int a = 0; a < 3; ++a)
        dims[a] = int(std::floor(extent[a] / side)) + 1;
    head.assign(std::size_t(dims[0]) * std::size_t(dims[1]) * std::size_t(dims[2]), 0);
    return true;
}

bool OrvaneAtomGrid::cellOf(int atom, int& cx, int& cy, int& cz) const
{
    if (!finite3(x[atom], y[atom], z[atom]))
        return false;
    const double p[3] = {x[atom], y[atom], z[atom]};
    int c[3];
    for (int a = 0; a < 3; ++a)
        c[a] = std::clamp(int(std::floor((p[a] - origin[a]) / side)), 0, dims[a] - 1);
    cx = c[0];
    cy = c[1];
    cz = c[2];
    return true;
}

double OrvaneAtomGrid::squaredDistance(int a, int b) const
{
    // The order of the full scan: x, then y, then z.
    double r = 0.0;
    double d = x[a] - x[b];
    r += d * d;
    d = y[a] - y[b];
    r += d * d;
    d = z[a] - z[b];
    r += d * d;
    return r;
}

void OrvaneAtomGrid::insert(int atom)
{
    int cx, cy, cz;
    if (!cellOf(atom, cx, cy, cz))
        return;
    const std::size_t cell = (std::size_t(cz) * std::size_t(dims[1]) + std::size_t(cy)) * std::size_t(dims[0])
        + std::size_t(cx);
    next[std::size_t(atom)] = head[cell];
    head[cell] = atom;
}

int OrvaneAtomGrid::nearest(int atom, double limit) const
{
    int cx, cy, cz;
    if (!cellOf(atom, cx, cy, cz))
        return 0;
    double best = limit;
    int bestAtom = 0;
    auto visitCell = [&](int i, int j, int k) {
        const std::size_t cell =
            (std::size_t(k) * std::size_t(dims[1]) + std::size_t(j)) * std::size_t(dims[0]) + std::size_t(i);
        for (int m = head[cell]; m != 0; m = next[std::size_t(m)]) {
            const double r = squaredDistance(atom, m);
            if (r < best || (r == best && bestAtom != 0 && m < bestAtom)) {
                best = r;
                bestAtom = m;
            }
        }
    };
    const int widest = std::max({dims[0], dims[1], dims[2]});
    for (int s = 0; s <= widest; ++s) {
        // Shell s: the cells at Chebyshev distance s from the atom's cell.
        for (int k = cz - s; k <= cz + s; ++k) {
            if (k < 0 || k >= dims[2])
                continue;
            for (int j = cy - s; j <= cy + s; ++j) {
                if (j < 0 || j >= dims[1])
                    continue;
                const bool face = std::abs(k - cz) == s || std::abs(j - cy) == s;
                const int step = face || s == 0 ? 1 : 2 * s;
                for (int i = cx - s; i <= cx + s; i += step) {
                    if (i >= 0 && i < dims[0])
                        visitCell(i, j, k);
                }
            }
        }
        // Atoms of the shells not yet seen lie at least s sides away; the
        // margin covers the rounding of the cell assignment.
        const double bound = (double(s) - 0.001) * side;
        if (bestAtom != 0 && s >= 1 && best < bound * bound)
            break;
    }
    return bestAtom;
}

void OrvaneAtomGrid::around(int atom, double radius, std::vector<int>& out) const
{
    int cx, cy, cz;
    if (!cellOf(atom, cx, cy, cz))
        return;
    // One cell more than the radius covers, for the rounding of the cells.
    const double reach = std::min(std::ceil(radius / side) + 1.0, double(std::max({dims[0], dims[1], dims[2]})));
    const int w = int(reach);
    for (int k = std::max(cz - w, 0); k <= std::min(cz + w, dims[2] - 1); ++k)
        for (int j = std::max(cy - w, 0); j <= std::min(cy + w, dims[1] - 1); ++j)
            for (int i = std::max(cx - w, 0); i <= std::min(cx + w, dims[0] - 1); ++i) {
                const std::size_t cell =
                    (std::size_t(k) * std::size_t(dims[1]) + std::size_t(j)) * std::size_t(dims[0]) + std::size_t(i);
                for (int m = head[cell]; m != 0; m = next[std::size_t(m)])
                    out.push_back(m);
            }
}
