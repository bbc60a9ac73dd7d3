// Gaussian, ZINDO, ORCA and MOPAC inputs written from real MOPAC outputs:
// every number read back from the written file and compared with the source
// (read with regular expressions, not with the engine's readers), and the
// behaviour around filled levels, energy windows, names and failures.

#include "orvanefilenames.h"
#include "orvanefilesconverter.h"
#include "orvaneinputdata.h"
#include "orvanewriterfixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace OrvaneWriterFixtures;

namespace {

const QStringList lanthanideSymbols = {QStringLiteral("La"), QStringLiteral("Ce"), QStringLiteral("Pr"),
    QStringLiteral("Nd"), QStringLiteral("Pm"), QStringLiteral("Sm"), QStringLiteral("Eu"), QStringLiteral("Gd"),
    QStringLiteral("Tb"), QStringLiteral("Dy"), QStringLiteral("Ho"), QStringLiteral("Er"), QStringLiteral("Tm"),
    QStringLiteral("Yb"), QStringLiteral("Lu")};

bool isLanthanide(const QString& label)
{
    return lanthanideSymbols.contains(label);
}

// Written values carry 4 (or 6) decimals.
constexpr double fourDecimals = 5.0e-5 + 1e-12;
constexpr double sixDecimals = 5.0e-7 + 1e-12;

void expectSameAtoms(const QVector<Coord>& actual, const QVector<Coord>& expected, double tolerance,
    bool compareLabels = true)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        if (compareLabels)
            EXPECT_EQ(actual.at(i).label, expected.at(i).label);
        EXPECT_NEAR(actual.at(i).x, expected.at(i).x, tolerance);
        EXPECT_NEAR(actual.at(i).y, expected.at(i).y, tolerance);
        EXPECT_NEAR(actual.at(i).z, expected.at(i).z, tolerance);
    }
}

int filledLevelsOf(const QString& outputText)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("NO\\. OF FILLED LEVELS\\s+=\\s+(\\d+)")).match(outputText);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int zindoNumber(const QString& label)
{
    static const QHash<QString, int> numbers = {{QStringLiteral("H"), 1}, {QStringLiteral("C"), 6},
        {QStringLiteral("O"), 8}, {QStringLiteral("F"), 9}};
    return isLanthanide(label) ? 0 : numbers.value(label, -1);
}

const char* realSources[] = {"eu_h2o8_allvec.out", "eu_acetate3_h2o2.out", "eu_gd_f7.out", "polyethylene_tv.out"};

class ReadBack : public testing::TestWithParam<const char*> {
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

TEST_P(ReadBack, GaussianInputHoldsChargeAndEveryAtom)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("complex.gjf"));
    ASSERT_TRUE(converter.convertFromOutToGjf(target)) << converter.getLastError().toStdString();
    const QStringList rows = lines(text(target));
    ASSERT_GT(rows.size(), 8);
    EXPECT_EQ(rows.at(0), QStringLiteral("%chk=complex.chk"));
    EXPECT_EQ(rows.at(7), QString::number(printed.charge) + QStringLiteral(" 1"));
    expectSameAtoms(atomRows(rows, 8, 4, 1, 2, 3), printed.withVectors(), fourDecimals);
}

TEST_P(ReadBack, ZindoInputHoldsAtomsAboutTheFirstAtomAndTheElectrons)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("complex.inp"));
    ASSERT_TRUE(converter.convertFromOutToInp(target)) << converter.getLastError().toStdString();
    const QStringList rows = lines(text(target));
    const int filled = filledLevelsOf(text(source));
    ASSERT_GT(filled, 0);
    const QVector<Coord> atoms = printed.atoms; // translation vectors are no atoms for ZINDO
    EXPECT_EQ(rows.at(7), QStringLiteral(" NAT= %1 NEL= %2 MULT=1  ITMAX=200  SCFTOL=0.00001  IAPX=3  INTTYP=1")
                              .arg(atoms.size())
                              .arg(2 * filled));

    const int first = rows.indexOf(QStringLiteral(" $DATAIN")) + 1;
    ASSERT_GT(first, 0);
    QVector<Coord> written;
    for (int i = 0; i < atoms.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QStringList f = rows.at(first + i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int number = zindoNumber(atoms.at(i).label);
        ASSERT_EQ(f.size(), number == 0 ? 5 : 4);
        EXPECT_EQ(f.at(3).toInt(), number);
        if (number == 0)
            EXPECT_EQ(f.at(4), QStringLiteral("3.000000"));
        written.append(atom(atoms.at(i).label, f.at(0).toDouble(), f.at(1).toDouble(), f.at(2).toDouble()));
    }
    expectSameAtoms(written, shifted(atoms, atoms.first()), sixDecimals);
    EXPECT_EQ(rows.at(first + atoms.size()), QStringLiteral(" $END"));
}

