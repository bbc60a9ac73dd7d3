#include "orvanefrmenergylevels.h"
#include "ui_orvanefrmenergylevels.h"

#include "orvanedialogs.h"
#include "orvanefitendmessage.h"
#include "orvanefitrunner.h"
#include "orvanegsa.h"
#include "orvaneinputdata.h"
#include "orvanespectroscopictermutil.h"
#include "orvanetextfileview.h"
#include "orvanetextreader.h"
#include "orvanewaitcursor.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProgressDialog>
#include <QStandardItemModel>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

// The annealing reports its 15 runs as 1 to 15.
constexpr int fitRunCount = 15;
constexpr int tableColumnWidth = 50;

OrvaneSpectroscopicTermUtil::SpectroscopicTerm termOf(const EnergyLevelsExp& level)
{
    OrvaneSpectroscopicTermUtil::SpectroscopicTerm term;
    term.S = level.S;
    term.L = level.L;
    term.index = level.index;
    term.J = level.J;
    return term;
}

QString labelOf(const EnergyLevelsExp& level)
{
    return OrvaneSpectroscopicTermUtil::termLabel(termOf(level), level.J);
}

} // namespace

OrvaneFrmEnergyLevels::OrvaneFrmEnergyLevels(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmEnergyLevels>())
{
    ui->setupUi(this);
    ui->plainTextEdit->setPlaceholderText(
        tr("The calculated levels, a loaded energy-levels file or the log of a fit are shown here."));
    for (const QString& symbol : OrvaneInputData::lanthanideList)
        ui->cbxIon->addItem(symbol);
    ui->cbxIon->setCurrentText(QStringLiteral("Eu"));

    model = new QStandardItemModel(this);
    model->setRowCount(2);
    ui->tableViewEnergyLevelsExp->setModel(model);

    fitRunner = std::make_unique<OrvaneFitRunner>(this, tr("Energy Levels Parametrization ..."), fitRunCount);
    connect(fitRunner.get(), &OrvaneFitRunner::fitEnded, this, &OrvaneFrmEnergyLevels::threadAdjustTerminated);
    connect(fitRunner->progressDialog(), &QProgressDialog::canceled, this,
            &OrvaneFrmEnergyLevels::cancelParametrization);

    // The legend is never shown: levels kept out of it cost nothing to add or remove.
    ui->customPlot->setAutoAddPlottableToLegend(false);
    plotMode = !ui->rdbCalcEnergyLevels->isChecked();
    ui->gbxEnergyLevelsCalculation->setVisible(!plotMode);
    ui->gbxParametrization->setVisible(plotMode);
    setupAxes();
}

OrvaneFrmEnergyLevels::~OrvaneFrmEnergyLevels()
{
    // The worker uses the driver, the problem and `parameters` until its run returns.
    fitRunner.reset();
    parametricEnergyLevels = nullptr;
    // The plot would remove its many label items back to front, each removal
    // searching its lists from the front: emptied here in linear time.
    removeDiagramObjects();
}

int OrvaneFrmEnergyLevels::electronCount(const QString& symbol)
{
    const auto* begin = std::begin(OrvaneInputData::lanthanideList);
    const auto* end = std::end(OrvaneInputData::lanthanideList);
    const auto* found = std::find(begin, end, symbol);
    return found == end ? -1 : static_cast<int>(found - begin);
}

int OrvaneFrmEnergyLevels::levelsElectronCount(const QString& symbol)
{
    const int n = electronCount(symbol);
    if (n < 0) {
        OrvaneDialogs::information(this, tr("ORVANE Information Message"),
                                   tr("The ion \"%1\" is not a lanthanide: its 4f energy levels cannot be "
                                      "calculated.")
                                       .arg(symbol));
        return -1;
    }
    if (n == 0 || n == 14) {
        OrvaneDialogs::information(this, tr("ORVANE Information Message"),
                                   tr("The ion %1(III) has the configuration 4f%2: it has no 4f energy levels to "
                                      "calculate.")
                                       .arg(symbol)
                                       .arg(n));
        return -1;
    }
    return n;
}

// ---------------------------------------------------------------------------
// Calculation of the levels

