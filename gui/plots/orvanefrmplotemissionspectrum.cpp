#include "orvanefrmplotemissionspectrum.h"
#include "requiredcitations.h"
#include "ui_orvanefrmplotemissionspectrum.h"

#include "mylineedit.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvaneemissionspectrumreader.h"
#include "orvanefilenames.h"
#include "orvanefrmciediagram.h"
#include "orvaneomegaexp.h"
#include "orvaneplatform.h"
#include "orvaneplotexport.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"
#include "orvaneunsavednotice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString invitationText = QStringLiteral("Drag and drop a .txt file here OR click on button Open to open it");
const QString moduleName = QStringLiteral("Orvane Module to Plot Emission Spectrum");
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

QString transitionName(int j)
{
    return QStringLiteral("5D0 -> 7F%1").arg(j);
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
    // A typed limit is applied when its editing ends (Return, Enter, focus
    // out), not at every key: rewriting the edit while typing made decimals
    // and overwriting a pre-filled limit impossible.
    for (int k = 0; k < lineEdits.size(); ++k)
        connect(lineEdits.at(k), &QLineEdit::editingFinished, this, [this, k] {
            if (lineEdits.at(k)->isModified())
                emit signalTextEdited(QString::number(k));
        });
    connect(this, &OrvaneFrmPlotEmissionSpectrum::signalTextEdited, this,
            &OrvaneFrmPlotEmissionSpectrum::slotTextEdited);

    // The window's status lines (its chromaticity, its saved images) go
    // where this form's go.
    connect(cieDiagram.get(), &AbstractObjCalculationWidget::newObjCalculationMessage, this,
            &AbstractObjCalculationWidget::newObjCalculationMessage);

    ui->lblDataVisualization->hide();
    ui->stackedWidget->hide();
    unsavedResultNotice = new OrvaneUnsavedNotice(
        QStringLiteral("lblUnsavedResult"), ui->frame, QStringLiteral("This result"),
        QStringLiteral("Save it under another name with the Save As button."), ui->btnSaveResult,
        OrvaneUnsavedNotice::SaveButton::WithNotice);
    // The notice and its Save As button share a row above the tabs, so that
    // the file row keeps its width when the button shows.
    ui->layoutUnsavedResult->insertWidget(0, unsavedResultNotice, 1);
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
    OrvaneEmissionSpectrumReader reader;
    if (!reader.readFile(name)) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                reader.getLastError() + QStringLiteral("\n") + name);
        refuse();
        return;
    }

    fileName = name;
    ui->tabWidget->setCurrentIndex(0);
    clearProject();
    ui->editEmissionSpectrumDirectory->setStyleSheet(QString());
    ui->btnCalculate->setEnabled(true);
    ui->btnCIEDiagram->setEnabled(true);
    setTransitionsEnabled(true);
    ui->editEmissionSpectrumDirectory->setText(fileName);
    wavelengths = reader.getWavelengths();
    intensities = reader.getIntensities();
    readEmissionSpectrum();
    QString loaded = QStringLiteral("%1 points of %2 read").arg(QString::number(wavelengths.size()), fileName);
    if (reader.wasDescending())
        loaded += QStringLiteral(", in reverse: its wavelengths fall along the file");
    loaded += QStringLiteral("; %1 line%2 skipped (blank, or not beginning with two numbers).")
                  .arg(reader.getSkippedLines())
                  .arg(reader.getSkippedLines() == 1 ? QString() : QStringLiteral("s"));
    log(loaded);
}

void OrvaneFrmPlotEmissionSpectrum::log(const QString& message)
{
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(moduleName, message));
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
    drawBand(j);
}

