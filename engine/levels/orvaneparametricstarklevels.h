#ifndef ORVANEPARAMETRICSTARKLEVELS_H
#define ORVANEPARAMETRICSTARKLEVELS_H

#include "orvaneabstractparametric.h"
#include "orvanestarklevels.h"

#include <QString>
#include <QVector>

#include <vector>

// Experimental lowest and highest Stark sublevels of 7F_J, measured from
// `reference` (cm^-1).
struct TransitionValues {
    int J = 0;
    double firstLevel = 0.0;
    double lastLevel = 0.0;
    double reference = 0.0;
};

// Allowed charge factors of every ligand atom labelled `name`.
struct GLimits {
    QString name;
    double min = 0.0;
    double max = 0.0;
};

// Atoms (numbered over the geometry file, the ion being atom 1) sharing one
// fitted charge factor.
struct ParametersGroup {
    QString name;
    QVector<int> atoms;
};

struct ChargeFactorsGroup {
    QString name;
    QVector<int> atoms;
    double chargeFactor = 0.0;
};

// Fit of one charge factor per group of ligand atoms to experimental Stark
// splittings of the 7F_J levels, driven by OrvaneGSA. Every improvement is
// printed on standard output; the report of the best point is written beside
// the geometry (extension "levels") when the fit finishes, so that a stopped
// or failed fit leaves the report of an earlier one as it was.
class ORVANEENGINE_EXPORT OrvaneParametricStarkLevels : public OrvaneAbstractParametric
{
    Q_OBJECT
public:
    // Response of a point that is refused (negative, outside the limits, not
    // finite); above the initial best response, so never the best.
    static constexpr double penaltyResponse = 1e25;
    // A sublevel or splitting farther than this from its experimental value
    // (cm-1) is named as missed at the end of the fit.
    static constexpr double missThreshold = 20.0;

    OrvaneParametricStarkLevels(QObject* parent, const QString& fileName, const int& coordNumber);
    ~OrvaneParametricStarkLevels() override;

    // Parameter i is the charge factor of group i. False, with the penalty
    // response and the reason in the last error, for a refused point or one
    // the model cannot evaluate (fewer parameters than groups, a J outside
    // 0..6 among the experimental rows).
    bool runParametrization(const int& n, double*& x) override;
    // Writes the report of the last improvement; a fit that never improved
    // writes nothing and says why in the last error.
    void endOfParametrization() override;

    void setTransitionValues(const QVector<TransitionValues>& values) { transitionValues = values; }
    void setParametersGroup(const QVector<ParametersGroup>& groups) { parametersGroups = groups; }
    void setGLimits(const QVector<GLimits>& limits) { gLimits = limits; }
    // N of the fit, kept within 0 and the N the geometry was read with.
    void setCoordNumber(const int& n);
    int getCoordNumber() const { return coordNumber; }
    // The stem of the report; the geometry stays the one read at construction.
    void setFileName(const QString& name) { fileName = name; }
    QString getReportFileName() const;
    const OrvaneStarkLevels& getStarkCalculation() const { return starkCalculation; }

    // Readers of the input files stem + extension; they append to the list.
    static bool readChargeFactorsFile(const QString& stem, QVector<ChargeFactorsGroup>& groups);
    static void readGLimitsFile(const QString& stem, QVector<GLimits>& limits);
    static bool readParametersGroup(const QString& stem, QVector<ParametersGroup>& groups);
    static bool readTransitionValues(const QString& stem, QVector<TransitionValues>& values);

protected:
    // The report kept from an earlier fit on this object goes.
    void forgetEarlierFit() override;

private:
    bool refuse(const QString& reason);
    bool spreadOverLigands(const int& n, const double* x);
    // Targets of the current point (lowest and highest sublevel and splitting
    // of each experimental 7F_J) and its charge factors with their limits.
    OrvaneFitSummary summariseCurrentPoint() const;
    // The report of the current point, with the summary of its fit.
    QString createOuputFile() const;

    QVector<TransitionValues> transitionValues;
    QVector<ParametersGroup> parametersGroups;
    QVector<GLimits> gLimits;
    OrvaneStarkLevels starkCalculation;
    int coordNumber = 0;
    int geometryCoordNumber = 0;
    QString fileName;
    // Charge factors of the point being evaluated, by ligand 1..N.
    std::vector<double> chargeFactors;
    // The report of the best point so far, written when the fit finishes.
    QString bestReport;
};

#endif
