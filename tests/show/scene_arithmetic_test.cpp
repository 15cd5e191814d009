// Each scene's camera, exposure and placement at the points where the show's look turns, on a
// camera configured as start-up configures it. No OpenGL: the scenes' arithmetic alone.
#include "core/random.h"
#include "objects/particle_field.h"
#include "render/camera.h"
#include "render/lights.h"
#include "show/frame_rate.h"
#include "show/handed_on_state.h"
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show_setup.h"
#include "show/reference_generator.h"

#include <glm/gtc/matrix_inverse.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

Camera startupCamera()
{
    Camera camera;
    configureCamera(camera, 1920, 1080);
    return camera;
}

glm::vec3 eyeOf(const Camera& camera)
{
    return glm::vec3(glm::inverse(camera.view())[3]);
}

glm::vec3 viewDirectionOf(const Camera& camera)
{
    return -glm::vec3(glm::inverse(camera.view())[2]);
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance, const char* what)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " component " << i;
}

class Scenes : public testing::Test {
protected:
    void SetUp() override { configureLights(ambientLight, directionalLight); }
    Camera camera = startupCamera();
    AmbientLight ambientLight;
    DirectionalLight directionalLight;
};

}  // namespace

TEST_F(Scenes, IntroStartsBlackAndCirclesWithPeriodTwoPi)
{
    placeTunnelIntroCamera(camera, 0.0);
    EXPECT_EQ(camera.exposure(), glm::vec3(0.0f));
    EXPECT_EQ(ambcolor(ambientLight, camera), glm::vec3(0.0f));
    expectNear(eyeOf(camera), glm::vec3(2.5f, 2.5f, 0.0f), 1e-5f, "eye at t = 0");
    EXPECT_FLOAT_EQ(camera.focusDistance(), 5.0f);
    EXPECT_FLOAT_EQ(camera.aperture(), 0.05f);

    for (double t : {1.0, 4.5, 17.25}) {
        placeTunnelIntroCamera(camera, t);
        const glm::vec3 eye = eyeOf(camera);
        const float focus = camera.focusDistance();
        const float exposure = camera.exposure().x;
        placeTunnelIntroCamera(camera, t + 2.0 * pi);
        expectNear(eyeOf(camera), eye, 1e-4f, "eye one period later");
        EXPECT_NEAR(camera.focusDistance(), focus, 1e-5f);
        EXPECT_GT(camera.exposure().x, exposure);  // only the exposure moves on
    }

    // Effective exposure 0.15 t^2 x 0.05 / sqrt 2: about 3.3 at the hand-over.
    placeTunnelIntroCamera(camera, 24.999);
    EXPECT_NEAR(camera.exposure().x, 0.0053033 * 24.999 * 24.999, 1e-3);
    expectNear(ambcolor(ambientLight, camera), camera.exposure() * startupAmbientLevel, 1e-6f, "ambcolor");
}

TEST_F(Scenes, FlashFallsAsOneOverTimeAndKeepsTheIntrosFocus)
{
    placeTunnelIntroCamera(camera, 24.98);
    const float inheritedFocus = camera.focusDistance();
    placeParticlesCamera(camera, 1.0);
    EXPECT_EQ(camera.exposureTint(), glm::vec3(101.0f));
    EXPECT_FLOAT_EQ(camera.focusDistance(), inheritedFocus);
    EXPECT_FLOAT_EQ(camera.aperture(), 0.05f);
    EXPECT_NEAR(camera.exposure().x, 3.5709, 1e-3);
    expectNear(eyeOf(camera), glm::vec3(float(15.0 * std::cos(0.5)), 5.0f, float(15.0 * std::sin(0.5))), 1e-4f,
               "eye at u = 1");

    placeParticlesCamera(camera, 10.0);
    EXPECT_EQ(camera.exposureTint(), glm::vec3(11.0f));
    EXPECT_NEAR(camera.exposure().x, 0.3889, 1e-3);

    // The first frame may land on u = 0 exactly: exposed as at one millisecond, finite.
    placeParticlesCamera(camera, 0.0);
    EXPECT_TRUE(std::isfinite(camera.exposure().x));
    EXPECT_NEAR(camera.exposureTint().x, 100001.0f, 1.0f);
    EXPECT_TRUE(std::isfinite(ambcolor(ambientLight, camera).x));
}