void OrvaneFrmPlotEmissionSpectrum::drawBand(int j)
{
    CustomPlotZoom* plot = ui->customPlot;
    const int lo = sliders.at(2 * j)->value();
    const int hi = sliders.at(2 * j + 1)->value();
    if (plot->graphCount() < transitionCount || lo < 0 || lo >= hi || hi >= wavelengths.size())
        return;
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
    if (k < 0 || k >= lineEdits.size() || wavelengths.isEmpty() || !sliders.at(k)->isEnabled())
        return;
    QLineEdit* edit = lineEdits.at(k);
    edit->setModified(false);
    double value = 0.0;
    // The mask's empty text (".") holds no limit.
    if (!OrvaneText::toFiniteNumber(edit->text(), value))
        return;
    const int j = k / 2;
    const QString side = k % 2 == 0 ? QStringLiteral("lower") : QStringLiteral("upper");
    if (value < wavelengths.first() || value > wavelengths.last()) {
        const bool below = value < wavelengths.first();
        log(QStringLiteral("The %1 limit of %2 typed, %3 nm, lies beyond the spectrum (%4 to %5 nm): it was set to "
                           "the %6 wavelength, %7 nm.")
                .arg(side, transitionName(j), QString::number(value, 'g', 6),
                     QString::number(wavelengths.first(), 'g', 6), QString::number(wavelengths.last(), 'g', 6),
                     below ? QStringLiteral("first") : QStringLiteral("last"),
                     QString::number(below ? wavelengths.first() : wavelengths.last(), 'g', 6)));
    }
    const int sample = indexOfNearestWavelength(value);
    // The slider's own handling places the window (and moves the upper limit
    // ahead of the lower one); position 0, or a slider already there, moves
    // nothing, so the window is drawn here as well. Either way the edit then
    // shows the wavelength of the sample in use.
    sliders.at(k)->setValue(sample);
    drawBand(j);
    edit->setText(QString::number(wavelengths.at(sliders.at(k)->value()), 'g', 6));
}

