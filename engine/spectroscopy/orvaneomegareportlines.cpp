#include "orvaneomegareportlines.h"

#include "orvanefixedcolumns.h"
#include "orvanetextreader.h"

#include <QFile>
#include <QFileInfo>

namespace Col = OrvaneColumns;

namespace OrvaneOmegaReport {

const QLatin1String omegaName("omega");
const QLatin1String omegaEDName("omegaED");
const QLatin1String omegaDCName("omegaDC");
const QLatin1String unitFactor("e-20");

namespace {

// Why `fileName` cannot be read, in the system's words where it has some.
QString openFailureReason(const QString& fileName)
{
    const QFileInfo info(fileName);
    // A pipe or device would block or never end: never open one to ask.
    if (info.exists() && !info.isFile() && !info.isDir())
        return QStringLiteral("Not a regular file");
    QFile probe(fileName);
    if (probe.open(QIODevice::ReadOnly))
        return QStringLiteral("Not a regular file");
    return probe.errorString();
}

} // namespace

QString key(const QLatin1String& name, int lambda)
{
    return QString(name) + QLatin1Char('(') + QString::number(lambda) + QStringLiteral(") =");
}

QString valueLine(const QLatin1String& name, int lambda, double value, int decimals)
{
    return Col::right(15, key(name, lambda) + QLatin1Char(' '))
        + Col::right(15, Col::signlessFixed(decimals, value) + unitFactor + QStringLiteral(" cm^2"))
        + QLatin1Char('\n');
}

bool read(const QString& fileName, Values& values, QString& reason)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        reason = openFailureReason(fileName);
        return false;
    }
    const QString keys[] = {key(omegaName, 2),   key(omegaName, 4),   key(omegaName, 6),
                            key(omegaEDName, 2), key(omegaEDName, 4), key(omegaEDName, 6)};
    const QString& lastKey = keys[5];

    QString line;
    while (reader.readLine(line)) {
        if (line.isEmpty())
            continue;
        // The report separates fields with blanks only.
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (std::size_t k = 0; k < values.size(); ++k) {
            // The value is the third field; a shorter key line carries none.
            if (!line.contains(keys[k]) || fields.size() < 3)
                continue;
            QString value = fields.at(2).simplified();
            value.remove(unitFactor);
            values[k] = OrvaneText::toNumber(value);
        }
        if (line.contains(lastKey))
            break;
    }
    return true;
}

} // namespace OrvaneOmegaReport
