#include "orvaneparametricenergylevels.h"

#include "orvanefilenames.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTextStream>

#include <cmath>
#include <limits>

namespace {

Q_LOGGING_CATEGORY(freeIonFit, "orvane.levels.freeionfit", QtWarningMsg)

bool within(double value, double low, double high)
{
    return value >= low && value <= high; // false for NaN
}

} // namespace

OrvaneParametricEnergyLevels::OrvaneParametricEnergyLevels(QObject* parent, const int& nElectrons,
    const QString& expFileName)
    : OrvaneAbstractParametric(parent)
    , nElectrons(nElectrons)
    , expFileName(expFileName)
    , logName(logFileName(expFileName))
    , energyLevels(std::make_unique<OrvaneEnergyLevels>(nullptr, nElectrons))
{
    connect(energyLevels.get(), &OrvaneAbstractObjCalculation::newObjCalculationMessage, this,
        &OrvaneParametricEnergyLevels::processStatus);
    if (!energyLevels->getLastError().isEmpty()) {
        constructionError = energyLevels->getLastError();
        lastError = constructionError;
    }
}

OrvaneParametricEnergyLevels::~OrvaneParametricEnergyLevels() = default;

QString OrvaneParametricEnergyLevels::logFileName(const QString& expFileName)
{
    if (expFileName.isEmpty())
        return QString();
    const QString name = OrvaneFileNames::withFinalSuffix(expFileName, QStringLiteral("output"));
    // An experimental file that already ends in ".output" keeps it and gains another.
    return name == expFileName ? expFileName + QStringLiteral(".output") : name;
}

double OrvaneParametricEnergyLevels::getJDoubleFromString(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() == 1)
        return OrvaneText::toNumber(text);
    // "a/b" is a fraction; anything else names no level (J is never negative).
    const double denominator = parts.size() == 2 ? OrvaneText::toNumber(parts.at(1)) : 0.0;
    if (denominator == 0.0)
        return -1.0;
    return OrvaneText::toNumber(parts.at(0)) / denominator;
}

bool OrvaneParametricEnergyLevels::readEnergyLevelsExp(const QString& path, QVector<EnergyLevelsExp>& levels,
    QString& title)
{
    OrvaneLineReader reader(path);
    if (!reader.isOpen())
        return false;
    title = reader.readLine().simplified();
    QString line;
    while (reader.readLine(line)) {
        // Only blanks separate the fields: a tab stays part of its field.
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.isEmpty())
            break;
        const QString label = fields.at(0);
        EnergyLevelsExp level;
        level.S = (OrvaneText::toNumber(label.mid(0, 1)) - 1.0) * 0.5;
        level.L = OrvaneSpectroscopicTermUtil::letterToL(label.mid(1, 1));
        QString jText;
        if (label.mid(2, 1) == QLatin1String("(")) {
            level.index = OrvaneSpectroscopicTermUtil::parenthesisedIndex(label);
            const int close = label.indexOf(QLatin1Char(')'));
            jText = close >= 0 ? label.mid(close + 1) : QString();
        } else {
            jText = label.mid(2);
        }
        level.J = getJDoubleFromString(jText);
        level.energy = fields.size() > 1 ? OrvaneText::toNumber(fields.at(1)) : 0.0;
        levels.append(level);
    }
    return true;
}

void OrvaneParametricEnergyLevels::setEnergyLevelsExp(const QVector<EnergyLevelsExp>& levels)
{
    energyLevelsExp = levels;
    expLabels.clear();
    for (const EnergyLevelsExp& level : levels) {
        const OrvaneSpectroscopicTermUtil::SpectroscopicTerm term {level.S, level.L, level.index, level.J};
        expLabels.append(OrvaneSpectroscopicTermUtil::termLabel(term, level.J));
    }
}

bool OrvaneParametricEnergyLevels::checkParameters(double*& x) const
{
    return within(x[0], minF2, maxF2) && within(x[1], minF4, maxF4) && within(x[2], minF6, maxF6)
        && within(x[3], minZeta, maxZeta);
}

bool OrvaneParametricEnergyLevels::refuse(const QString& reason)
{
    responseFunction = penaltyResponse;
    lastError = reason;
    return false;
}

