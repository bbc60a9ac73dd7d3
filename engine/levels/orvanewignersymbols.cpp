#include "orvanewignersymbols.h"

#include <algorithm>
#include <cmath>
#include <mutex>

double OrvaneWignerSymbols::fact[OrvaneWignerSymbols::factorialCount] = {};
int OrvaneWignerSymbols::factFills = 0;

namespace {

bool isInteger(double x)
{
    return std::isfinite(x) && x == std::trunc(x);
}

// (-1)^e for an integral e, negative ones included.
double parity(long long e)
{
    return (e % 2 == 0) ? 1.0 : -1.0;
}

// Truncates toward zero into `out`; false for values no sum of angular
// momenta can reach (NaN, infinities, absurd magnitudes).
bool truncated(double x, long long& out)
{
    if (!(std::fabs(x) < 1.0e9))
        return false;
    out = static_cast<long long>(x);
    return true;
}

// Factorials looked up by truncated argument; any argument outside the table
// marks the whole symbol as zero.
class FactorialLookup
{
public:
    FactorialLookup(const double* table, int count) : table(table), count(count) {}

    double operator()(double x)
    {
        if (!(x > -1.0 && x < count)) {
            outside = true;
            return 1.0;
        }
        return table[static_cast<int>(x)];
    }
    bool outsideTable() const { return outside; }

private:
    const double* table;
    int count;
    bool outside = false;
};

} // namespace

void OrvaneWignerSymbols::calcFact()
{
    fact[0] = 1.0;
    for (int i = 1; i < factorialCount; ++i)
        fact[i] = i * fact[i - 1];
    ++factFills;
}

void OrvaneWignerSymbols::ensureFactorials()
{
    static std::once_flag filled;
    std::call_once(filled, calcFact);
}

int OrvaneWignerSymbols::triangleConditions(const double& a, const double& b, const double& c)
{
    // Written so that a NaN fails.
    return (a <= b + c && b <= a + c && c <= a + b) ? 1 : 0;
}

double OrvaneWignerSymbols::delta(const double& a, const double& b, const double& c)
{
    FactorialLookup f(fact, factorialCount);
    const double value = f(a - b + c) * f(a + b - c) * f(-a + b + c) / f(a + b + c + 1.0);
    return f.outsideTable() ? 0.0 : value;
}

double OrvaneWignerSymbols::calcThreeJSymbol(const double& j1, const double& j2, const double& j3,
                                             const double& m1, const double& m2, const double& m3)
{
    ensureFactorials();
    for (const double x : {j1, j2, j3, m1, m2, m3})
        if (!isInteger(2.0 * x))
            return 0.0;
    // A projection must differ from its j by an integer: j = 1 with m = 1/2 is no state.
    if (!isInteger(j1 + m1) || !isInteger(j2 + m2) || !isInteger(j3 + m3))
        return 0.0;
    if (triangleConditions(j1, j2, j3) != 1)
        return 0.0;
    if (m1 + m2 + m3 != 0.0)
        return 0.0;
    if (std::fabs(m1) > j1 || std::fabs(m2) > j2 || std::fabs(m3) > j3)
        return 0.0;

    long long kmin = 0;
    long long kmax = 0;
    if (!truncated(std::max({0.0, j2 - j3 - m1, j1 - j3 + m2}), kmin)
        || !truncated(std::min({j1 + j2 - j3, j1 - m1, j2 + m2}), kmax))
        return 0.0;
    if (kmax < kmin)
        return 0.0;

    FactorialLookup f(fact, factorialCount);
    double sum = 0.0;
    for (long long k = kmin; k <= kmax; ++k) {
        const double kd = static_cast<double>(k);
        const double denominator = f(kd) * f(j3 - j2 + kd + m1) * f(j3 - j1 + kd - m2)
                                   * f(j1 + j2 - j3 - kd) * f(j2 + m2 - kd) * f(j1 - m1 - kd);
        sum += parity(k) / denominator;
    }
    const double radicand = delta(j1, j2, j3) * f(j1 + m1) * f(j1 - m1) * f(j2 + m2) * f(j2 - m2)
                            * f(j3 + m3) * f(j3 - m3);
    if (f.outsideTable())
        return 0.0;

    long long exponent = 0;
    truncated(j1 - j2 - m3, exponent);
    return parity(exponent) * std::sqrt(radicand) * sum;
}

double OrvaneWignerSymbols::calcSixJSymbol(const double& j1, const double& j2, const double& j3,
                                           const double& j4, const double& j5, const double& j6)
{
    ensureFactorials();
    if (triangleConditions(j1, j2, j3) != 1 || triangleConditions(j4, j5, j3) != 1
        || triangleConditions(j1, j5, j6) != 1 || triangleConditions(j4, j2, j6) != 1)
        return 0.0;

    // k = b1 - t, Racah's t counted down from b1 = j1 + j2 + j4 + j5.
    long long kmin = 0;
    long long kmax = 0;
    if (!truncated(std::max({0.0, j1 + j4 - j3 - j6, j2 + j5 - j3 - j6}), kmin)
        || !truncated(std::min({j2 + j4 - j6, j1 + j2 + j4 + j5 + 1.0, j1 + j5 - j6, j4 + j5 - j3,
                                j1 + j2 - j3}),
                      kmax))
        return 0.0;
    if (kmax < kmin)
        return 0.0;

    const double F = j1 + j2 + j4 + j5 + 1.0;
    FactorialLookup f(fact, factorialCount);
    double sum = 0.0;
    for (long long k = kmin; k <= kmax; ++k) {
        const double kd = static_cast<double>(k);
        long long exponent = 0;
        truncated(F - kd, exponent);
        const double denominator = f(kd) * f(kd - j1 - j4 + j3 + j6) * f(kd - j2 - j5 + j3 + j6)
                                   * f(j1 + j2 - j3 - kd) * f(j4 + j5 - j3 - kd)
                                   * f(j1 + j5 - j6 - kd) * f(j2 + j4 - j6 - kd);
        sum += -parity(exponent) * f(F - kd) / denominator;
    }
    if (f.outsideTable())
        return 0.0;
    // Each Delta is 0 when its own factorials leave the table.
    return std::sqrt(delta(j4, j5, j3) * delta(j1, j2, j3) * delta(j4, j2, j6) * delta(j1, j5, j6))
           * sum;
}
