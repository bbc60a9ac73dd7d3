#include "orvanecoloredscatter.h"

namespace {

bool inDomain(double value, QCP::SignDomain domain)
{
    return domain == QCP::sdBoth || (domain == QCP::sdPositive && value > 0)
           || (domain == QCP::sdNegative && value < 0);
}

QCPRange rangeOf(const QVector<QPointF>& points, bool key, bool& found, QCP::SignDomain domain,
                 const QCPRange& keyRange)
{
    QCPRange range;
    found = false;
    const bool restrictKeys = keyRange != QCPRange();
    for (const QPointF& p : points) {
        if (restrictKeys && !keyRange.contains(p.x()))
            continue;
        const double value = key ? p.x() : p.y();
        if (!inDomain(value, domain))
            continue;
        if (!found) {
            range = QCPRange(value, value);
            found = true;
        } else {
            range.expand(value);
        }
    }
    return range;
}

} // namespace

OrvaneColoredScatter::OrvaneColoredScatter(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis)
{
}

void OrvaneColoredScatter::setStyle(const QCPScatterStyle& style, double width)
{
    scatterStyle = style;
    penWidth = width;
}

void OrvaneColoredScatter::setPoints(const QVector<QPointF>& newPositions, const QVector<QColor>& newColors)
{
    positions = newPositions;
    colors = newColors;
    colors.resize(positions.size());
}

QPen OrvaneColoredScatter::pen(int i) const
{
    return QPen(QBrush(colors.at(i)), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

double OrvaneColoredScatter::selectTest(const QPointF&, bool, QVariant*) const
{
    // The diagram is a backdrop: nothing of it is selected.
    return -1;
}

QCPRange OrvaneColoredScatter::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    return rangeOf(positions, true, foundRange, inSignDomain, QCPRange());
}

QCPRange OrvaneColoredScatter::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                             const QCPRange& inKeyRange) const
{
    return rangeOf(positions, false, foundRange, inSignDomain, inKeyRange);
}

void OrvaneColoredScatter::draw(QCPPainter* painter)
{
    if (!mKeyAxis || !mValueAxis || scatterStyle.isNone())
        return;
    applyScattersAntialiasingHint(painter);
    for (int i = 0; i < positions.size(); ++i) {
        // As a graph draws its symbols: the style's own pen is undefined, so
        // the point's pen draws (and, for a disc, fills) it.
        scatterStyle.applyTo(painter, pen(i));
        scatterStyle.drawShape(painter, coordsToPixels(positions.at(i).x(), positions.at(i).y()));
    }
}

void OrvaneColoredScatter::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    if (positions.isEmpty())
        return;
    scatterStyle.applyTo(painter, pen(0));
    scatterStyle.drawShape(painter, rect.center());
}
