// Every writer of the converter against golden files written by an
// independent writer of the same layouts (tests/data/writers/make_golden.py)
// from the real MOPAC outputs of tests/data/mopac; byte for byte.

#include "orvanefilesconverter.h"
#include "orvaneorganizemolecules.h"
#include "orvanewriterfixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace OrvaneWriterFixtures;

namespace {

enum class Writer { Gjf, Inp, Mop, Sph, Zmt, OutXyzKeep, OutXyzDrop, MopXyzDrop, Mol2Xyz, ZmtXyz, Mol2Mop };

struct GoldenCase {
    const char* name;
    Writer writer;
    QString source;
    const char* golden;
};

bool run(Writer writer, const QString& source, const QString& target, QString& error)
{
    OrvaneFilesConverter converter(nullptr, source);
    bool ok = false;
    switch (writer) {
    case Writer::Gjf: ok = converter.convertFromOutToGjf(target); break;
    case Writer::Inp: ok = converter.convertFromOutToInp(target); break;
    case Writer::Mop: ok = converter.convertFromOutToMop(target); break;
    case Writer::Sph: ok = converter.convertFromOutToSph(target); break;
    case Writer::Zmt: ok = converter.convertFromOutToZmt(target); break;
    case Writer::OutXyzKeep: ok = converter.convertFromOutToXYZ(target, true); break;
    case Writer::OutXyzDrop: ok = converter.convertFromOutToXYZ(target, false); break;
    case Writer::MopXyzDrop: ok = converter.convertFromMopToXYZ(target, false); break;
    case Writer::Mol2Xyz: ok = converter.convertFromMOL2ToXYZ(target); break;
    case Writer::ZmtXyz: ok = converter.convertFromZmtToXYZ(target); break;
    case Writer::Mol2Mop: {
        OrvaneOrganizeMolecules organizer(nullptr);
        ok = organizer.readMOL2(source) && organizer.createOutpuFile(target);
        error = organizer.getLastError();
        return ok;
    }
    }
    error = converter.getLastError();
    return ok;
}

// Same lines, same columns, same words; decimal numbers may differ by
// `tolerance`. The Z-matrix values are computed by two different routes (the
// engine's rotations, the golden writer's plain vector formulas) and may round
// differently in their last decimal.
void expectSameLayout(const QString& actual, const QString& expected, double tolerance)
{
    const QStringList a = lines(actual);
    const QStringList e = lines(expected);
    ASSERT_EQ(a.size(), e.size());
    EXPECT_EQ(actual.endsWith(QLatin1Char('\n')), expected.endsWith(QLatin1Char('\n')));
    for (int i = 0; i < e.size(); ++i) {
        SCOPED_TRACE(e.at(i).toStdString());
        ASSERT_EQ(a.at(i).size(), e.at(i).size());
        const QStringList af = a.at(i).split(QLatin1Char(' '));
        const QStringList ef = e.at(i).split(QLatin1Char(' '));
        ASSERT_EQ(af.size(), ef.size()); // blanks at the same places: the same columns
        for (int k = 0; k < ef.size(); ++k) {
            if (ef.at(k).contains(QLatin1Char('.')))
                EXPECT_NEAR(af.at(k).toDouble(), ef.at(k).toDouble(), tolerance);
            else
                EXPECT_EQ(af.at(k), ef.at(k));
        }
    }
}

class GoldenFile : public testing::TestWithParam<GoldenCase> {};

std::string goldenName(const testing::TestParamInfo<GoldenCase>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(GoldenFile, WriterGivesTheGoldenBytes)
{
    const GoldenCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The Gaussian checkpoint line names the target: keep the golden's name.
    const QString target = dir.filePath(QString::fromLatin1(c.golden));
    QString error;
    ASSERT_TRUE(run(c.writer, c.source, target, error)) << error.toStdString();

    QString expected = text(golden(QString::fromLatin1(c.golden)));
    ASSERT_FALSE(expected.isEmpty());
    expected.replace(QStringLiteral("@SOURCE@"), c.source);
    if (c.writer == Writer::Zmt)
        expectSameLayout(text(target), expected, 1.01e-5);
    else
        EXPECT_EQ(text(target).toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Writers, GoldenFile,
    testing::Values(
        GoldenCase{"GjfEuropiumCationic", Writer::Gjf, mopac(QStringLiteral("eu_h2o8_allvec.out")), "eu_h2o8_allvec.gjf"},
        GoldenCase{"GjfEuropiumNeutral", Writer::Gjf, mopac(QStringLiteral("eu_acetate3_h2o2.out")), "eu_acetate3_h2o2.gjf"},
        GoldenCase{"GjfEuropiumGadoliniumAnion", Writer::Gjf, mopac(QStringLiteral("eu_gd_f7.out")), "eu_gd_f7.gjf"},
        GoldenCase{"InpUpTo40Levels", Writer::Inp, mopac(QStringLiteral("eu_h2o8_allvec.out")), "eu_h2o8_allvec.inp"},
        GoldenCase{"InpUpTo60Levels", Writer::Inp, mopac(QStringLiteral("eu_acetate3_h2o2.out")), "eu_acetate3_h2o2.inp"},
        GoldenCase{"InpTwoLanthanides", Writer::Inp, mopac(QStringLiteral("eu_gd_f7.out")), "eu_gd_f7.inp"},
        GoldenCase{"InpWithoutTranslationVector", Writer::Inp, mopac(QStringLiteral("polyethylene_tv.out")), "polyethylene_tv.inp"},
        GoldenCase{"Mop", Writer::Mop, mopac(QStringLiteral("eu_h2o8_allvec.out")), "eu_h2o8_allvec.mop"},
        GoldenCase{"MopWithTranslationVector", Writer::Mop, mopac(QStringLiteral("polyethylene_tv.out")), "polyethylene_tv.mop"},
        GoldenCase{"Sph", Writer::Sph, mopac(QStringLiteral("eu_h2o8_allvec.out")), "eu_h2o8_allvec.sph"},
        GoldenCase{"Zmt", Writer::Zmt, mopac(QStringLiteral("eu_acetate3_h2o2.out")), "eu_acetate3_h2o2.zmt"},
        GoldenCase{"XyzOfOutput", Writer::OutXyzKeep, mopac(QStringLiteral("eu_h2o8_allvec.out")), "eu_h2o8_allvec.xyz"},
        GoldenCase{"XyzKeepingTranslationVector", Writer::OutXyzKeep, mopac(QStringLiteral("polyethylene_tv.out")), "polyethylene_tv_keep.xyz"},
        GoldenCase{"XyzDroppingTranslationVector", Writer::OutXyzDrop, mopac(QStringLiteral("polyethylene_tv.out")), "polyethylene_tv_drop.xyz"},
        GoldenCase{"XyzOfMopDroppingTranslationVector", Writer::MopXyzDrop, mopac(QStringLiteral("polyethylene_tv.mop")), "polyethylene_tv_mop_drop.xyz"},
        GoldenCase{"XyzOfMol2", Writer::Mol2Xyz, golden(QStringLiteral("eu_aqua3.mol2")), "eu_aqua3.xyz"},
        GoldenCase{"XyzOfZmt", Writer::ZmtXyz, golden(QStringLiteral("eu_acetate3_h2o2.zmt")), "eu_acetate3_h2o2_from_zmt.xyz"},
        GoldenCase{"MopOfMol2", Writer::Mol2Mop, golden(QStringLiteral("eu_aqua3.mol2")), "eu_aqua3.mop"}),
    goldenName);

// The ORCA writer with its point charges: without a window, and with the
// window taken from an earlier ORCA output (tests/data/orca/eu_h2o_tda.orcout
// copied beside the input, as the ORCA page's first pass leaves it).
TEST(GoldenFile, OrcaInputsAndPointCharges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_h2o8_allvec.out")));
        const QString input = dir.filePath(QStringLiteral("eu_h2o8_allvec.orcinp"));
        ASSERT_TRUE(converter.convertFromOutToInpOrca(input, true, false, 0, 0, 50, QString()))
            << converter.getLastError().toStdString();
        EXPECT_EQ(text(input).toStdString(), text(golden(QStringLiteral("eu_h2o8_allvec.orcinp"))).toStdString());
        EXPECT_EQ(text(dir.filePath(QStringLiteral("eu_h2o8_allvec.pointcharge"))).toStdString(),
            text(golden(QStringLiteral("eu_h2o8_allvec.pointcharge"))).toStdString());
    }
    {
        ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")),
            dir.filePath(QStringLiteral("eu_gd_f7.orcout"))));
        OrvaneFilesConverter converter(nullptr, mopac(QStringLiteral("eu_gd_f7.out")));
        const QString input = dir.filePath(QStringLiteral("eu_gd_f7.orcinp"));
        const QString charges = dir.filePath(QStringLiteral("eu_gd_f7.pointcharge"));
        ASSERT_TRUE(converter.convertFromOutToInpOrca(input, false, true, 1, 2, 10, charges))
            << converter.getLastError().toStdString();
        EXPECT_EQ(text(input).toStdString(), text(golden(QStringLiteral("eu_gd_f7.orcinp"))).toStdString());
        EXPECT_EQ(text(charges).toStdString(), text(golden(QStringLiteral("eu_gd_f7.pointcharge"))).toStdString());
    }
}

// More than 60 filled levels: the real output with its count raised to 61.
TEST(GoldenFile, ZindoInputBeyond60FilledLevels)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    bool matched = false;
    const QString source = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("levels61.out")),
        OrvaneFixtures::variant(OrvaneFixtures::contents(mopac(QStringLiteral("eu_acetate3_h2o2.out"))),
            {{"NO. OF FILLED LEVELS    =         44", "NO. OF FILLED LEVELS    =         61"}}, &matched));
    ASSERT_TRUE(matched);
    const QString target = dir.filePath(QStringLiteral("levels61.inp"));
    QString error;
    ASSERT_TRUE(run(Writer::Inp, source, target, error)) << error.toStdString();
    EXPECT_EQ(text(target).toStdString(),
        text(golden(QStringLiteral("eu_acetate3_h2o2_61_levels.inp"))).toStdString());
}
