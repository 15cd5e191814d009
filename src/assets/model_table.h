#pragma once
// The show's twelve models. Entry i of the file table is loaded into element i of the array
// at start-up; the scenes refer to models by these indices (0 sphere, 1 textured cube,
// 2 credits, 3 to 11 the carousel sculptures g_0 to g_8).
#include "assets/model.h"

constexpr int modelCount = 12;
extern const char* const modelFiles[modelCount];
