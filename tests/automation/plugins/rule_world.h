#pragma once
// A settings root of the test's own ("/workfolder") with copies of the sample plug-in modules in
// its "plugins" folder, a central data module over it, and the plug-in host on that module with
// waits that only count: the module timer is due at once, and every sleep is written into the
// event lines as "(sleep <ms>, modules <n>)". Temporary copies are made in the root's "systmp".
// The trace of the world (rule_trace.h) is what scenario tests compare.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/dm_plugins.h"
#include "automation/plugins_context.h"
#include "core/main_dm.h"
#include "platform/win/main_thread.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/platform/plugin/plugin_test_support.h"
#include "tests/support/captured_log.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scoped_env.h"

namespace tv::test {

inline constexpr const char* kSamplePlugins[] = {"plugin_get_folder", "plugin_xform_upper",
                                                 "plugin_put_folder", "plugin_onevent_marker",
                                                 "plugin_bad_type",   "plugin_put_nointerface"};

// One step of a rule: its order, its item name (its settings folder) and its plug-in, with the
// settings its plug-in finds there.
struct TRuleStep {
    int Order;
    int ItemName;
    std::string Plugin;
    std::vector<std::pair<std::string, std::string>> Settings = {};
};

class RuleWorld {
public:
    RuleWorld() {
        for (const char* plugin : kSamplePlugins) plugins.Install({plugin});
        plugins.dir.Write("tables/ooi.table", "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n");
        plugins.dir.MakeFolder("systmp");
        events.RecordSteps = true;
        dm = std::make_unique<TMainDM>(events, nullptr, false);
        dm->loadSettings();
        TClientDataSet& general = dm->InstallningarCDS();
        general.Edit();
        general.FieldByName("DEBUG_LOG_TO_FILE").SetAsString(Root() + "/logs/debug.txt");
        general.Post();
        MakeHost();
        events.Lines.clear();
    }
    ~RuleWorld() {
        host.reset();
        dm.reset();
        ProcessMainThreadQueue();
    }

    // The host again, as a new start makes it (after the one before is gone).
    void MakeHost() {
        host.reset();
        TPluginTimings timings;
        timings.UnloadDelayMs = 0;
        timings.Sleep = [this](int ms) {
            events.Lines.push_back("(sleep " + std::to_string(ms) + ", modules " +
                                   std::to_string(host ? host->ModuleManager().GetModuleCount() : 0) + ")");
            if (++sleeps > 50) throw std::runtime_error("the rule run waits for ever");
        };
        host = std::make_unique<TDMPlugins>(MakePluginsContext(*dm), nullptr, timings);
    }

    // The settings root, without a delimiter.
    std::string Root() const { return plugins.dir.Root(); }

    // A rule (side WORK_EXPORT or WORK_IMPORT) with its steps; each step's settings are written
    // into its settings folder as the sample plug-ins read them.
    void AddRule(const std::string& name, int side, std::initializer_list<TRuleStep> steps) {
        TClientDataSet& rules = host->Rules();
        rules.Append();
        rules.FieldByName("RuleName").SetAsString(name);
        rules.FieldByName("RULE_IMPORT_OR_EXPORT").SetAsInteger(side);
        rules.Post();
        TClientDataSet& items = host->RuleItems();
        for (const TRuleStep& step : steps) {
            items.Append();
            items.FieldByName("rulename").SetAsString(name);
            items.FieldByName("RULE_ITEM_NAME").SetAsInteger(step.ItemName);
            items.FieldByName("RULE_ITEM_PLUGIN_NAME").SetAsString(step.Plugin);
            items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(step.Order);
            items.Post();
            if (step.Settings.empty()) continue;
            std::string ini = "[settings]\r\n";
            for (const auto& [key, value] : step.Settings) ini += key + "=" + value + "\r\n";
            plugins.dir.Write(
                "rules/" + name + "/" + std::to_string(step.ItemName) + "/" + step.Plugin + ".ini", ini);
        }
    }

    // Runs the rule; the outcome is written into the event lines: "=> ok" or "=> raised: <text>",
    // with the modules still loaded.
    void Run(const std::string& rule) {
        std::string outcome = "ok";
        try {
            host->RunRule(rule);
        } catch (const std::exception& e) {
            outcome = std::string("raised: ") + e.what();
        }
        events.Lines.push_back("=> " + outcome + " (modules " +
                               std::to_string(host->ModuleManager().GetModuleCount()) + ")");
    }

    PluginRoot plugins;
    StartupFolders folders{{"/workfolder", plugins.dir.Root()}};
    CapturedLog log;
    ScopedEnv tmpdir{"TMPDIR", (plugins.dir.Root() + "/systmp").c_str()};
    TRecordingSink events;
    std::unique_ptr<TMainDM> dm;
    std::unique_ptr<TDMPlugins> host;
    int sleeps = 0;
};

}  // namespace tv::test
