#ifndef CIEPOINTSFOLDER_H
#define CIEPOINTSFOLDER_H

// A temporary current folder holding a copy of the CIE points file the build
// generated, for the life of the object: the emission page builds its
// chromaticity window, which reads "CIEpoints.txt" from the current folder,
// so every test that builds that page (alone, in Module 3 or in the main
// window) works in one.

#include "guitestsupport.h"

#include <QFile>
#include <QTemporaryDir>

class CiePointsFolder
{
public:
    CiePointsFolder()
        : copied(QFile::copy(QStringLiteral(ORVANE_CIE_POINTS_FILE), work.filePath(QStringLiteral("CIEpoints.txt"))))
        , cwd(work.path())
    {
    }
    bool isReady() const { return copied && cwd.isChanged(); }
    QString path() const { return work.path(); }
    QString filePath(const QString& name) const { return work.filePath(name); }

private:
    QTemporaryDir work;
    bool copied;
    ScopedCurrentDirectory cwd;
};

#endif
