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
    // All three must be finite and above 0 (a bound of 0 lies at infinite
    // wavenumber): otherwise false, with the reason in the last error, and the
    // next spectrum() refuses them too.
    bool setParametersNormalization(const double& bandWidth, const double& initialWavelength,
                                    const double& finalWavelength);
    // Fills the axes from the current parameters; the same result on every call.
    // Without any line every intensity is 0. Parameters that are refused, or
    // that give a point that is not a finite number, leave both axes empty
    // with the reason in the last error.
    void spectrum();
    QVector<double> getaxisX() const { return axisX; }
    QVector<double> getaxisY() const { return axisY; }
    // Runs spectrum() and writes one "wavelength intensity" line per point.
    void createEspFile(const QString& file);

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
    // Empty when the parameters are usable, else the reason.
    QString parameterProblem() const;
    // Heap sort of ra[1..n] ascending, moving rb (and rc when carryThird) along.
    static void hpsort(int n, double* ra, double* rb, double* rc, bool carryThird);
};

#endif
