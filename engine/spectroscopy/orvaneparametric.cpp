#include "orvaneparametric.h"

#include "orvaneeu3model.h"
#include "orvaneomega.h"
#include "orvanetextreader.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int atomArraySize = OrvaneEu3Model::atomArraySize;

QString noFitNoteText()
{
    return QStringLiteral("No point of the fit kept every charge factor and polarizability within its "
                          "bounds, so no intensity parameters were fitted.");
}

} // namespace

OrvaneParametric::OrvaneParametric(QObject* parent, const QString& fileName, const int& inputType)
    : OrvaneAbstractParametric(parent)
    , fileNameMopacOutputFile(fileName)
    , inputType(inputType)
{
    atomGroup.fill(-1);
    readWeightFile();
    omegaCalc = std::make_unique<OrvaneOmega>(nullptr, inputType, fileName, QString());
    // A geometry that could not be read must not be evaluated as if it had been.
    omegaError = omegaCalc->getLastError();
    lastError = omegaError;
}

OrvaneParametric::~OrvaneParametric() = default;

void OrvaneParametric::readWeightFile()
{
    // Line 1 weights Omega2, line 2 Omega4. A missing file or line, a value
    // that is no number, 0 or a negative value (which would turn the fit
    // into a search for the largest error) all give 1.
    w2 = 1.0;
    w4 = 1.0;
    OrvaneLineReader reader(QStringLiteral("pesos.txt"));
    if (!reader.isOpen())
        return;
    QString line;
    if (reader.readLine(line)) {
        const double value = OrvaneText::toNumber(line);
        if (value > 0.0)
            w2 = value;
    }
    if (reader.readLine(line)) {
        const double value = OrvaneText::toNumber(line);
        if (value > 0.0)
            w4 = value;
    }
}

void OrvaneParametric::setOmegaExp(const double& omega2, const double& omega4)
{
    omega2Exp = omega2;
    omega4Exp = omega4;
}

bool OrvaneParametric::setGroupsAndAtoms(const QMap<int, QStringList>& groups)
{
    groupsAndAtoms = groups;
    groupEntries.clear();
    groupCount = 0;
    preparedCoordNumber = -1;
    groupsError.clear();

    auto refuse = [this](const QString& reason) {
        groupsError = reason;
        groupEntries.clear();
        groupCount = 0;
        lastError = reason;
        return false;
    };
    if (groups.isEmpty())
        return refuse(QStringLiteral("No group of coordinating atoms was given for the fit."));

    QVector<bool> seen(atomArraySize, false);
    int expectedKey = 0;
    for (auto it = groups.constBegin(); it != groups.constEnd(); ++it, ++expectedKey) {
        if (it.key() != expectedKey)
            return refuse(QStringLiteral("The groups must be numbered 0 to %1 without gaps; group %2 "
                                         "stands where group %3 should.")
                              .arg(groups.size() - 1)
                              .arg(it.key())
                              .arg(expectedKey));
        for (const QString& entry : it.value()) {
            const QStringList words = OrvaneText::splitFields(entry);
            bool ok = false;
            const int atom = words.size() >= 2 ? words.at(1).toInt(&ok) : 0;
            if (!ok)
                return refuse(QStringLiteral("The entry \"%1\" of group %2 is not an element label followed "
                                             "by an atom number.")
                                  .arg(entry)
                                  .arg(it.key()));
            if (atom < 2 || atom >= atomArraySize)
                return refuse(QStringLiteral("Atom %1 of group %2 cannot be a coordinating atom: they are "
                                             "atoms 2 to %3.")
                                  .arg(atom)
                                  .arg(it.key())
                                  .arg(atomArraySize - 1));
            if (seen[atom])
                return refuse(QStringLiteral("Atom %1 stands in more than one group.").arg(atom));
            seen[atom] = true;
            groupEntries.append(GroupEntry {atom, it.key(), words.at(0).simplified()});
        }
    }
    groupCount = groups.size();
    lastError = omegaError;
    return true;
}

