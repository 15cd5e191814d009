// The report as a picture, like the filmstrip: short-term and momentary loudness over the show
// with the scenes and their integrated loudness marked, the third-octave band energies over
// time beneath it, and each scene's spectrum against the reference line, with the headline
// figures beside it.
#pragma once

#include "programme_figures.h"

#include <string>
#include <vector>

namespace soundtrack {

// False, with a one-line reason in `error`, when the PNG cannot be written.
bool drawReport(const std::string& pngPath, const ProgrammeFigures& figures, const std::vector<double>& phraseStarts,
                std::string& error);

}  // namespace soundtrack
