#pragma once
// Wavefront OBJ to and from the .3d model format.
//
// Import: faces are triangulated; OBJ smoothing groups ("s N") become .3d groups in the order
// they first appear; faces outside any smoothing group ("s off" or "s 0") get a group each, so
// they stay flat, unless the file has no smoothing groups at all, in which case the whole
// mesh is one smooth group. Texture coordinates are kept when every face has them: v is
// turned over (1 - v), since the show's first image row is at t = 0 where OBJ puts v = 1;
// values outside [0, 1] are clamped (the format stores 0 to 65535).
// Export writes one smoothing group per .3d group, and texture coordinates per corner.
#include "assets/model_file.h"
#include "assets/model_writer.h"

#include <iosfwd>
#include <string>

struct ObjImport {
    ModelSource model;
    size_t clampedTextureCoordinates = 0;  // how many had to be clamped into [0, 1]
    std::string warnings;                  // tinyobjloader's, one per line
};

// False, with the reason in `error`, for a file that cannot be read or parsed, has no faces,
// or exceeds the format's limits.
bool importObj(const std::string& path, ObjImport& result, std::string& error);

// Writes `model` as OBJ text (positions, texture coordinates, faces in groups).
void exportObj(const ParsedModel& model, const std::string& name, std::ostream& out);
