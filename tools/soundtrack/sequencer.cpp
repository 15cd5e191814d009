#include "sequencer.h"

#include "chorus.h"
#include "delay.h"
#include "drums.h"
#include "filters.h"
#include "reverb.h"
#include "synths.h"
#include "transitions.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

// Where an instrument's voice goes before the master: straight to the mix, through the pads'
// chorus, or under the kick's ducking (the bass deeply, the arpeggio lightly).
enum class Bus { Direct, Pads, Ducked, Bass };

struct Channel {
    float gain;
    double pan;        // -1 left .. +1 right
    float reverbSend;  // share of the voice sent to the reverb
    float delaySend;   // share sent to the ping-pong echo
    Bus bus;
    // The channel's equaliser. Everything but the kick, the bass and the impact's boom is
    // high-passed well above the bass's notes, so the low end holds only those two, in mono;
    // the lead gets a presence shelf so the theme carries on small speakers.
    double highPassHz;  // 0: none
    double presenceDb;  // high shelf from 2.5 kHz; 0: none
};

Channel channelFor(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Kick: return {0.95f, 0.0, 0.02f, 0.0f, Bus::Direct, 0.0, 0.0};
    case Instrument::Snare: return {0.75f, 0.08, 0.22f, 0.0f, Bus::Direct, 140.0, 2.0};
    case Instrument::Clap: return {0.7f, -0.06, 0.28f, 0.04f, Bus::Direct, 200.0, 2.0};
    case Instrument::ClosedHat: return {0.75f, 0.3, 0.05f, 0.0f, Bus::Direct, 400.0, 0.0};
    case Instrument::OpenHat: return {0.5f, -0.28, 0.1f, 0.0f, Bus::Direct, 400.0, 0.0};
    case Instrument::Crash: return {0.6f, 0.0, 0.3f, 0.0f, Bus::Direct, 400.0, 0.0};
    case Instrument::Bass: return {0.45f, 0.0, 0.0f, 0.0f, Bus::Bass, 45.0, 0.0};
    case Instrument::Pad: return {0.5f, 0.0, 0.35f, 0.0f, Bus::Pads, 110.0, 0.0};
    case Instrument::Lead: return {0.45f, 0.0, 0.22f, 0.28f, Bus::Direct, 200.0, 5.0};
    case Instrument::Arp: return {0.3f, 0.15, 0.15f, 0.3f, Bus::Ducked, 110.0, 2.0};
    case Instrument::Chime: return {0.22f, -0.1, 0.4f, 0.3f, Bus::Direct, 300.0, 0.0};
    case Instrument::Riser: return {0.3f, 0.0, 0.3f, 0.0f, Bus::Direct, 200.0, 0.0};
    case Instrument::Impact: return {0.6f, 0.0, 0.45f, 0.0f, Bus::Direct, 30.0, 0.0};
    }
    return {0.0f, 0.0, 0.0f, 0.0f, Bus::Direct, 0.0, 0.0};
}

// The automated gain a part is mixed at, or none: the pads have their own level, and the kick
// and the bass share one, so the drop can carry more weight without the parts above it.
const Curve* levelCurveFor(Instrument instrument, const Automation& automation)
{
    switch (instrument) {
    case Instrument::Pad: return &automation.padLevel;
    case Instrument::Kick:
    case Instrument::Bass: return &automation.weight;
    default: return nullptr;
    }
}

// The channel's equaliser over one voice, in place. Each voice starts from silence, so fresh
// filter states start it cleanly.
void equalise(StereoBuffer& voice, const Channel& channel)
{
    if (channel.highPassHz > 0.0) {
        Biquad left = Biquad::highPass(channel.highPassHz), right = Biquad::highPass(channel.highPassHz);
        for (std::size_t n = 0; n < voice.frames(); ++n) {
            voice.left[n] = left.process(voice.left[n]);
            voice.right[n] = right.process(voice.right[n]);
        }
    }
    if (channel.presenceDb != 0.0) {
        Biquad left = Biquad::highShelf(2500.0, channel.presenceDb);
        Biquad right = Biquad::highShelf(2500.0, channel.presenceDb);
        for (std::size_t n = 0; n < voice.frames(); ++n) {
            voice.left[n] = left.process(voice.left[n]);
            voice.right[n] = right.process(voice.right[n]);
        }
    }
}

// The pads' voicings sit at 200-500 Hz and their saws' next harmonics at 500 Hz-1 kHz, where a
// chord of sustained saws reads as boxy when little else plays (the tunnel, the flash): broad
// dips at 400 and 800 Hz on their bus.
void cutPadsBox(StereoBuffer& pads)
{
    Biquad left = Biquad::peak(400.0, 1.0, -3.0), right = Biquad::peak(400.0, 1.0, -3.0);
    Biquad upperLeft = Biquad::peak(800.0, 0.9, -2.5), upperRight = Biquad::peak(800.0, 0.9, -2.5);
    for (std::size_t n = 0; n < pads.frames(); ++n) {
        pads.left[n] = upperLeft.process(left.process(pads.left[n]));
        pads.right[n] = upperRight.process(right.process(pads.right[n]));
    }
}

