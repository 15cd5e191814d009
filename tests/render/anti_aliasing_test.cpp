// The anti-aliased copy to the window on made-up composites: outputImage is written directly
// (sRGB bytes, alpha the perceptual luma as the composite leaves it), present runs, and the
// window's pixels are read back. Flat and finely dithered areas must come through untouched,
// a staircase edge must be softened along its length, and a window larger than the render
// size must be filtered, not blown up pixel by pixel.
#include "core/random.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int windowWidth = 640;
constexpr int windowHeight = 360;

struct Picture {
    int width, height;
    std::vector<uint8_t> rgba;  // bottom row first, as GL stores it
    uint8_t& at(int x, int y, int c) { return rgba[(size_t(y) * width + x) * 4 + c]; }
    uint8_t at(int x, int y, int c) const { return rgba[(size_t(y) * width + x) * 4 + c]; }
};

Picture grey(int width, int height, uint8_t value)
{
    return Picture{width, height, std::vector<uint8_t>(size_t(width) * height * 4, value)};
}

// Alpha becomes the luma of the colour, as the composite writes it.
void setLuma(Picture& picture)
{
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, y, 3) = uint8_t(
                std::lround(0.299 * picture.at(x, y, 0) + 0.587 * picture.at(x, y, 1) + 0.114 * picture.at(x, y, 2)));
}

float srgbToLinear(float c)
{
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float linearToSrgb(float c)
{
    return c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f;
}

class AntiAliasing : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ensureGLContext(windowWidth, windowHeight));
        ASSERT_TRUE(loadShaders());
        createScreenTriangle();
        setRandomSeed(7928);
        native = new Renderer(windowWidth, windowHeight);
        half = new Renderer(windowWidth / 2, windowHeight / 2);
    }

    void SetUp() override
    {
        ASSERT_NE(native, nullptr);
        ASSERT_FALSE(native->failed());
        ASSERT_FALSE(half->failed());
    }

    // The window after presenting `composite` from `renderer`.
    static Picture presented(Renderer& renderer, const Picture& composite)
    {
        glBindTexture(GL_TEXTURE_RECTANGLE, renderer.texture(Renderer::outputImage));
        glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_SRGB8_ALPHA8, composite.width, composite.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, composite.rgba.data());
        renderer.present(windowWidth, windowHeight);
        Picture window = grey(windowWidth, windowHeight, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, window.rgba.data());
        return window;
    }

    static Renderer* native;
    static Renderer* half;
};

Renderer* AntiAliasing::native = nullptr;
Renderer* AntiAliasing::half = nullptr;

TEST_F(AntiAliasing, FlatAndFinelyDitheredAreasComeThroughUntouched)
{
    // Grey 100 with the composite's dither of up to one step either way, and a flat grey 30
    // band across the middle (its borders are edges, and left out of the count).
    Picture composite = grey(windowWidth, windowHeight, 100);
    std::srand(7);
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
            for (int c = 0; c < 3; ++c)
                composite.at(x, y, c) = uint8_t(y > 150 && y < 210 ? 30 : 99 + std::rand() % 3);
    setLuma(composite);
    const Picture window = presented(*native, composite);
    int changed = 0;
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
            for (int c = 0; c < 3; ++c)
                if (std::abs(y - 150) > 2 && std::abs(y - 210) > 2)
                    changed += window.at(x, y, c) != composite.at(x, y, c);
    EXPECT_EQ(changed, 0);
}

TEST_F(AntiAliasing, AStaircaseEdgeIsSoftenedAlongItsLength)
{
    // White above a line rising one pixel every eight, black below: an aliased staircase.
    Picture composite = grey(windowWidth, windowHeight, 0);
    auto edgeRow = [](int x) { return 100 + x / 8; };
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
            for (int c = 0; c < 3; ++c)
                composite.at(x, y, c) = y >= edgeRow(x) ? 255 : 0;
    setLuma(composite);
    const Picture window = presented(*native, composite);

    int softened = 0, disturbedAway = 0;
    for (int x = 16; x < windowWidth - 16; ++x) {
        for (int y = 0; y < windowHeight; ++y) {
            const int value = window.at(x, y, 0);
            const bool nearEdge = std::abs(y - edgeRow(x)) <= 1;
            if (nearEdge && value > 10 && value < 245)
                ++softened;
            if (!nearEdge && value != composite.at(x, y, 0))
                ++disturbedAway;
        }
    }
    // Nearly every column has a pixel between black and white at the edge.
    EXPECT_GT(softened, (windowWidth - 32) * 3 / 4);
    EXPECT_EQ(disturbedAway, 0);
}

TEST_F(AntiAliasing, AWindowLargerThanTheRenderSizeIsFiltered)
{
    // Steep horizontal ramps (16 sRGB steps per texel) at half the window size, luma flat so
    // no edge is found: each window pixel must be the texels' bilinear blend in linear light.
    Picture composite = grey(windowWidth / 2, windowHeight / 2, 0);
    for (int y = 0; y < composite.height; ++y)
        for (int x = 0; x < composite.width; ++x) {
            composite.at(x, y, 0) = uint8_t((x % 16) * 16);
            composite.at(x, y, 1) = composite.at(x, y, 2) = 0;
            composite.at(x, y, 3) = 128;
        }
    const Picture window = presented(*half, composite);

    int worst = 0;
    for (int x = 8; x < windowWidth - 8; ++x) {
        // Window pixel x samples texel-space (x + 0.5) / 2, between texels a and a + 1.
        const float position = (float(x) + 0.5f) / 2.0f - 0.5f;
        const int a = int(std::floor(position));
        const float t = position - float(a);
        if ((a % 16) == 15)
            continue;  // the ramp restarts between these texels
        const float left = srgbToLinear(float(composite.at(a, 90, 0)) / 255.0f);
        const float right = srgbToLinear(float(composite.at(a + 1, 90, 0)) / 255.0f);
        const int expected = int(std::lround(255.0f * linearToSrgb(left + (right - left) * t)));
        worst = std::max(worst, std::abs(int(window.at(x, 180, 0)) - expected));
    }
    EXPECT_LE(worst, 2);
}

}  // namespace
