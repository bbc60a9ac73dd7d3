#ifndef ORVANEREPORTFILE_H
#define ORVANEREPORTFILE_H

#include "orvaneengine_export.h"

#include <QString>

// Writes a report or generated input file as plain text. The file is replaced
// atomically, so a failed write never leaves a half-written file in place of
// the user's previous one; a failure is explained with the file name and the
// system's reason.
class ORVANEENGINE_EXPORT OrvaneReportFile
{
public:
    static bool write(const QString& fileName, const QString& text, QString& reason);
};

#endif
