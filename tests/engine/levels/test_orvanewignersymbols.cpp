#include "orvanewignersymbols.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <thread>

// The reference tables: exact values from sympy, written by wigner_reference.py.
#include "wigner_reference_values.inc"

struct OrvaneWignerSymbolsProbe
{
    static double factorial(int i) { return OrvaneWignerSymbols::fact[i]; }
    static int fills() { return OrvaneWignerSymbols::factFills; }
};

namespace {

struct SymbolCase
{
    double a, b, c, d, e, f;
    double value;
    bool ruledOut; // zero by a selection rule: exactly 0, no sum formed
    const char* what;
};

const SymbolCase threeJCases[] = {ORVANE_THREEJ_REFERENCE};
const SymbolCase sixJCases[] = {ORVANE_SIXJ_REFERENCE};

// Racah's sums over double factorials lose a few digits to cancellation.
bool close(double computed, const SymbolCase& c)
{
    if (c.ruledOut)
        return computed == 0.0;
    return std::fabs(computed - c.value) <= 1e-12 * std::max(std::fabs(c.value), 1e-2);
}

void expectSymbol(double computed, const SymbolCase& c)
{
    EXPECT_TRUE(close(computed, c)) << "computed " << computed << ", exact " << c.value;
}

} // namespace

TEST(OrvaneWignerSymbols, ThreeJAgainstExactValues)
{
    for (const SymbolCase& c : threeJCases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.a << " " << c.b << " " << c.c << "; " << c.d << " "
                                          << c.e << " " << c.f << ") " << c.what);
        expectSymbol(OrvaneWignerSymbols::calcThreeJSymbol(c.a, c.b, c.c, c.d, c.e, c.f), c);
    }
}

TEST(OrvaneWignerSymbols, SixJAgainstExactValues)
{
    for (const SymbolCase& c : sixJCases) {
        SCOPED_TRACE(::testing::Message() << "{" << c.a << " " << c.b << " " << c.c << "; " << c.d << " "
                                          << c.e << " " << c.f << "} " << c.what);
        expectSymbol(OrvaneWignerSymbols::calcSixJSymbol(c.a, c.b, c.c, c.d, c.e, c.f), c);
    }
}

// Sums that would need factorials beyond 169! give 0, as do arguments that are
// no numbers at all; none may index outside the table (the sanitizer build
// would stop on it).
TEST(OrvaneWignerSymbols, ArgumentsOutsideTheFactorialTableGiveZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(OrvaneWignerSymbols::calcThreeJSymbol(60, 60, 60, 0, 0, 0), 0.0);       // (j1+j2+j3+1)! = 181!
    EXPECT_EQ(OrvaneWignerSymbols::calcThreeJSymbol(1e300, 1e300, 1e300, 0, 0, 0), 0.0);
    EXPECT_EQ(OrvaneWignerSymbols::calcThreeJSymbol(inf, inf, inf, 0, 0, 0), 0.0);
    EXPECT_EQ(OrvaneWignerSymbols::calcThreeJSymbol(nan, 1, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(OrvaneWignerSymbols::calcSixJSymbol(45, 45, 45, 45, 45, 45), 0.0);     // (F - k)! up to 181!
    EXPECT_EQ(OrvaneWignerSymbols::calcSixJSymbol(1e300, 1e300, 1e300, 1e300, 1e300, 1e300), 0.0);
    EXPECT_EQ(OrvaneWignerSymbols::calcSixJSymbol(nan, 1, 1, 1, 1, 1), 0.0);
    EXPECT_EQ(OrvaneWignerSymbols::calcSixJSymbol(inf, inf, inf, inf, inf, inf), 0.0);
}

namespace {

// Runs in a fresh process: the table is still empty, two threads make the very
// first calls at the same moment, and both must see the complete table.
[[noreturn]] void firstUseFromTwoThreads()
{
    if (OrvaneWignerSymbolsProbe::factorial(0) != 0.0 || OrvaneWignerSymbolsProbe::fills() != 0)
        std::_Exit(2);
    std::atomic<int> waiting{2};
    std::atomic<int> wrong{0};
    auto work = [&](bool threeJ) {
        waiting.fetch_sub(1);
        while (waiting.load() > 0) {
        }
        const SymbolCase* cases = threeJ ? threeJCases : sixJCases;
        const std::size_t count = threeJ ? std::size(threeJCases) : std::size(sixJCases);
        for (int round = 0; round < 20; ++round)
            for (std::size_t i = 0; i < count; ++i) {
                const SymbolCase& c = cases[i];
                const double v = threeJ ? OrvaneWignerSymbols::calcThreeJSymbol(c.a, c.b, c.c, c.d, c.e, c.f)
                                        : OrvaneWignerSymbols::calcSixJSymbol(c.a, c.b, c.c, c.d, c.e, c.f);
                if (!close(v, c))
                    wrong.fetch_add(1);
            }
    };
    std::thread first(work, true);
    std::thread second(work, false);
    first.join();
    second.join();
    OrvaneWignerSymbols::calcThreeJSymbol(1, 1, 0, 1, -1, 0);
    std::_Exit(wrong.load() == 0 && OrvaneWignerSymbolsProbe::fills() == 1 ? 0 : 1);
}

} // namespace

TEST(OrvaneWignerSymbols, FactorialTableFilledOnceWhenTwoThreadsStartTogether)
{
    // "threadsafe" runs the statement in a newly started copy of this program,
    // where no other test has filled the table yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(firstUseFromTwoThreads(), ::testing::ExitedWithCode(0), "");
}

// 20! is exact in a double; 169! = 4.269068009004705274939...e304 (the largest
// that fits) to the rounding of 168 products.
TEST(OrvaneWignerSymbols, FactorialTableEnds)
{
    OrvaneWignerSymbols::calcSixJSymbol(1, 1, 1, 1, 1, 1);
    EXPECT_EQ(OrvaneWignerSymbolsProbe::factorial(0), 1.0);
    EXPECT_EQ(OrvaneWignerSymbolsProbe::factorial(20), 2432902008176640000.0);
    EXPECT_NEAR(OrvaneWignerSymbolsProbe::factorial(169) / 4.269068009004705274939e304, 1.0, 1e-13);
    EXPECT_EQ(OrvaneWignerSymbolsProbe::fills(), 1);
}
