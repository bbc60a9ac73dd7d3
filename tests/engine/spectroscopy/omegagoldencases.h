#pragma once

// Geometries and trial points on which the intensity parameters of the kept
// geometry terms (OrvaneOmega::calcOmega) are compared with the figures the
// evaluation gave before its donor sums were reordered for the compiler
// (tests/data/omega/calcomega_golden.txt, C99 hex floats, so equality is
// bitwise). The numbers come from a fixed linear congruential generator, so
// every platform builds the same cases.

#include "orvaneinputdata.h"

#include <QVector>

#include <array>
#include <cmath>
#include <cstdint>

namespace OmegaGoldenCases {

class Lcg
{
public:
    explicit Lcg(std::uint64_t seed)
        : state(seed)
    {
    }
    // Uniform in [0, 1).
    double next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    std::uint64_t state;
};

constexpr int donorCounts[] = {1, 2, 3, 5, 8, 9, 12, 17, 23, 28};
constexpr int trialsPerCase = 4;

// Eu at the origin and n donors of mixed elements at 2.2-3.0 Angstrom in
// random directions.
inline QVector<Coord> geometry(int n, Lcg& random)
{
    static const char* labels[] = {"O", "N", "O", "Cl", "F", "N", "S", "O"};
    QVector<Coord> atoms;
    Coord eu;
    eu.label = QStringLiteral("Eu");
    atoms.append(eu);
    for (int i = 0; i < n; ++i) {
        const double z = 2.0 * random.next() - 1.0;
        const double phi = 6.283185307179586 * random.next();
        const double r = 2.2 + 0.8 * random.next();
        const double s = std::sqrt(1.0 - z * z);
        Coord c;
        c.label = QString::fromLatin1(labels[i % 8]);
        c.x = r * s * std::cos(phi);
        c.y = r * s * std::sin(phi);
        c.z = r * z;
        atoms.append(c);
    }
    return atoms;
}

// A trial point of a fit: new charge factors and polarizabilities.
inline void trialPoint(int n, Lcg& random, std::array<double, 32>& g, std::array<double, 32>& alpha)
{
    for (int i = 2; i <= n + 1; ++i) {
        g[std::size_t(i)] = 0.05 + 1.5 * random.next();
        alpha[std::size_t(i)] = (0.5 + 4.0 * random.next()) * 1e-24;
    }
}

} // namespace OmegaGoldenCases
