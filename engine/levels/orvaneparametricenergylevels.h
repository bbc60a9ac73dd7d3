#ifndef ORVANEPARAMETRICENERGYLEVELS_H
#define ORVANEPARAMETRICENERGYLEVELS_H

#include "orvaneabstractparametric.h"
#include "orvaneenergylevels.h"

#include <QString>
#include <QVector>

#include <memory>

// An experimental free-ion level: S, L, index and J name the level (as in
// OrvaneSpectroscopicTermUtil::SpectroscopicTerm), energy in cm^-1.
struct EnergyLevelsExp {
    double S = 0.0;
    int L = 0;
    int index = 0;
    double J = 0.0;
    double energy = 0.0;
};

// Fit of the Slater integrals F2, F4, F6 and the spin-orbit constant zeta of a
// 4f^N ion to experimental levels, driven by OrvaneGSA. The response is the sum
// of the relative deviations (percent) between each experimental level after
// the first and the computed levels of the same label, the computed energies
// taken above the lowest level. Every improvement adds a line to the log; at
// the end the levels are recomputed at the best point and the log is written
// beside the experimental file (logFileName). A fit that is stopped or ends
// without a point writes no log, so that an earlier fit's stays as it was.
// The end is judged in cm-1 (missThreshold), not by the relative score.
class ORVANEENGINE_EXPORT OrvaneParametricEnergyLevels : public OrvaneAbstractParametric
{
    Q_OBJECT
public:
    // Response of a point outside the bounds: above the initial best response,
    // so the annealing never settles there.
    static constexpr double penaltyResponse = 1e25;
    static constexpr double minF2 = 100.0, maxF2 = 1000.0;
    static constexpr double minF4 = 10.0, maxF4 = 100.0;
    static constexpr double minF6 = 1.0, maxF6 = 10.0;
    static constexpr double minZeta = 100.0, maxZeta = 5000.0;
    // A level farther than this from its experimental energy (cm-1) is named
    // as missed at the end of the fit.
    static constexpr double missThreshold = 100.0;

    // Builds the free-ion calculator of N (its tables are read from the
    // current folder; a failure becomes this object's last error).
    OrvaneParametricEnergyLevels(QObject* parent, const int& nElectrons, const QString& expFileName);
    ~OrvaneParametricEnergyLevels() override;

    // The log of the fit of `expFileName`: the file name's final suffix
    // replaced by "output" (the folder is never touched), and never the
    // experimental file itself. Empty for an empty name.
    static QString logFileName(const QString& expFileName);

    // Appends the levels of the file to `levels` and sets `title` (its first
    // line, simplified); false only when the file cannot be opened.
    static bool readEnergyLevelsExp(const QString& path, QVector<EnergyLevelsExp>& levels, QString& title);

    void setEnergyLevelsExp(const QVector<EnergyLevelsExp>& levels);
    void setElectronsNumber(const int& n) { nElectrons = n; }

    // Evaluates parameters[0..3] = F2, F4, F6, zeta. A point outside the
    // bounds (inclusive) scores penaltyResponse and returns false with the
    // reason, as does a model that cannot evaluate.
    bool runParametrization(const int& nParameters, double*& parameters) override;
    // Recomputes the levels at the best point and writes the log; without a
    // best point, no levels, no log and the reason in the last error. A log
    // that cannot be written does not undo the fitted levels: getLogError says why.
    void endOfParametrization() override;

    QVector<MixedState> getMixedStateVector() const { return mixedStates; }
    // Whether the log file holds this fit's lines (and only them); a log of
    // an earlier fit is never this fit's result.
    bool hasWrittenLog() const { return logState == LogState::Written; }
    // Why the log could not be written, with the system's reason; empty when it could.
    QString getLogError() const { return logError; }
    // This fit's log lines so far, one per improvement, written or not.
    QString getLogText() const { return logText; }
    // F2, F4, F6, zeta of the best point; empty before a point within the bounds.
    QVector<double> getBestParameters() const;

protected:
    // The best point, the log lines, the log's state and the fitted levels go.
    void forgetEarlierFit() override;

private:
    static double getJDoubleFromString(const QString& text);
    bool checkParameters(double*& parameters) const;
    double calcResponseFunction();
    bool refuse(const QString& reason);
    void appendLogLine(const double& response);
    // Replaces the log file by this fit's lines; a failure is kept in logError.
    void writeLog();
    void summarise();

    enum class LogState { NotWritten, Written, Failed };

    int nElectrons = 0;
    double F2 = 0.0, F4 = 0.0, F6 = 0.0, zeta = 0.0;
    double bestF2 = 0.0, bestF4 = 0.0, bestF6 = 0.0, bestZeta = 0.0;
    QString expFileName;
    QString logName;
    LogState logState = LogState::NotWritten;
    QString logText;
    QString logError;
    QString constructionError;
    std::unique_ptr<OrvaneEnergyLevels> energyLevels;
    QVector<EnergyLevelsExp> energyLevelsExp;
    QVector<QString> expLabels; // level label of each experimental level
    QVector<MixedState> mixedStates;
};

#endif
