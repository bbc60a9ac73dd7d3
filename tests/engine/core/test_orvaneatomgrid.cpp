#include "orvaneatomgrid.h"
#include "orvanefilesconverter.h"

#include <gtest/gtest.h>

#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

// The Z-matrix writer finds its reference atoms (the nearest earlier atom, and
// a replacement dihedral reference near a straight angle) through a grid; the
// answers must be those of the scan over every earlier atom, to the bit,
// ties between equal distances included.

namespace {

Coord atomAt(double x, double y, double z, const char* label = "C")
{
    Coord c;
    c.label = QString::fromLatin1(label);
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

using Geometry = std::function<QVector<Coord>(std::mt19937_64&)>;

QVector<Coord> uniformBox(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(-12.0, 12.0);
    QVector<Coord> atoms;
    for (int i = 0; i < 700; ++i)
        atoms.append(atomAt(u(random), u(random), u(random)));
    return atoms;
}

// Tight clusters far apart, atoms of the clusters interleaved.
QVector<Coord> clusters(std::mt19937_64& random)
{
    std::normal_distribution<double> spread(0.0, 0.6);
    const double centres[][3] = {{0, 0, 0}, {40, 0, 0}, {0, 55, -3}, {-30, -30, 80}, {0.5, 0.2, 0.1}};
    QVector<Coord> atoms;
    for (int i = 0; i < 800; ++i) {
        const auto& c = centres[i % 5];
        atoms.append(atomAt(c[0] + spread(random), c[1] + spread(random), c[2] + spread(random)));
    }
    return atoms;
}

// A cubic lattice in shuffled order: many equal distances, many straight
// angles (the dihedral reference is replaced), on exactly representable
// coordinates so that the ties are exact.
QVector<Coord> shuffledLattice(std::mt19937_64& random)
{
    QVector<Coord> atoms;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j)
            for (int k = 0; k < 9; ++k)
                atoms.append(atomAt(1.5 * i, 1.5 * j, 1.5 * k));
    std::shuffle(atoms.begin(), atoms.end(), random);
    return atoms;
}

// Straight chains and a flat sheet: degenerate boxes and straight angles.
QVector<Coord> chainsAndSheet(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(-0.01, 0.01);
    QVector<Coord> atoms;
    for (int i = 0; i < 60; ++i)
        atoms.append(atomAt(1.2 * i, 0.0, 0.0));
    for (int i = 0; i < 40; ++i)
        atoms.append(atomAt(0.0, 1.4 * i + u(random), 3.0));
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j)
            atoms.append(atomAt(2.0 * i, 2.0 * j, -5.0));
    return atoms;
}

// Coincident atoms, non-finite coordinates and atoms 10^20 Angstrom away.
QVector<Coord> hostile(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(-3.0, 3.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QVector<Coord> atoms;
    for (int i = 0; i < 200; ++i) {
        switch (i % 10) {
        case 3: atoms.append(atomAt(nan, 0.0, 1.0)); break;
        case 5: atoms.append(atomAt(0.0, inf, 0.0)); break;
        case 7: atoms.append(atoms.at(i - 1)); break;
        default: atoms.append(atomAt(u(random), u(random), u(random)));
        }
    }
    atoms.append(atomAt(1e20, 0.0, 0.0));
    atoms.append(atomAt(-1e20, 5.0, 0.0));
    atoms.append(atomAt(1.0, 1.0, 1.0));
    return atoms;
}

// Every atom within a few thousandths of an Angstrom.
QVector<Coord> tinyBox(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(-0.002, 0.002);
    QVector<Coord> atoms;
    for (int i = 0; i < 300; ++i)
        atoms.append(atomAt(7.0 + u(random), -3.0 + u(random), u(random)));
    return atoms;
}

const struct {
    const char* name;
    Geometry make;
} geometries[] = {{"uniform box", uniformBox}, {"clusters", clusters}, {"shuffled lattice", shuffledLattice},
    {"chains and sheet", chainsAndSheet}, {"hostile", hostile}, {"tiny box", tinyBox}};

} // namespace

TEST(ZMatrixReferenceSearch, GridGivesTheFullScansZMatrixToTheBit)
{
    for (const auto& geometry : geometries) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << geometry.name << ", seed " << seed);
            std::mt19937_64 random(seed);
            const QVector<Coord> atoms = geometry.make(random);
            OrvaneFilesConverter converter;
            const QVector<CoordZMT> grid = converter.createZMTFromXYZCoord(atoms);
            const QVector<CoordZMT> scan = OrvaneFilesConverter::zMatrixByFullScan(atoms);
            ASSERT_EQ(grid.size(), atoms.size());
            ASSERT_EQ(scan.size(), atoms.size());
            int replacedDihedrals = 0;
            for (int i = 0; i < atoms.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "atom " << i + 1);
                ASSERT_EQ(grid.at(i).na, scan.at(i).na);
                ASSERT_EQ(grid.at(i).nb, scan.at(i).nb);
                ASSERT_EQ(grid.at(i).nc, scan.at(i).nc);
                EXPECT_TRUE(sameBits(grid.at(i).bond, scan.at(i).bond));
                EXPECT_TRUE(sameBits(grid.at(i).angle, scan.at(i).angle));
                EXPECT_TRUE(sameBits(grid.at(i).dihedral, scan.at(i).dihedral));
                const int na = scan.at(i).na;
                if (i >= 3 && na >= 1 && scan.at(i).nc != scan.at(na - 1).nb)
                    ++replacedDihedrals;
            }
            if (std::string(geometry.name) == "shuffled lattice")
                EXPECT_GT(replacedDihedrals, 0) << "the lattice must exercise the dihedral-reference search";
        }
    }
}

TEST(ZMatrixReferenceSearch, NearestEarlierAtomTakesTheLowestIndexAmongEqualDistances)
{
    // Atom 5 at the centre of a square of atoms 1-4 (all at distance 1), and
    // atom 6 beside 5 (squared distance 0.05): entry 0 is unused.
    const double x[] = {0, 1, -1, 0, 0, 0, 0.2};
    const double y[] = {0, 0, 0, 1, -1, 0, 0.1};
    const double z[] = {0, 0, 0, 0, 0, 0, 0};
    OrvaneAtomGrid grid;
    ASSERT_TRUE(grid.build(x, y, z, 6));
    for (int i = 1; i <= 4; ++i)
        grid.insert(i);
    EXPECT_EQ(grid.nearest(5, 1e30), 1); // atoms 1 to 4 all at 1 Angstrom
    grid.insert(5);
    EXPECT_EQ(grid.nearest(6, 1e30), 5);
    EXPECT_EQ(grid.nearest(6, 0.04), 0); // nothing below the limit
}
