// Every excited-state reader on copies of its fixture cut at a table of
// points: each ends, within seconds, with the reader's own failure text or
// with what the lines before the cut hold. None may wait for a closing line
// the file no longer has.

#include "orvanefixtures.h"
#include "orvaneinputdata.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::resultWithin;
using OrvaneFixtures::firstLines;
using OrvaneFixtures::lineOf;
using OrvaneFixtures::writeFile;

namespace {

using Reader = std::function<bool(OrvaneInputData&)>;

// Lines kept: those before the first line containing `marker`, plus `extra`
// (an empty marker counts from the start of the file).
struct Cut {
    const char* marker;
    int extra;
    const char* error; // the failure text before the file name; nullptr for success
    std::function<void(const OrvaneInputData&)> check = nullptr;
};

struct ReaderCase {
    const char* name;
    const char* fixture;
    Reader read;
    QList<Cut> cuts;
};

const char* const gaussianStates =
    "There has been an error during read of the excited states from the GAUSSIAN output file. \n";
const char* const gaussianOrbitals = "ORVANE could not read the molecular orbitals from the GAUSSIAN output file: \n";
const char* const orcaOrbitals = "ORVANE could not read the molecular orbitals from the ORCA output file: \n";
const char* const orcaSinglets =
    "There has been an error during read of the SINGLET states from the ORCA output file. \n";
const char* const orcaTriplets =
    "There has been an error during read of the TRIPLET states from the ORCA output file. \n";
const char* const orcaAbsorption =
    "There has been an error during read of the absorption spectrum data from the ORCA output file. \n";
const char* const orcaCoordinates = "Cannot find the cartesian coordinates from the desired file: \n";
const char* const orcaOccupancy = "\nCannot find the molecular orbitals in the desired ORCA output file: \n";
const char* const zindoOrbitals = "ORVANE could not read the molecular orbitals from the Zindo output file: \n";
const char* const zindoSinglets =
    "There has been an error during read of the SINGLET states from the ZINDO output file. \n";
const char* const zindoTriplets =
    "There has been an error during read of the TRIPLET states from the ZINDO output file. \n";
const char* const zindoAbsorption =
    "There has been an error during read of the absorption spectrum data from the ZINDO output file. \n";
const char* const zindoCoordinates =
    "There has been an error during read in cartesian coordinates from the desired Zindo output file (.zin): \n";

// Texts that follow the file name in the appended ORCA messages.
QString tailOf(const char* error)
{
    return error == orcaCoordinates || error == orcaOccupancy
        ? QStringLiteral("\nCheck the file to identify the possible errors.")
        : QString();
}

QList<ReaderCase> readerCases()
{
    return {
        {"readOutputGaussian",
         "gaussian/eu_h2o_td.log",
         [](OrvaneInputData& d) { return d.readOutputGaussian(); },
         {{"", 0, gaussianStates},
          {"Coordinates (Angstroms)", 0, gaussianStates},
          {"Coordinates (Angstroms)", 4, gaussianStates}, // inside the atom rows
          {"Excitation energies", 0, gaussianStates},
          {"Excitation energies", 2, gaussianStates},
          {"Excited State   4", 0, gaussianStates}, // inside the states, no "SavETr:"
          {"SavETr:", 0, gaussianStates},
          {"SavETr:", 1, gaussianOrbitals},
          {"Molecular Orbital Coefficients:", 1, gaussianOrbitals},
          {"Molecular Orbital Coefficients:", 4, gaussianOrbitals},
          {"                           6         7         8", 0, gaussianOrbitals}, // inside block 1
          {"Density Matrix:", 0, gaussianOrbitals},                                 // inside the last block
          {"Density Matrix:", 1, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.molecularOrbitalVector.size(), 8); }}}},
        {"readAbsorptionDataGaussian",
         "gaussian/eu_h2o_td.log",
         [](OrvaneInputData& d) { return d.readAbsorptionDataGaussian(); },
         {{"", 0, gaussianStates},
          {"Excitation energies", 1, gaussianStates},
          {"Excited State   4", 2, gaussianStates},
          {"SavETr:", 0, gaussianStates},
          {"SavETr:", 1, nullptr, [](const OrvaneInputData& d) { EXPECT_EQ(d.energyVector.size(), 3); }}}},
        {"readOutputOrca",
         "orca/eu_h2o_tda.orcout",
         [](OrvaneInputData& d) { return d.readOutputOrca(); },
         {{"", 0, orcaOrbitals},
          {"MOLECULAR ORBITALS", 0, orcaOrbitals},
          {"MOLECULAR ORBITALS", 3, orcaOrbitals},
          {"  1O   2s         0.100000  0.900000", 0, orcaOrbitals},     // inside block 1
          {"  1O   1pz        0.800000  0.000000", 0, orcaOrbitals},     // inside the last block
          {"ORCA TD-DFT/TDA CALCULATION", 0, orcaSinglets},
          {"TD-DFT/TDA EXCITED STATES (SINGLETS)", 1, orcaTriplets},
          {"STATE  2:  E=   0.142382", 1, orcaTriplets},
          {"TD-DFT/TDA EXCITED STATES (TRIPLETS)", 0, orcaTriplets},
          {"STATE  2:  E=   0.119906", 1, orcaAbsorption},
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 0, orcaAbsorption},
          // Fewer absorption lines than singlets: the lines there are decide.
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 1, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.getSelExcitateState(), 1); }},
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 7, nullptr,
           [](const OrvaneInputData& d) {
               EXPECT_EQ(d.getSelExcitateState(), 2);
               EXPECT_EQ(d.tripletExcitateStateVector.size(), 3);
           }}}},
        {"readAbsorptionDataOrca",
         "orca/eu_h2o_tda.orcout",
         [](OrvaneInputData& d) { return d.readAbsorptionDataOrca(); },
         {{"", 0, orcaAbsorption},
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 0, orcaAbsorption},
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 3, nullptr,
           [](const OrvaneInputData& d) { EXPECT_TRUE(d.energyVector.isEmpty()); }},
          {"ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC", 6, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.energyVector, QVector<double>{24999.7}); }}}},
        {"readCoordFromOrcaOutFile",
         "orca/eu_h2o_tda.orcout",
         [](OrvaneInputData& d) { return d.readCoordFromOrcaOutFile(); },
         {{"", 0, orcaCoordinates},
          {"CARTESIAN COORDINATES (ANGSTROEM)", 0, orcaCoordinates},
          {"CARTESIAN COORDINATES (ANGSTROEM)", 1, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.getAtomsNumber(), 0); }},
          {"CARTESIAN COORDINATES (ANGSTROEM)", 4, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.getAtomsNumber(), 2); }}}},
        {"readMolecularOrbitalOccupancy",
         "orca/eu_h2o_tda.orcout",
         [](OrvaneInputData& d) { return d.readMolecularOrbitalOccupancy(); },
         {{"", 0, orcaOccupancy},
          {"ORBITAL ENERGIES", 0, orcaOccupancy},
          {"ORBITAL ENERGIES", 1, orcaOccupancy}, // the heading is the last line
          {"ORBITAL ENERGIES", 4, orcaOccupancy}, // no row
          {"ORBITAL ENERGIES", 5, orcaOccupancy}, // one row: no energy window
          {"ORBITAL ENERGIES", 6, nullptr,
           [](const OrvaneInputData& d) {
               EXPECT_EQ(d.getMolecularOrbitalNumber(), 2);
               EXPECT_EQ(d.getHomoMO(), 0); // no empty orbital yet
               EXPECT_EQ(d.getLumoMO(), 0);
           }},
          {"ORBITAL ENERGIES", 10, nullptr,
           [](const OrvaneInputData& d) {
               EXPECT_EQ(d.getHomoMO(), 3);
               EXPECT_EQ(d.getLumoMO(), 4);
           }}}},
        {"readOutputZindo",
         "zindo/eu_co.zin",
         [](OrvaneInputData& d) { return d.readOutputZindo(); },
         {{"", 0, zindoOrbitals},
          {"RHF/ROHF - MOs follow", 0, zindoOrbitals},
          {"RHF/ROHF - MOs follow", 3, zindoOrbitals},
          {"     MO    4  EIG(EV)", 0, zindoOrbitals},
          {"     5    3  S      0.00000     5    3  S      0.60000", 0, zindoOrbitals},
          {"___________________", 0, zindoOrbitals},
          {" SINGLETS", 0, zindoSinglets},
          {" STATE   3", 0, zindoTriplets},
          {" TRIPLETS", 0, zindoTriplets},
          {" STATE   3\n     3   0.80000", 0, zindoTriplets}, // inside the triplets, no "ZIO file usage"
          {"ZIO file usage", 0, zindoTriplets},
          {"ZIO file usage", 1, nullptr,
           [](const OrvaneInputData& d) { EXPECT_EQ(d.getSelExcitateState(), 3); }}}},
        {"readAbsorptionDataZindo",
         "zindo/eu_co.zin",
         [](OrvaneInputData& d) { return d.readAbsorptionDataZindo(); },
         {{"", 0, zindoAbsorption},
          {" ------------------------------------------------------------------", 0, zindoAbsorption},
          // No layout line: no line read, the initial selection plus 1.
          {" ------------------------------------------------------------------", 1, nullptr,
           [](const OrvaneInputData& d) {
               EXPECT_TRUE(d.oscForceVector.isEmpty());
               EXPECT_EQ(d.getSelExcitateState(), 2);
           }},
          {"(    1)-->(    3)", 0, nullptr,
           [](const OrvaneInputData& d) {
               EXPECT_EQ(d.energyVector, (QVector<double>{0.0, 28000.0}));
               EXPECT_EQ(d.getSelExcitateState(), 2);
           }}}},
        {"readCoordFromZindoOutFile",
         "zindo/eu_co.zin",
         [](OrvaneInputData& d) { return d.readCoordFromZindoOutFile(); },
         {{"", 0, zindoCoordinates},
          {"ATOMIC COORDINATES", 0, zindoCoordinates},
          {"ATOMIC COORDINATES", 5, zindoCoordinates}, // inside the rows
          {"ATOMIC COORDINATES", 7, zindoCoordinates}, // the closing blank is the last line
          {"ATOMIC COORDINATES", 8, nullptr, [](const OrvaneInputData& d) { EXPECT_EQ(d.getAtomsNumber(), 3); }}}},
    };
}

} // namespace

