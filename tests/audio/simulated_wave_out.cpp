#include "simulated_wave_out.h"

#include "audio/wave_out.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct SimulatedDevice {
    bool noDevice = false;
    bool opened = false;
    bool paused = false;
    bool restarted = false;
    bool loopBroken = false;
    uint32_t sampleRate = 0;
    uint32_t ringFrames = 0;
    uint32_t sleepLimit = 100000;
    bool limitReached = false;
    // The buffer as the device sees it: copied from the queued buffer at the queue and at each
    // publishBufferWrites, so a write the feeder never published is never heard.
    std::vector<float> visible;
    SimulatedDeviceRecord record;
};

// Everything below runs under this lock: the feeder thread (sleep, position, break loop) and the
// test's thread (restart, waits, reads) never touch the device at once. Never destroyed: a
// feeder held in its last sleep waits on them until the process is gone, and destroying a
// condition variable that has a waiter blocks.
std::mutex& lock = *new std::mutex;
std::condition_variable& changed = *new std::condition_variable;
SimulatedDevice device;

bool playing()
{
    return device.opened && device.restarted && !device.paused && device.ringFrames > 0 && !device.record.stopped;
}

void playFrames(uint64_t frames)
{
    for (uint64_t i = 0; i < frames && playing(); ++i) {
        const uint32_t frame = device.record.position % device.ringFrames;
        device.record.heard.push_back(device.visible[frame * 2]);
        device.record.heard.push_back(device.visible[frame * 2 + 1]);
        ++device.record.position;
        if (device.record.position % device.ringFrames == 0 && device.loopBroken)
            device.record.stopped = true;
    }
}

}

void simulateNoDevice()
{
    std::lock_guard<std::mutex> guard(lock);
    device.noDevice = true;
}

void limitFeederSleeps(uint32_t sleepLimit)
{
    std::lock_guard<std::mutex> guard(lock);
    device.sleepLimit = sleepLimit;
}

bool waitForFeeder()
{
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [] { return device.record.feederReturned || device.limitReached; });
    return device.record.feederReturned;
}

void playOutDevice(uint32_t maxFrames)
{
    std::lock_guard<std::mutex> guard(lock);
    playFrames(maxFrames);
}

SimulatedDeviceRecord simulatedDeviceRecord()
{
    std::lock_guard<std::mutex> guard(lock);
    return device.record;
}

bool openWaveOut(uint32_t sampleRate)
{
    std::lock_guard<std::mutex> guard(lock);
    device.record.calls.push_back("open " + std::to_string(sampleRate));
    device.sampleRate = sampleRate;
    device.opened = !device.noDevice;
    device.paused = false;
    return device.opened;
}

void pauseWaveOut()
{
    std::lock_guard<std::mutex> guard(lock);
    device.record.calls.push_back("pause");
    device.paused = device.opened;
}

void queueLoopingBuffer(const float* samples, uint32_t bytes)
{
    std::lock_guard<std::mutex> guard(lock);
    device.record.calls.push_back("queue " + std::to_string(bytes));
    device.record.queuedRing = samples;
    if (device.opened) {
        device.ringFrames = bytes / 8;
        device.visible.assign(samples, samples + size_t(device.ringFrames) * 2);
    }
}

void publishBufferWrites()
{
    std::lock_guard<std::mutex> guard(lock);
    ++device.record.publishes;
    if (device.opened && device.ringFrames > 0)
        std::copy(device.record.queuedRing, device.record.queuedRing + size_t(device.ringFrames) * 2,
                  device.visible.begin());
}

void restartWaveOut()
{
    std::lock_guard<std::mutex> guard(lock);
    device.record.calls.push_back("restart");
    device.restarted = device.opened;
    device.paused = false;
    changed.notify_all();
}

uint32_t waveOutPosition()
{
    std::lock_guard<std::mutex> guard(lock);
    return device.record.position;
}

void breakWaveOutLoop()
{
    std::lock_guard<std::mutex> guard(lock);
    device.record.calls.push_back("break");
    device.loopBroken = device.opened;
}

bool startAudioThread(AudioThreadProc proc)
{
    std::thread([proc] {
        const uint32_t result = proc(nullptr);
        std::lock_guard<std::mutex> guard(lock);
        device.record.feederReturned = true;
        device.record.feederResult = result;
        changed.notify_all();
    }).detach();
    return true;
}

void sleepMilliseconds(uint32_t milliseconds)
{
    std::unique_lock<std::mutex> guard(lock);
    device.record.sleeps.push_back(milliseconds);
    if (device.record.sleeps.size() >= device.sleepLimit) {
        device.limitReached = true;
        changed.notify_all();
        changed.wait(guard, [] { return false; });
    }
    changed.wait(guard, [] { return !device.opened || device.restarted; });
    playFrames(uint64_t(milliseconds) * device.sampleRate / 1000);
}
