#include "platform/win/process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/files.h"

extern char** environ;

namespace tv {
namespace {

int OpenPidFd(int pid) {
#ifdef SYS_pidfd_open
    long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return static_cast<int>(fd);
    }
#endif
    return -1;
}

int DecodeStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return STILL_ACTIVE;
}

// Owns the spawn structures for the length of one start.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
};

[[noreturn]] void StartFailed(const std::string& program, int error) {
    throw EProcessError("Cannot start \"" + program + "\". " + SysErrorMessage(error));
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    char quote = 0;
    for (char c : text) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                current += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inArgument = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inArgument) args.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) args.push_back(std::move(current));
    return args;
}

TChildProcess TChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                                   const std::string& workingFolder) {
    if (program.empty()) StartFailed(program, ENOENT);
    // The child changes its folder before it loads the program, so a relative path is fixed first.
    std::string path = program;
    bool searchPath = program.find('/') == std::string::npos;
    if (!searchPath && program[0] != '/') path = IncludeTrailingPathDelimiter(GetCurrentDir()) + program;

    SpawnSetup s;
    int rc = 0;
    if (!workingFolder.empty()) rc = posix_spawn_file_actions_addchdir_np(&s.actions, workingFolder.c_str());
    if (rc == 0) rc = posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0);
    if (rc == 0) rc = posix_spawn_file_actions_addopen(&s.actions, 1, "/dev/null", O_WRONLY, 0);
    if (rc == 0) rc = posix_spawn_file_actions_addopen(&s.actions, 2, "/dev/null", O_WRONLY, 0);
    if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&s.actions, 3);
    sigset_t mask, defaults;
    sigemptyset(&mask);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM})
        sigaddset(&defaults, sig);
    if (rc == 0) rc = posix_spawnattr_setsigmask(&s.attr, &mask);
    if (rc == 0) rc = posix_spawnattr_setsigdefault(&s.attr, &defaults);
    if (rc == 0)
        rc = posix_spawnattr_setflags(&s.attr,
                                      POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (rc != 0) StartFailed(program, rc);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    rc = searchPath ? posix_spawnp(&pid, path.c_str(), &s.actions, &s.attr, argv.data(), environ)
                    : posix_spawn(&pid, path.c_str(), &s.actions, &s.attr, argv.data(), environ);
    if (rc != 0) StartFailed(program, rc);
    return TChildProcess(pid);
}

TChildProcess::TChildProcess(int pid) : pid_(pid), pidfd_(OpenPidFd(pid)) {}

TChildProcess::TChildProcess(TChildProcess&& other) noexcept
    : pid_(other.pid_), pidfd_(other.pidfd_), ended_(other.ended_), exitCode_(other.exitCode_) {
    other.pid_ = -1;
    other.pidfd_ = -1;
}

TChildProcess& TChildProcess::operator=(TChildProcess&& other) noexcept {
    if (this != &other) {
        Release();
        pid_ = other.pid_;
        pidfd_ = other.pidfd_;
        ended_ = other.ended_;
        exitCode_ = other.exitCode_;
        other.pid_ = -1;
        other.pidfd_ = -1;
    }
    return *this;
}

TChildProcess::~TChildProcess() {
    Release();
}

void TChildProcess::Release() {
    if (pid_ > 0 && !ended_) {
        // Still running: someone has to collect its exit status when it ends.
        int pid = pid_;
        int pidfd = pidfd_;
        std::thread([pid, pidfd] {
            int status;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            if (pidfd >= 0) ::close(pidfd);
        }).detach();
    } else if (pidfd_ >= 0) {
        ::close(pidfd_);
    }
    pid_ = -1;
    pidfd_ = -1;
}

int TChildProcess::Wait(int timeoutMs) {
    if (ended_ || pid_ <= 0) return exitCode_;
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    auto remaining = [&] {
        if (timeoutMs < 0) return -1;
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return ms > 0 ? static_cast<int>(ms) : 0;
    };
    for (;;) {
        int status = 0;
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            ended_ = true;
            exitCode_ = DecodeStatus(status);
            return exitCode_;
        }
        if (r < 0 && errno != EINTR)
            throw EProcessError("Cannot read the exit code of process " + std::to_string(pid_) + ". " +
                                SysErrorMessage(errno));
        int left = remaining();
        if (left == 0) return STILL_ACTIVE;
        if (pidfd_ >= 0) {
            pollfd p{pidfd_, POLLIN, 0};
            ::poll(&p, 1, left);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(left < 0 || left > 10 ? 10 : left));
        }
    }
}

}  // namespace tv
