#pragma once
// Text views of a .3d model for `modeltool info` and `modeltool dump`.
#include "assets/model_file.h"

#include <iosfwd>

// Flags by name, vertex, group and triangle counts, empty groups, degenerate triangles, and
// the bounding box.
void printModelInfo(const ParsedModel& model, size_t fileSize, std::ostream& out);

// The interleaved vertex stream the show uploads, one vertex a line: position, then (textured)
// u v, then the normal sum, then (textured) the bitangent and tangent sums.
void printVertexStream(const ParsedModel& model, std::ostream& out);
