#ifndef GENERATEDDATAFOLDER_H
#define GENERATEDDATAFOLDER_H

// The current folder of a plots test on Xvfb: a temporary folder holding a
// copy of the CIE points file the build generated, with private settings.

#include "../../support/ciepointsfolder.h"

class GeneratedDataFolder
{
public:
    bool isReady() const { return data.isReady(); }
    QString filePath(const QString& name) const { return data.filePath(name); }

private:
    IsolatedTempFolder temp;
    CiePointsFolder data;
};

#endif
