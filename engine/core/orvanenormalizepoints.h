#ifndef ORVANENORMALIZEPOINTS_H
#define ORVANENORMALIZEPOINTS_H

#include "orvaneabstractobjcalculation.h"

#include <QString>
#include <QVector>
#include <vector>

// A plottable absorption spectrum from the vertical excitations of a Gaussian,
// ORCA or ZINDO output: every line becomes a band of `bandWidth` nm, the bands are
// summed on 1001 points of the wavelength window (equidistant in wavenumber)
// and scaled so that the largest value is 1.
class ORVANEENGINE_EXPORT OrvaneNormalizePoints : public OrvaneAbstractObjCalculation
{
public:
    enum Program { Gaussian = 0, Orca = 1, Zindo = 2 };
    static constexpr int gridPoints = 1001;

    // Reads the absorption lines of `outputFile` (program 0 Gaussian, 1 ORCA,
    // 2 ZINDO).
    // On failure the reason is in the last error and the object holds no line.
    OrvaneNormalizePoints(QObject* parent, const QString& outputFile, const int& program);
    ~OrvaneNormalizePoints() override;

    // Band width and the two window bounds in nm; the bounds in either order.
    // Refused (false, the reason in the last error, the parameters kept) when
    // they would give spectrum points that are not finite numbers.
    bool setParametersNormalization(const double& bandWidth, const double& initialWavelength,
                                    const double& finalWavelength);
    // Fills the axes from the current parameters; the same result on every call.
    // Without any line every intensity is 0. False with the reason in the
    // last error, and empty axes, when the parameters or lines give points
    // that are not finite numbers.
    bool spectrum();
    QVector<double> getaxisX() const { return axisX; }
    QVector<double> getaxisY() const { return axisY; }
    // Runs spectrum() and writes one "wavelength intensity" line per point;
    // false with the reason in the last error.
    bool createEspFile(const QString& file);
    // Empty when the parameters give finite spectrum points, else the reason.
    static QString parametersReason(double bandWidth, double initialWavelength, double finalWavelength);

    int pointsNumber = 0;
    double bandWidth = 25.0;
    double initialWavelength = 150.0;
    double finalWavelength = 450.0;
    // Entries 1..pointsNumber: wavelength (nm; 0 for an energy of 0) and
    // oscillator strength of each line, in file order.
    std::vector<double> wavelengths;
    std::vector<double> oscillatorStrengths;
    QVector<double> axisX;
    QVector<double> axisY;

private:
    // Heap sort of ra[1..n] ascending, moving rb (and rc when carryThird) along.
    static void hpsort(int n, double* ra, double* rb, double* rc, bool carryThird);
};

#endif
