#ifndef ORVANEPROCESSGROUPS_H
#define ORVANEPROCESSGROUPS_H

// What /proc says about processes, for tests that check that a run ends its
// whole process tree.

#include "orvanefixtures.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

namespace OrvaneProcessGroups {

// Process ids of the living members of a process group; zombies that nobody
// reaped yet count as ended.
inline QList<qint64> livingMembersOfGroup(qint64 group)
{
    QList<qint64> members;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QString stat = OrvaneFixtures::readText(QStringLiteral("/proc/%1/stat").arg(entry));
        const int close = stat.lastIndexOf(QLatin1Char(')'));
        if (close < 0)
            continue;
        // After the command in parentheses: state, parent, process group.
        const QStringList fields = stat.mid(close + 2).split(QLatin1Char(' '));
        if (fields.size() > 2 && fields[2].toLongLong() == group && fields[0] != QLatin1String("Z"))
            members << pid;
    }
    return members;
}

// The process exists and is no zombie.
inline bool processAlive(qint64 pid)
{
    const QString stat = OrvaneFixtures::readText(QStringLiteral("/proc/%1/stat").arg(pid));
    const int close = stat.lastIndexOf(QLatin1Char(')'));
    return close >= 0 && stat.mid(close + 2, 1) != QLatin1String("Z");
}

} // namespace OrvaneProcessGroups

#endif