TEST_F(Scenes, CreditsHoldTintOneThenBurnOut)
{
    for (double u : {0.0, 10.0, 20.0, 20.999}) {
        placeCreditsCamera(camera, u);
        EXPECT_EQ(camera.exposureTint(), glm::vec3(1.0f)) << "u = " << u;
    }
    placeCreditsCamera(camera, 21.5);
    EXPECT_FLOAT_EQ(camera.exposureTint().x, 2.25f);

    // Straight above-and-beside the target: the steepest look down of the scene.
    placeCreditsCamera(camera, 22.5);
    expectNear(eyeOf(camera), glm::vec3(15.0f, 2.0f, 2.0f), 1e-4f, "eye at u = 22.5");
    expectNear(viewDirectionOf(camera), glm::normalize(glm::vec3(0.0f, -0.5f, -2.0f)), 1e-5f, "view at u = 22.5");

    placeCreditsCamera(camera, 29.999);
    EXPECT_NEAR(camera.exposure().x, 0.0530330 * 99.98, 2e-3);  // past 5: nearly white
    EXPECT_FLOAT_EQ(camera.focusDistance(), 10.0f);
    EXPECT_FLOAT_EQ(camera.aperture(), 0.075f);

    const glm::vec4 placed = creditsModelTransform() * glm::vec4(1.0f, 2.0f, 3.0f, 1.0f);
    EXPECT_EQ(placed, glm::vec4(1.0f, 3.0f, 3.0f, 1.0f));
}

TEST_F(Scenes, FireworksFollowTheIntrosPathAtConstantExposure)
{
    Camera intro = startupCamera();
    placeTunnelIntroCamera(intro, 65.0 - 20.0 * pi);
    placeTunnelFireworksCamera(camera, 65.0);
    expectNear(eyeOf(camera), eyeOf(intro), 1e-4f, "eye at t = 65");
    EXPECT_NEAR(camera.focusDistance(), intro.focusDistance(), 1e-5f);
    EXPECT_NE(camera.exposure(), intro.exposure());
    for (double t : {65.0, 72.0, 79.99}) {
        placeTunnelFireworksCamera(camera, t);
        EXPECT_NEAR(camera.exposure().x, 0.0353553, 1e-6);
    }
}

