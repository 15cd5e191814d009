#pragma once
// What the scenes hand on to each other, as the show played from the start leaves it for the
// frame at demo time t:
//   - the camera focus the intro's last frame set (the flash sets none of its own), and which
//     frame is the intro's last depends on the frame rate;
//   - the placed model holding the credits model, until the carousel swaps it;
//   - the ambient light's start-up grey, until the carousel tints it.
// Every other value a scene uses it sets itself each frame.
#include "show/frame_rate.h"

#include <glm/vec3.hpp>

struct Show;

struct HandedOnState {
    float focusDistance;  // world units
    float aperture;
    int placedModelIndex;  // into the model array
    glm::vec3 ambientColor;
};

HandedOnState handedOnStateAt(double t, const FrameRate& rate);

// Puts that state into the show's camera, placed model and ambient light.
void putHandedOnState(Show& show, const HandedOnState& state);
