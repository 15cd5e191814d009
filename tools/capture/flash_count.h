#pragma once
// Flashes a viewer sees, counted the way the photosensitivity guidance counts them: a flash is a
// pair of opposing changes in relative luminance of at least a tenth of white where the darker
// state is below 0.8, and it counts where more than a quarter of a 10-degree field of view
// changes together; a passage fails when such a field flashes more than three times in any
// one second. The field is taken as a third of the frame's width and height (341 x 256 on a
// 1024 x 768 screen at the usual viewing distance), placed at every sixth of the frame.
//
// A pixel's change is complete once its level has moved a tenth of white back from the highest
// (or lowest) it reached going the other way, so slow swings count as well as sudden ones; a
// fall counts once it has also gone below 0.8, the darker state it is falling to. A
// field changes when more than a quarter of its pixels complete a change in the same direction
// within a thirtieth of a second; a streak that sweeps across the field lights a few of its
// pixels at a time and does not.
//
// A red flash is counted alike on a pixel's saturated red instead of its luminance: where red is
// at least 0.8 of R + G + B (linear), the level is (R - G - B) x 320, and a change of 20 counts,
// whatever the darker state.
//
// Frames go in in order, at a fixed rate; each is RGBA8, top row first, sRGB as displayed.
#include <cstdint>
#include <deque>
#include <vector>

struct FlashWorst {
    int flashes = 0;        // in one second, in one field
    double endSeconds = 0;  // the second ends here, counted from the first frame
    int fieldColumn = 0;    // the field's left edge, in sixths of the frame's width
    int fieldRow = 0;       // its top edge, in sixths of the frame's height
};

enum class FlashKind { general, red };

class FlashCounter {
public:
    FlashCounter(uint32_t width, uint32_t height, double framesPerSecond, FlashKind kind = FlashKind::general);

    void addFrame(const std::vector<uint8_t>& rgba);

    // The most flashes found so far, and where.
    const FlashWorst& worst() const { return worst_; }

private:
    struct PixelState {
        float extreme = 0.0f;  // the highest (rising) or lowest (falling) level since the last change
        int8_t direction = 0;  // +1 rising, -1 falling, 0 not yet known
        bool pending = false;  // falling, and not yet below the level where a change counts
    };
    struct FieldChange {
        uint64_t frame;
        int direction;
    };
    struct Field {
        uint32_t x0, x1, y0, y1;
        std::deque<int> risen, fallen;    // pixels that completed a change, per recent frame
        std::deque<FieldChange> changes;  // the field's own changes within the last second
    };

    int pixelChange(PixelState& pixel, float level) const;
    void updateField(Field& field, int column, int row);

    float level(const uint8_t* rgba) const;

    uint32_t width_, height_;
    FlashKind kind_;
    float change_;       // a change counts from this much
    float darkerBelow_;  // and only where its darker state is below this
    int framesPerSecond_;
    int togetherFrames_;  // frames in a thirtieth of a second, at least one
    uint64_t frame_ = 0;
    std::vector<PixelState> pixels_;
    std::vector<int8_t> changedNow_;  // per pixel, the change it completed in this frame
    std::vector<Field> fields_;
    FlashWorst worst_;
};
