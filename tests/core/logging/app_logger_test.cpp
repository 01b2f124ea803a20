// The application logger: levels, the instance copy of "log4d.props" and where the lines land.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <vector>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/app_params.h"
#include "core/settings_root.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "tests/support/captured_log.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// True when `text` has the shape of `pattern`, in which '#' stands for any digit.
bool HasShape(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (pattern[i] == '#' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != pattern[i])
            return false;
    return true;
}

TEST(AppLogger, EachOperationLogsAtItsLevelWithItsText) {
    test::CapturedLog log;
    TAppLogger& l = AppLogger();
    const EConvertError e("bad");
    l.LogDebug("d");
    l.LogDebug("d", e);
    l.LogExcessive("x");
    l.LogResource("r");
    l.LogInfo("i");
    l.LogWarn("w", e);
    l.LogError("e");
    l.LogError("Fel uppstod vid script: ", e);  // a text that leads into the exception itself
    l.LogFatal("Failed", e);
    l.LogTrace("Proc", "t");
    l.LogProcedureEntry("Proc");
    l.LogProcedureExit("Proc");
    l.LogProcedureMessage("Proc", "m");
    l.LogProcedureException("Proc", e);
    l.LogProcedureException("Proc", "m", e);
    l.LogProcedureInformation("n", e);
    l.LogStartMessage("Tollvane");
    const std::string dashes(52, '-');
    EXPECT_EQ(log.Text(),
              "DEBUG d\n"
              "DEBUG d: EConvertError: bad\n"
              "DEBUG x\n"
              "DEBUG r\n"
              "INFO i\n"
              "WARN w: EConvertError: bad\n"
              "ERROR e\n"
              "ERROR Fel uppstod vid script: EConvertError: bad\n"
              "FATAL Failed: EConvertError: bad\n"
              "TRACE [Proc]::t\n"
              "DEBUG [Proc]::Entering\n"
              "DEBUG [Proc]::Exiting\n"
              "DEBUG [Proc]::m\n"
              "ERROR Proc: EConvertError: bad\n"
              "ERROR Proc::m: EConvertError: bad\n"
              "INFO n: EConvertError: bad\n"
              "INFO " +
                  dashes + "\n" + "INFO Startar Tollvane \n" + "INFO " + dashes + "\n");
}

const std::string kProgramProps =
    "# beside the program\r\n"
    "log4d.rootLogger=INFO,Fil1\r\n"
    "log4d.appender.Fil1=TLogFileAppender\r\n"
    "  log4d.appender.Fil1.fileName=not/rewritten.txt\r\n"
    "log4d.appender.Fil1.fileName=log.txt\r\n"
    "log4d.appender.Fil1.layout=TLogPatternLayout\r\n"
    "log4d.appender.Fil1.layout.pattern=%p %m%n\r\n";

// Two processes of one instance log into one rolling file: a file is rotated only once it is full,
// whichever process's line filled it, and no line is lost.
TEST(AppLogger, TwoProcessesRotateTheSharedLogTogether) {
    test::TempDir dir;
    constexpr int kLines = 4000;                    // per process
    constexpr int64_t kMaxFileSize = 200 * 1024;    // the smallest size the library rotates at
    const std::string log = dir.Path("logs/log.txt");
    const std::string config = dir.Write("log4d.props",
                                         "log4d.rootLogger=INFO,Fil1\n"
                                         "log4d.appender.Fil1=TLogRollingFileAppender\n"
                                         "log4d.appender.Fil1.fileName=" + log + "\n"
                                         "log4d.appender.Fil1.maxFileSize=200KB\n"
                                         "log4d.appender.Fil1.maxBackupIndex=100\n"
                                         "log4d.appender.Fil1.layout=TLogPatternLayout\n"
                                         "log4d.appender.Fil1.layout.pattern=%m%n\n");
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (char who : {'a', 'b'}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(go[1]);
            char c;
            if (::read(go[0], &c, 1) < 0) ::_exit(2);  // the end of the pipe is the signal
            TAppLogger logger(config);
            const std::string filler(150, who);
            for (int i = 0; i < kLines; ++i) logger.LogInfo(std::string(1, who) + std::to_string(i) + " " + filler);
            ::_exit(0);
        }
        children.push_back(pid);
    }
    ::close(go[0]);
    ::close(go[1]);  // both start at once
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int lines = 0;
    for (int i = 0;; ++i) {
        const std::string file = i == 0 ? log : log + "." + std::to_string(i);
        if (!FileExists(file)) break;
        if (i > 0) EXPECT_GE(FileSize(file), kMaxFileSize) << file << " was rotated before it was full";
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            EXPECT_EQ(line.size(), line.find(' ') + 151) << "a broken line in " << file;
            ++lines;
        }
    }
    EXPECT_EQ(lines, 2 * kLines);
}

