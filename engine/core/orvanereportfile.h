#ifndef ORVANEREPORTFILE_H
#define ORVANEREPORTFILE_H

#include "orvaneengine_export.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

// Writes a report, generated input or image file. The file is replaced
// atomically, so a failed write never leaves a half-written file in place of
// the user's previous one; a failure is explained with the file name and the
// system's reason. Where the folder may not be written but the file may (a
// shared results folder), the file is rewritten in place instead, and only
// after room for the whole new content has been reserved on the disk: a full
// disk refuses the write and leaves the previous file whole. Only regular
// files are replaced: a folder, FIFO or device of that name is refused.
class ORVANEENGINE_EXPORT OrvaneReportFile
{
public:
    // Text is written as UTF-8.
    static bool write(const QString& fileName, const QString& text, QString& reason);
    static bool write(const QString& fileName, const QByteArray& bytes, QString& reason);
    // Files that belong together (an input and its side file): every text is
    // written and checked before the first file is replaced, so a failure
    // leaves all previous files as they were.
    static bool writeAll(const QVector<QPair<QString, QString>>& files, QString& reason);
    // Empty when `fileName` is missing or a regular file; otherwise why it
    // cannot be written or read as one (a folder, a FIFO, a device).
    static QString notRegularReason(const QString& fileName);
};

#endif
