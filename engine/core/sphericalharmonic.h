#ifndef SPHERICALHARMONIC_H
#define SPHERICALHARMONIC_H

#include "orvanerecords.h"

// Complex spherical harmonic Y_k^q(theta, phi) with the Condon-Shortley phase,
// for 1 <= k <= 7 and 0 <= q <= k, at the angles (degrees) of `position`; r and
// the label are not read. Callers form negative orders as
// Y_k^-q = (-1)^q conj(Y_k^q). Outside the domain the result is zero.
MyComplex sphericalHarmonic(const CoordSPH& position, const int& k, const int& q);

#endif
