// The depth of field and the tone curve on made-up scene colours: a blurred foreground spreads
// over the sharp background behind it, a sharp foreground leaves no halo or fringe in the
// blurred background behind it, and a small bright point out of focus opens into the aperture's
// hexagon; texture several stops over keeps its contrast while the level still climbs to
// white, and a small bright light, or a cluster of them, leaves no dark ring beside it. The
// scene colour is written straight into sceneColor (alpha: the signed circle of confusion in
// pixels), so the post-process and composite are all that is under test.
#include "render/camera.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "core/random.h"
#include "render_fixture.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The largest blur is a fixed share of the picture's diagonal: about 18 pixels here.
constexpr int width = 640;
constexpr int height = 360;

struct Texel {
    float r, g, b, coc;
};

class DepthOfField : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ensureGLContext(width, height));
        ASSERT_TRUE(loadShaders());
        createScreenTriangle();
        setRandomSeed(7928);
        subject = new Renderer(width, height);
    }

    void SetUp() override
    {
        ASSERT_NE(subject, nullptr);
        camera.setScreenSize(width, height);
        camera.setNear(0.1f);
        camera.setFar(100.0f);
        camera.setFocalLength(35.0f);
        camera.setFocus(15.0f, 0.075f);
        camera.updateProjection();
        scene.assign(size_t(width) * height, Texel{0.0f, 0.0f, 0.0f, 0.0f});
    }

    Texel& at(int x, int y) { return scene[size_t(y) * width + x]; }

    // The scene colour through depth of field, glow and composite: the stored sRGB bytes
    // (monotonic in the light), red channel, bottom row first.
    std::vector<float> composited()
    {
        glBindTexture(GL_TEXTURE_RECTANGLE, subject->texture(Renderer::sceneColor));
        glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, scene.data());
        subject->postProcess(camera);
        subject->composite();
        const std::vector<float> rgba =
            readRectangleFloats(subject->texture(Renderer::outputImage), width, height, GL_RGBA, 4);
        std::vector<float> red(size_t(width) * height);
        for (size_t i = 0; i < red.size(); ++i)
            red[i] = rgba[i * 4];
        lastPicture = rgba;
        return red;
    }

    void save(const std::string& name)
    {
        std::vector<uint8_t> bytes(size_t(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                    bytes[(size_t(height - 1 - y) * width + x) * 4 + c] = uint8_t(std::lround(
                        255.0f * std::min(std::max(lastPicture[(size_t(y) * width + x) * 4 + c], 0.0f), 1.0f)));
        writeTestImage(name, bytes, width, height);
    }

    static float value(const std::vector<float>& red, int x, int y) { return red[size_t(y) * width + x]; }

    // Fills the scene, in focus, with grey light by pixel.
    template <typename LightAt> void fillGrey(LightAt lightAt)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float light = lightAt(x, y);
                at(x, y) = Texel{light, light, light, 0.0f};
            }
    }

    // Mean over the middle half of the frame, of the pixels for which `take` holds.
    template <typename Take> static float middleMean(const std::vector<float>& red, Take take)
    {
        double sum = 0.0;
        int count = 0;
        for (int y = height / 4; y < height * 3 / 4; ++y)
            for (int x = width / 4; x < width * 3 / 4; ++x)
                if (take(x, y)) {
                    sum += value(red, x, y);
                    ++count;
                }
        return float(sum / std::max(count, 1));
    }

    // Stripes eight pixels wide and one stop apart around `stopsOver` mid grey: the encoded step
    // between their middles.
    float stripeStep(float stopsOver)
    {
        const float bright = midGreyLight * std::exp2(stopsOver + 0.5f);
        const auto lit = [](int x) { return (x / 8) % 2 == 0; };
        fillGrey([&](int x, int) { return lit(x) ? bright : bright * 0.5f; });
        const std::vector<float> red = composited();
        const auto middle = [](int x) { return x % 8 >= 2 && x % 8 < 6; };
        return middleMean(red, [&](int x, int) { return lit(x) && middle(x); }) -
               middleMean(red, [&](int x, int) { return !lit(x) && middle(x); });
    }

    // Scene light that the composite's fixed gain turns into mid grey.
    static constexpr float midGreyLight = 0.18f / 8.0f;
    static Renderer* subject;
    Camera camera;
    std::vector<Texel> scene;
    std::vector<float> lastPicture;
};
Renderer* DepthOfField::subject = nullptr;

}  // namespace

