// Inputs that once crashed or froze a reader, or made it claim memory out of
// all proportion to the file (found by the fuzz targets under fuzz/ and by
// the large-file tests): each must now end promptly with a result or a
// failure with a text.

#include "orvanefixtures.h"
#include "orvanefilesconverter.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::resultWithin;
using OrvaneFixtures::writeFile;

namespace {

// The fixture up to and including the first line containing `marker`.
QByteArray upTo(const char* fixture, const char* marker)
{
    const QByteArray text = contents(dataPath(QString::fromLatin1(fixture)));
    const int at = text.indexOf(marker);
    return at < 0 ? QByteArray() : text.left(text.indexOf('\n', at) + 1);
}

QByteArray repeated(const QByteArray& unit, int times)
{
    QByteArray text;
    for (int i = 0; i < times; ++i)
        text += unit;
    return text;
}

// ORCA: a transition line whose reached orbital is a number beyond the range
// of int ("4.4e47a") was converted with undefined behaviour; it reads as 0,
// like any other text that is no orbital number.
TEST(HostileInput, OrcaOrbitalNumberBeyondIntegerRangeReadsAsZero)
{
    QTemporaryDir dir;
    const QByteArray fixture = contents(dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")));
    const std::pair<const char*, int> cases[] = {{"4.4e47a", 0}, {"-9e99a", 0}, {"2147483647a", 2147483647},
        {"4.9a", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        bool matched = false;
        const QString file = writeFile(dir.filePath(QStringLiteral("big_orbital.orcout")),
            OrvaneFixtures::variant(fixture, {{"     3a ->   4a  :", "     3a ->   " + QByteArray(c.first) + "  :"}},
                &matched));
        ASSERT_TRUE(matched);
        OrvaneInputData molecule(nullptr, file);
        ASSERT_TRUE(molecule.readOutputOrca()) << molecule.getLastError().toStdString();
        EXPECT_EQ(molecule.getSingletExcitateStateVector(0).orbitals, (QVector<int>{c.second, 5}));
    }
}

// A coefficient beyond the range of a float made the reactivity indices of
// its atom infinite or NaN, passed on to the QDC model without a word.
TEST(HostileInput, IndicesFromCoefficientsOutOfRangeAreRefused)
{
    QTemporaryDir dir;
    bool matched = false;
    const QString file = writeFile(dir.filePath(QStringLiteral("huge.out")),
        OrvaneFixtures::variant(contents(dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out"))),
            {{"  S   O    2    0.3192", "  S   O    2    9e300"}}, &matched));
    ASSERT_TRUE(matched);
    OrvaneIndicesCalculation indices(nullptr, file, 8);
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_TRUE(indices.getLastError().startsWith(QStringLiteral("The indices of atom 2 (O) are not finite")))
        << indices.getLastError().toStdString();
    EXPECT_TRUE(indices.getSuperDeslocalizability().isEmpty());
}

// A "block" of orbital coefficients wider than the program prints is no such
// block: every row of it would add an entry to each of its orbitals, so a file
// of a few MB would claim GB. The readers now refuse it with a text.
struct WideBlock {
    const char* name;
    QByteArray text;
    std::function<bool(const QString& file, QString& error)> read;
    const char* error;
};

bool readWith(const QString& file, QString& error, bool (OrvaneInputData::*reader)())
{
    OrvaneInputData molecule(nullptr, file);
    const bool ok = (molecule.*reader)();
    error = molecule.getLastError();
    return ok;
}

TEST(HostileInput, OrbitalBlocksWiderThanTheProgramPrintsAreRefused)
{
    const int width = 3000;
    const WideBlock cases[] = {
        {"Gaussian",
            upTo("gaussian/eu_h2o_td.log", "Molecular Orbital Coefficients:") + "      1 2 3\n"
                + repeated(" O", width) + "\n Eigenvalues --\n" + repeated("   1 1   O  1S   0.5\n", width),
            [](const QString& f, QString& e) { return readWith(f, e, &OrvaneInputData::readOutputGaussian); },
            "A block of the coefficients lists 3000 orbitals side by side; Gaussian prints at most 6."},
        {"Orca",
            upTo("orca/eu_h2o_tda.orcout", "MOLECULAR ORBITALS") + "------\n" + repeated(" 7", width)
                + "\n -1.0\n 2.0\n ----\n" + repeated("  1O   2s  0.5\n", width),
            [](const QString& f, QString& e) { return readWith(f, e, &OrvaneInputData::readOutputOrca); },
            "A block of the coefficients lists 3000 orbitals side by side; ORCA prints at most 6."},
        {"Zindo",
            upTo("zindo/eu_co.zin", "RHF/ROHF - MOs follow") + "\n\n" + repeated(" MO 1 EIG(EV) -1.0 2.00", width)
                + "\n" + repeated("     1    2  S      0.85000\n", width),
            [](const QString& f, QString& e) { return readWith(f, e, &OrvaneInputData::readOutputZindo); },
            "A block of the coefficients heads 3000 orbitals side by side; ZINDO prints at most 3."},
        {"Indices",
            upTo("mopac/eu_h2o8_allvec.out", "      EIGENVECTORS") + "\n\n   Root No.  1\n\n a1\n\n"
                + repeated(" -1.0", width) + "\n\n" + repeated("  S   O    2    0.3192\n", width),
            [](const QString& f, QString& e) {
                OrvaneIndicesCalculation indices(nullptr, f, 8);
                const bool ok = indices.calculateIndices();
                e = indices.getLastError();
                return ok;
            },
            "A block of the eigenvector listing holds 3000 orbitals; MOPAC prints at most 8."},
    };
    QTemporaryDir dir;
    for (const WideBlock& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(c.text.size(), 10000);
        const QString file = writeFile(dir.filePath(QStringLiteral("wide.out")), c.text);
        QString error;
        EXPECT_FALSE(resultWithin(20, [&] { return c.read(file, error); }));
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.error))) << error.toStdString();
        EXPECT_TRUE(error.contains(file)) << error.toStdString();
    }
}

// A device that never ends (a user who picks /dev/zero, or /dev/urandom from
// a file dialog) kept every reader waiting for a marker; only regular files
// are read now, and the device reads like a file that does not exist.
TEST(HostileInput, EndlessDevicesAreNotRead)
{
    const QString device = QStringLiteral("/dev/zero");
    using Read = std::function<bool(OrvaneInputData&)>;
    const Read readers[] = {
        [](OrvaneInputData& m) { return m.readMopacOutFile(true); },
        [&](OrvaneInputData& m) { return m.readForceConstant(device, 3); },
        [](OrvaneInputData& m) { return m.readMopFile(); },
        [](OrvaneInputData& m) { return m.readZmtFile(); },
        [](OrvaneInputData& m) { return m.readMol2File(); },
        [](OrvaneInputData& m) { return m.readOutputGaussian(); },
        [](OrvaneInputData& m) { return m.readAbsorptionDataGaussian(); },
        [](OrvaneInputData& m) { return m.readOutputOrca(); },
        [](OrvaneInputData& m) { return m.readAbsorptionDataOrca(); },
        [](OrvaneInputData& m) { return m.readCoordFromOrcaOutFile(); },
        [](OrvaneInputData& m) { return m.readMolecularOrbitalOccupancy(); },
        [](OrvaneInputData& m) { return m.readOutputZindo(); },
        [](OrvaneInputData& m) { return m.readAbsorptionDataZindo(); },
        [](OrvaneInputData& m) { return m.readCoordFromZindoOutFile(); },
    };
    int index = 0;
    for (const Read& read : readers) {
        SCOPED_TRACE(index++);
        OrvaneInputData molecule(nullptr, device);
        EXPECT_FALSE(resultWithin(10, [&] { return read(molecule); }));
        // Named for what it is: "does not exist" would send the user looking for a missing file.
        EXPECT_TRUE(molecule.getLastError().contains(device + QStringLiteral(" is not a regular file")))
            << molecule.getLastError().toStdString();
    }
    EXPECT_FALSE(resultWithin(10, [&] {
        OrvaneIndicesCalculation indices(nullptr, device, 8);
        return indices.calculateIndices();
    }));
    EXPECT_FALSE(resultWithin(10, [&] {
        OrvaneOrganizeMolecules organizer(nullptr);
        return organizer.readMOL2(device);
    }));
    EXPECT_EQ(resultWithin(10, [&] { return OrvaneInputData::numberOfAtomsFromXYZFile(device) == 0; }), true);
}

} // namespace

