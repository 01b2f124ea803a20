#include "core/forms/main_form.h"

#include "platform/rtl/class_info.h"

#include <chrono>
#include <thread>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/check_update_thread.h"
#include "core/environment_info.h"
#include "core/job_guard.h"
#include "core/shell_helper.h"
#include "core/work_folders.h"
#include "platform/gui/application.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/file_version.h"
#include "platform/win/main_thread.h"
#include "platform/win/process.h"
#include "platform/win/shell_service.h"

namespace tv {
namespace {

TMainForm* gMainForm = nullptr;

}  // namespace

TMainFormServices& MainFormServices() {
    static TMainFormServices services;
    return services;
}

TMainForm* MainForm() {
    return gMainForm;
}

const TClassInfo& TMainForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMainForm>("TMainForm").Build();
    return info;
}

TMainForm::TMainForm(TComponent* AOwner, TMainDM& dm, TDMPipes& pipes, TEventTree& events,
                     const TMainFormServices& services)
    : TForm(AOwner),
      fDM(dm),
      fPipes(pipes),
      fEvents(events),
      fServices(services),
      fSelf(std::make_shared<TMainForm*>(this)) {
    SetName("MainForm");
    gMainForm = this;
    // Every job gets a host of its own; none is made while the settings are missing.
    TScriptHostFactory hosts = [this]() -> std::unique_ptr<IScriptHost> {
        if (fSettingsFailed) throw Exception("Inställningarna kunde inte läsas in");
        if (!fServices.ScriptHosts) throw Exception(std::string(kNoScriptHost));
        return fServices.ScriptHosts();
    };
    fRunner = std::make_unique<TJobRunner>(fDM, *this, fEvents, std::move(hosts));
    FormCreate();
}

TMainForm::~TMainForm() {
    *fSelf = nullptr;
    fPipes.OnNewCommand = nullptr;
    try {
        fDM.closeADK();
        fDM.disconnectSPCSSRC();
    } catch (const std::exception& e) {
        AppLogger().LogError("MainForm", e);
    }
    if (gMainForm == this) gMainForm = nullptr;
}

void TMainForm::FormCreate() {
    // "<company> <title> <major>.<minor>.<release> - (<instance>)", the title with the same suffix.
    int major = 0, minor = 0, release = 0, build = 0;
    GetFileVersionNumbers(ProgramFileName(), major, minor, release, build);
    std::string company = ExeVersionInfo().Values("CompanyName");
    std::string suffix = std::string(kCaptionInstance) + AppInstanceName() + ")";
    SetCaption(Format(kMainFormCaption, {company, ApplicationTitle(), major, minor, release}) + suffix);
    SetApplicationTitle(ApplicationTitle() + suffix);
    Application().SetTitle(ApplicationTitle());

    fPipes.OnNewCommand = [this](TObject* sender, TXmlCommandHelper* command) {
        HandleCommand(sender, command);
    };
    try {
        fDM.loadSettings();
    } catch (const std::exception& e) {
        // The window still gets its event window and command handling; jobs are refused and a
        // command job ends the program with a failure.
        fSettingsFailed = true;
        AppLogger().LogError("loadSettings", e);
        try {
            throw;
        } catch (...) {
            Application().HandleException(this);
        }
    }
    fRunScriptFromGui = false;
    if (fServices.CreateScriptList) fScriptList = fServices.CreateScriptList(this);
    if (fServices.FindScripts) {
        try {
            fServices.FindScripts();
        } catch (const std::exception& e) {
            AppLogger().LogDebug("FindScripts", e);
        }
    }
    fPipes.CheckParamStr();
    // A command that closes the program does not start the updater on its way out.
    if (!TerminateRequested()) SearchForUpdatesExecute();
}

int TMainForm::ExitCode() const {
    return fRunner->AnyJobFailed() ? 1 : 0;
}

std::string TMainForm::ScriptPath(std::string_view relative) const {
    return IncludeTrailingPathDelimiter(fDM.getScriptFolder()) + std::string(relative);
}

void TMainForm::HandleCommand(TObject*, TXmlCommandHelper* Command) {
    if (Command) fRunner->HandleCommand(*Command);
}

void TMainForm::RunScript(const std::string& scriptName, bool keepList) {
    fRunner->RunScript(scriptName, keepList, fRunScriptFromGui);
}

