// Radiative and non-radiative rates, ligand-to-Eu transfer rates, rate
// equations and quantum yield, checked against spectroscopic_reference.py
// (beside this file), which evaluates the published formulas on its own and
// solves the rate equations in 50-digit arithmetic. Output of its last run:
//
// 1. A02 A04 A06 AMD Arad: 300.02908849374626, 75.89172388615737, 0.41388931167955506, 49.22948643743429, 425.56418812901745
// 1. law: Anrad efficiency lifetime: 108.72679570933205, 79.65026567952953, 0.0018716392944084408
// 1. law at Arad 1000: 32.60997977180551
// 2. F(0) F(1500) F(-800): 727575023730.5638, 627701330700.8364, 697650416984.781
// 2. gama(2,4,6) R=3.5: 2.6255177518010706e+26, 3.501787410456275e+24, 7.187908522855671e+22
// 3. WetDD model0 G1, model0 G3, model2 G1: 29383969.24929829, 9794656.416432763, 734599231.2324576
// 3. WetDM G1, G3: 2305668625.643782, 768556208.5479274
// 4. WetEX models 0 1 2 3: 6552020469.5723295, 458536.60054255, 11265810230.508, 0.0
// 5. exp(-delta hc/kT) for 1000, -500: 0.008263366540748654, 11.000729639721822
// 6. model 0 wet 0 13 14, wbt 0 13 14: 791759.152130533, 6716633565.347865, 6030250310.277864, 9882.677106092926, 47454.8887146614, 10.418733072251642
// 6. eight-state populations: 0.05118250283714816, 5.028540565660553e-06, 4.122221906129112e-08, 3.942431239765811e-06, 3.942431239765811e-06, 3.942431239765811e-06, 0.00026809457328472506, 0.9485325055330631
// 6. eight-state yield: 78.8670821580425
// 6. six-state populations: 0.09168389761866325, 9.007691551549094e-06, 7.317932770898876e-08, 7.0621294801738975e-06, 0.00047599267866492147, 0.9078239667023124
// 6. six-state yield: 59.41003754954992
// 6. model 1 wet 0 13 14, wbt 0 13 14: 791759.152130533, 561200.574462836, 503850.61286388047, 9882.677106092926, 3.965038519465314, 0.0008705252308966395
// 6. model 2 wet 0 13 14, wbt 0 13 14: 8886829.999082526, 9673221916.220257, 8684700288.343443, 110924.73151885129, 68344.00970074083, 15.004944979238823
// 7. wet 0..4: 56192163327.55673, 54317782856.833885, 84632137390.54735, 1827847942.2808294, 178425640.25249767
// 7. wet 10..14: 1720268177.7506187, 9602849804.86046, 142108988663.13034, 236606735425885.16, 356037779556489.5
// 7. wbt 0..4: 1312.620140492541, 23.244183672101194, 0.03860918522783215, 6.358435744761819e-17, 1.5178112048653763e-21
// 7. wbt 10..14: 4.347403313119525e+26, 4.445727764877269e+25, 7.013702512700607e+23, 89044641761975.12, 32766272559.137714
// 7. eight-state populations: 0.11180475120924635, 5.66819343902797e-09, 8.171339705738358e-05, 3.2407268099568334e-22, 1.7657162206131252e-20, 1.655714354344357e-17, 0.00021712637087386303, 0.8878964033546289
// 7. eight-state yield: 33.79614085711933
// 8. wet 0..5: 57603864395.20973, 54878595636.73131, 85505935652.22809, 116723887.12881641, 11394019.060322667, 9736628.456845965
// 8. wet 10..14: 436726769.7633893, 180666070.31068105, 709270587.3167038, 4377472637.519714, 1313487994.6474917
// 8. wbt 0 5 13 14: 1345.5967540276781, 1.0413954970825831e-05, 2.882832653441848e-06, 2.11530194247643e-10
// 8. seven-state populations: 0.11086854630759845, 1.92055175815815e-08, 1.7343419213940997e-08, 6.421150670435822e-10, 0.0011049940204596366, 0.0011078048615925655, 0.8869186176192975
// 8. seven-state yield: 34.04399300018591
//
// The fixture values of cases 7 and 8 (eu_h2o_td.log) are those worked out by
// hand in test_orvanerl.cpp: singlets at 400, 320, 240 nm with RL 1.78176,
// 1.47584, 2.268; triplets at 520, 380, 300 nm with RL (1.78176 + 0.864)/2,
// (1.78176 + 2.616)/2, 2.616; the shortest Eu-ligand distance 2.4 Angstrom.

#include "orvanefixtures.h"
#include "orvaneomega.h"
#include "orvanerl.h"
#include "orvanespectroscopiccalculation.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::variant;
using OrvaneFixtures::writeFile;

