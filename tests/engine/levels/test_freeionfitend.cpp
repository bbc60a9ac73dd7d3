// The end of a free-ion fit: how close it came to each experimental level, in
// cm-1, which of F2, F4, F6 and zeta ended at a bound, and a log that the disk
// refuses, which is reported with the system's reason and never passes for
// this fit's log.

#include "levelstablesfolder.h"
#include "orvaneenergylevels.h"
#include "orvanefixtures.h"
#include "orvanegsa.h"
#include "orvaneparametricenergylevels.h"
#include "orvanesmalldisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

using Fit = OrvaneParametricEnergyLevels;

namespace {

// Levels of 4f^6 (Eu3+) at F2, F4, F6, zeta.
QVector<MixedState> levelsAt(const std::vector<double>& p)
{
    OrvaneEnergyLevels levels(nullptr, 6);
    levels.setSlaterIntegral(0.0, p[0], p[1], p[2]);
    levels.setZetaParameters(p[3]);
    levels.calcEnergyLevels(-1);
    return levels.getMixedStatesVector();
}

// An experimental file of the 7F0..7F3 levels, typed as a chemist would.
const QByteArray euLevels = "Eu\n7F0 0\n7F1 360\n7F2 1020\n7F3 1860\n";

struct FitRun {
    std::unique_ptr<Fit> fit;
    std::vector<double> x;
    std::unique_ptr<OrvaneGSA> gsa;

    FitRun(const QString& expFile, const std::vector<double>& start, int steps)
        : fit(std::make_unique<Fit>(nullptr, 6, expFile))
        , x(start)
    {
        QVector<EnergyLevelsExp> levels;
        QString title;
        Fit::readEnergyLevelsExp(expFile, levels, title);
        fit->setEnergyLevelsExp(levels);
        OrvaneAbstractParametric* problem = fit.get();
        double* xp = x.data();
        gsa = std::make_unique<OrvaneGSA>(nullptr, 4, xp, problem);
        gsa->setNStopMax(steps);
        gsa->setGSAParameters(1.5, 1.5, 5.0, 2.0);
    }
    void run() { gsa->initializeGSA(); }
    // The levels at the best point, computed afresh; empty without one.
    QVector<MixedState> levelsAtBest() const
    {
        const QVector<double> best = fit->getBestParameters();
        return best.size() == 4 ? levelsAt({best[0], best[1], best[2], best[3]}) : QVector<MixedState>();
    }
};

} // namespace

TEST(FreeIonFitEnd, EachLevelAfterTheFirstIsATargetWithItsDeviationInCm)
{
    LevelsTablesFolder tables;
    const QString exp = OrvaneFixtures::writeFile(tables.path() + QStringLiteral("/eu.exp"), euLevels);
    FitRun run(exp, {371.0, 54.8, 5.75, 1334.0}, 30);
    run.run();
    ASSERT_EQ(run.gsa->getFitState(), OrvaneGSA::FitState::Finished) << run.gsa->getLastError().toStdString();

    const QVector<MixedState> computed = run.levelsAtBest();
    ASSERT_FALSE(computed.isEmpty());
    const OrvaneFitSummary& summary = run.fit->getFitSummary();
    const QVector<OrvaneFitSummary::Target> targets = summary.getTargets();
    const struct {
        const char* label;
        double energy;
    } expected[] = {{"7F1", 360.0}, {"7F2", 1020.0}, {"7F3", 1860.0}};
    ASSERT_EQ(targets.size(), 3);
    QStringList missed;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].label);
        EXPECT_EQ(targets.at(i).name, QLatin1String(expected[i].label));
        EXPECT_EQ(targets.at(i).target, expected[i].energy);
        double reached = std::nan("");
        for (const MixedState& level : computed) {
            if (level.label == QLatin1String(expected[i].label)) {
                reached = level.energy;
                break;
            }
        }
        EXPECT_DOUBLE_EQ(targets.at(i).reached, reached);
        const double deviation = reached - expected[i].energy;
        EXPECT_TRUE(summary.text().contains(QStringLiteral("%1: target %2 cm-1, reached %3 cm-1, deviation %4 cm-1")
                                                .arg(QLatin1String(expected[i].label))
                                                .arg(expected[i].energy)
                                                .arg(reached, 0, 'g', 6)
                                                .arg(deviation, 0, 'g', 6)))
            << summary.text().toStdString();
        if (std::abs(deviation) > 100.0)
            missed << QLatin1String(expected[i].label);
    }
    EXPECT_EQ(summary.missedTargets(), missed);
    // The log holds this fit's improvements and nothing else.
    EXPECT_TRUE(run.fit->hasWrittenLog());
    EXPECT_TRUE(run.fit->getLogError().isEmpty());
    EXPECT_FALSE(OrvaneFixtures::readText(tables.path() + QStringLiteral("/eu.output")).contains(QLatin1String("target")));
}

