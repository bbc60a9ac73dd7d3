#include "orvanefrmplotabsorptionspectrum.h"
#include "ui_orvanefrmplotabsorptionspectrum.h"

#include "mylineedit.h"
#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvanefrmsearching.h"
#include "orvanenormalizepoints.h"
#include "orvaneplatform.h"
#include "orvaneplotexport.h"
#include "orvanetextfileview.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>

#include <qcustomplot.h>

namespace {

const QString hintText = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
const QString moduleName = QStringLiteral(" -> (Orvane Module to Plot Absorption Spectrum ) ");
const QString plotTabTitle = QStringLiteral("Plot Absorption Spectrum");

} // namespace

OrvaneFrmPlotAbsorptionSpectrum::OrvaneFrmPlotAbsorptionSpectrum(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmPlotAbsorptionSpectrum>())
{
    ui->setupUi(this);
    ui->edtFile->setToolTip(hintText);
    ui->frame->show();
    ui->rdbOrcaOutput->setChecked(true);
    ui->lblOrcaOutFile->hide();
    ui->lblTitle->setText(QStringLiteral("Module 3.4: Theoretical Calculation of the Absorption Spectrum"));

    findBar = new OrvaneFrmSearching(ui->frameViewer);
    ui->frameViewer->layout()->addWidget(findBar);
    findBar->hide();

    fileView = new QPlainTextEdit(ui->tabWidgetViewFiles);
    fileView->setLineWrapMode(QPlainTextEdit::NoWrap);
    fileView->setFont(OrvanePlatform::fileViewFont());
    fileView->hide();

    loadLastDirectory();
    setupPlot();
    showHint();
}

OrvaneFrmPlotAbsorptionSpectrum::~OrvaneFrmPlotAbsorptionSpectrum()
{
    if (!inputFileName.isEmpty())
        saveLastDirectory(QFileInfo(inputFileName).absolutePath());
}

void OrvaneFrmPlotAbsorptionSpectrum::setInputFileName(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    inputFileName.clear();
    ui->edtFile->setText(QString());
    ui->edtFile->setText(fileName);
}