// Counts far beyond the 28 donors the ion holds (or the atoms of the file)
// are refused before any list is built: they once overflowed to success or
// grew lists until the program aborted.
TEST(HostileInput, CountsBeyondTheDonorsAreRefusedBeforeBuilding)
{
    const QString output = dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out"));
    for (const int count : {2147483647, 29, -1}) {
        SCOPED_TRACE(count);
        OrvaneIndicesCalculation indices(nullptr, output, count);
        EXPECT_FALSE(resultWithin(10, [&] { return indices.calculateIndices(); }));
        EXPECT_TRUE(indices.getLastError().contains(QLatin1String("outside the range 0 to 28")))
            << indices.getLastError().toStdString();

        const QVector<float> values(10, 1.0f);
        const double qdc[3] = {1.0, 1.0, 0.0};
        EXPECT_FALSE(resultWithin(10, [&] {
            return OrvaneInputData::checkParametersQDC(output, values, values, count, qdc);
        }));
    }

    OrvaneInputData molecule(nullptr, output);
    ASSERT_TRUE(molecule.readMopacOutFile(true));
    for (const int mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(mode);
        EXPECT_FALSE(resultWithin(10, [&] { return molecule.createSphericalCoordinate(2147483647, mode); }));
        EXPECT_TRUE(molecule.getLastError().contains(QLatin1String("2147483647")))
            << molecule.getLastError().toStdString();
    }
}

