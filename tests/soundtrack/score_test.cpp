// The score against the picture: the cuts on beats, the parts in the key, the end in time.
#include "score.h"
#include "sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace soundtrack;

namespace {

// The picture's cuts, seconds: flash, credits, fireworks, carousel, then one model every 4 s,
// and the end of the show.
std::vector<double> pictureCuts()
{
    std::vector<double> cuts = {25.0, 35.0, 65.0, 80.0};
    for (double t = 84.0; t <= 116.0; t += 4.0) {
        cuts.push_back(t);
    }
    return cuts;
}

bool isWhole(double x)
{
    return std::abs(x - std::round(x)) < 1e-9;
}

}  // namespace

TEST(SoundtrackScore, EveryCutOfThePictureIsASectionBoundaryOnABeat)
{
    const Score score = buildScore();
    EXPECT_DOUBLE_EQ(score.beatsPerMinute, 120.0);
    EXPECT_DOUBLE_EQ(score.lengthSeconds, 116.0);

    std::set<double> boundaries;
    double expectedStart = 0.0;
    for (const Section& section : score.sections) {
        EXPECT_DOUBLE_EQ(section.startBeat, expectedStart) << section.name << " does not follow on";
        EXPECT_TRUE(isWhole(section.startBeat)) << section.name;
        boundaries.insert(section.startBeat);
        expectedStart = section.startBeat + section.lengthBeats;
    }
    boundaries.insert(expectedStart);
    EXPECT_DOUBLE_EQ(score.beatToSeconds(expectedStart), score.lengthSeconds);

    for (double cut : pictureCuts()) {
        const double beat = cut * score.beatsPerMinute / 60.0;
        EXPECT_TRUE(isWhole(beat)) << cut << " s is not on a beat";
        EXPECT_EQ(boundaries.count(beat), 1u) << "no section starts at the cut at " << cut << " s";
    }
    // Nine carousel phrases, one per model, each four seconds.
    int phrases = 0;
    for (const Section& section : score.sections) {
        if (section.name.rfind("carousel", 0) == 0) {
            ++phrases;
            EXPECT_DOUBLE_EQ(score.beatToSeconds(section.lengthBeats), 4.0);
        }
    }
    EXPECT_EQ(phrases, 9);
}

TEST(SoundtrackScore, CutsAreMarkedByAnImpactOrACrashOnTheDownbeat)
{
    const Score score = buildScore();
    for (double cut : {25.0, 35.0, 65.0, 80.0}) {
        bool marked = false;
        for (const NoteEvent& note : score.notes) {
            marked |= std::abs(score.beatToSeconds(note.beat) - cut) < 1e-9 &&
                      (note.instrument == Instrument::Impact || note.instrument == Instrument::Crash);
        }
        EXPECT_TRUE(marked) << "nothing lands on the cut at " << cut << " s";
    }
}

TEST(SoundtrackScore, PitchedPartsStayInAMinor)
{
    // A natural minor, plus G sharp: the leading note of the dominant E major chord.
    const std::set<int> key = {9, 11, 0, 2, 4, 5, 7, 8};
    const Score score = buildScore();
    for (const NoteEvent& note : score.notes) {
        switch (note.instrument) {
        case Instrument::Bass:
        case Instrument::Pad:
        case Instrument::Lead:
        case Instrument::Arp:
        case Instrument::Chime: {
            ASSERT_TRUE(isWhole(note.pitch));
            const int pitchClass = static_cast<int>(note.pitch) % 12;
            EXPECT_EQ(key.count(pitchClass), 1u) << "pitch " << note.pitch << " at beat " << note.beat;
            break;
        }
        default: break;
        }
    }
}

TEST(SoundtrackScore, NotesAreWellFormedAndInsideTheShow)
{
    const Score score = buildScore();
    ASSERT_FALSE(score.notes.empty());
    double previous = 0.0;
    for (const NoteEvent& note : score.notes) {
        EXPECT_GE(note.beat, previous) << "notes out of order";
        previous = note.beat;
        EXPECT_GT(note.lengthBeats, 0.0);
        EXPECT_GT(note.velocity, 0.0f);
        EXPECT_LE(note.velocity, 1.0f);
        EXPECT_LT(score.beatToSeconds(note.beat), score.lengthSeconds);
    }
}

