#include "orvanetextfileview.h"

#include "orvanewaitcursor.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCodec>

namespace OrvaneTextFileView {

namespace {

QString decoded(const QByteArray& bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 ? text : QString::fromLatin1(bytes);
}

QString tooLarge(const QString& fileName)
{
    return QStringLiteral("The file %1 is not shown: it has 100 MiB or more. Calculations still read it.")
        .arg(fileName);
}

// Why the file cannot be shown, found without reading it; empty when it can.
QString refusalByName(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return QStringLiteral("The file %1 cannot be read: it does not exist.").arg(fileName);
    if (!info.isFile())
        return QStringLiteral("The file %1 cannot be shown: it is not a regular file but %2.")
            .arg(fileName, info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a FIFO, socket or device"));
    if (!fitsInView(info.size()))
        return tooLarge(fileName);
    return QString();
}

} // namespace

bool fitsInView(const qint64& bytes)
{
    return bytes < largeFileBytes;
}

bool read(const QString& fileName, QString& text, QString& reason)
{
    text.clear();
    reason = refusalByName(fileName);
    if (!reason.isEmpty())
        return false;
    const OrvaneWaitCursor wait;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("The file %1 cannot be read:\n%2").arg(fileName, file.errorString());
        return false;
    }
    if (!fitsInView(file.size())) {
        reason = tooLarge(fileName); // grew since its name was looked at
        return false;
    }
    // Never more than the size looked at: a file still growing shows what it
    // held then.
    QByteArray bytes = file.read(file.size());
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("The file %1 cannot be read:\n%2").arg(fileName, file.errorString());
        return false;
    }
    bytes.replace("\r\n", "\n");
    text = decoded(bytes);
    return true;
}

bool show(QPlainTextEdit* view, const QString& fileName, QString& reason)
{
    view->clear();
    view->setPlaceholderText(QString());
    QString text;
    if (!read(fileName, text, reason)) {
        view->setPlaceholderText(reason);
        return false;
    }
    const OrvaneWaitCursor wait;
    view->setPlainText(text);
    return true;
}

} // namespace OrvaneTextFileView
