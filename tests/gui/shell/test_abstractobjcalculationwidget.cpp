#include "../support/guitestsupport.h"

#include "abstractobjcalculationwidget.h"
#include "orvaneplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The slot is protected: a form reaches it from inside, as derived forms do.
class RelayingForm : public AbstractObjCalculationWidget
{
public:
    void relay(const QString& line) { processStatus(line); }
};

void writeSettings(const QString& key, const QString& value)
{
    QSettings settings(OrvanePlatform::settingsFilePath(), QSettings::IniFormat);
    settings.setValue(key, value);
}

const char* const childSaveVariable = "ORVANE_TEST_SAVE_LAST_DIRECTORY";

} // namespace

TEST(LastDirectory, FallsBackToHomeUnlessTheSavedFolderExists)
{
    IsolatedTempFolder temp;
    const QString existing = temp.filePath(QStringLiteral("existing"));
    ASSERT_TRUE(QDir().mkpath(existing));
    const QString plainFile = temp.filePath(QStringLiteral("plain.txt"));
    QFile(plainFile).open(QIODevice::WriteOnly);

    AbstractObjCalculationWidget form;
    EXPECT_TRUE(form.lastDirectory.isEmpty()) << "nothing is read before loading";
    form.loadLastDirectory();
    EXPECT_EQ(form.lastDirectory, QDir::homePath()) << "no settings file";

    const struct
    {
        const char* name;
        QString saved;
        QString expected;
    } cases[] = {
        {"an existing folder", existing, existing},
        {"a folder deleted since", temp.filePath(QStringLiteral("gone")), QDir::homePath()},
        {"a file, not a folder", plainFile, QDir::homePath()},
        {"an empty value", QString(), QDir::homePath()},
        {"a relative folder that exists", QStringLiteral("."), QDir::currentPath()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(QStringLiteral("lastDirectory"), c.saved);
        form.loadLastDirectory();
        EXPECT_EQ(form.lastDirectory, c.expected);
    }
}

TEST(LastDirectory, SavedInOneFormIsLoadedByAnother)
{
    IsolatedTempFolder temp;
    const QString folder = temp.filePath(QStringLiteral("inputs"));
    ASSERT_TRUE(QDir().mkpath(folder));

    AbstractObjCalculationWidget first;
    AbstractObjCalculationWidget second;
    second.loadLastDirectory();
    first.saveLastDirectory(folder);
    EXPECT_TRUE(first.lastDirectory.isEmpty()) << "saving does not touch the member";
    EXPECT_EQ(second.lastDirectory, QDir::homePath()) << "loading happens only when asked";

    second.loadLastDirectory();
    EXPECT_EQ(second.lastDirectory, folder);

    // The value is stored as given, in the INI file of the temporary folder.
    QSettings file(temp.path() + QStringLiteral("/orvane-") + QString::number(geteuid())
                       + QStringLiteral("/OrvaneGUI.ini"),
                   QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("lastDirectory")).toString(), folder);
}

// Runs this test program again as a separate process that saves a folder, as
// an earlier run of the program would.
TEST(LastDirectory, SurvivesARestart)
{
    const QByteArray toSave = qgetenv(childSaveVariable);
    if (!toSave.isEmpty()) {
        AbstractObjCalculationWidget().saveLastDirectory(QString::fromLocal8Bit(toSave));
        return;
    }

    IsolatedTempFolder temp;
    const QString folder = temp.filePath(QStringLiteral("from earlier run"));
    ASSERT_TRUE(QDir().mkpath(folder));

    QProcess earlierRun;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childSaveVariable), folder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    earlierRun.setProcessEnvironment(environment);
    earlierRun.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=LastDirectory.SurvivesARestart")});
    ASSERT_TRUE(earlierRun.waitForFinished(60000));
    ASSERT_EQ(earlierRun.exitCode(), 0) << earlierRun.readAll().toStdString();

    AbstractObjCalculationWidget form;
    form.loadLastDirectory();
    EXPECT_EQ(form.lastDirectory, folder);
}

TEST(FormLog, ProcessStatusRelaysLinesUnchanged)
{
    RelayingForm form;
    QSignalSpy spy(&form, &AbstractObjCalculationWidget::newObjCalculationMessage);
    form.relay(QStringLiteral("Mon Jan 1 00:00:00 2024 -> (Module) first\nfile.mop"));
    form.relay(QString());
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(),
              QStringLiteral("Mon Jan 1 00:00:00 2024 -> (Module) first\nfile.mop"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QString());
    EXPECT_FALSE(form.inputFileChosen);
}

TEST(FormLog, EngineLinesReachTheFormByName)
{
    // Forms connect their objects' log signals to the relay slot by name.
    RelayingForm form;
    RelayingForm child;
    QSignalSpy spy(&form, &AbstractObjCalculationWidget::newObjCalculationMessage);
    ASSERT_TRUE(QObject::connect(&child, SIGNAL(newObjCalculationMessage(const QString &)), &form,
                                 SLOT(processStatus(const QString &))));
    child.relay(QStringLiteral("line"));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("line"));
}
