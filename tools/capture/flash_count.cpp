#include "flash_count.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float kChange = 0.1f;        // of white, in relative luminance
constexpr float kDarkerBelow = 0.8f;   // a change counts only where its darker state is below this
constexpr float kRedChange = 20.0f;    // in (R - G - B) x 320
constexpr float kSaturatedRed = 0.8f;  // of R + G + B
constexpr double kFieldShare = 0.25;   // of a field's area
constexpr int kFieldSixths = 2;        // a field is two sixths (a third) of the frame on each axis

float linear(uint8_t value)
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (int i = 0; i < 256; ++i) {
            const float v = float(i) / 255.0f;
            values[size_t(i)] = v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
        }
        return values;
    }();
    return table[value];
}

}  // namespace

float FlashCounter::level(const uint8_t* rgba) const
{
    const float r = linear(rgba[0]), g = linear(rgba[1]), b = linear(rgba[2]);
    if (kind_ == FlashKind::general)
        return 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float sum = r + g + b;
    return sum > 0.0f && r >= kSaturatedRed * sum ? (r - g - b) * 320.0f : 0.0f;
}

FlashCounter::FlashCounter(uint32_t width, uint32_t height, double framesPerSecond, FlashKind kind)
    : width_(width), height_(height), kind_(kind), change_(kind == FlashKind::general ? kChange : kRedChange),
      darkerBelow_(kind == FlashKind::general ? kDarkerBelow : 1e30f),
      framesPerSecond_(std::max(1, int(std::lround(framesPerSecond)))),
      togetherFrames_(std::max(1, int(std::lround(framesPerSecond / 30.0)))), pixels_(size_t(width) * height),
      changedNow_(size_t(width) * height, 0)
{
    for (int row = 0; row + kFieldSixths <= 6; ++row)
        for (int column = 0; column + kFieldSixths <= 6; ++column)
            fields_.push_back(Field{width * uint32_t(column) / 6,
                                    width * uint32_t(column + kFieldSixths) / 6,
                                    height * uint32_t(row) / 6,
                                    height * uint32_t(row + kFieldSixths) / 6,
                                    {},
                                    {},
                                    {}});
}

// +1 or -1 where the pixel completed a change that counts, else 0.
int FlashCounter::pixelChange(PixelState& pixel, float level) const
{
    if (frame_ == 0) {
        pixel.extreme = level;
        return 0;
    }
    const bool furtherOn = pixel.direction >= 0 ? level > pixel.extreme : level < pixel.extreme;
    if (pixel.direction != 0 && furtherOn) {
        pixel.extreme = level;
        if (pixel.pending && level < darkerBelow_) {
            pixel.pending = false;
            return -1;
        }
        return 0;
    }
    if (std::fabs(level - pixel.extreme) < change_)
        return 0;
    // A rise counts if it started below the limit; a fall once it has gone below it.
    const int direction = level > pixel.extreme ? 1 : -1;
    const bool counts = (direction > 0 ? pixel.extreme : level) < darkerBelow_;
    pixel.pending = direction < 0 && !counts;
    pixel.direction = int8_t(direction);
    pixel.extreme = level;
    return counts ? direction : 0;
}

void FlashCounter::addFrame(const std::vector<uint8_t>& rgba)
{
    if (rgba.size() < size_t(width_) * height_ * 4)
        return;
    for (size_t i = 0; i < pixels_.size(); ++i)
        changedNow_[i] = int8_t(pixelChange(pixels_[i], level(&rgba[i * 4])));
    for (size_t f = 0; f < fields_.size(); ++f)
        updateField(fields_[f], int(f % (7 - kFieldSixths)), int(f / (7 - kFieldSixths)));
    ++frame_;
}

void FlashCounter::updateField(Field& field, int column, int row)
{
    int risen = 0, fallen = 0;
    for (uint32_t y = field.y0; y < field.y1; ++y)
        for (uint32_t x = field.x0; x < field.x1; ++x) {
            const int8_t change = changedNow_[size_t(y) * width_ + x];
            risen += change > 0;
            fallen += change < 0;
        }
    field.risen.push_back(risen);
    field.fallen.push_back(fallen);
    if (field.risen.size() > size_t(togetherFrames_)) {
        field.risen.pop_front();
        field.fallen.pop_front();
    }
    const double needed = kFieldShare * double((field.x1 - field.x0) * (field.y1 - field.y0));
    const auto sum = [](const std::deque<int>& counts) {
        int total = 0;
        for (int count : counts)
            total += count;
        return total;
    };
    const int direction = sum(field.risen) > needed ? 1 : sum(field.fallen) > needed ? -1 : 0;
    // A change that goes on over several frames is one change.
    if (direction != 0 && (field.changes.empty() || field.changes.back().direction != direction))
        field.changes.push_back({frame_, direction});
    while (!field.changes.empty() && field.changes.front().frame + uint64_t(framesPerSecond_) <= frame_)
        field.changes.pop_front();
    const int flashes = int(field.changes.size() / 2);
    if (flashes > worst_.flashes)
        worst_ = {flashes, double(frame_ + 1) / double(framesPerSecond_), column, row};
}
