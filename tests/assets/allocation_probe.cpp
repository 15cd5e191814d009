// Global operator new and delete of a test program, on malloc and free. Every form is
// replaced, so that memory from one family is never handed back through the other (which
// AddressSanitizer would report as a mismatch).
#include "assets/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> largest{0};
std::atomic<size_t> failAbove{0};

void* allocate(size_t bytes) noexcept
{
    size_t seen = largest.load(std::memory_order_relaxed);
    while (bytes > seen && !largest.compare_exchange_weak(seen, bytes, std::memory_order_relaxed)) {
    }
    size_t limit = failAbove.load(std::memory_order_relaxed);
    if (limit != 0 && bytes > limit)
        return nullptr;
    return std::malloc(bytes ? bytes : 1);
}

void* allocateOrThrow(size_t bytes)
{
    void* memory = allocate(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

}  // namespace

void resetLargestAllocation()
{
    largest.store(0);
}

size_t largestAllocation()
{
    return largest.load();
}

void failAllocationsAbove(size_t bytes)
{
    failAbove.store(bytes);
}

void* operator new(size_t bytes)
{
    return allocateOrThrow(bytes);
}

void* operator new[](size_t bytes)
{
    return allocateOrThrow(bytes);
}

void* operator new(size_t bytes, const std::nothrow_t&) noexcept
{
    return allocate(bytes);
}

void* operator new[](size_t bytes, const std::nothrow_t&) noexcept
{
    return allocate(bytes);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, size_t) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
