#ifndef ORVANEFITBOUNDS_H
#define ORVANEFITBOUNDS_H

#include <QLatin1String>
#include <QString>

// Admissible charge factors g and polarizabilities alpha of a donor atom in
// the intensity-parameter fits, by element label (exact match). Bounds are
// inclusive. Polarizabilities are compared in units of 1e-24 cm^3, the units
// the fits work in, so that a value typed as 0.005 is on its bound and not a
// rounding error below it.
namespace OrvaneFitBounds {

struct Bounds {
    double gLower = 0.0;
    double gUpper = 0.0;
    double alphaLower = 0.0; // 1e-24 cm^3
    double alphaUpper = 0.0; // 1e-24 cm^3
};

// Fit of one g and one alpha per group of equivalent donors. A donor of
// another element gets the widest g range of the listed ones: there is no
// chemistry to pick a narrower one, and a range that depended on the donor
// listed before it would change with the numbering.
inline Bounds groupFit(const QString& label)
{
    Bounds b {0.001, 3.0, 0.005, 6.5};
    if (label == QLatin1String("O") || label == QLatin1String("S"))
        b.gLower = 0.01, b.gUpper = 2.0;
    else if (label == QLatin1String("F") || label == QLatin1String("Cl") || label == QLatin1String("Br")
        || label == QLatin1String("I"))
        b.gLower = 0.001, b.gUpper = 1.0;
    else if (label == QLatin1String("N") || label == QLatin1String("P"))
        b.gLower = 0.01, b.gUpper = 3.0;
    return b;
}

// Fit of Q, D and C (QDC model); other elements as above, from 0.01 to 3.
inline Bounds qdcFit(const QString& label)
{
    Bounds b {0.01, 3.0, 0.005, 15.0};
    if (label == QLatin1String("F") || label == QLatin1String("Cl"))
        b.gUpper = 1.0;
    else if (label == QLatin1String("O") || label == QLatin1String("S"))
        b.gUpper = 2.0;
    else if (label == QLatin1String("N") || label == QLatin1String("P"))
        b.gUpper = 3.0;
    return b;
}

// alphaUnits in 1e-24 cm^3. A NaN fails every comparison and so fails here.
inline bool within(const Bounds& b, const double& g, const double& alphaUnits)
{
    return g >= b.gLower && g <= b.gUpper && alphaUnits >= b.alphaLower && alphaUnits <= b.alphaUpper;
}

} // namespace OrvaneFitBounds

#endif