// The bass's harmonics at 150-400 Hz are what small speakers play of it; a saw's fall off
// faster than the mix's tilt, so a broad bell at 200 Hz on its bus carries them to the level
// of the parts above, and the step between the bass and the rest closes.
void liftBassGrowl(StereoBuffer& bass)
{
    Biquad growl = Biquad::peak(200.0, 0.7, 7.0);
    for (std::size_t n = 0; n < bass.frames(); ++n) {
        // The bass is mono: one filter serves both sides.
        bass.left[n] = growl.process(bass.left[n]);
        bass.right[n] = bass.left[n];
    }
}

// The reverb's and the echo's returns are high-passed like the parts they come from: a
// reverberated low end would only blur the kick.
void highPassReturn(StereoBuffer& buffer, double hz)
{
    Biquad left = Biquad::highPass(hz), right = Biquad::highPass(hz);
    for (std::size_t n = 0; n < buffer.frames(); ++n) {
        buffer.left[n] = left.process(buffer.left[n]);
        buffer.right[n] = right.process(buffer.right[n]);
    }
}

struct Buses {
    explicit Buses(std::size_t frames)
        : direct(frames), pads(frames), ducked(frames), bass(frames), reverbSend(frames), delaySend(frames)
    {}
    StereoBuffer direct, pads, ducked, bass, reverbSend, delaySend;
};

// Adds `voice` into `target` from `startFrame`, times `gain` per side (and times the level
// curve at the show's time, where one is given), cutting off at the end of the buffer.
void addVoice(StereoBuffer& target, const StereoBuffer& voice, std::size_t startFrame, float gainLeft, float gainRight,
              const Curve* level)
{
    const std::size_t end = std::min(target.frames(), startFrame + voice.frames());
    for (std::size_t n = startFrame; n < end; ++n) {
        const float curve = level ? static_cast<float>(level->at(static_cast<double>(n) / sampleRate)) : 1.0f;
        target.left[n] += voice.left[n - startFrame] * gainLeft * curve;
        target.right[n] += voice.right[n - startFrame] * gainRight * curve;
    }
}

// The kick pushes the ducked parts down by up to `depth` and lets them back over ~150 ms:
// the pumping that locks sustained parts to the beat. The bass is ducked deep, for as long as
// the kick's body lasts, so the two never share the low end at once.
std::vector<float> duckingGain(const Score& score, std::size_t frames, double depth)
{
    std::vector<float> gain(frames, 1.0f);
    for (const NoteEvent& note : score.notes) {
        if (note.instrument != Instrument::Kick) {
            continue;
        }
        const std::size_t start = secondsToFrames(score.beatToSeconds(note.beat));
        const std::size_t end = std::min(frames, start + secondsToFrames(0.6));
        for (std::size_t n = start; n < end; ++n) {
            const double t = static_cast<double>(n - start) / sampleRate;
            // Held down while the kick's body sounds (50 ms), then let back.
            const double shape = std::min(t / 0.004, 1.0) * std::exp(-std::max(t - 0.05, 0.0) / 0.08);
            gain[n] = std::min(gain[n], static_cast<float>(1.0 - depth * note.velocity * shape));
        }
    }
    return gain;
}

// The mix bus's equaliser, in place: below 150 Hz the sides are taken out (the low end plays
// from the centre, as a club system and a vinyl cut want it); a narrow cut at 125 Hz takes out
// the boom where the bass's second harmonic, the kick's sweep and the pads' lowest notes pile
// up; a broad 2 dB dip at 63 Hz, where the kick's tail and the bass's fundamentals meet, leaves
// the kick its 55 Hz and the bass the octave above; and a shelf lifts the presence and air
// (+2 dB from 4 kHz) that the synthesised parts, darker than recorded ones, lack.
void equaliseMixBus(StereoBuffer& mix)
{
    Biquad sideHighPass = Biquad::highPass(150.0);
    Biquad boomCut = Biquad::peak(125.0, 2.5, -3.5);
    Biquad meetingCut = Biquad::peak(63.0, 1.0, -2.0);
    Biquad shelfLeft = Biquad::highShelf(4000.0, 2.0), shelfRight = Biquad::highShelf(4000.0, 2.0);
    for (std::size_t n = 0; n < mix.frames(); ++n) {
        const float mid = meetingCut.process(boomCut.process(0.5f * (mix.left[n] + mix.right[n])));
        const float side = sideHighPass.process(0.5f * (mix.left[n] - mix.right[n]));
        mix.left[n] = shelfLeft.process(mid + side);
        mix.right[n] = shelfRight.process(mid - side);
    }
}

}  // namespace