// Levels exact for F2, F4, F6, zeta = 371, 54.8, 5.75, 1334 (the free-ion
// calculation itself, independent of the fit), fitted from 350, 50, 5, 1300:
// the walk moves each parameter by at most about 1 cm-1 a step and settles
// with 5D0 over 1600 cm-1 low, every relative deviation still under 10 %.
// The end names that miss in cm-1, with the RMS, the largest deviation and
// the fitted parameters, states the threshold, and puts the miss down to the
// search, not to bounds that no parameter came near.
TEST(FreeIonFitEnd, AFitFromAHeldBackStartNamesTheLevelItMissesInCm)
{
    LevelsTablesFolder tables;
    const QVector<MixedState> exact = levelsAt({371.0, 54.8, 5.75, 1334.0});
    const QStringList labels {"7F0", "7F1", "7F2", "7F3", "7F4", "7F5", "7F6", "5D(3)0", "5D(3)1"};
    const auto energyOf = [](const QVector<MixedState>& levels, const QString& label) {
        for (const MixedState& level : levels) {
            if (level.label == label)
                return level.energy;
        }
        return std::nan("");
    };
    QByteArray text = "Eu\n";
    for (const QString& label : labels)
        text += label.toLatin1() + ' ' + QByteArray::number(energyOf(exact, label), 'g', 17) + '\n';
    const QString exp = OrvaneFixtures::writeFile(tables.path() + QStringLiteral("/eu.exp"), text);

    FitRun run(exp, {350.0, 50.0, 5.0, 1300.0}, 30);
    run.run();
    ASSERT_EQ(run.gsa->getFitState(), OrvaneGSA::FitState::Finished) << run.gsa->getLastError().toStdString();
    const QVector<double> best = run.fit->getBestParameters();
    // Deviations of the levels at the best point, from the calculation alone.
    const QVector<MixedState> fitted = run.levelsAtBest();
    ASSERT_FALSE(fitted.isEmpty());
    double sumOfSquares = 0.0;
    double largest = 0.0;
    QString largestLabel;
    QStringList missed;
    for (int i = 1; i < labels.size(); ++i) {
        const double target = energyOf(exact, labels.at(i));
        const double deviation = energyOf(fitted, labels.at(i)) - target;
        // What a relative judgement passed over.
        ASSERT_LT(std::abs(deviation) / target, 0.1) << labels.at(i).toStdString();
        sumOfSquares += deviation * deviation;
        if (std::abs(deviation) > std::abs(largest)) {
            largest = deviation;
            largestLabel = labels.at(i);
        }
        if (std::abs(deviation) > 100.0)
            missed << QStringLiteral("%1 (deviation %2 cm-1)").arg(labels.at(i)).arg(deviation, 0, 'g', 6);
    }
    const double fiveD0 = energyOf(fitted, QStringLiteral("5D(3)0")) - energyOf(exact, QStringLiteral("5D(3)0"));
    ASSERT_LT(fiveD0, -1000.0);
    ASSERT_EQ(largestLabel, QStringLiteral("5D(3)0"));

    const OrvaneFitSummary& summary = run.fit->getFitSummary();
    EXPECT_TRUE(summary.hasWarnings());
    EXPECT_TRUE(summary.missedTargets().contains(QStringLiteral("5D(3)0")));
    const QStringList sentences {
        QStringLiteral("RMS deviation %1 cm-1 over 8 targets; largest deviation %2 cm-1 at 5D(3)0.")
            .arg(std::sqrt(sumOfSquares / 8.0), 0, 'g', 6)
            .arg(largest, 0, 'g', 6),
        QStringLiteral("Fitted parameters: F2 = %1 cm-1, F4 = %2 cm-1, F6 = %3 cm-1, zeta = %4 cm-1.")
            .arg(best[0], 0, 'g', 6)
            .arg(best[1], 0, 'g', 6)
            .arg(best[2], 0, 'g', 6)
            .arg(best[3], 0, 'g', 6),
        QStringLiteral("Targets missed by more than 100 cm-1: %1.").arg(missed.join(QStringLiteral(", "))),
    };
    for (const QString& sentence : sentences) {
        EXPECT_TRUE(summary.text().contains(QLatin1Char('\n') + sentence + QLatin1Char('\n')))
            << summary.text().toStdString();
        EXPECT_TRUE(summary.statusLine().contains(sentence)) << summary.statusLine().toStdString();
    }
    // Every parameter ended well inside its bounds: the walk stopped short,
    // and the end says so instead of blaming the bounds.
    EXPECT_TRUE(summary.parametersAtBounds().isEmpty());
    EXPECT_TRUE(summary.text().endsWith(
        QStringLiteral("\nThe search ended before reaching these targets, with no parameter at a bound of the fit: "
                       "more annealing steps or other start values may help.")))
        << summary.text().toStdString();
    EXPECT_FALSE(summary.text().contains(QStringLiteral("within its bounds")));
}

