#include "app/startup.h"

#include "app/frame_loop.h"
#include "app/timeline.h"
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
#include "show/show_setup.h"

#include <cstdio>
#include <string>

namespace {

void noStepReport(const char*) {}

}

// Reads top to bottom; a failing step ends start-up at once, nothing released.
bool startShow(int& exitStatus, StartupStepDone stepDone)
{
    if (!stepDone)
        stepDone = noStepReport;
    exitStatus = 0;

    // Single instance, window, context and entry points. A second copy ends silently with
    // status 0; any other failure says what failed, since a show that ends with nothing to see
    // leaves its user nothing to report.
    if (!createGLWindow()) {
        if (wasSecondCopyRefused())
            return false;
        if (!windowFailureLine().empty())
            reportStartupFailure(windowFailureLine());
        exitStatus = 1;
        return false;
    }
#if !defined(__EMSCRIPTEN__)
    // The web's GL layer sets the double-precision uniforms in single precision: WebGL2 has
    // no other, and its backend checks what the show needs of it.
    std::string driverFailure;
    if (!checkDoublePrecisionUniforms(driverFailure)) {
        reportStartupFailure(driverFailure);
        exitStatus = 1;
        return false;
    }
#endif
    stepDone("window and context");

    // The order of every draw from here on is fixed: the renderer's 2048 + 48, then the
    // particle field's 320.
    setRandomSeed(7928);

    // The texture loader has written its own message, which has no line break of its own.
    if (!loadTextures()) {
        std::fputc('\n', stderr);
        exitStatus = 1;
        return false;
    }
    stepDone("textures");

    // The shader library has already reported which file, compile log or link log failed.
    setShaderMessageSink(showMessageBox);
    if (!loadShaders()) {
        std::fputs("Shader compile error.\n", stderr);
        exitStatus = 1;
        return false;
    }
    stepDone("shaders");

    renderer = new Renderer(int(screenWidth()), int(screenHeight()));
    if (renderer->failed()) {
        reportStartupFailure("Could not init frame buffers and stuff.");
        exitStatus = 1;
        return false;
    }
    stepDone("renderer");

    // A model that fails to load stays empty and draws nothing; the show goes on without it.
    for (int i = 0; i < modelCount; ++i)
        models[i].load(modelFiles[i]);
    stepDone("models");

    createScreenTriangle();

    if (!musicLoad("demooooooo.ogg")) {
        showMessageBox("Sound error.");
        exitStatus = 1;
        return false;
    }
    stepDone("music");

    tunnelMesh = new TunnelMesh(32, 64, 0.001f);
    groundPlane = new GroundPlane();
    placedModel = new PlacedModel();
    placedModel->model = &models[creditsModelIndex];
    particleField = new ParticleField();

    configureGroundPlaneCameraAndLights(screenWidth(), screenHeight());
    stepDone("scene objects, camera and lights");
    return true;
}

int runShow()
{
    int exitStatus = 0;
    if (!startShow(exitStatus))
        return exitStatus;

    enterFullscreen();
    hideCursor();

    // Nothing may come between these two: demo time 0 is the start of the music.
    musicStart();
    runFrameLoop(timelineFrame);

    // The loop hands back the last swap's result, which is true (1) on success: a normal end
    // still exits with status 0.
    return 0;
}
