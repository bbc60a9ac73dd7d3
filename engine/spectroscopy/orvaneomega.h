#ifndef ORVANEOMEGA_H
#define ORVANEOMEGA_H

#include "omegaprintingoptions.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanerecords.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <vector>

class OrvaneInputData;

// Theoretical Judd-Ofelt intensity parameters Omega_2, Omega_4, Omega_6 of a
// Eu(III) complex: the forced electric dipole (simple overlap model) plus the
// dynamic coupling (polarizabilities of the donors), and their sum through the
// interfering coefficients B(lambda, t, p).
//
// Atom 1 of the geometry is the Eu ion; the N donors are atoms 2 to N+1. The
// charge factors g and polarizabilities alpha (cm^3) are caller-owned arrays
// indexed by atom number, or are derived from MOPAC force constants.
//
// Construct, check getLastError(), set N and the arrays, then call calcOmega()
// as often as g and alpha change (a fit calls it at every annealing step).
class ORVANEENGINE_EXPORT OrvaneOmega : public OrvaneAbstractObjCalculation
{
public:
    // Reads the geometry: inputType 0 a MOPAC output, 1 a MOPAC input (.mop).
    // A non-empty forceConstantFile selects the force-constant route for g and
    // alpha (the MOPAC output holding the force matrix).
    OrvaneOmega(QObject* parent, const int& inputType, const QString& fileName,
        const QString& forceConstantFile);
    // A geometry already in memory, atom 1 first; nothing but the force
    // constants (when named) is read from disk.
    OrvaneOmega(QObject* parent, const QVector<Coord>& atoms,
        const QString& forceConstantFile = QString());
    ~OrvaneOmega() override;

    // Fills omega, omegaED and omegaDC. Everything that depends on the
    // geometry and N alone is kept between calls and rebuilt when N changes.
    // Refuses (false, arrays zeroed, reason in the last error) an object whose
    // construction failed, N outside 0..28 or past the atoms, missing g and
    // alpha arrays with N > 0, and a donor on the Eu position.
    bool calcOmega();
    // The same quantities term by term through gamma, GAMMA, BEd, BDc and B,
    // with nothing kept between calls: the reference that calcOmega must equal.
    bool calcOmegaDirect();

    // The group fit's evaluation, for donors that share one charge factor and
    // one polarizability per group: groupOfDonor[d] is the group (0, 1, ...)
    // of atom d + 2, for the N donors. The geometry terms of each group are
    // summed once here, so that calcOmegaOfGroups costs the groups and not
    // the donors. False, with the reason, for a list that does not give every
    // donor a group.
    bool setDonorGroups(const std::vector<int>& groupOfDonor);
    // calcOmega with g and alpha (cm^3) by group instead of by atom, for a
    // fit: the per-atom arrays are not read, and only the totals getOmega are
    // computed (getOmegaED and getOmegaDC give 0). They equal calcOmega's at
    // the same values to rounding (its donor sums are taken group by group). Refuses
    // what calcOmega refuses, a grouping not set for the present N, and the
    // force-constant route, whose g and alpha differ from donor to donor.
    bool calcOmegaOfGroups(const double* groupChargeFactor, const double* groupAlpha);

    // The intensity-parameter report of the last calcOmega, its sections chosen
    // by the printing options. An empty name returns the text; otherwise the
    // text replaces the file `name` and the result is empty. Failure (inputs
    // the report cannot print, a file that cannot be written): empty result
    // and the reason in the last error, which is cleared on success.
    QString createOutFile(const QString& name);

    double getOmega(const int& lambda) const;
    double getOmegaED(const int& lambda) const;
    double getOmegaDC(const int& lambda) const;
    double getChargeFactor(const int& i) const;
    double getAlpha(const int& i) const;
    // rho_i and beta_i of the simple overlap model, by atom number.
    double getRo(const int& i) const;
    double getBeta(const int& i) const;
    double getRMin() const { return rMin; }
    int getCoordNumber() const { return coordNumber; }
    double getRefractiveIndex() const { return refractiveIndex; }
    QString getMopacCitation() const { return mopacCitation; }
    OmegaPrintingOptions getOmegaPrintingOptions() const { return printingOptions; }
    const OrvaneInputData* getInputData() const { return inputData; }

    void setCoordNumber(const int& n) { coordNumber = n; }
    void setRefractiveIndex(const double& n) { refractiveIndex = n; }
    void setChargeFactorAndAlpha(double*& g, double*& alphaValues);
    void setParametersQDC(const double& q, const double& d, const double& c);
    void setAtomicCharges(const QVector<double>& charges) { atomicCharges = charges; }
    void setSuperDeslocalizability(const QVector<double>& values) { superDeslocalizability = values; }
    void setLigandAtomsByLigandVector(const QStringList& lines) { ligandAtoms = lines; }
    void setOmegaPrintingOptions(const OmegaPrintingOptions& options) { printingOptions = options; }
    void setRequiredCitations(const QString& text) { requiredCitations = text; }
    // A fitted report's account of its targets (OrvaneFitSummary::reportSection),
    // printed ahead of the sections; empty for a direct run.
    void setFitSection(const QString& text) { fitSection = text; }

private:
    // Number of (t, p) pairs with t = 1, 3, 5, 7 and p = 0..t.
    static constexpr int rankOrderCount = 20;

