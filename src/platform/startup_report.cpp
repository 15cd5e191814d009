#include "platform/startup_report.h"

#include "platform/platform.h"

#include <cstdio>
#include <utility>

namespace {

bool secondCopy = false;
std::string failureLine;

}  // namespace

bool windowFailed(std::string line)
{
    failureLine = std::move(line);
    return false;
}

std::string missingEntryPointLine(const char* name)
{
    return std::string("The OpenGL driver lacks ") + (name ? name : "an entry point") + ", which the show needs.";
}

bool secondCopyRefused()
{
    secondCopy = true;
    return false;
}

bool wasSecondCopyRefused()
{
    return secondCopy;
}

const std::string& windowFailureLine()
{
    return failureLine;
}

void reportStartupFailure(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
#if defined(_WIN32)
    showMessageBox(line.c_str());
#endif
}
