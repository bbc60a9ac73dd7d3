#include "omegareference.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"

#include <gtest/gtest.h>

#include <memory>

using namespace OmegaReference;

namespace {

constexpr int lambdas[] = {2, 4, 6};

double relativeDifference(double a, double b)
{
    const double scale = std::max(std::abs(a), std::abs(b));
    return scale == 0.0 ? 0.0 : std::abs(a - b) / scale;
}

// An intensity calculation on a geometry held in memory, with the caller-owned
// g and alpha arrays that the object points into.
struct Calculation {
    std::array<double, 32> g {};
    std::array<double, 32> alpha {};
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    std::unique_ptr<OrvaneOmega> omega;

    explicit Calculation(const Geometry& geometry, const QVector<Coord>& extra = trailingAtoms())
        : g(geometry.chargeFactors())
        , alpha(geometry.polarizabilities())
        , omega(new OrvaneOmega(nullptr, geometry.atoms(extra)))
    {
        omega->setCoordNumber(geometry.donors.size());
        omega->setChargeFactorAndAlpha(gPointer, alphaPointer);
    }
};

using Evaluation = bool (OrvaneOmega::*)();
const struct {
    const char* name;
    Evaluation evaluate;
} evaluations[] = {{"cached", &OrvaneOmega::calcOmega}, {"direct", &OrvaneOmega::calcOmegaDirect}};

void expectAgreesWithReference(const OrvaneOmega& omega, const Geometry& geometry, double tolerance)
{
    for (int lambda : lambdas) {
        SCOPED_TRACE(testing::Message() << "lambda " << lambda);
        EXPECT_LE(relativeDifference(omega.getOmega(lambda), geometry.omega(lambda)), tolerance);
        EXPECT_LE(relativeDifference(omega.getOmegaED(lambda), geometry.omega(lambda, Part::ForcedDipole)), tolerance);
        EXPECT_LE(relativeDifference(omega.getOmegaDC(lambda), geometry.omega(lambda, Part::DynamicCoupling)),
            tolerance);
    }
}

} // namespace

TEST(OrvaneOmegaModel, AgreesWithTheAdditionTheoremOnAnAsymmetricComplex)
{
    const Geometry geometry = asymmetricComplex();
    for (const auto& evaluation : evaluations) {
        SCOPED_TRACE(evaluation.name);
        Calculation c(geometry);
        ASSERT_TRUE(c.omega->getLastError().isEmpty()) << qPrintable(c.omega->getLastError());
        ASSERT_TRUE(((*c.omega).*evaluation.evaluate)()) << qPrintable(c.omega->getLastError());
        expectAgreesWithReference(*c.omega, geometry, 1e-10);
        // The two mechanisms interfere: Omega is not the sum of its parts here.
        EXPECT_GT(relativeDifference(c.omega->getOmega(2), c.omega->getOmegaED(2) + c.omega->getOmegaDC(2)), 1e-3);
    }
}

TEST(OrvaneOmegaModel, OneOxygenOnTheZAxis)
{
    Geometry geometry;
    geometry.eu = atom("Eu", 0, 0, 0);
    geometry.donors = {Donor {QStringLiteral("O"), 0, 0, 2.4, 1.0, 2e-24}};
    Calculation c(geometry, {});
    ASSERT_TRUE(c.omega->calcOmega());
    EXPECT_NEAR(c.omega->getOmega(2) / 1e-20, 1.778, 5e-4);
    EXPECT_NEAR(c.omega->getOmega(4) / 1e-22, 8.084, 5e-4);
    EXPECT_NEAR(c.omega->getOmega(6) / 1e-22, 3.025, 5e-4);
    // All digits, from omega_reference.py with the stored harmonic constants.
    EXPECT_LE(relativeDifference(c.omega->getOmega(2), 1.778147681736104e-20), 1e-12);
    EXPECT_LE(relativeDifference(c.omega->getOmega(4), 8.083811960491492e-22), 1e-12);
    EXPECT_LE(relativeDifference(c.omega->getOmega(6), 3.0248559066122706e-22), 1e-12);
}