TEST_F(DepthOfField, BlurredForegroundSpreadsOverSharpBackground)
{
    // Sharp dim background in focus; a red disc of radius 24 far in front of the focus, blurred
    // by the largest circle.
    const int cx = 220, cy = 180, radius = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside = (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
            at(x, y) = inside ? Texel{0.4f, 0.02f, 0.02f, -36.0f} : Texel{0.02f, 0.02f, 0.02f, 0.0f};
        }
    const std::vector<float> red = composited();
    save("dof-near-spread");
    const float background = value(red, 500, 60);
    // Just outside the silhouette, in six directions, the disc's colour has spread.
    for (int k = 0; k < 6; ++k) {
        const float angle = float(k) * 1.0472f + 0.3f;
        const int x = cx + int(std::lround(std::cos(angle) * (radius + 8)));
        const int y = cy + int(std::lround(std::sin(angle) * (radius + 8)));
        SCOPED_TRACE(k);
        EXPECT_GT(value(red, x, y), background + 0.08f);
    }
    // Far outside it, the background is untouched.
    EXPECT_NEAR(value(red, cx + 120, cy), background, 0.02f);
}

TEST_F(DepthOfField, SharpForegroundLeavesNoHaloInBlurredBackground)
{
    // A dark bar in focus in front of a bright background blurred by a circle of 24 pixels.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            at(x, y) = (x >= 300 && x < 320) ? Texel{0.0f, 0.0f, 0.0f, 0.0f} : Texel{0.1f, 0.1f, 0.1f, 24.0f};
    const std::vector<float> red = composited();
    save("dof-far-no-halo");
    const float background = value(red, 80, 180);
    // The bar stays sharp and dark, and the background next to it keeps its brightness.
    EXPECT_LT(value(red, 310, 180), 0.1f);
    for (int x : {296, 323, 330})
        EXPECT_NEAR(value(red, x, 180), background, 0.04f) << "x = " << x;
}

TEST_F(DepthOfField, BrightSharpEdgeLeavesNoFringeOnBlurredBackgroundBehindIt)
{
    // A bright bar (not so bright that it glows) nearly in focus in front of a dark background blurred by a circle of
    // 24 pixels: filtered reads across the bar's edge carry circles between the two, and must not carry the bar's light
    // out over the background.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            at(x, y) = (x >= 300 && x < 320) ? Texel{0.1f, 0.1f, 0.1f, 0.5f} : Texel{0.005f, 0.005f, 0.005f, 24.0f};
    const std::vector<float> red = composited();
    save("dof-far-no-fringe");
    const float background = value(red, 80, 180);
    // Bands four pixels wide, from three to six pixels beyond each of the bar's edges, each
    // averaged over twenty rows (the samples' offsets change from pixel to pixel).
    for (int first : {290, 326}) {
        double sum = 0.0;
        for (int y = 170; y < 190; ++y)
            for (int x = first; x < first + 4; ++x)
                sum += value(red, x, y);
        EXPECT_NEAR(float(sum / 80.0), background, 0.015f) << "band from x = " << first;
    }
}

TEST_F(DepthOfField, BrightPointOpensIntoAHexagon)
{
    // Small bright points in front of the focus over black: each opens into the aperture's shape.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            at(x, y) = Texel{0.0f, 0.0f, 0.0f, 0.0f};
    for (int px : {160, 320, 480})
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                at(px + dx, 180 + dy) = Texel{12.0f, 9.0f, 6.0f, -60.0f};
    composited();
    save("dof-hexagon");
    // In the depth of field's own half-size result (no glow): lit well away from the point, and
    // not beyond the largest circle (about 9 half-size pixels).
    const std::vector<float> dof =
        readRectangleFloats(subject->texture(Renderer::dofResult), width / 2, height / 2, GL_RGB, 3);
    int lit = 0, litFar = 0;
    for (int y = 60; y < 120; ++y)
        for (int x = 130; x < 190; ++x) {
            const float dx = float(x) + 0.5f - 160.0f, dy = float(y) + 0.5f - 90.0f;
            if (dof[(size_t(y) * (width / 2) + x) * 3] > 0.01f) {
                ++lit;
                litFar += std::hypot(dx, dy) > 11.0f;
            }
        }
    EXPECT_GT(lit, 150);
    EXPECT_EQ(litFar, 0);
    // Even inside, round the point: the rhombi that make the hexagon meet without a brighter
    // seam between them.
    float brightest = 0.0f;
    double sum = 0.0;
    int inside = 0;
    for (int y = 80; y < 100; ++y)
        for (int x = 150; x < 170; ++x)
            if (const float r = std::hypot(float(x) + 0.5f - 160.0f, float(y) + 0.5f - 90.0f); r > 2.0f && r < 6.0f) {
                const float level = dof[(size_t(y) * (width / 2) + x) * 3];
                brightest = std::max(brightest, level);
                sum += level;
                ++inside;
            }
    // (The gather's offsets leave a grain of up to twice the mean; a seam stood four times over.)
    EXPECT_LT(brightest, 3.0f * float(sum / inside));
}

