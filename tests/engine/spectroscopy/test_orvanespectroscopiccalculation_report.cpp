// The energy-transfer and quantum-yield reports (.orvane).
//
// The golden files under tests/data/reports were written by
// orvane_reports_reference.py from its own evaluation of the rates and rate
// equations and its own layout. The tests compare the engine's text with them
// and read the numbers of the full reports back, comparing them with the
// engine's values and with the relations between them.

#include "energytransferchannels.h"
#include "orvaneinputdata.h"
#include "orvanespectroscopiccalculation.h"
#include "specprintingoptions.h"

#include "orvanefixtures.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The inputs that orvane_reports_reference.py uses too.
const QString rlFile = QStringLiteral("gaussian/eu_h2o_td.log"); // from tests/data
const double omegaValues[3] = {12.5, 6.25, 0.48};
const double omegaEdValues[3] = {0.8125, 0.4375, 0.0625};
const double refractiveIndex = 1.55;

SpecPrintingOptions allSections()
{
    return SpecPrintingOptions {true, true, true, true, true, true, true, true, true, true, true};
}

EnergyTransferChannels allChannels()
{
    return EnergyTransferChannels {true, true, true, true, true, true, true, true, true, true};
}

EnergyTransferChannels defaultChannels()
{
    EnergyTransferChannels channels;
    channels.singlet5D4 = channels.triplet5D1 = channels.triplet5D0 = true;
    return channels;
}

class CurrentDirectory
{
public:
    explicit CurrentDirectory(const QString& path)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentDirectory() { QDir::setCurrent(previous); }

private:
    QString previous;
};

// The report prints the excited-state file's name as given: the tests open it
// from tests/data so that the golden files hold no machine's path.
struct TransferSetup {
    CurrentDirectory here {QStringLiteral(ORVANE_TEST_DATA_DIR)};
    std::unique_ptr<OrvaneSpectroscopicCalculation> calc;

    TransferSetup(int singletLevel, int tripletLevel, bool twoTriplets, const EnergyTransferChannels& channels,
        const SpecPrintingOptions& options, int model = 0, double lifeTime = 0.0, const QString& file = rlFile)
    {
        calc.reset(new OrvaneSpectroscopicCalculation(nullptr, 0, 2, QString(), QString(), file, tripletLevel,
            singletLevel));
        calc->setRefractiveIndex(refractiveIndex);
        calc->setNOverlapIntegral(3.5);
        calc->setETModel(model);
        calc->setConsiderTwoTriplets(twoTriplets);
        calc->setEnergyTransferChannels(channels);
        calc->setSpecPrintingOptions(options);
        calc->setOmegaValues(omegaValues[0], omegaValues[1], omegaValues[2]);
        calc->setOmegaEdValues(omegaEdValues[0], omegaEdValues[1], omegaEdValues[2]);
        calc->setLifeTime(lifeTime);
    }
};

QString golden(const QString& name)
{
    return QString::fromUtf8(OrvaneFixtures::contents(OrvaneFixtures::dataPath(QStringLiteral("reports/") + name)));
}

using OrvaneFixtures::firstDifference;

// Half a unit in the last printed place (of the mantissa for e formats).
double tolerance(const QString& printed)
{
    const int dot = printed.indexOf(QLatin1Char('.'));
    const int ePos = printed.indexOf(QLatin1Char('e'));
    if (ePos < 0)
        return 0.5 * std::pow(10.0, -(printed.size() - dot - 1)) * (1.0 + 1e-9);
    return 0.5 * std::pow(10.0, printed.mid(ePos + 1).toInt() - (ePos - dot - 1)) * (1.0 + 1e-9);
}

#define EXPECT_PRINTED(printed, value)                                                                             \
    EXPECT_NEAR((printed).toDouble(), (value), tolerance(printed)) << "printed " << qPrintable(printed)

// The number that follows `label` on its line, or an empty text.
QString valueAfter(const QString& text, const QString& label)
{
    const int at = text.indexOf(label);
    if (at < 0)
        return QString();
    const int end = text.indexOf(QLatin1Char('\n'), at);
    return text.mid(at + label.size(), end - at - label.size())
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
        .value(0);
}