TEST(SoundtrackScore, EverythingHasDiedAwayWhenTheShowEnds)
{
    const Score score = buildScore();
    std::uint32_t seed = 1;
    int rendered = 0;
    for (const NoteEvent& note : score.notes) {
        const double start = score.beatToSeconds(note.beat);
        if (start < 104.0) {
            continue;
        }
        // The whole sound of the note, release and decay included.
        const StereoBuffer voice = renderNote(score, note, ++seed);
        const double end = start + static_cast<double>(voice.frames()) / sampleRate;
        EXPECT_LE(end, score.lengthSeconds) << "a note at " << start << " s sounds until " << end << " s";
        ++rendered;
    }
    EXPECT_GT(rendered, 0);
    // The master fade brings the reverb tail down to nothing at the very end.
    EXPECT_DOUBLE_EQ(score.automation.masterLevel.at(score.lengthSeconds), 0.0);
    EXPECT_DOUBLE_EQ(score.automation.masterLevel.at(0.0), 0.0);
}

TEST(SoundtrackScore, ThePartsThinOutOverTheCarousel)
{
    const Score score = buildScore();
    const auto countBetween = [&](double from, double to) {
        int count = 0;
        for (const NoteEvent& note : score.notes) {
            const double t = score.beatToSeconds(note.beat);
            count += (t >= from && t < to) ? 1 : 0;
        }
        return count;
    };
    int previous = countBetween(80.0, 84.0);
    for (double phrase = 84.0; phrase < 112.0; phrase += 4.0) {
        const int count = countBetween(phrase, phrase + 4.0);
        EXPECT_LE(count, previous) << "the phrase at " << phrase << " s has more notes than the one before";
        previous = count;
    }
    EXPECT_GT(countBetween(80.0, 84.0), 8 * countBetween(108.0, 112.0));
    // The last phrase is one chord struck on its downbeat and left to ring.
    EXPECT_GT(countBetween(112.0, 112.001), 3);
    EXPECT_EQ(countBetween(112.001, 116.0), 0);
}

TEST(SoundtrackScore, TheDropCarriesMoreWeightAndBreaksForOneBarOnly)
{
    const Score score = buildScore();
    const Curve& weight = score.automation.weight;
    // The kick and the bass are lifted only while the whole drop plays.
    for (double t : {10.0, 40.0, 64.8, 78.5, 90.0, 112.0}) {
        EXPECT_DOUBLE_EQ(weight.at(t), 1.0) << t << " s";
    }
    for (double t : {65.1, 70.0, 77.8}) {
        EXPECT_GT(weight.at(t), 1.4) << t << " s";
    }
    // The groove runs to 78 s: the break before the carousel is one bar (2 s), not a hole.
    double lastKick = 0.0, lastBass = 0.0;
    for (const NoteEvent& note : score.notes) {
        const double t = score.beatToSeconds(note.beat);
        if (t >= 65.0 && t < 80.0) {
            lastKick = note.instrument == Instrument::Kick ? t : lastKick;
            lastBass = note.instrument == Instrument::Bass ? t : lastBass;
        }
    }
    EXPECT_GE(lastKick, 77.5);
    EXPECT_GE(lastBass, 77.5);
    EXPECT_LT(lastKick, 78.0);
}

TEST(SoundtrackScore, TheLowEndEntersEarlyInTheTunnel)
{
    const Score score = buildScore();
    double firstBass = score.lengthSeconds;
    for (const NoteEvent& note : score.notes) {
        if (note.instrument == Instrument::Bass) {
            firstBass = std::min(firstBass, score.beatToSeconds(note.beat));
        }
    }
    EXPECT_LE(firstBass, 10.0) << "the build's lows come in only at " << firstBass << " s";
    // The opening fades in quickly to a level a hall can hear; the parts carry the build on.
    EXPECT_GE(score.automation.masterLevel.at(1.0), 0.5);
}
