#include "orvanefrmexternalcalculationmodule.h"
#include "ui_orvanefrmexternalcalculationmodule.h"
#include "ui_orvanefrmmopackeywords.h"
#include "ui_orvanefrmorcakeywords.h"

#include "glmolecule.h"
#include "mylineedit.h"
#include "mythread.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"
#include "orvanefrmsearching.h"
#include "orvaneoutputfollower.h"
#include "orvanetextfileview.h"
#include "orvanescreenplacement.h"
#include "orvanefilenames.h"
#include "orvanefilesconverter.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"
#include "orvaneplatform.h"
#include "orvanesettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QString notRunningText = QStringLiteral("The calculation is not running.");
const QString mopacHint =
    QStringLiteral("Drag and drop a .mol2/.mop/.out file here OR click on button Open to open it");
const QString orcaHint =
    QStringLiteral("Drag and drop a .out/.orcinp file here OR click on button Open to open it");
const QString defaultMopacKeywords = QStringLiteral("PRECISE GEO-OK XYZ T=10D ALLVEC BFGS GNORM=0.25");

const QString moduleExternal = QStringLiteral("Orvane External Calculation Module");
const QString moduleGeometry = QStringLiteral("Orvane Geometry Optimization");
const QString moduleExcited = QStringLiteral("Orvane Excited States Calculations");

const QString mopacDirectoryKey = QStringLiteral("mopacDirectory");
const QString orcaDirectoryKey = QStringLiteral("orcaDirectory");

} // namespace

const QString OrvaneFrmExternalCalculationModule::mopacCalculationKind =
    QStringLiteral("Geometry optimization ");
const QString OrvaneFrmExternalCalculationModule::orcaCalculationKind =
    QStringLiteral("Excited states calculations ");

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

void OrvaneFrmExternalCalculationModule::on_btnChooseFile_clicked()
{
    loadLastDirectory();
    QString caption;
    QString filter;
    if (isMopacPage()) {
        if (ui->rdbMOL2File->isChecked()) {
            caption = QStringLiteral("Choose .ml2 File");
            // Patterns apart by blanks: Qt's own dialog splits at blanks only.
            filter = QStringLiteral("ml2 Files (*.ml2 *.mol2)");
        } else if (ui->rdbMopFile->isChecked()) {
            caption = QStringLiteral("Choose Mopac .mop File");
            filter = QStringLiteral("MOPAC .mop File (*.mop)");
        } else {
            caption = QStringLiteral("Choose Mopac .out File");
            filter = QStringLiteral("MOPAC .out file (*.out)");
        }
    } else if (ui->rdbMopacOut2->isChecked()) {
        caption = QStringLiteral("Choose MOPAC .out File");
        filter = QStringLiteral("MOPAC .out file (*.out)");
    } else {
        caption = QStringLiteral("Choose ORCA Input File");
        filter = QStringLiteral("ORCA input file (*.orcinp)");
    }
    const QString fileName = OrvaneDialogs::openFileName(this, caption, lastDirectory, filter);
    if (fileName.isEmpty())
        return;
    clearProject();
    inputFileName = fileName;
    saveLastDirectory(inputFolder());
    loadLastDirectory();
    acceptInputFile();
}

void OrvaneFrmExternalCalculationModule::on_edtFile_textChanged(const QString& text)
{
    // The text changes again while the project is cleared: keep a copy.
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(mopacHint) || fileName.contains(orcaHint)
        || fileName == inputFileName)
        return;

    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    QRadioButton* kind = nullptr;
    if (isMopacPage()) {
        if (extension == QLatin1String("ml2") || extension == QLatin1String("mol2"))
            kind = ui->rdbMOL2File;
        else if (extension == QLatin1String("mop"))
            kind = ui->rdbMopFile;
        else if (extension == QLatin1String("out"))
            kind = ui->rdbMopacOut1;
    } else {
        if (extension == QLatin1String("out"))
            kind = ui->rdbMopacOut2;
        else if (extension == QLatin1String("orcinp"))
            kind = ui->rdbOrcaInput;
    }
    if (!kind) {
        clearProject();
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The desired file contains an unknown extension (")
                                    + extension + QLatin1Char(')'));
        return;
    }
    kind->setChecked(true);
    inputFileName = fileName;
    acceptInputFile();
}

void OrvaneFrmExternalCalculationModule::acceptInputFile()
{
    ui->edtFile->setStyleSheet(QString());
    ui->edtFile->setText(inputFileName);
    ui->gbxPreview->setEnabled(true);
    ui->btnRunCalculation->setEnabled(!ui->rdbMopacOut1->isChecked());
    loadFileIntoTab(inputFileName, ui->rdbMopacOut1->isChecked() ? 1 : 0);
    ui->btnFind->setEnabled(true);
    if (isMopacPage())
        showMolecule();
    else
        frmOrcaKeywords->ui->editPointChargesFileName->setText(currentRun().cleanBaseName()
                                                               + QStringLiteral(".pointcharge"));
    ui->edtFile->setToolTip(ui->edtFile->text());
}

