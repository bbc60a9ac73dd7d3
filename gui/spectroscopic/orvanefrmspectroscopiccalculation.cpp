#include "orvanefrmspectroscopiccalculation.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "glmolecule.h"
#include "orvanedialogs.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmsearching.h"
#include "orvanescreenplacement.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvaneoptionwindow.h"
#include "orvanereportfile.h"
#include "threadadjustomega.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDebug>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QString hintStyle = QStringLiteral("color: rgb(158, 158, 158);");
const QString mopacHint = QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");
const QString orcaHint = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
const QString gaussianHint = QStringLiteral("Drag and drop a .log file here OR click on button Open to open it");
const QString defaultPartition = QStringLiteral("LIG1 2 3\nLIG2 4 5\nLIG3 6 7");
const QString qdcLabel = QStringLiteral("Intensity Parameters Calculation by QDC Adjustment");
const QString previousSchemeLabel = QStringLiteral("Intensity Parameters Calculation by Previous Adjustment Scheme");

// The wait cursor for the life of the object, restored on every way out.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

const QString OrvaneFrmSpectroscopicCalculation::citationsHeader =
    QStringLiteral("------------------------------------------------------\n"
                   "      Required Citations for this Calculation         \n"
                   "------------------------------------------------------\n\n");

bool OrvaneFrmSpectroscopicCalculation::fitsInTab(const qint64& bytes)
{
    return bytes / 1048576 < 100;
}