TEST_F(Scenes, CarouselTurnsNineModelsThenEnds)
{
    EXPECT_EQ(carouselModelIndex(0.0), 3);
    EXPECT_EQ(carouselModelIndex(3.999), 3);
    EXPECT_EQ(carouselModelIndex(4.0), 4);
    EXPECT_EQ(carouselModelIndex(35.999), 11);
    EXPECT_EQ(carouselModelIndex(36.0), 3);  // past the show's end it would cycle

    // At u = 0 a quarter turn: model +x faces -z, then x and z shrink to 1/80, y to 1/20.
    const glm::mat4 start = carouselModelTransform(0.0);
    const glm::vec4 x = start * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
    const glm::vec4 y = start * glm::vec4(0.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_NEAR(x.x, 0.0f, 1e-6f);
    EXPECT_NEAR(x.z, -0.25f - 0.0125f, 1e-6f);
    EXPECT_NEAR(y.y, 0.05f, 1e-6f);
    EXPECT_NEAR(y.z, -0.25f, 1e-6f);
    // One full turn in four seconds.
    const glm::vec4 later = carouselModelTransform(4.0) * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(glm::distance(later, x), 0.0f, 1e-5f);

    placeCarouselCamera(camera, 0.0);
    ambientLight.setColor(carouselAmbientColor());
    expectNear(camera.exposure(), glm::vec3(0.0707107f, 0.1414214f, 0.0530330f), 1e-6f, "exposure");
    expectNear(ambcolor(ambientLight, camera), glm::vec3(0.0636396f, 0.1697056f, 0.0424264f), 1e-6f, "ambcolor");
    expectNear(viewDirectionOf(camera), glm::vec3(0.0f, 0.0f, -1.0f), 1e-6f, "view");
}

TEST(FrameRates, TheIntrosLastFrameDependsOnTheRate)
{
    const FrameRate sixty{60, 1};
    EXPECT_EQ(sixty.lastFrameBefore(25), 1499u);
    EXPECT_LT(sixty.frameTime(1499), 25.0);
    EXPECT_EQ(sixty.frameTime(1500), 25.0);

    const FrameRate ntsc{60000, 1001};
    const uint64_t last = ntsc.lastFrameBefore(25);
    EXPECT_LT(ntsc.frameTime(last), 25.0);
    EXPECT_GE(ntsc.frameTime(last + 1), 25.0);
    EXPECT_EQ(ntsc.frameTime(60000), 1001.0);  // exact, not a sum of steps
}

TEST(HandedOnState, TheIntrosLastFocusAtTheRateAndTheCarouselsChanges)
{
    // Before the hand-over every scene sets its own focus; the start-up values stand in.
    const FrameRate rate{30, 1};
    const HandedOnState intro = handedOnStateAt(12.0, rate);
    EXPECT_EQ(intro.focusDistance, startupFocusDistance);
    EXPECT_EQ(intro.placedModelIndex, creditsModelIndex);
    EXPECT_EQ(intro.ambientColor, glm::vec3(startupAmbientLevel));

    // From the flash on, the focus of the intro's last frame at that rate: 749 / 30 s at 30
    // frames a second, 1499 / 60 s at 60.
    struct RateCase {
        FrameRate at;
        double lastIntroFrame;
    };
    for (const auto& [at, lastIntroFrame] : {RateCase{{30, 1}, 749.0 / 30.0}, RateCase{{60, 1}, 1499.0 / 60.0}}) {
        Camera lastIntro = startupCamera();
        placeTunnelIntroCamera(lastIntro, lastIntroFrame);
        for (double t : {25.0, 50.0, 100.0}) {
            const HandedOnState state = handedOnStateAt(t, at);
            EXPECT_EQ(state.focusDistance, lastIntro.focusDistance()) << "t = " << t;
            EXPECT_EQ(state.aperture, lastIntro.aperture()) << "t = " << t;
        }
    }
    EXPECT_NE(handedOnStateAt(27.0, FrameRate{30, 1}).focusDistance,
              handedOnStateAt(27.0, FrameRate{60, 1}).focusDistance);

    // The credits model and the grey until the carousel, the carousel's own from its start.
    EXPECT_EQ(handedOnStateAt(79.999, rate).placedModelIndex, creditsModelIndex);
    EXPECT_EQ(handedOnStateAt(79.999, rate).ambientColor, glm::vec3(startupAmbientLevel));
    const HandedOnState carousel = handedOnStateAt(90.0, rate);
    EXPECT_EQ(carousel.placedModelIndex, carouselModelIndex(10.0));
    EXPECT_EQ(carousel.ambientColor, carouselAmbientColor());
}

TEST(ParticleColours, AreDrawsThreeToFiveOfEachTenAfterTheRenderers)
{
    setRandomSeed(7928);
    for (int i = 0; i < 2048 + 48; ++i)
        randomUnit();
    const ParticleField field;

    ReferenceGenerator reference{7928};
    for (int i = 0; i < 2096; ++i)
        reference.unit();
    ASSERT_EQ(field.count(), 32u);
    for (uint32_t i = 0; i < 32; ++i) {
        float draws[10];
        for (float& draw : draws)
            draw = reference.unit();
        const glm::vec3 expected(draws[4] * 10.0f, draws[3] * 10.0f, draws[2] * 10.0f);
        EXPECT_EQ(field.colors()[i], expected) << "particle " << i;
    }
    // The next draw is the 2417th: the field took exactly 320.
    EXPECT_EQ(randomUnit(), reference.unit());
}
