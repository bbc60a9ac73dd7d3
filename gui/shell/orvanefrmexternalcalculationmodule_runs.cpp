// Runs of OrvaneFrmExternalCalculationModule: preparing the input of the
// external program, starting and stopping it, following its output, and
// judging the run and its side files when it ends.

#include "orvanefrmexternalcalculationmodule.h"
#include "orvanefrmexternalcalculationmodule_texts.h"
#include "ui_orvanefrmexternalcalculationmodule.h"
#include "ui_orvanefrmorcakeywords.h"

#include "mythread.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvanefilesconverter.h"
#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"
#include "orvaneorganizemolecules.h"
#include "orvaneoutputfollower.h"
#include "orvaneplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QTextCursor>

using OrvaneExternalCalculationTexts::moduleGeometry;

namespace {

const QString moduleExternal = QStringLiteral("Orvane External Calculation Module");
const QString moduleExcited = QStringLiteral("Orvane Excited States Calculations");

// `output` when it holds anything, else empty: a program that could not
// start leaves an empty output.
QString outputIfAny(const QString& output)
{
    const QFileInfo file(output);
    return file.isFile() && file.size() > 0 ? output : QString();
}

// What became of each result that could not be placed beside the input.
QString resultsNotPlacedText(const OrvaneExternalRun::ResultMove& moved)
{
    QString text = QStringLiteral("finished, but its results could not be placed beside the input file: ")
                   + moved.reason;
    const auto list = [&text](const QString& heading, const QStringList& files) {
        if (!files.isEmpty())
            text += QStringLiteral("\n\n") + heading + QLatin1Char('\n') + files.join(QLatin1Char('\n'));
    };
    list(QStringLiteral("These results beside the input hold the new ones:"), moved.placed);
    list(moved.keptSetFolder.isEmpty()
             ? QStringLiteral("The new results stay in the work folder:")
             : QStringLiteral("The new results stay in the work folder, in their own folder ")
                   + moved.keptSetFolder + QStringLiteral(" until you remove it:"),
         moved.leftInWork);
    list(QStringLiteral("The earlier results beside the input were kept as they were:"), moved.kept);
    return text;
}

} // namespace

const QString OrvaneFrmExternalCalculationModule::mopacCalculationKind =
    QStringLiteral("Geometry optimization ");
const QString OrvaneFrmExternalCalculationModule::orcaCalculationKind =
    QStringLiteral("Excited states calculations ");

// ---------------------------------------------------------------------------
// Derived names

OrvaneExternalRun OrvaneFrmExternalCalculationModule::currentRun(const QString& workFolder) const
{
    using Source = OrvaneExternalRun::Source;
    Source source = Source::Mol2Drawing;
    if (isMopacPage())
        source = ui->rdbMOL2File->isChecked() ? Source::Mol2Drawing
                 : ui->rdbMopFile->isChecked() ? Source::MopacInput
                                               : Source::MopacOutput;
    else
        source = ui->rdbOrcaInput->isChecked() ? Source::OrcaInput : Source::MopacOutput;
    return OrvaneExternalRun(program, source, inputFileName, workFolder);
}

QString OrvaneFrmExternalCalculationModule::inputFolder() const
{
    return currentRun().inputFolder();
}

QString OrvaneFrmExternalCalculationModule::orcaResultFile() const
{
    return currentRun().orcaResultFile();
}

QString OrvaneFrmExternalCalculationModule::calculationTitle() const
{
    return isMopacPage() ? QStringLiteral("Geometry Optimization")
                         : QStringLiteral("Excited States Calculation");
}

// ---------------------------------------------------------------------------
// Runs

bool OrvaneFrmExternalCalculationModule::isRunning() const
{
    return runState == RunState::FirstPass || runState == RunState::SecondPass
           || runState == RunState::Failing;
}

void OrvaneFrmExternalCalculationModule::on_btnRunCalculation_clicked()
{
    emit newObjCalculationMessage(QString(63, QLatin1Char('-')));
    runCalculation(false);
}