TEST_P(ReadBack, OrcaInputHoldsTheLigandsAndThePointChargesTheIons)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("complex.orcinp"));
    ASSERT_TRUE(converter.convertFromOutToInpOrca(target, true, false, 0, 0, 50, QString()))
        << converter.getLastError().toStdString();
    QVector<Coord> ions, ligands;
    for (const Coord& a : printed.withVectors())
        (isLanthanide(a.label) ? ions : ligands).append(a);

    const QString written = text(target);
    EXPECT_TRUE(written.endsWith(QStringLiteral("\n*")));
    const QStringList rows = lines(written);
    const int xyzLine = rows.indexOf(QRegularExpression(QStringLiteral("\\*xyz .*")));
    ASSERT_GT(xyzLine, 0);
    EXPECT_EQ(rows.at(xyzLine - 1), QStringLiteral("%pointcharges \"complex.pointcharge\""));
    EXPECT_EQ(rows.at(xyzLine), QStringLiteral("*xyz %1 1").arg(int(printed.charge) - 3 * ions.size()));
    EXPECT_TRUE(rows.at(xyzLine + 1).isEmpty());
    expectSameAtoms(atomRows(rows, xyzLine + 2, 4, 1, 2, 3), ligands, fourDecimals);

    const QStringList charges = lines(text(dir.filePath(QStringLiteral("complex.pointcharge"))));
    ASSERT_FALSE(charges.isEmpty());
    EXPECT_EQ(charges.first().toInt(), ions.size());
    QVector<Coord> chargeRows = atomRows(charges, 1, 4, 1, 2, 3);
    EXPECT_EQ(chargeRows.size(), ions.size());
    for (Coord& c : chargeRows) {
        EXPECT_EQ(c.label, QStringLiteral("3.0"));
        c.label.clear();
    }
    expectSameAtoms(chargeRows, ions, fourDecimals, false);

    // The excited-state reader finds the first charge beside ORCA's output.
    if (!ions.isEmpty()) {
        OrvaneInputData orcaOutput(nullptr, dir.filePath(QStringLiteral("complex.orcout")));
        double x = 0, y = 0, z = 0;
        ASSERT_TRUE(orcaOutput.readChargePointFileOrca(x, y, z)) << orcaOutput.getLastError().toStdString();
        EXPECT_NEAR(x, ions.first().x, fourDecimals);
        EXPECT_NEAR(y, ions.first().y, fourDecimals);
        EXPECT_NEAR(z, ions.first().z, fourDecimals);
    }
}

TEST_P(ReadBack, MopacInputReadsBackWithTheMopReader)
{
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("complex.mop"));
    ASSERT_TRUE(converter.convertFromOutToMop(target)) << converter.getLastError().toStdString();
    EXPECT_EQ(lines(text(target)).at(2), source);
    EXPECT_TRUE(text(target).endsWith(QStringLiteral("\n0\n")));
    OrvaneInputData input(nullptr, target);
    ASSERT_TRUE(input.readMopFile()) << input.getLastError().toStdString();
    expectSameAtoms(input.getCoord(), printed.withVectors(), fourDecimals);
}

INSTANTIATE_TEST_SUITE_P(RealOutputs, ReadBack, testing::ValuesIn(realSources), sourceName);

// ---------------------------------------------------------------------------
// ZINDO: the CI window follows the number of filled levels.

