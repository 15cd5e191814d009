// The spectrum of a programme as a mix engineer reads it: energy in third-octave bands of the
// mid channel (the sum of both sides, what every speaker plays), compared with a reference
// line that falls 4.5 dB per octave in level per Hz. That tilt is what commercial mixes show on
// average: pink noise falls 3 dB per octave per Hz and sounds flat in bands; 1.5 dB more per
// octave is the usual balance of a full low end and a smooth top. The line is fitted (offset
// only, its slope fixed) to the bands from 100 Hz to 10 kHz, so a boom or a dull top shows as
// the bands below or above it, in dB.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace soundtrack {

// The ISO third-octave bands from 25 Hz to 16 kHz: centres 1 kHz * 2^(k/3), k = -16 .. 12.
constexpr std::size_t thirdOctaveBandCount = 29;
double bandCentreHz(std::size_t band);
double bandLowerEdgeHz(std::size_t band);
double bandUpperEdgeHz(std::size_t band);
// The rounded name a band goes by (25, 31.5, ... 16000).
double bandNominalHz(std::size_t band);

constexpr double referenceSlopeDbPerOctave = -4.5;
constexpr double referenceFitLowHz = 100.0;
constexpr double referenceFitHighHz = 10000.0;

// Power spectra of a mono signal, one per analysis frame: Hann windows of `frameSize`
// (a power of two) every frameSize / 2 samples. power[k] is the mean square of the bin
// k * rateHz / frameSize, scaled so that the bins of a frame sum to its mean square.
struct Spectrogram {
    int rateHz = 0;
    std::size_t frameSize = 0;
    std::size_t hop = 0;
    std::vector<std::vector<double>> frames;  // frames[i][k], k < frameSize / 2
    // The centre of frame i, seconds from the start.
    double frameCentreSeconds(std::size_t i) const;
    double binHz(std::size_t k) const { return static_cast<double>(k) * rateHz / static_cast<double>(frameSize); }
};

Spectrogram computeSpectrogram(const std::vector<float>& mono, int rateHz, std::size_t frameSize);

// The mean power spectrum of the frames whose centres fall in [fromSeconds, toSeconds).
std::vector<double> meanSpectrum(const Spectrogram& spectrogram, double fromSeconds, double toSeconds);

// What a spectrum says: band energies, where they sit against the reference line, and how the
// energy is spread.
struct SpectrumFigures {
    std::array<double, thirdOctaveBandCount> bandEnergy{};   // mean square in the band
    std::array<double, thirdOctaveBandCount> bandDb{};       // level per Hz in the band, dB
    std::array<double, thirdOctaveBandCount> deviationDb{};  // bandDb minus the fitted line
    double shareBelow100Hz = 0.0;                            // of all energy, 0..1
    double largestBandShare = 0.0;                           // the one band holding most energy, 0..1
    std::size_t largestBand = 0;
    double frequencyBelowWhich95PercentHz = 0.0;
    double centroidAbove150Hz = 0.0;  // energy-weighted mean frequency of the bins from 150 Hz
};

SpectrumFigures analyseSpectrum(const std::vector<double>& power, int rateHz, std::size_t frameSize);

// In place, radix 2; re.size() a power of two.
void fastFourierTransform(std::vector<double>& re, std::vector<double>& im);

}  // namespace soundtrack
