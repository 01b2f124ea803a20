#include "automation/form_rule_maker.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <span>

#include "automation/client_tables.h"
#include "automation/dm_plugins.h"
#include "automation/rule_folders.h"
#include "controls/xdb_grid.h"
#include "core/app_logger.h"
#include "core/text_log.h"
#include "platform/data/data_source.h"
#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/form_parts.h"
#include "platform/gui/label.h"
#include "platform/gui/panel.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/text_compare.h"

namespace tv {
namespace {

constexpr std::string_view kCurrentRuleTable = "CurrentRule";
// currentPlugin holds a catalogue PLUGIN_NAME and so is as long as one.
constexpr TTableField kCurrentRuleFields[] = {
    {kCurrentRuleTable, "currentPlugin", TFieldType::ftString, 255},
    {kCurrentRuleTable, "rulename", TFieldType::ftString, 255},
};

// The step type shown for a plug-in, by the beginning of its name.
constexpr std::pair<std::string_view, std::string_view> kStepTypes[] = {
    {"plugin_get", "get"},
    {"plugin_put", "put"},
    {"plugin_xform", "xform"},
    {"plugin_transform", "xform"},
};

// Step names are numbers below this.
constexpr int kItemNameCount = 32000;
constexpr std::string_view kNoFreeItemName = "The rule has no free step name left";

struct TColumnDef {
    const char* Field;
    const char* Title;  // nil: the column is hidden
    int Width;          // 0: the default
};

constexpr TColumnDef kRuleColumns[] = {
    {"RuleName", "Regel", 180},
    {"RULE_DESCRIPTION", nullptr, 0},
    {"RULE_IMPORT_OR_EXPORT", "Import", 50},
};

constexpr TColumnDef kItemColumns[] = {
    {"rulename", nullptr, 0},
    {"RULE_ITEM_ORDER", "#", 30},
    {"RULE_ITEM_PLUGIN_NAME", "Plugin", 121},
    {"RULE_ITEM_PLUGIN_TYPE", "Typ", 50},
    {"RULE_ITEM_DESCRIPTION", "Beskrivning", 194},
    {"RULE_ITEM_NAME", "Namn", 103},
};

void AddColumns(TXDBGrid& grid, std::span<const TColumnDef> columns) {
    for (const TColumnDef& def : columns) {
        TXColumn* column = grid.Columns()->Add();
        column->SetFieldName(def.Field);
        if (!def.Title) {
            column->SetVisible(false);
            continue;
        }
        column->Title()->SetCaption(def.Title);
        if (def.Width > 0) column->SetWidth(def.Width);
    }
}

// The greatest order number and the names of the current rule's steps, the cursor kept where it is.
struct TRuleSteps {
    int MaxOrder = 0;
    std::set<std::string> Names;
};

TRuleSteps ScanRuleSteps(TClientDataSet& items) {
    TRuleSteps steps;
    if (items.IsEmpty()) return steps;
    const TBookmark place = items.GetBookmark();
    items.DisableControls();
    try {
        for (items.First(); !items.Eof(); items.Next()) {
            steps.MaxOrder = std::max(steps.MaxOrder, items.FieldByName("RULE_ITEM_ORDER").AsInteger());
            steps.Names.insert(items.FieldByName("RULE_ITEM_NAME").AsString());
        }
        items.GotoBookmark(place);
    } catch (...) {
        items.EnableControls();
        throw;
    }
    items.EnableControls();
    return steps;
}

}  // namespace

const TClassInfo& TFormRuleMaker::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormRuleMaker>("TFormRuleMaker").Build();
    return info;
}

TFormRuleMaker::TFormRuleMaker(TComponent* AOwner, TDMPlugins& plugins) : TForm(AOwner), plugins_(plugins) {
    SetName("FormRuleMaker");
    CreateComponents();
}

TFormRuleMaker::~TFormRuleMaker() {
    GuiTimer->SetEnabled(false);
    // The grids let go of the tables before the link is made again.
    delete XDBGrid1;
    delete XDBGrid2;
    delete DBLookupListBox2;
    plugins_.RuleItems().SetMasterSource(&plugins_.DSRules());
}

