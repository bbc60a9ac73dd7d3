#include "orvanenormalizepoints.h"

#include "orvaneinputdata.h"

#include "orvanereportfile.h"

#include <algorithm>
#include <cmath>

OrvaneNormalizePoints::OrvaneNormalizePoints(QObject* parent, const QString& outputFile, const int& program)
    : OrvaneAbstractObjCalculation(parent)
{
    if (program != Gaussian && program != Orca && program != Zindo) {
        lastError =
            QStringLiteral("Unknown absorption program %1 (0 Gaussian, 1 ORCA, 2 ZINDO) for the file: \n")
                .arg(program)
            + outputFile;
        return;
    }
    OrvaneInputData data(nullptr, outputFile);
    const bool read = program == Gaussian ? data.readAbsorptionDataGaussian()
        : program == Orca                 ? data.readAbsorptionDataOrca()
                                          : data.readAbsorptionDataZindo();
    if (!read) {
        lastError = data.getLastError();
        return;
    }
    const int n = std::min(data.energyVector.size(), data.oscForceVector.size());
    pointsNumber = n;
    wavelengths.assign(n + 2, 0.0);
    oscillatorStrengths.assign(n + 2, 0.0);
    for (int k = 1; k <= n; ++k) {
        const double energy = data.energyVector.at(k - 1);
        wavelengths[k] = energy != 0.0 ? 1.0e7 / energy : 0.0;
        oscillatorStrengths[k] = data.oscForceVector.at(k - 1);
    }
}

OrvaneNormalizePoints::~OrvaneNormalizePoints() = default;

bool OrvaneNormalizePoints::setParametersNormalization(const double& bandWidth, const double& initialWavelength,
                                                       const double& finalWavelength)
{
    lastError = parametersReason(bandWidth, initialWavelength, finalWavelength);
    if (!lastError.isEmpty())
        return false;
    this->bandWidth = bandWidth;
    this->initialWavelength = initialWavelength;
    this->finalWavelength = finalWavelength;
    return true;
}

QString OrvaneNormalizePoints::parametersReason(double bandWidth, double initialWavelength, double finalWavelength)
{
    const QString values = QStringLiteral(" (band width %1 nm, window %2 to %3 nm).")
                               .arg(bandWidth)
                               .arg(initialWavelength)
                               .arg(finalWavelength);
    if (!(std::isfinite(bandWidth) && bandWidth > 0.0))
        return QStringLiteral("The band width must be a positive number of nm") + values;
    if (!(std::isfinite(initialWavelength) && std::isfinite(finalWavelength) && initialWavelength > 0.0
          && finalWavelength > 0.0))
        return QStringLiteral("The wavelength window must lie between two positive numbers of nm") + values;
    // Every grid point needs a finite position and a finite band width in
    // wavenumbers: a band as wide as twice a point's wavelength has none.
    const double first = 1.0e7 / initialWavelength;
    const double second = 1.0e7 / finalWavelength;
    const double lo = std::min(first, second);
    const double hi = std::max(first, second);
    const double step = (hi - lo) / (gridPoints - 1);
    for (int i = 1; i <= gridPoints; ++i) {
        const double c = lo + (i - 1) * step;
        const double a = 1.0e7 / c - bandWidth / 2.0;
        const double b = 1.0e7 / c + bandWidth / 2.0;
        const double d = std::fabs((a - b) * 1.0e7 / (a * b));
        if (!std::isfinite(c) || !std::isfinite(1.0e7 / c) || !std::isfinite(d) || !(d > 0.0))
            return QStringLiteral("The band width and the wavelength window give spectrum points that are not "
                                  "finite numbers")
                + values;
    }
    return QString();
}

