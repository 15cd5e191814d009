// The score: what plays when, in beats at a fixed tempo, fitted to the picture's timeline so
// that every cut lands on a beat. Pure data; the sequencer turns it into sound.
#pragma once

#include "curve.h"

#include <string>
#include <vector>

namespace soundtrack {

enum class Instrument {
    Kick,
    Snare,
    Clap,
    ClosedHat,
    OpenHat,
    Crash,
    Bass,
    Pad,
    Lead,
    Arp,
    Chime,
    Riser,
    Impact,
};

struct NoteEvent {
    double beat;  // start, beats from the beginning of the show
    Instrument instrument;
    double pitch;        // MIDI note number; unused by the drums and the impact
    double lengthBeats;  // how long the note is held (riser: its whole length; impact: its decay)
    float velocity;      // 0..1
};

// A stretch of the show: the five scenes, the last one split into its nine phrases.
struct Section {
    std::string name;
    double startBeat;
    double lengthBeats;
};

// Values that change over the show, read by the instruments at the show's time in seconds.
struct Automation {
    Curve padCutoffHz;  // low-pass of the pads
    Curve padLevel;     // gain on the pads, 0..1
    Curve arpCutoffHz;  // low-pass of the arpeggio, read when each note starts
    Curve brightness;   // 0..1, opens the bass filter and the lead's modulation
    Curve masterLevel;  // gain on the whole mix: the fade in from black and the last fade
    Curve weight;       // gain on the kick and the bass, 1 = as mixed: the drop's extra low end
};

struct Score {
    double beatsPerMinute = 120.0;
    double lengthSeconds = 116.0;
    std::vector<Section> sections;  // contiguous, in order, from beat 0 to the end
    std::vector<NoteEvent> notes;
    Automation automation;

    double secondsPerBeat() const { return 60.0 / beatsPerMinute; }
    double beatToSeconds(double beat) const { return beat * secondsPerBeat(); }
};

Score buildScore();

}  // namespace soundtrack