TAction* TFormRuleMaker::NewAction(const char* name, std::string_view caption, void (TFormRuleMaker::*run)()) {
    return tv::NewAction(ActionList1, name, caption,
                         run ? std::function<void()>([this, run] { (this->*run)(); }) : std::function<void()>());
}

void TFormRuleMaker::CreateComponents() {
    SetCaption(std::string(kRuleMakerCaption));
    SetBounds(0, 0, 600, 520);

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    AddPlugin = NewAction("AddPlugin", "Lägg till markerad", &TFormRuleMaker::AddPluginExecute);
    ShowSettings = NewAction("ShowSettings", "Inställningar", &TFormRuleMaker::ShowSettingsExecute);
    RemovePlugin = NewAction("RemovePlugin", "Ta bort plugin", &TFormRuleMaker::RemovePluginExecute);
    // Has no handler, and so is never enabled.
    RemoveRule = NewAction("RemoveRule", "Ta bort regel", nullptr);
    RemoveRule->SetEnabled(false);

    GuiTimer = new TTimer(this);
    GuiTimer->SetName("GuiTimer");
    GuiTimer->SetEnabled(false);
    GuiTimer->OnTimer = [this](TObject*) { GuiTimerTimer(); };

    CurrentRule = MakeClientTable(kCurrentRuleTable, kCurrentRuleFields, this);
    CurrentRule->Append();
    CurrentRule->Post();
    DSCurrentRule = new TDataSource(this);
    DSCurrentRule->SetName("DSCurrentRule");
    DSCurrentRule->SetDataSet(CurrentRule);
    DSAvailablePlugins = new TDataSource(this);
    DSAvailablePlugins->SetName("DSAvailablePlugins");
    DSAvailablePlugins->SetDataSet(&plugins_.CDSAvailablePlugins());
    dsruleitems = new TDataSource(this);
    dsruleitems->SetName("dsruleitems");
    dsruleitems->SetDataSet(&plugins_.RuleItems());

    // Above: the rules on the left, the catalogue of plug-ins on the right.
    RulesPanel = Placed<TPanel>(this, this, "RulesPanel", alTop);
    RulesPanel->SetCaption("");
    RulesPanel->SetBevelOuter(bvNone);
    RulesPanel->SetHeight(220);
    RuleListPanel = Placed<TPanel>(this, RulesPanel, "RuleListPanel", alLeft);
    RuleListPanel->SetCaption("");
    RuleListPanel->SetBevelOuter(bvNone);
    RuleListPanel->SetWidth(300);
    RuleBar = Placed<TActionBar>(this, RuleListPanel, "RuleBar", alTop);
    RuleBar->AddAction(RemoveRule, "T&a bort regel");
    XDBGrid2 = Placed<TXDBGrid>(this, RuleListPanel, "XDBGrid2", alClient);
    AddColumns(*XDBGrid2, kRuleColumns);
    TXColumn* side = XDBGrid2->Columns()->Items(2);
    side->SetCheckBox(true);
    side->SetCheckBoxValues("1;0");
    XDBGrid2->SetDataSource(&plugins_.DSRules());

    PluginPanel = Placed<TPanel>(this, RulesPanel, "PluginPanel", alClient);
    PluginPanel->SetCaption("");
    PluginPanel->SetBevelOuter(bvNone);
    StaticText1 = Placed<TLabel>(this, PluginPanel, "StaticText1", alTop);
    StaticText1->SetCaption("Tillgängliga plugin");
    DBLookupListBox2 = Placed<TDBLookupListBox>(this, PluginPanel, "DBLookupListBox2", alClient);
    DBLookupListBox2->SetDataSource(DSCurrentRule);
    DBLookupListBox2->SetDataField("currentPlugin");
    DBLookupListBox2->SetListSource(DSAvailablePlugins);
    DBLookupListBox2->SetKeyField("PLUGIN_NAME");
    DBLookupListBox2->SetListField("PLUGIN_NAME");

    // Below: the steps of the current rule under their actions.
    ItemBar = Placed<TActionBar>(this, this, "ItemBar", alTop);
    ItemBar->AddAction(AddPlugin, "&Lägg till markerad");
    ItemBar->AddAction(ShowSettings, "&Inställningar");
    ItemBar->AddAction(RemovePlugin, "&Ta bort plugin");
    XDBGrid1 = Placed<TXDBGrid>(this, this, "XDBGrid1", alClient);
    AddColumns(*XDBGrid1, kItemColumns);
    XDBGrid1->SetDataSource(dsruleitems);
}