namespace {

using Calc = OrvaneSpectroscopicCalculation;

void expectRelative(double actual, double expected, double tolerance, const std::string& what)
{
    if (expected == 0.0)
        EXPECT_EQ(actual, 0.0) << what;
    else
        EXPECT_NEAR(actual / expected, 1.0, tolerance) << what << ": " << actual << " against " << expected;
}

EnergyTransferChannels allChannels()
{
    return EnergyTransferChannels {true, true, true, true, true, true, true, true, true, true};
}

std::unique_ptr<Calc> fromFile(const char* file, int program, int tripletLevel, int singletLevel)
{
    return std::make_unique<Calc>(nullptr, 0, program, QString(), QString(), dataPath(QString::fromLatin1(file)),
                                  tripletLevel, singletLevel);
}

// Transitions of the eight-state scheme as published: from, to, rate. The
// Eu3+ levels 3..7 are 5D4, 5G6, 5L6, 5D1, 5D0.
struct Transition {
    int from, to;
    double rate;
};

std::vector<Transition> eightStateScheme(const Calc& c)
{
    std::vector<Transition> t = {{0, 1, 1e4}, {1, 0, 1e6}, {1, 2, 1e8}, {2, 0, 1e5}, {3, 4, 1e6},
                                 {4, 5, 1e6}, {5, 6, 1e6}, {6, 7, 1e6}, {7, 0, c.getArad() + c.getAnrad()}};
    for (int k = 0; k < 5; ++k) {
        const bool mm = k < 3;
        t.push_back({1, 3 + k, mm ? c.getWetMM(k) : c.getWetEX(k)});
        t.push_back({2, 3 + k, mm ? c.getWetMM(10 + k) : c.getWetEX(10 + k)});
        t.push_back({3 + k, 1, mm ? c.getWbtMM(k) : c.getWbtEX(k)});
        t.push_back({3 + k, 2, mm ? c.getWbtMM(10 + k) : c.getWbtEX(10 + k)});
    }
    return t;
}

// Each balance of states 1..7 (inflow against outflow), relative to its size.
void expectBalanced(const std::vector<Transition>& scheme, const std::vector<double>& n)
{
    for (int state = 1; state < int(n.size()); ++state) {
        double in = 0.0, out = 0.0;
        for (const Transition& t : scheme) {
            if (t.to == state)
                in += t.rate * n[std::size_t(t.from)];
            if (t.from == state)
                out += t.rate * n[std::size_t(state)];
        }
        EXPECT_LE(std::abs(in - out), 1e-9 * (in + out)) << "state " << state;
    }
}

std::vector<double> eightStatePopulations(const Calc& c)
{
    std::vector<double> n;
    for (int slot : {Calc::S0, Calc::S1, Calc::Triplet, Calc::Level5D4, Calc::Level5G6, Calc::Level5L6,
                     Calc::Level5D1, Calc::Level5D0})
        n.push_back(c.getPopulation(slot));
    return n;
}

} // namespace

TEST(RadiativeRates, RatesBranchingRatiosAndEmpiricalAnrad)
{
    Calc c(nullptr);
    EXPECT_EQ(c.getRefractiveIndex(), 1.5);
    EXPECT_EQ(c.getBandHalfWidth(), 3250.0);
    for (int l : {2, 4, 6})
        EXPECT_EQ(c.getOmegaED(l), 1e-20);
    c.setOmegaValues(10, 5, 0.5);
    ASSERT_TRUE(c.calcArad());
    expectRelative(c.getArad02(), 300.02908849374626, 1e-12, "A02");
    expectRelative(c.getArad04(), 75.89172388615737, 1e-12, "A04");
    expectRelative(c.getArad06(), 0.41388931167955506, 1e-12, "A06");
    expectRelative(c.getAradMD(), 49.22948643743429, 1e-12, "A01");
    expectRelative(c.getArad(), 425.56418812901745, 1e-12, "Arad");
    double sum = 0.0;
    for (int j = 0; j < 8; ++j)
        sum += c.getBranchingRatio(j);
    EXPECT_NEAR(sum, 100.0, 1e-12);
    for (int j : {0, 3, 5, 7})
        EXPECT_EQ(c.getBranchingRatio(j), 0.0);
    expectRelative(c.getBranchingRatio(2), 100.0 * 300.02908849374626 / 425.56418812901745, 1e-12, "beta2");

    // No lifetime: the empirical law gives Anrad, and the lifetime follows.
    expectRelative(c.getAnrad(), 108.72679570933205, 1e-12, "Anrad");
    expectRelative(c.getQuantumEfficiency(), 79.65026567952953, 1e-12, "efficiency");
    expectRelative(c.getLifeTime(), 0.0018716392944084408, 1e-12, "lifetime");
    EXPECT_FALSE(c.isLifeTimeMeasured());

    // A lifetime of 1 ms: Anrad = 1000 - Arad, efficiency = 100 Arad tau.
    c.setLifeTime(1e-3);
    ASSERT_TRUE(c.calcArad());
    EXPECT_NEAR(c.getAnrad(), 1000.0 - 425.56418812901745, 1e-9);
    EXPECT_NEAR(c.getQuantumEfficiency(), 42.556418812901745, 1e-9);
    EXPECT_EQ(c.getLifeTime(), 1e-3);
    EXPECT_TRUE(c.getAnradWarning().isEmpty());
}

TEST(RadiativeRates, EmpiricalLawOnAGivenArad)
{
    Calc c(nullptr);
    ASSERT_TRUE(c.calcAnrad(1000.0));
    EXPECT_EQ(c.getArad(), 1000.0);
    expectRelative(c.getAnrad(), 32.60997977180551, 1e-12, "Anrad");
    expectRelative(c.getLifeTime(), 1.0 / (1000.0 + 32.60997977180551), 1e-12, "lifetime");
    // Zero keeps the Arad the object holds.
    ASSERT_TRUE(c.calcAnrad(0.0));
    EXPECT_EQ(c.getArad(), 1000.0);
    EXPECT_FALSE(c.calcAnrad(-5.0));
    EXPECT_FALSE(c.getLastError().isEmpty());
}

TEST(RadiativeRates, DerivedLifetimeIsNotTakenForAMeasurement)
{
    // The first calcArad fills the lifetime from the law; a second one after
    // Omega changed must follow the law again, as a fresh object does.
    Calc c(nullptr);
    c.setOmegaValues(10, 5, 0.5);
    ASSERT_TRUE(c.calcArad());
    c.setOmegaValues(20, 8, 1);
    ASSERT_TRUE(c.calcArad());
    Calc fresh(nullptr);
    fresh.setOmegaValues(20, 8, 1);
    ASSERT_TRUE(fresh.calcArad());
    EXPECT_EQ(c.getAnrad(), fresh.getAnrad());
    EXPECT_EQ(c.getLifeTime(), fresh.getLifeTime());
}

