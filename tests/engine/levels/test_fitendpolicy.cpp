// One end for every fit: a Stark-level fit, a free-ion fit and an intensity
// fit that fail, or are stopped, leave the report an earlier fit wrote byte
// for byte and say why in their last error; a second fit on the same model
// keeps nothing of the first.

#include "levelstablesfolder.h"
#include "ligandfieldfixture.h"
#include "orvanefixtures.h"
#include "orvanegsa.h"
#include "orvaneparametric.h"
#include "orvaneparametricenergylevels.h"
#include "orvaneparametricstarklevels.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QByteArray earlierReport = "report of an earlier fit\n";

// A model ready to fit, made after an earlier fit's report was put where it
// writes its own, and two start points: one it fits from, one it cannot
// evaluate any point of.
struct FitCase {
    std::unique_ptr<OrvaneAbstractParametric> model;
    QString report;
    std::vector<double> start;
    std::vector<double> failingStart;
};

FitCase starkFit(const QTemporaryDir& dir)
{
    const QString mop = LigandField::writeReferenceMop(dir);
    OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("complex.levels")), earlierReport);
    auto model = std::make_unique<OrvaneParametricStarkLevels>(nullptr, mop, LigandField::referenceCoordNumber);
    model->setParametersGroup({{QStringLiteral("O"), {2, 3, 7}}, {QStringLiteral("X"), {4, 5, 6, 8}}});
    model->setTransitionValues({{1, 17000.0, 17400.0, 17200.0}});
    const QString report = model->getReportFileName();
    // A negative charge factor is refused at the first evaluation.
    return FitCase {std::move(model), report, {0.3, 0.4}, {-0.1, 0.4}};
}

FitCase freeIonFit(const LevelsTablesFolder& tables)
{
    const QString exp =
        OrvaneFixtures::writeFile(tables.path() + QStringLiteral("/eu.exp"), "Eu\n7F0 0\n7F1 360\n7F2 1020\n");
    QVector<EnergyLevelsExp> levels;
    QString title;
    OrvaneParametricEnergyLevels::readEnergyLevelsExp(exp, levels, title);
    // Its report is the log of the improvements.
    const QString log = OrvaneFixtures::writeFile(OrvaneParametricEnergyLevels::logFileName(exp), earlierReport);
    auto model = std::make_unique<OrvaneParametricEnergyLevels>(nullptr, 6, exp);
    model->setEnergyLevelsExp(levels);
    // F2 = 1200 lies outside the bounds.
    return FitCase {std::move(model), log, {371.0, 54.8, 5.75, 1334.0}, {1200.0, 54.8, 5.75, 1334.0}};
}

FitCase intensityFit(const QTemporaryDir& dir)
{
    const QString report = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("fit.omega")), earlierReport);
    auto model = std::make_unique<OrvaneParametric>(nullptr, QStringLiteral(ORVANE_TEST_DATA_DIR "/omega/eu_o5n3.out"), 0);
    QMap<int, QStringList> groups;
    groups[0] << QStringLiteral("O 2") << QStringLiteral("O 3");
    model->setGroupsAndAtoms(groups);
    model->setCoordNumber(2);
    model->setOmegaExp(10e-20, 5e-20);
    model->setFileNameOmg(report);
    // Steps of at most 1 never bring g from 50 within its bounds: no point is kept.
    return FitCase {std::move(model), report, {0.45, 4.5}, {50.0, 4.5}};
}

struct ModelMaker {
    const char* name;
    std::function<FitCase()> make;
};

// Every kind of fit, made in `dir` (the free-ion one beside its level tables).
std::vector<ModelMaker> everyModel(const QTemporaryDir& dir, const LevelsTablesFolder& tables)
{
    return {{"Stark levels", [&dir] { return starkFit(dir); }},
            {"free-ion levels", [&tables] { return freeIonFit(tables); }},
            {"intensity parameters", [&dir] { return intensityFit(dir); }}};
}

// How a fit ended: the driver's state and the reason it passed on.
struct FitEnd {
    OrvaneGSA::FitState state;
    QString driverError;
};

// Runs one fit of `model` from `start` on a new driver, with 2 steps a run;
// `stopped` asks it to stop before it starts.
FitEnd fitFrom(OrvaneAbstractParametric* model, std::vector<double> start, bool stopped = false)
{
    double* xp = start.data();
    OrvaneGSA gsa(nullptr, int(start.size()), xp, model);
    gsa.setNStopMax(2);
    if (stopped)
        gsa.requestStop();
    testing::internal::CaptureStdout();
    gsa.initializeGSA();
    testing::internal::GetCapturedStdout();
    return {gsa.getFitState(), gsa.getLastError()};
}

} // namespace

