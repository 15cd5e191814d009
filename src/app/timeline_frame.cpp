#include "app/timeline_frame.h"

#include "platform/platform.h"
#include "show/timeline.h"

void timelineFrame(Show& show, double t)
{
    if (escapePressed())
        closeWindow();
    if (showClosesAt(t))
        closeWindow();
    drawShowFrame(show, t);
}