TEST(RadiativeRates, LifetimeLongerThanRadiativeIsKeptAndFlagged)
{
    Calc c(nullptr);
    c.setOmegaValues(10, 5, 0.5);
    c.setLifeTime(5e-3); // 1/tau = 200 s-1 < Arad
    ASSERT_TRUE(c.calcArad());
    EXPECT_NEAR(c.getAnrad(), 200.0 - 425.56418812901745, 1e-9);
    EXPECT_NEAR(c.getQuantumEfficiency(), 100.0 * 425.56418812901745 * 5e-3, 1e-9);
    EXPECT_TRUE(c.getAnradWarning().contains(QStringLiteral("Anrad is negative"))) << qPrintable(c.getAnradWarning());
}

TEST(RadiativeRates, RefusedInputs)
{
    Calc noIndex(nullptr);
    noIndex.setRefractiveIndex(0.0);
    EXPECT_FALSE(noIndex.calcArad());
    EXPECT_FALSE(noIndex.getLastError().isEmpty());
    Calc negative(nullptr);
    negative.setLifeTime(-1e-3);
    EXPECT_FALSE(negative.calcArad());
    EXPECT_FALSE(negative.getLastError().isEmpty());
}

TEST(TransferRates, FranckCondonGamaAndBackTransferFactor)
{
    expectRelative(Calc::F(0.0, 3250.0), 727575023730.5638, 1e-12, "F(0)");
    expectRelative(Calc::F(1500.0, 3250.0), 627701330700.8364, 1e-12, "F(1500)");
    expectRelative(Calc::F(-800.0, 3250.0), 697650416984.781, 1e-12, "F(-800)");
    EXPECT_EQ(QString::number(Calc::F(0.0, 3250.0), 'e', 6), QStringLiteral("7.275750e+11"));

    Calc c(nullptr);
    expectRelative(c.gama(2, 3.5e-8), 2.6255177518010706e+26, 1e-12, "gama(2)");
    expectRelative(c.gama(4, 3.5e-8), 3.501787410456275e+24, 1e-12, "gama(4)");
    expectRelative(c.gama(6, 3.5e-8), 7.187908522855671e+22, 1e-12, "gama(6)");
    expectRelative(c.boltzmannFactor(1000.0), 0.008263366540748654, 1e-12, "exp(-1000 hc/kT)");
    expectRelative(c.boltzmannFactor(-500.0), 11.000729639721822, 1e-12, "exp(500 hc/kT)");
}

TEST(TransferRates, MultipolarAndExchangeRatesForEachModel)
{
    const double U2[7] = {0, 0, 0.01, 0, 0.02, 0, 0.03};
    struct Case {
        int model;
        double dd1, dd3; // WetDD with G = 1 and G = 3
        double ex;       // exchange at delta 1500, J 1, X 0.25, R 4 Angstrom, G 3
    };
    const Case cases[] = {
        {0, 29383969.24929829, 9794656.416432763, 6552020469.5723295},
        {1, 29383969.24929829, 9794656.416432763, 458536.60054255},
        {2, 734599231.2324576, 734599231.2324576 / 3.0, 11265810230.508},
        {3, 734599231.2324576, 734599231.2324576 / 3.0, 0.0},
    };
    for (const Case& k : cases) {
        const std::string model = "model " + std::to_string(k.model);
        Calc c(nullptr);
        c.setETModel(k.model);
        c.setOmegaEdValues(2.5, 1.5, 0.8);
        c.setMinDistanceLnLigand(2.4);
        expectRelative(c.WetDD(2000.0, 4, 3.5e-8, U2, 1), k.dd1, 1e-12, model + " WetDD G 1");
        expectRelative(c.WetDD(2000.0, 4, 3.5e-8, U2, 3), k.dd3, 1e-12, model + " WetDD G 3");
        // The dipole-multipole rate is the same in every model.
        expectRelative(c.WetDM(2000.0, 4, 3.5e-8, U2, 1), 2305668625.643782, 1e-12, model + " WetDM G 1");
        expectRelative(c.WetDM(2000.0, 4, 3.5e-8, U2, 3), 768556208.5479274, 1e-12, model + " WetDM G 3");
        const double exchange = c.calcWetEX(1500.0, 1, 0.25, 4e-8, 3);
        expectRelative(exchange, k.ex, 1e-12, model + " WetEX");
        // Model 2 ignores the overlap exponent; models 0 and 1 do not.
        c.setNOverlapIntegral(6.0);
        if (k.model == 2)
            EXPECT_EQ(c.calcWetEX(1500.0, 1, 0.25, 4e-8, 3), exchange);
        else if (k.model < 2)
            EXPECT_LT(c.calcWetEX(1500.0, 1, 0.25, 4e-8, 3), exchange);
    }
}

