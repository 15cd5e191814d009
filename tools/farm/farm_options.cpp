#include "farm_options.h"

#include <vector>

bool parseVideoOptions(int argc, char** argv, CaptureOptions& options, std::string& error)
{
    if (!parseCaptureOptions(std::vector<std::string>(argv, argv + argc), options, error))
        return false;
    if (options.mode != CaptureMode::Video) {
        error = "give the video's options: --out FILE [--size WxH] [--fps F] [--from T0] [--to T1] [--crf N]";
        return false;
    }
    return true;
}
