// Commands reaching the handler: at start-up from the collected list, and from a second start that
// hands its parameters to the running instance and ends.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/dm_pipes.h"
#include "platform/win/process.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

using test::PumpUntil;

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.Strings(i));
    return v;
}

// What the handler received, copied before the command object goes.
struct Received {
    std::vector<std::string> params;
    std::string paramList;
    std::string company;
    TObject* sender = nullptr;
};

struct Recording {
    std::vector<Received> commands;
    void Attach(TDMPipes& pipes) {
        pipes.OnNewCommand = [this](TObject* sender, TXmlCommandHelper* command) {
            commands.push_back(
                {Lines(command->Params()), command->ParamList(), command->CompanyFolder(), sender});
        };
    }
};

TEST(DMPipes, TheStartUpCommandIsParsedHandedOnAndTheListEmptied) {
    TAppStartup startup({"/ftg", "/home/a/ftg", "/import"});
    TDMPipes pipes(nullptr, startup);
    pipes.CheckParamStr();
    EXPECT_EQ(startup.Params().Count(), 3) << "no handler: nothing happens";

    Recording rec;
    rec.Attach(pipes);
    pipes.CheckParamStr();
    ASSERT_EQ(rec.commands.size(), 1u);
    EXPECT_EQ(rec.commands[0].params, std::vector<std::string>{"/import="});
    EXPECT_EQ(rec.commands[0].company, "/home/a/ftg");
    EXPECT_EQ(rec.commands[0].sender, &pipes);
    EXPECT_EQ(startup.Params().Count(), 0);

    pipes.OnNewCommand = [](TObject*, TXmlCommandHelper*) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(pipes.CheckParamStr(), std::runtime_error);
}

TEST(DMPipes, TheCommandTimerRunsTheParserOnceAfterItsIntervalUnlessStopped) {
    TAppStartup startup({"/export"});
    TDMPipes pipes(nullptr, startup);
    Recording rec;
    rec.Attach(pipes);
    auto start = std::chrono::steady_clock::now();
    pipes.SetTimer1Enabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !rec.commands.empty(); }, 3000));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kCommandTimerMs - 50));
    EXPECT_FALSE(pipes.Timer1Enabled());

    startup.Params().Add("/import");
    pipes.SetTimer1Enabled(true);
    pipes.SetTimer1Enabled(false);
    test::PumpFor(kCommandTimerMs + 200);
    EXPECT_EQ(rec.commands.size(), 1u);
}

class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        first = std::make_unique<TDMPipes>(nullptr, startup);
        first->PipeServer1->SetSocketFolder(dir.Root());
        rec.Attach(*first);
    }
    void TearDown() override { test::PumpFor(50); }

    // Starts the second program with `args` and returns its exit code.
    int SecondStart(const std::vector<std::string>& args, const std::string& piped = {}) {
        test::ScopedEnv folder("TV_PIPE_FOLDER", dir.Root().c_str());
        std::optional<TChildProcess> child;
        if (piped.empty()) {
            child = TChildProcess::Start(TV_SECOND_START, args);
        } else {
            std::vector<std::string> shellArgs{"-c", "printf '" + piped + "' | \"$0\" \"$@\"",
                                               TV_SECOND_START};
            shellArgs.insert(shellArgs.end(), args.begin(), args.end());
            child = TChildProcess::Start("sh", shellArgs);
        }
        // The first instance keeps serving while the second one runs.
        int code = STILL_ACTIVE;
        PumpUntil([&] { return (code = child->Wait(0)) != STILL_ACTIVE; }, 20000);
        return code;
    }

    test::TempDir dir;
    TAppStartup startup;
    std::unique_ptr<TDMPipes> first;
    Recording rec;
};

TEST_F(SecondStartTest, ASecondStartHandsItsCommandToTheFirstAndEnds) {
    first->StartServer();
    ASSERT_TRUE(first->PipeServer1->Active());
    EXPECT_EQ(SecondStart({"/import", "/nevershutdown"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return !rec.commands.empty(); }));
    EXPECT_EQ(rec.commands[0].params, (std::vector<std::string>{"/import=", "/nevershutdown="}));
    EXPECT_EQ(startup.Params().Count(), 0);
    EXPECT_TRUE(first->PipeServer1->Active()) << "the server listens again for the next start";

    EXPECT_EQ(SecondStart({"/export"}, "rad 1\\nrad 2\\n"), 0);
    ASSERT_TRUE(PumpUntil([&] { return rec.commands.size() == 2; }));
    EXPECT_EQ(rec.commands[1].params, (std::vector<std::string>{"/export=", "/stdin="}));
    EXPECT_EQ(rec.commands[1].paramList, "rad 1\r\nrad 2\r\n");
}

TEST_F(SecondStartTest, WithoutARunningInstanceTheSecondStartKeepsItsCommand) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SecondStart({"/import"}), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(kHandOffConnectWaitMs / 1000));
    EXPECT_TRUE(rec.commands.empty());
}

}  // namespace
}  // namespace tv
