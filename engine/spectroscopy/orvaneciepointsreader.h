#ifndef ORVANECIEPOINTSREADER_H
#define ORVANECIEPOINTSREADER_H

#include "orvaneengine_export.h"

#include <QString>
#include <QVector>

class OrvaneLineReader;

// One coloured point of the chromaticity diagram.
struct OrvaneCiePoint
{
    double x = 0.0;
    double y = 0.0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The points file of the chromaticity diagram ("CIEpoints.txt"): three
// header lines, then one row a point of fields separated by blanks (runs of
// blanks count as one; tabs do not separate): x and y in fields 1 and 2, red,
// green and blue (0 to 255) in fields 7 to 9. Text that is no number reads
// as 0; rows with fewer than nine fields (blank lines among them) are no
// points and are counted.
class ORVANEENGINE_EXPORT OrvaneCiePointsReader
{
public:
    static constexpr int headerLines = 3;
    static constexpr int fieldsPerRow = 9;

    // False, with the reason in getLastError(), when the file cannot be read.
    bool readFile(const QString& fileName);
    void read(OrvaneLineReader& reader);

    const QVector<OrvaneCiePoint>& getPoints() const { return points; }
    int getSkippedRows() const { return skippedRows; }
    QString getLastError() const { return lastError; }

private:
    QVector<OrvaneCiePoint> points;
    int skippedRows = 0;
    QString lastError;
};

#endif
