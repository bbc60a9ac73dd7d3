#ifndef ORVANELEVELSMATH_H
#define ORVANELEVELSMATH_H

#include "orvanespectroscopictermutil.h"

#include <cmath>

// Small helpers shared by the free-ion matrix elements. Internal to the engine.
namespace OrvaneLevelsMath {

// (-1)^x for an x that holds an integer (sums of half-integers included).
inline double phase(double x)
{
    return (std::llround(x) % 2 == 0) ? 1.0 : -1.0;
}

// Two records name the same term when S, L and index agree (J is not compared).
inline bool sameTerm(const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& a,
                     const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& b)
{
    return a.S == b.S && a.L == b.L && a.index == b.index;
}

} // namespace OrvaneLevelsMath

#endif