TEST(TransferRates, FileFreeThreeChannels)
{
    struct Case {
        int model;
        double wet[3], wbt[3]; // channels 0, 13, 14
    };
    const Case cases[] = {
        {0, {791759.152130533, 6716633565.347865, 6030250310.277864},
         {9882.677106092926, 47454.8887146614, 10.418733072251642}},
        {1, {791759.152130533, 561200.574462836, 503850.61286388047},
         {9882.677106092926, 3.965038519465314, 0.0008705252308966395}},
        {2, {8886829.999082526, 9673221916.220257, 8684700288.343443},
         {110924.73151885129, 68344.00970074083, 15.004944979238823}},
    };
    for (const Case& k : cases) {
        const std::string model = "model " + std::to_string(k.model);
        Calc c(nullptr);
        c.setETModel(k.model);
        c.setOmegaEdValues(3.0, 2.0, 0.6);
        c.setMinDistanceLnLigand(2.4);
        c.setEnergyTransferChannels(EnergyTransferChannels {}); // the flags do not matter here
        ASSERT_TRUE(c.calcEnergyTransferRate(4.2, 3.9, 28500.0, 21500.0)) << qPrintable(c.getLastError());
        expectRelative(c.getWetMM(0), k.wet[0], 1e-12, model + " wetMM 0");
        expectRelative(c.getWetEX(13), k.wet[1], 1e-12, model + " wetEX 13");
        expectRelative(c.getWetEX(14), k.wet[2], 1e-12, model + " wetEX 14");
        expectRelative(c.getWbtMM(0), k.wbt[0], 1e-12, model + " wbtMM 0");
        expectRelative(c.getWbtEX(13), k.wbt[1], 1e-12, model + " wbtEX 13");
        expectRelative(c.getWbtEX(14), k.wbt[2], 1e-12, model + " wbtEX 14");
        EXPECT_EQ(c.getEnergyMismatch(3), 28500.0 - 19027.0);
        EXPECT_EQ(c.getEnergyMismatch(10), 21500.0 - 27586.0);
        // The other channels are not computed.
        for (int i : {1, 2, 3, 4, 5, 10, 11, 12})
            EXPECT_EQ(c.getWetMM(i) + c.getWetEX(i), 0.0) << model << " channel " << i;
        // The singlet lies 914 cm-1 above 5D4: the back-transfer is the smaller rate.
        EXPECT_GT(c.getWbtMM(0), 0.0);
        EXPECT_LT(c.getWbtMM(0), c.getWetMM(0));
    }

    // Without the shortest Eu-ligand distance models 0 and 1 cannot give the
    // exchange overlap; model 2 does not need it. RL 0 is refused.
    Calc noDistance(nullptr);
    EXPECT_FALSE(noDistance.calcEnergyTransferRate(4.2, 3.9, 28500.0, 21500.0));
    EXPECT_FALSE(noDistance.getLastError().isEmpty());
    noDistance.setETModel(2);
    EXPECT_TRUE(noDistance.calcEnergyTransferRate(4.2, 3.9, 28500.0, 21500.0));
    EXPECT_FALSE(noDistance.calcEnergyTransferRate(0.0, 3.9, 28500.0, 21500.0));
}

TEST(TransferRates, ChannelsFromTheGaussianFixture)
{
    auto c = fromFile("gaussian/eu_h2o_td.log", 2, 0, 0);
    ASSERT_TRUE(c->getLastError().isEmpty()) << qPrintable(c->getLastError());
    c->setETModel(1);
    c->setEnergyTransferChannels(allChannels());
    c->setOmegaEdValues(2.0, 1.5, 0.4);
    ASSERT_TRUE(c->calcEnergyTransferRate()) << qPrintable(c->getLastError());

    const double wet[15] = {56192163327.55673, 54317782856.833885, 84632137390.54735, 1827847942.2808294,
                            178425640.25249767, 0, 0, 0, 0, 0,
                            1720268177.7506187, 9602849804.86046, 142108988663.13034, 236606735425885.16,
                            356037779556489.5};
    const double wbt[15] = {1312.620140492541, 23.244183672101194, 0.03860918522783215, 6.358435744761819e-17,
                            1.5178112048653763e-21, 0, 0, 0, 0, 0,
                            4.347403313119525e+26, 4.445727764877269e+25, 7.013702512700607e+23,
                            89044641761975.12, 32766272559.137714};
    for (int i = 0; i < 15; ++i) {
        const bool multipolar = i % 10 < 3;
        const std::string channel = "channel " + std::to_string(i);
        expectRelative(multipolar ? c->getWetMM(i) : c->getWetEX(i), wet[i], 1e-12, channel + " transfer");
        expectRelative(multipolar ? c->getWbtMM(i) : c->getWbtEX(i), wbt[i], 1e-12, channel + " back");
        EXPECT_EQ(multipolar ? c->getWetEX(i) : c->getWetMM(i), 0.0) << channel;
    }
    EXPECT_EQ(c->getEnergyMismatch(0), 31250.0 - 27586.0);
    EXPECT_EQ(c->getEnergyMismatch(10), 1e7 / 520.0 - 27586.0);
    // The triplet lies below 5D4: back-transfer above transfer.
    EXPECT_GT(c->getWbtMM(10), c->getWetMM(10));

    // A switched-off channel keeps what it held.
    EnergyTransferChannels some = allChannels();
    some.singlet5G6 = false;
    c->setEnergyTransferChannels(some);
    c->setOmegaEdValues(4.0, 3.0, 0.8);
    ASSERT_TRUE(c->calcEnergyTransferRate());
    expectRelative(c->getWetMM(1), wet[1], 1e-12, "kept channel 1");
    EXPECT_GT(c->getWetMM(2), wet[2]);
}

