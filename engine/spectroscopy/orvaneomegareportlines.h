#ifndef ORVANEOMEGAREPORTLINES_H
#define ORVANEOMEGAREPORTLINES_H

#include "orvaneengine_export.h"

#include <QString>

#include <array>
#include <optional>

// The value lines of the theoretical intensity-parameter reports (.omega,
// and the same lines in .orvane), written and read here together: the
// calculation forms take the intensity parameters back from them, so a
// change of the written line is a change of what is read.
//
// A line is the name, "(", l, ") = " right-justified to 15 characters, then
// the value in units of 1e-20 cm^2 in fixed notation followed by "e-20 cm^2",
// right-justified to 15 characters. A reader finds a line by its key (the
// name, "(", l and ") =") anywhere in it and takes the third blank-separated
// field with "e-20" removed.
namespace OrvaneOmegaReport {

// Names of the three kinds of value lines; only omega and omegaED are read.
ORVANEENGINE_EXPORT extern const QLatin1String omegaName;
ORVANEENGINE_EXPORT extern const QLatin1String omegaEDName;
ORVANEENGINE_EXPORT extern const QLatin1String omegaDCName;
// The unit factor written right after each number, removed when it is read.
ORVANEENGINE_EXPORT extern const QLatin1String unitFactor;

// "omega(2) =" for (omegaName, 2).
ORVANEENGINE_EXPORT QString key(const QLatin1String& name, int lambda);
// One value line, with its line end; `value` in units of 1e-20 cm^2.
ORVANEENGINE_EXPORT QString valueLine(const QLatin1String& name, int lambda, double value, int decimals);

// The values read, in units of 1e-20 cm^2, in the order Omega2, Omega4,
// Omega6, OmegaED2, OmegaED4, OmegaED6; a key the report lacks stays empty.
using Values = std::array<std::optional<double>, 6>;

// Reads the value lines of the report `fileName`. Empty lines are skipped;
// a later line with the same key overrides an earlier one; reading stops
// after the line holding the last key (OmegaED6). A key line with fewer than
// three fields gives no value; a value that is no number reads 0. False,
// with the reason in `reason`, when the file cannot be opened.
ORVANEENGINE_EXPORT bool read(const QString& fileName, Values& values, QString& reason);

} // namespace OrvaneOmegaReport

#endif
