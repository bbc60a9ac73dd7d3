#ifndef ORVANEWRITERFIXTURES_H
#define ORVANEWRITERFIXTURES_H

// Helpers for the tests of the file writers: the sources under tests/data,
// the golden files under tests/data/writers, and the atoms of a MOPAC output
// read with regular expressions, independently of the engine's readers.

#include "orvanefixtures.h"
#include "orvanerecords.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVector>

#include <cmath>

namespace OrvaneWriterFixtures {

inline QString mopac(const QString& name)
{
    return OrvaneFixtures::dataPath(QStringLiteral("mopac/") + name);
}

inline QString golden(const QString& name)
{
    return OrvaneFixtures::dataPath(QStringLiteral("writers/") + name);
}

inline QString text(const QString& path)
{
    return QString::fromUtf8(OrvaneFixtures::contents(path));
}

inline Coord atom(const QString& label, double x, double y, double z)
{
    Coord c;
    c.label = label;
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

// What a MOPAC 22 output prints as its final geometry: the first Cartesian
// table after the final heat of formation, then the translation vectors of
// the last geometry table before it. Also its charge.
struct MopacGeometry {
    QVector<Coord> atoms;        // without translation vectors
    QVector<Coord> vectors;      // "Tv" rows
    double charge = 0.0;
    QVector<Coord> withVectors() const { return atoms + vectors; }
};

inline MopacGeometry printedGeometry(const QString& outputText)
{
    MopacGeometry g;
    const QRegularExpressionMatch charge =
        QRegularExpression(QStringLiteral("CHARGE ON SYSTEM = ([+-]?\\d+)")).match(outputText);
    if (charge.hasMatch())
        g.charge = charge.captured(1).toDouble();
    const int heatAt = outputText.indexOf(QLatin1String("FINAL HEAT OF FORMATION"));
    const int tableAt = outputText.indexOf(QLatin1String("CARTESIAN COORDINATES\n\n"), heatAt);
    if (heatAt < 0 || tableAt < 0)
        return g;
    const QString tail = outputText.mid(tableAt);
    const QRegularExpression row(
        QStringLiteral("^\\s+\\d+\\s+(\\w+)\\s+(-?\\d+\\.\\d+)\\s+(-?\\d+\\.\\d+)\\s+(-?\\d+\\.\\d+)$"));
    for (const QString& line : tail.mid(tail.indexOf(QLatin1String("\n\n")) + 2).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch())
            break;
        g.atoms.append(atom(m.captured(1), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    const QRegularExpression tv(
        QStringLiteral("^\\s+\\d+\\s+Tv\\s+(-?\\d+\\.\\d+)\\s+\\*\\s+(-?\\d+\\.\\d+)\\s+\\*\\s+(-?\\d+\\.\\d+)"),
        QRegularExpression::MultilineOption);
    auto it = tv.globalMatch(outputText.mid(heatAt, tableAt - heatAt));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        g.vectors.append(atom(QStringLiteral("Tv"), m.captured(1).toDouble(), m.captured(2).toDouble(),
            m.captured(3).toDouble()));
    }
    return g;
}

inline MopacGeometry printedGeometryOf(const QString& fixtureName)
{
    return printedGeometry(text(mopac(fixtureName)));
}

inline QVector<Coord> shifted(const QVector<Coord>& atoms, const Coord& origin)
{
    QVector<Coord> result;
    for (const Coord& a : atoms)
        result.append(atom(a.label, a.x - origin.x, a.y - origin.y, a.z - origin.z));
    return result;
}

inline double distance(const Coord& a, const Coord& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

// Lines of a text without the final line feed's empty remainder.
inline QStringList lines(const QString& text)
{
    QStringList result = text.split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

// Rows of blank-separated fields from `first` up to the first row whose field
// count differs from `fields`: label then x, y, z at the given field positions
// (counted from 0).
inline QVector<Coord> atomRows(const QStringList& rows, int first, int fields, int xAt, int yAt, int zAt,
    int labelAt = 0)
{
    QVector<Coord> atoms;
    for (int i = first; i < rows.size(); ++i) {
        const QStringList f = rows.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() != fields)
            break;
        atoms.append(atom(labelAt >= 0 ? f.at(labelAt) : QString(), f.at(xAt).toDouble(), f.at(yAt).toDouble(),
            f.at(zAt).toDouble()));
    }
    return atoms;
}

} // namespace OrvaneWriterFixtures

#endif
