#pragma once
#include <cstddef>
#include <cstdint>

// Reads a whole file into a new buffer of exactly its size (no terminating zero). The caller
// owns the buffer and frees it with std::free. Returns null, storing nothing in `size`, when the
// path is not a regular file, cannot be opened or cannot be read in full.
uint8_t* loadWholeFile(const char* path, size_t* size = nullptr);
