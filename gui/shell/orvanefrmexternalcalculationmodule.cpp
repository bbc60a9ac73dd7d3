// Construction of the page, its program path and model list, and the viewers.
// Inputs and clearing live in orvanefrmexternalcalculationmodule_inputs.cpp,
// runs in orvanefrmexternalcalculationmodule_runs.cpp.

#include "orvanefrmexternalcalculationmodule.h"
#include "orvanefrmexternalcalculationmodule_texts.h"
#include "ui_orvanefrmexternalcalculationmodule.h"
#include "ui_orvanefrmmopackeywords.h"

#include "glmolecule.h"
#include "mylineedit.h"
#include "mythread.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"
#include "orvanefrmsearching.h"
#include "orvaneoutputfollower.h"
#include "orvanescreenplacement.h"
#include "orvaneplatform.h"
#include "orvanesettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFont>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

using OrvaneExternalCalculationTexts::moduleGeometry;
using OrvaneExternalCalculationTexts::mopacHint;
using OrvaneExternalCalculationTexts::notRunningText;
using OrvaneExternalCalculationTexts::orcaHint;

namespace {

const QString mopacDirectoryKey = QStringLiteral("mopacDirectory");
const QString orcaDirectoryKey = QStringLiteral("orcaDirectory");

} // namespace

OrvaneFrmExternalCalculationModule::OrvaneFrmExternalCalculationModule(QWidget* parent,
                                                                       const int& mode)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmExternalCalculationModule>())
    , program(OrvaneExternalRun::programOfMode(mode))
{
    ui->setupUi(this);
    ui->lineEditRunProgress->setText(notRunningText);

    createViewerTabs();

    // The output view and the molecule share the width; the keyword panel
    // keeps its own height and the spare height goes to them (designer form).
    ui->splitter->setStretchFactor(0, 3);
    ui->splitter->setStretchFactor(1, 2);
    ui->splitter->setSizes({600, 400});

    frmSearching = new OrvaneFrmSearching(ui->layoutWidget);
    ui->vLayoutFrmSearchingAndTabWidget->addWidget(frmSearching);
    frmSearching->plainTextEdit = tabView(0);

    if (isMopacPage()) {
        ui->edtFile->setToolTip(mopacHint);
        frmSearching->hide();
        frmMopacKeywords = new OrvaneFrmMopacKeywords(ui->stackedWidgetKeywords);
        ui->stackedWidgetKeywords->addWidget(frmMopacKeywords);

        auto* viewerLayout = new QVBoxLayout(ui->dockWidgetContents);
        glMolecule = new GLMolecule(ui->dockWidgetContents);
        viewerLayout->addWidget(glMolecule, 1);
        cbxShowAtomLabels = new QCheckBox(QStringLiteral("Show Atom Labels"), ui->dockWidgetContents);
        QFont labelFont = cbxShowAtomLabels->font();
        labelFont.setPointSize(7);
        cbxShowAtomLabels->setFont(labelFont);
        cbxShowAtomLabels->setChecked(false);
        viewerLayout->addWidget(cbxShowAtomLabels);
        connect(cbxShowAtomLabels, &QCheckBox::clicked, this,
                &OrvaneFrmExternalCalculationModule::showAtomLabels);
        ui->dockWidget->setFeatures(QDockWidget::DockWidgetFloatable);

        ui->lblTitle->setText(QStringLiteral("Module 1: Geometry Optimization"));
#ifndef Q_OS_WIN
        ui->btnSetExternalProgramPath->setText(QStringLiteral("Open mopac"));
#endif
        ui->frameOrca->hide();
        ui->lblSetOrcaPath->hide();
        ui->btnShowAbsorptionSpectrumModule->hide();
    } else {
        ui->edtFile->setToolTip(orcaHint);
        ui->btnFind->setEnabled(true);
        frmOrcaKeywords = new OrvaneFrmOrcaKeywords(ui->stackedWidgetKeywords);
        ui->stackedWidgetKeywords->addWidget(frmOrcaKeywords);
        ui->rdbVisualizeMOL2File->hide();
        ui->rdbVisualizeMopacOutput->hide();
        ui->widgetViewMolecule->hide();
        ui->cbxShowMoleculeViewer->hide();
        ui->lblSetMopacPath->hide();
#ifdef Q_OS_WIN
        ui->btnSetExternalProgramPath->setText(QStringLiteral("Open orca.exe"));
#else
        ui->btnSetExternalProgramPath->setText(QStringLiteral("Open orca"));
#endif
        ui->lblTitle->setText(QStringLiteral("Module 2: Excited States Calculation"));
        ui->frameMopac->hide();
    }
    ui->lineEditSetExternalProgramPath->show();
    ui->btnSetExternalProgramPath->show();
#ifndef Q_OS_WIN
    // Programs here carry no ".exe".
    ui->lblSetMopacPath->setText(QStringLiteral("Set MOPAC Program Path:"));
    ui->lblSetOrcaPath->setText(QStringLiteral("Set ORCA Program Path:"));
#endif

    loadProgramPath();
    loadLastDirectory();
    showInputFileHint();

    connect(ui->tabWidgetViewFiles, &QTabWidget::currentChanged, this,
            &OrvaneFrmExternalCalculationModule::setPlainTextEdit);

    outputFollower = new OrvaneOutputFollower(this);
    connect(outputFollower, &OrvaneOutputFollower::restarted, this, [this] { tabView(1)->clear(); });
    connect(outputFollower, &OrvaneOutputFollower::textAppended, this,
            &OrvaneFrmExternalCalculationModule::appendOutputText);

    // Parented to the page, not to the window: the window may hold a MOPAC and
    // an ORCA page, whose equal keys would then be ambiguous and never fire.
    // Only the visible page's shortcuts are active.
    const struct
    {
        const char* keys;
        QAbstractButton* button;
    } shortcuts[] = {{"Ctrl+O", ui->btnChooseFile},
                     {"Ctrl+F", ui->btnFind},
                     {"Ctrl+R", ui->btnRunCalculation},
                     {"Ctrl+S", ui->btnStopCalculation}};
    for (const auto& shortcut : shortcuts) {
        auto* key = new QShortcut(QKeySequence(QString::fromLatin1(shortcut.keys)), this);
        QAbstractButton* button = shortcut.button;
        // click() does nothing on a disabled button.
        connect(key, &QShortcut::activated, button, &QAbstractButton::click);
    }
}

