#pragma once
// The job commands behind the main window: choosing the script a command asks for, running it
// through a script host, and the job API's operations that open and close a job's connections and
// its section of the event tree. TMainForm hands these to one TJobRunner; the runner reaches the
// window, the central data module and the script host through the small interfaces below, so it
// runs (and is tested) without any of them.
//
// Only one job runs at a time (TJobGuard): a command that arrives while one runs, for example
// handed over by a second start while a report pumps messages, waits and runs after it.

#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "core/event_sink.h"
#include "core/script_host.h"
#include "core/xml_command_helper.h"
#include "platform/rtl/dialog_service.h"

namespace tv {

inline constexpr std::string_view kImportScript = "import/default_import.pas";
inline constexpr std::string_view kExportScript = "export/default_export.pas";

inline constexpr std::string_view kLogLoadingScript = "Laddar script[";
inline constexpr std::string_view kLogRunningScript = "Kör script [%s]";
inline constexpr std::string_view kLogScriptException = "Fel uppstod vid script: ";
inline constexpr std::string_view kCompileFailedQuestion = "Kompilering av script misslyckades";
inline constexpr std::string_view kExecutionFailedMessage = "Fel uppstod när script kördes.";
inline constexpr std::string_view kErrorMessagePrefix = "Fel";
inline constexpr std::string_view kStartItem = "Start ";
inline constexpr std::string_view kConnectingCaption = "Ansluter till Visma";
inline constexpr std::string_view kVismaTidLine = "Visma tid";
inline constexpr std::string_view kFinishedItem = "Avslutad";
// Logged for a command's arguments that it did not take, and for a job switch without its value.
inline constexpr std::string_view kLogUnknownSwitch = "Unknown switch ignored: ";
inline constexpr std::string_view kLogArgumentIgnored = "Argument ignored: ";
inline constexpr std::string_view kLogNoScriptNamed = "/runscript names no script to run";

// What the job commands use of the central data module.
class IJobDataModule {
public:
    virtual ~IJobDataModule() = default;
    // The script folder, without a trailing delimiter.
    virtual std::string getScriptFolder() = 0;
    // Keeps a copy of the command being handled (`getCommandLineSelection` reads it).
    virtual void SetLastCommand(std::unique_ptr<TXmlCommandHelper> command) = 0;
    // The "Visma Tid" setting TIDActivated.
    virtual bool TidActivated() = 0;
    virtual void connectSPCS() = 0;
    virtual void openADK() = 0;
    virtual void connectODBC() = 0;
    virtual void connectVismaTid(bool ignoreDatabase) = 0;
    virtual void closeADK() = 0;
    virtual void disconnectODBC() = 0;
    virtual void disconnectSPCSSRC() = 0;
    // Puts everything written to the company on the disk before a job reports its end; raises
    // when it cannot.
    virtual void MakeWritesDurable() {}
};

// What the job commands use of the main window.
class IJobWindow {
public:
    virtual ~IJobWindow() = default;
    // A run is interactive exactly when the main window is visible.
    virtual bool Interactive() const = 0;
    virtual void CollapseScriptList() = 0;
    // Hides the button panel and fills the display panel with the event window; pumps messages.
    virtual void ShowEventWindow() = 0;
    virtual void HideEventWindow() = 0;
    // Closes the main window and ends the program (also before its message loop has started).
    virtual void CloseAndTerminate() = 0;
};

class TJobRunner {
public:
    // Without `dialogs` the process-wide dialog service is asked each time.
    TJobRunner(IJobDataModule& dm, IJobWindow& window, IEventSink& events, TScriptHostFactory hosts,
               IDialogService* dialogs = nullptr);
    ~TJobRunner();
    TJobRunner(const TJobRunner&) = delete;
    TJobRunner& operator=(const TJobRunner&) = delete;

    // The OnNewCommand handler: keeps a copy of the command, runs the script that "/export",
    // "/import" or "/runscript" names (the last of them that is present wins), then closes the
    // program when one of them was given, unless "/nevershutdown" was. A command that arrives while
    // a job runs is kept and handled when that job has ended. Arguments the command did not take
    // are logged as warnings; a "/runscript" that names no script is a failed job.
    void HandleCommand(const TXmlCommandHelper& command);
    // The script list's and "Kör annat script"'s run: without a name, and only from the window, the
    // open dialog asks for one. A failure outside the script is reported at level 2.
    void RunScript(const std::string& scriptName, bool keepList, bool fromGui = false);
    // Runs one job script through a new script host; failures are logged, and shown in an
    // interactive run. False when a job was already running and this one was refused.
    bool DefaultImport(const std::string& script, bool keepList);

    // The job API of the window.
    void InitiateImport();
    void FinalizeImport();
    void GFXSetFileName(std::string_view fileName);
    void GFXCloseSection();
    void GFXClearProgressForm();
    void GFXHideProgressForm();

    // The script a command names ("" for none) and whether the program closes after it.
    struct TCommandChoice {
        std::string Script;
        bool CloseAfterwards = false;
    };
    TCommandChoice ChooseScript(const TXmlCommandHelper& command);

    // True when the last job failed to compile, failed in execution or raised, or named no script:
    // a command-line run then ends with exit status 1.
    bool LastJobFailed() const { return fLastJobFailed; }
    bool AnyJobFailed() const { return fAnyJobFailed; }
    // True once a job has run (whatever its outcome).
    bool AnyJobRan() const { return fAnyJobRan; }
    // True once a command asked the program to close.
    bool TerminateRequested() const { return fTerminateRequested; }

private:
    void RunPendingCommands();
    bool RunJob(IScriptHost& host, const std::string& script);

    IJobDataModule& fDM;
    IJobWindow& fWindow;
    IEventSink& fEvents;
    TScriptHostFactory fHosts;
    IDialogService& Dialogs() const { return fDialogs ? *fDialogs : DialogService(); }

    IDialogService* fDialogs;
    std::deque<std::unique_ptr<TXmlCommandHelper>> fPending;
    bool fLastJobFailed = false;
    bool fAnyJobFailed = false;
    bool fAnyJobRan = false;
    bool fTerminateRequested = false;
    std::shared_ptr<TJobRunner*> fSelf;  // what posted work finds; nil once the runner is gone
};

}  // namespace tv
