// Child processes: argument splitting, exit codes, time-outs that leave the child running, working
// folders and programs that cannot be started.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "platform/win/process.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

struct SplitCase {
    const char* rule;
    const char* text;
    std::vector<std::string> args;
};
const SplitCase kSplitCases[] = {
    {"blanks and tabs separate", "checkversion  a\tb", {"checkversion", "a", "b"}},
    {"double quotes group", "\"/home/u/My Files\" x", {"/home/u/My Files", "x"}},
    {"single quotes group", "'a b'c", {"a bc"}},
    {"a backslash is an ordinary character",
     "/ftg C:\\Data export\\default_smart.pas",
     {"/ftg", "C:\\Data", "export\\default_smart.pas"}},
    {"an empty quoted argument is kept", "a \"\" b", {"a", "", "b"}},
    {"a quote inside the other kind is text", "\"it's\"", {"it's"}},
    {"nothing but blanks", "   ", {}},
    {"an unclosed quote runs to the end", "\"a b", {"a b"}},
};

TEST(Process, SplitCommandLineReadsQuotesWithoutAShell) {
    for (const auto& c : kSplitCases) EXPECT_EQ(SplitCommandLine(c.text), c.args) << c.rule;
}

std::string Script(const test::TempDir& dir, const std::string& name, const std::string& body) {
    std::string path = dir.Write(name, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

bool Alive(int pid) {
    return ::kill(pid, 0) == 0;
}

struct ExitCase {
    const char* rule;
    const char* body;
    int exitCode;
};
constexpr ExitCase kExitCases[] = {
    {"success", "exit 0", 0},
    {"the updater's answer for an update", "exit 1", 1},
    {"any code comes back", "exit 77", 77},
    {"a signal reads as 128 plus its number", "kill -TERM $$", 128 + SIGTERM},
    {"standard input is empty, never a terminal", "cat >/dev/null; exit 5", 5},
};

TEST(Process, WaitGivesTheExitCode) {
    test::TempDir dir;
    for (const auto& c : kExitCases) {
        auto child = TChildProcess::Start(Script(dir, "s.sh", c.body), {});
        EXPECT_EQ(child.Wait(10000), c.exitCode) << c.rule;
        EXPECT_TRUE(child.Ended()) << c.rule;
    }
}

TEST(Process, ArgumentsArriveAsGivenAndAProgramNameIsFoundOnThePath) {
    test::TempDir dir;
    auto child =
        TChildProcess::Start("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", dir.Path("args"), "a b", "C:\\x"});
    ASSERT_EQ(child.Wait(10000), 0);
    EXPECT_EQ(dir.Read("args"), "a b|C:\\x|");
}

TEST(Process, TheWorkingFolderIsHonouredAndARelativeProgramIsTakenFromTheCurrentFolder) {
    test::TempDir dir;
    std::string work = dir.MakeFolder("work");
    Script(dir, "bin/where.sh", "pwd > where.txt");
    std::string old = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    auto child = TChildProcess::Start("bin/where.sh", {}, work);
    std::filesystem::current_path(old);
    ASSERT_EQ(child.Wait(10000), 0);
    EXPECT_EQ(dir.Read("work/where.txt"), work + "\n");
}

TEST(Process, ATimeOutGivesStillActiveAndLeavesTheChildRunningUntilItIsReaped) {
    test::TempDir dir;
    std::string script = Script(dir, "sleeper.sh", "echo $$ > \"$1\"; exec sleep 30");
    int pid;
    {
        auto child = TChildProcess::Start(script, {dir.Path("pid")});
        pid = child.Pid();
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(child.Wait(200), STILL_ACTIVE);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_FALSE(child.Ended());
    }
    // The object is gone; the child is not.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(Alive(pid));
    ::kill(pid, SIGKILL);
    // Reaped in the background: no zombie stays behind (a zombie still answers kill(pid, 0)).
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Alive(pid) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(Alive(pid));
}

TEST(Process, AProgramThatCannotBeStartedRaisesWithTheReason) {
    test::TempDir dir;
    std::string notExecutable = dir.Write("plain.txt", "text");
    struct Case {
        const char* rule;
        std::string program;
        std::string folder;
    };
    const Case cases[] = {
        {"a missing file", dir.Path("missing"), ""},
        {"a file that is not a program", notExecutable, ""},
        {"a name not on the path", "tollvane-no-such-program", ""},
        {"a missing working folder", "sh", dir.Path("nowhere")},
        {"an empty name", "", ""},
    };
    for (const auto& c : cases) {
        try {
            TChildProcess::Start(c.program, {}, c.folder);
            ADD_FAILURE() << c.rule << ": started";
        } catch (const EProcessError& e) {
            EXPECT_EQ(std::string(e.Message).rfind("Cannot start \"" + c.program + "\". ", 0), 0u)
                << c.rule << ": " << e.Message;
        }
    }
}

}  // namespace
}  // namespace tv
