#pragma once
#include <cstdint>

// The look every scene starts from, set once at start-up after the objects exist: the ground
// plane's textures and texture scale, the camera (a 35 mm lens with physical exposure, focused
// at 15 units) at the given screen size, and the ambient and directional lights.
void configureGroundPlaneCameraAndLights(uint32_t screenWidth, uint32_t screenHeight);
