#include "platform/win/pipe_server.h"

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/rtl/class_info.h"
#include "platform/win/main_thread.h"
#include "platform/win/pipe_channel.h"

namespace tv {

struct TPipeServer::State {
    std::mutex mutex;
    TPipeServer* owner = nullptr;  // main thread only; nil once the server is gone
    detail::TWakeEvent wake;
    int listenFd = -1;
    std::string socketPath;
    dev_t socketDev = 0;
    ino_t socketIno = 0;
    bool stop = false;
    std::vector<std::unique_ptr<detail::TPipeChannel>> clients;
    uint32_t nextId = 1;
    uint64_t generation = 0;  // counts activations; events of an earlier one are not errors any more
    std::thread thread;
};

namespace {

using State = TPipeServer::State;

// Runs `deliver` on the main thread when the server still exists.
template <class F>
void Post(const std::shared_ptr<State>& s, F deliver) {
    PostToMainThread([s, deliver] {
        if (s->owner) deliver(*s->owner);
    });
}

// Disconnects and errors belong to the activation that saw them: once the server shut down (or
// started anew) they are not reported.
template <class F>
void PostWhileActive(const std::shared_ptr<State>& s, uint64_t generation, F deliver) {
    Post(s, [s, generation, deliver](TPipeServer& server) {
        if (server.Active() && s->generation == generation) deliver(server);
    });
}

void PostError(const std::shared_ptr<State>& s, uint64_t generation, uint32_t pipe, TPipeContext context,
               int error) {
    PostWhileActive(s, generation, [pipe, context, error](TPipeServer& server) {
        if (server.OnPipeError) server.OnPipeError(&server, pipe, context, error);
    });
}

void PostDisconnect(const std::shared_ptr<State>& s, uint64_t generation, uint32_t pipe) {
    PostWhileActive(s, generation, [pipe](TPipeServer& server) {
        if (server.OnPipeDisconnect) server.OnPipeDisconnect(&server, pipe);
    });
}

// Accepts what waits on the listening socket. Only processes of our own user are served.
// Returns false when accepting failed in a way that needs a pause.
bool AcceptClients(const std::shared_ptr<State>& s, uint64_t generation) {
    for (;;) {
        if (static_cast<int>(s->clients.size()) > kMaxPipeClients) return true;
        int fd = ::accept4(s->listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
            if (errno == EINTR || errno == ECONNABORTED) continue;
            PostError(s, generation, 0, pcListener, errno);
            return false;
        }
        ucred cred{};
        socklen_t len = sizeof cred;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || cred.uid != ::geteuid()) {
            ::close(fd);
            PostError(s, generation, 0, pcListener, EACCES);
            continue;
        }
        auto channel = std::make_unique<detail::TPipeChannel>();
        channel->fd = fd;
        channel->id = s->nextId++;
        if (s->nextId == 0) s->nextId = 1;
        uint32_t id = channel->id;
        s->clients.push_back(std::move(channel));
        Post(s, [id](TPipeServer& server) {
            if (server.OnPipeConnect) server.OnPipeConnect(&server, id);
        });
    }
}

void PostMessages(const std::shared_ptr<State>& s, uint32_t pipe, std::vector<std::string>& messages) {
    for (auto& m : messages) {
        auto bytes = std::make_shared<std::string>(std::move(m));
        Post(s, [pipe, bytes](TPipeServer& server) {
            detail::DeliverMessage(*bytes, [&](TStream* stream) {
                if (server.OnPipeMessage) server.OnPipeMessage(&server, pipe, stream);
            });
        });
    }
    messages.clear();
}

void PostSent(const std::shared_ptr<State>& s, uint32_t pipe, std::vector<uint32_t>& sizes) {
    for (uint32_t size : sizes)
        Post(s, [pipe, size](TPipeServer& server) {
            if (server.OnPipeSent) server.OnPipeSent(&server, pipe, size);
        });
    sizes.clear();
}

void RunServer(std::shared_ptr<State> s, uint64_t generation) {
    std::vector<pollfd> fds;
    std::vector<uint32_t> ids;
    std::vector<std::string> messages;
    std::vector<uint32_t> sent;
    for (;;) {
        bool listening;
        {
            std::lock_guard lock(s->mutex);
            if (s->stop) return;
            fds.assign({pollfd{s->wake.Fd(), POLLIN, 0}});
            ids.assign({0});
            listening = static_cast<int>(s->clients.size()) <= kMaxPipeClients;
            if (listening) {
                fds.push_back(pollfd{s->listenFd, POLLIN, 0});
                ids.push_back(0);
            }
            for (const auto& c : s->clients) {
                fds.push_back(pollfd{c->fd, static_cast<short>(POLLIN | (c->out.empty() ? 0 : POLLOUT)), 0});
                ids.push_back(c->id);
            }
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            PostError(s, generation, 0, pcListener, errno);
            return;
        }
        if (fds[0].revents) s->wake.Drain();

        bool pause = false;
        {
            std::lock_guard lock(s->mutex);
            if (s->stop) return;
            size_t first = 1;
            if (listening) {
                if (fds[1].revents) pause = !AcceptClients(s, generation);
                first = 2;
            }
            for (size_t i = first; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                auto it = s->clients.begin();
                while (it != s->clients.end() && (*it)->id != ids[i]) ++it;
                if (it == s->clients.end()) continue;
                detail::TPipeChannel& c = **it;
                int result = 0;
                if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    result = c.ReadAvailable(messages);
                    PostMessages(s, c.id, messages);
                }
                if (result == 0 && (fds[i].revents & POLLOUT)) {
                    result = c.WriteAvailable(sent);
                    PostSent(s, c.id, sent);
                }
                if (result != 0) {
                    // -1 is the normal end of a connection; anything else is reported first.
                    if (result > 0) PostError(s, generation, c.id, pcWorker, result);
                    ::close(c.fd);
                    uint32_t id = c.id;
                    s->clients.erase(it);
                    PostDisconnect(s, generation, id);
                }
            }
        }
        if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// Binds `fd` to `path`. A socket file that nobody listens on any more is left over from a program
// that ended without cleaning up, and is replaced; one somebody serves is not.
int BindSocket(int fd, const sockaddr_un& addr, const std::string& path) {
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return 0;
    if (errno != EADDRINUSE) return errno;
    int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return errno;
    int rc = ::connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    int error = errno;
    ::close(probe);
    if (rc == 0 || error != ECONNREFUSED) return EADDRINUSE;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return EADDRINUSE;
    ::unlink(path.c_str());
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 ? 0 : errno;
}

}  // namespace

const TClassInfo& TPipeServer::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPipeServer>("TPipeServer")
            .Published("Active", &TPipeServer::Active, &TPipeServer::SetActive)
            .Published("PipeName", &TPipeServer::PipeName, &TPipeServer::SetPipeName)
            .Build();
    return info;
}