namespace {

struct LevelsCase {
    int filled;
    const char* dynalEnd;  // the end of line 6: block and highest orbital f + u
    const char* lastCi;    // "00021" line: f - d, f, f + 1, f + u
};

class ZindoLevels : public testing::TestWithParam<LevelsCase> {};

std::string levelsName(const testing::TestParamInfo<LevelsCase>& info)
{
    return "Filled" + std::to_string(info.param.filled);
}

QString withFilledLevels(const QTemporaryDir& dir, int filled)
{
    bool matched = false;
    const QByteArray source = OrvaneFixtures::contents(mopac(QStringLiteral("eu_acetate3_h2o2.out")));
    const QString path = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("levels.out")),
        OrvaneFixtures::variant(source,
            {{"NO. OF FILLED LEVELS    =         44",
                "NO. OF FILLED LEVELS    =         " + QByteArray::number(filled)}},
            &matched));
    EXPECT_TRUE(matched);
    return path;
}

} // namespace

TEST_P(ZindoLevels, WindowAndBlockFollowTheFilledLevels)
{
    const LevelsCase& c = GetParam();
    QTemporaryDir dir;
    OrvaneFilesConverter converter(nullptr, withFilledLevels(dir, c.filled));
    const QString target = dir.filePath(QStringLiteral("levels.inp"));
    ASSERT_TRUE(converter.convertFromOutToInp(target)) << converter.getLastError().toStdString();
    const QStringList rows = lines(text(target));
    // Eu(CH3COO)3(H2O)2: 1 ion, 13 hydrogens, 14 heavy atoms.
    EXPECT_EQ(rows.at(5), QStringLiteral(" DYNAL(1)= 1  13  14") + QLatin1String(c.dynalEnd));
    EXPECT_TRUE(rows.at(7).startsWith(QStringLiteral(" NAT= 28 NEL= %1 ").arg(2 * c.filled)));
    EXPECT_EQ(rows.at(rows.size() - 3), QStringLiteral("00001%1%1    0").arg(c.filled, 5));
    EXPECT_EQ(rows.at(rows.size() - 2), QLatin1String(c.lastCi));
}

INSTANTIATE_TEST_SUITE_P(Window, ZindoLevels,
    testing::Values(LevelsCase{40, "   0   0   6000  71", "00021   10   40   41   71"},
        LevelsCase{41, "   0   0   6000  82", "00021    1   41   42   82"},
        LevelsCase{60, "   0   0   6000  101", "00021   20   60   61  101"},
        LevelsCase{61, "   0   0   7000  122", "00021    1   61   62  122"}),
    levelsName);

TEST(ZindoInput, ElementWithoutParametersFailsNamingItInsteadOfBecomingACharge)
{
    // A sodium counter-ion in place of the last hydrogen of [Eu(H2O)8]3+.
    QTemporaryDir dir;
    QString output = text(mopac(QStringLiteral("eu_h2o8_allvec.out")));
    output.replace(QRegularExpression(QStringLiteral("^(\\s+25\\s+)H(\\s)"), QRegularExpression::MultilineOption),
        QStringLiteral("\\1Na\\2"));
    const QString source = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("sodium.out")), output.toUtf8());
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("sodium.inp"));
    EXPECT_FALSE(converter.convertFromOutToInp(target));
    EXPECT_TRUE(converter.getLastError().contains(QStringLiteral("atom 25, element \"Na\"")))
        << converter.getLastError().toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

TEST(ZindoInput, FailuresBeforeWriting)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("x.inp"));
    {
        const QString missing = dir.filePath(QStringLiteral("missing.out"));
        OrvaneFilesConverter converter(nullptr, missing);
        EXPECT_FALSE(converter.convertFromOutToInp(target));
        EXPECT_EQ(converter.getLastError(), missing + QStringLiteral(" No such file or directory"));
    }
    {
        // A Z-matrix FORCE job prints no filled levels: here the marker is cut out.
        bool matched = false;
        const QString source = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("nolevels.out")),
            OrvaneFixtures::variant(OrvaneFixtures::contents(mopac(QStringLiteral("water.out"))),
                {{"NO. OF FILLED LEVELS", "NO. OF OCCUPIED ORBITALS"}}, &matched));
        ASSERT_TRUE(matched);
        OrvaneFilesConverter converter(nullptr, source);
        EXPECT_FALSE(converter.convertFromOutToInp(target));
        EXPECT_EQ(converter.getLastError(), QStringLiteral("NO. OF FILLED LEVELS was not find in mopac output"));
    }
    EXPECT_FALSE(QFile::exists(target));
}

