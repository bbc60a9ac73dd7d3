#ifndef ORVANEINDICESCALCULATION_H
#define ORVANEINDICESCALCULATION_H

#include "orvaneabstractobjcalculation.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Reactivity indices of the coordinating atoms 2 .. N+1 of a lanthanide
// complex (atom 1 being the ion), from a MOPAC output written with ALLVEC:
// the atomic-charge index 2 sum_k sum_mu c^2 and the superdelocalizability
// 2 sum_k (sum_mu c)^2 / e_k over the doubly occupied orbitals k, with the
// valence functions mu of the atom (S only for hydrogen, else S, Px, Py, Pz).
// Both vectors are indexed by atom number; entries 0 and 1 are 0.
class ORVANEENGINE_EXPORT OrvaneIndicesCalculation : public OrvaneAbstractObjCalculation
{
    Q_OBJECT
public:
    OrvaneIndicesCalculation(QObject* parent, const QString& mopacOutputFile, const int& coordNumber);
    ~OrvaneIndicesCalculation() override;

    // Reads the output and rebuilds both vectors; on failure they are left
    // as they were and getLastError() says why.
    bool calculateIndices();

    QVector<double> getAtomicCharge() const { return atomicCharge; }
    QVector<double> getSuperDeslocalizability() const { return superDeslocalizability; }
    double getAtomicCharge(const int& i) const;            // atom number, 0 outside the vector
    double getSuperDeslocalizability(const int& i) const;  // atom number, 0 outside the vector
    // Smallest entry, the leading zeros included; 1.0 before any calculation.
    double getMinimumSuperDeslocalizability() const;

private:
    // One column of the eigenvector listing; the three lists are parallel,
    // one entry per basis-function row. Single precision, as printed.
    struct MolecularOrbitalVEC {
        float eigenvalue = 0.0f; // eV
        QVector<int> atoms;
        QStringList labels;
        QVector<float> coefficients;
    };

    bool readMopacOutputFile();
    // Coefficient of function `label` of atom `atom` in orbital k (0-based);
    // false when the listing has no such row.
    bool coeff(const int& k, const int& atom, const QString& label, float& value) const;
    static QString getAtomicOrbital(const int& j);

    QVector<MolecularOrbitalVEC> molecularOrbitals;
    QString fileName;
    int coordNumber = 0;
    int occupiedLevels = 0;
    int atomsNumber = 0;
    QStringList atomLabels;
    QVector<double> superDeslocalizability;
    QVector<double> atomicCharge;
};

#endif
