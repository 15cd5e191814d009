#include "show/handed_on_state.h"

#include "objects/placed_model.h"
#include "show/scenes.h"
#include "show/show.h"
#include "show/show_setup.h"
#include "show/timeline.h"

HandedOnState handedOnStateAt(double t, const FrameRate& rate)
{
    // Until the intro's end each frame sets its own focus: start-up's stands in there.
    HandedOnState state{startupFocusDistance, startupAperture, creditsModelIndex, glm::vec3(startupAmbientLevel)};
    const SceneRow& intro = timeline[tunnelIntroRow];
    const SceneRow& carousel = timeline[carouselRow];
    if (t >= intro.end) {
        const double introLastFrame = rate.frameTime(rate.lastFrameBefore(uint32_t(intro.end)));
        state.focusDistance = tunnelIntroFocusDistance(introLastFrame);
        state.aperture = tunnelIntroAperture;
    }
    if (t >= carousel.start) {
        state.placedModelIndex = carouselModelIndex(sceneTime(carousel, t));
        state.ambientColor = carouselAmbientColor();
    }
    return state;
}

void putHandedOnState(Show& show, const HandedOnState& state)
{
    show.camera.setFocus(state.focusDistance, state.aperture);
    show.placedModel->model = &show.models[state.placedModelIndex];
    show.ambientLight.setColor(state.ambientColor);
}
