#ifndef ORVANEREPORTFILE_H
#define ORVANEREPORTFILE_H

#include "orvaneengine_export.h"

#include <QPair>
#include <QString>
#include <QVector>

// Writes a report or generated input file as plain text. The file is replaced
// atomically, so a failed write never leaves a half-written file in place of
// the user's previous one; a failure is explained with the file name and the
// system's reason. Where the folder may not be written but the file may (a
// shared results folder), the file is written in place instead. Only regular
// files are replaced: a folder, FIFO or device of that name is refused.
class ORVANEENGINE_EXPORT OrvaneReportFile
{
public:
    static bool write(const QString& fileName, const QString& text, QString& reason);
    // Files that belong together (an input and its side file): every text is
    // written and checked before the first file is replaced, so a failure
    // leaves all previous files as they were.
    static bool writeAll(const QVector<QPair<QString, QString>>& files, QString& reason);
    // Empty when `fileName` is missing or a regular file; otherwise why it
    // cannot be written or read as one (a folder, a FIFO, a device).
    static QString notRegularReason(const QString& fileName);
};

#endif
