#pragma once
// The plug-in host: the catalogue of plug-in modules ("plugin*.so" anywhere under the plug-in
// folder), the rule tables and what their edits do to the rule folders, the parameters of the next
// rule run, and the rule runs. A rule is an ordered chain of steps; each step creates its plug-in
// through the module manager and gets files into "obehandlade", transforms them into temporary
// copies, puts what waits in "skickas", or lets the plug-in act on an event, reporting every move
// into the job's event tree. The modules stay loaded for a while after a run and are unloaded by
// the module timer; the next run waits for that, pumping events.
//
// One instance lives for the whole process. Main thread only.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/event_sink.h"
#include "core/rule_file_moves.h"
#include "core/rule_tables.h"
#include "import/rule_service.h"
#include "platform/data/client_data_set.h"
#include "platform/plugin/module_manager.h"
#include "platform/rtl/component.h"
#include "platform/rtl/files.h"
#include "platform/win/posted_timer.h"

class QWidget;

namespace tv {

inline constexpr std::string_view kPluginModuleMask = "plugin*.so";
// The errors a rule run raises to its caller.
inline constexpr std::string_view kRuleNotFound = "Kunde inte hitta efterfrågad regel ";
inline constexpr std::string_view kPluginNotFound =
    "Kunde inte hitta inställt plugin för överföring av filer : ";
inline constexpr std::string_view kUnknownPluginType = "Ingen känd plugintyp";
// Raised after a rule without a name was posted; the row stays.
inline constexpr std::string_view kEmptyRuleName = "Namnet kan inte vara tomt!";

// What the host works with, from the central data module and the main window.
struct TPluginsContext {
    IEventSink* Events = nullptr;
    // Rules and RuleItems, which the settings store loads and saves.
    TRuleTables* RuleTables = nullptr;
    // The main window's moves of rule files through the work folders.
    TRuleFileMoves* FileMoves = nullptr;
    // Folders with a trailing delimiter.
    std::function<std::string()> getPluginFolder;
    std::function<std::string()> getRuleFolder;
    std::function<std::string()> getPluginTmpFolder;
    // The work folder of a side (WORK_EXPORT, WORK_IMPORT) and subfolder, without a delimiter.
    std::function<std::string(int side, std::string_view subfolder)> getWorkFolder;
    // The debug log file handed to every plug-in.
    std::function<std::string()> getLogFile;
    // The window that plug-in instances of a rule run belong to (the main window); empty or nil for
    // none.
    std::function<QWidget*()> MainWindow;
};

// The host's waits. Tests shorten them and count the sleeps instead of sleeping.
struct TPluginTimings {
    // After a rule run, the module timer unloads the modules this much later.
    int UnloadDelayMs = 2000;
    // A run that must wait for the previous one pumps events, then sleeps this long, until the
    // modules are unloaded.
    int WaitStepMs = 200;
    // The host waits this long after releasing its plug-in at its end.
    int DestroyWaitMs = 1000;
    // Sleeps the main thread; empty: it really sleeps.
    std::function<void(int ms)> Sleep;
};

class TDMPlugins : public TComponent, public IRuleService {
public:
    // Fills ItemTypes, reads the catalogue and allows loading; takes over the rule tables' events.
    explicit TDMPlugins(TPluginsContext context, TComponent* owner = nullptr, TPluginTimings timings = {});
    // Releases the plug-in in use, waits DestroyWaitMs, and unloads every module.
    ~TDMPlugins() override;

    // The folders, event tree and tables the host works with.
    const TPluginsContext& Context() const { return context_; }

    // ---- Tables.
    // PLUGIN_FILENAME, PLUGIN_NAME, PLUGIN_FILTER, PLUGIN_ENABLED, PLUGIN_ORDER, PLUGIN_VERSION,
    // PLUGIN_AVAILABLE, PLUGIN_ACTIVE: one row per module file.
    TClientDataSet& CDSAvailablePlugins() const { return *availablePlugins_; }
    // itemtype, itemname: the step kinds the rule editor offers.
    TClientDataSet& ItemTypes() const { return *itemTypes_; }
    // filename, cachefile: the files of the running rule and their latest transformed copies.
    TClientDataSet& CDS_TRANSFORMED_FILES() const { return *transformedFiles_; }
    // akey, aValue: the parameters of the next rule run.
    TClientDataSet& CDSRuleKeyValues() const { return *ruleKeyValues_; }
    TClientDataSet& Rules() const { return rules_.Rules(); }
    TClientDataSet& RuleItems() const { return rules_.RuleItems(); }
    TDataSource& DSRules() const { return rules_.DSRules(); }

