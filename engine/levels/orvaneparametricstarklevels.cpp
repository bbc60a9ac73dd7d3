#include "orvaneparametricstarklevels.h"

#include "orvanefilenames.h"
#include "orvanetextreader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

namespace {

// The lines of an input file: simplified, up to the first empty one.
QVector<QStringList> readRows(OrvaneLineReader& reader)
{
    QVector<QStringList> rows;
    QString line;
    while (reader.readLine(line)) {
        const QString simple = line.simplified();
        if (simple.isEmpty())
            break;
        rows.append(simple.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
    return rows;
}

// The rows of `path`; false, with `message` on standard output, when it
// cannot be opened, and with the reason when it is too large for a table.
bool readInput(const QString& path, const QString& message, QVector<QStringList>& rows)
{
    OrvaneLineReader reader(path);
    if (!reader.isOpen()) {
        std::cout << message.toLocal8Bit().constData() << std::flush;
        return false;
    }
    const QString tooLarge = reader.tableSizeFailure();
    if (!tooLarge.isEmpty()) {
        std::cout << tooLarge.toLocal8Bit().constData() << "\n" << std::flush;
        return false;
    }
    rows = readRows(reader);
    return true;
}

QVector<int> atomNumbers(const QStringList& fields, int first, int end)
{
    QVector<int> atoms;
    for (int i = first; i < end && i < fields.size(); ++i)
        atoms.append(OrvaneText::toInteger(fields.at(i)));
    return atoms;
}

} // namespace

OrvaneParametricStarkLevels::OrvaneParametricStarkLevels(QObject* parent, const QString& fileName,
    const int& coordNumber)
    : OrvaneAbstractParametric(parent)
    , starkCalculation(fileName, coordNumber)
    , coordNumber(std::max(coordNumber, 0))
    , geometryCoordNumber(std::max(coordNumber, 0))
    , fileName(fileName)
    , chargeFactors(std::size_t(std::max(coordNumber, 0)) + 1, 0.0)
{
}

OrvaneParametricStarkLevels::~OrvaneParametricStarkLevels() = default;

void OrvaneParametricStarkLevels::setCoordNumber(const int& n)
{
    coordNumber = std::clamp(n, 0, geometryCoordNumber);
}

QString OrvaneParametricStarkLevels::getReportFileName() const
{
    return OrvaneFileNames::withFinalSuffix(fileName, QStringLiteral("levels"));
}

bool OrvaneParametricStarkLevels::refuse(const QString& reason)
{
    responseFunction = penaltyResponse;
    lastError = reason;
    return false;
}

bool OrvaneParametricStarkLevels::spreadOverLigands(const int& n, const double* x)
{
    std::fill(chargeFactors.begin(), chargeFactors.end(), 0.0);
    for (int group = 0; group < parametersGroups.size() && group < n; ++group) {
        for (int atom : parametersGroups.at(group).atoms) {
            // Atom a of the file is ligand a - 1; numbers outside the ligands are ignored.
            const int ligand = atom - 1;
            if (ligand >= 1 && ligand <= coordNumber)
                chargeFactors[std::size_t(ligand)] = x[group];
        }
    }
    for (int j = 1; j <= coordNumber; ++j) {
        const QString label = starkCalculation.getAtomLabel(j);
        const double g = chargeFactors[std::size_t(j)];
        for (const GLimits& limit : gLimits) {
            if (limit.name == label && (g > limit.max || limit.min > g))
                return false;
        }
    }
    return true;
}

bool OrvaneParametricStarkLevels::runParametrization(const int& n, double*& x)
{
    OrvaneAbstractParametric::runParametrization(n, x);
    if (!x || n < parametersGroups.size())
        return refuse(QStringLiteral("The Stark-level fit of %1 groups needs one charge factor per group; %2 were given.")
                          .arg(parametersGroups.size())
                          .arg(x ? n : 0));
    for (const TransitionValues& row : transitionValues) {
        if (row.J < 0 || row.J > OrvaneStarkLevels::maxJ)
            return refuse(QStringLiteral("The experimental Stark levels name 7F%1; only 7F0 to 7F6 are calculated.")
                              .arg(row.J));
    }
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || x[i] < 0.0)
            return refuse(QStringLiteral("The charge factor of group %1 (%2) is negative or not a number.")
                              .arg(i + 1)
                              .arg(x[i]));
    }
    if (!spreadOverLigands(n, x))
        return refuse(QStringLiteral("The charge factors lie outside the limits of their atoms."));

    double* g = chargeFactors.data();
    starkCalculation.setChargeFactors(g);
    starkCalculation.calculateStarkLevels();

    double response = 0.0;
    for (const TransitionValues& row : transitionValues) {
        QVector<double> levels = starkCalculation.getStarkLevels(row.J);
        std::sort(levels.begin(), levels.end());
        const double lo = levels.first();
        const double hi = levels.last();
        response += 100.0 * std::abs(std::abs(hi - lo) - std::abs(row.lastLevel - row.firstLevel));
        response += std::abs(lo - (row.firstLevel - row.reference)) + std::abs(hi - (row.lastLevel - row.reference));
    }
    responseFunction = response;
    lastError.clear();

    if (keepIfBest(response)) {
        std::cout << pointNumber << "  " << response << "\n" << std::flush;
        fitSummary = summariseCurrentPoint();
        bestReport = createOuputFile();
    }
    return true;
}

