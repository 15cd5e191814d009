// soundtrack_report <file.ogg> [--png <picture.png>]
//
// A picture of the sound, as the filmstrip is one of the picture: decodes the Ogg the build
// made and measures it as a mastering engineer would,
//   1. decode the file (libvorbisfile) into two float channels,
//   2. meter it (EBU R128 through libebur128): integrated, short-term every 100 ms, true peak,
//   3. take the mid channel's spectrum in third-octave bands against the reference line,
//   4. print the headline figures and each scene's, and optionally draw loudness over time
//      with the scenes marked and the band energies beneath.
// A missing or broken file is reported in one line, with exit status 1.

#include "decoded_ogg.h"
#include "programme_figures.h"
#include "report_picture.h"
#include "report_text.h"

#include <cstdio>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: soundtrack_report <file.ogg> [--png <picture.png>]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string oggPath, pngPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png") {
            if (i + 1 >= argc || !pngPath.empty()) {
                return usage();
            }
            pngPath = argv[++i];
        } else if (oggPath.empty() && !arg.empty() && arg[0] != '-') {
            oggPath = arg;
        } else {
            return usage();
        }
    }
    if (oggPath.empty()) {
        return usage();
    }

    soundtrack::DecodedOgg decoded;
    std::string error;
    if (!soundtrack::decodeOggVorbis(oggPath, decoded, error)) {
        std::fprintf(stderr, "soundtrack_report: %s\n", error.c_str());
        return 1;
    }
    const soundtrack::ProgrammeFigures figures =
        soundtrack::measureProgramme(decoded.programme, decoded.rateHz, soundtrack::showScenes());
    soundtrack::printReport(stdout, oggPath, figures);
    if (!pngPath.empty() && !soundtrack::drawReport(pngPath, figures, soundtrack::carouselPhraseStarts(), error)) {
        std::fprintf(stderr, "soundtrack_report: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
