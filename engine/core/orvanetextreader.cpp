#include "orvanetextreader.h"

#include "orvanereportfile.h"

#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace OrvaneText {

QStringList splitFields(const QString& line)
{
    QStringList fields;
    const int n = line.size();
    int start = -1;
    for (int i = 0; i < n; ++i) {
        const QChar c = line.at(i);
        const bool blank = c == QLatin1Char(' ') || c == QLatin1Char('\t');
        if (blank) {
            if (start >= 0) {
                fields.append(line.mid(start, i - start));
                start = -1;
            }
        } else if (start < 0) {
            start = i;
        }
    }
    if (start >= 0)
        fields.append(line.mid(start));
    return fields;
}

bool toFiniteNumber(const QString& text, double& value)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok); // QString::toDouble is locale-independent
    if (!ok || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

double toNumber(const QString& text)
{
    double value = 0.0;
    return toFiniteNumber(text, value) ? value : 0.0;
}

bool toFiniteNumber(const char* bytes, int size, double& value)
{
    // Plain decimals: -?digits(.digits)?([eE][+-]?digits)?, which every
    // correctly rounded reader turns into the same double. Anything else
    // (signs, blanks, non-ASCII bytes, out-of-range values) takes the text
    // route, so both give the same answer.
    int i = 0;
    auto digits = [&] {
        const int start = i;
        while (i < size && bytes[i] >= '0' && bytes[i] <= '9')
            ++i;
        return i > start;
    };
    bool plain = size > 0 && size <= 64;
    if (plain && bytes[i] == '-')
        ++i;
    plain = plain && digits();
    if (plain && i < size && bytes[i] == '.') {
        ++i;
        plain = digits();
    }
    if (plain && i < size && (bytes[i] == 'e' || bytes[i] == 'E')) {
        ++i;
        if (i < size && (bytes[i] == '+' || bytes[i] == '-'))
            ++i;
        plain = digits();
    }
    if (plain && i == size) {
        double number = 0.0;
        const std::from_chars_result result = std::from_chars(bytes, bytes + size, number);
        if (result.ec == std::errc() && result.ptr == bytes + size && std::isfinite(number)) {
            value = number;
            return true;
        }
    }
    return toFiniteNumber(QString::fromLatin1(bytes, size), value);
}

double toNumber(const char* bytes, int size)
{
    double value = 0.0;
    return toFiniteNumber(bytes, size, value) ? value : 0.0;
}

int toInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

int toTruncatedInteger(const QString& text)
{
    const double value = std::trunc(toNumber(text));
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

QString field(const QStringList& fields, int k)
{
    return (k >= 1 && k <= fields.size()) ? fields.at(k - 1) : QString();
}

double numberField(const QStringList& fields, int k)
{
    return toNumber(field(fields, k));
}

int integerField(const QStringList& fields, int k)
{
    return toInteger(field(fields, k));
}

bool isBlank(const QString& line)
{
    for (const QChar c : line)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace OrvaneText

OrvaneLineReader::OrvaneLineReader(const QString& fileName)
    : file(fileName)
{
    // Only regular files: a device such as /dev/zero never ends and a pipe
    // blocks the opening, either of which would freeze the program.
    if (!fileName.isEmpty() && QFileInfo(fileName).isFile())
        file.open(QIODevice::ReadOnly);
}

QString OrvaneLineReader::openFailure(const QString& missingText) const
{
    const QString name = file.fileName();
    if (name.isEmpty() || !QFileInfo::exists(name))
        return missingText;
    const QString notRegular = OrvaneReportFile::notRegularReason(name);
    if (!notRegular.isEmpty())
        return notRegular;
    return name + QStringLiteral(" could not be read: ") + file.errorString();
}

QString OrvaneLineReader::tableSizeFailure() const
{
    if (!file.isOpen() || file.size() < maxTableBytes)
        return QString();
    return file.fileName() + QStringLiteral(" could not be read: it has %1 MiB or more, far more than a table of "
                                            "this kind holds.")
                                 .arg(maxTableBytes >> 20);
}

bool OrvaneLineReader::atEnd() const
{
    return !file.isOpen() || (blockPos >= blockEnd && file.atEnd());
}

bool OrvaneLineReader::fill()
{
    // Large blocks and one search for the line end per line: asking the
    // device line by line costs more than the readers' own work.
    constexpr int blockSize = 1 << 18;
    if (block.size() != blockSize)
        block.resize(blockSize);
    const qint64 read = file.read(block.data(), blockSize);
    blockPos = 0;
    blockEnd = read > 0 ? static_cast<int>(read) : 0;
    return blockEnd > 0;
}

bool OrvaneLineReader::nextLine()
{
    rawData = nullptr;
    rawSize = 0;
    if (!file.isOpen())
        return false;
    // A line holds at most maxLineLength - 1 bytes with its line end; the
    // rest of a longer line comes as the following lines.
    const int cap = static_cast<int>(maxLineLength) - 1;
    int used = 0;
    bool whole = false; // the line lies in the block, nothing copied
    longLine.clear();
    for (;;) {
        // A device error leaves the file short of its end: reading on would
        // return nothing forever.
        if (blockPos >= blockEnd && !fill()) {
            if (used == 0)
                return false;
            break;
        }
        const char* start = block.constData() + blockPos;
        const int limit = std::min(blockEnd - blockPos, cap - used);
        const void* end = std::memchr(start, '\n', static_cast<std::size_t>(limit));
        const int take = end ? static_cast<int>(static_cast<const char*>(end) - start) + 1 : limit;
        const bool complete = end != nullptr || used + take >= cap;
        blockPos += take;
        if (used == 0 && complete) {
            rawData = start;
            used = take;
            whole = true;
            break;
        }
        longLine.append(start, static_cast<std::size_t>(take));
        used += take;
        if (complete)
            break;
    }
    if (!whole)
        rawData = longLine.data();
    int size = used;
    if (size > 0 && rawData[size - 1] == '\n')
        --size;
    if (size > 0 && rawData[size - 1] == '\r')
        --size;
    // A UTF-8 byte-order mark opens files saved by Windows editors.
    if (linesRead == 0 && size >= 3 && qstrncmp(rawData, "\xEF\xBB\xBF", 3) == 0) {
        rawData += 3;
        size -= 3;
    }
    rawSize = size;
    ++linesRead;
    return true;
}

bool OrvaneLineReader::lineHas(const char* marker) const
{
    const std::size_t length = std::strlen(marker);
    if (length == 0)
        return true;
    if (rawSize < static_cast<int>(length))
        return false;
    return memmem(rawData, static_cast<std::size_t>(rawSize), marker, length) != nullptr;
}

bool OrvaneLineReader::readLine(QString& line)
{
    line.clear();
    if (!nextLine())
        return false;
    line = decode(rawData, rawSize);
    return true;
}

QString OrvaneLineReader::decode(const char* bytes, int size)
{
    bool ascii = true;
    for (int i = 0; i < size; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(bytes, size);
    // UTF-8 when the line is valid UTF-8, else Latin-1 (files written on
    // Windows machines): the decoder marks invalid bytes with U+FFFD, which a
    // valid line holds only when it spells that character itself.
    QString text = QString::fromUtf8(bytes, size);
    if (text.contains(QChar::ReplacementCharacter)
        && QByteArray::fromRawData(bytes, size).indexOf("\xEF\xBF\xBD") < 0)
        text = QString::fromLatin1(bytes, size);
    return text;
}

QString OrvaneLineReader::readLine()
{
    QString line;
    readLine(line);
    return line;
}

bool OrvaneLineReader::readUpTo(const QString& marker, QString& line)
{
    bool ascii = true;
    for (const QChar c : marker)
        ascii = ascii && c.unicode() < 0x80;
    if (!ascii) {
        while (readLine(line))
            if (line.contains(marker))
                return true;
        return false;
    }
    const QByteArray bytes = marker.toLatin1();
    line.clear();
    while (nextLine()) {
        if (lineHas(bytes.constData())) {
            line = lineText();
            return true;
        }
    }
    return false;
}

bool OrvaneLineReader::skipLines(int count)
{
    // Skipped lines are never decoded.
    for (int i = 0; i < count; ++i)
        if (!nextLine())
            return false;
    return true;
}
