#include "support/gl_context.h"

#include "platform/platform.h"
#include "platform/platform_headless.h"

#include <stb/stb_image_write.h>

#include <filesystem>

bool ensureGLContext(uint32_t width, uint32_t height)
{
    static const bool created = [&] {
        setHeadlessScreenSize(width, height);
        return createGLWindow();
    }();
    return created;
}

std::string writeTestImage(const std::string& name, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height)
{
    std::filesystem::create_directories("test-output");
    std::string path = "test-output/" + name + ".png";
    if (!stbi_write_png(path.c_str(), int(width), int(height), 4, rgba.data(), int(width) * 4))
        return "";
    return path;
}