bool OrvaneFrmExternalCalculationModule::loadFileIntoTab(const QString& fileName, const int& index)
{
    if (fileName.isEmpty())
        return false;
    QPlainTextEdit* view = tabView(index);
    QString reason;
    if (!OrvaneTextFileView::show(view, fileName, reason)) {
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warning"),
                               QStringLiteral("ORVANE could not read the file %1:\n%2").arg(fileName, reason));
        return false;
    }
    if (index == 1)
        view->moveCursor(QTextCursor::End);
    ui->tabWidgetViewFiles->setCurrentIndex(index);
    return true;
}

void OrvaneFrmExternalCalculationModule::on_rdbMOL2File_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral(".mol2 Input File"));
    ui->rdbVisualizeMOL2File->setText(QStringLiteral("View Molecule from .mol2 File"));
    ui->rdbVisualizeMOL2File->setChecked(checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->stackedWidgetKeywords), static_cast<QWidget*>(ui->btnSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditRunProgress),
          static_cast<QWidget*>(ui->lblRunProgress), static_cast<QWidget*>(ui->rdbVisualizeMOL2File),
          static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopFile_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("MOPAC .mop File"));
    ui->rdbVisualizeMOL2File->setText(QStringLiteral("View Molecule from .mop File"));
    ui->rdbVisualizeMOL2File->setChecked(checked);
    // The input carries its own keywords.
    ui->stackedWidgetKeywords->setEnabled(!checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->btnSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditRunProgress), static_cast<QWidget*>(ui->lblRunProgress),
          static_cast<QWidget*>(ui->rdbVisualizeMOL2File), static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopacOut1_toggled(bool checked)
{
    clearProject();
    ui->rdbVisualizeMopacOutput->setChecked(checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->stackedWidgetKeywords), static_cast<QWidget*>(ui->btnSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditRunProgress),
          static_cast<QWidget*>(ui->lblRunProgress), static_cast<QWidget*>(ui->rdbVisualizeMOL2File),
          static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(!checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopacOut2_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("MOPAC Output File"));
    ui->stackedWidgetKeywords->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbOrcaInput_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("ORCA Input File"));
    ui->stackedWidgetKeywords->setEnabled(!checked);
}

void OrvaneFrmExternalCalculationModule::on_btnClearProject_clicked()
{
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, QStringLiteral("ORVANE Question"),
                                QStringLiteral("Are you sure you want to clear the current project? "),
                                QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::No)
        clearProject();
}

void OrvaneFrmExternalCalculationModule::clearProject()
{
    inputFileName.clear();
    ui->edtFile->clear();
    ui->lineEditRunProgress->setText(notRunningText);
    ui->btnFind->setEnabled(false);
    ui->btnShowAbsorptionSpectrumModule->setEnabled(false);
    ui->btnRunCalculation->setEnabled(false);
    ui->btnStopCalculation->setEnabled(false);
    for (int index = 0; index < ui->tabWidgetViewFiles->count(); ++index)
        tabView(index)->clear();

    if (isMopacPage()) {
        molecule.atoms.clear();
        molecule.bonds.clear();
        glMolecule->setMolecule(&molecule);
        frmMopacKeywords->ui->cbxSparkleMethod->setCurrentIndex(0);
        frmMopacKeywords->ui->edtAdditionalKeywords->setText(defaultMopacKeywords);
        fillModelList(true);
    } else {
        Ui::OrvaneFrmOrcaKeywords* panel = frmOrcaKeywords->ui.get();
        panel->chbIsTripletLevel->setChecked(true);
        panel->sbxNumberOfStates->setValue(25);
        panel->editPointChargesFileName->clear();
        panel->sbxEMin->setValue(20);
        panel->sbxEMax->setValue(20);
        panel->gbxExcitationWindows->setChecked(false);
    }
    showInputFileHint();
}

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
        fillModelList(true);
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

