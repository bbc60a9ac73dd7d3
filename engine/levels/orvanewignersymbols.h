#ifndef ORVANEWIGNERSYMBOLS_H
#define ORVANEWIGNERSYMBOLS_H

#include "orvaneengine_export.h"

// Wigner 3j and 6j symbols by Racah's closed-form sums over a table of
// factorials. Angular momenta and projections are doubles holding integers or
// half-integers. The class has no instances.
//
// The factorial table holds 0! to 169! (170! overflows a double). A symbol
// whose sums would need a factorial beyond 169! is returned as 0: none of the
// angular momenta of 4f^N ions comes near, so such a call is a caller's error
// and a zero keeps it out of any matrix element.
class ORVANEENGINE_EXPORT OrvaneWignerSymbols
{
public:
    OrvaneWignerSymbols() = delete;

    static constexpr int factorialCount = 170;

    // (j1 j2 j3; m1 m2 m3); 0 when an argument is not a multiple of 1/2, a
    // j + m is not an integer, the triangle fails, the m do not sum to 0 or an
    // |m| exceeds its j.
    static double calcThreeJSymbol(const double& j1, const double& j2, const double& j3,
                                   const double& m1, const double& m2, const double& m3);
    // {j1 j2 j3; j4 j5 j6}; 0 when one of the triads (j1 j2 j3), (j4 j5 j3),
    // (j1 j5 j6), (j4 j2 j6) fails the triangle. Triads with a half-integer sum
    // are not checked: their value means nothing and callers never pass them.
    static double calcSixJSymbol(const double& j1, const double& j2, const double& j3,
                                 const double& j4, const double& j5, const double& j6);

private:
    friend struct OrvaneWignerSymbolsProbe; // lets the tests watch the table being filled

    static void calcFact();
    // Fills the table exactly once, also when several threads ask at the same time.
    static void ensureFactorials();
    static int triangleConditions(const double& a, const double& b, const double& c);
    // Delta(a b c) = (a-b+c)! (a+b-c)! (-a+b+c)! / (a+b+c+1)!
    static double delta(const double& a, const double& b, const double& c);

    static double fact[factorialCount];
    static int factFills;
};

#endif
