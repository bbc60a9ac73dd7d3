#include "orvanetextfileview.h"

#include "orvanereportfile.h"
#include "orvanewaitcursor.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace OrvaneTextFileView {

namespace {

// Why a file is not read: the sentence that names the file, and its cause.
struct Refusal
{
    QString reason;
    QString cause;
};

Refusal cannotBeRead(const QString& fileName, const QString& systemReason)
{
    return {QStringLiteral("The file %1 cannot be read:\n%2").arg(fileName, systemReason), systemReason};
}

Refusal tooLarge(const QString& fileName)
{
    return {QStringLiteral("The file %1 is not shown: it has 100 MiB or more. Calculations still read it.")
                .arg(fileName),
            QStringLiteral("it has 100 MiB or more and is not shown; calculations still read it")};
}

QString systemText(const int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why the file cannot be shown, found without reading it; empty when it can.
// A missing file and a folder are told in the system's words, as opening
// them would; a FIFO or device is never opened, so the words are ours.
Refusal refusalByName(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        struct stat status;
        const int error = ::stat(QFile::encodeName(fileName).constData(), &status) == 0 ? ENOENT : errno;
        return cannotBeRead(fileName, systemText(error));
    }
    if (info.isDir())
        return cannotBeRead(fileName, systemText(EISDIR));
    if (!info.isFile()) {
        const QString cause = QStringLiteral("it is not a regular file but a FIFO, socket or device");
        return {QStringLiteral("The file %1 cannot be shown: %2.").arg(fileName, cause), cause};
    }
    if (!fitsInView(info.size()))
        return tooLarge(fileName);
    return {};
}

bool refuse(const Refusal& refusal, QString& reason, ReadDetails* details)
{
    reason = refusal.reason;
    if (details)
        details->cause = refusal.cause;
    return false;
}

// The view's text as shown: toPlainText() would give a non-breaking space
// as a blank and a line separator as a line end.
QString shownText(const QPlainTextEdit* view)
{
    QString text = view->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

bool fitsInView(const qint64& bytes)
{
    return bytes < largeFileBytes;
}

bool read(const QString& fileName, QString& text, QString& reason, ReadDetails* details)
{
    text.clear();
    reason.clear();
    if (details)
        *details = ReadDetails();
    const Refusal byName = refusalByName(fileName);
    if (!byName.reason.isEmpty())
        return refuse(byName, reason, details);
    const OrvaneWaitCursor wait;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(cannotBeRead(fileName, file.errorString()), reason, details);
    if (!fitsInView(file.size()))
        return refuse(tooLarge(fileName), reason, details); // grew since its name was looked at
    // Never more than the size looked at: a file still growing shows what it
    // held then.
    QByteArray bytes = file.read(file.size());
    if (file.error() != QFileDevice::NoError)
        return refuse(cannotBeRead(fileName, file.errorString()), reason, details);
    Encoding encoding;
    text = OrvaneTextBytes::decode(bytes, encoding);
    if (details)
        details->encoding = encoding;
    return true;
}

bool show(QPlainTextEdit* view, const QString& fileName, QString& reason, ReadDetails* details)
{
    view->clear();
    view->setPlaceholderText(QString());
    QString text;
    if (!read(fileName, text, reason, details)) {
        view->setPlaceholderText(reason);
        return false;
    }
    const OrvaneWaitCursor wait;
    view->setPlainText(text);
    return true;
}

bool save(const QPlainTextEdit* view, const QString& fileName, const Encoding& encoding, QString& reason)
{
    QByteArray bytes;
    return OrvaneTextBytes::encode(shownText(view), encoding, bytes, reason)
           && OrvaneReportFile::write(fileName, bytes, reason);
}

} // namespace OrvaneTextFileView
