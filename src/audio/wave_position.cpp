#include "audio/wave_position.h"

uint32_t positionInFrames(const DevicePosition& position, uint32_t sampleRate, uint32_t bytesPerFrame,
                          uint32_t fallback)
{
    switch (position.unit) {
    case PositionUnit::Samples: return position.value;
    case PositionUnit::Bytes: return bytesPerFrame ? position.value / bytesPerFrame : fallback;
    case PositionUnit::Milliseconds: return static_cast<uint32_t>(uint64_t(position.value) * sampleRate / 1000u);
    case PositionUnit::Smpte: {
        const SmpteTime& time = position.smpte;
        const uint64_t seconds = (uint64_t(time.hour) * 60u + time.minute) * 60u + time.second;
        uint64_t frames = seconds * sampleRate;
        if (time.framesPerSecond)
            frames += uint64_t(time.frame) * sampleRate / time.framesPerSecond;
        return static_cast<uint32_t>(frames);
    }
    case PositionUnit::Other: break;
    }
    return fallback;
}
