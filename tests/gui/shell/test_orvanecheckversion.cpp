#include "../support/guitestsupport.h"
#include "loopbackhttpserver.h"

#include "orvanecheckversion.h"
#include "orvaneupdatecontroller.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString versionPath = QStringLiteral("/orvane_current_version_2.txt");
// A reference: the library's string may be built after this file's statics.
const QString& installerPath = OrvaneCheckVersion::installerPath;
const QString connectionError = QStringLiteral(
    "It is not possible to connect to the ORVANE server. Please, check your connection to the internet.");

QByteArray installerBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
}

// The checker against the loopback server, without any window.
class CheckerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        // Loopback only, whatever proxy the environment names.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    IsolatedTempFolder temp;
    LoopbackHttpServer server;
    ScopedEnvironment address{"ORVANE_UPDATE_SERVER", server.url().toString().toLatin1()};
};

// The controller with the button and progress bar of a window.
class UpdateFixture : public CheckerFixture
{
protected:
    void SetUp() override
    {
        CheckerFixture::SetUp();
        auto* layout = new QVBoxLayout(&window);
        button = new QPushButton(OrvaneUpdateController::idleText, &window);
        progressBar = new QProgressBar(&window);
        layout->addWidget(button);
        layout->addWidget(progressBar);
        controller = new OrvaneUpdateController(&window, button, progressBar);
        window.show();
    }

    void clickButton() { QTest::mouseClick(button, Qt::LeftButton); }

    // Waits until the number of dialogs reaches count.
    bool waitForDialogs(int count) { return waitUntil([&] { return dialogs.requests().size() >= count; }); }

    // Lets a reply that should change nothing arrive and be handled.
    void settle(int requests)
    {
        ASSERT_TRUE(waitUntil([&] { return server.requestedPaths.size() >= requests; }));
        QTest::qWait(150);
    }

    QString upToDateText() const
    {
        return QStringLiteral("You have the latest ORVANE version.\n                ORVANE 1.4.1");
    }

    DialogScript dialogs;
    QWidget window;
    QPushButton* button = nullptr;
    QProgressBar* progressBar = nullptr;
    OrvaneUpdateController* controller = nullptr;
};

} // namespace

TEST(VersionComparison, ComparesDottedPartsAsNumbers)
{
    const struct
    {
        const char* latest;
        bool upToDate;
    } cases[] = {
        {"1.4.1", true},  {"1.4.0", true},    {"1.3.9", true},   {"0.9", true},
        {"1.4.1.0", true}, {" 1.4.1\n", true}, {"1.4.2", false}, {"1.4.10", false},
        {"1.5", false},   {"2.0", false},     {"10", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.latest);
        bool readable = false;
        EXPECT_EQ(OrvaneCheckVersion::isUpToDate(QString::fromLatin1(c.latest),
                                                 QStringLiteral("1.4.1"), &readable),
                  c.upToDate);
        EXPECT_TRUE(readable);
    }
    for (const char* unreadable : {"", "abc", "1.4.x", "v1.5", "1..4", "1.4.1-beta"}) {
        SCOPED_TRACE(unreadable);
        bool readable = true;
        EXPECT_FALSE(OrvaneCheckVersion::isUpToDate(QString::fromLatin1(unreadable),
                                                    QStringLiteral("1.4.1"), &readable));
        EXPECT_FALSE(readable);
    }
}

