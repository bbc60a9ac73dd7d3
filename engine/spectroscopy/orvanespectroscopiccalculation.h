#ifndef ORVANESPECTROSCOPICCALCULATION_H
#define ORVANESPECTROSCOPICCALCULATION_H

#include "energytransferchannels.h"
#include "orvaneabstractobjcalculation.h"
#include "orvaneeu3model.h"
#include "specprintingoptions.h"

#include <Eigen/Dense>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

class OrvaneInputData;
class OrvaneOmega;
class OrvaneRL;

// Rates of a Eu(III) complex from its intensity parameters and the excited
// states of its ligands:
// - radiative rates of 5D0 -> 7FJ (J = 1, 2, 4, 6), their branching ratios and
//   Arad; Anrad from a measured 5D0 lifetime or from an empirical law;
// - ligand-to-Eu energy-transfer and back-transfer rates from a singlet and a
//   triplet donor into 5D4, 5G6, 5L6 (dipole-dipole plus dipole-multipole) and
//   5D1, 5D0 (exchange), under one of three transfer models;
// - steady-state populations of rate-equation schemes and the emission
//   quantum yield.
//
// Transfer channels are numbered: 0..4 singlet -> 5D4, 5G6, 5L6, 5D1, 5D0;
// 5 upper triplet -> 5D4 (two-triplet mode); 10..14 triplet -> the same five
// levels (the lower triplet in two-triplet mode).
//
// Calculations return false with the reason in the last error; an object whose
// construction failed refuses every calculation with the construction's text.
class ORVANEENGINE_EXPORT OrvaneSpectroscopicCalculation : public OrvaneAbstractObjCalculation
{
public:
    enum { channelCount = 20, upperTripletChannel = 5, tripletChannels = 10 };
    // Indices of populations (and of getPopulation).
    enum PopulationIndex { S0 = 0, S1 = 1, UpperTriplet = 2, Triplet = 3, Level5D4 = 4, Level5G6 = 5,
                           Level5L6 = 6, Level5D1 = 7, Level5D0 = 8 };

    // omegaInputType 0 a MOPAC output, 1 a .mop input; rlProgram 0 ZINDO,
    // 1 ORCA, 2 Gaussian. A non-empty forceConstantFile computes the intensity
    // parameters from the structure and the force constants; otherwise the
    // caller sets them (the coordination number of that route comes from the
    // geometry, see coordinationNumber). A non-empty rlInputFile reads the ligands' excited
    // states; a level of 0 (or one not below the number of states) chooses
    // the state automatically.
    OrvaneSpectroscopicCalculation(QObject* parent, const int& omegaInputType, const int& rlProgram,
                                   const QString& omegaInputFile, const QString& forceConstantFile,
                                   const QString& rlInputFile, const int& tripletLevel, const int& singletLevel);
    // No files: radiative rates from Omega set by the caller, or transfer
    // rates from RL values and energies given as arguments.
    explicit OrvaneSpectroscopicCalculation(QObject* parent);
    ~OrvaneSpectroscopicCalculation() override;

    OrvaneSpectroscopicCalculation(const OrvaneSpectroscopicCalculation&) = delete;
    OrvaneSpectroscopicCalculation& operator=(const OrvaneSpectroscopicCalculation&) = delete;

    // Intensity parameters in units of 1e-20 cm^2.
    void setOmegaValues(const double& omega2, const double& omega4, const double& omega6);
    void setOmegaEdValues(const double& omegaEd2, const double& omegaEd4, const double& omegaEd6);
    void setRefractiveIndex(const double& n) { refractiveIndex = n; }
    // Measured 5D0 lifetime in seconds; 0 means that Anrad follows the empirical law.
    void setLifeTime(const double& seconds);
    void setNOverlapIntegral(const double& n) { nOverlapIntegral = n; }
    void setETModel(const int& model) { etModel = model; }
    void setConsiderTwoTriplets(const bool& two) { considerTwoTriplets = two; }
    void setEnergyTransferChannels(const EnergyTransferChannels& channels) { energyTransferChannels = channels; }
    void setSpecPrintingOptions(SpecPrintingOptions options) { specPrintingOptions = options; }
    // Shortest Eu-ligand distance (Angstrom) of the exchange overlap of models
    // 0 and 1, for transfer rates computed without an excited-state file.
    void setMinDistanceLnLigand(const double& angstrom) { minDistanceLnLigand = angstrom; }

    // Radiative rates, branching ratios and Arad, then Anrad: from the
    // lifetime when one was set, else by the empirical law (calcAnrad).
    bool calcArad();
    // Anrad by the empirical law from Arad (a non-zero argument first replaces
    // Arad); the quantum efficiency and the lifetime 1/(Arad + Anrad) follow.
    bool calcAnrad(const double& arad);
    // Every enabled channel from the chosen singlet and triplet states (and
    // channel 5 in two-triplet mode). Needs the excited-state file.
    bool calcEnergyTransferRate();
    // Channels 0 (singlet -> 5D4), 13 and 14 (triplet -> 5D1, 5D0) from the
    // given RL values (Angstrom) and donor energies (cm-1), whatever the flags.
    bool calcEnergyTransferRate(const double& singletRL, const double& tripletRL, const double& singletEnergy,
                                const double& tripletEnergy);

