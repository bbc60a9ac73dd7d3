#include "orvanefrmsetgandalpha.h"

#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvaneinputdata.h"
#include "orvanetextreader.h"

#include <QStandardItemModel>

OrvaneFrmSetGandAlpha::OrvaneFrmSetGandAlpha(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // No more donors than the engine's per-atom arrays hold.
    ui.sbxCoordNumber->setMaximum(OrvaneEu3Model::maxCoordNumber);
    tableModel = new QStandardItemModel(2, 0, this);
    ui.tableView->setModel(tableModel);
    setRowHeaders();
}

OrvaneFrmSetGandAlpha::~OrvaneFrmSetGandAlpha() = default;

void OrvaneFrmSetGandAlpha::setRowHeaders()
{
    tableModel->setRowCount(2);
    tableModel->setVerticalHeaderItem(0, new QStandardItem(tr("Charge Factors")));
    tableModel->setVerticalHeaderItem(1, new QStandardItem(tr("Polarizabilities (x 10^-24)")));
    ui.tableView->setRowHeight(0, 30);
    ui.tableView->setRowHeight(1, 30);
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
