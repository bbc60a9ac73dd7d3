#ifndef ORVANEELEMENTTABLES_H
#define ORVANEELEMENTTABLES_H

#include "orvaneengine_export.h"

#include <QString>

// The engine's element data (the graphical program keeps its own table for
// drawing). Symbols compare exactly: "Eu" has a row, "eu" and "EU" do not.
namespace OrvaneElements {

constexpr int elementCount = 103;

// Symbol of the given atomic number; empty outside 1..103. Row 103 reads "Lw".
ORVANEENGINE_EXPORT QString symbolFromAtomicNumber(const int& atomicNumber);
// Mass in atomic mass units of the first row whose symbol equals `symbol`.
ORVANEENGINE_EXPORT bool massOfSymbol(const QString& symbol, double& mass);

} // namespace OrvaneElements

#endif
