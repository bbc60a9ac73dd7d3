#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefrmsettheorecticalomega.h"
#include "orvanesettings.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <array>

using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

using Six = std::array<double, 6>;
const QString greyHint = QStringLiteral("color: rgb(158, 158, 158);");

class TheoreticalOmegaPanel : public ::testing::Test
{
protected:
    Six values() const
    {
        return {panel->ui.sbxOmega2->value(),   panel->ui.sbxOmega4->value(),   panel->ui.sbxOmega6->value(),
                panel->ui.sbxOmegaED2->value(), panel->ui.sbxOmegaED4->value(), panel->ui.sbxOmegaED6->value()};
    }
    void setValues(const Six& v)
    {
        panel->ui.sbxOmega2->setValue(v[0]);
        panel->ui.sbxOmega4->setValue(v[1]);
        panel->ui.sbxOmega6->setValue(v[2]);
        panel->ui.sbxOmegaED2->setValue(v[3]);
        panel->ui.sbxOmegaED4->setValue(v[4]);
        panel->ui.sbxOmegaED6->setValue(v[5]);
    }
    QString write(const QString& name, const QByteArray& text) { return writeFile(temp.filePath(name), text); }
    QString copyOf(const QString& golden)
    {
        return write(QFileInfo(golden).fileName(), OrvaneFixtures::contents(dataPath(golden)));
    }
    DragResult drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        return dragAndDrop(panel->ui.lineEditOmgFile, data);
    }
    void expectCleared()
    {
        EXPECT_EQ(values(), (Six{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(panel->ui.lineEditOmgFile->text(), OrvaneFrmSetTheorecticalOmega::dropHint());
        EXPECT_EQ(panel->ui.lineEditOmgFile->styleSheet(), greyHint);
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmSetTheorecticalOmega> panel = std::make_unique<OrvaneFrmSetTheorecticalOmega>();
};

} // namespace

TEST_F(TheoreticalOmegaPanel, StartsWithZerosAndTheGreyHint)
{
    expectCleared();
    EXPECT_TRUE(panel->ui.lineEditOmgFile->isReadOnly());
    // Every box keeps the four decimals the reports print.
    for (auto* box : {panel->ui.sbxOmega2, panel->ui.sbxOmega4, panel->ui.sbxOmega6, panel->ui.sbxOmegaED2,
                      panel->ui.sbxOmegaED4, panel->ui.sbxOmegaED6}) {
        EXPECT_EQ(box->decimals(), 4);
        EXPECT_DOUBLE_EQ(box->maximum(), 99.99);
        EXPECT_DOUBLE_EQ(box->minimum(), 0.0);
    }
}

TEST_F(TheoreticalOmegaPanel, ReadsTheEnginesReportsDroppedOnTheField)
{
    // The values are the ones printed in the golden reports.
    const struct
    {
        const char* report;
        Six expected;
    } cases[] = {
        // Omega section only: the electric-dipole boxes keep their values.
        {"reports/eu_n9_omega.omega", {2.66, 1.92, 0.0695, 7, 7, 7}},
        // Every section, the dynamic-coupling lines among them.
        {"reports/eu_n9_all.omega", {2.66, 1.92, 0.0695, 0.0391, 0.0542, 0.0954}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        setValues({7, 7, 7, 7, 7, 7});
        const QString path = copyOf(QLatin1String(c.report));
        const DragResult result = drop(path);
        EXPECT_TRUE(result.dropAccepted);
        EXPECT_EQ(panel->ui.lineEditOmgFile->text(), path);
        EXPECT_EQ(panel->ui.lineEditOmgFile->styleSheet(), QString());
        const Six got = values();
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(got[i], c.expected[i], 1e-9) << "box " << i;
    }
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(TheoreticalOmegaPanel, ReadsKeyLinesByTheirThirdField)
{
    const struct
    {
        const char* what;
        QByteArray text;
        Six expected;
    } cases[] = {
        {"four decimals survive (a two-decimal box would read 0)",
         "    omega(2) =   0.0045e-20 cm^2\r\n\r\n    omega(6) = 0.0001e-20 cm^2\r\n", {0.0045, 5, 0.0001, 5, 5, 5}},
        {"leading blanks and runs of blanks", "      omegaED(4) =     1.2345e-20 cm^2\n", {5, 5, 5, 5, 1.2345, 5}},
        {"the key anywhere in the line", "#omegaED(2) = 0.5e-20\n", {5, 5, 5, 0.5, 5, 5}},
        {"the value is the third field, wherever the key is", "x omegaED(4) = 1.5e-20 cm^2\n", {5, 5, 5, 5, 0, 5}},
        {"a key line with fewer than three fields is skipped", "omega(2) =\nomega(4) =12\n", {5, 5, 5, 5, 5, 5}},
        {"a third field that is no number gives 0", "omega(4) = n/a cm^2\n", {5, 0, 5, 5, 5, 5}},
        {"tabs do not separate fields: the third field is the unit", "omega(2) =\t3.5e-20 cm^2\n", {0, 5, 5, 5, 5, 5}},
        {"reading stops after the last key", "omegaED(6) = 0.25e-20 cm^2\nomega(2) = 9.5e-20 cm^2\n",
         {5, 5, 5, 5, 5, 0.25}},
        {"a later line overwrites an earlier one", "omega(2) = 1.5e-20\nomega(2) = 2.5e-20\n", {2.5, 5, 5, 5, 5, 5}},
        {"values are limited to the boxes' range", "omega(2) = 123.4e-20\nomega(4) = -2e-20\n", {99.99, 0, 5, 5, 5, 5}},
        {"no keys at all", "nothing to read here\n", {5, 5, 5, 5, 5, 5}},
        {"an empty file", "", {5, 5, 5, 5, 5, 5}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setValues({5, 5, 5, 5, 5, 5});
        drop(write(QStringLiteral("case%1.omega").arg(++n), c.text));
        const Six got = values();
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(got[i], c.expected[i], 1e-9) << "box " << i;
    }
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(TheoreticalOmegaPanel, RefusesOtherExtensionsWithTheirName)
{
    const struct
    {
        const char* file;
        const char* extension;
    } cases[] = {{"report.OMEGA", "OMEGA"}, {"report", ""}, {"report.omega.txt", "txt"}, {"dir.omega/report.out", "out"}};
    QDir(temp.path()).mkdir(QStringLiteral("dir.omega"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        setValues({1, 2, 3, 4, 5, 6});
        dialogs.pressButton(QMessageBox::Ok);
        drop(write(QLatin1String(c.file), "omega(2) = 9e-20 cm^2\n"));
        ASSERT_FALSE(dialogs.requests().isEmpty());
        EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Warning);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Warning"));
        EXPECT_EQ(dialogs.requests().last().text,
                  QStringLiteral("The desired file contains an unknown extension (%1)").arg(QLatin1String(c.extension)));
        expectCleared();
    }
    // Nothing was remembered, so nothing is saved when the panel goes.
    panel.reset();
    EXPECT_TRUE(OrvaneSettings::value(QStringLiteral("lastDirectory")).isEmpty());
}

TEST_F(TheoreticalOmegaPanel, AFileThatCannotBeOpenedIsReportedAndClearsTheValues)
{
    setValues({1, 2, 3, 4, 5, 6});
    const QString missing = temp.filePath(QStringLiteral("gone.omega"));
    dialogs.pressButton(QMessageBox::Ok);
    // The form names the report beside its input this way.
    panel->ui.lineEditOmgFile->setText(missing);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().first().title, QStringLiteral("ORVANE Message"));
    EXPECT_TRUE(dialogs.requests().first().text.endsWith(QLatin1Char('\n') + missing));
    EXPECT_GT(dialogs.requests().first().text.size(), missing.size() + 1);
    expectCleared();
}

TEST_F(TheoreticalOmegaPanel, DroppingAFolderChangesOnlyTheColour)
{
    setValues({1, 2, 3, 4, 5, 6});
    drop(temp.path());
    EXPECT_EQ(values(), (Six{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(panel->ui.lineEditOmgFile->text(), OrvaneFrmSetTheorecticalOmega::dropHint());
    EXPECT_EQ(panel->ui.lineEditOmgFile->styleSheet(), QString());
}

TEST_F(TheoreticalOmegaPanel, OpenButtonReadsTheChosenFileEachTimeAndTheFolderSurvivesARestart)
{
    QDir(temp.path()).mkdir(QStringLiteral("reports"));
    const QString path = write(QStringLiteral("reports/a.omega"), "omega(2) = 1.25e-20 cm^2\n");
    OrvaneSettings::setValue(QStringLiteral("lastDirectory"), QStringLiteral("/start/here"));

    dialogs.chooseFile(path);
    panel->ui.btnOpenOmgFile->click();
    EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::OpenFileName);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("Open .omega File"));
    EXPECT_EQ(dialogs.requests().last().directory, QStringLiteral("/start/here"));
    EXPECT_EQ(dialogs.requests().last().filter, QStringLiteral("omega File (*.omega)"));
    EXPECT_DOUBLE_EQ(panel->ui.sbxOmega2->value(), 1.25);

    // The same name again is read again (the field's text does not change).
    write(QStringLiteral("reports/a.omega"), "omega(2) = 2.5e-20 cm^2\n");
    dialogs.chooseFile(path);
    panel->ui.btnOpenOmgFile->click();
    EXPECT_DOUBLE_EQ(panel->ui.sbxOmega2->value(), 2.5);
    // Dropping it again does not: the text is the same.
    write(QStringLiteral("reports/a.omega"), "omega(2) = 3.75e-20 cm^2\n");
    drop(path);
    EXPECT_DOUBLE_EQ(panel->ui.sbxOmega2->value(), 2.5);

    // Only the panel's end writes the folder; the next panel starts there.
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), QStringLiteral("/start/here"));
    panel.reset();
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), QFileInfo(path).absolutePath());
    panel = std::make_unique<OrvaneFrmSetTheorecticalOmega>();
    dialogs.cancel();
    panel->ui.btnOpenOmgFile->click();
    EXPECT_EQ(dialogs.requests().last().directory, QFileInfo(path).absolutePath());
}

TEST_F(TheoreticalOmegaPanel, CancellingForgetsTheNameButKeepsTheValues)
{
    const QString path = write(QStringLiteral("b.omega"), "omega(4) = 4.5e-20 cm^2\n");
    drop(path);
    dialogs.cancel();
    panel->ui.btnOpenOmgFile->click();
    EXPECT_DOUBLE_EQ(panel->ui.sbxOmega4->value(), 4.5);
    EXPECT_EQ(panel->ui.lineEditOmgFile->text(), path);
    panel.reset();
    EXPECT_TRUE(OrvaneSettings::value(QStringLiteral("lastDirectory")).isEmpty());
}

TEST_F(TheoreticalOmegaPanel, ClearValuesKeepsTheRememberedFile)
{
    const QString path = write(QStringLiteral("c.omega"), "omega(6) = 0.5e-20 cm^2\n");
    drop(path);
    panel->clearValues();
    expectCleared();
    panel.reset();
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), QFileInfo(path).absolutePath());
}