// ---------------------------------------------------------------------------
// Gaussian basis and ECP blocks

namespace {

struct BasisCase {
    const char* name;
    const char* source;
    QByteArray from, to; // label replacement in the source; empty for none
    QStringList tail;    // the lines from "6-31+G(d)" to the end
};

class GaussianBasis : public testing::TestWithParam<BasisCase> {};

std::string basisName(const testing::TestParamInfo<BasisCase>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(GaussianBasis, BlocksListThePresentLanthanidesWithTheirPotentials)
{
    const BasisCase& c = GetParam();
    QTemporaryDir dir;
    QByteArray source = OrvaneFixtures::contents(mopac(QString::fromLatin1(c.source)));
    if (!c.from.isEmpty())
        source.replace(c.from, c.to);
    OrvaneFilesConverter converter(nullptr, OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("s.out")), source));
    const QString target = dir.filePath(QStringLiteral("s.gjf"));
    ASSERT_TRUE(converter.convertFromOutToGjf(target)) << converter.getLastError().toStdString();
    const QStringList rows = text(target).split(QLatin1Char('\n'));
    const int basis = rows.indexOf(QStringLiteral("6-31+G(d)"));
    ASSERT_GT(basis, 0);
    EXPECT_EQ(rows.mid(basis), c.tail);
}

INSTANTIATE_TEST_SUITE_P(Lanthanides, GaussianBasis,
    testing::Values(
        BasisCase{"NoLanthanide", "water.out", {}, {},
            {"6-31+G(d)", "****", "****", "", "", "", "", "", ""}},
        BasisCase{"Lanthanum", "eu_h2o8_allvec.out", " Eu ", " La ",
            {"6-31+G(d)", "****", "La 0", " ", "****", "", "La 0", " ", "", "", "", "", ""}},
        BasisCase{"Terbium", "eu_h2o8_allvec.out", " Eu ", " Tb ",
            {"6-31+G(d)", "****", "Tb 0", "MWB54 ", "****", "", "Tb 0", "MWB54 ", "", "", "", "", ""}}),
    basisName);

// ---------------------------------------------------------------------------
// ORCA energy window, taken from the orbital table of
// tests/data/orca/eu_h2o_tda.orcout: energies (hartree) of orbitals 0..7 are
// -19.123456, -1.012345, -0.534567, -0.321234 (HOMO, 3), -0.045678 (LUMO, 4),
// 0.034567, 0.123456, 0.345678.