TEST_F(CheckerFixture, ReadsVersionAndNewsSkippingEmptyFields)
{
    const struct
    {
        const char* body;
        const char* version;
        const char* news;
        bool upToDate;
    } cases[] = {
        {"1.4.1", "1.4.1", "", true},
        {"1.4.2$First news$Second news", "1.4.2", "First news\nSecond news\n", false},
        {"$$1.4.2$$", "1.4.2", "", false},
        {"1.5$$Faster fits$\n", "1.5", "Faster fits\n", false},
        {"1.4.0$Ol\xc3\xa1", "1.4.0", "Ol\xc3\xa1\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        server.serve(versionPath, QByteArray(c.body));
        OrvaneCheckVersion checker;
        QSignalSpy answered(&checker, &OrvaneCheckVersion::signalInformationDownloaded);
        QSignalSpy failed(&checker, &OrvaneCheckVersion::signalErrorDetected);
        checker.downloadInformation();
        ASSERT_TRUE(answered.wait(5000));
        EXPECT_EQ(answered.at(0).at(0).toBool(), c.upToDate);
        EXPECT_EQ(checker.getLatestVersion(), QString::fromLatin1(c.version));
        EXPECT_EQ(checker.getVersionNews(), QString::fromUtf8(c.news));
        EXPECT_EQ(checker.getCurrentVersion(), QStringLiteral("1.4.1"));
        EXPECT_EQ(failed.count(), 0);
    }
    EXPECT_EQ(server.requestedPaths.value(0), versionPath);
}

TEST_F(CheckerFixture, FailuresAreSignalledAndAnEmptyTextIsIgnored)
{
    const struct
    {
        const char* name;
        std::function<void()> prepare;
        QString expectedError; // empty: nothing at all is signalled
    } cases[] = {
        {"not found", [] {}, connectionError},
        {"unreadable version", [&] { server.serve(versionPath, QByteArray("1.x$news")); },
         QStringLiteral("The ORVANE server announced a version that cannot be read: \"1.x\".")},
        {"empty text", [&] { server.serve(versionPath, QByteArray()); }, QString()},
        {"server down", [&] { server.stop(); }, connectionError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        OrvaneCheckVersion checker;
        QSignalSpy answered(&checker, &OrvaneCheckVersion::signalInformationDownloaded);
        QSignalSpy failed(&checker, &OrvaneCheckVersion::signalErrorDetected);
        const int before = server.requestedPaths.size();
        checker.downloadInformation();
        if (c.expectedError.isEmpty()) {
            ASSERT_TRUE(waitUntil([&] { return server.requestedPaths.size() > before; }));
            QTest::qWait(150);
            EXPECT_EQ(failed.count(), 0);
        } else {
            ASSERT_TRUE(failed.wait(5000));
            EXPECT_EQ(failed.at(0).at(0).toString(), c.expectedError);
        }
        EXPECT_EQ(answered.count(), 0);
    }
}

TEST_F(CheckerFixture, DownloadsTheInstallerWithProgress)
{
    const QByteArray bytes = installerBytes(48000);
    LoopbackHttpServer::Response response;
    response.body = bytes;
    // Progress signals come at most every 100 ms.
    response.chunks = 3;
    response.chunkDelayMs = 150;
    server.serve(installerPath, response);

    OrvaneCheckVersion checker;
    QSignalSpy done(&checker, &OrvaneCheckVersion::downloaded);
    QSignalSpy progress(&checker, &OrvaneCheckVersion::signalReplyProgress);
    checker.downloadInstaller();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(checker.getInstallerData(), bytes);
    ASSERT_GE(progress.count(), 2);
    EXPECT_EQ(progress.last().at(0).toLongLong(), bytes.size());
    EXPECT_EQ(progress.last().at(1).toLongLong(), bytes.size());
    EXPECT_EQ(server.requestedPaths, QStringList{installerPath});
}

TEST_F(CheckerFixture, ARunningDownloadEndsQuietlyWithTheChecker)
{
    LoopbackHttpServer::Response slow;
    slow.body = installerBytes(10000);
    slow.chunks = 2;
    slow.chunkDelayMs = 3000;
    server.serve(installerPath, slow);

    auto checker = std::make_unique<OrvaneCheckVersion>();
    QSignalSpy failed(checker.get(), &OrvaneCheckVersion::signalErrorDetected);
    checker->downloadInstaller();
    ASSERT_TRUE(waitUntil([&] { return !server.requestedPaths.isEmpty(); }));
    QTest::qWait(50);
    checker.reset();
    QTest::qWait(50);
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(CheckerFixture, WithoutServerNothingIsRequested)
{
    ScopedEnvironment none("ORVANE_UPDATE_SERVER", QByteArray());
    OrvaneCheckVersion checker;
    QSignalSpy failed(&checker, &OrvaneCheckVersion::signalErrorDetected);
    checker.downloadInformation();
    checker.downloadInstaller();
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(0).at(0).toString(), OrvaneCheckVersion::noServerMessage);
    QTest::qWait(50);
    EXPECT_TRUE(server.requestedPaths.isEmpty());
}

TEST_F(UpdateFixture, UpToDateIsToldOnlyOnDemand)
{
    server.serve(versionPath, QByteArray("1.4.1"));
    EXPECT_TRUE(progressBar->isHidden());

    controller->startSilentCheck();
    settle(1);
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_TRUE(button->isEnabled());

    dialogs.pressButton(QMessageBox::Ok);
    clickButton();
    EXPECT_FALSE(button->isEnabled());
    ASSERT_TRUE(waitForDialogs(1));
    const auto& box = dialogs.requests().at(0);
    EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Information);
    EXPECT_EQ(box.title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(box.text, upToDateText());
    EXPECT_EQ(box.parent, &window);
    EXPECT_FALSE(button->isEnabled()) << "a finished check on demand leaves the button disabled";
    EXPECT_EQ(button->text(), OrvaneUpdateController::idleText);
}

TEST_F(UpdateFixture, ANewerVersionIsOfferedWithItsNewsAndDecliningChangesNothing)
{
    const struct
    {
        const char* body;
        QString question;
    } cases[] = {
        {"1.4.2$First news$Second news",
         QStringLiteral("ORVANE version 1.4.2 is available to download. Would you like to download "
                        "it?\n\nFirst news\nSecond news\n")},
        {"$$1.4.2$$",
         QStringLiteral("ORVANE version 1.4.2 is available to download. Would you like to download it?\n\n")},
        {"1.5", QStringLiteral("ORVANE version 1.5 is available to download. Would you like to download it?\n\n")},
    };
    for (const bool silent : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.body) + (silent ? " (silent)" : " (on demand)"));
            server.serve(versionPath, QByteArray(c.body));
            const int before = dialogs.requests().size();
            button->setEnabled(true);
            dialogs.pressButton(QMessageBox::No);
            if (silent)
                controller->startSilentCheck();
            else
                clickButton();
            ASSERT_TRUE(waitForDialogs(before + 1));
            const auto& question = dialogs.requests().last();
            EXPECT_EQ(question.kind, OrvaneDialogs::Kind::Question);
            EXPECT_EQ(question.title, QStringLiteral("ORVANE Question"));
            EXPECT_EQ(question.text, c.question);
            EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
            QTest::qWait(50);
            EXPECT_EQ(dialogs.requests().size(), before + 1) << "declined: no save dialog";
            EXPECT_EQ(button->isEnabled(), silent);
            EXPECT_EQ(button->text(), OrvaneUpdateController::idleText);
            EXPECT_TRUE(progressBar->isHidden());
        }
    }
    EXPECT_FALSE(server.requestedPaths.contains(installerPath));
}

