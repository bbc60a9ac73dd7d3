#include "orvanefrmspectroscopiccalculation.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "glmolecule.h"
#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvanefilenames.h"
#include "orvanefitendmessage.h"
#include "orvanefitrunner.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmsearching.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvanegsa.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"
#include "orvaneomegaexpreportlines.h"
#include "orvaneparametric.h"
#include "orvaneparametricqdc.h"
#include "orvaneoptionwindow.h"
#include "orvaneplatform.h"
#include "orvanereportfile.h"
#include "orvanescreenplacement.h"
#include "orvanespectroscopiccalculation.h"
#include "orvanetextreader.h"
#include "orvanetextfileview.h"
#include "orvanewaitcursor.h"
#include "requiredcitations.h"
#include "threadadjustomega.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDebug>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

const QString hintStyle = QStringLiteral("color: rgb(158, 158, 158);");
const QString mopacHint = QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");
const QString orcaHint = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
const QString gaussianHint = QStringLiteral("Drag and drop a .log file here OR click on button Open to open it");
const QString defaultPartition = QStringLiteral("LIG1 2 3\nLIG2 4 5\nLIG3 6 7");
const QString qdcLabel = QStringLiteral("Intensity Parameters Calculation by QDC Adjustment");
const QString previousSchemeLabel = QStringLiteral("Intensity Parameters Calculation by Previous Adjustment Scheme");

} // namespace

const QString OrvaneFrmSpectroscopicCalculation::citationsHeader = OrvaneAbstractParametric::citationsHeading();

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
        fitRunner = std::make_unique<OrvaneFitRunner>(this, tr("Intensity Parameters Calculations ..."), 10000);
        threadAdjustOmega = fitRunner->thread();
        progressDialog = fitRunner->progressDialog();
        connect(fitRunner.get(), &OrvaneFitRunner::fitEnded, this,
                &OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated);
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
    // A running fit is stopped and waited for before anything it uses goes:
    // a QThread destroyed while running aborts the program.
    fitRunner.reset();
    threadAdjustOmega = nullptr;
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
    // A narrow field shows the hint's first words, not its end.
    edit->setCursorPosition(0);
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
        view->setFont(OrvanePlatform::fileViewFont());
        view->setAcceptDrops(false);
        view->viewport()->setAcceptDrops(false);
        ui->tabWidgetViewFiles->addTab(view, title);
    }
    // Above the tabs, shown while the report in tab 1 exists on screen only.
    unsavedReportNotice = new QLabel(ui->tabWidgetViewFiles->parentWidget());
    unsavedReportNotice->setObjectName(QStringLiteral("lblUnsavedReport"));
    unsavedReportNotice->setWordWrap(true);
    unsavedReportNotice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    unsavedReportNotice->setFrameShape(QFrame::StyledPanel);
    unsavedReportNotice->hide();
    ui->vLayoutFrmSearchingAndTabWidget->insertWidget(
        ui->vLayoutFrmSearchingAndTabWidget->indexOf(ui->tabWidgetViewFiles), unsavedReportNotice);
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
    // The option names Gaussian, but a loaded ZINDO output stays ZINDO.
    if (checked && QFileInfo(orcaFile).suffix() == QLatin1String("zin"))
        rlProgram = 0;
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
        OrvaneScreenPlacement::placeFloatingDock(ui->dockWidget);
}

void OrvaneFrmSpectroscopicCalculation::printMessage(QString message)
{
    qDebug() << message;
}

// ---------------------------------------------------------------------------
// Input side

QString OrvaneFrmSpectroscopicCalculation::getOpenInputFileName(const QString& extension)
{
    if (!mopacFile.isEmpty()) {
        saveLastDirectory(QFileInfo(mopacFile).absolutePath());
        loadLastDirectory();
    }
    QString caption;
    if (extension == QLatin1String("mop"))
        caption = tr("Open MOPAC .mop File");
    else if (extension == QLatin1String("out"))
        caption = tr("Open MOPAC .out File");
    else if (extension == QLatin1String("orcout"))
        caption = tr("Open ORCA .orcout File");
    const QString filter =
        QStringLiteral("%1 (*.%2)").arg(QString(caption).remove(QStringLiteral("Open ")), extension);
    return OrvaneDialogs::openFileName(this, caption, lastDirectory, filter);
}

