// Every reader of .omega reports (the theoretical intensity-parameter panel
// is the one that takes values from them) reads the reports written before
// fitted reports carried their targets exactly as before, reads them the same
// with a fit section added, and reads a new fitted report's fitted values,
// never its targets.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefitsummary.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanegsa.h"
#include "orvaneparametric.h"
#include "orvanewatergroupfit.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

using Six = std::array<double, 6>;
const Six untouched {7, 7, 7, 7, 7, 7};

// The key lines of a report read here on their own: "omega(k) = <v>e-20 cm^2"
// and "omegaED(k) = ...", in the order of the panel's boxes; a key the report
// lacks keeps the value 7 the boxes start from.
Six keyLines(const QString& report)
{
    Six values = untouched;
    const char* keys[] = {"omega", "omega", "omega", "omegaED", "omegaED", "omegaED"};
    for (int i = 0; i < 6; ++i) {
        const QRegularExpression line(
            QStringLiteral(R"(^\s*%1\(%2\) =\s+([0-9.]+)e-20 cm\^2\s*$)").arg(QLatin1String(keys[i])).arg(2 + 2 * (i % 3)),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch m = line.match(report);
        if (m.hasMatch())
            values[std::size_t(i)] = m.captured(1).toDouble();
    }
    return values;
}

// A fit section of the engine with every kind of line it can hold.
QString fitSection()
{
    OrvaneFitSummary summary(QStringLiteral(" x 10^-20 cm^2"));
    summary.addTarget(QStringLiteral("Omega2"), 10.0, 10.17);
    summary.addTarget(QStringLiteral("Omega4"), 5.0, 0.77);
    summary.addTarget(QStringLiteral("Omega6"), 0.0, 0.25);
    summary.addTarget(QStringLiteral("OmegaED2"), 3.0, std::numeric_limits<double>::quiet_NaN());
    summary.addParameter(QStringLiteral("g of atom 2 (O)"), 2.0, 0.01, 2.0);
    summary.addParameter(QStringLiteral("alpha of atom 3 (O)"), 0.005, 0.005, 15.0);
    return summary.reportSection(QStringLiteral("Fit to the experimental intensity parameters"));
}

// The report with the fit section where the engine prints it: after the name
// of the geometry file, before the first section.
QString withFitSection(const QString& report)
{
    const QString intro = QStringLiteral("The data shown below were calculated from the geometry read in following file: \n");
    const int at = report.indexOf(intro);
    if (at < 0)
        return QString();
    const int fileLineEnd = report.indexOf(QLatin1Char('\n'), at + intro.size());
    const int sectionsStart = fileLineEnd + 2; // the file line and the blank line after it
    return report.left(sectionsStart) + fitSection() + report.mid(sectionsStart);
}

class OmegaReportReaders : public ::testing::Test
{
protected:
    Six read(const QString& path)
    {
        setAll(untouched);
        panel->on_lineEditOmgFile_textChanged(path);
        return {panel->ui.sbxOmega2->value(),   panel->ui.sbxOmega4->value(),   panel->ui.sbxOmega6->value(),
                panel->ui.sbxOmegaED2->value(), panel->ui.sbxOmegaED4->value(), panel->ui.sbxOmegaED6->value()};
    }
    void setAll(const Six& v)
    {
        QDoubleSpinBox* boxes[] = {panel->ui.sbxOmega2,   panel->ui.sbxOmega4,   panel->ui.sbxOmega6,
                                   panel->ui.sbxOmegaED2, panel->ui.sbxOmegaED4, panel->ui.sbxOmegaED6};
        for (int i = 0; i < 6; ++i)
            boxes[i]->setValue(v[std::size_t(i)]);
    }
    static void expectSame(const Six& got, const Six& expected)
    {
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(got[std::size_t(i)], expected[std::size_t(i)], 1e-9) << "box " << i;
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmSetTheorecticalOmega> panel = std::make_unique<OrvaneFrmSetTheorecticalOmega>();
};

} // namespace

TEST_F(OmegaReportReaders, EarlierReportsReadTheSameWithAndWithoutAFitSection)
{
    const QStringList reports = QDir(dataPath(QStringLiteral("reports"))).entryList({QStringLiteral("*.omega")}, QDir::Files);
    ASSERT_GE(reports.size(), 3);
    for (const QString& name : reports) {
        SCOPED_TRACE(name.toStdString());
        const QString text = QString::fromUtf8(OrvaneFixtures::contents(dataPath(QStringLiteral("reports/") + name)));
        const Six expected = keyLines(text);
        const QString earlier = writeFile(temp.filePath(name), text.toUtf8());
        expectSame(read(earlier), expected);

        const QString fitted = withFitSection(text);
        ASSERT_FALSE(fitted.isEmpty());
        ASSERT_TRUE(fitted.contains(QStringLiteral(" Omega4: target 5 x 10^-20 cm^2, reached 0.77")));
        expectSame(read(writeFile(temp.filePath(QStringLiteral("fitted_") + name), fitted.toUtf8())), expected);
    }
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(OmegaReportReaders, TheFitSectionHoldsNoKeyOfAnyReader)
{
    // Alone in a file, the section leaves every box as it was.
    expectSame(read(writeFile(temp.filePath(QStringLiteral("section.omega")), fitSection().toUtf8())), untouched);
    for (const char* key : {"omega(", "omegaED(", "omegaDC(", "e-20"})
        EXPECT_FALSE(fitSection().contains(QLatin1String(key))) << key;
}

TEST_F(OmegaReportReaders, ANewFittedReportGivesItsFittedValuesNotItsTargets)
{
    const QString output = temp.filePath(QStringLiteral("complex.out"));
    ASSERT_TRUE(QFile::copy(dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out")), output));
    const QString report = temp.filePath(QStringLiteral("complex.omega"));
    OrvaneParametric model(nullptr, output, 0);
    OmegaPrintingOptions options;
    options.omega = true;
    options.omegaED = true;
    options.gAndAlpha = true;
    ASSERT_EQ(runWaterGroupFit(model, report, 20.0, 5.0, options, 200), OrvaneGSA::FitState::Finished)
        << model.getLastError().toStdString();

    const QString text = QString::fromUtf8(OrvaneFixtures::contents(report));
    ASSERT_TRUE(text.contains(QStringLiteral("Fit to the experimental intensity parameters")));
    const Six got = read(report);
    expectSame(got, keyLines(text));
    const QVector<OrvaneFitSummary::Target> targets = model.getFitSummary().getTargets();
    ASSERT_EQ(targets.size(), 2);
    // The boxes hold the values reached, as printed (two decimals), not the targets 20 and 5.
    EXPECT_NEAR(got[0], targets.at(0).reached, 0.0051);
    EXPECT_NEAR(got[1], targets.at(1).reached, 0.0051);
    EXPECT_TRUE(dialogs.requests().isEmpty());
}
