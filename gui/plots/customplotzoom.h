#ifndef CUSTOMPLOTZOOM_H
#define CUSTOMPLOTZOOM_H

#include <qcustomplot.h>

#include <QPoint>

class QMouseEvent;
class QRubberBand;

// A plot that zooms to the rectangle dragged with the right mouse button. A
// drag narrower than 5 units of the x axis (a plain right click as well)
// brings back the full view that the owner stores in defaultXRange and
// defaultYRange. Everything else is the plot's own behaviour.
class CustomPlotZoom : public QCustomPlot
{
    Q_OBJECT
public:
    explicit CustomPlotZoom(QWidget* parent = nullptr);
    ~CustomPlotZoom() override;

    // Ranges restored by a small drag. Until the owner writes them they hold
    // the axes' ranges at construction, so a restore is always defined.
    QCPRange defaultXRange;
    QCPRange defaultYRange;

private slots:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr double minimumZoomWidth = 5.0;

    bool zoomEnabled = true;
    // Shown while a right drag is in progress: its visibility is the state.
    QRubberBand* rubberBand = nullptr;
    QPoint origin;
};

#endif
