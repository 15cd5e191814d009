// The flash counter: a field-sized patch that flips counts its flashes a second, and so does one
// that swings slowly; a patch under a quarter of a field, a bar that sweeps across, and a swing
// that stays bright (its darker state above 0.8) do not count.
#include "flash_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr uint32_t width = 96, height = 54;

// Two seconds at 60 frames a second; `level(x, y, seconds)` is the grey level, 0 to 255.
int worstFlashes(const std::function<int(uint32_t, uint32_t, double)>& level)
{
    FlashCounter counter(width, height, 60.0);
    for (int frame = 0; frame < 120; ++frame) {
        std::vector<uint8_t> rgba(size_t(width) * height * 4, 255);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    rgba[(size_t(y) * width + x) * 4 + size_t(c)] = uint8_t(level(x, y, frame / 60.0));
        counter.addFrame(rgba);
    }
    return counter.worst().flashes;
}

// Inside a centred square covering `share` of the frame's width and height.
bool inPatch(uint32_t x, uint32_t y, double share)
{
    return std::fabs((x + 0.5) / width - 0.5) < share / 2 && std::fabs((y + 0.5) / height - 0.5) < share / 2;
}

}  // namespace

TEST(FlashCounter, CountsWhatAQuarterOfAFieldDoesTogether)
{
    const auto flipping = [](double hertz, int low, int high) {
        return [=](double seconds) { return std::fmod(seconds * hertz, 1.0) < 0.5 ? low : high; };
    };
    // A patch of a third of the frame each way (a whole field), black and white five times a second.
    EXPECT_EQ(worstFlashes(
                  [&](uint32_t x, uint32_t y, double s) { return inPatch(x, y, 0.34) ? flipping(5, 0, 255)(s) : 0; }),
              5);
    // The same swing, slow and smooth, twice a second.
    EXPECT_EQ(worstFlashes([&](uint32_t x, uint32_t y, double s) {
                  return inPatch(x, y, 0.34) ? int(127.5 - 127.5 * std::cos(2 * 3.14159265 * 2 * s)) : 0;
              }),
              2);
    // A patch of a tenth of a field's area, flipping as fast.
    EXPECT_EQ(
        worstFlashes([&](uint32_t x, uint32_t y, double s) { return inPatch(x, y, 0.1) ? flipping(5, 0, 255)(s) : 0; }),
        0);
    // A white bar a twelfth of the frame wide sweeping across it twice a second.
    EXPECT_EQ(worstFlashes([](uint32_t x, uint32_t, double s) {
                  return std::fabs(std::fmod(s * 2, 1.0) - (x + 0.5) / width) < 1.0 / 24 ? 255 : 0;
              }),
              0);
    // A whole-frame swing between two bright greys, both above 0.8 of white in luminance.
    EXPECT_EQ(worstFlashes([&](uint32_t, uint32_t, double s) { return flipping(5, 235, 255)(s); }), 0);
}
