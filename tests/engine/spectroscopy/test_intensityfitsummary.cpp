// The end of the two intensity-parameter fits: the targets Omega2 and Omega4,
// the values reached and their relative deviations, the targets missed by
// more than 10 % and the parameters pressed against a bound, in the summary
// and in the fitted report.

#include "fittesthelpers.h"

#include "orvanegsa.h"
#include "orvaneindicescalculation.h"
#include "orvaneparametric.h"
#include "orvaneparametricqdc.h"
#include "orvanewatergroupfit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace FitTest;

namespace {

QStringList missedByHand(double target2, double reached2, double target4, double reached4)
{
    QStringList missed;
    if (std::abs(reached2 - target2) / target2 > 0.1)
        missed << QStringLiteral("Omega2");
    if (std::abs(reached4 - target4) / target4 > 0.1)
        missed << QStringLiteral("Omega4");
    return missed;
}

// The targets' lines of a report's fit section agree with its omega lines.
void expectReportAgreesWithSummary(const QString& report, const OrvaneFitSummary& summary, double target2,
                                   double target4)
{
    const double reached2 = reportedOmega(report, 2);
    const double reached4 = reportedOmega(report, 4);
    const QVector<OrvaneFitSummary::Target> targets = summary.getTargets();
    ASSERT_EQ(targets.size(), 2);
    EXPECT_EQ(targets.at(0).name, QStringLiteral("Omega2"));
    EXPECT_EQ(targets.at(1).name, QStringLiteral("Omega4"));
    EXPECT_NEAR(targets.at(0).target, target2, 1e-9);
    EXPECT_NEAR(targets.at(1).target, target4, 1e-9);
    // The report prints two decimals.
    EXPECT_NEAR(targets.at(0).reached, reached2, 0.0051);
    EXPECT_NEAR(targets.at(1).reached, reached4, 0.0051);
    EXPECT_EQ(summary.missedTargets(),
              missedByHand(target2, targets.at(0).reached, target4, targets.at(1).reached));

    EXPECT_TRUE(report.contains(QStringLiteral("\n Fit to the experimental intensity parameters\n")));
    for (const QString& line : summary.text().split(QLatin1Char('\n')))
        EXPECT_TRUE(report.contains(QLatin1Char(' ') + line + QLatin1Char('\n'))) << line.toStdString();
    // The section stands before the first result section, where no reader looks for its keys.
    EXPECT_LT(report.indexOf(QStringLiteral("Fit to the experimental")), report.indexOf(QStringLiteral("omega(2) =")));
}

} // namespace

// A real Sparkle/PM7 geometry of Eu(OAc)3(H2O)2: the QDC model cannot raise
// Omega4 to 5 while Omega2 is near 10, and the end says so.
TEST(IntensityFitSummary, TheQdcFitOfARealComplexSaysOmega4IsMissed)
{
    WorkingFolder folder;
    const QString output = mopacFixture("eu_acetate3_h2o2_pm7_allvec.out");
    const int donors = 8;
    OrvaneIndicesCalculation indices(nullptr, output, donors);
    ASSERT_TRUE(indices.calculateIndices()) << indices.getLastError().toStdString();

    // The start point of the calculation form.
    double q = 0.0, s = 0.0;
    for (int atom = 2; atom <= donors + 1; ++atom) {
        q += indices.getAtomicCharge(atom);
        s += indices.getSuperDeslocalizability(atom);
    }
    q /= donors;
    s /= donors;
    const double r = 1.0 / std::abs(indices.getMinimumSuperDeslocalizability()) - 0.1;
    const double d = r / (r * s + 1.0);
    double start[3] = {1.0 / q, d, d / (r + 0.01)};
    double* x = start;

    OrvaneParametricQDC model(nullptr, output, 0);
    model.setSuperDeslocalizability(&indices);
    model.setCoordNumber(donors);
    model.setRestrictionValue(int(r));
    model.setOmegaExp(10.0e-20, 5.0e-20);
    OmegaPrintingOptions options;
    options.omega = true;
    options.gAndAlpha = true;
    model.setOmegaPrintingOptions(options);
    model.setFileNameOmg(folder.path(QStringLiteral("acetate.omega")));
    OrvaneAbstractParametric* problem = &model;
    OrvaneGSA gsa(nullptr, 3, x, problem);
    ASSERT_TRUE(gsa.setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671));
    gsa.setNStopMax(1000);
    gsa.initializeGSA();
    ASSERT_EQ(gsa.getFitState(), OrvaneGSA::FitState::Finished) << gsa.getLastError().toStdString();

    const OrvaneFitSummary& summary = model.getFitSummary();
    const QString report = folder.read(QStringLiteral("acetate.omega"));
    expectReportAgreesWithSummary(report, summary, 10.0, 5.0);
    EXPECT_TRUE(summary.missedTargets().contains(QStringLiteral("Omega4"))) << summary.text().toStdString();
    EXPECT_LT(reportedOmega(report, 4), 4.5);
    EXPECT_TRUE(summary.text().contains(QStringLiteral("Targets missed by more than 10 %: ")));
}

// Omega2 = 60 is beyond any charge factor and polarizability of water: the
// group fit presses its parameters against their upper bounds and says which.
TEST(IntensityFitSummary, TheGroupFitNamesTheParametersAtTheirBounds)
{
    WorkingFolder folder;
    const QString output = mopacFixture("eu_h2o8_allvec.out");
    OrvaneParametric model(nullptr, output, 0);
    OmegaPrintingOptions options;
    options.omega = true;
    ASSERT_EQ(runWaterGroupFit(model, folder.path(QStringLiteral("water.omega")), 60.0, 5.0, options, 1000),
              OrvaneGSA::FitState::Finished)
        << model.getLastError().toStdString();

    const OrvaneFitSummary& summary = model.getFitSummary();
    expectReportAgreesWithSummary(folder.read(QStringLiteral("water.omega")), summary, 60.0, 5.0);
    EXPECT_TRUE(summary.missedTargets().contains(QStringLiteral("Omega2")));
    // g of oxygen is bounded by 0.01 .. 2, alpha by 0.005 .. 6.5 (10^-24 cm^3).
    const double g = model.getBestG(2);
    const double alpha = model.getBestAlpha(2) * 1e24;
    QStringList atBounds;
    if (2.0 - g <= 0.01 * (2.0 - 0.01))
        atBounds << QStringLiteral("g of group 1 (upper bound 2)");
    if (6.5 - alpha <= 0.01 * (6.5 - 0.005))
        atBounds << QStringLiteral("alpha of group 1 (upper bound 6.5)");
    ASSERT_FALSE(atBounds.isEmpty()) << g << " " << alpha;
    EXPECT_EQ(summary.parametersAtBounds(), atBounds);
    EXPECT_TRUE(summary.text().contains(QStringLiteral("Parameters that ended at a bound of the fit: ") + atBounds.join(QStringLiteral(", "))));
}
