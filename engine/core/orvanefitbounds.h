#ifndef ORVANEFITBOUNDS_H
#define ORVANEFITBOUNDS_H

#include <QLatin1String>
#include <QString>

// Admissible charge factors g and polarizabilities alpha of a donor atom in
// the intensity-parameter fits, by element label (exact match). Bounds are
// inclusive. Polarizabilities are compared in units of 1e-24 cm^3, the units
// the fits work in, so that a value typed as 0.005 is on its bound and not a
// rounding error below it.
//
// A donor of an element without bounds of its own keeps the bounds of the
// donor before it, as the QDC parameter test of the molecule record does; a
// first donor of such an element gets the widest range of its fit.
namespace OrvaneFitBounds {

struct Bounds {
    double gLower = 0.0;
    double gUpper = 0.0;
    double alphaLower = 0.0; // 1e-24 cm^3
    double alphaUpper = 0.0; // 1e-24 cm^3
};

// Fit of one g and one alpha per group of equivalent donors. `previous` is
// the bounds of the donor before, null for the first donor.
inline Bounds groupFit(const QString& label, const Bounds* previous = nullptr)
{
    if (label == QLatin1String("O") || label == QLatin1String("S"))
        return Bounds {0.01, 2.0, 0.005, 6.5};
    if (label == QLatin1String("F") || label == QLatin1String("Cl") || label == QLatin1String("Br")
        || label == QLatin1String("I"))
        return Bounds {0.001, 1.0, 0.005, 6.5};
    if (label == QLatin1String("N") || label == QLatin1String("P"))
        return Bounds {0.01, 3.0, 0.005, 6.5};
    return previous ? *previous : Bounds {0.001, 3.0, 0.005, 6.5};
}

// Fit of Q, D and C (QDC model).
inline Bounds qdcFit(const QString& label, const Bounds* previous = nullptr)
{
    if (label == QLatin1String("F") || label == QLatin1String("Cl"))
        return Bounds {0.01, 1.0, 0.005, 15.0};
    if (label == QLatin1String("O") || label == QLatin1String("S"))
        return Bounds {0.01, 2.0, 0.005, 15.0};
    if (label == QLatin1String("N") || label == QLatin1String("P"))
        return Bounds {0.01, 3.0, 0.005, 15.0};
    return previous ? *previous : Bounds {0.01, 3.0, 0.005, 15.0};
}

// alphaUnits in 1e-24 cm^3. A NaN fails every comparison and so fails here.
inline bool within(const Bounds& b, const double& g, const double& alphaUnits)
{
    return g >= b.gLower && g <= b.gUpper && alphaUnits >= b.alphaLower && alphaUnits <= b.alphaUpper;
}

} // namespace OrvaneFitBounds

#endif
