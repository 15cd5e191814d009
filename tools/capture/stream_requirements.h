#pragma once
// The common requirements of a demo party's stream or a video site's upload, as a table: H.264
// (High or Main) in 4:2:0 at a constant frame rate, a level that covers the size and rate, a
// video bit rate by size and rate, and AAC stereo sound at 44.1 or 48 kHz and 128 kbit/s or
// more.
#include "media_probe.h"

#include <string>
#include <vector>

struct RequirementCheck {
    std::string name;
    std::string value;  // what the file has
    std::string offBy;  // empty where the requirement is met, else what is off
};

// The least H.264 level (times ten) whose macroblock rate covers the size at the rate.
int leastLevelFor(uint32_t width, uint32_t height, double framesPerSecond);

// The least video bit rate (bits a second) the table asks for at the size and rate.
double leastBitRateFor(uint32_t height, double framesPerSecond);

std::vector<RequirementCheck> checkStreamRequirements(const MediaFacts& facts);
