#pragma once
// A wave-out position as a driver reports it. The music asks for frames ("samples"), but a
// driver may answer in another unit it supports better; the answer is converted to frames
// rather than misread.
#include <cstdint>

enum class PositionUnit { Samples, Bytes, Milliseconds, Smpte, Other };

// Hours, minutes, seconds and frames of a SMPTE time, with its frame rate (frames per second,
// 24, 25 or 30; 29.97 drop-frame reads as 29 or 30).
struct SmpteTime {
    uint32_t hour = 0;
    uint32_t minute = 0;
    uint32_t second = 0;
    uint32_t frame = 0;
    uint32_t framesPerSecond = 0;
};

struct DevicePosition {
    PositionUnit unit = PositionUnit::Samples;
    uint32_t value = 0;  // frames, bytes or milliseconds, as `unit` says
    SmpteTime smpte;     // when `unit` is Smpte
};

// The position in frames at sampleRate frames per second and bytesPerFrame bytes per frame,
// wrapping at 2^32 like a driver's own sample counter. A unit that cannot be converted (MIDI
// song position, ticks) gives `fallback`: the caller passes the last good position.
uint32_t positionInFrames(const DevicePosition& position, uint32_t sampleRate, uint32_t bytesPerFrame,
                          uint32_t fallback);