void OrvaneFrmSpectroscopicCalculation::rememberFolderOf(const QString& fileName)
{
    saveLastDirectory(QFileInfo(fileName).absolutePath());
    loadLastDirectory();
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacOut_clicked()
{
    loadLastDirectory();
    const QString name = getOpenInputFileName(ui->rdbMopacOut->isChecked() ? QStringLiteral("out")
                                                                          : QStringLiteral("mop"));
    if (name.isEmpty())
        return;
    mopacFile = name;
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacForceOut_clicked()
{
    const QString name = getOpenInputFileName(QStringLiteral("out"));
    if (name.isEmpty())
        return;
    forceFile = name;
    loadInputFile(2);
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseZindoOut_clicked()
{
    loadLastDirectory();
    const QString name = getOpenInputFileName(ui->rdbZindoOutput->isChecked() ? QStringLiteral("log")
                                                                             : QStringLiteral("orcout"));
    if (name.isEmpty())
        return;
    orcaFile = name;
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::showStoredFile(QLineEdit* edit, const QString& fileName)
{
    if (fileName.isEmpty()) {
        showDropHint(edit);
    } else {
        edit->setStyleSheet(QString());
        edit->setText(fileName);
    }
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacOut_textChanged(QString text)
{
    // Loading rewrites the field: keep the path.
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(mopacHint) || fileName == mopacFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("out") && suffix != QLatin1String("mop")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").\nPlease, try to open another file."));
        // The field shows what is loaded, not the refused path.
        showStoredFile(ui->edtMopacOut, mopacFile);
        return;
    }
    // Switching the input type forgets the loaded file and clears the project.
    (suffix == QLatin1String("out") ? ui->rdbMopacOut : ui->rdbMopFile)->setChecked(true);
    mopacFile = fileName;
    rememberFolderOf(mopacFile);
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_edtZindoOut_textChanged(QString text)
{
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(gaussianHint) || fileName.contains(orcaHint) || fileName == orcaFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("zin") && suffix != QLatin1String("orcout") && suffix != QLatin1String("log")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").\nPlease, try to open anothe file."));
        showStoredFile(ui->edtZindoOut, orcaFile);
        return;
    }
    orcaFile = fileName;
    (suffix == QLatin1String("orcout") ? ui->rdbOrcaOutput : ui->rdbZindoOutput)->setChecked(true);
    // A ZINDO output is read as such, not as a Gaussian one.
    if (suffix == QLatin1String("zin"))
        rlProgram = 0;
    rememberFolderOf(orcaFile);
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacForceOut_textChanged(QString text)
{
    const QString fileName = text;
    if (fileName.isEmpty() || fileName == forceFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("out")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").nPlease, try to open another file. "));
        return;
    }
    forceFile = fileName;
    loadInputFile(2);
}

void OrvaneFrmSpectroscopicCalculation::on_rdbNewMethod_toggled(bool checked)
{
    // The force-constant methodology; its option is hidden, so the user never
    // reaches this state.
    ui->edtMopacForceOut->setVisible(checked);
    ui->lblMopacForceOut->setVisible(checked);
    ui->btnChooseMopacForceOut->setVisible(checked);
    if (mode == 0)
        ui->tabWidgetViewFiles->setTabEnabled(1, checked);
    ui->stackedInputData->setVisible(!checked);

    const bool mainInputNamed = mode == 0 ? !ui->edtMopacOut->text().isEmpty() : !ui->edtZindoOut->text().isEmpty();
    if (checked && ui->edtMopacForceOut->text().isEmpty())
        ui->btnCalculate->setEnabled(false);
    else if (mainInputNamed)
        ui->btnCalculate->setEnabled(true);

    if (mode == 0 && !ui->edtMopacOut->text().isEmpty()) {
        for (QWidget* widget : {static_cast<QWidget*>(ui->edtMopacForceOut), static_cast<QWidget*>(ui->lblMopacForceOut),
                                static_cast<QWidget*>(ui->btnChooseMopacForceOut)})
            widget->setEnabled(true);
    } else if (mode != 0 && checked && ui->edtZindoOut->text().isEmpty() && ui->edtMopacForceOut->text().isEmpty()) {
        for (QWidget* widget : {static_cast<QWidget*>(ui->edtMopacForceOut), static_cast<QWidget*>(ui->lblMopacForceOut),
                                static_cast<QWidget*>(ui->btnChooseMopacForceOut)})
            widget->setEnabled(false);
    }
    if (mode == 0) {
        ui->gbxConventionalParametrization->setVisible(!checked);
        ui->gbxParametrizationQDC->setVisible(!checked);
        ui->frameAradPartition->setVisible(!checked);
    }
}

