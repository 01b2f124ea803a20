// The process runner and the update check, with tiny updater scripts standing in for the updater.

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "core/check_update_thread.h"
#include "core/shell_helper.h"
#include "platform/win/process.h"
#include "tests/support/captured_log.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/recording_shell.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// A program folder holding an updater script with `body`.
std::string WithUpdater(const test::TempDir& dir, const std::string& body) {
    std::string path = dir.Write("prog/QuorvelUpdater", "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return dir.Path("prog");
}

// Runs the check and waits for its answer on the main thread.
std::optional<int> Check(const std::string& programFolder, int waitMs = kUpdateCheckWaitMs) {
    std::optional<int> answer;
    if (!TCheckUpdateThread::Start(
            programFolder, [&](int code) { answer = code; }, waitMs))
        return std::nullopt;
    test::PumpUntil([&] { return answer.has_value(); }, 20000);
    return answer;
}

struct AnswerCase {
    const char* rule;
    const char* body;
    int exitCode;
    bool available;
};
constexpr AnswerCase kAnswers[] = {
    {"exit 1: an update is available", "exit 1", 1, true},
    {"exit 0: the latest version is installed", "exit 0", 0, false},
    {"any other code: no update", "exit 2", 2, false},
};

TEST(UpdateCheck, TheUpdatersExitCodeDecides) {
    test::TempDir dir;
    for (const auto& c : kAnswers) {
        auto answer = Check(WithUpdater(dir, c.body));
        ASSERT_TRUE(answer.has_value()) << c.rule;
        EXPECT_EQ(*answer, c.exitCode) << c.rule;
        EXPECT_EQ(IsUpdateAvailable(*answer), c.available) << c.rule;
    }
}

TEST(UpdateCheck, TheUpdaterIsAskedInTheProgramFolderWithCheckversion) {
    test::TempDir dir;
    std::string folder = WithUpdater(dir, "pwd > asked; echo \"$@\" >> asked; exit 0");
    ASSERT_TRUE(Check(folder).has_value());
    EXPECT_EQ(dir.Read("prog/asked"), folder + "\ncheckversion\n");
}

TEST(UpdateCheck, WithoutTheUpdaterNoThreadStarts) {
    test::TempDir dir;
    bool called = false;
    EXPECT_FALSE(TCheckUpdateThread::Start(dir.Root(), [&](int) { called = true; }));
    test::PumpFor(100);
    EXPECT_FALSE(called);
}

TEST(UpdateCheck, AnUpdaterThatRunsTooLongReadsAsStillActiveAndKeepsRunning) {
    test::TempDir dir;
    std::string folder = WithUpdater(dir, "echo $$ > pid; exec sleep 30");
    auto answer = Check(folder, 300);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, STILL_ACTIVE);
    EXPECT_FALSE(IsUpdateAvailable(*answer)) << "so the notice says the latest version is installed";
    int pid = std::stoi(dir.Read("prog/pid"));
    EXPECT_EQ(::kill(pid, 0), 0) << "the updater is left running";
    ::kill(pid, SIGKILL);
}

TEST(ShellHelper, AProgramThatCannotStartRaisesTheLaunchTextAndLogsWhy) {
    test::CapturedLog log;
    test::TempDir dir;
    int exitCode = -7;
    try {
        TShellHelper::CreateAndWaitForProcess(dir.Path("missing"), 1000, "a b", "", exitCode, SW_HIDE);
        ADD_FAILURE() << "started";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Failed to launch event");
    }
    EXPECT_EQ(exitCode, -7);
    EXPECT_NE(log.Text().find("ERROR Failed to launch event"), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("Cannot start \"" + dir.Path("missing") + "\""), std::string::npos)
        << log.Text();
}

TEST(ShellHelper, ParametersAreSplitWithoutAShellAndTheFolderIsHonoured) {
    test::TempDir dir;
    std::string work = dir.MakeFolder("work");
    int exitCode = -1;
    TShellHelper::CreateAndWaitForProcess("sh", 5000,
                                          "-c 'printf \"%s|\" \"$0\" $PWD > out; exit 6' \"a;b $x\"", work,
                                          exitCode, SW_SHOWNORMAL);
    EXPECT_EQ(exitCode, 6);
    EXPECT_EQ(dir.Read("work/out"), "a;b $x|" + work + "|");
}

TEST(ShellHelper, OpenExplorerShowsTheFileThroughTheShellService) {
    test::RecordingShell shell;
    TShellHelper::OpenExplorer("/w/import/behandlade/a.xml");
    EXPECT_EQ(shell.shown, std::vector<std::string>{"/w/import/behandlade/a.xml"});
}

}  // namespace
}  // namespace tv
