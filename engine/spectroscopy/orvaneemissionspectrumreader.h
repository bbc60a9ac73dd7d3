#ifndef ORVANEEMISSIONSPECTRUMREADER_H
#define ORVANEEMISSIONSPECTRUMREADER_H

#include "orvaneengine_export.h"

#include <QString>
#include <QVector>

class OrvaneLineReader;

// A measured emission spectrum: a text file of wavelength (nm) and intensity
// pairs, one a line, as spectrometers export them. Blanks, tabs, commas and
// semicolons separate the fields; further fields are ignored. Header lines,
// blank lines and every other line that does not begin with two numbers are
// skipped and counted. The decimal comma is refused with its line number
// rather than guessed: "570,5 10" could be a wavelength of 570.5 or the two
// numbers 570 and 5. Wavelengths falling along the file are turned round;
// ones that go back and forth are refused, as are values that are not finite
// numbers, fewer than `minimumPoints` points, and a file whose lines are
// mostly not two numbers (a program's output chosen by mistake).
class ORVANEENGINE_EXPORT OrvaneEmissionSpectrumReader
{
public:
    static constexpr int minimumPoints = 10;

    // False with the reason in getLastError(); the points are then empty.
    bool readFile(const QString& fileName);
    bool read(OrvaneLineReader& reader);

    const QVector<double>& getWavelengths() const { return wavelengths; }
    const QVector<double>& getIntensities() const { return intensities; }
    // Lines that held no point: blank ones and those not beginning with two numbers.
    int getSkippedLines() const { return skippedLines; }
    // Whether the file listed the wavelengths falling (the points are rising now).
    bool wasDescending() const { return descending; }
    QString getLastError() const { return lastError; }

private:
    bool fail(const QString& reason);

    QVector<double> wavelengths;
    QVector<double> intensities;
    int skippedLines = 0;
    bool descending = false;
    QString lastError;
};

#endif