void OrvaneFrmSpectroscopicCalculation::loadInputFile(const int& fileKind)
{
    molecule.lanthanideRequired = true;
    if (fileKind == 2) {
        ui->edtMopacForceOut->setText(forceFile);
        // Shown in the report tab until a run replaces it; the other modes
        // have no tab for it.
        if (mode == 0)
            loadFileInTab(forceFile, 1);
        ui->btnCalculate->setEnabled(true);
        return;
    }
    if (fileKind != 0)
        return;

    if (mode != 0) {
        // The report of the same name, when there is one, gives the typed
        // intensity parameters.
        const QString omegaReport = OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("omega"));
        if (QFileInfo(omegaReport).isFile())
            frmSetTheorecticalOmega->ui.lineEditOmgFile->setText(omegaReport);
        ui->edtZindoOut->setStyleSheet(QString());
        ui->edtZindoOut->setText(orcaFile);
        loadFileInTab(orcaFile, 0);
        for (QWidget* widget : {static_cast<QWidget*>(ui->btnChooseMopacForceOut),
                                static_cast<QWidget*>(ui->lblMopacForceOut), static_cast<QWidget*>(ui->edtMopacForceOut)})
            widget->setEnabled(true);
        ui->btnCalculate->setEnabled(!ui->edtMopacForceOut->text().isEmpty()
                                     || ui->rdbConventionalMethod->isChecked());
        readLifeTime();
        ui->btnFind->setEnabled(true);
        return;
    }

    const QString status = QStringLiteral("-> (Orvane Spectroscopic Calculation) ");
    emit newObjCalculationMessage(status + QStringLiteral("Project is being cleaned."));
    // Cleared as a project without a structure: the reset coordination
    // numbers must not read the new file before it is loaded.
    const QString chosen = mopacFile;
    mopacFile.clear();
    clearProject();
    mopacFile = chosen;
    emit newObjCalculationMessage(status + QStringLiteral("Project was cleaned."));
    readExperimentalOmegas();

    int structureType = Molecule::MopacOutputFile;
    if (ui->rdbMopacOut->isChecked()) {
        readExperimentalOmegaSideFile();
    } else {
        structureType = OrvaneInputData::checkTypeMopFile(mopacFile) ? int(Molecule::MopCartesianFile)
                                                                     : int(Molecule::ZMatrixFile);
    }
    if (!molecule.readMolecule(mopacFile, structureType)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), molecule.getLastError());
        return;
    }
    ui->edtMopacOut->setStyleSheet(QString());
    ui->edtMopacOut->setText(mopacFile);

    if (ui->rdbConventionalMethod->isChecked()) {
        ui->btnCalculate->setEnabled(true);
        // No more donors than the structure has, nor than the engine holds.
        frmOmegaParametrization->ui.sbxCoordNumber->setMaximum(
            qMax(1, qMin(int(molecule.atoms.size()) - 1, OrvaneEu3Model::maxCoordNumber)));
        frmOmegaParametrization->setLigandAtomList(getCoordinatedAtomLabels());
        frmSetGandAlpha->structureFileType = omegaInputType;
        frmSetGandAlpha->structureFile = mopacFile;
        frmSetGandAlpha->updateTable();
    }
    if (ui->rdbNewMethod->isChecked()) {
        ui->lblMopacForceOut->setEnabled(true);
        ui->btnChooseMopacForceOut->setEnabled(true);
        ui->edtMopacForceOut->setEnabled(true);
    }

    emit newObjCalculationMessage(status + QStringLiteral("The coordination number is being calculated."));
    if (!calculateCoordinationNumber(structureType))
        return;
    emit newObjCalculationMessage(status + QStringLiteral("The coordination number was calculated."));

    loadFileInTab(mopacFile, 0);
    ui->cbxShowMoleculeViewer->setChecked(true);
    emit newObjCalculationMessage(status + QStringLiteral("The structure was loaded successfully."));

    glMolecule->setStyle(GLMolecule::BallsAndSticks);
    glMolecule->showLabels = true;
    glMolecule->labelCount = frmOmegaParametrization->ui.sbxCoordNumber->value() + 1;
    emit newObjCalculationMessage(status + QStringLiteral("The molecule is being setted to GlMolecule."));
    glMolecule->setMolecule(&molecule);
    emit newObjCalculationMessage(status + QStringLiteral("The molecule was setted successfully to GlMolecule."));
    ui->btnFind->setEnabled(true);
}

void OrvaneFrmSpectroscopicCalculation::readExperimentalOmegas()
{
    OrvaneOmegaExpReport::Omegas omegas;
    if (!OrvaneOmegaExpReport::readOmegas(OrvaneFileNames::withBaseName(mopacFile, QStringLiteral("orvaneexp")),
                                          omegas))
        return;
    if (omegas.omega2)
        frmOmegaParametrization->ui.sbxOmega2->setValue(*omegas.omega2);
    if (omegas.omega4)
        frmOmegaParametrization->ui.sbxOmega4->setValue(*omegas.omega4);
}

void OrvaneFrmSpectroscopicCalculation::readExperimentalOmegaSideFile()
{
    double omega2 = 0.0;
    double omega4 = 0.0;
    if (!OrvaneExpDataFile::read(OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("expdata")), omega2,
                                 omega4))
        return;
    frmOmegaParametrization->ui.sbxOmega2->setValue(omega2);
    frmOmegaParametrization->ui.sbxOmega4->setValue(omega4);
}

void OrvaneFrmSpectroscopicCalculation::readLifeTime()
{
    if (const std::optional<double> lifeTime
        = OrvaneOmegaExpReport::readLifeTime(OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("orvaneexp"))))
        ui->sbxLifeTime->setValue(*lifeTime);
}

bool OrvaneFrmSpectroscopicCalculation::calculateCoordinationNumber(const int& structureType)
{
    OrvaneInputData reader(nullptr, mopacFile);
    // A Z-matrix input is converted to Cartesian atoms by the .mop reader:
    // without them there are no distances to count.
    const bool read = structureType == Molecule::MopacOutputFile ? reader.readMopacOutFile(true) : reader.readMopFile();
    if (!read) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reader.getLastError());
        return false;
    }
    reader.createSphericalCoordinate();
    coordNumber = OrvaneSpectroscopicCalculation::coordinationNumber(reader);
    frmOmegaParametrization->ui.sbxCoordNumber->setValue(coordNumber);
    // The typed charge factors start with one column per detected donor.
    frmSetGandAlpha->ui.sbxCoordNumber->setValue(coordNumber);
    return true;
}

QStringList OrvaneFrmSpectroscopicCalculation::getCoordinatedAtomLabels()
{
    if (atomLabels.isEmpty()) {
        OrvaneInputData reader(nullptr, mopacFile);
        const bool read = ui->rdbMopacOut->isChecked() ? reader.readMopacOutFile(true) : reader.readMopFile();
        if (!read) {
            OrvaneDialogs::critical(this, tr("ORVANE Error"), reader.getLastError());
            return QStringList();
        }
        atomLabels << QStringLiteral(" ");
        for (int i = 1; i <= reader.getAtomsNumber(); ++i)
            atomLabels << reader.getAtomLabel(i) + QLatin1Char(' ') + QString::number(i);
    }
    const int n = frmOmegaParametrization->ui.sbxCoordNumber->value();
    if (n == 0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), tr("The coordination Number cannot be equal to 0."));
        return QStringList();
    }
    return atomLabels.mid(2, n);
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
    markReportSaved();
    if (mode == 0)
        ui->btnSaveOutputFile->hide();

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

