#pragma once
// The inside of the pipe components: one connected socket as the I/O thread sees it. Incoming bytes
// are cut into messages at their 4-byte length; outgoing messages wait framed in a queue. Used by
// TPipeServer and TPipeClient only.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/un.h>

#include "platform/rtl/streams.h"

namespace tv::detail {

// A message with its little-endian length in front.
std::string FrameMessage(std::string_view payload);

struct TPipeChannel {
    int fd = -1;
    uint32_t id = 0;
    std::string in;               // bytes received that do not yet make a whole message
    std::deque<std::string> out;  // framed messages still to send, the first perhaps in part
    size_t outOffset = 0;         // bytes of out.front() already sent

    // Reads what the socket holds and appends each whole message to `messages`. Returns 0 while the
    // connection lasts, -1 when the peer closed it (also by a reset), or the error number; EMSGSIZE
    // when the peer announces a message longer than kMaxPipeMessage.
    int ReadAvailable(std::vector<std::string>& messages);
    // Sends queued bytes until the socket would block. The sizes of the messages sent whole are
    // appended to `sent`. Returns 0, -1 when the peer has gone, or the error number.
    int WriteAvailable(std::vector<uint32_t>& sent);
};

// An eventfd that wakes the I/O thread out of its poll.
class TWakeEvent {
public:
    TWakeEvent();
    ~TWakeEvent();
    TWakeEvent(const TWakeEvent&) = delete;
    TWakeEvent& operator=(const TWakeEvent&) = delete;
    int Fd() const { return fd_; }
    void Signal();
    void Drain();

private:
    int fd_ = -1;
};

// The socket address of pipe `name` in `folder` (DefaultPipeFolder() when empty). Returns 0, or
// the error number when the folder cannot be used or the path is too long for a socket.
int PipeAddress(const std::string& folder, const std::string& name, sockaddr_un& addr, std::string& path);

// Hands a received message to `deliver` as a memory stream positioned at its start.
void DeliverMessage(const std::string& bytes, const std::function<void(TStream*)>& deliver);

}  // namespace tv::detail
