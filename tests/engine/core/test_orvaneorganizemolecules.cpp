// MOPAC input from a MOL2 structure: the ion first, its donors next, the
// coordinates about the ion; sections and file ends of MOL2 files; and the
// installed MOPAC running the input written from a drawn complex.

#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"
#include "orvanewriterfixtures.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace OrvaneWriterFixtures;

namespace {

// A MOL2 atom line in the layout molecule editors write.
QByteArray atomLine(int number, const char* name, double x, double y, double z, const char* type)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6     1 RES1        0.0000\n")
        .arg(number, 7)
        .arg(QString::fromLatin1(name), -8)
        .arg(x, 9, 'f', 4)
        .arg(y, 9, 'f', 4)
        .arg(z, 9, 'f', 4)
        .arg(QString::fromLatin1(type), -5)
        .toLatin1();
}

QByteArray bondLine(int number, int origin, int target)
{
    return QStringLiteral("%1%2%3    1\n").arg(number, 6).arg(origin, 6).arg(target, 6).toLatin1();
}

QByteArray molecule(const char* name, const QByteArray& atoms, const QByteArray& bonds, bool substructure = true)
{
    const int atomCount = atoms.count('\n');
    const int bondCount = bonds.count('\n');
    QByteArray text = "@<TRIPOS>MOLECULE\n" + QByteArray(name) + "\n" + QByteArray::number(atomCount) + " "
        + QByteArray::number(bondCount) + " 1 0 0\nSMALL\nNO_CHARGES\n\n\n@<TRIPOS>ATOM\n" + atoms;
    if (!bonds.isEmpty())
        text += "@<TRIPOS>BOND\n" + bonds;
    if (substructure)
        text += "@<TRIPOS>SUBSTRUCTURE\n     1 RES1        1 GROUP             0 ****  ****    0\n";
    return text;
}

struct Expected {
    QString label;
    double x, y, z; // relative to the ion
};

// A complex drawn with its ion seventh and six oxygen donors anywhere, bonds
// in both directions; two acetate carbons and a free water's atoms around.
const Coord ion = atom(QStringLiteral("Eu"), 1.5, -0.5, 2.0);

QByteArray sixDonors()
{
    const QByteArray atoms = atomLine(1, "C1", 4.0, 0.0, 0.0, "C.2") + atomLine(2, "O2", 3.9, -0.5, 2.0, "O.2")
        + atomLine(3, "H3", 6.0, 6.0, 6.0, "H") + atomLine(4, "O4", 1.5, 1.9, 2.0, "O.3")
        + atomLine(5, "O5", 7.0, 7.0, 7.0, "O.3") + atomLine(6, "O6", -0.9, -0.5, 2.0, "O.2")
        + atomLine(7, "Eu7", ion.x, ion.y, ion.z, "Eu") + atomLine(8, "O8", 1.5, -2.9, 2.0, "O.3")
        + atomLine(9, "C9", -3.0, 0.0, 0.0, "C.2") + atomLine(10, "O10", 1.5, -0.5, 4.4, "O.3")
        + atomLine(11, "H11", 6.5, 6.8, 6.0, "H") + atomLine(12, "O12", 1.5, -0.5, -0.4, "O.3");
    const QByteArray bonds = bondLine(1, 12, 7) + bondLine(2, 7, 2) + bondLine(3, 1, 2) + bondLine(4, 10, 7)
        + bondLine(5, 7, 4) + bondLine(6, 6, 9) + bondLine(7, 7, 8) + bondLine(8, 6, 7) + bondLine(9, 5, 3)
        + bondLine(10, 5, 11);
    return molecule("six donors", atoms, bonds);
}

QVector<Expected> expectedOf(const QVector<Coord>& atoms)
{
    QVector<Expected> e;
    for (const Coord& a : atoms)
        e.append({a.label, a.x, a.y, a.z});
    return e;
}

void expectAtoms(const OrvaneOrganizeMolecules& organizer, const QVector<Expected>& expected)
{
    ASSERT_EQ(organizer.getAtomsNumber(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(organizer.getAtomLabel(i + 1), expected.at(i).label);
        EXPECT_NEAR(organizer.getCoord(i + 1).x, expected.at(i).x, 1e-12);
        EXPECT_NEAR(organizer.getCoord(i + 1).y, expected.at(i).y, 1e-12);
        EXPECT_NEAR(organizer.getCoord(i + 1).z, expected.at(i).z, 1e-12);
    }
}

} // namespace

