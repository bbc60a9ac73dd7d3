// Broadened absorption spectrum: the grid, the normalisation, the points
// file, and the values against an independent evaluation of the band formula.

#include "orvanefixtures.h"
#include "orvanenormalizepoints.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

struct Band {
    double nm;
    double strength;
};

// The band formula evaluated directly at each wavelength of the axis, in long
// double and in file order: c = 1e7 / x, d the width `width` nm about x in
// cm-1, and per band (c/g) f [d / (4 (c+g)^2 + d^2) + d / (4 (g-c)^2 + d^2)].
QVector<double> reference(const QVector<double>& axisX, const QVector<Band>& bands, double width)
{
    std::vector<long double> y;
    for (double x : axisX) {
        const long double lambda = 1.0e7L / (1.0e7L / x); // the point's own wavelength
        const long double c = 1.0e7L / lambda;
        const long double a = lambda - width / 2.0L;
        const long double b = lambda + width / 2.0L;
        const long double d = 1.0e7L / a - 1.0e7L / b;
        long double sum = 0.0L;
        for (const Band& band : bands) {
            if (band.nm == 0.0)
                continue;
            const long double g = 1.0e7L / band.nm;
            sum += c / g * band.strength * (d / (4 * (c + g) * (c + g) + d * d) + d / (4 * (g - c) * (g - c) + d * d));
        }
        y.push_back(sum);
    }
    const long double top = *std::max_element(y.begin(), y.end());
    QVector<double> scaled;
    for (long double v : y)
        scaled << static_cast<double>(v / top);
    return scaled;
}

const QVector<Band> gaussianBands = {{400.0, 0.05}, {320.0, 0.21}, {240.0, 0.9}};

} // namespace

TEST(AbsorptionSpectrum, ReadsTheLinesOfEachProgram)
{
    struct Case {
        const char* file;
        int program;
        QVector<double> wavelengths;
        QVector<double> strengths;
    };
    const Case cases[] = {
        {"gaussian/eu_h2o_td.log", OrvaneNormalizePoints::Gaussian, {400.0, 320.0, 240.0}, {0.05, 0.21, 0.9}},
        {"orca/eu_h2o_tda.orcout", OrvaneNormalizePoints::Orca,
         {1e7 / 24999.7, 1e7 / 31249.1, 1e7 / 41665.4}, {0.050123456, 0.210234567, 0.900345678}},
        // The one-table layout: "... NM  <energy> CM-1  <strength>".
        {"zindo/ligand_layout2.zin", OrvaneNormalizePoints::Zindo,
         {1e7 / 9000.0, 1e7 / 12000.0, 1e7 / 20500.0, 1e7 / 42000.0}, {0.1, 0.3, 0.25, 0.9}},
    };
    for (const Case& c : cases) {
        OrvaneNormalizePoints points(nullptr, dataPath(QString::fromLatin1(c.file)), c.program);
        ASSERT_TRUE(points.getLastError().isEmpty()) << c.file;
        ASSERT_EQ(points.pointsNumber, c.wavelengths.size());
        for (int k = 1; k <= points.pointsNumber; ++k) {
            EXPECT_NEAR(points.wavelengths.at(k), c.wavelengths.at(k - 1), 1e-9) << c.file;
            EXPECT_EQ(points.oscillatorStrengths.at(k), c.strengths.at(k - 1)) << c.file;
        }
        EXPECT_EQ(points.bandWidth, 25.0);
        EXPECT_EQ(points.initialWavelength, 150.0);
        EXPECT_EQ(points.finalWavelength, 450.0);
    }
}

