#include "orvanetextreader.h"

#include <cmath>

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
    if (!fileName.isEmpty())
        file.open(QIODevice::ReadOnly);
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
    QByteArray bytes = file.readLine(maxLineLength);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromUtf8(bytes);
    ++linesRead;
    return true;
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
