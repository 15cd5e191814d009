#include "show/handed_on_state.h"

#include "assets/model_table.h"
#include "objects/placed_model.h"
#include "render/camera.h"
#include "render/lights.h"
#include "show/scenes.h"
#include "show/show_setup.h"

namespace {
constexpr uint32_t introEnd = 25;
constexpr double carouselStart = 80.0;
}

void replayHandedOnState(double t, const FrameRate& rate)
{
    // The intro's last frame leaves its whole camera; the scenes after it overwrite all but
    // the focus.
    if (t >= introEnd)
        placeTunnelIntroCamera(showCamera, rate.frameTime(rate.lastFrameBefore(introEnd)));
    if (t < carouselStart) {
        placedModel->model = &models[creditsModelIndex];
        ambientLight.setColor(glm::vec3(startupAmbientLevel));
    }
}
