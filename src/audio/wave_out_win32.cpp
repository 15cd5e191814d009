// The wave-out device on winmm: device 0 (the first device, not the mapper), 32-bit IEEE float
// stereo, no callback; the whole ring queued as one endlessly looping buffer.
#include "audio/wave_out.h"
#include "audio/wave_position.h"

#include <windows.h>
#include <mmreg.h>
#include <mmsystem.h>

#include <atomic>

namespace {

HWAVEOUT device = nullptr;  // null when no device could be opened
WAVEFORMATEX format = {};
WAVEHDR header = {};
// The last position converted; only the feeder thread reads and writes it (and a player's
// seek, while the feeder is held off).
uint32_t lastPosition = 0;

DevicePosition toDevicePosition(const MMTIME& time)
{
    DevicePosition position;
    switch (time.wType) {
    case TIME_SAMPLES:
        position.unit = PositionUnit::Samples;
        position.value = time.u.sample;
        break;
    case TIME_BYTES:
        position.unit = PositionUnit::Bytes;
        position.value = time.u.cb;
        break;
    case TIME_MS:
        position.unit = PositionUnit::Milliseconds;
        position.value = time.u.ms;
        break;
    case TIME_SMPTE:
        position.unit = PositionUnit::Smpte;
        position.smpte.hour = time.u.smpte.hour;
        position.smpte.minute = time.u.smpte.min;
        position.smpte.second = time.u.smpte.sec;
        position.smpte.frame = time.u.smpte.frame;
        position.smpte.framesPerSecond = time.u.smpte.fps;
        break;
    default: position.unit = PositionUnit::Other; break;
    }
    return position;
}

struct ThreadStart {
    AudioThreadProc proc;
};

DWORD WINAPI runAudioThread(LPVOID parameter)
{
    auto* start = static_cast<ThreadStart*>(parameter);
    const AudioThreadProc proc = start->proc;
    delete start;
    return proc(nullptr);
}

}

bool openWaveOut(uint32_t sampleRate)
{
    format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    format.nChannels = 2;
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 32;
    format.nBlockAlign = format.nChannels * format.wBitsPerSample / 8;
    format.nAvgBytesPerSec = format.nBlockAlign * sampleRate;
    format.cbSize = 0;
    HWAVEOUT opened = nullptr;
    if (waveOutOpen(&opened, 0, &format, 0, 0, WAVE_FORMAT_DIRECT | WAVE_ALLOWSYNC) != MMSYSERR_NOERROR)
        return false;
    device = opened;
    return true;
}

void pauseWaveOut()
{
    if (device)
        waveOutPause(device);
}

void queueLoopingBuffer(const float* samples, uint32_t bytes)
{
    if (!device)
        return;
    if (header.lpData) {
        // Queued before: start over with the position back at 0, and still paused.
        waveOutReset(device);
        waveOutUnprepareHeader(device, &header, sizeof header);
        waveOutPause(device);
        lastPosition = 0;
    }
    header = {};
    // winmm only reads the buffer; its header field is not const.
    header.lpData = reinterpret_cast<LPSTR>(const_cast<float*>(samples));
    header.dwBufferLength = bytes;
    header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    header.dwLoops = 0xFFFFFFFF;
    waveOutPrepareHeader(device, &header, sizeof header);
    waveOutWrite(device, &header, sizeof header);
}

void publishBufferWrites()
{
    // winmm's mixer reads the buffer outside this program's threads, so there is no acquire to
    // pair with. The fence still keeps the compiler and the processor from moving the feeder's
    // writes past this point; the ring's slack does the rest.
    std::atomic_thread_fence(std::memory_order_release);
}

void restartWaveOut()
{
    if (device)
        waveOutRestart(device);
}

uint32_t waveOutPosition()
{
    if (!device)
        return 0;
    // Asked for in samples every time: a driver that cannot give samples answers in a unit of
    // its own and says which in wType.
    MMTIME time = {};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device, &time, sizeof time) != MMSYSERR_NOERROR)
        return lastPosition;
    lastPosition = positionInFrames(toDevicePosition(time), format.nSamplesPerSec, format.nBlockAlign, lastPosition);
    return lastPosition;
}

void breakWaveOutLoop()
{
    if (device)
        waveOutBreakLoop(device);
}

bool startAudioThread(AudioThreadProc proc)
{
    auto* start = new ThreadStart{proc};
    HANDLE thread = CreateThread(nullptr, 0, runAudioThread, start, 0, nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    // Nobody waits for the thread; closing the handle leaves it running.
    CloseHandle(thread);
    return true;
}

void sleepMilliseconds(uint32_t milliseconds)
{
    Sleep(milliseconds);
}
