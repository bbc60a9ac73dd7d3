#include "orvanefrmplotemissionspectrum.h"
#include "requiredcitations.h"
#include "ui_orvanefrmplotemissionspectrum.h"

#include "mylineedit.h"
#include "orvanedialogs.h"
#include "orvanefrmciediagram.h"
#include "orvaneomegaexp.h"
#include "orvaneplatform.h"
#include "orvaneplotexport.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

const QString invitationText = QStringLiteral("Drag and drop a .txt file here OR click on button Open to open it");
const int transitionCount = 6;
const int spectrumGraph = 6;

const QColor bandColors[transitionCount] = {QColor(255, 237, 29, 255), QColor(255, 196, 16, 255),
                                            QColor(255, 0, 0, 255),    QColor(207, 0, 0, 255),
                                            QColor(111, 0, 0, 255),    QColor(63, 0, 0, 255)};

// Transitions that count only while their box is ticked.
bool isOptional(int j)
{
    return j == 0 || j == 3 || j == 5;
}

// Wavelength and intensity pairs, one a line, separated by blanks, tabs or
// commas in any mix. A line without tokens ends the spectrum; a line with a
// single token holds no point and is skipped. A file that cannot be read
// gives no point.
void readSpectrumFile(const QString& name, QVector<double>& x, QVector<double>& y)
{
    x.clear();
    y.clear();
    OrvaneLineReader reader(name);
    if (!reader.isOpen())
        return;
    static const QRegularExpression separator(QStringLiteral("(\\s|,)"));
    QString line;
    while (reader.readLine(line)) {
        const QStringList tokens = line.split(separator, Qt::SkipEmptyParts);
        if (tokens.isEmpty())
            break;
        if (tokens.size() < 2)
            continue;
        x << OrvaneText::toNumber(tokens.at(0));
        y << OrvaneText::toNumber(tokens.at(1));
    }
}

} // namespace

OrvaneFrmPlotEmissionSpectrum::OrvaneFrmPlotEmissionSpectrum(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmPlotEmissionSpectrum>())
    , cieDiagram(std::make_unique<OrvaneFrmCIEDiagram>())
{
    ui->setupUi(this);
    ui->plainTextEdit->setFont(OrvanePlatform::fileViewFont());
    cieDiagram->setWindowModality(Qt::ApplicationModal);
    cieDiagram->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);

    groupBoxes = {ui->gbxTransition00, ui->gbxTransition01, ui->gbxTransition02,
                  ui->gbxTransition03, ui->gbxTransition04, ui->gbxTransition05};
    sliders = {ui->sldTransitionMin00, ui->sldTransitionMax00, ui->sldTransitionMin01, ui->sldTransitionMax01,
               ui->sldTransitionMin02, ui->sldTransitionMax02, ui->sldTransitionMin03, ui->sldTransitionMax03,
               ui->sldTransitionMin04, ui->sldTransitionMax04, ui->sldTransitionMin05, ui->sldTransitionMax05};
    lineEdits = {ui->lblTransitionMin00, ui->lblTransitionMax00, ui->lblTransitionMin01, ui->lblTransitionMax01,
                 ui->lblTransitionMin02, ui->lblTransitionMax02, ui->lblTransitionMin03, ui->lblTransitionMax03,
                 ui->lblTransitionMin04, ui->lblTransitionMax04, ui->lblTransitionMin05, ui->lblTransitionMax05};
    // A typed limit (###.##) stays readable when the six bands share a
    // narrow window.
    for (QLineEdit* edit : qAsConst(lineEdits))
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000.00")) + 16);
    for (int j = 0; j < groupBoxes.size(); ++j)
        connect(groupBoxes.at(j), &QGroupBox::toggled, this, [this, j] { emit signalSetEnabledGroupBox(j); });
    connect(this, &OrvaneFrmPlotEmissionSpectrum::signalSetEnabledGroupBox, this,
            &OrvaneFrmPlotEmissionSpectrum::slotSetEnabledGroupBox);
    for (int k = 0; k < sliders.size(); ++k)
        connect(sliders.at(k), &QSlider::valueChanged, this, [this, k] { emit signalValueChanged(k); });
    connect(this, &OrvaneFrmPlotEmissionSpectrum::signalValueChanged, this,
            &OrvaneFrmPlotEmissionSpectrum::plotAreaUnderTransition);
    for (int k = 0; k < lineEdits.size(); ++k)
        connect(lineEdits.at(k), &QLineEdit::textEdited, this,
                [this, k] { emit signalTextEdited(QString::number(k)); });
    connect(this, &OrvaneFrmPlotEmissionSpectrum::signalTextEdited, this,
            &OrvaneFrmPlotEmissionSpectrum::slotTextEdited);

    ui->lblDataVisualization->hide();
    ui->stackedWidget->hide();
    ui->lblTitle->setText(QStringLiteral("Module 3.1: Experimental Intensity Parameters Calculation"));
    ui->editEmissionSpectrumDirectory->setToolTip(invitationText);

    CustomPlotZoom* plot = ui->customPlot;
    plot->legend->setVisible(true);
    plot->legend->setFont(QFont(QStringLiteral("Helvetica"), 8));
    // The top and right axes frame the plot and follow the main ones.
    connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), plot->xAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), plot->yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));

    setupTransitionGraphs();
    ui->btnCalculate->setEnabled(false);
    loadLastDirectory();
    setInvitationText();
    readEmissionSpectrum();
    setTransitionsEnabled(false);
}

