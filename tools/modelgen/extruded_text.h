#pragma once
// Solid 3D lettering from a TrueType font: each glyph's outline is flattened into polygons,
// its faces triangulated by GLU's tessellator and joined by side walls, the front edges
// chamfered: the front face is inset by 3% of the letter height and a sloped bevel runs out to
// the outline, set back by as much (at most 45% of the depth).
#include "mesh_builder.h"

#include <string>

struct TextLayout {
    float letterHeight;    // height of the tallest letter (ascender), model units
    float depth;           // extrusion along z, centred on z = 0; the front faces +z
    float width;           // the line is scaled along x only if needed to fit within this
    float spacing = 0.0f;  // extra gap after each character, model units: letters seen from a
                           // grazing angle stay apart instead of hiding one another
};

// The text laid out along +x, centred on x = 0, baseline at y = 0; each glyph a part of its own.
// Groups per glyph: its front face, its back face, and one per smooth run of bevel and of side
// wall between the outline's sharp corners.
// False, with the reason in `error`, when the font cannot be read or a character is missing.
bool makeExtrudedText(const std::string& fontPath, const std::string& text, const TextLayout& layout,
                      ModelSource& model, std::string& error);