int OrvaneFrmPlotEmissionSpectrum::indexOfNearestWavelength(const double& wavelength) const
{
    if (wavelengths.isEmpty())
        return 0;
    // The wavelengths rise along the spectrum: the nearest sample is next to
    // the first one not below the value; a tie goes to the lower index.
    const auto above = std::lower_bound(wavelengths.cbegin(), wavelengths.cend(), wavelength);
    if (above == wavelengths.cbegin())
        return 0;
    if (above == wavelengths.cend())
        return wavelengths.size() - 1;
    const int upper = static_cast<int>(above - wavelengths.cbegin());
    return (*above - wavelength < wavelength - *(above - 1)) ? upper : upper - 1;
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
    // Until a new result replaces it (which clears the notice), an unsaved
    // result shown is one of the windows before this run.
    unsavedResultNotice->markOfEarlierInputs();
    double area[transitionCount] = {0, 0, 0, 0, 0, 0};
    double barycenter[transitionCount] = {0, 0, 0, 0, 0, 0};
    for (int j : {1, 2, 4, 0, 3, 5})
        if (!isOptional(j) || groupBoxes.at(j)->isChecked())
            calculateBandAreaAndBarycenter(sliders.at(2 * j)->value(), sliders.at(2 * j + 1)->value(),
                                           barycenter[j], area[j]);
    const QString errorTitle = QStringLiteral("ORVANE Error");
    QList<int> used;
    for (int j = 0; j < transitionCount; ++j)
        if (!isOptional(j) || groupBoxes.at(j)->isChecked())
            used << j;
    QStringList empty;
    for (int j : qAsConst(used))
        if (area[j] == 0.0)
            empty << transitionName(j);
    const QString unmarked = empty.isEmpty() ? QString()
                                             : QStringLiteral("\nNo band is marked for: ") + empty.join(QStringLiteral(", "))
                                                   + QStringLiteral(".");
    if (area[1] == 0.0 || area[2] == 0.0 || area[4] == 0.0) {
        OrvaneDialogs::critical(this, errorTitle,
                                QStringLiteral("Please, you must correctly define the transition areas before "
                                               "carrying out the calculation.")
                                    + unmarked);
        return;
    }
    for (int j : {0, 3, 5}) {
        if (groupBoxes.at(j)->isChecked() && area[j] == 0.0) {
            OrvaneDialogs::critical(this, errorTitle,
                                    QStringLiteral("Please, you must correctly define the 5D0 -> 7F%1 transition "
                                                   "area before carrying out the calculation or unchecking it.")
                                            .arg(j)
                                        + (empty.size() > 1 ? unmarked : QString()));
            return;
        }
    }
    const QString overlaps = overlappingWindows(used);
    if (!overlaps.isEmpty()) {
        OrvaneDialogs::critical(this, errorTitle,
                                overlaps + QStringLiteral("A sample counted in two bands would add its intensity to "
                                                          "both areas. Please, correct the limits before carrying "
                                                          "out the calculation."));
        return;
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
    unsavedResultNotice->clearNotice();
    ui->btnSave->setEnabled(true);
    citations = experimentalCitations();
    saveExperimentalFile();
}

// One line for every two used windows that share an interval of the
// spectrum; windows that only touch at a sample do not overlap.
QString OrvaneFrmPlotEmissionSpectrum::overlappingWindows(const QList<int>& used) const
{
    auto window = [this](int j) {
        return QStringLiteral("%1 (%2 to %3 nm)")
            .arg(transitionName(j), QString::number(wavelengths.value(sliders.at(2 * j)->value()), 'g', 6),
                 QString::number(wavelengths.value(sliders.at(2 * j + 1)->value() - 1), 'g', 6));
    };
    QString text;
    for (int a = 0; a < used.size(); ++a) {
        for (int b = a + 1; b < used.size(); ++b) {
            const int ja = used.at(a), jb = used.at(b);
            // Band J spans samples lo .. hi-1.
            const int loA = sliders.at(2 * ja)->value(), endA = sliders.at(2 * ja + 1)->value() - 1;
            const int loB = sliders.at(2 * jb)->value(), endB = sliders.at(2 * jb + 1)->value() - 1;
            if (loA < endB && loB < endA)
                text += QStringLiteral("The windows of %1 and %2 overlap.\n").arg(window(ja), window(jb));
        }
    }
    return text;
}

// The literature to cite for experimental parameters from a spectrum, as the
// citation table chooses it for this module (today it asks for none).
QString OrvaneFrmPlotEmissionSpectrum::experimentalCitations() const
{
    return requiredCitations(3, 1, fileName, 0, false, false, false);
}

QString OrvaneFrmPlotEmissionSpectrum::experimentalFileName() const
{
    return OrvaneFileNames::withBaseName(fileName, QStringLiteral("orvaneexp"));
}

void OrvaneFrmPlotEmissionSpectrum::saveExperimentalFile()
{
    const QString name = experimentalFileName();
    // On No the result stays where the user looks at it, marked unsaved.
    if (!unsavedResultNotice->confirmReplace(
            this, name,
            QStringLiteral("The destination already has a file named\n") + name
                + QStringLiteral("\nAre you sure you want to replace the file in the destination ?")))
        return;
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
        // The result stays on screen, in view, said to be in no file, with a
        // way to save it elsewhere.
        ui->tabWidget->setCurrentIndex(1);
        unsavedResultNotice->showUnsaved(reason);
        return false;
    }
    unsavedResultNotice->clearNotice();
    return true;
}

void OrvaneFrmPlotEmissionSpectrum::on_btnSaveResult_clicked()
{
    const QString name = OrvaneDialogs::saveFileName(this, QStringLiteral("Save ORVANE .orvaneexp File"),
                                                     experimentalFileName(),
                                                     QStringLiteral("ORVANE .orvaneexp File (*.orvaneexp)"));
    if (name.isEmpty() || !writeExperimentalFile(name))
        return;
    OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at: ") + name);
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
    unsavedResultNotice->clearNotice();
    ui->btnSave->setEnabled(false);
    ui->btnCalculate->setEnabled(false);
    ui->btnCIEDiagram->setEnabled(false);
    ui->editEmissionSpectrumDirectory->clear();
    setupTransitionGraphs();
    setInvitationText();
}