void OrvaneFrmExternalCalculationModule::runCalculation(const bool& secondPass)
{
    if (programPath.isEmpty()) {
        const QString text = QStringLiteral("Please, choose a valid path for the ")
                             + (isMopacPage() ? QStringLiteral("MOPAC") : QStringLiteral("ORCA"))
                             + QStringLiteral(" program.");
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warning"), text);
        abandonRun(text);
        return;
    }
    const QFileInfo programFile(programPath);
    if (!programFile.isFile() || !programFile.isExecutable()) {
        const QString text = QStringLiteral("An executable file of the desired external program "
                                            "does not exist in the following directory: \n")
                             + programPath;
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Message"), text);
        abandonRun(text);
        return;
    }

    tabView(1)->clear();

    OrvaneExternalRun next = currentRun();
    if (next.source() == OrvaneExternalRun::Source::Mol2Drawing) {
        QString reason;
        if (!createMopFile(&reason)) {
            abandonRun(reason);
            return;
        }
    } else if (next.source() == OrvaneExternalRun::Source::MopacInput) {
        // Kept for older MOPAC versions that read name.dat. The .mop is
        // named to MOPAC, so an older .dat (never replaced here) cannot
        // decide the run.
        QFile::copy(inputFileName, OrvaneFileNames::withFinalSuffix(inputFileName, QStringLiteral("dat")));
    } else if (!isMopacPage() && next.source() == OrvaneExternalRun::Source::MopacOutput) {
        // A pass starts only in a run that was not stopped.
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleExternal, QStringLiteral("Will it run a new ORCA calculation ? ")
                                + (secondPass ? QStringLiteral("YES - ") : QStringLiteral("NO  - "))
                                + QStringLiteral(" Did the calculation terminate ? NO")));
        QString reason;
        const QString workFolder = OrvanePlatform::privateTempFolder(&reason);
        if (workFolder.isEmpty()) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), reason);
            abandonRun(reason);
            return;
        }
        // The results of an earlier run beside the input stay until this run
        // has succeeded (judgeRun replaces them then).
        next = currentRun(workFolder);
        if (!secondPass && !claimWorkFiles(next, &reason)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), reason);
            abandonRun(reason);
            return;
        }
        if (!createOrcaInputFile(next.orcaWorkInput(), secondPass, &reason)) {
            abandonRun(reason);
            return;
        }
    }
    run = next;
    runState = secondPass ? RunState::SecondPass : RunState::FirstPass;
    if (!secondPass)
        sideFilesAtStart = run.sideFiles();
    spectrumOutput.clear();
    setCalculationRunning(true);
    // The runner appends to the ORCA output; in a second pass this removes
    // the first pass's output, which the preparation has already read.
    outputFollower->stop();
    QFile::remove(run.followedOutput());

    if (calculationThread) {
        calculationThread->disconnect(this);
        // Waits until the previous runner's thread has fully ended.
        delete calculationThread;
        calculationThread = nullptr;
    }
    calculationThread = new MyThread(this, run.programArgument());
    connect(calculationThread, &QThread::finished, this,
            &OrvaneFrmExternalCalculationModule::threadFinish);
    connect(calculationThread, &MyThread::calculationIsProcessingSignal, this,
            &OrvaneFrmExternalCalculationModule::processState);
    connect(calculationThread, &MyThread::problemDuringCalculation, this,
            &OrvaneFrmExternalCalculationModule::problemDuringCalculation);
    calculationThread->mode = static_cast<int>(program);
    calculationThread->programPath = programPath;

    // Followed before the child starts, so that no part of the output is missed.
    // The note of a file shown earlier does not speak for this run's output.
    tabView(1)->clear();
    tabView(1)->setPlaceholderText(QString());
    outputFollower->follow(run.followedOutput());
    calculationThread->start();

    if (isMopacPage())
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleGeometry, QStringLiteral("Geometry optimization was successfully started. ")));
    else
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleExcited, QStringLiteral("Excited States Calculations was successfully started.")));
}

