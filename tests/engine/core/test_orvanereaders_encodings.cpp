// A file saved on Windows (CRLF line ends), with a UTF-8 byte-order mark, or
// in Latin-1 instead of UTF-8 reads exactly as the plain file: every reader on
// every fixture, the whole record compared.

#include "orvanearadpartition.h"
#include "orvanefixtures.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"
#include "orvanerl.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

QString numbers(const QVector<double>& values)
{
    QStringList texts;
    for (double v : values)
        texts << QString::number(v, 'g', 17);
    return texts.join(QLatin1Char(' '));
}

QString integers(const QVector<int>& values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(QLatin1Char(' '));
}

// Everything a reader can fill, as text.
QString recordText(const OrvaneInputData& m)
{
    QString text;
    for (const Coord& a : m.coord)
        text += QStringLiteral("atom %1 %2 %3 %4\n").arg(a.label).arg(a.x, 0, 'g', 17).arg(a.y, 0, 'g', 17).arg(
            a.z, 0, 'g', 17);
    for (const CoordZMT& r : m.coordZMT)
        text += QStringLiteral("zmt %1 %2 %3 %4 %5 %6 %7\n")
                    .arg(r.label)
                    .arg(r.bond)
                    .arg(r.angle)
                    .arg(r.dihedral)
                    .arg(r.na)
                    .arg(r.nb)
                    .arg(r.nc);
    auto states = [&](const char* kind, const QVector<ExcitateState>& list) {
        for (const ExcitateState& s : list)
            text += QStringLiteral("%1 %2 %3 %4\n")
                        .arg(QLatin1String(kind))
                        .arg(s.energy, 0, 'g', 17)
                        .arg(s.oscillatorStrength, 0, 'g', 17)
                        .arg(integers(s.orbitals));
    };
    states("singlet", m.singletExcitateStateVector);
    states("triplet", m.tripletExcitateStateVector);
    for (const MolecularOrbital& o : m.molecularOrbitalVector)
        text += QStringLiteral("mo %1 | %2 | %3\n")
                    .arg(integers(o.atoms), o.labels.join(QLatin1Char(' ')), numbers(o.coefficients));
    for (const MolecularOrbitalOCC& o : m.molecularOrbital)
        text += QStringLiteral("occ %1 %2 %3\n").arg(o.number).arg(o.occupancy).arg(o.energy);
    text += QStringLiteral("charges %1\nforce %2\nosc %3\nenergy %4\n")
                .arg(numbers(m.atomicCharges), numbers(m.forceConstant), numbers(m.oscForceVector),
                    numbers(m.energyVector));
    text += QStringLiteral("scalars %1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                .arg(m.chargeOnSystem)
                .arg(m.finalHeat)
                .arg(m.ionPotential)
                .arg(m.dipole)
                .arg(m.selExcitateState)
                .arg(m.atomsNumber)
                .arg(m.excitedStateCount)
                .arg(m.homoMO)
                .arg(m.lumoMO);
    text += QStringLiteral("citation %1\nerror %2\n").arg(m.mopacCitation, m.getLastError());
    return text;
}

// Reads `file` (whose side files lie beside it) and returns what was read.
using Reader = std::function<QString(const QString& file)>;

template <typename Read>
Reader record(Read read)
{
    return [read](const QString& file) {
        OrvaneInputData m(nullptr, file);
        const bool ok = read(m);
        return QStringLiteral("result %1\n").arg(ok) + recordText(m);
    };
}

struct EncodingCase {
    const char* name;
    const char* fixture;
    const char* sideFixture; // copied beside the file with its own suffix, or nullptr
    Reader read;
};

Reader rl(int program)
{
    return [program](const QString& file) {
        OrvaneRL r(nullptr, file);
        const bool ok = r.calcRL(program);
        QString text = QStringLiteral("result %1 %2 %3 %4\n").arg(ok).arg(r.getSelExcitateState()).arg(
            r.getMinDistanceLnLigand(), 0, 'g', 17);
        for (int i = 0; i <= r.getStatesNumber(); ++i)
            text += QStringLiteral("%1 %2\n").arg(r.getSingletRL(i), 0, 'g', 17).arg(r.getTripletRL(i), 0, 'g', 17);
        return text + r.getLastError();
    };
}

const EncodingCase encodingCases[] = {
    {"MopacOutput", "mopac/eu_acetate3_h2o2.out", nullptr, record([](OrvaneInputData& m) {
         return m.readMopacOutFile(true);
     })},
    {"MopacOutputTranslationVectors", "mopac/polyethylene_tv.out", nullptr, record([](OrvaneInputData& m) {
         return m.readMopacOutFile(false);
     })},
    {"MopacOutputZMatrix", "mopac/h2o2_zmatrix.out", nullptr, record([](OrvaneInputData& m) {
         return m.readMopacOutFile(true);
     })},
    {"MopacOutputScfFailure", "mopac/eu_h2o3_scf_failure.out", nullptr, record([](OrvaneInputData& m) {
         return m.readMopacOutFile(true);
     })},
    {"ForceConstants", "mopac/eu_h2o4_force.out", nullptr, record([](OrvaneInputData& m) {
         return m.readForceConstant(m.fileName, 4);
     })},
    {"MopCartesian", "mopac/eu_acetate3_h2o2.mop", nullptr, record([](OrvaneInputData& m) { return m.readMopFile(); })},
    {"MopZMatrix", "mopac/h2o2_zmatrix.mop", nullptr, record([](OrvaneInputData& m) { return m.readMopFile(); })},
    {"ZMatrixFile", "writers/eu_acetate3_h2o2.zmt", nullptr, record([](OrvaneInputData& m) {
         return m.readZmtFile();
     })},
    {"Mol2", "writers/eu_aqua3.mol2", nullptr, record([](OrvaneInputData& m) { return m.readMol2File(); })},
    {"Mol2ToMopacInput", "writers/eu_aqua3.mol2", nullptr, [](const QString& file) {
         OrvaneOrganizeMolecules organizer(nullptr);
         QString text = QStringLiteral("result %1\n").arg(organizer.readMOL2(file));
         for (int i = 1; i <= organizer.getAtomsNumber(); ++i) {
             const Coord a = organizer.getCoord(i);
             text += QStringLiteral("%1 %2 %3 %4\n").arg(a.label).arg(a.x).arg(a.y).arg(a.z);
         }
         return text;
     }},
    {"GaussianOutput", "gaussian/eu_h2o_td.log", nullptr, record([](OrvaneInputData& m) {
         return m.readOutputGaussian();
     })},
    {"GaussianOutputWithoutOrbitals", "gaussian/eu_complex_td_nopop.log", nullptr, record([](OrvaneInputData& m) {
         return m.readOutputGaussian();
     })},
    {"GaussianAbsorption", "gaussian/radical_utd.log", nullptr, record([](OrvaneInputData& m) {
         return m.readAbsorptionDataGaussian();
     })},
    {"OrcaOutput", "orca/eu_h2o_tda.orcout", nullptr, record([](OrvaneInputData& m) {
         return m.readOutputOrca() && m.readCoordFromOrcaOutFile() && m.readMolecularOrbitalOccupancy();
     })},
    {"OrcaAbsorption", "orca/eu_complex_rpa.orcout", nullptr, record([](OrvaneInputData& m) {
         return m.readAbsorptionDataOrca();
     })},
    {"OrcaPointCharge", "orca/h2o_cis_pc.orcout", "orca/h2o_cis_pc.pointcharge", [](const QString& file) {
         OrvaneInputData m(nullptr, file);
         double x = 0.0, y = 0.0, z = 0.0;
         const bool ok = m.readChargePointFileOrca(x, y, z);
         return QStringLiteral("%1 %2 %3 %4").arg(ok).arg(x).arg(y).arg(z);
     }},
    {"ZindoOutput", "zindo/eu_co.zin", nullptr, record([](OrvaneInputData& m) {
         return m.readCoordFromZindoOutFile() && m.readOutputZindo();
     })},
    {"ZindoAbsorptionSecondLayout", "zindo/ligand_layout2.zin", nullptr, record([](OrvaneInputData& m) {
         return m.readAbsorptionDataZindo();
     })},
    {"RlZindo", "zindo/eu_co.zin", nullptr, rl(OrvaneRL::Zindo)},
    {"RlOrca", "orca/h2o_cis_pc.orcout", "orca/h2o_cis_pc.pointcharge", rl(OrvaneRL::Orca)},
    {"RlGaussian", "gaussian/eu_h2o_td.log", nullptr, rl(OrvaneRL::Gaussian)},
    {"Indices", "mopac/eu_h2o8_allvec.out", nullptr, [](const QString& file) {
         OrvaneIndicesCalculation indices(nullptr, file, 8);
         const bool ok = indices.calculateIndices();
         return QStringLiteral("%1 %2 | %3 | %4").arg(ok).arg(
             numbers(indices.getAtomicCharge()), numbers(indices.getSuperDeslocalizability()), indices.getLastError());
     }},
    {"QdcBounds", "mopac/eu_acetate3_h2o2.out", nullptr, [](const QString& file) {
         const QVector<float> charges(12, 2.0f);
         const double qdc[3] = {0.5, 1.0, 1.0};
         return QString::number(OrvaneInputData::checkParametersQDC(file, charges, charges, 9, qdc));
     }},
};

// Each case reads the fixture as it is and as it would arrive in each of
// these forms.
struct Variant {
    const char* name;
    std::function<QByteArray(const QByteArray&)> apply;
};

QByteArray crlf(const QByteArray& text)
{
    QByteArray out = text;
    return out.replace("\n", "\r\n");
}

QByteArray bom(const QByteArray& text)
{
    return "\xEF\xBB\xBF" + text;
}

QByteArray latin1(const QByteArray& utf8)
{
    return QString::fromUtf8(utf8).toLatin1();
}

const Variant variants[] = {
    {"crlf", crlf},
    {"bom", bom},
    {"bom+crlf", [](const QByteArray& t) { return bom(crlf(t)); }},
    {"latin1", latin1},
};

class Encodings : public ::testing::TestWithParam<EncodingCase>
{
};

void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << c.name;
}

