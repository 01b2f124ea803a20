#include "core/job_runner.h"

#include "core/app_logger.h"
#include "core/job_guard.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/main_thread.h"

namespace tv {

TJobRunner::TJobRunner(IJobDataModule& dm, IJobWindow& window, IEventSink& events, TScriptHostFactory hosts,
                       IDialogService* dialogs)
    : fDM(dm),
      fWindow(window),
      fEvents(events),
      fHosts(std::move(hosts)),
      fDialogs(dialogs),
      fSelf(std::make_shared<TJobRunner*>(this)) {}

TJobRunner::~TJobRunner() {
    *fSelf = nullptr;
}

TJobRunner::TCommandChoice TJobRunner::ChooseScript(const TXmlCommandHelper& command) {
    TCommandChoice choice;
    std::string folder = IncludeTrailingPathDelimiter(fDM.getScriptFolder());
    if (command.IndexOf("/export") >= 0) {
        choice.Script = folder + std::string(kExportScript);
        choice.CloseAfterwards = true;
    }
    if (command.IndexOf("/import") >= 0) {
        choice.Script = folder + std::string(kImportScript);
        choice.CloseAfterwards = true;
    }
    int run = command.IndexOf("/runscript");
    if (run >= 0) {
        choice.Script = command.Params().ValueFromIndex(run);
        if (!choice.Script.empty() && FileExists(folder + choice.Script))
            choice.Script = folder + choice.Script;
        choice.CloseAfterwards = true;
    }
    if (command.IndexOf("/nevershutdown") >= 0) choice.CloseAfterwards = false;
    return choice;
}

void TJobRunner::HandleCommand(const TXmlCommandHelper& command) {
    if (JobGuard().Busy()) {
        // Inside a running job (a report pumped messages): the command waits for its end.
        fPending.push_back(command.Clone());
        return;
    }
    fDM.SetLastCommand(command.Clone());
    for (const std::string& argument : command.Ignored()) {
        const bool switchForm = argument.starts_with('/') || argument.starts_with('-');
        AppLogger().LogWarn(std::string(switchForm ? kLogUnknownSwitch : kLogArgumentIgnored) + argument);
    }
    TCommandChoice choice = ChooseScript(command);
    if (!choice.Script.empty()) {
        AppLogger().LogDebug(std::string(kLogLoadingScript) + choice.Script + "]");
        DefaultImport(choice.Script, false);
    } else if (command.IndexOf("/runscript") >= 0) {
        AppLogger().LogError(kLogNoScriptNamed);
        fLastJobFailed = true;
        fAnyJobFailed = true;
    }
    if (choice.CloseAfterwards) {
        fTerminateRequested = true;
        fWindow.CloseAndTerminate();
    }
}

void TJobRunner::RunScript(const std::string& scriptName, bool keepList, bool fromGui) {
    try {
        std::string script = scriptName;
        if (script.empty() && fromGui) {
            TOpenFileRequest request;
            request.InitialFolder = fDM.getScriptFolder();
            auto chosen = Dialogs().OpenFile(request);
            if (!chosen) return;
            script = *chosen;
        }
        if (script.empty()) return;
        AppLogger().LogDebug(Format(kLogRunningScript, {script}));
        DefaultImport(script, keepList);
    } catch (const std::exception& e) {
        fEvents.reportError(e.what(), elError);
    }
}

bool TJobRunner::DefaultImport(const std::string& script, bool keepList) {
    TJobGuard::TScope job(JobGuard());
    if (!job.Acquired()) {
        AppLogger().LogWarn("A job is running; refused to start " + script);
        return false;
    }
    fAnyJobRan = true;
    if (!keepList) fWindow.CollapseScriptList();
    std::unique_ptr<IScriptHost> host;
    bool failed = true;
    try {
        host = fHosts();
        const bool ran = RunJob(*host, script);
        // Ending with status 0 reports the job's work done.
        if (ran) fDM.MakeWritesDurable();
        failed = !ran;
    } catch (const std::exception& e) {
        AppLogger().LogError(kLogScriptException, e);
        if (fWindow.Interactive())
            Dialogs().MessageBox(
                {std::string(kErrorMessagePrefix) + e.what(), "", TMsgButtons::Ok, TMsgIcon::Error});
    }
    host.reset();
    fLastJobFailed = failed;
    fAnyJobFailed = fAnyJobFailed || failed;
    // Commands that came in meanwhile run once this job has unwound.
    if (!fPending.empty())
        PostToMainThread([self = fSelf] {
            if (*self) (*self)->RunPendingCommands();
        });
    return true;
}

bool TJobRunner::RunJob(IScriptHost& host, const std::string& script) {
    host.LoadScript(script);
    if (!host.Compile()) {
        // Every message, so that an unattended run tells why its script did not compile.
        for (const auto& message : host.CompilerMessages()) AppLogger().LogError(message);
        if (fWindow.Interactive() && Dialogs().AskYesNo(kCompileFailedQuestion, "", false)) {
            host.ShowModal();
            return false;
        }
        host.Execute();  // fails: nothing was compiled
        AppLogger().LogError(host.ExecErrorToString());
        return false;
    }
    if (host.Execute()) return true;
    if (fWindow.Interactive())
        Dialogs().MessageBox({std::string(kExecutionFailedMessage), "", TMsgButtons::Ok, TMsgIcon::Error});
    AppLogger().LogError(host.ExecErrorToString());
    return false;
}

void TJobRunner::RunPendingCommands() {
    while (!fPending.empty() && !JobGuard().Busy()) {
        std::unique_ptr<TXmlCommandHelper> command = std::move(fPending.front());
        fPending.pop_front();
        HandleCommand(*command);
    }
}

void TJobRunner::InitiateImport() {
    fEvents.Clear();
    fWindow.ShowEventWindow();
    bool tid = fDM.TidActivated();
    fEvents.addEventItem(kStartItem, false);
    fEvents.nextEvent(kConnectingCaption, 0);
    fEvents.setEventCount(tid ? 4 : 3);
    try {
        fDM.connectSPCS();
        fEvents.StepProgress();
        ProcessMessages();
        fDM.openADK();
        fEvents.StepProgress();
        ProcessMessages();
        fDM.connectODBC();
        fEvents.StepProgress();
        ProcessMessages();
        if (tid) {
            fDM.connectVismaTid(false);
            fEvents.StepProgress();
            fEvents.reportError(kVismaTidLine, elInfo);
            ProcessMessages();
        }
    } catch (const std::exception& e) {
        fEvents.reportError(e.what(), elError);
        throw;
    }
}

void TJobRunner::FinalizeImport() {
    fDM.closeADK();
    fDM.disconnectODBC();
    fDM.disconnectSPCSSRC();
    fEvents.setRootItem("");
    fEvents.addEventItem(kFinishedItem, false);
    fEvents.Complete();
}

void TJobRunner::GFXSetFileName(std::string_view fileName) {
    fEvents.addEventItem(fileName, true);
}

void TJobRunner::GFXCloseSection() {
    fEvents.CloseNestedEventItem();
}

void TJobRunner::GFXClearProgressForm() {
    fEvents.Clear();
}

void TJobRunner::GFXHideProgressForm() {
    fWindow.HideEventWindow();
}

}  // namespace tv
