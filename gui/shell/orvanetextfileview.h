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

// How a file's text was stored. A view that saves a file writes it the same
// way, so that a file opened and saved unchanged keeps every byte: MOPAC and
// ORCA inputs written on Windows are often Latin-1 with CRLF line ends.
struct Encoding
{
    // UTF-8 when the whole file is valid UTF-8, else Latin-1.
    enum class Charset { Utf8, Latin1 };
    // The line end most of the file's lines have (LF with none, or on a tie
    // with LF); a file whose lines end in several ways is saved with that one.
    enum class LineEnd { Lf, CrLf, Cr };

    Charset charset = Charset::Utf8;
    bool byteOrderMark = false; // a UTF-8 file that begins with one
    LineEnd lineEnd = LineEnd::Lf;
};

// What a read tells besides the text: how the file was stored when it was
// read, and when it was not, the cause alone, for a message that names the
// file itself (the reason names it already).
struct ReadDetails
{
    Encoding encoding;
    QString cause;
};

// The file's text by the same rule, for a view that keeps its own text when
// a file is refused (a typed input); false with the reason. The text is read
// as UTF-8, or as Latin-1 when it is not valid UTF-8; a UTF-8 byte-order mark
// is dropped; CRLF becomes LF.
bool read(const QString& fileName, QString& text, QString& reason, ReadDetails* details = nullptr);

// Shows the file in the view; false, with the reason, when it is not shown.
bool show(QPlainTextEdit* view, const QString& fileName, QString& reason, ReadDetails* details = nullptr);

// Writes the view's text, as shown, to `fileName` in `encoding` (through the
// report writer); false with the reason when nothing was written. A character
// the encoding cannot hold (a Greek letter typed into a Latin-1 file) is
// refused, named with its line, rather than written as another one.
bool save(const QPlainTextEdit* view, const QString& fileName, const Encoding& encoding, QString& reason);

} // namespace OrvaneTextFileView

#endif