OrvaneFitSummary OrvaneParametricStarkLevels::summariseCurrentPoint() const
{
    OrvaneFitSummary summary = OrvaneFitSummary::inUnits(QStringLiteral(" cm-1"), missThreshold);
    for (const TransitionValues& row : transitionValues) {
        QVector<double> levels = starkCalculation.getStarkLevels(row.J);
        std::sort(levels.begin(), levels.end());
        const QString level = QStringLiteral("7F%1").arg(row.J);
        summary.addTarget(level + QStringLiteral(" lowest sublevel"), row.firstLevel - row.reference, levels.first());
        summary.addTarget(level + QStringLiteral(" highest sublevel"), row.lastLevel - row.reference, levels.last());
        // 7F0 has one sublevel: no splitting to compare.
        if (row.J > 0)
            summary.addTarget(level + QStringLiteral(" splitting"), std::abs(row.lastLevel - row.firstLevel),
                              std::abs(levels.last() - levels.first()));
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (int group = 0; group < parametersGroups.size() && group < nParameters; ++group) {
        // Charge factors are never negative; the limits of every atom of the group apply.
        double lower = 0.0;
        double upper = inf;
        for (int atom : parametersGroups.at(group).atoms) {
            const int ligand = atom - 1;
            if (ligand < 1 || ligand > coordNumber)
                continue;
            for (const GLimits& limit : gLimits) {
                if (limit.name == starkCalculation.getAtomLabel(ligand)) {
                    lower = std::max(lower, limit.min);
                    upper = std::min(upper, limit.max);
                }
            }
        }
        summary.addParameter(QStringLiteral("g(%1) of %2").arg(group + 1).arg(parametersGroups.at(group).name),
                             parameters[group], lower, upper);
    }
    return summary;
}

QString OrvaneParametricStarkLevels::createOuputFile() const
{
    QString text = QStringLiteral("*******************************\n"
                                  "       Charge Factors          \n"
                                  "*******************************\n\n");
    for (int i = 1; i <= nParameters; ++i)
        text += QStringLiteral("g(%1) = ").arg(i) + QString::number(parameters[i - 1], 'f', 10) + QLatin1Char('\n');
    text += QStringLiteral("\n\n"
                           "*******************************\n"
                           "         Stark Levels           \n"
                           "*******************************\n\n");
    for (int J = 1; J <= 5; ++J) {
        text += QStringLiteral("J = %1\n").arg(J);
        QVector<double> levels = starkCalculation.getStarkLevels(J);
        std::sort(levels.begin(), levels.end());
        for (double level : levels)
            text += QString::number(level, 'f', 5) + QLatin1Char('\n');
        text += QStringLiteral("\n\n");
    }
    return text + fitSummary.reportSection(QStringLiteral("Fit to the experimental Stark levels"));
}

void OrvaneParametricStarkLevels::forgetEarlierFit()
{
    bestReport.clear();
}

void OrvaneParametricStarkLevels::endOfParametrization()
{
    if (!hasBestPoint()) {
        endWithoutReport(
            QStringLiteral("No charge factors within the limits improved on the start: no Stark levels were fitted."),
            true);
        return;
    }
    // A report that cannot be written ends the fit with the reason; the text is kept.
    writeReport(getReportFileName(), bestReport);
    std::cout << fitSummary.text().toLocal8Bit().constData() << "\n" << std::flush;
    emit newObjCalculationMessage(QStringLiteral("-> ") + fitSummary.statusLine());
}

bool OrvaneParametricStarkLevels::readChargeFactorsFile(const QString& stem, QVector<ChargeFactorsGroup>& groups)
{
    const QString path = stem + QStringLiteral(".chargefactors");
    QVector<QStringList> rows;
    if (!readInput(path, "File " + path + " cannot be found", rows))
        return false;
    for (const QStringList& fields : rows) {
        ChargeFactorsGroup group;
        group.name = fields.value(0);
        if (fields.size() >= 2) {
            group.atoms = atomNumbers(fields, 1, fields.size() - 1);
            group.chargeFactor = OrvaneText::toNumber(fields.last());
        }
        groups.append(group);
    }
    return true;
}

void OrvaneParametricStarkLevels::readGLimitsFile(const QString& stem, QVector<GLimits>& limits)
{
    const QString path = stem + QStringLiteral(".limits");
    // Optional: a missing file says nothing.
    if (!QFile::exists(path))
        return;
    QVector<QStringList> rows;
    if (!readInput(path, QString(), rows))
        return;
    for (const QStringList& fields : rows)
        limits.append(GLimits {fields.value(0), OrvaneText::toNumber(fields.value(1)),
            OrvaneText::toNumber(fields.value(2))});
}

bool OrvaneParametricStarkLevels::readParametersGroup(const QString& stem, QVector<ParametersGroup>& groups)
{
    const QString path = stem + QStringLiteral(".groups");
    QVector<QStringList> rows;
    if (!readInput(path, "Cannot open the file " + path + "\n", rows))
        return false;
    for (const QStringList& fields : rows)
        groups.append(ParametersGroup {fields.value(0), atomNumbers(fields, 1, fields.size())});
    return true;
}

bool OrvaneParametricStarkLevels::readTransitionValues(const QString& stem, QVector<TransitionValues>& values)
{
    const QString path = stem + QStringLiteral(".exp");
    QVector<QStringList> rows;
    if (!readInput(path, "ORVANE could not read the file " + path + "\n", rows))
        return false;
    for (const QStringList& fields : rows)
        values.append(TransitionValues {OrvaneText::toInteger(fields.value(0)), OrvaneText::toNumber(fields.value(1)),
            OrvaneText::toNumber(fields.value(2)), OrvaneText::toNumber(fields.value(3))});
    return true;
}
