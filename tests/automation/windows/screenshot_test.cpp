// Pictures of the job automation's windows, to be looked at by eye: the script list over a script
// folder with scripts in sub-folders, and the rule editor with two rules (one on the import side),
// the catalogue of sample plug-ins and the steps of the current rule; and the same page with a
// rule's name being typed into the open editor of the rules grid, beside its "Import" boxes.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation/dm_scripts.h"
#include "automation/form_rule_maker.h"
#include "controls/xdb_grid.h"
#include "automation/form_run_scripts.h"
#include "core/work_folders.h"
#include "platform/gui/db_lookup_controls.h"
#include "tests/automation/plugins/rule_world.h"
#include "tests/controls/grid_test_support.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TEST(Screenshot, ScriptList) {
    test::EnsureGridFonts();
    test::TempDir dir;
    for (const char* file : {"scripts/import/default_import.pas", "scripts/export/default_export.pas",
                             "scripts/export/default_smart.pas", "scripts/kunder.pas", "scripts/notes.txt"})
        dir.Write(file, "begin end.");
    TDMScripts scripts([&] { return dir.Path("scripts"); });
    scripts.FindScripts();
    TFormRunScripts form(nullptr, scripts, [](const std::string&, bool) {});
    form.SetBounds(40, 40, 260, 320);
    scripts.CDSScripts().Next();
    test::SaveScreenshot(form, "script_list");
    EXPECT_EQ(scripts.CDSScripts().RecordCount(), 4);
}

TEST(Screenshot, RuleEditor) {
    test::EnsureGridFonts();
    test::RuleWorld world;
    world.AddRule("Hämta order", WORK_IMPORT,
                  {{1, 4711, "plugin_get_folder"}, {2, 815, "plugin_xform_upper"}, {3, 12, "plugin_onevent_marker"}});
    world.AddRule("Skicka fakturor", WORK_EXPORT, {{1, 3, "plugin_put_folder"}});
    TClientDataSet& items = world.host->RuleItems();
    world.host->Rules().First();
    items.First();
    items.Edit();
    items.FieldByName("RULE_ITEM_DESCRIPTION").SetAsString("Order från webbutiken");
    items.FieldByName("RULE_ITEM_PLUGIN_TYPE").SetAsString("get");
    items.Post();
    TFormRuleMaker page(nullptr, *world.host);
    page.SetBounds(40, 40, 620, 480);
    page.DBLookupListBox2->SetKeyValue(Variant::FromUtf8("plugin_xform_upper"));
    test::SaveScreenshot(page, "rule_editor");
    EXPECT_EQ(items.RecordCount(), 3);
}

TEST(Screenshot, RuleEditorEditingARuleName) {
    test::EnsureGridFonts();
    test::RuleWorld world;
    world.AddRule("Hämta order", WORK_IMPORT, {{1, 4711, "plugin_get_folder"}});
    world.AddRule("Skicka fakturor", WORK_EXPORT, {{1, 3, "plugin_put_folder"}});
    world.AddRule("Uppdatera priser", WORK_IMPORT, {{1, 9, "plugin_xform_upper"}});
    TFormRuleMaker page(nullptr, *world.host);
    page.SetBounds(40, 40, 620, 480);
    page.Show();
    TXDBGrid& rules = *page.XDBGrid2;
    ASSERT_TRUE(test::FocusOn(rules));
    world.host->Rules().Locate("RuleName", Variant::FromUtf8("Skicka fakturor"));
    rules.SetSelectedIndex(0);
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(rules.EditorMode());
    test::Key(Qt::Key_End);
    test::Type(" till kund");
    test::SaveScreenshot(page, "rule_editor_editing");
    EXPECT_EQ(rules.InplaceEditor()->Text(), "Skicka fakturor till kund");
}

}  // namespace
}  // namespace tv
