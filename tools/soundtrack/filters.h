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
