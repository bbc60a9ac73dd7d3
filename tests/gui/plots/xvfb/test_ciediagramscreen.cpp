// The chromaticity diagram with the generated points file on a real X
// server: the window as the user sees it for an Eu(III) spectrum, kept as a
// screenshot in the build tree, and a few of its pixels.

#include "ciespectra.h"
#include "generateddatafolder.h"

#include "orvanecoloredscatter.h"
#include "orvanefrmciediagram.h"

#include <qcustomplot.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    return QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/") + name;
}

TEST(CieDiagramScreen, AnEuropiumSpectrumOnTheGeneratedDiagram)
{
    GeneratedDataFolder work;
    ASSERT_TRUE(work.isReady());

    OrvaneFrmCIEDiagram window;
    const CieSpectra::Spectrum europium = CieSpectra::europium();
    window.setSpectrum(europium.wavelengths, europium.intensities);
    window.plotChromaticity();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    auto* plot = window.findChild<QCustomPlot*>(QStringLiteral("customPlot"));
    ASSERT_NE(plot, nullptr);
    // The diagram's points are one plottable, under the disc and the square.
    const auto* diagram = qobject_cast<OrvaneColoredScatter*>(plot->plottable(0));
    ASSERT_NE(diagram, nullptr);
    ASSERT_GT(diagram->pointCount(), 3000);

    const QImage image = window.grab().toImage();
    ASSERT_TRUE(image.save(artifact(QStringLiteral("cie_diagram_europium.png"))));
    auto pixelAt = [&](double x, double y) {
        const QPoint inPlot(qRound(plot->xAxis->coordToPixel(x)), qRound(plot->yAxis->coordToPixel(y)));
        return QColor(image.pixel(plot->mapTo(&window, inPlot)));
    };
    // The black disc at the chromaticity, the red square, a green region of
    // the diagram and the empty corner outside the locus.
    const QColor disc = pixelAt(window.getCieX(), window.getCieY());
    EXPECT_LT(disc.red() + disc.green() + disc.blue(), 120) << disc.name().toStdString();
    const QColor square = pixelAt(0.8, 0.8);
    EXPECT_GT(square.red(), 200) << square.name().toStdString();
    EXPECT_LT(square.green(), 80);
    const QColor green = pixelAt(0.2, 0.65);
    EXPECT_GT(green.green(), 150) << green.name().toStdString();
    EXPECT_LT(green.red(), green.green());
    const QColor corner = pixelAt(0.05, 0.05);
    EXPECT_EQ(corner, QColor(Qt::white)) << corner.name().toStdString();
}

// A baseline below zero: the window shows the point inside the locus and the
// note under the coordinates, every line of it whole.
TEST(CieDiagramScreen, TheNoteOnIntensitiesBelowZeroIsShownWhole)
{
    GeneratedDataFolder work;
    ASSERT_TRUE(work.isReady());

    OrvaneFrmCIEDiagram window;
    const CieSpectra::Spectrum measured = CieSpectra::europiumBelowZeroBaseline();
    window.setSpectrum(measured.wavelengths, measured.intensities);
    window.plotChromaticity();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    auto* label = window.findChild<QLabel*>(QStringLiteral("lblChromaticity"));
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(label->text().contains(QStringLiteral("counted as 0")));
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), label->alignment(),
                                                           label->text());
    EXPECT_GE(label->contentsRect().width(), needed.width()) << label->text().toStdString();
    EXPECT_GE(label->contentsRect().height(), needed.height()) << label->text().toStdString();
    ASSERT_TRUE(window.grab().toImage().save(artifact(QStringLiteral("cie_diagram_below_zero_baseline.png"))));
}

} // namespace
