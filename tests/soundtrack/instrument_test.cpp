// Every instrument on its own: it sounds, it starts and ends at silence (no click), it stays
// within a sane level, and oscillators carry no offset.
#include "envelope.h"
#include "oscillators.h"
#include "sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace soundtrack;

namespace {

float peakOf(const StereoBuffer& b)
{
    float peak = 0.0f;
    for (std::size_t n = 0; n < b.frames(); ++n) {
        peak = std::max({peak, std::abs(b.left[n]), std::abs(b.right[n])});
    }
    return peak;
}

const char* nameOf(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Kick: return "kick";
    case Instrument::Snare: return "snare";
    case Instrument::Clap: return "clap";
    case Instrument::ClosedHat: return "closed hat";
    case Instrument::OpenHat: return "open hat";
    case Instrument::Crash: return "crash";
    case Instrument::Bass: return "bass";
    case Instrument::Pad: return "pad";
    case Instrument::Lead: return "lead";
    case Instrument::Arp: return "arpeggio";
    case Instrument::Chime: return "chime";
    case Instrument::Riser: return "riser";
    case Instrument::Impact: return "impact";
    }
    return "?";
}

}  // namespace

TEST(SoundtrackInstruments, EveryVoiceSoundsAndStartsAndEndsAtSilence)
{
    Score score;
    score.automation.padCutoffHz = {{0, 2000}};
    score.automation.arpCutoffHz = {{0, 2000}};
    score.automation.brightness = {{0, 1.0}};
    const Instrument all[] = {Instrument::Kick,    Instrument::Snare, Instrument::Clap,  Instrument::ClosedHat,
                              Instrument::OpenHat, Instrument::Crash, Instrument::Bass,  Instrument::Pad,
                              Instrument::Lead,    Instrument::Arp,   Instrument::Chime, Instrument::Riser,
                              Instrument::Impact};
    for (Instrument instrument : all) {
        const NoteEvent note{0.0, instrument, 57.0, 4.0, 1.0f};
        const StereoBuffer voice = renderNote(score, note, 99);
        ASSERT_GT(voice.frames(), 100u) << nameOf(instrument);
        const float peak = peakOf(voice);
        EXPECT_GT(peak, 0.05f) << nameOf(instrument) << " is (nearly) silent";
        EXPECT_LT(peak, 2.0f) << nameOf(instrument) << " is far too loud";
        const std::size_t last = voice.frames() - 1;
        for (const std::vector<float>* channel : {&voice.left, &voice.right}) {
            EXPECT_LE(std::abs((*channel)[0]), 0.01f * peak) << nameOf(instrument) << " clicks on";
            EXPECT_LE(std::abs((*channel)[last]), 0.001f * peak) << nameOf(instrument) << " clicks off";
        }
    }
}

TEST(SoundtrackInstruments, VelocityScalesTheLevel)
{
    Score score;
    score.automation.brightness = {{0, 0.5}};
    const StereoBuffer loud = renderNote(score, {0.0, Instrument::Bass, 33.0, 1.0, 1.0f}, 5);
    const StereoBuffer soft = renderNote(score, {0.0, Instrument::Bass, 33.0, 1.0, 0.25f}, 5);
    EXPECT_NEAR(peakOf(soft) / peakOf(loud), 0.25f, 0.1f);
}

TEST(SoundtrackInstruments, EnvelopesRiseHoldAndFallToExactlyZero)
{
    const Adsr shape{0.01, 0.1, 0.5, 0.2};
    EXPECT_EQ(adsrLevel(shape, 0.0, 1.0), 0.0f);
    EXPECT_NEAR(adsrLevel(shape, 0.005, 1.0), 0.5f, 1e-4f);
    EXPECT_NEAR(adsrLevel(shape, 0.01, 1.0), 1.0f, 1e-4f);
    EXPECT_NEAR(adsrLevel(shape, 0.99, 1.0), 0.5f, 1e-3f);
    EXPECT_NEAR(adsrLevel(shape, 1.1, 1.0), 0.5f * 0.25f, 1e-3f);
    EXPECT_NEAR(adsrLevel(shape, 1.2, 1.0), 0.0f, 1e-9f);
    EXPECT_EQ(adsrLevel(shape, 1.21, 1.0), 0.0f);
    EXPECT_DOUBLE_EQ(adsrLength(shape, 1.0), 1.2);
    // A gate shorter than the attack releases from where the attack had got to.
    EXPECT_LE(adsrLevel(shape, 0.004, 0.002), adsrLevel(shape, 0.002, 0.002));
    EXPECT_EQ(percussiveLevel(0.0, 0.001, 0.1, 0.5), 0.0f);
    EXPECT_EQ(percussiveLevel(0.5, 0.001, 0.1, 0.5), 0.0f);
    EXPECT_NEAR(percussiveLevel(0.001, 0.001, 0.1, 0.5), 1.0f, 1e-4f);
}

TEST(SoundtrackInstruments, OscillatorsAreCentredAndFullScale)
{
    for (double width : {0.5, 0.2, 0.8}) {
        Oscillator oscillator;
        oscillator.setFrequency(440.0);
        double sum = 0.0;
        for (int n = 0; n < sampleRate; ++n) {
            sum += oscillator.pulse(width);
        }
        EXPECT_NEAR(sum / sampleRate, 0.0, 1e-3) << "pulse width " << width;
    }
    Oscillator saw;
    saw.setFrequency(441.0);
    double sum = 0.0;
    float peak = 0.0f;
    for (int n = 0; n < sampleRate; ++n) {
        const float s = saw.saw();
        sum += s;
        peak = std::max(peak, std::abs(s));
    }
    EXPECT_NEAR(sum / sampleRate, 0.0, 1e-3);
    EXPECT_GT(peak, 0.9f);
    EXPECT_LT(peak, 1.1f);
}
