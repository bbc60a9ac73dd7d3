// The intensity calculation on MOPAC files: the geometry from an output or an
// input, and the charge factors and polarizabilities from the force matrix.
// The fixtures come from MOPAC 22 (tests/data/omega/make_fixtures.sh). The
// expected values are read from the files here with regular expressions, not
// through the engine's readers.

#include "omegareference.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <memory>

using namespace OmegaReference;

namespace {

constexpr int lambdas[] = {2, 4, 6};
const QString dataDir = QStringLiteral(ORVANE_TEST_DATA_DIR "/omega/");
const QString geometryOutput = dataDir + QStringLiteral("eu_o5n3.out");
const QString geometryInput = dataDir + QStringLiteral("eu_o5n3.mop");
const QString forceOutput = dataDir + QStringLiteral("eu_o5n3_force.out");
constexpr int donorCount = 8;

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

// The atoms of the last "CARTESIAN COORDINATES" table of a MOPAC output.
QVector<Coord> finalCartesianTable(const QString& path)
{
    const QStringList lines = fileLines(path);
    int start = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).contains(QStringLiteral("CARTESIAN COORDINATES")))
            start = i;
    const QRegularExpression row(QStringLiteral(R"(^\s*\d+\s+([A-Za-z]+)\s+(-?\d+\.\d+)\s+(-?\d+\.\d+)\s+(-?\d+\.\d+)\s*$)"));
    QVector<Coord> atoms;
    for (int i = start + 2; start >= 0 && i < lines.size(); ++i) {
        const QRegularExpressionMatch m = row.match(lines.at(i));
        if (!m.hasMatch())
            break;
        atoms.append(atom(m.captured(1).toLatin1().constData(), m.captured(2).toDouble(), m.captured(3).toDouble(),
            m.captured(4).toDouble()));
    }
    return atoms;
}

// Column 1 of the first panel of the force matrix: the coupling of every atom
// with atom 1, by atom number.
QVector<double> couplingsWithAtomOne(const QString& path)
{
    const QStringList lines = fileLines(path);
    const QRegularExpression row(QStringLiteral(R"(^\s*[A-Za-z]+\s+(\d+)\s+(-?\d+\.\d+))"));
    QVector<double> values {0.0};
    bool inPanel = false;
    for (const QString& line : lines) {
        if (!inPanel) {
            inPanel = line.startsWith(QStringLiteral(" -----")) && values.size() == 1;
            continue;
        }
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch())
            break;
        values.append(m.captured(2).toDouble());
    }
    return values;
}

// The fixture's donors with g and alpha from the force constants, by the
// distance law k = A exp(b Rmin / R) (Angstrom) of O and N donors.
Geometry geometryWithForceConstantParameters(const QVector<Coord>& atoms, const QVector<double>& f)
{
    Geometry geometry;
    geometry.eu = atoms.at(0);
    for (int d = 0; d < donorCount; ++d) {
        const Coord& a = atoms.at(d + 1);
        geometry.donors.append(Donor {a.label, a.x, a.y, a.z, 0.0, 0.0});
    }
    for (int d = 0; d < donorCount; ++d) {
        const bool oxygen = geometry.donors.at(d).label == QLatin1String("O");
        const double A = oxygen ? 0.315593115 : 4.4056678455;
        const double b = oxygen ? 4.2925651759 : 1.7016449683;
        const double r = geometry.distance(d);
        const double k = A * std::exp(b * geometry.rMin() / r);
        const double rho = geometry.rho(d);
        geometry.donors[d].g = r * std::sqrt(f.at(d + 2) * 4.2669775857 / (2.0 * k));
        geometry.donors[d].alpha = e * e * r * r * rho * rho * 0.0432505996 / (2.0 * k);
    }
    return geometry;
}

struct Arrays {
    std::array<double, 32> g {};
    std::array<double, 32> alpha {};
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
};

double relativeDifference(double a, double b)
{
    const double scale = std::max(std::abs(a), std::abs(b));
    return scale == 0.0 ? 0.0 : std::abs(a - b) / scale;
}

} // namespace

TEST(OrvaneOmegaFiles, FixturesHoldWhatTheTestsExpect)
{
    const QVector<Coord> atoms = finalCartesianTable(geometryOutput);
    ASSERT_EQ(atoms.size(), 28);
    EXPECT_EQ(atoms.at(0).label, QStringLiteral("Eu"));
    const QVector<double> f = couplingsWithAtomOne(forceOutput);
    ASSERT_EQ(f.size(), 29);
    EXPECT_DOUBLE_EQ(f.at(2), 4.540492);
}

TEST(OrvaneOmegaFiles, UnreadableGeometryEndsConstruction)
{
    for (int inputType : {0, 1}) {
        SCOPED_TRACE(inputType);
        const QString missing = dataDir + QStringLiteral("no_such_file.out");
        OrvaneOmega omega(nullptr, inputType, missing, QString());
        EXPECT_TRUE(omega.getLastError().contains(missing)) << qPrintable(omega.getLastError());
        omega.setCoordNumber(0);
        EXPECT_FALSE(omega.calcOmega());
    }
}

