#pragma once
// The plot beneath the filmstrip: every frame's mean brightness and local contrast over the
// show's time, with the limits they are held to and the passages planned otherwise.
#include "filmstrip.h"

#include <cstdint>
#include <vector>

// A plot `width` pixels wide: brightness above, contrast below, a legend and the scenes' names
// on top, demo time beneath with a tick every 10 s.
SheetImage drawFigurePlot(const std::vector<FilmstripFrame>& frames, uint32_t width);