namespace {

struct WindowCase {
    const char* name;
    int occupied, virtuals;
    bool earlierOutput; // the .orcout lies beside the input
    bool ok;
    const char* ewin;   // expected line, or the expected error
};

class OrcaWindow : public testing::TestWithParam<WindowCase> {};

std::string windowName(const testing::TestParamInfo<WindowCase>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(OrcaWindow, EnergiesComeFromTheEarlierOutput)
{
    const WindowCase& c = GetParam();
    QTemporaryDir dir;
    if (c.earlierOutput)
        ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")),
            dir.filePath(QStringLiteral("w.orcout"))));
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_h2o8_allvec.out")));
    QSignalSpy progress(&converter, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    const QString target = dir.filePath(QStringLiteral("w.orcinp"));
    ASSERT_EQ(converter.convertFromOutToInpOrca(target, false, true, c.occupied, c.virtuals, 5, QString()), c.ok)
        << converter.getLastError().toStdString();
    if (!c.ok) {
        EXPECT_TRUE(converter.getLastError().contains(QString::fromUtf8(c.ewin)))
            << converter.getLastError().toStdString();
        EXPECT_FALSE(QFile::exists(target));
        return;
    }
    const QStringList rows = lines(text(target));
    EXPECT_EQ(rows.mid(0, 9),
        QStringList({"!RHF ZINDO/S TightSCF DIIS PrintBasis", "%method", "\tfrozencore fc_ewin", "end", "%cis",
            QString::fromLatin1(c.ewin), "\tnroots 5", "\tmaxdim 20", "\tTriplets false"}));
    EXPECT_EQ(progress.count(), c.occupied != 0 && c.virtuals != 0 ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Orbitals, OrcaWindow,
    testing::Values(WindowCase{"NoOccupied", 0, 5, false, true, "\tewin 0.000000,0.000000"},
        WindowCase{"NoVirtual", 3, 0, false, true, "\tewin 0.000000,0.000000"},
        WindowCase{"HomoAndLumo", 1, 1, true, true, "\tewin -0.321234,-0.045678"},
        WindowCase{"InsideTheTable", 2, 3, true, true, "\tewin -0.534567,0.123456"},
        WindowCase{"BelowTheSecondOrbital", 3, 1, true, true, "\tewin -1.012345,0.345678"},
        WindowCase{"BeyondTheLastOrbital", 1, 4, true, true, "\tewin -1.012345,0.345678"},
        WindowCase{"BeyondTheLumo", -2, 1, true, false, "problema na defini\xc3\xa7\xc3\xa3o dos orbitais!"},
        WindowCase{"EarlierOutputMissing", 1, 1, false, false, "w.orcout does not exist."}),
    windowName);

TEST(OrcaInput, WindowIsReadEvenWhenNotWritten)
{
    QTemporaryDir dir;
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_h2o8_allvec.out")));
    EXPECT_FALSE(converter.convertFromOutToInpOrca(dir.filePath(QStringLiteral("w.orcinp")), true, false, 1, 1, 5,
        QString()));
    EXPECT_TRUE(converter.getLastError().contains(QStringLiteral("w.orcout does not exist.")));
}

TEST(OrcaInput, ConverterWithoutLanthanideListKeepsEveryAtomAndTheCharge)
{
    QTemporaryDir dir;
    OrvaneFilesConverter converter;
    converter.fileName = mopac(QStringLiteral("eu_h2o8_allvec.out"));
    const QString target = dir.filePath(QStringLiteral("all.orcinp"));
    ASSERT_TRUE(converter.convertFromOutToInpOrca(target, true, false, 0, 0, 1, QString()));
    EXPECT_EQ(text(dir.filePath(QStringLiteral("all.pointcharge"))), QStringLiteral("0\n"));
    const QStringList rows = lines(text(target));
    const int xyzLine = rows.indexOf(QStringLiteral("*xyz 3 1"));
    ASSERT_GT(xyzLine, 0);
    expectSameAtoms(atomRows(rows, xyzLine + 2, 4, 1, 2, 3),
        printedGeometryOf(QStringLiteral("eu_h2o8_allvec.out")).atoms, fourDecimals);
}

// ---------------------------------------------------------------------------
// Names of the side files: only the file name's final suffix changes.

namespace {

struct NameCase {
    const char* name;
    const char* input;   // relative to the test folder
    const char* charges; // expected point-charge file, empty when refused
};

class OrcaNames : public testing::TestWithParam<NameCase> {};

std::string nameCaseName(const testing::TestParamInfo<NameCase>& info)
{
    return info.param.name;
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDir root(folder);
    std::function<void(const QString&)> walk = [&](const QString& sub) {
        const QDir d(root.filePath(sub));
        for (const QFileInfo& fi : d.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString rel = sub.isEmpty() ? fi.fileName() : sub + QLatin1Char('/') + fi.fileName();
            if (fi.isDir())
                walk(rel);
            else
                files.append(rel);
        }
    };
    walk(QString());
    return files;
}

} // namespace

TEST_P(OrcaNames, PointChargesAreNamedAfterTheInputFileOnly)
{
    const NameCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("inputs.orcinp")));
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_h2o8_allvec.out")));
    const QString input = dir.filePath(QString::fromLatin1(c.input));
    const bool refused = QByteArray(c.charges).isEmpty();
    EXPECT_EQ(converter.convertFromOutToInpOrca(input, true, false, 0, 0, 5, QString()), !refused)
        << converter.getLastError().toStdString();
    if (refused) {
        EXPECT_TRUE(converter.getLastError().contains(input));
        EXPECT_TRUE(filesUnder(dir.path()).isEmpty());
        return;
    }
    QStringList expected = {QString::fromLatin1(c.input), QString::fromLatin1(c.charges)};
    expected.sort();
    EXPECT_EQ(filesUnder(dir.path()), expected);
    EXPECT_TRUE(text(input).contains(
        QStringLiteral("%pointcharges \"") + QFileInfo(QString::fromLatin1(c.charges)).fileName() + QLatin1Char('"')));
}

