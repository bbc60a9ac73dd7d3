#ifndef ORVANEFRMSPECTROSCOPICCALCULATION_H
#define ORVANEFRMSPECTROSCOPICCALCULATION_H

#include "abstractobjcalculationwidget.h"
#include "molecule.h"
#include "orvanefitsummary.h"
#include "orvanetextbytes.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class GLMolecule;
class OrvaneOmega;
class OrvaneSpectroscopicCalculation;
struct OmegaPrintingOptions;
class OrvaneFrmOmegaParametrization;
class OrvaneAbstractParametric;
class OrvaneGSA;
class OrvaneFrmOmegaPrinting;
class OrvaneFrmSearching;
class OrvaneFrmSetGandAlpha;
class OrvaneFrmSetParametersQDC;
class OrvaneFrmSetTheorecticalOmega;
class OrvaneFitRunner;
class OrvaneFrmSpecPrinting;
class OrvaneFrmTransferMechanisms;
class OrvaneUnsavedNotice;
class QLineEdit;
class QPlainTextEdit;

namespace Ui {
class OrvaneFrmSpectroscopicCalculation;
}

// The calculation page of Module 3, in one of three modes fixed at
// construction:
// 0 intensity parameters of a complex from its MOPAC geometry (typed charge
//   factors and polarizabilities, typed QDC parameters, or fits);
// 1 energy-transfer rates only (no page creates it);
// 2 energy-transfer rates and, with a measured lifetime, the quantum yield,
//   from an ORCA or Gaussian excited-state output.
// Tab 0 shows the input file, tab 1 the last report with its citation block;
// every report is also saved beside its input.
class OrvaneFrmSpectroscopicCalculation : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    OrvaneFrmSpectroscopicCalculation(QWidget* parent, const int& mode);
    ~OrvaneFrmSpectroscopicCalculation() override;

    // The four lines every citation block starts with.
    static const QString citationsHeader;
    // Output side. A file is shown in tab 0 (the input) or 1 (the report);
    // false, with the tab emptied, its note and a box giving the reason, when
    // it cannot be.
    bool loadFileInTab(const QString& fileName, const int& tabIndex);
    // The report in tab 1, followed by the citation block.
    void showOutput(const QString& text);
    // Tab 1 and three line breaks; false after showing why it failed.
    bool writeOutputFile(const QString& fileName);
    // Tab 1 beside the input: .omega in mode 0, .orvane otherwise.
    void saveOutputBesideInput();
    // The save dialog's filter of `extension`; in mode 0 with the .omega
    // filter as a second choice.
    QString getSaveOutputFileName(const QString& extension);
    static QString omegaSaveFilter();

    // Input side. fileKind 0: the mode's main input (stored in mopacFile or
    // orcaFile), 2: the force-constant output (forceFile).
    void loadInputFile(const int& fileKind);
    // Texts "label k" of the coordinating atoms 2 .. N+1; empty (after saying
    // why) when the structure cannot be read or N is 0.
    QStringList getCoordinatedAtomLabels();

    // Runs. The partition lines must name each coordinating atom (2 .. N+1)
    // exactly once; false after saying what is wrong.
    bool checkLigandPartition(const QStringList& lines, const int& coordinationNumber);
    void getOmegaPrintingOptions(OmegaPrintingOptions& options) const;
    bool checkAndSetOmegaValues(OrvaneSpectroscopicCalculation*& calculation);
    // The partition text as lines the engine reads: commas become blanks,
    // blank lines are left out.
    QStringList ligandPartitionLines() const;

    // Panels of the form's mode; null in the other modes. The option windows
    // and the panels out of the input stack are owned here.
    std::unique_ptr<OrvaneFrmOmegaParametrization> frmOmegaParametrization;
    OrvaneFrmSearching* findBar = nullptr;
    std::unique_ptr<OrvaneFrmSetTheorecticalOmega> frmSetTheorecticalOmega;
    std::unique_ptr<OrvaneFrmTransferMechanisms> frmTransferMechanisms;
    std::unique_ptr<OrvaneFrmSetGandAlpha> frmSetGandAlpha;
    std::unique_ptr<OrvaneFrmSetParametersQDC> frmSetParametersQDC;
    std::unique_ptr<OrvaneFrmSpecPrinting> frmSpecPrinting;
    std::unique_ptr<OrvaneFrmOmegaPrinting> frmOmegaPrinting;
    GLMolecule* glMolecule = nullptr;
    Molecule molecule;

    const int mode;
    // 0 MOPAC output, 1 MOPAC input (.mop).
    int omegaInputType = 0;
    // Program of the excited-state output: 0 ZINDO, 1 ORCA, 2 Gaussian.
    int rlProgram = 0;
    int coordNumber = 0;
    QString mopacFile;
    QString orcaFile;
    QString forceFile;
    // The report a running fit writes.
    QString omegaFile;
    QString citations;
    // " ", then "label k" for every atom k of the loaded structure.
    QStringList atomLabels;

    // Idle, or a fit started and its thread's end not yet handled.
    enum class FitPhase { Idle, Running };
    FitPhase getFitPhase() const;
    // The runner of the fits (worker, progress dialog, driver of the last
    // fit); null outside the intensity mode.
    const OrvaneFitRunner* getFitRunner() const { return fitRunner.get(); }