TEST(OrganizeMolecules, IonFirstThenItsDonorsInFileOrderThenTheRest)
{
    QTemporaryDir dir;
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("six.mol2")), sixDonors());
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2)) << organizer.getLastError().toStdString();
    EXPECT_TRUE(organizer.getIsLanthanidePresent());
    expectAtoms(organizer,
        {{"Eu", 0, 0, 0}, {"O", 2.4, 0, 0}, {"O", 0, 2.4, 0}, {"O", -2.4, 0, 0}, {"O", 0, -2.4, 0}, {"O", 0, 0, 2.4},
            {"O", 0, 0, -2.4}, {"C", 2.5, 0.5, -2.0}, {"H", 4.5, 6.5, 4.0}, {"O", 5.5, 7.5, 5.0},
            {"C", -4.5, 0.5, -2.0}, {"H", 5.0, 7.3, 4.0}});

    const QString mop = dir.filePath(QStringLiteral("six.mop"));
    ASSERT_TRUE(organizer.createOutpuFile(mop));
    const QString written = text(mop);
    EXPECT_TRUE(written.startsWith(organizer.key + QStringLiteral("\n\nEu      0.0000 1     0.0000 1     0.0000 1 \n"
                                                                  "O       2.4000 1     0.0000 1     0.0000 1 \n")));
    EXPECT_TRUE(written.endsWith(QStringLiteral(" 1 \n0")));
    EXPECT_TRUE(organizer.key.contains(QStringLiteral("SPARKLE")));

    // The MOPAC input reader sees the same atoms.
    OrvaneInputData input(nullptr, mop);
    ASSERT_TRUE(input.readMopFile()) << input.getLastError().toStdString();
    ASSERT_EQ(input.getAtomsNumber(), 12);
    EXPECT_EQ(input.getAtomLabel(7), QStringLiteral("O"));
    EXPECT_NEAR(input.getCoord(7).z, -2.4, 1e-12);
}

TEST(OrganizeMolecules, DonorOfTwoIonsIsWrittenOnceAfterTheFirst)
{
    QTemporaryDir dir;
    // Eu1 - O2 - Eu3 bridge, O4 on Eu3, a bond between the ions, H5 on O4.
    const QByteArray atoms = atomLine(1, "Eu1", 0, 0, 0, "Eu") + atomLine(2, "O2", 2.0, 0, 0, "O.3")
        + atomLine(3, "Eu3", 4.0, 0, 0, "Eu") + atomLine(4, "O4", 6.4, 0, 0, "O.3")
        + atomLine(5, "H5", 7.0, 0.8, 0, "H") + atomLine(6, "O6", 0, 2.4, 0, "O.3");
    const QByteArray bonds = bondLine(1, 3, 4) + bondLine(2, 1, 3) + bondLine(3, 2, 3) + bondLine(4, 2, 1)
        + bondLine(5, 4, 5) + bondLine(6, 6, 1);
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("pair.mol2")), molecule("pair", atoms, bonds));
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2)) << organizer.getLastError().toStdString();
    expectAtoms(organizer,
        {{"Eu", 0, 0, 0}, {"O", 2.0, 0, 0}, {"O", 0, 2.4, 0}, {"Eu", 4.0, 0, 0}, {"O", 6.4, 0, 0}, {"H", 7.0, 0.8, 0}});
}

TEST(OrganizeMolecules, ResidueWithTheIonComesFirst)
{
    QTemporaryDir dir;
    const QByteArray water = molecule("water",
        atomLine(1, "O1", 10.0, 0, 0, "O.3") + atomLine(2, "H2", 10.96, 0, 0, "H") + atomLine(3, "H3", 9.76, 0.93, 0, "H"),
        bondLine(1, 1, 2) + bondLine(2, 1, 3));
    const QByteArray complex = molecule("ion",
        atomLine(1, "O1", 1.0, 2.4, 1.0, "O.3") + atomLine(2, "Eu2", 1.0, 0, 1.0, "Eu"), bondLine(1, 2, 1));
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("two.mol2")), water + complex);
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2)) << organizer.getLastError().toStdString();
    expectAtoms(organizer,
        {{"Eu", 0, 0, 0}, {"O", 0, 2.4, 0}, {"O", 9.0, 0, -1.0}, {"H", 9.96, 0, -1.0}, {"H", 8.76, 0.93, -1.0}});
}

