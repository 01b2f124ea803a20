// The plug-in host's tables, catalogue, rule-table events, rule parameters and module timer. The
// rule runs themselves are in rule_run.cpp.

#include "automation/dm_plugins.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "automation/client_tables.h"
#include "automation/folder_tree.h"
#include "automation/rule_folders.h"
#include "core/app_logger.h"
#include "platform/data/key_compare.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/main_thread.h"

namespace tv {
namespace {

constexpr std::string_view kCatalogueFailed = "Plug-in catalogue could not be read: ";
constexpr std::string_view kUnloadFailed = "Plug-in modules could not be unloaded: ";
constexpr std::string_view kMissingService = "The plug-in host has no %s";

// The host's own tables: name, field, type and size, in field order.
constexpr TTableField kHostFields[] = {
    {"CDSAvailablePlugins", "PLUGIN_FILENAME", TFieldType::ftString, 1024},
    {"CDSAvailablePlugins", "PLUGIN_NAME", TFieldType::ftString, 255},
    {"CDSAvailablePlugins", "PLUGIN_FILTER", TFieldType::ftString, 255},
    {"CDSAvailablePlugins", "PLUGIN_ENABLED", TFieldType::ftBoolean, 0},
    {"CDSAvailablePlugins", "PLUGIN_ORDER", TFieldType::ftInteger, 0},
    {"CDSAvailablePlugins", "PLUGIN_VERSION", TFieldType::ftString, 20},
    {"CDSAvailablePlugins", "PLUGIN_AVAILABLE", TFieldType::ftBoolean, 0},
    {"CDSAvailablePlugins", "PLUGIN_ACTIVE", TFieldType::ftBoolean, 0},
    {"ItemTypes", "itemtype", TFieldType::ftString, 30},
    {"ItemTypes", "itemname", TFieldType::ftString, 50},
    {"CDS_TRANSFORMED_FILES", "filename", TFieldType::ftString, 1024},
    {"CDS_TRANSFORMED_FILES", "cachefile", TFieldType::ftString, 1024},
    {"CDSRuleKeyValues", "akey", TFieldType::ftString, 50},
    {"CDSRuleKeyValues", "aValue", TFieldType::ftString, 1024},
};

// The step kinds the rule editor offers: the type and its caption.
constexpr std::pair<std::string_view, std::string_view> kItemTypes[] = {
    {"get", "GET"},
    {"xform", "Transformation"},
    {"put", "Put"},
};

TClientDataSet* MakeHostTable(std::string_view name, TComponent* owner) {
    return MakeClientTable(name, kHostFields, owner);
}

template <class T>
T& Required(T* service, std::string_view name) {
    if (!service) throw Exception(Format(kMissingService, {name}));
    return *service;
}

}  // namespace

TDMPlugins::TDMPlugins(TPluginsContext context, TComponent* owner, TPluginTimings timings)
    : TComponent(owner),
      context_(std::move(context)),
      timings_(std::move(timings)),
      events_(Required(context_.Events, "event tree")),
      rules_(Required(context_.RuleTables, "rule tables")),
      moves_(Required(context_.FileMoves, "rule file moves")),
      timer1_(timings_.UnloadDelayMs, [this] { Timer1Timer(); }) {
    CreateTables();
    moduleManager_.OnAfterUnloadModule = [this](THYModuleManager&, const std::string&) {
        ModuleManagerAfterUnloadModule();
    };
    moduleManager_.OnUnloadCleanup = [](const std::string& fileName, const std::string& text) {
        AppLogger().LogWarn(fileName + ": " + text);
    };
    Rules().BeforePost = [this](TDataSet*) { RulesBeforePost(); };
    Rules().AfterPost = [this](TDataSet*) { RulesAfterPost(); };
    Rules().BeforeDelete = [this](TDataSet*) { RulesBeforeDelete(); };
    Rules().AfterDelete = [this](TDataSet*) { RulesAfterDelete(); };

    fPluginForm.reset();
    for (const auto& [type, name] : kItemTypes) {
        itemTypes_->Append();
        itemTypes_->FieldByName("itemtype").SetAsString(type);
        itemTypes_->FieldByName("itemname").SetAsString(name);
        itemTypes_->Post();
    }
    // An unreadable plug-in folder must not stop the program; a rule run reads it again and raises.
    try {
        FindPlugins();
    } catch (const std::exception& e) {
        AppLogger().LogError(kCatalogueFailed, e);
    }
    allowLoad_ = true;
}

TDMPlugins::~TDMPlugins() {
    SetTimer1Enabled(false);
    Rules().BeforePost = nullptr;
    Rules().AfterPost = nullptr;
    Rules().BeforeDelete = nullptr;
    Rules().AfterDelete = nullptr;
    ReleasePluginForm();
    // Give a module still loaded a moment before it is unloaded with the module manager.
    if (moduleManager_.GetModuleCount() > 0) Sleep(timings_.DestroyWaitMs);
    moduleManager_.OnAfterUnloadModule = nullptr;
}

void TDMPlugins::EmptyTable(TClientDataSet& table) {
    table.Cancel();
    table.EmptyDataSet();
}

void TDMPlugins::CreateTables() {
    availablePlugins_ = MakeHostTable("CDSAvailablePlugins", this);
    itemTypes_ = MakeHostTable("ItemTypes", this);
    transformedFiles_ = MakeHostTable("CDS_TRANSFORMED_FILES", this);
    ruleKeyValues_ = MakeHostTable("CDSRuleKeyValues", this);
}

// ---------------------------------------------------------------- catalogue

void TDMPlugins::FindPlugins() {
    EmptyTable(CDSAvailablePlugins());
    FileSearch(context_.getPluginFolder(), std::string(kPluginModuleMask), true);
}

void TDMPlugins::FileSearch(const std::string& pathName, const std::string& fileName, bool inDir) {
    TClientDataSet& catalogue = CDSAvailablePlugins();
    VisitFolderTree(pathName, inDir, [&](const std::string& folder) {
        for (catalogue.First(); !catalogue.Eof(); catalogue.Next()) {
            catalogue.Edit();
            catalogue.FieldByName("PLUGIN_AVAILABLE").SetAsBoolean(false);
            catalogue.Post();
        }
        for (const std::string& entry : SortedListing(folder, fileName, TListKind::Files)) {
            catalogue.Append();
            catalogue.FieldByName("PLUGIN_FILENAME").SetAsString(folder + entry);
            catalogue.FieldByName("PLUGIN_NAME").SetAsString(ChangeFileExt(entry, ""));
            catalogue.FieldByName("PLUGIN_AVAILABLE").SetAsBoolean(true);
            catalogue.FieldByName("PLUGIN_ACTIVE").SetAsBoolean(false);
            catalogue.Post();
        }
    });
}

// ---------------------------------------------------------------- rule tables

std::string TDMPlugins::getRuleItemFolder() const {
    return IncludeTrailingPathDelimiter(context_.getRuleFolder()) +
           Rules().FieldByName("RuleName").AsString() + PathDelim +
           RuleItems().FieldByName("RULE_ITEM_NAME").AsString();
}

// A name that cannot be a folder is never posted; a rename is noted for after the post.
void TDMPlugins::RulesBeforePost() {
    const TField& name = Rules().FieldByName("RuleName");
    const std::string newName = name.AsString();
    if (!newName.empty()) CheckRuleFolderName(newName);
    renamedFrom_.clear();
    if (Rules().State() != dsEdit) return;
    const Variant old = name.OldValue();
    const std::string oldName = old.IsNull() ? std::string() : old.AsUtf8();
    if (!oldName.empty() && oldName != newName) renamedFrom_ = oldName;
}

// The posted rule gets its folder; a renamed rule takes its items and its folder along.
void TDMPlugins::RulesAfterPost() {
    const std::string name = Rules().FieldByName("RuleName").AsString();
    const std::string oldName = std::exchange(renamedFrom_, {});
    if (name.empty()) throw Exception(std::string(kEmptyRuleName));
    if (!oldName.empty()) {
        TClientDataSet& items = RuleItems();
        items.CheckBrowseMode();
        TRuleTables::TAllItems allItems(rules_);
        std::vector<TBookmark> owned;
        for (items.First(); !items.Eof(); items.Next())
            if (SameFieldText(items.FieldByName("rulename").AsString(), oldName, false))
                owned.push_back(items.GetBookmark());
        for (const TBookmark& item : owned) {
            items.GotoBookmark(item);
            items.Edit();
            items.FieldByName("rulename").SetAsString(name);
            items.Post();
        }
        RenameRuleFolder(context_.getRuleFolder(), oldName, name);
    }
    ForceDirectories(IncludeTrailingPathDelimiter(context_.getRuleFolder()) + name);
}

// The rule's folder goes first; when it cannot, the rule stays.
void TDMPlugins::RulesBeforeDelete() {
    deletedRule_.clear();
    const std::string name = Rules().FieldByName("RuleName").AsString();
    if (name.empty()) return;
    RemoveRuleFolder(context_.getRuleFolder(), name);
    deletedRule_ = name;
}

void TDMPlugins::RulesAfterDelete() {
    const std::string name = std::exchange(deletedRule_, {});
    if (name.empty()) return;
    TClientDataSet& items = RuleItems();
    items.CheckBrowseMode();
    TRuleTables::TAllItems allItems(rules_);
    items.First();
    while (!items.Eof()) {
        if (SameFieldText(items.FieldByName("rulename").AsString(), name, false))
            items.Delete();
        else
            items.Next();
    }
}

// ---------------------------------------------------------------- rule parameters

void TDMPlugins::AddRuleParam(const std::string& aKey, const std::string& aValue) {
    TClientDataSet& params = CDSRuleKeyValues();
    params.Append();
    params.FieldByName("akey").SetAsString(aKey);
    params.FieldByName("aValue").SetAsString(aValue);
    params.Post();
}

void TDMPlugins::ClearRuleParams() {
    EmptyTable(CDSRuleKeyValues());
}

// ---------------------------------------------------------------- module timer

void TDMPlugins::ReleasePluginForm() {
    moduleManager_.ReleaseInstance(fPluginForm);
}

void TDMPlugins::Timer1Timer() {
    SetTimer1Enabled(false);
    ReleasePluginForm();
    try {
        moduleManager_.UnloadModules();
    } catch (const std::exception& e) {
        AppLogger().LogError(kUnloadFailed, e);
    }
    if (moduleManager_.GetModuleCount() == 0) allowLoad_ = true;
}

void TDMPlugins::ModuleManagerAfterUnloadModule() {
    if (moduleManager_.GetModuleCount() == 0) allowLoad_ = true;
}

void TDMPlugins::Sleep(int ms) const {
    if (timings_.Sleep)
        timings_.Sleep(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Loading is allowed again once the module timer has unloaded the previous run's modules; the
// timer runs while events are pumped. A wait the timer could never end starts it.
void TDMPlugins::WaitForLoadAllowed() {
    while (!allowLoad_) {
        if (!timer1_.Enabled()) SetTimer1Enabled(true);
        ProcessMessages();
        Sleep(timings_.WaitStepMs);
    }
}

}  // namespace tv
