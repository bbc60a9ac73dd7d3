#include "orvanefrmfilesconverter.h"
#include "ui_orvanefrmfilesconverter.h"

#include "orvanedialogs.h"
#include "orvanefilesconverter.h"
#include "orvanenormalizepoints.h"
#include "orvaneorganizemolecules.h"
#include "orvaneplatform.h"
#include "orvanerl.h"
#include "orvanetextfileview.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <memory>

namespace {

const QString warningTitle = QStringLiteral("ORVANE Warning");
const QString errorTitle = QStringLiteral("ORVANE Error");

enum InputKind { Mol2Input = 0, MopacOutput = 1, ZindoOutput = 2, OrcaOutput = 3 };

// The first word of a list entry: "out (MOPAC Output File )" gives "out".
QString firstWord(const QString& text)
{
    return text.section(QLatin1Char(' '), 0, 0);
}

} // namespace

OrvaneFrmFilesConverter::OrvaneFrmFilesConverter(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmFilesConverter>())
{
    ui->setupUi(this);
    ui->lblTitle->setText(tr("Module 4: Files Converter"));
    ui->cbxOutFile->addItem(tr("mop (MOPAC Input File)"));
    ui->plainTextEditOutFile->setAcceptDrops(false);
    for (QPlainTextEdit* view : {ui->plainTextEditInpFile, ui->plainTextEditOutFile})
        view->setFont(OrvanePlatform::fileViewFont());
    setAcceptDrops(true);
    ui->frameAbsorptionSpectrum->hide();
    inputType = QStringLiteral("mol2");
    outputType = QStringLiteral("mop");
    ui->label->hide();
    ui->lineEditKeywords->hide();
    connect(ui->cbxInpFile, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &OrvaneFrmFilesConverter::cbxInpFileWasChanged);
    connect(ui->cbxOutFile, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &OrvaneFrmFilesConverter::cbxOutFileWasChanged);
    ui->btnSaveOutputFile->setEnabled(false);
    loadLastDirectory();
}

OrvaneFrmFilesConverter::~OrvaneFrmFilesConverter()
{
    if (!inputFileName.isEmpty())
        saveLastDirectory(QFileInfo(inputFileName).absolutePath());
}

void OrvaneFrmFilesConverter::cbxInpFileWasChanged()
{
    ui->cbxOutFile->clear();
    ui->plainTextEditInpFile->clear();
    switch (ui->cbxInpFile->currentIndex()) {
    case Mol2Input:
        ui->cbxOutFile->addItem(tr("mop (MOPAC Input File)"));
        break;
    case MopacOutput:
        ui->cbxOutFile->addItems({tr("inp (ZINDO Input File)"), tr("mop (MOPAC Input File)"),
                                  tr("gjf (GAUSSIAN Input File)"), tr("orcinp (ORCA Input File)"),
                                  tr("sph (Spherical Coordinates)"), tr("zmt (HyperChem Input File)")});
        break;
    case ZindoOutput:
    case OrcaOutput:
        ui->cbxOutFile->addItems(
            {tr("spec (Spectroscopy Properties File)"), tr("txt (Normalized Points)")});
        break;
    default:
        break;
    }
    inputType = firstWord(ui->cbxInpFile->currentText());
    outputType = firstWord(ui->cbxOutFile->currentText());
    ui->btnSaveOutputFile->setEnabled(false);
    ui->lineEditInpFile->clear();
}

void OrvaneFrmFilesConverter::cbxOutFileWasChanged()
{
    outputType = firstWord(ui->cbxOutFile->currentText());
    ui->plainTextEditOutFile->clear();
    ui->lineEditOutFile->clear();
    if (!ui->lineEditInpFile->text().isEmpty())
        ui->btnSaveOutputFile->setEnabled(true);
    ui->frameAbsorptionSpectrum->setVisible(outputType.contains(QLatin1String("txt")));
}

void OrvaneFrmFilesConverter::on_btnOpenInputFile_clicked()
{
    loadLastDirectory();
    // Patterns apart by blanks: Qt's own dialog splits at blanks only.
    const QString filter = inputType.contains(QLatin1String("mol2"))
        ? QStringLiteral("%1 File (*.%1 *.ml2)").arg(inputType)
        : QStringLiteral("%1 File (*.%1)").arg(inputType);
    const QString chosen =
        OrvaneDialogs::openFileName(this, tr("Open Input File"), lastDirectory, filter);
    // A cancelled dialog keeps the file the name field still shows.
    if (chosen.isEmpty())
        return;
    inputFileName = chosen;
    ui->lineEditInpFile->setText(inputFileName);
    showInputFile(inputFileName);
    ui->btnSaveOutputFile->setEnabled(true);
    saveLastDirectory(QFileInfo(inputFileName).absolutePath());
    loadLastDirectory();
}

void OrvaneFrmFilesConverter::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        event->acceptProposedAction();
}

