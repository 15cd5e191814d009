#include "reverb.h"

#include "filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace soundtrack {

namespace {

// A fixed delay on a circular buffer; the delay is its length in samples.
class DelayLine {
public:
    explicit DelayLine(std::size_t samples) : buffer(samples, 0.0f) {}
    float read() const { return buffer[position]; }
    void write(float value)
    {
        buffer[position] = value;
        position = (position + 1) % buffer.size();
    }
    std::size_t length() const { return buffer.size(); }

private:
    std::vector<float> buffer;
    std::size_t position = 0;
};

// Schroeder all-pass: flat magnitude, smeared phase; turns clicks into short dense bursts.
class AllPass {
public:
    AllPass(std::size_t samples, float gain) : line(samples), feedback(gain) {}
    float process(float input)
    {
        const float delayed = line.read();
        const float into = input + feedback * delayed;
        line.write(into);
        return delayed - feedback * into;
    }

private:
    DelayLine line;
    float feedback;
};

// Mutually prime line lengths (samples at 44.1 kHz, 33 to 64 ms) keep the echoes of the
// eight lines from lining up into audible repetitions.
constexpr std::array<std::size_t, 8> lineLengths = {1447, 1601, 1811, 1993, 2137, 2339, 2521, 2797};

// In-place fast Walsh-Hadamard transform of eight values, scaled to stay orthogonal.
void hadamard(std::array<float, 8>& v)
{
    for (std::size_t width = 1; width < 8; width *= 2) {
        for (std::size_t i = 0; i < 8; i += 2 * width) {
            for (std::size_t j = i; j < i + width; ++j) {
                const float a = v[j];
                const float b = v[j + width];
                v[j] = a + b;
                v[j + width] = a - b;
            }
        }
    }
    const float scale = 1.0f / std::sqrt(8.0f);
    for (float& x : v) {
        x *= scale;
    }
}

}  // namespace

StereoBuffer applyReverb(const StereoBuffer& send, const ReverbSettings& settings)
{
    const std::size_t frames = send.frames();
    StereoBuffer out(frames);
    DelayLine preDelayLeft(std::max<std::size_t>(1, secondsToFrames(settings.preDelaySeconds)));
    DelayLine preDelayRight(std::max<std::size_t>(1, secondsToFrames(settings.preDelaySeconds) + 37));
    std::array<AllPass, 4> diffuseLeft = {AllPass(142, 0.7f), AllPass(107, 0.7f), AllPass(379, 0.6f),
                                          AllPass(277, 0.6f)};
    std::array<AllPass, 4> diffuseRight = {AllPass(151, 0.7f), AllPass(113, 0.7f), AllPass(397, 0.6f),
                                           AllPass(263, 0.6f)};

    std::vector<DelayLine> lines;
    std::array<float, 8> lineGain{};
    std::array<OnePoleLowPass, 8> damping;
    for (std::size_t i = 0; i < lineLengths.size(); ++i) {
        lines.emplace_back(lineLengths[i]);
        // Each pass through a line of n samples must lose 60 dB * n / (decay * rate).
        const double secondsPerPass = static_cast<double>(lineLengths[i]) / sampleRate;
        lineGain[i] = static_cast<float>(std::pow(10.0, -3.0 * secondsPerPass / settings.decaySeconds));
        damping[i].setCutoff(settings.dampingHz);
    }

    std::array<float, 8> state{};
    for (std::size_t n = 0; n < frames; ++n) {
        float left = preDelayLeft.read();
        float right = preDelayRight.read();
        preDelayLeft.write(send.left[n]);
        preDelayRight.write(send.right[n]);
        for (auto& stage : diffuseLeft) {
            left = stage.process(left);
        }
        for (auto& stage : diffuseRight) {
            right = stage.process(right);
        }

        for (std::size_t i = 0; i < 8; ++i) {
            state[i] = damping[i].process(lines[i].read()) * lineGain[i];
        }
        // Even lines come out on the left, odd lines on the right; alternating signs keep the
        // two sides decorrelated.
        out.left[n] = 0.5f * (state[0] - state[2] + state[4] - state[6]);
        out.right[n] = 0.5f * (state[1] - state[3] + state[5] - state[7]);
        hadamard(state);
        for (std::size_t i = 0; i < 8; ++i) {
            const float input = (i % 2 == 0) ? left : right;
            lines[i].write(state[i] + 0.5f * input);
        }
    }
    return out;
}

}  // namespace soundtrack
