#include "score.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

// The piece is in A minor at 120 beats per minute (one beat = 0.5 s, a 4/4 bar = 2 s). Its
// chords move every two bars through Am - F - C - G, the minor key's most open progression,
// with a dominant E where a section needs to pull into the next one. The drop (the fireworks)
// turns to a second progression, F - G - Am - E, and the carousel ends on the cadence
// Dm - E - Am, its last chord left to ring out. Two of the picture's
// cuts (25 s and 65 s) fall half way through a bar: the bar before each is cut to two beats,
// a pick-up that ends on the cut.

namespace soundtrack {

namespace {

// --- harmony --------------------------------------------------------------------------------

struct Chord {
    int bass;                    // root, MIDI, in the bass register (E1 28 .. D2 38)
    std::array<int, 4> voicing;  // the pads' four notes, around middle C
};

const Chord Am{33, {57, 60, 64, 71}};  // A C E B: A minor with an added ninth
const Chord F{29, {57, 60, 65, 67}};   // A C F G: F with an added ninth
const Chord C{36, {55, 60, 64, 67}};   // G C E G
const Chord G{31, {55, 59, 62, 69}};   // G B D A: G with an added ninth
const Chord Dm{38, {57, 60, 62, 65}};  // A C D F: D minor seventh
const Chord E{28, {56, 59, 64, 68}};   // G# B E G#: the dominant, with the raised leading note

struct ChordSpan {
    const Chord* chord;
    double beats;
};

// --- rhythm patterns: one character per sixteenth note, sixteen to a bar --------------------

const char* const fourOnTheFloor = "x...x...x...x...";
const char* const backbeat = "....x.......x...";
const char* const offbeatEighths = "..x...x...x...x.";
const char* const eighths = "x.x.x.x.x.x.x.x.";
const char* const sixteenths = "xxxxxxxxxxxxxxxx";
// Bass lines: x = root, o = root an octave up.
const char* const bassOffbeat = "..x...x...x...x.";
const char* const bassRolling = ".xxx.xxx.xxx.xox";

// A melody note: when (beats into its chord), which pitch, how long (beats).
struct MelodyNote {
    double offset;
    int pitch;
    double beats;
};
using Motif = std::vector<MelodyNote>;

// The lead's theme: one two-bar phrase per chord, a falling line that each chord answers.
const Motif motifAm = {{0, 76, 1.5}, {1.5, 74, 0.5}, {2, 72, 1}, {3, 71, 1}, {4, 69, 2.5}};
const Motif motifF = {{0, 72, 1.5}, {1.5, 69, 0.5}, {2, 72, 1}, {3, 77, 1}, {4, 76, 2.5}};
const Motif motifC = {{0, 67, 1.5}, {1.5, 72, 0.5}, {2, 76, 1}, {3, 79, 1}, {4, 76, 2}, {6, 74, 1}, {7, 72, 1}};
const Motif motifG = {{0, 74, 1.5}, {1.5, 71, 0.5}, {2, 74, 1}, {3, 76, 1}, {4, 71, 3}};
const Motif motifE = {{0, 71, 1}, {1, 68, 1}, {2, 71, 1}, {3, 76, 1}};

class ScoreWriter {
public:
    explicit ScoreWriter(Score& target) : score(target) {}

    void section(const std::string& name, double lengthBeats)
    {
        score.sections.push_back({name, cursor, lengthBeats});
        cursor += lengthBeats;
    }

    void note(double beat, Instrument instrument, double pitch, double beats, float velocity)
    {
        score.notes.push_back({beat, instrument, pitch, beats, velocity});
    }

    // A drum pattern repeated bar after bar from `beat` for `beats` beats. Velocities rise
    // linearly from `from` to `to` over the span (a crescendo when they differ).
    void drums(Instrument instrument, const char* pattern, double beat, double beats, float from, float to)
    {
        for (int step = 0; step * 0.25 < beats; ++step) {
            if (pattern[step % 16] != 'x') {
                continue;
            }
            const double progress = (step * 0.25) / beats;
            // The quieter sixteenths between the eighths give the hats a swing of dynamics.
            const float accent = (step % 2 == 1) ? 0.7f : 1.0f;
            note(beat + step * 0.25, instrument, 0.0, 0.25,
                 accent * (from + (to - from) * static_cast<float>(progress)));
        }
    }

