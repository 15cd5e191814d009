#pragma once
// Sanity measures of a parsed model for the content tests.
#include "assets/model_file.h"

#include <array>

struct MeshMeasures {
    std::array<float, 3> low{}, high{};
    bool finite = true;         // every position and stream value
    size_t unmatchedEdges = 0;  // directed edges a->b without a b->a partner
    double signedVolume = 0.0;  // > 0 when the faces point outwards
    size_t triangles = 0;
};

MeshMeasures measureMesh(const ParsedModel& model);

// A model file the build generated into the runnable folder, parsed; a test failure (and an
// empty model) when it is missing or does not parse.
ParsedModel parseGeneratedModel(const char* path);
