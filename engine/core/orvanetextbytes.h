#ifndef ORVANETEXTBYTES_H
#define ORVANETEXTBYTES_H

#include "orvaneengine_export.h"

#include <QByteArray>
#include <QString>

// The whole text of a file a user opens to read, edit and save again (a
// viewed output, a typed table such as the ligands of a partition), and the
// bytes it is saved as. A file is saved in the encoding it was read in, so
// that what the user did not touch keeps its bytes: inputs written on
// Windows are often Latin-1, some editors write UTF-16 with its mark. Only
// the line ends change: every one is read, and saved, as a line feed.
namespace OrvaneTextBytes {

struct Encoding
{
    // UTF-16 when the file begins with its byte-order mark and the rest is
    // valid UTF-16; else UTF-8 when the whole file is valid UTF-8; else
    // Latin-1, which every byte spells.
    enum class Charset { Utf8, Latin1, Utf16Le, Utf16Be };

    Charset charset = Charset::Utf8;
    bool byteOrderMark = false; // a UTF-8 file that begins with one; every UTF-16 file

    bool operator==(const Encoding& other) const
    {
        return charset == other.charset && byteOrderMark == other.byteOrderMark;
    }
    bool operator!=(const Encoding& other) const { return !(*this == other); }
};

// The text the bytes spell, with every line end (CRLF, CR, LF) a line feed
// and without the byte-order mark, and in `encoding` how they spell it.
// Every byte counts: a NUL is a character like any other.
ORVANEENGINE_EXPORT QString decode(const QByteArray& bytes, Encoding& encoding);

// The bytes of `text` in `encoding`, the mark first when it has one; the
// text is written as given. False, with the reason naming the character and
// its line, when the encoding cannot hold a character (a Greek letter typed
// into a Latin-1 file, half of a surrogate pair) rather than writing
// another one.
ORVANEENGINE_EXPORT bool encode(const QString& text, const Encoding& encoding, QByteArray& bytes, QString& reason);

} // namespace OrvaneTextBytes

#endif
