// The account every fit gives of its end: relative deviations computed by
// hand, the 10 % rule, parameters at a bound, and the texts built from them.

#include "orvanefitsummary.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double notReached = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(OrvaneFitSummary, RelativeDeviationIsTheDistanceOverTheTarget)
{
    const struct {
        double target, reached, expected;
    } cases[] = {
        {5.0, 0.77, 0.846},   // 4.23 / 5
        {10.0, 10.17, 0.017}, // 0.17 / 10
        {10.73, 10.73, 0.0},
        {-4.0, -3.0, 0.25}, // |(-3) - (-4)| / |-4|
        {3.62, 0.69, 0.809392265193370}, // 2.93 / 3.62
        {17000.0, 17250.0, 0.0147058823529412},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(OrvaneFitSummary::relativeDeviation(c.target, c.reached), c.expected, 1e-12)
            << c.target << " " << c.reached;
    EXPECT_TRUE(std::isnan(OrvaneFitSummary::relativeDeviation(0.0, 1.0)));
    EXPECT_TRUE(std::isnan(OrvaneFitSummary::relativeDeviation(2.0, notReached)));
}

TEST(OrvaneFitSummary, ATargetIsMissedBeyondTenPercent)
{
    const struct {
        double target, reached;
        bool missed;
    } cases[] = {
        {10.0, 11.0, false}, // exactly 10 %
        {10.0, 8.9, true},   // 11 %
        {5.0, 0.77, true},
        {10.0, 10.17, false},
        {4.0, notReached, true}, // no value reached
        {0.0, 0.0, false},
        {0.0, 0.5, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrvaneFitSummary::isMissed({QStringLiteral("t"), c.target, c.reached}), c.missed)
            << c.target << " " << c.reached;
}

TEST(OrvaneFitSummary, AParameterWithinOnePercentOfItsRangeIsAtThatBound)
{
    // Range 0.01 .. 2: 1 % of it is 0.0199.
    const struct {
        double value, lower, upper;
        int side;
    } cases[] = {
        {1.99, 0.01, 2.0, 1},
        {2.0, 0.01, 2.0, 1},
        {1.95, 0.01, 2.0, 0},
        {0.029, 0.01, 2.0, -1},
        {0.031, 0.01, 2.0, 0},
        {6.45, 0.005, 6.5, 1},  // 6.5 - 6.45 = 0.05 <= 0.06495
        {0.0, 0.0, inf, -1},    // one bound only: only the bound itself
        {1e-9, 0.0, inf, 0},
        {5.0, -inf, inf, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrvaneFitSummary::boundReached({QStringLiteral("p"), c.value, c.lower, c.upper}), c.side)
            << c.value << " in " << c.lower << " .. " << c.upper;
}

TEST(OrvaneFitSummary, TextsNameTheTargetsMissedAndTheParametersAtBounds)
{
    OrvaneFitSummary summary(QStringLiteral(" x 10^-20 cm^2"));
    summary.addTarget(QStringLiteral("Omega2"), 10.0, 10.17);
    summary.addTarget(QStringLiteral("Omega4"), 5.0, 0.77);
    summary.addParameter(QStringLiteral("g of group 1"), 2.0, 0.01, 2.0);
    summary.addParameter(QStringLiteral("g of group 2"), 0.5, 0.01, 2.0);
    summary.addParameter(QStringLiteral("alpha of group 2"), 0.006, 0.005, 6.5);

    EXPECT_EQ(summary.missedTargets(), QStringList {QStringLiteral("Omega4")});
    EXPECT_EQ(summary.parametersAtBounds(),
              (QStringList {QStringLiteral("g of group 1 (upper bound 2)"),
                            QStringLiteral("alpha of group 2 (lower bound 0.005)")}));
    EXPECT_TRUE(summary.hasWarnings());
    EXPECT_EQ(summary.text(),
              QStringLiteral("Omega2: target 10 x 10^-20 cm^2, reached 10.17 x 10^-20 cm^2, relative deviation 1.7 %\n"
                             "Omega4: target 5 x 10^-20 cm^2, reached 0.77 x 10^-20 cm^2, relative deviation 84.6 %\n"
                             "Targets missed by more than 10 %: Omega4.\n"
                             "Parameters that ended at a bound of the fit: g of group 1 (upper bound 2), "
                             "alpha of group 2 (lower bound 0.005).\n"
                             "The model may not reach these targets within its bounds."));
    const QString status = summary.statusLine();
    EXPECT_FALSE(status.contains(QLatin1Char('\n')));
    EXPECT_TRUE(status.startsWith(QStringLiteral("Omega2: target 10 x 10^-20 cm^2, reached 10.17")));
    EXPECT_TRUE(status.contains(QStringLiteral("Targets missed by more than 10 %: Omega4.")));
    EXPECT_TRUE(status.contains(QStringLiteral("g of group 1 (upper bound 2)")));
}

TEST(OrvaneFitSummary, AFitOnTargetSaysNoMoreThanItsDeviations)
{
    OrvaneFitSummary summary(QStringLiteral(" cm-1"));
    summary.addTarget(QStringLiteral("7F1"), 350.0, 353.5);
    summary.addTarget(QStringLiteral("7F2"), 1000.0, notReached);
    summary.addParameter(QStringLiteral("F2"), 400.0, 100.0, 1000.0);
    EXPECT_EQ(summary.text(), QStringLiteral("7F1: target 350 cm-1, reached 353.5 cm-1, relative deviation 1.0 %\n"
                                             "7F2: target 1000 cm-1, no value reached by the fit\n"
                                             "Targets missed by more than 10 %: 7F2.\n"
                                             "The search ended before reaching these targets, with no parameter at "
                                             "a bound of the fit: more annealing steps or other start values may "
                                             "help."));
    summary.clear();
    summary.addTarget(QStringLiteral("7F1"), 350.0, 353.5);
    EXPECT_FALSE(summary.hasWarnings());
    EXPECT_EQ(summary.statusLine(), QStringLiteral("7F1: target 350 cm-1, reached 353.5 cm-1, relative deviation 1.0 %"));
}

TEST(OrvaneFitSummary, ParametersAtBoundsAloneAreNamedWithoutBlamingTheTargets)
{
    OrvaneFitSummary summary;
    summary.addTarget(QStringLiteral("Omega2"), 10.0, 10.5);
    summary.addParameter(QStringLiteral("zeta"), 5000.0, 100.0, 5000.0);
    EXPECT_TRUE(summary.hasWarnings());
    EXPECT_EQ(summary.text(), QStringLiteral("Omega2: target 10, reached 10.5, relative deviation 5.0 %\n"
                                             "Parameters that ended at a bound of the fit: zeta (upper bound 5000)."));
}

TEST(OrvaneFitSummary, AZeroTargetGetsItsAbsoluteDeviation)
{
    OrvaneFitSummary summary(QStringLiteral(" cm-1"));
    summary.addTarget(QStringLiteral("7F0 lowest sublevel"), 0.0, -2.5);
    EXPECT_TRUE(summary.text().startsWith(
        QStringLiteral("7F0 lowest sublevel: target 0 cm-1, reached -2.5 cm-1, deviation 2.5 cm-1 (no relative "
                       "deviation: the target is 0)")));
}

TEST(OrvaneFitSummary, TheReportSectionIsIndentedUnderItsHeading)
{
    OrvaneFitSummary summary;
    summary.addTarget(QStringLiteral("Omega2"), 10.0, 10.0);
    const QString rule(54, QLatin1Char('-'));
    EXPECT_EQ(summary.reportSection(QStringLiteral("Fit")),
              rule + QStringLiteral("\n Fit\n") + rule
                  + QStringLiteral("\n\n Omega2: target 10, reached 10, relative deviation 0.0 %\n\n"));
}

// Level fits are judged in cm-1 against a threshold of 100: 7F1 is 3.5 cm-1
// off, 7F2 120 cm-1, 5D0 not reached.
TEST(OrvaneFitSummary, InUnitsTheDeviationsTheRmsAndTheThresholdAreStated)
{
    OrvaneFitSummary summary = OrvaneFitSummary::inUnits(QStringLiteral(" cm-1"), 100.0);
    EXPECT_TRUE(summary.isJudgedInUnits());
    EXPECT_EQ(summary.getMissThreshold(), 100.0);
    EXPECT_TRUE(std::isnan(OrvaneFitSummary().getMissThreshold()));
    summary.addTarget(QStringLiteral("7F1"), 350.0, 353.5);
    summary.addTarget(QStringLiteral("7F2"), 1000.0, 880.0);
    summary.addTarget(QStringLiteral("5D0"), 17000.0, notReached);
    summary.addParameter(QStringLiteral("F2"), 400.0, 100.0, 1000.0, QStringLiteral(" cm-1"));
    summary.addParameter(QStringLiteral("zeta"), 1334.5, 100.0, 5000.0, QStringLiteral(" cm-1"));

    // sqrt((3.5^2 + 120^2) / 2) = 84.8889 over the two levels reached.
    EXPECT_NEAR(summary.rmsDeviation(), 84.88889797847537, 1e-12);
    EXPECT_EQ(summary.largestDeviation(), 1);
    EXPECT_EQ(summary.missedTargets(), (QStringList {QStringLiteral("7F2"), QStringLiteral("5D0")}));
    EXPECT_TRUE(summary.hasWarnings());
    EXPECT_EQ(summary.text(),
              QStringLiteral("7F1: target 350 cm-1, reached 353.5 cm-1, deviation 3.5 cm-1\n"
                             "7F2: target 1000 cm-1, reached 880 cm-1, deviation -120 cm-1\n"
                             "5D0: target 17000 cm-1, no value reached by the fit\n"
                             "RMS deviation 84.8889 cm-1 over 2 targets; largest deviation -120 cm-1 at 7F2.\n"
                             "Fitted parameters: F2 = 400 cm-1, zeta = 1334.5 cm-1.\n"
                             "Targets missed by more than 100 cm-1: 7F2 (deviation -120 cm-1), 5D0.\n"
                             "The search ended before reaching these targets, with no parameter at a bound of the "
                             "fit: more annealing steps or other start values may help."));
    EXPECT_EQ(summary.statusLine(),
              QStringLiteral("7F1: target 350 cm-1, reached 353.5 cm-1, deviation 3.5 cm-1; "
                             "7F2: target 1000 cm-1, reached 880 cm-1, deviation -120 cm-1; "
                             "5D0: target 17000 cm-1, no value reached by the fit. "
                             "RMS deviation 84.8889 cm-1 over 2 targets; largest deviation -120 cm-1 at 7F2. "
                             "Fitted parameters: F2 = 400 cm-1, zeta = 1334.5 cm-1. "
                             "Targets missed by more than 100 cm-1: 7F2 (deviation -120 cm-1), 5D0. "
                             "The search ended before reaching these targets, with no parameter at a bound of the "
                             "fit: more annealing steps or other start values may help."));

    // Within the threshold nothing is missed, and the box still states it;
    // exactly at the threshold is within.
    summary.clear();
    EXPECT_TRUE(summary.isJudgedInUnits());
    summary.addTarget(QStringLiteral("7F1"), 350.0, 450.0);
    EXPECT_FALSE(summary.hasWarnings());
    EXPECT_TRUE(summary.text().endsWith(QStringLiteral("\nNo target is missed by more than 100 cm-1.")))
        << summary.text().toStdString();
    EXPECT_EQ(summary.largestDeviation(), 0);
    EXPECT_EQ(OrvaneFitSummary().largestDeviation(), -1);
    EXPECT_TRUE(std::isnan(OrvaneFitSummary().rmsDeviation()));
}

namespace {

const QString boundsInTheWay = QStringLiteral("The model may not reach these targets within its bounds.");
const QString searchStoppedShort =
    QStringLiteral("The search ended before reaching these targets, with no parameter at a bound of the fit: more "
                   "annealing steps or other start values may help.");

} // namespace

// A miss is put down to the bounds only when a parameter ended at one, and
// that parameter is named with its bound; a miss with every parameter well
// inside its bounds (a walk that stopped short) says what may help instead.
TEST(OrvaneFitSummary, AMissIsPutDownToTheBoundsOnlyWhenAParameterEndedAtOne)
{
    const struct {
        const char* name;
        bool inUnits;
        double target, reached;
        double value, lower, upper;
        QString atBound;  // the parameter named at its bound, empty for none
        QString closing;  // the last sentence, empty when nothing is missed
    } cases[] = {
        // Relative: 0.77 of a target of 5 is 84.6 % off.
        {"relative, inside", false, 5.0, 0.77, 0.5, 0.01, 2.0, QString(), searchStoppedShort},
        {"relative, at the upper bound", false, 5.0, 0.77, 2.0, 0.01, 2.0,
         QStringLiteral("g (upper bound 2)"), boundsInTheWay},
        // In cm-1: a level 1660 cm-1 low, as a free-ion walk from a held-back
        // start leaves 5D0 with zeta far from its bounds 100 and 5000.
        {"in units, inside", true, 17300.0, 15640.0, 1300.5, 100.0, 5000.0, QString(), searchStoppedShort},
        {"in units, at the lower bound", true, 17300.0, 15640.0, 100.0, 100.0, 5000.0,
         QStringLiteral("g (lower bound 100)"), boundsInTheWay},
        // 1 % of 100..5000 is 49: 148 is at the bound, 150 is not.
        {"in units, just within the margin", true, 17300.0, 15640.0, 148.0, 100.0, 5000.0,
         QStringLiteral("g (lower bound 100)"), boundsInTheWay},
        {"in units, just beyond the margin", true, 17300.0, 15640.0, 150.0, 100.0, 5000.0, QString(),
         searchStoppedShort},
        {"on target, at a bound", true, 17300.0, 17310.0, 100.0, 100.0, 5000.0, QStringLiteral("g (lower bound 100)"),
         QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneFitSummary summary = c.inUnits ? OrvaneFitSummary::inUnits(QStringLiteral("cm-1"), 100.0)
                                             : OrvaneFitSummary();
        summary.addTarget(QStringLiteral("t"), c.target, c.reached);
        summary.addParameter(QStringLiteral("g"), c.value, c.lower, c.upper);
        const QString text = summary.text();
        EXPECT_EQ(summary.parametersAtBounds(), c.atBound.isEmpty() ? QStringList() : QStringList {c.atBound});
        EXPECT_EQ(text.contains(QStringLiteral("Parameters that ended at a bound of the fit: ") + c.atBound + '.'),
                  !c.atBound.isEmpty())
            << text.toStdString();
        if (c.closing.isEmpty()) {
            EXPECT_TRUE(summary.missedTargets().isEmpty());
            EXPECT_FALSE(text.contains(boundsInTheWay)) << text.toStdString();
            EXPECT_FALSE(text.contains(searchStoppedShort)) << text.toStdString();
        } else {
            EXPECT_TRUE(text.endsWith(QLatin1Char('\n') + c.closing)) << text.toStdString();
            EXPECT_TRUE(summary.statusLine().endsWith(QLatin1Char(' ') + c.closing));
            // One account of the miss, never both.
            EXPECT_EQ(text.count(boundsInTheWay) + text.count(searchStoppedShort), 1);
        }
    }
}

// Whether or not the unit is given with a leading blank, every number it
// follows is written "1660 cm-1".
TEST(OrvaneFitSummary, AUnitFollowsItsNumberAfterOneBlank)
{
    const QString expected =
        QStringLiteral("5D0: target 17300 cm-1, reached 15640 cm-1, deviation -1660 cm-1\n"
                       "RMS deviation 1660 cm-1 over 1 targets; largest deviation -1660 cm-1 at 5D0.\n"
                       "Fitted parameters: zeta = 1300.5 cm-1.\n"
                       "Targets missed by more than 100 cm-1: 5D0 (deviation -1660 cm-1).\n")
        + searchStoppedShort;
    for (const QString& unit : {QStringLiteral("cm-1"), QStringLiteral(" cm-1"), QStringLiteral("  cm-1 ")}) {
        SCOPED_TRACE(unit.toStdString());
        OrvaneFitSummary summary = OrvaneFitSummary::inUnits(unit, 100.0);
        summary.addTarget(QStringLiteral("5D0"), 17300.0, 15640.0);
        summary.addParameter(QStringLiteral("zeta"), 1300.5, 100.0, 5000.0, unit);
        EXPECT_EQ(summary.text(), expected);
        summary.clear();
        summary.addTarget(QStringLiteral("7F1"), 350.0, 360.0);
        EXPECT_TRUE(summary.text().endsWith(QStringLiteral("No target is missed by more than 100 cm-1.")));
    }
    OrvaneFitSummary relative(QStringLiteral("cm-1"));
    relative.addTarget(QStringLiteral("7F0"), 0.0, -2.5);
    EXPECT_EQ(relative.text().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("7F0: target 0 cm-1, reached -2.5 cm-1, deviation 2.5 cm-1 (no relative deviation: the "
                             "target is 0)"));
}
