// The shader folder and its subfolders watched through inotify: every write that completes, file
// created, moved in or deleted there is a change.
#include "shader_watch.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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
    const uint32_t changes = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE;
    watchHandle = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watchHandle < 0 || inotify_add_watch(watchHandle, folder, changes) < 0) {
        std::fprintf(stderr, "player: cannot watch %s; R reloads the shaders\n", folder);
        return false;
    }
    // The code the stages share sits in subfolders (shaders/common); an edit there changes the
    // stages that include it.
    if (DIR* listing = opendir(folder)) {
        while (const dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            const std::string path = std::string(folder) + "/" + name;
            struct stat status;
            if (name != "." && name != ".." && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
                inotify_add_watch(watchHandle, path.c_str(), changes) < 0)
                std::fprintf(stderr, "player: cannot watch %s; R reloads the shaders\n", path.c_str());
        }
        closedir(listing);
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