    // A bass line over a chord sequence.
    void bassLine(const char* pattern, double beat, const std::vector<ChordSpan>& chords, float velocity)
    {
        for (const ChordSpan& span : chords) {
            for (int step = 0; step * 0.25 < span.beats; ++step) {
                const char c = pattern[step % 16];
                if (c == 'x' || c == 'o') {
                    const int pitch = span.chord->bass + (c == 'o' ? 12 : 0);
                    note(beat + step * 0.25, Instrument::Bass, pitch, 0.2, velocity);
                }
            }
            beat += span.beats;
        }
    }

    // One held bass note per chord.
    void bassHeld(double beat, const std::vector<ChordSpan>& chords, float velocity)
    {
        for (const ChordSpan& span : chords) {
            note(beat, Instrument::Bass, span.chord->bass, span.beats - 0.25, velocity);
            beat += span.beats;
        }
    }

    void pads(double beat, const std::vector<ChordSpan>& chords, float velocity)
    {
        for (const ChordSpan& span : chords) {
            for (int pitch : span.chord->voicing) {
                note(beat, Instrument::Pad, pitch, span.beats, velocity);
            }
            beat += span.beats;
        }
    }

    // Broken chords on the pulse: up through the voicing, the root an octave higher, back
    // down. stepBeats 0.5 for eighths, 0.25 for sixteenths.
    void arpeggio(double beat, const std::vector<ChordSpan>& chords, double stepBeats, float from, float to, int octave)
    {
        double total = 0.0;
        for (const ChordSpan& span : chords) {
            total += span.beats;
        }
        double elapsed = 0.0;
        for (const ChordSpan& span : chords) {
            const auto& v = span.chord->voicing;
            const std::array<int, 8> order = {v[0], v[1], v[2], v[3], v[0] + 12, v[3], v[2], v[1]};
            int step = 0;
            // The beat is accumulated in steps, as the score was written and heard: counting in
            // integers and multiplying would move notes by a rounding and change the soundtrack.
            // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter)
            for (double at = 0.0; at < span.beats - 1e-9; at += stepBeats, ++step) {
                const float progress = static_cast<float>((elapsed + at) / total);
                note(beat + at, Instrument::Arp, order[step % 8] + 12 * octave, stepBeats * 0.6,
                     from + (to - from) * progress);
            }
            beat += span.beats;
            elapsed += span.beats;
        }
    }

    void melody(double beat, const Motif& motif, int transpose, float velocity)
    {
        for (const MelodyNote& m : motif) {
            note(beat + m.offset, Instrument::Lead, m.pitch + transpose, m.beats, velocity);
        }
    }

    // A roll whose notes come closer together (eighths, then sixteenths, then thirty-seconds
    // in its last beat) and louder.
    void snareRoll(double beat, double beats, float from, float to)
    {
        for (double at = 0.0; at < beats - 1e-9;) {
            const double remaining = beats - at;
            const double step = remaining <= 1.0 ? 0.125 : (remaining <= beats / 2 ? 0.25 : 0.5);
            const float progress = static_cast<float>(at / beats);
            note(beat + at, Instrument::Snare, 0.0, step, from + (to - from) * progress);
            at += step;
        }
    }

