#include "freeionreference.h"
#include "levelstablesfolder.h"
#include "orvaneenergylevels.h"
#include "orvanespectroscopictermutil.h"

#include <QFile>
#include <QSet>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using OrvaneSpectroscopicTermUtil::parseTermLabel;
using OrvaneSpectroscopicTermUtil::SpectroscopicTerm;

namespace {

const double eu[4] = {371.0, 54.8, 5.75, 1334.0};
const QString refusal = QStringLiteral("It is need to specify the Slater Integral and Zeta parameters values\n");

void setParameters(OrvaneEnergyLevels& levels, const double* p)
{
    levels.setSlaterIntegral(0.0, p[0], p[1], p[2]);
    levels.setZetaParameters(p[3]);
}

double levelJ(const MixedState& state)
{
    return parseTermLabel(state.label, true).J;
}

// Every level of a reference case against the determinant diagonalisation.
void expectReference(const FreeIonReference::Case& c)
{
    SCOPED_TRACE("f" + std::to_string(c.nElectrons) + " zeta " + std::to_string(c.zeta));
    OrvaneEnergyLevels levels(nullptr, c.nElectrons);
    ASSERT_TRUE(levels.getLastError().isEmpty()) << levels.getLastError().toStdString();
    const double p[4] = {c.F2, c.F4, c.F6, c.zeta};
    setParameters(levels, p);
    levels.calcEnergyLevels(-1);
    const QVector<MixedState> states = levels.getMixedStatesVector();
    ASSERT_EQ(states.size(), c.count);
    for (int i = 0; i < c.count; ++i) {
        EXPECT_NEAR(states[i].energy, c.levels[i].relative, 1e-6) << "level " << i;
        EXPECT_DOUBLE_EQ(levelJ(states[i]), c.levels[i].J) << "level " << i << " " << states[i].label.toStdString();
    }
}

} // namespace

TEST(OrvaneEnergyLevels, TermAndLevelCountsOfEveryConfiguration)
{
    LevelsTablesFolder folder;
    const struct { int n, terms, levels; } cases[] = {
        {1, 1, 2}, {2, 7, 13}, {3, 17, 41}, {4, 47, 107}, {5, 73, 198}, {6, 119, 295}, {7, 119, 327},
        {8, 119, 295}, {13, 1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        OrvaneEnergyLevels levels(nullptr, c.n);
        EXPECT_EQ(levels.getSpectroscopicTermVector().size(), c.terms);
        setParameters(levels, eu);
        levels.calcEnergyLevels(-1);
        EXPECT_EQ(levels.getMixedStatesVector().size(), c.levels);
    }
}

// f^7 numbers terms up to 10 ("2F10", "2G10"): a reader that took one digit
// would merge them with "2F1" and "2G1" and collect their parentage too.
TEST(OrvaneEnergyLevels, TwoDigitTermIndexesAreReadWhole)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 7);
    QSet<QString> seen;
    for (const SpectroscopicTerm& t : levels.getSpectroscopicTermVector())
        seen.insert(QStringLiteral("%1 %2 %3").arg(t.S).arg(t.L).arg(t.index));
    EXPECT_EQ(seen.size(), 119);
    for (const char* label : {"2F1", "2F10", "2G1", "2G10"}) {
        SCOPED_TRACE(label);
        const QVector<FractParentCoeff> cfp = levels.getFractParentCoeffVector(termOf(label));
        ASSERT_FALSE(cfp.isEmpty());
        double sum = 0.0;
        for (const FractParentCoeff& c : cfp)
            sum += c.coefficient * c.coefficient;
        EXPECT_NEAR(sum, 1.0, 1e-12);
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("0.5 3 10")));
    EXPECT_TRUE(seen.contains(QStringLiteral("0.5 4 10")));
}

// The tables themselves, through the engine's reading of them.
TEST(OrvaneEnergyLevels, TablesAreConsistent)
{
    LevelsTablesFolder folder;
    QVector<SpectroscopicTerm> parents;
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        OrvaneEnergyLevels levels(nullptr, n);
        const QVector<SpectroscopicTerm> terms = levels.getSpectroscopicTermVector();
        for (const SpectroscopicTerm& t : terms) {
            double sum = 0.0;
            for (const FractParentCoeff& c : levels.getFractParentCoeffVector(t)) {
                sum += c.coefficient * c.coefficient;
                if (n > 1) {
                    EXPECT_TRUE(std::any_of(parents.begin(), parents.end(), [&](const SpectroscopicTerm& p) {
                        return p.S == c.parent.S && p.L == c.parent.L && p.index == c.parent.index;
                    })) << "parent of a term of f" << n << " missing from f" << n - 1;
                }
            }
            EXPECT_NEAR(sum, 1.0, 1e-12);
            EXPECT_EQ(OrvaneEnergyLevelsProbe::electrostatic(levels, t, t).value(0), n * (n - 1) / 2.0);
        }
        parents = terms;
    }
}

