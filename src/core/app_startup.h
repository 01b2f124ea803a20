#pragma once
// The collected parameter list, from which the command parser builds each job command, and the
// hand-off by which a second start passes its parameters (and the text piped into it) to the
// instance already running, through the pipe "BrismarkXML", instead of running the job itself.
//
// The hand-off message: the line "%CMDLINEPARAMS%", one line per collected parameter, each ended by
// CR LF, and, when text was piped in, "/stdin " directly followed by that text.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/string_list.h"
#include "platform/win/pipe_client.h"

namespace tv {

inline constexpr std::string_view kHandOffPipeName = "BrismarkXML";
inline constexpr std::string_view kHandOffMarker = "%CMDLINEPARAMS%";
inline constexpr std::string_view kHandOffStdIn = "/stdin ";
inline constexpr int kHandOffSendWaitMs = 500;

inline constexpr std::string_view kErrCreatePipeClient = "AppStartup.Initialization.CreatePipeClient: ";
inline constexpr std::string_view kErrSendParams = "AppStartup.SendParamsToPrevInst: ";
inline constexpr std::string_view kErrSwitchToPrevInst = "AppStartup.SwitchToPrevInst: ";
inline constexpr std::string_view kErrHandleIncomming = "AppStartup.HandleIncommingParams: ";
inline constexpr std::string_view kErrEnsureRestore = "AppStartup.EnsureApplicationRestore: ";

class TAppStartup {
public:
    // The collected list holds `params` (the program's parameters after its name), and the hand-off
    // client is created, unconnected, for "BrismarkXML".
    explicit TAppStartup(const std::vector<std::string>& params = {});

    TStringList& Params() { return fParams; }
    TPipeClient& PipeClient() { return *fClient; }

    // The message text for the collected list and the piped text.
    std::string HandOffMessage(std::string_view stdInText) const;
    // Queues the hand-off message on the client and waits SendWaitMs. True when it was queued
    // (the client was connected).
    bool SendParamsToPrevInst();
    // False when there is no hand-off client; otherwise SendParamsToPrevInst.
    bool SwitchToPrevInst();
    // The receiving side: true when the stream holds a hand-off message. Every line but the exact
    // marker is appended to the collected list and the application is brought to the user. The
    // stream is left at position 0. A message without the marker (any letter case) changes nothing.
    bool HandleIncommingParams(TStream& stream);
    // Restores, shows and brings the main window to the front, through RestoreApplication.
    void EnsureApplicationRestore();

    // How the text piped into this start is read (the standard input by default).
    std::function<void(std::string&)> ReadStdIn;
    // Installed by the GUI: restore a minimised application, show a hidden main form that should
    // show, bring it to the front.
    std::function<void()> RestoreApplication;
    int SendWaitMs = kHandOffSendWaitMs;

private:
    TStringList fParams;
    std::unique_ptr<TPipeClient> fClient;
};

// The process-wide instance: InitAppStartup makes it from the program's parameters at start;
// AppStartup() gives it (an empty one when nothing made it yet).
void InitAppStartup(const std::vector<std::string>& params);
TAppStartup& AppStartup();

}  // namespace tv