    double position() const { return cursor; }

private:
    Score& score;
    double cursor = 0.0;
};

double spanBeats(const std::vector<ChordSpan>& chords)
{
    double beats = 0.0;
    for (const ChordSpan& span : chords) {
        beats += span.beats;
    }
    return beats;
}

// 0 - 25 s, the tunnel fading up from black: pads swell, a filtered pulse grows beneath them,
// a soft held bass enters at 8 s and the quicker pulse and fuller bass at 16 s, a riser and a
// snare roll pull into the cut. The parts that join carry the build; the fade in is short.
void writeIntro(ScoreWriter& w)
{
    const double start = w.position();
    const std::vector<ChordSpan> chords = {{&Am, 8}, {&F, 8}, {&C, 8}, {&G, 8}, {&Am, 8}, {&F, 8}, {&E, 2}};
    w.section("tunnel", spanBeats(chords));
    w.pads(start, chords, 0.8f);
    const std::vector<ChordSpan> early(chords.begin() + 1, chords.begin() + 4);
    const std::vector<ChordSpan> late(chords.begin() + 4, chords.end());
    w.arpeggio(start + 8, early, 0.5, 0.35f, 0.6f, 0);
    w.arpeggio(start + 32, late, 0.25, 0.5f, 0.75f, 1);
    const std::vector<ChordSpan> beforeThePulse(chords.begin() + 2, chords.begin() + 4);
    w.bassHeld(start + 16, beforeThePulse, 0.3f);
    w.bassHeld(start + 32, late, 0.45f);
    w.note(start + 34, Instrument::Riser, 45, 16, 0.8f);
    w.snareRoll(start + 44, 6, 0.1f, 0.75f);
}

// 25 - 35 s, the flash: an impact on the cut that rings out with the over-exposure, then the
// drums come in under it. The payoff of the build is bright rather than heavy: the hats and
// the arpeggio run from the cut, the impact's boom is short and the held bass soft, so the
// low end does not swamp the scene.
void writeFlash(ScoreWriter& w)
{
    const double start = w.position();
    const std::vector<ChordSpan> chords = {{&Am, 8}, {&F, 8}, {&G, 4}};
    w.section("flash", spanBeats(chords));
    w.note(start, Instrument::Impact, 0, 7, 1.0f);
    w.note(start, Instrument::Crash, 0, 8, 1.0f);
    w.pads(start, chords, 0.9f);
    w.bassHeld(start, chords, 0.35f);
    w.drums(Instrument::Kick, fourOnTheFloor, start + 4, 16, 0.75f, 0.9f);
    w.drums(Instrument::ClosedHat, sixteenths, start, 20, 0.4f, 0.55f);
    w.drums(Instrument::Clap, backbeat, start + 4, 16, 0.65f, 0.8f);
    w.drums(Instrument::OpenHat, offbeatEighths, start + 4, 16, 0.4f, 0.5f);
    w.arpeggio(start, chords, 0.25, 0.5f, 0.65f, 1);
}

// 35 - 65 s, the credits: the main groove with bass and lead (35-51 s), then a breakdown by
// subtraction (51-59 s: kick, clap and bass leave, the theme sings over the pads and a soft
// hat), then the build (59-65 s: claps on the beat that double, a roll and a riser climb, the
// filters open) into the drop as the picture fades to white. The bass and the kick stay out
// until the drop, so the drop is where the low end returns.
void writeCredits(ScoreWriter& w)
{
    const double start = w.position();
    const std::vector<ChordSpan> chords = {{&Am, 8}, {&F, 8}, {&C, 8}, {&G, 8}, {&Am, 8}, {&F, 8}, {&C, 8}, {&E, 4}};
    w.section("credits", spanBeats(chords));
    w.note(start, Instrument::Crash, 0, 8, 0.7f);
    w.pads(start, chords, 0.75f);
    // The groove: beats 0-32.
    w.drums(Instrument::Kick, fourOnTheFloor, start, 32, 0.9f, 0.9f);
    w.drums(Instrument::Clap, backbeat, start, 32, 0.7f, 0.8f);
    w.drums(Instrument::ClosedHat, sixteenths, start, 32, 0.35f, 0.5f);
    w.drums(Instrument::OpenHat, offbeatEighths, start + 16, 16, 0.3f, 0.4f);
    const std::vector<ChordSpan> first(chords.begin(), chords.begin() + 4);
    w.bassLine(bassOffbeat, start, first, 0.85f);
    // The breakdown: beats 32-48, a soft pulse of hats keeps the time.
    w.drums(Instrument::ClosedHat, offbeatEighths, start + 32, 16, 0.25f, 0.35f);
    // The build: beats 48-60, claps on the beat, then in eighths for the last bar; high-passed
    // well above the bass, they drive the build without filling the low end before the drop.
    w.drums(Instrument::Clap, fourOnTheFloor, start + 48, 8, 0.45f, 0.65f);
    w.drums(Instrument::Clap, eighths, start + 56, 4, 0.6f, 0.8f);
    w.drums(Instrument::ClosedHat, sixteenths, start + 48, 12, 0.3f, 0.6f);

    const std::array<const Motif*, 8> motifs = {&motifAm, &motifF, &motifC, &motifG,
                                                &motifAm, &motifF, &motifC, &motifE};
    double beat = start;
    for (std::size_t i = 0; i < chords.size(); ++i) {
        // Quieter through the breakdown (chords 4 and 5), rising with the build.
        w.melody(beat, *motifs[i], 0, i < 4 ? 0.55f : (i < 6 ? 0.5f : 0.7f));
        beat += chords[i].beats;
    }
    const std::vector<ChordSpan> second(chords.begin() + 4, chords.end());
    w.arpeggio(start + 32, second, 0.25, 0.3f, 0.7f, 1);

    // The build: 57 s is beat 44 of the section.
    w.note(start + 44, Instrument::Riser, 57, 16, 0.95f);
    w.snareRoll(start + 48, 12, 0.2f, 0.95f);
}

// 65 - 80 s, the fireworks: the drop. A second progression (F - G - Am - E, the minor key's
// climb from its sixth) under everything at once: the bass rolls, the arpeggio runs in
// sixteenths an octave up, the theme is doubled an octave higher and by chimes, and the hats
// and snare fill the top. It climbs in two steps (the open hats, the snare and the chimes join at the
// second crash, 73 s) and breaks for the E's last bar (78-80 s: all but the pads drop out under
// the riser and the snare's fill), so the drop moves instead of sitting at one level and the
// carousel's entry at 80 s lands; one bar is enough for that, and a longer hole would drain
// the drop. The E at its end pulls into the carousel's A minor. The hats are held below the
// credits' so the drop's extra loudness is weight (the kick and the bass, see the weight
// curve) rather than 2-3 kHz.
void writeFireworks(ScoreWriter& w)
{
    const double start = w.position();
    const std::vector<ChordSpan> chords = {{&F, 8}, {&G, 8}, {&Am, 8}, {&E, 6}};
    const std::vector<ChordSpan> themed = {{&F, 8}, {&G, 8}, {&Am, 8}};
    const std::vector<ChordSpan> beforeTheBreak = {{&F, 8}, {&G, 8}, {&Am, 8}, {&E, 2}};
    const double breakBeat = spanBeats(beforeTheBreak);
    w.section("fireworks", spanBeats(chords));
    w.note(start, Instrument::Impact, 0, 6, 0.8f);
    w.note(start, Instrument::Crash, 0, 8, 1.0f);
    w.note(start + 16, Instrument::Crash, 0, 8, 0.9f);
    w.pads(start, chords, 0.85f);
    w.drums(Instrument::Kick, fourOnTheFloor, start, breakBeat, 0.85f, 0.9f);
    w.drums(Instrument::Clap, backbeat, start, breakBeat, 0.7f, 0.8f);
    w.drums(Instrument::Snare, backbeat, start + 16, breakBeat - 16, 0.6f, 0.6f);
    w.drums(Instrument::ClosedHat, sixteenths, start, breakBeat, 0.45f, 0.6f);
    w.drums(Instrument::OpenHat, offbeatEighths, start + 16, breakBeat - 16, 0.5f, 0.55f);
    w.bassLine(bassRolling, start, beforeTheBreak, 0.95f);
    w.arpeggio(start, beforeTheBreak, 0.25, 0.7f, 0.85f, 1);
    const std::array<const Motif*, 3> motifs = {&motifF, &motifG, &motifAm};
    double beat = start;
    for (std::size_t i = 0; i < themed.size(); ++i) {
        w.melody(beat, *motifs[i], 0, 0.85f);
        w.melody(beat, *motifs[i], 12, 0.3f);
        // The chimes join at the second crash, the climb's second step.
        for (const MelodyNote& m : *motifs[i]) {
            if (beat >= start + 16) {
                w.note(beat + m.offset, Instrument::Chime, m.pitch + 12, m.beats + 2, 0.35f);
            }
        }
        beat += chords[i].beats;
    }
    w.note(start + 22, Instrument::Riser, 57, 8, 0.6f);
    w.drums(Instrument::Snare, sixteenths, start + 28, 2, 0.5f, 0.95f);
}

// 80 - 116 s, the carousel: nine four-second phrases, one per model. The first eight keep a
// groove while it thins one part at a time until a kick on one and three, the held bass, the
// pads and a soft open hat remain, each phrase a little softer, except for a lift in the third
// and fourth (88-96 s) where the hats and the arpeggio run in sixteenths again and the theme
// sings out once more before the parts leave; the ninth is the cadence's resolution, one A
// minor chord struck at 112 s that rings out before 116 s.
void writeCarousel(ScoreWriter& w)
{
    const std::array<ChordSpan, 9> chords = {
        {{&Am, 8}, {&F, 8}, {&C, 8}, {&G, 8}, {&Am, 8}, {&F, 8}, {&Dm, 8}, {&E, 8}, {&Am, 8}}};
    const std::array<const Motif*, 5> motifs = {&motifAm, &motifF, &motifC, &motifG, &motifAm};
    // How far each phrase has fallen from the first, in steps of a few hundredths of velocity;
    // the third and fourth climb back (the lift) before the fall goes on.
    const std::array<float, 8> fallSteps = {0.0f, 1.0f, 0.5f, 0.0f, 3.0f, 4.5f, 6.0f, 7.0f};
    const char* const halfTime = "x.......x.......";
    const char* const offbeatQuarters = "......x.......x.";
    for (std::size_t phrase = 0; phrase < chords.size(); ++phrase) {
        const double start = w.position();
        const std::vector<ChordSpan> chord = {chords[phrase]};
        w.section("carousel " + std::to_string(phrase + 1), 8);
        if (phrase == 8) {
            break;
        }
        const float fall = fallSteps[phrase];
        const bool lifted = phrase < 4;
        // A cymbal on each phrase's downbeat marks the next model and keeps the air above
        // 5 kHz while the hats thin out.
        w.note(start, Instrument::Crash, 0, 8, phrase == 0 ? 0.9f : 0.6f - 0.02f * fall);
        w.drums(Instrument::Kick, phrase < 6 ? fourOnTheFloor : halfTime, start, 8, 0.95f - 0.04f * fall,
                0.93f - 0.04f * fall);
        if (phrase < 5) {
            w.melody(start, *motifs[phrase], 0, 0.7f - 0.05f * fall);
            w.drums(Instrument::Clap, backbeat, start, 8, 0.85f - 0.06f * fall, 0.85f - 0.06f * fall);
        }
        if (lifted) {
            w.drums(Instrument::OpenHat, offbeatEighths, start, 8, 0.45f, 0.45f);
        } else {
            // The last of the air: a soft open hat twice a bar while the groove empties.
            w.drums(Instrument::OpenHat, offbeatQuarters, start, 8, 0.5f - 0.02f * fall, 0.5f - 0.02f * fall);
        }
        if (lifted) {
            w.drums(Instrument::ClosedHat, sixteenths, start, 8, 0.55f, 0.55f);
        } else if (phrase < 6) {
            w.drums(Instrument::ClosedHat, eighths, start, 8, 0.55f - 0.03f * fall, 0.55f - 0.03f * fall);
        }
        if (phrase < 2) {
            w.bassLine(bassRolling, start, chord, 0.9f);
        } else if (phrase < 6) {
            w.bassLine(bassOffbeat, start, chord, 0.85f - 0.05f * (fall - 2.0f));
        } else {
            w.bassHeld(start, chord, 0.5f);
        }
        if (lifted) {
            w.arpeggio(start, chord, 0.25, 0.65f, 0.6f, 1);
        } else if (phrase < 6) {
            w.arpeggio(start, chord, 0.5, 0.6f - 0.05f * fall, 0.55f - 0.05f * fall, 1);
        }
        w.pads(start, chord, 0.8f);
    }

    // The resolution, struck on the last phrase's downbeat (112 s) after the E of the phrase
    // before: the A minor chord held two seconds and released, the low A under it, and chimes
    // on the chord's notes with the tonic on top, decaying for three and a half seconds and
    // silent by 115.8 s.
    const double last = w.position() - 8;
    for (int pitch : {57, 60, 64, 69}) {
        w.note(last, Instrument::Pad, pitch, 4, 0.8f);
    }
    w.note(last, Instrument::Bass, 33, 4.5, 0.55f);
    for (int pitch : {69, 72, 76, 81}) {
        w.note(last, Instrument::Chime, pitch, 7.5, 0.5f);
    }
}

}  // namespace

Score buildScore()
{
    Score score;
    ScoreWriter writer(score);
    writeIntro(writer);
    writeFlash(writer);
    writeCredits(writer);
    writeFireworks(writer);
    writeCarousel(writer);
    std::stable_sort(score.notes.begin(), score.notes.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.beat < b.beat; });

