#include "orvanedialogs.h"

#include <QFileDialog>

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
    case Kind::SaveFileName: {
        const QString name = QFileDialog::getSaveFileName(request.parent, request.title,
                                                          request.directory, request.filter);
        if (!name.isEmpty())
            reply.fileNames << name;
        break;
    }
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
    return firstOf(ask(fileRequest(Kind::SaveFileName, parent, caption, directory, filter)).fileNames);
}

QString OrvaneDialogs::existingDirectory(QWidget* parent, const QString& caption,
                                         const QString& directory)
{
    return firstOf(
        ask(fileRequest(Kind::ExistingDirectory, parent, caption, directory, QString())).fileNames);
}
