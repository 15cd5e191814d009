// Entry-point lookups: null and the small sentinels some drivers answer for a missing function
// are all missing; every real address, and every other value, is kept as it is.
#include "platform/proc_address.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

void* addressOf(std::uintptr_t value)
{
    return reinterpret_cast<void*>(value);
}

int someObject = 0;

}  // namespace

TEST(ProcAddress, NullAndDriverSentinelsAreMissing)
{
    for (std::uintptr_t sentinel :
         {std::uintptr_t{0}, std::uintptr_t{1}, std::uintptr_t{2}, std::uintptr_t{3}, UINTPTR_MAX}) {
        EXPECT_TRUE(isMissingProcAddress(sentinel)) << sentinel;
        EXPECT_EQ(usableProcAddress(addressOf(sentinel)), nullptr) << sentinel;
    }
}

TEST(ProcAddress, OtherValuesAreKept)
{
    for (std::uintptr_t value : {std::uintptr_t{4}, std::uintptr_t{0x10000}, UINTPTR_MAX - 1}) {
        EXPECT_FALSE(isMissingProcAddress(value)) << value;
        EXPECT_EQ(usableProcAddress(addressOf(value)), addressOf(value)) << value;
    }
    EXPECT_EQ(usableProcAddress(&someObject), static_cast<void*>(&someObject));
}
