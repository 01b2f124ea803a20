// The program as a process: the provisioning run, command-line jobs that end the program by
// themselves with the right exit status, and a job that connects to a company.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win/process.h"
#include "tests/adk/adk_test_support.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An installation of our own: the program under its real name, its tables and log set-up.
        fs::create_directories(dir.Path("prog/tables"));
        fs::copy_file(TV_TOLLVANE_STUB, Program());
        fs::copy_file(TV_OOI_TABLE, dir.Path("prog/tables/ooi.table"));
        fs::copy_file(std::string(TV_SOURCE_DIR) + "/data/log4d.props", dir.Path("prog/log4d.props"));
        dir.MakeFolder("start");
    }
    std::string Program() const { return dir.Path("prog/tollvane"); }
    std::string Root(const std::string& relative = "") const {
        return dir.Path("common/Brismark/Tollvane/default/") + relative;
    }
    std::string Log() const { return fs::exists(Root("logs/log.txt")) ? dir.Read(Root("logs/log.txt")) : ""; }
    void WriteScript(const std::string& relative, const std::string& lines) const {
        fs::create_directories(fs::path(Root("scripts/" + relative)).parent_path());
        std::ofstream(Root("scripts/" + relative)) << lines;
    }

    // Runs the program in the start folder; its exit status, or -1 when it did not end by itself.
    int Run(const std::vector<std::string>& args) {
        test::ScopedEnv common("TOLLVANE_COMMON_APPDATA", dir.Path("common").c_str());
        auto child = TChildProcess::Start(Program(), args, dir.Path("start"));
        int code = child.Wait(60000);
        if (!child.Ended()) {
            ::kill(child.Pid(), SIGKILL);
            return -1;
        }
        return code;
    }

    // Runs the program with its standard output and error on a pipe that nobody reads any more;
    // its exit status, or 128 + the signal that ended it.
    int RunWithClosedOutput(const std::vector<std::string>& args) {
        test::ScopedEnv common("TOLLVANE_COMMON_APPDATA", dir.Path("common").c_str());
        int fds[2];
        if (::pipe(fds) != 0) return -1;
        ::close(fds[0]);
        posix_spawn_file_actions_t actions;
        posix_spawnattr_t attr;
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        const std::string start = dir.Path("start");
        posix_spawn_file_actions_addchdir_np(&actions, start.c_str());
        sigset_t defaults;  // the program starts with the signal's default action, whatever ours is
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
        const std::string program = Program();
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = -1;
        int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        ::close(fds[1]);
        if (rc != 0) return -1;
        int status = 0;
        for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; waited += 50) {
            if (waited > 60000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    test::TempDir dir;
};

TEST_F(AppTest, TheProvisioningRunOfAFirstStartWritesTheSettingsAndShowsNoWindow) {
    EXPECT_EQ(Run({"-SETUP"}), 0);
    std::string ini = dir.Read(Root("tollvane.ini"));
    EXPECT_NE(ini.find("[general]"), std::string::npos);
    EXPECT_NE(ini.find("[importagreements]"), std::string::npos);
    EXPECT_EQ(ini.find("[identities]"), std::string::npos) << "the running numbers are written alone";
    for (const char* folder : {"import/obehandlade", "import/felaktiga", "export/skickas", "export/skickat"})
        EXPECT_TRUE(fs::is_directory(Root(folder))) << folder;
    std::string log = Log();
    EXPECT_NE(log.find("INFO  Setup initialized"), std::string::npos) << log;
    EXPECT_EQ(log.find(" End"), std::string::npos) << "a provisioning run does not log End";
}

TEST_F(AppTest, SetupIniInTheStartFolderIsMergedAndDeleted) {
    dir.Write("start/setup.ini", "[General]\r\nVismaPath=/srv/ftg/demo\r\nIntegrationUsername=kalle\r\n");
    EXPECT_EQ(Run({"/setup", "/import"}), 0) << "only the provisioning run happens";
    EXPECT_FALSE(dir.Exists("start/setup.ini"));
    std::string ini = dir.Read(Root("tollvane.ini"));
    EXPECT_NE(ini.find("SPCSPathSRC=/srv/ftg/demo"), std::string::npos) << ini;
    EXPECT_NE(ini.find("CompanyUsername=kalle"), std::string::npos) << ini;
    EXPECT_EQ(Log().find("Avslutad"), std::string::npos);
}

TEST_F(AppTest, AProvisioningRunThatCannotSaveEndsWithStatus1AndKeepsSetupIni) {
    // The settings file cannot be written (a folder has its name): the run fails, says so without
    // the password, and keeps "setup.ini" so that nothing it held is lost.
    dir.Write("start/setup.ini", "[General]\r\nIntegrationPassword=hemligt\r\n");
    std::filesystem::create_directories(Root("tollvane.ini"));
    EXPECT_EQ(Run({"/setup"}), 1);
    EXPECT_TRUE(dir.Exists("start/setup.ini"));
    std::string log = Log();
    EXPECT_NE(log.find("ERROR Failed to perform setup: "), std::string::npos) << log;
    EXPECT_EQ(log.find("hemligt"), std::string::npos) << log;
}

TEST_F(AppTest, APasswordWindows1252CannotHoldIsSavedInAUtf8SettingsFile) {
    dir.Write("start/setup.ini", "[General]\r\nIntegrationPassword=hemligt\xC5\x82\r\n");
    EXPECT_EQ(Run({"/setup"}), 0);
    EXPECT_FALSE(dir.Exists("start/setup.ini"));
    const std::string ini = dir.Read(Root("tollvane.ini"));
    EXPECT_TRUE(ini.starts_with("\xEF\xBB\xBF")) << ini.substr(0, 10);
    EXPECT_NE(ini.find("CompanyPassword=hemligt\xC5\x82"), std::string::npos);
    std::string log = Log();
    EXPECT_NE(log.find("WARN  "), std::string::npos) << log;
    EXPECT_EQ(log.find("hemligt"), std::string::npos) << log;
}

TEST_F(AppTest, AnInstanceThatIsNoFolderNameEndsTheStartWithStatus1) {
    EXPECT_EQ(Run({"/profile", "../../elsewhere", "/setup"}), 1);
    EXPECT_FALSE(dir.Exists("elsewhere"));
    EXPECT_FALSE(dir.Exists("common/elsewhere"));
    std::string log = dir.Read(dir.Path("common/Brismark/Tollvane/log.txt"));
    EXPECT_NE(log.find("FATAL Failed: Exception: Ogiltigt instansnamn [../../elsewhere]"), std::string::npos)
        << log;
}

TEST_F(AppTest, AFailedStartIsReportedByItsStatusEvenWhenNobodyReadsItsOutput) {
    // "Failed" goes to standard error too; a reader that went away must not end the program by a
    // signal instead of its status.
    dir.Write("afile", "x");
    EXPECT_EQ(RunWithClosedOutput({"/workfolder", dir.Path("afile"), "/setup"}), 1);
}

TEST_F(AppTest, WithoutADisplayTheProgramNeverWaitsOnItsWindow) {
    test::ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    test::ScopedEnv display("DISPLAY", nullptr);
    test::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    std::string updater =
        dir.Write("prog/QuorvelUpdater", "#!/bin/sh\necho asked > \"" + dir.Path("asked") + "\"\n");
    ::chmod(updater.c_str(), 0755);

    // No command at all (or one the program does not know): nothing ran, status 1.
    EXPECT_EQ(Run({"/imprt"}), 1);
    EXPECT_NE(Log().find("WARN  Ingen skärm att visa fönstret på; programmet avslutas"), std::string::npos)
        << Log();
    EXPECT_NE(Log().find("INFO  End"), std::string::npos) << Log();

    // A job that was to leave the window open ends the program with its own status.
    fs::remove_all(Root("logs"));
    WriteScript("import/default_import.pas", "GFXSetFileName kunder.xml\nFinalizeImport\n");
    EXPECT_EQ(Run({"/import", "/nevershutdown"}), 0);
    EXPECT_NE(Log().find("INFO  Avslutad"), std::string::npos) << Log();
    WriteScript("import/default_import.pas", "fail Exception: Kunde inte\n");
    EXPECT_EQ(Run({"/import", "/nevershutdown"}), 1);

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(dir.Exists("asked")) << "nobody would see the updater's answer";
}

struct JobCase {
    const char* rule;
    std::vector<std::string> args;
    const char* script;  // written as scripts/import/default_import.pas
    int status;
    std::vector<std::string> logged;
};

TEST_F(AppTest, ACommandLineJobEndsTheProgramWithItsStatus) {
    const JobCase cases[] = {
        {"an import that runs to its end",
         {"/import"},
         "GFXSetFileName kunder.xml\nreport 4 Kund 10001\nFinalizeImport\n",
         0,
         {"INFO  kunder.xml", "INFO  Avslutad", "INFO  End"}},
        {"a script that does not compile: every message, status 1",
         {"/import"},
         "compile-error [Error] (3:5): Unknown identifier 'Foo'\ncompile-error [Error] (9:1): 'BEGIN' "
         "expected\n",
         1,
         {"ERROR [Error] (3:5): Unknown identifier 'Foo'", "ERROR [Error] (9:1): 'BEGIN' expected",
          "INFO  End"}},
        {"a script that fails in execution",
         {"/import"},
         "GFXSetFileName a.xml\nfail Exception: Kunde inte\n",
         1,
         {"ERROR Exception: Kunde inte"}},
        {"a job-API call that raises",
         {"/import"},
         "raise Sökvägen till SPCS är felaktig\n",
         1,
         {"ERROR Exception: Sökvägen till SPCS är felaktig"}},
        {"an empty /runscript runs nothing, says so and closes with status 1",
         {"/runscript"},
         "fail should not run\n",
         1,
         {"ERROR /runscript names no script to run", "INFO  End"}},
        {"an unknown switch is named in the log",
         {"/import", "/frobnicate"},
         "FinalizeImport\n",
         0,
         {"WARN  Unknown switch ignored: /frobnicate", "INFO  End"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(Root("logs"));
        WriteScript("import/default_import.pas", c.script);
        EXPECT_EQ(Run(c.args), c.status) << c.rule;
        std::string log = Log();
        for (const auto& line : c.logged)
            EXPECT_NE(log.find(line), std::string::npos) << c.rule << ": " << line << "\n" << log;
    }
}

TEST_F(AppTest, AJobThatClosesTheProgramDoesNotStartTheUpdaterOnItsWayOut) {
    std::string updater =
        dir.Write("prog/QuorvelUpdater", "#!/bin/sh\necho asked > \"" + dir.Path("asked") + "\"\n");
    ::chmod(updater.c_str(), 0755);
    WriteScript("import/default_import.pas", "FinalizeImport\n");
    EXPECT_EQ(Run({"/import"}), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(dir.Exists("asked"));
}

TEST_F(AppTest, ARunscriptPathIsTakenFromTheScriptFolderOrAsWritten) {
    WriteScript("export/default_smart.pas", "GFXSetFileName smart\nFinalizeImport\n");
    EXPECT_EQ(Run({"/ftg", "/srv/ftg", "/register", "12", "/id", "K-1001", "/runscript",
                   "export\\default_smart.pas"}),
              0);
    EXPECT_NE(Log().find("INFO  smart"), std::string::npos) << Log();

    fs::remove_all(Root("logs"));
    std::string elsewhere = dir.Write("jobs/x.pas", "GFXSetFileName elsewhere\n");
    EXPECT_EQ(Run({"/runscript", elsewhere}), 0);
    EXPECT_NE(Log().find("INFO  elsewhere"), std::string::npos) << Log();
}

TEST_F(AppTest, AnImportConnectsToTheCompanyAndClosesItAgain) {
    std::ifstream demoFile(std::string(TV_FIXTURES_DIR) + "/kit/demo_company.sql");
    std::string demo((std::istreambuf_iterator<char>(demoFile)), std::istreambuf_iterator<char>());
    dir.MakeFolder("ftg");
    std::string company = dir.Path("ftg/demo");
    test::MakeCompany(dir, company, demo);
    dir.Write("prog/Adk.ini", "[Adk]\r\nPath=" + test::FolderOf(TV_KIT) + "\r\n");
    dir.Write("start/setup.ini", "[General]\r\nVismaPath=" + company + "\r\n");
    ASSERT_EQ(Run({"/setup"}), 0);

    WriteScript("import/default_import.pas", "InitiateImport\nGFXSetFileName kunder.xml\nFinalizeImport\n");
    EXPECT_EQ(Run({"/import"}), 0) << Log();
    std::string log = Log();
    EXPECT_NE(log.find("INFO  Start "), std::string::npos) << log;
    EXPECT_NE(log.find("INFO  Avslutad"), std::string::npos) << log;
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
}

// A job runs a rule of the stored rule tables through the plug-in host the program makes at start:
// its put step delivers what waits in "skickas"; a rule that does not exist fails the job.
TEST_F(AppTest, AJobRunsAStoredRuleThroughThePluginHost) {
    const std::string root = "common/Brismark/Tollvane/default/";
    dir.Write(root + "data/rules.txt", "Skicka;;0;\r\n");
    dir.Write(root + "data/ruleitems.txt", "Skicka;1;;put;plugin_put_folder;1\r\n");
    fs::create_directories(Root("plugins"));
    fs::copy_file(TV_PUT_FOLDER_PLUGIN, Root("plugins/plugin_put_folder.so"));
    dir.Write(root + "rules/Skicka/1/plugin_put_folder.ini",
              "[settings]\r\nTargetFolder=" + dir.Path("target") + "\r\n");
    dir.Write(root + "export/skickas/a.xml", "a");
    WriteScript("rule.pas", "RunRule skicka\n");
    EXPECT_EQ(Run({"/runscript", "rule.pas"}), 0) << Log();
    EXPECT_EQ(dir.Read(dir.Path("target/a.xml")), "a");
    EXPECT_EQ(dir.Read(Root("export/skickat/a.xml")), "a");

    WriteScript("missing.pas", "RunRule Saknas\n");
    EXPECT_EQ(Run({"/runscript", "missing.pas"}), 1);
    EXPECT_NE(Log().find("Kunde inte hitta efterfrågad regel 'Saknas'"), std::string::npos) << Log();
}

}  // namespace
}  // namespace tv
