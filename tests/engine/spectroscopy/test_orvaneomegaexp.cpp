#include "orvaneomegaexp.h"
#include "orvaneinputdata.h"
#include "orvanespectroscopiccalculation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A typical Eu(III) emission: areas and barycentres of 5D0 -> 7F0..7F5.
void fillSpectrum(OrvaneOmegaExp& exp)
{
    exp.setAreaOfTransition(0.8, 10.0, 45.0, 1.2, 12.0, 0.5);
    exp.setBarycenterOfEnergy(17270, 16880, 16260, 15360, 14350, 13500);
}

QString lineWith(const QString& text, const QString& marker)
{
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.contains(marker))
            return line;
    return QString();
}

} // namespace

// Expected values from a 30-digit evaluation of the closed formulas (mpmath):
//   A1 = 0.31e-11 n^3 E1^3, AJ = (SJ/S1) A1 (E1/EJ),
//   Omega = 3hbar c^3 AJ / (4 e^2 (2 pi c EJ)^3 chi U), chi = n (n^2+2)^2 / 9.
TEST(OmegaExp, IntensityParametersAndRadiativeRate)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    fillSpectrum(exp);
    ASSERT_TRUE(exp.calcOmegaExp());
    EXPECT_NEAR(exp.getOmega2Exp(), 7.8453916085777e-20, 1e-12 * 7.85e-20);
    EXPECT_NEAR(exp.getOmega4Exp(), 4.79821895358877e-20, 1e-12 * 4.8e-20);
    EXPECT_NEAR(exp.getAradExp(), 370.151284696642, 1e-9);
    EXPECT_NEAR(exp.getR02(), 178305.0 / 45.0, 1e-9);
}

TEST(OmegaExp, RoundTripFromOmegaThroughBandAreas)
{
    // Forward: the rates an Omega pair gives, A = 4 e^2 w^3 chi Omega U / (3 hbar c^3),
    // and the band areas that are proportional to A * E; back again with calcOmegaExp.
    const double n = 1.62, omega2 = 12.3e-20, omega4 = 6.7e-20;
    const double e1 = 16900, e2 = 16250, e4 = 14400;
    const double c = 2.99792458e10, charge = 4.803204505713468e-10, threeHbar = 3.163715178e-27;
    const double chi = n * (n * n + 2) * (n * n + 2) / 9.0;
    auto rate = [&](double energy, double omega, double u) {
        const double w = 6.28318530718 * c * energy;
        return 4 * charge * charge * w * w * w * chi * omega * u / (threeHbar * c * c * c);
    };
    const double a1 = 0.31e-11 * n * n * n * e1 * e1 * e1;
    const double a2 = rate(e2, omega2, 0.0032), a4 = rate(e4, omega4, 0.0023);
    const double s1 = 7.0;
    OrvaneOmegaExp exp(nullptr, n);
    exp.setAreaOfTransition(0, s1, s1 * a2 * e2 / (a1 * e1), 0, s1 * a4 * e4 / (a1 * e1), 0);
    exp.setBarycenterOfEnergy(0, e1, e2, 0, e4, 0);
    ASSERT_TRUE(exp.calcOmegaExp());
    EXPECT_NEAR(exp.getOmega2Exp() / omega2, 1.0, 1e-9);
    EXPECT_NEAR(exp.getOmega4Exp() / omega4, 1.0, 1e-9);
    EXPECT_NEAR(exp.getAradExp() / (a1 + a2 + a4), 1.0, 1e-9);
}

TEST(OmegaExp, RoundTripThroughTheTheoreticalRadiativeRates)
{
    // Omega -> A02, A04 by the theoretical radiative rates (barycentres 16267
    // and 14470 cm-1) -> band areas S_J = S_1 (A_J / A_1) (E_J / E_1), with A_1
    // the magnetic-dipole reference of the experimental method -> Omega again.
    // The two methods print their constants differently (3h = 1.987820871e-26
    // against 3hbar x 2pi = 3.163715178e-27 x 6.28318530718, 6.3e-10 apart), so
    // the recovery holds to 1e-9, not to rounding.
    struct Case {
        double n, omega2, omega4;
    };
    const Case cases[] = {{1.5, 10, 5}, {1.62, 23.4, 7.1}, {1.33, 2.5, 11.0}};
    for (const Case& k : cases) {
        OrvaneSpectroscopicCalculation theory(nullptr);
        theory.setRefractiveIndex(k.n);
        theory.setOmegaValues(k.omega2, k.omega4, 0.5);
        ASSERT_TRUE(theory.calcArad());
        const double e1 = 16921, e2 = 16267, e4 = 14470, s1 = 4.0;
        const double a1 = 0.31e-11 * k.n * k.n * k.n * e1 * e1 * e1;
        OrvaneOmegaExp exp(nullptr, k.n);
        exp.setAreaOfTransition(0, s1, s1 * theory.getArad02() * e2 / (a1 * e1), 0,
                                s1 * theory.getArad04() * e4 / (a1 * e1), 0);
        exp.setBarycenterOfEnergy(0, e1, e2, 0, e4, 0);
        ASSERT_TRUE(exp.calcOmegaExp());
        EXPECT_NEAR(exp.getOmega2Exp() / (k.omega2 * 1e-20), 1.0, 1e-9) << k.n;
        EXPECT_NEAR(exp.getOmega4Exp() / (k.omega4 * 1e-20), 1.0, 1e-9) << k.n;
        EXPECT_NEAR(exp.getAradExp() / (a1 + theory.getArad02() + theory.getArad04()), 1.0, 1e-12) << k.n;
    }
}

