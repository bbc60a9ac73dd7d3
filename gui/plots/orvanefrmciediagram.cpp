#include "orvanefrmciediagram.h"
#include "ui_orvanefrmciediagram.h"

#include "orvaneabstractobjcalculation.h"
#include "orvanechromaticity.h"
#include "orvanecoloredscatter.h"
#include "orvanedialogs.h"
#include "orvaneplotexport.h"

#include <QFileInfo>
#include <QMouseEvent>

#include <cmath>

namespace {

const QString pointsFileName = QStringLiteral("CIEpoints.txt");
const QString moduleName = QStringLiteral("Orvane Module to Plot CIE Diagram");

// The two-decimal text by which a chromaticity finds its colour.
QString pointKey(double x, double y)
{
    return QString::number(x, 'f', 2) + QLatin1Char(' ') + QString::number(y, 'f', 2);
}

QPen scatterPen(const QColor& color, double width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

OrvaneFrmCIEDiagram::OrvaneFrmCIEDiagram(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmCIEDiagram>())
{
    ui->setupUi(this);
    // The diagram is thousands of graphs and shows no legend: entries for them
    // would only make building and closing the window take seconds.
    ui->customPlot->setAutoAddPlottableToLegend(false);

    QFont labelFont = font();
    labelFont.setPointSize(12);
    ui->customPlot->xAxis->setRange(0.0, 0.9);
    ui->customPlot->xAxis->setLabel(QStringLiteral("CIE x"));
    ui->customPlot->xAxis->setLabelFont(labelFont);
    ui->customPlot->yAxis->setRange(0.0, 0.9);
    ui->customPlot->yAxis->setLabel(QStringLiteral("CIE y"));
    ui->customPlot->yAxis->setLabelFont(labelFont);

    OrvaneCiePointsReader reader;
    if (!reader.readFile(pointsFileName)) {
        const QString missing = QStringLiteral("File CIEpoints.txt is missing. Please, contact ")
                                + QStringLiteral("the ORVANE developers (see README.md in the ORVANE sources)");
        // A folder or a FIFO of that name is not missing: say what it is.
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   QFileInfo::exists(pointsFileName) ? reader.getLastError() : missing);
        // The graphs exist in any case, so that the disc is still drawn on
        // the empty axes when the emission form asks for the chromaticity.
        pointGraph = ui->customPlot->addGraph();
        emittedColorGraph = ui->customPlot->addGraph();
        return;
    }
    points = reader.getPoints();
    drawDiagram();
    pointGraph = ui->customPlot->addGraph();
    emittedColorGraph = ui->customPlot->addGraph();

    ui->chbShowEmittedColor->setChecked(true);
    connect(ui->customPlot, &QCustomPlot::mouseMove, this, &OrvaneFrmCIEDiagram::showPointToolTip);
}

// The points of the file as one plottable: a graph a point made building
// and closing the window grow with the square of the points.
void OrvaneFrmCIEDiagram::drawDiagram()
{
    QVector<QPointF> positions;
    QVector<QColor> colors;
    positions.reserve(points.size());
    colors.reserve(points.size());
    for (const OrvaneCiePoint& point : qAsConst(points)) {
        positions.append(QPointF(point.x, point.y));
        colors.append(QColor(point.red, point.green, point.blue, 200));
    }
    diagram = new OrvaneColoredScatter(ui->customPlot->xAxis, ui->customPlot->yAxis);
    diagram->setLayer(QStringLiteral("background"));
    diagram->setStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6), 0.1);
    diagram->setPoints(positions, colors);
}

// The graphs belong to the plot, which removes them with itself.
OrvaneFrmCIEDiagram::~OrvaneFrmCIEDiagram() = default;

void OrvaneFrmCIEDiagram::setSpectrum(const QVector<double>& newWavelengths,
                                      const QVector<double>& newIntensities)
{
    wavelengths = newWavelengths;
    intensities = newIntensities;
}

