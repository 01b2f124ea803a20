// The job commands: which script a command runs and whether the program closes, what a failing
// compile or run leaves in the log and on screen, the connection steps of a job, and commands that
// arrive while a job runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/event_tree.h"
#include "core/job_guard.h"
#include "tests/core/job_runner/job_fakes.h"
#include "tests/support/captured_log.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

class JobRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dm.scriptFolder = dir.MakeFolder("scripts");
        dir.Write("scripts/mine.pas", "begin end.");
        dir.Write("scripts/export/default_smart.pas", "begin end.");
    }
    std::string Script(const std::string& name) { return dm.scriptFolder + "/" + name; }
    std::vector<std::string> Lines(const TEventTree& t) {
        std::vector<std::string> out;
        std::function<void(const std::vector<std::unique_ptr<TEventNode>>&, int)> walk =
            [&](const auto& nodes, int d) {
                for (const auto& n : nodes) {
                    out.push_back(std::string(2 * d, ' ') + "[" + std::to_string(n->State) + "] " + n->Text);
                    walk(n->Children, d + 1);
                }
            };
        walk(t.Items(), 0);
        return out;
    }

    test::TempDir dir;
    test::FakeJobDataModule dm;
    test::FakeJobWindow window;
    TEventTree events{[] {}};
    test::FakeScript script;
    test::FakeDialogs dialogs;
    TJobRunner runner{dm, window, events, [this] { return std::make_unique<test::FakeScriptHost>(script); },
                      &dialogs};
};

struct ChoiceCase {
    const char* rule;
    const char* command;
    const char* script;  // relative to the script folder when it begins with "@"
    bool close;
};
constexpr ChoiceCase kChoices[] = {
    {"/import runs the import script", "/import", "@import/default_import.pas", true},
    {"/export runs the export script", "/export", "@export/default_export.pas", true},
    {"import and export together: the later test, import, wins", "/export /import",
     "@import/default_import.pas", true},
    {"a script of the script folder", "/runscript mine.pas", "@mine.pas", true},
    {"the menu's script, its backslash made a slash", "/runscript export\\default_smart.pas",
     "@export/default_smart.pas", true},
    {"a script elsewhere is taken as written", "/runscript /srv/jobs/x.pas", "/srv/jobs/x.pas", true},
    {"an empty /runscript runs nothing and still closes", "/runscript", "", true},
    {"/nevershutdown alone stays open", "/nevershutdown", "", false},
    {"the integration-menu switches alone run nothing", "/ftg /home/f /register 3 /id K-1", "", false},
    {"/nevershutdown keeps the program open after the job", "/import /nevershutdown",
     "@import/default_import.pas", false},
};

TEST_F(JobRunnerTest, TheCommandChoosesTheScriptAndWhetherTheProgramCloses) {
    for (const auto& c : kChoices) {
        auto choice = runner.ChooseScript(TXmlCommandHelper(c.command));
        std::string expected = c.script[0] == '@' ? Script(c.script + 1) : c.script;
        EXPECT_EQ(choice.Script, expected) << c.rule;
        EXPECT_EQ(choice.CloseAfterwards, c.close) << c.rule;
    }
}

TEST_F(JobRunnerTest, HandleCommandKeepsTheCommandRunsTheScriptAndCloses) {
    test::CapturedLog log;
    runner.HandleCommand(TXmlCommandHelper("/ftg /f /register 12 /id K-1001 /import"));
    ASSERT_TRUE(dm.lastCommand);
    EXPECT_EQ(dm.lastCommand->UniqueID(), "K-1001");
    EXPECT_EQ(script.calls, (std::vector<std::string>{"load " + Script("import/default_import.pas"),
                                                      "compile", "execute"}));
    EXPECT_EQ(script.hostsAlive, 0) << "the host is freed after the job";
    EXPECT_EQ(window.calls, (std::vector<std::string>{"collapse", "terminate"}));
    EXPECT_TRUE(runner.TerminateRequested());
    EXPECT_FALSE(runner.LastJobFailed());
    EXPECT_NE(log.Text().find("DEBUG Laddar script[" + Script("import/default_import.pas") + "]"),
              std::string::npos);

    window.calls.clear();
    runner.HandleCommand(TXmlCommandHelper("/nevershutdown"));
    EXPECT_EQ(window.calls, std::vector<std::string>{});
}

