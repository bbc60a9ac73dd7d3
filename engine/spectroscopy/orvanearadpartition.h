#ifndef ORVANEARADPARTITION_H
#define ORVANEARADPARTITION_H

#include "ligand.h"
#include "orvaneabstractobjcalculation.h"
#include "orvaneeu3model.h"
#include "orvanerecords.h"

#include <Eigen/Dense>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class OrvaneInputData;

// Chemical partition of the forced-electric-dipole radiative rate of the 5D0
// level: Arad(ED) = sum_lambda A_lambda Omega_lambda written as a double sum
// over pairs of coordinating atoms (the same model and constants as the
// intensity parameters), split into one share per atom through the
// eigenvectors of the atom-pair matrix, and into shares of named ligands.
//
// Atom 1 of the molecule is the Eu ion, the N coordinating atoms are atoms 2 to
// N+1. The molecule and the g and alpha arrays belong to the caller and must
// outlive the object. Atom numbers and ligand indices outside their ranges
// give 0 or an empty ligand.
class ORVANEENGINE_EXPORT OrvaneAradPartition : public OrvaneAbstractObjCalculation
{
    friend class OrvaneOmega;

public:
    // N outside 0..28, or past the molecule's atoms, is refused: the last
    // error says why and the object then holds no coordinating atom.
    OrvaneAradPartition(QObject* parent, OrvaneInputData*& inputData, const int& coordNumber,
        const double& refractiveIndex);
    ~OrvaneAradPartition() override;

    void setChargeFactorAndAlpha(double*& g, double*& alphaValues);

    // Appends one ligand per line ("name atom atom ..."); an empty line ends
    // the list. Every atom must be a coordinating atom: otherwise nothing is
    // appended, the last error names the line, and the result is false.
    bool setLigandsVector(const QStringList& lines);
    // The same from the file named like fileName with its suffix "ligands".
    bool setLigandsVector(const QString& fileName);

    // Share of each atom (row a of M is atom a+2): one row, M.rows() columns.
    Eigen::MatrixXd calculatePartition(const Eigen::MatrixXd& M);

    double aradByAtom(const int& i, const int& j) const;
    double aradLambdaByAtom(const int& lambda, const int& i, const int& j) const;
    double aradByLigand(const int& l1, const int& l2) const;
    double getSumByAtom(const int& i) const;
    double getSumByLigand(const int& l) const;
    Ligand getLigand(const int& atom) const;
    QVector<int> getLigandAtoms(const int& l) const;
    QString getLigandsName(const int& l) const;
    int getLigandsNumber() const { return ligands.size(); }
    int getCoordNumber() const { return coordNumber; }

private:
    bool isDonor(const int& i) const { return i >= 2 && i <= coordNumber + 1; }
    bool isLigand(const int& l) const { return l >= 0 && l < ligands.size(); }
    bool parseLigandLines(const QStringList& lines);

    double K(const int& lambda, const int& t, const int& i) const;
    MyComplex Q(const int& lambda, const int& t, const int& p, const int& i, const int& j) const;
    double E(const int& lambda, const int& i, const int& j) const;
    double EL(const int& lambda, const int& l1, const int& l2) const;
    double EL(const int& lambda, const int& l) const;
    double AL(const int& lambda, const int& l1, const int& l2) const;
    double calcConstArad(const int& lambda) const;
    static double tet(const int& t, const int& lambda);

    int coordNumber = 0;
    double deltaE = 0.0;
    double refractiveIndex = 1.5;
    std::array<double, OrvaneEu3Model::atomArraySize> ro {};
    double* chargeFactor = nullptr;
    double* alpha = nullptr;
    std::array<double, OrvaneEu3Model::atomArraySize> beta {};
    std::array<double, 9> radialIntegral {};
    std::array<double, 7> shieldingFactor {};
    std::array<double, 7> racahTensor {};
    OrvaneInputData* inputData = nullptr;
    QVector<Ligand> ligands;
};

#endif
