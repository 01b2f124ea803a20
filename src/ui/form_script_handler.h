#pragma once
// The script host: the form every job runs in (made hidden, one for each job) and the "Scripter"
// page, a plain script editor with Load, Save and Compile, the compiler's messages and the job
// API's reference list. The job itself runs in its engine side (TScriptHandlerEngine), which knows
// no widgets; the settings window docks the form as a page.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/script_handler_engine.h"
#include "core/script_host.h"
#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/button.h"
#include "platform/gui/dock_tab_set.h"
#include "platform/gui/form.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/gui/memo.h"
#include "platform/gui/panel.h"
#include "platform/gui/status_bar.h"

namespace tv {

inline constexpr std::string_view kScripterCaption = "Scripter";
inline constexpr std::string_view kCompilerMessagesText = "Compiler Messages";
inline constexpr std::string_view kReferenceListCaption = "Reference List";
inline constexpr std::string_view kLinePrefix = "Ln: ";
inline constexpr std::string_view kCompiledOk = "OK";

class TFormScriptHandler : public TForm, public IScriptHost {
    TV_CLASS(TFormScriptHandler, TForm)
public:
    // Made hidden, with the job API bound as `api` says.
    TFormScriptHandler(TComponent* AOwner, TJobApi api);
    ~TFormScriptHandler() override;

    TScriptHandlerEngine Engine;
    script::TPSScript& PSScript1 = Engine.PSScript1;
    // The folder the Load dialog starts in (the script folder); none when unset.
    std::function<std::string()> ScriptFolder;

    // ---- what a job uses (IScriptHost) ----
    // The file into the script component and the editor, then the reference list refreshed.
    void LoadScript(const std::string& fileName) override;
    bool Compile() override { return PSScript1.Compile(); }
    std::vector<std::string> CompilerMessages() const override;
    bool Execute() override { return PSScript1.Execute(); }
    // The run-time error; after a compile that failed, "Script is not compiled" (the engine itself
    // records no error for a run of nothing).
    std::string ExecErrorToString() const override;
    void ShowModal() override { TForm::ShowModal(); }

    // ---- the editor ----
    void FormCreate();
    void FormResize();
    void ALoadScriptExecute();
    void SaveScriptExecute();
    void CompileExecute();
    void ListBox1DblClick();
    // Memo1's click, key and mouse-entry handlers: "Ln: " and the line of the selection start.
    void ShowSelectionLine();

    TActionList* ActionList1 = nullptr;
    TAction* ALoadScript = nullptr;
    TAction* SaveScript = nullptr;
    TAction* CompileAction = nullptr;  // the action named "Compile"
    TAction* ExecuteScript = nullptr;  // has no handler, so it is never enabled
    TActionBar* ActionBar1 = nullptr;
    TLabel* HeadingLabel = nullptr;
    TMemo* Memo1 = nullptr;
    TPanel* BottomPanel = nullptr;
    TPanel* ButtonPanel = nullptr;
    TButton* CompileButton = nullptr;
    TMemo* MemoMessages = nullptr;
    TDockTabSet* DockTabSet1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;

private:
    void CreateComponents();
    TAction* NewAction(const char* name, std::string_view caption, void (TFormScriptHandler::*run)());
};

}  // namespace tv
