// Spherical-coordinate, Z-matrix and XYZ files: numbers read back and
// compared with the source geometry, translation vectors, and Open Babel as
// an independent reader and writer of the same molecules.

#include "orvanefilesconverter.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"
#include "orvanewriterfixtures.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace OrvaneWriterFixtures;

namespace {

constexpr double pi = 3.14159265358979323846;

// Every interatomic distance of `actual` equals that of `expected` (same
// atom order); positions may differ by a rigid motion.
void expectSameDistances(const QVector<Coord>& actual, const QVector<Coord>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual.at(i).label.toUpper(), expected.at(i).label.toUpper()) << "atom " << i + 1;
        for (int j = 0; j < i; ++j)
            EXPECT_NEAR(distance(actual.at(i), actual.at(j)), distance(expected.at(i), expected.at(j)), tolerance)
                << "atoms " << j + 1 << " and " << i + 1;
    }
}

void expectSameAtoms(const QVector<Coord>& actual, const QVector<Coord>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(actual.at(i).label.toUpper(), expected.at(i).label.toUpper());
        EXPECT_NEAR(actual.at(i).x, expected.at(i).x, tolerance);
        EXPECT_NEAR(actual.at(i).y, expected.at(i).y, tolerance);
        EXPECT_NEAR(actual.at(i).z, expected.at(i).z, tolerance);
    }
}

// Atoms of an XYZ file: the count line, the comment line, then label x y z.
QVector<Coord> xyzAtoms(const QString& xyzText, int* count = nullptr)
{
    const QStringList rows = lines(xyzText);
    if (count)
        *count = rows.isEmpty() ? -1 : rows.first().trimmed().toInt();
    return atomRows(rows, 2, 4, 1, 2, 3);
}

class CoordinateFiles : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        source = mopac(QString::fromLatin1(GetParam()));
        printed = printedGeometryOf(QString::fromLatin1(GetParam()));
        ASSERT_FALSE(printed.atoms.isEmpty());
    }
    QTemporaryDir dir;
    QString source;
    MopacGeometry printed;
};

std::string sourceName(const testing::TestParamInfo<const char*>& info)
{
    std::string name = info.param;
    return name.substr(0, name.find('.'));
}

} // namespace

TEST_P(CoordinateFiles, SphericalCoordinatesPlaceEveryAtomAboutTheFirst)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("c.sph"));
    ASSERT_TRUE(converter.convertFromOutToSph(target)) << converter.getLastError().toStdString();
    const QVector<Coord> expected = shifted(printed.withVectors(), printed.atoms.first());
    const QStringList rows = lines(text(target));
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QStringList f = rows.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_EQ(f.size(), 4);
        EXPECT_EQ(f.at(0), expected.at(i).label);
        const double r = f.at(1).toDouble();
        const double theta = f.at(2).toDouble() * pi / 180.0;
        const double phi = f.at(3).toDouble() * pi / 180.0;
        EXPECT_NEAR(r, distance(expected.at(i), atom(QString(), 0, 0, 0)), 5e-6 + 1e-12);
        EXPECT_GE(f.at(3).toDouble(), 0.0);
        EXPECT_LT(f.at(3).toDouble(), 360.0);
        // Angles carry 3 decimals: 0.0005 degree moves an atom 3 Angstrom away by 2.6e-5.
        EXPECT_NEAR(r * std::sin(theta) * std::cos(phi), expected.at(i).x, 5e-5);
        EXPECT_NEAR(r * std::sin(theta) * std::sin(phi), expected.at(i).y, 5e-5);
        EXPECT_NEAR(r * std::cos(theta), expected.at(i).z, 5e-5);
    }
}

