#include "orvanetextbytes.h"

#include <QTextCodec>

namespace OrvaneTextBytes {

namespace {

using Charset = Encoding::Charset;

const QByteArray utf8Mark("\xEF\xBB\xBF");
const QByteArray utf16LeMark("\xFF\xFE");
const QByteArray utf16BeMark("\xFE\xFF");

bool isUtf16(const Charset charset)
{
    return charset == Charset::Utf16Le || charset == Charset::Utf16Be;
}

// The position of the first character that `charset` cannot hold, or -1: a
// character beyond Latin-1, or half of a surrogate pair, which none holds.
int unwritableAt(const QString& text, const Charset charset)
{
    const bool latin1 = charset == Charset::Latin1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (latin1)
                return i;
            ++i;
        } else if (c.isSurrogate() || (latin1 && c.unicode() > 0xFF)) {
            return i;
        }
    }
    return -1;
}

QString unwritableReason(const QString& text, const int at, const Charset charset)
{
    const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    const uint code = pair ? QChar::surrogateToUcs4(text.at(at), text.at(at + 1)) : text.at(at).unicode();
    const int line = text.leftRef(at).count(QLatin1Char('\n')) + 1;
    const QString name = charset == Charset::Latin1 ? QStringLiteral("Latin-1 (ISO 8859-1)")
                         : isUtf16(charset)         ? QStringLiteral("UTF-16")
                                                    : QStringLiteral("UTF-8");
    return QStringLiteral("Line %1 holds the character \"%2\" (U+%3), which %4 cannot hold. The file is saved "
                          "in the encoding it was read in; replace that character and save again.")
        .arg(QString::number(line), text.mid(at, pair ? 2 : 1),
             QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0')), name);
}

// The UTF-16 text of the bytes after their two-byte mark; false when they
// are not UTF-16 (an odd count, half of a surrogate pair).
bool fromUtf16(const QByteArray& bytes, const bool bigEndian, QString& text)
{
    const int size = bytes.size() - 2;
    if (size % 2 != 0)
        return false;
    const auto* units = reinterpret_cast<const uchar*>(bytes.constData()) + 2;
    text.resize(size / 2);
    for (int i = 0; i < text.size(); ++i) {
        const uchar first = units[2 * i];
        const uchar second = units[2 * i + 1];
        text[i] = bigEndian ? QChar(second, first) : QChar(first, second);
    }
    return unwritableAt(text, Charset::Utf16Le) < 0;
}

QByteArray toUtf16(const QString& text, const bool bigEndian)
{
    QByteArray bytes;
    bytes.reserve(2 * text.size());
    for (const QChar c : text) {
        const char high = static_cast<char>(c.row());
        const char low = static_cast<char>(c.cell());
        bytes.append(bigEndian ? high : low);
        bytes.append(bigEndian ? low : high);
    }
    return bytes;
}

// The text of the bytes with line ends as they are, and how they spell it.
QString decodedAsIs(const QByteArray& bytes, Encoding& encoding)
{
    for (const Charset charset : {Charset::Utf16Le, Charset::Utf16Be}) {
        const bool bigEndian = charset == Charset::Utf16Be;
        QString text;
        if (bytes.startsWith(bigEndian ? utf16BeMark : utf16LeMark) && fromUtf16(bytes, bigEndian, text)) {
            encoding = {charset, true};
            return text;
        }
    }
    encoding.byteOrderMark = bytes.startsWith(utf8Mark);
    const int start = encoding.byteOrderMark ? utf8Mark.size() : 0;
    // Only the mark found above is dropped, never one further on.
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData() + start,
                                                                         bytes.size() - start, &state);
    if (state.invalidChars == 0 && state.remainingChars == 0) {
        encoding.charset = Charset::Utf8;
        return text;
    }
    // Its three bytes are Latin-1 text then. The size is given: a NUL byte
    // ends nothing.
    encoding = {Charset::Latin1, false};
    return QString::fromLatin1(bytes.constData(), bytes.size());
}

} // namespace

QString decode(const QByteArray& bytes, Encoding& encoding)
{
    QString text = decodedAsIs(bytes, encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool encode(const QString& text, const Encoding& encoding, QByteArray& bytes, QString& reason)
{
    bytes.clear();
    const int unwritable = unwritableAt(text, encoding.charset);
    if (unwritable >= 0) {
        reason = unwritableReason(text, unwritable, encoding.charset);
        return false;
    }
    switch (encoding.charset) {
    case Charset::Latin1:
        bytes = text.toLatin1();
        break;
    case Charset::Utf8:
        bytes = text.toUtf8();
        if (encoding.byteOrderMark)
            bytes.prepend(utf8Mark);
        break;
    case Charset::Utf16Le:
    case Charset::Utf16Be: {
        const bool bigEndian = encoding.charset == Charset::Utf16Be;
        bytes = toUtf16(text, bigEndian);
        if (encoding.byteOrderMark)
            bytes.prepend(bigEndian ? utf16BeMark : utf16LeMark);
        break;
    }
    }
    return true;
}

} // namespace OrvaneTextBytes
