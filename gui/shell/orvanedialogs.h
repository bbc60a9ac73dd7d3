#ifndef ORVANEDIALOGS_H
#define ORVANEDIALOGS_H

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The one way the program asks the user something: message boxes and file
// dialogs. Normally these are Qt's modal dialogs; a responder installed with
// setResponder answers instead, without any window, so tests can read what was
// asked and choose the answer.
class OrvaneDialogs
{
public:
    OrvaneDialogs() = delete;

    enum class Kind {
        Information,
        Warning,
        Critical,
        Question,
        OpenFileName,
        OpenFileNames,
        SaveFileName,
        ExistingDirectory
    };

    struct Request
    {
        Kind kind = Kind::Information;
        QWidget* parent = nullptr;
        QString title;     // window title or dialog caption
        QString text;      // message text (message boxes)
        QString directory; // start folder or proposed file (file dialogs)
        QString filter;    // name filter (file dialogs)
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    struct Reply
    {
        QMessageBox::StandardButton button = QMessageBox::NoButton; // message boxes
        QStringList fileNames; // file dialogs: empty means cancelled
        // Save dialogs: the name filter the user left selected; empty means
        // the first filter of the request, the one the dialog starts with.
        QString selectedFilter;
    };

    using Responder = std::function<Reply(const Request&)>;

    // Installs a responder; an empty one restores the real dialogs.
    static void setResponder(const Responder& responder);

    static QMessageBox::StandardButton information(QWidget* parent, const QString& title,
                                                   const QString& text);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title,
                                               const QString& text);
    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title,
                                                const QString& text);
    static QMessageBox::StandardButton
    question(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // Empty (or an empty list) when the user cancelled. A save dialog's name
    // gets the suffix of the selected filter when its file part has none.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                const QString& filter);
    static QStringList openFileNames(QWidget* parent, const QString& caption,
                                     const QString& directory, const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                const QString& filter);
    static QString existingDirectory(QWidget* parent, const QString& caption,
                                     const QString& directory);

    // The suffix a save under filter adds ("Text (*.txt *.dat)" adds "txt");
    // empty for a filter whose first pattern names no suffix, such as "*".
    static QString filterSuffix(const QString& filter);
    // fileName, with "." + filterSuffix(filter) when the name after its last
    // folder separator holds no dot.
    static QString withFilterSuffix(const QString& fileName, const QString& filter);

private:
    static Reply ask(const Request& request);
    static Reply askSaveFileName(const Request& request);
};

#endif
