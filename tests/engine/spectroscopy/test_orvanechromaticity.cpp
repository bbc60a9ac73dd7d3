// The CIE 1931 chromaticity of a spectrum without a window: the tabulated
// colour-matching functions at and between their rows, monochromatic lines
// against the table's own chromaticity, and an Eu(III) spectrum against an
// independent evaluation (chromaticity_reference.py, numpy on the same
// colour-matching file).

#include "ciespectra.h"
#include "orvanechromaticity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Rows of CIE1931-2deg-XYZ.cmf (colord-data) as the file writes them.
TEST(Chromaticity, TheColourMatchingFunctionsAreTheTablesRowsAndStraightLinesBetween)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        double wavelength, x, y, z;
    } cases[] = {
        {360.0, 0.0001299, 0.000003917, 0.0006061},
        {450.0, 0.3362, 0.038, 1.77211},
        {555.0, 0.5120501, 1.0, 0.005749999},
        {700.0, 0.01135916, 0.004102, 0.0},
        {830.0, 0.000001251141, 0.00000045181, 0.0},
        // A fifth of the way from 610 nm (1.0026, 0.503, 0.00034) to 615 nm
        // (0.9384, 0.4412, 0.00024).
        {611.0, 0.98976, 0.49064, 0.00032},
        // Outside the table the functions are 0.
        {359.99, 0.0, 0.0, 0.0},
        {830.01, 0.0, 0.0, 0.0},
        {nan, 0.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wavelength);
        const OrvaneChromaticity::Tristimulus value = OrvaneChromaticity::colorMatching(c.wavelength);
        EXPECT_NEAR(value.x, c.x, 1e-14);
        EXPECT_NEAR(value.y, c.y, 1e-14);
        EXPECT_NEAR(value.z, c.z, 1e-14);
    }
}

struct SpectrumCase
{
    const char* name;
    CieSpectra::Spectrum spectrum;
    double x, y;     // chromaticity_reference.py
    double tolerance;
};

TEST(Chromaticity, OfLinesAndOfAnEuropiumSpectrum)
{
    const CieSpectra::Spectrum europium = CieSpectra::europium();
    const SpectrumCase cases[] = {
        // The table's own chromaticity at the line's wavelength: the line's
        // 0.1 nm width moves it by less than 1e-4 where the functions bend at a row.
        {"450 nm line, the table", CieSpectra::line(450.0), 0.156640932577307, 0.017704804990891, 1e-4},
        {"550 nm line, the table", CieSpectra::line(550.0), 0.301603799395751, 0.692307762371574, 1e-4},
        {"611 nm line, the table", CieSpectra::line(611.0), 0.668431573828948, 0.331352315089956, 1e-4},
        {"700 nm line, the table", CieSpectra::line(700.0), 0.734690023258281, 0.265309976741719, 1e-4},
        // The same lines integrated by the reference.
        {"450 nm line", CieSpectra::line(450.0), 0.156632410576406, 0.017712896183179, 1e-12},
        {"550 nm line", CieSpectra::line(550.0), 0.301635891978194, 0.692266412008695, 1e-12},
        {"611 nm line", CieSpectra::line(611.0), 0.668431573828948, 0.331352315089956, 1e-12},
        {"700 nm line", CieSpectra::line(700.0), 0.734688930501171, 0.265311069498829, 1e-12},
        {"Eu(III) bands", europium, 0.653287619564147, 0.346415861566146, 1e-12},
        {"Eu(III) bands, falling wavelengths", CieSpectra::reversed(europium), 0.653287619564147,
         0.346415861566146, 1e-12},
        {"two points", {{612.0, 612.5}, {1.0, 1.0}}, 0.671897156697339, 0.327899282015188, 1e-12},
        {"820 to 840 nm: only the table's last rows count",
         {{820, 821, 822, 823, 824, 825, 826, 827, 828, 829, 830, 831, 832, 833, 834, 835, 836, 837, 838, 839, 840},
          QVector<double>(21, 1.0)},
         0.734689972462333, 0.265310027537667, 1e-12},
    };
    for (const SpectrumCase& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneChromaticity chromaticity;
        ASSERT_TRUE(chromaticity.calculate(c.spectrum.wavelengths, c.spectrum.intensities))
            << chromaticity.getLastError().toStdString();
        EXPECT_NEAR(chromaticity.getX(), c.x, c.tolerance);
        EXPECT_NEAR(chromaticity.getY(), c.y, c.tolerance);
        EXPECT_TRUE(chromaticity.getLastError().isEmpty());
    }
}