bool OrvaneParametricEnergyLevels::runParametrization(const int& n, double*& x)
{
    OrvaneAbstractParametric::runParametrization(n, x);
    if (!constructionError.isEmpty())
        return refuse(constructionError);
    if (!x || n < 4)
        return refuse(QStringLiteral("The free-ion fit needs four parameters (F2, F4, F6, zeta); %1 were given.")
                          .arg(x ? n : 0));
    F2 = x[0];
    F4 = x[1];
    F6 = x[2];
    zeta = x[3];
    if (!checkParameters(x))
        return refuse(QStringLiteral("F2 = %1, F4 = %2, F6 = %3, zeta = %4 lie outside the bounds of the fit "
                                     "(%5 to %6, %7 to %8, %9 to %10, %11 to %12 cm-1).")
                          .arg(F2).arg(F4).arg(F6).arg(zeta)
                          .arg(minF2).arg(maxF2).arg(minF4).arg(maxF4).arg(minF6).arg(maxF6)
                          .arg(minZeta).arg(maxZeta));

    const double response = calcResponseFunction();
    if (!energyLevels->getLastError().isEmpty())
        return refuse(energyLevels->getLastError());
    responseFunction = response;
    lastError.clear();
    if (keepIfBest(response)) {
        appendLogLine(response);
        bestF2 = F2;
        bestF4 = F4;
        bestF6 = F6;
        bestZeta = zeta;
    }
    return true;
}

void OrvaneParametricEnergyLevels::forgetEarlierFit()
{
    bestF2 = bestF4 = bestF6 = bestZeta = 0.0;
    logText.clear();
    logState = LogState::NotWritten;
    logError.clear();
    mixedStates.clear();
}

void OrvaneParametricEnergyLevels::appendLogLine(const double& response)
{
    QString line;
    QTextStream out(&line);
    out << "Point Number = " << pointNumber << "\t" << "F2 = " << F2 << "\t" << "F4 = " << F4 << "\t"
        << "F6 = " << F6 << "\t" << "zeta = " << zeta << "\t Response Function = " << response << "\n";
    out.flush();
    logText += line;
}

void OrvaneParametricEnergyLevels::writeLog()
{
    if (logName.isEmpty())
        return;
    // Through the report writer: a disk that refuses the new log leaves the
    // earlier fit's log whole instead of cut short.
    QString reason;
    if (!OrvaneReportFile::write(logName, logText, reason)) {
        logState = LogState::Failed;
        logError = reason;
        return;
    }
    // The file now holds this fit's lines only, whatever an earlier fit left.
    logState = LogState::Written;
    logError.clear();
}

double OrvaneParametricEnergyLevels::calcResponseFunction()
{
    energyLevels->setLastError(QString());
    energyLevels->setSlaterIntegral(0.0, F2, F4, F6);
    energyLevels->setZetaParameters(zeta);
    energyLevels->calcEnergyLevels(-1);
    const QVector<MixedState> levels = energyLevels->getMixedStatesVector();
    double score = 0.0;
    for (int i = 1; i < energyLevelsExp.size(); ++i) {
        const double measured = energyLevelsExp.at(i).energy;
        for (const MixedState& level : levels) {
            if (level.label == expLabels.at(i))
                score += std::abs(measured - level.energy) / measured * 100.0;
        }
    }
    qCDebug(freeIonFit) << pointNumber << score;
    return score;
}

void OrvaneParametricEnergyLevels::endOfParametrization()
{
    mixedStates.clear();
    fitSummary.clear();
    if (!hasBestPoint()) {
        endWithoutReport(QStringLiteral("No point within the bounds of F2, F4, F6 and zeta was evaluated: "
                                        "no levels were fitted."),
            true);
        return;
    }
    energyLevels->setSlaterIntegral(0.0, bestF2, bestF4, bestF6);
    energyLevels->setZetaParameters(bestZeta);
    energyLevels->calcEnergyLevels(-1);
    mixedStates = energyLevels->getMixedStatesVector();
    summarise();
    writeLog();
}

void OrvaneParametricEnergyLevels::summarise()
{
    // The levels the score compares: every experimental level after the
    // first, against the first computed level of its label.
    fitSummary = OrvaneFitSummary::inUnits(QStringLiteral(" cm-1"), missThreshold);
    for (int i = 1; i < energyLevelsExp.size(); ++i) {
        double reached = std::numeric_limits<double>::quiet_NaN();
        for (const MixedState& level : mixedStates) {
            if (level.label == expLabels.at(i)) {
                reached = level.energy;
                break;
            }
        }
        fitSummary.addTarget(expLabels.at(i), energyLevelsExp.at(i).energy, reached);
    }
    const QString unit = QStringLiteral(" cm-1");
    fitSummary.addParameter(QStringLiteral("F2"), bestF2, minF2, maxF2, unit);
    fitSummary.addParameter(QStringLiteral("F4"), bestF4, minF4, maxF4, unit);
    fitSummary.addParameter(QStringLiteral("F6"), bestF6, minF6, maxF6, unit);
    fitSummary.addParameter(QStringLiteral("zeta"), bestZeta, minZeta, maxZeta, unit);
}

QVector<double> OrvaneParametricEnergyLevels::getBestParameters() const
{
    return hasBestPoint() ? QVector<double> {bestF2, bestF4, bestF6, bestZeta} : QVector<double>();
}