    // Eight states: S0, S1, T, 5D4, 5G6, 5L6, 5D1, 5D0. Computes the transfer
    // rates first when channels 0, 13 and 14 are all still 0, then calcArad.
    bool calcQuantumYieldNEW();
    // Seven states: S0, S1, upper and lower triplet, 5D4, 5D1, 5D0.
    bool calcQuantumYieldTwoTriplets();
    // Six states (S0, S1, T, 5D4, 5D1, 5D0) on the given RL values, energies
    // and 5D0 rates; the channel arrays are cleared and channels 0, 13, 14
    // recomputed. Returns a summary of the key rates and the yield (empty on
    // failure); nothing is written to disk.
    QString calcQuantumYield(const double& singletRL, const double& tripletRL, const double& singletEnergy,
                             const double& tripletEnergy, const double& arad, const double& anrad);

    // The energy-transfer report: the transfer rates of the enabled channels and
    // Arad are computed first, the sections follow the printing options. An
    // empty name returns the text; otherwise the text replaces the file `name`
    // and the result is empty. Failure (a calculation refused, a file that
    // cannot be written): empty result, the reason in the last error, which is
    // cleared on success. Needs the excited-state file.
    QString createOutFileET(const QString& name);
    // The quantum-yield report: the energy-transfer report followed by Anrad,
    // the level populations and the quantum yield (seven-state model in
    // two-triplet mode, else eight states).
    QString createOutFile(const QString& name);

    // Franck-Condon factor (erg-1) of an energy mismatch (cm-1) for a band
    // half-width (cm-1).
    static double F(const double& delta, const double& halfWidth);
    // Atoms in the first coordination shell of the ion (atom 1): hydrogens
    // left out, the shell ends at the first gap wider than 0.35 Angstrom
    // between sorted distances.
    static int coordinationNumber(const OrvaneInputData& molecule);
    // The gap rule itself on distances from the ion (Angstrom, any order):
    // the count up to the first gap wider than 0.35 between sorted values, or
    // all of them; 0 for none.
    static int coordinationNumber(QVector<double> distances);
    // The boxed quantum-yield lines closing the quantum-yield summaries.
    static QString quantumYieldBox(const double& yield);

    // Building blocks of the transfer rates; R in cm, U2 indexed by lambda (7 entries).
    double gama(const int& l, const double& R) const;
    double WetDD(const double& delta, const int& J, const double& R, const double* U2, const int& G) const;
    double WetDM(const double& delta, const int& J, const double& R, const double* U2, const int& G) const;
    double calcWetEX(const double& delta, const int& J, const double& X, const double& R, const int& G) const;
    // exp(-delta hc / kT) at 300 K: back-transfer over transfer rate.
    double boltzmannFactor(const double& delta) const;
    double overlap4f4f(const double& R) const;
    double overlap4fLigand(const double& R0, const double& R) const;

    double getArad() const { return arad; }
    double getAnrad() const { return anrad; }
    double getArad02() const { return arad02; }
    double getArad04() const { return arad04; }
    double getArad06() const { return arad06; }
    double getAradMD() const { return aradMD; }
    double getQuantumEfficiency() const { return quantumEfficiency; }
    double getQuantumYield() const { return quantumYield; }
    // The measured lifetime, or the one calcAnrad derived (s).
    double getLifeTime() const { return lifeTime; }
    bool isLifeTimeMeasured() const { return lifeTime != 0.0 && !lifeTimeFromLaw; }
    // A warning line for the reports when a measured lifetime exceeds 1/Arad
    // (negative Anrad, efficiency above 100 %); empty otherwise.
    QString getAnradWarning() const;
    double getBranchingRatio(const int& J) const { return valueAt(branchingRatio, J); }
    double getOmega(const int& l) const { return valueAt(omega, l); }
    double getOmegaED(const int& l) const { return valueAt(omegaED, l); }
    double getRacahTensor(const int& k) const { return valueAt(racahTensor, k); }
    double getRadialIntegral(const int& k) const { return valueAt(radialIntegral, k); }
    double getShieldingFactor(const int& k) const { return valueAt(shieldingFactor, k); }
    double getBandHalfWidth() const { return bandHalfWidth; }
    double getRefractiveIndex() const { return refractiveIndex; }
    double getNOverlapIntegral() const { return nOverlapIntegral; }
    double getMinDistanceLnLigand() const { return minDistanceLnLigand; }
    int getETModel() const { return etModel; }
    bool getConsiderTwoTriplets() const { return considerTwoTriplets; }
    EnergyTransferChannels getEnergyTransferChannels() const { return energyTransferChannels; }
    SpecPrintingOptions getSpecPrintingOptions() const { return specPrintingOptions; }
    // Whether channel i is computed: its flag, or two-triplet mode for channel 5.
    bool isChannelEnabled(const int& i) const;
    double getEnergyMismatch(const int& i) const { return valueAt(energyMismatch, i); }
    double getWetMM(const int& i) const { return valueAt(wetMM, i); }
    double getWbtMM(const int& i) const { return valueAt(wbtMM, i); }
    double getWetEX(const int& i) const { return valueAt(wetEX, i); }
    double getWbtEX(const int& i) const { return valueAt(wbtEX, i); }
    double getPopulation(const int& i) const { return valueAt(populations, i); }