void OrvaneFrmFilesConverter::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    const QString dropped = urls.first().toLocalFile();
    if (dropped.isEmpty())
        return;

    const QString suffix = QFileInfo(dropped).suffix();
    int kind = -1;
    if (suffix == QLatin1String("mol2") || suffix == QLatin1String("ml2"))
        kind = Mol2Input;
    else if (suffix == QLatin1String("out"))
        kind = MopacOutput;
    else if (suffix == QLatin1String("zin"))
        kind = ZindoOutput;
    else if (suffix == QLatin1String("orcout"))
        kind = OrcaOutput;

    if (kind < 0) {
        // The refused file never becomes the input: the fields still show
        // the previous one, and a later save must not convert another file.
        OrvaneDialogs::warning(this, warningTitle,
                               QStringLiteral("The desired file contains an unknown extension (") + suffix
                                   + QStringLiteral(").\nPlease, try to open another file."));
        ui->btnSaveOutputFile->setEnabled(false);
        event->acceptProposedAction();
        return;
    }

    ui->plainTextEditInpFile->clear();
    inputFileName = dropped;
    ui->cbxInpFile->setCurrentIndex(kind);
    showInputFile(inputFileName);
    ui->lineEditInpFile->setText(inputFileName);
    ui->btnSaveOutputFile->setEnabled(true);
    event->acceptProposedAction();
}

void OrvaneFrmFilesConverter::on_btnSaveOutputFile_clicked()
{
    const QString chosen = OrvaneDialogs::saveFileName(
        this, tr("Save Output File"), QFileInfo(inputFileName).absolutePath(),
        QStringLiteral("%1 File (*.%1)").arg(outputType));
    if (chosen.isEmpty())
        return;
    outputFileName = chosen;
    ui->lineEditOutFile->setText(outputFileName);

    if (!convert())
        return;

    showOutputFile(outputFileName);
    ui->btnSaveOutputFile->setEnabled(false);
    OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was created successfully at: \n ")
                                   + outputFileName);
}

bool OrvaneFrmFilesConverter::convert()
{
    // Every engine object lives for this conversion only, a failed one too.
    if (inputType == QLatin1String("mol2")) {
        const std::unique_ptr<OrvaneOrganizeMolecules> organizer =
            std::make_unique<OrvaneOrganizeMolecules>(this);
        if (!organizer->readMOL2(inputFileName) || !organizer->createOutpuFile(outputFileName))
            return reportFailure(*organizer);
        return true;
    }

    if (outputType == QLatin1String("spec")) {
        const std::unique_ptr<OrvaneRL> rl = std::make_unique<OrvaneRL>(this, inputFileName);
        const int program = inputType == QLatin1String("zin") ? OrvaneRL::Zindo : OrvaneRL::Orca;
        if (!rl->calcRL(program))
            return reportFailure(*rl);
        // The report writer tells an unwritable target only by its last error.
        rl->createOutput(outputFileName);
        if (!rl->getLastError().isEmpty())
            return reportFailure(*rl);
        return true;
    }

    if (outputType == QLatin1String("txt")) {
        // A ZINDO output is read with the ZINDO absorption reader.
        const int program = inputType == QLatin1String("zin") ? OrvaneNormalizePoints::Zindo
                                                              : OrvaneNormalizePoints::Orca;
        const std::unique_ptr<OrvaneNormalizePoints> spectrum =
            std::make_unique<OrvaneNormalizePoints>(this, inputFileName, program);
        if (!spectrum->getLastError().isEmpty())
            return reportFailure(*spectrum);
        spectrum->bandWidth = ui->spinBoxHHW->value();
        spectrum->initialWavelength = ui->spinBoxMinimum->value();
        spectrum->finalWavelength = ui->spinBoxMaximum->value();
        spectrum->createEspFile(outputFileName);
        if (!spectrum->getLastError().isEmpty())
            return reportFailure(*spectrum);
        return true;
    }

    const std::unique_ptr<OrvaneFilesConverter> converter =
        std::make_unique<OrvaneFilesConverter>(this, inputFileName);
    connect(converter.get(), &OrvaneAbstractObjCalculation::newObjCalculationMessage, this,
            &OrvaneFrmFilesConverter::processStatus);
    bool converted = false;
    if (outputType == QLatin1String("inp"))
        converted = converter->convertFromOutToInp(outputFileName);
    else if (outputType == QLatin1String("gjf"))
        converted = converter->convertFromOutToGjf(outputFileName);
    else if (outputType == QLatin1String("mop"))
        converted = converter->convertFromOutToMop(outputFileName);
    else if (outputType == QLatin1String("orcinp"))
        converted = converter->convertFromOutToInpOrca(outputFileName, true, false, 0, 0, 50, QString());
    else if (outputType == QLatin1String("zmt"))
        converted = converter->convertFromOutToZmt(outputFileName);
    else if (outputType == QLatin1String("sph"))
        converted = converter->convertFromOutToSph(outputFileName);
    else
        converter->setLastError(QStringLiteral("ORVANE cannot convert a .%1 file into a .%2 file.")
                                    .arg(inputType, outputType));
    if (!converted)
        return reportFailure(*converter);
    return true;
}

bool OrvaneFrmFilesConverter::reportFailure(const OrvaneAbstractObjCalculation& engine)
{
    OrvaneDialogs::critical(this, errorTitle, engine.getLastError());
    return false;
}

void OrvaneFrmFilesConverter::showInputFile(const QString& fileName)
{
    showFile(fileName, ui->plainTextEditInpFile);
}

void OrvaneFrmFilesConverter::showOutputFile(const QString& fileName)
{
    showFile(fileName, ui->plainTextEditOutFile);
}

void OrvaneFrmFilesConverter::showFile(const QString& fileName, QPlainTextEdit* view)
{
    if (fileName.isEmpty())
        return;
    // The box names the file once: the cause is given without its name.
    QString reason;
    OrvaneTextFileView::ReadDetails details;
    if (!OrvaneTextFileView::show(view, fileName, reason, &details))
        OrvaneDialogs::warning(this, warningTitle,
                               tr("ORVANE could not read file %1:\n%2.").arg(fileName, details.cause));
}
