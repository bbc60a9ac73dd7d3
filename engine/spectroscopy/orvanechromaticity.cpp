#include "orvanechromaticity.h"

#include <algorithm>
#include <cmath>

namespace {

#include "orvanecie1931table.inc"

static_assert(cmfFirstWavelength == OrvaneChromaticity::firstWavelength
                  && cmfFirstWavelength + cmfStep * (cmfRows - 1) == OrvaneChromaticity::lastWavelength,
              "the colour-matching table covers 360 to 830 nm");

} // namespace

OrvaneChromaticity::Tristimulus OrvaneChromaticity::colorMatching(const double& wavelength)
{
    Tristimulus value;
    // Outside the table (a NaN included) the functions are 0.
    if (!(wavelength >= firstWavelength && wavelength <= lastWavelength))
        return value;
    const double position = (wavelength - cmfFirstWavelength) / cmfStep;
    const int row = std::min(int(position), cmfRows - 2);
    const double t = position - row;
    auto at = [&](const double* column) { return column[row] + t * (column[row + 1] - column[row]); };
    value.x = at(cmfX);
    value.y = at(cmfY);
    value.z = at(cmfZ);
    return value;
}

bool OrvaneChromaticity::calculate(const QVector<double>& wavelengths, const QVector<double>& intensities)
{
    x = 0.0;
    y = 0.0;
    negativeCount = 0;
    note.clear();
    lastError.clear();
    const int n = std::min(wavelengths.size(), intensities.size());
    if (n < 2)
        return fail(QStringLiteral("The spectrum has %1 point%2: its chromaticity needs at least two.")
                        .arg(n)
                        .arg(n == 1 ? QString() : QStringLiteral("s")));
    double sumX = 0.0;
    double sumY = 0.0;
    double sumZ = 0.0;
    bool inTable = false;
    double lowest = 0.0;
    for (int i = 0; i < n; ++i) {
        if (intensities.at(i) < 0.0) {
            ++negativeCount;
            lowest = std::min(lowest, intensities.at(i));
        }
    }
    // Below zero counts as 0 (see the class comment); NaN stays NaN and is refused below.
    auto emitted = [&](int i) { return intensities.at(i) < 0.0 ? 0.0 : intensities.at(i); };
    Tristimulus previous = colorMatching(wavelengths.at(0));
    for (int i = 0; i + 1 < n; ++i) {
        const Tristimulus next = colorMatching(wavelengths.at(i + 1));
        const double a = emitted(i);
        const double b = emitted(i + 1);
        // Every interval weighs positively, whichever way it runs, so that
        // wavelengths going back and forth cannot leave the locus either;
        // rising and falling spectra are unchanged by it.
        const double half = 0.5 * std::fabs(wavelengths.at(i + 1) - wavelengths.at(i));
        sumX += half * (previous.x * a + next.x * b);
        sumY += half * (previous.y * a + next.y * b);
        sumZ += half * (previous.z * a + next.z * b);
        // An interval that reaches into the table, whichever way it runs.
        inTable = inTable
            || (std::max(wavelengths.at(i), wavelengths.at(i + 1)) > firstWavelength
                && std::min(wavelengths.at(i), wavelengths.at(i + 1)) < lastWavelength);
        previous = next;
    }
    if (!inTable)
        return fail(QStringLiteral("The spectrum has no chromaticity: it lies outside 360-830 nm, where the CIE "
                                   "1931 colour-matching functions are tabulated."));
    const double sum = sumX + sumY + sumZ;
    const double cx = sumX / sum;
    const double cy = sumY / sum;
    if (sum == 0.0 || !std::isfinite(cx) || !std::isfinite(cy))
        return fail(negativeCount > 0
                        ? QStringLiteral("The spectrum has no chromaticity: its intensities are zero or below zero "
                                         "over its wavelengths.")
                        : QStringLiteral("The spectrum has no chromaticity: its intensities are zero (or cancel out) "
                                         "over its wavelengths."));
    x = cx;
    y = cy;
    if (negativeCount > 0)
        note = QStringLiteral("%1 of %2 intensities lay below zero (down to %3) and were counted as 0.")
                   .arg(negativeCount)
                   .arg(n)
                   .arg(QString::number(lowest, 'g', 3));
    return true;
}

bool OrvaneChromaticity::fail(const QString& reason)
{
    lastError = reason;
    return false;
}