TEST(OmegaExp, QuantumEfficiencyFromTheLifetime)
{
    // Anrad = 1/tau - Arad, so the efficiency is 100 Arad tau; Arad = 370.151284696642
    // for the spectrum of fillSpectrum (see IntensityParametersAndRadiativeRate).
    struct Case {
        double milliseconds;
        const char* anrad;
        const char* efficiency;
    };
    const Case cases[] = {{0.6, "1296.52", "22.21"}, {1.0, "629.85", "37.02"}, {2.5, "29.85", "92.54"}};
    for (const Case& k : cases) {
        OrvaneOmegaExp exp(nullptr, 1.5);
        fillSpectrum(exp);
        exp.setLifeTime(k.milliseconds);
        ASSERT_TRUE(exp.calcOmegaExp());
        const QString text = exp.createOutputFile(QString());
        EXPECT_EQ(lineWith(text, QStringLiteral("Anrad =")), QStringLiteral("    Anrad = ") + QLatin1String(k.anrad)
                      + QStringLiteral(" s^-1"));
        EXPECT_EQ(lineWith(text, QStringLiteral("Quantum Efficiency =")),
                  QStringLiteral("    Quantum Efficiency = ") + QLatin1String(k.efficiency) + QStringLiteral(" %"));
        EXPECT_FALSE(text.contains(QStringLiteral("Warning")));
    }
}

TEST(OmegaExp, OnlyMagneticDipoleBand)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    // Zero areas of 7F0, 7F3, 7F5 contribute nothing even with zero barycentres.
    exp.setAreaOfTransition(0, 3.0, 0, 0, 0, 0);
    exp.setBarycenterOfEnergy(0, 16880, 16260, 0, 14350, 0);
    ASSERT_TRUE(exp.calcOmegaExp());
    EXPECT_NEAR(exp.getAradExp(), 3.1e-12 * std::pow(1.5 * 16880, 3), 1e-9);
    EXPECT_EQ(exp.getOmega2Exp(), 0.0);
    EXPECT_EQ(exp.getOmega4Exp(), 0.0);
}

TEST(OmegaExp, MissingReferenceOrBarycentreFails)
{
    struct Case {
        double areas[6];
        double energies[6];
    };
    const Case cases[] = {
        {{1, 0, 5, 0, 2, 0}, {17270, 16880, 16260, 0, 14350, 0}},     // no 7F1 area
        {{0, 1, 5, 0, 2, 0}, {0, 16880, 0, 0, 14350, 0}},              // 7F2 barycentre missing
        {{0, 1, 5, 0.3, 2, 0}, {0, 16880, 16260, 0, 14350, 0}},        // 7F3 has an area, no barycentre
        {{0, 1, 5, 0, 2, 0}, {0, 0, 16260, 0, 14350, 0}},              // 7F1 barycentre missing
        {{0.4, 1, 5, 0, 2, 0}, {0, 16880, 16260, 0, 14350, 0}},        // 7F0 has an area, no barycentre
        {{0, 1, 5, 0, 2, 0}, {0, 16880, std::nan(""), 0, 14350, 0}},   // 7F2 intensities sum to zero
        {{0, 1, 5, 0, 2, 0}, {0, 16880, 16260, 0, -14350, 0}},         // 7F4 negative intensities
        {{0, 1, -5, 0, 2, 0}, {0, 16880, 16260, 0, 14350, 0}}};        // 7F2 wavelengths falling
    for (const Case& c : cases) {
        OrvaneOmegaExp exp(nullptr, 1.5);
        const double* a = c.areas;
        const double* e = c.energies;
        exp.setAreaOfTransition(a[0], a[1], a[2], a[3], a[4], a[5]);
        exp.setBarycenterOfEnergy(e[0], e[1], e[2], e[3], e[4], e[5]);
        EXPECT_FALSE(exp.calcOmegaExp());
        EXPECT_FALSE(exp.getLastError().isEmpty());
        // The report echoes its inputs; with finite ones nothing it computes is nan.
        if (std::all_of(e, e + 6, [](double v) { return std::isfinite(v); }))
            EXPECT_FALSE(exp.createOutputFile(QString()).contains(QStringLiteral("nan")));
    }
}