OrvaneFrmSpectroscopicCalculation::OrvaneFrmSpectroscopicCalculation(QWidget* parent, const int& mode)
    : AbstractObjCalculationWidget(parent)
    , mode(mode)
    , ui(std::make_unique<Ui::OrvaneFrmSpectroscopicCalculation>())
{
    ui->setupUi(this);

    ui->lblKindOfParametrization->hide();
    ui->gbxConventionalParametrization->hide();
    ui->gbxParametrizationQDC->hide();
    ui->frameAradPartition->hide();

    ui->plainTextEditAradPartition->setPlainText(defaultPartition);
    ui->plainTextEditAradPartition->setEnabled(false);
    ui->btnPartitionOpen->setEnabled(false);
    ui->btnPartitionSave->setEnabled(false);

    // Only the conventional methodologies are offered.
    ui->gbxCalculationOptions->hide();
    citations = citationsHeader;

    // Parented to the form, not to the window: the window holds a page of
    // each mode, whose equal keys would be ambiguous and never fire. Only the
    // visible page's shortcuts are active.
    auto addShortcut = [this](const char* keys, QAbstractButton* button) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        // click() does nothing on a disabled button.
        connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    };

    if (mode == 0) {
        ui->edtMopacOut->setToolTip(mopacHint);
        frmOmegaPrinting = std::make_unique<OrvaneFrmOmegaPrinting>();
        OrvaneOptionWindow::configure(frmOmegaPrinting.get(), QPoint(400, 200));
        frmOmegaParametrization = std::make_unique<OrvaneFrmOmegaParametrization>();
        connect(frmOmegaParametrization.get(), &OrvaneFrmOmegaParametrization::valueChanged, this,
                &OrvaneFrmSpectroscopicCalculation::coordNumberValueChanged);
        frmSetParametersQDC = std::make_unique<OrvaneFrmSetParametersQDC>();
        connect(frmSetParametersQDC.get(), &OrvaneFrmSetParametersQDC::valueChanged, this,
                &OrvaneFrmSpectroscopicCalculation::coordNumberValueChanged);
        frmSetGandAlpha = std::make_unique<OrvaneFrmSetGandAlpha>();
        threadAdjustOmega = std::make_unique<ThreadAdjustOmega>();
        connect(threadAdjustOmega.get(), &QThread::finished, this,
                &OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated);

        progressDialog = new QProgressDialog(tr("Intensity Parameters Calculations ..."), tr("Cancel"), 1, 10000,
                                             this, Qt::WindowTitleHint);
        progressDialog->reset();
        progressDialog->cancel();
        progressDialog->setWindowModality(Qt::WindowModal);
        progressDialog->setGeometry(400, 200, 0, 0);
        connect(progressDialog, &QProgressDialog::canceled, this,
                &OrvaneFrmSpectroscopicCalculation::cancelParametrization);

        auto* viewerLayout = new QVBoxLayout;
        glMolecule = new GLMolecule(ui->dockWidgetContents);
        glMolecule->setToolTip(tr("The molecule viewer allows the visualization of the ligand atom labels, helping "
                                  "in the choice of charge factors and polarizabilities of the respective groups."));
        glMolecule->setStyle(GLMolecule::BallsAndSticks);
        viewerLayout->addWidget(glMolecule);
        connect(&molecule, &Molecule::newObjCalculationMessage, this, &OrvaneFrmSpectroscopicCalculation::processStatus);
        ui->dockWidgetContents->setLayout(viewerLayout);
        ui->dockWidget->setFeatures(QDockWidget::DockWidgetFloatable);

        ui->lblOpenOrcaFile->hide();
        ui->btnSaveOutputFile->hide();
        showDropHint(ui->edtMopacOut);
        ui->lblKindOfParametrization->show();
        ui->lblKindOfParametrization->setText(qdcLabel);
        addShortcut("Ctrl+O", ui->btnChooseMopacOut);
    } else {
        ui->edtZindoOut->setToolTip(orcaHint);
        frmTransferMechanisms = std::make_unique<OrvaneFrmTransferMechanisms>();
        frmTransferMechanisms->ui.lblNOverlapIntegral->hide();
        frmTransferMechanisms->ui.sbxNOverlapIntegral->hide();
        OrvaneOptionWindow::configure(frmTransferMechanisms.get(), QPoint(400, 400));
        frmSpecPrinting = std::make_unique<OrvaneFrmSpecPrinting>();
        OrvaneOptionWindow::configure(frmSpecPrinting.get(), QPoint(400, 200));
        frmSetTheorecticalOmega = std::make_unique<OrvaneFrmSetTheorecticalOmega>();
        ui->stackedWidget->hide();
        // Unchecks the Gaussian option, which sets rlProgram to ORCA.
        ui->rdbOrcaOutput->setChecked(true);
        showDropHint(ui->edtZindoOut);
        addShortcut("Ctrl+O", ui->btnChooseZindoOut);
        addShortcut("Ctrl+S", ui->btnSaveOutputFile);
    }

    findBar = new OrvaneFrmSearching;
    ui->vLayoutFrmSearchingAndTabWidget->addWidget(findBar);
    findBar->hide();

    for (QWidget* widget : {static_cast<QWidget*>(ui->lblMopacForceOut), static_cast<QWidget*>(ui->edtMopacForceOut),
                            static_cast<QWidget*>(ui->btnChooseMopacForceOut)}) {
        widget->hide();
        widget->setEnabled(false);
    }

    loadLastDirectory();
    connect(ui->tabWidgetViewFiles, &QTabWidget::currentChanged, this,
            &OrvaneFrmSpectroscopicCalculation::setPlainTextEdit);
    configureInterface();
    createFileTabs();

    addShortcut("Ctrl+F", ui->btnFind);
    addShortcut("Ctrl+R", ui->btnCalculate);
    if (mode != 0)
        addShortcut("Ctrl+T", ui->btnTransferMechanisms);
}

OrvaneFrmSpectroscopicCalculation::~OrvaneFrmSpectroscopicCalculation()
{
    if (!mopacFile.isEmpty())
        saveLastDirectory(QFileInfo(mopacFile).absolutePath());
    // A running fit is stopped and waited for before anything it uses goes.
    threadAdjustOmega.reset();
    // The viewer draws the form's molecule, which goes before the viewer's
    // Qt parent would delete it.
    delete glMolecule;
    glMolecule = nullptr;
}

// ---------------------------------------------------------------------------
// Construction and the small switches

QString OrvaneFrmSpectroscopicCalculation::getDropHint() const
{
    if (mode == 0)
        return mopacHint;
    if (mode == 2 && ui->rdbOrcaOutput->isChecked())
        return orcaHint;
    if (mode == 2 && ui->rdbZindoOutput->isChecked())
        return gaussianHint;
    return QString();
}