const char* const levelNames[5] = {"5D4", "5G6", "5L6", "5D1", "5D0"};

struct Channel {
    int index;
    bool EnergyTransferChannels::*flag;
};
const Channel channels[] = {{0, &EnergyTransferChannels::singlet5D4}, {1, &EnergyTransferChannels::singlet5G6},
    {2, &EnergyTransferChannels::singlet5L6}, {3, &EnergyTransferChannels::singlet5D1},
    {4, &EnergyTransferChannels::singlet5D0}, {10, &EnergyTransferChannels::triplet5D4},
    {11, &EnergyTransferChannels::triplet5G6}, {12, &EnergyTransferChannels::triplet5L6},
    {13, &EnergyTransferChannels::triplet5D1}, {14, &EnergyTransferChannels::triplet5D0}};

bool multipolar(int index)
{
    return index == 5 || index % 10 < 3;
}

// The three labels of a channel in one-triplet mode.
QStringList labelsOf(int index)
{
    const QString level = QString::fromLatin1(levelNames[index % 10]);
    const QString donor = index < 5 ? QStringLiteral("Singlet") : QStringLiteral("Triplet");
    const QString kind = multipolar(index) ? QStringLiteral("MM") : QStringLiteral("EX");
    return {QStringLiteral("    F (%1 - %2) = ").arg(donor, level),
        QStringLiteral("      Wet%1 (%2 -> %3) = ").arg(kind, donor, level),
        QStringLiteral("      Wbt%1 (%2 -> %3) = ").arg(kind, donor, level)};
}

} // namespace

// ---------------------------------------------------------------------------
// Whole reports against the independently written golden files.

TEST(OrvaneReport, GoldenFiles)
{
    enum Kind { EnergyTransfer, QuantumYield };
    const struct {
        const char* file;
        Kind kind;
        int singlet, triplet;
        bool two;
        EnergyTransferChannels channels;
        SpecPrintingOptions options;
        int model;
        double lifeTime;
    } cases[] = {
        {"eu_h2o_all.orvane", QuantumYield, 2, 2, false, allChannels(), allSections(), 0, 0.0},
        {"eu_h2o_none.orvane", QuantumYield, 2, 2, false, defaultChannels(), SpecPrintingOptions(), 0, 0.0},
        {"eu_h2o_none.orvane", EnergyTransfer, 2, 2, false, defaultChannels(), SpecPrintingOptions(), 0, 0.0},
        {"eu_h2o_two_triplets.orvane", QuantumYield, 2, 3, true, allChannels(), allSections(), 0, 1.2e-3},
        {"eu_h2o_et_default.orvane", EnergyTransfer, 2, 3, false, defaultChannels(), allSections(), 2, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << (c.kind == QuantumYield ? " quantum yield" : " transfer"));
        TransferSetup setup(c.singlet, c.triplet, c.two, c.channels, c.options, c.model, c.lifeTime);
        ASSERT_TRUE(setup.calc->getLastError().isEmpty()) << qPrintable(setup.calc->getLastError());
        const QString text = c.kind == QuantumYield ? setup.calc->createOutFile(QString())
                                                    : setup.calc->createOutFileET(QString());
        EXPECT_TRUE(setup.calc->getLastError().isEmpty()) << qPrintable(setup.calc->getLastError());
        const QString expected = golden(QString::fromLatin1(c.file));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(text, expected) << qPrintable(firstDifference(text, expected));
    }
}

TEST(OrvaneReport, AllSectionsOffIsThePreamble)
{
    TransferSetup setup(2, 2, false, defaultChannels(), SpecPrintingOptions());
    const QString preamble = OrvaneInputData::ORVANETitle
        + QStringLiteral("\n\n\nThe data shown below were calculated from the geometry and excited states energies "
                         "read in following file: \n    gaussian/eu_h2o_td.log\n\n");
    EXPECT_EQ(setup.calc->createOutFileET(QString()), preamble);
    EXPECT_EQ(setup.calc->createOutFile(QString()), preamble);
}

// ---------------------------------------------------------------------------
// The numbers of the full reports read back.