OrvaneFrmExternalCalculationModule::~OrvaneFrmExternalCalculationModule()
{
    if (!inputFileName.isEmpty())
        saveLastDirectory(inputFolder());
    // The runner goes first, while the page is whole: its destructor ends a
    // child that still runs and waits for its thread.
    if (calculationThread) {
        calculationThread->disconnect(this);
        delete calculationThread;
        calculationThread = nullptr;
    }
    delete glMolecule;
    glMolecule = nullptr;
}

// ---------------------------------------------------------------------------
// Page and files

void OrvaneFrmExternalCalculationModule::createViewerTabs()
{
    const QStringList titles = isMopacPage()
                                   ? QStringList{QStringLiteral(".mol2 Input File"),
                                                 QStringLiteral("MOPAC .out File")}
                                   : QStringList{QStringLiteral("MOPAC .out File"),
                                                 QStringLiteral("ORCA .orcout File")};
    for (const QString& title : titles) {
        auto* view = new QPlainTextEdit(ui->tabWidgetViewFiles);
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setFont(OrvanePlatform::fileViewFont());
        ui->tabWidgetViewFiles->addTab(view, title);
    }
}

QPlainTextEdit* OrvaneFrmExternalCalculationModule::tabView(int index) const
{
    return qobject_cast<QPlainTextEdit*>(ui->tabWidgetViewFiles->widget(index));
}

QString OrvaneFrmExternalCalculationModule::inputFileHint() const
{
    return isMopacPage() ? mopacHint : orcaHint;
}

