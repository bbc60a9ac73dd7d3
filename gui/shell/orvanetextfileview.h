#ifndef ORVANETEXTFILEVIEW_H
#define ORVANETEXTFILEVIEW_H

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

// The file's text by the same rule, for a view that keeps its own text when
// a file is refused (a typed input); false with the reason. The text is read
// as UTF-8, or as Latin-1 when it is not valid UTF-8; CRLF becomes LF.
bool read(const QString& fileName, QString& text, QString& reason);

// Shows the file in the view; false, with the reason, when it is not shown.
bool show(QPlainTextEdit* view, const QString& fileName, QString& reason);

} // namespace OrvaneTextFileView

#endif
