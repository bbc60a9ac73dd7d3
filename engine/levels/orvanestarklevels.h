#ifndef ORVANESTARKLEVELS_H
#define ORVANESTARKLEVELS_H

#include "orvanebkq.h"
#include "orvaneengine_export.h"

#include <QString>
#include <QVector>

#include <Eigen/Dense>

#include <complex>

// Stark sublevels of the 7F_J levels (J = 0..6) of Eu(III) in the ligand field
// of a geometry: for each J the (2J+1) x (2J+1) matrix over M = -J..J built
// from B(k,q), k = 2, 4, 6, and its eigenvalues (cm^-1, relative to the
// barycentre of the level). Plain value class with no error channel.
class ORVANEENGINE_EXPORT OrvaneStarkLevels
{
public:
    static constexpr int maxJ = 6;

    // Reads the geometry through its own OrvaneBkq.
    OrvaneStarkLevels(const QString& fileName, const int& coordNumber);
    // A copy gets its own OrvaneBkq and shares the caller's charge factors.
    OrvaneStarkLevels(const OrvaneStarkLevels&) = default;
    OrvaneStarkLevels& operator=(const OrvaneStarkLevels&) = default;
    ~OrvaneStarkLevels() = default;

    // The caller's array, indexed by ligand 1..N; not owned.
    void setChargeFactors(double*& g);
    void setRO0(const double& ro0) { RO0 = ro0; }
    // Rebuilds the matrices and sublevels of every J. Without charge factors
    // every matrix is zero.
    void calculateStarkLevels();
    // Sublevels of 7F_J in the order of the eigen-solver (not sorted); empty
    // for J outside 0..6 or before the first calculation.
    QVector<double> getStarkLevels(const int& J) const;
    // The matrix of 7F_J (row M+J, column M'+J); 0 x 0 when there is none.
    Eigen::MatrixXcd getEnergeticMatrix(const int& J) const;
    QString getAtomLabel(const int& i) const { return bkq.getAtomLabel(i); }
    const OrvaneBkq& getBkq() const { return bkq; }

    // Signed reduced matrix element <7F_J||U(k)||7F_J>, k = 2, 4, 6: the
    // tabulated intermediate-coupling magnitude with the sign of the element;
    // 0 for any other k or J.
    static double U(const int& k, const int& J);

private:
    std::complex<double> H(const int& J, const int& M, const int& Mp) const;

    OrvaneBkq bkq;
    QString fileName;
    int coordNumber = 0;
    double RO0 = OrvaneBkq::defaultRO0;
    double* chargeFactors = nullptr;
    QVector<Eigen::MatrixXcd> energeticMatrices;
    QVector<QVector<double>> starkLevels;
};

#endif
