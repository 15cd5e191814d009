#include "third_octave_bands.h"

#include "audio.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace soundtrack {

namespace {

constexpr int lowestBandIndex = -16;  // 1 kHz * 2^(-16/3) = 24.8 Hz, the 25 Hz band

constexpr std::array<double, thirdOctaveBandCount> nominalHz = {
    25,  31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,  315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000};

}  // namespace

double bandCentreHz(std::size_t band)
{
    return 1000.0 * std::pow(2.0, (lowestBandIndex + static_cast<double>(band)) / 3.0);
}
double bandLowerEdgeHz(std::size_t band)
{
    return bandCentreHz(band) * std::pow(2.0, -1.0 / 6.0);
}
double bandUpperEdgeHz(std::size_t band)
{
    return bandCentreHz(band) * std::pow(2.0, 1.0 / 6.0);
}
double bandNominalHz(std::size_t band)
{
    return nominalHz[band];
}

double Spectrogram::frameCentreSeconds(std::size_t i) const
{
    return (static_cast<double>(i * hop) + 0.5 * static_cast<double>(frameSize)) / rateHz;
}

void fastFourierTransform(std::vector<double>& re, std::vector<double>& im)
{
    const std::size_t n = re.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -twoPi / static_cast<double>(length);
        for (std::size_t start = 0; start < n; start += length) {
            for (std::size_t k = 0; k < length / 2; ++k) {
                const double wr = std::cos(angle * static_cast<double>(k));
                const double wi = std::sin(angle * static_cast<double>(k));
                const std::size_t a = start + k, b = a + length / 2;
                const double tr = re[b] * wr - im[b] * wi;
                const double ti = re[b] * wi + im[b] * wr;
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
        }
    }
}

Spectrogram computeSpectrogram(const std::vector<float>& mono, int rateHz, std::size_t frameSize)
{
    Spectrogram result;
    result.rateHz = rateHz;
    result.frameSize = frameSize;
    result.hop = frameSize / 2;
    std::vector<double> window(frameSize);
    double windowPower = 0.0;
    for (std::size_t i = 0; i < frameSize; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(twoPi * static_cast<double>(i) / static_cast<double>(frameSize));
        windowPower += window[i] * window[i];
    }
    std::vector<double> re(frameSize), im(frameSize);
    for (std::size_t start = 0; start + frameSize <= mono.size(); start += result.hop) {
        for (std::size_t i = 0; i < frameSize; ++i) {
            re[i] = mono[start + i] * window[i];
            im[i] = 0.0;
        }
        fastFourierTransform(re, im);
        // Parseval: the sum over all bins of |X|^2 / (N * sum w^2) is the windowed mean square;
        // the negative frequencies mirror the positive ones, hence the factor 2.
        std::vector<double> power(frameSize / 2);
        const double scale = 2.0 / (static_cast<double>(frameSize) * windowPower);
        for (std::size_t k = 0; k < power.size(); ++k) {
            power[k] = (re[k] * re[k] + im[k] * im[k]) * (k == 0 ? 0.5 * scale : scale);
        }
        result.frames.push_back(std::move(power));
    }
    return result;
}

std::vector<double> meanSpectrum(const Spectrogram& spectrogram, double fromSeconds, double toSeconds)
{
    std::vector<double> mean(spectrogram.frameSize / 2, 0.0);
    std::size_t count = 0;
    for (std::size_t i = 0; i < spectrogram.frames.size(); ++i) {
        const double t = spectrogram.frameCentreSeconds(i);
        if (t < fromSeconds || t >= toSeconds) {
            continue;
        }
        for (std::size_t k = 0; k < mean.size(); ++k) {
            mean[k] += spectrogram.frames[i][k];
        }
        ++count;
    }
    for (double& p : mean) {
        p /= static_cast<double>(std::max<std::size_t>(count, 1));
    }
    return mean;
}

SpectrumFigures analyseSpectrum(const std::vector<double>& power, int rateHz, std::size_t frameSize)
{
    SpectrumFigures f;
    const double binWidth = static_cast<double>(rateHz) / static_cast<double>(frameSize);
    double total = 0.0, below100 = 0.0, above150 = 0.0, weighted150 = 0.0;
    for (std::size_t k = 0; k < power.size(); ++k) {
        const double hz = static_cast<double>(k) * binWidth;
        total += power[k];
        below100 += hz < 100.0 ? power[k] : 0.0;
        if (hz >= 150.0) {
            above150 += power[k];
            weighted150 += power[k] * hz;
        }
        // Band edges lie half way (in octaves) between centres: the nearest centre owns the bin.
        if (hz > 0.0) {
            const long band = std::lround(3.0 * std::log2(hz / 1000.0)) - lowestBandIndex;
            if (band >= 0 && band < static_cast<long>(thirdOctaveBandCount)) {
                f.bandEnergy[static_cast<std::size_t>(band)] += power[k];
            }
        }
    }
    double cumulative = 0.0;
    for (std::size_t k = 0; k < power.size() && total > 0.0; ++k) {
        cumulative += power[k];
        if (cumulative >= 0.95 * total) {
            f.frequencyBelowWhich95PercentHz = static_cast<double>(k) * binWidth;
            break;
        }
    }
    f.shareBelow100Hz = total > 0.0 ? below100 / total : 0.0;
    f.centroidAbove150Hz = above150 > 0.0 ? weighted150 / above150 : 0.0;

    // The line's offset: the mean, over the fitted bands, of each band's level with the
    // slope taken out.
    double offset = 0.0;
    int fitted = 0;
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        const double width = bandUpperEdgeHz(b) - bandLowerEdgeHz(b);
        f.bandDb[b] = 10.0 * std::log10(f.bandEnergy[b] / width + 1e-30);
        const double nominal = bandNominalHz(b);
        if (nominal >= referenceFitLowHz && nominal <= referenceFitHighHz) {
            offset += f.bandDb[b] - referenceSlopeDbPerOctave * std::log2(bandCentreHz(b) / 1000.0);
            ++fitted;
        }
        if (total > 0.0 && f.bandEnergy[b] / total > f.largestBandShare) {
            f.largestBandShare = f.bandEnergy[b] / total;
            f.largestBand = b;
        }
    }
    offset /= fitted;
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        f.deviationDb[b] = f.bandDb[b] - (offset + referenceSlopeDbPerOctave * std::log2(bandCentreHz(b) / 1000.0));
    }
    return f;
}

}  // namespace soundtrack
