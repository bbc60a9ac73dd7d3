// Ion-to-ion transfer rates checked against an evaluation written here from
// CODATA constants (hbar, e, a0, h c) and an overlap integral summed
// numerically over the two Gaussian bands, not from the closed form.

#include "orvaneioniontransfer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace T = OrvaneIonIonTransfer;

namespace {

constexpr double hbar = 1.054571817e-27;         // erg s
constexpr double charge = 4.803204712570263e-10; // esu
constexpr double bohr = 0.529177210903e-8;       // cm
constexpr double ergPerWavenumber = 6.62607015e-27 * 2.99792458e10;
constexpr double piExact = 3.141592653589793;

// A Gaussian band normalised to unit area, half-width at half maximum gamma.
double band(double x, double centre, double gamma)
{
    const double u = (x - centre) / gamma;
    return std::sqrt(std::log(2.0) / piExact) / gamma * std::exp(-std::log(2.0) * u * u);
}

// Overlap of the donor band (centred at delta) with the acceptor band (at 0),
// per erg, by Simpson's rule far into both tails.
double overlapByQuadrature(double delta, double gD, double gA)
{
    const double from = std::min(0.0, delta) - 12.0 * std::max(gD, gA);
    const double to = std::max(0.0, delta) + 12.0 * std::max(gD, gA);
    const int n = 200000;
    const double h = (to - from) / n;
    double sum = 0.0;
    for (int i = 0; i <= n; ++i) {
        const double x = from + i * h;
        const double w = (i == 0 || i == n) ? 1.0 : (i % 2 ? 4.0 : 2.0);
        sum += w * band(x, delta, gD) * band(x, 0.0, gA);
    }
    return sum * h / 3.0 / ergPerWavenumber;
}

struct Ion
{
    const char* symbol;
    int J;
    double gamma, sigma, sigmaQ, r2, u2;
};

// The ion table in physical units, written out from the model.
Ion ion(const char* symbol, int J)
{
    const double a2 = bohr * bohr;
    if (std::string(symbol) == "Eu")
        return {symbol, J, 410.0, 0.8, 0.502, 0.9175 * a2, J == 0 ? 0.0032 : J == 1 ? 0.0038 : 0.0};
    return {symbol, J, 3250.0, 0.8, 0.486, 0.822 * a2, J == 4 ? 0.0009 : 0.0};
}

T::Rates expected(const Ion& d, const Ion& a, double delta, double angstrom)
{
    const double F = overlapByQuadrature(delta, d.gamma, a.gamma);
    const double R = angstrom * 1e-8;
    const double g = (2 * d.J + 1) * (2 * a.J + 1);
    const double e4 = std::pow(charge, 4);
    const double c2 = 1.366 * 1.366;
    const double omega = 1e-20;
    T::Rates r;
    r.dd = F * std::pow((1 - d.sigma) * (1 - a.sigma), 2) / g * (4 * piExact / (3 * hbar)) * e4 / std::pow(R, 6)
        * omega * omega;
    r.qq = F * std::pow((1 - d.sigmaQ) * (1 - a.sigmaQ), 2) / g * (2 * piExact / hbar) * 2.8 * e4 / std::pow(R, 10)
        * std::pow(d.r2 * a.r2, 2) * c2 * c2 * d.u2 * a.u2;
    r.dq = F * std::pow((1 - d.sigma) * (1 - a.sigmaQ), 2) / g * (2 * piExact / hbar) * e4 / std::pow(R, 8) * omega
        * a.r2 * a.r2 * c2 * a.u2;
    const double overlap = 2 * 155.6608 * std::exp(-angstrom / 0.26226);
    const double X = charge * charge / R * overlap * overlap;
    r.ex = 2 * piExact / hbar * X * X * F;
    return r;
}

void expectRelative(double actual, double reference, double tolerance, const char* what)
{
    if (reference == 0.0)
        EXPECT_EQ(actual, 0.0) << what;
    else
        EXPECT_NEAR(actual / reference, 1.0, tolerance) << what << ": " << actual << " vs " << reference;
}

} // namespace

