#include "customplotzoom.h"

#include <QMouseEvent>
#include <QRect>
#include <QRubberBand>

#include <cmath>

CustomPlotZoom::CustomPlotZoom(QWidget* parent)
    : QCustomPlot(parent)
    , defaultXRange(xAxis->range())
    , defaultYRange(yAxis->range())
    , rubberBand(new QRubberBand(QRubberBand::Rectangle, this))
    , origin(0, 0)
{
    rubberBand->hide();
}

CustomPlotZoom::~CustomPlotZoom() = default;

void CustomPlotZoom::mousePressEvent(QMouseEvent* event)
{
    if (zoomEnabled && event->button() == Qt::RightButton) {
        origin = event->pos();
        rubberBand->setGeometry(QRect(origin, QSize()));
        rubberBand->show();
    }
    QCustomPlot::mousePressEvent(event);
}

void CustomPlotZoom::mouseMoveEvent(QMouseEvent* event)
{
    // isHidden, not isVisible: the drag state must not depend on whether the
    // plot itself is on screen.
    if (!rubberBand->isHidden())
        rubberBand->setGeometry(QRect(origin, event->pos()).normalized());
    QCustomPlot::mouseMoveEvent(event);
}

void CustomPlotZoom::mouseReleaseEvent(QMouseEvent* event)
{
    if (!rubberBand->isHidden()) {
        const QRect band = rubberBand->geometry();
        const double x1 = xAxis->pixelToCoord(band.left());
        const double x2 = xAxis->pixelToCoord(band.right());
        const double y1 = yAxis->pixelToCoord(band.top());
        const double y2 = yAxis->pixelToCoord(band.bottom());
        rubberBand->hide();
        if (std::fabs(x1 - x2) < minimumZoomWidth) {
            xAxis->setRange(defaultXRange.lower, defaultXRange.upper);
            yAxis->setRange(defaultYRange.lower, defaultYRange.upper);
        } else {
            xAxis->setRange(x1, x2);
            yAxis->setRange(y1, y2);
        }
        replot();
    }
    QCustomPlot::mouseReleaseEvent(event);
}
