// Entry point of the Linux port. The show takes no arguments. Its data lies beside the
// executable (in the package, through links to where the package keeps its data), so it works
// from the executable's folder whatever the caller's directory.
#include "app/startup.h"

#include <SDL.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int, char**)
{
    if (char* base = SDL_GetBasePath()) {
        if (chdir(base) != 0) {
            std::fprintf(stderr, "Could not enter the show's folder %s: %s\n", base, std::strerror(errno));
            SDL_free(base);
            return 1;
        }
        SDL_free(base);
    }
    return runShow();
}