// ---- actions ----

void TMainForm::ImportExecute() {
    std::string script = ScriptPath(kImportScript);
    AppLogger().LogDebug(std::string(kLogLoadingScript) + script + "]");
    fRunner->DefaultImport(script, false);
}

void TMainForm::AnExportExecute() {
    fRunner->DefaultImport(ScriptPath(kExportScript), false);
}

void TMainForm::RunNoNListedScriptExecute() {
    fRunScriptFromGui = true;
    try {
        RunScript("", true);
    } catch (...) {
        fRunScriptFromGui = false;
        throw;
    }
    fRunScriptFromGui = false;
}

void TMainForm::ImportFolderExecute() {
    ShellService().OpenFolder(fDM.getWorkFolder(WORK_IMPORT, ""));
}

void TMainForm::GotoExportExecute() {
    ShellService().OpenFolder(fDM.getWorkFolder(WORK_EXPORT, ""));
}

void TMainForm::showSettingsExecute() {
    if (!fServices.ShowSettings) return;
    // The settings window saves the settings a running job reads: not while one runs.
    TJobGuard::TScope scope(JobGuard());
    if (!scope.Acquired()) return;
    int result = fServices.ShowSettings(this);
    if (result == mrOk) {
        fDM.saveSettings();
    } else {
        fDM.InstallningarCDS().Cancel();
        fDM.Table("CDSExportOrderPrefs").Cancel();
    }
    fDM.disconnectVismaTid();
}

void TMainForm::ExitApplicationExecute() {
    Close();
}

void TMainForm::showAboutExecute() {
    if (fServices.ShowAbout) fServices.ShowAbout();
}

void TMainForm::DebugExecute() {
    if (fServices.ShowDebugFile) fServices.ShowDebugFile();
}

// ---- update check ----

void TMainForm::SearchForUpdatesExecute() {
    try {
        TCheckUpdateThread::Start(ProgramFolder(), [self = fSelf](int exitCode) {
            TMainForm* form = *self;
            if (!form) return;  // the window went while the updater was asked
            if (IsUpdateAvailable(exitCode))
                form->ShowUpdateAvailable();
            else
                form->ShowNoUpdateAvailable();
        });
    } catch (const std::exception& e) {
        AppLogger().LogDebug("SearchForUpdates", e);
    }
}

void TMainForm::ShowUpdateAvailable() {
    fUpdateNotice = TUpdateNotice::UpdateAvailable;
    EnableTimer2();
    ProcessMessages();
}

void TMainForm::ShowNoUpdateAvailable() {
    fUpdateNotice = TUpdateNotice::LatestInstalled;
    EnableTimer2();
    ProcessMessages();
}

void TMainForm::EnableTimer2() {
    if (fTimer2Enabled) return;
    fTimer2Enabled = true;
    ArmTimer2();
}

void TMainForm::ArmTimer2() {
    // Once on, the timer hides the notice every interval; nothing stops it.
    PostToMainThread(
        [self = fSelf] {
            if (TMainForm* form = *self) {
                form->Timer2Timer();
                form->ArmTimer2();
            }
        },
        kUpdateNoticeHideMs);
}

void TMainForm::Timer2Timer() {
    fUpdateNotice = TUpdateNotice::Hidden;
}

void TMainForm::Action1Execute() {
    fEvents.Clear();
    ShowEventWindow();
    fEvents.reportError(kStartingUpdate, elInfo);
    int exitCode = 0;
    TShellHelper::CreateAndWaitForProcess(UpdaterPath(ProgramFolder()), kUpdateRunWaitMs,
                                          std::string(kUpdaterUpdate), ProgramFolder(), exitCode,
                                          SW_SHOWNORMAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(kUpdateRunSleepMs));
    fEvents.reportError(kClosingForUpdate, elInfo);
    ExitApplicationExecute();
}

// ---- the job runner's view ----

bool TMainForm::Interactive() const {
    return Visible();
}

void TMainForm::CollapseScriptList() {}

void TMainForm::ShowEventWindow() {
    ProcessMessages();
}

void TMainForm::HideEventWindow() {}

void TMainForm::CloseAndTerminate() {
    Close();
    Application().Terminate();
}

}  // namespace tv