// Racah's f^2 energies: E0 plus these multiples of E1, E2, E3.
TEST(OrvaneEnergyLevels, TwoElectronCoefficientsAreRacahsIntegers)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 2);
    const struct { const char* term; double e1, e2, e3; } racah[] = {
        {"3P", 0, 0, 33}, {"3F", 0, 0, 0}, {"3H", 0, 0, -9}, {"1S", 9, 0, 0},
        {"1D", 2, 286, -11}, {"1G", 2, -260, -4}, {"1I", 2, 70, 7}};
    for (const auto& r : racah) {
        SCOPED_TRACE(r.term);
        const QVector<double> e = OrvaneEnergyLevelsProbe::electrostatic(levels, termOf(r.term), termOf(r.term));
        EXPECT_EQ(e, (QVector<double>{1, r.e1, r.e2, r.e3}));
    }
    EXPECT_EQ(OrvaneEnergyLevelsProbe::electrostatic(levels, termOf("3P"), termOf("1S")), QVector<double>(4, 0.0));
}

// The levels from the tables equal a diagonalisation of the same Hamiltonian
// over all Slater determinants (scripts/levels/freeion.py), for f^1 to f^13.
TEST(OrvaneEnergyLevels, LevelsEqualTheDeterminantDiagonalisation)
{
    LevelsTablesFolder folder;
    for (const FreeIonReference::Case& c : FreeIonReference::cases)
        expectReference(c);
}

TEST(OrvaneEnergyLevels, EuropiumGroundMultipletAndEmittingLevel)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    setParameters(levels, eu);
    levels.calcEnergyLevels(-1);
    const QVector<MixedState> states = levels.getMixedStatesVector();
    ASSERT_GE(states.size(), 8);
    const FreeIonReference::Level* ref = FreeIonReference::levels5;
    for (int J = 0; J <= 6; ++J) {
        EXPECT_EQ(states[J].label, QStringLiteral("7F%1").arg(J));
        EXPECT_NEAR(states[J].energy, ref[J].relative, 1e-6);
        EXPECT_EQ(states[J].components.first().label, states[J].label);
    }
    // 5D0: the lowest level above the 7F multiplet; f^6 has three 5D terms and
    // the level is named after the basis term on its diagonal, here its main one.
    EXPECT_NEAR(states[7].energy, ref[7].relative, 1e-6);
    EXPECT_TRUE(states[7].label.startsWith(QStringLiteral("5D("))) << states[7].label.toStdString();
    EXPECT_TRUE(states[7].label.endsWith(QStringLiteral(")0"))) << states[7].label.toStdString();
    EXPECT_EQ(states[7].components.first().label, states[7].label);
    // Components by decreasing magnitude.
    for (const MixedState& s : states) {
        for (int i = 1; i < s.components.size(); ++i)
            ASSERT_GE(std::abs(s.components[i - 1].coefficient), std::abs(s.components[i].coefficient));
    }
}

// Past the half-filled shell the electrostatic part is that of 14 - N and the
// spin-orbit part changes sign: Tb(III) at zeta is Eu(III) at -zeta.
TEST(OrvaneEnergyLevels, HoleConfigurationReversesSpinOrbit)
{
    LevelsTablesFolder folder;
    for (int n : {1, 2, 3, 4, 5, 6}) {
        SCOPED_TRACE(n);
        OrvaneEnergyLevels particles(nullptr, n);
        OrvaneEnergyLevels holes(nullptr, 14 - n);
        const double reversed[4] = {eu[0], eu[1], eu[2], -eu[3]};
        setParameters(particles, reversed);
        setParameters(holes, eu);
        particles.calcEnergyLevels(-1);
        holes.calcEnergyLevels(-1);
        const QVector<MixedState> a = particles.getMixedStatesVector();
        const QVector<MixedState> b = holes.getMixedStatesVector();
        ASSERT_EQ(a.size(), b.size());
        for (int i = 0; i < a.size(); ++i) {
            EXPECT_NEAR(a[i].energy, b[i].energy, 1e-6);
            EXPECT_EQ(levelJ(a[i]), levelJ(b[i]));
        }
    }
}