void OrvaneFrmEnergyLevels::on_btnCalculate_clicked()
{
    const double F2 = ui->sbxF2->value();
    const double F4 = ui->sbxF4->value();
    const double F6 = ui->sbxF6->value();
    const double zeta = ui->sbxZeta->value();
    if (F2 == 0.0 || F4 == 0.0 || F6 == 0.0 || zeta == 0.0) {
        OrvaneDialogs::information(this, tr("ORVANE Information Message"),
                                   tr("The Slater Integrals and/or Zeta parameters cannot be equal to zero"));
        return;
    }
    ionSymbol = ui->cbxIon->currentText();
    const int n = levelsElectronCount(ionSymbol);
    if (n < 0)
        return;

    QString report;
    QString failure;
    QVector<MixedState> states;
    {
        OrvaneWaitCursor wait;
        OrvaneEnergyLevels energyLevels(nullptr, n);
        connect(&energyLevels, &OrvaneAbstractObjCalculation::newObjCalculationMessage, this,
                &OrvaneFrmEnergyLevels::processStatus);
        // Without its tables, or when it computes no levels, the calculator's
        // reason is shown instead of an empty report.
        failure = energyLevels.getLastError();
        if (failure.isEmpty()) {
            energyLevels.setSlaterIntegral(0.0, F2, F4, F6);
            energyLevels.setZetaParameters(zeta);
            energyLevels.calcEnergyLevels(-1);
            failure = energyLevels.getLastError();
            report = energyLevels.createOutputFile(QString());
            states = energyLevels.getMixedStatesVector();
        }
    }
    if (!failure.isEmpty()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), failure);
        return;
    }
    mixedStates = states;
    graphCount = 0;
    ui->plainTextEdit->appendPlainText(QStringLiteral("\n\n\n") + report);
    if (mixedStates.isEmpty())
        return;
    clearDiagram();
    setupAxes();
    on_btnReplot_clicked();
    drawCalculatedLevels();
}

void OrvaneFrmEnergyLevels::on_btnParamsFile_clicked()
{
    const QString fileName =
        OrvaneDialogs::openFileName(this, tr("Open Params File"), QDir::homePath(), tr("Params File (*.param)"));
    if (fileName.isEmpty())
        return;
    ui->edtParamsFile->setText(fileName);
    // zeta, F2, F4, F6; what the file lacks (or a file that cannot be read) gives 0.
    std::array<double, 4> values;
    QStringList notNumbers;
    OrvaneEnergyLevels::readParameterFile(fileName, values, &notNumbers);
    // A value the box cannot hold is clamped by it: the user is told which.
    const struct {
        const char* name;
        QDoubleSpinBox* box;
    } boxes[] = {{"zeta", ui->sbxZeta}, {"F2", ui->sbxF2}, {"F4", ui->sbxF4}, {"F6", ui->sbxF6}};
    QStringList clamped;
    for (int i = 0; i < 4; ++i) {
        QDoubleSpinBox* box = boxes[i].box;
        box->setValue(values[i]);
        if (values[i] < box->minimum() || values[i] > box->maximum())
            clamped << tr("%1: the file gives %2; %3 is used (the allowed range is %4 to %5 cm^-1).")
                           .arg(QLatin1String(boxes[i].name))
                           .arg(values[i], 0, 'g', 10)
                           .arg(box->value(), 0, 'g', 10)
                           .arg(box->minimum(), 0, 'g', 10)
                           .arg(box->maximum(), 0, 'g', 10);
    }
    QStringList problems;
    if (!notNumbers.isEmpty())
        problems << tr("Some lines of %1 are not numbers and read as 0:\n").arg(fileName)
                        + notNumbers.join(QLatin1Char('\n'));
    if (!clamped.isEmpty())
        problems << tr("Some values of %1 lie outside the allowed range:\n").arg(fileName)
                        + clamped.join(QLatin1Char('\n'));
    if (!problems.isEmpty())
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), problems.join(QStringLiteral("\n\n")));
}

// ---------------------------------------------------------------------------
// Experimental levels and the fit