TEST_F(JobRunnerTest, AJobSwitchWithoutItsValueFailsAndWhatTheCommandIgnoredIsLogged) {
    test::CapturedLog log;
    runner.HandleCommand(TXmlCommandHelper("/runscript"));
    EXPECT_TRUE(script.calls.empty());
    EXPECT_TRUE(runner.TerminateRequested());
    EXPECT_TRUE(runner.AnyJobFailed()) << "the command-line run ends with exit status 1";
    EXPECT_NE(log.Text().find("ERROR /runscript names no script to run\n"), std::string::npos) << log.Text();

    TJobRunner other{dm, window, events, [this] { return std::make_unique<test::FakeScriptHost>(script); },
                     &dialogs};
    other.HandleCommand(TXmlCommandHelper("stray /import /frobnicate"));
    EXPECT_FALSE(other.AnyJobFailed());
    EXPECT_NE(log.Text().find("WARN Argument ignored: stray\n"), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("WARN Unknown switch ignored: /frobnicate\n"), std::string::npos) << log.Text();
}

TEST_F(JobRunnerTest, AFailedCompileOfAnUnattendedRunLogsEveryMessageAndCountsAsFailed) {
    test::CapturedLog log;
    script.compiles = false;
    script.messages = {"[Error] (3:5): Unknown identifier 'Foo'", "[Error] (9:1): 'BEGIN' expected"};
    script.execError = "Exception: No program loaded";
    runner.HandleCommand(TXmlCommandHelper("/import"));
    EXPECT_TRUE(runner.LastJobFailed());
    EXPECT_TRUE(runner.AnyJobFailed());
    EXPECT_TRUE(dialogs.shown.empty()) << "an unattended run never shows a dialog";
    EXPECT_EQ(script.calls.back(), "execute") << "execution is still attempted";
    std::string text = log.Text();
    EXPECT_NE(text.find("ERROR [Error] (3:5): Unknown identifier 'Foo'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR [Error] (9:1): 'BEGIN' expected\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR Exception: No program loaded\n"), std::string::npos) << text;
}

TEST_F(JobRunnerTest, AFailedCompileInTheWindowAsksWhetherToOpenTheEditor) {
    window.interactive = true;
    script.compiles = false;
    dialogs.yes = true;
    runner.RunScript(Script("mine.pas"), true);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"? Kompilering av script misslyckades"});
    EXPECT_EQ(script.calls, (std::vector<std::string>{"load " + Script("mine.pas"), "compile", "editor"}));
    EXPECT_TRUE(runner.LastJobFailed());

    script.calls.clear();
    dialogs.shown.clear();
    dialogs.yes = false;
    runner.RunScript(Script("mine.pas"), true);
    EXPECT_EQ(script.calls.back(), "execute") << "No: the run goes on and fails";
}

TEST_F(JobRunnerTest, AFailedRunIsShownOnlyInTheWindowAndAlwaysLogged) {
    test::CapturedLog log;
    script.executes = false;
    script.execError = "Exception: Kunde inte ansluta";
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(runner.LastJobFailed());
    window.interactive = true;
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Fel uppstod när script kördes."});
    std::string text = log.Text();
    EXPECT_NE(text.find("DEBUG Kör script [" + Script("mine.pas") + "]"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR Exception: Kunde inte ansluta"), std::string::npos) << text;

    script.executes = true;
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_FALSE(runner.LastJobFailed());
    EXPECT_TRUE(runner.AnyJobFailed());
}

TEST_F(JobRunnerTest, AJobEndsWithStatus0OnlyOnceItsWritesAreOnTheDisk) {
    test::CapturedLog log;
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_EQ(dm.calls, std::vector<std::string>{"MakeWritesDurable"});
    EXPECT_FALSE(runner.LastJobFailed());

    dm.failAt = "MakeWritesDurable";
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_TRUE(runner.LastJobFailed());
    EXPECT_TRUE(runner.AnyJobFailed()) << "the run ends with exit status 1";
    EXPECT_NE(log.Text().find("MakeWritesDurable misslyckades"), std::string::npos) << log.Text();

    // A job that failed reports nothing done: there is nothing to make durable for it.
    dm.calls.clear();
    script.executes = false;
    runner.RunScript(Script("mine.pas"), false);
    EXPECT_TRUE(dm.calls.empty());
}

TEST_F(JobRunnerTest, AnExceptionDuringTheJobIsLoggedShownAndTheHostStillFreed) {
    test::CapturedLog log;
    script.loadFails = true;
    window.interactive = true;
    runner.RunScript(Script("gone.pas"), false);
    std::string message = "Cannot open file \"" + Script("gone.pas") + "\"";
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Fel" + message});
    EXPECT_NE(log.Text().find("ERROR Fel uppstod vid script: "), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find(message), std::string::npos);
    EXPECT_EQ(script.hostsAlive, 0);
    EXPECT_TRUE(runner.LastJobFailed());
}

TEST_F(JobRunnerTest, TheOpenDialogAsksForAScriptOnlyFromTheWindow) {
    runner.RunScript("", false, true);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"open dialog"});
    EXPECT_TRUE(script.calls.empty()) << "cancelled: nothing runs";
    dialogs.file = Script("mine.pas");
    runner.RunScript("", false, true);
    EXPECT_EQ(script.calls.front(), "load " + Script("mine.pas"));
    script.calls.clear();
    runner.RunScript("", false, false);
    EXPECT_TRUE(script.calls.empty());
}