TEST(OrvaneReport, ReadBackAgreesWithTheCalculation)
{
    const struct {
        const char* file;
        bool two;
        int singlet, triplet;
        double lifeTime;
    } cases[] = {{"eu_h2o_all.orvane", false, 2, 2, 0.0}, {"eu_h2o_two_triplets.orvane", true, 2, 3, 1.2e-3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TransferSetup setup(c.singlet, c.triplet, c.two, allChannels(), allSections(), 0, c.lifeTime);
        OrvaneSpectroscopicCalculation& calc = *setup.calc;
        ASSERT_TRUE(calc.calcEnergyTransferRate()) << qPrintable(calc.getLastError());
        ASSERT_TRUE(c.two ? calc.calcQuantumYieldTwoTriplets() : calc.calcQuantumYieldNEW());
        const QString text = golden(QString::fromLatin1(c.file));
        ASSERT_FALSE(text.isEmpty());

        for (int k = 0; k < 3; ++k) {
            const int l = 2 * k + 2;
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("omega(%1) = ").arg(l)).remove(QStringLiteral("e-20")),
                calc.getOmega(l) * 1e20);
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("omegaED(%1) = ").arg(l)).remove(QStringLiteral("e-20")),
                calc.getOmegaED(l) * 1e20);
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("<f|C(%1)|f> =").arg(l)), calc.getRacahTensor(l));
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("sigma(%1) =").arg(l)), calc.getShieldingFactor(l));
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("r(%1) =").arg(l)), calc.getRadialIntegral(l));
            // gama(l) at the RL of the file's selected state, singlet 2 here.
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("gama(%1) =").arg(l)), calc.gama(l, 1.47584e-8));
        }

        EXPECT_EQ(valueAfter(text, QStringLiteral("Chosen Singlet Excited State =")).toInt(), calc.getSingletLevel());
        EXPECT_EQ(valueAfter(text, QStringLiteral("Chosen Triplet Excited State =")).toInt(), calc.getTripletLevel());
        EXPECT_PRINTED(valueAfter(text, QStringLiteral("RL Singlet:")), calc.getSingletRL());
        EXPECT_PRINTED(valueAfter(text, QStringLiteral("Singlet Energy:")), calc.getSingletEnergy());
        EXPECT_PRINTED(valueAfter(text, c.two ? QStringLiteral("RL Triplet2:") : QStringLiteral("RL Triplet:")),
            calc.getTripletRL());
        EXPECT_PRINTED(valueAfter(text, QStringLiteral("    Triplet Energy:")), calc.getTripletEnergy());
        if (c.two) {
            EXPECT_PRINTED(valueAfter(text, QStringLiteral("RL Triplet1:")), calc.getLowerTripletRL());
            const int at = text.indexOf(QStringLiteral("RL Triplet1:"));
            EXPECT_PRINTED(valueAfter(text.mid(at), QStringLiteral("Triplet Energy:")), calc.getLowerTripletEnergy());
        }

        // Franck-Condon factors, transfer and back-transfer rates, channel by channel.
        const QRegularExpression line(QStringLiteral(R"(^\s+(F|Wet..|Wbt..) \((\w+) -?-?>? ?(5\w\d)\) = (\S+) )"));
        int rows = 0;
        QMap<QString, double> wet, wbt;
        for (const QString& l : text.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = line.match(l);
            if (!m.hasMatch())
                continue;
            ++rows;
            const QString donor = m.captured(2), level = m.captured(3), printed = m.captured(4);
            int k = 0;
            while (QString::fromLatin1(levelNames[k]) != level)
                ++k;
            const int index = donor == QLatin1String("Singlet") ? k : donor == QLatin1String("Triplet2") ? 5 : 10 + k;
            SCOPED_TRACE(qPrintable(l));
            if (m.captured(1) == QLatin1String("F")) {
                EXPECT_PRINTED(printed, OrvaneSpectroscopicCalculation::F(calc.getEnergyMismatch(index),
                                            calc.getBandHalfWidth()));
            } else if (m.captured(1).startsWith(QLatin1String("Wet"))) {
                EXPECT_EQ(m.captured(1).endsWith(QLatin1String("MM")), multipolar(index));
                EXPECT_PRINTED(printed, multipolar(index) ? calc.getWetMM(index) : calc.getWetEX(index));
                wet[QString::number(index)] = printed.toDouble();
            } else {
                EXPECT_PRINTED(printed, multipolar(index) ? calc.getWbtMM(index) : calc.getWbtEX(index));
                wbt[QString::number(index)] = printed.toDouble();
            }
        }
        EXPECT_EQ(rows, 3 * (10 + (c.two ? 1 : 0)));
        // Back-transfer = transfer x exp(-delta hc / kT) at 300 K (hc/k = 1.4387769 cm K).
        for (auto it = wet.cbegin(); it != wet.cend(); ++it) {
            const double delta = calc.getEnergyMismatch(it.key().toInt());
            EXPECT_NEAR(wbt[it.key()] / it.value(), std::exp(-delta * 1.4387769 / 300.0),
                1.1e-2 * std::exp(-delta * 1.4387769 / 300.0))
                << "channel " << qPrintable(it.key());
        }

        // Radiative rates and branching ratios.
        const QString arad = valueAfter(text, QStringLiteral(" Arad = "));
        EXPECT_PRINTED(arad, calc.getArad());
        EXPECT_PRINTED(valueAfter(text, QStringLiteral("Refractive Index Used =")), refractiveIndex);
        double betaSum = 0.0;
        for (int J = 1; J <= 6; ++J) {
            const QString beta = valueAfter(text, QStringLiteral("5D0 -> 7F%1:").arg(J));
            EXPECT_PRINTED(beta, calc.getBranchingRatio(J));
            betaSum += beta.toDouble();
        }
        EXPECT_NEAR(betaSum, 100.0, 0.02);

        // Non-radiative rate and efficiency: Anrad = 1/tau - Arad.
        const QString lifeTime = valueAfter(text, QStringLiteral("Chosen Experimental Lifetime ="));
        const QString anrad = valueAfter(text, QStringLiteral("    Anrad = "));
        const QString efficiency = valueAfter(text, QStringLiteral("Quantum Efficiency = "));
        EXPECT_PRINTED(lifeTime, calc.getLifeTime() * 1000.0);
        if (c.lifeTime > 0.0)
            EXPECT_EQ(lifeTime, QStringLiteral("1.2000"));
        EXPECT_PRINTED(anrad, calc.getAnrad());
        EXPECT_NEAR(anrad.toDouble(), 1000.0 / lifeTime.toDouble() - arad.toDouble(), 0.02 + 1e-4 * anrad.toDouble());
        EXPECT_PRINTED(efficiency, calc.getQuantumEfficiency());
        EXPECT_NEAR(efficiency.toDouble(), 100.0 * arad.toDouble() / (arad.toDouble() + anrad.toDouble()), 0.01);

        // Populations add up to 1; the yield is Arad N(5D0) / (1e4 N(S0)).
        const struct {
            const char* label;
            int index;
        } populations[] = {{"Fundamental Singlet Population =", 0}, {"Excited Singlet Population     =", 1},
            {"Triplet 2 population           =", 2}, {"Triplet Population             =", 3},
            {"5D4 Population                 =", 4}, {"5G6 Population                 =", 5},
            {"5L6 Population                 =", 6}, {"5D1 Population                 =", 7},
            {"5D0 Population                 =", 8}};
        double sum = 0.0;
        for (const auto& p : populations) {
            const QString printed = valueAfter(text, QString::fromLatin1(p.label));
            EXPECT_EQ(printed.isEmpty(), p.index == 2 && !c.two) << p.label;
            if (printed.isEmpty())
                continue;
            EXPECT_PRINTED(printed, calc.getPopulation(p.index));
            sum += printed.toDouble();
        }
        EXPECT_NEAR(sum, 1.0, 5e-4);
        const QString yield = valueAfter(text, QStringLiteral("Quantum Yield: "));
        EXPECT_PRINTED(yield, calc.getQuantumYield());
        EXPECT_NEAR(yield.toDouble(),
            calc.getArad() * calc.getPopulation(8) / (1e4 * calc.getPopulation(0)) * 100.0, 0.005);
    }
}

