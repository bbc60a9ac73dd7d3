#include "orvanedialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

OrvaneDialogs::Responder& installedResponder()
{
    static OrvaneDialogs::Responder responder;
    return responder;
}

OrvaneDialogs::Request messageRequest(OrvaneDialogs::Kind kind, QWidget* parent,
                                      const QString& title, const QString& text)
{
    OrvaneDialogs::Request request;
    request.kind = kind;
    request.parent = parent;
    request.title = title;
    request.text = text;
    return request;
}

OrvaneDialogs::Request fileRequest(OrvaneDialogs::Kind kind, QWidget* parent,
                                   const QString& caption, const QString& directory,
                                   const QString& filter)
{
    OrvaneDialogs::Request request;
    request.kind = kind;
    request.parent = parent;
    request.title = caption;
    request.directory = directory;
    request.filter = filter;
    request.buttons = QMessageBox::NoButton;
    return request;
}

QString firstOf(const QStringList& names)
{
    return names.isEmpty() ? QString() : names.first();
}

// The filter a save dialog starts with: the first of a ";;" list.
QString firstFilter(const QString& filters)
{
    return filters.section(QStringLiteral(";;"), 0, 0);
}

} // namespace

void OrvaneDialogs::setResponder(const Responder& responder)
{
    installedResponder() = responder;
}

OrvaneDialogs::Reply OrvaneDialogs::ask(const Request& request)
{
    if (installedResponder())
        return installedResponder()(request);

    Reply reply;
    switch (request.kind) {
    case Kind::Information:
        reply.button = QMessageBox::information(request.parent, request.title, request.text,
                                                request.buttons, request.defaultButton);
        break;
    case Kind::Warning:
        reply.button = QMessageBox::warning(request.parent, request.title, request.text,
                                            request.buttons, request.defaultButton);
        break;
    case Kind::Critical:
        reply.button = QMessageBox::critical(request.parent, request.title, request.text,
                                             request.buttons, request.defaultButton);
        break;
    case Kind::Question:
        reply.button = QMessageBox::question(request.parent, request.title, request.text,
                                             request.buttons, request.defaultButton);
        break;
    case Kind::OpenFileName: {
        const QString name = QFileDialog::getOpenFileName(request.parent, request.title,
                                                          request.directory, request.filter);
        if (!name.isEmpty())
            reply.fileNames << name;
        break;
    }
    case Kind::OpenFileNames:
        reply.fileNames = QFileDialog::getOpenFileNames(request.parent, request.title,
                                                        request.directory, request.filter);
        break;
    case Kind::SaveFileName:
        reply = askSaveFileName(request);
        break;
    case Kind::ExistingDirectory: {
        const QString name =
            QFileDialog::getExistingDirectory(request.parent, request.title, request.directory);
        if (!name.isEmpty())
            reply.fileNames << name;
        break;
    }
    }
    return reply;
}

QMessageBox::StandardButton OrvaneDialogs::information(QWidget* parent, const QString& title,
                                                       const QString& text)
{
    return ask(messageRequest(Kind::Information, parent, title, text)).button;
}

QMessageBox::StandardButton OrvaneDialogs::warning(QWidget* parent, const QString& title,
                                                   const QString& text)
{
    return ask(messageRequest(Kind::Warning, parent, title, text)).button;
}

QMessageBox::StandardButton OrvaneDialogs::critical(QWidget* parent, const QString& title,
                                                    const QString& text)
{
    return ask(messageRequest(Kind::Critical, parent, title, text)).button;
}

QMessageBox::StandardButton OrvaneDialogs::question(QWidget* parent, const QString& title,
                                                    const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    Request request = messageRequest(Kind::Question, parent, title, text);
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    return ask(request).button;
}

QString OrvaneDialogs::openFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filter)
{
    return firstOf(ask(fileRequest(Kind::OpenFileName, parent, caption, directory, filter)).fileNames);
}

QStringList OrvaneDialogs::openFileNames(QWidget* parent, const QString& caption,
                                         const QString& directory, const QString& filter)
{
    return ask(fileRequest(Kind::OpenFileNames, parent, caption, directory, filter)).fileNames;
}

QString OrvaneDialogs::saveFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filter)
{
    const Reply reply = ask(fileRequest(Kind::SaveFileName, parent, caption, directory, filter));
    const QString selected = reply.selectedFilter.isEmpty() ? firstFilter(filter) : reply.selectedFilter;
    return withFilterSuffix(firstOf(reply.fileNames), selected);
}

OrvaneDialogs::Reply OrvaneDialogs::askSaveFileName(const Request& request)
{
    QFileDialog dialog(request.parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The replace question is asked below, about the name that will be
    // written: Qt's own dialog asks about the typed one when a folder of the
    // path holds a dot.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const auto followFilter = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filterSuffix(filter));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);

    Reply reply;
    while (dialog.exec() == QDialog::Accepted) {
        const QString name = withFilterSuffix(firstOf(dialog.selectedFiles()), dialog.selectedNameFilter());
        if (name.isEmpty())
            break;
        if (QFileInfo::exists(name)
            && question(request.parent, request.title,
                        QStringLiteral("%1 already exists.\nDo you want to replace it?")
                            .arg(QFileInfo(name).fileName()))
                   != QMessageBox::Yes) {
            dialog.selectFile(name);
            continue;
        }
        reply.fileNames << name;
        reply.selectedFilter = dialog.selectedNameFilter();
        break;
    }
    return reply;
}

QString OrvaneDialogs::filterSuffix(const QString& filter)
{
    // The patterns are what the parentheses hold, or the whole filter.
    static const QRegularExpression withTitle(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = withTitle.match(filter);
    const QString patterns = match.hasMatch() ? match.captured(1) : filter;
    const QString first = patterns.simplified().section(QLatin1Char(' '), 0, 0);
    if (!first.startsWith(QLatin1String("*.")))
        return QString();
    const QString suffix = first.mid(2);
    static const QRegularExpression wildcard(QStringLiteral("[*?\\[\\]]"));
    return suffix.contains(wildcard) ? QString() : suffix;
}

QString OrvaneDialogs::withFilterSuffix(const QString& fileName, const QString& filter)
{
    const QString suffix = filterSuffix(filter);
    const QString namePart = QFileInfo(fileName).fileName();
    if (suffix.isEmpty() || namePart.isEmpty() || namePart.contains(QLatin1Char('.')))
        return fileName;
    return fileName + QLatin1Char('.') + suffix;
}

QString OrvaneDialogs::existingDirectory(QWidget* parent, const QString& caption,
                                         const QString& directory)
{
    return firstOf(
        ask(fileRequest(Kind::ExistingDirectory, parent, caption, directory, QString())).fileNames);
}