bool OrvaneFrmExternalCalculationModule::claimWorkFiles(const OrvaneExternalRun& next, QString* reason)
{
    // A stopped run of this page that has not ended yet gives its claim up:
    // its program was ended, and its clean-up never comes.
    workFilesClaim.reset();
    auto claim = std::make_unique<QLockFile>(next.workFilesLock());
    // Held for hours: only a claim whose process has gone is taken over.
    claim->setStaleLockTime(0);
    if (claim->tryLock(0)) {
        workFilesClaim = std::move(claim);
        return true;
    }
    const QString folder = QDir::toNativeSeparators(QFileInfo(next.workFilesLock()).absolutePath());
    if (claim->error() == QLockFile::LockFailedError)
        *reason = QStringLiteral("Another ORVANE window is running ORCA on a MOPAC output of the base name %1, "
                                 "whose work files in %2 this run would overwrite. Start this run when that "
                                 "one has ended.")
                      .arg(next.cleanBaseName(), folder);
    else
        *reason = QStringLiteral("The lock file %1 could not be created in %2.")
                      .arg(QFileInfo(next.workFilesLock()).fileName(), folder);
    return false;
}

void OrvaneFrmExternalCalculationModule::abandonRun(const QString& reason)
{
    // The status panel keeps why, under the run's line of dashes.
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleExternal, QStringLiteral("The calculation could not be started: ") + reason));
    // Before the first start the page is left as it was (a stopped run still
    // ending is still judged when it ends); a second ORCA pass that cannot
    // start ends the run.
    if (isRunning()) {
        outputFollower->stop();
        setCalculationRunning(false);
        runState = RunState::Idle;
        if (!isMopacPage())
            offerSpectrum(run.followedOutput());
        workFilesClaim.reset();
    }
}

void OrvaneFrmExternalCalculationModule::offerSpectrum(const QString& output)
{
    // A stopped run may end after the project was cleared or another input
    // chosen: its output is not one of the page's input.
    if (run.inputFile() != inputFileName)
        return;
    spectrumOutput = outputIfAny(output);
    ui->btnShowAbsorptionSpectrumModule->setEnabled(!spectrumOutput.isEmpty());
    if (spectrumOutput.isEmpty())
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleExcited, QStringLiteral("The absorption spectrum cannot be shown: this run left no ORCA output.")));
    else if (spectrumOutput != run.orcaResultFile())
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleExcited, QStringLiteral("The output of this run stays in ") + spectrumOutput
                               + QStringLiteral("; the absorption spectrum shows that file.")));
}

bool OrvaneFrmExternalCalculationModule::createMopFile(QString* reason)
{
    OrvaneOrganizeMolecules organizer(this);
    // The user is told why: a silent return would leave a run that never starts.
    bool written = organizer.readMOL2(inputFileName);
    const QString mopFile = currentRun().mopacInput();
    if (written) {
        organizer.key = frmMopacKeywords->keywordLine();
        written = organizer.createOutpuFile(mopFile);
    }
    if (!written) {
        *reason = organizer.getLastError();
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), *reason);
        return false;
    }
    // The keywords were retyped without SPARKLE; the input got it anyway
    // (the engine drops it again for a structure without a lanthanide).
    if (frmMopacKeywords->keywordLineAddsSparkle() && organizer.getIsLanthanidePresent())
        emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
            moduleGeometry, QStringLiteral("SPARKLE was added to the MOPAC keywords because the model ")
                                + currentModel() + QStringLiteral(" is a Sparkle model:\n") + mopFile));
    return true;
}

