#pragma once
// The rule editor, the settings window's page "Regelmakaren": the rules with their side, the
// catalogue of plug-ins, and the steps of the current rule, all edited straight in the plug-in
// host's tables; a step's plug-in shows its own settings in a dialog.

#include <set>
#include <string>
#include <string_view>

#include "platform/gui/form.h"

namespace tv {

class TAction;
class TActionBar;
class TActionList;
class TClientDataSet;
class TDataSource;
class TDBLookupListBox;
class TDMPlugins;
class TLabel;
class TPanel;
class TTimer;
class TXDBGrid;

inline constexpr std::string_view kRuleMakerCaption = "Regelmakaren";
// Waited beyond the module timer before a step's settings may be opened again.
inline constexpr int kSettingsReopenMarginMs = 500;

class TFormRuleMaker : public TForm {
    TV_CLASS(TFormRuleMaker, TForm)
public:
    TFormRuleMaker(TComponent* AOwner, TDMPlugins& plugins);
    // Links the rule items to the rules again.
    ~TFormRuleMaker() override;

    // "Lägg till markerad": a step of the plug-in chosen in the list, after the rule's last one.
    void AddPluginExecute();
    // "Ta bort plugin": deletes the current step at once; its settings folder stays.
    void RemovePluginExecute();
    // "Inställningar": the current step's plug-in shows its settings, kept in the step's folder;
    // failures go to the log file. The action comes back once the module timer has unloaded the
    // plug-in.
    void ShowSettingsExecute();
    void GuiTimerTimer();

    // The step type an operator sees for a plug-in, from the prefix of its name (letters in any
    // case): "get", "put", "xform", or empty for none of the known prefixes.
    static std::string StepTypeOf(std::string_view pluginName);

    TActionList* ActionList1 = nullptr;
    TAction* AddPlugin = nullptr;
    TAction* ShowSettings = nullptr;
    TAction* RemovePlugin = nullptr;
    TAction* RemoveRule = nullptr;
    TPanel* RulesPanel = nullptr;
    TPanel* RuleListPanel = nullptr;
    TActionBar* RuleBar = nullptr;
    TXDBGrid* XDBGrid2 = nullptr;
    TPanel* PluginPanel = nullptr;
    TLabel* StaticText1 = nullptr;
    TDBLookupListBox* DBLookupListBox2 = nullptr;
    TActionBar* ItemBar = nullptr;
    TXDBGrid* XDBGrid1 = nullptr;
    TClientDataSet* CurrentRule = nullptr;
    TDataSource* DSCurrentRule = nullptr;
    TDataSource* DSAvailablePlugins = nullptr;
    TDataSource* dsruleitems = nullptr;
    TTimer* GuiTimer = nullptr;

private:
    void CreateComponents();
    TAction* NewAction(const char* name, std::string_view caption, void (TFormRuleMaker::*run)());
    // A number from 0 to 31999, as text, that no step of the current rule has as its name.
    std::string NewRuleItemName(const std::set<std::string>& taken);
    void WriteToLog(const std::string& text) const;

    TDMPlugins& plugins_;
};

}  // namespace tv
