// The chromaticity diagram window: built from a small points file in a
// temporary current folder, the chromaticity of handed-over spectra from the
// CIE 1931 table against an independent evaluation
// (tests/engine/spectroscopy/chromaticity_reference.py), the colour lookup,
// the tool tip and the PNG export through the dialog seam.

#include "../support/guitestsupport.h"
#include "ciespectra.h"

#include "orvanecoloredscatter.h"
#include "orvanefrmciediagram.h"

#include <qcustomplot.h>

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Five drawable rows: two share the key "0.65 0.35" (the first must win), one
// has a colour field that is no number (read as 0); a blank line and a row
// too short to hold a colour are no points.
const QByteArray fixturePoints = "CIE points for the tests\n"
                                 "second header line\n"
                                 "x y z r g b R G B\n"
                                 "0.31 0.33 0.36 0.95 1.00 0.99 250 255 254\n"
                                 "0.65 0.35 0.00 1.00 0.00 0.00 255 0 0\n"
                                 "0.65   0.35 0.00 1.00 0.00 0.00 10 20 30\n"
                                 "\n"
                                 "0.67 0.33 0.00 1.00 0.00\n"
                                 "0.67 0.33 0.00 1.00 0.00 0.03 200 x 7\n"
                                 "0.10 0.80 0.10 0.00 1.00 0.00 0 255 0";

// chromaticity_reference.py; a spectrum and its reverse have one chromaticity.
constexpr double line612X = 0.671897156697339, line612Y = 0.327899282015188;
constexpr double europiumX = 0.653287619564147, europiumY = 0.346415861566146;

class CieDiagramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        if (writePoints) {
            QFile file(work.filePath(QStringLiteral("CIEpoints.txt")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(fixturePoints);
        }
        ASSERT_TRUE(cwd.isChanged());
    }

    std::unique_ptr<OrvaneFrmCIEDiagram> build()
    {
        auto window = std::make_unique<OrvaneFrmCIEDiagram>();
        plot = window->findChild<QCustomPlot*>(QStringLiteral("customPlot"));
        box = window->findChild<QCheckBox*>(QStringLiteral("chbShowEmittedColor"));
        return window;
    }

    QString chromaticityText() const
    {
        return plot->parentWidget()->findChild<QLabel*>(QStringLiteral("lblChromaticity"))->text();
    }

    // Hands the spectrum over and asks for its chromaticity, as the emission form does.
    static void plotSpectrum(OrvaneFrmCIEDiagram& window, const CieSpectra::Spectrum& spectrum)
    {
        window.setSpectrum(spectrum.wavelengths, spectrum.intensities);
        window.plotChromaticity();
    }

    // The disc and the square are the last two graphs.
    QCPGraph* disc() const { return plot->graph(plot->graphCount() - 2); }
    QCPGraph* square() const { return plot->graph(plot->graphCount() - 1); }

    bool writePoints = true;
    IsolatedTempFolder temp;
    QTemporaryDir work;
    ScopedCurrentDirectory cwd{work.path()};
    QCustomPlot* plot = nullptr;
    QCheckBox* box = nullptr;
};

void expectSinglePoint(const QCPGraph* graph, double x, double y)
{
    ASSERT_EQ(graph->data()->size(), 1);
    EXPECT_NEAR(graph->data()->at(0)->key, x, 1e-12);
    EXPECT_NEAR(graph->data()->at(0)->value, y, 1e-12);
}

