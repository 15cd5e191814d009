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
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"
#include "render/shader_library.h"

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

    groundPlane->setTextures(textureNames[3], textureNames[4]);
    groundPlane->setTs(-0.125f);

    // The camera's setters depend on each other: this order is the one that works.
    showCamera.setScreenSize(screenWidth(), screenHeight());
    showCamera.setNear(0.1f);
    showCamera.setExposure(glm::vec3(1.0f, 1.0f, 1.0f));
    showCamera.setFar(100.0f);
    showCamera.setFocalLength(35.0f);
    showCamera.setPhysicalExposure(true);
    showCamera.setFocus(15.0f, 0.075f);
    showCamera.updateProjection();

    ambientLight.setEnvironmentTexture(textureNames[1]);
    ambientLight.setColor(glm::vec3(0.4172549f));
    directionalLight.setDirection(glm::vec3(0.0f, -1.0f, 0.0f));
    directionalLight.setColor(glm::vec3(2.0f, 1.0f, 0.75f));

    enterFullscreen();
    hideCursor();

    // Nothing may come between these two: demo time 0 is the start of the music.
    musicStart();
    runFrameLoop(timelineFrame);

    // The loop hands back the last swap's result, which is true (1) on success: a normal end
    // still exits with status 0.
    return 0;
}
