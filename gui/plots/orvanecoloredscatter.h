#ifndef ORVANECOLOREDSCATTER_H
#define ORVANECOLOREDSCATTER_H

#include <qcustomplot.h>

#include <QColor>
#include <QPointF>
#include <QVector>

// Many points of a plot, each a scatter symbol drawn with a pen of its own
// colour: one plottable for all of them, where a graph a point would make
// building and closing the plot grow with the square of the points.
class OrvaneColoredScatter : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    OrvaneColoredScatter(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // The symbol of every point, drawn with the point's pen of `penWidth`.
    void setStyle(const QCPScatterStyle& style, double penWidth);
    void setPoints(const QVector<QPointF>& positions, const QVector<QColor>& colors);

    int pointCount() const { return positions.size(); }
    QPointF position(int i) const { return positions.at(i); }
    // The pen of point i: solid, square cap, bevel join.
    QPen pen(int i) const;
    const QCPScatterStyle& style() const { return scatterStyle; }

    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    QCPScatterStyle scatterStyle;
    double penWidth = 1.0;
    QVector<QPointF> positions;
    QVector<QColor> colors;
};

#endif
