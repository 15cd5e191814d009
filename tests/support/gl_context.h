#pragma once
// A headless OpenGL 3.3 core context for tests, on Mesa's llvmpipe where there is no GPU.
#include <cstdint>
#include <string>
#include <vector>

// Creates the context once per test program (the stand-in screen is width by height on the
// first call). False when no context can be had; tests then fail with that message.
bool ensureGLContext(uint32_t width = 640, uint32_t height = 360);

// Writes RGBA8 pixels (top row first) as a PNG under the test output folder
// ("test-output/" beside the runnable folder's data), so a person can look at what a test drew.
// Returns the path written, or "" on failure.
std::string writeTestImage(const std::string& name, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height);