bool OrvaneFrmExternalCalculationModule::createOrcaInputFile(const QString& workInput, const bool& secondPass,
                                                             QString* reason)
{
    OrvaneFilesConverter converter(nullptr, inputFileName);
    const Ui::OrvaneFrmOrcaKeywords* panel = frmOrcaKeywords->ui.get();
    const bool window = panel->gbxExcitationWindows->isChecked();
    // The first pass: one root and no window, for the orbital energies; the
    // second: the user's choices, with the window's energies taken from the
    // first pass's output beside the work input.
    const bool triplets = secondPass && panel->chbIsTripletLevel->isChecked();
    const int occupied = secondPass ? (window ? panel->sbxEMin->value() : 20) : 0;
    const int virtuals = secondPass ? (window ? panel->sbxEMax->value() : 20) : 0;
    const int roots = secondPass ? panel->sbxNumberOfStates->value() : 1;
    const bool written = converter.convertFromOutToInpOrca(
        workInput, triplets, secondPass, occupied, virtuals, roots,
        OrvaneFileNames::withFinalSuffix(workInput, QStringLiteral("pointcharge")));
    if (!written) {
        *reason = converter.getLastError();
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), *reason);
    }
    return written;
}

void OrvaneFrmExternalCalculationModule::updateOutputFileViewer(const QString& changedFileName)
{
    if (changedFileName == outputFollower->fileName())
        outputFollower->readNow();
    else
        loadFileIntoTab(changedFileName, 1);
}

void OrvaneFrmExternalCalculationModule::appendOutputText(const QString& text)
{
    QPlainTextEdit* view = tabView(1);
    QTextCursor end(view->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    view->moveCursor(QTextCursor::End);
    ui->tabWidgetViewFiles->setCurrentIndex(1);
}

void OrvaneFrmExternalCalculationModule::processState(const QString& processStateMessage)
{
    ui->lineEditRunProgress->setText(processStateMessage);
}

void OrvaneFrmExternalCalculationModule::setCalculationRunning(const bool& running)
{
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->edtFile), static_cast<QWidget*>(ui->btnChooseFile),
          static_cast<QWidget*>(ui->btnClearProject), static_cast<QWidget*>(ui->lineEditSetExternalProgramPath),
          static_cast<QWidget*>(ui->btnSetExternalProgramPath), static_cast<QWidget*>(ui->btnRunCalculation),
          static_cast<QWidget*>(ui->frameMopac), static_cast<QWidget*>(ui->frameOrca)})
        widget->setEnabled(!running);
    // Usable only with an output of the last run to show.
    ui->btnShowAbsorptionSpectrumModule->setEnabled(!running && !spectrumOutput.isEmpty());
    if (isMopacPage())
        frmMopacKeywords->setEnabled(!running);
    else
        frmOrcaKeywords->setEnabled(!running);
    ui->btnStopCalculation->setEnabled(running);
}

void OrvaneFrmExternalCalculationModule::problemDuringCalculation(const QString& message)
{
    if (sender() && sender() != calculationThread)
        return;
    // A child that fails to start reports it more than once; one box is
    // enough. A run already ending needs none.
    if (runState != RunState::FirstPass && runState != RunState::SecondPass)
        return;
    runState = RunState::Failing;
    // Ended before the box: a child that refuses to run may wait for input,
    // and the box may stay open for long.
    if (calculationThread)
        calculationThread->killProcess();
    dialogOpen = true;
    OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), message);
    dialogOpen = false;
    runDeferredFinish();
}

void OrvaneFrmExternalCalculationModule::on_btnStopCalculation_clicked()
{
    if (!isRunning())
        return;
    dialogOpen = true;
    const QMessageBox::StandardButton answer = OrvaneDialogs::question(
        this, QStringLiteral("ORVANE Question"),
        QStringLiteral("Are you sure you want to cancel the current calculation?"),
        QMessageBox::Yes | QMessageBox::No);
    dialogOpen = false;
    if (answer != QMessageBox::No && isRunning()) {
        runState = RunState::Stopping;
        setCalculationRunning(false);
        if (calculationThread)
            calculationThread->killProcess();
    }
    runDeferredFinish();
}

