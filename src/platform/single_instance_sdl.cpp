// The single-instance lock of the Linux port (the SDL2 backend), in its own file so the tests
// can take it without opening a window.
#include "platform/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

bool takeSingleInstanceLock(const char* name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A first byte of zero puts the name in the abstract namespace; the length given to bind
    // ends it, with no terminating zero.
    size_t length = std::strlen(name);
    if (1 + length > sizeof address.sun_path)
        return true;
    std::memcpy(address.sun_path + 1, name, length);
    socklen_t addressLength = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);

    int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return true;
    // On success the descriptor is never closed: the name is held until the process ends.
    if (bind(descriptor, reinterpret_cast<const sockaddr*>(&address), addressLength) == 0)
        return true;
    int bindError = errno;
    close(descriptor);
    return bindError != EADDRINUSE;
}
