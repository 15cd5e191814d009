#pragma once
// Whole-model moves applied after a mesh is built: positions only, so the smoothing groups
// and the winding stay as built (every factor here is positive, so nothing turns inside out).
#include "assets/model_writer.h"

#include <array>

// Every position multiplied by `factors` per axis.
void scaleModel(ModelSource& model, const std::array<float, 3>& factors);

// Tipped back by `angle` radians about the x axis: the top moves towards -z, so faces that
// looked along +z turn up towards a light overhead.
void leanModelBack(ModelSource& model, float angle);

// Turned by `yaw` radians about the y axis (x towards -z), then moved by `offset`.
void turnAndMoveModel(ModelSource& model, float yaw, const std::array<float, 3>& offset);

// Moved along y so that its lowest point lies at `floor`.
void standModelOn(ModelSource& model, float floor);

// Appends the vertices and groups of `part` to `model` (the groups stay separate).
void appendModel(ModelSource& model, const ModelSource& part);