    Automation& a = score.automation;
    // The tunnel opens from a dark but not muffled chord (a filter that starts at 300 Hz would
    // leave the fade-in all low-mid box). The breakdown (51-59 s) closes the pads' and the
    // arpeggio's filters; the build opens them wide into the drop at 65 s. The flash holds them
    // open, so the build's payoff is bright. The carousel opens them once more for its lift
    // (88-96 s) and then closes them only part way, so the air stays while the parts leave.
    a.padCutoffHz = {{0, 700},   {12, 1300},  {24.9, 3500}, {25, 3500}, {35, 2200}, {51, 2200},
                     {52, 1200}, {59, 1500},  {64.9, 7000}, {65, 5500}, {80, 4500}, {88, 5000},
                     {96, 5000}, {104, 4000}, {112, 3400},  {116, 2600}};
    a.padLevel = {{0, 0.5},  {12, 0.8},  {24, 1.0}, {33, 1.0}, {35, 0.7},   {51, 0.7}, {53, 0.55},
                  {59, 0.6}, {65, 0.85}, {73, 1.0}, {78, 1.0}, {78.5, 0.7}, {80, 0.9}, {116, 0.9}};
    a.arpCutoffHz = {{0, 600},     {24.9, 4000}, {25, 3500}, {35, 2000}, {51, 900},  {59, 1500},
                     {64.9, 7000}, {65, 6000},   {80, 4500}, {88, 5500}, {96, 5000}, {108, 2400}};
    a.brightness = {{0, 0.25},  {25, 0.4},  {35, 0.45}, {59, 0.6},   {65, 1.0},
                    {80, 0.85}, {88, 0.95}, {96, 0.9},  {104, 0.55}, {112, 0.45}};
    // The show opens already at a level a hall hears and rises from there. The carousel enters
    // 2 dB under the drop, so the drop stays the peak, lifts by 1 dB into its third phrase and
    // then softens a little each phrase; the last chord then decays on its own, and the fade at
    // the very end only takes the reverb's last whisper.
    a.masterLevel = {{0, 0.0},  {0.5, 0.5}, {10, 0.8},  {20, 1.0},  {79.9, 1.0},  {80, 0.8},
                     {86, 0.8}, {90, 0.9},  {96, 0.88}, {112, 0.7}, {115.2, 0.7}, {116, 0.0}};
    // The drop's weight: the kick and the bass 5 dB up while everything plays (65-78 s), back
    // to as mixed for the break.
    a.weight = {{64.9, 1.0}, {65, 1.78}, {77.9, 1.78}, {78, 1.0}};
    return score;
}

}  // namespace soundtrack
