#include "core/forms/main_form.h"

#include "platform/rtl/class_info.h"

#include <chrono>
#include <thread>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/check_update_thread.h"
#include "core/environment_info.h"
#include "core/forms/event_pictures.h"
#include "core/job_guard.h"
#include "core/shell_helper.h"
#include "core/work_folders.h"
#include "platform/gui/application.h"
#include "platform/gui/color.h"
#include "platform/gui/shortcut.h"
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
    CreateComponents();
    FormCreate();
}

TMainForm::~TMainForm() {
    *fSelf = nullptr;
    fPipes.OnNewCommand = nullptr;
    JobGuard().OnBusyChanged = nullptr;
    try {
        fDM.closeADK();
        fDM.disconnectSPCSSRC();
    } catch (const std::exception& e) {
        AppLogger().LogError("MainForm", e);
    }
    if (gMainForm == this) gMainForm = nullptr;
}

TAction* TMainForm::NewAction(const char* name, std::string_view caption, void (TMainForm::*run)()) {
    auto* action = new TAction(this);
    action->SetName(name);
    action->SetCaption(std::string(caption));
    action->SetActionList(ActionManager1);
    action->OnExecute = [this, run](TObject*) { (this->*run)(); };
    return action;
}

TBitBtn* TMainForm::NewPictureButton(const char* name, TAction* action, int left, int color, char letter) {
    auto* button = new TBitBtn(this);
    button->SetName(name);
    button->SetParent(Panel2);
    button->SetBounds(left, 150, 150, 64);
    button->SetAction(action);
    button->SetLayout(blGlyphTop);
    TBitmap glyph;
    DrawGlyph(glyph, 24, color, letter, ColorToRGB(clBtnFace));
    button->SetGlyph(&glyph);
    return button;
}

void TMainForm::CreateComponents() {
    SetBounds(0, 0, 760, 520);
    ActionManager1 = new TActionList(this);
    ActionManager1->SetName("ActionManager1");
    showSettings = NewAction("showSettings", "&Inställningar", &TMainForm::showSettingsExecute);
    ExitApplication = NewAction("ExitApplication", "&Avsluta", &TMainForm::ExitApplicationExecute);
    showAbout = NewAction("showAbout", "&Om", &TMainForm::showAboutExecute);
    Import = NewAction("Import", "Import", &TMainForm::ImportExecute);
    AnExport = NewAction("AnExport", "Export", &TMainForm::AnExportExecute);
    RunNoNListedScript =
        NewAction("RunNoNListedScript", "Kör annat script", &TMainForm::RunNoNListedScriptExecute);
    ImportFolder = NewAction("ImportFolder", "Hoppa till importmapp", &TMainForm::ImportFolderExecute);
    GotoExport = NewAction("GotoExport", "Hoppa till export", &TMainForm::GotoExportExecute);
    SearchForUpdates =
        NewAction("SearchForUpdates", kSearchForUpdatesCaption, &TMainForm::SearchForUpdatesExecute);
    SearchForUpdates->SetVisible(false);
    Action1 = NewAction("Action1", kGetUpdateCaption, &TMainForm::Action1Execute);
    Debug = NewAction("Debug", "Debug", &TMainForm::DebugExecute);
    Debug->SetShortCut(ShortCut('D', TShiftState{ssCtrl, ssAlt}));
    showSettings->SetEnabled(static_cast<bool>(fServices.ShowSettings));

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    auto menu = [this](std::string_view caption, std::initializer_list<TAction*> actions) {
        auto* top = new TMenuItem(this);
        top->SetCaption(std::string(caption));
        for (TAction* a : actions) {
            auto* item = new TMenuItem(this);
            item->SetAction(a);
            top->Add(item);
        }
        MainMenu1->Items()->Add(top);
    };
    menu(kMenuArkiv, {showSettings, ExitApplication});
    menu(kMenuHelp, {showAbout, SearchForUpdates});
    SetMenu(MainMenu1);

    ActionMainMenuBar1 = new TActionBar(this);
    ActionMainMenuBar1->SetName("ActionMainMenuBar1");
    ActionMainMenuBar1->SetParent(this);
    ActionMainMenuBar1->SetAlign(alTop);
    ActionMainMenuBar1->AddAction(showSettings);
    ActionMainMenuBar1->AddSeparator();
    ActionMainMenuBar1->AddAction(AnExport, "&Export");
    ActionMainMenuBar1->AddAction(Import, "I&mport");
    ActionMainMenuBar1->AddAction(RunNoNListedScript, "&Kör annat script");
    ActionMainMenuBar1->AddSeparator();
    ActionMainMenuBar1->AddAction(ImportFolder, "&Hoppa till importmapp");
    ActionMainMenuBar1->AddAction(GotoExport, "H&oppa till export");

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetCaption("");
    Panel1->SetHeight(36);
    Panel1->SetAlign(alBottom);
    Panel1->SetVisible(false);
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(Panel1);
    Label1->SetBounds(8, 10, 400, 16);
    Label1->SetCaption(std::string(kUpdateAvailableText));
    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(Panel1);
    Button1->SetBounds(420, 6, 140, 24);
    Button1->SetAction(Action1);

    DockTabSet1 = new TDockTabSet(this);
    DockTabSet1->SetName("DockTabSet1");
    DockTabSet1->SetParent(this);
    DockTabSet1->SetAlign(alLeft);

    DisplayPanel = new TPanel(this);
    DisplayPanel->SetName("DisplayPanel");
    DisplayPanel->SetParent(this);
    DisplayPanel->SetCaption("");
    DisplayPanel->SetAlign(alClient);
    Panel2 = new TPanel(this);
    Panel2->SetName("Panel2");
    Panel2->SetParent(DisplayPanel);
    Panel2->SetCaption("");
    Panel2->SetColor(clWhite);
    Panel2->SetAlign(alClient);
    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(Panel2);
    Image1->SetBounds(16, 16, 96, 96);
    TBitmap logo;
    DrawGlyph(logo, 96, clNavy, 'T', clWhite);
    Image1->Picture()->SetBitmap(&logo);
    PngBitBtn1 = NewPictureButton("PngBitBtn1", Import, 16, clGreen, 'I');
    PngBitBtn2 = NewPictureButton("PngBitBtn2", AnExport, 176, clNavy, 'E');
    PngBitBtn3 = NewPictureButton("PngBitBtn3", ImportFolder, 336, clOlive, 'H');
    PngBitBtn4 = NewPictureButton("PngBitBtn4", GotoExport, 496, clTeal, 'H');
    // The window never gets so small that a button is cut, also while the update notice shows.
    Constraints()->SetMinWidth(DockTabSet1->Width() + PngBitBtn4->Left() + PngBitBtn4->Width() + 16);
    Constraints()->SetMinHeight(ClientOrigin().Y + ActionMainMenuBar1->Height() + Panel1->Height() +
                                PngBitBtn4->Top() + PngBitBtn4->Height() + 16);

    JobGuard().OnBusyChanged = [this](bool busy) { JobBusyChanged(busy); };
}

