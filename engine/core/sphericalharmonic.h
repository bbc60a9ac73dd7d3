#ifndef SPHERICALHARMONIC_H
#define SPHERICALHARMONIC_H

#include "orvanerecords.h"

// Complex spherical harmonic Y_k^q(theta, phi) with the Condon-Shortley phase,
// for 1 <= k <= 7 and 0 <= q <= k, at the angles (degrees) of `position`; r and
// the label are not read. Callers form negative orders as
// Y_k^-q = (-1)^q conj(Y_k^q). Outside the domain the result is zero.
MyComplex sphericalHarmonic(const CoordSPH& position, const int& k, const int& q);

// Y_k^q for -k <= q <= k: negative orders as (-1)^|q| conj(Y_k^|q|).
MyComplex signedOrderHarmonic(const CoordSPH& position, const int& k, const int& q);

// Spherical position (Angstrom, degrees; phi in 0..360) of a point already
// shifted to the reference atom; the origin itself has r = theta = phi = 0.
// The label is left empty.
CoordSPH sphericalPosition(double x, double y, double z);

#endif
