// A fit calls calcOmega hundreds of thousands of times with new g and alpha:
// once the geometry terms are built it must not allocate. The heap functions
// of the C library are wrapped here for the whole test program, counting
// while a flag is set; operator new and Qt's containers both end in them.
// The sanitizers bring their own heap, so there the count is not taken.

#include "allocationcounter.h"
#include "omegareference.h"
#include "orvaneomega.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ORVANE_COUNT_ALLOCATIONS 0
#else
#define ORVANE_COUNT_ALLOCATIONS 1
#endif

#if ORVANE_COUNT_ALLOCATIONS

namespace {
std::atomic<bool> counting {false};
std::atomic<long> allocations {0};

inline void count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);

void* malloc(size_t size)
{
    count();
    return __libc_malloc(size);
}

void* calloc(size_t n, size_t size)
{
    count();
    return __libc_calloc(n, size);
}

void* realloc(void* pointer, size_t size)
{
    count();
    return __libc_realloc(pointer, size);
}

int posix_memalign(void** pointer, size_t alignment, size_t size)
{
    count();
    *pointer = __libc_memalign(alignment, size);
    return *pointer ? 0 : ENOMEM;
}

void* aligned_alloc(size_t alignment, size_t size)
{
    count();
    return __libc_memalign(alignment, size);
}
}

#endif

TEST(OrvaneOmegaCache, NoAllocationOnceTheGeometryTermsAreBuilt)
{
#if !ORVANE_COUNT_ALLOCATIONS
    GTEST_SKIP() << "the sanitizers replace the heap functions";
#else
    // The counter itself must see an allocation, or the check below proves nothing.
    counting = true;
    std::vector<int>* probe = new std::vector<int>(100);
    counting = false;
    delete probe;
    ASSERT_GE(allocations.load(), 2);

    using namespace OmegaReference;
    const Geometry geometry = asymmetricComplex();
    std::array<double, 32> g = geometry.chargeFactors();
    std::array<double, 32> alpha = geometry.polarizabilities();
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    OrvaneOmega omega(nullptr, geometry.atoms(trailingAtoms()));
    omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
    omega.setCoordNumber(9);
    ASSERT_TRUE(omega.calcOmega()); // builds the geometry terms

    allocations = 0;
    counting = true;
    bool ok = true;
    for (int step = 0; step < 200; ++step) {
        g[2 + step % 9] *= 1.001;
        alpha[2 + (step + 4) % 9] *= 0.999;
        ok = omega.calcOmega() && ok;
    }
    counting = false;
    EXPECT_TRUE(ok);
    EXPECT_EQ(allocations.load(), 0);
#endif
}

// Shared with the other allocation checks of this program (allocationcounter.h).
namespace AllocationCounter {
#if ORVANE_COUNT_ALLOCATIONS
bool available()
{
    return true;
}
void start()
{
    allocations = 0;
    counting = true;
}
long stop()
{
    counting = false;
    return allocations.load();
}
#else
bool available()
{
    return false;
}
void start()
{
}
long stop()
{
    return 0;
}
#endif
} // namespace AllocationCounter
