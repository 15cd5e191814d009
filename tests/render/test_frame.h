#pragma once
// A fixed test frame through the show's own passes: the tunnel, the ground plane and a cube,
// under the ambient and the directional light, with the camera of start-up (effective exposure
// 0.053). Shared by the render tests and the render benchmark.
#include <glm/vec3.hpp>

#include <cstdint>

// What the frame draws.
struct TestFrameContent {
    bool tunnel = true;
    bool groundPlane = true;
    bool cube = true;
    bool directionalLight = true;
};

// Creates, after a GL context and with textureNames filled, what start-up would: the shader
// programs, the renderer at width x height, the screen triangle, the tunnel, the ground plane,
// a cube model, and configures the camera and both lights as start-up does. False, after the
// show's own message, when the shaders or the renderer fail.
bool createTestFrameObjects(int width, int height);

// What createTestFrameObjects made: the renderer, tunnel, ground plane, camera and lights.
struct Show;
Show& testFrameShow();

// Called after each pass with its name, for the benchmark (geometry, light, forward, half,
// DOF, glow, composite, FXAA).
using PassDoneCallback = void (*)(const char* pass);

// Draws one frame at demo time t (seconds) and presents it to framebuffer 0 at the renderer's
// size. The camera circles the cube at radius 6, height 2.
void drawTestFrame(double t, const TestFrameContent& content, PassDoneCallback passDone = nullptr);

// The fog and background colour of the frame: ambient colour times effective exposure.
glm::vec3 testFrameAmbientColor();
