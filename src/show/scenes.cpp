#include "show/scenes.h"

#include "app/gl_api.h"

// The scenes are not composed yet: until each one is, its time window shows a cleared frame.
namespace {
void drawClearedFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
}

void sceneTunnelIntro(double) { drawClearedFrame(); }
void sceneParticles(double) { drawClearedFrame(); }
void sceneCredits(double) { drawClearedFrame(); }
void sceneTunnelFireworks(double) { drawClearedFrame(); }
void sceneCarousel(double) { drawClearedFrame(); }
