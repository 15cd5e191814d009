#include "sequencer.h"

#include "chorus.h"
#include "delay.h"
#include "drums.h"
#include "reverb.h"
#include "synths.h"
#include "transitions.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

// Where an instrument's voice goes before the master: straight to the mix, through the pads'
// chorus, or under the kick's ducking.
enum class Bus { Direct, Pads, Ducked };

struct Channel {
    float gain;
    double pan;        // -1 left .. +1 right
    float reverbSend;  // share of the voice sent to the reverb
    float delaySend;   // share sent to the ping-pong echo
    Bus bus;
};

Channel channelFor(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Kick: return {0.95f, 0.0, 0.02f, 0.0f, Bus::Direct};
    case Instrument::Snare: return {0.75f, 0.08, 0.22f, 0.0f, Bus::Direct};
    case Instrument::Clap: return {0.7f, -0.06, 0.28f, 0.04f, Bus::Direct};
    case Instrument::ClosedHat: return {0.75f, 0.3, 0.05f, 0.0f, Bus::Direct};
    case Instrument::OpenHat: return {0.5f, -0.28, 0.1f, 0.0f, Bus::Direct};
    case Instrument::Crash: return {0.6f, 0.0, 0.3f, 0.0f, Bus::Direct};
    case Instrument::Bass: return {0.45f, 0.0, 0.0f, 0.0f, Bus::Ducked};
    case Instrument::Pad: return {0.5f, 0.0, 0.35f, 0.0f, Bus::Pads};
    case Instrument::Lead: return {0.45f, 0.0, 0.22f, 0.28f, Bus::Direct};
    case Instrument::Arp: return {0.3f, 0.15, 0.15f, 0.3f, Bus::Ducked};
    case Instrument::Chime: return {0.22f, -0.1, 0.4f, 0.3f, Bus::Direct};
    case Instrument::Riser: return {0.3f, 0.0, 0.3f, 0.0f, Bus::Direct};
    case Instrument::Impact: return {0.9f, 0.0, 0.45f, 0.0f, Bus::Direct};
    }
    return {0.0f, 0.0, 0.0f, 0.0f, Bus::Direct};
}

struct Buses {
    explicit Buses(std::size_t frames)
        : direct(frames), pads(frames), ducked(frames), reverbSend(frames), delaySend(frames)
    {}
    StereoBuffer direct, pads, ducked, reverbSend, delaySend;
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
// the pumping that locks sustained parts to the beat and keeps the low end clear.
std::vector<float> duckingGain(const Score& score, std::size_t frames)
{
    std::vector<float> gain(frames, 1.0f);
    constexpr double depth = 0.5;
    for (const NoteEvent& note : score.notes) {
        if (note.instrument != Instrument::Kick) {
            continue;
        }
        const std::size_t start = secondsToFrames(score.beatToSeconds(note.beat));
        const std::size_t end = std::min(frames, start + secondsToFrames(0.6));
        for (std::size_t n = start; n < end; ++n) {
            const double t = static_cast<double>(n - start) / sampleRate;
            const double shape = std::min(t / 0.004, 1.0) * std::exp(-t / 0.09);
            gain[n] = std::min(gain[n], static_cast<float>(1.0 - depth * note.velocity * shape));
        }
    }
    return gain;
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
        const StereoBuffer voice = renderNote(score, note, seed);
        const Channel channel = channelFor(note.instrument);
        const PanGains pan = panGains(channel.pan);
        // Pan gains are normalised so a centred voice keeps its level on each side.
        const float left = channel.gain * pan.left * std::sqrt(2.0f);
        const float right = channel.gain * pan.right * std::sqrt(2.0f);
        const std::size_t startFrame = secondsToFrames(score.beatToSeconds(note.beat));
        const Curve* level = note.instrument == Instrument::Pad ? &score.automation.padLevel : nullptr;
        StereoBuffer& bus = channel.bus == Bus::Pads     ? buses.pads
                            : channel.bus == Bus::Ducked ? buses.ducked
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
    const std::vector<float> duck = duckingGain(score, frames);
    // A dotted eighth: three sixteenths, the echo that fills the gaps of a sixteenth groove.
    const StereoBuffer echoes = applyPingPongDelay(buses.delaySend, score.beatToSeconds(0.75), 0.45);
    const StereoBuffer hall = applyReverb(buses.reverbSend, ReverbSettings{});

    StereoBuffer mix(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        const float ducked = duck[n];
        const float master = static_cast<float>(score.automation.masterLevel.at(static_cast<double>(n) / sampleRate));
        mix.left[n] = buses.direct.left[n] + ducked * (buses.ducked.left[n] + buses.pads.left[n]) +
                      0.7f * echoes.left[n] + hall.left[n];
        mix.left[n] *= master;
        mix.right[n] = buses.direct.right[n] + ducked * (buses.ducked.right[n] + buses.pads.right[n]) +
                       0.7f * echoes.right[n] + hall.right[n];
        mix.right[n] *= master;
    }
    return mix;
}

}  // namespace soundtrack