    // ---- Rule runs (the order import's rule service, and the job's "RunRule").
    // Waits until loading is allowed, then runs every step of the rule (name compared without regard
    // to case) with the parameters collected. A missing rule or plug-in, an unknown step type, a
    // get step's failure and a failed move of the run's files end the run and raise; per-file
    // failures of transform and put steps and an event step's failure are reported and the run
    // goes on. The module timer is started in every case.
    void RunRule(const std::string& rulename) override;
    // One step of the current rule item by the plug-in instance in use; releases the instance.
    void RunRulePart(bool first_run, const std::string& ruletype);
    void AddRuleParam(const std::string& aKey, const std::string& aValue) override;
    void ClearRuleParams() override;

    // ---- Catalogue.
    // Empties the catalogue and fills it from the plug-in folder and its sub-folders.
    void FindPlugins();
    // Adds a row for every module file in `pathName` matching `fileName` (in name order), then
    // with `inDir` searches each sub-folder the same way (in name order, each folder once).
    void FileSearch(const std::string& pathName, const std::string& fileName, bool inDir);

    // The settings folder of the current item of the current rule, without a delimiter.
    std::string getRuleItemFolder() const;
    // Releases the plug-in instance in use.
    void ReleasePluginForm();

    // ---- Settings of a rule step (the rule editor).
    // Shows the settings panel of the plug-in of the catalogue's current row in a modal dialog,
    // with its settings in `prefsfolder` (empty: the plug-in temporary folder), loading its module
    // when needed; OK saves the settings, Avbryt cancels them, then the module is tested. The
    // dialog with the panel is freed and the instance released before this returns, so that the
    // module timer may unload the module. A failure raises.
    void DisplaySettings(const std::string& prefsfolder);

    // ---- Module timer and loading.
    THYModuleManager& ModuleManager() { return moduleManager_; }
    bool Timer1Enabled() const { return timer1_.Enabled(); }
    void SetTimer1Enabled(bool enabled) { timer1_.SetEnabled(enabled); }
    // Milliseconds from switching the timer on to its tick.
    int Timer1Interval() const { return timer1_.Interval(); }
    // Switches the timer off, releases the plug-in in use and unloads every module; loading is
    // allowed again once none is loaded.
    void Timer1Timer();
    bool AllowLoad() const { return allowLoad_; }
    // Set by a transformation step during the current run.
    bool RuleXformRun() const { return ruleXformRun_; }

private:
    void CreateTables();
    static void EmptyTable(TClientDataSet& table);
    void Sleep(int ms) const;
    void WaitForLoadAllowed();
    void ModuleManagerAfterUnloadModule();

    void RulesBeforePost();
    void RulesAfterPost();
    void RulesBeforeDelete();
    void RulesAfterDelete();

    // Appends a row to CDS_TRANSFORMED_FILES for every file of the side's "obehandlade" that
    // matches the mask; `folder` gets that folder.
    void CollectUnprocessedFiles(std::string& folder, std::string_view mask, int flag);
    void LoadRulePlugins();
    void HandRuleParams();
    void RunGetStep(int side);
    void RunTransformStep(bool first_run, int side);
    void RunPutStep(int side);
    void RunEventStep();
    std::string UnprocessedFolder(int side) const;

    TPluginsContext context_;
    TPluginTimings timings_;
    IEventSink& events_;
    TRuleTables& rules_;
    TRuleFileMoves& moves_;
    TClientDataSet* availablePlugins_ = nullptr;
    TClientDataSet* itemTypes_ = nullptr;
    TClientDataSet* transformedFiles_ = nullptr;
    TClientDataSet* ruleKeyValues_ = nullptr;
    THYModuleManager moduleManager_;
    TPluginRef<IHYVisualPlugin> fPluginForm;
    bool ruleXformRun_ = false;
    bool allowLoad_ = true;
    TPostedTimer timer1_;
    // The name a rule had before the edit being posted; empty for a new rule or the same name.
    std::string renamedFrom_;
    // The name of the rule being deleted, whose items go with it.
    std::string deletedRule_;
};

}  // namespace tv
