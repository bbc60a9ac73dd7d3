#ifndef LIGANDFIELDFIXTURE_H
#define LIGANDFIELDFIXTURE_H

// The geometry of ligandfield_reference.py and Cartesian MOPAC inputs written
// by the ligand-field tests into their own temporary folders.

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include <vector>

#include "ligandfield_reference_values.inc"

namespace LigandField {

struct Atom {
    const char* label;
    double x, y, z;
};

struct BkqRow {
    int k, q;
    double re, im;
};

struct StarkRow {
    int J;
    double levels[13];
};

const Atom referenceAtoms[] = {ORVANE_LF_ATOMS};
constexpr int referenceCoordNumber = ORVANE_LF_NCOORD;
const BkqRow referenceBkq[] = {ORVANE_LF_BKQ};
const StarkRow referenceStark[] = {ORVANE_LF_STARK};

// Charge factors of the reference, indexed by ligand 1..N (entry 0 unused).
inline std::vector<double> referenceChargeFactors()
{
    return {ORVANE_LF_G};
}

// A Cartesian .mop: keyword line, title, comment, then "label x 1 y 1 z 1".
inline QString writeMop(const QTemporaryDir& dir, const QString& name, const QVector<Atom>& atoms)
{
    QString text = QStringLiteral("AM1 SPARKLE CHARGE=3\nligand-field test\n\n");
    for (const Atom& a : atoms)
        text += QStringLiteral("%1 %2 1 %3 1 %4 1\n").arg(QLatin1String(a.label)).arg(a.x, 0, 'g', 17)
                    .arg(a.y, 0, 'g', 17).arg(a.z, 0, 'g', 17);
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
    return path;
}

inline QString writeReferenceMop(const QTemporaryDir& dir, const QString& name = QStringLiteral("complex.mop"))
{
    QVector<Atom> atoms;
    for (const Atom& a : referenceAtoms)
        atoms.append(a);
    return writeMop(dir, name, atoms);
}

} // namespace LigandField

#endif