OrvaneFrmPlotEmissionSpectrum::~OrvaneFrmPlotEmissionSpectrum()
{
    if (!fileName.isEmpty())
        saveLastDirectory(QFileInfo(fileName).absolutePath());
}

void OrvaneFrmPlotEmissionSpectrum::setInvitationText()
{
    ui->editEmissionSpectrumDirectory->setText(invitationText);
    ui->editEmissionSpectrumDirectory->setStyleSheet(MyLineEdit::hintStyleSheet());
}

void OrvaneFrmPlotEmissionSpectrum::on_editEmissionSpectrumDirectory_textChanged(const QString& text)
{
    if (text.isEmpty() || text.contains(invitationText) || text == fileName)
        return;
    const QString suffix = QFileInfo(text).suffix();
    if (suffix != QLatin1String("txt")) {
        clearProject();
        OrvaneDialogs::critical(this, QStringLiteral("Orvane"),
                                QStringLiteral("The desired file contains an unknown Extension (") + suffix
                                    + QStringLiteral(").\nPlease, try to open another file. "));
        return;
    }
    saveLastDirectory(QFileInfo(text).absolutePath());
    loadLastDirectory();
    openEmissionSpectrum(text);
}

void OrvaneFrmPlotEmissionSpectrum::on_btnOpenEmissionSpectrum_clicked()
{
    if (!fileName.isEmpty())
        saveLastDirectory(QFileInfo(fileName).absolutePath());
    loadLastDirectory();
    const QString chosen = OrvaneDialogs::openFileName(this, QStringLiteral("Choose .txt file"), lastDirectory,
                                                       QStringLiteral("Input File (*.txt)"));
    // Cancelled: the spectrum on screen stays the one in use.
    if (chosen.isEmpty())
        return;
    openEmissionSpectrum(chosen);
}