TEST(AbsorptionSpectrum, GridNormalisationAndValues)
{
    OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), 0);
    ASSERT_TRUE(points.getLastError().isEmpty());
    points.spectrum();
    const QVector<double> x = points.getaxisX();
    const QVector<double> y = points.getaxisY();
    ASSERT_EQ(x.size(), 1001);
    ASSERT_EQ(y.size(), 1001);

    // From the shorter bound to the longer, equidistant in wavenumber.
    EXPECT_NEAR(x.first(), 150.0, 1e-9);
    EXPECT_NEAR(x.last(), 450.0, 1e-9);
    const double step = (1e7 / 150.0 - 1e7 / 450.0) / 1000.0;
    for (int j = 1; j < x.size(); ++j) {
        EXPECT_NEAR(1e7 / x.at(j - 1) - 1e7 / x.at(j), step, 1e-7) << j;
        ASSERT_LT(x.at(j - 1), x.at(j));
    }

    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 1.0);
    EXPECT_GT(*std::min_element(y.begin(), y.end()), 0.0);

    const QVector<double> expected = reference(x, gaussianBands, 25.0);
    for (int j = 0; j < y.size(); ++j)
        EXPECT_NEAR(y.at(j), expected.at(j), 1e-12) << j;

    // Values of an independent script (numpy, same formula):
    //   lo, hi = 1e7/450, 1e7/150; c = lo + arange(1001)*(hi-lo)/1000; lam = 1e7/c
    //   d = |((lam-12.5)-(lam+12.5))*1e7/((lam-12.5)*(lam+12.5))|
    //   y = sum over bands (c/g)*f*(d/(4(c+g)^2+d^2) + d/(4(g-c)^2+d^2)); y /= y.max(); reversed
    // printed: j=0 0.03730009779522767, j=1 0.03734379456382337, j=250 0.06176829979251145,
    //          j=500 0.4206794706622721, j=750 0.15526938461052345, j=1000 0.01288844161246458
    const struct {
        int j;
        double x, y;
    } script[] = {{0, 150.0, 0.03730009779522767},
                  {1, 150.10006671114073, 0.03734379456382337},
                  {250, 180.0, 0.06176829979251145},
                  {500, 225.0, 0.4206794706622721},
                  {750, 300.0, 0.15526938461052345},
                  {1000, 450.0, 0.01288844161246458}};
    for (const auto& s : script) {
        EXPECT_NEAR(x.at(s.j), s.x, 1e-9) << s.j;
        EXPECT_NEAR(y.at(s.j), s.y, 1e-12) << s.j;
    }
}

TEST(AbsorptionSpectrum, BoundsInEitherOrderAndRepeatedCalls)
{
    OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), 0);
    points.setParametersNormalization(40.0, 200.0, 500.0);
    points.spectrum();
    const QVector<double> x = points.getaxisX();
    const QVector<double> y = points.getaxisY();

    // Calling again, or with the bounds swapped, gives the same spectrum.
    points.spectrum();
    EXPECT_EQ(points.getaxisX(), x);
    EXPECT_EQ(points.getaxisY(), y);
    EXPECT_EQ(points.initialWavelength, 200.0); // the parameters keep their nm values
    EXPECT_EQ(points.wavelengths.at(1), 400.0);
    points.setParametersNormalization(40.0, 500.0, 200.0);
    points.spectrum();
    EXPECT_EQ(points.getaxisX(), x);
    EXPECT_EQ(points.getaxisY(), y);

    // The same script with width 40 and window 200..500 nm printed
    // j=0 (200 nm) 0.2379017267070318, j=500 0.2529661601582663, j=1000 (500 nm) 0.01112968269546612.
    EXPECT_NEAR(x.first(), 200.0, 1e-9);
    EXPECT_NEAR(y.first(), 0.2379017267070318, 1e-12);
    EXPECT_NEAR(y.at(500), 0.2529661601582663, 1e-12);
    EXPECT_NEAR(y.last(), 0.01112968269546612, 1e-12);
    const QVector<double> expected = reference(x, gaussianBands, 40.0);
    for (int j = 0; j < y.size(); ++j)
        EXPECT_NEAR(y.at(j), expected.at(j), 1e-12) << j;
}

