#pragma once
// The options a farm passes on to capture (--out FILE --size --fps --from --to --crf), read
// with capture's own parser so that both refuse and default alike. Only a video makes sense:
// the farm's chunks and its delivery file are parts of one.
#include "capture_options.h"

#include <string>

// False with a one-line reason when `argv` (without the program name) is not a video capture.
bool parseVideoOptions(int argc, char** argv, CaptureOptions& options, std::string& error);