// Inside the spectral locus: x and y at or above zero and x + y at most 1
// (the locus and the purple line bound a region within that triangle).
void expectWithinLocus(const OrvaneChromaticity& chromaticity)
{
    EXPECT_GE(chromaticity.getX(), 0.0);
    EXPECT_GE(chromaticity.getY(), 0.0);
    EXPECT_LE(chromaticity.getX() + chromaticity.getY(), 1.0);
}

TEST(Chromaticity, IntensitiesBelowZeroCountAsZeroAndTheNoteSaysHowMany)
{
    const struct
    {
        const char* name;
        CieSpectra::Spectrum spectrum;
        double x, y; // chromaticity_reference.py
        QString note;
    } cases[] = {
        // Taken as they stand, the negative baseline gives x = 1.355.
        {"Eu(III) over 400-750 nm, baseline 3 % of the peak below zero", CieSpectra::europiumBelowZeroBaseline(),
         0.656287377731975, 0.343431255953203,
         QStringLiteral("607 of 701 intensities lay below zero (down to -0.03) and were counted as 0.")},
        {"one point below zero", {{612.0, 612.5, 613.0}, {1.0, 1.0, -0.5}}, 0.672133564294402, 0.327663730512660,
         QStringLiteral("1 of 3 intensities lay below zero (down to -0.5) and were counted as 0.")},
        {"wavelengths back and forth", {{600.0, 700.0, 450.0, 460.0}, {1.0, 1.0, 1.0, 1.0}}, 0.266270728186600,
         0.099615563602921, QString()},
        {"nothing below zero", CieSpectra::europium(), 0.653287619564147, 0.346415861566146, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneChromaticity chromaticity;
        ASSERT_TRUE(chromaticity.calculate(c.spectrum.wavelengths, c.spectrum.intensities))
            << chromaticity.getLastError().toStdString();
        EXPECT_NEAR(chromaticity.getX(), c.x, 1e-12);
        EXPECT_NEAR(chromaticity.getY(), c.y, 1e-12);
        expectWithinLocus(chromaticity);
        EXPECT_EQ(chromaticity.getNote(), c.note);
    }
    // The note belongs to the spectrum it was made for.
    OrvaneChromaticity chromaticity;
    const CieSpectra::Spectrum measured = CieSpectra::europiumBelowZeroBaseline();
    ASSERT_TRUE(chromaticity.calculate(measured.wavelengths, measured.intensities));
    EXPECT_EQ(chromaticity.getNegativeCount(), 607);
    ASSERT_TRUE(chromaticity.calculate(CieSpectra::europium().wavelengths, CieSpectra::europium().intensities));
    EXPECT_EQ(chromaticity.getNegativeCount(), 0);
    EXPECT_TRUE(chromaticity.getNote().isEmpty());
}

TEST(Chromaticity, ASpectrumWithoutOneSaysWhy)
{
    const struct
    {
        const char* name;
        CieSpectra::Spectrum spectrum;
        QString reason;
    } cases[] = {
        {"no point", {}, QStringLiteral("The spectrum has 0 points: its chromaticity needs at least two.")},
        {"one point", {{612.0}, {1.0}}, QStringLiteral("The spectrum has 1 point: its chromaticity needs at least two.")},
        {"zeros", {{600.0, 610.0, 620.0}, {0.0, 0.0, 0.0}},
         QStringLiteral("The spectrum has no chromaticity: its intensities are zero (or cancel out) over its "
                        "wavelengths.")},
        {"nothing above zero", {{600.0, 610.0, 620.0}, {-0.1, 0.0, -0.2}},
         QStringLiteral("The spectrum has no chromaticity: its intensities are zero or below zero over its "
                        "wavelengths.")},
        {"near infrared", {{900.0, 950.0, 1000.0}, {1.0, 2.0, 1.0}},
         QStringLiteral("The spectrum has no chromaticity: it lies outside 360-830 nm, where the CIE 1931 "
                        "colour-matching functions are tabulated.")},
        {"ultraviolet, falling", {{350.0, 340.0}, {1.0, 1.0}},
         QStringLiteral("The spectrum has no chromaticity: it lies outside 360-830 nm, where the CIE 1931 "
                        "colour-matching functions are tabulated.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneChromaticity chromaticity;
        // A result of an earlier spectrum does not survive.
        ASSERT_TRUE(chromaticity.calculate(CieSpectra::europium().wavelengths, CieSpectra::europium().intensities));
        EXPECT_FALSE(chromaticity.calculate(c.spectrum.wavelengths, c.spectrum.intensities));
        EXPECT_EQ(chromaticity.getLastError(), c.reason);
        EXPECT_EQ(chromaticity.getX(), 0.0);
        EXPECT_EQ(chromaticity.getY(), 0.0);
        EXPECT_TRUE(chromaticity.getNote().isEmpty());
    }
}

} // namespace
