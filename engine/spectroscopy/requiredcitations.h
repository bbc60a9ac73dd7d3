#ifndef REQUIREDCITATIONS_H
#define REQUIREDCITATIONS_H

#include "orvaneengine_export.h"

#include <QString>

// The literature block that ends every report of the spectroscopic forms: the
// works the user must cite for the methods a run used. None of these
// functions keeps state between calls; `requiredCitations` with program 1 also
// writes its text to a file beside the input, as said below. The references
// themselves live in one table in requiredcitations.cpp.

// The blocks chosen by the program (1: the Sparkle reference alone, written
// beside the input as "!Required_Citations.orv"; 2: ORCA with INDO/S-CIS
// excited states; 3: the spectroscopic modules), the module (2 intensity
// parameters, 3 energy transfer, 4 absorption spectrum) and the options of the
// run. Any other program or module gives the empty text.
//
// Program 1 returns its text even when the file cannot be written; the reason
// is then left in `writeFailure` when one is given (and cleared on success).
ORVANEENGINE_EXPORT QString requiredCitations(const int& program, const int& module, const QString& inputFile,
                                              const int& transferModel, const bool& quantumYield, const bool& qdc,
                                              const bool& aradPartition, QString* writeFailure = nullptr);

// The Sparkle heading, an empty line and the reference of the Sparkle model
// named in the MOPAC output beside `inputFile` (the same path with the
// extension of the file name replaced by "out"). The first output line naming
// a lanthanide Sparkle ("Eu: (AM1):" and alike) decides; so does MOPAC 22's
// block of PM7 Sparkle references, which has no such line. With neither, or
// no readable output, the heading and the empty line alone.
ORVANEENGINE_EXPORT QString sparkleCitation(const QString& inputFile);

// The short reference of energy-transfer model 0, 1 or 2 (the references of
// model 2 joined by "; "), each part a line of that model's block in
// `requiredCitations`; the transfer window labels its model choices with it.
// Any other model gives the empty text.
ORVANEENGINE_EXPORT QString transferModelReference(const int& transferModel);

#endif