// Coordinates near the largest double are numbers, but the distances made
// from them are not: no file or result may carry "inf".
TEST(HostileInput, CoordinatesWhoseDistancesOverflowAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = writeFile(dir.filePath(QStringLiteral("huge.out")),
        OrvaneFixtures::variant(contents(dataPath(QStringLiteral("mopac/water.out"))),
            {{"     2       H          0.95707082  *  -0.00520958  *",
              "     2       H          1.0e308     *  -1.0e308     *"},
             {"   2    H        0.957070821    -0.005209584    -0.000000000",
              "   2    H        1.0e308        -1.0e308        -0.000000000"}}));
    OrvaneInputData molecule(nullptr, source);
    ASSERT_TRUE(molecule.readMopacOutFile(true)) << molecule.getLastError().toStdString();
    ASSERT_EQ(molecule.getCoord(2).x, 1.0e308);

    EXPECT_FALSE(molecule.createSphericalCoordinate());
    EXPECT_TRUE(molecule.getLastError().contains(QLatin1String("not finite"))) << molecule.getLastError().toStdString();

    const struct {
        const char* suffix;
        std::function<bool(OrvaneFilesConverter&, const QString&)> convert;
    } writers[] = {
        {"sph", [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToSph(t); }},
        {"zmt", [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToZmt(t); }},
    };
    for (const auto& w : writers) {
        SCOPED_TRACE(w.suffix);
        OrvaneFilesConverter converter(nullptr, source);
        const QString target = dir.filePath(QStringLiteral("huge.") + QLatin1String(w.suffix));
        EXPECT_FALSE(w.convert(converter, target));
        EXPECT_TRUE(converter.getLastError().contains(QLatin1String("not finite")))
            << converter.getLastError().toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }

    // A Z-matrix whose bonds are that large, almost in line, places its third
    // atom beyond the largest double.
    OrvaneFilesConverter placement(nullptr, source);
    CoordZMT first, second;
    first.label = QStringLiteral("O");
    second.label = QStringLiteral("H");
    second.bond = 1.0e308;
    second.na = 1;
    CoordZMT third = second;
    third.na = 2;
    third.nb = 1;
    third.angle = 170.0;
    EXPECT_TRUE(placement.createXYZFromZMTCoord({first, second, third}).isEmpty());
    EXPECT_TRUE(placement.getLastError().contains(QLatin1String("not finite")))
        << placement.getLastError().toStdString();
}