TPipeServer::TPipeServer(TComponent* AOwner) : TComponent(AOwner), fState(std::make_shared<State>()) {
    fState->owner = this;
}

TPipeServer::~TPipeServer() {
    Deactivate();
    fState->owner = nullptr;
}

void TPipeServer::SetActive(bool value) {
    if (value == fActive) return;
    if (value)
        Activate();
    else
        Deactivate();
}

void TPipeServer::SetPipeName(const std::string& value) {
    CheckPipeName(value);
    if (fActive) throw EPipeException(std::string(kServerActiveError));
    fPipeName = value;
}

void TPipeServer::SetSocketFolder(const std::string& value) {
    if (fActive) throw EPipeException(std::string(kServerActiveError));
    fSocketFolder = value;
}

int TPipeServer::ClientCount() const {
    std::lock_guard lock(fState->mutex);
    return static_cast<int>(fState->clients.size());
}

uint32_t TPipeServer::Clients(int index) const {
    std::lock_guard lock(fState->mutex);
    if (index < 0 || index >= static_cast<int>(fState->clients.size())) return 0;
    return fState->clients[static_cast<size_t>(index)]->id;
}

bool TPipeServer::Write(uint32_t pipe, const void* buffer, size_t count) {
    if (count > kMaxServerMessage) return false;
    {
        std::lock_guard lock(fState->mutex);
        auto it = fState->clients.begin();
        while (it != fState->clients.end() && (*it)->id != pipe) ++it;
        if (it == fState->clients.end()) return false;
        (*it)->out.push_back(detail::FrameMessage(std::string_view(static_cast<const char*>(buffer), count)));
    }
    fState->wake.Signal();
    return true;
}

bool TPipeServer::Write(uint32_t pipe, TStream& stream) {
    std::string bytes = StreamBytes(stream);
    return Write(pipe, bytes.data(), bytes.size());
}

bool TPipeServer::Broadcast(const void* buffer, size_t count) {
    for (int i = ClientCount() - 1; i >= 0; --i)
        if (!Write(Clients(i), buffer, count)) return false;
    return true;
}

void TPipeServer::Activate() {
    State& s = *fState;
    uint64_t generation = ++s.generation;
    sockaddr_un addr;
    std::string path;
    int error = detail::PipeAddress(fSocketFolder, fPipeName, addr, path);
    int fd = -1;
    if (!error) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) error = errno;
    }
    if (!error) error = BindSocket(fd, addr, path);
    if (!error && ::listen(fd, 16) != 0) error = errno;
    struct stat st {};
    if (!error && ::stat(path.c_str(), &st) != 0) error = errno;
    if (error) {
        if (fd >= 0) ::close(fd);
        auto state = fState;
        Post(state, [error](TPipeServer& server) {
            if (server.OnPipeError) server.OnPipeError(&server, 0, pcListener, error);
        });
        return;
    }
    s.listenFd = fd;
    s.socketPath = path;
    s.socketDev = st.st_dev;
    s.socketIno = st.st_ino;
    s.stop = false;
    fActive = true;
    s.thread = std::thread(RunServer, fState, generation);
}

void TPipeServer::Deactivate() {
    if (!fActive) return;
    State& s = *fState;
    {
        std::lock_guard lock(s.mutex);
        s.stop = true;
    }
    s.wake.Signal();
    if (s.thread.joinable()) s.thread.join();
    std::lock_guard lock(s.mutex);
    for (auto& c : s.clients) ::close(c->fd);
    s.clients.clear();
    ::close(s.listenFd);
    s.listenFd = -1;
    // Remove the socket file only when it is still the one this server made.
    struct stat st;
    if (::lstat(s.socketPath.c_str(), &st) == 0 && st.st_dev == s.socketDev && st.st_ino == s.socketIno)
        ::unlink(s.socketPath.c_str());
    ++s.generation;
    fActive = false;
}

}  // namespace tv
