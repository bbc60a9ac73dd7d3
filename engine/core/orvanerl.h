#ifndef ORVANERL_H
#define ORVANERL_H

#include "orvaneabstractobjcalculation.h"
#include "orvaneinputdata.h"

#include <QString>
#include <QVector>

// Ligand-state distances: for every singlet and triplet excited state of a
// ZINDO, ORCA or Gaussian calculation of a complex, RL is the distance from
// the Eu ion to the atoms of the orbitals the state reaches, weighted by the
// squared orbital coefficients (Angstrom). Also the shortest Eu-ligand
// distance. One object serves one calcRL.
class ORVANEENGINE_EXPORT OrvaneRL : public OrvaneAbstractObjCalculation
{
public:
    enum Program { Zindo = 0, Orca = 1, Gaussian = 2 };

    OrvaneRL(QObject* parent, const QString& file);
    ~OrvaneRL() override;

    OrvaneRL(const OrvaneRL&) = delete;
    OrvaneRL& operator=(const OrvaneRL&) = delete;

    // Reads the file with the readers of `program` (0 ZINDO, 1 ORCA, 2
    // Gaussian) and fills the distances. False with the reason in the last
    // error when a reader fails, the ion cannot be placed, or a state names an
    // orbital or atom the file does not hold.
    bool calcRL(const int& program);
    // Writes the RL report of the selected state to `file`; false with the
    // reason in the last error when it cannot be written.
    bool createOutput(const QString& file);

    int getSelExcitateState() const { return selExcitateState; }
    double getMinDistanceLnLigand() const { return minDistanceLnLigand; }
    // Entry i (the 1-based state number; entry 0 is 0); 0 outside the vector.
    double getSingletRL(const int& i) const { return singletRL.value(i, 0.0); }
    double getTripletRL(const int& i) const { return tripletRL.value(i, 0.0); }
    // One more than the number of triplet states (the size of tripletRL).
    int getStatesNumber() const;
    // One more than the number of singlet states (the size of singletRL).
    int getSingletStatesNumber() const { return singletRL.size(); }
    // Energies (cm-1) of singlet or triplet state i, 1-based; 0 outside.
    double getSingletEnergy(const int& i) const { return inputData->getSingletEnergy(i); }
    double getTripletEnergy(const int& i) const { return inputData->getTripletEnergy(i); }

    QString fileName;
    int selExcitateState = 0;
    int program = -1;
    double minDistanceLnLigand = 1000.0;
    OrvaneInputData* inputData; // owned
    QVector<double> singletRL;
    QVector<double> tripletRL;

private:
    bool readMolecule(double& x, double& y, double& z, int& ionIndex);
    bool appendRL(const QVector<ExcitateState>& states, const QVector<double>& distances, const QString& kind,
                  QVector<double>& rl);
};

#endif
