#pragma once
// Child processes, started without a shell: a program with its arguments, in a working folder,
// with standard input and output on /dev/null and no other inherited handle, in a session of its
// own so that it keeps running past a wait's time-out and past our own exit. A child nobody waits
// for to its end is reaped in the background, so no zombie remains.

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EProcessError, Exception);  // a program that cannot be started

// The exit code read from a process that has not ended yet.
inline constexpr int STILL_ACTIVE = 259;
// Wait without a time-out.
inline constexpr int INFINITE = -1;
// Show modes a caller may name; windows are the started program's own business here.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMAXIMIZED = 3;

// Splits a parameter text into arguments as a command line is read: blanks and tabs separate,
// double or single quotes group (the quotes themselves are dropped), and a backslash is an ordinary
// character, so Windows paths stay as written. No shell sees the text.
std::vector<std::string> SplitCommandLine(std::string_view text);

class TChildProcess {
public:
    // Starts `program` (looked up on PATH when it holds no "/"; a relative path is taken against
    // the current folder) with `args`, in `workingFolder` (the current folder when empty). Raises
    // EProcessError with the system's reason when it cannot be started.
    static TChildProcess Start(const std::string& program, const std::vector<std::string>& args,
                               const std::string& workingFolder = {});

    TChildProcess(TChildProcess&& other) noexcept;
    TChildProcess& operator=(TChildProcess&& other) noexcept;
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;
    // A child still running is left running and reaped when it ends.
    ~TChildProcess();

    int Pid() const { return pid_; }
    // Waits at most `timeoutMs` (INFINITE: no limit) for the child to end. Returns its exit code,
    // 128 plus the signal number when a signal ended it, or STILL_ACTIVE when it still runs.
    int Wait(int timeoutMs);
    bool Ended() const { return ended_; }

private:
    explicit TChildProcess(int pid);
    void Release();

    int pid_ = -1;
    int pidfd_ = -1;
    bool ended_ = false;
    int exitCode_ = STILL_ACTIVE;
};

}  // namespace tv
