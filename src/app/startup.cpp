#include "app/startup.h"

#include "app/frame_loop.h"
#include "app/platform.h"
#include "app/random.h"
#include "app/timeline.h"
#include "assets/model_table.h"
#include "assets/textures.h"
#include "audio/music.h"

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

    // A model that fails to load stays empty and draws nothing; the show goes on without it.
    for (int i = 0; i < modelCount; ++i)
        models[i].load(modelFiles[i]);

    if (!musicLoad("demooooooo.ogg")) {
        showMessageBox("Sound error.");
        return 1;
    }

    enterFullscreen();
    hideCursor();

    // Nothing may come between these two: demo time 0 is the start of the music.
    musicStart();
    runFrameLoop(timelineFrame);

    // The loop hands back the last swap's result, which is true (1) on success: a normal end
    // still exits with status 0.
    return 0;
}