TEST_P(CoordinateFiles, ZMatrixKeepsEveryDistanceThroughBothReadings)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString zmt = dir.filePath(QStringLiteral("c.zmt"));
    ASSERT_TRUE(converter.convertFromOutToZmt(zmt)) << converter.getLastError().toStdString();
    // Translation vectors stay rows of the Z-matrix.
    const QVector<Coord> expected = printed.withVectors();

    OrvaneInputData zmatrix(nullptr, zmt);
    ASSERT_TRUE(zmatrix.readZmtFile());
    QVector<CoordZMT> rows;
    for (int i = 1; i <= zmatrix.getAtomsNumber(); ++i)
        rows.append(zmatrix.getCoordZMT(i));
    OrvaneFilesConverter placer;
    {
        SCOPED_TRACE("Z-matrix read back");
        expectSameDistances(placer.createXYZFromZMTCoord(rows), expected, 1e-4);
    }

    OrvaneFilesConverter fromZmt(nullptr, zmt);
    const QString xyz = dir.filePath(QStringLiteral("c.xyz"));
    ASSERT_TRUE(fromZmt.convertFromZmtToXYZ(xyz)) << fromZmt.getLastError().toStdString();
    int count = 0;
    const QVector<Coord> atoms = xyzAtoms(text(xyz), &count);
    EXPECT_EQ(count, expected.size());
    // Coordinates rounded to 4 decimals move a distance by up to 2 x sqrt(3) x 5e-5.
    expectSameDistances(atoms, expected, 1.8e-4);
    // Atom 1 at the origin, atom 2 on the x axis, atom 3 in the x-y plane.
    EXPECT_EQ(atoms.at(0).x, 0.0);
    EXPECT_EQ(atoms.at(1).y, 0.0);
    EXPECT_EQ(atoms.at(1).z, 0.0);
    EXPECT_EQ(std::fabs(atoms.at(2).z), 0.0);
}

INSTANTIATE_TEST_SUITE_P(RealOutputs, CoordinateFiles,
    testing::Values("eu_h2o8_allvec.out", "eu_acetate3_h2o2.out", "eu_gd_f7.out", "polyethylene_tv.out",
        "h2o2_zmatrix.out"),
    sourceName);

// ---------------------------------------------------------------------------
// Translation vectors: one to three per MOPAC input.

namespace {

class TranslationVectors : public testing::TestWithParam<int> {};

} // namespace

TEST_P(TranslationVectors, XyzCountIsTheNumberOfRowsWritten)
{
    const int vectors = GetParam();
    QTemporaryDir dir;
    QByteArray input = OrvaneFixtures::contents(mopac(QStringLiteral("polyethylene_tv.mop")));
    const QByteArray tv = "Tv    5.08000 1    0.00000 1    0.00000 1\n";
    ASSERT_TRUE(input.contains(tv));
    const QByteArray more[] = {"Tv    0.00000 1    6.00000 1    0.00000 1\n", "Tv    0.00000 1    0.00000 1    7.00000 1\n"};
    for (int k = 1; k < vectors; ++k)
        input.replace(tv, tv + more[k - 1]);
    const QString source = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("periodic.mop")), input);

    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "dropped");
        OrvaneFilesConverter converter(nullptr, source);
        const QString target = dir.filePath(QStringLiteral("periodic.xyz"));
        ASSERT_TRUE(converter.convertFromMopToXYZ(target, keep)) << converter.getLastError().toStdString();
        const int rows = 12 + (keep ? vectors : 0);
        int count = 0;
        const QVector<Coord> atoms = xyzAtoms(text(target), &count);
        EXPECT_EQ(count, rows);
        EXPECT_EQ(OrvaneInputData::numberOfAtomsFromXYZFile(target), rows);
        ASSERT_EQ(atoms.size(), rows);
        EXPECT_EQ(atoms.at(11).label, QStringLiteral("H"));
        if (keep)
            EXPECT_EQ(atoms.at(rows - 1).label, QStringLiteral("Tv"));
    }
}

INSTANTIATE_TEST_SUITE_P(Polymer, TranslationVectors, testing::Values(1, 2, 3));

// ---------------------------------------------------------------------------
// Z-matrix files