// One J: the absolute eigenvalues, in the order of the diagonal, each level
// named after the basis term at its position, components in basis order.
TEST(OrvaneEnergyLevels, SingleJIsUnshiftedInDiagonalOrder)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    setParameters(levels, eu);
    levels.calcEnergyLevels(2);
    const QVector<MixedState> states = levels.getMixedStatesVector();

    QVector<double> expected;
    for (const FreeIonReference::Level& l : FreeIonReference::levels5) {
        if (l.J == 2.0)
            expected.append(l.absolute);
    }
    ASSERT_EQ(states.size(), expected.size());
    QVector<double> energies;
    for (int i = 0; i < states.size(); ++i) {
        EXPECT_EQ(levelJ(states[i]), 2.0);
        energies.append(states[i].energy);
        ASSERT_EQ(states[i].components.size(), states.size());
        EXPECT_EQ(states[i].label, states[i].components[i].label);
        for (int j = 0; j < states.size(); ++j)
            EXPECT_EQ(states[i].components[j].label, states[0].components[j].label);
    }
    std::sort(energies.begin(), energies.end());
    for (int i = 0; i < energies.size(); ++i)
        EXPECT_NEAR(energies[i], expected[i], 1e-6);
    // The basis starts with the highest spin: 7F2 is the first diagonal entry.
    EXPECT_EQ(states[0].label, QStringLiteral("7F2"));
    EXPECT_LT(states[0].energy, -1e5);

    EXPECT_TRUE(levels.getLastError().isEmpty());
}

// A J that no level of the ion has gives no levels and says why, listing the
// J values there are (0 to 12 for 4f6); a later good call clears the reason.
TEST(OrvaneEnergyLevels, AJWithoutLevelsIsExplained)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    setParameters(levels, eu);
    for (const double J : {0.5, 13.0, -2.0, 2.0000001}) {
        SCOPED_TRACE(J);
        levels.calcEnergyLevels(J);
        EXPECT_TRUE(levels.getMixedStatesVector().isEmpty());
        EXPECT_EQ(levels.getLastError(),
                  QStringLiteral("Energy Levels Calculation\n4f6 has no level with J = %1; its levels have J = "
                                 "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12.")
                      .arg(QString::number(J, 'g', 6)));
    }
    levels.calcEnergyLevels(12);
    EXPECT_FALSE(levels.getMixedStatesVector().isEmpty());
    EXPECT_TRUE(levels.getLastError().isEmpty());

    // 7F has J = 0 to 6; 5D(1) is a term of 4f6, 5D(9) is not.
    for (const char* label : {"7F0", "7F6", "5D(1)0"})
        EXPECT_TRUE(levels.hasLevel(QString::fromLatin1(label))) << label;
    for (const char* label : {"7F7", "7F-1", "5D(9)2", "7F", ""})
        EXPECT_FALSE(levels.hasLevel(QString::fromLatin1(label))) << label;
}

TEST(OrvaneEnergyLevels, ATableWithoutTermsIsReported)
{
    LevelsTablesFolder folder({QStringLiteral("f6.ele")});
    OrvaneFixtures::writeFile(folder.tablePath(QStringLiteral("f6.cfp")), "\n7F 6H 1.0\n");
    OrvaneEnergyLevels levels(nullptr, 6);
    EXPECT_EQ(levels.getLastError(), QStringLiteral("Energy Levels Calculation\n")
                                         + folder.tablePath(QStringLiteral("f6.cfp"))
                                         + QStringLiteral("  holds no term of 4f6"));
    setParameters(levels, eu);
    levels.calcEnergyLevels(-1);
    EXPECT_TRUE(levels.getMixedStatesVector().isEmpty());
    EXPECT_FALSE(levels.getLastError().isEmpty());
}

TEST(OrvaneEnergyLevels, ZeroOrNonFiniteParametersAreRefusedAndLevelsKept)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    setParameters(levels, eu);
    levels.calcEnergyLevels(-1);
    const QVector<MixedState> before = levels.getMixedStatesVector();
    ASSERT_EQ(before.size(), 295);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct { double F0, F2, F4, F6, zeta; } cases[] = {
        {0, 0, 54.8, 5.75, 1334}, {0, 371, 0, 5.75, 1334}, {0, 371, 54.8, 0, 1334}, {0, 371, 54.8, 5.75, 0},
        {0, nan, 54.8, 5.75, 1334}, {0, 371, inf, 5.75, 1334}, {0, 371, 54.8, -inf, 1334},
        {0, 371, 54.8, 5.75, nan}, {nan, 371, 54.8, 5.75, 1334}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.F0) + " " + std::to_string(c.F2) + " " + std::to_string(c.F4) + " "
                     + std::to_string(c.F6) + " " + std::to_string(c.zeta));
        QSignalSpy spy(&levels, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
        levels.setSlaterIntegral(c.F0, c.F2, c.F4, c.F6);
        levels.setZetaParameters(c.zeta);
        levels.calcEnergyLevels(-1);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), refusal);
        EXPECT_TRUE(levels.getLastError().isEmpty());
        const QVector<MixedState> after = levels.getMixedStatesVector();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after.first().label, before.first().label);
        EXPECT_EQ(after.last().energy, before.last().energy);
    }
}