void OrvaneFrmCIEDiagram::plotChromaticity()
{
    const bool found = calcChromaticity();
    pointGraph->data()->clear();
    pointGraph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6));
    pointGraph->setLineStyle(QCPGraph::lsNone);
    pointGraph->setPen(scatterPen(Qt::black, 4.0));
    // No chromaticity, no disc: never the point of an earlier spectrum.
    if (found)
        pointGraph->addData(cieX, cieY);
    if (ui->chbShowEmittedColor->isChecked())
        showEmittedColor();
    showChromaticityText();
    ui->customPlot->replot();
}

bool OrvaneFrmCIEDiagram::calcChromaticity()
{
    OrvaneChromaticity chromaticity;
    chromaticityValid = chromaticity.calculate(wavelengths, intensities);
    cieX = chromaticity.getX();
    cieY = chromaticity.getY();
    noChromaticity = chromaticity.getLastError();
    chromaticityNote = chromaticity.getNote();
    return chromaticityValid;
}

void OrvaneFrmCIEDiagram::showChromaticityText()
{
    const QString text = chromaticityValid ? QStringLiteral("CIE x = %1   y = %2")
                                                 .arg(QString::number(cieX, 'f', OrvaneChromaticity::decimals),
                                                      QString::number(cieY, 'f', OrvaneChromaticity::decimals))
                                           : noChromaticity;
    // What the value rests on (intensities below zero counted as 0) stays beside it.
    const bool noted = chromaticityValid && !chromaticityNote.isEmpty();
    ui->lblChromaticity->setText(noted ? text + QLatin1Char('\n') + chromaticityNote : text);
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleName, chromaticityValid ? QStringLiteral("Chromaticity of the emission spectrum: ") + text
                                            + (noted ? QLatin1Char(' ') + chromaticityNote : QString())
                                      : text));
}

void OrvaneFrmCIEDiagram::showEmittedColor()
{
    emittedColorGraph->data()->clear();
    emittedColorGraph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, 6));
    emittedColorGraph->setLineStyle(QCPGraph::lsNone);
    if (points.isEmpty() || !chromaticityValid)
        return;
    // The first row whose two-decimal key is the chromaticity's; the numbers
    // are compared first so that only close rows are formatted.
    const QString key = pointKey(cieX, cieY);
    int index = -1;
    for (int i = 0; i < points.size() && index < 0; ++i) {
        const OrvaneCiePoint& point = points.at(i);
        if (std::fabs(point.x - cieX) < 0.011 && std::fabs(point.y - cieY) < 0.011 && pointKey(point.x, point.y) == key)
            index = i;
    }
    // A chromaticity outside the table has no colour: no square.
    if (index < 0)
        return;
    const OrvaneCiePoint& point = points.at(index);
    // The width-50 pen turns the small diamond into a large solid patch.
    emittedColorGraph->setPen(scatterPen(QColor(point.red, point.green, point.blue, 250), 50));
    emittedColorGraph->addData(0.8, 0.8);
}

void OrvaneFrmCIEDiagram::on_chbShowEmittedColor_toggled(bool checked)
{
    if (checked)
        showEmittedColor();
    else
        emittedColorGraph->data()->clear();
    ui->customPlot->replot();
}

void OrvaneFrmCIEDiagram::showPointToolTip(QMouseEvent* event)
{
    const double x = ui->customPlot->xAxis->pixelToCoord(event->pos().x());
    const double y = ui->customPlot->yAxis->pixelToCoord(event->pos().y());
    setToolTip(QStringLiteral("%1 , %2").arg(x).arg(y));
}

void OrvaneFrmCIEDiagram::on_btnSaveImage_clicked()
{
    loadLastDirectory();
    const QString fileName = OrvaneDialogs::saveFileName(this, QStringLiteral("Export Graph Name"), lastDirectory,
                                                         QStringLiteral("png Image(*.png)"));
    if (fileName.isEmpty())
        return;
    OrvanePlotExport::savePng(this, ui->customPlot, fileName, 500, 500,
                              QStringLiteral("Orvane Module to Plot CIE Diagram"));
}
