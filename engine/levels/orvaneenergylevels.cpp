#include "orvaneenergylevels.h"

#include "orvanereportfile.h"
#include "orvanetextreader.h"
#include "orvanelevelsmath.h"
#include "orvanewignersymbols.h"
#include "symmetricmatrix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

using OrvaneLevelsMath::phase;
using OrvaneLevelsMath::sameTerm;
using OrvaneSpectroscopicTermUtil::parseTermLabel;
using OrvaneSpectroscopicTermUtil::termLabel;
using OrvaneSpectroscopicTermUtil::termLetters;

namespace {

const QString moduleTitle = QStringLiteral("Energy Levels Calculation\n");
const QString missingParameters =
    QStringLiteral("It is need to specify the Slater Integral and Zeta parameters values\n");

bool sameJ(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

// Tokens of a table line: blanks separate them, a tab does not.
QStringList tokens(const QString& line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The term-label form the tables use: 2S+1, letter, bare index when > 0.
QString tableLabel(const OrvaneSpectroscopicTermUtil::SpectroscopicTerm& term)
{
    QString label = QString::number(2.0 * term.S + 1.0, 'g', 6);
    label += (term.L >= 0 && term.L < termLetters.size()) ? termLetters.at(term.L) : QString();
    if (term.index > 0)
        label += QString::number(term.index);
    return label;
}

// Number of Russell-Saunders terms of 4f^n, n = 0..7.
constexpr int termCounts[8] = {1, 1, 7, 17, 47, 73, 119, 119};

bool usable(double x)
{
    return x != 0.0 && std::isfinite(x);
}

} // namespace

OrvaneEnergyLevels::OrvaneEnergyLevels(QObject* parent, const int& nElectrons)
    : OrvaneAbstractObjCalculation(parent)
    , nElectrons(nElectrons)
    , nEquivalent(nElectrons < 8 ? nElectrons : 14 - nElectrons)
{
    const QString folder = QDir::currentPath() + QStringLiteral("/EnergyLevels4f") + QStringLiteral("/");
    cfpFileName = folder + QStringLiteral("f%1.cfp").arg(nEquivalent);
    eleFileName = folder + QStringLiteral("f%1.ele").arg(nEquivalent);

    if (!readElectrostaticMatrix() || !readSpectroscopicTerms())
        return;
    if (spectroscopicTerms.isEmpty()) {
        // Without terms there is no level to compute: say so rather than give none.
        lastError = moduleTitle + cfpFileName + QStringLiteral("  holds no term of 4f%1").arg(nEquivalent);
        parentageRows.clear();
        return;
    }
    // More terms than the configuration has means a wrong file; its matrices
    // would only take long to build and mean nothing.
    if (nEquivalent >= 1 && nEquivalent <= 7 && spectroscopicTerms.size() > termCounts[nEquivalent]) {
        lastError = moduleTitle + cfpFileName
                    + QStringLiteral("  holds %1 terms; 4f%2 has %3").arg(spectroscopicTerms.size()).arg(nEquivalent)
                          .arg(termCounts[nEquivalent]);
        spectroscopicTerms.clear();
        parentageRows.clear();
        return;
    }

    fractParentCoeffs.clear();
    for (const Term& term : qAsConst(spectroscopicTerms)) {
        QVector<FractParentCoeff> list;
        readFractionalParentageCoefficients(term, list);
        fractParentCoeffs.append(list);
    }
    parentageRows.clear();

    // Distinct J values through their 'g' text, so that equal values written
    // alike are one entry whatever rounding produced them.
    QStringList texts;
    for (const Term& term : qAsConst(spectroscopicTerms)) {
        for (double J : getJVector(term.S, term.L)) {
            const QString text = QString::number(J, 'g', 6);
            if (!texts.contains(text))
                texts.append(text);
        }
    }
    jValues.clear();
    for (const QString& text : qAsConst(texts))
        jValues.append(text.toDouble());
    std::stable_sort(jValues.begin(), jValues.end());

    prepareBlocks();
}

OrvaneEnergyLevels::~OrvaneEnergyLevels() = default;

bool OrvaneEnergyLevels::openFailure(const QString& fileName)
{
    QString reason;
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        reason = QStringLiteral("Not a regular file");
    } else {
        QFile probe(fileName);
        probe.open(QIODevice::ReadOnly);
        reason = probe.errorString();
    }
    lastError = moduleTitle + fileName + QStringLiteral("  ") + reason;
    return false;
}

bool OrvaneEnergyLevels::readElectrostaticMatrix()
{
    electrostaticMatrix.clear();
    OrvaneLineReader reader(eleFileName);
    if (!reader.isOpen())
        return openFailure(eleFileName);
    QString line;
    while (reader.readLine(line) && !OrvaneText::isBlank(line)) {
        const QStringList t = tokens(line);
        if (t.size() < 6)
            continue;
        ElectrostaticMatrixEntry entry;
        entry.term1 = parseTermLabel(t.at(0), false);
        entry.term2 = parseTermLabel(t.at(1), false);
        for (int i = 2; i < 6; ++i)
            entry.coefficients.append(OrvaneText::toNumber(t.at(i)));
        electrostaticMatrix.append(entry);
    }
    return true;
}

bool OrvaneEnergyLevels::readSpectroscopicTerms()
{
    spectroscopicTerms.clear();
    OrvaneLineReader reader(cfpFileName);
    if (!reader.isOpen())
        return openFailure(cfpFileName);
    QStringList labels;
    parentageRows.clear();
    QString line;
    while (reader.readLine(line) && !OrvaneText::isBlank(line)) {
        const QStringList t = tokens(line);
        if (t.size() < 3)
            continue;
        if (!labels.contains(t.at(0)))
            labels.append(t.at(0));
        parentageRows.append(t);
    }
    // Whole labels: f^7 has two-digit indexes ("2F10").
    for (const QString& label : qAsConst(labels)) {
        Term term = parseTermLabel(label, false);
        term.J = 0.0;
        spectroscopicTerms.append(term);
    }
    return true;
}

// Scans the rows of the parentage table that readSpectroscopicTerms kept, so
// that the file is read once and not once per term.
bool OrvaneEnergyLevels::readFractionalParentageCoefficients(const Term& term, QVector<FractParentCoeff>& out)
{
    // The daughter label must match whole: "2F1" is not a prefix of "2F10".
    const QString key = tableLabel(term);
    for (const QStringList& t : qAsConst(parentageRows)) {
        if (t.at(0) != key)
            continue;
        FractParentCoeff coeff;
        coeff.parent = parseTermLabel(t.at(1), false);
        coeff.coefficient = OrvaneText::toNumber(t.at(2));
        out.append(coeff);
    }
    return true;
}

QVector<FractParentCoeff> OrvaneEnergyLevels::getFractParentCoeffVector(const Term& term) const
{
    for (int i = 0; i < spectroscopicTerms.size() && i < fractParentCoeffs.size(); ++i) {
        if (sameTerm(spectroscopicTerms.at(i), term))
            return fractParentCoeffs.at(i);
    }
    return {};
}

QVector<double> OrvaneEnergyLevels::getJVector(const double& S, const int& L) const
{
    QVector<double> out;
    const double high = S + L;
    for (double J = std::abs(S - L); J <= high + 1e-9; J += 1.0)
        out.append(J);
    return out;
}

bool OrvaneEnergyLevels::hasLevel(const QString& label) const
{
    return std::any_of(blocks.cbegin(), blocks.cend(),
                       [&label](const JBlock& block) { return block.labels.contains(label); });
}

MixedState OrvaneEnergyLevels::getMixedStates(const Term& level) const
{
    for (const MixedState& state : mixedStates) {
        const Term t = parseTermLabel(state.label, true);
        if (sameTerm(t, level) && sameJ(t.J, level.J))
            return state;
    }
    return MixedState();
}

QVector<double> OrvaneEnergyLevels::getElectrostaticMatrixVector(const Term& a, const Term& b) const
{
    for (const ElectrostaticMatrixEntry& entry : electrostaticMatrix) {
        if ((sameTerm(entry.term1, a) && sameTerm(entry.term2, b))
            || (sameTerm(entry.term1, b) && sameTerm(entry.term2, a)))
            return entry.coefficients;
    }
    return QVector<double>(4, 0.0);
}

double OrvaneEnergyLevels::matrixElementElectrostaticInteraction(const int& n, const Term& a, const Term& b) const
{
    Q_UNUSED(n);
    const double E0 = F0 - 10.0 * F2 - 33.0 * F4 - 286.0 * F6;
    const double E1 = (70.0 * F2 + 231.0 * F4 + 2002.0 * F6) / 9.0;
    const double E2 = (F2 - 3.0 * F4 + 7.0 * F6) / 9.0;
    const double E3 = (5.0 * F2 + 6.0 * F4 - 91.0 * F6) / 3.0;
    const QVector<double> e = getElectrostaticMatrixVector(a, b);
    return e.at(0) * E0 + e.at(1) * E1 + e.at(2) * E2 + e.at(3) * E3;
}

double OrvaneEnergyLevels::calculateV1X(const int& n, const Term& a, const Term& b) const
{
    const double prefactor = n * std::sqrt((2 * a.S + 1) * (2 * a.L + 1) * (2 * b.S + 1) * (2 * b.L + 1)
                                           * s * (s + 1) * (2 * s + 1));
    const QVector<FractParentCoeff> pa = getFractParentCoeffVector(a);
    const QVector<FractParentCoeff> pb = getFractParentCoeffVector(b);
    double sum = 0.0;
    for (const FractParentCoeff& p : pa) {
        for (const FractParentCoeff& q : pb) {
            if (!sameTerm(p.parent, q.parent))
                continue;
            const double Sp = p.parent.S;
            const double Lp = p.parent.L;
            sum += p.coefficient * q.coefficient
                   * OrvaneWignerSymbols::calcSixJSymbol(a.S, b.S, 1.0, s, s, Sp)
                   * OrvaneWignerSymbols::calcSixJSymbol(a.L, b.L, 1.0, l, l, Lp)
                   * phase(Lp + Sp + a.S + a.L + s + l + 1 + 1);
        }
    }
    const double value = prefactor * sum;
    return nElectrons >= 8 ? -value : value;
}

// (-1)^(La + J + Sb) sqrt(l(l+1)(2l+1)) {Sa Sb 1; Lb La J}: the spin-orbit
// element per unit zeta and per unit V^(11) element.
double OrvaneEnergyLevels::spinOrbitAngular(const Term& a, const Term& b, const double& J)
{
    const double w = OrvaneWignerSymbols::calcSixJSymbol(a.S, b.S, 1.0, b.L, a.L, J);
    if (w == 0.0)
        return 0.0;
    return phase(a.L + J + b.S) * std::sqrt(84.0) * w;
}

double OrvaneEnergyLevels::matrixElementSpinOrbit(const int& n, const Term& a, const Term& b, const double& J) const
{
    const double angular = spinOrbitAngular(a, b, J);
    return angular == 0.0 ? 0.0 : zeta * angular * calculateV1X(n, a, b);
}

void OrvaneEnergyLevels::prepareBlocks()
{
    blocks.clear();
    const int count = spectroscopicTerms.size();
    // V^(11) between terms, each pair computed once for all J.
    std::vector<double> v11(std::size_t(count) * count, std::numeric_limits<double>::quiet_NaN());
    for (double J : qAsConst(jValues)) {
        JBlock block;
        block.J = J;
        for (int i = 0; i < count; ++i) {
            const Term& t = spectroscopicTerms.at(i);
            const QVector<double> js = getJVector(t.S, t.L);
            if (std::any_of(js.begin(), js.end(), [J](double x) { return sameJ(x, J); })) {
                block.basis.append(i);
                block.labels.append(termLabel(t, J));
            }
        }
        const int n = block.basis.size();
        block.electrostatic.resize(std::size_t(n) * (n + 1) / 2);
        block.spinOrbit.resize(std::size_t(n) * (n + 1) / 2);
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k <= j; ++k) {
                // Element (j, k), k <= j: the bra is the earlier basis term.
                const int a = block.basis.at(k);
                const int b = block.basis.at(j);
                const Term& ta = spectroscopicTerms.at(a);
                const Term& tb = spectroscopicTerms.at(b);
                const std::size_t at = SymmetricMatrix::packedIndex(j, k);
                const QVector<double> e = getElectrostaticMatrixVector(ta, tb);
                block.electrostatic[at] = {e.at(0), e.at(1), e.at(2), e.at(3)};
                const double angular = spinOrbitAngular(ta, tb, J);
                double so = 0.0;
                if (angular != 0.0) {
                    double& v = v11[std::size_t(a) * count + b];
                    if (std::isnan(v))
                        v = calculateV1X(nEquivalent, ta, tb);
                    so = angular * v;
                }
                block.spinOrbit[at] = so;
            }
        }
        blocks.append(block);
    }
}

