// Writes the seed corpus of the music fuzz target into <dir>: small Ogg Vorbis files made with
// libvorbisenc, mono and stereo at the rates the show takes and at its bounds, short and a few
// halves of the ring long, and a few that the format check refuses, so the fuzzer starts on
// both sides of it. Made afresh for each run, so no binary file is kept in the repository.
#include "audio/ogg_test_files.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: music_fuzz_seeds <dir>\n");
        return 2;
    }
    const std::string root = argv[1];
    std::filesystem::create_directories(root);

    struct Seed {
        const char* name;
        uint32_t frames, channels, rate, headerRate;
    };
    const Seed seeds[] = {
        {"stereo-44100-short", 3000, 2, 44100, 44100},
        {"mono-44100-short", 3000, 1, 44100, 44100},
        {"stereo-48000-two-halves", 2 * 16384 + 500, 2, 48000, 48000},
        {"mono-8000", 9000, 1, 8000, 8000},
        {"stereo-22050", 5000, 2, 22050, 22050},
        {"stereo-claims-192000", 2000, 2, 44100, 192000},
        {"stereo-claims-too-fast", 2000, 2, 44100, 8192001},
        {"three-channels", 2000, 3, 44100, 44100},
        {"empty", 0, 2, 44100, 44100},
    };
    for (const Seed& seed : seeds) {
        const std::string path = root + "/" + seed.name + ".ogg";
        if (!writeOggVorbisClaimingRate(path, makeTestSignal(seed.frames, seed.channels, seed.rate), seed.channels,
                                        seed.rate, seed.headerRate)) {
            std::fprintf(stderr, "music_fuzz_seeds: could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
