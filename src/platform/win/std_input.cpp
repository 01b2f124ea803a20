#include "platform/win/std_input.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include "platform/rtl/codepage.h"

namespace tv {

std::string ReadInputText(int fd, size_t limit, int idleMs) {
    std::string bytes;
    if (fd < 0 || ::isatty(fd)) return bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, idleMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;  // idle, or not a handle that can be waited on
        if (p.revents & POLLNVAL) break;
        size_t want = limit - bytes.size();
        ssize_t n = ::read(fd, buffer, want < sizeof buffer ? want : sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return DecodeTextBytes(bytes);
}

void ReadStdIn(std::string& text) {
    text = ReadInputText(STDIN_FILENO);
}

}  // namespace tv