void OrvaneFrmSpectroscopicCalculation::coordNumberValueChanged(int i)
{
    if (mopacFile.isEmpty())
        return;
    frmOmegaParametrization->ui.sbxCoordNumber->setValue(i);
    frmSetParametersQDC->ui.sbxCoordNumber->setValue(i);
    glMolecule->labelCount = frmOmegaParametrization->ui.sbxCoordNumber->value() + 1;
    glMolecule->setMolecule(&molecule);
    frmOmegaParametrization->setLigandAtomList(getCoordinatedAtomLabels());
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionOpen_clicked()
{
    const QString name = OrvaneDialogs::openFileName(this, tr("Open File Ligand Atoms by Ligands"), lastDirectory,
                                                     tr("ORVANE File for Arad Partition (*.ligands)"));
    if (name.isEmpty())
        return;
    // A file that cannot be read leaves the partition as it was typed.
    QString text;
    QString reason;
    if (!OrvaneTextFileView::read(name, text, reason)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
        return;
    }
    ui->plainTextEditAradPartition->setPlainText(text);
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionSave_clicked()
{
    const QString name = OrvaneDialogs::saveFileName(this, tr("Save Ligand Atoms by Ligands in a File"), lastDirectory,
                                                     tr("ORVANE File for Arad Partition (*.ligands)"));
    if (name.isEmpty())
        return;
    QString reason;
    if (!OrvaneReportFile::write(name, ui->plainTextEditAradPartition->toPlainText(), reason)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
        return;
    }
    OrvaneDialogs::information(this, tr("ORVANE Information"), tr("The file was successfully created at: ") + name);
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
    citations = citationsHeader;
    enum class Run { None, Chosen };
    Run run = Run::None;
    bool done = false;
    auto start = [&](bool result) {
        run = Run::Chosen;
        done = result;
    };
    if (mode == 1) {
        start(calculateEnergyTransfer());
    } else if (mode == 2) {
        start(ui->sbxLifeTime->value() > 0.0 ? calculateQuantumYield() : calculateEnergyTransfer());
    } else if (mode == 0) {
        if (!ui->rdbConventionalMethod->isChecked()) {
            start(calculateOmegaWithForceConstants());
        } else if (ui->gbxParametrizationQDC->isChecked()) {
            if (ui->rdbParametrizationQDC->isChecked())
                start(startParametrizationQDC());
            else if (ui->rdbSetParametersQDC->isChecked())
                start(calculateOmegaWithParametersQDC());
        } else if (ui->gbxConventionalParametrization->isChecked()) {
            if (ui->rdbConventionalParametrization->isChecked())
                start(startParametrization());
            else if (ui->rdbGandAlpha->isChecked())
                start(calculateOmegaWithGandAlpha());
        }
    }
    if (run == Run::None || done)
        ui->btnSaveOutputFile->setEnabled(true);
}

bool OrvaneFrmSpectroscopicCalculation::refuseMissingReport(const QString& report, const QString& engineError)
{
    if (!report.isEmpty())
        return false;
    OrvaneDialogs::critical(this, tr("ORVANE Error"),
                            engineError.isEmpty() ? tr("The calculation gave no report.") : engineError);
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithForceConstants()
{
    OrvaneOmega omega(nullptr, omegaInputType, ui->edtMopacOut->text(), ui->edtMopacForceOut->text());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    if (!omega.getLastError().isEmpty()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), omega.getLastError());
        return false;
    }
    citations += omega.getMopacCitation() + QStringLiteral("\n\n")
        + requiredCitations(3, 2, mopacFile, 0, false, false, false);
    const QString report = omega.createOutFile(QString());
    if (refuseMissingReport(report, omega.getLastError()))
        return false;
    showOutput(report);
    OrvaneDialogs::information(this, tr("ORVANE Information"),
                               tr("The theoretical calculation of the intensity parameters was successfully done."));
    saveOutputBesideInput();
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithGandAlpha()
{
    const QVector<double> g = frmSetGandAlpha->getChargeFactors();
    const QVector<double> a = frmSetGandAlpha->getPolarizabilities();
    const int n = frmSetGandAlpha->ui.sbxCoordNumber->value();
    // The table may have fewer columns than the coordination number (a
    // structure with fewer atoms): never read past it.
    if (g.size() < n || a.size() < n) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                tr("The table holds charge factors and polarizabilities for %1 atoms, "
                                   "but the coordination number is %2.")
                                    .arg(qMin(g.size(), a.size()))
                                    .arg(n));
        return false;
    }
    // Indexed by atom number; they outlive the engine object below.
    std::vector<double> charges(std::size_t(qMax(g.size() + 4, OrvaneEu3Model::atomArraySize)), 0.0);
    std::vector<double> alphas(charges.size(), 0.0);
    for (int i = 2; i <= n + 1; ++i) {
        charges[std::size_t(i)] = g.at(i - 2);
        alphas[std::size_t(i)] = a.at(i - 2) * 1e-24;
    }
    double* chargeData = charges.data();
    double* alphaData = alphas.data();

    OrvaneOmega omega(nullptr, omegaInputType, mopacFile, QString());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    omega.setChargeFactorAndAlpha(chargeData, alphaData);
    omega.setCoordNumber(n);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    omega.setOmegaPrintingOptions(options);
    if (!omega.calcOmega()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), omega.getLastError());
        return false;
    }
    citations += omega.getMopacCitation() + QStringLiteral("\n\n")
        + requiredCitations(3, 2, mopacFile, 0, false, false, false);
    const QString report = omega.createOutFile(QString());
    if (refuseMissingReport(report, omega.getLastError()))
        return false;
    showOutput(report);
    saveOutputBesideInput();
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithParametersQDC()
{
    const Ui::OrvaneFrmSetParametersQDC& qdc = frmSetParametersQDC->ui;
    const double q = qdc.sbxParameterQ->value();
    const double d = qdc.sbxParameterD->value();
    const double c = qdc.sbxParameterC->value();
    if (q == 0.0 || d == 0.0 || c == 0.0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("Q, D, or C cannot be equal to 0.\nPlease, provide non-zero value."));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList lines = ligandPartitionLines();
    const bool partition = ui->chbAradPartition->isChecked();
    const int n = qdc.sbxCoordNumber->value();
    // A failed check has restored the cursor itself.
    if (partition && !checkLigandPartition(lines, n))
        return false;
    OrvaneIndicesCalculation indices(nullptr, mopacFile, frmOmegaParametrization->ui.sbxCoordNumber->value());
    const bool computed = indices.calculateIndices();
    QApplication::restoreOverrideCursor();
    if (!computed) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), indices.getLastError());
        return false;
    }

    std::vector<double> charges(std::size_t(qMax(n + 2, OrvaneEu3Model::atomArraySize)), 0.0);
    std::vector<double> alphas(charges.size(), 0.0);
    for (int i = 2; i <= n + 1; ++i) {
        charges[std::size_t(i)] = q * indices.getAtomicCharge(i);
        alphas[std::size_t(i)] = d * 1e-24 * indices.getSuperDeslocalizability(i) + c * 1e-24;
    }
    double* chargeData = charges.data();
    double* alphaData = alphas.data();

    OrvaneOmega omega(nullptr, omegaInputType, mopacFile, QString());
    omega.setParametersQDC(q, d, c);
    omega.setAtomicCharges(indices.getAtomicCharge());
    omega.setSuperDeslocalizability(indices.getSuperDeslocalizability());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    omega.setChargeFactorAndAlpha(chargeData, alphaData);
    omega.setCoordNumber(n);
    if (partition)
        omega.setLigandAtomsByLigandVector(lines);
    citations += omega.getMopacCitation() + QStringLiteral("\n\n")
        + requiredCitations(3, 2, mopacFile, 0, false, true, partition);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    omega.setOmegaPrintingOptions(options);
    if (!omega.calcOmega()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), omega.getLastError());
        return false;
    }
    const QString report = omega.createOutFile(QString());
    if (refuseMissingReport(report, omega.getLastError()))
        return false;
    showOutput(report);
    saveOutputBesideInput();
    return true;
}

