#ifndef ALLOCATIONCOUNTER_H
#define ALLOCATIONCOUNTER_H

// Counts calls of the C heap functions (operator new and Qt's containers end
// in them) between start() and stop(). Defined with the wrappers in
// test_orvaneomega_allocations.cpp; not available under the sanitizers,
// which bring their own heap.
namespace AllocationCounter {

bool available();
void start();
long stop();

} // namespace AllocationCounter

#endif
