#ifndef ORVANEFRMHANDLESPECTROSCOPICCALCULATION_H
#define ORVANEFRMHANDLESPECTROSCOPICCALCULATION_H

#include <QString>
#include <QWidget>

#include <memory>

class OrvaneFrmPlotAbsorptionSpectrum;
class QListWidgetItem;

namespace Ui {
class OrvaneFrmHandleSpectroscopicCalculation;
}

// Module 3 of the main window: an icon list beside a stack of the
// spectroscopic pages (emission spectrum, intensity parameters, energy
// transfer and quantum yield, absorption spectrum, free-ion energy levels,
// ion-to-ion energy transfer, non-radiative rate). It owns the pages, relays
// their log lines as its own, and lets the ORCA page jump to the absorption
// spectrum with a file.
class OrvaneFrmHandleSpectroscopicCalculation : public QWidget
{
    Q_OBJECT
public:
    enum Page {
        EmissionSpectrum = 0,
        IntensityParameters = 1,
        EnergyTransfer = 2,
        AbsorptionSpectrum = 3,
        EnergyLevels = 4,
        IonIonTransfer = 5,
        NonRadiativeRate = 6
    };

    explicit OrvaneFrmHandleSpectroscopicCalculation(QWidget* parent = nullptr);
    ~OrvaneFrmHandleSpectroscopicCalculation() override;

signals:
    // One log line of any page, unchanged.
    void newObjCalculationMessage(const QString& message);

public slots:
    void statusMessage(const QString& message);
    // Shows the page of current's row, or of previous's when current is null.
    void changePage(QListWidgetItem* current, QListWidgetItem* previous);
    // Makes index the current row and page (an index outside the pages
    // changes neither), then hands fileName to the absorption page, which
    // ignores an empty name.
    void setPageToBeDisplayed(const int& index, const QString& fileName);

private:
    void addPage(QWidget* page);

    std::unique_ptr<Ui::OrvaneFrmHandleSpectroscopicCalculation> ui;
    OrvaneFrmPlotAbsorptionSpectrum* frmPlotAbsorptionSpectrum = nullptr;
};

#endif
