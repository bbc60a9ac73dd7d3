#ifndef ORVANEFRMEXTERNALCALCULATIONMODULE_H
#define ORVANEFRMEXTERNALCALCULATIONMODULE_H

#include "abstractobjcalculationwidget.h"
#include "molecule.h"
#include "orvaneexternalrun.h"

#include <QString>
#include <QStringList>

#include <memory>

class GLMolecule;
class MyThread;
class OrvaneFrmMopacKeywords;
class OrvaneFrmOrcaKeywords;
class OrvaneFrmSearching;
class OrvaneOutputFollower;
class QCheckBox;
class QLockFile;
class QPlainTextEdit;

namespace Ui {
class OrvaneFrmExternalCalculationModule;
}

// The page on which an external quantum-chemistry program is prepared, run,
// followed, stopped and judged. Mode 0 runs MOPAC geometry optimisations from
// a MOL2 drawing or a MOPAC input (and views MOPAC outputs with a 3-D view of
// the molecule); mode 1 runs ORCA excited-state calculations in two passes
// from a MOPAC output, with the ion replaced by point charges, or once more
// from a ready ORCA input.
//
// The names of a run and the clean-up after it live in OrvaneExternalRun;
// the output is followed by OrvaneOutputFollower; the page keeps the widgets
// and the run's state.
class OrvaneFrmExternalCalculationModule : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    // mode 0: MOPAC page, mode 1: ORCA page.
    OrvaneFrmExternalCalculationModule(QWidget* parent, const int& mode);
    ~OrvaneFrmExternalCalculationModule() override;

    // The message-box kinds of the end of a run, each with its trailing blank.
    static const QString mopacCalculationKind;
    static const QString orcaCalculationKind;

signals:
    // Emitted by the absorption-spectrum button: first (3, the ORCA output of
    // the last run), then (2).
    void showAbsorptionSpectrumCalculationModule(const int& index, const QString& fileName);
    void showAbsorptionSpectrumCalculationModule(const int& index);

private slots:
    void on_btnChooseFile_clicked();
    void on_btnClearProject_clicked();
    void on_btnStopCalculation_clicked();
    void on_edtFile_textChanged(const QString& text);
    void on_rdbVisualizeMopacOutput_toggled(bool checked);
    void on_btnShowAbsorptionSpectrumModule_clicked();
    void on_btnRunCalculation_clicked();
    void on_dockWidget_topLevelChanged(bool topLevel);
    void on_rdbMOL2File_toggled(bool checked);
    void on_rdbMopFile_toggled(bool checked);
    void on_rdbMopacOut1_toggled(bool checked);
    void on_rdbMopacOut2_toggled(bool checked);
    void on_rdbOrcaInput_toggled(bool checked);
    void on_btnFind_clicked();
    void processState(const QString& processStateMessage);
    void on_cbxShowMoleculeViewer_toggled(bool checked);
    void on_btnSetExternalProgramPath_clicked();
    void problemDuringCalculation(const QString& message);
    void threadFinish();
    void setPlainTextEdit(int index);
    void updateOutputFileViewer(const QString& changedFileName);
    void showAtomLabels(bool isClicked);

private:
    // Page and files.
    void createViewerTabs();
    void acceptInputFile();
    // The reason, when given, says why in the line that announces a reset
    // model; without one the project was cleared.
    void clearProject(const QString& reason = QString());
    QString inputFileHint() const;
    void showInputFileHint();
    void loadProgramPath();
    void showProgramPath(const bool& shown);
    void fillModelList(const bool& knownProgram);
    QString currentModel() const;
    // The page, not the user, changed the model: the status panel says from
    // which to which and why, so that a run never uses a model unnoticed.
    void announceModelReset(const QString& previousModel, const QString& reason);
    static void saveMopacPath(const QString& path);
    static void saveOrcaPath(const QString& path);
    void showMolecule();
    bool loadFileIntoTab(const QString& fileName, const int& index);
    QPlainTextEdit* tabView(int index) const;

    // Runs.
    // Where a run stands. A run from a MOPAC output (and a chosen ORCA input)
    // runs ORCA twice; a problem reported by the runner or a first pass
    // without its normal end makes it Failing (no further pass, judged as
    // failed); Stopping waits for the runner that the user ended.
    enum class RunState { Idle, FirstPass, SecondPass, Failing, Stopping };
    bool isRunning() const;
    void runCalculation(const bool& secondPass);
    // On failure the box shows why, and *reason holds it.
    bool createMopFile(QString* reason);
    bool createOrcaInputFile(const QString& workInput, const bool& secondPass, QString* reason);
    // Takes the lock on next's work files for the whole run; false, with the
    // reason, when another run holds it or it cannot be made.
    bool claimWorkFiles(const OrvaneExternalRun& next, QString* reason);
    void setCalculationRunning(const bool& running);
    void finishPass();
    void judgeRun();
    void abandonRun(const QString& reason);
    // Makes `output` (this run's ORCA output) the file the absorption-spectrum
    // button opens when it holds anything, and says so where it is not the
    // file of the judged name beside the input.
    void offerSpectrum(const QString& output);
    QString calculationTitle() const;
    void appendOutputText(const QString& text);
    void runDeferredFinish();
    // The run the page's input and choices describe now.
    OrvaneExternalRun currentRun(const QString& workFolder = QString()) const;
    bool isMopacPage() const { return program == OrvaneExternalRun::Program::Mopac; }

    // Derived names.
    QString inputFolder() const;
    QString orcaResultFile() const;

    std::unique_ptr<Ui::OrvaneFrmExternalCalculationModule> ui;

    OrvaneExternalRun::Program program = OrvaneExternalRun::Program::Mopac;
    RunState runState = RunState::Idle;
    // A box of this page is open: the end of a pass waits until it closes
    // (finishPending), so that a run is never judged from inside another box.
    bool dialogOpen = false;
    bool finishPending = false;
    QString inputFileName;
    // The names of the running (or last) pass.
    OrvaneExternalRun run;
    // The program's side files as they stood when the run's first pass
    // started: the clean-up removes only those the run wrote.
    OrvaneExternalRun::SideFiles sideFilesAtStart;
    // The lock on the work files of a run from a MOPAC output, held until
    // the run has been judged (its results moved or left).
    std::unique_ptr<QLockFile> workFilesClaim;
    // The ORCA output the absorption-spectrum button opens: the last run's
    // own, wherever it stayed; empty while a run goes, before the first run
    // of an input, and when the run left none (the button is then off).
    QString spectrumOutput;
    // Follows the output of the running pass into viewer tab 1, reading only
    // what was added.
    OrvaneOutputFollower* outputFollower = nullptr;
    QString programPath;
    MyThread* calculationThread = nullptr;
    OrvaneFrmSearching* frmSearching = nullptr;
    OrvaneFrmMopacKeywords* frmMopacKeywords = nullptr;
    OrvaneFrmOrcaKeywords* frmOrcaKeywords = nullptr;
    GLMolecule* glMolecule = nullptr;
    QCheckBox* cbxShowAtomLabels = nullptr;
    Molecule molecule;
};

#endif
