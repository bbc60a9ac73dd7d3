#ifndef ORVANEFRMIONIONTRANSFER_H
#define ORVANEFRMIONIONTRANSFER_H

#include "abstractobjcalculationwidget.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class OrvaneFrmSearching;
class QCPTextElement;
class QListWidgetItem;

namespace Ui {
class OrvaneFrmIonIonTransfer;
}

// Energy transfer between two lanthanide ions (Eu(III) and Tb(III)) of one
// structure: lists the ion pairs of a MOL2 file or MOPAC output within
// 10 Angstrom, and for a chosen pair and levels draws the dipole-dipole,
// quadrupole-quadrupole, dipole-quadrupole and exchange rates as horizontal
// bars.
class OrvaneFrmIonIonTransfer : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmIonIonTransfer(QWidget* parent = nullptr);
    ~OrvaneFrmIonIonTransfer() override;

    static const QString hintText;
    // Pairs farther apart than this (Angstrom) are not listed.
    static constexpr double maxPairDistance = 10.0;

    // The rates of the last calculation: dd, qq, dq, ex (s^-1).
    QVector<double> getTransferRates() const { return transferRates; }

private slots:
    void on_cbxDonorIon_currentIndexChanged(int index);
    void on_cbxAcceptorIon_currentIndexChanged(int index);
    void on_btnCalculate_clicked();
    void on_btnChooseMopacOut_clicked();
    void on_edtInputFile_textChanged(QString text);
    void on_btnFind_clicked();
    void on_btnClearProject_clicked();
    void on_listWidgetDistances_itemPressed(QListWidgetItem* item);

private:
    void fillLevels(int comboIndex, bool donor);
    void readStructure();
    void plotResults();
    void clearPlot();
    void loadTextFile(const QString& fileName);
    void setTitle(const QString& text);

    std::unique_ptr<Ui::OrvaneFrmIonIonTransfer> ui;
    OrvaneFrmSearching* frmSearching = nullptr;
    QCPTextElement* title = nullptr;
    QString inputFileName;
    QStringList euLevels;
    QStringList tbLevels;
    QVector<double> transferRates;
    QString donorLevel;
    QString acceptorLevel;
};

#endif
