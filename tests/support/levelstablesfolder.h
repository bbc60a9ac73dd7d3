#ifndef LEVELSTABLESFOLDER_H
#define LEVELSTABLESFOLDER_H

#include "orvaneenergylevels.h"
#include "orvanefixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A temporary current folder holding a copy of the committed "EnergyLevels4f"
// tables (or only some of them), for as long as the object lives.
class LevelsTablesFolder
{
public:
    // names empty: every table; otherwise only the listed files ("f6.cfp", ...).
    explicit LevelsTablesFolder(const QStringList& names = QStringList())
    {
        QDir().mkpath(dir.path() + QStringLiteral("/EnergyLevels4f"));
        const QDir source(QStringLiteral(ORVANE_LEVEL_TABLES_DIR));
        const QStringList files = names.isEmpty() ? source.entryList(QDir::Files) : names;
        for (const QString& name : files)
            QFile::copy(source.filePath(name), tablePath(name));
        current = std::make_unique<OrvaneFixtures::ScopedCurrentDirectory>(dir.path());
    }

    QString path() const { return dir.path(); }
    QString tablePath(const QString& name) const { return dir.path() + QStringLiteral("/EnergyLevels4f/") + name; }

private:
    QTemporaryDir dir;
    std::unique_ptr<OrvaneFixtures::ScopedCurrentDirectory> current;
};

// Reaches the private matrix elements and lets a test place chosen levels.
struct OrvaneEnergyLevelsProbe
{
    static QVector<double> electrostatic(const OrvaneEnergyLevels& levels,
                                         const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& a,
                                         const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& b)
    {
        return levels.getElectrostaticMatrixVector(a, b);
    }
    static void setMixedStates(OrvaneEnergyLevels& levels, const QVector<MixedState>& states)
    {
        levels.mixedStates = states;
    }
    static void relabel(const OrvaneEnergyLevels& levels, QVector<MixedState>& states)
    {
        levels.labelMixedStates(states);
    }
};

inline OrvaneSpectroscopicTermUtil::SpectroscopicTerm termOf(const QString& label)
{
    return OrvaneSpectroscopicTermUtil::parseTermLabel(label, false);
}

#endif
