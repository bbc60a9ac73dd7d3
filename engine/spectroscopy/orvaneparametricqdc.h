#ifndef ORVANEPARAMETRICQDC_H
#define ORVANEPARAMETRICQDC_H

#include "omegaprintingoptions.h"
#include "orvaneabstractparametric.h"
#include "orvanefitpoint.h"
#include "parametersqdc.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class OrvaneIndicesCalculation;
class OrvaneOmega;

// Fit of the QDC model: donor atom i gets g = Q q_i and
// alpha = (D s_i + C) x 1e-24 cm^3, with q_i its atomic-charge index and s_i
// its superdelocalizability (OrvaneIndicesCalculation). The parameter vector
// is (Q, D, C).
//
// Response: ((Omega2exp - Omega2) 1e20)^2 + ((Omega4exp - Omega4) 1e20)^2
// + (Omega6 1e20)^2. Points outside the element bounds, with C or D below 0,
// or, while the restriction is active, with D not above restrictionValue x C,
// get 1e20. The restriction is switched off for good after evaluation 100000
// or when an improvement of the best response falls below 1e-5.
class ORVANEENGINE_EXPORT OrvaneParametricQDC : public OrvaneAbstractParametric
{
    Q_OBJECT
public:
    static constexpr double penaltyResponse = 1e20;

    // Reads the atom labels of the MOPAC output; a failure leaves the reason
    // in the last error, and every evaluation then fails with it.
    OrvaneParametricQDC(QObject* parent, const QString& fileName, const int& inputType);
    ~OrvaneParametricQDC() override;

    // Source of the indices, by atom number; not owned, must have computed
    // them for at least N donors.
    void setSuperDeslocalizability(OrvaneIndicesCalculation* indicesObject);
    void setLigandAtomsByLigandVector(const QStringList& lines) { ligandAtoms = lines; }
    void setRestrictionValue(const int& value) { restrictionValue = value; }
    void setCoordNumber(const int& n) { coordNumber = n; }
    void setRefractiveIndex(const double& n) { refractiveIndex = n; }
    void setFileNameOmg(const QString& name) { fileNameOmg = name; }
    void setFileNameMopacOutputFile(const QString& name) { fileNameMopacOutputFile = name; }
    void setOmegaExp(const double& omega2, const double& omega4);
    void setOmegaPrintingOptions(const OmegaPrintingOptions& options) { omegaPrintingOptions = options; }

    ParametersQDC getParametersQDC() const { return bestParameters; }
    bool isRestrictionActive() const { return restrictionActive; }
    double getChargeFactor(const int& atom) const;
    double getAlpha(const int& atom) const;

    // True for every point, inside the bounds or not; false only when the
    // model cannot evaluate at all (structure not read, no indices or too few
    // of them, N out of range, a parameter count other than 3).
    bool runParametrization(const int& n, double*& x) override;
    // Writes the report at the best Q, D, C to fileNameOmg; when no point
    // within the bounds was found, the file says so instead.
    void endOfParametrization() override;

    // Written directly by the forms.
    OrvaneIndicesCalculation* indices = nullptr;
    OmegaPrintingOptions omegaPrintingOptions;
    QString fileNameOmg;
    int coordNumber = 0;
    int restrictionValue = 0;
    double refractiveIndex = 1.5;
    double omega2Exp = 0.0; // cm^2
    double omega4Exp = 0.0; // cm^2

protected:
    // The best Q, D, C go; the restriction, once lifted, stays lifted.
    void forgetEarlierFit() override;

private:
    bool prepare();
    bool checkParameters(const ParametersQDC& p) const;
    void fillArrays(const ParametersQDC& p, OrvaneFitPoint::AtomValues& g, OrvaneFitPoint::AtomValues& a,
        OrvaneFitPoint::AtomValues& aUnits) const;

    ParametersQDC bestParameters;
    OrvaneOmega* omegaCalc = nullptr;
    QString omegaError; // why the model cannot evaluate, empty when it can
    QVector<QString> atomLabels;
    QStringList ligandAtoms;
    QString fileNameMopacOutputFile;
    bool restrictionActive = true;
    int inputType = 0;

    // The point being evaluated and the bounds of its donors (set by prepare()).
    OrvaneFitPoint point;
    // Whether bestParameters hold a point of this fit (the start vector
    // until a point within the bounds improves on it).
    bool bestStarted = false;

    // Checked once for this N and this indices object.
    int preparedCoordNumber = -1;
    const OrvaneIndicesCalculation* preparedIndices = nullptr;
};

#endif
