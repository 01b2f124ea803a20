// The hand-off message: what a second start sends and what the running instance accepts.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/app_startup.h"
#include "platform/rtl/streams.h"

namespace tv {
namespace {

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.Strings(i));
    return v;
}

TEST(HandOff, TheMessageIsTheMarkerTheParametersAndThePipedText) {
    TAppStartup startup({"/import", "/nevershutdown"});
    EXPECT_EQ(startup.HandOffMessage(""), "%CMDLINEPARAMS%\r\n/import\r\n/nevershutdown\r\n");
    EXPECT_EQ(startup.HandOffMessage("rad 1\r\nrad 2\r\n"),
              "%CMDLINEPARAMS%\r\n/import\r\n/nevershutdown\r\n/stdin rad 1\r\nrad 2\r\n");
    EXPECT_EQ(Lines(startup.Params()), (std::vector<std::string>{"/import", "/nevershutdown"}))
        << "the marker is not left in the list";
    EXPECT_EQ(startup.PipeClient().PipeName(), "BrismarkXML");
}

TEST(HandOff, SendingWithoutAConnectionQueuesNothing) {
    TAppStartup startup({"/import"});
    startup.SendWaitMs = 0;
    bool read = false;
    startup.ReadStdIn = [&](std::string& text) {
        read = true;
        text = "x";
    };
    EXPECT_FALSE(startup.SwitchToPrevInst());
    EXPECT_TRUE(read);
}

struct ReceiveCase {
    const char* rule;
    std::string message;
    bool accepted;
    std::vector<std::string> list;  // the collected list afterwards, which held "/old"
};
const ReceiveCase kReceiveCases[] = {
    {"a second start's parameters are appended",
     "%CMDLINEPARAMS%\r\n/import\r\n/nevershutdown\r\n",
     true,
     {"/old", "/import", "/nevershutdown"}},
    {"the marker in small letters is accepted and kept as a parameter",
     "%cmdlineparams%\n/export\n",
     true,
     {"/old", "%cmdlineparams%", "/export"}},
    {"piped lines become entries of their own",
     "%CMDLINEPARAMS%\r\n/export\r\n/stdin rad 1\r\nrad 2\r\n",
     true,
     {"/old", "/export", "/stdin rad 1", "rad 2"}},
    {"a message without the marker changes nothing", "/import\r\n/export\r\n", false, {"/old"}},
    {"an empty message changes nothing", "", false, {"/old"}},
};

TEST(HandOff, TheReceiverTakesOnlyMarkedMessages) {
    for (const auto& c : kReceiveCases) {
        TAppStartup startup({"/old"});
        int restored = 0;
        startup.RestoreApplication = [&] { ++restored; };
        TStringStream stream(c.message, TextEncoding::Utf8);
        stream.SetPosition(3);
        EXPECT_EQ(startup.HandleIncommingParams(stream), c.accepted) << c.rule;
        EXPECT_EQ(Lines(startup.Params()), c.list) << c.rule;
        EXPECT_EQ(stream.Position(), 0) << c.rule;
        EXPECT_EQ(restored, c.accepted ? 1 : 0) << c.rule;
    }
}

TEST(HandOff, FailuresCarryTheQualifiedNamesOfEveryStep) {
    TAppStartup startup;
    startup.RestoreApplication = [] { throw std::runtime_error("no window"); };
    TStringStream stream("%CMDLINEPARAMS%\r\n", TextEncoding::Utf8);
    try {
        startup.HandleIncommingParams(stream);
        ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message,
                  "AppStartup.HandleIncommingParams: AppStartup.EnsureApplicationRestore: no window");
    }
    startup.ReadStdIn = [](std::string&) { throw std::runtime_error("no input"); };
    try {
        startup.SwitchToPrevInst();
        ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "AppStartup.SwitchToPrevInst: AppStartup.SendParamsToPrevInst: no input");
    }
}

}  // namespace
}  // namespace tv
