// The rule editor over the plug-in host: adding steps (order, type, name), removing them, the rule
// grid's "Import" check box, and a step's settings dialog with OK and Avbryt, its log on failure,
// the action coming back on the fake clock and the module unloaded cleanly afterwards.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "automation/form_rule_maker.h"
#include "controls/xdb_grid.h"
#include "core/work_folders.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/timer.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/screen.h"
#include "tests/automation/plugins/rule_world.h"
#include "tests/controls/grid_test_support.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

constexpr int kAddPlugin = 0;
constexpr int kShowSettings = 1;
constexpr int kRemovePlugin = 2;

struct RuleMaker {
    RuleMaker() {
        test::EnsureGridFonts();
        world.AddRule("Order", WORK_EXPORT, {});
        world.host->Rules().First();
    }
    ~RuleMaker() { page.reset(); }

    void Open() {
        page = std::make_unique<TFormRuleMaker>(nullptr, *world.host);
        page->SetBounds(0, 0, 640, 520);
        page->Show();
        QWidget* window = page->Widget();
        EXPECT_TRUE(test::WaitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
        QApplication::processEvents();
    }
    // Chooses the plug-in in the list as a click on its row does (none: no plug-in).
    void Choose(const std::string& plugin) const {
        page->DBLookupListBox2->LookupList().ChooseKeyValue(plugin.empty() ? Variant::Null()
                                                                           : Variant::FromUtf8(plugin));
    }
    void Click(int item) const { page->ItemBar->ClickItem(item); }
    // The current rule's steps: "order plug-in type".
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        TClientDataSet& items = world.host->RuleItems();
        for (items.First(); !items.Eof(); items.Next())
            steps.push_back(items.FieldByName("RULE_ITEM_ORDER").AsString() + " " +
                            items.FieldByName("RULE_ITEM_PLUGIN_NAME").AsString() + " " +
                            items.FieldByName("RULE_ITEM_PLUGIN_TYPE").AsString());
        return steps;
    }

    test::RuleWorld world;
    TFakeClock clock;
    TTimerClockScope clockScope{clock};
    TScriptedDialogService dialogs;
    TDialogServiceScope dialogScope{dialogs};
    std::unique_ptr<TFormRuleMaker> page;
};

TEST(RuleMaker, StepTypesFollowTheNamePrefixInAnyCase) {
    struct TCase {
        const char* plugin;
        const char* type;
    };
    constexpr TCase kCases[] = {
        {"plugin_get_folder", "get"},     {"plugin_put_folder", "put"},  {"plugin_xform_upper", "xform"},
        {"PLUGIN_XFORM_Upper", "xform"},  {"Plugin_Transform_x", "xform"}, {"plugin_onevent_marker", ""},
        {"plugin_ge", ""},                {"", ""},
    };
    for (const TCase& c : kCases) EXPECT_EQ(TFormRuleMaker::StepTypeOf(c.plugin), c.type) << c.plugin;
}

TEST(RuleMaker, AddedStepsFollowTheGreatestOrderWithTheChosenPlugin) {
    RuleMaker f;
    f.world.plugins.dir.Write("plugins/PLUGIN_TRANSFORM_Caps.so", "");
    f.world.host->FindPlugins();
    f.Open();
    ASSERT_TRUE(f.page->AddPlugin->Enabled());

    // A click on the third row of the list (PLUGIN_TRANSFORM_Caps, plugin_bad_type,
    // plugin_get_folder ...) chooses it.
    TDBLookupListBox& list = *f.page->DBLookupListBox2;
    const QFontMetrics metrics(list.Widget()->font());
    QWidget* rows = static_cast<QAbstractScrollArea*>(list.Widget())->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(20, 2 * metrics.height() + 2));
    EXPECT_EQ(f.page->CurrentRule->FieldByName("currentPlugin").AsString(), "plugin_get_folder");
    f.Click(kAddPlugin);
    f.Choose("PLUGIN_TRANSFORM_Caps");
    f.Click(kAddPlugin);
    EXPECT_EQ(f.Steps(), (std::vector<std::string>{"1 plugin_get_folder get", "2 PLUGIN_TRANSFORM_Caps xform"}));

    // Renumbered, the first step is the greatest: the next one comes after it.
    TClientDataSet& items = f.world.host->RuleItems();
    items.First();
    items.Edit();
    items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(7);
    items.Post();
    f.Choose("plugin_onevent_marker");
    f.Click(kAddPlugin);
    EXPECT_EQ(f.Steps().back(), "8 plugin_onevent_marker ");

    // With nothing chosen the step has no plug-in and no type.
    f.Choose("");
    f.Click(kAddPlugin);
    EXPECT_EQ(f.Steps().back(), "9  ");
    for (items.First(); !items.Eof(); items.Next()) EXPECT_EQ(items.FieldByName("rulename").AsString(), "Order");
}

