#ifndef ORVANEOMEGAEXPREPORTLINES_H
#define ORVANEOMEGAEXPREPORTLINES_H

#include "orvaneengine_export.h"

#include <QString>

#include <optional>

// The lines of the experimental intensity report (.orvaneexp) that the
// calculation form reads back, written and read here together, and the
// reader of the experimental side file (.expdata) that a chemist writes by
// hand beside a MOPAC output.
namespace OrvaneOmegaExpReport {

// "omega(2)" and "omega(4)": a line holding one gives that parameter.
ORVANEENGINE_EXPORT QString omegaKey(int lambda);
// A line holding it gives the lifetime.
ORVANEENGINE_EXPORT extern const QLatin1String lifeTimeKey;
// The unit written after the lifetime, removed when it is read.
ORVANEENGINE_EXPORT extern const QLatin1String lifeTimeUnit;

// "    omega(2) =" and the value in units of 1e-20 cm^2, two decimals
// right-aligned in 7 characters, then "e-20 cm^2 " and the line end.
ORVANEENGINE_EXPORT QString omegaLine(int lambda, double value);
// "    Experimental Lifetime Used = " and the lifetime in ms with four
// decimals, then " ms" and the line end.
ORVANEENGINE_EXPORT QString lifeTimeLine(double milliseconds);

struct Omegas
{
    std::optional<double> omega2; // units of 1e-20 cm^2
    std::optional<double> omega4;
};

// Omega2 and Omega4 of the report `fileName`: every line holding a key is
// read (a later one overrides an earlier one), its third blank-separated
// field with "e-20" removed; a key line with fewer fields gives nothing, a
// value that is no number reads 0. False when the file cannot be opened.
ORVANEENGINE_EXPORT bool readOmegas(const QString& fileName, Omegas& omegas);

// The lifetime in ms of the report `fileName`, from the first line holding
// the key: its second "="-separated field with "ms" removed (0 when it is no
// number). Empty when the file cannot be opened, holds no such line, or that
// line has no second field.
ORVANEENGINE_EXPORT std::optional<double> readLifeTime(const QString& fileName);

} // namespace OrvaneOmegaExpReport

// The experimental side file: its first line holds a label and Omega2 and
// Omega4 in units of 1e-20 cm^2, separated by blanks ("Eu 10.5 4.2").
namespace OrvaneExpDataFile {

// The first line as it is read: `label`, Omega2 and Omega4, and the line end.
ORVANEENGINE_EXPORT QString text(const QString& label, double omega2, double omega4);

// Fields 2 and 3 of the first line (a value that is no number reads 0).
// False, leaving the values as they were, when the file cannot be opened, is
// empty, or its first line has fewer than three fields.
ORVANEENGINE_EXPORT bool read(const QString& fileName, double& omega2, double& omega4);

} // namespace OrvaneExpDataFile

#endif