QStringList OrvaneFrmSpectroscopicCalculation::ligandPartitionLines() const
{
    QStringList lines;
    const QStringList typed = ui->plainTextEditAradPartition->toPlainText().split(QLatin1Char('\n'));
    for (QString line : typed) {
        line.replace(QLatin1Char(','), QLatin1Char(' '));
        // The engine's list ends at a blank line: none is handed over.
        if (!OrvaneText::isBlank(line))
            lines << line;
    }
    return lines;
}

bool OrvaneFrmSpectroscopicCalculation::checkLigandPartition(const QStringList& lines, const int& coordinationNumber)
{
    auto refuse = [this](const QString& text) {
        // The caller may have set the wait cursor: never show a box under it.
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        OrvaneDialogs::critical(this, tr("ORVANE Error"), text);
        return false;
    };
    // Read as the engine reads the lines: blank-separated fields, commas
    // counted as blanks, a field that is no whole number counted as 0.
    QVector<int> atoms;
    for (const QString& line : lines) {
        const QStringList fields = OrvaneText::splitFields(QString(line).replace(QLatin1Char(','), QLatin1Char(' ')));
        for (int k = 1; k < fields.size(); ++k)
            atoms << OrvaneText::toInteger(fields.at(k));
    }
    std::sort(atoms.begin(), atoms.end());
    if (atoms.size() != coordinationNumber)
        return refuse(tr("The defined coordination number is different from the number of ligand atoms at the chemical "
                         "partition box. \nPlease, check if the assignment of the ligand atoms to the corresponding "
                         "ligand is correct."));
    for (int k = 0; k < atoms.size(); ++k) {
        // Only the coordinating atoms 2 .. N+1 belong to ligands; the ion is atom 1.
        if (atoms.at(k) < 2 || atoms.at(k) > coordinationNumber + 1)
            return refuse(tr("An invalid assignment for chemical partition of Arad was defined. \nPlease, check if "
                             "the assignment of the ligand atoms to the corresponding ligand is correct."));
        if (k + 1 < atoms.size() && atoms.at(k) == atoms.at(k + 1))
            return refuse(tr("The same ligand atom cannot be assigned to different ligands neither \nbe assigned "
                             "more than once to the same ligand."));
    }
    return true;
}

void OrvaneFrmSpectroscopicCalculation::getOmegaPrintingOptions(OmegaPrintingOptions& options) const
{
    options = frmOmegaPrinting->getOmegaPrintingOptions();
}

