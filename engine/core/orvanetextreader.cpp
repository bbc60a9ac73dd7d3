#include "orvanetextreader.h"

#include "orvanereportfile.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
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

double toNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok); // QString::toDouble is locale-independent
    if (!ok || !std::isfinite(value))
        return 0.0;
    return value;
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

bool OrvaneLineReader::atEnd() const
{
    return !file.isOpen() || file.atEnd();
}

bool OrvaneLineReader::readLine(QString& line)
{
    line.clear();
    if (atEnd())
        return false;
    // The line grows in chunks in one buffer kept by the reader: asking the
    // device for a whole capped line would allocate the cap for every line.
    constexpr int chunk = 4096;
    int used = 0;
    for (;;) {
        const int room = static_cast<int>(std::min<qint64>(chunk, maxLineLength - used));
        if (room <= 1)
            break;
        buffer.resize(used + room);
        const qint64 read = file.readLine(buffer.data() + used, room);
        if (read <= 0) {
            // A device error leaves the file short of its end: reading on
            // would return nothing forever.
            if (used == 0)
                return false;
            break;
        }
        used += static_cast<int>(read);
        if (buffer.at(used - 1) == '\n')
            break;
    }
    const char* bytes = buffer.constData();
    int size = used;
    if (size > 0 && bytes[size - 1] == '\n')
        --size;
    if (size > 0 && bytes[size - 1] == '\r')
        --size;
    // A UTF-8 byte-order mark opens files saved by Windows editors.
    if (linesRead == 0 && size >= 3 && qstrncmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
        bytes += 3;
        size -= 3;
    }
    line = decode(bytes, size);
    ++linesRead;
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
    while (readLine(line))
        if (line.contains(marker))
            return true;
    return false;
}

bool OrvaneLineReader::skipLines(int count)
{
    QString line;
    for (int i = 0; i < count; ++i)
        if (!readLine(line))
            return false;
    return true;
}
