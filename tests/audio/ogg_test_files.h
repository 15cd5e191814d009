#pragma once
// Real Ogg Vorbis files for the music tests, made with libvorbisenc from signals of known shape,
// and the reference decode the ring's contents are compared against.
#include <cstdint>
#include <string>
#include <vector>

// A test signal of `frames` frames, interleaved. Channel c is a sine of its own pitch whose
// amplitude ramps from 0.1 at the first frame to 0.8 at the last, so where a stretch of frames
// came from shows in its level; channel 0 starts at a quarter period (full amplitude).
std::vector<float> makeTestSignal(uint32_t frames, uint32_t channels, uint32_t sampleRate);

// Encodes interleaved float samples as an Ogg Vorbis file (quality 0.5, fixed serial number).
// False, with a message on the standard error stream, when encoding or writing fails.
bool writeOggVorbis(const std::string& path, const std::vector<float>& samples, uint32_t channels, uint32_t sampleRate);

// The same, but the file's header says `headerRate` where the encoder wrote `sampleRate`: a
// file that decodes as well as any, at a rate of the test's choosing, even one no encoder takes.
bool writeOggVorbisClaimingRate(const std::string& path, const std::vector<float>& samples, uint32_t channels,
                                uint32_t sampleRate, uint32_t headerRate);

// The whole file decoded by the same decoder the music uses, into `channels` interleaved
// channels. Empty when the file cannot be read or decoded.
std::vector<float> decodeOggVorbis(const std::string& path, uint32_t channels);

// A path for a test's own file, unique to this process, in the system's temporary folder.
std::string testFilePath(const std::string& name);

// Every sample of `samples` from index `first` on is exactly 0.0.
bool isSilentFrom(const std::vector<float>& samples, size_t first);
