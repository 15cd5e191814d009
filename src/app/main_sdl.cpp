// Entry point of the Linux port. The show takes no arguments. Its data lies beside the
// executable, so it works from the executable's folder whatever the caller's directory.
#include "app/startup.h"

#include <SDL.h>

#include <unistd.h>

int main(int, char**)
{
    if (char* base = SDL_GetBasePath()) {
        const int changed = chdir(base);
        SDL_free(base);
        if (changed != 0)
            return 1;
    }
    return runShow();
}
