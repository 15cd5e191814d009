#include "model_transforms.h"

#include <algorithm>
#include <cmath>
#include <limits>

void scaleModel(ModelSource& model, const std::array<float, 3>& factors)
{
    for (size_t i = 0; i < model.positions.size(); ++i)
        model.positions[i] *= factors[i % 3];
}

void leanModelBack(ModelSource& model, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3) {
        float y = model.positions[i + 1], z = model.positions[i + 2];
        model.positions[i + 1] = y * c + z * s;
        model.positions[i + 2] = z * c - y * s;
    }
}

void turnAndMoveModel(ModelSource& model, float yaw, const std::array<float, 3>& offset)
{
    float c = std::cos(yaw), s = std::sin(yaw);
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3) {
        float x = model.positions[i], z = model.positions[i + 2];
        model.positions[i] = x * c + z * s + offset[0];
        model.positions[i + 1] += offset[1];
        model.positions[i + 2] = -x * s + z * c + offset[2];
    }
}

void standModelOn(ModelSource& model, float floor)
{
    float lowest = std::numeric_limits<float>::max();
    for (size_t i = 1; i < model.positions.size(); i += 3)
        lowest = std::min(lowest, model.positions[i]);
    for (size_t i = 1; i < model.positions.size(); i += 3)
        model.positions[i] += floor - lowest;
}

void appendModel(ModelSource& model, const ModelSource& part)
{
    uint16_t base = uint16_t(model.positions.size() / 3);
    model.positions.insert(model.positions.end(), part.positions.begin(), part.positions.end());
    for (const auto& group : part.groups) {
        model.groups.push_back(group);
        for (ModelSourceTriangle& t : model.groups.back())
            for (uint16_t& index : t.index)
                index = uint16_t(index + base);
    }
}
