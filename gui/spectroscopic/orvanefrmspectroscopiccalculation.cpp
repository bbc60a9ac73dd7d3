// Construction of OrvaneFrmSpectroscopicCalculation in its mode, the panels
// and switches of that mode, and the small widget slots.

#include "orvanefrmspectroscopiccalculation.h"
#include "orvanefrmspectroscopiccalculation_texts.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "glmolecule.h"
#include "orvanefitrunner.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmsearching.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvaneparametric.h"
#include "orvaneoptionwindow.h"
#include "orvaneplatform.h"
#include "orvanescreenplacement.h"
#include "orvaneunsavednotice.h"

#include <QAbstractButton>
#include <QDebug>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

using OrvaneSpectroscopicCalculationTexts::defaultPartition;
using OrvaneSpectroscopicCalculationTexts::gaussianHint;
using OrvaneSpectroscopicCalculationTexts::mopacHint;
using OrvaneSpectroscopicCalculationTexts::orcaHint;

namespace {

const QString hintStyle = QStringLiteral("color: rgb(158, 158, 158);");
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
        connect(fitRunner.get(), &OrvaneFitRunner::fitEnded, this,
                &OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated);
        connect(fitRunner->progressDialog(), &QProgressDialog::canceled, this,
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
    // Only an .omega file is read back as intensity parameters (by the
    // energy-transfer page): say which filter keeps the report usable.
    const QString howToSave = mode == 0
        ? tr("Save it under another name with the Save button; choose \"%1\" to read it on the "
             "energy-transfer page.")
              .arg(omegaSaveFilter())
        : tr("Save it under another name with the Save button.");
    unsavedReportNotice = new OrvaneUnsavedNotice(
        QStringLiteral("lblUnsavedReport"), ui->tabWidgetViewFiles->parentWidget(), tr("This report"), howToSave,
        ui->btnSaveOutputFile, OrvaneUnsavedNotice::SaveButton::PagesOwn);
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