void OrvaneFrmExternalCalculationModule::showMolecule()
{
    if (!isMopacPage() || inputFileName.isEmpty())
        return;
    if (ui->rdbVisualizeMOL2File->isChecked()) {
        int type = -1;
        if (ui->rdbMOL2File->isChecked())
            type = Molecule::Mol2File;
        else if (ui->rdbMopFile->isChecked())
            type = OrvaneInputData::checkTypeMopFile(inputFileName) ? Molecule::MopCartesianFile
                                                                    : Molecule::ZMatrixFile;
        const bool read = type >= 0 && molecule.readMolecule(inputFileName, type);
        if (type == Molecule::Mol2File && (!read || molecule.atoms.isEmpty())) {
            // No MOPAC input can be made of it: refused now rather than at Run.
            const QString fileName = inputFileName;
            const QString reason = molecule.getLastError();
            clearProject();
            OrvaneDialogs::critical(
                this, QStringLiteral("ORVANE Error"),
                QStringLiteral("The file holds no atoms that ORVANE can read: ") + fileName
                    + (reason.isEmpty() || reason == QLatin1String("error") ? QString()
                                                                           : QLatin1Char('\n') + reason));
            return;
        }
        if (type >= 0 && !read) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), molecule.getLastError());
            return;
        }
    } else if (ui->rdbVisualizeMopacOutput->isChecked()) {
        if (!molecule.readMolecule(OrvaneFileNames::withFinalSuffix(inputFileName, QStringLiteral("out")),
                                   Molecule::MopacOutputFile)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), molecule.getLastError());
            if (!ui->rdbMopacOut1->isChecked())
                ui->rdbVisualizeMOL2File->setChecked(true);
            return;
        }
    }
    if (!molecule.containsLanthanide) {
        QString keywords = frmMopacKeywords->ui->edtAdditionalKeywords->text();
        keywords.remove(QStringLiteral("SPARKLE"));
        frmMopacKeywords->ui->edtAdditionalKeywords->setText(keywords);
    }
    glMolecule->showLabels = cbxShowAtomLabels->isChecked();
    glMolecule->setStyle(GLMolecule::BallsAndSticks);
    glMolecule->setMolecule(&molecule);
}

void OrvaneFrmExternalCalculationModule::on_rdbVisualizeMopacOutput_toggled(bool checked)
{
    if (inputFileName.isEmpty()) {
        if (!ui->rdbMopacOut1->isChecked())
            ui->rdbVisualizeMOL2File->setChecked(true);
        return;
    }
    if (checked) {
        const QString output = OrvaneFileNames::withFinalSuffix(inputFileName, QStringLiteral("out"));
        if (!QFileInfo::exists(output)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                    QStringLiteral("The file ") + output
                                        + QStringLiteral(" does not exist."));
            if (!ui->rdbMopacOut1->isChecked()) {
                ui->rdbVisualizeMOL2File->setChecked(true);
                return;
            }
        } else {
            loadFileIntoTab(output, 1);
        }
    }
    showMolecule();
}

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
    emit showAbsorptionSpectrumCalculationModule(3, orcaResultFile());
    emit showAbsorptionSpectrumCalculationModule(2);
}

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
        if (!createOrcaInputFile(next.orcaWorkInput(), secondPass, &reason)) {
            abandonRun(reason);
            return;
        }
    }
    run = next;
    runState = secondPass ? RunState::SecondPass : RunState::FirstPass;
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
    }
}

bool OrvaneFrmExternalCalculationModule::createMopFile(QString* reason)
{
    OrvaneOrganizeMolecules organizer(this);
    // The user is told why: a silent return would leave a run that never starts.
    bool written = organizer.readMOL2(inputFileName);
    if (written) {
        organizer.key = frmMopacKeywords->keywordLine();
        written = organizer.createOutpuFile(currentRun().mopacInput());
    }
    if (!written) {
        *reason = organizer.getLastError();
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), *reason);
    }
    return written;
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
          static_cast<QWidget*>(ui->btnShowAbsorptionSpectrumModule),
          static_cast<QWidget*>(ui->btnSetExternalProgramPath), static_cast<QWidget*>(ui->btnRunCalculation),
          static_cast<QWidget*>(ui->frameMopac), static_cast<QWidget*>(ui->frameOrca)})
        widget->setEnabled(!running);
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

    QStringList failedMoves;
    if (isMopacPage()) {
        for (const QString& name : run.deleteMopacAuxiliaryFiles())
            emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
                moduleGeometry, QStringLiteral("File ") + name
                                    + QStringLiteral(" was deleted after the geometry optimization.")));
    } else {
        run.deleteOrcaAuxiliaryFiles();
        // Results replace those of an earlier run only as a whole set, and
        // only when the new run succeeded.
        if (succeeded && run.source() == OrvaneExternalRun::Source::MopacOutput)
            failedMoves = run.moveOrcaResults();
    }

    const QString kind = isMopacPage() ? mopacCalculationKind : orcaCalculationKind;
    dialogOpen = true;
    if (terminated) {
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   kind + QStringLiteral("was terminated successfully."));
    } else if (!succeeded) {
        OrvaneDialogs::critical(
            this, QStringLiteral("ORVANE Information"),
            kind + QStringLiteral("did not successfully finish. There has been an error in the "
                                  "calculation. \n Please, check the output file of the external "
                                  "program to identify the possible errors."));
    } else if (!failedMoves.isEmpty()) {
        OrvaneDialogs::critical(
            this, QStringLiteral("ORVANE Error"),
            kind + QStringLiteral("finished, but its results could not be placed beside the input "
                                  "file; the results of an earlier run were kept where they could "
                                  "not be replaced:\n")
                + failedMoves.join(QLatin1Char('\n')));
    } else {
        OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                                   kind + QStringLiteral("finished sucessfully."));
    }
    dialogOpen = false;
    finishPending = false;
}
