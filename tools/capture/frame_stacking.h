#pragma once
// Motion blur by frame stacking, as film and offline renderers blur a frame over the time its
// shutter is open: the frame at t is the average, in linear light, of N frames drawn at evenly
// spaced times across the open shutter, centred on t. One sub-frame is the frame at t itself,
// bit for bit.
//
// The sub-frames are averaged as the display shows them: each is read back as 8-bit sRGB (after
// the composite's tone curve and dither), decoded to linear light in floating point, summed, and
// encoded to 8 bits once. Reading back before the encode would need a second output target that
// the renderer does not have; averaged after it, the dither of N frames averages out, so the
// stack loses no more precision than one frame's rounding.
#include <cstdint>
#include <vector>

struct Show;

struct Shutter {
    int subframes = 1;
    double open = 0.5;  // the share of the frame interval the shutter stays open
};

// The demo times of the frame at t's sub-frames, for frames `frameSeconds` apart: centred on t,
// and kept inside t's scene, so that no frame blends the two sides of a cut.
std::vector<double> subframeTimes(double t, double frameSeconds, const Shutter& shutter);

// Sums RGBA8 sRGB frames in linear light and encodes their mean once.
class LinearLightAverage {
public:
    void add(const std::vector<uint8_t>& rgba);
    std::vector<uint8_t> mean() const;

private:
    std::vector<double> sum_;
    std::vector<uint8_t> alpha_;
    int count_ = 0;
};

// The frame at t as the display shows it (RGBA8, top row first), stacked over the shutter.
// `last`, where given, becomes true when the show closes itself in this frame.
std::vector<uint8_t> captureStackedShowFrame(Show& show, double t, double frameSeconds, const Shutter& shutter,
                                             bool* last = nullptr);
