#pragma once
// The script list: a tool window, docked into the main window, that lists the catalogue of job
// scripts by name and runs the chosen one as an interactive job ("Kör").

#include <functional>
#include <string>
#include <string_view>

#include "platform/gui/form.h"

namespace tv {

class TAction;
class TActionList;
class TButton;
class TDataSource;
class TDMScripts;
class TPanel;
class TXDBGrid;

inline constexpr std::string_view kScriptListCaption = "Scripts";
inline constexpr std::string_view kRunCaption = "Kör";
inline constexpr std::string_view kScriptGone = "Filen finns inte längre: ";

// Runs a script file; the flag says whether the run came from the command line (here: never).
using TScriptRunner = std::function<void(const std::string& scriptName, bool fromCmd)>;

class TFormRunScripts : public TForm {
    TV_CLASS(TFormRunScripts, TForm)
public:
    TFormRunScripts(TComponent* AOwner, TDMScripts& scripts, TScriptRunner runScript);

    // "Kör": nothing on an empty catalogue; the selected script through the runner when its file
    // exists, else an error box with its path.
    void RunExecute();

    TActionList* ActionList1 = nullptr;
    TAction* Run = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* RunButton = nullptr;
    TXDBGrid* DBLScripts = nullptr;
    TDataSource* DSScripts = nullptr;

private:
    TDMScripts& scripts_;
    TScriptRunner runScript_;
};

}  // namespace tv