TEST(RuleMaker, StepNamesAreUniqueWithinARule) {
    RuleMaker f;
    f.Open();
    f.Choose("plugin_get_folder");
    for (int i = 0; i < 40; ++i) f.Click(kAddPlugin);
    std::set<std::string> names;
    TClientDataSet& items = f.world.host->RuleItems();
    for (items.First(); !items.Eof(); items.Next()) {
        const int name = items.FieldByName("RULE_ITEM_NAME").AsInteger();
        EXPECT_GE(name, 0);
        EXPECT_LT(name, 32000);
        names.insert(items.FieldByName("RULE_ITEM_NAME").AsString());
    }
    EXPECT_EQ(names.size(), 40u);
}

TEST(RuleMaker, RemovingAStepAsksNothingAndKeepsItsSettingsFolder) {
    RuleMaker f;
    f.world.AddRule("Order2", WORK_EXPORT, {{1, 11, "plugin_get_folder"}, {2, 12, "plugin_put_folder"}});
    f.world.host->Rules().Locate("RuleName", Variant::FromUtf8("Order2"));
    f.world.plugins.dir.Write("rules/Order2/11/plugin_get_folder.ini", "[settings]\r\n");
    f.Open();
    f.world.host->RuleItems().First();
    f.Click(kRemovePlugin);  // the scripted dialogs would raise on a question
    EXPECT_EQ(f.Steps(), (std::vector<std::string>{"2 plugin_put_folder "}));
    EXPECT_TRUE(f.world.plugins.dir.Exists("rules/Order2/11/plugin_get_folder.ini"));
    EXPECT_FALSE(f.page->RemoveRule->Enabled());
    EXPECT_EQ(f.page->RuleBar->ItemCaption(0), "T&a bort regel");
    EXPECT_FALSE(f.page->RuleBar->ItemEnabled(0));
}

TEST(RuleMaker, AClickOnTheImportCellTogglesTheRuleSide) {
    RuleMaker f;
    f.Open();
    TXDBGrid& grid = *f.page->XDBGrid2;
    ASSERT_EQ(grid.Columns()->Items(2)->Title()->Caption(), "Import");
    EXPECT_FALSE(grid.Columns()->Items(1)->Visible());
    EXPECT_TRUE(grid.Options().Contains(dgConfirmDelete));
    TClientDataSet& rules = f.world.host->Rules();
    ASSERT_TRUE(test::FocusOn(grid));
    const QPoint cell = test::CellPoint(grid, grid.IndicatorOffset() + 2, grid.TitleOffset());
    test::Click(grid, cell);
    if (rules.State() != dsBrowse) rules.Post();
    EXPECT_EQ(rules.FieldByName("RULE_IMPORT_OR_EXPORT").AsString(), "1");
    test::Click(grid, cell);
    if (rules.State() != dsBrowse) rules.Post();
    EXPECT_EQ(rules.FieldByName("RULE_IMPORT_OR_EXPORT").AsString(), "0");
}

// ---- a step's settings

// Ends the settings dialog, once it shows, with the button of that caption; notes that it showed.
void AnswerSettingsDialog(const QString& button, bool* shown) {
    QTimer::singleShot(0, [button, shown] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        *shown = true;
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    });
}

struct SettingsWorld : RuleMaker {
    SettingsWorld() {
        // The module timer as the program has it; the host's waits only count.
        TPluginTimings timings;
        timings.Sleep = [](int) {};
        world.host = std::make_unique<TDMPlugins>(MakePluginsContext(*world.dm), nullptr, timings);
        world.AddRule("Fetch", WORK_IMPORT,
                      {{1, 21, "plugin_get_folder"}, {2, 22, "plugin_get_folder"}, {3, 23, "plugin_missing"}});
        world.host->Rules().Locate("RuleName", Variant::FromUtf8("Fetch"));
        Open();
    }
    void OpenSettingsOf(int order, const QString& button, bool* shown) {
        world.host->RuleItems().Locate("RULE_ITEM_ORDER", Variant(static_cast<int32_t>(order)));
        AnswerSettingsDialog(button, shown);
        Click(kShowSettings);
        // When no dialog showed, the answer is spent here, while `shown` still lives.
        QApplication::processEvents();
    }
    std::string LogFile() const { return world.Root() + "/logs/debug.txt"; }
};

