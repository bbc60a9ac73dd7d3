#ifndef ORVANEFRMENERGYLEVELS_H
#define ORVANEFRMENERGYLEVELS_H

#include "abstractobjcalculationwidget.h"
#include "orvaneenergylevels.h"
#include "orvaneparametricenergylevels.h"

#include <QString>
#include <QVector>

#include <array>
#include <memory>

class OrvaneFitRunner;
class QStandardItemModel;

namespace Ui {
class OrvaneFrmEnergyLevels;
}

// Free-ion energy levels of a lanthanide ion: computed from typed Slater
// integrals and spin-orbit constant and drawn as a level diagram, or fitted
// to the experimental levels of a ".exp" file by simulated annealing on a
// worker thread, the fitted levels drawn beside the experimental ones.
class OrvaneFrmEnergyLevels : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmEnergyLevels(QWidget* parent = nullptr);
    // A running fit is stopped and waited for first.
    ~OrvaneFrmEnergyLevels() override;

    // 4f electrons of the trivalent ion of a lanthanide symbol: 0 for La up
    // to 14 for Lu; -1 for a symbol that is not a lanthanide.
    static int electronCount(const QString& symbol);

    bool isFitRunning() const { return parametricEnergyLevels != nullptr; }

private slots:
    void cancelParametrization();
    void on_btnParamsFile_clicked();
    void on_btnClearParametrization_clicked();
    void on_btnClearProject_clicked();
    void on_btnOpenEnergyLevelsFile_clicked();
    void on_btnAddItem_clicked();
    void on_btnRemoveItem_clicked();
    void on_btnCalculate_clicked();
    void on_rdbCalcEnergyLevels_clicked(bool isClicked);
    void on_rdbCalcStarkLevels_clicked(bool isClicked);
    void on_rdbParametrizeFkAndZeta_clicked(bool isClicked);
    void on_btnRunParametrization_clicked();
    void on_btnReplot_clicked();
    void threadAdjustTerminated();

private:
    // The electron count of `symbol` when it has 4f levels to compute (1 to
    // 13); otherwise a message and -1.
    int levelsElectronCount(const QString& symbol);
    // A level of the diagram: its energy (cm^-1) and label.
    struct LevelLine
    {
        double energy;
        QString label;
    };

    void clearDiagram();
    void removeDiagramObjects();
    void setupAxes();
    // Draws a column of levels from x1 to x2 as one plottable named `name`.
    void addLevels(const QString& name, const double& x1, const double& x2, const QVector<LevelLine>& levels,
                   const bool& showLabels);
    void drawCalculatedLevels();
    void drawExperimentalLevels();
    void fillTable();
    void resizeColumns();
    void showFileText(const QString& fileName);
    void showStartPoint();
    void warnOfLevelsWithoutMatch(const int& n);

    std::unique_ptr<Ui::OrvaneFrmEnergyLevels> ui;
    QStandardItemModel* model = nullptr;
    QVector<EnergyLevelsExp> energyLevelsExp;
    QVector<MixedState> mixedStates;
    QString energyLevelsFileName;
    QString ionSymbol;
    int graphCount = 0; // levels drawn in the current diagram
    int expColumnCount = 0;
    bool plotMode = false; // false: calculated levels only; true: experimental beside calculated
    int nParameters = 4;
    std::array<double, 4> parameters {}; // F2, F4, F6, zeta of the fit
    // The problem of the running fit (null when idle), kept by the runner
    // with its driver from Run until the thread's end has been handled. The
    // log is named when the fit starts, so that a file opened meanwhile does
    // not change it.
    OrvaneParametricEnergyLevels* parametricEnergyLevels = nullptr;
    QString fitLogFileName;
    // Declared after `parameters`, the driver's start point: goes first.
    std::unique_ptr<OrvaneFitRunner> fitRunner;
};

#endif
