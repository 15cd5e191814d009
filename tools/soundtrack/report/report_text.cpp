#include "report_text.h"

namespace soundtrack {

namespace {

void printBands(std::FILE* out, const SpectrumFigures& spectrum)
{
    std::fprintf(out, "    band Hz  ");
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        std::fprintf(out, "%6g", bandNominalHz(b));
    }
    std::fprintf(out, "\n    vs line  ");
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        std::fprintf(out, "%+6.1f", spectrum.deviationDb[b]);
    }
    std::fprintf(out, "\n");
}

}  // namespace

void printReport(std::FILE* out, const std::string& fileName, const ProgrammeFigures& f)
{
    const SpectrumFigures& s = f.spectrum;
    std::fprintf(out, "%s: %.2f s at %d Hz, %.2f LUFS integrated, %.2f dBTP true peak\n", fileName.c_str(),
                 f.lengthSeconds, f.rateHz, f.integratedLufs, f.truePeakDbtp);
    std::fprintf(out,
                 "\nheadline figures (short-term loudness stamped at the end of its 3 s window; "
                 "spectra of the mid channel against a line of %.1f dB/octave per Hz fitted %g Hz-%g kHz)\n",
                 referenceSlopeDbPerOctave, referenceFitLowHz, referenceFitHighHz / 1000.0);
    std::fprintf(out, "  short-term spread 27-96 s (p95 - p10)       %5.1f LU\n", f.spreadLu);
    std::fprintf(out, "  fireworks 65-80 s over credits 35-58 s      %+5.1f LU (median short-term)\n", f.dropLiftLu);
    std::fprintf(out, "  centroid above 150 Hz, credits / fireworks  %5.0f / %.0f Hz\n", f.versesCentroidHz,
                 f.dropCentroidHz);
    std::fprintf(out, "  carousel's steepest fall within 3 s, 80-112 %5.1f LU\n", f.carouselFallLu);
    std::fprintf(out, "  50 Hz band against the line                 %+5.1f dB\n", f.band50Db);
    std::fprintf(out, "  largest band                                %g Hz, %.1f %% of all energy\n",
                 bandNominalHz(s.largestBand), 100.0 * s.largestBandShare);
    std::fprintf(out, "  energy below 100 Hz                         %5.1f %%\n", 100.0 * s.shareBelow100Hz);
    std::fprintf(out, "  presence 2-6.3 kHz, lowest band vs line     %+5.1f dB\n", f.presenceLowestDb);
    std::fprintf(out, "  95 %% of the energy lies below               %5.0f Hz\n", s.frequencyBelowWhich95PercentHz);
    std::fprintf(out, "  the last 100 ms                             %5.1f dBFS RMS\n", f.tailRmsDbfs);
    std::fprintf(out, "  whole programme:\n");
    printBands(out, s);

    std::fprintf(out, "\nper scene\n");
    for (const SceneFigures& scene : f.scenes) {
        std::fprintf(out,
                     "  %-9s %5.1f-%5.1f s  integrated %6.1f LUFS, short-term median %6.1f LUFS, spread %4.1f LU, "
                     "centroid above 150 Hz %4.0f Hz, below 100 Hz %4.1f %%\n",
                     scene.span.name.c_str(), scene.span.fromSeconds, scene.span.toSeconds, scene.integratedLufs,
                     scene.medianShortTermLufs, scene.shortTermSpreadLu, scene.spectrum.centroidAbove150Hz,
                     100.0 * scene.spectrum.shareBelow100Hz);
        printBands(out, scene.spectrum);
    }
}

}  // namespace soundtrack