void OrvaneFrmExternalCalculationModule::showInputFileHint()
{
    ui->edtFile->setStyleSheet(MyLineEdit::hintStyleSheet());
    ui->edtFile->setText(inputFileHint());
    ui->edtFile->setToolTip(inputFileHint());
}

// ---------------------------------------------------------------------------
// Program path and model list

void OrvaneFrmExternalCalculationModule::on_btnSetExternalProgramPath_clicked()
{
    QString path;
    if (isMopacPage()) {
#ifdef Q_OS_WIN
        const QString filter = QStringLiteral("MOPAC Executable (*.exe)");
#else
        const QString filter = QStringLiteral("MOPAC Executable (*.exe MOPAC* mopac*)");
#endif
        path = OrvaneDialogs::openFileName(this, QStringLiteral("Open The MOPAC Executable"),
                                           QDir::homePath(), filter);
    } else {
#ifdef Q_OS_WIN
        const QString proposed = QDir::homePath() + QStringLiteral("/orca.exe");
        const QString filter = QStringLiteral("ORCA Executable (orca.exe)");
#else
        const QString proposed = QDir::homePath() + QStringLiteral("/orca");
        const QString filter = QStringLiteral("ORCA Executable (orca.exe orca)");
#endif
        path = OrvaneDialogs::openFileName(this, QStringLiteral("Open The ORCA Executable"), proposed,
                                           filter);
        if (OrvaneExternalRun::hasBlankOrComma(path)) {
#ifdef Q_OS_WIN
            const QString example = QStringLiteral("C:\\ORCA");
#else
            const QString example = QStringLiteral("/opt/orca");
#endif
            OrvaneDialogs::critical(
                this, QStringLiteral("ORVANE error"),
                QStringLiteral("The directory name of the ORCA program contains blank space or "
                               "comma,\nwhich can compromise the running of ORCA.\nPlease, remove any "
                               "blank space or comma of directory name of the ORCA program.\nFor "
                               "instance, place all ORCA executable in a directory like ")
                    + example + QStringLiteral(". \n"));
            programPath.clear();
            ui->lineEditSetExternalProgramPath->clear();
            return;
        }
    }
    if (path.isEmpty())
        return;
    // A file dialog's filter does not check what the file is; the runner can
    // only start an executable file.
    const QFileInfo program(path);
    if (!program.isFile() || !program.isExecutable()) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The chosen file is not an executable program:\n")
                                    + path);
        return;
    }
    programPath = path;
    ui->lineEditSetExternalProgramPath->setText(path);
    if (isMopacPage()) {
        saveMopacPath(path);
        const QString previousModel = currentModel();
        fillModelList(true);
        announceModelReset(previousModel, QStringLiteral("the models that ") + QFileInfo(path).fileName()
                                              + QStringLiteral(" offers start with it"));
    } else {
        saveOrcaPath(path);
    }
}

void OrvaneFrmExternalCalculationModule::saveMopacPath(const QString& path)
{
    OrvaneSettings::setValue(mopacDirectoryKey, path);
}

void OrvaneFrmExternalCalculationModule::saveOrcaPath(const QString& path)
{
    OrvaneSettings::setValue(orcaDirectoryKey, path);
}

void OrvaneFrmExternalCalculationModule::loadProgramPath()
{
    QString path = OrvaneSettings::value(isMopacPage() ? mopacDirectoryKey : orcaDirectoryKey);
    // Until the user chooses one, the program on the PATH is proposed; it is
    // not stored, so a later PATH is followed.
    if (path.isEmpty())
        path = isMopacPage() ? OrvanePlatform::findMopacProgram() : OrvanePlatform::findOrcaProgram();
    if (path.isEmpty())
        return;
    programPath = path;
    ui->lineEditSetExternalProgramPath->setText(path);
    showProgramPath(true);
}

void OrvaneFrmExternalCalculationModule::showProgramPath(const bool& shown)
{
    ui->lineEditSetExternalProgramPath->setVisible(shown);
    ui->btnSetExternalProgramPath->setVisible(shown);
    if (isMopacPage())
        fillModelList(shown);
}

