// The Linux port's single-instance lock, taken through the function the show calls. Each test
// uses a name of its own, so a show running on the same machine does not disturb it.
#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string uniqueName(const char* test)
{
    return "ovagl-test-" + std::to_string(getpid()) + "-" + test;
}

// Runs `body` in a child process and returns its exit status, or -1 if it did not exit.
template <typename Body> int inChild(Body body)
{
    pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

}  // namespace

TEST(SingleInstanceLock, ASecondTakeSeesAnotherCopy)
{
    std::string name = uniqueName("twice");
    EXPECT_TRUE(takeSingleInstanceLock(name.c_str()));
    EXPECT_FALSE(takeSingleInstanceLock(name.c_str()));
    EXPECT_TRUE(takeSingleInstanceLock(uniqueName("other").c_str())) << "names are locks of their own";
}

TEST(SingleInstanceLock, AnotherProcessIsRefusedWhileTheHolderRunsAndNotAfter)
{
    std::string name = uniqueName("holder");
    int taken[2], release[2];
    ASSERT_EQ(pipe(taken), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        close(taken[0]);
        close(release[1]);
        char held = takeSingleInstanceLock(name.c_str()) ? 1 : 0;
        char ignored = 0;
        bool told = write(taken[1], &held, 1) == 1;
        bool released = read(release[0], &ignored, 1) >= 0;  // 0 once the test closes its end
        _exit(told && released ? 0 : 1);
    }
    close(taken[1]);
    close(release[0]);
    char held = 0;
    ASSERT_EQ(read(taken[0], &held, 1), 1);
    EXPECT_EQ(held, 1);
    EXPECT_EQ(inChild([&] { return takeSingleInstanceLock(name.c_str()) ? 1 : 0; }), 0)
        << "a second process must see another copy";

    // The holder ends without a word about its lock: the name must be free again.
    close(release[1]);
    int status = 0;
    ASSERT_EQ(waitpid(holder, &status, 0), holder);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(taken[0]);
    EXPECT_EQ(inChild([&] { return takeSingleInstanceLock(name.c_str()) ? 0 : 1; }), 0)
        << "a lock must not outlive its process";
}

TEST(SingleInstanceLock, LeavesNothingInTheFileSystem)
{
    // Every folder a lock file could go to is an empty one of the test's own.
    std::filesystem::path folder = std::filesystem::temp_directory_path() / uniqueName("folder");
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    std::string name = uniqueName("nothing");
    int status = inChild([&] {
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        setenv("TMPDIR", folder.c_str(), 1);
        if (chdir(folder.c_str()) != 0 || !takeSingleInstanceLock(name.c_str()))
            return 2;
        if (!std::filesystem::is_empty(folder))
            return 3;
        // The kernel lists the name as abstract (a leading @), bound by this process.
        std::ifstream sockets("/proc/net/unix");
        std::string line;
        while (std::getline(sockets, line))
            if (line.size() > name.size() + 2 &&
                line.compare(line.size() - name.size() - 2, std::string::npos, " @" + name) == 0)
                return 0;
        return 4;
    });
    bool empty = std::filesystem::is_empty(folder);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(status, 0) << "2: not taken, 3: a file was left, 4: not an abstract socket";
    EXPECT_TRUE(empty);
}

TEST(SingleInstanceLock, AFailureOtherThanAHeldNameLetsTheCopyRun)
{
    // With no descriptor to be had, no socket can be made: that is no sign of another copy.
    std::string name = uniqueName("no-descriptors");
    int status = inChild([&] {
        rlimit none = {0, 0};
        if (setrlimit(RLIMIT_NOFILE, &none) != 0)
            return 2;
        return takeSingleInstanceLock(name.c_str()) ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << "1: an unrelated failure was taken for another copy";
    // And the name was not taken by that failed attempt.
    EXPECT_TRUE(takeSingleInstanceLock(name.c_str()));
}