INSTANTIATE_TEST_SUITE_P(Inputs, OrcaNames,
    testing::Values(NameCase{"FolderWithTheSuffix", "inputs.orcinp/x.orcinp", "inputs.orcinp/x.pointcharge"},
        NameCase{"OtherSuffix", "x.inp", "x.pointcharge"},
        NameCase{"NoSuffix", "x", "x.pointcharge"},
        NameCase{"TwoSuffixes", "x.orcinp.orcinp", "x.orcinp.pointcharge"},
        NameCase{"PointChargeSuffix", "x.pointcharge", ""},
        NameCase{"OutputSuffix", "x.orcout", ""}),
    nameCaseName);

TEST(FileNames, FinalSuffixOfTheFileNameOnly)
{
    EXPECT_EQ(OrvaneFileNames::withFinalSuffix(QStringLiteral("/data/inputs.inp/x.inp"), QStringLiteral("mop")),
        QStringLiteral("/data/inputs.inp/x.mop"));
    EXPECT_EQ(OrvaneFileNames::withFinalSuffix(QStringLiteral("/data.d/x"), QStringLiteral("mop")),
        QStringLiteral("/data.d/x.mop"));
    EXPECT_EQ(OrvaneFileNames::withFinalSuffix(QStringLiteral("x.tar.gz"), QStringLiteral("mop")),
        QStringLiteral("x.tar.mop"));
}

// ---------------------------------------------------------------------------
// Progress lines and failures, for every writer.

namespace {

using Run = std::function<bool(OrvaneFilesConverter&, const QString&)>;

struct WriterCase {
    const char* name;
    const char* source; // under tests/data
    Run run;
    QStringList messages;  // on success, in order
    int messagesOnFailure; // lines emitted before a write failure
};

class EveryWriter : public testing::TestWithParam<WriterCase> {};

std::string writerName(const testing::TestParamInfo<WriterCase>& info)
{
    return info.param.name;
}

const QString readLine = QStringLiteral(
    "Cartesian coordinates  read successfully. The chemical structure contains 25 atoms");

QStringList messagesOf(const QSignalSpy& spy)
{
    QStringList messages;
    for (const QList<QVariant>& signal : spy) {
        const QString line = signal.at(0).toString();
        const QString marker = QStringLiteral(" -> (Orvane Files Converter Module) ");
        const int at = line.indexOf(marker);
        messages.append(at < 0 ? line : line.mid(at + marker.size()));
    }
    return messages;
}

const WriterCase writerCases[] = {
    {"Gjf", "mopac/eu_h2o8_allvec.out", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToGjf(f); },
        {"Conversion from .out file to .gjf file", readLine, "Creating output file.", "The output file created successfully."}, 3},
    {"Inp", "mopac/eu_h2o8_allvec.out", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToInp(f); },
        {"Conversion from .out file to .inp file", "Creating the output file.",
            "Conversion from .out file to .inp file finished successfully."}, 2},
    {"Orca", "mopac/eu_h2o8_allvec.out",
        [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToInpOrca(f, true, false, 0, 0, 5, QString()); },
        {"Conversion from .out file to .orcinp file"}, 1},
    {"Mop", "mopac/eu_h2o8_allvec.out", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToMop(f); },
        {"Conversion from .out file to .mop file", readLine, "Creating output file.", "The output file created successfully."}, 3},
    {"Sph", "mopac/eu_h2o8_allvec.out", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToSph(f); },
        {}, 0},
    {"Zmt", "mopac/eu_h2o8_allvec.out", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToZmt(f); },
        {}, 0},
    {"XyzOfOutput", "mopac/eu_h2o8_allvec.out",
        [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromOutToXYZ(f, false); },
        {"Conversion from .out file to .xyz file"}, 1},
    {"XyzOfMop", "mopac/eu_h2o8_allvec.mop",
        [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromMopToXYZ(f, false); },
        {"Conversion from .mop file to .xyz file"}, 1},
    {"XyzOfMol2", "writers/eu_aqua3.mol2", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromMOL2ToXYZ(f); },
        {"Conversion from .mol2 file to .xyz file"}, 1},
    {"XyzOfZmt", "writers/eu_acetate3_h2o2.zmt", [](OrvaneFilesConverter& c, const QString& f) { return c.convertFromZmtToXYZ(f); },
        {"Conversion from .zmt file to .xyz file"}, 1},
};

} // namespace

