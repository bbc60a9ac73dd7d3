#ifndef ORVANECHROMATICITY_H
#define ORVANECHROMATICITY_H

#include "orvaneengine_export.h"

#include <QString>
#include <QVector>

// The CIE 1931 chromaticity (x, y) of an emission spectrum. The CIE 1931
// 2-degree colour-matching functions are those tabulated every 5 nm from 360
// to 830 nm (built into the engine from the table the chromaticity diagram is
// drawn from), interpolated linearly at the spectrum's wavelengths and 0
// outside the table. X, Y and Z are the trapezoid integrals over the spectrum
// of each function times the intensity; x = X / (X + Y + Z) and
// y = Y / (X + Y + Z). Wavelengths in nm, rising or falling.
//
// Intensities below zero count as 0, and the note says so: a measured
// spectrum whose baseline was subtracted a little too far would otherwise
// weigh the functions negatively and put (x, y) far outside the spectral
// locus (x = 1.36 for an Eu(III) spectrum over 400-750 nm whose baseline
// lies 3 % of its peak below zero). Such values are noise about an empty
// baseline, which emits nothing; refusing the spectrum would refuse most
// instrument exports. With every weight at or above zero, (x, y) lies within
// the locus.
class ORVANEENGINE_EXPORT OrvaneChromaticity
{
public:
    static constexpr double firstWavelength = 360.0;
    static constexpr double lastWavelength = 830.0;
    // The decimals x and y are good to: between the 5 nm rows the linear
    // interpolation moves the chromaticity of narrow Eu(III) lines by up to
    // 7e-4 from a smooth interpolation of the same table (5e-4 for a whole
    // Eu(III) spectrum), so a fourth decimal would not be significant.
    static constexpr int decimals = 3;

    struct Tristimulus
    {
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
    };
    // x-bar, y-bar and z-bar at a wavelength (nm).
    static Tristimulus colorMatching(const double& wavelength);

    // False, with the reason in getLastError(), when the spectrum has no
    // chromaticity: fewer than two points, or no emission between 360 and
    // 830 nm. x and y are then 0.
    bool calculate(const QVector<double>& wavelengths, const QVector<double>& intensities);

    double getX() const { return x; }
    double getY() const { return y; }
    // Intensities of the last spectrum that were below zero and counted as 0.
    int getNegativeCount() const { return negativeCount; }
    // What the result rests on beyond the spectrum as given (intensities
    // below zero counted as 0); empty when nothing.
    QString getNote() const { return note; }
    QString getLastError() const { return lastError; }

private:
    bool fail(const QString& reason);

    double x = 0.0;
    double y = 0.0;
    int negativeCount = 0;
    QString note;
    QString lastError;
};

#endif