TEST(TruncatedOutputs, EveryReaderEndsWithItsFailureOrWhatWasRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int copy = 0;
    for (const ReaderCase& rc : readerCases()) {
        const QByteArray whole = contents(dataPath(QString::fromLatin1(rc.fixture)));
        ASSERT_FALSE(whole.isEmpty()) << rc.fixture;
        for (const Cut& cut : rc.cuts) {
            const QByteArray marker(cut.marker);
            const int base = marker.isEmpty() ? 0 : lineOf(whole, marker);
            ASSERT_GE(base, 0) << rc.name << ": marker not in the fixture: " << cut.marker;
            const QString file = writeFile(dir.filePath(QStringLiteral("cut%1.out").arg(++copy)),
                                           firstLines(whole, base + cut.extra));
            const std::string where = std::string(rc.name) + " cut at '" + cut.marker + "' + " + std::to_string(cut.extra);

            OrvaneInputData data(nullptr, file);
            // The record lives on this thread; the reader only runs on the watchdog's.
            const bool ok = resultWithin(5, [&] { return rc.read(data); });
            if (cut.error) {
                EXPECT_FALSE(ok) << where;
                EXPECT_EQ(data.getLastError(), QString::fromLatin1(cut.error) + file + tailOf(cut.error)) << where;
            } else {
                EXPECT_TRUE(ok) << where << ": " << data.getLastError().toStdString();
                if (cut.check)
                    cut.check(data);
            }
        }
    }
}

TEST(TruncatedOutputs, PointChargeFileCutShort)
{
    const QByteArray whole = contents(dataPath(QStringLiteral("orca/h2o_cis_pc.pointcharge")));
    QTemporaryDir dir;
    for (int lines = 0; lines <= 2; ++lines) {
        writeFile(dir.filePath(QStringLiteral("run.pointcharge")), firstLines(whole, lines));
        OrvaneInputData data(nullptr, dir.filePath(QStringLiteral("run.orcout")));
        double x = 0, y = 0, z = 0;
        const bool ok = resultWithin(5, [&] { return data.readChargePointFileOrca(x, y, z); });
        EXPECT_EQ(ok, lines == 2) << lines;
        if (!ok)
            EXPECT_EQ(data.getLastError(), QStringLiteral("ORVANE could not read the ORCA point charge file."));
    }
}
