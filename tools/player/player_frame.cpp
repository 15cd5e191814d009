#include "player_frame.h"

#include "show/timeline.h"

void drawPlayerFrame(Show& show, double t)
{
    drawShowFrame(show, t);
}