// ---------------------------------------------------------------------------
// Sections and channels.

TEST(OrvaneReport, EachSectionFlagGatesItsSection)
{
    const struct {
        bool SpecPrintingOptions::*flag;
        const char* heading;
        bool quantumYieldOnly;
    } sections[] = {
        {&SpecPrintingOptions::anradAndQuantumEfficiency, " Nonradiative Decay Rate (Anrad) and", true},
        {&SpecPrintingOptions::aradAndBeta, " Radiative emission rate (Arad) and", false},
        {&SpecPrintingOptions::constantValues, " Constant values for the Eu3+ Ion", false},
        {&SpecPrintingOptions::frankCondonFactor, " Frank Condon's Factor (F)", false},
        {&SpecPrintingOptions::levelPopulation, "  Level Population of each State", true},
        {&SpecPrintingOptions::omega, " Theoretical Judd-Ofelt Intensity Parameters, omega(l)", false},
        {&SpecPrintingOptions::omegaED, " Forced Electric Dipole Judd-Ofelt Parameters", false},
        {&SpecPrintingOptions::quantumYield, "Quantum Yield: ", true},
        {&SpecPrintingOptions::singletAndTripletEnergy, " Singlet and Triplet Excited States Energies", false},
        {&SpecPrintingOptions::wet, " Energy Transfer (Wet) and Back-Transfer", false},
        {&SpecPrintingOptions::gama, " gama(l) Parameters", false},
    };
    for (const auto& s : sections) {
        SCOPED_TRACE(s.heading);
        SpecPrintingOptions alone;
        alone.*(s.flag) = true;
        SpecPrintingOptions allBut = allSections();
        allBut.*(s.flag) = false;
        for (const SpecPrintingOptions& options : {alone, allBut}) {
            const bool on = options.*(s.flag);
            TransferSetup setup(2, 2, false, defaultChannels(), options);
            const QString yieldReport = setup.calc->createOutFile(QString());
            const QString transferReport = setup.calc->createOutFileET(QString());
            ASSERT_FALSE(yieldReport.isEmpty()) << qPrintable(setup.calc->getLastError());
            for (const auto& other : sections) {
                const bool expected = (&other == &s) ? on : !on;
                EXPECT_EQ(yieldReport.contains(QLatin1String(other.heading)), expected) << other.heading;
                EXPECT_EQ(transferReport.contains(QLatin1String(other.heading)), expected && !other.quantumYieldOnly)
                    << other.heading;
            }
            // The quantum-yield report begins with the whole energy-transfer report.
            EXPECT_TRUE(yieldReport.startsWith(transferReport));
        }
    }
}

