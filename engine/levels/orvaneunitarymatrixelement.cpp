#include "orvaneunitarymatrixelement.h"

#include "orvaneenergylevels.h"
#include "orvanelevelsmath.h"
#include "orvanewignersymbols.h"

#include <QDebug>

#include <cmath>

using OrvaneLevelsMath::phase;
using OrvaneLevelsMath::sameTerm;
using OrvaneSpectroscopicTermUtil::parseTermLabel;

namespace {

constexpr double l = 3.0;

// (-1)^(Lb + Sa + Ja + k) sqrt((2Ja+1)(2Jb+1)) {Ja Jb k; Lb La Sa}
double couplingFactor(const double& k, const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& a,
                      const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& b)
{
    return phase(b.L + a.S + a.J + k) * std::sqrt((2 * a.J + 1) * (2 * b.J + 1))
           * OrvaneWignerSymbols::calcSixJSymbol(a.J, b.J, k, b.L, a.L, a.S);
}

} // namespace

double OrvaneUnitaryMatrixElement::unitaryMatrixElement(const int& n, const double& k, const Term& a,
                                                        const Term& b, OrvaneEnergyLevels* levels)
{
    if (!levels || a.S != b.S)
        return 0.0;
    const int nEquivalent = n < 8 ? n : 14 - n;
    const double prefactor = nEquivalent * std::sqrt((2.0 * b.L + 1) * (2.0 * a.L + 1));
    const QVector<FractParentCoeff> pa = levels->getFractParentCoeffVector(a);
    const QVector<FractParentCoeff> pb = levels->getFractParentCoeffVector(b);
    double sum = 0.0;
    for (const FractParentCoeff& p : pa) {
        for (const FractParentCoeff& q : pb) {
            if (!sameTerm(p.parent, q.parent))
                continue;
            const double Lp = p.parent.L;
            sum += p.coefficient * q.coefficient * OrvaneWignerSymbols::calcSixJSymbol(a.L, l, Lp, l, b.L, k)
                   * phase(Lp + a.L + l + k);
        }
    }
    const double value = prefactor * sum;
    return n >= 8 ? -phase(k) * value : value;
}

double OrvaneUnitaryMatrixElement::unitaryMatrixElementCouppling(const int& n, const double& k, const Term& a,
                                                                 const Term& b, OrvaneEnergyLevels* levels)
{
    return couplingFactor(k, a, b) * unitaryMatrixElement(n, k, a, b, levels);
}

double OrvaneUnitaryMatrixElement::mixedUnitaryMatrixElementCouppling(const int& n, const double& k,
                                                                      const Term& a, const Term& b,
                                                                      OrvaneEnergyLevels* levels)
{
    if (!levels)
        return 0.0;
    const MixedState A = levels->getMixedStates(a);
    const MixedState B = levels->getMixedStates(b);
    double total = 0.0;
    for (const CoeffAndLabel& ci : A.components) {
        const Term ti = parseTermLabel(ci.label, true);
        for (const CoeffAndLabel& cj : B.components) {
            const Term tj = parseTermLabel(cj.label, true);
            const double value = couplingFactor(k, ti, tj) * unitaryMatrixElement(n, k, ti, tj, levels);
            const double weighted = ci.coefficient * cj.coefficient * value;
            qDebug().noquote() << ci.label << cj.label << value << weighted;
            total += weighted;
        }
    }
    return total;
}

double OrvaneUnitaryMatrixElement::matrixElementSpinOperator(const Term& a, const Term& b)
{
    if (!sameTerm(a, b))
        return 0.0;
    const double S = a.S;
    const double L = a.L;
    return phase(L + S + a.J + 1) * std::sqrt(S * (S + 1) * (2 * S + 1) * (2 * a.J + 1) * (2 * b.J + 1))
           * OrvaneWignerSymbols::calcSixJSymbol(S, a.J, L, b.J, S, 1.0);
}

double OrvaneUnitaryMatrixElement::calc_fk(const int& n, const double& k, const Term& term,
                                           OrvaneEnergyLevels* levels)
{
    if (!levels)
        return 0.0;
    double sum = 0.0;
    for (const Term& other : levels->getSpectroscopicTermVector()) {
        const double u = unitaryMatrixElement(n, k, term, other, levels);
        sum += u * u;
    }
    const double threeJ = OrvaneWignerSymbols::calcThreeJSymbol(l, k, l, 0.0, 0.0, 0.0);
    return 0.5 * (2 * l + 1) * (2 * l + 1) * threeJ * threeJ * (sum / (2.0 * term.L + 1) - n / (2 * l + 1));
}