    bool finishConstruction();
    bool setInitialValues();
    // Whether g and alpha come by atom (the caller's arrays) or by group.
    enum class ValuesBy { Atom, Group };
    bool checkInputs(ValuesBy values = ValuesBy::Atom);
    bool calcChargeFactorAndAlpha(const double& minimumDistance);
    void prepareDonors();
    void buildGeometryCache();
    void buildGroupTerms();
    void clearResults();
    // omega (and, when the parts are kept, omegaED and omegaDC, else 0) from
    // the donor sums S(t, p) of g ed and of alpha dc, by (t, p) pair. A fit
    // compares only the totals and drops the parts.
    using PairSums = std::array<double, rankOrderCount>;
    enum class Parts { Kept, Dropped };
    template <Parts parts>
    void omegaFromSums(const PairSums& sumEdRe, const PairSums& sumEdIm, const PairSums& sumDcRe,
        const PairSums& sumDcIm);

    // Sections of the report, in the order they are written.
    bool checkReportInputs();
    void writeSphericalCoordinates(QString& out) const;
    void writeParametersQDC(QString& out) const;
    void writeChargeFactorsAndAlpha(QString& out) const;
    void writeOmega(QString& out) const;
    void writeConstantValues(QString& out) const;
    void writeSphericalHarmonics(QString& out) const;
    void writeOverlapAndBeta(QString& out) const;
    void writeLatticeSums(QString& out, bool dynamicCoupling) const;
    void writeBltp(QString& out, int part) const;
    void writeOmegaPart(QString& out, bool forcedDipole) const;
    bool writeRadiativeRates(QString& out);
    void writeAradPartition(QString& out);
    void writeBkq(QString& out) const;

    MyComplex gamma(const int& t, const int& p, const int& i) const;
    MyComplex GAMMA(const int& t, const int& p, const int& i) const;
    MyComplex BEd(const int& lambda, const int& t, const int& p) const;
    MyComplex BDc(const int& lambda, const int& t, const int& p) const;
    MyComplex B(const int& lambda, const int& t, const int& p) const;
    MyComplex Bkq(const int& k, const int& q, const int& i) const;
    MyComplex harmonic(const int& t, const int& p, const int& i) const;
    static double tet(const int& t, const int& lambda);

    std::array<double, 7> omega {};
    std::array<double, 7> omegaED {};
    std::array<double, 7> omegaDC {};
    QString requiredCitations;
    QString fitSection;
    QString fileName;
    QString forceConstantFile;
    QString mopacCitation;
    int coordNumber = 0;
    int inputType = 0;
    double rMin = 10000.0;
    double refractiveIndex = 1.5;
    std::array<double, 30> ro {};
    double* chargeFactor = nullptr;
    double* alpha = nullptr;
    // g and alpha from the force constants until the caller hands its own.
    std::array<double, 30> ownChargeFactor {};
    std::array<double, 30> ownAlpha {};
    std::array<double, 9> radialIntegral {};
    std::array<double, 7> shieldingFactor {};
    std::array<double, 7> racahTensor {};
    double deltaE = 0.0;
    std::array<double, 30> beta {};
    bool useQDC = false;
    double Q = 0.0;
    double D = 0.0;
    double C = 0.0;
    QVector<double> atomicCharges;
    QVector<double> superDeslocalizability;
    QStringList ligandAtoms;
    OrvaneInputData* inputData = nullptr;
    OmegaPrintingOptions printingOptions;
    bool constructed = false;

    // Geometry terms of the donors, rebuilt only when N changes (the geometry
    // itself never changes after construction). For the pair (t, p) number k
    // and donor d (atom d+2), entry d*20+k holds conj(Y_t^p) times the radial
    // factor: with e^2 rho (2 beta)^(t+1) for the forced electric dipole, bare
    // for the dynamic coupling.
    int cachedCoordNumber = -1;
    struct GeometryTerms {
        std::vector<double> edRe, edIm, dcRe, dcIm;
        // `size` zeros in each array.
        void reset(std::size_t size)
        {
            edRe.assign(size, 0.0);
            edIm.assign(size, 0.0);
            dcRe.assign(size, 0.0);
            dcIm.assign(size, 0.0);
        }
    };
    GeometryTerms donorTerms;
    // The same terms summed over the donors of each group (entry G*20+k), for
    // the grouping of donorGroup, valid while groupTermsCoordNumber is N.
    std::vector<int> donorGroup;
    int groupCount = 0;
    int groupTermsCoordNumber = -1;
    GeometryTerms groupTerms;
    // B = edFactor * sum(g ed) + dcFactor * sum(alpha dc), by lambda/2 - 1 and t.
    std::array<std::array<double, 8>, 3> edFactor {};
    std::array<double, 3> dcFactor {};
};

#endif