TEST(OrvaneReport, ChannelFlagsGateTheirLines)
{
    SpecPrintingOptions options;
    options.frankCondonFactor = options.wet = true;
    for (const Channel& channel : channels) {
        SCOPED_TRACE(channel.index);
        EnergyTransferChannels only;
        only.*(channel.flag) = true;
        TransferSetup setup(2, 2, false, only, options);
        const QString text = setup.calc->createOutFileET(QString());
        ASSERT_FALSE(text.isEmpty()) << qPrintable(setup.calc->getLastError());
        for (const Channel& other : channels)
            for (const QString& label : labelsOf(other.index))
                EXPECT_EQ(text.count(label), other.index == channel.index ? 1 : 0) << qPrintable(label);
        // The closing blank lines of the two blocks belong to the triplet -> 5D0 lines.
        const bool last = channel.index == 14;
        EXPECT_EQ(text.contains(QStringLiteral(" erg^-1   \n\n")), last);
        EXPECT_EQ(text.contains(QStringLiteral(" erg^-1 \n------")), !last);
        EXPECT_EQ(text.contains(QStringLiteral(" s^-1 \n    Energy Back-Transfer Rates\n")), !last);
        EXPECT_EQ(text.contains(QStringLiteral(" s^-1  \n\n    Energy Back-Transfer Rates\n")), last);
        EXPECT_TRUE(text.endsWith(last ? QStringLiteral(" s^-1 \n\n") : QStringLiteral(" s^-1 \n")));
    }
}

