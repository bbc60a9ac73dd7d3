// The QDC parameter checks against the atoms of real MOPAC files, and the
// structure-list reader. Labels of the coordinating atoms, by file:
// eu_h2o8_allvec: atoms 2-9 O; eu_gd_f7: atoms 2-6 F, 7 Gd, 8-9 F;
// polyethylene_tv: atom 2 H.

#include "orvaneinputdata.h"
#include "orvanewriterfixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace OrvaneWriterFixtures;

namespace {

struct QdcCase {
    const char* name;
    const char* output;
    int n;
    double q, d, c;
    int atom;            // the atom given `charge` and `superdelocalizability`
    float charge;        // every other coordinating atom: 1 and 1
    float superdelocalizability;
    bool ok;
};

class QdcBounds : public testing::TestWithParam<QdcCase> {};

std::string qdcName(const testing::TestParamInfo<QdcCase>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(QdcBounds, ChargeFactorAndPolarisabilityOfEveryDonor)
{
    const QdcCase& c = GetParam();
    QVector<float> charges(c.n + 2, 1.0f);
    QVector<float> superdelocalizabilities(c.n + 2, 1.0f);
    charges[c.atom] = c.charge;
    superdelocalizabilities[c.atom] = c.superdelocalizability;
    const double qdc[3] = {c.q, c.d, c.c};
    EXPECT_EQ(OrvaneInputData::checkParametersQDC(mopac(QString::fromLatin1(c.output)), charges,
                  superdelocalizabilities, c.n, qdc),
        c.ok);
}

// g = Q x charge; alpha = D x superdelocalizability + C, in 1e-24 cm3.
INSTANTIATE_TEST_SUITE_P(Donors, QdcBounds,
    testing::Values(QdcCase{"OxygenAtItsUpperBound", "eu_h2o8_allvec.out", 8, 0.5, 1, 1, 5, 4.0f, 1.0f, true},
        QdcCase{"OxygenAboveItsUpperBound", "eu_h2o8_allvec.out", 8, 0.5, 1, 1, 5, 4.2f, 1.0f, false},
        QdcCase{"FluorineAtItsUpperBound", "eu_gd_f7.out", 1, 1.0, 1, 1, 2, 1.0f, 1.0f, true},
        QdcCase{"FluorineAboveItsUpperBound", "eu_gd_f7.out", 1, 1.0, 1, 1, 2, 1.0001f, 1.0f, false},
        QdcCase{"AtTheLowerBound", "eu_h2o8_allvec.out", 1, 0.01, 1, 1, 2, 1.0f, 1.0f, true},
        QdcCase{"BelowTheLowerBound", "eu_h2o8_allvec.out", 1, 0.01, 1, 1, 2, 0.5f, 1.0f, false},
        // Q = 0.5 keeps every other donor (charge 1) inside its bounds.
        QdcCase{"OtherElementKeepsTheBoundOfTheAtomBefore", "eu_gd_f7.out", 6, 0.5, 1, 1, 7, 2.4f, 1.0f, false},
        QdcCase{"OtherElementWithinTheBoundOfTheAtomBefore", "eu_gd_f7.out", 6, 0.5, 1, 1, 7, 2.0f, 1.0f, true},
        QdcCase{"FirstDonorOfOtherElementUpTo3", "polyethylene_tv.out", 1, 1.0, 1, 1, 2, 3.0f, 1.0f, true},
        QdcCase{"FirstDonorOfOtherElementAbove3", "polyethylene_tv.out", 1, 1.0, 1, 1, 2, 3.01f, 1.0f, false},
        QdcCase{"PolarisabilityExactly15", "eu_h2o8_allvec.out", 8, 0.5, 1, 0, 9, 1.0f, 15.0f, true},
        QdcCase{"PolarisabilityAbove15", "eu_h2o8_allvec.out", 8, 0.5, 1, 0, 9, 1.0f, 15.001f, false},
        QdcCase{"PolarisabilityExactly0005", "eu_h2o8_allvec.out", 1, 0.5, 0, 0.005, 2, 1.0f, 1.0f, true},
        QdcCase{"PolarisabilityBelow0005", "eu_h2o8_allvec.out", 1, 0.5, 0, 0.0049, 2, 1.0f, 1.0f, false},
        // A missing output leaves the labels empty: every donor takes the widest bound.
        QdcCase{"MissingOutput", "missing.out", 2, 1.0, 1, 1, 3, 2.5f, 1.0f, true}),
    qdcName);

TEST(QdcBounds, ShortVectorsAndMissingParametersFail)
{
    const QString output = mopac(QStringLiteral("eu_h2o8_allvec.out"));
    const double qdc[3] = {0.5, 1, 1};
    const QVector<float> ones(10, 1.0f);
    // Atom 12 has no entry: its charge counts as 0, below the lower bound.
    EXPECT_FALSE(OrvaneInputData::checkParametersQDC(output, ones, ones, 11, qdc));
    EXPECT_TRUE(OrvaneInputData::checkParametersQDC(output, ones, ones, 8, qdc));
    EXPECT_FALSE(OrvaneInputData::checkParametersQDC(output, ones, ones, 8, nullptr));
}

// ---------------------------------------------------------------------------
// Indices file beside a MOPAC input of the same name.

namespace {

class IndicesFile : public testing::Test {
protected:
    // Writes `folder`/complex.indeces with the given lines after its header,
    // beside a copy of the MOPAC input `mop` named complex.mop.
    QString write(const QString& folder, const char* mop, const QByteArray& rows)
    {
        QDir(dir.path()).mkpath(folder);
        const QString base = dir.filePath(folder + QStringLiteral("/complex."));
        QFile::copy(mopac(QString::fromLatin1(mop)), base + QStringLiteral("mop"));
        return OrvaneFixtures::writeFile(base + QStringLiteral("indeces"), "atom charge s superdelocalizability\n" + rows);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(IndicesFile, ChargeAndSuperdelocalizabilityOfEachLine)
{
    const QByteArray rows = "2 4.0 0 2.0\n3 3.0 0 1.0\n";
    const QString indices = write(QStringLiteral("a"), "eu_h2o8_allvec.mop", rows);
    const double inside[3] = {0.5, 1.0, 1.0};
    const double tooLargeCharge[3] = {0.6, 1.0, 1.0};
    EXPECT_TRUE(OrvaneInputData::readFileIndeces(indices, 2, inside, 0));
    EXPECT_FALSE(OrvaneInputData::readFileIndeces(indices, 2, tooLargeCharge, 0));
    // An empty line (here: the end of the file) ends the test with success.
    EXPECT_TRUE(OrvaneInputData::readFileIndeces(indices, 8, inside, 0));
    EXPECT_TRUE(OrvaneInputData::readFileIndeces(indices, 0, tooLargeCharge, 0));
}

TEST_F(IndicesFile, NonZeroFlagIgnoresC)
{
    // D x superdelocalizability = 0.004, below 0.005.
    const QString indices = write(QStringLiteral("a"), "eu_h2o8_allvec.mop", "2 1.0 0 0.004\n");
    const double qdc[3] = {1.0, 1.0, 10.0};
    EXPECT_TRUE(OrvaneInputData::readFileIndeces(indices, 1, qdc, 0));
    EXPECT_FALSE(OrvaneInputData::readFileIndeces(indices, 1, qdc, 1));
}

TEST_F(IndicesFile, LabelsComeFromTheMopacInputBesideIt)
{
    // In a folder whose name holds ".indeces": a charge factor of 1.5 is
    // inside the bound of an unknown element (3) and outside that of F (1).
    const QString indices = write(QStringLiteral("runs.indeces"), "eu_gd_f7.mop", "2 1.5 0 1.0\n");
    const double qdc[3] = {1.0, 1.0, 1.0};
    EXPECT_FALSE(OrvaneInputData::readFileIndeces(indices, 1, qdc, 0));
    EXPECT_FALSE(OrvaneInputData::readFileIndeces(dir.filePath(QStringLiteral("missing.indeces")), 1, qdc, 0));
}

// ---------------------------------------------------------------------------
// Structure list mol_name.txt

namespace {

const QByteArray structureList = "Estruturas geradas\n"
                                 "\xc3\x81tomo: Eu 1\n"
                                 "N\xc3\xbamero de estruturas: 3\n"
                                 "nome, primeiro, segundo\n"
                                 "complexo_a, 4, 7\n"
                                 "complexo_b, 5, 0\n"
                                 " complexo_c , 6, 9\n";

struct ListResult {
    QString message;
    QString name;
    QStringList labels;
    QVector<int> first, second;
};

ListResult readList(const QString& folder)
{
    ListResult r;
    QString f = folder;
    r.message = OrvaneInputData::readMolNameFile(f, r.name, r.labels, r.first, r.second);
    return r;
}

} // namespace

TEST(StructureList, SkipsStructuresWithoutSecondNumberAndKeepsFileOrder)
{
    for (const bool latin1 : {false, true}) {
        SCOPED_TRACE(latin1 ? "Latin-1" : "UTF-8");
        QTemporaryDir dir;
        QByteArray list = structureList;
        if (latin1)
            list = QString::fromUtf8(list).toLatin1();
        OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("mol_name.txt")), list);
        const ListResult r = readList(dir.path());
        EXPECT_TRUE(r.message.isEmpty()) << r.message.toStdString();
        EXPECT_EQ(r.name, QStringLiteral("Eu"));
        EXPECT_EQ(r.labels, QStringList({"complexo_a", "complexo_c"}));
        EXPECT_EQ(r.first, QVector<int>({4, 6}));
        EXPECT_EQ(r.second, QVector<int>({7, 9}));
    }
}

TEST(StructureList, MessagesAndShortFiles)
{
    QTemporaryDir dir;
    EXPECT_EQ(readList(dir.path()).message, dir.path() + QStringLiteral("/mol_name.txt does not exist."));

    const QString file = dir.filePath(QStringLiteral("mol_name.txt"));
    OrvaneFixtures::writeFile(file, "\xc3\x81tomo: Eu\nN: 0\n");
    EXPECT_EQ(readList(dir.path()).message,
        QStringLiteral("Number of structures equal to 0, there has probably been an error."));

    OrvaneFixtures::writeFile(file, "no marker here\n");
    ListResult noMarker;
    OrvaneFixtures::resultWithin(5, [&] {
        noMarker = readList(dir.path());
        return true;
    });
    EXPECT_EQ(noMarker.message, file + QStringLiteral(" holds no line with \"\u00c1tomo:\"."));

    // Fewer structures than announced: those present are kept.
    OrvaneFixtures::writeFile(file, "\xc3\x81tomo: Tb\nN: 5\nheader\nx, 1, 2\n");
    const ListResult shortList = readList(dir.path());
    EXPECT_TRUE(shortList.message.isEmpty());
    EXPECT_EQ(shortList.name, QStringLiteral("Tb"));
    EXPECT_EQ(shortList.labels, QStringList({"x"}));
}