void TMainForm::JobBusyChanged(bool busy) {
    // The update run clears the event tree and closes the program: not in the middle of a job.
    for (TAction* a : {Import, AnExport, RunNoNListedScript, showSettings, Action1})
        if (a != showSettings || fServices.ShowSettings) a->SetEnabled(!busy);
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
    ProgressForm = new TProgressForm(this, fEvents);
    ProgressForm->OnClosed = [this] { RemoveDockClient(); };
    ProgressForm->OnCancel = [this] { fDM.setCancelling(true); };
    fRunScriptFromGui = false;
    if (fServices.CreateScriptList) {
        fScriptList = fServices.CreateScriptList(this);
        if (fScriptList) {
            fScriptList->ManualDock(DockTabSet1);
            fScriptList->Show();
            DockTabSet1->Collapse();
        }
    }
    if (fServices.FindScripts) {
        try {
            fServices.FindScripts();
        } catch (const std::exception& e) {
            AppLogger().LogDebug("FindScripts", e);
        }
    }
    fPipes.CheckParamStr();
    // A command that closes the program does not start the updater on its way out, nor does a run
    // without a display, where nobody would see its answer.
    if (!TerminateRequested() && !ScreenlessRun()) SearchForUpdatesExecute();
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
    AnExport->SetEnabled(false);
    try {
        fRunner->DefaultImport(ScriptPath(kExportScript), false);
    } catch (...) {
        AnExport->SetEnabled(true);
        throw;
    }
    AnExport->SetEnabled(true);
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
    Panel1->Show();
    EnableTimer2();
    ProcessMessages();
}

void TMainForm::ShowNoUpdateAvailable() {
    fUpdateNotice = TUpdateNotice::LatestInstalled;
    Label1->SetCaption(std::string(kNoUpdateText));
    Button1->Hide();
    Panel1->Show();
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
    Panel1->Hide();
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

void TMainForm::CollapseScriptList() {
    DockTabSet1->Collapse();
}

void TMainForm::ShowEventWindow() {
    Panel2->Hide();
    if (ProgressForm->HostDockSite() != DisplayPanel) ProgressForm->ManualDock(DisplayPanel);
    ProgressForm->Show();
    ProcessMessages();
}

void TMainForm::HideEventWindow() {
    ProgressForm->Hide();
}

void TMainForm::RemoveDockClient() {
    Panel2->Show();
}

void TMainForm::CloseAndTerminate() {
    Close();
    Application().Terminate();
}

}  // namespace tv
