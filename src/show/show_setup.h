#pragma once
// The look every scene starts from, and the values start-up gives the state that scenes later
// change (kept here so that a frame drawn on its own can put them back, see handed_on_state.h).
#include <cstdint>

// The placed model holds the credits model ("3d/soundtrackmoravelkint.3d") until the carousel.
constexpr int creditsModelIndex = 2;

// The ambient light's grey until the carousel: 0.4172549, bit pattern 0x3ED5A26F.
constexpr float startupAmbientLevel = 0.4172549f;

// The focus start-up sets: 15 units, aperture 0.075.
constexpr float startupFocusDistance = 15.0f;
constexpr float startupAperture = 0.075f;

class AmbientLight;
class Camera;
class DirectionalLight;
struct Show;

// A 35 mm lens with physical exposure, focused at 15 units, for the given screen size.
void configureCamera(Camera& camera, uint32_t screenWidth, uint32_t screenHeight);

// The ambient light (environment map, start-up grey) and the sun (straight down, warm).
void configureLights(AmbientLight& ambientLight, DirectionalLight& directionalLight);

// Set once at start-up after the objects exist: the ground plane's textures and texture scale,
// the camera (a 35 mm lens with physical exposure, focused at 15 units) at the given screen
// size, and the ambient and directional lights.
void configureGroundPlaneCameraAndLights(Show& show, uint32_t screenWidth, uint32_t screenHeight);