TEST(OrvaneOmegaModel, NoDonorGivesZerosAndSucceeds)
{
    OrvaneOmega omega(nullptr, asymmetricComplex().atoms());
    ASSERT_TRUE(omega.getLastError().isEmpty());
    // N = 0 needs no g and alpha arrays.
    for (const auto& evaluation : evaluations) {
        SCOPED_TRACE(evaluation.name);
        EXPECT_TRUE((omega.*evaluation.evaluate)());
        for (int lambda : lambdas) {
            EXPECT_EQ(omega.getOmega(lambda), 0.0);
            EXPECT_EQ(omega.getOmegaED(lambda), 0.0);
            EXPECT_EQ(omega.getOmegaDC(lambda), 0.0);
        }
        EXPECT_EQ(omega.getRMin(), 10000.0);
    }
}

TEST(OrvaneOmegaModel, EachMechanismAloneWhenTheOtherIsSwitchedOff)
{
    for (const auto& evaluation : evaluations) {
        SCOPED_TRACE(evaluation.name);
        Geometry noCharge = asymmetricComplex();
        for (Donor& d : noCharge.donors)
            d.g = 0.0;
        Calculation dynamicOnly(noCharge);
        ASSERT_TRUE(((*dynamicOnly.omega).*evaluation.evaluate)());

        Geometry noPolarizability = asymmetricComplex();
        for (Donor& d : noPolarizability.donors)
            d.alpha = 0.0;
        Calculation forcedOnly(noPolarizability);
        ASSERT_TRUE(((*forcedOnly.omega).*evaluation.evaluate)());

        for (int lambda : lambdas) {
            SCOPED_TRACE(testing::Message() << "lambda " << lambda);
            EXPECT_EQ(dynamicOnly.omega->getOmegaED(lambda), 0.0);
            EXPECT_GT(dynamicOnly.omega->getOmegaDC(lambda), 0.0);
            EXPECT_DOUBLE_EQ(dynamicOnly.omega->getOmega(lambda), dynamicOnly.omega->getOmegaDC(lambda));
            EXPECT_EQ(forcedOnly.omega->getOmegaDC(lambda), 0.0);
            EXPECT_GT(forcedOnly.omega->getOmegaED(lambda), 0.0);
            EXPECT_DOUBLE_EQ(forcedOnly.omega->getOmega(lambda), forcedOnly.omega->getOmegaED(lambda));
        }
    }
}

TEST(OrvaneOmegaModel, SulphurDonorAddsToTheDynamicCouplingOnly)
{
    // The S donor is last and not the nearest, so dropping it (N = 8) keeps rMin.
    Geometry geometry = asymmetricComplex();
    const Donor sulphur = geometry.donors.takeAt(5);
    ASSERT_EQ(sulphur.label, QStringLiteral("S"));
    geometry.donors.append(sulphur);

    Calculation withSulphur(geometry);
    Calculation withoutSulphur(geometry);
    withoutSulphur.omega->setCoordNumber(8);
    ASSERT_TRUE(withSulphur.omega->calcOmega());
    ASSERT_TRUE(withoutSulphur.omega->calcOmega());
    EXPECT_EQ(withSulphur.omega->getRMin(), withoutSulphur.omega->getRMin());
    EXPECT_GT(withSulphur.omega->getRo(10), 0.0);
    EXPECT_EQ(withSulphur.omega->getBeta(10), 0.0);
    for (int lambda : lambdas) {
        SCOPED_TRACE(testing::Message() << "lambda " << lambda);
        EXPECT_DOUBLE_EQ(withSulphur.omega->getOmegaED(lambda), withoutSulphur.omega->getOmegaED(lambda));
        EXPECT_GT(relativeDifference(withSulphur.omega->getOmegaDC(lambda), withoutSulphur.omega->getOmegaDC(lambda)),
            1e-3);
    }
}