bool OrvaneFrmSpectroscopicCalculation::checkAndSetOmegaValues(OrvaneSpectroscopicCalculation*& calculation)
{
    const Ui::OrvaneFrmSetTheorecticalOmega& typed = frmSetTheorecticalOmega->ui;
    for (const QDoubleSpinBox* box : {typed.sbxOmega2, typed.sbxOmega4, typed.sbxOmega6, typed.sbxOmegaED2,
                                      typed.sbxOmegaED4, typed.sbxOmegaED6}) {
        if (box->value() == 0.0) {
            if (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
            OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                    tr("The intensity parameters cannot be equal to 0. \nPlease, provide non-zero "
                                       "values for intensity parameters."));
            return false;
        }
    }
    calculation->setOmegaValues(typed.sbxOmega2->value(), typed.sbxOmega4->value(), typed.sbxOmega6->value());
    calculation->setOmegaEdValues(typed.sbxOmegaED2->value(), typed.sbxOmegaED4->value(), typed.sbxOmegaED6->value());
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::refuseFitWhileRunning()
{
    if (!fitRunner->isBusy())
        return false;
    OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                           tr("A parametrization is still running.\nPlease, wait for it to end or cancel it."));
    return true;
}

void OrvaneFrmSpectroscopicCalculation::releaseFitObjects()
{
    fitRunner->release();
    fitStartPoint.clear();
}

static bool omegaReferenceMissing(QWidget* parent, const double& omega2, const double& omega4)
{
    if (omega2 != 0.0 && omega4 != 0.0)
        return false;
    OrvaneDialogs::warning(parent, QObject::tr("ORVANE Warning"),
                           QObject::tr("The omega 2 or 4 cannot be equal to 0.\nPlease, provide non-zero value for "
                                       "intensity parameters that will be used as reference to calulate the "
                                       "theoretical one."));
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::startParametrization()
{
    const Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
    if (omegaReferenceMissing(this, fit.sbxOmega2->value(), fit.sbxOmega4->value()) || refuseFitWhileRunning())
        return false;
    if (!frmOmegaParametrization->selectLigandAtoms->collectGroupsAndAtoms())
        return false;
    releaseFitObjects();
    omegaFile = OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("omega"));

    auto* problem = new OrvaneParametric(this, mopacFile, omegaInputType);
    fitRunner->keep(problem);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    problem->setOmegaPrintingOptions(options);
    problem->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    const QMap<int, QStringList> groups = frmOmegaParametrization->getGroupsAndAtoms();
    problem->setCoordNumber(fit.sbxCoordNumber->value());
    if (!problem->getLastError().isEmpty() || !problem->setGroupsAndAtoms(groups)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), problem->getLastError());
        return false;
    }
    problem->setFileNameOmg(omegaFile);
    problem->setOmegaExp(fit.sbxOmega2->value() * 1e-20, fit.sbxOmega4->value() * 1e-20);

    // Every charge factor 0.45, then every polarizability 4.5 (10^-24 cm^3).
    const int groupCount = groups.size();
    fitStartPoint.assign(std::size_t(2 * groupCount), 4.5);
    std::fill(fitStartPoint.begin(), fitStartPoint.begin() + groupCount, 0.45);

    // The engine heads the block itself, with the MOPAC citation.
    citations = requiredCitations(3, 2, mopacFile, 0, false, false, false);
    problem->setRequiredCitations(citations);

    double* start = fitStartPoint.data();
    OrvaneAbstractParametric* abstractProblem = problem;
    auto* gsa = new OrvaneGSA(this, 2 * groupCount, start, abstractProblem);
    fitRunner->keep(gsa);
    gsa->setNStopMax(fit.sbxPointsNumber->value());
    runFit(gsa);
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::startParametrizationQDC()
{
    const Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
    if (omegaReferenceMissing(this, fit.sbxOmega2->value(), fit.sbxOmega4->value()) || refuseFitWhileRunning())
        return false;
    const int n = fit.sbxCoordNumber->value();
    const bool partition = ui->chbAradPartition->isChecked();
    const QStringList lines = ligandPartitionLines();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A failed check has restored the cursor itself.
    if (partition && !checkLigandPartition(lines, n))
        return false;
    QApplication::restoreOverrideCursor();
    releaseFitObjects();
    omegaFile = OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("omega"));

    auto* problem = new OrvaneParametricQDC(this, mopacFile, omegaInputType);
    fitRunner->keep(problem);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    problem->setOmegaPrintingOptions(options);
    problem->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    problem->setCoordNumber(n);
    problem->setFileNameOmg(omegaFile);
    problem->setOmegaExp(fit.sbxOmega2->value() * 1e-20, fit.sbxOmega4->value() * 1e-20);

    auto indices = std::make_unique<OrvaneIndicesCalculation>(this, mopacFile, n);
    bool computed = false;
    {
        const OrvaneWaitCursor wait;
        computed = indices->calculateIndices();
    }
    if (!computed) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), indices->getLastError());
        return false;
    }

    double q = 0.0;
    double s = 0.0;
    for (int i = 2; i <= n + 1; ++i) {
        q += indices->getAtomicCharge(i);
        s += indices->getSuperDeslocalizability(i);
    }
    q /= n;
    s /= n;
    const double minimum = indices->getMinimumSuperDeslocalizability();
    const double r = 1.0 / std::fabs(minimum) - 0.1;
    const double startQ = 1.0 / q;
    const double startD = r / (r * s + 1.0);
    const double startC = startD / (r + 0.01);
    // The model's bounds come from a negative superdelocalizability; without
    // one, or with a mean charge of 0, there is no start point to anneal from.
    if (!(minimum < 0.0) || !std::isfinite(startQ) || !std::isfinite(startD) || !std::isfinite(startC)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                tr("The reactivity indices of the coordinating atoms give no finite start point "
                                   "for the QDC parametrization (no negative superdelocalizability, or a mean "
                                   "atomic charge of 0)."));
        return false;
    }
    fitStartPoint = {startQ, startD, startC};

    problem->setSuperDeslocalizability(indices.get());
    problem->setRestrictionValue(int(r));
    fitRunner->keep(indices.release());
    if (partition)
        problem->setLigandAtomsByLigandVector(lines);
    citations = requiredCitations(3, 2, mopacFile, 0, false, true, partition);
    problem->setRequiredCitations(citations);

    double* start = fitStartPoint.data();
    OrvaneAbstractParametric* abstractProblem = problem;
    auto* gsa = new OrvaneGSA(this, 3, start, abstractProblem);
    fitRunner->keep(gsa);
    if (!gsa->setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), gsa->getLastError());
        return false;
    }
    gsa->setNStopMax(fit.sbxPointsNumber->value());
    runFit(gsa);
    return true;
}

