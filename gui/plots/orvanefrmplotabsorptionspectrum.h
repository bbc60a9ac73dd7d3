#ifndef ORVANEFRMPLOTABSORPTIONSPECTRUM_H
#define ORVANEFRMPLOTABSORPTIONSPECTRUM_H

#include "abstractobjcalculationwidget.h"

#include <QString>

#include <memory>

class OrvaneFrmSearching;
class OrvaneNormalizePoints;
class QCustomPlot;
class QPlainTextEdit;
class QStackedWidget;

namespace Ui {
class OrvaneFrmPlotAbsorptionSpectrum;
}

// Module 3.4: the broadened theoretical absorption spectrum of a Gaussian
// (.log) or ORCA (.orcout) excited-state output. The output is shown as text
// in the first tab; the spectrum, broadened and normalised by the engine, is
// plotted in the second and can be saved as a points file (.esp) or a PNG.
class OrvaneFrmPlotAbsorptionSpectrum : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmPlotAbsorptionSpectrum(QWidget* parent = nullptr);
    ~OrvaneFrmPlotAbsorptionSpectrum() override;

    // A file handed over by another module: an empty name does nothing; any
    // other name is loaded as if it had been dropped, the loaded one again too.
    void setInputFileName(const QString& fileName);
    QString getInputFileName() const { return inputFileName; }

private slots:
    void on_btnSaveGraph_clicked();
    void on_btnSavePoints_clicked();
    void on_btnPlotGraph_clicked();
    void on_btnClearProject_clicked();
    void on_btnChooseFile_clicked();
    void on_edtFile_textChanged(QString text);
    void on_btnFind_clicked();

private:
    // The one place the plot is made: its look, axes and mouse interactions.
    void setupPlot();
    void resetForm();
    void fileLoaded();
    QString saveFileDialog(const QString& suffix);
    bool plotSpectrum();
    bool saveGraph();
    void loadFileIntoTab(const QString& fileName, const QString& title, const int& tabIndex);
    // The engine object for the loaded file and the chosen program, null with
    // the reason in `errorText` when the file could not be read.
    std::unique_ptr<OrvaneNormalizePoints> readSpectrum();
    void showHint();
    void log(const QString& line);

    std::unique_ptr<Ui::OrvaneFrmPlotAbsorptionSpectrum> ui;
    QString inputFileName;
    QString savedGraphName; // the file the last saveGraph wrote, for the confirmation
    QString errorText;
    double bandWidth = 25.0;
    double minWavelength = 150.0;
    double maxWavelength = 450.0;
    OrvaneFrmSearching* findBar = nullptr;   // child of frameViewer
    QPlainTextEdit* fileView = nullptr;      // the text of tab 0, kept for the life of the form
    QStackedWidget* plotPage = nullptr;      // tab 1, holds spectrumPlot; child of the form
    QCustomPlot* spectrumPlot = nullptr;     // child of plotPage from the start
};

#endif
