#include "orvanetextfileview.h"

#include "orvanereportfile.h"
#include "orvanewaitcursor.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCodec>
#include <QTextDocument>

namespace OrvaneTextFileView {

namespace {

const QByteArray utf8ByteOrderMark("\xEF\xBB\xBF");

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

// Why the file cannot be shown, found without reading it; empty when it can.
Refusal refusalByName(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        const QString cause = QStringLiteral("it does not exist");
        return {QStringLiteral("The file %1 cannot be read: %2.").arg(fileName, cause), cause};
    }
    if (!info.isFile()) {
        const QString cause =
            QStringLiteral("it is not a regular file but %1")
                .arg(info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a FIFO, socket or device"));
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

Encoding::LineEnd lineEndOf(const QByteArray& bytes)
{
    const int crlf = bytes.count("\r\n");
    const int lf = bytes.count('\n') - crlf;
    const int cr = bytes.count('\r') - crlf;
    if (crlf > lf && crlf >= cr)
        return Encoding::LineEnd::CrLf;
    if (cr > lf && cr > crlf)
        return Encoding::LineEnd::Cr;
    return Encoding::LineEnd::Lf;
}

// The text of the file's bytes (line ends still as they are), and how they
// spell it.
QString decoded(const QByteArray& bytes, Encoding& encoding)
{
    encoding.byteOrderMark = bytes.startsWith(utf8ByteOrderMark);
    const int start = encoding.byteOrderMark ? utf8ByteOrderMark.size() : 0;
    // Only the mark found above is dropped, never one further on.
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData() + start,
                                                                         bytes.size() - start, &state);
    if (state.invalidChars == 0 && state.remainingChars == 0) {
        encoding.charset = Encoding::Charset::Utf8;
        return text;
    }
    encoding.charset = Encoding::Charset::Latin1;
    encoding.byteOrderMark = false; // its three bytes are Latin-1 text then
    return QString::fromLatin1(bytes);
}

// The view's text as shown: toPlainText() would give a non-breaking space
// as a blank and a line separator as a line end.
QString shownText(const QPlainTextEdit* view)
{
    QString text = view->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The position of the first character that `charset` cannot hold, or -1: a
// character beyond Latin-1, or half of a surrogate pair, which neither holds.
int unwritableAt(const QString& text, const Encoding::Charset charset)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (charset == Encoding::Charset::Latin1)
                return i;
            ++i;
        } else if (c.isSurrogate() || (charset == Encoding::Charset::Latin1 && c.unicode() > 0xFF)) {
            return i;
        }
    }
    return -1;
}

QString unwritableReason(const QString& text, const int at, const Encoding& encoding)
{
    const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    const uint code = pair ? QChar::surrogateToUcs4(text.at(at), text.at(at + 1)) : text.at(at).unicode();
    const int line = text.leftRef(at).count(QLatin1Char('\n')) + 1;
    const QString charset = encoding.charset == Encoding::Charset::Latin1 ? QStringLiteral("Latin-1 (ISO 8859-1)")
                                                                          : QStringLiteral("UTF-8");
    return QStringLiteral("Line %1 holds the character \"%2\" (U+%3), which %4 cannot hold. The file is saved "
                          "in the encoding it was read in; replace that character and save again.")
        .arg(QString::number(line), text.mid(at, pair ? 2 : 1),
             QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0')), charset);
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
    encoding.lineEnd = lineEndOf(bytes);
    bytes.replace("\r\n", "\n");
    text = decoded(bytes, encoding);
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
    QString text = shownText(view);
    const int unwritable = unwritableAt(text, encoding.charset);
    if (unwritable >= 0) {
        reason = unwritableReason(text, unwritable, encoding);
        return false;
    }
    if (encoding.lineEnd == Encoding::LineEnd::CrLf)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    else if (encoding.lineEnd == Encoding::LineEnd::Cr)
        text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    QByteArray bytes;
    if (encoding.charset == Encoding::Charset::Latin1) {
        bytes = text.toLatin1();
    } else {
        bytes = text.toUtf8();
        if (encoding.byteOrderMark)
            bytes.prepend(utf8ByteOrderMark);
    }
    return OrvaneReportFile::write(fileName, bytes, reason);
}

} // namespace OrvaneTextFileView