void OrvaneFrmExternalCalculationModule::fillModelList(const bool& knownProgram)
{
    if (!isMopacPage())
        return;
    static const QStringList fullList = {
        QStringLiteral("RM1"),         QStringLiteral("Sparkle/RM1"), QStringLiteral("Sparkle/AM1"),
        QStringLiteral("Sparkle/PM3"), QStringLiteral("Sparkle/PM6"), QStringLiteral("Sparkle/PM7")};
    QStringList items;
    bool sparkleOnly = false;
    if (!knownProgram) {
        items = fullList;
    } else {
        const QString base = QFileInfo(programPath).baseName();
        if (base.contains(QLatin1String("MOPAC2007")) || base.contains(QLatin1String("MOPAC2009"))) {
            items = QStringList{QStringLiteral("Sparkle/AM1"), QStringLiteral("Sparkle/PM3"),
                                QStringLiteral("Sparkle/PM6")};
            sparkleOnly = true;
        } else if (base.contains(QLatin1String("MOPAC2012"))) {
            items = fullList.mid(1);
            sparkleOnly = true;
        } else if (base.contains(QLatin1String("MOPAC2016"))) {
            items = fullList;
        } else {
            return;
        }
    }
    QComboBox* models = frmMopacKeywords->ui->cbxSparkleMethod;
    models->clear();
    models->insertItems(0, items);
    if (sparkleOnly)
        frmMopacKeywords->setLeadingKeyword(QStringLiteral("SPARKLE"));
}

QString OrvaneFrmExternalCalculationModule::currentModel() const
{
    return frmMopacKeywords ? frmMopacKeywords->ui->cbxSparkleMethod->currentText() : QString();
}

void OrvaneFrmExternalCalculationModule::announceModelReset(const QString& previousModel, const QString& reason)
{
    const QString model = currentModel();
    if (previousModel.isEmpty() || model == previousModel)
        return;
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleGeometry, QStringLiteral("The semiempirical model was reset from ") + previousModel
                            + QStringLiteral(" to ") + model + QStringLiteral(" because ") + reason
                            + QStringLiteral("; choose the model again before running if needed.")));
}

// ---------------------------------------------------------------------------
// Viewers

void OrvaneFrmExternalCalculationModule::showAtomLabels(bool isClicked)
{
    Q_UNUSED(isClicked)
    QApplication::setOverrideCursor(Qt::WaitCursor);
    glMolecule->showLabels = cbxShowAtomLabels->isChecked();
    glMolecule->setStyle(GLMolecule::BallsAndSticks);
    glMolecule->setMolecule(&molecule);
    QApplication::restoreOverrideCursor();
}

void OrvaneFrmExternalCalculationModule::on_btnFind_clicked()
{
    if (auto* field = frmSearching->findChild<QLineEdit*>(QStringLiteral("edtFind")))
        field->setFocus();
    frmSearching->show();
}

void OrvaneFrmExternalCalculationModule::setPlainTextEdit(int index)
{
    if (QPlainTextEdit* view = tabView(index))
        frmSearching->plainTextEdit = view;
}

void OrvaneFrmExternalCalculationModule::on_cbxShowMoleculeViewer_toggled(bool checked)
{
    ui->widgetViewMolecule->setVisible(checked);
}

void OrvaneFrmExternalCalculationModule::on_dockWidget_topLevelChanged(bool topLevel)
{
    if (topLevel)
        OrvaneScreenPlacement::placeFloatingDock(ui->dockWidget);
}

void OrvaneFrmExternalCalculationModule::on_btnShowAbsorptionSpectrumModule_clicked()
{
    // The last run's own output; the file of the judged name only when the
    // button was made usable without a run.
    emit showAbsorptionSpectrumCalculationModule(3, spectrumOutput.isEmpty() ? orcaResultFile() : spectrumOutput);
    emit showAbsorptionSpectrumCalculationModule(2);
}