bool OrvaneNormalizePoints::spectrum()
{
    lastError = parametersReason(bandWidth, initialWavelength, finalWavelength);
    if (!lastError.isEmpty()) {
        axisX.clear();
        axisY.clear();
        return false;
    }
    // Work on copies: the members keep their nm values, so every call gives
    // the same spectrum for the same parameters.
    const int n = pointsNumber;
    std::vector<double> lambda(wavelengths);
    std::vector<double> strength(oscillatorStrengths);
    lambda.resize(n + 2, 0.0);
    strength.resize(n + 2, 0.0);
    hpsort(n, lambda.data(), strength.data(), nullptr, false); // fixes the order of the sums

    // Band positions in cm-1 and the weights strength/position, one division
    // per line; a line of wavelength 0 lies at infinite wavenumber and adds
    // nothing, so it is left out.
    std::vector<double> position;
    std::vector<double> weight;
    std::vector<double> lineStrength;
    position.reserve(std::size_t(n));
    weight.reserve(std::size_t(n));
    lineStrength.reserve(std::size_t(n));
    double farthest = 0.0;
    for (int k = 1; k <= n; ++k) {
        if (lambda[k] == 0.0)
            continue;
        const double g = 1.0e7 / lambda[k];
        position.push_back(g);
        weight.push_back(strength[k] / g);
        lineStrength.push_back(strength[k]);
        farthest = std::max(farthest, std::fabs(g));
    }
    const std::size_t lines = position.size();

    const double first = 1.0e7 / initialWavelength;
    const double second = 1.0e7 / finalWavelength;
    const double lo = std::min(first, second);
    const double hi = std::max(first, second);
    const double step = (hi - lo) / (gridPoints - 1);

    // The pair of Lorentzians over one common denominator needs one division
    // per line and point instead of three; its product of two squares stays
    // finite and above the smallest doubles while positions and widths lie
    // between 1e-60 and 1e60 cm-1; outside, the three quotients are kept.
    const bool oneDivision = farthest < 1e60 && std::max(std::fabs(lo), std::fabs(hi)) < 1e60;
    std::vector<double> intensity(gridPoints + 1, 0.0); // 1-based grid
    for (int i = 1; i <= gridPoints; ++i) {
        const double c = lo + (i - 1) * step;
        // The width bandWidth (nm) centred at the point's own wavelength, in cm-1.
        const double a = 1.0e7 / c - bandWidth / 2.0;
        const double b = 1.0e7 / c + bandWidth / 2.0;
        const double d = std::fabs((a - b) * 1.0e7 / (a * b));
        const double d2 = d * d;
        const double cd = c * d;
        double sum = 0.0;
        if (oneDivision && d < 1e60 && d > 1e-60) {
            for (std::size_t k = 0; k < lines; ++k) {
                const double g = position[k];
                // A Lorentzian of FWHM d at g plus its mirror at -g, weighted by c/g.
                const double mirror = 4.0 * (c + g) * (c + g) + d2;
                const double direct = 4.0 * (g - c) * (g - c) + d2;
                sum += cd * weight[k] * (mirror + direct) / (mirror * direct);
            }
        } else {
            for (std::size_t k = 0; k < lines; ++k) {
                const double g = position[k];
                sum += (c / g) * lineStrength[k]
                    * (d / (4.0 * (c + g) * (c + g) + d2) + d / (4.0 * (g - c) * (g - c) + d2));
            }
        }
        intensity[i] = sum;
    }

    double largest = intensity[1];
    for (int i = 2; i <= gridPoints; ++i)
        if (intensity[i] > largest)
            largest = intensity[i];
    if (largest != 0.0) // no line at all: the spectrum stays flat at 0
        for (int i = 1; i <= gridPoints; ++i)
            intensity[i] /= largest;

    for (int i = 1; i <= gridPoints; ++i) {
        if (!std::isfinite(intensity[i])) {
            lastError = QStringLiteral("The absorption lines give spectrum intensities that are not finite numbers.");
            axisX.clear();
            axisY.clear();
            return false;
        }
    }

    // Ascending wavelength: from the shorter bound to the longer one.
    axisX.resize(gridPoints);
    axisY.resize(gridPoints);
    for (int j = 1; j <= gridPoints; ++j) {
        axisX[j - 1] = 1.0e7 / (hi - (j - 1) * step);
        axisY[j - 1] = intensity[gridPoints + 1 - j];
    }
    return true;
}

bool OrvaneNormalizePoints::createEspFile(const QString& file)
{
    if (!spectrum())
        return false;
    QString text;
    text.reserve(axisX.size() * 32);
    for (int j = 0; j < axisX.size(); ++j)
        text += QString::number(axisX.at(j), 'f', 2).leftJustified(20, QLatin1Char(' '))
            + QString::number(axisY.at(j), 'f', 4) + QLatin1Char('\n');
    QString reason;
    if (!OrvaneReportFile::write(file, text, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}

void OrvaneNormalizePoints::hpsort(int n, double* ra, double* rb, double* rc, bool carryThird)
{
    if (n < 2)
        return;
    int l = (n >> 1) + 1;
    int ir = n;
    for (;;) {
        double rra, rrb, rrc = 0.0;
        if (l > 1) {
            --l;
            rra = ra[l];
            rrb = rb[l];
            if (carryThird)
                rrc = rc[l];
        } else {
            rra = ra[ir];
            rrb = rb[ir];
            if (carryThird)
                rrc = rc[ir];
            ra[ir] = ra[1];
            rb[ir] = rb[1];
            if (carryThird)
                rc[ir] = rc[1];
            if (--ir == 1) {
                ra[1] = rra;
                rb[1] = rrb;
                if (carryThird)
                    rc[1] = rrc;
                break;
            }
        }
        int i = l;
        int j = l + l;
        while (j <= ir) {
            if (j < ir && ra[j] < ra[j + 1])
                ++j;
            if (rra < ra[j]) {
                ra[i] = ra[j];
                rb[i] = rb[j];
                if (carryThird)
                    rc[i] = rc[j];
                i = j;
                j <<= 1;
            } else {
                break;
            }
        }
        ra[i] = rra;
        rb[i] = rrb;
        if (carryThird)
            rc[i] = rrc;
    }
}
