#include "platform/win/pipe_client.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/win/main_thread.h"
#include "platform/win/pipe_channel.h"

namespace tv {

struct TPipeClient::State {
    std::mutex mutex;
    TPipeClient* owner = nullptr;  // main thread only; nil once the client is gone
    detail::TWakeEvent wake;
    detail::TPipeChannel channel;
    bool stop = false;
    std::thread thread;
};

namespace {

using State = TPipeClient::State;
using Clock = std::chrono::steady_clock;

// Queued messages still go out when the connection is ended, for at most this long.
constexpr auto kDrainTime = std::chrono::milliseconds(1000);

std::atomic<uint32_t> gNextPipe{1};

template <class F>
void Post(const std::shared_ptr<State>& s, F deliver) {
    PostToMainThread([s, deliver] {
        if (s->owner) deliver(*s->owner);
    });
}

void RunClient(std::shared_ptr<State> s, uint32_t pipe) {
    std::vector<std::string> messages;
    std::vector<uint32_t> sent;
    bool draining = false;
    Clock::time_point drainEnd;
    for (;;) {
        pollfd fds[2];
        int timeout = -1;
        {
            std::lock_guard lock(s->mutex);
            if (s->stop) {
                if (!draining) {
                    draining = true;
                    drainEnd = Clock::now() + kDrainTime;
                }
                auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(drainEnd - Clock::now()).count();
                if (s->channel.out.empty() || left <= 0) return;
                timeout = static_cast<int>(left);
            }
            fds[0] = pollfd{s->wake.Fd(), POLLIN, 0};
            short events = draining ? 0 : POLLIN;
            if (!s->channel.out.empty()) events |= POLLOUT;
            fds[1] = pollfd{s->channel.fd, events, 0};
        }
        int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (fds[0].revents) s->wake.Drain();

        int result = 0;
        {
            std::lock_guard lock(s->mutex);
            if (ready < 0) result = errno;
            if (result == 0 && !draining && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
                result = s->channel.ReadAvailable(messages);
                for (auto& m : messages) {
                    auto bytes = std::make_shared<std::string>(std::move(m));
                    Post(s, [pipe, bytes](TPipeClient& client) {
                        detail::DeliverMessage(*bytes, [&](TStream* stream) {
                            if (client.OnPipeMessage) client.OnPipeMessage(&client, pipe, stream);
                        });
                    });
                }
                messages.clear();
            }
            if (result == 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP)) && !s->channel.out.empty()) {
                result = s->channel.WriteAvailable(sent);
                for (uint32_t size : sent)
                    Post(s, [pipe, size](TPipeClient& client) {
                        if (client.OnPipeSent) client.OnPipeSent(&client, pipe, size);
                    });
                sent.clear();
            }
            if (result == 0) continue;
            if (draining) return;
        }
        // The connection ended by itself: -1 is the server going away; anything else is an error.
        if (result > 0)
            Post(s, [pipe, result](TPipeClient& client) {
                if (client.OnPipeError) client.OnPipeError(&client, pipe, pcWorker, result);
            });
        Post(s, [pipe](TPipeClient& client) { client.WorkerEnded(pipe); });
        return;
    }
}

bool IsThisMachine(const std::string& server) {
    if (server.empty() || server == ".") return true;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) return false;
    return SameTextAscii(server, host);
}

}  // namespace

const TClassInfo& TPipeClient::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPipeClient>("TPipeClient")
            .Published("PipeName", &TPipeClient::PipeName, &TPipeClient::SetPipeName)
            .Published("ServerName", &TPipeClient::ServerName, &TPipeClient::SetServerName)
            .Build();
    return info;
}

TPipeClient::TPipeClient(TComponent* AOwner) : TComponent(AOwner), fState(std::make_shared<State>()) {
    fState->owner = this;
}

TPipeClient::~TPipeClient() {
    Stop(true);
    fState->owner = nullptr;
}

void TPipeClient::SetPipeName(const std::string& value) {
    CheckPipeName(value);
    if (fConnected) throw EPipeException(std::string(kClientConnectedError));
    fPipeName = value;
}

void TPipeClient::SetServerName(const std::string& value) {
    if (fConnected) throw EPipeException(std::string(kClientConnectedError));
    fServerName = value;
}

void TPipeClient::SetSocketFolder(const std::string& value) {
    if (fConnected) throw EPipeException(std::string(kClientConnectedError));
    fSocketFolder = value;
}

bool TPipeClient::Connect(int waitMs) {
    if (fConnected) return true;
    if (!IsThisMachine(fServerName)) return false;
    sockaddr_un addr;
    std::string path;
    if (detail::PipeAddress(fSocketFolder, fPipeName, addr, path) != 0) return false;

    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    auto deadline = Clock::now() + std::chrono::milliseconds(waitMs > 0 ? waitMs : 0);
    for (;;) {
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) break;
        if (errno == EINTR) continue;
        // A full backlog means the server is busy: wait for it. Anything else: no server.
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        ::close(fd);
        return false;
    }
    State& s = *fState;
    s.channel = detail::TPipeChannel{};
    s.channel.fd = fd;
    s.stop = false;
    fPipe = gNextPipe++;
    s.channel.id = fPipe;
    fConnected = true;
    s.thread = std::thread(RunClient, fState, fPipe);
    return true;
}

void TPipeClient::Stop(bool destroying) {
    if (!fConnected) return;
    State& s = *fState;
    {
        std::lock_guard lock(s.mutex);
        s.stop = true;
    }
    s.wake.Signal();
    if (s.thread.joinable()) s.thread.join();
    ::close(s.channel.fd);
    s.channel = detail::TPipeChannel{};
    uint32_t pipe = fPipe;
    fConnected = false;
    fPipe = 0;
    if (!destroying)
        Post(fState, [pipe](TPipeClient& client) {
            if (client.OnPipeDisconnect) client.OnPipeDisconnect(&client, pipe);
        });
}

void TPipeClient::Disconnect(bool canWait) {
    Stop(false);
}

void TPipeClient::WorkerEnded(uint32_t pipe) {
    // A Disconnect (or a new connection) since the worker ended has already dealt with it.
    if (!fConnected || fPipe != pipe) return;
    State& s = *fState;
    if (s.thread.joinable()) s.thread.join();
    ::close(s.channel.fd);
    s.channel = detail::TPipeChannel{};
    fConnected = false;
    fPipe = 0;
    if (OnPipeDisconnect) OnPipeDisconnect(this, pipe);
}

bool TPipeClient::Write(const void* buffer, size_t count) {
    if (!fConnected || count > kMaxPipeMessage) return false;
    {
        std::lock_guard lock(fState->mutex);
        fState->channel.out.push_back(
            detail::FrameMessage(std::string_view(static_cast<const char*>(buffer), count)));
    }
    fState->wake.Signal();
    return true;
}

bool TPipeClient::Write(TStream& stream) {
    std::string bytes = StreamBytes(stream);
    return Write(bytes.data(), bytes.size());
}

}  // namespace tv
