#include "orvanefrmsetgandalpha.h"

#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvaneinputdata.h"
#include "orvanetextreader.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>

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

QVector<double> OrvaneFrmSetGandAlpha::getChargeFactors() const
{
    return rowValues(0);
}

QVector<double> OrvaneFrmSetGandAlpha::getPolarizabilities() const
{
    return rowValues(1);
}