// Each form is written into a folder of its own under the same name, so that
// file names in the results match.
QString place(const QString& folder, const EncodingCase& c, const std::function<QByteArray(const QByteArray&)>& form)
{
    QDir().mkpath(folder);
    const QString name = QFileInfo(QString::fromLatin1(c.fixture)).fileName();
    const QString file = writeFile(folder + QLatin1Char('/') + name, form(contents(dataPath(QString::fromLatin1(c.fixture)))));
    if (c.sideFixture) {
        const QString side = QFileInfo(QString::fromLatin1(c.sideFixture)).fileName();
        writeFile(folder + QLatin1Char('/') + side, form(contents(dataPath(QString::fromLatin1(c.sideFixture)))));
    }
    return file;
}

TEST_P(Encodings, ReadTheSameAsThePlainFile)
{
    const EncodingCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainFile = place(dir.filePath(QStringLiteral("plain")), c, [](const QByteArray& t) { return t; });
    const QString plain = c.read(plainFile);
    ASSERT_FALSE(plain.isEmpty());
    for (const Variant& v : variants) {
        const QString folder = dir.filePath(QString::fromLatin1(v.name));
        const QString file = place(folder, c, v.apply);
        QString read = c.read(file);
        read.replace(folder, dir.filePath(QStringLiteral("plain")));
        EXPECT_EQ(read.toStdString(), plain.toStdString()) << v.name;
    }
}

