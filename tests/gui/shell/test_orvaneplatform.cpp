#include "../support/guitestsupport.h"

#include "orvanegroupprocess.h"
#include "orvaneplatform.h"
#include "orvanesettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using OrvaneFixtures::readText;

QString expectedPrivateFolder(const IsolatedTempFolder& temp)
{
    return temp.path() + QStringLiteral("/orvane-") + QString::number(geteuid());
}

// A process counts as gone once it has ended, even if nobody reaped it yet.
bool processGone(qint64 pid)
{
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return true;
    const QString stat = readText(QStringLiteral("/proc/%1/stat").arg(pid));
    const int close = stat.lastIndexOf(QLatin1Char(')'));
    return close >= 0 && stat.mid(close + 2, 1) == QLatin1String("Z");
}

} // namespace

TEST(PrivateTempFolder, IsCreatedClosedToOthersAndHoldsTheSettingsFile)
{
    IsolatedTempFolder temp;
    QString error;
    const QString folder = OrvanePlatform::privateTempFolder(&error);
    ASSERT_EQ(folder, expectedPrivateFolder(temp)) << error.toStdString();

    struct stat info;
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());

    // Asking again reuses the same folder.
    EXPECT_EQ(OrvanePlatform::privateTempFolder(), folder);
    EXPECT_EQ(OrvanePlatform::settingsFilePath(), folder + QStringLiteral("/OrvaneGUI.ini"));
}

TEST(PrivateTempFolder, IsRefusedWhenOpenToOthersOrNotAFolder)
{
    struct Case
    {
        const char* name;
        std::function<void(const QString& path, const QString& elsewhere)> plant;
    };
    const Case cases[] = {
        {"open to everybody",
         [](const QString& path, const QString&) {
             ASSERT_EQ(::mkdir(QFile::encodeName(path).constData(), 0700), 0);
             ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0777), 0);
         }},
        {"a symbolic link to another folder",
         [](const QString& path, const QString& elsewhere) {
             ASSERT_TRUE(QDir().mkpath(elsewhere));
             ASSERT_TRUE(QFile::link(elsewhere, path));
         }},
        {"a plain file",
         [](const QString& path, const QString&) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IsolatedTempFolder temp;
        c.plant(expectedPrivateFolder(temp), temp.filePath(QStringLiteral("elsewhere")));
        QString error;
        EXPECT_TRUE(OrvanePlatform::privateTempFolder(&error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(OrvanePlatform::settingsFilePath().isEmpty());
    }
}

TEST(PrivateTempFolder, IsRefusedWhenAnotherUserOwnsIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "handing a folder to another user needs root";
    IsolatedTempFolder temp;
    const QByteArray path = QFile::encodeName(expectedPrivateFolder(temp));
    ASSERT_EQ(::mkdir(path.constData(), 0700), 0);
    ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);

    QString error;
    EXPECT_TRUE(OrvanePlatform::privateTempFolder(&error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("another user"))) << error.toStdString();

    // The settings then read as empty and writes go nowhere.
    OrvaneSettings::setValue(QStringLiteral("lastDirectory"), QStringLiteral("/somewhere"));
    EXPECT_TRUE(OrvaneSettings::value(QStringLiteral("lastDirectory")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromLocal8Bit(path) + QStringLiteral("/OrvaneGUI.ini")));
}

TEST(FileTypeRegistration, WritesMimePackageAndDesktopEntryUnderDataHome)
{
    IsolatedTempFolder temp;
    ScopedEnvironment dataHome("XDG_DATA_HOME", temp.filePath(QStringLiteral("data")).toLocal8Bit());
    const QString program = QStringLiteral("/opt/Orvane 1.4/bin/OrvaneGUI");

    QString error;
    ASSERT_TRUE(OrvanePlatform::registerFileType(QStringLiteral("omega"), program, &error))
        << error.toStdString();

    const QString mime = readText(temp.filePath(QStringLiteral("data/mime/packages/orvane-omega.xml")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-orvane-omega\">")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.omega\"/>")));

    const QString entry =
        readText(temp.filePath(QStringLiteral("data/applications/orvane-omega_auto_file.desktop")));
    const QStringList lines = entry.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.value(0), QStringLiteral("[Desktop Entry]"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=\"/opt/Orvane 1.4/bin/OrvaneGUI\" %f")));
    EXPECT_TRUE(lines.contains(QStringLiteral("MimeType=application/x-orvane-omega;")));

    // Nothing named after a registry path is written anywhere.
    EXPECT_TRUE(QDir(QDir::currentPath()).entryList({QStringLiteral("*Classes*")}).isEmpty());
}