TEST(OrvaneReport, TwoTripletLabels)
{
    SpecPrintingOptions options = allSections();
    TransferSetup setup(2, 3, true, allChannels(), options, 0, 1.2e-3);
    const QString text = setup.calc->createOutFile(QString());
    ASSERT_FALSE(text.isEmpty()) << qPrintable(setup.calc->getLastError());
    const QStringList present = {
        QStringLiteral("\n    RL Triplet2: "), QStringLiteral("\n    RL Triplet1: "),
        QStringLiteral("\n    Triplet 2 population           = "),
        QStringLiteral("\n    F (Triplet1 - 5D4) = "), QStringLiteral("\n      WetMM (Triplet1 -> 5D4) = "),
        QStringLiteral("\n      WetMM (Triplet -> 5G6) = "), QStringLiteral("\n      WetMM (Triplet -> 5L6) = "),
        QStringLiteral("\n      WbtMM (Triplet1 -> 5G6) = "), QStringLiteral("\n      WetEX (Triplet1 -> 5D0) = "),
    };
    for (const QString& piece : present)
        EXPECT_TRUE(text.contains(piece)) << qPrintable(piece);
    EXPECT_FALSE(text.contains(QStringLiteral("\n    RL Triplet: ")));
    EXPECT_FALSE(text.contains(QStringLiteral("WetMM (Triplet1 -> 5G6)")));
    // The upper-triplet channel comes right after the singlet channels, before the lower triplet's.
    const struct {
        const char *before, *label, *after;
    } order[] = {
        {"F (Singlet - 5D0) = ", "F (Triplet2 -> 5D4) = ", "F (Triplet1 - 5D4) = "},
        {"WetEX (Singlet -> 5D0) = ", "WetMM (Triplet2 -> 5D4) = ", "WetMM (Triplet1 -> 5D4) = "},
        {"WbtEX (Singlet -> 5D0) = ", "WbtMM (Triplet2 -> 5D4) = ", "WbtMM (Triplet1 -> 5D4) = "},
    };
    for (const auto& o : order) {
        const int before = text.indexOf(QLatin1String(o.before));
        const int at = text.indexOf(QLatin1String(o.label));
        const int after = text.indexOf(QLatin1String(o.after));
        ASSERT_GE(before, 0) << o.before;
        EXPECT_EQ(text.indexOf(QLatin1Char('\n'), before), text.lastIndexOf(QLatin1Char('\n'), at)) << o.label;
        EXPECT_EQ(text.indexOf(QLatin1Char('\n'), at), text.lastIndexOf(QLatin1Char('\n'), after)) << o.label;
    }

    // One triplet: no such lines.
    TransferSetup single(2, 3, false, allChannels(), options);
    const QString plain = single.calc->createOutFile(QString());
    EXPECT_FALSE(plain.contains(QStringLiteral("Triplet1")));
    EXPECT_FALSE(plain.contains(QStringLiteral("Triplet2")));
    EXPECT_FALSE(plain.contains(QStringLiteral("Triplet 2 population")));
}

// ---------------------------------------------------------------------------
// Failures.

TEST(OrvaneReport, WithoutExcitedStatesTheReportFailsWithTheReason)
{
    OrvaneSpectroscopicCalculation shortForm(nullptr);
    shortForm.setOmegaValues(12.5, 6.25, 0.48);
    shortForm.setSpecPrintingOptions(allSections());
    OrvaneSpectroscopicCalculation probe(nullptr);
    ASSERT_FALSE(probe.calcEnergyTransferRate());
    const QString reason = probe.getLastError();
    ASSERT_FALSE(reason.isEmpty());
    EXPECT_TRUE(shortForm.createOutFileET(QString()).isEmpty());
    EXPECT_EQ(shortForm.getLastError(), reason);
    EXPECT_TRUE(shortForm.createOutFile(QString()).isEmpty());
    EXPECT_EQ(shortForm.getLastError(), reason);

    // A full construction that failed on its file refuses with the file's error.
    TransferSetup missing(2, 2, false, defaultChannels(), allSections(), 0, 0.0, QStringLiteral("gaussian/no_such.log"));
    const QString construction = missing.calc->getLastError();
    ASSERT_FALSE(construction.isEmpty());
    EXPECT_TRUE(missing.calc->createOutFile(QString()).isEmpty());
    EXPECT_EQ(missing.calc->getLastError(), construction);
}

