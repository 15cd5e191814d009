// Entry point of the Linux port. The show takes no arguments. Its data lies beside the
// executable (in the package, through links to where the package keeps its data), so it works
// from the executable's folder whatever the caller's directory.
#include "app/startup.h"
#include "platform/platform_sdl.h"

int main(int, char**)
{
    if (!enterExecutableFolder())
        return 1;
    return runShow();
}
