#include "app/startup.h"

#include "app/frame_loop.h"
#include "app/timeline_frame.h"
#include "assets/model_table.h"
#include "assets/textures.h"
#include "audio/music.h"
#include "core/display.h"
#include "core/gl_requirements.h"
#include "core/random.h"
#include "objects/ground_plane.h"
#include "objects/particle_field.h"
#include "objects/placed_model.h"
#include "objects/tunnel_mesh.h"
#include "platform/platform.h"
#include "platform/startup_report.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "show/show.h"
#include "show/show_setup.h"

#include <cstdio>
#include <string>

namespace {

void noStepReport(const char*) {}

// Single instance, window, context and entry points. A second copy ends silently; any other
// failure says what failed, since a show that ends with nothing to see leaves its user nothing
// to report.
StartupFailure openWindowAndContext()
{
    if (!createGLWindow()) {
        if (wasSecondCopyRefused())
            return StartupFailure::SecondCopy;
        if (!windowFailureLine().empty())
            reportStartupFailure(windowFailureLine());
        return StartupFailure::Window;
    }
#if !defined(__EMSCRIPTEN__)
    // The web's GL layer sets the double-precision uniforms in single precision: WebGL2 has
    // no other, and its backend checks what the show needs of it.
    std::string driverFailure;
    if (!checkDoublePrecisionUniforms(driverFailure)) {
        reportStartupFailure(driverFailure);
        return StartupFailure::DoublePrecision;
    }
#endif
    return StartupFailure::None;
}

StartupFailure loadTexturesAndShaders(StartupStepDone stepDone)
{
    // The texture loader has written its own message, which has no line break of its own.
    if (!loadTextures()) {
        std::fputc('\n', stderr);
        return StartupFailure::Textures;
    }
    stepDone("textures");

    // The shader library has already reported which file, compile log or link log failed.
    setShaderMessageSink(showMessageBox);
    if (!loadShaders()) {
        std::fputs("Shader compile error.\n", stderr);
        return StartupFailure::Shaders;
    }
    stepDone("shaders");
    return StartupFailure::None;
}

void createSceneObjects(Show& show)
{
    show.tunnelMesh = new TunnelMesh(32, 64, 0.001f);
    show.groundPlane = new GroundPlane();
    show.placedModel = new PlacedModel();
    show.placedModel->model = &show.models[creditsModelIndex];
    show.particleField = new ParticleField();
}

}  // namespace

// Reads top to bottom; a failing step ends start-up at once, nothing released.
StartedShow startShow(StartupStepDone stepDone)
{
    if (!stepDone)
        stepDone = noStepReport;
    // One per process, kept to its end: the camera, the lights and the model array exist
    // before the first step.
    static Show show;
    StartedShow started;

    if ((started.failure = openWindowAndContext()) != StartupFailure::None)
        return started;
    stepDone("window and context");

    // The order of every draw from here on is fixed: the renderer's 2048 + 48, then the
    // particle field's 320.
    setRandomSeed(7928);

    if ((started.failure = loadTexturesAndShaders(stepDone)) != StartupFailure::None)
        return started;

    show.renderer = new Renderer(int(screenWidth()), int(screenHeight()));
    if (show.renderer->failed()) {
        reportStartupFailure("Could not init frame buffers and stuff.");
        started.failure = StartupFailure::Renderer;
        return started;
    }
    stepDone("renderer");

    // A model that fails to load stays empty and draws nothing; the show goes on without it.
    for (int i = 0; i < modelCount; ++i)
        show.models[i].load(modelFiles[i]);
    stepDone("models");

    createScreenTriangle();

    if (!musicLoad("demooooooo.ogg")) {
        showMessageBox("Sound error.");
        started.failure = StartupFailure::Music;
        return started;
    }
    stepDone("music");

    createSceneObjects(show);
    configureGroundPlaneCameraAndLights(show, screenWidth(), screenHeight());
    stepDone("scene objects, camera and lights");
    started.show = &show;
    return started;
}

int runShow()
{
    const StartedShow started = startShow();
    if (!started.show)
        return started.exitStatus();

    enterFullscreen();
    hideCursor();

    // Nothing may come between these two: demo time 0 is the start of the music.
    musicStart();
    runFrameLoop(*started.show, timelineFrame);

    // The loop hands back the last swap's result, which is true (1) on success: a normal end
    // still exits with status 0.
    return 0;
}
