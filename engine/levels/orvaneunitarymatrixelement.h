#ifndef ORVANEUNITARYMATRIXELEMENT_H
#define ORVANEUNITARYMATRIXELEMENT_H

#include "orvaneengine_export.h"
#include "orvanespectroscopictermutil.h"

class OrvaneEnergyLevels;

// Reduced matrix elements of the unit tensors U^(k) of a 4f^N ion between LS
// terms, between J levels of pure terms and between the intermediate-coupling
// levels of an OrvaneEnergyLevels object built for the same N, from its term
// and parentage tables. Past the half-filled shell (N >= 8) the tables are
// those of 14 - N and the elements take the hole factor -(-1)^k. The class has
// no instances; `levels` is never owned, and a null one gives 0.
class ORVANEENGINE_EXPORT OrvaneUnitaryMatrixElement
{
public:
    using Term = OrvaneSpectroscopicTermUtil::SpectroscopicTerm;

    OrvaneUnitaryMatrixElement() = delete;

    // <a||U(k)||b> between terms (0 for different spins).
    static double unitaryMatrixElement(const int& n, const double& k, const Term& a, const Term& b,
                                       OrvaneEnergyLevels* levels);
    // <a Ja||U(k)||b Jb> between J levels of pure LS terms.
    static double unitaryMatrixElementCouppling(const int& n, const double& k, const Term& a, const Term& b,
                                                OrvaneEnergyLevels* levels);
    // The same between the computed levels named by a and b, weighted by
    // their components; 0 when either level is not among the computed ones.
    static double mixedUnitaryMatrixElementCouppling(const int& n, const double& k, const Term& a,
                                                     const Term& b, OrvaneEnergyLevels* levels);
    // <a Ja||S||b Jb> within one term (0 between different terms).
    static double matrixElementSpinOperator(const Term& a, const Term& b);
    // Angular coefficient f_k of the Slater integral in the diagonal
    // electrostatic energy of a term. It multiplies the F^k integrals (the
    // unit tensors carry no D_k normalisation), not Condon-Shortley's F_k.
    static double calc_fk(const int& n, const double& k, const Term& term, OrvaneEnergyLevels* levels);
};

#endif