void OrvaneEnergyLevels::setSlaterIntegral(const double& F0, const double& F2, const double& F4, const double& F6)
{
    this->F0 = F0;
    this->F2 = F2;
    this->F4 = F4;
    this->F6 = F6;
}

void OrvaneEnergyLevels::setZetaParameters(const double& zeta)
{
    this->zeta = zeta;
}

void OrvaneEnergyLevels::calcEnergyLevels(const double& J)
{
    // A zero, infinite or undefined parameter would give meaningless levels
    // (or stall the diagonaliser): refuse it and keep the previous levels.
    if (!usable(F2) || !usable(F4) || !usable(F6) || !usable(zeta) || !std::isfinite(F0)) {
        emit newObjCalculationMessage(missingParameters);
        return;
    }
    mixedStates.clear();

    const double E[4] = {F0 - 10.0 * F2 - 33.0 * F4 - 286.0 * F6, (70.0 * F2 + 231.0 * F4 + 2002.0 * F6) / 9.0,
                         (F2 - 3.0 * F4 + 7.0 * F6) / 9.0, (5.0 * F2 + 6.0 * F4 - 91.0 * F6) / 3.0};
    // Without tables the construction's reason stands in the last error.
    if (blocks.isEmpty())
        return;
    lastError.clear();
    std::vector<EigenPair> pairs;
    bool anyBlock = false;
    for (const JBlock& block : qAsConst(blocks)) {
        if (J != -1.0 && !sameJ(block.J, J))
            continue;
        anyBlock = true;
        const unsigned n = unsigned(block.basis.size());
        SymmetricMatrix H(n);
        for (unsigned j = 0; j < n; ++j) {
            for (unsigned k = 0; k <= j; ++k) {
                const std::size_t at = SymmetricMatrix::packedIndex(j, k);
                const std::array<double, 4>& e = block.electrostatic[at];
                H[j][k] = e[0] * E[0] + e[1] * E[1] + e[2] * E[2] + e[3] * E[3] + zeta * block.spinOrbit[at];
            }
        }
        if (H.diagonalize(1e-10, pairs) != SymmetricMatrix::Outcome::Converged) {
            // Finite parameters of any sensible size converge; anything else
            // is reported rather than shown as levels.
            lastError = moduleTitle + QStringLiteral("The energy matrix of J = %1 could not be diagonalised.")
                                          .arg(QString::number(block.J, 'g', 6));
            mixedStates.clear();
            return;
        }
        for (unsigned w = 0; w < n; ++w) {
            MixedState state;
            state.label = block.labels.at(int(w));
            state.energy = pairs[w].eigenvalue;
            state.components.reserve(int(n));
            for (unsigned i = 0; i < n; ++i)
                state.components.append(CoeffAndLabel{block.labels.at(int(i)), pairs[w].eigenvector[i], 0});
            mixedStates.append(state);
        }
    }

    if (!anyBlock) {
        QStringList values;
        for (double value : qAsConst(jValues))
            values << QString::number(value, 'g', 6);
        lastError = moduleTitle + QStringLiteral("4f%1 has no level with J = %2; its levels have J = %3.")
                                      .arg(nElectrons)
                                      .arg(QString::number(J, 'g', 6), values.join(QStringLiteral(", ")));
        return;
    }

    if (J == -1.0 && !mixedStates.isEmpty()) {
        double minimum = 1e10;
        for (const MixedState& state : qAsConst(mixedStates))
            minimum = std::min(minimum, state.energy);
        for (MixedState& state : mixedStates) {
            state.energy -= minimum;
            std::stable_sort(state.components.begin(), state.components.end(), coeffLessThan);
        }
        std::stable_sort(mixedStates.begin(), mixedStates.end(), energyLessThan);
    }
}