void OrvaneFrmSpectroscopicCalculation::runFit(OrvaneGSA* gsa)
{
    // Either fit can fail in the engine: both say why.
    connect(gsa, &OrvaneGSA::errorOmegaCalculation, this, &OrvaneFrmSpectroscopicCalculation::errorOmegaCalculation);
    emit newObjCalculationMessage(QStringLiteral("-> Parametrization process started successfully."));
    fitRunner->start(gsa, frmOmegaParametrization->ui.sbxPointsNumber->value() / 1000);
}

void OrvaneFrmSpectroscopicCalculation::applySpecPrintingOptions(OrvaneSpectroscopicCalculation*& calculation)
{
    calculation->setSpecPrintingOptions(frmSpecPrinting->getSpecPrintingOptions());
}

void OrvaneFrmSpectroscopicCalculation::applyEnergyTransferChannels(OrvaneSpectroscopicCalculation*& calculation)
{
    calculation->setEnergyTransferChannels(frmTransferMechanisms->getEnergyTransferChannels());
}

std::unique_ptr<OrvaneSpectroscopicCalculation> OrvaneFrmSpectroscopicCalculation::createTransferCalculation()
{
    const QString forceConstants =
        ui->rdbConventionalMethod->isChecked() ? QString() : ui->edtMopacForceOut->text();
    // In these modes no structure is named: the engine takes the intensity
    // parameters handed to it. A level of 0 leaves the choice to the engine.
    auto calculation = std::make_unique<OrvaneSpectroscopicCalculation>(
        nullptr, omegaInputType, rlProgram, ui->edtMopacOut->text(), forceConstants, orcaFile,
        ui->sbxTripletLevel->value(), ui->sbxSingletLevel->value());
    OrvaneSpectroscopicCalculation* raw = calculation.get();
    raw->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    raw->setNOverlapIntegral(frmTransferMechanisms->ui.sbxNOverlapIntegral->value());
    raw->setETModel(frmTransferMechanisms->getETModel());
    applyEnergyTransferChannels(raw);
    applySpecPrintingOptions(raw);
    return calculation;
}

bool OrvaneFrmSpectroscopicCalculation::calculateEnergyTransfer()
{
    return runTransfer(false);
}

bool OrvaneFrmSpectroscopicCalculation::calculateQuantumYield()
{
    if (ui->sbxLifeTime->value() == 0.0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), tr("Please, provide non-zero values for the experimental."));
        return false;
    }
    return runTransfer(true);
}

bool OrvaneFrmSpectroscopicCalculation::runTransfer(const bool& quantumYield)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::unique_ptr<OrvaneSpectroscopicCalculation> calculation = createTransferCalculation();
    OrvaneSpectroscopicCalculation* raw = calculation.get();
    auto engineRefused = [&] {
        if (raw->getLastError().isEmpty())
            return false;
        QApplication::restoreOverrideCursor();
        OrvaneDialogs::critical(this, tr("ORVANE Error"), raw->getLastError());
        return true;
    };
    // A refusal of the typed values restores the cursor itself.
    auto valuesRefused = [&] { return ui->rdbConventionalMethod->isChecked() && !checkAndSetOmegaValues(raw); };
    // The quantum-yield run looks at the typed values first.
    if (quantumYield ? (valuesRefused() || engineRefused()) : (engineRefused() || valuesRefused()))
        return false;
    // Typed in ms, read by the engine in s.
    if (quantumYield)
        raw->setLifeTime(ui->sbxLifeTime->value() * 0.001);
    const QString block =
        requiredCitations(3, 3, orcaFile, frmTransferMechanisms->getETModel(), quantumYield, false, false);
    const QString report = quantumYield ? raw->createOutFile(QString()) : raw->createOutFileET(QString());
    QApplication::restoreOverrideCursor();
    if (refuseMissingReport(report, raw->getLastError()))
        return false;
    citations += block;
    showOutput(report);
    OrvaneDialogs::information(
        this, tr("ORVANE Information"),
        quantumYield ? tr("The energy transfer rates and quantum yield calculations were successfully done.")
                     : tr("The calculation of the energy tranfer rates was successfully done."));
    saveOutputBesideInput();
    return true;
}