    QString getOmegaInputFile() const { return omegaInputFile; }
    QString getForceConstantFile() const { return forceConstantFile; }
    QString getRlInputFile() const { return rlInputFile; }
    int getRlProgram() const { return rlProgram; }
    int getOmegaInputType() const { return omegaInputType; }
    int getSingletLevel() const { return singletLevel; }
    int getTripletLevel() const { return tripletLevel; }
    // One line for each level asked for that the automatic choice replaced,
    // such as "Singlet 99 does not exist (6 singlets); singlet 2 was used";
    // empty when the levels are those asked for (or 0, the automatic choice).
    QStringList getLevelNotes() const { return levelNotes; }
    // RL (Angstrom) and energy (cm-1) of the chosen singlet and triplet and of
    // triplet state 2 (the lower triplet of two-triplet mode); 0 without states.
    double getSingletRL() const;
    double getSingletEnergy() const;
    double getTripletRL() const;
    double getTripletEnergy() const;
    double getLowerTripletRL() const;
    double getLowerTripletEnergy() const;
    // The owned parts; null when not built.
    const OrvaneRL* getRL() const { return rl.get(); }
    const OrvaneOmega* getOmegaCalculation() const { return omegaCalc.get(); }

private:
    template <std::size_t N>
    static double valueAt(const std::array<double, N>& values, const int& i)
    {
        return i >= 0 && i < int(N) ? values[std::size_t(i)] : 0.0;
    }

    void initializeParameters();
    // The report texts; false with the reason in the last error.
    bool writeEnergyTransferReport(QString& out);
    bool writeQuantumYieldSections(QString& out);
    bool writeReport(const QString& name, const QString& text);
    void setDefaultLevels();
    bool refuseIfNotSetUp();
    // Checks that a donor level names a state with an RL and an energy.
    bool checkDonor(const QString& kind, const int& level, const int& statesRead, const double& rlValue);
    void computeChannel(const int& index, const double& R, const int& G);
    bool solveAndStore(const Eigen::MatrixXd& rates, const int* placeOf, const int& emitting,
                       const double& radiative);

    bool considerTwoTriplets = false;
    EnergyTransferChannels energyTransferChannels;
    QString omegaInputFile;
    QString forceConstantFile;
    QString rlInputFile;
    int tripletLevel = 0;
    int singletLevel = 0;
    QStringList levelNotes;
    int rlProgram = 0;
    int omegaInputType = 0;
    int etModel = 0;
    std::array<double, 8> branchingRatio {};
    double arad = 0.0;
    double bandHalfWidth = 3250.0;
    double arad02 = 0.0;
    double arad04 = 0.0;
    double arad06 = 0.0;
    double aradMD = 0.0;
    double anrad = 0.0;
    double refractiveIndex = 1.5;
    double lifeTime = 0.0;
    // True while lifeTime holds what calcAnrad derived rather than a measured
    // value, so that a later calcArad does not take it for a measurement.
    bool lifeTimeFromLaw = false;
    double quantumYield = 0.0;
    double quantumEfficiency = 0.0;
    std::array<double, channelCount> wetMM {};
    std::array<double, channelCount> wbtMM {};
    std::array<double, channelCount> wetEX {};
    std::array<double, channelCount> wbtEX {};
    std::array<double, channelCount> energyMismatch {};
    std::array<double, 8> racahTensor {};
    std::array<double, 8> radialIntegral {};
    std::array<double, 8> shieldingFactor {};
    std::array<double, 7> omega {};
    std::array<double, 7> omegaED {};
    std::array<double, 9> populations {};
    // The value the transfer form uses; only models 0 and 1 read it.
    double nOverlapIntegral = 3.5;
    // Angstrom; taken from the excited-state file, 0 until known.
    double minDistanceLnLigand = 0.0;
    // Charge factors and polarizabilities by atom number that the force
    // constants give; they outlive omegaCalc, which points to them.
    std::array<double, OrvaneEu3Model::atomArraySize> chargeFactors {};
    std::array<double, OrvaneEu3Model::atomArraySize> polarizabilities {};
    std::unique_ptr<OrvaneOmega> omegaCalc;
    std::unique_ptr<OrvaneRL> rl;
    SpecPrintingOptions specPrintingOptions;
    // The reason the full constructor failed; every calculation refuses with it.
    QString setupError;
};

#endif