StereoBuffer renderNote(const Score& score, const NoteEvent& note, std::uint32_t seed)
{
    const double start = score.beatToSeconds(note.beat);
    const double gate = score.beatToSeconds(note.lengthBeats);
    const Automation& automation = score.automation;
    switch (note.instrument) {
    case Instrument::Kick: return renderKick(note.velocity, seed);
    case Instrument::Snare: return renderSnare(note.velocity, seed);
    case Instrument::Clap: return renderClap(note.velocity, seed);
    case Instrument::ClosedHat: return renderClosedHat(note.velocity, seed);
    case Instrument::OpenHat: return renderOpenHat(note.velocity, seed);
    case Instrument::Crash: return renderCrash(note.velocity, seed);
    case Instrument::Bass: return renderBass(note.pitch, gate, note.velocity, automation.brightness.at(start));
    case Instrument::Pad: return renderPad(note.pitch, gate, note.velocity, start, automation.padCutoffHz, seed);
    case Instrument::Lead: return renderLead(note.pitch, gate, note.velocity, automation.brightness.at(start));
    case Instrument::Arp: return renderArp(note.pitch, gate, note.velocity, automation.arpCutoffHz.at(start));
    case Instrument::Chime: return renderChime(note.pitch, note.velocity, gate / 5.0, gate);
    case Instrument::Riser: return renderRiser(note.pitch, gate, note.velocity, seed);
    case Instrument::Impact: return renderImpact(note.velocity, gate, seed);
    }
    return StereoBuffer();
}

StereoBuffer renderMix(const Score& score)
{
    const std::size_t frames = secondsToFrames(score.lengthSeconds);
    Buses buses(frames);
    std::uint32_t seed = 7928;
    for (const NoteEvent& note : score.notes) {
        // A different, fixed seed per note: repeated hits vary but every render is the same.
        seed = seed * 1664525u + 1013904223u;
        StereoBuffer voice = renderNote(score, note, seed);
        const Channel channel = channelFor(note.instrument);
        equalise(voice, channel);
        const PanGains pan = panGains(channel.pan);
        // Pan gains are normalised so a centred voice keeps its level on each side.
        const float left = channel.gain * pan.left * std::sqrt(2.0f);
        const float right = channel.gain * pan.right * std::sqrt(2.0f);
        const std::size_t startFrame = secondsToFrames(score.beatToSeconds(note.beat));
        const Curve* level = levelCurveFor(note.instrument, score.automation);
        StereoBuffer& bus = channel.bus == Bus::Pads     ? buses.pads
                            : channel.bus == Bus::Ducked ? buses.ducked
                            : channel.bus == Bus::Bass   ? buses.bass
                                                         : buses.direct;
        addVoice(bus, voice, startFrame, left, right, level);
        if (channel.reverbSend > 0.0f) {
            addVoice(buses.reverbSend, voice, startFrame, left * channel.reverbSend, right * channel.reverbSend, level);
        }
        if (channel.delaySend > 0.0f) {
            addVoice(buses.delaySend, voice, startFrame, left * channel.delaySend, right * channel.delaySend, level);
        }
    }

    applyChorus(buses.pads);
    cutPadsBox(buses.pads);
    liftBassGrowl(buses.bass);
    const std::vector<float> duck = duckingGain(score, frames, 0.45);
    const std::vector<float> duckBass = duckingGain(score, frames, 0.9);
    // A dotted eighth: three sixteenths, the echo that fills the gaps of a sixteenth groove.
    StereoBuffer echoes = applyPingPongDelay(buses.delaySend, score.beatToSeconds(0.75), 0.45);
    StereoBuffer hall = applyReverb(buses.reverbSend, ReverbSettings{});
    highPassReturn(echoes, 250.0);
    highPassReturn(hall, 220.0);

    StereoBuffer mix(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        const float ducked = duck[n];
        const float master = static_cast<float>(score.automation.masterLevel.at(static_cast<double>(n) / sampleRate));
        mix.left[n] = buses.direct.left[n] + ducked * (buses.ducked.left[n] + buses.pads.left[n]) +
                      duckBass[n] * buses.bass.left[n] + 0.7f * echoes.left[n] + hall.left[n];
        mix.left[n] *= master;
        mix.right[n] = buses.direct.right[n] + ducked * (buses.ducked.right[n] + buses.pads.right[n]) +
                       duckBass[n] * buses.bass.right[n] + 0.7f * echoes.right[n] + hall.right[n];
        mix.right[n] *= master;
    }
    equaliseMixBus(mix);
    return mix;
}

}  // namespace soundtrack