private slots:
    void on_btnChooseMopacOut_clicked();
    void on_btnChooseMopacForceOut_clicked();
    void on_btnChooseZindoOut_clicked();
    void on_btnCalculate_clicked();
    void on_btnClearProject_clicked();
    void on_btnSaveOutputFile_clicked();
    void on_rdbNewMethod_toggled(bool checked);
    void on_edtMopacOut_textChanged(QString text);
    void on_edtZindoOut_textChanged(QString text);
    void on_edtMopacForceOut_textChanged(QString text);
    void errorOmegaCalculation(QString error);
    void on_gbxConventionalParametrization_toggled(bool state);
    void on_gbxParametrizationQDC_toggled(bool state);
    void on_btnPartitionOpen_clicked();
    void on_btnPartitionSave_clicked();
    void on_chbAradPartition_toggled(bool state);
    void on_btnPrintingOptions_clicked();
    void on_dockWidget_topLevelChanged(bool topLevel);
    void on_btnFind_clicked();
    void on_rdbMopacOut_toggled(bool checked);
    void on_rdbZindoOutput_toggled(bool checked);
    void on_cbxShowMoleculeViewer_toggled(bool checked);
    void on_btnTransferMechanisms_clicked();
    void printMessage(QString message);
    void coordNumberValueChanged(int i);
    void on_rdbGandAlpha_toggled(bool state);
    void on_rdbSetParametersQDC_toggled(bool state);
    void setPlainTextEdit(const int& index);
    void threadAdjustOmegaTerminated();
    void cancelParametrization();

private:
    // Construction.
    void configureInterface();
    void createFileTabs();
    QString getDropHint() const;
    void updateParametrizationPanel();
    void showInputPanel(QWidget* panel);
    void showDropHint(QLineEdit* edit);

    // Input side.
    void clearProject();
    QString getOpenInputFileName(const QString& extension);
    void readExperimentalOmegas();
    void readExperimentalOmegaSideFile();
    // The field shows the stored file, or the hint when there is none.
    void showStoredFile(QLineEdit* edit, const QString& fileName);
    bool calculateCoordinationNumber(const int& structureType);
    void rememberFolderOf(const QString& fileName);
    void readLifeTime();

    // Runs.
    bool calculateOmegaWithForceConstants();
    bool calculateOmegaWithGandAlpha();
    bool calculateOmegaWithParametersQDC();
    bool startParametrization();
    bool startParametrizationQDC();
    // Both fits: false, after a warning, while a fit is still running.
    bool refuseFitWhileRunning();
    // The objects of the previous fit, which no thread uses any more.
    void releaseFitObjects();
    // The summary of the problem of the last fit; empty when there is none.
    OrvaneFitSummary finishedFitSummary() const;
    // Common end of both start functions: the question when the report
    // exists, status line, progress, thread. False when the user keeps the
    // existing report.
    bool runFit(OrvaneGSA* gsa);
    // The question before a report replaces the file `path` beside its input.
    static QString replaceQuestion(const QString& path);
    bool calculateEnergyTransfer();
    bool calculateQuantumYield();

    // The start point the running (or last) fit's driver overwrites in place;
    // the runner keeps that fit's Qt objects (children of the form) and goes
    // first when the form is destroyed.
    std::vector<double> fitStartPoint;
    std::unique_ptr<OrvaneFitRunner> fitRunner;
    // Both transfer runs: the rates alone, or with the quantum yield.
    bool runTransfer(const bool& quantumYield);
    void applySpecPrintingOptions(OrvaneSpectroscopicCalculation*& calculation);
    void applyEnergyTransferChannels(OrvaneSpectroscopicCalculation*& calculation);
    // The engine object of a transfer run with the form's files, levels,
    // index, model, channels and report sections.
    std::unique_ptr<OrvaneSpectroscopicCalculation> createTransferCalculation();
    // The report of a finished run: shown, saved beside the input; false
    // (after showing the engine's reason) when the engine gave no report.
    bool refuseMissingReport(const QString& report, const QString& engineError);
    // The intensity parameters of a prepared engine object with the form's
    // report sections; false after showing the engine's reason.
    bool computeOmega(OrvaneOmega& omega);
    // The end of every intensity run: the report, with the literature of the
    // MOPAC model and of the methods, shown, announced when `announcement`
    // is given, and saved beside the input; false when the engine gave none.
    bool showAndSaveOmegaReport(OrvaneOmega& omega, const QString& methodCitations,
                                const QString& announcement = QString());

    QPlainTextEdit* tabView(const int& index) const;
    // Tab 1, made current and the find bar's target, holding `text`.
    QPlainTextEdit* showInReportTab(const QString& text);
    // The report in tab 1 could not be written (why: `reason`): a notice
    // above the tabs says so and the Save button offers another name.
    void markReportUnsaved(const QString& reason);
    void markReportSaved();
    // After a fit that ended without writing its report: the report the
    // engine kept is shown as unsaved; false when there is none.
    bool showUnwrittenFitReport();
    OrvaneAbstractParametric* fitProblem() const;
    OrvaneUnsavedNotice* unsavedReportNotice = nullptr;
    // How the opened partition file was stored, so that saving it keeps its
    // encoding; UTF-8 for the text the form starts with.
    OrvaneTextBytes::Encoding partitionEncoding;

    std::unique_ptr<Ui::OrvaneFrmSpectroscopicCalculation> ui;
};

#endif
