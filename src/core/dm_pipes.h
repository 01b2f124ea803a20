#pragma once
// The data module that connects commands to the main window's command handler: it parses the
// collected parameters into a command and hands it on (at start-up, and one second after a second
// start handed its parameters over the pipe "BrismarkXML"), and holds that pipe's server and client.

#include <memory>

#include "core/app_startup.h"
#include "core/xml_command_helper.h"
#include "platform/rtl/component.h"
#include "platform/win/pipe_client.h"
#include "platform/win/pipe_server.h"

namespace tv {

using TOnNewCommand = TEvent<void(TObject* Sender, TXmlCommandHelper* Command)>;

// Commands arrive this long after a hand-off message.
inline constexpr int kCommandTimerMs = 1000;
// How long a second start waits for the running instance to accept it.
inline constexpr int kHandOffConnectWaitMs = 3000;

class TDMPipes : public TComponent {
    TV_CLASS(TDMPipes, TComponent)
public:
    explicit TDMPipes(TComponent* AOwner = nullptr, TAppStartup& startup = AppStartup());
    ~TDMPipes() override;

    TPipeServer* PipeServer1 = nullptr;  // "BrismarkXML", inactive until StartServer
    TPipeClient* PipeClient1 = nullptr;  // "BrismarkXML"
    TOnNewCommand OnNewCommand;

    // When a handler is set: parses the collected list into a new command, empties the list and
    // calls the handler with it. A failure of the handler reaches the caller.
    void CheckParamStr();
    void StartServer();
    // A message on the server: a hand-off message starts the command timer; the server is then
    // restarted.
    void PipeServer1PipeMessage(TObject* Sender, uint32_t Pipe, TStream* Stream);

    // Timer1: CheckParamStr kCommandTimerMs after it is enabled.
    bool Timer1Enabled() const { return fTimer1Enabled; }
    void SetTimer1Enabled(bool value);
    void Timer1Timer();
    // A second start's hand-off: processes pending messages, connects the hand-off client (waiting
    // up to kHandOffConnectWaitMs) and sends the own parameters. True when they were sent.
    bool Timer3Timer();

private:
    void ArmTimer1();

    TAppStartup& fStartup;
    bool fTimer1Enabled = false;
    uint64_t fTimer1Generation = 0;
    std::shared_ptr<TDMPipes*> fSelf;  // what posted timer work finds; nil once the module is gone
};

}  // namespace tv
