// Float arithmetic rounds to single precision at every step, as the show's model
// dequantisation, normals and camera assume on every build. Each case has a different answer
// where intermediates are kept wider (the x87 unit's 80 bits) or where a multiply and an add
// are fused into one rounding. The inputs are volatile so the compiler cannot fold the
// arithmetic at build time, where it would round correctly whatever the target does.
#include <gtest/gtest.h>

TEST(SinglePrecision, SumIsRoundedBeforeTheNextStep)
{
    // 1 + 2^-25 is 1 in single precision; only a wider intermediate keeps the 2^-25.
    volatile float one = 1.0f;
    volatile float tiny = 0x1p-25f;
    const float difference = (one + tiny) - one;
    EXPECT_EQ(difference, 0.0f);
}

TEST(SinglePrecision, ProductIsRoundedBeforeTheSum)
{
    // (1 + 2^-12)^2 = 1 + 2^-11 + 2^-24: the 2^-24 is half a unit in the last place, and the
    // tie goes to the even 1 + 2^-11. Kept wider, or fused with the subtraction, it survives.
    volatile float factor = 1.0f + 0x1p-12f;
    volatile float one = 1.0f;
    const float excess = factor * factor - one;
    EXPECT_EQ(excess, 0x1p-11f);
}