TEST(OrvaneOmegaFiles, MopacOutputAndInputGiveTheSameAsTheGeometryInMemory)
{
    const QVector<Coord> atoms = finalCartesianTable(geometryOutput);
    Geometry geometry;
    geometry.eu = atoms.at(0);
    for (int d = 0; d < donorCount; ++d) {
        const Coord& a = atoms.at(d + 1);
        geometry.donors.append(Donor {a.label, a.x, a.y, a.z, 0.4 + 0.1 * d, (1.0 + 0.3 * d) * 1e-24});
    }
    for (const auto& source : {std::make_pair(0, geometryOutput), std::make_pair(1, geometryInput)}) {
        SCOPED_TRACE(qPrintable(source.second));
        Arrays arrays;
        arrays.g = geometry.chargeFactors();
        arrays.alpha = geometry.polarizabilities();
        OrvaneOmega omega(nullptr, source.first, source.second, QString());
        ASSERT_TRUE(omega.getLastError().isEmpty()) << qPrintable(omega.getLastError());
        omega.setCoordNumber(donorCount);
        omega.setChargeFactorAndAlpha(arrays.gPointer, arrays.alphaPointer);
        ASSERT_TRUE(omega.calcOmega()) << qPrintable(omega.getLastError());
        for (int lambda : lambdas) {
            EXPECT_LE(relativeDifference(omega.getOmega(lambda), geometry.omega(lambda)), 1e-10);
            EXPECT_LE(relativeDifference(omega.getOmegaED(lambda), geometry.omega(lambda, Part::ForcedDipole)), 1e-10);
        }
    }
}

TEST(OrvaneOmegaFiles, ForceConstantsGiveChargeFactorsAndPolarizabilities)
{
    const Geometry expected
        = geometryWithForceConstantParameters(finalCartesianTable(geometryOutput), couplingsWithAtomOne(forceOutput));
    OrvaneOmega omega(nullptr, 0, geometryOutput, forceOutput);
    ASSERT_TRUE(omega.getLastError().isEmpty()) << qPrintable(omega.getLastError());
    // Before the caller says anything, the donors are those of the geometry:
    // no run over no donor reporting Omega = 0.
    EXPECT_EQ(omega.getCoordNumber(), donorCount);
    for (int lambda : lambdas)
        EXPECT_LE(relativeDifference(omega.getOmega(lambda), expected.omega(lambda)), 1e-10);
    Arrays arrays; // zeros: the route fills them
    omega.setCoordNumber(donorCount);
    omega.setChargeFactorAndAlpha(arrays.gPointer, arrays.alphaPointer);
    // Twice: the force matrix is read afresh, never appended to the last read.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_TRUE(omega.calcOmega()) << qPrintable(omega.getLastError());
        for (int d = 0; d < donorCount; ++d) {
            EXPECT_LE(relativeDifference(arrays.g[d + 2], expected.donors.at(d).g), 1e-12) << "atom " << d + 2;
            EXPECT_LE(relativeDifference(arrays.alpha[d + 2], expected.donors.at(d).alpha), 1e-12) << "atom " << d + 2;
        }
        for (int lambda : lambdas)
            EXPECT_LE(relativeDifference(omega.getOmega(lambda), expected.omega(lambda)), 1e-10);
    }
}

TEST(OrvaneOmegaFiles, ForceConstantRouteRefusals)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The same output with the Eu-O coupling of atom 2 negative, layout unchanged.
    const QString negative = dir.filePath(QStringLiteral("negative.out"));
    {
        QFile file(negative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QString text = fileLines(forceOutput).join(QLatin1Char('\n'));
        text.replace(QStringLiteral("     O    2   4.540492"), QStringLiteral("     O    2  -4.540492"));
        file.write(text.toUtf8());
    }
    QVector<Coord> withSulphur = finalCartesianTable(geometryOutput);
    withSulphur[3].label = QStringLiteral("S"); // atom 4, an N donor of the fixture

    const struct {
        const char* name;
        QVector<Coord> atoms;
        QString forceFile;
        const char* error;
    } cases[] = {
        {"a donor neither O nor N", withSulphur, forceOutput, "O and N donors only; atom 4 is S."},
        {"a negative force constant", finalCartesianTable(geometryOutput), negative,
            "The force constant between atom 2 and the Eu ion is negative"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The construction itself runs the route over the geometry's donors.
        OrvaneOmega omega(nullptr, c.atoms, c.forceFile);
        EXPECT_TRUE(omega.getLastError().contains(QString::fromLatin1(c.error))) << qPrintable(omega.getLastError());
        Arrays arrays;
        omega.setCoordNumber(donorCount);
        omega.setChargeFactorAndAlpha(arrays.gPointer, arrays.alphaPointer);
        EXPECT_FALSE(omega.calcOmega());
        EXPECT_TRUE(omega.getLastError().contains(QString::fromLatin1(c.error))) << qPrintable(omega.getLastError());
        for (int d = 2; d <= donorCount + 1; ++d)
            EXPECT_TRUE(std::isfinite(arrays.g[d]));
    }

    // An output without a force matrix ends construction with the reader's text.
    OrvaneOmega noMatrix(nullptr, 0, geometryOutput, geometryOutput);
    EXPECT_EQ(noMatrix.getLastError(),
        QStringLiteral("There has been an error during read in force constant from Mopac output."));
}
