#include "orvaneomegaexpreportlines.h"

#include "orvanefixedcolumns.h"
#include "orvaneomegareportlines.h"
#include "orvanetextreader.h"

namespace Col = OrvaneColumns;

namespace OrvaneOmegaExpReport {

const QLatin1String lifeTimeKey(" Experimental Lifetime Used");
const QLatin1String lifeTimeUnit("ms");

QString omegaKey(int lambda)
{
    return QStringLiteral("omega(%1)").arg(lambda);
}

QString omegaLine(int lambda, double value)
{
    return QStringLiteral("    ") + omegaKey(lambda) + QStringLiteral(" =") + Col::fixed(7, 2, value)
        + OrvaneOmegaReport::unitFactor + QStringLiteral(" cm^2 \n");
}

QString lifeTimeLine(double milliseconds)
{
    return QStringLiteral("   ") + lifeTimeKey + QStringLiteral(" = ") + Col::fixed(4, milliseconds)
        + QLatin1Char(' ') + lifeTimeUnit + QLatin1Char('\n');
}

bool readOmegas(const QString& fileName, Omegas& omegas)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen())
        return false;
    const struct
    {
        QString key;
        std::optional<double>& value;
    } keys[] = {{omegaKey(2), omegas.omega2}, {omegaKey(4), omegas.omega4}};
    QString line;
    while (reader.readLine(line)) {
        for (const auto& k : keys) {
            if (!line.contains(k.key))
                continue;
            const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() >= 3)
                k.value = OrvaneText::toNumber(QString(fields.at(2)).remove(OrvaneOmegaReport::unitFactor));
        }
    }
    return true;
}

std::optional<double> readLifeTime(const QString& fileName)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen())
        return std::nullopt;
    QString line;
    while (reader.readLine(line)) {
        if (!line.contains(lifeTimeKey))
            continue;
        const QStringList fields = line.split(QLatin1Char('='), Qt::SkipEmptyParts);
        if (fields.size() < 2)
            return std::nullopt;
        return OrvaneText::toNumber(QString(fields.at(1)).remove(lifeTimeUnit));
    }
    return std::nullopt;
}

} // namespace OrvaneOmegaExpReport

namespace OrvaneExpDataFile {

QString text(const QString& label, double omega2, double omega4)
{
    return label + QLatin1Char(' ') + QString::number(omega2, 'g', 17) + QLatin1Char(' ')
        + QString::number(omega4, 'g', 17) + QLatin1Char('\n');
}

bool read(const QString& fileName, double& omega2, double& omega4)
{
    OrvaneLineReader reader(fileName);
    QString line;
    if (!reader.isOpen() || !reader.readLine(line))
        return false;
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3)
        return false;
    omega2 = OrvaneText::toNumber(fields.at(1));
    omega4 = OrvaneText::toNumber(fields.at(2));
    return true;
}

} // namespace OrvaneExpDataFile