TEST(OrganizeMolecules, WithoutLanthanideTheKeywordsLoseSparkleAndCoordinatesStay)
{
    QTemporaryDir dir;
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("water.mol2")),
        molecule("water",
            atomLine(1, "O1", 1.0, 2.0, 3.0, "O.3") + atomLine(2, "H2", 1.23456, 2.0, 3.0, "H")
                + atomLine(3, "H3", 0.7597, 2.9295, -3.0, "H"),
            bondLine(1, 1, 2) + bondLine(2, 1, 3)));
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2));
    EXPECT_FALSE(organizer.getIsLanthanidePresent());
    const QString mop = dir.filePath(QStringLiteral("water.mop"));
    ASSERT_TRUE(organizer.createOutpuFile(mop));
    EXPECT_EQ(text(mop), QStringLiteral("AM1  PRECISE XYZ T=10D BFGS GNORM=0.25 + \nNOLOG GEO-OK SCFCRT=1.D-10 ALLVEC\n\n\n"
                                        "O       1.0000 1     2.0000 1     3.0000 1 \n"
                                        "H       1.2346 1     2.0000 1     3.0000 1 \n"
                                        "H       0.7597 1     2.9295 1    -3.0000 1 \n0"));
}

TEST(OrganizeMolecules, KeywordsOfTheCallerAreWrittenAsGiven)
{
    QTemporaryDir dir;
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("c.mol2")),
        molecule("c", atomLine(1, "Eu1", 1.0, 1.0, 1.0, "Eu") + atomLine(2, "C2", 2.23456, 1.0, 1.0, "C.3"), {}));
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2));
    organizer.setKey(QStringLiteral("PM7 SPARKLE  CHARGE=3\n"));
    const QString mop = dir.filePath(QStringLiteral("c.mop"));
    ASSERT_TRUE(organizer.createOutpuFile(mop));
    EXPECT_EQ(text(mop), QStringLiteral("PM7 SPARKLE  CHARGE=3\n\n\nEu      0.0000 1     0.0000 1     0.0000 1 \n"
                                        "C       1.2346 1     0.0000 1     0.0000 1 \n0"));
}

TEST(OrganizeMolecules, ASecondReadingReplacesTheFirst)
{
    QTemporaryDir dir;
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("six.mol2")), sixDonors());
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(mol2));
    ASSERT_TRUE(organizer.readMOL2(golden(QStringLiteral("eu_aqua3.mol2"))));
    EXPECT_EQ(organizer.getAtomsNumber(), 10);
    EXPECT_EQ(organizer.atomLines.size(), 10);
}

// ---------------------------------------------------------------------------
// Sections and file ends

TEST(OrganizeMolecules, OtherSectionsEndTheAtomsAndTheBonds)
{
    QTemporaryDir dir;
    // An attribute section between atoms and bonds, a molecule without a
    // substructure section followed by a second molecule.
    QByteArray first = molecule("first",
        atomLine(1, "O1", 0, 2.4, 0, "O.3") + atomLine(2, "Eu2", 0, 0, 0, "Eu") + atomLine(3, "H3", 0, 3.0, 0.8, "H"),
        bondLine(1, 2, 1) + bondLine(2, 1, 3), false);
    first.replace("@<TRIPOS>BOND\n", "@<TRIPOS>UNITY_ATOM_ATTR\n2 1\ncharge 3\n@<TRIPOS>BOND\n");
    const QByteArray second = molecule("second",
        atomLine(1, "Cl1", 5.0, 0, 0, "Cl") + atomLine(2, "Eu2", 7.5, 0, 0, "Eu"), bondLine(1, 1, 2), false);
    const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("sections.mol2")), first + second);
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(OrvaneFixtures::resultWithin(5, [&] { return organizer.readMOL2(mol2); }))
        << organizer.getLastError().toStdString();
    expectAtoms(organizer, {{"Eu", 0, 0, 0}, {"O", 0, 2.4, 0}, {"H", 0, 3.0, 0.8}, {"Eu", 7.5, 0, 0}, {"Cl", 5.0, 0, 0}});
}

