#include "orvanereportfile.h"

#include <QSaveFile>

bool OrvaneReportFile::write(const QString& fileName, const QString& text, QString& reason)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = QStringLiteral("The file %1 could not be written: %2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        reason = QStringLiteral("The file %1 could not be written: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}
