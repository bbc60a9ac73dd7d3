#include "orvanenormalizepoints.h"

#include "orvaneinputdata.h"

#include <QFile>
#include <QTextStream>
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
    this->bandWidth = bandWidth;
    this->initialWavelength = initialWavelength;
    this->finalWavelength = finalWavelength;
    const QString problem = parameterProblem();
    if (!problem.isEmpty())
        lastError = problem;
    return problem.isEmpty();
}

QString OrvaneNormalizePoints::parameterProblem() const
{
    const auto usable = [](double value) { return std::isfinite(value) && value > 0.0; };
    if (!usable(bandWidth))
        return QStringLiteral("The half-height band width must be a number above 0 nm (it is %1).")
            .arg(bandWidth);
    if (!usable(initialWavelength) || !usable(finalWavelength))
        return QStringLiteral("The wavelength bounds must be numbers above 0 nm (they are %1 and %2).")
            .arg(initialWavelength)
            .arg(finalWavelength);
    return QString();
}

void OrvaneNormalizePoints::spectrum()
{
    // The public members may have been written directly: look at them here too.
    const QString problem = parameterProblem();
    if (!problem.isEmpty()) {
        lastError = problem;
        axisX.clear();
        axisY.clear();
        return;
    }

    // Work on copies: the members keep their nm values, so every call gives
    // the same spectrum for the same parameters.
    const int n = pointsNumber;
    std::vector<double> lambda(wavelengths);
    std::vector<double> strength(oscillatorStrengths);
    lambda.resize(n + 2, 0.0);
    strength.resize(n + 2, 0.0);
    hpsort(n, lambda.data(), strength.data(), nullptr, false); // fixes the order of the sums

    // Band positions in cm-1; a line of wavelength 0 lies at infinite
    // wavenumber and adds nothing.
    std::vector<double> position(n + 2, 0.0);
    for (int k = 1; k <= n; ++k)
        position[k] = lambda[k] != 0.0 ? 1.0e7 / lambda[k] : 0.0;

    const double first = 1.0e7 / initialWavelength;
    const double second = 1.0e7 / finalWavelength;
    const double lo = std::min(first, second);
    const double hi = std::max(first, second);
    const double step = (hi - lo) / (gridPoints - 1);

    std::vector<double> intensity(gridPoints + 1, 0.0); // 1-based grid
    for (int i = 1; i <= gridPoints; ++i) {
        const double c = lo + (i - 1) * step;
        // The width bandWidth (nm) centred at the point's own wavelength, in cm-1.
        const double a = 1.0e7 / c - bandWidth / 2.0;
        const double b = 1.0e7 / c + bandWidth / 2.0;
        const double d = std::fabs((a - b) * 1.0e7 / (a * b));
        const double d2 = d * d;
        double sum = 0.0;
        for (int k = 1; k <= n; ++k) {
            if (lambda[k] == 0.0)
                continue;
            const double g = position[k];
            // A Lorentzian of FWHM d at g plus its mirror at -g, weighted by c/g.
            sum += (c / g) * strength[k]
                * (d / (4.0 * (c + g) * (c + g) + d2) + d / (4.0 * (g - c) * (g - c) + d2));
        }
        intensity[i] = sum;
    }

    // A window bound at half the band width puts an edge of a point's band at
    // 0 nm: its width in cm-1 is infinite and the sums are not numbers.
    for (int i = 1; i <= gridPoints; ++i) {
        if (!std::isfinite(intensity[i])) {
            lastError = QStringLiteral("The band width of %1 nm and the window from %2 to %3 nm give intensities "
                                       "that are not finite numbers; choose bounds further from half the band "
                                       "width.")
                            .arg(bandWidth)
                            .arg(initialWavelength)
                            .arg(finalWavelength);
            axisX.clear();
            axisY.clear();
            return;
        }
    }

    double largest = intensity[1];
    for (int i = 2; i <= gridPoints; ++i)
        if (intensity[i] > largest)
            largest = intensity[i];
    if (largest != 0.0) // no line at all: the spectrum stays flat at 0
        for (int i = 1; i <= gridPoints; ++i)
            intensity[i] /= largest;

    // Ascending wavelength: from the shorter bound to the longer one.
    axisX.resize(gridPoints);
    axisY.resize(gridPoints);
    for (int j = 1; j <= gridPoints; ++j) {
        axisX[j - 1] = 1.0e7 / (hi - (j - 1) * step);
        axisY[j - 1] = intensity[gridPoints + 1 - j];
    }
}

void OrvaneNormalizePoints::createEspFile(const QString& file)
{
    spectrum();
    if (axisY.isEmpty())
        return; // refused parameters, told in the last error: the file is left as it was
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        lastError = file + QStringLiteral(" could not be written: ") + out.errorString();
        return;
    }
    QTextStream stream(&out);
    for (int j = 0; j < axisX.size(); ++j)
        stream << QString::number(axisX.at(j), 'f', 2).leftJustified(20, QLatin1Char(' '))
               << QString::number(axisY.at(j), 'f', 4) << '\n';
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