void OrvaneFrmEnergyLevels::on_btnOpenEnergyLevelsFile_clicked()
{
    on_btnClearParametrization_clicked();
    energyLevelsFileName = OrvaneDialogs::openFileName(this, tr("Open Energy Levels File"), QDir::homePath(),
                                                       tr("Energy levels file (*.exp)"));
    if (energyLevelsFileName.isEmpty())
        return;
    ui->edtEnergyLevelsFile->setText(energyLevelsFileName);
    QString title;
    if (!OrvaneParametricEnergyLevels::readEnergyLevelsExp(energyLevelsFileName, energyLevelsExp, title)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error Message"), tr(" Problem to read the energy levels file"));
        return;
    }
    ionSymbol = title;
    if (!energyLevelsExp.isEmpty()) {
        drawExperimentalLevels();
        fillTable();
    }
    if (ui->rdbParametrizeFkAndZeta->isChecked()) {
        if (ionSymbol == QLatin1String("Eu"))
            parameters = {371.0, 54.8, 5.75, 1334.0};
        else if (ionSymbol == QLatin1String("Er"))
            parameters = {436.0, 66.1, 6.92, 2379.0};
        showStartPoint();
    }
    showFileText(energyLevelsFileName);
}

void OrvaneFrmEnergyLevels::showStartPoint()
{
    ui->sbxStartF2->setValue(parameters[0]);
    ui->sbxStartF4->setValue(parameters[1]);
    ui->sbxStartF6->setValue(parameters[2]);
    ui->sbxStartZeta->setValue(parameters[3]);
}

void OrvaneFrmEnergyLevels::showFileText(const QString& fileName)
{
    QString reason;
    OrvaneTextFileView::show(ui->plainTextEdit, fileName, reason);
}

void OrvaneFrmEnergyLevels::on_btnRunParametrization_clicked()
{
    if (energyLevelsFileName.isEmpty())
        return;
    // One fit at a time: a second would overwrite the first one's objects
    // while its worker still uses them.
    if (isFitRunning()) {
        OrvaneDialogs::information(this, tr("ORVANE Message Information"),
                                   tr("A parametrization of the energy levels is still running: wait for its end "
                                      "before starting another."));
        return;
    }
    if (energyLevelsExp.isEmpty()) {
        OrvaneDialogs::information(this, tr("ORVANE Message Information"),
                                   tr("To run a Slater Radial Integrals and Spin-Orbita adjust, you need to provide "
                                      "the experimental values for the energy levels."));
        return;
    }
    // The experimental file names its ion, whichever of the two fit modes is on.
    const int n = levelsElectronCount(ionSymbol);
    if (n < 0)
        return;
    parameters = {ui->sbxStartF2->value(), ui->sbxStartF4->value(), ui->sbxStartF6->value(),
                  ui->sbxStartZeta->value()};

    auto problem = std::make_unique<OrvaneParametricEnergyLevels>(nullptr, n, energyLevelsFileName);
    connect(problem.get(), &OrvaneAbstractObjCalculation::newObjCalculationMessage, this,
            &OrvaneFrmEnergyLevels::processStatus);
    if (!problem->getLastError().isEmpty()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), problem->getLastError());
        return;
    }
    problem->setEnergyLevelsExp(energyLevelsExp);
    warnOfLevelsWithoutMatch(n);
    OrvaneAbstractParametric* problemPointer = problem.get();
    double* start = parameters.data();
    auto driver = std::make_unique<OrvaneGSA>(nullptr, nParameters, start, problemPointer);
    driver->setNStopMax(ui->sbxNStopMax->value());
    if (!driver->setGSAParameters(1.5, 1.5, 5.0, 2.0)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), driver->getLastError());
        return;
    }
    fitLogFileName = OrvaneParametricEnergyLevels::logFileName(energyLevelsFileName);

    emit newObjCalculationMessage(tr("-> Parametrization process started successfully."));
    parametricEnergyLevels = problem.get();
    fitRunner->keep(problem.release());
    OrvaneGSA* gsa = driver.release();
    fitRunner->keep(gsa);
    // One step a run: the dialog hides itself only when the last run is done.
    fitRunner->start(gsa, fitRunCount);
}