TEST(OrvaneEnergyLevels, ReportFormat)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    MixedState state;
    state.label = QStringLiteral("7F0");
    state.energy = 0.0;
    state.components = {{QStringLiteral("7F0"), 0.9876, 0}, {QStringLiteral("5D0"), -0.15, 0}};
    MixedState second;
    second.label = QStringLiteral("7F1");
    second.energy = 373.6;
    second.components = {{QStringLiteral("7F1"), -1.0, 0}};
    OrvaneEnergyLevelsProbe::setMixedStates(levels, {state, second});

    const QString expected = QStringLiteral(
        "1  0\n|7F0> = +0.9876|7F0> -0.1500|5D0> \n*********************\n"
        "2  374\n|7F1> = -1.0000|7F1> \n*********************\n");
    EXPECT_EQ(levels.createOutputFile(QString()), expected);

    const QString file = folder.path() + QStringLiteral("/levels.txt");
    EXPECT_TRUE(levels.createOutputFile(file).isEmpty());
    EXPECT_TRUE(levels.getLastError().isEmpty());
    EXPECT_EQ(QString::fromUtf8(OrvaneFixtures::contents(file)), expected);

    // A folder that does not exist: nothing is written, the reason is kept.
    const QString unwritable = folder.path() + QStringLiteral("/missing/levels.txt");
    EXPECT_TRUE(levels.createOutputFile(unwritable).isEmpty());
    EXPECT_TRUE(levels.getLastError().contains(unwritable)) << levels.getLastError().toStdString();
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST(OrvaneEnergyLevels, MissingTablesStopConstruction)
{
    const struct { QStringList present; const char* missing; } cases[] = {
        {{}, "f6.ele"}, {{QStringLiteral("f6.cfp")}, "f6.ele"}, {{QStringLiteral("f6.ele")}, "f6.cfp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        LevelsTablesFolder folder(c.present.isEmpty() ? QStringList{QStringLiteral("f1.cfp")} : c.present);
        OrvaneEnergyLevels levels(nullptr, 8); // Tb(III) reads the f^6 tables
        const QString path = folder.tablePath(QString::fromLatin1(c.missing));
        EXPECT_EQ(levels.getLastError(),
                  QStringLiteral("Energy Levels Calculation\n") + path + QStringLiteral("  No such file or directory"));
        EXPECT_TRUE(levels.getJValues().isEmpty());
        setParameters(levels, eu);
        levels.calcEnergyLevels(-1);
        EXPECT_TRUE(levels.getMixedStatesVector().isEmpty());
        EXPECT_TRUE(levels.createOutputFile(QString()).isEmpty());
    }
}

TEST(OrvaneEnergyLevels, JValuesAndLookups)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    EXPECT_EQ(levels.getJValues(), (QVector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(levels.getJVector(3, 3), (QVector<double>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(levels.getJVector(0, 3), (QVector<double>{3}));
    EXPECT_EQ(levels.getJVector(2.5, 5), (QVector<double>{2.5, 3.5, 4.5, 5.5, 6.5, 7.5}));
    EXPECT_TRUE(levels.getFractParentCoeffVector(termOf("9Q")).isEmpty());

    setParameters(levels, eu);
    levels.calcEnergyLevels(-1);
    SpectroscopicTerm level = termOf("7F");
    level.J = 1;
    EXPECT_EQ(levels.getMixedStates(level).label, QStringLiteral("7F1"));
    level.J = 7;
    const MixedState none = levels.getMixedStates(level);
    EXPECT_TRUE(none.label.isEmpty());
    EXPECT_TRUE(none.components.isEmpty());
}

TEST(OrvaneEnergyLevels, RelabellingByDominantComponent)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    auto make = [](const char* label, std::initializer_list<CoeffAndLabel> c) {
        MixedState s;
        s.label = QString::fromLatin1(label);
        s.components = c;
        return s;
    };
    QVector<MixedState> states = {
        make("a", {{"5D(1)0", 0.3, 0}, {"5D(3)0", 0.8, 0}}),
        make("b", {{"5D(3)0", 0.9, 0}, {"7F0", -0.2, 0}}),
        make("c", {{"7F0", 1.0, 0}})};
    OrvaneEnergyLevelsProbe::relabel(levels, states);
    EXPECT_EQ(states[0].label, QStringLiteral("5D(1)0")); // loses 5D(3)0 to the larger share of b
    EXPECT_EQ(states[1].label, QStringLiteral("5D(3)0"));
    EXPECT_EQ(states[2].label, QStringLiteral("7F0"));
    EXPECT_EQ(states[0].components.first().label, QStringLiteral("5D(3)0")); // sorted by magnitude
}