std::string caseName(const ::testing::TestParamInfo<EncodingCase>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Readers, Encodings, ::testing::ValuesIn(encodingCases), caseName);

// Files whose text itself is not ASCII: the structure list's "Átomo:" marker
// and a ligand named with an accented letter, in UTF-8 and Latin-1, with and
// without a byte-order mark and CRLF line ends.
TEST(Encodings, AccentedTextReadsTheSameInUtf8AndLatin1)
{
    const QByteArray list = "Estruturas geradas\n"
                            "\xc3\x81tomo: Eu 1\n"
                            "N\xc3\xbamero de estruturas: 2\n"
                            "nome, primeiro, segundo\n"
                            "complexo_\xc3\xa1, 4, 7\n"
                            "complexo_b, 6, 9\n";
    const QByteArray ligands = "\xc3\x81gua 2 3\nAcetato 4 5\n";
    const QByteArray forms[] = {list, latin1(list), crlf(latin1(list)), bom(list), bom(crlf(list))};
    const QByteArray ligandForms[] = {ligands, latin1(ligands), crlf(latin1(ligands)), bom(ligands), bom(crlf(ligands))};

    OrvaneInputData* molecule = new OrvaneInputData(nullptr, QString());
    molecule->coord.append(Coord{QStringLiteral("Eu"), 0.0, 0.0, 0.0});
    for (int i = 0; i < 4; ++i)
        molecule->coord.append(Coord{QStringLiteral("O"), 2.4 * std::cos(i * 1.5708), 2.4 * std::sin(i * 1.5708), 0.3});
    ASSERT_TRUE(molecule->createSphericalCoordinate());

    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("mol_name.txt")), forms[f]);
        QString folder = dir.path();
        QString name;
        QStringList labels;
        QVector<int> first, second;
        EXPECT_EQ(OrvaneInputData::readMolNameFile(folder, name, labels, first, second), QString());
        EXPECT_EQ(name, QStringLiteral("Eu"));
        EXPECT_EQ(labels, (QStringList{QStringLiteral("complexo_\u00e1"), QStringLiteral("complexo_b")}));
        EXPECT_EQ(second, (QVector<int>{7, 9}));

        writeFile(dir.filePath(QStringLiteral("complex.ligands")), ligandForms[f]);
        OrvaneAradPartition partition(nullptr, molecule, 4, 1.5);
        ASSERT_TRUE(partition.setLigandsVector(dir.filePath(QStringLiteral("complex.mop"))));
        ASSERT_EQ(partition.getLigandsNumber(), 2);
        EXPECT_EQ(partition.getLigandsName(0), QStringLiteral("\u00c1gua"));
        EXPECT_EQ(partition.getLigandAtoms(1), (QVector<int>{4, 5}));
    }
    delete molecule;
}

} // namespace
