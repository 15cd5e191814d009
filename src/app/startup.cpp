#include "app/startup.h"

#include "app/display.h"
#include "app/frame_loop.h"
#include "app/platform.h"
#include "app/random.h"
#include "app/timeline.h"
#include "assets/ground_plane.h"
#include "assets/model_table.h"
#include "assets/screen_triangle.h"
#include "assets/textures.h"
#include "assets/tunnel_mesh.h"
#include "audio/music.h"
#include "render/renderer.h"
#include "render/shader_library.h"
#include "show/show_setup.h"

#include <cstdio>

// Start-up reads top to bottom; a failing step ends the program at once, nothing released.
int runShow()
{
    // Single instance, window, context and entry points. Every failure here is silent.
    if (!createGLWindow())
        return 0;

    setRandomSeed(7928);

    // The texture loader has written its own message.
    if (!loadTextures())
        return 0;

    // The shader library has already reported which file, compile log or link log failed.
    if (!loadShaders()) {
        std::fputs("Shader compile error.\n", stderr);
        return 1;
    }

    renderer = new Renderer(int(screenWidth()), int(screenHeight()));
    if (renderer->failed()) {
        std::fputs("Could not init frame buffers and stuff.\n", stderr);
        return 1;
    }

    // A model that fails to load stays empty and draws nothing; the show goes on without it.
    for (int i = 0; i < modelCount; ++i)
        models[i].load(modelFiles[i]);

    createScreenTriangle();

    if (!musicLoad("demooooooo.ogg")) {
        showMessageBox("Sound error.");
        return 1;
    }

    tunnelMesh = new TunnelMesh(32, 64, 0.001f);
    groundPlane = new GroundPlane();

    configureGroundPlaneCameraAndLights(screenWidth(), screenHeight());

    enterFullscreen();
    hideCursor();

    // Nothing may come between these two: demo time 0 is the start of the music.
    musicStart();
    runFrameLoop(timelineFrame);

    // The loop hands back the last swap's result, which is true (1) on success: a normal end
    // still exits with status 0.
    return 0;
}