void OrvaneFrmEnergyLevels::warnOfLevelsWithoutMatch(const int& n)
{
    // An experimental level whose label no level of the ion bears (a J its
    // term does not have, a term the ion lacks) is never compared: say so.
    const OrvaneEnergyLevels levels(nullptr, n);
    QStringList unmatched;
    for (const EnergyLevelsExp& level : qAsConst(energyLevelsExp)) {
        const QString label = labelOf(level);
        if (!levels.hasLevel(label) && !unmatched.contains(label))
            unmatched << label;
    }
    if (!unmatched.isEmpty())
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("These experimental levels of %1 name no level of 4f%2 and take no part in the "
                                  "fit:\n%3")
                                   .arg(energyLevelsFileName)
                                   .arg(n)
                                   .arg(unmatched.join(QStringLiteral(", "))));
}

void OrvaneFrmEnergyLevels::cancelParametrization()
{
    fitRunner->cancel();
}

void OrvaneFrmEnergyLevels::threadAdjustTerminated()
{
    if (!isFitRunning())
        return;
    const OrvaneGSA::FitState state = fitRunner->endState();
    const QString reason = fitRunner->driver()->getLastError();
    const OrvaneFitSummary summary = parametricEnergyLevels->getFitSummary();
    // Only a log this fit wrote is its result; an earlier fit's never is.
    const QString logError = parametricEnergyLevels->getLogError();
    const bool logIsThisFits = parametricEnergyLevels->hasWrittenLog() && logError.isEmpty();
    switch (state) {
    case OrvaneGSA::FitState::Finished:
        emit newObjCalculationMessage(tr("-> Parametrization process finished successfully."));
        if (!summary.isEmpty())
            emit newObjCalculationMessage(OrvaneFitEndMessage::statusLine(summary));
        break;
    case OrvaneGSA::FitState::Stopped:
        emit newObjCalculationMessage(tr("-> Parametrization process cancelled."));
        break;
    default:
        emit newObjCalculationMessage(tr("-> Parametrization process failed: ") + reason);
        break;
    }
    if (!logError.isEmpty())
        emit newObjCalculationMessage(QStringLiteral("-> ") + logError);

    // Whatever the text showed before (an earlier log among it) is not this fit's.
    const QString logLines = parametricEnergyLevels->getLogText();
    if (logIsThisFits)
        showFileText(fitLogFileName);
    else if (!logError.isEmpty())
        ui->plainTextEdit->setPlainText(logError);
    else if (logLines.isEmpty())
        ui->plainTextEdit->setPlainText(tr("This fit wrote no log."));
    else
        // Only a fit that finishes writes its log: the improvements so far are shown, not saved.
        ui->plainTextEdit->setPlainText(logLines + tr("\nThis log was not saved: a fit that does not finish leaves "
                                                      "the log file %1 as it was.")
                                                       .arg(QDir::toNativeSeparators(fitLogFileName)));
    // The log keeps one line per improvement; how close the fit came follows it on screen.
    if (!summary.isEmpty())
        ui->plainTextEdit->appendPlainText(QStringLiteral("\n") + summary.text());
    mixedStates = parametricEnergyLevels->getMixedStateVector();
    if (!mixedStates.isEmpty())
        drawCalculatedLevels();

    fitRunner->release();
    parametricEnergyLevels = nullptr;

    const QString logNote = logError.isEmpty() ? QString() : QStringLiteral("\n\n") + logError;
    const QString summaryNote = summary.isEmpty() ? QString() : QStringLiteral("\n\n") + summary.text();
    switch (state) {
    case OrvaneGSA::FitState::Finished:
        if (!logError.isEmpty())
            OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                    tr("The  parameterization of the energy levels has finished, but its log could "
                                       "not be written.") + logNote + summaryNote);
        else
            OrvaneFitEndMessage::showFinished(this, tr("The  parameterization of the energy levels has finished."),
                                              summary);
        break;
    case OrvaneGSA::FitState::Stopped:
        OrvaneDialogs::information(this, tr("ORVANE Information"),
                                   tr("The parameterization of the energy levels was cancelled: no fitted levels.")
                                       + logNote);
        break;
    default:
        OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                tr("The parameterization of the energy levels failed:\n") + reason + logNote);
        break;
    }
}