void OrvaneFrmSpectroscopicCalculation::showDropHint(QLineEdit* edit)
{
    edit->setText(getDropHint());
    edit->setStyleSheet(hintStyle);
}

void OrvaneFrmSpectroscopicCalculation::showInputPanel(QWidget* panel)
{
    QStackedWidget* stack = ui->stackedInputData;
    if (stack->currentWidget() == panel)
        return;
    // The panel taken out keeps its state and is hidden.
    if (QWidget* current = stack->currentWidget())
        stack->removeWidget(current);
    stack->addWidget(panel);
    stack->setCurrentWidget(panel);
}

void OrvaneFrmSpectroscopicCalculation::configureInterface()
{
    switch (mode) {
    case 0:
        ui->lblTitle->setText(tr("Module 3.2: Theoretical Calculation of the Intensity Parameters"));
        break;
    case 1:
        ui->lblTitle->setText(tr("Module 3.3: Energy Transfer Rate and Emission Quantum Yield Calculations"));
        break;
    case 2:
        ui->lblTitle->setText(tr("Module 3.3: Energy Transfer Rates and Quantum Yield"));
        break;
    default:
        qDebug() << "OrvaneFrmSpectroscopicCalculation: unknown mode" << mode;
        return;
    }

    if (mode == 0) {
        showInputPanel(frmOmegaParametrization.get());
        // The QDC fit starts chosen: no atom groups.
        frmOmegaParametrization->ui.stackedSetLigandsOnMetal->hide();
    } else {
        showInputPanel(frmSetTheorecticalOmega.get());
    }

    const bool m12 = mode == 1 || mode == 2;
    ui->frameSpecFile->setVisible(m12);
    ui->edtZindoOut->setVisible(m12);
    ui->btnChooseZindoOut->setVisible(m12);
    ui->cbxShowMoleculeViewer->setVisible(!m12);
    ui->lblOpenOrcaFile->hide();
    ui->btnCalculate->setEnabled(false);
    ui->lblLifeTime->setVisible(mode == 2);
    ui->sbxLifeTime->setVisible(mode == 2);

    if (mode == 0) {
        for (QWidget* widget :
             {static_cast<QWidget*>(ui->lblSingletLevel), static_cast<QWidget*>(ui->sbxSingletLevel),
              static_cast<QWidget*>(ui->lblTripletLevel), static_cast<QWidget*>(ui->sbxTripletLevel),
              static_cast<QWidget*>(ui->btnTransferMechanisms)})
            widget->hide();
        ui->gbxConventionalParametrization->show();
        ui->gbxParametrizationQDC->show();
        ui->frameAradPartition->show();
        ui->gbxParametrizationQDC->setChecked(true);
    } else {
        ui->lblTripletLevel->show();
        ui->sbxTripletLevel->show();
        ui->btnTransferMechanisms->show();
        for (QWidget* widget :
             {static_cast<QWidget*>(ui->gbxConventionalParametrization),
              static_cast<QWidget*>(ui->gbxParametrizationQDC), static_cast<QWidget*>(ui->frameAradPartition),
              static_cast<QWidget*>(ui->frameMopacFile), static_cast<QWidget*>(ui->edtMopacOut),
              static_cast<QWidget*>(ui->btnChooseMopacOut)})
            widget->hide();
    }
}

void OrvaneFrmSpectroscopicCalculation::createFileTabs()
{
    const QStringList titles = mode == 0 ? QStringList{tr("MOPAC .out File "), tr("ORVANE .omega File")}
                                         : QStringList{tr("ORCA .orcout File"), tr("ORVANE .orvane File")};
    for (const QString& title : titles) {
        // Read-only views that take no drops: a dropped path would replace
        // the report that Save writes.
        auto* view = new QPlainTextEdit(ui->tabWidgetViewFiles);
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setAcceptDrops(false);
        view->viewport()->setAcceptDrops(false);
        ui->tabWidgetViewFiles->addTab(view, title);
    }
}