TEST(TransferRates, LevelDefaultsOfTheFullConstructor)
{
    struct Case {
        const char* file;
        int program;
        int triplet, singlet;             // given
        int expectedTriplet, expectedSinglet;
    };
    // States number: ZINDO eu_co.zin 4 (selected 3), ORCA eu_h2o_tda 4 (selected 2),
    // Gaussian eu_h2o_td 4 (selected 2).
    const Case cases[] = {
        {"zindo/eu_co.zin", 0, 0, 0, 2, 4},      // ZINDO: triplet 2, singlet selected + 1
        {"zindo/eu_co.zin", 0, 1, 1, 2, 2},      // below 2 is raised to 2
        {"zindo/eu_co.zin", 0, 3, 2, 3, 2},
        {"zindo/eu_co.zin", 0, 4, 9, 2, 4},      // not below the states number: automatic
        {"orca/eu_h2o_tda.orcout", 1, 0, 0, 1, 2}, // ORCA: triplet 1, the selected singlet
        {"orca/eu_h2o_tda.orcout", 1, 3, 1, 3, 1},
        {"orca/eu_h2o_tda.orcout", 1, 4, 4, 1, 2},
        {"gaussian/eu_h2o_td.log", 2, 0, 0, 1, 2},
        {"gaussian/eu_h2o_td.log", 2, 2, 3, 2, 3},
        {"gaussian/eu_h2o_td.log", 2, -1, 7, 1, 2},
    };
    for (const Case& k : cases) {
        auto c = fromFile(k.file, k.program, k.triplet, k.singlet);
        ASSERT_TRUE(c->getLastError().isEmpty()) << k.file << ": " << qPrintable(c->getLastError());
        EXPECT_EQ(c->getTripletLevel(), k.expectedTriplet) << k.file << " " << k.triplet;
        EXPECT_EQ(c->getSingletLevel(), k.expectedSinglet) << k.file << " " << k.singlet;
        EXPECT_DOUBLE_EQ(c->getMinDistanceLnLigand(), 2.4) << k.file;
        ASSERT_NE(c->getRL(), nullptr);
        EXPECT_EQ(c->getSingletRL(), c->getRL()->getSingletRL(k.expectedSinglet));
        EXPECT_EQ(c->getTripletEnergy(), c->getRL()->getTripletEnergy(k.expectedTriplet));
        // The defaults of the full constructor.
        EXPECT_EQ(c->getRefractiveIndex(), 1.5);
        EXPECT_EQ(c->getBandHalfWidth(), 3250.0);
        EXPECT_EQ(c->getETModel(), 0);
        const EnergyTransferChannels on = c->getEnergyTransferChannels();
        EXPECT_TRUE(on.singlet5D4 && on.triplet5D1 && on.triplet5D0);
        EXPECT_FALSE(on.singlet5G6 || on.singlet5L6 || on.singlet5D1 || on.singlet5D0 || on.triplet5D4
                     || on.triplet5G6 || on.triplet5L6);
    }
}

// A level asked for and replaced by the automatic choice is said, so that a
// run never reports other states than those typed without a word.
TEST(TransferRates, AReplacedLevelIsNoted)
{
    // eu_h2o_td.log lists 3 singlets and 3 triplets; eu_co.zin 4 singlets
    // and 3 triplets, state 1 of each the reference determinant.
    const struct
    {
        const char* file;
        int program;
        int triplet, singlet;
        QStringList notes;
    } cases[] = {
        {"gaussian/eu_h2o_td.log", 2, 0, 0, {}},
        {"gaussian/eu_h2o_td.log", 2, 2, 3, {}},
        {"gaussian/eu_h2o_td.log", 2, 7, 99,
         {QStringLiteral("Triplet 7 does not exist (3 triplets); triplet 1 was used"),
          QStringLiteral("Singlet 99 does not exist (3 singlets); singlet 2 was used")}},
        {"gaussian/eu_h2o_td.log", 2, 3, 4, {QStringLiteral("Singlet 4 does not exist (3 singlets); singlet 2 was used")}},
        {"zindo/eu_co.zin", 0, 1, 1,
         {QStringLiteral("Triplet 1 of a ZINDO output is its reference determinant; triplet 2 was used"),
          QStringLiteral("Singlet 1 of a ZINDO output is its reference determinant; singlet 2 was used")}},
        {"zindo/eu_co.zin", 0, 4, 9,
         {QStringLiteral("Triplet 4 does not exist (3 triplets); triplet 2 was used"),
          QStringLiteral("Singlet 9 does not exist (4 singlets); singlet 4 was used")}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.file << " " << k.triplet << " " << k.singlet);
        auto c = fromFile(k.file, k.program, k.triplet, k.singlet);
        ASSERT_TRUE(c->getLastError().isEmpty()) << qPrintable(c->getLastError());
        EXPECT_EQ(c->getLevelNotes(), k.notes);
    }
}

TEST(SpectroscopicCalculation, EachLevelIsBoundedByItsOwnList)
{
    // eu_co.zin with its strongest band weakened: the selected state becomes
    // 2, so the automatic singlet (3) differs from the last singlet (4). The
    // file holds 4 singlets and 3 triplets: singlet 4 exists and is kept,
    // triplet 4 does not and gives the automatic triplet 2.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("eu_co.zin")),
        OrvaneFixtures::variant(OrvaneFixtures::contents(dataPath(QStringLiteral("zindo/eu_co.zin"))),
                                {{"OSC       =   0.45678", "OSC       =   0.00100"}}));
    const struct {
        int triplet, singlet;
        int expectedTriplet, expectedSinglet;
    } cases[] = {{3, 4, 3, 4}, {4, 4, 2, 4}, {3, 5, 3, 3}, {0, 0, 2, 3}};
    for (const auto& k : cases) {
        Calc c(nullptr, 0, OrvaneRL::Zindo, QString(), QString(), file, k.triplet, k.singlet);
        ASSERT_TRUE(c.getLastError().isEmpty()) << qPrintable(c.getLastError());
        ASSERT_EQ(c.getRL()->getSelExcitateState(), 2);
        EXPECT_EQ(c.getTripletLevel(), k.expectedTriplet) << k.triplet << " " << k.singlet;
        EXPECT_EQ(c.getSingletLevel(), k.expectedSinglet) << k.triplet << " " << k.singlet;
    }
}

