#include "orvanereportfile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace {

QString failure(const QString& fileName, const QString& why)
{
    return QStringLiteral("The file %1 could not be written: %2").arg(fileName, why);
}

// The device's reason, or a plain one where the device has none to give.
QString deviceReason(const QSaveFile& file)
{
    return file.error() == QFileDevice::NoError ? QStringLiteral("the data could not be written to the disk")
                                                : file.errorString();
}

} // namespace

QString OrvaneReportFile::notRegularReason(const QString& fileName)
{
    const QFileInfo info(fileName);
    // A dangling link reads as missing, as it would on opening.
    if (!info.exists() || info.isFile())
        return QString();
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a file.").arg(fileName);
    return QStringLiteral("%1 is not a regular file (a FIFO, socket or device).").arg(fileName);
}

bool OrvaneReportFile::write(const QString& fileName, const QString& text, QString& reason)
{
    return writeAll({qMakePair(fileName, text)}, reason);
}

bool OrvaneReportFile::writeAll(const QVector<QPair<QString, QString>>& files, QString& reason)
{
    for (const auto& entry : files) {
        const QString why = notRegularReason(entry.first);
        if (!why.isEmpty()) {
            reason = failure(entry.first, why);
            return false;
        }
    }
    std::vector<std::unique_ptr<QSaveFile>> saved;
    saved.reserve(static_cast<size_t>(files.size()));
    for (const auto& entry : files) {
        saved.push_back(std::make_unique<QSaveFile>(entry.first));
        QSaveFile& file = *saved.back();
        file.setDirectWriteFallback(true);
        if (!file.open(QIODevice::WriteOnly)) {
            reason = failure(entry.first, file.errorString());
            return false; // the destructors drop every temporary file
        }
        const QByteArray bytes = entry.second.toUtf8();
        // QSaveFile keeps small files in its buffer and its commit() reports
        // success even when that buffer never reaches the disk: flush first.
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            reason = failure(entry.first, deviceReason(file));
            return false;
        }
    }
    for (size_t k = 0; k < saved.size(); ++k) {
        if (!saved[k]->commit()) {
            reason = failure(files.at(static_cast<int>(k)).first, deviceReason(*saved[k]));
            return false;
        }
    }
    return true;
}
