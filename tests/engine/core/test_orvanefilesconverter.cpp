// Z-matrix <-> Cartesian conversion. Positions are checked with distances,
// angles and dihedrals measured here by plain vector formulas (dihedral sign:
// the usual convention, which MOPAC's Z-matrices follow; see the peroxide
// output test of the readers).

#include "orvanefilesconverter.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Vec = std::array<double, 3>;

Vec position(const Coord& a)
{
    return {a.x, a.y, a.z};
}
Vec minus(const Vec& a, const Vec& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double dot(const Vec& a, const Vec& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec cross(const Vec& a, const Vec& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double distance(const Coord& a, const Coord& b)
{
    const Vec d = minus(position(a), position(b));
    return std::sqrt(dot(d, d));
}
// Angle a-b-c at b, degrees.
double angle(const Coord& a, const Coord& b, const Coord& c)
{
    const Vec u = minus(position(a), position(b));
    const Vec v = minus(position(c), position(b));
    return std::acos(dot(u, v) / std::sqrt(dot(u, u) * dot(v, v))) * 180.0 / M_PI;
}
// Dihedral a-b-c-d, degrees in (-180, 180].
double dihedral(const Coord& a, const Coord& b, const Coord& c, const Coord& d)
{
    const Vec b0 = minus(position(a), position(b));
    Vec b1 = minus(position(c), position(b));
    const Vec b2 = minus(position(d), position(c));
    const double n = std::sqrt(dot(b1, b1));
    b1 = {b1[0] / n, b1[1] / n, b1[2] / n};
    const Vec v = minus(b0, {dot(b0, b1) * b1[0], dot(b0, b1) * b1[1], dot(b0, b1) * b1[2]});
    const Vec w = minus(b2, {dot(b2, b1) * b1[0], dot(b2, b1) * b1[1], dot(b2, b1) * b1[2]});
    return std::atan2(dot(cross(b1, v), w), dot(v, w)) * 180.0 / M_PI;
}
double angleDifference(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

Coord atom(const char* label, double x, double y, double z)
{
    Coord c;
    c.label = QString::fromLatin1(label);
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

CoordZMT row(const char* label, double bond, double ang, double dih, int na, int nb, int nc)
{
    CoordZMT r;
    r.label = QString::fromLatin1(label);
    r.bond = bond;
    r.angle = ang;
    r.dihedral = dih;
    r.na = na;
    r.nb = nb;
    r.nc = nc;
    return r;
}

bool finite(const QVector<Coord>& atoms)
{
    for (const Coord& a : atoms)
        if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z))
            return false;
    return true;
}

void expectSameDistances(const QVector<Coord>& a, const QVector<Coord>& b, double tolerance)
{
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a.at(i).label, b.at(i).label);
        for (int j = i + 1; j < a.size(); ++j)
            EXPECT_NEAR(distance(a.at(i), a.at(j)), distance(b.at(i), b.at(j)), tolerance) << i + 1 << "-" << j + 1;
    }
}

// A non-planar cloud without straight or flat reference angles.
QVector<Coord> cloud()
{
    QVector<Coord> atoms;
    for (int k = 0; k < 12; ++k)
        atoms.append(atom(k % 3 ? "H" : "C", std::cos(1.3 * k) * (1.0 + 0.2 * k), std::sin(1.7 * k) * (1.0 + 0.1 * k),
            0.5 * k - 0.03 * k * k));
    return atoms;
}

// Hydrogen peroxide as MOPAC optimised it (tests/data/mopac/h2o2_zmatrix.out).
QVector<Coord> peroxide()
{
    return {atom("O", 0.0, 0.0, 0.0), atom("O", 1.426118278, 0.0, 0.0), atom("H", 1.556079325, 0.980923066, 0.0),
        atom("H", -0.129795545, -0.966743535, -0.166279711)};
}

} // namespace

