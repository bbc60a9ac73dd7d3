#include "orvanefrmciediagram.h"
#include "ui_orvanefrmciediagram.h"

#include "orvanedialogs.h"
#include "orvaneplotexport.h"
#include "orvanetextreader.h"

#include <QMouseEvent>

#include <cmath>

namespace {

const QString pointsFileName = QStringLiteral("CIEpoints.txt");
const int headerLines = 3;
const int fieldsPerRow = 9;

// The two-decimal text by which a chromaticity finds its colour.
QString pointKey(double x, double y)
{
    return QString::number(x, 'f', 2) + QLatin1Char(' ') + QString::number(y, 'f', 2);
}

QPen scatterPen(const QColor& color, double width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// CIE 1931 colour-matching functions as sums of Gaussian lobes, in the
// wavelength (x-bar) and in its logarithm (y-bar, z-bar).
double xBar(double lambda)
{
    const double a = (lambda - 595.8) / 33.33;
    const double b = (lambda - 446.8) / 19.44;
    return 1.065 * std::exp(-0.5 * a * a) + 0.366 * std::exp(-0.5 * b * b);
}

double yBar(double lambda)
{
    const double a = (std::log(lambda) - std::log(556.3)) / 0.075;
    return 1.014 * std::exp(-0.5 * a * a);
}

double zBar(double lambda)
{
    const double a = (std::log(lambda) - std::log(449.8)) / 0.051;
    return 1.839 * std::exp(-0.5 * a * a);
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

    OrvaneLineReader reader(pointsFileName);
    if (!reader.isOpen()) {
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   QStringLiteral("File CIEpoints.txt is missing. Please, contact ")
                                       + QStringLiteral("the ORVANE developers (see README.md in the ORVANE sources)"));
        // The graphs exist in any case, so that the disc is still drawn on
        // the empty axes when the emission form asks for the chromaticity.
        pointGraph = ui->customPlot->addGraph();
        emittedColorGraph = ui->customPlot->addGraph();
        return;
    }
    reader.skipLines(headerLines);
    QString line;
    while (reader.readLine(line)) {
        // Blanks separate the fields; rows too short to hold a colour (blank
        // lines among them) are no points.
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < fieldsPerRow)
            continue;
        const double x = OrvaneText::toNumber(fields.at(0));
        const double y = OrvaneText::toNumber(fields.at(1));
        const QColor color(OrvaneText::toInteger(fields.at(6)), OrvaneText::toInteger(fields.at(7)),
                           OrvaneText::toInteger(fields.at(8)), 200);
        QCPGraph* graph = ui->customPlot->addGraph();
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6));
        graph->setLayer(QStringLiteral("background"));
        graph->setPen(scatterPen(color, 0.1));
        graph->setLineStyle(QCPGraph::lsNone);
        graph->addData(x, y);
        pointKeys << pointKey(x, y);
        pointColors << fields.at(6) + QLatin1Char(' ') + fields.at(7) + QLatin1Char(' ') + fields.at(8);
    }
    pointGraph = ui->customPlot->addGraph();
    emittedColorGraph = ui->customPlot->addGraph();

    ui->chbShowEmittedColor->setChecked(true);
    connect(ui->customPlot, &QCustomPlot::mouseMove, this, &OrvaneFrmCIEDiagram::showPointToolTip);
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
    calcChromaticity();
    pointGraph->data()->clear();
    pointGraph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6));
    pointGraph->setLineStyle(QCPGraph::lsNone);
    pointGraph->setPen(scatterPen(Qt::black, 4.0));
    pointGraph->addData(cieX, cieY);
    if (ui->chbShowEmittedColor->isChecked())
        showEmittedColor();
    ui->customPlot->replot();
}

void OrvaneFrmCIEDiagram::calcChromaticity()
{
    // Trapezoid weight of each interval, the functions taken at its first
    // wavelength. Fewer than two points leave the previous chromaticity.
    const int n = std::min(wavelengths.size(), intensities.size());
    double sumX = 0.0;
    double sumY = 0.0;
    double sumZ = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        const double lambda = wavelengths.at(i);
        const double weight = (intensities.at(i) + intensities.at(i + 1)) * (wavelengths.at(i + 1) - lambda) * 0.5;
        sumX += weight * xBar(lambda);
        sumY += weight * yBar(lambda);
        sumZ += weight * zBar(lambda);
        cieX = sumX / (sumX + sumY + sumZ);
        cieY = sumY / (sumX + sumY + sumZ);
    }
}

void OrvaneFrmCIEDiagram::showEmittedColor()
{
    if (pointColors.isEmpty() || cieX == 0.0 || cieY == 0.0)
        return;
    const int index = pointKeys.indexOf(pointKey(cieX, cieY));
    emittedColorGraph->data()->clear();
    emittedColorGraph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, 6));
    emittedColorGraph->setLineStyle(QCPGraph::lsNone);
    // A chromaticity outside the table has no colour: no square.
    if (index < 0)
        return;
    const QStringList rgb = pointColors.at(index).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QColor color(rgb.value(0).toInt(), rgb.value(1).toInt(), rgb.value(2).toInt(), 250);
    // The width-50 pen turns the small diamond into a large solid patch.
    emittedColorGraph->setPen(scatterPen(color, 50));
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
