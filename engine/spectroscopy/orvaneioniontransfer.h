#ifndef ORVANEIONIONTRANSFER_H
#define ORVANEIONIONTRANSFER_H

#include "orvaneengine_export.h"

#include <QString>

// Energy transfer between two lanthanide ions of one structure (a Tb(III)
// donor and an Eu(III) acceptor, for instance) by the dipole-dipole,
// quadrupole-quadrupole, dipole-quadrupole and exchange mechanisms. Pure
// functions: rates in s^-1, energies and half-widths in cm^-1, distances in cm
// unless a name says Angstrom.
namespace OrvaneIonIonTransfer {

// What the rates need of one ion in one level.
struct IonConstants
{
    double halfWidth = 0.0;          // band half-width gamma, cm^-1
    double shieldingDipole = 0.0;    // sigma
    double shieldingQuadrupole = 0.0; // sigma'
    double radialIntegral2 = 0.0;    // <r^2>, cm^2
    double u2 = 0.0;                 // squared reduced matrix element of U(2) of the level
};

// Constants of "Eu" or "Tb" in a level of the given J, with the band
// half-widths chosen for each ion; any other symbol gives zeros.
ORVANEENGINE_EXPORT IonConstants ionConstants(const QString& symbol, const int& J, const double& halfWidthEu,
                                              const double& halfWidthTb);

// Energy mismatch (cm^-1) between the donor and acceptor transitions of a
// Tb-Eu pair: Tb 5D4 (J = 4) into Eu 7F0 -> 5D0 (J = 0) or 7F1 -> 5D1
// (J = 1); 0 for every other pair, taken as resonant.
ORVANEENGINE_EXPORT double energyMismatch(const QString& donor, const QString& acceptor, const int& donorJ,
                                          const int& acceptorJ);

// Overlap (per erg) of two normalised Gaussian bands of half-widths gammaD
// and gammaA whose centres lie delta apart. Positive half-widths only.
ORVANEENGINE_EXPORT double overlapFactor(const double& delta, const double& gammaD, const double& gammaA);

// The multipolar rates; F from overlapFactor, Rc in cm.
ORVANEENGINE_EXPORT double rateDipoleDipole(const double& F, const double& sigmaD, const double& sigmaA,
                                            const int& donorJ, const int& acceptorJ, const double& Rc);
ORVANEENGINE_EXPORT double rateQuadrupoleQuadrupole(const double& F, const double& sigmaQD, const double& sigmaQA,
                                                    const int& donorJ, const int& acceptorJ, const double& Rc,
                                                    const double& r2D, const double& r2A, const double& u2D,
                                                    const double& u2A);
ORVANEENGINE_EXPORT double rateDipoleQuadrupole(const double& F, const double& sigmaD, const double& sigmaQA,
                                                const int& donorJ, const int& acceptorJ, const double& Rc,
                                                const double& r2A, const double& u2A);
// Overlap of the 4f shells of two lanthanide ions R Angstrom apart.
ORVANEENGINE_EXPORT double overlap4f4f(const double& angstrom);
// Exchange through that overlap.
ORVANEENGINE_EXPORT double rateExchange(const double& F, const double& angstrom);

// The four rates of a donor and an acceptor at R Angstrom, in the order
// dipole-dipole, quadrupole-quadrupole, dipole-quadrupole, exchange.
struct Rates
{
    double dd = 0.0;
    double qq = 0.0;
    double dq = 0.0;
    double ex = 0.0;
};
ORVANEENGINE_EXPORT Rates transferRates(const IonConstants& donor, const int& donorJ, const IonConstants& acceptor,
                                        const int& acceptorJ, const double& delta, const double& angstrom);

} // namespace OrvaneIonIonTransfer

#endif
