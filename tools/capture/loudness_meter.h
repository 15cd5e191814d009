#pragma once
// The loudness of a programme as streaming services measure it (ITU-R BS.1770, EBU R128), by
// libebur128: integrated loudness, loudness range and true peak, fed in blocks as decoded.
#include <cstddef>
#include <cstdint>
#include <memory>

struct LoudnessFigures {
    double integratedLufs = 0;  // -inf for silence
    double rangeLu = 0;
    double truePeakDbtp = 0;  // -inf for silence
};

class LoudnessMeter {
public:
    LoudnessMeter(uint32_t channels, uint32_t sampleRate);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    bool valid() const { return state_ != nullptr; }
    // `frames` frames of interleaved samples, one per channel.
    void add(const float* samples, size_t frames);
    LoudnessFigures figures() const;

private:
    struct State;
    State* state_ = nullptr;
    uint32_t channels_;
};