TEST(OmegaExp, ReportLinesThatFormsReadBack)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    exp.setFileName(QStringLiteral("/data/spectrum.txt"));
    fillSpectrum(exp);
    exp.setLifeTime(0.6);
    ASSERT_TRUE(exp.calcOmegaExp());
    const QString text = exp.createOutputFile(QString());

    EXPECT_TRUE(text.startsWith(OrvaneInputData::ORVANETitle + QStringLiteral("\n\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(" The data shown below were calculated from the file: \n    "
                                             "/data/spectrum.txt\n\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(" Refractive Index of the Medium Used: 1.500\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Sigma(5D0 -> 7F5) = 13500.00 cm^-1\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    5D0 -> 7F2 = 45.0000\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Intensity Ratio I(5D0 -> 7F2) / I(5D0 -> 7F1) = 4.50\n\n")));
    EXPECT_EQ(lineWith(text, QStringLiteral("omega(2)")), QStringLiteral("    omega(2) =   7.85e-20 cm^2 "));
    EXPECT_EQ(lineWith(text, QStringLiteral("omega(4)")), QStringLiteral("    omega(4) =   4.80e-20 cm^2 "));
    EXPECT_TRUE(text.contains(QStringLiteral("    Arad = 370.15 s^-1\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Experimental Lifetime Used = 0.6000 ms\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Anrad = 1296.52 s^-1\n\n")));
    // Efficiency = 100 Arad tau.
    EXPECT_TRUE(text.endsWith(QStringLiteral("    Quantum Efficiency = 22.21 %\n")));
    for (int width : {79, 72, 61, 51})
        EXPECT_TRUE(text.contains(QLatin1Char('\n') + QString(width, QLatin1Char('-')) + QLatin1Char('\n')));
}

TEST(OmegaExp, WithoutLifetimeTheReportEndsAfterArad)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    fillSpectrum(exp);
    ASSERT_TRUE(exp.calcOmegaExp());
    const QString text = exp.createOutputFile(QString());
    EXPECT_TRUE(text.endsWith(QStringLiteral("    Arad = 370.15 s^-1\n\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("Lifetime")));
}

TEST(OmegaExp, LongLifetimeIsFlagged)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    fillSpectrum(exp);
    exp.setLifeTime(5.0); // 1/tau = 200 s-1 < Arad
    ASSERT_TRUE(exp.calcOmegaExp());
    const QString text = exp.createOutputFile(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("Anrad = -170.15 s^-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Warning")));
}

TEST(OmegaExp, SmallOmegaIsRightJustified)
{
    OrvaneOmegaExp exp(nullptr, 1.5);
    exp.omega2Exp = 2.5e-20;
    exp.omega4Exp = 123.456e-20;
    const QString text = exp.createOutputFile(QString());
    EXPECT_EQ(lineWith(text, QStringLiteral("omega(2)")), QStringLiteral("    omega(2) =   2.50e-20 cm^2 "));
    EXPECT_EQ(lineWith(text, QStringLiteral("omega(4)")), QStringLiteral("    omega(4) = 123.46e-20 cm^2 "));
}

TEST(OmegaExp, FileIsWrittenOrTheFailureExplained)
{
    QTemporaryDir dir;
    OrvaneOmegaExp exp(nullptr, 1.5);
    fillSpectrum(exp);
    ASSERT_TRUE(exp.calcOmegaExp());
    const QString path = dir.filePath(QStringLiteral("spectrum.orvaneexp"));
    EXPECT_TRUE(exp.createOutputFile(path).isEmpty());
    EXPECT_TRUE(exp.getLastError().isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), exp.createOutputFile(QString()));

    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.orvaneexp"));
    EXPECT_TRUE(exp.createOutputFile(bad).isEmpty());
    EXPECT_TRUE(exp.getLastError().contains(bad));
}

TEST(OmegaExp, NothingIsWrittenAfterARefusedCalculation)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spectrum.orvaneexp"));
    const struct {
        const char* why;
        double refractiveIndex;
        double area1;
    } cases[] = {
        {"no 7F1 area", 1.5, 0.0},
        // chi = 0: the parameters are 0 / 0, not a number.
        {"a refractive index of 0", 0.0, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OrvaneOmegaExp exp(nullptr, c.refractiveIndex);
        exp.setAreaOfTransition(0.0, c.area1, 5.0, 0.0, 2.0, 0.0);
        exp.setBarycenterOfEnergy(0.0, 16880.0, 16260.0, 0.0, 14350.0, 0.0);
        EXPECT_FALSE(exp.calcOmegaExp());
        const QString reason = exp.getLastError();
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_TRUE(exp.createOutputFile(path).isEmpty());
        EXPECT_TRUE(exp.createOutputFile(QString()).isEmpty());
        EXPECT_EQ(exp.getLastError(), reason);
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST(OmegaExp, EachReportStartsWithoutTheLastError)
{
    QTemporaryDir dir;
    OrvaneOmegaExp exp(nullptr, 1.5);
    fillSpectrum(exp);
    ASSERT_TRUE(exp.calcOmegaExp());
    exp.createOutputFile(dir.filePath(QStringLiteral("no/such/folder/x.orvaneexp")));
    EXPECT_FALSE(exp.getLastError().isEmpty());
    exp.createOutputFile(dir.filePath(QStringLiteral("x.orvaneexp")));
    EXPECT_TRUE(exp.getLastError().isEmpty()) << exp.getLastError().toStdString();
}