void OrvaneFrmPlotEmissionSpectrum::openEmissionSpectrum(const QString& name)
{
    // A refused file leaves the spectrum in use, its bands and controls as
    // they were; the edit goes back to naming that spectrum.
    auto refuse = [this] {
        if (fileName.isEmpty())
            setInvitationText();
        else
            ui->editEmissionSpectrumDirectory->setText(fileName);
    };
    if (name.contains(QLatin1Char(','))) {
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warning"),
                               QStringLiteral("Please, remove all commans of the filename that contains the "
                                              "wavelengths versus emission intensities.\n")
                                   + name);
        refuse();
        return;
    }
    QVector<double> x, y;
    readSpectrumFile(name, x, y);
    // Band areas and barycentres count on wavelengths rising along the file:
    // falling ones would give negative areas and silently wrong parameters.
    for (int i = 1; i < x.size(); ++i) {
        if (x.at(i) < x.at(i - 1)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                    QStringLiteral("The wavelengths of the emission spectrum must rise from line "
                                                   "to line; line %1 goes down from %2 to %3 nm.\n")
                                            .arg(i + 1)
                                            .arg(x.at(i - 1))
                                            .arg(x.at(i))
                                        + name);
            refuse();
            return;
        }
    }

    fileName = name;
    ui->tabWidget->setCurrentIndex(0);
    clearProject();
    ui->editEmissionSpectrumDirectory->setStyleSheet(QString());
    ui->btnCalculate->setEnabled(true);
    ui->btnCIEDiagram->setEnabled(true);
    setTransitionsEnabled(true);
    ui->editEmissionSpectrumDirectory->setText(fileName);
    wavelengths = x;
    intensities = y;
    readEmissionSpectrum();
}

void OrvaneFrmPlotEmissionSpectrum::readEmissionSpectrum()
{
    CustomPlotZoom* plot = ui->customPlot;
    const int n = wavelengths.size();
    if (n > 0) {
        plot->defaultXRange = QCPRange(wavelengths.first(), wavelengths.last());
        plot->defaultYRange = QCPRange(0.0, *std::max_element(intensities.cbegin(), intensities.cend()));
    }
    for (QSlider* slider : qAsConst(sliders)) {
        slider->setTickInterval(1);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        slider->setMinimum(0);
        slider->setMaximum(n - 1);
    }

    QCPGraph* graph = plot->addGraph();
    graph->setPen(QPen(Qt::red, 2.0));
    QFont labelFont = font();
    labelFont.setPointSize(10);
    plot->xAxis->setLabel(QStringLiteral("wavelength (nm)"));
    plot->yAxis->setLabel(QStringLiteral("emission intensity (a.u.)"));
    plot->xAxis->setLabelFont(labelFont);
    plot->yAxis->setLabelFont(labelFont);
    plot->xAxis2->setVisible(true);
    plot->xAxis2->setTickLabels(false);
    plot->yAxis2->setVisible(true);
    plot->yAxis2->setTickLabels(false);

    graph->data()->clear();
    graph->setData(wavelengths, intensities);
    graph->setName(QStringLiteral("emission spectrum"));
    graph->rescaleAxes();
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
    plot->replot();
}

void OrvaneFrmPlotEmissionSpectrum::setupTransitionGraphs()
{
    CustomPlotZoom* plot = ui->customPlot;
    plot->clearPlottables();
    plot->replot();
    for (int j = 0; j < transitionCount; ++j) {
        QCPGraph* graph = plot->addGraph();
        graph->setPen(QPen(bandColors[j]));
        graph->setBrush(QBrush(bandColors[j]));
        graph->setVisible(false);
        graph->removeFromLegend();
        if (j == 0)
            graph->setName(QStringLiteral("Transition: 5D0 -> 7F0"));
    }
}

void OrvaneFrmPlotEmissionSpectrum::setTransitionsEnabled(const bool& enabled)
{
    for (QGroupBox* box : qAsConst(groupBoxes))
        box->setEnabled(enabled);
    slotSetEnabledGroupBox(0);
}

void OrvaneFrmPlotEmissionSpectrum::slotSetEnabledGroupBox(int)
{
    for (int j : {0, 3, 5}) {
        const bool ticked = groupBoxes.at(j)->isChecked();
        sliders.at(2 * j)->setEnabled(ticked);
        sliders.at(2 * j + 1)->setEnabled(ticked);
    }
}