TEST(ZMatrixFile, TwoAtomsLieOnTheXAxis)
{
    QTemporaryDir dir;
    const QString zmt = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("eu_o.zmt")),
        "\n\n\nEu   0.00000 1       0.00000 1       0.00000 1    0    0    0\n"
        "O    2.41000 1       0.00000 1       0.00000 1    1    0    0\n0\n");
    OrvaneFilesConverter converter(nullptr, zmt);
    const QString xyz = dir.filePath(QStringLiteral("eu_o.xyz"));
    ASSERT_TRUE(converter.convertFromZmtToXYZ(xyz)) << converter.getLastError().toStdString();
    EXPECT_EQ(text(xyz), QStringLiteral("2\n\nEu      0.0000      0.0000      0.0000\nO       2.4100      0.0000      0.0000\n"));
}

TEST(ZMatrixFile, CoincidentReferencesFailWithoutWriting)
{
    // Atoms 1 and 2 coincide (bond 0), so atom 4 cannot be placed about them.
    QTemporaryDir dir;
    const QString zmt = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("bad.zmt")),
        "\n\n\nO    0.00000 1       0.00000 1       0.00000 1    0    0    0\n"
        "H    0.00000 1       0.00000 1       0.00000 1    1    0    0\n"
        "H    0.96000 1     104.50000 1       0.00000 1    1    2    0\n"
        "H    0.96000 1     104.50000 1     120.00000 1    1    2    3\n0\n");
    OrvaneFilesConverter converter(nullptr, zmt);
    const QString xyz = dir.filePath(QStringLiteral("bad.xyz"));
    EXPECT_FALSE(converter.convertFromZmtToXYZ(xyz));
    EXPECT_TRUE(converter.getLastError().contains(QStringLiteral("ARE COINCIDENT")))
        << converter.getLastError().toStdString();
    EXPECT_FALSE(QFile::exists(xyz));
}

TEST(Mol2Xyz, StructureWithoutLanthanideKeepsItsCoordinates)
{
    QTemporaryDir dir;
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("water.mol2")),
        "@<TRIPOS>MOLECULE\nwater\n 3 2 0 0 0\nSMALL\nNO_CHARGES\n\n@<TRIPOS>ATOM\n"
        "      1 O1          1.0000    2.0000    3.0000 O.3     1  HOH1        0.0000\n"
        "      2 H2          1.9600    2.0000    3.0000 H       1  HOH1        0.0000\n"
        "      3 H3          0.7597    2.9295    3.0000 H       1  HOH1        0.0000\n"
        "@<TRIPOS>BOND\n     1     1     2    1\n     2     1     3    1\n");
    OrvaneFilesConverter converter(nullptr, mol2);
    const QString xyz = dir.filePath(QStringLiteral("water.xyz"));
    ASSERT_TRUE(converter.convertFromMOL2ToXYZ(xyz));
    EXPECT_EQ(text(xyz), QStringLiteral("3\n\nO      1.0000    2.0000    3.0000\nH      1.9600    2.0000    3.0000\n"
                                        "H      0.7597    2.9295    3.0000\n"));
}

TEST(XyzFile, AtomCountOfTheFirstLine)
{
    QTemporaryDir dir;
    EXPECT_EQ(OrvaneInputData::numberOfAtomsFromXYZFile(
                  OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("a.xyz")), "12\ncomment\n")),
        12);
    EXPECT_EQ(OrvaneInputData::numberOfAtomsFromXYZFile(
                  OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("b.xyz")), "twelve\n")),
        0);
    EXPECT_EQ(OrvaneInputData::numberOfAtomsFromXYZFile(dir.filePath(QStringLiteral("missing.xyz"))), 0);
}

// ---------------------------------------------------------------------------
// Open Babel (Debian package openbabel) as an independent peer.

namespace {

class OpenBabel : public testing::Test {
protected:
    void SetUp() override
    {
        obabel = QStandardPaths::findExecutable(QStringLiteral("obabel"));
        if (obabel.isEmpty())
            GTEST_SKIP() << "obabel is not installed";
        ASSERT_TRUE(dir.isValid());
    }
    // Converts `input` (format `from`) to format `to`; the converted text.
    QString convert(const QString& from, const QString& input, const QString& to)
    {
        QProcess run;
        run.setWorkingDirectory(dir.path());
        run.start(obabel, {QStringLiteral("-i") + from, input, QStringLiteral("-o") + to});
        if (!run.waitForFinished(60000))
            return QString();
        return QString::fromUtf8(run.readAllStandardOutput());
    }
    QString obabel;
    QTemporaryDir dir;
};

} // namespace