TEST_F(UpdateFixture, FailedChecksAreReportedOnDemandOnly)
{
    const struct
    {
        const char* name;
        std::function<void()> prepare;
        QString expectedError;
    } cases[] = {
        {"unreadable version", [&] { server.serve(versionPath, QByteArray("one.five$news")); },
         QStringLiteral("The ORVANE server announced a version that cannot be read: \"one.five\".")},
        {"server down", [&] { server.stop(); }, connectionError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        const int before = dialogs.requests().size();
        controller->startSilentCheck();
        QTest::qWait(200);
        EXPECT_EQ(dialogs.requests().size(), before) << "a failed silent check is silent";

        button->setEnabled(true);
        dialogs.pressButton(QMessageBox::Ok);
        clickButton();
        ASSERT_TRUE(waitForDialogs(before + 1));
        EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(dialogs.requests().last().text, c.expectedError);
    }
}

TEST_F(UpdateFixture, WithoutServerTheSilentCheckIsSkippedAndOnDemandSaysSo)
{
    ScopedEnvironment none("ORVANE_UPDATE_SERVER", QByteArray());
    controller->startSilentCheck();
    QTest::qWait(50);
    EXPECT_TRUE(dialogs.requests().isEmpty());

    dialogs.pressButton(QMessageBox::Ok);
    clickButton();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(0).text, OrvaneCheckVersion::noServerMessage);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(server.requestedPaths.isEmpty());
}

