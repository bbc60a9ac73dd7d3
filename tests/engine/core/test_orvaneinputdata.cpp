#include "orvaneinputdata.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>

namespace {

Coord atom(const char* label, double x, double y, double z)
{
    Coord c;
    c.label = QString::fromLatin1(label);
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

// A record whose Cartesian atoms are set directly, as a reader would leave them.
struct Molecule {
    OrvaneInputData data{nullptr, QStringLiteral("complex.out")};
    explicit Molecule(const QVector<Coord>& atoms)
    {
        data.coord = atoms;
        data.atomsNumber = atoms.size();
    }
};

struct DirectionCase {
    double x, y, z;
    double r, theta, phi;
};

class SphericalDirection : public testing::TestWithParam<DirectionCase> {};

} // namespace

TEST_P(SphericalDirection, AnglesFollowTheQuadrantRules)
{
    const DirectionCase& c = GetParam();
    // The reference atom is off the origin, so the shift is exercised too.
    Molecule m({atom("Eu", 1.0, 2.0, 3.0), atom("O", 1.0 + c.x, 2.0 + c.y, 3.0 + c.z)});
    ASSERT_TRUE(m.data.createSphericalCoordinate());
    const CoordSPH s = m.data.getCoordSPH(2);
    EXPECT_NEAR(s.r, c.r, 1e-12);
    EXPECT_NEAR(s.theta, c.theta, 1e-9);
    EXPECT_NEAR(s.phi, c.phi, 1e-9);
    EXPECT_TRUE(s.label.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Directions, SphericalDirection,
    testing::Values(
        DirectionCase{0, 0, 1, 1, 0, 0},
        DirectionCase{0, 0, -1, 1, 180, 0},
        DirectionCase{1, 0, 0, 1, 90, 0},
        DirectionCase{-1, 0, 0, 1, 90, 180},
        DirectionCase{0, 1, 0, 1, 90, 90},
        DirectionCase{0, -1, 0, 1, 90, 270},
        DirectionCase{1, -1, 0, std::sqrt(2.0), 90, 315},
        DirectionCase{1, 1, 0, std::sqrt(2.0), 90, 45},
        DirectionCase{-1, 1, 0, std::sqrt(2.0), 90, 135},
        DirectionCase{-1, -1, 0, std::sqrt(2.0), 90, 225},
        // 2.5^2 = 1 + 1 + 4.25: a general direction with an independent angle.
        DirectionCase{1, 1, std::sqrt(4.25), 2.5, std::acos(std::sqrt(4.25) / 2.5) * 180 / M_PI, 45}));

TEST(SphericalCoordinates, SingleAtomIsTheOrigin)
{
    Molecule m({atom("Eu", 4.0, -2.0, 7.0)});
    ASSERT_TRUE(m.data.createSphericalCoordinate());
    ASSERT_EQ(m.data.coordSPH.size(), 1);
    EXPECT_EQ(m.data.getCoordSPH(1).r, 0.0);
    EXPECT_EQ(m.data.getCoordSPH(1).theta, 0.0);
    EXPECT_EQ(m.data.getCoordSPH(1).phi, 0.0);
    EXPECT_EQ(m.data.getCoordNumber(), 0);

    Molecule oxygen({atom("O", 0.0, 0.0, 0.0)});
    ASSERT_TRUE(oxygen.data.createSphericalCoordinate());
    EXPECT_EQ(oxygen.data.getCoordNumber(), 1); // r = 0 < 2.65
}

TEST(SphericalCoordinates, CoordinationCountUsesStrictThresholds)
{
    struct Case {
        const char* label;
        double r;
        bool counted;
    };
    const Case cases[] = {{"O", 2.649, true},  {"O", 2.65, false},  {"N", 2.6, true},
                          {"N", 2.65, false},  {"Cl", 2.8, true},   {"Cl", 2.9, false},
                          {"S", 2.89, true},   {"S", 2.9, false},   {"I", 2.99, true},
                          {"I", 3.0, false},   {"F", 2.0, false},   {"o", 2.0, false},
                          {"C", 1.0, false}};
    for (const Case& c : cases) {
        Molecule m({atom("Eu", 0, 0, 0), atom(c.label, 0, 0, c.r)});
        ASSERT_TRUE(m.data.createSphericalCoordinate());
        EXPECT_EQ(m.data.getCoordNumber(), c.counted ? 1 : 0) << c.label << " at " << c.r;
    }
}

TEST(SphericalCoordinates, EmptyRecordFailsAndAppendsReason)
{
    OrvaneInputData data(nullptr, QStringLiteral("/data/empty.out"));
    data.setLastError(QStringLiteral("earlier"));
    EXPECT_FALSE(data.createSphericalCoordinate());
    EXPECT_EQ(data.getLastError(),
              QStringLiteral("earlier\nThe vector of cartesian coordinates empty. This way, firstly, it is "
                             "necessary to use a specific function to read the desired file. \n/data/empty.out"));
    EXPECT_TRUE(data.coordSPH.isEmpty());
    EXPECT_FALSE(data.createSphericalCoordinate(3, 1));
}

TEST(SphericalCoordinates, SuccessEmitsProgressLine)
{
    Molecule m({atom("Eu", 0, 0, 0), atom("O", 0, 0, 2.4)});
    QSignalSpy spy(&m.data, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    ASSERT_TRUE(m.data.createSphericalCoordinate());
    ASSERT_EQ(spy.count(), 1);
    const QString line = spy.at(0).at(0).toString();
    EXPECT_TRUE(line.endsWith(QStringLiteral(
        " -> (Read Input Data) Cartesian coordinates were successfully converted to spherical coordinates. \n"
        "complex.out")))
        << line.toStdString();
}

TEST(SphericalCoordinates, SecondCallRebuildsInsteadOfAppending)
{
    Molecule m({atom("Eu", 0, 0, 0), atom("O", 0, 0, 2.4), atom("N", 2.5, 0, 0)});
    ASSERT_TRUE(m.data.createSphericalCoordinate());
    ASSERT_TRUE(m.data.createSphericalCoordinate());
    EXPECT_EQ(m.data.coordSPH.size(), 3);
    EXPECT_EQ(m.data.getCoordNumber(), 2);
}

TEST(SphericalCoordinates, SeveralCentresByMode)
{
    // Atoms 1..6 on the x axis at x = 10*i: every member's r is its distance to its centre.
    QVector<Coord> atoms;
    for (int i = 1; i <= 6; ++i)
        atoms.append(atom(i == 1 ? "Eu" : "O", 10.0 * i, 0, 0));

    {
        Molecule m(atoms);
        ASSERT_TRUE(m.data.createSphericalCoordinate(3, 1));
        ASSERT_EQ(m.data.coordSPH.size(), 2);
        EXPECT_DOUBLE_EQ(m.data.getCoordSPH(1).r, 10);
        EXPECT_DOUBLE_EQ(m.data.getCoordSPH(2).r, 20);
    }
    {
        Molecule m(atoms);
        ASSERT_TRUE(m.data.createSphericalCoordinate(3, 2));
        const double expected[] = {10, 20, 10, 20};
        ASSERT_EQ(m.data.coordSPH.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(m.data.coordSPH[i].r, expected[i]) << i;
        // Atoms 5 and 6 lie on +x of centre 4; atoms 2, 3 on +x of centre 1.
        EXPECT_DOUBLE_EQ(m.data.coordSPH[3].phi, 0.0);
    }
    {
        Molecule m(atoms);
        ASSERT_TRUE(m.data.createSphericalCoordinate(4, 3));
        // Group 1: atoms 2, 4, 5 about atom 1; group 2: atoms 4, 5, 6 about atom 3.
        const double expected[] = {10, 30, 40, 10, 20, 30};
        ASSERT_EQ(m.data.coordSPH.size(), 6);
        for (int i = 0; i < 6; ++i)
            EXPECT_DOUBLE_EQ(m.data.coordSPH[i].r, expected[i]) << i;
    }
    {
        Molecule m(atoms);
        // n = 3, mode 4: group 1 atoms 2, 4 about 1; group 2 atoms 4, 5 about atom 3.
        ASSERT_TRUE(m.data.createSphericalCoordinate(3, 4));
        const double expected[] = {10, 30, 10, 20};
        ASSERT_EQ(m.data.coordSPH.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(m.data.coordSPH[i].r, expected[i]) << i;
    }
}

TEST(SphericalCoordinates, SeveralCentresRefuseAtomsOutsideTheMolecule)
{
    Molecule m({atom("Eu", 0, 0, 0), atom("O", 0, 0, 2.4), atom("O", 0, 2.4, 0)});
    EXPECT_FALSE(m.data.createSphericalCoordinate(3, 2)); // needs atoms up to 6
    EXPECT_FALSE(m.data.getLastError().isEmpty());
    EXPECT_TRUE(m.data.coordSPH.isEmpty());
    EXPECT_TRUE(m.data.createSphericalCoordinate(3, 9)); // unknown mode: no group
    EXPECT_TRUE(m.data.coordSPH.isEmpty());
}

TEST(CenterOfMass, WeighsByExactSymbol)
{
    // Hg at x = 0 and H at x = 1: centre at 1.01 / (200.59 + 1.01).
    const Coord c = OrvaneInputData::calcCenterOfMass({atom("Hg", 0, 0, 0), atom("H", 1, 2, 3)});
    const double w = 1.01 / (200.59 + 1.01);
    EXPECT_NEAR(c.x, w, 1e-15);
    EXPECT_NEAR(c.y, 2 * w, 1e-15);
    EXPECT_NEAR(c.z, 3 * w, 1e-15);
    EXPECT_TRUE(c.label.isEmpty());
}

TEST(CenterOfMass, UnknownLabelTakesThePreviousMass)
{
    // "Xx" weighs as the Eu before it: the centre is the midpoint of those two,
    // pulled towards the O at x = 10 by 16 / (2 * 151.97 + 16).
    const Coord c = OrvaneInputData::calcCenterOfMass(
        {atom("Eu", 0, 0, 0), atom("Xx", 2, 0, 0), atom("O", 10, 0, 0)});
    EXPECT_NEAR(c.x, (151.97 * 2 + 16 * 10) / (2 * 151.97 + 16), 1e-12);
}

TEST(CenterOfMass, EmptyListAndUnknownFirstAtom)
{
    const Coord none = OrvaneInputData::calcCenterOfMass({});
    EXPECT_EQ(none.x, 0.0);
    EXPECT_EQ(none.y, 0.0);
    EXPECT_EQ(none.z, 0.0);

    const Coord unknown = OrvaneInputData::calcCenterOfMass({atom("EU", 0, 0, 0), atom("XX", 4, 2, 0)});
    EXPECT_TRUE(std::isfinite(unknown.x));
    EXPECT_DOUBLE_EQ(unknown.x, 2.0);
    EXPECT_DOUBLE_EQ(unknown.y, 1.0);
}

TEST(CheckTypeMopFile, FifthLineOfTenFieldsIsZMatrix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QString& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return dir.filePath(name);
    };
    const QString zmt = write(QStringLiteral("z.mop"),
        QStringLiteral("AM1 SPARKLE\r\ntitle\r\n\r\nEu 0 0 0 0 0 0 0 0 0\r\n O 2.4 1 0 0 0 0 1 0 0\r\n"));
    const QString xyz = write(QStringLiteral("x.mop"),
        QStringLiteral("AM1 SPARKLE\ntitle\n\nEu 0 1 0 1 0 1\nO 2.4 1 0 1 0 1\n"));
    const QString shortFile = write(QStringLiteral("s.mop"), QStringLiteral("a\nb\nc\nd\n"));
    EXPECT_FALSE(OrvaneInputData::checkTypeMopFile(zmt));
    EXPECT_TRUE(OrvaneInputData::checkTypeMopFile(xyz));
    EXPECT_TRUE(OrvaneInputData::checkTypeMopFile(shortFile));
    EXPECT_TRUE(OrvaneInputData::checkTypeMopFile(dir.filePath(QStringLiteral("missing.mop"))));
}

TEST(Getters, IndexBasesAndOutOfRange)
{
    Molecule m({atom("Eu", 0, 0, 0), atom("O", 0, 0, 2.4)});
    ExcitateState s1;
    s1.energy = 27000;
    ExcitateState t1;
    t1.energy = 20000;
    m.data.singletExcitateStateVector = {s1};
    m.data.tripletExcitateStateVector = {t1};
    m.data.atomicCharges = {1.5, -0.4};

    EXPECT_EQ(m.data.getAtomLabel(1), QStringLiteral("Eu"));
    EXPECT_EQ(m.data.getCoord(2).z, 2.4);
    EXPECT_EQ(m.data.getSingletEnergy(1), 27000);
    EXPECT_EQ(m.data.getSingletExcitateStateVector(0).energy, 27000);
    EXPECT_EQ(m.data.getTripletEnergy(1), 20000);
    EXPECT_EQ(m.data.getAtomicCharges(1), -0.4);

    // Outside the lists: empty records and zeros, never a read past the end.
    EXPECT_TRUE(m.data.getAtomLabel(0).isEmpty());
    EXPECT_TRUE(m.data.getAtomLabel(3).isEmpty());
    EXPECT_EQ(m.data.getCoord(-5).x, 0.0);
    EXPECT_EQ(m.data.getCoordSPH(1).r, 0.0);
    EXPECT_EQ(m.data.getCoordZMT(1).na, 0);
    EXPECT_EQ(m.data.getSingletEnergy(2), 0.0);
    EXPECT_EQ(m.data.getTripletExcitateStateVector(1).orbitals.size(), 0);
    EXPECT_EQ(m.data.getAtomicCharges(2), 0.0);
    EXPECT_EQ(m.data.getForceConstant(0), 0.0);
    EXPECT_EQ(m.data.getEnergyVector(0), 0.0);
    EXPECT_EQ(m.data.getOscForceVector(-1), 0.0);
    EXPECT_EQ(m.data.getMolecularOrbital(0).number, 0);
    EXPECT_TRUE(m.data.getMolecularOrbitalVector(0).coefficients.isEmpty());
}

TEST(Getters, FreshRecord)
{
    OrvaneInputData data(nullptr, QStringLiteral("a.out"));
    EXPECT_TRUE(data.getLastError().isEmpty());
    EXPECT_EQ(data.getFileName(), QStringLiteral("a.out"));
    EXPECT_EQ(data.getSelExcitateState(), 1);
    EXPECT_EQ(data.getAtomsNumber(), 0);
    EXPECT_FALSE(data.getIsOrcaTDDFT());
    EXPECT_EQ(data.getFinalHeat(), 0.0);
}