TEST_F(OpenBabel, ReadsOurXyzFilesAsWritten)
{
    const MopacGeometry printed = printedGeometryOf(QStringLiteral("eu_acetate3_h2o2.out"));
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_acetate3_h2o2.out")));
    const QString ours = dir.filePath(QStringLiteral("acetate.xyz"));
    ASSERT_TRUE(converter.convertFromOutToXYZ(ours, true));
    expectSameAtoms(xyzAtoms(convert(QStringLiteral("xyz"), ours, QStringLiteral("xyz"))), printed.atoms, 5e-5 + 1e-12);

    OrvaneFilesConverter fromMol2(nullptr, golden(QStringLiteral("eu_aqua3.mol2")));
    const QString aqua = dir.filePath(QStringLiteral("aqua.xyz"));
    ASSERT_TRUE(fromMol2.convertFromMOL2ToXYZ(aqua));
    expectSameAtoms(xyzAtoms(convert(QStringLiteral("xyz"), aqua, QStringLiteral("xyz"))), xyzAtoms(text(aqua)), 1e-12);
}

TEST_F(OpenBabel, ReadsOurZMatrixWithTheSameDistances)
{
    const MopacGeometry printed = printedGeometryOf(QStringLiteral("eu_acetate3_h2o2.out"));
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_acetate3_h2o2.out")));
    const QString zmt = dir.filePath(QStringLiteral("acetate.zmt"));
    ASSERT_TRUE(converter.convertFromOutToZmt(zmt));
    // Open Babel ends the atoms at a blank line and refuses the closing "0" row.
    QString zmatrix = text(zmt);
    ASSERT_TRUE(zmatrix.endsWith(QStringLiteral("\n0\n")));
    zmatrix.chop(2);
    const QString forBabel =
        OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("babel.zmt")), zmatrix.toUtf8());
    expectSameDistances(xyzAtoms(convert(QStringLiteral("mopin"), forBabel, QStringLiteral("xyz"))), printed.atoms, 1e-4);
}

TEST_F(OpenBabel, ItsXyzAndMol2FilesReadBackHere)
{
    const MopacGeometry printed = printedGeometryOf(QStringLiteral("eu_acetate3_h2o2.out"));
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_acetate3_h2o2.out")));
    const QString ours = dir.filePath(QStringLiteral("acetate.xyz"));
    ASSERT_TRUE(converter.convertFromOutToXYZ(ours, true));

    const QString babelXyz = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("babel.xyz")),
        convert(QStringLiteral("xyz"), ours, QStringLiteral("xyz")).toUtf8());
    EXPECT_EQ(OrvaneInputData::numberOfAtomsFromXYZFile(babelXyz), printed.atoms.size());

    // Open Babel names the ion "EU" and draws no bonds to it: the MOL2 reader
    // takes the names as written.
    const QString babelMol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("babel.mol2")),
        convert(QStringLiteral("xyz"), ours, QStringLiteral("mol2")).toUtf8());
    OrvaneInputData mol2(nullptr, babelMol2);
    ASSERT_TRUE(mol2.readMol2File()) << mol2.getLastError().toStdString();
    expectSameAtoms(mol2.getCoord(), printed.atoms, 5e-5 + 1e-12);

    OrvaneFilesConverter fromMol2(nullptr, babelMol2);
    const QString xyz = dir.filePath(QStringLiteral("from_babel.xyz"));
    ASSERT_TRUE(fromMol2.convertFromMOL2ToXYZ(xyz)) << fromMol2.getLastError().toStdString();
    expectSameAtoms(xyzAtoms(text(xyz)), printed.atoms, 5e-5 + 1e-12);
}