TEST_F(UpdateFixture, DownloadsTheInstallerWhereTheUserChoseWithProgress)
{
    const QByteArray bytes = installerBytes(64000);
    server.serve(versionPath, QByteArray("1.4.2$Better fits"));
    LoopbackHttpServer::Response installer;
    installer.body = bytes;
    installer.chunks = 3;
    installer.chunkDelayMs = 150;
    server.serve(installerPath, installer);
    const QString target = temp.filePath(QStringLiteral("setup/ORVANE new.exe"));
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("setup"))));

    QSignalSpy progress(controller->checker(), &OrvaneCheckVersion::signalReplyProgress);
    bool barShownWhileDownloading = false;
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.chooseFile(target);
    dialogs.answerWith([&](const OrvaneDialogs::Request&) {
        barShownWhileDownloading = !progressBar->isHidden();
        return OrvaneDialogs::Reply{QMessageBox::Ok, {}};
    });
    clickButton();
    ASSERT_TRUE(waitForDialogs(2));
    const auto& save = dialogs.requests().at(1);
    EXPECT_EQ(save.kind, OrvaneDialogs::Kind::SaveFileName);
    EXPECT_EQ(save.title, QStringLiteral("Save ORVANE Installer"));
    // Named for this platform's installer, not a Windows program.
    EXPECT_EQ(save.directory, QDir::homePath() + QStringLiteral("/ORVANE1.4.2-linux.tar.gz"));
    EXPECT_EQ(save.filter, QStringLiteral("Archives (*.tar.gz)"));

    // While the download runs.
    EXPECT_FALSE(progressBar->isHidden());
    EXPECT_EQ(button->text(), OrvaneUpdateController::downloadingText);
    ASSERT_TRUE(waitUntil([&] { return progressBar->value() > 0; }));
    EXPECT_EQ(progressBar->maximum(), bytes.size());
    EXPECT_LE(progressBar->value(), bytes.size());

    ASSERT_TRUE(waitForDialogs(3));
    const auto& saved = dialogs.requests().at(2);
    EXPECT_EQ(saved.kind, OrvaneDialogs::Kind::Information);
    EXPECT_EQ(saved.title, QStringLiteral("ORVANE"));
    EXPECT_EQ(saved.text,
              QStringLiteral("The ORVANE Version Installer was downloaded successfully, and saved at:\n")
                  + target
                  + QStringLiteral("\nPlease, close the current ORVANE instance and install the new version."));
    EXPECT_TRUE(barShownWhileDownloading);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_GE(progress.count(), 2);
    EXPECT_TRUE(progressBar->isHidden());
    EXPECT_EQ(button->text(), OrvaneUpdateController::downloadedText);
    EXPECT_TRUE(button->isEnabled());

    // Asking again only says where the installer is.
    const int requests = server.requestedPaths.size();
    dialogs.pressButton(QMessageBox::Ok);
    clickButton();
    ASSERT_EQ(dialogs.requests().size(), 4);
    EXPECT_EQ(dialogs.requests().at(3).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(3).text,
              QStringLiteral("The ORVANE Installer was saved at:\n ") + target);
    EXPECT_TRUE(button->isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(server.requestedPaths.size(), requests);
}

TEST_F(UpdateFixture, CancellingTheSaveDialogStartsNoDownload)
{
    server.serve(versionPath, QByteArray("1.4.2"));
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.cancel();
    clickButton();
    ASSERT_TRUE(waitForDialogs(2));
    QTest::qWait(100);
    EXPECT_EQ(server.requestedPaths, QStringList{versionPath});
    EXPECT_TRUE(progressBar->isHidden());
    EXPECT_EQ(button->text(), OrvaneUpdateController::idleText);
}

TEST_F(UpdateFixture, AnInstallerThatCannotBeWrittenIsReported)
{
    server.serve(versionPath, QByteArray("1.4.2"));
    server.serve(installerPath, installerBytes(1000));
    const QString target = temp.filePath(QStringLiteral("no such folder/ORVANE.exe"));
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.chooseFile(target);
    dialogs.pressButton(QMessageBox::Ok);
    clickButton();
    ASSERT_TRUE(waitForDialogs(3));
    const auto& box = dialogs.requests().at(2);
    EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(box.title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("The ORVANE Installer could not be saved at:\n") + target + "\n"))
        << box.text.toStdString();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->text(), OrvaneUpdateController::idleText);
    EXPECT_TRUE(progressBar->isHidden());
}

TEST_F(UpdateFixture, AFailedDownloadIsReportedEvenAfterASilentCheck)
{
    for (const bool silent : {true, false}) {
        SCOPED_TRACE(silent ? "silent" : "on demand");
        server.serve(versionPath, QByteArray("1.4.2"));
        LoopbackHttpServer::Response broken;
        broken.status = 500;
        server.serve(installerPath, broken);
        const int before = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Yes);
        dialogs.chooseFile(temp.filePath(QStringLiteral("ORVANE.exe")));
        dialogs.pressButton(QMessageBox::Ok);
        if (silent) {
            controller->startSilentCheck();
        } else {
            button->setEnabled(true);
            clickButton();
        }
        ASSERT_TRUE(waitForDialogs(before + 3));
        EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(dialogs.requests().last().text, connectionError);
        EXPECT_TRUE(progressBar->isHidden());
        EXPECT_EQ(button->text(), OrvaneUpdateController::idleText);
        EXPECT_TRUE(button->isEnabled());
        EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("ORVANE.exe"))));
        QTest::qWait(50);
        EXPECT_EQ(dialogs.requests().size(), before + 3) << "reported once";
    }
}

TEST_F(UpdateFixture, ProgressBarFollowsTheReplyAndShowsBusyWithoutATotal)
{
    controller->replyProgress(0, -1);
    EXPECT_EQ(progressBar->minimum(), 0);
    EXPECT_EQ(progressBar->maximum(), 0);
    controller->replyProgress(300, 1000);
    EXPECT_EQ(progressBar->maximum(), 1000);
    EXPECT_EQ(progressBar->value(), 300);
    // Growing past the earlier maximum keeps the value.
    controller->replyProgress(1500, 2000);
    EXPECT_EQ(progressBar->value(), 1500);
}