TEST(AbsorptionSpectrum, LineShapes)
{
    QTemporaryDir dir;
    auto orcaTable = [&](const QByteArray& rows) {
        return writeFile(dir.filePath(QStringLiteral("lines.orcout")),
                         "         ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS\n"
                         "-----------------------------------------------------------------------------\n"
                         "State   Energy    Wavelength  fosc         T2        TX        TY        TZ\n"
                         "        (cm-1)      (nm)                 (au**2)    (au)      (au)      (au)\n"
                         "-----------------------------------------------------------------------------\n"
                             + rows + "\n");
    };

    // One line: its maximum is exactly 1, near the line. The c/g weight and a
    // width that grows with the wavelength move the top of the band: for this
    // line the script above puts it at grid point 751, one step (44.41 cm-1)
    // from the line, while point 750 is the nearest to it.
    {
        OrvaneNormalizePoints points(nullptr, orcaTable("   1   33333.3    300.0   0.250000000   0.1   0.1   0.1   0.1\n"), 1);
        points.spectrum();
        const QVector<double> x = points.getaxisX();
        const QVector<double> y = points.getaxisY();
        // The top of the band from the script: x, y = spectrum([1e7/33333.3], [0.25]);
        // argmax(y) printed 751.
        const int top = int(std::max_element(y.begin(), y.end()) - y.begin());
        EXPECT_EQ(y.at(top), 1.0);
        const double step = (1e7 / 150.0 - 1e7 / 450.0) / 1000.0;
        EXPECT_EQ(top, 751);
        EXPECT_LE(std::fabs(1e7 / x.at(top) - 33333.3), 2 * step);
    }
    // A line of energy 0 keeps wavelength 0 and adds nothing; lines outside
    // the window still add their tails.
    {
        OrvaneNormalizePoints with(nullptr, orcaTable("   1       0.0      0.0   0.900000000   0.1   0.1   0.1   0.1\n"
                                                      "   2   33333.3    300.0   0.250000000   0.1   0.1   0.1   0.1\n"
                                                      "   3   15000.0    666.7   0.400000000   0.1   0.1   0.1   0.1\n"),
                                   1);
        ASSERT_EQ(with.pointsNumber, 3);
        EXPECT_EQ(with.wavelengths.at(1), 0.0);
        with.spectrum();
        const QVector<double> expected =
            reference(with.getaxisX(), {{0.0, 0.9}, {1e7 / 33333.3, 0.25}, {1e7 / 15000.0, 0.4}}, 25.0);
        for (int j = 0; j < expected.size(); ++j)
            ASSERT_NEAR(with.getaxisY().at(j), expected.at(j), 1e-12) << j;
        for (double v : with.getaxisY())
            ASSERT_TRUE(std::isfinite(v));
    }
    // No line at all: a flat spectrum of zeros rather than a division by zero.
    {
        OrvaneNormalizePoints none(nullptr, orcaTable(""), 1);
        EXPECT_TRUE(none.getLastError().isEmpty());
        EXPECT_EQ(none.pointsNumber, 0);
        none.spectrum();
        ASSERT_EQ(none.getaxisY().size(), 1001);
        for (double v : none.getaxisY())
            ASSERT_EQ(v, 0.0);
    }
}

TEST(AbsorptionSpectrum, PointsFile)
{
    OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")), 1);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("spectrum.txt"));
    writeFile(file, QByteArray(100000, 'x')); // replaced, not appended to
    points.createEspFile(file);
    const QByteArray text = contents(file);
    ASSERT_TRUE(text.endsWith('\n'));
    const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    ASSERT_EQ(lines.size(), 1001);
    EXPECT_TRUE(lines.first().startsWith("150.00              ")); // 150.00 and 14 blanks
    EXPECT_TRUE(lines.last().startsWith("450.00              "));
    const QRegularExpression layout(QStringLiteral("^(\\d+\\.\\d\\d) +(\\d\\.\\d{4})$"));
    const QVector<double> x = points.getaxisX();
    const QVector<double> y = points.getaxisY();
    for (int j = 0; j < lines.size(); ++j) {
        const QString line = QString::fromLatin1(lines.at(j));
        const QRegularExpressionMatch m = layout.match(line);
        ASSERT_TRUE(m.hasMatch()) << j << ": " << lines.at(j).constData();
        EXPECT_EQ(line.indexOf(m.captured(2)), 20) << j; // the wavelength field is 20 wide
        EXPECT_EQ(m.captured(1), QString::number(x.at(j), 'f', 2));
        EXPECT_EQ(m.captured(2), QString::number(y.at(j), 'f', 4));
    }
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_TRUE(points.getLastError().isEmpty());

    points.createEspFile(dir.filePath(QStringLiteral("no/such/folder/spectrum.txt")));
    EXPECT_FALSE(points.getLastError().isEmpty()); // an unwritable file is told, not silent
}

TEST(AbsorptionSpectrum, Failures)
{
    const QString gaussian = dataPath(QStringLiteral("gaussian/eu_h2o_td.log"));
    OrvaneNormalizePoints unknown(nullptr, gaussian, 3);
    EXPECT_EQ(unknown.getLastError(),
              QStringLiteral("Unknown absorption program 3 (0 Gaussian, 1 ORCA, 2 ZINDO) for the file: \n") + gaussian);
    EXPECT_EQ(unknown.pointsNumber, 0);

    const QString missing = QStringLiteral("/nonexistent/run.orcout");
    OrvaneNormalizePoints absent(nullptr, missing, 1);
    EXPECT_EQ(absent.getLastError(), missing + QStringLiteral(" does not exist."));
    EXPECT_EQ(absent.pointsNumber, 0);

    // A Gaussian reading of an ORCA output finds no excitation list.
    const QString orca = dataPath(QStringLiteral("orca/eu_h2o_tda.orcout"));
    OrvaneNormalizePoints wrong(nullptr, orca, 0);
    EXPECT_EQ(wrong.getLastError(),
              QStringLiteral("There has been an error during read of the excited states from the GAUSSIAN output file. \n")
                  + orca);
    wrong.spectrum(); // harmless on an object without lines
    EXPECT_EQ(wrong.getaxisY().size(), 1001);
}