TEST(FitEndPolicy, AFailedOrStoppedFitLeavesTheEarlierReportAndSaysWhy)
{
    QTemporaryDir dir;
    LevelsTablesFolder tables;
    for (const ModelMaker& m : everyModel(dir, tables)) {
        for (const bool stopped : {false, true}) {
            SCOPED_TRACE(std::string(m.name) + (stopped ? ", stopped" : ", failed"));
            FitCase fit = m.make();
            ASSERT_EQ(OrvaneFixtures::contents(fit.report), earlierReport);
            const FitEnd end = fitFrom(fit.model.get(), stopped ? fit.start : fit.failingStart, stopped);

            EXPECT_EQ(end.state, stopped ? OrvaneGSA::FitState::Stopped : OrvaneGSA::FitState::Failed);
            EXPECT_EQ(OrvaneFixtures::contents(fit.report), earlierReport);
            const QString reason = fit.model->getLastError();
            EXPECT_FALSE(reason.isEmpty());
            if (stopped)
                EXPECT_TRUE(reason.startsWith(QStringLiteral("The fit was stopped before its end"))) << reason.toStdString();
            // The driver passes on the model's reason (or, for a failed first
            // evaluation, the part the model gave then).
            EXPECT_FALSE(end.driverError.isEmpty());
            EXPECT_TRUE(reason.contains(end.driverError)) << end.driverError.toStdString();
        }
    }
}

// A second fit on the same model starts afresh: when none of its points can
// be evaluated it keeps no best point, best response, summary, log or reason
// of the first fit, ends failed, and leaves the first fit's report as it was
// instead of writing it again as its own.
TEST(FitEndPolicy, ASecondFitKeepsNothingOfTheFirst)
{
    QTemporaryDir dir;
    LevelsTablesFolder tables;
    for (const ModelMaker& m : everyModel(dir, tables)) {
        SCOPED_TRACE(m.name);
        FitCase fit = m.make();
        OrvaneAbstractParametric* model = fit.model.get();
        ASSERT_EQ(fitFrom(model, fit.start).state, OrvaneGSA::FitState::Finished) << model->getLastError().toStdString();
        ASSERT_TRUE(model->hasBestPoint());
        ASSERT_LT(model->getBestResponse(), 1e24);
        ASSERT_FALSE(model->getFitSummary().isEmpty());
        const QByteArray firstReport = OrvaneFixtures::contents(fit.report);
        ASSERT_NE(firstReport, earlierReport);

        EXPECT_EQ(fitFrom(model, fit.failingStart).state, OrvaneGSA::FitState::Failed);
        EXPECT_FALSE(model->hasBestPoint());
        EXPECT_EQ(model->getBestResponse(), 1e24);
        EXPECT_TRUE(model->getFitSummary().isEmpty());
        EXPECT_EQ(OrvaneFixtures::contents(fit.report), firstReport);
        if (const auto* freeIon = dynamic_cast<const OrvaneParametricEnergyLevels*>(model)) {
            EXPECT_TRUE(freeIon->getBestParameters().isEmpty());
            EXPECT_TRUE(freeIon->getLogText().isEmpty()) << freeIon->getLogText().toStdString();
            EXPECT_TRUE(freeIon->getMixedStateVector().isEmpty());
            EXPECT_FALSE(freeIon->hasWrittenLog());
        }

        // Nor the reason a stopped fit gave for its end: a fit that keeps no
        // point after it says why, not that it was stopped.
        ASSERT_EQ(fitFrom(model, fit.start, true).state, OrvaneGSA::FitState::Stopped);
        ASSERT_TRUE(model->getLastError().contains(QStringLiteral("stopped")));
        EXPECT_EQ(fitFrom(model, fit.failingStart).state, OrvaneGSA::FitState::Failed);
        const QString reason = model->getLastError();
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_FALSE(reason.contains(QStringLiteral("stopped"))) << reason.toStdString();
    }
}

// A second free-ion fit from a start far from the first's logs only its own
// improvements: with 2 steps a run and steps of at most 1 cm-1, none of its
// points comes within 50 cm-1 of the first fit's F2.
TEST(FitEndPolicy, ASecondFreeIonFitLogsOnlyItsOwnImprovements)
{
    LevelsTablesFolder tables;
    FitCase fit = freeIonFit(tables);
    auto* model = static_cast<OrvaneParametricEnergyLevels*>(fit.model.get());
    ASSERT_EQ(fitFrom(model, {371.0, 54.8, 5.75, 1334.0}).state, OrvaneGSA::FitState::Finished);
    ASSERT_FALSE(model->getLogText().isEmpty());

    ASSERT_EQ(fitFrom(model, {300.0, 45.0, 4.5, 1100.0}).state, OrvaneGSA::FitState::Finished);
    const QStringList lines = model->getLogText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const QRegularExpression f2(QStringLiteral("\tF2 = (\\S+)\t"));
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = f2.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_NEAR(match.captured(1).toDouble(), 300.0, 20.0) << line.toStdString();
    }
    const QVector<double> best = model->getBestParameters();
    ASSERT_EQ(best.size(), 4);
    EXPECT_NEAR(best[0], 300.0, 20.0);
    EXPECT_NEAR(best[3], 1100.0, 20.0);
    // The log file holds the second fit's lines only.
    EXPECT_TRUE(model->hasWrittenLog());
    EXPECT_EQ(OrvaneFixtures::readText(fit.report), model->getLogText());
}
