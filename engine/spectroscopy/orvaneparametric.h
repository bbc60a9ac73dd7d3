#ifndef ORVANEPARAMETRIC_H
#define ORVANEPARAMETRIC_H

#include "omegaprintingoptions.h"
#include "orvaneabstractparametric.h"
#include "orvanefitpoint.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

class OrvaneOmega;

// Fit of the intensity model with one charge factor g and one polarizability
// alpha per group of equivalent donor atoms, so that the computed Omega_2 and
// Omega_4 match experimental values. For G groups the parameter vector holds
// the g of groups 0..G-1, then their alpha in units of 1e-24 cm^3.
//
// Response: w4 ((Omega4exp - Omega4) 1e20)^2 + w2 ((Omega2exp - Omega2) 1e20)^2,
// with the weights of "pesos.txt" in the working folder (read once, at
// construction). Points outside the element bounds get the response 1e20.
// Every evaluation works on arrays owned by the model and an OrvaneOmega that
// keeps its geometry terms: nothing is allocated or read per evaluation.
class ORVANEENGINE_EXPORT OrvaneParametric : public OrvaneAbstractParametric
{
    Q_OBJECT
public:
    static constexpr double penaltyResponse = 1e20;

    // inputType 0 a MOPAC output, 1 a MOPAC input (.mop). A geometry that
    // cannot be read leaves the reason in the last error, and every
    // evaluation then fails with it.
    OrvaneParametric(QObject* parent, const QString& fileName, const int& inputType);
    ~OrvaneParametric() override;

    // Group number -> entries "label atom-number" (for example "O 7"). The
    // keys must be 0 to G-1, every entry must name an atom from 2 on, and no
    // atom may stand in two groups; false with the reason otherwise. That
    // every donor 2..N+1 is in a group is checked once N is known, at the
    // first evaluation.
    bool setGroupsAndAtoms(const QMap<int, QStringList>& groups);
    void setCoordNumber(const int& n) { coordNumber = n; }
    void setRefractiveIndex(const double& n) { refractiveIndex = n; }
    void setFileNameOmg(const QString& name) { fileNameOmg = name; }
    void setFileNameMopacOutputFile(const QString& name) { fileNameMopacOutputFile = name; }
    void setOmegaExp(const double& omega2, const double& omega4);
    void setOmegaPrintingOptions(const OmegaPrintingOptions& options) { omegaPrintingOptions = options; }

    // Evaluates the point (see the class comment). True for every point,
    // inside the bounds or not; false only when the model cannot evaluate at
    // all (geometry not read, groups missing or not matching N, a parameter
    // count other than 2G), with the response at the penalty value.
    bool runParametrization(const int& n, double*& x) override;
    // Writes the intensity-parameter report at the best point to fileNameOmg.
    // When no point within the bounds was found, the file says so instead.
    void endOfParametrization() override;

    double getW2() const { return w2; }
    double getW4() const { return w4; }
    int getGroupCount() const { return groupCount; }
    // Label of atom i + 1 from the group entries (entry 0 is " ").
    QString getDonorLabel(const int& i) const;
    // g and alpha (cm^3) of the point evaluated last and of the best point, by atom number.
    double getChargeFactor(const int& atom) const;
    double getAlpha(const int& atom) const;
    double getBestG(const int& atom) const;
    double getBestAlpha(const int& atom) const;

    // Written directly by the forms.
    QString fileNameOmg;
    int coordNumber = 0;
    double refractiveIndex = 1.5;
    double omega2Exp = 0.0; // cm^2
    double omega4Exp = 0.0; // cm^2
    OmegaPrintingOptions omegaPrintingOptions;

protected:
    void forgetEarlierFit() override;

private:
    struct GroupEntry {
        int atom = 0;
        int group = 0;
        QString label;
    };

    bool prepare();
    // g and alpha (1e-24 cm^3) of each group at the best point, with its bounds.
    void addGroupParameters(OrvaneFitSummary& summary) const;
    bool setAtomsToGAndAlpha(const double* x);
    void readWeightFile();

    std::unique_ptr<OrvaneOmega> omegaCalc;
    QString omegaError; // why omegaCalc cannot evaluate, empty when it can
    QString fileNameMopacOutputFile;
    int inputType = 0;

    // The point being evaluated and the bounds of its donors (set by prepare()).
    OrvaneFitPoint point;
    double w2 = 1.0;
    double w4 = 1.0;
    OrvaneFitPoint::AtomValues bestG {};
    OrvaneFitPoint::AtomValues bestAlpha {};
    // Whether the best arrays hold a point of this fit (the start vector
    // until a point within the bounds improves on it).
    bool bestStarted = false;

    QVector<QString> donorLabels;
    QMap<int, QStringList> groupsAndAtoms;
    QVector<GroupEntry> groupEntries;
    QString groupsError;
    int groupCount = 0;

    // Set up by prepare() for preparedCoordNumber: the group of each atom.
    int preparedCoordNumber = -1;
    std::array<int, OrvaneEu3Model::atomArraySize> atomGroup {};
    // alpha (cm^3) of each group at the point being evaluated.
    std::array<double, OrvaneEu3Model::atomArraySize> groupAlpha {};
};

#endif
