#ifndef ORVANEBKQ_H
#define ORVANEBKQ_H

#include "orvaneengine_export.h"
#include "orvanerecords.h"

#include <QString>
#include <QVector>

#include <vector>

// Ligand-field parameters B(k,q) (cm^-1) of a lanthanide complex in the simple
// overlap model. The geometry is a Cartesian MOPAC input: atom 1 the ion, atoms
// 2..N+1 the ligand atoms (ligand i = atom i+1). The caller supplies the charge
// factors g, indexed by ligand 1..N.
//
// Plain value class with no error channel: a missing file, missing atoms or a
// ligand on the ion leave those ligands without a contribution.
class ORVANEENGINE_EXPORT OrvaneBkq
{
public:
    // Reads the geometry and computes ro and beta with the scale 0.0801
    // (not the 0.05 of the intensity parameters).
    OrvaneBkq(const QString& fileName, const int& coordNumber);
    // Copies own their ro and beta and share the caller's charge factors.
    OrvaneBkq(const OrvaneBkq&) = default;
    OrvaneBkq& operator=(const OrvaneBkq&) = default;
    ~OrvaneBkq() = default;

    static constexpr double defaultRO0 = 0.0801;

    // ro_i = ro0 (rMin / r_i)^3.5; beta_i = 1/(1 + ro_i) for "O", 1/(1 - ro_i)
    // for "N", "Cl" and "F", 0 for any other label.
    void calculateRO(const double& ro0);
    // The caller's array, indexed by ligand 1..N; not owned.
    void setChargeFactor(double*& g);
    double getChargeFactor(const int& i) const;
    // N of the sums; kept within 0 and the N given at construction.
    void setCoordNumber(const int& n);
    int getCoordNumber() const { return coordNumber; }
    // Label of atom i of the geometry (0 the ion, i ligand i); empty when absent.
    QString getAtomLabel(const int& i) const;
    // Contribution of ligand i (1..N) to B(k,q); zero for a ligand without a
    // position, on the ion, or before the charge factors are set.
    MyComplex getBkq(const int& k, const int& q, const int& i) const;
    // B(k,q) summed over ligands 1..N.
    MyComplex getBkq(const int& k, const int& q) const;

    double getRo(const int& i) const;
    double getBeta(const int& i) const;
    double getRMin() const { return rMin; }
    double getRO0() const { return ro0; }
    CoordSPH getCoordSPH(const int& i) const;

private:
    void readMopFile();
    void convertToSPH(const int& n);

    double pi;
    double electronCharge;
    double bohrRadius;
    double ro0 = 0.0;
    double rMin = 100.0;
    QString fileName;
    int coordNumber = 0;
    int capacity = 0; // N given at construction: the size of the arrays
    std::vector<double> ro;
    double* chargeFactor = nullptr;
    std::vector<double> beta;
    double radialIntegral[9] = {};
    QVector<CoordSPH> coordSPH;
    QVector<Coord> coord;
};

#endif