TEST(FileTypeRegistration, QuotesReservedCharactersOfTheProgramPath)
{
    IsolatedTempFolder temp;
    ScopedEnvironment dataHome("XDG_DATA_HOME", temp.filePath(QStringLiteral("data")).toLocal8Bit());
    // The desktop-entry format: inside the quotes \" \` \$ \\ stand for the
    // character; % is doubled; then every backslash of the value is doubled.
    ASSERT_TRUE(OrvanePlatform::registerFileType(QStringLiteral("mop"),
                                                 QStringLiteral("/a\"b/$HOME/`x`/c\\d/50%")));
    const QString entry =
        readText(temp.filePath(QStringLiteral("data/applications/orvane-mop_auto_file.desktop")));
    EXPECT_TRUE(entry.contains(
        QStringLiteral("Exec=\"/a\\\\\"b/\\\\$HOME/\\\\`x\\\\`/c\\\\\\\\d/50%%\" %f\n")))
        << entry.toStdString();
}

TEST(FileTypeRegistration, RefusesUnsafeInput)
{
    IsolatedTempFolder temp;
    ScopedEnvironment dataHome("XDG_DATA_HOME", temp.filePath(QStringLiteral("data")).toLocal8Bit());
    const struct
    {
        const char* extension;
        const char* program;
    } cases[] = {
        {"../evil", "/usr/bin/OrvaneGUI"},
        {"", "/usr/bin/OrvaneGUI"},
        {"mop", "OrvaneGUI"},
        {"mop", "/usr/bin/Orvane\nExec=/bin/evil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension + std::string(" ") + c.program);
        QString error;
        EXPECT_FALSE(OrvanePlatform::registerFileType(QString::fromUtf8(c.extension),
                                                      QString::fromUtf8(c.program), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("data"))));
}

TEST(ProcessTree, EndingTheChildEndsWhatItStarted)
{
    OrvaneGroupProcess process;
    // The shell starts a grandchild, reports its pid and waits for it.
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("sleep 60 & echo $!; wait")});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return process.canReadLine(); }));
    bool ok = false;
    const qint64 grandchild = process.readLine().trimmed().toLongLong(&ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(::getpgid(static_cast<pid_t>(grandchild)), static_cast<pid_t>(process.processId()));

    EXPECT_TRUE(process.endTree(2000));
    EXPECT_TRUE(process.waitForFinished(5000));
    EXPECT_TRUE(waitUntil([&] { return processGone(grandchild); }));
    EXPECT_FALSE(process.endTree());
}

TEST(ProcessTree, RefusesPidsThatWouldReachOtherProcesses)
{
    EXPECT_FALSE(OrvanePlatform::endProcessTree(0));
    EXPECT_FALSE(OrvanePlatform::endProcessTree(1));
    EXPECT_FALSE(OrvanePlatform::endProcessTree(-5));
    EXPECT_FALSE(OrvanePlatform::endProcessTree(::getpgrp()));
}

TEST(UpdateServerAddress, ComesFromTheEnvironmentOrElseTheSettings)
{
    IsolatedTempFolder temp;
    ScopedEnvironment unset("ORVANE_UPDATE_SERVER", QByteArray());
    EXPECT_TRUE(OrvanePlatform::updateServerUrl().isEmpty());

    OrvaneSettings::setValue(QStringLiteral("updateServer"), QStringLiteral("http://127.0.0.1:8123"));
    EXPECT_EQ(OrvanePlatform::updateServerUrl(), QUrl(QStringLiteral("http://127.0.0.1:8123")));

    ScopedEnvironment variable("ORVANE_UPDATE_SERVER", "https://updates.invalid:9000/orvane");
    EXPECT_EQ(OrvanePlatform::updateServerUrl(),
              QUrl(QStringLiteral("https://updates.invalid:9000/orvane")));
}

TEST(UpdateServerAddress, OnlyHttpAddressesWithAHostCount)
{
    IsolatedTempFolder temp;
    for (const char* text : {"ftp://127.0.0.1/", "127.0.0.1:8080", "http://", "file:///etc/passwd",
                             "not an address"}) {
        SCOPED_TRACE(text);
        ScopedEnvironment variable("ORVANE_UPDATE_SERVER", text);
        EXPECT_TRUE(OrvanePlatform::updateServerUrl().isEmpty());
    }
}