void OrvaneFrmSpectroscopicCalculation::updateParametrizationPanel()
{
    const bool fit = (ui->gbxParametrizationQDC->isChecked() && ui->rdbParametrizationQDC->isChecked())
        || (ui->gbxConventionalParametrization->isChecked() && ui->rdbConventionalParametrization->isChecked());
    ui->lblKindOfParametrization->setVisible(fit);

    if (ui->gbxParametrizationQDC->isChecked()) {
        frmOmegaParametrization->ui.stackedSetLigandsOnMetal->hide();
        ui->lblKindOfParametrization->setText(qdcLabel);
        showInputPanel(fit ? static_cast<QWidget*>(frmOmegaParametrization.get())
                           : static_cast<QWidget*>(frmSetParametersQDC.get()));
    } else if (ui->gbxConventionalParametrization->isChecked()) {
        frmOmegaParametrization->ui.stackedSetLigandsOnMetal->show();
        ui->lblKindOfParametrization->setText(previousSchemeLabel);
        if (fit) {
            showInputPanel(frmOmegaParametrization.get());
        } else {
            showInputPanel(frmSetGandAlpha.get());
            if (!mopacFile.isEmpty()) {
                frmSetGandAlpha->structureFileType = omegaInputType;
                frmSetGandAlpha->structureFile = mopacFile;
                frmSetGandAlpha->updateTable();
            }
        }
    }
}

void OrvaneFrmSpectroscopicCalculation::on_gbxConventionalParametrization_toggled(bool state)
{
    if (mode != 0)
        return;
    ui->gbxParametrizationQDC->setChecked(!state);
    updateParametrizationPanel();
}

void OrvaneFrmSpectroscopicCalculation::on_gbxParametrizationQDC_toggled(bool state)
{
    if (mode != 0)
        return;
    if (state)
        ui->rdbMopacOut->setChecked(true);
    ui->gbxConventionalParametrization->setChecked(!state);
    ui->frameAradPartition->setVisible(state);
    updateParametrizationPanel();
}

void OrvaneFrmSpectroscopicCalculation::on_rdbGandAlpha_toggled(bool)
{
    if (mode == 0)
        updateParametrizationPanel();
}

void OrvaneFrmSpectroscopicCalculation::on_rdbSetParametersQDC_toggled(bool)
{
    if (mode == 0)
        updateParametrizationPanel();
}

void OrvaneFrmSpectroscopicCalculation::on_rdbZindoOutput_toggled(bool checked)
{
    rlProgram = checked ? 2 : 1;
    ui->tabWidgetViewFiles->setTabText(0, checked ? tr("GAUSSIAN Output") : tr("ORCA Output"));
    const QString text = ui->edtZindoOut->text();
    if (text.contains(orcaHint) || text.contains(gaussianHint))
        ui->edtZindoOut->setText(getDropHint());
}

void OrvaneFrmSpectroscopicCalculation::on_btnPrintingOptions_clicked()
{
    if (mode == 0)
        frmOmegaPrinting->show();
    else
        frmSpecPrinting->show();
}

void OrvaneFrmSpectroscopicCalculation::on_btnTransferMechanisms_clicked()
{
    if (frmTransferMechanisms)
        frmTransferMechanisms->show();
}

void OrvaneFrmSpectroscopicCalculation::on_btnFind_clicked()
{
    if (auto* field = findBar->findChild<QLineEdit*>(QStringLiteral("edtFind")))
        field->setFocus();
    findBar->show();
}

void OrvaneFrmSpectroscopicCalculation::on_cbxShowMoleculeViewer_toggled(bool checked)
{
    ui->stackedWidget->setVisible(checked);
}

void OrvaneFrmSpectroscopicCalculation::on_dockWidget_topLevelChanged(bool topLevel)
{
    if (topLevel)
        OrvaneScreenPlacement::centreOnItsScreen(ui->dockWidget);
}

void OrvaneFrmSpectroscopicCalculation::printMessage(QString message)
{
    qDebug() << message;
}

