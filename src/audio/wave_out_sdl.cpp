// The wave-out device on SDL2 audio, with winmm's looping-buffer semantics: the device opens
// paused; restart starts it; the queued buffer loops until the loop is broken, then plays to the
// end of that pass and stops; the position counts the frames taken from the buffer.
#include "audio/wave_out.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

namespace {

constexpr uint32_t bytesPerFrame = 2 * sizeof(float);
// SDL's own buffer, in frames: 46 ms at 44,100 Hz, far inside the ring's half of slack.
constexpr Uint16 deviceBufferFrames = 2048;

SDL_AudioDeviceID device = 0;  // 0 when no device could be opened

// The playback state, shared with SDL's audio thread: every access outside the callback holds
// the device lock, which the callback runs under. The lock orders this state and nothing more.
//
// The samples the buffer points to are another matter. The feeder rewrites a half with no lock
// held, after a position read (under the lock) showed the device in the other half: that read
// comes after the callback's last copy from the rewritten half, so those copies happen before
// the writes. The other direction, the writes before the callback's next copies from that
// half, is not given by the lock: the feeder's next lock may come after the device is back.
// publishedWrites gives it instead: publishBufferWrites increments it (release) after the
// writes, and every callback loads it (acquire) before its first copy, so a callback whose load
// reads that increment, or a later one, sees every write made before it. A callback that loads
// before it would mean a feeder later than the ring's slack allows.
struct LoopingBuffer {
    const uint8_t* bytes = nullptr;
    uint32_t frames = 0;
    uint32_t readFrame = 0;     // next frame of the buffer to play
    uint32_t playedFrames = 0;  // the position, counting every pass
    bool loopBroken = false;
    bool stopped = false;
};
LoopingBuffer playback;
std::atomic<uint32_t> publishedWrites{0};

void SDLCALL fillDeviceBuffer(void*, Uint8* stream, int length)
{
    // Pairs with the increment in publishBufferWrites; the value itself is of no use.
    static_cast<void>(publishedWrites.load(std::memory_order_acquire));
    uint32_t wanted = static_cast<uint32_t>(length) / bytesPerFrame;
    while (wanted > 0 && playback.bytes && !playback.stopped) {
        const uint32_t run = std::min(wanted, playback.frames - playback.readFrame);
        std::memcpy(stream, playback.bytes + size_t(playback.readFrame) * bytesPerFrame, size_t(run) * bytesPerFrame);
        stream += size_t(run) * bytesPerFrame;
        wanted -= run;
        playback.readFrame += run;
        playback.playedFrames += run;
        if (playback.readFrame == playback.frames) {
            playback.readFrame = 0;
            playback.stopped = playback.loopBroken;
        }
    }
    // Past the end of the last pass, or before a buffer is queued: silence.
    std::memset(stream, 0, size_t(wanted) * bytesPerFrame);
}

int SDLCALL runAudioThread(void* parameter)
{
    const auto proc = *static_cast<AudioThreadProc*>(parameter);
    delete static_cast<AudioThreadProc*>(parameter);
    return static_cast<int>(proc(nullptr));
}

}

bool openWaveOut(uint32_t sampleRate)
{
    if (sampleRate > uint32_t(INT_MAX) || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted = {};
    wanted.freq = static_cast<int>(sampleRate);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = deviceBufferFrames;
    wanted.callback = fillDeviceBuffer;
    SDL_AudioSpec obtained = {};
    // No changes allowed: SDL converts to whatever the hardware takes, so the callback always
    // delivers exactly the format asked for. A device opens paused.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void pauseWaveOut()
{
    if (device)
        SDL_PauseAudioDevice(device, 1);
}

void queueLoopingBuffer(const float* samples, uint32_t bytes)
{
    if (!device || bytes < bytesPerFrame)
        return;
    SDL_LockAudioDevice(device);
    playback = {};
    playback.bytes = reinterpret_cast<const uint8_t*>(samples);
    playback.frames = bytes / bytesPerFrame;
    SDL_UnlockAudioDevice(device);
}

void publishBufferWrites()
{
    publishedWrites.fetch_add(1, std::memory_order_release);
}

void restartWaveOut()
{
    if (device)
        SDL_PauseAudioDevice(device, 0);
}

uint32_t waveOutPosition()
{
    if (!device)
        return 0;
    SDL_LockAudioDevice(device);
    const uint32_t position = playback.playedFrames;
    SDL_UnlockAudioDevice(device);
    return position;
}

void breakWaveOutLoop()
{
    if (!device)
        return;
    SDL_LockAudioDevice(device);
    playback.loopBroken = true;
    SDL_UnlockAudioDevice(device);
}

bool startAudioThread(AudioThreadProc proc)
{
    auto* parameter = new AudioThreadProc(proc);
    SDL_Thread* thread = SDL_CreateThread(runAudioThread, "music", parameter);
    if (!thread) {
        delete parameter;
        return false;
    }
    SDL_DetachThread(thread);
    return true;
}

void sleepMilliseconds(uint32_t milliseconds)
{
    SDL_Delay(milliseconds);
}
