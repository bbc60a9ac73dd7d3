#ifndef OMEGAREFERENCE_H
#define OMEGAREFERENCE_H

// An evaluation of the intensity model that shares nothing with the engine but
// the physical constants, written out again here: no spherical harmonics and
// no spherical coordinates. By the addition theorem
//   sum_p conj(Y_tp(i)) Y_tp(j) = (2t+1)/(4 pi) P_t(cos gamma_ij),
// so with K_i the real factor of donor i in B(lambda, t, p),
//   (2lambda+1) sum_t 1/(2t+1) sum_p |sum_i K_i conj(Y_tp(i))|^2
//     = (2lambda+1) sum_t sum_ij K_i K_j P_t(cos gamma_ij) / (4 pi),
// with gamma_ij the angle between the Eu-donor vectors, taken from Cartesian
// positions, and P_t a Legendre polynomial.

#include "orvanerecords.h"

#include <QString>
#include <QVector>

#include <array>
#include <cmath>

namespace OmegaReference {

struct Donor {
    QString label;
    double x, y, z; // Angstrom, absolute (not relative to the Eu ion)
    double g;
    double alpha; // cm^3
};

// The engine's stored harmonics carry decimal constants that equal the exact
// normalisation sqrt((2t+1)/(4 pi) (t-p)!/(t+p)!) computed with pi rounded to
// 3.141592654, to within 7e-12 each; with the exact pi they are 6.5e-11 low,
// which would show as 1.3e-10 in Omega (omega_reference.py prints both).
// Their addition theorem therefore holds with this value of pi.
constexpr double harmonicTablePi = 3.141592654;

constexpr double a0 = 5.2917721092e-9;
constexpr double e = 4.803204505713468e-10;
constexpr double deltaE = -2.383392e-11;
constexpr double fourPiInK = 12.56637061436;

inline double radial(int k)
{
    const double a2 = a0 * a0;
    if (k == 2) return 0.9175 * a2;
    if (k == 4) return 2.02 * a2 * a2;
    if (k == 6) return 9.039 * a2 * a2 * a2;
    if (k == 8) return 110.03237 * a2 * a2 * a2 * a2;
    return 0.0;
}

inline double sigma(int k) { return k == 2 ? 0.6 : k == 4 ? 0.139 : 0.1; }
inline double reducedC(int k) { return k == 2 ? -1.366 : k == 4 ? 1.128 : -1.2774; }

inline double thetaFactor(int t, int lambda)
{
    if (lambda == 2) return t == 1 ? -0.17 : t == 3 ? 0.345 : 0.0;
    if (lambda == 4) return t == 3 ? 0.18 : t == 5 ? -0.24 : 0.0;
    if (lambda == 6) return t == 5 ? -0.24 : t == 7 ? 0.24 : 0.0;
    return 0.0;
}

inline double legendre(int t, double x)
{
    double previous = 1.0, current = x;
    if (t == 0)
        return previous;
    for (int n = 1; n < t; ++n) {
        const double next = ((2 * n + 1) * x * current - n * previous) / (n + 1);
        previous = current;
        current = next;
    }
    return current;
}

enum class Part { Total, ForcedDipole, DynamicCoupling };

struct Geometry {
    Coord eu;
    QVector<Donor> donors;

    double distance(int d) const
    {
        const Donor& a = donors.at(d);
        return std::sqrt((a.x - eu.x) * (a.x - eu.x) + (a.y - eu.y) * (a.y - eu.y) + (a.z - eu.z) * (a.z - eu.z));
    }

    double cosAngle(int i, int j) const
    {
        const Donor& a = donors.at(i);
        const Donor& b = donors.at(j);
        const double dot = (a.x - eu.x) * (b.x - eu.x) + (a.y - eu.y) * (b.y - eu.y) + (a.z - eu.z) * (b.z - eu.z);
        return dot / (distance(i) * distance(j));
    }

    double rMin() const
    {
        double r = 1e300;
        for (int d = 0; d < donors.size(); ++d)
            r = std::min(r, distance(d));
        return r;
    }

    // Simple overlap model: rho = 0.05 (Rmin/R)^3.5, beta by element.
    double rho(int d) const { return 0.05 * std::pow(rMin() / distance(d), 3.5); }
    double beta(int d) const
    {
        const QString& l = donors.at(d).label;
        if (l == QLatin1String("O") || l == QLatin1String("F"))
            return 1.0 / (1.0 + rho(d));
        if (l == QLatin1String("N") || l == QLatin1String("Cl"))
            return 1.0 / (1.0 - rho(d));
        return 0.0;
    }