TEST(OrganizeMolecules, TruncatedFilesEndTheReading)
{
    // Every cut of a real-looking file ends the reading: either the atoms
    // present, about the ion, or a failure with a text.
    const QByteArray whole = OrvaneFixtures::contents(golden(QStringLiteral("eu_aqua3.mol2")));
    const int lineCount = whole.count('\n');
    QTemporaryDir dir;
    for (int cut = 0; cut <= lineCount; ++cut) {
        SCOPED_TRACE(cut);
        const QString mol2 = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("cut.mol2")),
            OrvaneFixtures::firstLines(whole, cut));
        OrvaneOrganizeMolecules organizer(nullptr);
        const bool ok = OrvaneFixtures::resultWithin(5, [&] { return organizer.readMOL2(mol2); });
        if (ok)
            EXPECT_TRUE(organizer.getAtomsNumber() == 10 || organizer.getAtomsNumber() == 0);
        else
            EXPECT_FALSE(organizer.getLastError().isEmpty());
    }
}

TEST(OrganizeMolecules, FailuresNameTheFile)
{
    QTemporaryDir dir;
    OrvaneOrganizeMolecules organizer(nullptr);
    const QString missing = dir.filePath(QStringLiteral("missing.mol2"));
    EXPECT_FALSE(organizer.readMOL2(missing));
    EXPECT_EQ(organizer.getLastError(), missing + QStringLiteral(" does not exist."));

    ASSERT_TRUE(organizer.readMOL2(golden(QStringLiteral("eu_aqua3.mol2"))));
    const QString unwritable = dir.filePath(QStringLiteral("no folder/aqua.mop"));
    EXPECT_FALSE(organizer.createOutpuFile(unwritable));
    EXPECT_TRUE(organizer.getLastError().startsWith(QStringLiteral("The file ") + unwritable
        + QStringLiteral(" could not be written: ")));
}

TEST(OrganizeMolecules, StructureWithoutAtomsIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.mol2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(molecule("nothing", QByteArray(), QByteArray()));
    file.close();
    OrvaneOrganizeMolecules organizer(nullptr);
    EXPECT_FALSE(organizer.readMOL2(path));
    EXPECT_EQ(organizer.getLastError(), QStringLiteral("The file holds no atoms: ") + path);
}

// ---------------------------------------------------------------------------
// The installed MOPAC runs the input written from the drawn complex, with the
// keyword line the MOPAC page builds (method, additional keywords, charge).

TEST(OrganizeMolecules, InstalledMopacOptimisesTheWrittenInput)
{
    const QString mopac = QStandardPaths::findExecutable(QStringLiteral("mopac"));
    if (mopac.isEmpty())
        GTEST_SKIP() << "mopac is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    OrvaneOrganizeMolecules organizer(nullptr);
    ASSERT_TRUE(organizer.readMOL2(golden(QStringLiteral("eu_aqua3.mol2"))));
    organizer.key = QStringLiteral("AM1 SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC GNORM=0.25 CHARGE=3\n");
    const QString input = dir.filePath(QStringLiteral("eu aqua3.mop"));
    ASSERT_TRUE(organizer.createOutpuFile(input));

    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.start(mopac, {dir.filePath(QStringLiteral("eu aqua3"))});
    ASSERT_TRUE(run.waitForFinished(120000));
    const QString output = dir.filePath(QStringLiteral("eu aqua3.out"));
    const QString printedText = text(output);
    ASSERT_TRUE(printedText.contains(QLatin1String("FINAL HEAT OF FORMATION"))) << printedText.toStdString();
    ASSERT_TRUE(printedText.contains(QLatin1String("== MOPAC DONE ==")));

    OrvaneInputData result(nullptr, output);
    ASSERT_TRUE(result.readMopacOutFile(true)) << result.getLastError().toStdString();
    EXPECT_EQ(result.getChargeOnSystem(), 3.0);
    const QVector<Coord> printed = printedGeometry(printedText).atoms;
    ASSERT_EQ(result.getAtomsNumber(), 10);
    ASSERT_EQ(printed.size(), 10);
    const QStringList order = {"Eu", "O", "O", "O", "H", "H", "H", "H", "H", "H"};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(result.getAtomLabel(i), order.at(i - 1));
        // The reader takes the geometry table printed with 8 decimals.
        EXPECT_NEAR(result.getCoord(i).x, printed.at(i - 1).x, 1e-8);
        EXPECT_NEAR(result.getCoord(i).y, printed.at(i - 1).y, 1e-8);
        EXPECT_NEAR(result.getCoord(i).z, printed.at(i - 1).z, 1e-8);
    }
    // The optimised donors stay bound to the ion.
    for (int i = 2; i <= 4; ++i)
        EXPECT_NEAR(distance(result.getCoord(1), result.getCoord(i)), 2.4, 0.3);
}