void OrvaneFrmPlotEmissionSpectrum::plotAreaUnderTransition(int index)
{
    if (wavelengths.isEmpty() || index < 0 || index >= sliders.size() || sliders.at(index)->value() == 0)
        return;
    CustomPlotZoom* plot = ui->customPlot;
    if (plot->graphCount() < transitionCount)
        return;
    const int j = index / 2;
    QSlider* lower = sliders.at(2 * j);
    QSlider* upper = sliders.at(2 * j + 1);
    if (lower->value() >= upper->value()) {
        // The upper limit jumps ahead of the lower; its own move draws.
        upper->setValue(lower->value() + 15);
        return;
    }
    const int lo = lower->value();
    const int hi = upper->value();
    lineEdits.at(2 * j)->setText(QString::number(wavelengths.at(lo), 'g', 6));
    lineEdits.at(2 * j + 1)->setText(QString::number(wavelengths.at(hi), 'g', 6));

    QCPGraph* graph = plot->graph(j);
    graph->data()->clear();
    graph->setData(wavelengths.mid(lo, hi - lo), intensities.mid(lo, hi - lo));
    graph->setVisible(true);
    graph->setName(QStringLiteral("Transition: 5D0 -> 7F%1").arg(j));
    plot->replot();
    graph->addToLegend();
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
}

void OrvaneFrmPlotEmissionSpectrum::slotTextEdited(const QString& index)
{
    const int k = index.toInt();
    if (k < 0 || k >= lineEdits.size() || wavelengths.isEmpty())
        return;
    const double value = OrvaneText::toNumber(lineEdits.at(k)->text());
    if (value < wavelengths.first())
        return;
    sliders.at(k)->setValue(indexOfNearestWavelength(value));
}

int OrvaneFrmPlotEmissionSpectrum::indexOfNearestWavelength(const double& wavelength)
{
    if (wavelengths.isEmpty())
        return 0;
    if (wavelength > wavelengths.last()) {
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warning"),
                               QStringLiteral("You entried with a value larger than maximum wavelength"));
        return 0;
    }
    int nearest = 0;
    for (int i = 1; i < wavelengths.size(); ++i)
        if (std::fabs(wavelengths.at(i) - wavelength) < std::fabs(wavelengths.at(nearest) - wavelength))
            nearest = i;
    return nearest;
}

void OrvaneFrmPlotEmissionSpectrum::calculateBandAreaAndBarycenter(const int& first, const int& last,
                                                                   double& barycenter, double& area) const
{
    const int begin = std::max(first, 0);
    const int end = std::min(last, static_cast<int>(wavelengths.size()));
    area = 0.0;
    double sumXY = 0.0;
    double sumY = 0.0;
    for (int i = begin; i + 1 < end; ++i) {
        area += (intensities.at(i) + intensities.at(i + 1)) * 0.5 * (wavelengths.at(i + 1) - wavelengths.at(i));
        sumXY += wavelengths.at(i) * intensities.at(i);
        sumY += intensities.at(i);
    }
    barycenter = 1.0 / (sumXY / sumY) * 1e7;
}

