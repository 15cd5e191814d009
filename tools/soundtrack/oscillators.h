// Band-limited oscillators. Phase runs over [0, 1) per cycle; frequencies in Hz. The saw and
// the pulse use a polynomial step correction (two samples wide) at each discontinuity, which
// keeps aliasing well below audibility for the pitches the score uses.
#pragma once

namespace soundtrack {

class Oscillator {
public:
    explicit Oscillator(double startPhase = 0.0) : phase(startPhase) {}

    void setFrequency(double hz);
    // Each call returns one sample in [-1, 1] and advances one sample.
    float sine();
    float saw();
    // width: the fraction of the cycle spent high, clamped to [0.05, 0.95].
    float pulse(double width);

    double currentPhase() const { return phase; }

private:
    void advance();

    double phase;
    double increment = 0.0;
};

}  // namespace soundtrack
