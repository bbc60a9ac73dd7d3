#include "orvanefrmsetgandalpha.h"

#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvanefitbounds.h"
#include "orvaneinputdata.h"
#include "orvanetextreader.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardItemModel>

#include <cmath>

OrvaneFrmSetGandAlpha::OrvaneFrmSetGandAlpha(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // No more donors than the engine's per-atom arrays hold.
    ui.sbxCoordNumber->setMaximum(OrvaneEu3Model::maxCoordNumber);
    tableModel = new QStandardItemModel(2, 0, this);
    ui.tableView->setModel(tableModel);
    // Two rows, both always whole: no vertical scrolling; many donors scroll
    // sideways under the rows.
    ui.tableView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.tableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRowHeaders();
}

void OrvaneFrmSetGandAlpha::fitTableHeight()
{
    QTableView* table = ui.tableView;
    QHeaderView* header = table->horizontalHeader();
    // An empty header reports no height: the font tells what a title needs.
    const int headerHeight = qMax(header->sizeHint().height(), header->fontMetrics().height() + 8);
    table->setFixedHeight(headerHeight + table->verticalHeader()->length()
                          + table->horizontalScrollBar()->sizeHint().height() + 2 * table->frameWidth());
}

OrvaneFrmSetGandAlpha::~OrvaneFrmSetGandAlpha() = default;

void OrvaneFrmSetGandAlpha::setRowHeaders()
{
    tableModel->setRowCount(2);
    tableModel->setVerticalHeaderItem(0, new QStandardItem(tr("Charge Factors")));
    tableModel->setVerticalHeaderItem(1, new QStandardItem(tr("Polarizabilities (x 10⁻²⁴ cm³)")));
    ui.tableView->setRowHeight(0, 30);
    ui.tableView->setRowHeight(1, 30);
    fitTableHeight();
}

void OrvaneFrmSetGandAlpha::on_sbxCoordNumber_valueChanged(int)
{
    if (!structureFile.isEmpty())
        updateTable();
}

void OrvaneFrmSetGandAlpha::updateTable()
{
    OrvaneInputData structure(nullptr, structureFile);
    const bool read = structureFileType == 0 ? structure.readMopacOutFile(true) : structure.readMopFile();
    if (!read) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), structure.getLastError());
        return;
    }
    // Column i names atom i+2: never ask for an atom the structure lacks.
    const int wanted = ui.sbxCoordNumber->value();
    const int n = qMax(0, qMin(wanted, structure.getAtomsNumber() - 1));
    while (tableModel->columnCount() > n)
        tableModel->removeColumn(tableModel->columnCount() - 1);
    for (int i = tableModel->columnCount(); i < n; ++i) {
        tableModel->insertColumn(i);
        const int atom = i + 2;
        tableModel->setHorizontalHeaderItem(
            i, new QStandardItem(structure.getAtomLabel(atom) + QLatin1Char(' ') + QString::number(atom)));
        ui.tableView->setColumnWidth(i, 50);
    }
    fitTableHeight();
}

void OrvaneFrmSetGandAlpha::clearTable()
{
    structureFile.clear();
    ui.sbxCoordNumber->setValue(1);
    tableModel->clear();
    setRowHeaders();
}

QVector<double> OrvaneFrmSetGandAlpha::rowValues(int row) const
{
    QVector<double> values;
    values.reserve(tableModel->columnCount());
    for (int column = 0; column < tableModel->columnCount(); ++column)
        values << OrvaneText::toNumber(tableModel->index(row, column).data(Qt::DisplayRole).toString().trimmed());
    return values;
}

double OrvaneFrmSetGandAlpha::maxChargeFactor()
{
    // The bounds of a donor of no listed element: the widest the fit allows.
    return OrvaneFitBounds::groupFit(QString()).gUpper;
}

namespace {

// Written as a decimal number, whether or not a double can hold it: the
// reader refuses a too large or too small exponent as it refuses letters.
bool spellsDecimalNumber(const QString& text)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    return decimal.match(text).hasMatch();
}

} // namespace

QString OrvaneFrmSetGandAlpha::typedValuesProblem() const
{
    for (int row = 0; row < 2; ++row) {
        const QString what = row == 0 ? tr("charge factor") : tr("polarizability");
        for (int column = 0; column < tableModel->columnCount(); ++column) {
            const QString text = tableModel->index(row, column).data(Qt::DisplayRole).toString().trimmed();
            if (text.isEmpty())
                continue;
            const QString cell = tr("The %1 of %2 (row \"%3\")")
                                     .arg(what, tableModel->headerData(column, Qt::Horizontal).toString(),
                                          tableModel->headerData(row, Qt::Vertical).toString());
            bool number = false;
            const double value = text.toDouble(&number);
            if (!number && spellsDecimalNumber(text))
                return tr("%1 reads \"%2\", a number out of range.").arg(cell, text);
            if (!number) {
                double withPoint = 0.0;
                const QString pointed = QString(text).replace(QLatin1Char(','), QLatin1Char('.'));
                const bool decimalComma = OrvaneText::toFiniteNumber(pointed, withPoint);
                return tr("%1 reads \"%2\", which is not a number.").arg(cell, text)
                    + (decimalComma ? tr(" Please type the decimal point: %1.").arg(pointed) : QString());
            }
            if (!std::isfinite(value))
                return tr("%1 reads \"%2\", which is not a finite number.").arg(cell, text);
            if (row == 0 && (value < 0.0 || value > maxChargeFactor()))
                return tr("%1 is %2: a charge factor must lie between 0 and %3, the widest range of the "
                          "charge-factor fit.")
                    .arg(cell, text, QString::number(maxChargeFactor()));
            if (row == 1 && value < 0.0)
                return tr("%1 is %2: a polarizability cannot be negative.").arg(cell, text);
        }
    }
    return QString();
}

QVector<double> OrvaneFrmSetGandAlpha::getChargeFactors() const
{
    return rowValues(0);
}

QVector<double> OrvaneFrmSetGandAlpha::getPolarizabilities() const
{
    return rowValues(1);
}