// ---------------------------------------------------------------------------
// Input side

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacOut_clicked()
{
    // Choosing and loading a structure: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacForceOut_clicked()
{
    // Choosing and loading a force-constant output: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseZindoOut_clicked()
{
    // Choosing and loading an excited-state output: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacOut_textChanged(QString)
{
    // A typed or dropped structure: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_edtZindoOut_textChanged(QString)
{
    // A typed or dropped excited-state output: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacForceOut_textChanged(QString)
{
    // A typed or dropped force-constant output: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_rdbNewMethod_toggled(bool)
{
    // The force-constant methodology is never offered (its group is hidden).
}

void OrvaneFrmSpectroscopicCalculation::on_rdbMopacOut_toggled(bool checked)
{
    if (mode != 0)
        return;
    mopacFile.clear();
    omegaInputType = checked ? 0 : 1;
    ui->tabWidgetViewFiles->setTabText(0, checked ? tr("MOPAC output file (.out)") : tr("MOPAC input file (.mop)"));
    clearProject();
    if (ui->rdbMopFile->isChecked())
        ui->gbxConventionalParametrization->setChecked(true);
}

void OrvaneFrmSpectroscopicCalculation::on_btnClearProject_clicked()
{
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, tr("ORVANE Question"), tr("Are you sure you want to clear the current project?"),
                                QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::No)
        return;
    mopacFile.clear();
    orcaFile.clear();
    clearProject();
}

void OrvaneFrmSpectroscopicCalculation::clearProject()
{
    atomLabels.clear();
    ui->edtMopacOut->clear();
    ui->edtMopacForceOut->clear();
    ui->edtZindoOut->clear();
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->edtMopacForceOut), static_cast<QWidget*>(ui->lblMopacForceOut),
          static_cast<QWidget*>(ui->btnChooseMopacForceOut), static_cast<QWidget*>(ui->btnFind),
          static_cast<QWidget*>(ui->btnCalculate), static_cast<QWidget*>(ui->btnSaveOutputFile)})
        widget->setEnabled(false);
    ui->sbxLifeTime->setValue(0.0);
    for (int index = 0; index < ui->tabWidgetViewFiles->count(); ++index)
        tabView(index)->clear();

    if (mode == 0) {
        Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
        fit.sbxCoordNumber->setValue(1);
        frmOmegaParametrization->selectLigandAtoms->clearGroups();
        fit.sbxOmega2->setValue(0.0);
        fit.sbxOmega4->setValue(0.0);
        fit.sbxPointsNumber->setValue(15000);
        fit.sbxCoordNumber->setMaximum(20);
        Ui::OrvaneFrmSetParametersQDC& qdc = frmSetParametersQDC->ui;
        qdc.sbxCoordNumber->setValue(1);
        qdc.sbxParameterQ->setValue(0.0);
        qdc.sbxParameterD->setValue(0.0);
        qdc.sbxParameterC->setValue(0.0);
        frmSetGandAlpha->clearTable();
        molecule.atoms.clear();
        molecule.bonds.clear();
        glMolecule->setMolecule(&molecule);
        showDropHint(ui->edtMopacOut);
        ui->plainTextEditAradPartition->setPlainText(defaultPartition);
    } else {
        frmSetTheorecticalOmega->clearValues();
        showDropHint(ui->edtZindoOut);
    }
    citations = citationsHeader;
}

void OrvaneFrmSpectroscopicCalculation::coordNumberValueChanged(int)
{
    // The coordination number shared by the panels: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionOpen_clicked()
{
    // The ligand partition file: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionSave_clicked()
{
    // The ligand partition file: see the loading of input files.
}

void OrvaneFrmSpectroscopicCalculation::on_chbAradPartition_toggled(bool state)
{
    ui->btnPartitionOpen->setEnabled(state);
    ui->btnPartitionSave->setEnabled(state);
    ui->plainTextEditAradPartition->setEnabled(state);
}

// ---------------------------------------------------------------------------
// Runs and fits

void OrvaneFrmSpectroscopicCalculation::on_btnCalculate_clicked()
{
    // The dispatcher of the runs and fits comes with the runs.
    citations = citationsHeader;
}

void OrvaneFrmSpectroscopicCalculation::errorOmegaCalculation(QString)
{
    // Failure of a fit's evaluation: see the fits.
}

void OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated()
{
    // End of a fit: see the fits.
}

void OrvaneFrmSpectroscopicCalculation::cancelParametrization()
{
    // Cancelling a fit: see the fits.
}

// ---------------------------------------------------------------------------
// Output side

QPlainTextEdit* OrvaneFrmSpectroscopicCalculation::tabView(const int& index) const
{
    return qobject_cast<QPlainTextEdit*>(ui->tabWidgetViewFiles->widget(index));
}

void OrvaneFrmSpectroscopicCalculation::setPlainTextEdit(const int& index)
{
    if (QPlainTextEdit* view = tabView(index))
        findBar->plainTextEdit = view;
}

bool OrvaneFrmSpectroscopicCalculation::loadFileInTab(const QString& fileName, const int& tabIndex)
{
    QPlainTextEdit* view = tabView(tabIndex);
    if (!view)
        return false;
    findBar->plainTextEdit = view;
    QString problem;
    {
        WaitCursor wait;
        QFile file(fileName);
        if (!QFileInfo(fileName).isFile())
            problem = tr("The file %1 cannot be shown: it is not a regular file.").arg(fileName);
        else if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            problem = tr("The file %1 cannot be read:\n%2").arg(fileName, file.errorString());
        else if (!fitsInTab(file.size()))
            problem = tr("The file %1 is not shown: it has 100 MB or more.").arg(fileName);
        else
            view->setPlainText(QString::fromUtf8(file.readAll()));
    }
    ui->tabWidgetViewFiles->setCurrentIndex(tabIndex);
    if (problem.isEmpty())
        return true;
    // The tab is headed by the new file: it never shows the previous one.
    view->clear();
    OrvaneDialogs::warning(this, tr("ORVANE Warning"), problem);
    return false;
}

void OrvaneFrmSpectroscopicCalculation::showOutput(const QString& text)
{
    ui->tabWidgetViewFiles->setCurrentIndex(1);
    QPlainTextEdit* view = tabView(1);
    findBar->plainTextEdit = view;
    WaitCursor wait;
    view->setPlainText(text);
    view->appendPlainText(citations);
}

bool OrvaneFrmSpectroscopicCalculation::writeOutputFile(const QString& fileName)
{
    QString reason;
    if (OrvaneReportFile::write(fileName, tabView(1)->toPlainText() + QStringLiteral("\n\n\n"), reason))
        return true;
    OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
    return false;
}

QString OrvaneFrmSpectroscopicCalculation::besideInput(const QString& input, const QString& extension)
{
    const QFileInfo info(input);
    return info.absolutePath() + QLatin1Char('/') + info.baseName() + QLatin1Char('.') + extension;
}

void OrvaneFrmSpectroscopicCalculation::saveOutputBesideInput()
{
    const QString path = mode == 0 ? besideInput(mopacFile, QStringLiteral("omega"))
                                   : besideInput(orcaFile, QStringLiteral("orvane"));
    if (QFileInfo::exists(path)) {
        const QMessageBox::StandardButton answer = OrvaneDialogs::question(
            this, tr("ORVANE Question"),
            tr("The destination already has a file named\n") + path
                + tr("\nAre you sure you want to replace the file in the destination?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::No)
            return;
    }
    if (writeOutputFile(path))
        OrvaneDialogs::information(this, QStringLiteral("Information"),
                                   tr("The file was successfully created at ") + path);
}

QString OrvaneFrmSpectroscopicCalculation::getSaveOutputFileName(const QString& extension)
{
    return OrvaneDialogs::saveFileName(this, tr("Save ORVANE .orvane File"), lastDirectory,
                                       tr("ORVANE .orvane File (*.%1)").arg(extension));
}

void OrvaneFrmSpectroscopicCalculation::on_btnSaveOutputFile_clicked()
{
    const QString name = getSaveOutputFileName(QStringLiteral("orvane"));
    if (name.isEmpty())
        return;
    if (writeOutputFile(name))
        OrvaneDialogs::information(this, tr("ORVANE Information"),
                                   tr("The ORVANE output file was successfully created at: \n") + name);
}
