#ifndef GUITESTSUPPORT_H
#define GUITESTSUPPORT_H

// Helpers shared by the widget tests: an isolated temporary folder, scripted
// answers to the program's dialogs, and waiting for asynchronous results.

#include "orvanedialogs.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : variableName(name)
        , wasSet(qEnvironmentVariableIsSet(name))
        , oldValue(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (wasSet)
            qputenv(variableName, oldValue);
        else
            qunsetenv(variableName);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* variableName;
    bool wasSet;
    QByteArray oldValue;
};

// A fresh folder that QDir::tempPath() returns while the object lives, so the
// settings file and work files of one test never meet another's.
class IsolatedTempFolder
{
public:
    IsolatedTempFolder()
        : tmpdir("TMPDIR", folder.path().toLocal8Bit())
    {
    }
    QString path() const { return folder.path(); }
    QString filePath(const QString& name) const { return folder.filePath(name); }

private:
    QTemporaryDir folder;
    ScopedEnvironment tmpdir;
};

// Answers the program's message boxes and file dialogs while installed: every
// request is recorded; answers are taken in order from those queued. A request
// with no queued answer fails the test and is answered with "cancel" (no
// button, no file).
class DialogScript
{
public:
    using Reply = OrvaneDialogs::Reply;
    using Request = OrvaneDialogs::Request;

    DialogScript()
    {
        OrvaneDialogs::setResponder([this](const Request& request) { return answer(request); });
    }
    ~DialogScript() { OrvaneDialogs::setResponder(OrvaneDialogs::Responder()); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void pressButton(QMessageBox::StandardButton button)
    {
        Reply reply;
        reply.button = button;
        replies.push_back([reply](const Request&) { return reply; });
    }
    // A save dialog may also be told the filter the user selected (one of the
    // request's ";;" list; empty: the first one, where the dialog starts).
    void chooseFile(const QString& fileName, const QString& selectedFilter = QString())
    {
        Reply reply;
        if (!fileName.isEmpty())
            reply.fileNames << fileName;
        reply.selectedFilter = selectedFilter;
        replies.push_back([reply](const Request&) { return reply; });
    }
    void cancel() { replies.push_back([](const Request&) { return Reply(); }); }
    // An answer computed while the dialog is "open", e.g. to look at the form.
    void answerWith(std::function<Reply(const Request&)> reply) { replies.push_back(std::move(reply)); }

    const QList<Request>& requests() const { return asked; }
    int pendingAnswers() const { return static_cast<int>(replies.size()); }

private:
    Reply answer(const Request& request)
    {
        asked << request;
        if (replies.empty()) {
            ADD_FAILURE() << "Unexpected dialog \"" << request.title.toStdString() << "\": "
                          << request.text.toStdString();
            return Reply();
        }
        auto reply = std::move(replies.front());
        replies.pop_front();
        return reply(request);
    }

    QList<Request> asked;
    std::deque<std::function<Reply(const Request&)>> replies;
};

// Saves through a page with a name typed without suffix in folder, the
// confirmation answered with Ok: the file written is the one with the
// filter's suffix, nothing has the typed name, and the confirmation (the last
// request) is confirmation + the written file's name.
inline void expectSavedWithFilterSuffix(DialogScript& dialogs, const QString& folder, const QString& typed,
                                        const QString& written, const QString& confirmation,
                                        const std::function<void()>& save)
{
    const QString typedPath = QDir(folder).filePath(typed);
    const QString writtenPath = QDir(folder).filePath(written);
    dialogs.chooseFile(typedPath);
    dialogs.pressButton(QMessageBox::Ok);
    save();
    EXPECT_GT(QFileInfo(writtenPath).size(), 0) << writtenPath.toStdString();
    EXPECT_FALSE(QFileInfo::exists(typedPath)) << typedPath.toStdString();
    ASSERT_FALSE(dialogs.requests().isEmpty());
    EXPECT_EQ(dialogs.requests().last().text, confirmation + writtenPath);
}

// A file that the text views do not show, and the cause a message that names
// the file itself gives for it.
struct UnshowableFile
{
    QString file;
    QString cause;
};

// In `folder`: a missing file, a folder and a (sparse) file of 100 MiB, each
// named with `suffix`.
inline QList<UnshowableFile> makeUnshowableFiles(const QString& folder, const QString& suffix)
{
    const QDir dir(folder);
    const QString large = dir.filePath(QStringLiteral("large.") + suffix);
    QFile file(large);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(100) * 1048576)) << large.toStdString();
    const QString folderFile = dir.filePath(QStringLiteral("folder.") + suffix);
    EXPECT_TRUE(QDir().mkpath(folderFile));
    // A missing file and a folder in the system's words.
    return {{dir.filePath(QStringLiteral("missing.") + suffix), QString::fromLocal8Bit(std::strerror(ENOENT))},
            {folderFile, QString::fromLocal8Bit(std::strerror(EISDIR))},
            {large, QStringLiteral("it has 100 MiB or more and is not shown; calculations still read it")}};
}

// Runs the event loop until condition holds or timeoutMs passed; returns
// whether it holds.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

struct DragResult
{
    bool enterAccepted = false;
    bool moveAccepted = false;
    bool dropAccepted = false;
};

// Delivers the events a drag from a file manager produces: enter, move, drop.
// The application routes move and drop only to the widget that accepted the
// enter, as during a real drag.
inline DragResult dragAndDrop(QWidget* target, const QMimeData& data)
{
    DragResult result;
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    result.enterAccepted = enter.isAccepted();

    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    result.moveAccepted = move.isAccepted();

    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(target, &drop);
    result.dropAccepted = drop.isAccepted();
    return result;
}

#include "../../support/orvanefixtures.h"

// The widget tests name it without the namespace.
using OrvaneFixtures::ScopedCurrentDirectory;

#endif