TEST(ZMatrixConversion, RoundTripKeepsEveryDistance)
{
    for (const QVector<Coord>& molecule : {peroxide(), cloud()}) {
        OrvaneFilesConverter converter;
        const QVector<CoordZMT> rows = converter.createZMTFromXYZCoord(molecule);
        ASSERT_EQ(rows.size(), molecule.size());
        const QVector<Coord> back = converter.createXYZFromZMTCoord(rows);
        expectSameDistances(back, molecule, 1e-4);
        EXPECT_TRUE(converter.getLastError().isEmpty());
        // Placed in the standard frame: atom 1 at the origin, 2 on x, 3 in x-y.
        EXPECT_EQ(back.at(0).x, 0.0);
        EXPECT_EQ(back.at(1).y, 0.0);
        EXPECT_EQ(back.at(1).z, 0.0);
        EXPECT_EQ(back.at(2).z, 0.0);
    }
}

TEST(ZMatrixConversion, ZMatrixOfCartesianAtomsDescribesThem)
{
    const QVector<Coord> molecule = cloud();
    OrvaneFilesConverter converter;
    QSignalSpy progress(&converter, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    const QVector<CoordZMT> rows = converter.createZMTFromXYZCoord(molecule);
    ASSERT_EQ(progress.count(), 1);
    EXPECT_TRUE(progress.at(0).at(0).toString().endsWith(
        QStringLiteral(" -> (Orvane Files Converter Module) Conversion from xyz coordinate to .xyz coordinate.")));

    EXPECT_EQ(rows.at(0).na + rows.at(0).nb + rows.at(0).nc, 0);
    EXPECT_EQ(rows.at(1).na, 1);
    EXPECT_EQ(rows.at(1).nb + rows.at(1).nc, 0);
    EXPECT_EQ(rows.at(2).nc, 0);
    // Angles are radians times 57.29578, the factor the Z-matrix files have
    // always used (8.5e-9 relative below 180/pi).
    const double scale = 57.29578 / (180.0 / M_PI);
    for (int i = 1; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const CoordZMT& r = rows.at(i);
        ASSERT_TRUE(r.na >= 1 && r.na <= i);
        EXPECT_NEAR(r.bond, distance(molecule.at(i), molecule.at(r.na - 1)), 1e-12);
        if (i >= 2)
            EXPECT_NEAR(r.angle, angle(molecule.at(i), molecule.at(r.na - 1), molecule.at(r.nb - 1)) * scale, 1e-9);
        if (i >= 3) {
            ASSERT_TRUE(r.nb >= 1 && r.nb <= i && r.nc >= 1 && r.nc <= i);
            double expected =
                dihedral(molecule.at(i), molecule.at(r.na - 1), molecule.at(r.nb - 1), molecule.at(r.nc - 1));
            if (expected < 0.0)
                expected += 360.0;
            EXPECT_NEAR(r.dihedral, expected * scale, 1e-9);
        }
    }
}

TEST(ZMatrixConversion, CollinearChainGivesNoNaN)
{
    const QVector<Coord> chain = {atom("C", 0.0, 0.0, 0.0), atom("C", 1.2, 0.0, 0.0), atom("C", 2.5, 0.0, 0.0),
        atom("C", 3.9, 0.0, 0.0), atom("H", 5.0, 0.0, 0.0)};
    OrvaneFilesConverter converter;
    const QVector<CoordZMT> rows = converter.createZMTFromXYZCoord(chain);
    for (const CoordZMT& r : rows) {
        EXPECT_TRUE(std::isfinite(r.bond) && std::isfinite(r.angle) && std::isfinite(r.dihedral));
        EXPECT_EQ(r.dihedral, 0.0); // no atom off the line to define one
    }
    EXPECT_NEAR(rows.at(2).angle, 180.0, 1e-4);
    // Atom 4 sits next to atom 3, whose references were 2 and 1.
    EXPECT_EQ(rows.at(3).na, 3);
    EXPECT_EQ(rows.at(3).nb, 2);
    EXPECT_EQ(rows.at(3).nc, 1);

    const QVector<Coord> back = converter.createXYZFromZMTCoord(rows);
    EXPECT_TRUE(finite(back));
    expectSameDistances(back, chain, 1e-4);
}

TEST(ZMatrixConversion, StraightReferenceAngleTakesAnotherDihedralAtom)
{
    // Atoms 1-2-3 on a line. Atom 4 has no earlier atom off that line: its
    // dihedral stays 0 about the references 3, 2, 1. Atoms 5 and 6 would get
    // a straight (or zero) reference angle from the automatic choice and take
    // another nearby atom as dihedral reference.
    const QVector<Coord> molecule = {atom("C", 0.0, 0.0, 0.0), atom("C", 1.5, 0.0, 0.0), atom("C", 3.0, 0.0, 0.0),
        atom("H", 3.4, 0.9, 0.3), atom("H", 1.5, 1.0, 0.5), atom("H", 3.6, -0.8, 0.6)};
    OrvaneFilesConverter converter;
    const QVector<CoordZMT> rows = converter.createZMTFromXYZCoord(molecule);
    EXPECT_EQ(rows.at(3).nc, 1);
    EXPECT_EQ(rows.at(3).dihedral, 0.0);
    EXPECT_EQ(rows.at(4).nc, 4); // the automatic choice was 3, on the line 1-2
    EXPECT_EQ(rows.at(5).nc, 5); // the automatic choice was 1, on the line 3-2
    for (int i = 4; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const CoordZMT& r = rows.at(i);
        const double reference = angle(molecule.at(r.na - 1), molecule.at(r.nb - 1), molecule.at(r.nc - 1));
        EXPECT_GT(reference, 5.0);
        EXPECT_LT(reference, 175.0);
    }
    expectSameDistances(converter.createXYZFromZMTCoord(rows), molecule, 1e-4);
}

TEST(ZMatrixConversion, PlacesEachAtomAtItsBondAngleAndDihedral)
{
    // Atom 5 hangs on the bond 1-4, which lies on the z axis: placed through
    // the turned frame. Atom 6 is placed in the ordinary frame.
    const QVector<CoordZMT> rows = {row("Eu", 0, 0, 0, 0, 0, 0), row("O", 2.4, 0, 0, 1, 0, 0),
        row("O", 2.5, 75.0, 0, 1, 2, 0), row("O", 2.45, 90.0, 90.0, 1, 2, 3), row("H", 1.1, 109.5, 60.0, 1, 4, 2),
        row("C", 1.3, 120.0, -135.0, 3, 1, 5)};
    OrvaneFilesConverter converter;
    const QVector<Coord> atoms = converter.createXYZFromZMTCoord(rows);
    ASSERT_EQ(atoms.size(), rows.size());
    EXPECT_NEAR(atoms.at(3).x, 0.0, 1e-12);
    EXPECT_NEAR(atoms.at(3).y, 0.0, 1e-12);
    for (int i = 1; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const CoordZMT& r = rows.at(i);
        EXPECT_EQ(atoms.at(i).label, r.label);
        EXPECT_NEAR(distance(atoms.at(i), atoms.at(r.na - 1)), r.bond, 1e-9);
        if (i >= 2)
            EXPECT_NEAR(angle(atoms.at(i), atoms.at(r.na - 1), atoms.at(r.nb - 1)), r.angle, 1e-7);
        if (i >= 3)
            EXPECT_NEAR(angleDifference(dihedral(atoms.at(i), atoms.at(r.na - 1), atoms.at(r.nb - 1), atoms.at(r.nc - 1)),
                            r.dihedral),
                0.0, 1e-7);
    }
}

TEST(ZMatrixConversion, SmallMoleculesAndEquivalentDihedrals)
{
    OrvaneFilesConverter converter;
    const QVector<Coord> one = converter.createXYZFromZMTCoord({row("Eu", 0, 0, 0, 0, 0, 0)});
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(position(one.at(0)), (Vec{0.0, 0.0, 0.0}));
    const QVector<Coord> two = converter.createXYZFromZMTCoord({row("Eu", 0, 0, 0, 0, 0, 0), row("O", 2.4, 0, 0, 1, 0, 0)});
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(position(two.at(1)), (Vec{2.4, 0.0, 0.0}));
    // Atom 3 bonded to atom 1 or, by default, to atom 2.
    const QVector<Coord> onOne = converter.createXYZFromZMTCoord(
        {row("O", 0, 0, 0, 0, 0, 0), row("O", 1.5, 0, 0, 1, 0, 0), row("H", 1.0, 90.0, 0, 1, 2, 0)});
    EXPECT_NEAR(onOne.at(2).x, 0.0, 1e-12);
    EXPECT_NEAR(onOne.at(2).y, 1.0, 1e-12);
    const QVector<Coord> onTwo = converter.createXYZFromZMTCoord(
        {row("O", 0, 0, 0, 0, 0, 0), row("O", 1.5, 0, 0, 1, 0, 0), row("H", 1.0, 60.0, 0, 0, 0, 0)});
    EXPECT_NEAR(onTwo.at(2).x, 1.0, 1e-12);
    EXPECT_NEAR(onTwo.at(2).y, std::sqrt(0.75), 1e-12);

    QVector<Coord> positions;
    for (double d : {0.0, 360.0, -360.0}) {
        const QVector<Coord> atoms = converter.createXYZFromZMTCoord({row("O", 0, 0, 0, 0, 0, 0),
            row("O", 1.5, 0, 0, 1, 0, 0), row("H", 1.0, 100.0, 0, 2, 1, 0), row("H", 1.0, 100.0, d, 1, 2, 3)});
        positions.append(atoms.at(3));
    }
    for (const Coord& p : positions)
        EXPECT_NEAR(distance(p, positions.at(0)), 0.0, 1e-12);
}

TEST(ZMatrixConversion, CoincidentReferencesStopWithTheGeometryMessage)
{
    OrvaneFilesConverter converter;
    // Atom 2 at zero distance from atom 1; atom 4 takes them as distance and angle references.
    const QVector<Coord> atoms = converter.createXYZFromZMTCoord({row("O", 0, 0, 0, 0, 0, 0), row("O", 0.0, 0, 0, 1, 0, 0),
        row("H", 0.97, 100.0, 0, 2, 1, 0), row("H", 0.97, 100.0, 115.0, 1, 2, 3)});
    EXPECT_TRUE(atoms.isEmpty());
    EXPECT_TRUE(converter.getLastError().startsWith(
        QStringLiteral("ATOMS   2 AND  1 ARE COINCIDENT\n  THIS IS A FATAL ERROR, RUN STOPPED IN GMETRY ")))
        << converter.getLastError().toStdString();
    EXPECT_TRUE(converter.getLastError().contains(QStringLiteral("Z-matrix row 4")));
}

namespace {

struct ReferenceCase {
    int row;
    int na, nb, nc;
    const char* text;
};

class ZMatrixReferences : public testing::TestWithParam<ReferenceCase> {};

} // namespace

TEST_P(ZMatrixReferences, ReferenceThatIsNoEarlierAtomFailsNamingTheRow)
{
    const ReferenceCase& c = GetParam();
    QVector<CoordZMT> rows = {row("Eu", 0, 0, 0, 0, 0, 0), row("O", 2.4, 0, 0, 1, 0, 0), row("O", 2.4, 80.0, 0, 1, 2, 0),
        row("O", 2.4, 80.0, 120.0, 1, 2, 3), row("H", 0.97, 110.0, 30.0, 2, 1, 3)};
    rows[c.row - 1].na = c.na;
    rows[c.row - 1].nb = c.nb;
    rows[c.row - 1].nc = c.nc;
    OrvaneFilesConverter converter;
    EXPECT_TRUE(converter.createXYZFromZMTCoord(rows).isEmpty());
    EXPECT_TRUE(converter.getLastError().contains(QString::fromLatin1(c.text))) << converter.getLastError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, ZMatrixReferences,
    testing::Values(ReferenceCase{4, 0, 2, 3, "Z-matrix row 4 refers to atom 0 as its distance reference"},
        ReferenceCase{4, 1, -2, 3, "Z-matrix row 4 refers to atom -2 as its angle reference"},
        ReferenceCase{4, 1, 2, 4, "Z-matrix row 4 refers to atom 4 as its dihedral reference"},
        ReferenceCase{5, 2, 1, 7, "Z-matrix row 5 refers to atom 7 as its dihedral reference"},
        ReferenceCase{5, 6, 1, 3, "Z-matrix row 5 refers to atom 6 as its distance reference"},
        ReferenceCase{3, 3, 1, 0, "Z-matrix row 3 refers to atom 3 as its distance reference"}));
