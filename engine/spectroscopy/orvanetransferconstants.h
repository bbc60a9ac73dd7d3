#ifndef ORVANETRANSFERCONSTANTS_H
#define ORVANETRANSFERCONSTANTS_H

#include "orvaneeu3model.h"

// Literal constants of the published energy-transfer and radiative-rate
// formulas, shared by the ligand-to-ion and the ion-to-ion rates. Results are
// compared with published numbers, so they stay exactly as printed there.
namespace OrvaneTransferConstants {

constexpr double pi = OrvaneEu3Model::pi;
constexpr double ln2 = 0.693147180559945;
constexpr double cmToInverseErg = 5.03411751e15; // 1 / (h c), erg^-1 per cm^-1
constexpr double twoPiOverHbar = 5.958044533407109e27;

} // namespace OrvaneTransferConstants

#endif
