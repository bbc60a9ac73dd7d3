#ifndef ORVANETEXTFILEVIEW_H
#define ORVANETEXTFILEVIEW_H

#include "orvanetextbytes.h"

#include <QString>
#include <QtGlobal>

class QPlainTextEdit;

// The one rule by which every page shows a user's file as text. A folder,
// FIFO or device is refused by its name before anything opens it (opening a
// FIFO waits for a writer for ever). A file of 100 MiB or more is not read
// into the view: its text and layout would take gigabytes; the calculations
// still read it through the engine. A file that is not shown leaves its view
// empty with the reason as the view's note, never the previous file's text.
namespace OrvaneTextFileView {

constexpr qint64 largeFileBytes = 100 * 1048576LL;

bool fitsInView(const qint64& bytes);

// How a file's text was stored (see OrvaneTextBytes). A view that saves a
// file writes it the same way, with line feeds.
using Encoding = OrvaneTextBytes::Encoding;

// What a read tells besides the text: how the file was stored when it was
// read, and when it was not, the cause alone, for a message that names the
// file itself (the reason names it already).
struct ReadDetails
{
    Encoding encoding;
    QString cause;
};

// The file's text by the same rule, for a view that keeps its own text when
// a file is refused (a typed input); false with the reason. The whole file
// is read as OrvaneTextBytes::decode reads it.
bool read(const QString& fileName, QString& text, QString& reason, ReadDetails* details = nullptr);

// Shows the file in the view; false, with the reason, when it is not shown.
bool show(QPlainTextEdit* view, const QString& fileName, QString& reason, ReadDetails* details = nullptr);

// Writes the view's text, as shown, to `fileName` in `encoding`, lines
// separated by a line feed (through the report writer); false with the
// reason when nothing was written. A character the encoding cannot hold (a
// Greek letter typed into a Latin-1 file) is refused, named with its line,
// rather than written as another one.
bool save(const QPlainTextEdit* view, const QString& fileName, const Encoding& encoding, QString& reason);

} // namespace OrvaneTextFileView

#endif
