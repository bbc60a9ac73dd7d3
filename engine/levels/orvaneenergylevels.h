#ifndef ORVANEENERGYLEVELS_H
#define ORVANEENERGYLEVELS_H

#include "orvaneabstractobjcalculation.h"
#include "orvaneengine_export.h"
#include "orvanespectroscopictermutil.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <vector>

// One row of the electrostatic table: Racah's e0..e3 between two terms.
struct ElectrostaticMatrixEntry
{
    OrvaneSpectroscopicTermUtil::SpectroscopicTerm term1;
    OrvaneSpectroscopicTermUtil::SpectroscopicTerm term2;
    QVector<double> coefficients; // e0, e1, e2, e3
};

// One coefficient of fractional parentage: a parent term of f^(N'-1), signed.
struct FractParentCoeff
{
    OrvaneSpectroscopicTermUtil::SpectroscopicTerm parent;
    double coefficient = 0.0;
};

// One LS component of a computed level.
struct CoeffAndLabel
{
    QString label;
    double coefficient = 0.0;
    int flag = 0;
};

// A free-ion level in intermediate coupling: label, energy (cm^-1), composition.
struct MixedState
{
    QString label;
    double energy = 0.0;
    QVector<CoeffAndLabel> components;
};

// Free-ion levels of 4f^N from the Slater integrals F2, F4, F6 (Condon-Shortley
// F_k = F^k / D_k, cm^-1) and the spin-orbit constant zeta. The LS terms, their
// parentage and Racah's electrostatic coefficients of f^N' (N' = N, or 14 - N
// past the half-filled shell) are read from "EnergyLevels4f/f<N'>.cfp|ele" in
// the current folder at construction; everything that does not depend on the
// parameters (the J blocks, their electrostatic coefficients and spin-orbit
// factors) is prepared there too, so a calculation only assembles and
// diagonalises the blocks.
class ORVANEENGINE_EXPORT OrvaneEnergyLevels : public OrvaneAbstractObjCalculation
{
    Q_OBJECT
public:
    OrvaneEnergyLevels(QObject* parent, const int& nElectrons);
    ~OrvaneEnergyLevels() override;

    void setSlaterIntegral(const double& F0, const double& F2, const double& F4, const double& F6);
    void setZetaParameters(const double& zeta);

    // Every level (J = -1: shifted so that the lowest is 0 and sorted by
    // energy, components by decreasing magnitude) or those of one J (absolute
    // eigenvalues in diagonal order, components in basis order). A zero or
    // non-finite parameter is refused with a message; the levels stay. A J
    // that no level has gives no levels and the reason in getLastError().
    void calcEnergyLevels(const double& J);

    // The report of the last levels: returned when fileName is empty, else
    // written to the file (an empty result either way). A failed write leaves
    // its reason in getLastError(), which the call clears first.
    QString createOutputFile(const QString& fileName);

    QVector<MixedState> getMixedStatesVector() const { return mixedStates; }
    QVector<OrvaneSpectroscopicTermUtil::SpectroscopicTerm> getSpectroscopicTermVector() const
    {
        return spectroscopicTerms;
    }
    QVector<FractParentCoeff> getFractParentCoeffVector(
        const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& term) const;
    // |S - L|, ..., S + L.
    QVector<double> getJVector(const double& S, const int& L) const;
    // Whether some level of the ion, at any parameters, bears the level label.
    bool hasLevel(const QString& label) const;
    // The first computed level whose label names `level` (S, L, index and J).
    MixedState getMixedStates(const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& level) const;

    // The values of a free-ion parameter file (".param"): zeta, F2, F4, F6 in
    // cm^-1, one a line, in that order. A line the file lacks, or text that is
    // not a number, reads as 0; false, with every value 0, when the file
    // cannot be read. Each line that is there but is not a number is named in
    // `notNumbers` (a decimal comma, say), so that its 0 is not taken silently.
    static bool readParameterFile(const QString& fileName, std::array<double, 4>& zetaF2F4F6,
                                  QStringList* notNumbers = nullptr);

    int getElectronCount() const { return nElectrons; }
    QVector<double> getJValues() const { return jValues; }

private:
    friend struct OrvaneEnergyLevelsProbe; // the tests reach the matrix elements

    using Term = OrvaneSpectroscopicTermUtil::SpectroscopicTerm;

    // One J block, fixed at construction: basis terms (positions in
    // spectroscopicTerms), their level labels and, packed like the symmetric
    // matrix, the e0..e3 and the spin-orbit element per unit zeta of each pair.
    struct JBlock
    {
        double J = 0.0;
        QVector<int> basis;
        QVector<QString> labels;
        std::vector<std::array<double, 4>> electrostatic;
        std::vector<double> spinOrbit;
    };

    bool readElectrostaticMatrix();
    bool readSpectroscopicTerms();
    bool readFractionalParentageCoefficients(const Term& term, QVector<FractParentCoeff>& out);
    void prepareBlocks();
    bool openFailure(const QString& fileName);

    QVector<double> getElectrostaticMatrixVector(const Term& a, const Term& b) const;
    double matrixElementElectrostaticInteraction(const int& n, const Term& a, const Term& b) const;
    double calculateV1X(const int& n, const Term& a, const Term& b) const;
    double matrixElementSpinOrbit(const int& n, const Term& a, const Term& b, const double& J) const;
    void labelMixedStates(QVector<MixedState>& states) const;
    static double spinOrbitAngular(const Term& a, const Term& b, const double& J);

    static bool coeffLessThan(const CoeffAndLabel& a, const CoeffAndLabel& b);
    static bool energyLessThan(const MixedState& a, const MixedState& b);

    QString cfpFileName;
    QString eleFileName;
    int nElectrons = 0;
    int l = 3;
    int nEquivalent = 0;
    double s = 0.5;
    double F0 = 0.0;
    double F2 = 0.0;
    double F4 = 0.0;
    double F6 = 0.0;
    double zeta = 0.0;
    QVector<double> jValues;
    QVector<Term> spectroscopicTerms;
    QVector<ElectrostaticMatrixEntry> electrostaticMatrix;
    QVector<QVector<FractParentCoeff>> fractParentCoeffs;
    QVector<MixedState> mixedStates;
    QVector<JBlock> blocks;
    QVector<QStringList> parentageRows; // the parentage table while it is read
};

#endif