// ---------------------------------------------------------------------------
// Modes, resets and the table

void OrvaneFrmEnergyLevels::on_rdbCalcEnergyLevels_clicked(bool isClicked)
{
    clearDiagram();
    plotMode = false;
    setupAxes();
    ui->gbxEnergyLevelsCalculation->setVisible(isClicked);
    ui->gbxParametrization->setVisible(!isClicked);
}

void OrvaneFrmEnergyLevels::on_rdbCalcStarkLevels_clicked(bool isClicked)
{
    clearDiagram();
    plotMode = true;
    setupAxes();
    ui->gbxEnergyLevelsCalculation->setVisible(!isClicked);
    ui->gbxParametrization->setVisible(isClicked);
}

void OrvaneFrmEnergyLevels::on_rdbParametrizeFkAndZeta_clicked(bool isClicked)
{
    on_rdbCalcStarkLevels_clicked(isClicked);
}

void OrvaneFrmEnergyLevels::on_btnClearParametrization_clicked()
{
    clearDiagram();
    setupAxes();
    ui->plainTextEdit->clear();
    ui->edtEnergyLevelsFile->clear();
    ui->sbxNStopMax->setValue(1000);
    ui->sbxStartF2->setValue(0.0);
    ui->sbxStartF4->setValue(0.0);
    ui->sbxStartF6->setValue(0.0);
    ui->sbxStartZeta->setValue(0.0);
    expColumnCount = 0;
    model->clear();
    model->setRowCount(2);
    energyLevelsExp.clear();
    energyLevelsFileName.clear();
}

void OrvaneFrmEnergyLevels::on_btnClearProject_clicked()
{
    clearDiagram();
    setupAxes();
    ui->plainTextEdit->clear();
}

void OrvaneFrmEnergyLevels::on_btnAddItem_clicked()
{
    ++expColumnCount;
    resizeColumns();
}

void OrvaneFrmEnergyLevels::on_btnRemoveItem_clicked()
{
    expColumnCount = std::max(expColumnCount - 1, 0);
    resizeColumns();
}

void OrvaneFrmEnergyLevels::resizeColumns()
{
    // In one step: the view handles each inserted column against all the others.
    model->setColumnCount(expColumnCount);
    for (int column = 0; column < model->columnCount(); ++column)
        ui->tableViewEnergyLevelsExp->setColumnWidth(column, tableColumnWidth);
}

void OrvaneFrmEnergyLevels::fillTable()
{
    // Both rows whole: setting cell by cell makes the view redo its layout
    // over every column for each cell.
    QList<QStandardItem*> labels;
    QList<QStandardItem*> energies;
    labels.reserve(energyLevelsExp.size());
    energies.reserve(energyLevelsExp.size());
    for (const EnergyLevelsExp& level : qAsConst(energyLevelsExp)) {
        labels << new QStandardItem(labelOf(level));
        energies << new QStandardItem(QString::number(level.energy, 'g', 6));
    }
    model->setRowCount(0);
    model->setColumnCount(0);
    model->appendRow(labels);
    model->appendRow(energies);
    expColumnCount = energyLevelsExp.size();
    resizeColumns();
}

// ---------------------------------------------------------------------------
// The level diagram

void OrvaneFrmEnergyLevels::clearDiagram()
{
    removeDiagramObjects();
    ui->customPlot->replot();
}

void OrvaneFrmEnergyLevels::removeDiagramObjects()
{
    // Front to back: the plot and its layer find each item at the head of
    // their lists, so the whole diagram goes in time linear in its levels.
    QCustomPlot* plot = ui->customPlot;
    while (plot->itemCount() > 0)
        plot->removeItem(plot->item(0));
    plot->clearPlottables();
    graphCount = 0;
}

