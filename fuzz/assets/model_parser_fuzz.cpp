// libFuzzer target: any byte string through the model parser and the stream builder. A
// malformed file must be refused cleanly; an accepted one must hold no more triangles than its
// bytes describe and the loader takes, and give a finite stream of whole triangles.
#include "assets/model_file.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParsedModel model;
    std::string error;
    if (!parseModelFile(data, size, model, error)) {
        if (error.empty() || !model.groups.empty())
            std::abort();
        return 0;
    }
    size_t triangles = 0;
    for (const ModelGroup& group : model.groups)
        triangles += group.size();
    if (triangles > maxModelTriangles || triangles * (model.textured() ? 18 : 6) > size)
        std::abort();
    std::vector<float> stream = buildVertexStream(model);
    size_t floatsPerTriangle = size_t(3 * (model.textured() ? texturedVertexFloats : plainVertexFloats));
    if (stream.size() % floatsPerTriangle != 0)
        std::abort();
    for (float value : stream)
        if (!std::isfinite(value))
            std::abort();
    return 0;
}