TEST(OrvaneOmegaModel, NearestDonorHasTheFullOverlap)
{
    const struct {
        const char* label;
        double beta;
    } cases[] = {{"O", 1 / 1.05}, {"F", 1 / 1.05}, {"N", 1 / 0.95}, {"Cl", 1 / 0.95}, {"S", 0.0}, {"Br", 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Geometry geometry = asymmetricComplex();
        // Donor 4 (atom 6) moved in to 2.1 Angstrom along its own direction.
        Donor& nearest = geometry.donors[4];
        const double scale = 2.1 / geometry.distance(4);
        nearest.label = QString::fromLatin1(c.label);
        nearest.x = geometry.eu.x + (nearest.x - geometry.eu.x) * scale;
        nearest.y = geometry.eu.y + (nearest.y - geometry.eu.y) * scale;
        nearest.z = geometry.eu.z + (nearest.z - geometry.eu.z) * scale;
        Calculation calc(geometry);
        ASSERT_TRUE(calc.omega->calcOmega());
        EXPECT_NEAR(calc.omega->getRMin(), 2.1, 1e-12);
        EXPECT_DOUBLE_EQ(calc.omega->getRo(6), 0.05);
        EXPECT_DOUBLE_EQ(calc.omega->getBeta(6), c.beta);
        for (int atom = 2; atom <= 10; ++atom)
            if (atom != 6)
                EXPECT_LT(calc.omega->getRo(atom), 0.05);
        expectAgreesWithReference(*calc.omega, geometry, 1e-10);
    }
}

TEST(OrvaneOmegaConstruction, FirstAtomMustBeEuropium)
{
    for (const char* label : {"EU", "Tb", "eu", "O"}) {
        SCOPED_TRACE(label);
        QVector<Coord> atoms = asymmetricComplex().atoms();
        atoms[0].label = QString::fromLatin1(label);
        OrvaneOmega omega(nullptr, atoms);
        EXPECT_EQ(omega.getLastError(), QString::fromLatin1(label) + QStringLiteral(" atoms[0] isn't Eu"));
        // Such an object refuses to calculate instead of using half-built state.
        omega.setCoordNumber(9);
        EXPECT_FALSE(omega.calcOmega());
        EXPECT_TRUE(omega.getLastError().startsWith(
            QStringLiteral("The intensity parameters cannot be calculated: the geometry was not loaded.")));
        EXPECT_FALSE(omega.calcOmegaDirect());
    }
}

TEST(OrvaneOmegaConstruction, EmptyGeometryFails)
{
    OrvaneOmega omega(nullptr, QVector<Coord>());
    EXPECT_TRUE(omega.getLastError().contains(QStringLiteral("The vector of cartesian coordinates empty")));
    EXPECT_FALSE(omega.calcOmega());
}

TEST(OrvaneOmegaConstruction, SuccessSetsTheReportDefaults)
{
    OrvaneOmega omega(nullptr, asymmetricComplex().atoms());
    const OmegaPrintingOptions o = omega.getOmegaPrintingOptions();
    const bool first17[] = {o.betaAndRo, o.bltpParameters, o.bltpParametersDC, o.bltpParametersED,
        o.constantValues, o.GAMA, o.sumGAMA, o.gAndAlpha, o.omega, o.omegaDC, o.omegaED,
        o.sphericalCoordinates, o.sphericalHarmonicals, o.gama, o.sumgama, o.arad, o.ligandContributionForArad};
    for (bool flag : first17)
        EXPECT_TRUE(flag);
    EXPECT_FALSE(o.bkq);
    EXPECT_EQ(omega.getRefractiveIndex(), 1.5);
    EXPECT_EQ(omega.getCoordNumber(), 0);
    for (int lambda : lambdas)
        EXPECT_EQ(omega.getOmega(lambda), 0.0);
}

TEST(OrvaneOmegaInputs, UnusableInputsAreRefusedWithAReason)
{
    // 30 donors on a spiral, enough atoms for N = 29.
    Geometry large;
    large.eu = atom("Eu", 0, 0, 0);
    for (int i = 0; i < 30; ++i) {
        const double z = 1.0 - (2.0 * i + 1.0) / 30.0;
        const double phi = 2.399963229728653 * i;
        const double r = 2.4 + 0.01 * i;
        const double s = std::sqrt(1.0 - z * z);
        large.donors.append(Donor {QStringLiteral("O"), r * s * std::cos(phi), r * s * std::sin(phi), r * z, 1.0, 1e-24});
    }
    Geometry onTheIon = asymmetricComplex();
    onTheIon.donors[3].x = onTheIon.eu.x;
    onTheIon.donors[3].y = onTheIon.eu.y;
    onTheIon.donors[3].z = onTheIon.eu.z;

    const struct {
        const char* name;
        Geometry geometry;
        int coordNumber;
        bool withArrays;
        const char* reason;
    } cases[] = {
        {"N above 28", large, 29, true, "outside the range 0 to 28"},
        {"negative N", asymmetricComplex(), -1, true, "outside the range 0 to 28"},
        {"N past the atoms", asymmetricComplex(), 12, true, "the geometry has only 12 atoms"},
        {"arrays not set", asymmetricComplex(), 9, false, "are not set"},
        {"donor on the ion", onTheIon, 9, true, "Atom 5 (N) lies on the Eu ion"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& evaluation : evaluations) {
            SCOPED_TRACE(evaluation.name);
            Calculation calc(c.geometry, trailingAtoms());
            // A valid first run on three donors, so that the clearing is seen.
            calc.omega->setCoordNumber(3);
            ASSERT_TRUE(calc.omega->calcOmega());
            ASSERT_GT(calc.omega->getOmega(2), 0.0);
            calc.omega->setCoordNumber(c.coordNumber);
            if (!c.withArrays) {
                double* none = nullptr;
                calc.omega->setChargeFactorAndAlpha(none, none);
            }
            EXPECT_FALSE(((*calc.omega).*evaluation.evaluate)());
            EXPECT_TRUE(calc.omega->getLastError().contains(QString::fromLatin1(c.reason)))
                << qPrintable(calc.omega->getLastError());
            for (int lambda : lambdas)
                EXPECT_EQ(calc.omega->getOmega(lambda), 0.0);
        }
    }
}

TEST(OrvaneOmegaCache, EqualsTheDirectEvaluationWhileGAlphaAndNChange)
{
    const Geometry geometry = asymmetricComplex();
    Calculation kept(geometry);
    // Steps as a fit makes them: g and alpha refilled in place, N changed at times.
    const struct {
        int coordNumber;
        double gScale, alphaScale;
    } steps[] = {{9, 1.0, 1.0}, {9, 0.5, 2.0}, {9, 1.7, 0.0}, {4, 1.0, 1.0}, {4, 1.3, 0.2}, {9, 1.0, 1.0},
        {0, 1.0, 1.0}, {9, 0.0, 1.4}, {6, 2.0, 0.7}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "N " << step.coordNumber << " g x" << step.gScale << " alpha x"
                                        << step.alphaScale);
        for (int d = 0; d < geometry.donors.size(); ++d) {
            kept.g[d + 2] = geometry.donors.at(d).g * step.gScale * (1.0 + 0.1 * d);
            kept.alpha[d + 2] = geometry.donors.at(d).alpha * step.alphaScale * (1.0 - 0.05 * d);
        }
        kept.omega->setCoordNumber(step.coordNumber);
        ASSERT_TRUE(kept.omega->calcOmega());

        Calculation fresh(geometry);
        fresh.g = kept.g;
        fresh.alpha = kept.alpha;
        fresh.omega->setCoordNumber(step.coordNumber);
        ASSERT_TRUE(fresh.omega->calcOmegaDirect());

        EXPECT_EQ(kept.omega->getRMin(), fresh.omega->getRMin());
        for (int atom = 0; atom < 30; ++atom) {
            EXPECT_EQ(kept.omega->getRo(atom), fresh.omega->getRo(atom)) << "atom " << atom;
            EXPECT_EQ(kept.omega->getBeta(atom), fresh.omega->getBeta(atom)) << "atom " << atom;
        }
        for (int lambda : lambdas) {
            SCOPED_TRACE(testing::Message() << "lambda " << lambda);
            EXPECT_LE(relativeDifference(kept.omega->getOmega(lambda), fresh.omega->getOmega(lambda)), 1e-12);
            EXPECT_LE(relativeDifference(kept.omega->getOmegaED(lambda), fresh.omega->getOmegaED(lambda)), 1e-12);
            EXPECT_LE(relativeDifference(kept.omega->getOmegaDC(lambda), fresh.omega->getOmegaDC(lambda)), 1e-12);
        }
    }
}

TEST(OrvaneOmegaCache, DirectEvaluationBetweenCachedCallsChangesNothing)
{
    Calculation c(asymmetricComplex());
    ASSERT_TRUE(c.omega->calcOmega());
    const double before = c.omega->getOmega(4);
    c.omega->setCoordNumber(5);
    ASSERT_TRUE(c.omega->calcOmegaDirect());
    c.omega->setCoordNumber(9);
    ASSERT_TRUE(c.omega->calcOmega());
    EXPECT_EQ(c.omega->getOmega(4), before);
    EXPECT_DOUBLE_EQ(c.omega->getRo(6), asymmetricComplex().rho(4));
}