void OrvaneFrmPlotEmissionSpectrum::on_btnCalculate_clicked()
{
    double area[transitionCount] = {0, 0, 0, 0, 0, 0};
    double barycenter[transitionCount] = {0, 0, 0, 0, 0, 0};
    for (int j : {1, 2, 4, 0, 3, 5})
        if (!isOptional(j) || groupBoxes.at(j)->isChecked())
            calculateBandAreaAndBarycenter(sliders.at(2 * j)->value(), sliders.at(2 * j + 1)->value(),
                                           barycenter[j], area[j]);
    const QString errorTitle = QStringLiteral("ORVANE Error");
    if (area[1] == 0.0 || area[2] == 0.0 || area[4] == 0.0) {
        OrvaneDialogs::critical(this, errorTitle,
                                QStringLiteral("Please, you must correctly define the transition areas before "
                                               "carrying out the calculation."));
        return;
    }
    for (int j : {0, 3, 5}) {
        if (groupBoxes.at(j)->isChecked() && area[j] == 0.0) {
            OrvaneDialogs::critical(this, errorTitle,
                                    QStringLiteral("Please, you must correctly define the 5D0 -> 7F%1 transition "
                                                   "area before carrying out the calculation or unchecking it.")
                                        .arg(j));
            return;
        }
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    OrvaneOmegaExp omegaExp(nullptr, ui->sbxRefractiveIndex->value());
    omegaExp.setFileName(fileName);
    omegaExp.setLifeTime(ui->sbxLifeTime->value());
    omegaExp.setAreaOfTransition(area[0], area[1], area[2], area[3], area[4], area[5]);
    omegaExp.setBarycenterOfEnergy(barycenter[0], barycenter[1], barycenter[2], barycenter[3], barycenter[4],
                                   barycenter[5]);
    const QString report = omegaExp.calcOmegaExp() ? omegaExp.createOutputFile(QString()) : QString();
    QApplication::restoreOverrideCursor();
    if (report.isEmpty()) {
        OrvaneDialogs::critical(this, errorTitle, omegaExp.getLastError());
        return;
    }
    ui->plainTextEdit->setPlainText(report);
    ui->btnSave->setEnabled(true);
    citations = experimentalCitations();
    saveExperimentalFile();
}

// The literature to cite for experimental parameters from a spectrum, as the
// citation table chooses it for this module (today it asks for none).
QString OrvaneFrmPlotEmissionSpectrum::experimentalCitations() const
{
    return requiredCitations(3, 1, fileName, 0, false, false, false);
}

QString OrvaneFrmPlotEmissionSpectrum::experimentalFileName() const
{
    const QFileInfo info(fileName);
    return info.absolutePath() + QLatin1Char('/') + info.fileName().section(QLatin1Char('.'), 0, 0)
           + QStringLiteral(".orvaneexp");
}

void OrvaneFrmPlotEmissionSpectrum::saveExperimentalFile()
{
    const QString name = experimentalFileName();
    if (QFileInfo::exists(name)) {
        const QMessageBox::StandardButton answer = OrvaneDialogs::question(
            this, QStringLiteral("ORVANE Question"),
            QStringLiteral("The destination already has a file named\n") + name
                + QStringLiteral("\nAre you sure you want to replace the file in the destination ?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    if (!writeExperimentalFile(name))
        return;
    ui->tabWidget->setCurrentIndex(1);
    OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at: ") + name);
}

bool OrvaneFrmPlotEmissionSpectrum::writeExperimentalFile(const QString& name)
{
    QString reason;
    if (!OrvaneReportFile::write(name, ui->plainTextEdit->toPlainText() + QStringLiteral("\n\n\n") + citations,
                                 reason)) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), reason);
        return false;
    }
    return true;
}

void OrvaneFrmPlotEmissionSpectrum::on_btnSave_clicked()
{
    const QString name = OrvaneDialogs::saveFileName(this, QStringLiteral("Export Graph Name"),
                                                     QFileInfo(fileName).absolutePath(),
                                                     QStringLiteral("png Image(*.png)"));
    if (name.isEmpty())
        return;
    // The module name is the one users' logs have always shown for this plot.
    OrvanePlotExport::savePng(this, ui->customPlot, name, 1000, 400,
                              QStringLiteral("Orvane Module to Plot Absorption Spectrum "));
}

void OrvaneFrmPlotEmissionSpectrum::on_btnCIEDiagram_clicked()
{
    if (wavelengths.isEmpty())
        return;
    cieDiagram->setSpectrum(wavelengths, intensities);
    cieDiagram->plotChromaticity();
    cieDiagram->show();
}

void OrvaneFrmPlotEmissionSpectrum::on_btnClearProject_clicked()
{
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, QStringLiteral("ORVANE Question"),
                                QStringLiteral("Are you sure you want to clear the current project?"),
                                QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::No)
        return;
    fileName.clear();
    clearProject();
}

void OrvaneFrmPlotEmissionSpectrum::clearProject()
{
    setTransitionsEnabled(false);
    for (QSlider* slider : qAsConst(sliders))
        slider->setValue(0);
    for (QLineEdit* edit : qAsConst(lineEdits))
        edit->clear();
    ui->sbxRefractiveIndex->setValue(1.5);
    ui->sbxLifeTime->setValue(0.0);
    ui->plainTextEdit->clear();
    ui->btnSave->setEnabled(false);
    ui->btnCalculate->setEnabled(false);
    ui->btnCIEDiagram->setEnabled(false);
    ui->editEmissionSpectrumDirectory->clear();
    setupTransitionGraphs();
    setInvitationText();
}
