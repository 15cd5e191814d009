// The shader folder watched through inotify: every write that completes, file created, moved in
// or deleted there is a change.
#include "shader_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>

namespace {

int watchHandle = -1;
bool changePending = false;
int64_t lastChangeMs = 0;

// Reads whatever events are queued; true when there were any.
bool drainEvents()
{
    alignas(inotify_event) char buffer[4096];
    bool any = false;
    for (;;) {
        const ssize_t length = read(watchHandle, buffer, sizeof buffer);
        if (length <= 0)
            return any;
        any = true;
    }
}

}

bool watchShaderFolder(const char* folder)
{
    watchHandle = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watchHandle < 0 ||
        inotify_add_watch(watchHandle, folder, IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE) < 0) {
        std::fprintf(stderr, "player: cannot watch %s; R reloads the shaders\n", folder);
        return false;
    }
    return true;
}

bool shaderFolderChanged(int64_t nowMs, int64_t quietMs)
{
    if (watchHandle < 0)
        return false;
    if (drainEvents()) {
        changePending = true;
        lastChangeMs = nowMs;
    }
    if (!changePending || nowMs - lastChangeMs < quietMs)
        return false;
    changePending = false;
    return true;
}
