#ifndef ORVANEINPUTDATA_H
#define ORVANEINPUTDATA_H

#include "orvaneabstractobjcalculation.h"
#include "orvanerecords.h"

#include <QString>
#include <QVector>

// The engine's molecule: one record bound to one chemistry file. A reader
// fills it; the getters serve atoms, coordinates, charges, energies, excited
// states and orbitals. Atom numbers count from 1 in file order, atom 1 being
// the lanthanide ion and the origin of the spherical coordinates.
//
// Getters given an index outside their list return an empty record or 0.
class ORVANEENGINE_EXPORT OrvaneInputData : public OrvaneAbstractObjCalculation
{
public:
    static const QString ORVANETitle;
    static const QString lanthanideList[15];

    OrvaneInputData(QObject* parent, const QString& fileName);
    ~OrvaneInputData() override;

    // --- geometry and helpers -------------------------------------------------
    static Coord calcCenterOfMass(const QVector<Coord>& atoms);
    // false for a Z-matrix MOPAC input (fifth line of exactly 10 fields).
    static bool checkTypeMopFile(const QString& mopFile);
    bool createSphericalCoordinate();
    bool createSphericalCoordinate(const int& n, const int& mode);

    // --- MOPAC, Z-matrix and MOL2 readers ---------------------------------------
    bool readMopacOutFile(const bool& keepTv);
    bool readForceConstant(const QString& mopacOutput, const int& n);
    bool readMopFile();
    bool readZmtFile();
    bool readMol2File();

    // --- excited-state and absorption readers ---------------------------------
    bool readOutputGaussian();
    bool readOutputOrca();
    bool readAbsorptionDataGaussian();
    bool readAbsorptionDataOrca();
    bool readCoordFromOrcaOutFile();
    bool readMolecularOrbitalOccupancy();
    bool readChargePointFileOrca(double& x, double& y, double& z);
    bool readOutputZindo();
    bool readAbsorptionDataZindo();
    bool readCoordFromZindoOutFile();

    // --- auxiliary readers and checks (no record or last error changes) ---------
    // True when the charge factor Q x charge and the polarisability
    // (D x superdelocalizability + C) x 1e-24 cm3 of every coordinating atom
    // 2..n+1 lie within the bounds of its element; Q, D, C in qdc[0..2].
    static bool checkParametersQDC(const QString& mopacOutput, const QVector<float>& charges,
        const QVector<float>& superdelocalizabilities, const int& n, const double* qdc);
    // The same test with the charges and superdelocalizabilities of an indices
    // file; C is ignored when flag is not 0.
    static bool readFileIndeces(const QString& indicesFile, const int& n, const double* qdc, int flag);
    static int numberOfAtomsFromXYZFile(const QString& xyzFile);
    // Empty on success, else a message.
    static QString readMolNameFile(QString& folder, QString& name, QStringList& labels, QVector<int>& first,
        QVector<int>& second);

    // --- getters ---------------------------------------------------------------
    QString getFileName() const { return fileName; }
    QString getAtomLabel(const int& i) const;                      // 1-based
    Coord getCoord(const int& i) const;                            // 1-based
    QVector<Coord> getCoord() const { return coord; }
    CoordSPH getCoordSPH(const int& i) const;                      // 1-based
    CoordZMT getCoordZMT(const int& i) const;                      // 1-based
    double getSingletEnergy(const int& i) const;                   // 1-based
    double getTripletEnergy(const int& i) const;                   // 1-based
    ExcitateState getSingletExcitateStateVector(const int& i) const; // 0-based
    ExcitateState getTripletExcitateStateVector(const int& i) const; // 0-based
    double getAtomicCharges(const int& i) const;                   // 0-based
    double getForceConstant(const int& i) const;                   // 0-based
    double getEnergyVector(const int& i) const;                    // 0-based
    double getOscForceVector(const int& i) const;                  // 0-based
    MolecularOrbitalOCC getMolecularOrbital(const int& i) const;   // 0-based
    MolecularOrbital getMolecularOrbitalVector(const int& i) const; // 0-based

    int getAtomsNumber() const { return atomsNumber; }
    int getCoordNumber() const { return coordNumber; }
    int getExcitedStateCount() const { return excitedStateCount; }
    int getHomoMO() const { return homoMO; }
    int getLumoMO() const { return lumoMO; }
    int getMolecularOrbitalNumber() const { return molecularOrbitalNumber; }
    int getSelExcitateState() const { return selExcitateState; }
    double getChargeOnSystem() const { return chargeOnSystem; }
    double getFinalHeat() const { return finalHeat; }
    double getIonPotential() const { return ionPotential; }
    double getDipole() const { return dipole; }
    bool getIsOrcaTDDFT() const { return isOrcaTDDFT; }
    QString getMopacCitation() const { return mopacCitation; }

    QString fileName;
    QString mopacCitation;
    QVector<double> atomicCharges;
    QVector<double> forceConstant;
    QVector<double> oscForceVector;
    QVector<double> energyVector;
    double chargeOnSystem = 0.0;
    double finalHeat = 0.0;
    double ionPotential = 0.0;
    double dipole = 0.0;
    bool isOrcaTDDFT = false;
    int selExcitateState = 1;
    int coordNumber = 0;
    int atomsNumber = 0;
    int excitedStateCount = 0;
    int homoMO = 0;
    int lumoMO = 0;
    int molecularOrbitalNumber = 0;
    QVector<MolecularOrbitalOCC> molecularOrbital;
    QVector<MolecularOrbital> molecularOrbitalVector;
    QVector<ExcitateState> singletExcitateStateVector;
    QVector<ExcitateState> tripletExcitateStateVector;
    QVector<CoordZMT> coordZMT;
    QVector<Coord> coord;
    QVector<CoordSPH> coordSPH;

private:
    static constexpr const char* moduleName = "Read Input Data";

    QString getTypeOfGeometryFromMopFile(const QString& file);
    static int calculateResiduesNumber(const QString& file);
    bool setCoordFromZMatrix(const QVector<CoordZMT>& rows, const QString& fileKind);
    void reportProgress(const QString& message);
    // False (the entry in the last error, the list emptied) when a spherical
    // coordinate is not a finite number.
    bool refuseNonFiniteSpherical();
};

#endif