TEST_F(CieDiagramTest, TheDiagramHoldsOneDiscPerRowOnTheBackgroundLayerInOnePlottable)
{
    auto window = build();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ORVANE - CIE 1931 Chromaticity Diagram"));
    EXPECT_EQ(plot->xAxis->label(), QStringLiteral("CIE x"));
    EXPECT_EQ(plot->yAxis->label(), QStringLiteral("CIE y"));
    EXPECT_EQ(plot->xAxis->labelFont().pointSize(), 12);
    for (QCPAxis* axis : {plot->xAxis, plot->yAxis}) {
        EXPECT_DOUBLE_EQ(axis->range().lower, 0.0);
        EXPECT_DOUBLE_EQ(axis->range().upper, 0.9);
    }
    EXPECT_TRUE(box->isChecked());
    // Thousands of legend entries made closing the window take many seconds.
    EXPECT_EQ(plot->legend->itemCount(), 0);

    const struct
    {
        double x, y;
        QColor color;
    } rows[] = {{0.31, 0.33, QColor(250, 255, 254, 200)},
                {0.65, 0.35, QColor(255, 0, 0, 200)},
                {0.65, 0.35, QColor(10, 20, 30, 200)},
                {0.67, 0.33, QColor(200, 0, 7, 200)},
                {0.10, 0.80, QColor(0, 255, 0, 200)}};
    // One plottable for all rows: a graph a row made opening and closing the
    // window grow with the square of the rows.
    ASSERT_EQ(plot->plottableCount(), 1 + 2);
    ASSERT_EQ(plot->graphCount(), 2);
    const auto* diagram = qobject_cast<OrvaneColoredScatter*>(plot->plottable(0));
    ASSERT_NE(diagram, nullptr);
    EXPECT_EQ(diagram->layer()->name(), QStringLiteral("background"));
    EXPECT_EQ(diagram->style().shape(), QCPScatterStyle::ssDisc);
    EXPECT_DOUBLE_EQ(diagram->style().size(), 6.0);
    ASSERT_EQ(diagram->pointCount(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(diagram->position(i).x(), rows[i].x);
        EXPECT_DOUBLE_EQ(diagram->position(i).y(), rows[i].y);
        EXPECT_EQ(diagram->pen(i).color(), rows[i].color);
        EXPECT_DOUBLE_EQ(diagram->pen(i).widthF(), 0.1);
        EXPECT_EQ(diagram->pen(i).capStyle(), Qt::SquareCap);
        EXPECT_EQ(diagram->pen(i).joinStyle(), Qt::BevelJoin);
    }
    // Every disc is drawn: the first row's colour shows at its place.
    plot->setViewport(QRect(0, 0, 400, 400));
    plot->replot();
    const QImage image = plot->toPixmap(400, 400).toImage();
    const QPoint at(qRound(plot->xAxis->coordToPixel(0.10)), qRound(plot->yAxis->coordToPixel(0.80)));
    EXPECT_GT(qGreen(image.pixel(at)), 200);
    EXPECT_LT(qRed(image.pixel(at)), 100);
    EXPECT_EQ(disc()->layer()->name(), QStringLiteral("main"));
    EXPECT_TRUE(disc()->data()->isEmpty());
    EXPECT_TRUE(square()->data()->isEmpty()) << "no chromaticity yet";
}

struct ChromaticityCase
{
    const char* name;
    CieSpectra::Spectrum spectrum;
    double x, y;
    QColor square; // invalid: no square
};

TEST_F(CieDiagramTest, ChromaticityOfHandedOverSpectraAndTheColourAtIt)
{
    const CieSpectra::Spectrum europium = CieSpectra::europium();
    const double nan = std::nan("");
    const ChromaticityCase cases[] = {
        {"line at 612 nm", {{612.0, 612.5}, {1.0, 1.0}}, line612X, line612Y, QColor(200, 0, 7, 250)},
        {"Eu(III) bands", europium, europiumX, europiumY, QColor(255, 0, 0, 250)},
        {"Eu(III) bands, descending", CieSpectra::reversed(europium), europiumX, europiumY,
         QColor(255, 0, 0, 250)},
        {"one point: no interval, no chromaticity", {{612.0}, {1.0}}, nan, nan, QColor()},
        {"all zeros: no chromaticity, never 0/0", {{600.0, 610.0, 620.0}, {0.0, 0.0, 0.0}}, nan, nan, QColor()},
    };
    for (const ChromaticityCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = build();
        window->setSpectrum(c.spectrum.wavelengths, c.spectrum.intensities);
        window->plotChromaticity();
        if (std::isnan(c.x)) {
            EXPECT_FALSE(window->hasChromaticity());
            EXPECT_EQ(window->getCieX(), 0.0);
            EXPECT_EQ(window->getCieY(), 0.0);
            EXPECT_TRUE(disc()->data()->isEmpty());
            EXPECT_TRUE(chromaticityText().contains(QStringLiteral("chromaticity"))) << chromaticityText().toStdString();
        } else {
            EXPECT_TRUE(window->hasChromaticity());
            EXPECT_NEAR(window->getCieX(), c.x, 1e-12);
            EXPECT_NEAR(window->getCieY(), c.y, 1e-12);
            expectSinglePoint(disc(), c.x, c.y);
            EXPECT_EQ(chromaticityText(), QStringLiteral("CIE x = %1   y = %2")
                                              .arg(QString::number(c.x, 'f', 3), QString::number(c.y, 'f', 3)));
        }
        EXPECT_EQ(disc()->pen().color(), QColor(Qt::black));
        EXPECT_DOUBLE_EQ(disc()->pen().widthF(), 4.0);
        if (!c.square.isValid()) {
            EXPECT_TRUE(square()->data()->isEmpty());
            continue;
        }
        expectSinglePoint(square(), 0.8, 0.8);
        EXPECT_EQ(square()->pen().color(), c.square);
        EXPECT_DOUBLE_EQ(square()->pen().widthF(), 50.0);
        EXPECT_EQ(square()->scatterStyle().shape(), QCPScatterStyle::ssDiamond);
    }
}

TEST_F(CieDiagramTest, ASpectrumWithoutChromaticitySaysSoAndLeavesNoStalePoint)
{
    auto window = build();
    QSignalSpy log(window.get(), &OrvaneFrmCIEDiagram::newObjCalculationMessage);
    const CieSpectra::Spectrum europium = CieSpectra::europium();
    window->setSpectrum(europium.wavelengths, europium.intensities);
    window->plotChromaticity();
    // chromaticity_reference.py: 0.653287619564147, 0.346415861566146, good to
    // three decimals.
    EXPECT_EQ(chromaticityText(), QStringLiteral("CIE x = 0.653   y = 0.346"));
    ASSERT_EQ(log.count(), 1);
    EXPECT_TRUE(log.at(0).at(0).toString().endsWith(
        QStringLiteral(" -> (Orvane Module to Plot CIE Diagram) Chromaticity of the emission spectrum: CIE x = 0.653   "
                       "y = 0.346")))
        << log.at(0).at(0).toString().toStdString();

    const struct
    {
        CieSpectra::Spectrum spectrum;
        QString message;
    } cases[] = {
        {{{612.0}, {1.0}}, QStringLiteral("The spectrum has 1 point: its chromaticity needs at least two.")},
        {{{600.0, 610.0, 620.0}, {0.0, 0.0, 0.0}},
         QStringLiteral("The spectrum has no chromaticity: its intensities are zero (or cancel out) over its "
                        "wavelengths.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        window->setSpectrum(europium.wavelengths, europium.intensities);
        window->plotChromaticity();
        ASSERT_EQ(square()->data()->size(), 1);
        window->setSpectrum(c.spectrum.wavelengths, c.spectrum.intensities);
        window->plotChromaticity();
        EXPECT_FALSE(window->hasChromaticity());
        EXPECT_TRUE(disc()->data()->isEmpty());
        EXPECT_TRUE(square()->data()->isEmpty());
        EXPECT_EQ(chromaticityText(), c.message);
        EXPECT_TRUE(log.last().at(0).toString().endsWith(c.message));
    }
}

TEST_F(CieDiagramTest, IntensitiesBelowZeroCountAsZeroAndThePageSaysSo)
{
    auto window = build();
    QSignalSpy log(window.get(), &OrvaneFrmCIEDiagram::newObjCalculationMessage);
    // Taken as they stand, the baseline 3 % of the peak below zero puts the
    // point at x = 1.355, off the diagram.
    plotSpectrum(*window, CieSpectra::europiumBelowZeroBaseline());
    // chromaticity_reference.py, the values below zero counted as 0.
    ASSERT_TRUE(window->hasChromaticity());
    expectSinglePoint(disc(), 0.656287377731975, 0.343431255953203);
    const QString note = QStringLiteral("607 of 701 intensities lay below zero (down to -0.03) and were counted as 0.");
    EXPECT_EQ(chromaticityText(), QStringLiteral("CIE x = 0.656   y = 0.343\n") + note);
    ASSERT_EQ(log.count(), 1);
    EXPECT_TRUE(log.at(0).at(0).toString().endsWith(
        QStringLiteral("Chromaticity of the emission spectrum: CIE x = 0.656   y = 0.343 ") + note))
        << log.at(0).at(0).toString().toStdString();

    // The next spectrum has nothing below zero: no note is left over.
    plotSpectrum(*window, CieSpectra::europium());
    EXPECT_EQ(chromaticityText(), QStringLiteral("CIE x = 0.653   y = 0.346"));
}

TEST_F(CieDiagramTest, TheCheckBoxRemovesAndRedrawsTheSquareWithoutRecomputing)
{
    auto window = build();
    const CieSpectra::Spectrum europium = CieSpectra::europium();
    window->setSpectrum(europium.wavelengths, europium.intensities);
    window->plotChromaticity();
    ASSERT_EQ(square()->data()->size(), 1);

    box->setChecked(false);
    EXPECT_TRUE(square()->data()->isEmpty());
    // A new spectrum, not yet plotted: the square comes back in the old colour.
    window->setSpectrum({612.0, 612.5}, {1.0, 1.0});
    box->setChecked(true);
    expectSinglePoint(square(), 0.8, 0.8);
    EXPECT_EQ(square()->pen().color(), QColor(255, 0, 0, 250));
    // Unchecked, a new chromaticity draws the disc but no square.
    box->setChecked(false);
    window->plotChromaticity();
    expectSinglePoint(disc(), line612X, line612Y);
    EXPECT_TRUE(square()->data()->isEmpty());
}

TEST_F(CieDiagramTest, TheToolTipShowsTheCoordinatesUnderTheMouse)
{
    auto window = build();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    plot->replot();
    // Two positions: the tip follows the last one. One pixel spans
    // 0.9 / 400 = 0.00225 at most.
    for (const QPointF& point : {QPointF(0.45, 0.30), QPointF(0.12, 0.71)}) {
        const QPoint at(qRound(plot->xAxis->coordToPixel(point.x())), qRound(plot->yAxis->coordToPixel(point.y())));
        QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        const QStringList parts = window->toolTip().split(QStringLiteral(" , "));
        ASSERT_EQ(parts.size(), 2) << window->toolTip().toStdString();
        EXPECT_NEAR(parts.at(0).toDouble(), point.x(), 0.003);
        EXPECT_NEAR(parts.at(1).toDouble(), point.y(), 0.003);
    }
    EXPECT_TRUE(plot->toolTip().isEmpty()) << "the window's tip, not the plot's";
}

TEST_F(CieDiagramTest, AGraphNameTypedWithoutSuffixIsSavedAsPng)
{
    auto window = build();
    DialogScript dialogs;
    expectSavedWithFilterSuffix(dialogs, work.path(), QStringLiteral("cie"), QStringLiteral("cie.png"),
                                QStringLiteral("The file was successfully created at: "),
                                [&] { window->findChild<QPushButton*>(QStringLiteral("btnSaveImage"))->click(); });
    EXPECT_EQ(QImage(work.filePath(QStringLiteral("cie.png"))).size(), QSize(500, 500));
}

TEST_F(CieDiagramTest, SavingTheGraphWritesA500PixelPngAndSaysWhere)
{
    auto window = build();
    QSignalSpy log(window.get(), &OrvaneFrmCIEDiagram::newObjCalculationMessage);
    auto* save = window->findChild<QPushButton*>(QStringLiteral("btnSaveImage"));
    const QString png = work.filePath(QStringLiteral("diagram.png"));

    DialogScript dialogs;
    dialogs.chooseFile(png);
    dialogs.pressButton(QMessageBox::Ok);
    save->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::SaveFileName);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Export Graph Name"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("png Image(*.png)"));
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(1).text, QStringLiteral("The file was successfully created at: ") + png);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(500, 500));
    ASSERT_EQ(log.count(), 1);
    const QString line = log.at(0).at(0).toString();
    const QString tail = QStringLiteral(" -> (Orvane Module to Plot CIE Diagram) Saving graph... The graph was saved at ")
                         + QFileInfo(png).absolutePath();
    ASSERT_TRUE(line.endsWith(tail)) << line.toStdString();
    EXPECT_TRUE(QDateTime::fromString(line.left(line.size() - tail.size()), Qt::TextDate).isValid());

    // Cancelled: nothing written, logged or shown.
    dialogs.cancel();
    save->click();
    EXPECT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(log.count(), 1);

    // A folder that does not exist: the failure is told, never a success.
    const QString unwritable = work.filePath(QStringLiteral("missing/diagram.png"));
    dialogs.chooseFile(unwritable);
    dialogs.pressButton(QMessageBox::Ok);
    save->click();
    ASSERT_EQ(dialogs.requests().size(), 5);
    EXPECT_EQ(dialogs.requests().at(4).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(4).text.contains(unwritable));
    EXPECT_EQ(log.count(), 1);
    EXPECT_FALSE(QFile::exists(unwritable));
}

class CieDiagramWithoutPointsTest : public CieDiagramTest
{
protected:
    CieDiagramWithoutPointsTest() { writePoints = false; }
};

TEST_F(CieDiagramWithoutPointsTest, SaysSoAndStillDrawsTheDiscOnTheEmptyAxes)
{
    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok);
    auto window = build();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    EXPECT_TRUE(dialogs.requests().at(0).text.startsWith(QStringLiteral("File CIEpoints.txt is missing. Please, contact ")));
    EXPECT_EQ(plot->xAxis->label(), QStringLiteral("CIE x"));
    EXPECT_DOUBLE_EQ(plot->yAxis->range().upper, 0.9);
    EXPECT_FALSE(box->isChecked());
    ASSERT_EQ(plot->graphCount(), 2);

    const CieSpectra::Spectrum europium = CieSpectra::europium();
    window->setSpectrum(europium.wavelengths, europium.intensities);
    window->plotChromaticity();
    expectSinglePoint(disc(), europiumX, europiumY);
    box->setChecked(true);
    EXPECT_TRUE(square()->data()->isEmpty()) << "no table, no colour";
    box->setChecked(false);
}

} // namespace