bool OrvaneParametric::prepare()
{
    if (preparedCoordNumber == coordNumber)
        return true;
    if (!groupsError.isEmpty()) {
        lastError = groupsError;
        return false;
    }
    if (groupCount == 0) {
        lastError = QStringLiteral("No group of coordinating atoms was given for the fit.");
        return false;
    }
    if (coordNumber < 1 || coordNumber > OrvaneEu3Model::maxCoordNumber) {
        lastError = QStringLiteral("The number of coordinating atoms must lie between 1 and %1, not %2.")
                        .arg(OrvaneEu3Model::maxCoordNumber)
                        .arg(coordNumber);
        return false;
    }
    std::array<int, atomArraySize> groupOf {};
    groupOf.fill(-1);
    QVector<QString> labels(coordNumber + 1);
    labels[0] = QStringLiteral(" ");
    for (const GroupEntry& entry : groupEntries) {
        if (entry.atom > coordNumber + 1) {
            lastError = QStringLiteral("Atom %1 of group %2 is not a coordinating atom: with %3 of them they "
                                       "are atoms 2 to %4.")
                            .arg(entry.atom)
                            .arg(entry.group)
                            .arg(coordNumber)
                            .arg(coordNumber + 1);
            return false;
        }
        groupOf[entry.atom] = entry.group;
        labels[entry.atom - 1] = entry.label;
    }
    for (int atom = 2; atom <= coordNumber + 1; ++atom) {
        if (groupOf[atom] < 0) {
            lastError = QStringLiteral("Coordinating atom %1 belongs to no group.").arg(atom);
            return false;
        }
    }
    // Every evaluation works on the sums of each group's geometry terms.
    std::vector<int> groupOfDonor;
    for (int atom = 2; atom <= coordNumber + 1; ++atom)
        groupOfDonor.push_back(groupOf[atom]);
    omegaCalc->setCoordNumber(coordNumber);
    if (!omegaCalc->setDonorGroups(groupOfDonor)) {
        lastError = omegaCalc->getLastError();
        return false;
    }
    atomGroup = groupOf;
    point.clear();
    for (int atom = 2; atom <= coordNumber + 1; ++atom)
        point.bounds[atom] = OrvaneFitBounds::groupFit(labels[atom - 1], atom > 2 ? &point.bounds[atom - 1] : nullptr);
    donorLabels = labels;
    preparedCoordNumber = coordNumber;
    return true;
}

bool OrvaneParametric::setAtomsToGAndAlpha(const double* x)
{
    for (int k = 0; k < groupCount; ++k)
        groupAlpha[std::size_t(k)] = x[groupCount + k] * 1e-24;
    for (int atom = 2; atom <= coordNumber + 1; ++atom) {
        const int k = atomGroup[atom];
        point.chargeFactor[atom] = x[k];
        point.alphaUnits[atom] = x[groupCount + k];
        point.alpha[atom] = groupAlpha[std::size_t(k)];
    }
    return true;
}

bool OrvaneParametric::runParametrization(const int& n, double*& x)
{
    OrvaneAbstractParametric::runParametrization(n, x);
    responseFunction = penaltyResponse;
    if (!omegaError.isEmpty()) {
        lastError = omegaError;
        return false;
    }
    if (!prepare())
        return false;
    if (n != 2 * groupCount || !x) {
        lastError = QStringLiteral("The fit of %1 groups needs %2 parameters, not %3.")
                        .arg(groupCount)
                        .arg(2 * groupCount)
                        .arg(n);
        return false;
    }

    setAtomsToGAndAlpha(x);
    if (!bestStarted) {
        // The best point starts at the first point evaluated, the start vector.
        bestG = point.chargeFactor;
        bestAlpha = point.alpha;
        bestStarted = true;
    }
    if (!point.withinBounds(coordNumber))
        return true;

    // prepare() gave omegaCalc this N and its grouping.
    if (!omegaCalc->calcOmegaOfGroups(x, groupAlpha.data())) {
        lastError = omegaCalc->getLastError();
        return false;
    }
    const double d4 = (omega4Exp - omegaCalc->getOmega(4)) * 1e20;
    const double d2 = (omega2Exp - omegaCalc->getOmega(2)) * 1e20;
    responseFunction = w4 * d4 * d4 + w2 * d2 * d2;
    if (keepIfBest(responseFunction)) {
        for (int atom = 2; atom <= coordNumber + 1; ++atom) {
            bestG[atom] = point.chargeFactor[atom];
            bestAlpha[atom] = point.alpha[atom];
        }
    }
    return true;
}