void OrvaneFrmExternalCalculationModule::runDeferredFinish()
{
    if (finishPending && !dialogOpen) {
        finishPending = false;
        finishPass();
    }
}

void OrvaneFrmExternalCalculationModule::threadFinish()
{
    // Only the current runner's end counts: a replaced runner's end may still
    // be queued.
    if (sender() && sender() != calculationThread)
        return;
    finishPass();
}

void OrvaneFrmExternalCalculationModule::finishPass()
{
    if (dialogOpen) {
        finishPending = true;
        return;
    }
    // No run to end: its end was judged, or it never started.
    if (runState == RunState::Idle)
        return;
    if (outputFollower->isFollowing())
        updateOutputFileViewer(outputFollower->fileName());

    if (runState == RunState::FirstPass && !isMopacPage()) {
        // The second pass takes its excitation window from the first pass's
        // output; a first pass that did not end normally cannot supply it.
        if (OrvaneExternalRun::isSuccessfulOutput(program, run.followedOutput())) {
            runCalculation(true);
            return;
        }
        runState = RunState::Failing;
    }
    judgeRun();
}

void OrvaneFrmExternalCalculationModule::judgeRun()
{
    const bool terminated = runState == RunState::Stopping;
    const bool failed = runState == RunState::Failing;
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleExternal, calculationTitle() + QStringLiteral(" was successfully ")
                            + (terminated ? QStringLiteral(" terminated.") : QStringLiteral("finished."))));
    // The output was read a last time; later changes in its folder (the
    // clean-up below, another project) must not reach the viewer.
    outputFollower->stop();
    setCalculationRunning(false);
    runState = RunState::Idle;

    // The output the external program actually wrote: for MOPAC beside the
    // input, for ORCA in the work folder for a run from a MOPAC output,
    // beside a chosen ORCA input otherwise.
    const bool succeeded = !terminated && !failed
                           && OrvaneExternalRun::isSuccessfulOutput(program, run.followedOutput());

    OrvaneExternalRun::ResultMove moved;
    const QStringList removed = run.deleteSideFiles(sideFilesAtStart);
    // Where this run's output stands now, which need not be the file of the
    // judged name beside the input (that may be an earlier run's).
    QString output = run.followedOutput();
    if (isMopacPage()) {
        for (const QString& name : removed)
            emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
                moduleGeometry, QStringLiteral("File ") + name
                                    + QStringLiteral(" was deleted after the geometry optimization.")));
    } else {
        // Results replace those of an earlier run only as a whole set, and
        // only when the new run succeeded.
        if (succeeded && run.source() == OrvaneExternalRun::Source::MopacOutput) {
            moved = run.moveOrcaResults();
            output = moved.output;
        }
        offerSpectrum(output);
    }
    // The work files are judged and moved: another run may take them.
    workFilesClaim.reset();

    const QString kind = isMopacPage() ? mopacCalculationKind : orcaCalculationKind;
    dialogOpen = true;
    if (terminated) {
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   kind + QStringLiteral("was terminated successfully."));
    } else if (!succeeded) {
        QString text = kind + QStringLiteral("did not successfully finish. There has been an error in the "
                                             "calculation. \n Please, check the output file of the external "
                                             "program to identify the possible errors.");
        // The output of a run from a MOPAC output stays in the work folder;
        // a file of its name beside the input is an earlier run's.
        if (!isMopacPage() && run.source() == OrvaneExternalRun::Source::MopacOutput && !spectrumOutput.isEmpty())
            text += QStringLiteral("\n\nThe output of this run is ") + spectrumOutput
                    + (QFileInfo::exists(run.orcaResultFile())
                           ? QStringLiteral("\n(") + run.orcaResultFile() + QStringLiteral(" is from an earlier run.)")
                           : QString());
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Information"), text);
    } else if (!moved.succeeded()) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), kind + resultsNotPlacedText(moved));
    } else {
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   kind + QStringLiteral("finished sucessfully."));
    }
    dialogOpen = false;
    finishPending = false;
}
