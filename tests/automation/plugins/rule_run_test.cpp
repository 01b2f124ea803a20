// Rule runs with the sample plug-ins in a settings root of their own, each scenario compared with its
// golden trace (tests/fixtures/automation/rule_runs): the event lines, the calls the plug-ins
// received and the files where the run left them.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/work_folders.h"
#include "platform/rtl/files.h"
#include "tests/automation/plugins/rule_trace.h"

namespace tv {
namespace {

using test::RuleWorld;

struct TScenario {
    const char* Trace;
    std::function<void(RuleWorld&)> Play;
};

void ExportGetTransformPut(RuleWorld& w) {
    w.plugins.dir.Write("source/a.xml", "order a");
    w.plugins.dir.Write("source/b.xml", "order b");
    w.plugins.dir.Write("source/c.txt", "not fetched");
    w.plugins.dir.Write("export/obehandlade/old.xml", "old one");
    w.AddRule("Export", WORK_EXPORT,
              {{3, 13, "plugin_put_folder", {{"TargetFolder", w.Root() + "/target"}}},
               {1, 11, "plugin_get_folder", {{"SourceFolder", w.Root() + "/source"}, {"Mask", "*.xml"}}},
               {2, 12, "plugin_xform_upper"}});
    w.Run("Export");
}

const TScenario kScenarios[] = {
    {"export_get_xform_put", ExportGetTransformPut},
    {"transform_fails_and_throws",
     [](RuleWorld& w) {
         w.plugins.dir.Write("export/obehandlade/a.xml", "fine");
         w.plugins.dir.Write("export/obehandlade/b.xml", "FAIL-TRANSFORM");
         w.plugins.dir.Write("export/obehandlade/c.xml", "THROW-TRANSFORM");
         w.AddRule("Omvandla", WORK_EXPORT,
                   {{1, 21, "plugin_xform_upper"},
                    {2, 22, "plugin_put_folder", {{"TargetFolder", w.Root() + "/target"}}}});
         w.Run("Omvandla");
     }},
    {"put_refused_and_without_interface",
     [](RuleWorld& w) {
         w.plugins.dir.Write("export/skickas/a.xml", "a");
         w.plugins.dir.Write("export/skickas/reject-b.xml", "b");
         w.plugins.dir.Write("export/skickas/throw-c.xml", "c");
         w.AddRule("Skicka", WORK_EXPORT,
                   {{1, 31, "plugin_put_folder", {{"TargetFolder", w.Root() + "/target"}}}});
         w.AddRule("Saknar", WORK_EXPORT, {{1, 32, "plugin_put_nointerface"}});
         w.Run("Skicka");
         w.Run("Saknar");
     }},
    {"event_fails",
     [](RuleWorld& w) {
         w.AddRule("Händelse", WORK_EXPORT, {{1, 41, "plugin_onevent_marker", {{"Fail", "1"}}}});
         w.Run("Händelse");
     }},
    {"unknown_type",
     [](RuleWorld& w) {
         w.AddRule("Okänd", WORK_EXPORT, {{1, 51, "plugin_bad_type"}});
         w.Run("Okänd");
     }},
    {"chained_transforms",
     [](RuleWorld& w) {
         w.plugins.dir.Write("export/obehandlade/a.xml", "order a");
         w.AddRule("Kedja", WORK_EXPORT, {{1, 61, "plugin_xform_upper"}, {2, 62, "plugin_xform_upper"}});
         w.Run("Kedja");
     }},
    {"import_xformed",
     [](RuleWorld& w) {
         w.plugins.dir.Write("import/obehandlade/o.xml", "order o");
         w.AddRule("Importera", WORK_IMPORT, {{1, 71, "plugin_xform_upper"}});
         w.Run("Importera");
     }},
    {"rule_name_case",
     [](RuleWorld& w) {
         w.AddRule("Export", WORK_EXPORT, {{1, 81, "PLUGIN_ONEVENT_MARKER"}});
         w.Run("eXPORT");
         w.Run("O'Hara");
     }},
    {"missing_plugin",
     [](RuleWorld& w) {
         w.AddRule("Saknas", WORK_EXPORT, {{1, 82, "plugin_not_there"}, {2, 83, "plugin_onevent_marker"}});
         w.AddRule("Event", WORK_EXPORT, {{1, 84, "plugin_onevent_marker"}});
         w.Run("Saknas");
         w.Run("Event");
     }},
    {"unload_wait",
     [](RuleWorld& w) {
         w.AddRule("Två", WORK_EXPORT, {{1, 85, "plugin_onevent_marker"}});
         w.Run("Två");
         w.Run("Två");
     }},
    {"order_parameters",
     [](RuleWorld& w) {
         w.AddRule("Order", WORK_EXPORT,
                   {{1, 91, "plugin_onevent_marker"},
                    {2, 92, "plugin_put_folder", {{"TargetFolder", w.Root() + "/target"}}}});
         w.host->ClearRuleParams();
         w.host->AddRuleParam("ADK_OOI_HEAD_CUSTOMER_ORDER_NUMBER", "4711");
         w.host->AddRuleParam("ADK_OOI_HEAD_DOCUMENT_NUMBER", "1001");
         w.Run("Order");
         w.host->ClearRuleParams();
         w.Run("Order");
     }},
    {"put_after_transform_rule",
     [](RuleWorld& w) {
         w.plugins.dir.Write("export/obehandlade/a.xml", "order a");
         w.AddRule("Omvandla", WORK_EXPORT, {{1, 101, "plugin_xform_upper"}});
         w.AddRule("Skicka", WORK_EXPORT,
                   {{1, 102, "plugin_put_folder", {{"TargetFolder", w.Root() + "/target"}}}});
         w.Run("Omvandla");
         w.Run("Skicka");
     }},
    {"get_fails",
     [](RuleWorld& w) {
         w.AddRule("Hämta", WORK_EXPORT,
                   {{1, 111, "plugin_get_folder", {{"SourceFolder", w.Root() + "/nowhere"}}}});
         w.Run("Hämta");
     }},
};

TEST(RuleRun, ScenariosMatchTheirGoldenTraces) {
    for (const TScenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.Trace);
        RuleWorld world;
        scenario.Play(world);
        EXPECT_EQ(test::JoinedLines(test::RuleTraceLines(world)),
                  test::JoinedLines(test::GoldenTraceLines(scenario.Trace)));
    }
}

// The rename step of a move between two file systems: it always refuses with EXDEV.
int RenameAcrossDevices(const char*, const char*, bool) {
    errno = EXDEV;
    return -1;
}

// The temporary copies and the work folders may lie on different file systems: every move of the
// run then copies and deletes, with the same outcome.
TEST(RuleRun, MovesAcrossFileSystemsStillMove) {
    RuleWorld world;
    const TRenameCall previous = SetRenameCall(&RenameAcrossDevices);
    ExportGetTransformPut(world);
    SetRenameCall(previous);
    EXPECT_EQ(test::JoinedLines(test::RuleTraceLines(world)),
              test::JoinedLines(test::GoldenTraceLines("export_get_xform_put")));
}

// A fetched file that cannot move into "obehandlade" is reported at level 2 with where it is and
// where it should go, and stays there; the others move.
TEST(RuleRun, AFetchedFileThatCannotMoveIsReported) {
    RuleWorld world;
    world.plugins.dir.Write("source/a.xml", "a");
    world.plugins.dir.Write("source/b.xml", "b");
    world.plugins.dir.Write("export/obehandlade/a.xml/in-the-way", "x");
    world.AddRule("Hämta", WORK_EXPORT,
                  {{1, 1, "plugin_get_folder", {{"SourceFolder", world.Root() + "/source"}}}});
    world.Run("Hämta");
    const std::string from = world.Root() + "/tmp/a.xml";
    const std::string to = world.Root() + "/export/obehandlade/a.xml";
    const std::string report = "  [2] Kunde inte flytta fil [" + from + "] till [" + to +
                               "], gör detta manuellt: Cannot move file \"" + from + "\" to \"" + to +
                               "\". Is a directory";
    EXPECT_NE(std::find(world.events.Lines.begin(), world.events.Lines.end(), report),
              world.events.Lines.end())
        << test::JoinedLines(world.events.Lines);
    EXPECT_EQ(world.events.Lines.back(), "=> ok (modules 1)");
    EXPECT_EQ(world.plugins.dir.Read(from), "a");
    EXPECT_EQ(world.plugins.dir.Read("export/obehandlade/b.xml"), "b");
}

// An event tree that fails as the run opens its item: the run raises, and the next one is not
// kept waiting for ever.
class FailingOnce : public test::TRecordingSink {
public:
    void addEventItem(std::string_view message, bool nested) override {
        if (!failed && message.starts_with("Kör regel: ")) {
            failed = true;
            throw Exception("the event tree is gone");
        }
        TRecordingSink::addEventItem(message, nested);
    }
    bool failed = false;
};

TEST(RuleRun, ARunThatFailsAtItsStartDoesNotBlockTheNext) {
    RuleWorld world;
    world.AddRule("Event", WORK_EXPORT, {{1, 1, "plugin_onevent_marker"}});
    FailingOnce events;
    TPluginsContext context = MakePluginsContext(*world.dm);
    context.Events = &events;
    TPluginTimings timings;
    timings.UnloadDelayMs = 0;
    int sleeps = 0;
    timings.Sleep = [&](int) {
        if (++sleeps > 50) throw std::runtime_error("the rule run waits for ever");
    };
    world.host.reset();
    TDMPlugins host(context, nullptr, timings);
    EXPECT_THROW(host.RunRule("Event"), Exception);
    EXPECT_NO_THROW(host.RunRule("Event"));
    EXPECT_EQ(sleeps, 1);
    EXPECT_EQ(events.Lines.back(), "  [9] Event");
}

}  // namespace
}  // namespace tv