TEST_F(DepthOfField, InFrontOfTheFocusBlursAsBehindIt)
{
    // A fine checkerboard, all of it at one circle of confusion: in focus it stays a
    // checkerboard; in front of the focus (negative circle) it blurs as much as behind it.
    auto contrastAt = [&](float coc) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float level = ((x + y) & 1) ? 0.2f : 0.0f;
                at(x, y) = Texel{level, level, level, coc};
            }
        const std::vector<float> red = composited();
        float lowest = 1.0f, highest = 0.0f;
        for (int y = 150; y < 210; ++y)
            for (int x = 290; x < 350; ++x) {
                lowest = std::min(lowest, value(red, x, y));
                highest = std::max(highest, value(red, x, y));
            }
        return highest - lowest;
    };
    EXPECT_GT(contrastAt(0.0f), 0.3f);
    EXPECT_LT(contrastAt(-12.0f), 0.05f);
    EXPECT_LT(contrastAt(12.0f), 0.05f);
}

TEST_F(DepthOfField, ToneKeepsTextureHighOnTheShoulderAndStillClimbsToWhite)
{
    // The curve alone shows a one-stop step four stops over at less than half its size at mid
    // grey; kept against its bright surroundings it stays close to it.
    const float atMidGrey = stripeStep(0.0f);
    EXPECT_GT(atMidGrey, 0.08f);
    EXPECT_GT(stripeStep(4.0f), 0.7f * atMidGrey) << "at mid grey " << atMidGrey;

    // The exposure's arcs: an even field's level rises with every half stop until it is white.
    float previous = -1.0f;
    for (float stops = -3.0f; stops <= 9.0f; stops += 0.5f) {
        fillGrey([&](int, int) { return midGreyLight * std::exp2(stops); });
        const float level = middleMean(composited(), [](int, int) { return true; });
        EXPECT_GT(level, std::min(previous + 0.002f, 0.99f)) << stops << " stops over mid grey";
        previous = level;
    }
    EXPECT_GT(previous, 0.99f);
}

TEST_F(DepthOfField, ToneLeavesNoDarkRingAroundASmallBrightLight)
{
    // Lights far over white, a few pixels across, on ground one stop over mid grey: one alone,
    // then six in a ring with the ground showing between them (a cluster raises the glow all
    // around that ground). However far their glow reaches, the ground near them is nowhere
    // darker than far from them.
    const int cx = width / 2, cy = height / 2;
    const auto distanceSquared = [](int x, int y, int lx, int ly) { return (x - lx) * (x - lx) + (y - ly) * (y - ly); };
    for (const int lights : {1, 6}) {
        SCOPED_TRACE(lights);
        const auto lightAt = [&](int k) {
            const float angle = float(k) * 6.2831853f / float(lights);
            const int ring = lights == 1 ? 0 : 14;
            return std::array<int, 2>{cx + int(std::lround(ring * std::cos(angle))),
                                      cy + int(std::lround(ring * std::sin(angle)))};
        };
        // Squared distance from a pixel to the nearest light.
        const auto nearest = [&](int x, int y) {
            int least = 1 << 30;
            for (int k = 0; k < lights; ++k)
                least = std::min(least, distanceSquared(x, y, lightAt(k)[0], lightAt(k)[1]));
            return least;
        };
        fillGrey(
            [&](int x, int y) { return midGreyLight * (nearest(x, y) <= (lights == 1 ? 36 : 16) ? 256.0f : 2.0f); });
        const std::vector<float> red = composited();
        const float far =
            middleMean(red, [&](int x, int y) { return std::abs(x - cx) > 120 && std::abs(y - cy) < 20; });
        for (int y = cy - 40; y <= cy + 40; ++y)
            for (int x = cx - 40; x <= cx + 40; ++x)
                if (nearest(x, y) >= (lights == 1 ? 100 : 49)) {
                    ASSERT_GT(value(red, x, y), far - 2.5f / 255.0f) << x << ", " << y << "; far from it " << far;
                }
    }
}

TEST_F(DepthOfField, DitherIsTheSameStepInTheColourAsInItsLuma)
{
    // Alpha is the luma of the dithered sRGB value, which for grey is that value itself; the
    // colour is dithered in linear light and encoded by the framebuffer. From the darkest
    // levels, where the encode bends most, to the brightest, the two are never more than one
    // 8-bit step apart, and most round to the same step (llvmpipe's own encode and the alpha's
    // rounding part a seventh of the pixels, with an exact decode of the dithered value too).
    for (float stops = -9.0f; stops <= 5.0f; stops += 1.0f) {
        fillGrey([&](int, int) { return midGreyLight * std::exp2(stops); });
        composited();
        int apart = 0;
        for (size_t i = 0; i < lastPicture.size(); i += 4) {
            const long colour = std::lround(255.0f * lastPicture[i]);
            const long luma = std::lround(255.0f * lastPicture[i + 3]);
            ASSERT_LE(std::abs(colour - luma), 1) << stops << " stops over mid grey, pixel " << i / 4;
            apart += colour != luma;
        }
        EXPECT_LT(apart, int(lastPicture.size() / 4 / 5)) << stops << " stops over mid grey";
    }
}
