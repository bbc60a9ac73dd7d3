#ifndef GENERATEDDATAFOLDER_H
#define GENERATEDDATAFOLDER_H

// The current folder of a plots test on Xvfb: a temporary folder holding a
// copy of the CIE points file the build generated, with private settings.

#include "../../support/guitestsupport.h"

#include <QFile>
#include <QTemporaryDir>

class GeneratedDataFolder
{
public:
    GeneratedDataFolder()
        : copied(QFile::copy(QStringLiteral(ORVANE_CIE_POINTS_FILE), work.filePath(QStringLiteral("CIEpoints.txt"))))
        , cwd(work.path())
    {
    }
    bool isReady() const { return copied && cwd.isChanged(); }
    QString filePath(const QString& name) const { return work.filePath(name); }

private:
    IsolatedTempFolder temp;
    QTemporaryDir work;
    bool copied;
    ScopedCurrentDirectory cwd;
};

#endif
