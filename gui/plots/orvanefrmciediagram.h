#ifndef ORVANEFRMCIEDIAGRAM_H
#define ORVANEFRMCIEDIAGRAM_H

#include "abstractobjcalculationwidget.h"

#include "orvaneciepointsreader.h"

#include <QString>
#include <QVector>

#include <memory>

class OrvaneColoredScatter;
class QCPGraph;
class QMouseEvent;

namespace Ui {
class OrvaneFrmCIEDiagram;
}

// The CIE 1931 chromaticity diagram, drawn from the coloured points of
// "CIEpoints.txt" in the current folder, with the chromaticity of an emission
// spectrum marked as a black disc and, on request, a square of the colour the
// diagram holds there. The emission spectrum form hands over its spectrum,
// asks for the chromaticity and shows the window.
class OrvaneFrmCIEDiagram : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmCIEDiagram(QWidget* parent = nullptr);
    ~OrvaneFrmCIEDiagram() override;

    // Stores the spectrum (nm, arbitrary units); nothing is drawn.
    void setSpectrum(const QVector<double>& wavelengths, const QVector<double>& intensities);
    // Computes the chromaticity of the stored spectrum and redraws the disc
    // and, when the box is checked, the emitted-colour square.
    void plotChromaticity();

    double getCieX() const { return cieX; }
    double getCieY() const { return cieY; }
    // Whether cieX and cieY are the chromaticity of the spectrum handed over
    // last (false after construction and for a spectrum that has none).
    bool hasChromaticity() const { return chromaticityValid; }

public slots:
    void showPointToolTip(QMouseEvent* event);
    void on_chbShowEmittedColor_toggled(bool checked);
    void on_btnSaveImage_clicked();

private:
    void drawDiagram();
    // The engine's chromaticity from the CIE 1931 table; false, with the
    // reason in `noChromaticity`, when the spectrum has none (fewer than two
    // points, no emission between 360 and 830 nm).
    bool calcChromaticity();
    void showEmittedColor();
    void showChromaticityText();

    std::unique_ptr<Ui::OrvaneFrmCIEDiagram> ui;
    // All owned by the plot.
    OrvaneColoredScatter* diagram = nullptr;
    QCPGraph* pointGraph = nullptr;
    QCPGraph* emittedColorGraph = nullptr;
    double cieX = 0.0;
    double cieY = 0.0;
    bool chromaticityValid = false;
    QString noChromaticity;
    // The engine's note on the chromaticity shown (intensities below zero
    // counted as 0); empty when there is none.
    QString chromaticityNote;
    QVector<double> wavelengths;
    QVector<double> intensities;
    // The rows of the points file, in file order.
    QVector<OrvaneCiePoint> points;
};

#endif