std::string TFormRuleMaker::StepTypeOf(std::string_view pluginName) {
    for (const auto& [prefix, type] : kStepTypes)
        if (pluginName.size() >= prefix.size() && AnsiSameText(pluginName.substr(0, prefix.size()), prefix))
            return std::string(type);
    return {};
}

std::string TFormRuleMaker::NewRuleItemName(const std::set<std::string>& taken) {
    // One generator for the process, seeded once from the clock.
    static std::mt19937 generator(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> draw(0, kItemNameCount - 1);
    if (taken.size() >= static_cast<size_t>(kItemNameCount)) throw Exception(std::string(kNoFreeItemName));
    for (;;) {
        std::string name = std::to_string(draw(generator));
        if (!taken.contains(name)) return name;
    }
}

void TFormRuleMaker::AddPluginExecute() {
    TClientDataSet& items = plugins_.RuleItems();
    const TRuleSteps steps = ScanRuleSteps(items);
    const std::string plugin = CurrentRule->FieldByName("currentPlugin").AsString();
    items.Append();
    items.FieldByName("RULE_ITEM_NAME").SetAsString(NewRuleItemName(steps.Names));
    items.FieldByName("rulename").SetAsString(plugins_.Rules().FieldByName("RuleName").AsString());
    items.FieldByName("RULE_ITEM_PLUGIN_NAME").SetAsString(plugin);
    const std::string type = StepTypeOf(plugin);
    if (!type.empty()) items.FieldByName("RULE_ITEM_PLUGIN_TYPE").SetAsString(type);
    items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(steps.MaxOrder + 1);
    items.Post();
}

void TFormRuleMaker::RemovePluginExecute() {
    TClientDataSet& items = plugins_.RuleItems();
    if (!items.IsEmpty()) items.Delete();
}

void TFormRuleMaker::ShowSettingsExecute() {
    Screen().SetCursor(crHourGlass);
    ShowSettings->SetEnabled(false);
    try {
        // A name typed into a rule not yet posted has not been checked yet.
        CheckRuleFolderName(plugins_.Rules().FieldByName("RuleName").AsString());
        const std::string folder = plugins_.getRuleItemFolder();
        ForceDirectories(folder);
        // Only the step's own plug-in may show its panel and keep settings in the step's folder.
        const std::string plugin = plugins_.RuleItems().FieldByName("RULE_ITEM_PLUGIN_NAME").AsString();
        if (!plugins_.CDSAvailablePlugins().Locate("PLUGIN_NAME", Variant::FromUtf8(plugin)))
            throw Exception(std::string(kPluginNotFound) + plugin);
        plugins_.DisplaySettings(folder);
    } catch (const std::exception& e) {
        WriteToLog(e.what());
    }
    GuiTimer->SetInterval(static_cast<uint32_t>(plugins_.Timer1Interval() + kSettingsReopenMarginMs));
    plugins_.SetTimer1Enabled(true);
    GuiTimer->SetEnabled(true);
}

void TFormRuleMaker::GuiTimerTimer() {
    ShowSettings->SetEnabled(true);
    Screen().SetCursor(crDefault);
}

void TFormRuleMaker::WriteToLog(const std::string& text) const {
    try {
        WriteLog(plugins_.Context().getLogFile(), text, true, true);
    } catch (const std::exception& e) {
        AppLogger().LogError(text, e);
    }
}

}  // namespace tv
