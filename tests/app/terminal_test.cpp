// The program on a terminal: the usage text asked for with "--help" or "/?" (no display, no
// logging), and the error lines a job logs shown on standard error when that is a terminal.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

struct TRunOutput {
    int Status = -1;  // the exit status; -1 when the program did not end by itself
    std::string Out;
    std::string Err;
};

class TerminalTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path("prog/tables"));
        fs::copy_file(TV_TOLLVANE_STUB, dir.Path("prog/tollvane"));
        fs::copy_file(TV_OOI_TABLE, dir.Path("prog/tables/ooi.table"));
        fs::copy_file(std::string(TV_SOURCE_DIR) + "/data/log4d.props", dir.Path("prog/log4d.props"));
        dir.MakeFolder("start");
    }
    std::string Root(const std::string& relative = "") const {
        return dir.Path("common/Brismark/Tollvane/default/") + relative;
    }

    // Runs the program without a display, standard output on a pipe and standard error on a pipe
    // or, with `errorOnTerminal`, on a pseudo-terminal; collects both until it ends.
    TRunOutput Run(const std::vector<std::string>& args, bool errorOnTerminal) {
        test::ScopedEnv common("TOLLVANE_COMMON_APPDATA", dir.Path("common").c_str());
        test::ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
        test::ScopedEnv display("DISPLAY", nullptr);
        test::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
        TRunOutput result;
        int out[2], err[2];
        if (::pipe(out) != 0) return result;
        if (errorOnTerminal) {
            err[0] = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (err[0] < 0 || ::grantpt(err[0]) != 0 || ::unlockpt(err[0]) != 0) return result;
            err[1] = ::open(::ptsname(err[0]), O_RDWR | O_NOCTTY);
        } else if (::pipe(err) != 0) {
            return result;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        const std::string start = dir.Path("start");
        posix_spawn_file_actions_addchdir_np(&actions, start.c_str());
        const std::string program = dir.Path("prog/tollvane");
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        if (rc == 0) {
            // Read both until each is closed (a terminal's end reads as an error), 60 s at most.
            pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
            std::string* into[2] = {&result.Out, &result.Err};
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while ((fds[0].fd >= 0 || fds[1].fd >= 0) && std::chrono::steady_clock::now() < until) {
                if (::poll(fds, 2, 1000) <= 0) continue;
                for (int i = 0; i < 2; ++i) {
                    if (fds[i].fd < 0 || !fds[i].revents) continue;
                    char buffer[4096];
                    const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                    if (n > 0) into[i]->append(buffer, size_t(n));
                    else fds[i].fd = -1;
                }
            }
            int status = 0;
            if (fds[0].fd >= 0 || fds[1].fd >= 0) ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            if (WIFEXITED(status) && fds[0].fd < 0 && fds[1].fd < 0) result.Status = WEXITSTATUS(status);
        }
        ::close(out[0]);
        ::close(err[0]);
        return result;
    }

    test::TempDir dir;
};

TEST_F(TerminalTest, HelpPrintsTheSwitchesAndTheFoldersWithoutADisplayOrALog) {
    for (const char* ask : {"--help", "/?"}) {
        TRunOutput run = Run({ask}, false);
        EXPECT_EQ(run.Status, 0) << ask;
        for (const char* text : {"/import", "/export", "/runscript FIL", "/nevershutdown", "/setup",
                                 "/workfolder MAPP", "/appinstance NAMN"})
            EXPECT_NE(run.Out.find(text), std::string::npos) << ask << ": " << text << "\n" << run.Out;
        EXPECT_NE(run.Out.find("Inställningar    " + Root("tollvane.ini")), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find("Logg             " + Root("logs/log.txt")), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find(Root("import/") + " och " + Root("export/")), std::string::npos) << run.Out;
        EXPECT_EQ(run.Err, "") << ask;
    }
    EXPECT_FALSE(fs::exists(dir.Path("common"))) << "asking for help writes nothing";

    // Another instance, a work folder of its own and a forced work root in its settings.
    const std::string other = dir.Path("other/");
    dir.Write("other/tollvane.ini", "[general]\r\nFORCED_WORKFOLDER=/srv/arbete\r\n");
    TRunOutput run = Run({"/workfolder", dir.Path("other"), "/appinstance", "norr", "--help"}, false);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("Mappar för instansen \"norr\""), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Inställningar    " + other + "tollvane.ini"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("/srv/arbete/import/ och /srv/arbete/export/"), std::string::npos) << run.Out;
}

TEST_F(TerminalTest, AFailedJobShowsItsErrorLineOnATerminalOnly) {
    dir.Write("common/Brismark/Tollvane/default/scripts/export/default_export.pas",
              "GFXSetFileName a.xml\nfail Exception: Kunde inte\n");

    TRunOutput onTerminal = Run({"/export"}, true);
    EXPECT_EQ(onTerminal.Status, 1);
    EXPECT_NE(onTerminal.Err.find("ERROR Exception: Kunde inte"), std::string::npos) << onTerminal.Err;
    EXPECT_EQ(onTerminal.Err.find("INFO"), std::string::npos) << "only the error lines: " << onTerminal.Err;

    TRunOutput onPipe = Run({"/export"}, false);
    EXPECT_EQ(onPipe.Status, 1);
    EXPECT_EQ(onPipe.Err.find("Kunde inte"), std::string::npos) << "the log alone holds it: " << onPipe.Err;
}

}  // namespace
}  // namespace tv
