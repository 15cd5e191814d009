#pragma once
// The answer of a driver's entry-point lookup, as the show may use it. Some drivers answer
// 1, 2, 3 or -1, not null, for a function they lack; those are treated as the null they stand
// for, so a missing function ends the start-up quietly instead of being called.
#include <cstdint>

constexpr bool isMissingProcAddress(std::uintptr_t address)
{
    return address <= 3 || address == UINTPTR_MAX;
}

// The address itself, or null where it is missing.
inline void* usableProcAddress(void* address)
{
    return isMissingProcAddress(reinterpret_cast<std::uintptr_t>(address)) ? nullptr : address;
}