void OrvaneParametric::forgetEarlierFit()
{
    bestG = {};
    bestAlpha = {};
    bestStarted = false;
}

void OrvaneParametric::endOfParametrization()
{
    fitSummary.clear();
    if (!hasBestPoint()) {
        endWithoutReport(noFitNoteText(), true);
        return;
    }

    OrvaneFitPoint::AtomValues g {};
    OrvaneFitPoint::AtomValues a {};
    for (int atom = 2; atom <= coordNumber + 1 && atom < atomArraySize; ++atom) {
        g[atom] = bestG[atom];
        a[atom] = bestAlpha[atom];
    }

    OrvaneOmega report(nullptr, inputType, fileNameMopacOutputFile, QString());
    if (!report.getLastError().isEmpty()
        || !OrvaneFitPoint::evaluate(report, g, a, coordNumber, refractiveIndex, omegaPrintingOptions)) {
        endWithoutReport(report.getLastError());
        return;
    }
    fitSummary = OrvaneFitPoint::intensitySummary(omega2Exp, omega4Exp, report);
    addGroupParameters(fitSummary);
    OrvaneFitPoint::setReportSection(report, fitSummary);
    // The form's text stays as given: a second end must not head it twice.
    const QString citations = citationsWithMopac(report.getMopacCitation());
    report.setRequiredCitations(citations);
    const QString text = report.createOutFile(QString());
    if (text.isEmpty()) {
        // Inputs the report cannot print.
        endWithoutReport(report.getLastError());
        return;
    }
    writeReport(fileNameOmg, text);
}

void OrvaneParametric::addGroupParameters(OrvaneFitSummary& summary) const
{
    for (int k = 0; k < groupCount; ++k) {
        // A group of several elements keeps the bounds every one of its atoms allows.
        OrvaneFitBounds::Bounds b {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
        int member = 0;
        for (int atom = 2; atom <= coordNumber + 1; ++atom) {
            if (atomGroup[atom] != k)
                continue;
            member = atom;
            b.gLower = std::max(b.gLower, point.bounds[atom].gLower);
            b.gUpper = std::min(b.gUpper, point.bounds[atom].gUpper);
            b.alphaLower = std::max(b.alphaLower, point.bounds[atom].alphaLower);
            b.alphaUpper = std::min(b.alphaUpper, point.bounds[atom].alphaUpper);
        }
        if (member == 0)
            continue;
        summary.addParameter(QStringLiteral("g of group %1").arg(k + 1), bestG[member], b.gLower, b.gUpper);
        summary.addParameter(QStringLiteral("alpha of group %1").arg(k + 1), bestAlpha[member] * 1e24, b.alphaLower,
                             b.alphaUpper);
    }
}

QString OrvaneParametric::getDonorLabel(const int& i) const
{
    return i >= 0 && i < donorLabels.size() ? donorLabels.at(i) : QString();
}

double OrvaneParametric::getChargeFactor(const int& atom) const
{
    return OrvaneFitPoint::at(point.chargeFactor, atom);
}

double OrvaneParametric::getAlpha(const int& atom) const
{
    return OrvaneFitPoint::at(point.alpha, atom);
}

double OrvaneParametric::getBestG(const int& atom) const
{
    return OrvaneFitPoint::at(bestG, atom);
}

double OrvaneParametric::getBestAlpha(const int& atom) const
{
    return OrvaneFitPoint::at(bestAlpha, atom);
}