TEST_P(EveryWriter, EmitsItsProgressLines)
{
    const WriterCase& c = GetParam();
    QTemporaryDir dir;
    OrvaneFilesConverter converter(nullptr, OrvaneFixtures::dataPath(QString::fromLatin1(c.source)));
    QSignalSpy progress(&converter, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    ASSERT_TRUE(c.run(converter, dir.filePath(QStringLiteral("target")))) << converter.getLastError().toStdString();
    EXPECT_EQ(messagesOf(progress), c.messages);
}

TEST_P(EveryWriter, UnwritableTargetFailsWithItsNameAndTheReason)
{
    const WriterCase& c = GetParam();
    QTemporaryDir dir;
    OrvaneFilesConverter converter(nullptr, OrvaneFixtures::dataPath(QString::fromLatin1(c.source)));
    QSignalSpy progress(&converter, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    const QString target = dir.filePath(QStringLiteral("no such folder/target"));
    EXPECT_FALSE(c.run(converter, target));
    // The ORCA writer's first file is the point-charge file named after the target.
    const QString error = converter.getLastError();
    EXPECT_TRUE(error.startsWith(QStringLiteral("The file ") + target)) << error.toStdString();
    const QString because = QStringLiteral(" could not be written: ");
    EXPECT_TRUE(error.contains(because) && !error.endsWith(because)) << error.toStdString();
    // Nothing announces a success that did not happen.
    EXPECT_EQ(messagesOf(progress), c.messages.mid(0, c.messagesOnFailure));
}

TEST_P(EveryWriter, MissingSourceFailsWithTheReadersTextAndWritesNothing)
{
    const WriterCase& c = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("missing.") + QFileInfo(QString::fromLatin1(c.source)).suffix());
    OrvaneFilesConverter converter(nullptr, source);
    const QString target = dir.filePath(QStringLiteral("target"));
    EXPECT_FALSE(c.run(converter, target));
    EXPECT_TRUE(converter.getLastError().contains(source)) << converter.getLastError().toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

INSTANTIATE_TEST_SUITE_P(Writers, EveryWriter, testing::ValuesIn(writerCases), writerName);

TEST(OrcaInput, UnwritablePointChargesFailNamingThem)
{
    QTemporaryDir dir;
    OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_h2o8_allvec.out")));
    const QString charges = dir.filePath(QStringLiteral("missing folder/x.pointcharge"));
    EXPECT_FALSE(converter.convertFromOutToInpOrca(dir.filePath(QStringLiteral("x.orcinp")), true, false, 0, 0, 5,
        charges));
    EXPECT_TRUE(converter.getLastError().startsWith(QStringLiteral("The file ") + charges));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.orcinp"))));
}

TEST(OrcaInput, ImpossibleSystemChargeIsRefusedBeforeAnythingIsWritten)
{
    // A damaged output whose charge would overflow the integer charge line.
    QTemporaryDir dir;
    QString source = text(mopac(QStringLiteral("eu_h2o8_allvec.out")));
    ASSERT_TRUE(source.contains(QStringLiteral("CHARGE ON SYSTEM = +3")));
    source.replace(QStringLiteral("CHARGE ON SYSTEM = +3"), QStringLiteral("CHARGE ON SYSTEM = 4.4e47"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.out"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(source.toUtf8());
    file.close();

    OrvaneFilesConverter converter(nullptr, damaged);
    EXPECT_FALSE(converter.convertFromOutToInpOrca(dir.filePath(QStringLiteral("d.orcinp")), true, false, 0, 0, 5,
        QString()));
    EXPECT_TRUE(converter.getLastError().contains(QStringLiteral("is not a charge a molecule can have")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("d.orcinp"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("d.pointcharge"))));
}
