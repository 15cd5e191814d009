#include "core/load_whole_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

uint8_t* loadWholeFile(const char* path, size_t* size)
{
    // A folder or a device opens on some systems, and then reports a size of whatever it likes.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;

    FILE* file = std::fopen(path, "rb");
    if (!file)
        return nullptr;

    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }

    // malloc(0) may return null; one spare byte keeps an empty file distinct from a failure.
    auto* bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length) + 1));
    if (!bytes) {
        std::fclose(file);
        return nullptr;
    }

    // A short read (the file shrank, or a device error) would leave an undefined tail.
    size_t read = std::fread(bytes, 1, static_cast<size_t>(length), file);
    std::fclose(file);
    if (read != static_cast<size_t>(length)) {
        std::free(bytes);
        return nullptr;
    }

    if (size)
        *size = read;
    return bytes;
}