TEST(IonIonTransfer, EnergyMismatchOnlyForTbEuFromJ4IntoJ0OrJ1)
{
    struct Case
    {
        const char* donor;
        const char* acceptor;
        int jD, jA;
        double delta;
    };
    const Case cases[] = {
        {"Tb", "Eu", 4, 0, 3275.0}, {"Tb", "Eu", 4, 1, 1541.0}, {"Eu", "Tb", 4, 0, 3275.0},
        {"Eu", "Tb", 4, 1, 1541.0}, {"Tb", "Eu", 4, 2, 0.0},    {"Tb", "Eu", 3, 0, 0.0},
        {"Tb", "Tb", 4, 0, 0.0},    {"Eu", "Eu", 4, 1, 0.0},    {"Gd", "Eu", 4, 0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(T::energyMismatch(QString::fromLatin1(c.donor), QString::fromLatin1(c.acceptor), c.jD, c.jA),
                  c.delta)
            << c.donor << c.jD << " -> " << c.acceptor << c.jA;
}

TEST(IonIonTransfer, IonConstantsByElementAndLevel)
{
    struct Case
    {
        const char* symbol;
        int J;
        double gamma, sigmaQ, r2OverA02, u2;
    };
    const Case cases[] = {
        {"Eu", 0, 410.0, 0.502, 0.9175, 0.0032}, {"Eu", 1, 410.0, 0.502, 0.9175, 0.0038},
        {"Eu", 2, 410.0, 0.502, 0.9175, 0.0},    {"Tb", 4, 3250.0, 0.486, 0.822, 0.0009},
        {"Tb", 0, 3250.0, 0.486, 0.822, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.symbol) + std::to_string(c.J));
        const T::IonConstants k = T::ionConstants(QString::fromLatin1(c.symbol), c.J, 410.0, 3250.0);
        EXPECT_EQ(k.halfWidth, c.gamma);
        EXPECT_EQ(k.shieldingDipole, 0.8);
        EXPECT_EQ(k.shieldingQuadrupole, c.sigmaQ);
        EXPECT_NEAR(k.radialIntegral2 / (bohr * bohr), c.r2OverA02, 1e-9);
        EXPECT_EQ(k.u2, c.u2);
    }
    const T::IonConstants gd = T::ionConstants(QStringLiteral("Gd"), 4, 410.0, 3250.0);
    EXPECT_EQ(gd.halfWidth, 0.0);
    EXPECT_EQ(gd.shieldingDipole, 0.0);
    EXPECT_EQ(gd.radialIntegral2, 0.0);
    EXPECT_EQ(gd.u2, 0.0);
}

TEST(IonIonTransfer, OverlapFactorIsTheIntegralOfTwoGaussianBands)
{
    struct Case
    {
        double delta, gD, gA;
    };
    // Resonant (the exponential factor is 1), the two Tb -> Eu mismatches,
    // equal widths and a negative mismatch.
    const Case cases[] = {{0, 3250, 410}, {3275, 3250, 410}, {1541, 3250, 410}, {500, 800, 800}, {-700, 410, 3250}};
    for (const Case& c : cases)
        expectRelative(T::overlapFactor(c.delta, c.gD, c.gA), overlapByQuadrature(c.delta, c.gD, c.gA), 1e-6,
                       "F");
    // Resonance: the closed form reduces to its prefactor.
    const double g = std::sqrt(1 / (3250.0 * 3250.0) + 1 / (410.0 * 410.0));
    expectRelative(T::overlapFactor(0, 3250, 410),
                   std::log(2.0) / std::sqrt(piExact) / (3250.0 * 410.0) / std::sqrt(std::log(2.0)) / g
                       / ergPerWavenumber,
                   1e-6, "F(0)");
}

TEST(IonIonTransfer, FourRatesAgainstIndependentEvaluation)
{
    struct Case
    {
        Ion donor, acceptor;
        double angstrom;
    };
    const Case cases[] = {
        {ion("Tb", 4), ion("Eu", 0), 4.2},  // mismatch 3275
        {ion("Tb", 4), ion("Eu", 1), 6.5},  // mismatch 1541
        {ion("Tb", 4), ion("Eu", 2), 5.0},  // resonant, no acceptor U(2): qq and dq vanish
        {ion("Eu", 1), ion("Tb", 4), 3.9},  // the reverse direction, resonant
        {ion("Eu", 0), ion("Eu", 1), 9.99}, // two europium ions near the listing limit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.donor.symbol) + std::to_string(c.donor.J) + " -> " + c.acceptor.symbol
                     + std::to_string(c.acceptor.J) + " at " + std::to_string(c.angstrom));
        const QString d = QString::fromLatin1(c.donor.symbol);
        const QString a = QString::fromLatin1(c.acceptor.symbol);
        const double delta = T::energyMismatch(d, a, c.donor.J, c.acceptor.J);
        const T::Rates got = T::transferRates(T::ionConstants(d, c.donor.J, 410.0, 3250.0), c.donor.J,
                                              T::ionConstants(a, c.acceptor.J, 410.0, 3250.0), c.acceptor.J,
                                              delta, c.angstrom);
        const T::Rates want = expected(c.donor, c.acceptor, delta, c.angstrom);
        expectRelative(got.dd, want.dd, 1e-6, "dd");
        expectRelative(got.qq, want.qq, 1e-6, "qq");
        expectRelative(got.dq, want.dq, 1e-6, "dq");
        expectRelative(got.ex, want.ex, 1e-6, "ex");
        EXPECT_GT(got.dd, 0.0);
    }
}

TEST(IonIonTransfer, RatesFallWithDistanceByTheirPowerLaws)
{
    const T::IonConstants tb = T::ionConstants(QStringLiteral("Tb"), 4, 410.0, 3250.0);
    const T::IonConstants eu = T::ionConstants(QStringLiteral("Eu"), 0, 410.0, 3250.0);
    const T::Rates near = T::transferRates(tb, 4, eu, 0, 3275.0, 4.0);
    const T::Rates far = T::transferRates(tb, 4, eu, 0, 3275.0, 8.0);
    EXPECT_NEAR(near.dd / far.dd, 64.0, 1e-9);
    EXPECT_NEAR(near.dq / far.dq, 256.0, 1e-9);
    EXPECT_NEAR(near.qq / far.qq, 1024.0, 1e-9);
    // Exchange: (1/R^2) e^(-4R/L) per doubling.
    EXPECT_NEAR(near.ex / far.ex, 4.0 * std::exp(4.0 * 4.0 / 0.26226), 1e-9 * 4.0 * std::exp(4.0 * 4.0 / 0.26226));
}