TEST(AbsorptionSpectrum, ParametersGivingNonFinitePointsAreRefused)
{
    const QString gaussian = dataPath(QStringLiteral("gaussian/eu_h2o_td.log"));
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    const struct {
        double width, first, last;
        const char* why;
    } cases[] = {
        {25, 0, 450, "a bound of 0 nm lies at infinite wavenumber"},
        {25, 150, 0, "the other bound"},
        {25, -150, 450, "a negative bound puts 0 cm-1 inside the window"},
        {25, nan, 450, "not a number"},
        {25, 150, inf, "infinite"},
        {0, 150, 450, "a band without width"},
        {-25, 150, 450, "a negative width"},
        {nan, 150, 450, "a width that is not a number"},
        {300, 150, 450, "as wide as twice the shortest wavelength: no width in cm-1 there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OrvaneNormalizePoints points(nullptr, gaussian, OrvaneNormalizePoints::Gaussian);
        ASSERT_TRUE(points.getLastError().isEmpty());
        EXPECT_FALSE(points.setParametersNormalization(c.width, c.first, c.last));
        EXPECT_FALSE(points.getLastError().isEmpty());
        // The refused values are not taken: the spectrum is that of the defaults.
        EXPECT_EQ(points.bandWidth, 25.0);
        EXPECT_EQ(points.initialWavelength, 150.0);
        EXPECT_EQ(points.finalWavelength, 450.0);
        EXPECT_TRUE(points.spectrum()) << points.getLastError().toStdString();
        EXPECT_TRUE(points.getLastError().isEmpty());

        // The forms set the members directly: the spectrum and the points
        // file refuse them there too, and write nothing.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("points.txt"));
        points.bandWidth = c.width;
        points.initialWavelength = c.first;
        points.finalWavelength = c.last;
        EXPECT_FALSE(points.spectrum());
        EXPECT_TRUE(points.getaxisX().isEmpty());
        EXPECT_FALSE(points.createEspFile(file));
        EXPECT_FALSE(points.getLastError().isEmpty());
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(AbsorptionSpectrum, EachWriteStartsWithoutTheLastError)
{
    QTemporaryDir dir;
    OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), 0);
    EXPECT_FALSE(points.createEspFile(dir.filePath(QStringLiteral("no/such/folder/points.txt"))));
    EXPECT_TRUE(points.getLastError().contains(QLatin1String("points.txt")));
    EXPECT_TRUE(points.createEspFile(dir.filePath(QStringLiteral("points.txt"))));
    EXPECT_TRUE(points.getLastError().isEmpty()) << points.getLastError().toStdString();
}

// The band pair is summed over one common denominator: every point, the far
// tails included (values down to 1e-6 of the peak), keeps 12 significant
// digits of the direct evaluation.
TEST(AbsorptionSpectrum, EveryPointToTwelveSignificantDigits)
{
    const struct {
        double width, from, to;
    } windows[] = {{25.0, 150.0, 450.0}, {3.0, 100.0, 2000.0}, {80.0, 2000.0, 120.0}, {0.5, 395.0, 405.0}};
    OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), 0);
    ASSERT_TRUE(points.getLastError().isEmpty());
    for (const auto& w : windows) {
        SCOPED_TRACE(testing::Message() << w.width << " nm, " << w.from << " to " << w.to);
        ASSERT_TRUE(points.setParametersNormalization(w.width, w.from, w.to));
        ASSERT_TRUE(points.spectrum());
        const QVector<double> y = points.getaxisY();
        const QVector<double> expected = reference(points.getaxisX(), gaussianBands, w.width);
        for (int j = 0; j < y.size(); ++j)
            ASSERT_LE(std::abs(y.at(j) - expected.at(j)), 1e-12 * std::abs(expected.at(j))) << j;
    }
}
