// The right-button rubber band of the spectrum plot: zoom to the dragged
// rectangle, or back to the owner's full view for a drag narrower than 5
// x-units. Events are sent straight to the widget (the offscreen platform
// does not route synthetic mouse moves).

#include "../support/guitestsupport.h"

#include "customplotzoom.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QSignalSpy>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// Axis scales chosen so that one pixel is a known number of plot units.
constexpr double xUnitsPerPixel = 0.7;
constexpr double yUnitsPerPixel = 0.5;
constexpr double xLower = 500.0;
constexpr double yLower = 0.0;

void send(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class CustomPlotZoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plot.resize(640, 420);
        plot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
        // The tick labels of the new ranges move the axis rectangle: set the
        // ranges again until the rectangle stays put.
        QRect rect;
        for (int pass = 0; pass < 5 && rect != plot.axisRect()->rect(); ++pass) {
            plot.replot();
            rect = plot.axisRect()->rect();
            plot.xAxis->setRange(xLower, xLower + xUnitsPerPixel * rect.width());
            plot.yAxis->setRange(yLower, yLower + yUnitsPerPixel * rect.height());
            plot.replot();
        }
        ASSERT_EQ(rect, plot.axisRect()->rect());
        ASSERT_GT(rect.width(), 300);
        plot.defaultXRange = QCPRange(450.0, 750.0);
        plot.defaultYRange = QCPRange(0.0, 120.0);
    }

    // Plot coordinates of a pixel, from the scales set above.
    double xAt(int pixel) const { return xLower + (pixel - plot.axisRect()->left()) * xUnitsPerPixel; }

    void rightDrag(const QPoint& from, const QPoint& to, Qt::MouseButton released = Qt::RightButton)
    {
        send(&plot, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
        send(&plot, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::RightButton);
        send(&plot, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
        send(&plot, QEvent::MouseButtonRelease, to, released, Qt::NoButton);
    }

    bool bandShown() const { return !plot.findChild<QRubberBand*>()->isHidden(); }

    void expectDefaultRanges() const
    {
        EXPECT_DOUBLE_EQ(plot.xAxis->range().lower, 450.0);
        EXPECT_DOUBLE_EQ(plot.xAxis->range().upper, 750.0);
        EXPECT_DOUBLE_EQ(plot.yAxis->range().lower, 0.0);
        EXPECT_DOUBLE_EQ(plot.yAxis->range().upper, 120.0);
    }

    CustomPlotZoom plot;
};

struct SmallDrag
{
    const char* name;
    int dx; // pixels
    int dy;
};

TEST_F(CustomPlotZoomTest, NarrowDragsAndClicksRestoreTheDefaultView)
{
    // A click, 4.9 x-units (7 px) however tall, and a tall thin drag.
    const SmallDrag drags[] = {{"click", 0, 0}, {"4.9 units", 7, 40}, {"tall and thin", 2, 150}};
    const QPoint from = plot.axisRect()->center() - QPoint(50, 50);
    for (const SmallDrag& drag : drags) {
        SCOPED_TRACE(drag.name);
        plot.xAxis->setRange(600.0, 610.0);
        plot.yAxis->setRange(10.0, 20.0);
        rightDrag(from, from + QPoint(drag.dx, drag.dy));
        EXPECT_FALSE(bandShown());
        expectDefaultRanges();
    }
}

TEST_F(CustomPlotZoomTest, AWideEnoughDragZoomsToTheRectangleInEitherDirection)
{
    const QCPRange startX = plot.xAxis->range();
    const QCPRange startY = plot.yAxis->range();
    enum Direction { DownRight, UpLeft, EndedByLeftButton };
    for (Direction direction : {DownRight, UpLeft, EndedByLeftButton}) {
        SCOPED_TRACE(direction);
        // Zooming changes the tick labels and with them the axis rectangle:
        // lay the plot out again at the start view before each drag.
        plot.xAxis->setRange(startX);
        plot.yAxis->setRange(startY);
        plot.replot();
        const QPoint topLeft = plot.axisRect()->topLeft() + QPoint(40, 30);
        const QPoint bottomRight = topLeft + QPoint(8, 120);
        const double x1 = xAt(topLeft.x()), x2 = xAt(bottomRight.x());
        ASSERT_NEAR(x2 - x1, 5.6, 1e-9);
        const double yTop = plot.yAxis->pixelToCoord(topLeft.y());
        const double yBottom = plot.yAxis->pixelToCoord(bottomRight.y());
        ASSERT_NEAR(yTop - yBottom, 120 * yUnitsPerPixel, 1e-9);

        if (direction == UpLeft)
            rightDrag(bottomRight, topLeft);
        else
            rightDrag(topLeft, bottomRight, direction == DownRight ? Qt::RightButton : Qt::LeftButton);
        EXPECT_FALSE(bandShown());
        EXPECT_NEAR(plot.xAxis->range().lower, x1, 1e-9);
        EXPECT_NEAR(plot.xAxis->range().upper, x2, 1e-9);
        EXPECT_NEAR(plot.yAxis->range().lower, yBottom, 1e-9);
        EXPECT_NEAR(plot.yAxis->range().upper, yTop, 1e-9);
    }
}

TEST_F(CustomPlotZoomTest, TheBandFollowsTheDragAndOtherInputReachesThePlotUnchanged)
{
    QSignalSpy presses(&plot, &QCustomPlot::mousePress);
    QSignalSpy releases(&plot, &QCustomPlot::mouseRelease);
    QSignalSpy wheels(&plot, &QCustomPlot::mouseWheel);
    const QPoint at = plot.axisRect()->center();

    send(&plot, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(&plot, QEvent::MouseMove, at + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(bandShown());
    send(&plot, QEvent::MouseButtonRelease, at + QPoint(30, 30), Qt::LeftButton, Qt::NoButton);
    QWheelEvent wheel(QPointF(at), QPointF(plot.mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot, &wheel);
    EXPECT_FALSE(bandShown());
    // Nothing of the band's moved the view: no zoom, no restore.
    EXPECT_DOUBLE_EQ(plot.xAxis->range().lower, xLower);

    send(&plot, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(bandShown());
    send(&plot, QEvent::MouseMove, at - QPoint(20, 10), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(plot.findChild<QRubberBand*>()->geometry(), QRect(at - QPoint(20, 10), at));

    EXPECT_EQ(presses.count(), 2);
    EXPECT_EQ(releases.count(), 1);
    EXPECT_EQ(wheels.count(), 1);
}

TEST(CustomPlotZoomDefaults, BeforeTheOwnerSetsThemASmallDragRestoresTheFirstRanges)
{
    CustomPlotZoom plot;
    plot.resize(400, 300);
    plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    plot.replot();
    const QCPRange firstX = plot.xAxis->range();
    const QCPRange firstY = plot.yAxis->range();
    plot.xAxis->setRange(1000.0, 1010.0);
    plot.yAxis->setRange(-3.0, 3.0);
    const QPoint at = plot.axisRect()->center();
    send(&plot, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    send(&plot, QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(plot.xAxis->range(), firstX);
    EXPECT_EQ(plot.yAxis->range(), firstY);
}

} // namespace
