// Filters shared by the instruments, the effects and the master bus. Cutoffs in Hz, at the
// synthesizer's sample rate.
#pragma once

namespace soundtrack {

// State-variable filter (trapezoidal integration), stable under fast cutoff changes, with
// low-, band- and high-pass outputs from one step. resonance 0..1 (0: Q = 0.5, 0.95: sharp).
class StateVariableFilter {
public:
    struct Outputs {
        float low;
        float band;
        float high;
    };

    // Recomputing the coefficients costs a tangent: callers that sweep the cutoff update it
    // every few samples rather than every sample.
    void setCutoff(double hz, double resonance);
    Outputs process(float input);
    float lowPass(float input) { return process(input).low; }
    float bandPass(float input) { return process(input).band; }
    float highPass(float input) { return process(input).high; }

private:
    double a1 = 1.0, a2 = 0.0, a3 = 0.0, damping = 2.0;
    double state1 = 0.0, state2 = 0.0;
};

// One-pole smoothing low-pass; the matching high-pass is input minus this.
class OnePoleLowPass {
public:
    void setCutoff(double hz);
    float process(float input)
    {
        value += coefficient * (input - value);
        return static_cast<float>(value);
    }

private:
    double coefficient = 1.0;
    double value = 0.0;
};

// Second-order section in transposed direct form II, designed as the audio EQ cookbook
// (R. Bristow-Johnson) gives them: the mix's fixed equalisers. Set once, then run per sample.
class Biquad {
public:
    // Q 0.707 is the flattest (Butterworth) high-pass.
    static Biquad highPass(double hz, double q = 0.7071);
    // Raises (gainDb > 0) or lowers everything above about `hz`, with the gentlest slope
    // that has no bump (shelf slope 1).
    static Biquad highShelf(double hz, double gainDb);
    // A bell around `hz`, `q` wide.
    static Biquad peak(double hz, double q, double gainDb);

    float process(float input)
    {
        const double output = b0 * input + z1;
        z1 = b1 * input - a1 * output + z2;
        z2 = b2 * input - a2 * output;
        return static_cast<float>(output);
    }

private:
    Biquad(double nb0, double nb1, double nb2, double na0, double na1, double na2)
        : b0(nb0 / na0), b1(nb1 / na0), b2(nb2 / na0), a1(na1 / na0), a2(na2 / na0)
    {}
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
};

// Removes any constant offset (corner near 5 Hz, far below anything musical).
class DcBlocker {
public:
    float process(float input)
    {
        const double output = input - previousInput + 0.9993 * previousOutput;
        previousInput = input;
        previousOutput = output;
        return static_cast<float>(output);
    }

private:
    double previousInput = 0.0;
    double previousOutput = 0.0;
};

}  // namespace soundtrack
