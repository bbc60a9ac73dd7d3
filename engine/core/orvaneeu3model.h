#ifndef ORVANEEU3MODEL_H
#define ORVANEEU3MODEL_H

// Constants of the Eu(III) ion shared by the intensity parameters, the
// partition of the radiative rate, the experimental parameters, the transfer
// rates, the ligand-field parameters and the input checks (the coordination
// limit), so that they can never disagree. It sits in core, below every
// layer that uses it.
namespace OrvaneEu3Model {

// pi as the published formulas print it; results are compared with
// published numbers.
constexpr double pi = 3.14159265359;

constexpr double elementaryCharge = 4.803204505713468e-10; // esu
// e^2 as a literal: the odd-rank ligand-field term has always used this value.
constexpr double elementaryChargeSquared = 2.307077352370616e-19;
constexpr double fourPi = 4.0 * pi;
static_assert(fourPi == 12.56637061436, "4 pi is the printed value");
constexpr double angstromToCm = 1e-8;
constexpr double bohrRadius = 5.2917721092e-9; // cm
constexpr double deltaE = -2.383392e-11;       // erg; the sign is part of the model
// erg to cm^-1 as the ligand-field parameters B(k,q) have always been converted.
constexpr double ergToWavenumber = 5.035e15;
// The per-atom arrays are indexed by atom number up to 29.
constexpr int atomArraySize = 30;
constexpr int maxCoordNumber = atomArraySize - 2;

// <r^k> in cm^k, k = 2, 4, 6, 8 (a0 raised to the integer power k).
inline double radialIntegral(int k)
{
    const double a2 = bohrRadius * bohrRadius;
    switch (k) {
    case 2: return 0.9175 * a2;
    case 4: return 2.02 * a2 * a2;
    case 6: return 9.039 * a2 * a2 * a2;
    case 8: return 110.03237 * a2 * a2 * a2 * a2;
    default: return 0.0;
    }
}

// Shielding factor sigma_k, k = 2, 4, 6.
inline double shieldingFactor(int k)
{
    switch (k) {
    case 2: return 0.6;
    case 4: return 0.139;
    case 6: return 0.1;
    default: return 0.0;
    }
}

// Reduced matrix element <f||C(k)||f>, k = 2, 4, 6.
inline double racahTensor(int k)
{
    switch (k) {
    case 2: return -1.366;
    case 4: return 1.128;
    case 6: return -1.2774;
    default: return 0.0;
    }
}

// theta(t, lambda) of Eu(III); every pair not listed is 0.
inline double theta(int t, int lambda)
{
    switch (t * 10 + lambda) {
    case 12: return -0.17;
    case 32: return 0.345;
    case 34: return 0.18;
    case 54: return -0.24;
    case 56: return -0.24;
    case 76: return 0.24;
    default: return 0.0;
    }
}

} // namespace OrvaneEu3Model

#endif
