// The end of a free-ion fit on the energy-level form when its log cannot be
// written: the failure and the system's reason are shown, and no earlier log
// (on disk or on screen) passes for this fit's result.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"
#include "orvanesmalldisk.h"

#include "orvanefrmenergylevels.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace OrvaneFixtures;

namespace {

const QByteArray ceriumExp = "Ce\n2F5/2 0\n2F7/2 2240\n";
const QByteArray earlierLog = "Point Number = 1\tF2 = 999\tF4 = 99\tF6 = 9\tzeta = 4999\t Response Function = 77\n";

class EnergyLevelsFitLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(dir.filePath(QStringLiteral("EnergyLevels4f")));
        const QDir source(QStringLiteral(ORVANE_LEVEL_TABLES_DIR));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), dir.filePath(QStringLiteral("EnergyLevels4f/") + name));
        current = std::make_unique<ScopedCurrentDirectory>(dir.path());
    }
    template <typename T>
    T* child(const char* name)
    {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text() { return child<QPlainTextEdit>("plainTextEdit")->toPlainText(); }
    // Opens `exp` in fit mode and runs a short fit to its end, which shows one box.
    bool fit(const QString& exp)
    {
        child<QRadioButton>("rdbParametrizeFkAndZeta")->click();
        script.chooseFile(exp);
        child<QPushButton>("btnOpenEnergyLevelsFile")->click();
        child<QSpinBox>("sbxNStopMax")->setValue(50);
        child<QDoubleSpinBox>("sbxStartF2")->setValue(300);
        child<QDoubleSpinBox>("sbxStartF4")->setValue(50);
        child<QDoubleSpinBox>("sbxStartF6")->setValue(5);
        child<QDoubleSpinBox>("sbxStartZeta")->setValue(500);
        script.pressButton(QMessageBox::Ok);
        child<QPushButton>("btnRunParametrization")->click();
        return waitUntil([this] { return !form.isFitRunning(); }, 120000);
    }
    QStringList statusLines() const
    {
        QStringList lines;
        for (const QList<QVariant>& line : status)
            lines << line.at(0).toString();
        return lines;
    }
    void expectLogFailureReported(const QString& log, const QString& reason)
    {
        const QString error = QStringLiteral("The file %1 could not be written: %2").arg(QDir::toNativeSeparators(log), reason);
        // The file dialog, then the end.
        ASSERT_EQ(script.requests().size(), 2);
        EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Error"));
        const QString box = script.requests().at(1).text;
        EXPECT_TRUE(box.startsWith(QStringLiteral("The  parameterization of the energy levels has finished, but its log "
                                                  "could not be written.\n\n")
                                   + error))
            << box.toStdString();
        EXPECT_TRUE(box.contains(QStringLiteral("2F3.5: target 2240 cm-1, reached "))) << box.toStdString();
        EXPECT_TRUE(statusLines().contains(QStringLiteral("-> ") + error)) << statusLines().join('\n').toStdString();
        // The text shows the failure and how close the fit came, and no log line at all.
        EXPECT_TRUE(text().startsWith(error)) << text().toStdString();
        EXPECT_FALSE(text().contains(QStringLiteral("Point Number"))) << text().toStdString();
    }

    IsolatedTempFolder temp;
    QTemporaryDir dir;
    std::unique_ptr<ScopedCurrentDirectory> current;
    DialogScript script;
    OrvaneFrmEnergyLevels form;
    QSignalSpy status {&form, &AbstractObjCalculationWidget::newObjCalculationMessage};
};

} // namespace

TEST_F(EnergyLevelsFitLog, ALogNameTakenByAFolderIsReportedWithTheSystemsReason)
{
    const QString exp = writeFile(dir.filePath(QStringLiteral("ce.exp")), ceriumExp);
    const QString log = dir.filePath(QStringLiteral("ce.output"));
    ASSERT_TRUE(QDir().mkdir(log));
    ASSERT_TRUE(fit(exp));
    expectLogFailureReported(log, QStringLiteral("it is a folder, not a file."));
}

TEST_F(EnergyLevelsFitLog, AnEarlierLogOnAReadOnlyDiskIsNeverShownAsThisFitsResult)
{
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const QString exp = writeFile(disk.path(QStringLiteral("ce.exp")), ceriumExp);
    const QString log = writeFile(disk.path(QStringLiteral("ce.output")), earlierLog);
    ASSERT_TRUE(disk.makeReadOnly()) << std::strerror(errno);

    ASSERT_TRUE(fit(exp));
    expectLogFailureReported(log, QString::fromLocal8Bit(std::strerror(EROFS)));
    EXPECT_EQ(contents(log), earlierLog);
}

TEST_F(EnergyLevelsFitLog, AFullDiskIsReportedWithTheSystemsReason)
{
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const QString exp = writeFile(disk.path(QStringLiteral("ce.exp")), ceriumExp);
    ASSERT_TRUE(disk.fill());

    ASSERT_TRUE(fit(exp));
    expectLogFailureReported(disk.path(QStringLiteral("ce.output")), QString::fromLocal8Bit(std::strerror(ENOSPC)));
}
