#pragma once
// Notices edits to the shader folder, so the player reloads on save as well as on R. Editors
// save in bursts (write, rename, touch), so a change counts once the folder has been quiet for
// a moment.
#include <cstdint>

// Starts watching `folder` and the folders in it; false (the player then reloads on R only) where it cannot.
bool watchShaderFolder(const char* folder);

// True once, when files in them changed and then nothing more for `quietMs` milliseconds.
// Never blocks. `nowMs` is any millisecond clock.
bool shaderFolderChanged(int64_t nowMs, int64_t quietMs = 100);
