#include "../support/guitestsupport.h"

#include "orvanestartup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using OrvaneFixtures::readText;

// The per-user data folder of the desktop, moved to a temporary folder.
class FileTypeFixture : public ::testing::Test
{
protected:
    QString desktopEntry(const QString& extension) const
    {
        return readText(dataHome.filePath(QStringLiteral("applications/orvane-%1_auto_file.desktop").arg(extension)));
    }
    QString mimePackage(const QString& extension) const
    {
        return readText(dataHome.filePath(QStringLiteral("mime/packages/orvane-%1.xml").arg(extension)));
    }

    QTemporaryDir dataHome;
    ScopedEnvironment xdg{"XDG_DATA_HOME", dataHome.path().toLocal8Bit()};
    // No update-mime-database: it would run detached, after the folder is gone.
    QTemporaryDir emptyBin;
    ScopedEnvironment path{"PATH", emptyBin.path().toLocal8Bit()};
};

} // namespace

TEST_F(FileTypeFixture, RegistersTheEightTypesForTheProgram)
{
    EXPECT_EQ(OrvaneStartup::fileTypes,
              QStringList({"mop", "out", "orcinp", "pointcharge", "orcout", "omega", "orvaneexp", "orvane"}));

    OrvaneStartup::registerFileTypes(QStringLiteral("/opt/orvane/bin/OrvaneGUI"));
    for (const QString& extension : OrvaneStartup::fileTypes) {
        SCOPED_TRACE(extension.toStdString());
        const QString entry = desktopEntry(extension);
        EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"/opt/orvane/bin/OrvaneGUI\" %f\n")));
        EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=application/x-orvane-%1;").arg(extension)));
        EXPECT_TRUE(mimePackage(extension).contains(QStringLiteral("<glob pattern=\"*.%1\"/>").arg(extension)));
    }
}

TEST_F(FileTypeFixture, TheNewestStartWins)
{
    OrvaneStartup::registerFileTypes(QStringLiteral("/home/a/old place/OrvaneGUI"));
    OrvaneStartup::registerFileTypes(QStringLiteral("/home/a/new/OrvaneGUI"));
    for (const QString& extension : OrvaneStartup::fileTypes) {
        SCOPED_TRACE(extension.toStdString());
        const QString entry = desktopEntry(extension);
        EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"/home/a/new/OrvaneGUI\" %f\n")));
        EXPECT_FALSE(entry.contains(QStringLiteral("old place")));
    }
}
