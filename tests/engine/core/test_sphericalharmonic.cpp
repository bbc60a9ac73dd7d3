#include "sphericalharmonic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double pi = std::acos(-1.0);

double factorial(int n)
{
    double f = 1.0;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

// Y_k^q by the exact Condon-Shortley normalisation, with the associated
// Legendre function of the standard library (which carries no phase).
MyComplex referenceHarmonic(int k, int q, double thetaDeg, double phiDeg)
{
    const double theta = thetaDeg * pi / 180.0;
    const double phi = phiDeg * pi / 180.0;
    const double norm = std::sqrt((2 * k + 1) / (4 * pi) * factorial(k - q) / factorial(k + q));
    const double phase = (q % 2 == 0) ? 1.0 : -1.0;
    const double a = phase * norm * std::assoc_legendre(k, q, std::cos(theta));
    return {a * std::cos(q * phi), a * std::sin(q * phi)};
}

CoordSPH at(double theta, double phi, double r = 2.4, const char* label = "O")
{
    CoordSPH p;
    p.label = QString::fromLatin1(label);
    p.r = r;
    p.theta = theta;
    p.phi = phi;
    return p;
}

struct Angles {
    double theta;
    double phi;
};

} // namespace

TEST(SphericalHarmonic, EveryRankAndOrderMatchesExactNormalisation)
{
    const Angles angles[] = {{37.0, 23.0}, {71.3, 251.7}, {123.9, 310.2}, {141.0, 95.0}};
    for (int k = 1; k <= 7; ++k) {
        for (int q = 0; q <= k; ++q) {
            for (const Angles& a : angles) {
                const MyComplex y = sphericalHarmonic(at(a.theta, a.phi), k, q);
                const MyComplex ref = referenceHarmonic(k, q, a.theta, a.phi);
                const double size = std::hypot(ref.re, ref.im);
                SCOPED_TRACE(testing::Message() << "k=" << k << " q=" << q << " theta=" << a.theta);
                ASSERT_GT(size, 1e-3); // angles chosen away from nodes
                EXPECT_NEAR(y.re, ref.re, 1e-9 * size);
                EXPECT_NEAR(y.im, ref.im, 1e-9 * size);
            }
        }
    }
}

TEST(SphericalHarmonic, ZeroPolarAngleKeepsOnlyOrderZero)
{
    struct Case {
        int k;
        double y0;
    };
    const Case cases[] = {{1, 0.488602511871}, {3, 0.74635266513}, {4, 0.846284375264},
                          {6, 1.0171072362144}, {7, 1.09254843052}};
    for (const Case& c : cases) {
        for (double phi : {0.0, 77.0, 300.0}) {
            EXPECT_NEAR(sphericalHarmonic(at(0.0, phi), c.k, 0).re, c.y0, 1e-12) << c.k;
            for (int q = 1; q <= c.k; ++q) {
                const MyComplex y = sphericalHarmonic(at(0.0, phi), c.k, q);
                EXPECT_EQ(y.re, 0.0);
                EXPECT_EQ(y.im, 0.0);
            }
        }
    }
}

TEST(SphericalHarmonic, SpecialDirections)
{
    EXPECT_NEAR(sphericalHarmonic(at(180.0, 0.0), 1, 0).re, -0.488602511871, 1e-12);
    const MyComplex y11 = sphericalHarmonic(at(90.0, 0.0), 1, 1);
    EXPECT_NEAR(y11.re, -0.345494149448, 1e-12);
    EXPECT_NEAR(y11.im, 0.0, 1e-15);
}

TEST(SphericalHarmonic, OrderZeroIsRealAndIgnoresAzimuth)
{
    for (int k = 1; k <= 7; ++k) {
        const MyComplex a = sphericalHarmonic(at(52.0, 10.0), k, 0);
        const MyComplex b = sphericalHarmonic(at(52.0, 199.0), k, 0);
        EXPECT_EQ(a.im, 0.0);
        EXPECT_EQ(a.re, b.re);
    }
}

TEST(SphericalHarmonic, DistanceAndLabelAreIgnoredAndAnglesArePeriodic)
{
    const MyComplex base = sphericalHarmonic(at(48.0, 33.0, 2.4, "O"), 5, 3);
    const MyComplex other = sphericalHarmonic(at(48.0, 33.0, 9.9, "N"), 5, 3);
    EXPECT_EQ(base.re, other.re);
    EXPECT_EQ(base.im, other.im);
    const MyComplex wrapped = sphericalHarmonic(at(48.0, 33.0 + 720.0), 5, 3);
    EXPECT_NEAR(wrapped.re, base.re, 1e-12);
    EXPECT_NEAR(wrapped.im, base.im, 1e-12);
    const MyComplex negative = sphericalHarmonic(at(48.0, 33.0 - 360.0), 5, 3);
    EXPECT_NEAR(negative.re, base.re, 1e-12);
    EXPECT_NEAR(negative.im, base.im, 1e-12);
}

TEST(SphericalHarmonic, OutsideTheDomainGivesZero)
{
    for (auto kq : {std::pair<int, int>{0, 0}, {8, 0}, {3, 4}, {3, -1}}) {
        const MyComplex y = sphericalHarmonic(at(40.0, 40.0), kq.first, kq.second);
        EXPECT_EQ(y.re, 0.0);
        EXPECT_EQ(y.im, 0.0);
    }
}