TEST(AppLogger, AdjustingRewritesOnlyTheExactFil1Line) {
    test::TempDir dir;
    std::string source = dir.Write("a.props", kProgramProps);
    TAppLogger::AdjustLogfileEntries(source, dir.Path("b.props"), "/root/logs/log.txt");
    std::string expected = kProgramProps;
    expected.replace(expected.find("log4d.appender.Fil1.fileName=log.txt"), 36,
                     "log4d.appender.Fil1.fileName=/root/logs/log.txt");
    EXPECT_EQ(dir.Read("b.props"), expected);
    EXPECT_EQ(dir.Read("a.props"), kProgramProps);

    std::string without = dir.Write("c.props", "log4d.rootLogger=INFO\nlog4d.appender.Fil2.fileName=x\n");
    TAppLogger::AdjustLogfileEntries(without, dir.Path("d.props"), "/root/logs/log.txt");
    EXPECT_EQ(dir.Read("d.props"), dir.Read("c.props"));
}

class LoggingFolders : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFileName(dir.Path("prog/tollvane"));
        SetAppCompanyName(kAppCompanyName);
        SetAppProductName(kAppProductName);
        SetAppParams({"/appinstance", "north"});
        UpdateApplicationInstance();
    }
    void TearDown() override {
        SetAppLogger(nullptr);
        SetProgramFileName({});
        SetAppParams({});
        SetAppInstanceName("");
    }
    std::string Root() const { return dir.Path("common/Brismark/Tollvane/north/"); }

    test::TempDir dir;
    test::ScopedEnv common{"TOLLVANE_COMMON_APPDATA", dir.MakeFolder("common").c_str()};
};

// The shipped configuration: its relative file name goes to the product folder, the instance
// copy sends the lines to <root>/logs/log.txt in the shipped pattern.
TEST_F(LoggingFolders, TheShippedConfigurationLogsIntoTheRootsLogsFolder) {
    std::ifstream shipped(std::string(TV_SOURCE_DIR) + "/data/log4d.props", std::ios::binary);
    ASSERT_TRUE(shipped);
    dir.Write("prog/log4d.props", std::string(std::istreambuf_iterator<char>(shipped), {}));

    CreateStartupLogger();
    EXPECT_TRUE(AppLogger().ConfigurationWarnings().empty());
    AppLogger().LogInfo("before the instance");
    EXPECT_NE(dir.Read("common/Brismark/Tollvane/log.txt").find("before the instance"), std::string::npos);

    UpdateLogInstance();
    EXPECT_TRUE(FileExists(Root() + "log4d.props"));
    EXPECT_NE(dir.Read("common/Brismark/Tollvane/north/log4d.props")
                  .find("log4d.appender.Fil1.fileName=" + Root() + "logs/log.txt\n"),
              std::string::npos);
    AppLogger().LogInfo("Laddar script[x]");
    AppLogger().LogDebug("not at info level");
    std::string text = dir.Read("common/Brismark/Tollvane/north/logs/log.txt");
    EXPECT_TRUE(HasShape(text, "####-##-## ##:##:##.### INFO  Laddar script[x]\n")) << text;
}

TEST_F(LoggingFolders, AnExistingInstanceCopyIsUsedUnchanged) {
    dir.Write("prog/log4d.props", kProgramProps);
    std::string own =
        "log4d.rootLogger=INFO,Fil1\n"
        "log4d.appender.Fil1=TLogFileAppender\n"
        "log4d.appender.Fil1.fileName=" +
        dir.Path("own.txt") +
        "\n"
        "log4d.appender.Fil1.layout=TLogPatternLayout\n"
        "log4d.appender.Fil1.layout.pattern=own %m%n\n";
    dir.Write("common/Brismark/Tollvane/north/log4d.props", own);
    UpdateLogInstance();
    AppLogger().LogInfo("x");
    EXPECT_EQ(dir.Read("common/Brismark/Tollvane/north/log4d.props"), own);
    EXPECT_EQ(dir.Read("own.txt"), "own x\n");
    EXPECT_FALSE(dir.Exists("common/Brismark/Tollvane/north/logs"));
}

TEST_F(LoggingFolders, AMissingConfigurationIsLoggedAndTheLoggerInUseStays) {
    test::CapturedLog log;
    UpdateLogInstance();  // nothing beside the program to copy
    EXPECT_EQ(log.Text().rfind("ERROR Failed to create logger: ", 0), 0u) << log.Text();
    EXPECT_FALSE(dir.Exists("common/Brismark/Tollvane/north/log4d.props"));
}

}  // namespace
}  // namespace tv