void OrvaneFrmPlotAbsorptionSpectrum::setupPlot()
{
    // The plot and the page that carries it into tab 1 live as long as the
    // form: every plot redraws the same graph in place.
    plotPage = new QStackedWidget(this);
    plotPage->hide();
    spectrumPlot = new QCustomPlot(plotPage);
    plotPage->addWidget(spectrumPlot);

    QCPGraph* graph = spectrumPlot->addGraph();
    graph->setName(QStringLiteral("absorption spectrum"));
    graph->setLineStyle(QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    graph->setPen(QPen(Qt::red, 2.0));

    QFont labelFont = font();
    labelFont.setPointSize(12);
    spectrumPlot->xAxis->setLabel(QStringLiteral("wavelength (nm)"));
    spectrumPlot->yAxis->setLabel(QStringLiteral("absorption intensity (a.u.)"));
    spectrumPlot->xAxis->setLabelFont(labelFont);
    spectrumPlot->yAxis->setLabelFont(labelFont);
    spectrumPlot->xAxis2->setVisible(true);
    spectrumPlot->xAxis2->setTickLabels(false);
    spectrumPlot->yAxis2->setVisible(true);
    spectrumPlot->yAxis2->setTickLabels(false);
    connect(spectrumPlot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), spectrumPlot->xAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(spectrumPlot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), spectrumPlot->yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    spectrumPlot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
}

void OrvaneFrmPlotAbsorptionSpectrum::showHint()
{
    ui->edtFile->setText(hintText);
    ui->edtFile->setStyleSheet(MyLineEdit::hintStyleSheet());
}

void OrvaneFrmPlotAbsorptionSpectrum::log(const QString& line)
{
    emit newObjCalculationMessage(QDateTime::currentDateTime().toString() + line);
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnChooseFile_clicked()
{
    const bool gaussian = ui->rdbZindoOutput->isChecked();
    const QString title = gaussian ? QStringLiteral("Gaussian Output File ") : QStringLiteral("ORCA Output File ");
    const QString suffix = gaussian ? QStringLiteral(".log") : QStringLiteral(".orcout");
    if (!inputFileName.isEmpty()) {
        saveLastDirectory(QFileInfo(inputFileName).absolutePath());
        loadLastDirectory();
    }
    const QString chosen = OrvaneDialogs::openFileName(this, QStringLiteral("Choose ") + suffix + QStringLiteral(" Output File"),
                                                       lastDirectory, title + QStringLiteral("(*") + suffix + QLatin1Char(')'));
    // A cancelled dialog keeps the file that is loaded: forgetting it while the
    // field still shows it would hand the next plot an empty name.
    if (chosen.isEmpty())
        return;
    inputFileName = chosen;
    fileLoaded();
}

void OrvaneFrmPlotAbsorptionSpectrum::fileLoaded()
{
    ui->edtFile->setStyleSheet(QString());
    ui->edtFile->setText(inputFileName);
    ui->btnPlotGraph->setEnabled(true);
    ui->frameViewer->setEnabled(true);
    ui->btnFind->setEnabled(true);
    log(moduleName + QStringLiteral("File successfully loaded!"));
    loadFileIntoTab(inputFileName,
                    ui->rdbZindoOutput->isChecked() ? QStringLiteral("Gaussian Output File")
                                                    : QStringLiteral("Orca Output File"),
                    0);
}

void OrvaneFrmPlotAbsorptionSpectrum::on_edtFile_textChanged(QString text)
{
    if (text.isEmpty() || text.contains(hintText) || text == inputFileName)
        return;
    const QString suffix = OrvaneFileNames::finalSuffix(text);
    if (suffix != QLatin1String("log") && suffix != QLatin1String("orcout")) {
        resetForm();
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warming"),
                               QStringLiteral("The desired file contains an unknown extension (") + suffix
                                   + QStringLiteral(").\nPlease, try to open another file."));
        return;
    }
    inputFileName = text;
    if (suffix == QLatin1String("log"))
        ui->rdbZindoOutput->setChecked(true);
    else
        ui->rdbOrcaOutput->setChecked(true);
    fileLoaded();
}

std::unique_ptr<OrvaneNormalizePoints> OrvaneFrmPlotAbsorptionSpectrum::readSpectrum()
{
    const int program = ui->rdbZindoOutput->isChecked() ? OrvaneNormalizePoints::Gaussian : OrvaneNormalizePoints::Orca;
    auto points = std::make_unique<OrvaneNormalizePoints>(this, inputFileName, program);
    if (!points->getLastError().isEmpty()) {
        errorText = points->getLastError();
        return nullptr;
    }
    return points;
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnPlotGraph_clicked()
{
    if (ui->edtFile->text().isEmpty())
        return;
    bandWidth = ui->spinBoxHHW->text().toDouble();
    minWavelength = ui->spinBoxMinimum->text().toDouble();
    maxWavelength = ui->spinBoxMaximum->text().toDouble();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool plotted = plotSpectrum();
    QApplication::restoreOverrideCursor();
    if (!plotted) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), errorText);
        return;
    }
    ui->btnSaveGraph->setEnabled(true);
    ui->btnSavePoints->setEnabled(true);
    if (ui->tabWidgetViewFiles->count() != 2)
        ui->tabWidgetViewFiles->insertTab(1, plotPage, plotTabTitle);
    plotPage->setCurrentWidget(spectrumPlot);
    ui->tabWidgetViewFiles->setCurrentIndex(1);
}

bool OrvaneFrmPlotAbsorptionSpectrum::plotSpectrum()
{
    const std::unique_ptr<OrvaneNormalizePoints> points = readSpectrum();
    if (!points)
        return false;
    points->setParametersNormalization(bandWidth, minWavelength, maxWavelength);
    if (points->getLastError().isEmpty())
        points->spectrum();
    if (!points->getLastError().isEmpty()) {
        errorText = points->getLastError();
        return false;
    }
    log(moduleName + QStringLiteral(" The  spectral data were normalized! The absorption spectrum is being plotted..."));

    const QVector<double> y = points->getaxisY();
    const QVector<double> x = points->getaxisX();
    QVector<double> keys(y.size());
    QVector<double> values(y.size());
    for (int i = 0; i < y.size(); ++i) {
        keys[i] = x.at(i);
        values[i] = y.at(i);
    }
    QCPGraph* graph = spectrumPlot->graph(0);
    graph->data()->clear();
    graph->setData(keys, values, true);
    graph->rescaleAxes();
    spectrumPlot->replot();

    log(moduleName + QStringLiteral(" Graph successfully plotted!"));
    return true;
}

