#ifndef ORVANEFRMFILESCONVERTER_H
#define ORVANEFRMFILESCONVERTER_H

#include "abstractobjcalculationwidget.h"

#include <QString>

#include <memory>

class OrvaneAbstractObjCalculation;
class QPlainTextEdit;

namespace Ui {
class OrvaneFrmFilesConverter;
}

// Module 4: converts one chemistry file into another. The user picks the
// input kind, opens or drops a file, picks the output kind and where to save
// it; the page runs the engine's converter and shows both files side by side.
// The converter's progress lines go out as the page's own log lines.
//
//   input         outputs
//   mol2          mop
//   out (MOPAC)   inp (ZINDO), mop, gjf (Gaussian), orcinp (ORCA), sph, zmt
//   zin (ZINDO)   spec (ligand-state distances), txt (absorption points)
//   orcout (ORCA) spec, txt
class OrvaneFrmFilesConverter : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmFilesConverter(QWidget* parent = nullptr);
    ~OrvaneFrmFilesConverter() override;

    QString getInputFileName() const { return inputFileName; }
    QString getOutputFileName() const { return outputFileName; }
    QString getInputType() const { return inputType; }
    QString getOutputType() const { return outputType; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void cbxOutFileWasChanged();
    void cbxInpFileWasChanged();
    void on_btnOpenInputFile_clicked();
    void on_btnSaveOutputFile_clicked();

private:
    void showInputFile(const QString& fileName);
    void showOutputFile(const QString& fileName);
    // Puts the whole file into view; a file that cannot be read is reported
    // and leaves the view empty.
    void showFile(const QString& fileName, QPlainTextEdit* view);
    // Runs the conversion the two kinds select; false when it failed (the
    // reason already shown).
    bool convert();
    bool reportFailure(const OrvaneAbstractObjCalculation& engine);

    std::unique_ptr<Ui::OrvaneFrmFilesConverter> ui;
    QString inputFileName;
    QString outputFileName;
    QString outputType;
    QString inputType;
};

#endif
