#include "assets/model_table.h"

const char* const modelFiles[modelCount] = {
    "3d/sphere.3d", "3d/texturedcube.3d", "3d/soundtrackmoravelkint.3d",
    "3d/g_0.3d",    "3d/g_1.3d",          "3d/g_2.3d",
    "3d/g_3.3d",    "3d/g_4.3d",          "3d/g_5.3d",
    "3d/g_6.3d",    "3d/g_7.3d",          "3d/g_8.3d",
};
