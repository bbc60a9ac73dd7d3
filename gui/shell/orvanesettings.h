#ifndef ORVANESETTINGS_H
#define ORVANESETTINGS_H

#include <QString>

// The program's settings file OrvaneGUI.ini (INI format, top-level keys only)
// in the private temporary folder. Every access opens the file anew, so two
// forms, or two runs, always see each other's last write. Failures are silent:
// a read gives an empty string, a write is lost.
class OrvaneSettings
{
public:
    OrvaneSettings() = delete;

    static QString value(const QString& key);
    static void setValue(const QString& key, const QString& value);
};

#endif