    double K(int lambda, int t, int d, Part part = Part::Total) const
    {
        const Donor& a = donors.at(d);
        const double r = distance(d) * 1e-8;
        const double rt = std::pow(r, t + 1);
        const double forced = thetaFactor(t, lambda) * (2.0 / deltaE) * radial(t + 1) * e * e * rho(d)
            * std::pow(2.0 * beta(d), t + 1) * a.g / rt;
        double dynamic = 0.0;
        if (t == lambda + 1)
            dynamic = std::sqrt((lambda + 1.0) * (2.0 * lambda + 3.0) / (2.0 * lambda + 1.0)) * radial(lambda)
                * (1.0 - sigma(lambda)) * reducedC(lambda) * a.alpha / rt;
        const double ed = part == Part::DynamicCoupling ? 0.0 : forced;
        const double dc = part == Part::ForcedDipole ? 0.0 : dynamic;
        return std::sqrt(fourPiInK / (2 * t + 1)) * (ed - dc);
    }

    // Contribution of the donor pair (i, j) to Omega_lambda.
    double pairTerm(int lambda, int i, int j, Part part = Part::Total) const
    {
        double sum = 0.0;
        for (int t = lambda - 1; t <= lambda + 1; t += 2)
            sum += K(lambda, t, i, part) * K(lambda, t, j, part) * legendre(t, cosAngle(i, j));
        return (2 * lambda + 1) * sum / (4.0 * harmonicTablePi);
    }

    double omega(int lambda, Part part = Part::Total) const
    {
        double sum = 0.0;
        for (int i = 0; i < donors.size(); ++i)
            for (int j = 0; j < donors.size(); ++j)
                sum += pairTerm(lambda, i, j, part);
        return sum;
    }

    // The molecule as the engine sees it: Eu first, the donors, then `extra`.
    QVector<Coord> atoms(const QVector<Coord>& extra = {}) const
    {
        QVector<Coord> list {eu};
        for (const Donor& d : donors) {
            Coord c;
            c.label = d.label;
            c.x = d.x;
            c.y = d.y;
            c.z = d.z;
            list.append(c);
        }
        return list + extra;
    }

    // g and alpha by atom number (entries 0 and 1 unused), with room to spare.
    std::array<double, 32> chargeFactors() const
    {
        std::array<double, 32> v {};
        for (int d = 0; d < donors.size(); ++d)
            v[d + 2] = donors.at(d).g;
        return v;
    }
    std::array<double, 32> polarizabilities() const
    {
        std::array<double, 32> v {};
        for (int d = 0; d < donors.size(); ++d)
            v[d + 2] = donors.at(d).alpha;
        return v;
    }
};

inline Coord atom(const char* label, double x, double y, double z)
{
    Coord c;
    c.label = QString::fromLatin1(label);
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

// Nine donors of O, N, S and Cl around a Eu ion away from the origin, with no
// symmetry, and charge factors and polarizabilities that differ per donor.
inline Geometry asymmetricComplex()
{
    Geometry geometry;
    geometry.eu = atom("Eu", 0.37, -0.52, 0.81);
    const struct {
        const char* label;
        double x, y, z, g, alpha;
    } rows[] = {
        {"O", 1.30, -1.72, 0.95, 0.80, 1.2e-24},
        {"O", -2.05, 0.41, 1.33, 1.10, 3.4e-24},
        {"N", 0.22, 2.31, -0.98, 0.35, 0.8e-24},
        {"N", -0.87, -1.15, -2.11, 0.60, 2.2e-24},
        {"O", 2.28, 0.93, -0.61, 1.30, 0.5e-24},
        {"S", -1.31, -2.02, 1.44, 0.20, 5.1e-24},
        {"Cl", 0.65, -0.48, 2.71, 0.45, 4.0e-24},
        {"O", -1.77, 1.69, -0.37, 0.90, 1.7e-24},
        {"N", 1.48, 1.02, 1.96, 0.15, 2.9e-24},
    };
    for (const auto& r : rows)
        geometry.donors.append(Donor {QString::fromLatin1(r.label), geometry.eu.x + r.x, geometry.eu.y + r.y,
            geometry.eu.z + r.z, r.g, r.alpha});
    return geometry;
}

// Atoms after the donors that must not take part.
inline QVector<Coord> trailingAtoms()
{
    return {atom("H", 2.9, -1.1, 1.4), atom("C", -2.6, 2.9, 0.2)};
}

} // namespace OmegaReference

#endif
