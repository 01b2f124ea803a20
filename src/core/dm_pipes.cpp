#include "core/dm_pipes.h"

#include "platform/rtl/class_info.h"
#include "platform/win/main_thread.h"

namespace tv {

const TClassInfo& TDMPipes::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDMPipes>("TDMPipes").Build();
    return info;
}

TDMPipes::TDMPipes(TComponent* AOwner, TAppStartup& startup)
    : TComponent(AOwner), fStartup(startup), fSelf(std::make_shared<TDMPipes*>(this)) {
    PipeServer1 = new TPipeServer(this);
    PipeServer1->SetName("PipeServer1");
    PipeServer1->SetPipeName(std::string(kHandOffPipeName));
    PipeServer1->OnPipeMessage = [this](TObject* s, uint32_t p, TStream* m) {
        PipeServer1PipeMessage(s, p, m);
    };
    PipeClient1 = new TPipeClient(this);
    PipeClient1->SetName("PipeClient1");
    PipeClient1->SetPipeName(std::string(kHandOffPipeName));
}

TDMPipes::~TDMPipes() {
    *fSelf = nullptr;
}

void TDMPipes::CheckParamStr() {
    if (!OnNewCommand) return;
    auto command = std::make_unique<TXmlCommandHelper>();
    command->ParseCmdLine(fStartup.Params().Text());
    fStartup.Params().Clear();
    OnNewCommand(this, command.get());
}

void TDMPipes::StartServer() {
    PipeServer1->SetActive(true);
}

void TDMPipes::PipeServer1PipeMessage(TObject*, uint32_t, TStream* Stream) {
    if (fStartup.HandleIncommingParams(*Stream)) SetTimer1Enabled(true);
    // Restarting drops the connection the message came on. A server that cannot listen again
    // reports that through its OnPipeError; neither step raises.
    PipeServer1->SetActive(false);
    PipeServer1->SetActive(true);
}

void TDMPipes::SetTimer1Enabled(bool value) {
    fTimer1Enabled = value;
    ++fTimer1Generation;
    if (value) ArmTimer1();
}

void TDMPipes::ArmTimer1() {
    uint64_t generation = fTimer1Generation;
    PostToMainThread(
        [self = fSelf, generation] {
            TDMPipes* pipes = *self;
            if (!pipes || !pipes->fTimer1Enabled || pipes->fTimer1Generation != generation) return;
            pipes->Timer1Timer();
            // A timer that is still on fires again after its interval.
            if (*self && pipes->fTimer1Enabled && pipes->fTimer1Generation == generation) pipes->ArmTimer1();
        },
        kCommandTimerMs);
}

void TDMPipes::Timer1Timer() {
    SetTimer1Enabled(false);
    CheckParamStr();
}

bool TDMPipes::Timer3Timer() {
    ProcessMessages();
    if (!fStartup.PipeClient().Connect(kHandOffConnectWaitMs)) return false;
    return fStartup.SwitchToPrevInst();
}

}  // namespace tv