TEST(TransferRates, IntensityParametersFromForceConstants)
{
    const QString geometry = dataPath(QStringLiteral("omega/eu_o5n3.out"));
    const QString force = dataPath(QStringLiteral("omega/eu_o5n3_force.out"));
    Calc c(nullptr, 0, 2, geometry, force, QString(), 0, 0);
    ASSERT_TRUE(c.getLastError().isEmpty()) << qPrintable(c.getLastError());
    ASSERT_NE(c.getOmegaCalculation(), nullptr);
    // Eu with five O and three N donors: the first shell holds eight atoms.
    EXPECT_EQ(c.getOmegaCalculation()->getCoordNumber(), 8);

    OrvaneOmega reference(nullptr, 0, geometry, force);
    double g[30] = {}, alpha[30] = {};
    double* gp = g;
    double* ap = alpha;
    reference.setCoordNumber(8);
    reference.setChargeFactorAndAlpha(gp, ap);
    ASSERT_TRUE(reference.calcOmega());
    for (int l : {2, 4, 6}) {
        EXPECT_GT(c.getOmega(l), 0.0);
        EXPECT_EQ(c.getOmega(l), reference.getOmega(l)) << l;
        EXPECT_EQ(c.getOmegaED(l), reference.getOmegaED(l)) << l;
    }
    // No excited states: radiative rates work, transfer rates are refused.
    EXPECT_TRUE(c.calcArad());
    EXPECT_FALSE(c.calcEnergyTransferRate());
}

TEST(TransferRates, MissingPartsFailWithAText)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.log"));

    // Construction failures are kept, and every calculation refuses with them.
    Calc badRL(nullptr, 0, 2, QString(), QString(), missing, 0, 0);
    EXPECT_EQ(badRL.getLastError(), missing + QStringLiteral(" does not exist."));
    Calc badOmega(nullptr, 0, 2, missing, dataPath(QStringLiteral("omega/eu_o5n3_force.out")), QString(), 0, 0);
    EXPECT_FALSE(badOmega.getLastError().isEmpty());
    for (Calc* c : {&badRL, &badOmega}) {
        const QString text = c->getLastError();
        c->setLastError(QString());
        EXPECT_FALSE(c->calcArad());
        EXPECT_EQ(c->getLastError(), text);
        EXPECT_FALSE(c->calcEnergyTransferRate());
        EXPECT_FALSE(c->calcQuantumYieldNEW());
        EXPECT_EQ(c->getLastError(), text);
    }

    // No excited-state file: the transfer and both models needing it refuse.
    Calc noRL(nullptr, 0, 2, QString(), QString(), QString(), 0, 0);
    EXPECT_TRUE(noRL.getLastError().isEmpty());
    EXPECT_EQ(noRL.getRL(), nullptr);
    noRL.setOmegaValues(10, 5, 0.5);
    EXPECT_FALSE(noRL.calcEnergyTransferRate());
    EXPECT_TRUE(noRL.getLastError().contains(QStringLiteral("excited states")));
    EXPECT_FALSE(noRL.calcQuantumYieldNEW());
    noRL.setConsiderTwoTriplets(true);
    EXPECT_FALSE(noRL.calcQuantumYieldTwoTriplets());
    EXPECT_EQ(noRL.getSingletRL(), 0.0);

    // Two-triplet mode with a single triplet state.
    const QByteArray cis = contents(dataPath(QStringLiteral("orca/h2o_cis_pc.orcout")));
    const QString oneTriplet = writeFile(dir.filePath(QStringLiteral("run.orcout")),
                                         variant(cis, {{"STATE  2:  E=   0.200481 au      5.455 eV    44000.0 cm**-1\n"
                                                        "     2a ->   5a  :     0.954321 (c=  0.97689354)\n\n",
                                                        ""}}));
    writeFile(dir.filePath(QStringLiteral("run.pointcharge")),
              contents(dataPath(QStringLiteral("orca/h2o_cis_pc.pointcharge"))));
    Calc single(nullptr, 0, 1, QString(), QString(), oneTriplet, 0, 0);
    ASSERT_TRUE(single.getLastError().isEmpty()) << qPrintable(single.getLastError());
    EXPECT_TRUE(single.calcEnergyTransferRate()); // one triplet is enough otherwise
    single.setConsiderTwoTriplets(true);
    EXPECT_FALSE(single.calcEnergyTransferRate());
    EXPECT_TRUE(single.getLastError().contains(QStringLiteral("second triplet")));
    EXPECT_FALSE(single.calcQuantumYieldTwoTriplets());

    // An open-shell run has no singlet: singlet channels refuse, and its
    // first triplet reaches no ligand orbital.
    auto radical = fromFile("gaussian/radical_utd.log", 2, 0, 0);
    ASSERT_TRUE(radical->getLastError().isEmpty());
    EXPECT_FALSE(radical->calcEnergyTransferRate());
    EXPECT_TRUE(radical->getLastError().contains(QStringLiteral("singlet state 0")));
    EnergyTransferChannels tripletOnly;
    tripletOnly.triplet5D1 = true;
    radical->setEnergyTransferChannels(tripletOnly);
    EXPECT_FALSE(radical->calcEnergyTransferRate());
    EXPECT_TRUE(radical->getLastError().contains(QStringLiteral("RL = 0")));
}

