#ifndef ORVANEFRMEXTERNALCALCULATIONMODULE_H
#define ORVANEFRMEXTERNALCALCULATIONMODULE_H

#include "abstractobjcalculationwidget.h"
#include "molecule.h"

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
// Names used below: I is the accepted input file, D its folder, b its base
// name (up to the first dot) without blanks and commas, T the private
// temporary folder, W = T/b.orcinp the ORCA work input.
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
    void clearProject();
    QString inputFileHint() const;
    void showInputFileHint();
    void loadProgramPath();
    void showProgramPath(const bool& shown);
    void fillModelList(const bool& knownProgram);
    static void saveMopacPath(const QString& path);
    static void saveOrcaPath(const QString& path);
    void showMolecule();
    bool loadFileIntoTab(const QString& fileName, const int& index);
    QPlainTextEdit* tabView(int index) const;

    // Runs.
    void runCalculation();
    // On failure the box shows why, and *reason holds it.
    bool createMopFile(QString* reason);
    bool createOrcaInputFile(const bool& secondPass, QString* reason);
    void setCalculationRunning(const bool& running);
    bool isCalculationSuccessful(const QString& outputFileName) const;
    void deleteMopacAuxiliaryFiles();
    void deleteOrcaAuxiliaryFiles();
    QStringList moveOrcaResults();
    void finishPass();
    void judgeRun();
    void abandonRun(const QString& reason);
    static QString calculationTitle(const int& mode);
    void appendOutputText(const QString& text);
    void runDeferredFinish();

    // Derived names.
    QString inputFolder() const;
    QString cleanBaseName() const;
    static QString withExtension(const QString& fileName, const QString& extension);
    QString orcaResultFile() const;
    static QString statusLine(const QString& module, const QString& text);

    std::unique_ptr<Ui::OrvaneFrmExternalCalculationModule> ui;

    int mode = 0;
    bool orcaSecondPass = false;
    bool calculationTerminated = false;
    // A problem (the runner's report, a first ORCA pass without its normal
    // end) was seen in the current run: no further pass, judged as failed.
    bool calculationFailed = false;
    bool calculationRunning = false;
    // A box of this page is open: the end of a pass waits until it closes,
    // so that a run is never judged from inside another box.
    bool dialogOpen = false;
    bool finishPending = false;
    bool problemShown = false;
    QString inputFileName;
    QString orcaInputFileName;
    // The output of the running pass, as the external program writes it.
    QString followedOutputFile;
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
