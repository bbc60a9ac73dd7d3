#ifndef ORVANEFRMSETGANDALPHA_H
#define ORVANEFRMSETGANDALPHA_H

#include "ui_orvanefrmsetgandalpha.h"

#include <QString>
#include <QVector>
#include <QWidget>

class QStandardItemModel;

// A table of the charge factor g (row 0) and the polarizability alpha in
// 1e-24 cm^3 (row 1) of every coordinating atom; column i stands for atom i+2
// of the structure and is headed by its label and number, e.g. "O 2".
class OrvaneFrmSetGandAlpha : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmSetGandAlpha(QWidget* parent = nullptr);
    ~OrvaneFrmSetGandAlpha() override;

    // Reads structureFile and makes one column per coordinating atom, keeping
    // the columns (and what was typed) that stay; an unreadable file is
    // reported and leaves the table as it was.
    void updateTable();
    // No structure, coordination number 1, no columns.
    void clearTable();
    // One value per column; an empty cell or a text that is no number is 0.
    QVector<double> getChargeFactors() const;
    QVector<double> getPolarizabilities() const;
    // Why the typed values cannot be used, naming the first faulty cell by
    // its atom and its row; empty when every cell is empty (0) or a number
    // the model takes: a charge factor from 0 to the widest bound of the
    // charge-factor fit, a polarizability of 0 or more.
    QString typedValuesProblem() const;
    static double maxChargeFactor();

    // The MOPAC file whose atoms head the columns, and how to read it:
    // 0 output, 1 input (.mop).
    QString structureFile;
    int structureFileType = 0;

    Ui::OrvaneFrmSetGandAlpha ui;

public slots:
    void on_sbxCoordNumber_valueChanged(int i);

private:
    void setRowHeaders();
    // Header, both rows and a sideways scroll bar, never cut.
    void fitTableHeight();
    QVector<double> rowValues(int row) const;

    QStandardItemModel* tableModel = nullptr;
};

#endif
