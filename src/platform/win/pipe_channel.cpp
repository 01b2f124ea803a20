#include "platform/win/pipe_channel.h"

#include <cerrno>
#include <cstring>

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/win/pipe_common.h"

namespace tv::detail {

std::string FrameMessage(std::string_view payload) {
    std::string frame;
    frame.reserve(4 + payload.size());
    uint32_t n = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) frame += static_cast<char>((n >> (8 * i)) & 0xFF);
    frame.append(payload);
    return frame;
}

int TPipeChannel::ReadAvailable(std::vector<std::string>& messages) {
    char buffer[65536];
    int result = 0;
    for (;;) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            in.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) {
            result = -1;
        } else if (errno == EINTR) {
            continue;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            result = (errno == ECONNRESET) ? -1 : errno;
        }
        break;
    }
    size_t pos = 0;
    while (in.size() - pos >= 4) {
        uint32_t len = 0;
        for (int i = 0; i < 4; ++i)
            len |= static_cast<uint32_t>(static_cast<unsigned char>(in[pos + i])) << (8 * i);
        if (len > kMaxPipeMessage) return EMSGSIZE;
        if (in.size() - pos - 4 < len) break;
        messages.emplace_back(in, pos + 4, len);
        pos += 4 + len;
    }
    in.erase(0, pos);
    return result;
}

int TPipeChannel::WriteAvailable(std::vector<uint32_t>& sent) {
    while (!out.empty()) {
        const std::string& frame = out.front();
        ssize_t n = ::send(fd, frame.data() + outOffset, frame.size() - outOffset, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
            return (errno == EPIPE || errno == ECONNRESET) ? -1 : errno;
        }
        outOffset += static_cast<size_t>(n);
        if (outOffset == frame.size()) {
            sent.push_back(static_cast<uint32_t>(frame.size() - 4));
            out.pop_front();
            outOffset = 0;
        }
    }
    return 0;
}

TWakeEvent::TWakeEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0) throw EInOutError("Cannot create an event. " + SysErrorMessage(errno));
}

TWakeEvent::~TWakeEvent() {
    if (fd_ >= 0) ::close(fd_);
}

void TWakeEvent::Signal() {
    uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void TWakeEvent::Drain() {
    uint64_t value;
    while (::read(fd_, &value, sizeof value) > 0) {
    }
}

int PipeAddress(const std::string& folder, const std::string& name, sockaddr_un& addr, std::string& path) {
    try {
        path = (folder.empty() ? DefaultPipeFolder() : ExcludeTrailingPathDelimiter(folder)) + "/" + name;
    } catch (const Exception&) {
        return EACCES;
    }
    if (path.size() >= sizeof addr.sun_path) return ENAMETOOLONG;
    addr = sockaddr_un{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, path.size());
    return 0;
}

void DeliverMessage(const std::string& bytes, const std::function<void(TStream*)>& deliver) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    deliver(&stream);
}

}  // namespace tv::detail