QString OrvaneFrmPlotAbsorptionSpectrum::saveFileDialog(const QString& suffix)
{
    return OrvaneDialogs::saveFileName(this, QStringLiteral("Save File"), QFileInfo(inputFileName).absolutePath(),
                                       QStringLiteral("%1 File (*.%1)").arg(suffix));
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnSavePoints_clicked()
{
    const QString fileName = saveFileDialog(QStringLiteral("esp"));
    if (fileName.isEmpty())
        return;
    const std::unique_ptr<OrvaneNormalizePoints> points = readSpectrum();
    if (!points) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), errorText);
        return;
    }
    // The values the spin boxes show now, not those of the last plot.
    points->setParametersNormalization(ui->spinBoxHHW->text().toDouble(), ui->spinBoxMinimum->text().toDouble(),
                                       ui->spinBoxMaximum->text().toDouble());
    if (points->getLastError().isEmpty())
        points->createEspFile(fileName);
    if (!points->getLastError().isEmpty()) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), points->getLastError());
        return;
    }
    OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at:\n") + fileName);
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnSaveGraph_clicked()
{
    // The name written, with the suffix the dialog may have added.
    if (saveGraph())
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   QStringLiteral("The graphic was successfully created.\n") + savedGraphName);
}

bool OrvaneFrmPlotAbsorptionSpectrum::saveGraph()
{
    savedGraphName.clear();
    const QString fileName =
        OrvaneDialogs::saveFileName(this, QStringLiteral("Export Graph Name"), QFileInfo(inputFileName).absolutePath(),
                                    QStringLiteral("png Image(*.png)"));
    if (fileName.isEmpty())
        return false;
    // Always 1000 x 400 pixels, whatever the plot's size on screen.
    QString reason;
    if (!OrvanePlotExport::writePng(spectrumPlot, fileName, 1000, 400, reason)) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The graph could not be saved as %1:\n%2").arg(fileName, reason));
        return false;
    }
    log(moduleName + QStringLiteral("Saving graph... The graph was saved at ")
        + QFileInfo(fileName).absoluteDir().absolutePath());
    savedGraphName = fileName;
    return true;
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnClearProject_clicked()
{
    if (OrvaneDialogs::question(this, QStringLiteral("ORVANE Question"),
                                QStringLiteral("Are you sure you want to clear the current project?"),
                                QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::No)
        resetForm();
}

void OrvaneFrmPlotAbsorptionSpectrum::resetForm()
{
    inputFileName.clear();
    ui->btnPlotGraph->setEnabled(false);
    ui->btnSaveGraph->setEnabled(false);
    ui->btnSavePoints->setEnabled(false);
    ui->btnFind->setEnabled(false);
    ui->edtFile->clear();
    ui->frameViewer->setEnabled(false);
    fileView->clear();
    // The pages stay children of the form's widgets: the same text view and
    // plot come back with the next file and the next plot.
    while (ui->tabWidgetViewFiles->count() > 0)
        ui->tabWidgetViewFiles->removeTab(0);
    showHint();
}

void OrvaneFrmPlotAbsorptionSpectrum::on_btnFind_clicked()
{
    if (auto* edit = findBar->findChild<QLineEdit*>(QStringLiteral("edtFind")))
        edit->setFocus();
    findBar->show();
}

void OrvaneFrmPlotAbsorptionSpectrum::loadFileIntoTab(const QString& fileName, const QString& title,
                                                      const int& tabIndex)
{
    if (ui->tabWidgetViewFiles->count() == 0)
        ui->tabWidgetViewFiles->addTab(fileView, title);
    findBar->plainTextEdit = fileView;

    // A file that cannot be shown (too large, not a regular file) leaves the
    // view empty with the reason as its note; a large one is still plotted.
    QString reason;
    OrvaneTextFileView::show(fileView, fileName, reason);
    ui->tabWidgetViewFiles->setCurrentIndex(tabIndex);
}
