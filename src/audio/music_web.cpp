// The soundtrack on a web page. A static page has no threads to feed a ring from, and it runs
// everything between frames: a frame drawn in software can last as long as half a ring, so a
// ring refilled from the page would replay old sound. So the whole track is decoded at load,
// through the same stream and ring halves the desktop feeder uses, into one Web Audio buffer
// the browser plays on its own. That buffer stands for the ring and the decode for its feeder.
//
// Picture and sound share their start: musicStart waits (letting the page run) until the audio
// clock moves, so the frame loop's first clock reading follows the sound's start. Where the
// browser plays nothing (no device, sound refused), it returns at once and the picture plays
// alone.
#include "audio/music.h"
#include "audio/music_web.h"

#include "audio/music_stream.h"

#include <emscripten/emscripten.h>

#include <vector>

namespace {

uint32_t sampleRate = 0;

// The page's audio context is made here, before any click, so it starts suspended; the page's
// click handler resumes it. The samples are interleaved stereo floats.
// JavaScript, laid out by hand.
// clang-format off
EM_JS(int, pageMakeAudioBuffer, (const float* samples, uint32_t frames, uint32_t rate), {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
        return 0;
    let context;
    try {
        context = new Context({sampleRate : rate});
    } catch (e) {
        return 0;
    }
    const buffer = context.createBuffer(2, frames, rate);
    const interleaved = HEAPF32.subarray(samples >> 2, (samples >> 2) + frames * 2);
    for (let channel = 0; channel < 2; ++channel) {
        const out = buffer.getChannelData(channel);
        for (let i = 0; i < frames; ++i)
            out[i] = interleaved[2 * i + channel];
    }
    Module.showAudio = {context : context, buffer : buffer, source : null, startTime : 0};
    return 1;
});
// clang-format on

// Starts the buffer and waits up to two seconds for the audio clock to move past the start.
// JavaScript, laid out by hand.
// clang-format off
EM_ASYNC_JS(void, pageStartAudio, (), {
    const audio = Module.showAudio;
    if (!audio)
        return;
    // The click has asked to resume the context; that takes a moment, and may be refused.
    if (audio.context.state != 'running')
        await Promise.race([ audio.context.resume(), new Promise(resolve => setTimeout(resolve, 1000)) ]);
    if (audio.context.state != 'running')
        return;
    const source = audio.context.createBufferSource();
    source.buffer = audio.buffer;
    source.connect(audio.context.destination);
    const before = audio.context.currentTime;
    source.start();
    audio.source = source;
    audio.startTime = before;
    const giveUp = performance.now() + 2000;
    while (audio.context.currentTime <= before && performance.now() < giveUp)
        await new Promise(resolve => setTimeout(resolve, 2));
    audio.startTime = audio.context.currentTime;
});
// clang-format on

// JavaScript, laid out by hand.
// clang-format off
EM_JS(void, pageStopAudio, (), {
    const audio = Module.showAudio;
    if (audio && audio.source) {
        audio.source.stop();
        audio.source = null;
    }
});
// clang-format on

// JavaScript, laid out by hand.
// clang-format off
EM_JS(double, pageAudioSeconds, (), {
    const audio = Module.showAudio;
    return audio && audio.source ? Math.max(0, audio.context.currentTime - audio.startTime) : 0;
});
// clang-format on

}  // namespace

bool musicLoad(const char* path)
{
    MusicStream stream;
    if (!openMusicStream(stream, path))
        return false;
    sampleRate = stream.sampleRate;
    // Half 0 already holds the first frames; each fill after that decodes the next ones.
    std::vector<float> track(stream.ring, stream.ring + ringHalfFloats);
    for (;;) {
        const uint32_t frames = fillRingHalf(stream, 1);
        track.insert(track.end(), stream.ring + ringHalfFloats, stream.ring + ringHalfFloats + frames * ringChannels);
        if (frames < ringHalfFrames)
            break;
    }
    freeMusicStream(stream);
    // A browser without Web Audio plays the show silent, as the desktop does without a device.
    pageMakeAudioBuffer(track.data(), uint32_t(track.size() / ringChannels), sampleRate);
    return true;
}

void musicStart()
{
    pageStartAudio();
}

void musicStop()
{
    pageStopAudio();
}

uint64_t musicPosition()
{
    return uint64_t(pageAudioSeconds() * double(sampleRate));
}

uint32_t musicSampleRate()
{
    return sampleRate;
}
