#include "orvanesettings.h"

#include "orvaneplatform.h"

#include <QSettings>

QString OrvaneSettings::value(const QString& key)
{
    const QString path = OrvanePlatform::settingsFilePath();
    if (path.isEmpty())
        return QString();
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(key, QString()).toString();
}

void OrvaneSettings::setValue(const QString& key, const QString& value)
{
    const QString path = OrvanePlatform::settingsFilePath();
    if (path.isEmpty())
        return;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(key, value);
}
