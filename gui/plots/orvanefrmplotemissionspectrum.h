#ifndef ORVANEFRMPLOTEMISSIONSPECTRUM_H
#define ORVANEFRMPLOTEMISSIONSPECTRUM_H

#include "abstractobjcalculationwidget.h"

#include <QList>
#include <QString>
#include <QVector>

#include <memory>

class OrvaneFrmCIEDiagram;
class OrvaneUnsavedNotice;
class QGroupBox;
class QLineEdit;
class QSlider;

namespace Ui {
class OrvaneFrmPlotEmissionSpectrum;
}

// Experimental intensity parameters from a measured Eu(III) emission
// spectrum: the user loads a text file of wavelength and intensity pairs,
// marks the 5D0 -> 7FJ bands (J = 0..5) with sliders or typed limits, and
// gets Omega2, Omega4 and the radiative rate from the band areas and
// barycentres, saved as .orvaneexp beside the spectrum. The same spectrum
// opens the CIE 1931 chromaticity diagram.
class OrvaneFrmPlotEmissionSpectrum : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmPlotEmissionSpectrum(QWidget* parent = nullptr);
    ~OrvaneFrmPlotEmissionSpectrum() override;

    // Trapezoid area (intensity x nm) of the samples first .. last-1 and
    // their intensity-weighted mean wavelength as a wavenumber (cm^-1).
    void calculateBandAreaAndBarycenter(const int& first, const int& last, double& barycenter,
                                        double& area) const;
    // Index of the sample nearest to wavelength (the lower one on a tie):
    // the first or the last sample for a wavelength beyond the spectrum.
    int indexOfNearestWavelength(const double& wavelength) const;

    QString getFileName() const { return fileName; }
    const QVector<double>& getWavelengths() const { return wavelengths; }
    const QVector<double>& getIntensities() const { return intensities; }
    OrvaneFrmCIEDiagram* getCieDiagram() const { return cieDiagram.get(); }

signals:
    void signalSetEnabledGroupBox(int on);
    void signalValueChanged(int index);
    void signalTextEdited(const QString& index);

public slots:
    void on_editEmissionSpectrumDirectory_textChanged(const QString& text);
    void on_btnOpenEmissionSpectrum_clicked();
    void on_btnCalculate_clicked();
    void on_btnSave_clicked();
    // Saves the result under a chosen name, when it could not be written
    // beside the spectrum.
    void on_btnSaveResult_clicked();
    void on_btnCIEDiagram_clicked();
    void on_btnClearProject_clicked();
    void plotAreaUnderTransition(int index);
    void slotTextEdited(const QString& index);
    void slotSetEnabledGroupBox(int on);

private:
    void clearProject();
    void setupTransitionGraphs();
    void openEmissionSpectrum(const QString& name);
    void readEmissionSpectrum();
    void setTransitionsEnabled(const bool& enabled);
    // Draws the band of transition j between its two sliders and shows their
    // wavelengths in its edits.
    void drawBand(int j);
    QString overlappingWindows(const QList<int>& used) const;
    void log(const QString& message);
    void setInvitationText();
    QString experimentalFileName() const;
    void saveExperimentalFile();
    // False after saying why, and then the result on screen is marked as
    // not saved.
    bool writeExperimentalFile(const QString& name);
    QString experimentalCitations() const;

    std::unique_ptr<Ui::OrvaneFrmPlotEmissionSpectrum> ui;
    QList<QGroupBox*> groupBoxes;
    QList<QSlider*> sliders;
    QList<QLineEdit*> lineEdits;
    QString fileName;
    QString citations;
    // A parentless window, so that it shows as a window of its own.
    std::unique_ptr<OrvaneFrmCIEDiagram> cieDiagram;
    // Above the report tab while the result shown there is not in a file.
    OrvaneUnsavedNotice* unsavedResultNotice = nullptr;
    QVector<double> wavelengths;
    QVector<double> intensities;
};

#endif
