#pragma once
// A program run as a child process whose standard output we read as it comes: ffprobe's facts
// about a media file, or ffmpeg decoding one into raw frames or samples. Its standard error goes
// to a file of ours, so that a failure can be told in one line rather than a page of ffmpeg.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct ChildResult {
    bool started = false;
    int exitStatus = -1;      // the program's exit status; -1 where it did not exit normally
    std::string errorOutput;  // the last line it wrote to its standard error, if any
};

// Runs `program` (found along PATH) with `arguments`, handing its output to `consume` in
// chunks as it arrives; `consume` returning false stops the program. Waits for it to end.
ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::function<bool(const char* data, size_t bytes)>& consume);

// The whole standard output of a short-lived program.
ChildResult runChildForText(const std::string& program, const std::vector<std::string>& arguments, std::string& output);