void OrvaneFrmSpectroscopicCalculation::errorOmegaCalculation(QString error)
{
    emit newObjCalculationMessage(QStringLiteral("-> ") + error);
    fitRunner->closeProgress();
    OrvaneDialogs::critical(this, tr("ORVANE Error"), error);
}

void OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated()
{
    // The runner has closed the progress dialog.
    const OrvaneGSA::FitState state = fitRunner->endState();
    if (state == OrvaneGSA::FitState::Finished) {
        // How close the fit came is said wherever its end is.
        const OrvaneFitSummary summary = finishedFitSummary();
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process finished successfully."));
        if (!summary.isEmpty())
            emit newObjCalculationMessage(OrvaneFitEndMessage::statusLine(summary));
        loadFileInTab(omegaFile, 1);
        OrvaneFitEndMessage::showFinished(this, tr("The  parameterization of the intensity parameters has finished."),
                                          summary);
    } else if (state == OrvaneGSA::FitState::Stopped) {
        // Only a finished fit writes a report: the earlier one is still there.
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process was cancelled."));
        OrvaneDialogs::information(this, tr("ORVANE Information"),
                                   tr("The parameterization of the intensity parameters was cancelled; "
                                      "no new report was written."));
    } else if (!showUnwrittenFitReport()) {
        // The error slot has already said why.
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process failed; no new report was written."));
    }
}

OrvaneFitSummary OrvaneFrmSpectroscopicCalculation::finishedFitSummary() const
{
    const OrvaneAbstractParametric* problem = fitProblem();
    return problem ? problem->getFitSummary() : OrvaneFitSummary();
}

OrvaneAbstractParametric* OrvaneFrmSpectroscopicCalculation::fitProblem() const
{
    for (QObject* object : fitRunner->getFitObjects()) {
        if (auto* problem = qobject_cast<OrvaneAbstractParametric*>(object))
            return problem;
    }
    return nullptr;
}

bool OrvaneFrmSpectroscopicCalculation::showUnwrittenFitReport()
{
    const OrvaneAbstractParametric* problem = fitProblem();
    const QString report = problem ? problem->getUnwrittenReport() : QString();
    if (report.isEmpty())
        return false;
    // The error slot has shown the reason; the fitted values stay on screen.
    showInReportTab(report);
    markReportUnsaved(problem->getLastError());
    emit newObjCalculationMessage(QStringLiteral("-> Parametrization process finished, but its report could not be "
                                                 "written; it is shown in the output tab."));
    const OrvaneFitSummary summary = problem->getFitSummary();
    if (!summary.isEmpty())
        emit newObjCalculationMessage(OrvaneFitEndMessage::statusLine(summary));
    return true;
}

void OrvaneFrmSpectroscopicCalculation::cancelParametrization()
{
    fitRunner->cancel();
}

OrvaneFrmSpectroscopicCalculation::FitPhase OrvaneFrmSpectroscopicCalculation::getFitPhase() const
{
    return fitRunner && fitRunner->getPhase() != OrvaneFitRunner::Phase::Idle ? FitPhase::Running : FitPhase::Idle;
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
    const bool shown = OrvaneTextFileView::show(view, fileName, problem);
    ui->tabWidgetViewFiles->setCurrentIndex(tabIndex);
    if (tabIndex == 1)
        markReportSaved();
    if (shown)
        return true;
    OrvaneDialogs::warning(this, tr("ORVANE Warning"), problem);
    return false;
}

QPlainTextEdit* OrvaneFrmSpectroscopicCalculation::showInReportTab(const QString& text)
{
    ui->tabWidgetViewFiles->setCurrentIndex(1);
    QPlainTextEdit* view = tabView(1);
    findBar->plainTextEdit = view;
    OrvaneWaitCursor wait;
    view->setPlainText(text);
    return view;
}

void OrvaneFrmSpectroscopicCalculation::showOutput(const QString& text)
{
    showInReportTab(text)->appendPlainText(citations);
    markReportSaved();
}

bool OrvaneFrmSpectroscopicCalculation::writeOutputFile(const QString& fileName)
{
    QString reason;
    if (OrvaneReportFile::write(fileName, tabView(1)->toPlainText() + QStringLiteral("\n\n\n"), reason)) {
        markReportSaved();
        return true;
    }
    OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
    markReportUnsaved(reason);
    return false;
}

void OrvaneFrmSpectroscopicCalculation::markReportUnsaved(const QString& reason)
{
    unsavedReportNotice->setText(tr("This report is not saved: %1\nSave it under another name with the Save "
                                    "button.")
                                     .arg(reason));
    unsavedReportNotice->show();
    // Mode 0 has no Save button of its own: without it the report would be lost.
    ui->btnSaveOutputFile->show();
    ui->btnSaveOutputFile->setEnabled(true);
}

void OrvaneFrmSpectroscopicCalculation::markReportSaved()
{
    unsavedReportNotice->hide();
    unsavedReportNotice->clear();
}

void OrvaneFrmSpectroscopicCalculation::saveOutputBesideInput()
{
    const QString path = mode == 0 ? OrvaneFileNames::withBaseName(mopacFile, QStringLiteral("omega"))
                                   : OrvaneFileNames::withBaseName(orcaFile, QStringLiteral("orvane"));
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