struct ConnectCase {
    const char* failAt;
    bool tid;
    std::vector<std::string> calls;
    int steps;
};

TEST_F(JobRunnerTest, InitiateImportConnectsStepByStepAndReportsAFailureAtLevel2) {
    const ConnectCase cases[] = {
        {"", false, {"connectSPCS", "openADK", "connectODBC"}, 3},
        {"", true, {"connectSPCS", "openADK", "connectODBC", "connectVismaTid"}, 4},
        {"connectSPCS", true, {"connectSPCS"}, 0},
        {"openADK", false, {"connectSPCS", "openADK"}, 1},
        {"connectODBC", false, {"connectSPCS", "openADK", "connectODBC"}, 2},
        {"connectVismaTid", true, {"connectSPCS", "openADK", "connectODBC", "connectVismaTid"}, 3},
    };
    for (const auto& c : cases) {
        dm.calls.clear();
        dm.failAt = c.failAt;
        dm.tid = c.tid;
        events.addEventItem("old job", true);
        if (*c.failAt) {
            EXPECT_THROW(runner.InitiateImport(), std::runtime_error) << c.failAt;
        } else {
            runner.InitiateImport();
        }
        EXPECT_EQ(dm.calls, c.calls) << c.failAt;
        EXPECT_EQ(events.ProgressMax(), c.tid ? 4 : 3) << c.failAt;
        EXPECT_EQ(events.ProgressPosition(), c.steps) << c.failAt;
        EXPECT_EQ(events.StepCaption(), "Ansluter till Visma");
        std::vector<std::string> expected{"[1] Start "};
        if (*c.failAt) {
            expected[0] = "[2] Start  - " + std::string(c.failAt) + " misslyckades";
            expected.push_back("  [2] " + std::string(c.failAt) + " misslyckades");
        } else if (c.tid) {
            expected.push_back("  [1] Visma tid");
        }
        EXPECT_EQ(Lines(events), expected) << c.failAt;
    }
    EXPECT_EQ(window.calls, std::vector<std::string>(6, "show events"));
}

TEST_F(JobRunnerTest, FinalizeImportClosesTheJobAndEndsItsTreeWithAvslutad) {
    dm.tid = true;
    runner.InitiateImport();
    runner.GFXSetFileName("kunder.xml");
    events.reportError("Kund 1", elResult);
    events.setRootItem("Regel");
    dm.calls.clear();
    runner.FinalizeImport();
    EXPECT_EQ(dm.calls, (std::vector<std::string>{"closeADK", "disconnectODBC", "disconnectSPCSSRC"}))
        << "the Visma Tid connection stays open";
    EXPECT_EQ(Lines(events), (std::vector<std::string>{"[1] Start ", "  [1] Visma tid", "[1] kunder.xml",
                                                       "  [4] Kund 1", "  [1] Avslutad", "[1] Regel"}))
        << "Avslutad closes the open section";
    EXPECT_EQ(events.RootItem(), nullptr);
    EXPECT_TRUE(events.CloseEnabled());
    runner.GFXCloseSection();
    runner.GFXHideProgressForm();
    EXPECT_EQ(window.calls.back(), "hide events");
}

TEST_F(JobRunnerTest, ACommandArrivingDuringAJobWaitsForItsEnd) {
    bool nestedStarted = true;
    script.duringExecute = [&] {
        // A second start hands over a command while a report pumps messages.
        runner.HandleCommand(TXmlCommandHelper("/runscript mine.pas /id K-2 /nevershutdown"));
        nestedStarted = runner.DefaultImport(Script("mine.pas"), false);
    };
    runner.HandleCommand(TXmlCommandHelper("/id K-1 /import /nevershutdown"));
    EXPECT_FALSE(nestedStarted) << "no job starts inside another";
    EXPECT_EQ(dm.lastCommand->UniqueID(), "K-1") << "the running job's command stays in place";
    script.duringExecute = nullptr;
    ASSERT_TRUE(test::PumpUntil([&] { return dm.lastCommand->UniqueID() == "K-2"; }, 2000));
    EXPECT_EQ(script.calls.back(), "execute");
    EXPECT_EQ(std::count(script.calls.begin(), script.calls.end(), "load " + Script("mine.pas")), 1);
    EXPECT_FALSE(JobGuard().Busy());
}

}  // namespace
}  // namespace tv