TEST(FreeIonFitEnd, AParameterPressedAgainstItsBoundIsNamed)
{
    LevelsTablesFolder tables;
    // Levels generated at F6 = 10, the upper bound: the fit starting there keeps it.
    const std::vector<double> onBound {371.0, 54.8, 10.0, 1334.0};
    const QVector<MixedState> levels = levelsAt(onBound);
    QByteArray text = "Eu\n7F0 0\n";
    for (const char* label : {"7F1", "7F2", "7F3", "7F4"}) {
        for (const MixedState& level : levels) {
            if (level.label == QLatin1String(label)) {
                text += QByteArray(label) + ' ' + QByteArray::number(level.energy, 'g', 17) + '\n';
                break;
            }
        }
    }
    const QString exp = OrvaneFixtures::writeFile(tables.path() + QStringLiteral("/bound.exp"), text);
    FitRun run(exp, onBound, 10);
    run.run();
    ASSERT_EQ(run.gsa->getFitState(), OrvaneGSA::FitState::Finished);
    ASSERT_EQ(run.fit->getBestResponse(), 0.0);
    const OrvaneFitSummary& summary = run.fit->getFitSummary();
    EXPECT_TRUE(summary.missedTargets().isEmpty());
    EXPECT_EQ(summary.parametersAtBounds(), QStringList {QStringLiteral("F6 (upper bound 10)")});
    EXPECT_TRUE(summary.statusLine().contains(QStringLiteral("Parameters that ended at a bound of the fit: F6 (upper "
                                                             "bound 10).")));
}

TEST(FreeIonFitEnd, ALogThatIsAFolderIsReportedWithTheSystemsReason)
{
    LevelsTablesFolder tables;
    const QString exp = OrvaneFixtures::writeFile(tables.path() + QStringLiteral("/eu.exp"), euLevels);
    const QString log = tables.path() + QStringLiteral("/eu.output");
    ASSERT_TRUE(QDir().mkdir(log));
    FitRun run(exp, {371.0, 54.8, 5.75, 1334.0}, 5);
    run.run();
    // The levels were fitted; only the log is missing, and the fit says so.
    EXPECT_EQ(run.gsa->getFitState(), OrvaneGSA::FitState::Finished);
    EXPECT_FALSE(run.fit->getMixedStateVector().isEmpty());
    EXPECT_FALSE(run.fit->hasWrittenLog());
    EXPECT_TRUE(run.fit->getLogError().startsWith(QStringLiteral("The file %1 could not be written: ").arg(log)))
        << run.fit->getLogError().toStdString();
    EXPECT_TRUE(QFileInfo(log).isDir());
}

// A read-only disk and a full one both keep the earlier log whole, which is
// never this fit's; both are reported with the system's reason.
TEST(FreeIonFitEnd, ADiskThatRefusesTheLogIsReportedWithTheSystemsReason)
{
    const struct {
        const char* name;
        bool readOnly;
        int error;
    } cases[] = {{"read-only disk with an earlier log", true, EROFS}, {"full disk", false, ENOSPC}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LevelsTablesFolder tables;
        SmallDisk disk(tables.path());
        if (!disk.mounted)
            GTEST_SKIP() << disk.skipReason;
        const QString exp = OrvaneFixtures::writeFile(disk.path(QStringLiteral("eu.exp")), euLevels);
        const QString log = disk.path(QStringLiteral("eu.output"));
        OrvaneFixtures::writeFile(log, "log of an earlier fit\n");
        if (c.readOnly)
            ASSERT_TRUE(disk.makeReadOnly()) << std::strerror(errno);
        else
            ASSERT_TRUE(disk.fill());

        FitRun run(exp, {371.0, 54.8, 5.75, 1334.0}, 5);
        run.run();
        EXPECT_EQ(run.gsa->getFitState(), OrvaneGSA::FitState::Finished);
        EXPECT_FALSE(run.fit->getMixedStateVector().isEmpty());
        EXPECT_FALSE(run.fit->hasWrittenLog());
        EXPECT_EQ(run.fit->getLogError(), QStringLiteral("The file %1 could not be written: %2")
                                              .arg(log, QString::fromLocal8Bit(std::strerror(c.error))));
        EXPECT_EQ(OrvaneFixtures::readText(log), QStringLiteral("log of an earlier fit\n"));
    }
}