bool OrvaneEnergyLevels::readParameterFile(const QString& fileName, std::array<double, 4>& zetaF2F4F6,
                                           QStringList* notNumbers)
{
    zetaF2F4F6.fill(0.0);
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen())
        return false;
    QString line;
    int lineNumber = 0;
    for (double& value : zetaF2F4F6) {
        if (!reader.readLine(line))
            break;
        ++lineNumber;
        const QString text = line.trimmed();
        if (!OrvaneText::toFiniteNumber(text, value)) {
            value = 0.0;
            if (notNumbers)
                notNumbers->append(QStringLiteral("line %1: \"%2\"").arg(lineNumber).arg(text));
        }
    }
    return true;
}

QString OrvaneEnergyLevels::createOutputFile(const QString& fileName)
{
    QString text;
    int i = 1;
    for (const MixedState& state : qAsConst(mixedStates)) {
        text += QString::number(i++) + QStringLiteral("  ") + QString::number(state.energy, 'f', 0)
                + QStringLiteral("\n");
        text += QStringLiteral("|") + state.label + QStringLiteral("> = ");
        for (const CoeffAndLabel& c : state.components) {
            text += (c.coefficient < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                    + QStringLiteral("%1").arg(std::abs(c.coefficient), 5, 'f', 4) + QStringLiteral("|")
                    + c.label + QStringLiteral("> ");
        }
        text += QStringLiteral("\n*********************\n");
    }
    if (fileName.isEmpty())
        return text;
    lastError.clear();
    QString reason;
    if (!OrvaneReportFile::write(fileName, text, reason))
        lastError = moduleTitle + reason;
    return QString();
}

void OrvaneEnergyLevels::labelMixedStates(QVector<MixedState>& states) const
{
    for (MixedState& state : states)
        std::stable_sort(state.components.begin(), state.components.end(), coeffLessThan);
    QVector<MixedState> copy = states;
    for (MixedState& state : copy) {
        if (!state.components.isEmpty())
            state.label = state.components.first().label;
    }
    auto second = [](const MixedState& state) {
        return state.components.size() > 1 ? state.components.at(1).label : state.label;
    };
    for (int d = 0; d < states.size(); ++d) {
        for (int e = d + 1; e < states.size(); ++e) {
            if (states.at(d).components.isEmpty() || states.at(e).components.isEmpty())
                continue;
            const CoeffAndLabel& fd = states.at(d).components.first();
            const CoeffAndLabel& fe = states.at(e).components.first();
            if (fd.label != fe.label)
                continue;
            if (std::abs(fd.coefficient) > std::abs(fe.coefficient)) {
                copy[d].label = fd.label;
                copy[e].label = second(states.at(e));
            } else {
                copy[e].label = fe.label;
                copy[d].label = second(states.at(d));
            }
        }
    }
    states = copy;
}

bool OrvaneEnergyLevels::coeffLessThan(const CoeffAndLabel& a, const CoeffAndLabel& b)
{
    return std::abs(a.coefficient) > std::abs(b.coefficient);
}

bool OrvaneEnergyLevels::energyLessThan(const MixedState& a, const MixedState& b)
{
    return a.energy < b.energy;
}
