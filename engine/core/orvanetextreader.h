#ifndef ORVANETEXTREADER_H
#define ORVANETEXTREADER_H

#include "orvaneengine_export.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <string>

// The one text-reading layer of the chemistry-file readers. Files come from
// Windows and Unix machines alike, from programs of many versions: lines lose
// their line end (LF or CRLF), fields are split at blanks with empty parts
// dropped, and numbers are read in the C locale, text that is not a finite
// number reading as 0.
namespace OrvaneText {

ORVANEENGINE_EXPORT QStringList splitFields(const QString& line);
ORVANEENGINE_EXPORT double toNumber(const QString& text);
// toNumber of the text these ASCII bytes spell, without building the text
// for the plain decimal numbers of the files.
ORVANEENGINE_EXPORT double toNumber(const char* bytes, int size);
// Whether the text (or the ASCII bytes) spells a finite number, read as the
// two toNumber above read it; `value` is set only then.
ORVANEENGINE_EXPORT bool toFiniteNumber(const QString& text, double& value);
ORVANEENGINE_EXPORT bool toFiniteNumber(const char* bytes, int size, double& value);
ORVANEENGINE_EXPORT int toInteger(const QString& text);
// The number of `text` truncated toward zero; 0 when it is not a number or
// its integer part lies outside the range of int.
ORVANEENGINE_EXPORT int toTruncatedInteger(const QString& text);
// Field k counted from 1; an empty text when the line has fewer fields.
ORVANEENGINE_EXPORT QString field(const QStringList& fields, int k);
// The number of field k counted from 1; 0 when the line has fewer fields.
ORVANEENGINE_EXPORT double numberField(const QStringList& fields, int k);
ORVANEENGINE_EXPORT int integerField(const QStringList& fields, int k);
// True for a line of nothing but white space.
ORVANEENGINE_EXPORT bool isBlank(const QString& line);

} // namespace OrvaneText

// Reads a text file line by line in one pass. Lines are capped in length so
// that a binary or corrupt file cannot exhaust memory; the rest of an
// over-long line is returned as the following lines. Only regular files are
// opened. A UTF-8 byte-order mark at the start is dropped; a line is read as
// UTF-8 when it is valid UTF-8 and as Latin-1 otherwise.
class ORVANEENGINE_EXPORT OrvaneLineReader
{
public:
    static constexpr qint64 maxLineLength = 1 << 20;
    // Readers that keep a whole file (small tables of levels, groups,
    // limits) refuse one of this size or more before reading it: what they
    // keep grows with every line, and no such table comes near it.
    static constexpr qint64 maxTableBytes = 1 << 20;

    explicit OrvaneLineReader(const QString& fileName);

    bool isOpen() const { return file.isOpen(); }
    // Why the file is not open: `missingText` when it does not exist, else
    // what it is instead of a regular file, or the system's reason.
    QString openFailure(const QString& missingText) const;
    // Why the open file is refused as a table (maxTableBytes or more); empty
    // when it is small enough.
    QString tableSizeFailure() const;
    bool atEnd() const;
    // Next line without its line end; false (and an empty line) at the end.
    bool readLine(QString& line);
    // Next line, empty at the end of the file.
    QString readLine();
    // Reads up to and including the first line that contains `marker` (case
    // sensitive), left in `line`; false when the file ends first.
    bool readUpTo(const QString& marker, QString& line);
    // Drops `count` lines; false when the file ends first.
    bool skipLines(int count);
    int lineNumber() const { return linesRead; }

    // The next line as bytes, without its line end (and without the
    // byte-order mark on line 1), not decoded: readers test their markers on
    // the bytes and decode only the lines they keep. The bytes stay valid
    // until the next read. False at the end of the file.
    bool nextLine();
    const char* lineData() const { return rawData; }
    int lineSize() const { return rawSize; }
    // Whether the line of nextLine() holds `marker`, a text of ASCII
    // characters: the same answer as the decoded line's contains(), since
    // neither UTF-8 nor Latin-1 spells an ASCII character with other bytes.
    bool lineHas(const char* marker) const;
    // The line of nextLine() decoded as readLine() decodes it.
    QString lineText() const { return decode(rawData, rawSize); }

private:
    static QString decode(const char* bytes, int size);
    // The next block of the file into `block`; false at the end or on a
    // device error.
    bool fill();

    QFile file;
    QByteArray block;    // bytes read from the file, blockPos to blockEnd not yet used
    int blockPos = 0;
    int blockEnd = 0;
    std::string longLine; // a line that spans blocks
    const char* rawData = nullptr;
    int rawSize = 0;
    int linesRead = 0;
};

#endif