void OrvaneFrmEnergyLevels::setupAxes()
{
    QCustomPlot* plot = ui->customPlot;
    plot->legend->setVisible(false);
    QCPAxis* x = plot->xAxis;
    x->setSubTicks(false);
    x->setTickLengthIn(0);
    x->setTickLengthOut(4);
    x->setTickLabelRotation(0);
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    if (plotMode) {
        ticker->addTick(2, QStringLiteral("Exp"));
        ticker->addTick(6, QStringLiteral("Calc"));
    } else {
        ticker->addTick(2, QStringLiteral("Calc"));
    }
    x->setTicker(ticker);
    QFont tickFont(QStringLiteral("Courier New"));
    tickFont.setPixelSize(25);
    tickFont.setBold(true);
    tickFont.setItalic(true);
    x->setTickLabelFont(tickFont);
    x->setRange(0.0, plotMode ? 8.0 : 4.0);
    plot->yAxis->setLabel(QStringLiteral("Energy in cm^-1"));
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
    plot->replot();
}

void OrvaneFrmEnergyLevels::addLevels(const QString& name, const double& x1, const double& x2,
                                      const QVector<LevelLine>& levels, const bool& showLabels)
{
    // One curve for the whole column: each level a black segment from x1 to
    // x2, the segments parted by NaN points, which the plot leaves as gaps.
    const double gap = std::numeric_limits<double>::quiet_NaN();
    QVector<double> t, x, y;
    t.reserve(3 * levels.size());
    x.reserve(3 * levels.size());
    y.reserve(3 * levels.size());
    for (const LevelLine& level : levels) {
        for (const double key : {x1, x2, gap}) {
            t.append(t.size());
            x.append(key);
            y.append(std::isnan(key) ? gap : level.energy);
        }
    }
    auto* curve = new QCPCurve(ui->customPlot->xAxis, ui->customPlot->yAxis);
    curve->setName(name);
    curve->setPen(QPen(Qt::black, 1.0));
    curve->setData(t, x, y, true);
    if (showLabels) {
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(12);
        font.setItalic(true);
        for (const LevelLine& level : levels) {
            auto* text = new QCPItemText(ui->customPlot);
            text->position->setCoords(0.5, level.energy);
            text->setClipToAxisRect(false);
            text->setFont(font);
            text->setText(level.label);
        }
    }
    graphCount += levels.size();
}

void OrvaneFrmEnergyLevels::drawCalculatedLevels()
{
    QVector<LevelLine> levels;
    if (!plotMode) {
        levels.reserve(mixedStates.size());
        for (const MixedState& state : qAsConst(mixedStates))
            levels.append({state.energy, state.label});
        addLevels(QStringLiteral("Calc"), 1.2, 2.8, levels, true);
    } else {
        // The first computed level of each label, found through one index.
        QHash<QString, int> firstOfLabel;
        firstOfLabel.reserve(mixedStates.size());
        for (int i = mixedStates.size() - 1; i >= 0; --i)
            firstOfLabel.insert(mixedStates.at(i).label, i);
        for (const EnergyLevelsExp& level : qAsConst(energyLevelsExp)) {
            const auto found = firstOfLabel.constFind(labelOf(level));
            if (found != firstOfLabel.cend())
                levels.append({mixedStates.at(*found).energy, mixedStates.at(*found).label});
        }
        addLevels(QStringLiteral("Calc"), 5.2, 6.8, levels, false);
    }
    ui->customPlot->replot();
}

void OrvaneFrmEnergyLevels::drawExperimentalLevels()
{
    graphCount = 0;
    ui->customPlot->yAxis->setRange(0.0, energyLevelsExp.constLast().energy + 10.0);
    QVector<LevelLine> levels;
    levels.reserve(energyLevelsExp.size());
    for (const EnergyLevelsExp& level : qAsConst(energyLevelsExp))
        levels.append({level.energy, labelOf(level)});
    addLevels(QStringLiteral("Exp"), 1.2, 2.8, levels, true);
    ui->customPlot->replot();
}

void OrvaneFrmEnergyLevels::on_btnReplot_clicked()
{
    if (mixedStates.isEmpty())
        return;
    const double minimum = ui->sbxEnergyMin->value();
    const double maximum = ui->sbxEnergyMax->value();
    const double lower = maximum > minimum ? minimum : 0.0;
    if (maximum > 0.0)
        ui->customPlot->yAxis->setRange(lower, maximum);
    else
        ui->customPlot->yAxis->setRange(0.0, mixedStates.constLast().energy);
    ui->customPlot->replot();
}
