#include "orvanefrmioniontransfer.h"
#include "ui_orvanefrmioniontransfer.h"

#include "mylineedit.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvanefrmsearching.h"
#include "orvaneinputdata.h"
#include "orvaneioniontransfer.h"
#include "orvanetextfileview.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QSignalBlocker>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

const QString OrvaneFrmIonIonTransfer::hintText =
    QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");

namespace {

const QString moduleName = QStringLiteral("Orvane Ion-to-Ion Energy Transfer");
const QString warningTitle = QStringLiteral("ORVANE Warning");
const QString errorTitle = QStringLiteral("ORVANE Error Message");
const QString rateNames[4] = {QStringLiteral("Wetdd = "), QStringLiteral("Wetqq = "), QStringLiteral("Wetdq = "),
                              QStringLiteral("Wetex = ")};

struct PairRecord
{
    QString first;
    QString second;
    double distance = 0.0;
};

QString firstWord(const QString& text)
{
    return text.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

// The J digit of a level row ("7F1" -> 1); -1 when the row carries none.
int levelJ(const QString& row)
{
    bool ok = false;
    const int J = row.mid(2, 1).toInt(&ok);
    return ok ? J : -1;
}

} // namespace

OrvaneFrmIonIonTransfer::OrvaneFrmIonIonTransfer(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmIonIonTransfer>())
    // The third character of a row is the J of the level the ion starts from:
    // a Tb donor leaves 5D4, an Eu acceptor is excited from 7F0 or 7F1.
    , euLevels({QStringLiteral("7F0 -> 5D0"), QStringLiteral("7F1 -> 5D1"), QStringLiteral("7F2"),
                QStringLiteral("5D0"), QStringLiteral("5D1")})
    , tbLevels({QStringLiteral("5D4 -> 7F6"), QStringLiteral("7F6"), QStringLiteral("7F5")})
{
    ui->setupUi(this);
    loadLastDirectory();

    frmSearching = new OrvaneFrmSearching(this);
    ui->verticalLayout->addWidget(frmSearching);
    frmSearching->plainTextEdit = ui->plainTextEdit;
    frmSearching->hide();

    ui->edtInputFile->setText(hintText);
    ui->edtInputFile->setStyleSheet(MyLineEdit::hintStyleSheet());

    QCustomPlot* plot = ui->customPlot;
    plot->plotLayout()->insertRow(0);
    title = new QCPTextElement(plot, QString(), QFont(font().family(), 12, 75));
    plot->plotLayout()->addElement(0, 0, title);
    plot->xAxis->setLabel(QStringLiteral("Rate (s\u207B\u00B9)"));
    // The rates are the result: the chart gets most of the height, the
    // structure file below it the rest.
    ui->splitter->setStretchFactor(0, 3);
    ui->splitter->setStretchFactor(1, 1);
    ui->splitter->setSizes({3000, 1000});
    ui->plainTextEdit->setPlaceholderText(tr("The opened structure file is shown here."));

    // Tb -> Eu is the transfer the form is for; both level lists have a
    // current row from the start, so Calculate works at once.
    {
        const QSignalBlocker donorBlocker(ui->cbxDonorIon);
        ui->cbxDonorIon->setCurrentIndex(1);
        const QSignalBlocker acceptorBlocker(ui->cbxAcceptorIon);
        ui->cbxAcceptorIon->setCurrentIndex(0);
    }
    fillLevels(ui->cbxDonorIon->currentIndex(), true);
    fillLevels(ui->cbxAcceptorIon->currentIndex(), false);
}

OrvaneFrmIonIonTransfer::~OrvaneFrmIonIonTransfer() = default;

void OrvaneFrmIonIonTransfer::fillLevels(int comboIndex, bool donor)
{
    QListWidget* list = donor ? ui->listWidgetDonorLevels : ui->listWidgetAcceptorLevels;
    list->clear();
    list->addItems(comboIndex == 0 ? euLevels : tbLevels);
    ui->listWidgetDonorLevels->setCurrentRow(0);
    ui->listWidgetAcceptorLevels->setCurrentRow(0);
}

void OrvaneFrmIonIonTransfer::on_cbxDonorIon_currentIndexChanged(int index)
{
    fillLevels(index, true);
}

void OrvaneFrmIonIonTransfer::on_cbxAcceptorIon_currentIndexChanged(int index)
{
    fillLevels(index, false);
}

void OrvaneFrmIonIonTransfer::on_btnCalculate_clicked()
{
    const QListWidgetItem* donorItem = ui->listWidgetDonorLevels->currentItem();
    const QListWidgetItem* acceptorItem = ui->listWidgetAcceptorLevels->currentItem();
    const int donorJ = donorItem ? levelJ(donorItem->text()) : -1;
    const int acceptorJ = acceptorItem ? levelJ(acceptorItem->text()) : -1;
    if (donorJ < 0 || acceptorJ < 0) {
        OrvaneDialogs::warning(this, warningTitle,
                               QStringLiteral("Choose a level of the donor and a level of the acceptor."));
        return;
    }
    // R = 0 (no pair chosen yet) or a zero half-width make every rate infinite.
    const double R = ui->dsbDistance->value();
    if (!(R > 0.0)) {
        OrvaneDialogs::warning(this, warningTitle,
                               QStringLiteral("The donor-acceptor distance R must be above 0 Angstrom: choose a "
                                              "pair of ions in the list or type the distance."));
        return;
    }
    const QString donor = firstWord(ui->cbxDonorIon->currentText());
    const QString acceptor = firstWord(ui->cbxAcceptorIon->currentText());
    namespace T = OrvaneIonIonTransfer;
    const double gammaEu = ui->dsbHalfWidthEu->value();
    const double gammaTb = ui->dsbHalfWidthTb->value();
    const T::IonConstants donorIon = T::ionConstants(donor, donorJ, gammaEu, gammaTb);
    const T::IonConstants acceptorIon = T::ionConstants(acceptor, acceptorJ, gammaEu, gammaTb);
    if (!(donorIon.halfWidth > 0.0) || !(acceptorIon.halfWidth > 0.0)) {
        OrvaneDialogs::warning(this, warningTitle,
                               QStringLiteral("The band half-widths of the donor and of the acceptor must be above "
                                              "0 cm-1."));
        return;
    }

    donorLevel = donorItem->text();
    acceptorLevel = acceptorItem->text();
    const double delta = T::energyMismatch(donor, acceptor, donorJ, acceptorJ);
    const T::Rates rates = T::transferRates(donorIon, donorJ, acceptorIon, acceptorJ, delta, R);
    transferRates = {rates.dd, rates.qq, rates.dq, rates.ex};
    plotResults();
}

void OrvaneFrmIonIonTransfer::on_btnChooseMopacOut_clicked()
{
    const QString extension = ui->rdbMol2File->isChecked() ? QStringLiteral("mol2;*.ml2") : QStringLiteral("out");
    const QString caption = extension.contains(QLatin1String("mol2")) ? QStringLiteral("Open MOL2 .mol2 File")
                                                                       : QStringLiteral("Open MOPAC .out File");
    const QString filter = QStringLiteral("%1 (*.%2)").arg(caption.mid(QStringLiteral("Open ").size()), extension);
    inputFileName = OrvaneDialogs::openFileName(this, caption, lastDirectory, filter);
    if (inputFileName.isEmpty())
        return;
    saveLastDirectory(QFileInfo(inputFileName).absolutePath());
    loadLastDirectory();
    loadTextFile(inputFileName);
    readStructure();
}

void OrvaneFrmIonIonTransfer::on_edtInputFile_textChanged(QString text)
{
    if (text.isEmpty() || text.contains(hintText) || text == inputFileName)
        return;
    const QString suffix = QFileInfo(text).suffix();
    if (suffix != QLatin1String("out") && suffix != QLatin1String("mol2")) {
        OrvaneDialogs::warning(this, warningTitle,
                               QStringLiteral("The desired file contains an unknown extension (") + suffix
                                   + QStringLiteral(").\nPlease, try to open another file."));
        return;
    }
    if (suffix == QLatin1String("out"))
        ui->rdbMopacOutFile->setChecked(true);
    else
        ui->rdbMol2File->setChecked(true);
    inputFileName = text;
    saveLastDirectory(QFileInfo(text).absolutePath());
    loadLastDirectory();
    loadTextFile(inputFileName);
    // A dropped file is read like an opened one; a path still being typed
    // names no file yet, and the pairs of the previous file no longer apply.
    if (QFileInfo(inputFileName).isFile())
        readStructure();
    else
        ui->listWidgetDistances->clear();
}

void OrvaneFrmIonIonTransfer::loadTextFile(const QString& fileName)
{
    // What cannot be shown is told by the view's note; the structure is
    // still read by the engine.
    QString reason;
    OrvaneTextFileView::show(ui->plainTextEdit, fileName, reason);
}

void OrvaneFrmIonIonTransfer::readStructure()
{
    ui->edtInputFile->setStyleSheet(QString());
    ui->edtInputFile->setText(inputFileName);
    // Every load lists the pairs of its own file only.
    ui->listWidgetDistances->clear();

    QVector<Coord> ions;
    {
        OrvaneInputData data(nullptr, inputFileName);
        bool read = true;
        if (ui->rdbMol2File->isChecked())
            read = data.readMol2File();
        else if (ui->rdbMopacOutFile->isChecked())
            read = data.readMopacOutFile(true);
        if (!read) {
            OrvaneDialogs::critical(this, errorTitle,
                                    QStringLiteral("The file ") + inputFileName
                                        + QStringLiteral(" coudn't not be read"));
            return;
        }
        const auto* begin = std::begin(OrvaneInputData::lanthanideList);
        const auto* end = std::end(OrvaneInputData::lanthanideList);
        for (int i = 1; i <= data.getAtomsNumber(); ++i) {
            const Coord atom = data.getCoord(i);
            if (std::find(begin, end, atom.label) != end)
                ions.append(atom);
        }
    }
    if (ions.size() == 1) {
        OrvaneDialogs::critical(this, errorTitle,
                                QStringLiteral("The provided structure contains only one lanthanide ion."));
        return;
    }
    for (const Coord& ion : ions) {
        if (ion.label != QLatin1String("Eu") && ion.label != QLatin1String("Tb")) {
            OrvaneDialogs::information(this, QStringLiteral("ORVANE Information Message"),
                                       QStringLiteral("This ORVANE module works only for ion-ion energy transfer "
                                                      "involving Eu+3 or Tb3+ ions."));
            return;
        }
    }

    // Pairs that read the same to 0.01 Angstrom are one row.
    QStringList texts;
    for (int i = 0; i < ions.size(); ++i) {
        for (int j = i + 1; j < ions.size(); ++j) {
            const double dx = ions[i].x - ions[j].x;
            const double dy = ions[i].y - ions[j].y;
            const double dz = ions[i].z - ions[j].z;
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            texts << ions[i].label + QLatin1Char(' ') + ions[j].label + QLatin1Char(' ')
                    + QString::number(d, 'f', 2);
        }
    }
    texts.removeDuplicates();
    QVector<PairRecord> pairs;
    for (const QString& text : texts) {
        const QStringList words = text.split(QLatin1Char(' '));
        pairs.append({words.at(0), words.at(1), words.at(2).toDouble()});
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const PairRecord& a, const PairRecord& b) { return a.distance < b.distance; });
    int row = 0;
    for (const PairRecord& pair : pairs) {
        if (pair.distance > maxPairDistance)
            break;
        ui->listWidgetDistances->insertItem(row++, pair.first.leftJustified(4) + QLatin1Char(' ')
                                                       + pair.second.leftJustified(4) + QLatin1Char(' ')
                                                       + QString::number(pair.distance, 'g', 6));
    }
}