TEST(RuleMaker, SettingsWithOkAndAvbrytAreKeptOrDroppedInTheStepsFolder) {
    SettingsWorld f;
    const std::string first = f.world.Root() + "/rules/Fetch/21";
    const std::string second = f.world.Root() + "/rules/Fetch/22";
    bool shown = false;
    f.OpenSettingsOf(1, "&OK", &shown);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(fs::is_directory(first));
    EXPECT_EQ(f.world.plugins.Calls("plugin_get_folder"),
              (std::vector<std::string>{"SetPrefsFolder\t" + first, "ShowParented", "SaveSettings", "TestModule"}));
    // The action waits for the module timer, and half a second more, on the fake clock.
    EXPECT_FALSE(f.page->ShowSettings->Enabled());
    EXPECT_EQ(Screen().Cursor(), crHourGlass);
    EXPECT_EQ(f.page->GuiTimer->Interval(), 2500u);
    EXPECT_TRUE(f.world.host->Timer1Enabled());
    EXPECT_EQ(f.world.host->ModuleManager().GetModuleCount(), 1);
    f.clock.Advance(2499);
    EXPECT_FALSE(f.page->ShowSettings->Enabled());
    f.clock.Advance(1);
    EXPECT_TRUE(f.page->ShowSettings->Enabled());
    EXPECT_EQ(Screen().Cursor(), crDefault);

    // The module timer's tick unloads the module: the dialog and the plug-in's panel are gone.
    f.world.host->Timer1Timer();
    EXPECT_EQ(f.world.host->ModuleManager().GetModuleCount(), 0);

    shown = false;
    f.OpenSettingsOf(2, "&Avbryt", &shown);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(fs::is_directory(second)) << "the folder is made even when the dialog is cancelled";
    const std::vector<std::string> calls = f.world.plugins.Calls("plugin_get_folder");
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 4, calls.end()),
              (std::vector<std::string>{"SetPrefsFolder\t" + second, "ShowParented", "CancelSettings", "TestModule"}));
    f.world.host->Timer1Timer();
    EXPECT_EQ(f.world.host->ModuleManager().GetModuleCount(), 0);
    EXPECT_FALSE(fs::exists(f.LogFile())) << "nothing failed";
    // Nothing of the module was left for the unloading to clean up.
    EXPECT_EQ(f.world.log.Text().find("plugin_get_folder.so:"), std::string::npos) << f.world.log.Text();
}

TEST(RuleMaker, AStepWhosePluginIsNotInTheCatalogueOpensNothingAndIsLogged) {
    SettingsWorld f;
    TClientDataSet& catalogue = f.world.host->CDSAvailablePlugins();
    catalogue.Last();
    const std::string current = catalogue.FieldByName("PLUGIN_NAME").AsString();
    bool shown = false;
    f.OpenSettingsOf(3, "&OK", &shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(catalogue.FieldByName("PLUGIN_NAME").AsString(), current);
    EXPECT_EQ(f.world.host->ModuleManager().GetModuleCount(), 0);
    for (const char* plugin : test::kSamplePlugins) EXPECT_TRUE(f.world.plugins.Calls(plugin).empty()) << plugin;
    EXPECT_TRUE(fs::is_directory(f.world.Root() + "/rules/Fetch/23"));
    const std::string log = f.world.plugins.dir.Read(f.LogFile());
    EXPECT_NE(log.find("Kunde inte hitta inställt plugin för överföring av filer : plugin_missing"), std::string::npos)
        << log;
    // The action still comes back.
    f.clock.Advance(2500);
    EXPECT_TRUE(f.page->ShowSettings->Enabled());
}

TEST(RuleMaker, ANameTypedIntoANewRuleMakesNoFolderOutsideTheRuleFolder) {
    SettingsWorld f;
    TClientDataSet& rules = f.world.host->Rules();
    rules.Append();
    rules.FieldByName("RuleName").SetAsString("..");
    bool shown = false;
    f.OpenSettingsOf(1, "&OK", &shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(rules.State(), dsInsert);
    const std::string log = f.world.plugins.dir.Read(f.LogFile());
    EXPECT_NE(log.find("Namnet kan inte användas som mappnamn: .."), std::string::npos) << log;
    f.clock.Advance(2500);
    EXPECT_TRUE(f.page->ShowSettings->Enabled());
    rules.Cancel();
}

TEST(RuleMaker, ClosingThePageLinksTheStepsToTheRulesAgain) {
    RuleMaker f;
    f.Open();
    f.world.host->RuleItems().SetMasterSource(nullptr);
    f.page.reset();
    EXPECT_EQ(f.world.host->RuleItems().MasterSource(), &f.world.host->DSRules());
}

}  // namespace
}  // namespace tv

