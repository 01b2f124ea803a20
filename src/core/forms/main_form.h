#pragma once
// The operator's window and the place every job starts and ends: it handles commands (its own
// command line at start-up, or one handed over by a second start), runs job scripts through the job
// runner, offers the job API's operations that open and close a job's connections and its event
// tree, and holds the operator's actions. Jobs run on the main thread from start to end; a command
// job runs while the window is being made, before it is first shown.

#include <memory>
#include <string>
#include <string_view>

#include "core/dm_pipes.h"
#include "core/event_tree.h"
#include "core/forms/main_form_services.h"
#include "core/forms/progress_form.h"
#include "core/job_runner.h"
#include "core/main_dm.h"
#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/dock_tab_set.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/label.h"
#include "platform/gui/menu.h"
#include "platform/gui/panel.h"

namespace tv {

inline constexpr std::string_view kMainFormCaption = "%s %s %d.%d.%d";
inline constexpr std::string_view kCaptionInstance = " - (";
inline constexpr std::string_view kMenuArkiv = "&Arkiv";
inline constexpr std::string_view kMenuHelp = "Hj&älp";

// What the update notice shows.
enum class TUpdateNotice { Hidden, UpdateAvailable, LatestInstalled };

class TMainForm : public TForm, public IJobWindow {
    TV_CLASS(TMainForm, TForm)
public:
    // Makes the window (hidden) and does what its creation does: the caption, the command handler,
    // the settings loaded, the event window, the script list, the start-up command (whose job runs
    // now) and, unless that command closes the program, the update check.
    TMainForm(TComponent* AOwner, TMainDM& dm, TDMPipes& pipes, TEventTree& events,
              const TMainFormServices& services = MainFormServices());
    ~TMainForm() override;

    // ---- job API (bound into the script engine) ----
    void InitiateImport() { fRunner->InitiateImport(); }
    void FinalizeImport() { fRunner->FinalizeImport(); }
    void GFXSetFileName(std::string_view fileName) { fRunner->GFXSetFileName(fileName); }
    void GFXCloseSection() { fRunner->GFXCloseSection(); }
    void GFXClearProgressForm() { fRunner->GFXClearProgressForm(); }
    void GFXHideProgressForm() { fRunner->GFXHideProgressForm(); }
    // The rule runner's file moves.
    TRuleFileMoves& RuleFileMoves() const { return fDM.RuleFileMoves(); }

    // ---- commands ----
    void HandleCommand(TObject* Sender, TXmlCommandHelper* Command);
    void RunScript(const std::string& scriptName, bool keepList);
    void DefaultImport(const std::string& script, bool keepList) { fRunner->DefaultImport(script, keepList); }

    // ---- actions ----
    void ImportExecute();
    void AnExportExecute();
    void RunNoNListedScriptExecute();
    void ImportFolderExecute();
    void GotoExportExecute();
    void showSettingsExecute();
    void ExitApplicationExecute();
    void showAboutExecute();
    void DebugExecute();
    // The update check (run at creation) and the update run.
    void SearchForUpdatesExecute();
    void Action1Execute();
    void ShowUpdateAvailable();
    void ShowNoUpdateAvailable();
    void Timer2Timer();
    TUpdateNotice UpdateNotice() const { return fUpdateNotice; }

    // ---- the job runner's view of the window ----
    bool Interactive() const override;
    void CollapseScriptList() override;
    void ShowEventWindow() override;
    void HideEventWindow() override;
    void CloseAndTerminate() override;

    TJobRunner& Runner() const { return *fRunner; }
    // The process's exit status after a command asked it to close: 1 when a job failed (or the
    // settings could not be loaded for it), else 0.
    int ExitCode() const;
    bool TerminateRequested() const { return fRunner->TerminateRequested(); }
    // The settings could not be loaded at creation; jobs are refused.
    bool SettingsFailed() const { return fSettingsFailed; }
    // The event window is closed: the button panel shows again.
    void RemoveDockClient();

    // ---- components ----
    TProgressForm* ProgressForm = nullptr;
    TActionList* ActionManager1 = nullptr;
    TAction* showSettings = nullptr;
    TAction* ExitApplication = nullptr;
    TAction* showAbout = nullptr;
    TAction* Import = nullptr;
    TAction* AnExport = nullptr;
    TAction* RunNoNListedScript = nullptr;
    TAction* ImportFolder = nullptr;
    TAction* GotoExport = nullptr;
    TAction* SearchForUpdates = nullptr;
    TAction* Action1 = nullptr;
    TAction* Debug = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TActionBar* ActionMainMenuBar1 = nullptr;
    TDockTabSet* DockTabSet1 = nullptr;
    TPanel* DisplayPanel = nullptr;
    TPanel* Panel2 = nullptr;
    TImage* Image1 = nullptr;
    TBitBtn* PngBitBtn1 = nullptr;
    TBitBtn* PngBitBtn2 = nullptr;
    TBitBtn* PngBitBtn3 = nullptr;
    TBitBtn* PngBitBtn4 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr;

private:
    void CreateComponents();
    void FormCreate();
    TAction* NewAction(const char* name, std::string_view caption, void (TMainForm::*run)());
    TBitBtn* NewPictureButton(const char* name, TAction* action, int left, int color, char letter);
    // Job and settings actions are off while a job runs.
    void JobBusyChanged(bool busy);
    std::string ScriptPath(std::string_view relative) const;
    void EnableTimer2();
    void ArmTimer2();

    TMainDM& fDM;
    TDMPipes& fPipes;
    TEventTree& fEvents;
    TMainFormServices fServices;
    std::unique_ptr<TJobRunner> fRunner;
    TForm* fScriptList = nullptr;
    bool fRunScriptFromGui = false;
    bool fSettingsFailed = false;
    TUpdateNotice fUpdateNotice = TUpdateNotice::Hidden;
    bool fTimer2Enabled = false;
    std::shared_ptr<TMainForm*> fSelf;  // what the update check's answer and timers find
};

// The process's main window, once made.
TMainForm* MainForm();

}  // namespace tv