TEST(OrvaneReport, StateWithoutRLPrintsNoGama)
{
    // The open-shell fixture has no singlet: its selected state has no RL.
    SpecPrintingOptions options;
    options.gama = true;
    TransferSetup setup(0, 0, false, EnergyTransferChannels(), options, 0, 0.0, QStringLiteral("gaussian/radical_utd.log"));
    ASSERT_TRUE(setup.calc->getLastError().isEmpty()) << qPrintable(setup.calc->getLastError());
    const QString text = setup.calc->createOutFileET(QString());
    ASSERT_FALSE(text.isEmpty()) << qPrintable(setup.calc->getLastError());
    EXPECT_TRUE(text.contains(QStringLiteral("   gama(2) =      n/a          gama(4) =      n/a")));
    EXPECT_FALSE(text.contains(QStringLiteral("inf")));
}

// ---------------------------------------------------------------------------
// Written to a file.

TEST(OrvaneReport, FilesHoldTheReturnedText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TransferSetup setup(2, 2, false, allChannels(), allSections());
    const struct {
        const char* name;
        QString (OrvaneSpectroscopicCalculation::*write)(const QString&);
    } reports[] = {{"transfer.orvane", &OrvaneSpectroscopicCalculation::createOutFileET},
        {"yield.orvane", &OrvaneSpectroscopicCalculation::createOutFile}};
    for (const auto& r : reports) {
        SCOPED_TRACE(r.name);
        const QString text = ((*setup.calc).*r.write)(QString());
        ASSERT_FALSE(text.isEmpty());
        const QString path = dir.filePath(QString::fromLatin1(r.name));
        OrvaneFixtures::writeFile(path, "an older report\r\n");
        EXPECT_TRUE(((*setup.calc).*r.write)(path).isEmpty());
        EXPECT_TRUE(setup.calc->getLastError().isEmpty()) << qPrintable(setup.calc->getLastError());
        const QByteArray bytes = OrvaneFixtures::contents(path);
        EXPECT_EQ(bytes, text.toUtf8());
        EXPECT_FALSE(bytes.contains('\r'));
        EXPECT_TRUE(bytes.endsWith('\n'));

        // A folder where the file should go: the name and the system's reason.
        const QString folder = dir.filePath(QStringLiteral("taken_") + QString::fromLatin1(r.name));
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(((*setup.calc).*r.write)(folder).isEmpty());
        EXPECT_TRUE(setup.calc->getLastError().contains(folder)) << qPrintable(setup.calc->getLastError());
        EXPECT_GT(setup.calc->getLastError().size(), folder.size() + 30);
    }
}

TEST(OrvaneReport, LifetimeLongerThanTheRadiativeOneIsFlagged)
{
    SpecPrintingOptions options;
    options.anradAndQuantumEfficiency = true;
    for (const double lifeTime : {1.2e-3, 5e-3}) { // 1/Arad is 1.74 ms here
        SCOPED_TRACE(lifeTime);
        TransferSetup setup(2, 2, false, defaultChannels(), options, 0, lifeTime);
        const QString text = setup.calc->createOutFile(QString());
        ASSERT_FALSE(text.isEmpty()) << qPrintable(setup.calc->getLastError());
        const bool longer = lifeTime * setup.calc->getArad() > 1.0;
        EXPECT_EQ(longer, lifeTime == 5e-3);
        EXPECT_EQ(text.contains(QStringLiteral("\n    Warning: the experimental lifetime (5.0000 ms) is longer than "
                                               "1/Arad")),
            longer);
        EXPECT_EQ(valueAfter(text, QStringLiteral("Quantum Efficiency = ")).toDouble() > 100.0, longer);
        EXPECT_TRUE(text.endsWith(QStringLiteral(" %\n\n\n")));
    }
}