void OrvaneFrmIonIonTransfer::on_listWidgetDistances_itemPressed(QListWidgetItem* item)
{
    if (!item)
        return;
    const QStringList words = item->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 3)
        return;
    ui->cbxAcceptorIon->setCurrentIndex(words.at(0) == QLatin1String("Eu") ? 0 : 1);
    ui->cbxDonorIon->setCurrentIndex(words.at(1) == QLatin1String("Eu") ? 0 : 1);
    ui->dsbDistance->setValue(words.at(2).toDouble());
    // The row's order decides who gives: say it, so that a pair meant the
    // other way round is swapped before Calculate.
    emit newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleName, tr("Pair %1 - %2 at %3 \u00C5: donor %4, acceptor %5; to reverse the transfer, swap them in "
                       "the Donor and Acceptor boxes.")
                        .arg(words.at(0), words.at(1), words.at(2), ui->cbxDonorIon->currentText(),
                             ui->cbxAcceptorIon->currentText())));
}

void OrvaneFrmIonIonTransfer::setTitle(const QString& text)
{
    title->setText(text);
    title->setFont(QFont(font().family(), 12, 75, false));
}

void OrvaneFrmIonIonTransfer::plotResults()
{
    clearPlot();
    setTitle(ui->cbxDonorIon->currentText().left(2) + QLatin1Char(' ') + donorLevel + QStringLiteral(" <-> ")
             + ui->cbxAcceptorIon->currentText().left(2) + QLatin1Char(' ') + acceptorLevel);

    QCustomPlot* plot = ui->customPlot;
    // Horizontal bars: the y axis carries the four mechanisms.
    auto* bars = new QCPBars(plot->yAxis, plot->xAxis);
    const QVector<double> keys = {1, 2, 3, 4};
    bars->setData(keys, transferRates, true);
    bars->setWidth(2.0 / 4.0);
    bars->setPen(QPen(Qt::black));
    bars->setBrush(QBrush(QColor(QStringLiteral("#705BE8")), Qt::SolidPattern));
    bars->setAntialiased(false);
    bars->setAntialiasedFill(false);

    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    for (double key : keys)
        ticker->addTick(key, QString::number(key));
    plot->yAxis->setTicker(ticker);
    plot->yAxis->setSubTicks(false);

    const double largest = *std::max_element(transferRates.cbegin(), transferRates.cend());
    for (int i = 0; i < transferRates.size() && i < 4; ++i) {
        auto* label = new QCPItemText(plot);
        label->setClipToAxisRect(false);
        label->position->setType(QCPItemPosition::ptPlotCoords);
        label->position->setCoords(largest / 2.0, i + 1);
        label->setText(rateNames[i] + QString::number(transferRates.at(i), 'e', 3) + QStringLiteral("s^-1"));
        label->setFont(QFont(font().family(), 10));
    }
    plot->rescaleAxes();
    // Whole bars in view: a margin past the longest one and half a bar
    // width's room beyond the first and the last mechanism.
    if (largest > 0.0 && std::isfinite(largest))
        plot->xAxis->setRange(0.0, 1.1 * largest);
    plot->yAxis->setRange(0.5, 4.5);
    plot->replot();
}

void OrvaneFrmIonIonTransfer::clearPlot()
{
    QCustomPlot* plot = ui->customPlot;
    plot->clearGraphs();
    plot->clearPlottables();
    plot->clearItems();
    setTitle(QString());
    plot->replot();
}

void OrvaneFrmIonIonTransfer::on_btnClearProject_clicked()
{
    inputFileName.clear();
    ui->dsbHalfWidthEu->setValue(410.0);
    ui->dsbHalfWidthTb->setValue(3250.0);
    clearPlot();
}

void OrvaneFrmIonIonTransfer::on_btnFind_clicked()
{
    if (auto* field = frmSearching->findChild<QLineEdit*>(QStringLiteral("edtFind")))
        field->setFocus();
    frmSearching->show();
}
