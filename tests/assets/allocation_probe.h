#pragma once
// Watches the memory a test program asks for through operator new, and can refuse it. Linking
// allocation_probe.cpp replaces the program's global operator new and delete.
#include <cstddef>

// Forgets the largest request seen so far.
void resetLargestAllocation();

// The largest single request since the last reset, in bytes.
size_t largestAllocation();

// From now on, requests of more than `bytes` throw std::bad_alloc (or give null, for the
// nothrow forms); 0 lets every request through again.
void failAllocationsAbove(size_t bytes);