TEST(QuantumYield, EightStatesWithoutFiles)
{
    Calc c(nullptr);
    c.setOmegaValues(10, 5, 0.5);
    c.setOmegaEdValues(3.0, 2.0, 0.6);
    c.setMinDistanceLnLigand(2.4);
    ASSERT_TRUE(c.calcEnergyTransferRate(4.2, 3.9, 28500.0, 21500.0));
    // The key rates are there, so no file is needed.
    ASSERT_TRUE(c.calcQuantumYieldNEW()) << qPrintable(c.getLastError());
    const double expected[8] = {0.05118250283714816, 5.028540565660553e-06, 4.122221906129112e-08,
                                3.942431239765811e-06, 3.942431239765811e-06, 3.942431239765811e-06,
                                0.00026809457328472506, 0.9485325055330631};
    const std::vector<double> n = eightStatePopulations(c);
    double sum = 0.0;
    for (int k = 0; k < 8; ++k) {
        expectRelative(n[std::size_t(k)], expected[k], 1e-10, "population " + std::to_string(k));
        sum += n[std::size_t(k)];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    EXPECT_EQ(c.getPopulation(Calc::UpperTriplet), 0.0);
    expectRelative(c.getQuantumYield(), 78.8670821580425, 1e-10, "yield");
    expectBalanced(eightStateScheme(c), n);
}

TEST(QuantumYield, EightStatesFromTheGaussianFixture)
{
    auto c = fromFile("gaussian/eu_h2o_td.log", 2, 0, 0);
    c->setETModel(1);
    c->setEnergyTransferChannels(allChannels());
    c->setOmegaValues(10, 5, 0.5);
    c->setOmegaEdValues(2.0, 1.5, 0.4);
    c->setLifeTime(0.8e-3);
    // Transfer rates spanning 1e-21 to 4e26 s-1 (the triplet lies 8355 cm-1
    // below 5D4): every population still to full accuracy.
    ASSERT_TRUE(c->calcQuantumYieldNEW()) << qPrintable(c->getLastError());
    EXPECT_NEAR(c->getArad() + c->getAnrad(), 1250.0, 1e-9);
    const double expected[8] = {0.11180475120924635, 5.66819343902797e-09, 8.171339705738358e-05,
                                3.2407268099568334e-22, 1.7657162206131252e-20, 1.655714354344357e-17,
                                0.00021712637087386303, 0.8878964033546289};
    const std::vector<double> n = eightStatePopulations(*c);
    for (int k = 0; k < 8; ++k)
        expectRelative(n[std::size_t(k)], expected[k], 1e-10, "population " + std::to_string(k));
    expectRelative(c->getQuantumYield(), 33.79614085711933, 1e-10, "yield");
    expectBalanced(eightStateScheme(*c), n);
}

TEST(QuantumYield, SevenStatesInTwoTripletMode)
{
    // Upper triplet 3 (300 nm), lower triplet 2 (380 nm), singlet 2; model 2.
    auto c = fromFile("gaussian/eu_h2o_td.log", 2, 3, 0);
    c->setConsiderTwoTriplets(true);
    c->setETModel(2);
    c->setEnergyTransferChannels(allChannels());
    c->setOmegaValues(10, 5, 0.5);
    c->setOmegaEdValues(2.0, 1.5, 0.4);
    c->setLifeTime(0.8e-3);
    ASSERT_TRUE(c->calcQuantumYieldTwoTriplets()) << qPrintable(c->getLastError());

    const double wet[15] = {57603864395.20973, 54878595636.73131, 85505935652.22809, 116723887.12881641,
                            11394019.060322667, 9736628.456845965, 0, 0, 0, 0,
                            436726769.7633893, 180666070.31068105, 709270587.3167038, 4377472637.519714,
                            1313487994.6474917};
    for (int i : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 14}) {
        const bool multipolar = i % 10 < 3 || i == 5;
        expectRelative(multipolar ? c->getWetMM(i) : c->getWetEX(i), wet[i], 1e-12, "channel " + std::to_string(i));
    }
    expectRelative(c->getWbtMM(0), 1345.5967540276781, 1e-12, "wbt 0");
    expectRelative(c->getWbtMM(5), 1.0413954970825831e-05, 1e-12, "wbt 5");
    expectRelative(c->getWbtEX(13), 2.882832653441848e-06, 1e-12, "wbt 13");
    expectRelative(c->getWbtEX(14), 2.11530194247643e-10, 1e-12, "wbt 14");
    // Channels 1..4 take the singlet, 10..14 the lower triplet.
    EXPECT_EQ(c->getEnergyMismatch(2), 31250.0 - 25325.0);
    EXPECT_EQ(c->getEnergyMismatch(5), 1e7 / 300.0 - 27586.0);
    EXPECT_EQ(c->getEnergyMismatch(11), 1e7 / 380.0 - 26752.0);

    const int placeOf[7] = {Calc::S0, Calc::S1, Calc::UpperTriplet, Calc::Triplet, Calc::Level5D4, Calc::Level5D1,
                            Calc::Level5D0};
    const double expected[7] = {0.11086854630759845, 1.92055175815815e-08, 1.7343419213940997e-08,
                                6.421150670435822e-10, 0.0011049940204596366, 0.0011078048615925655,
                                0.8869186176192975};
    double sum = 0.0;
    for (int k = 0; k < 7; ++k) {
        expectRelative(c->getPopulation(placeOf[k]), expected[k], 1e-10, "population " + std::to_string(k));
        sum += c->getPopulation(placeOf[k]);
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    EXPECT_EQ(c->getPopulation(Calc::Level5G6), 0.0); // not part of this model
    EXPECT_EQ(c->getPopulation(Calc::Level5L6), 0.0);
    expectRelative(c->getQuantumYield(), 34.04399300018591, 1e-10, "yield");

    // The model belongs to the two-triplet mode.
    c->setConsiderTwoTriplets(false);
    EXPECT_FALSE(c->calcQuantumYieldTwoTriplets());
}

TEST(QuantumYield, SixStatesUseTheirOwnRatesAndReturnTheSummary)
{
    Calc c(nullptr);
    c.setOmegaEdValues(3.0, 2.0, 0.6);
    c.setMinDistanceLnLigand(2.4);
    const QString summary = c.calcQuantumYield(4.2, 3.9, 28500.0, 21500.0, 600.0, 400.0);
    ASSERT_FALSE(summary.isEmpty()) << qPrintable(c.getLastError());
    const int placeOf[6] = {Calc::S0, Calc::S1, Calc::Triplet, Calc::Level5D4, Calc::Level5D1, Calc::Level5D0};
    const double expected[6] = {0.09168389761866325, 9.007691551549094e-06, 7.317932770898876e-08,
                                7.0621294801738975e-06, 0.00047599267866492147, 0.9078239667023124};
    double sum = 0.0;
    for (int k = 0; k < 6; ++k) {
        expectRelative(c.getPopulation(placeOf[k]), expected[k], 1e-10, "population " + std::to_string(k));
        sum += c.getPopulation(placeOf[k]);
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    expectRelative(c.getQuantumYield(), 59.41003754954992, 1e-10, "yield");
    EXPECT_EQ(c.getArad(), 0.0); // the arguments, not the members
    EXPECT_EQ(summary,
              QStringLiteral("    Energy Transfer Rates\n"
                             "      WetMM (Singlet -> 5D4) = 7.92e+05 s^-1 \n"
                             "      WetEX (Triplet -> 5D1) = 6.72e+09 s^-1 \n"
                             "      WetEX (Triplet -> 5D0) = 6.03e+09 s^-1  \n\n"
                             "    Energy Back-Transfer Rates\n"
                             "      WbtMM (Singlet -> 5D4) = 9.88e+03 s^-1 \n"
                             "      WbtEX (Triplet -> 5D1) = 4.75e+04 s^-1 \n"
                             "      WbtEX (Triplet -> 5D0) = 1.04e+01 s^-1 \n\n")
                  + QString(23, QLatin1Char(' ')) + QString(29, QLatin1Char('-')) + QStringLiteral("\n")
                  + QString(28, QLatin1Char(' ')) + QStringLiteral("Quantum Yield: 59.41 %\n")
                  + QString(23, QLatin1Char(' ')) + QString(29, QLatin1Char('-')) + QStringLiteral("\n"));

    EXPECT_TRUE(c.calcQuantumYield(4.2, 3.9, 28500.0, 21500.0, 0.0, 0.0).isEmpty());
    EXPECT_FALSE(c.getLastError().isEmpty());
}

TEST(QuantumYield, Limits)
{
    // No transfer at all: the Eu3+ levels stay empty and the yield is 0.
    auto c = fromFile("gaussian/eu_h2o_td.log", 2, 0, 0);
    c->setEnergyTransferChannels(EnergyTransferChannels {}); // nothing computed, every rate 0
    c->setOmegaValues(10, 5, 0.5);
    ASSERT_TRUE(c->calcQuantumYieldNEW()) << qPrintable(c->getLastError());
    for (int slot : {Calc::Level5D4, Calc::Level5G6, Calc::Level5L6, Calc::Level5D1, Calc::Level5D0})
        EXPECT_EQ(c->getPopulation(slot), 0.0) << slot;
    EXPECT_EQ(c->getQuantumYield(), 0.0);

    // A very fast singlet -> 5D4 transfer without back-transfer (the singlet
    // 10000 cm-1 above 5D4, 0.5 Angstrom away): N(5D0) tends to
    // 1e4 N(S0) / (Arad + Anrad) and the yield to the quantum efficiency.
    Calc fast(nullptr);
    fast.setOmegaValues(10, 5, 0.5);
    fast.setOmegaEdValues(3.0, 2.0, 0.6);
    fast.setETModel(2);
    ASSERT_TRUE(fast.calcEnergyTransferRate(0.5, 3.9, 37586.0, 30000.0));
    ASSERT_GT(fast.getWetMM(0), 1e13);
    ASSERT_LT(fast.getWbtMM(0), 1e-3);
    ASSERT_TRUE(fast.calcQuantumYieldNEW());
    const double decay = fast.getArad() + fast.getAnrad();
    EXPECT_NEAR(fast.getPopulation(Calc::Level5D0) / (1e4 * fast.getPopulation(Calc::S0) / decay), 1.0, 1e-5);
    EXPECT_NEAR(fast.getQuantumYield() / fast.getQuantumEfficiency(), 1.0, 1e-5);
}

// The gap rule on distances alone: the shell ends after the first sorted
// distance whose successor lies more than 0.35 Angstrom further out.
TEST(CoordinationNumber, TheFirstGapWiderThanTheLimitEndsTheShell)
{
    const struct
    {
        QVector<double> distances;
        int expected;
    } cases[] = {
        {{2.44, 2.35, 2.80, 2.40}, 3}, // sorted 2.35 2.40 2.44 | 2.80: gap 0.36
        {{2.80, 2.44, 2.40, 2.35}, 3},
        {{2.35, 2.40, 2.70}, 3},       // gaps 0.05 and 0.30
        {{2.50}, 1},
        {{}, 0},
        {{2.0, 2.3499}, 2},            // just inside the limit
        {{2.0, 2.3501}, 1},            // just beyond it
        {{2.4, 2.5, 3.2, 3.3}, 2},     // only the first gap counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<double>(c.distances.begin(), c.distances.end())));
        EXPECT_EQ(OrvaneSpectroscopicCalculation::coordinationNumber(c.distances), c.expected);
    }
}
