#include "child_output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The last non-empty line of the file at `fd`, read from its start.
std::string lastLine(int fd)
{
    std::string text;
    char buffer[4096];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(got));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const size_t newline = text.find_last_of('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

int waitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::function<bool(const char* data, size_t bytes)>& consume)
{
    ChildResult result;
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return result;
    char errorPath[] = "/tmp/capture-child-XXXXXX";
    const int errorFile = ::mkstemp(errorPath);
    if (errorFile >= 0)
        ::unlink(errorPath);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    if (errorFile >= 0)
        posix_spawn_file_actions_adddup2(&actions, errorFile, 2);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        if (errorFile >= 0)
            ::close(errorFile);
        return result;
    }
    result.started = true;

    char buffer[1 << 16];
    bool wanted = true;
    for (;;) {
        const ssize_t got = ::read(output[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (!consume(buffer, size_t(got))) {
            wanted = false;
            ::kill(child, SIGTERM);
            break;
        }
    }
    ::close(output[0]);
    result.exitStatus = waitFor(child);
    if (!wanted)
        result.exitStatus = -1;
    if (errorFile >= 0) {
        result.errorOutput = lastLine(errorFile);
        ::close(errorFile);
    }
    return result;
}

ChildResult runChildForText(const std::string& program, const std::vector<std::string>& arguments, std::string& output)
{
    output.clear();
    return runChild(program, arguments, [&](const char* data, size_t bytes) {
        output.append(data, bytes);
        return true;
    });
}
