// The rule tables under the plug-in host: what posting, renaming and deleting a rule does to its
// folder and its items, the names a rule may have, and rules that live through a save and a load.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/rule_folders.h"
#include "core/work_folders.h"
#include "platform/rtl/files.h"
#include "tests/automation/plugins/rule_trace.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

class RuleTablesTest : public ::testing::Test {
protected:
    TClientDataSet& Rules() { return world.host->Rules(); }
    TClientDataSet& Items() { return world.host->RuleItems(); }
    std::string Root(const std::string& relative) const { return world.Root() + "/" + relative; }
    bool Locate(const std::string& rule) { return Rules().Locate("RuleName", Variant::FromUtf8(rule)); }
    std::vector<std::string> ItemPlugins() {
        std::vector<std::string> plugins;
        for (Items().First(); !Items().Eof(); Items().Next())
            plugins.push_back(Items().FieldByName("RULE_ITEM_PLUGIN_NAME").AsString());
        return plugins;
    }
    // Every entry under a folder, relative to it, in name order.
    static std::vector<std::string> Tree(const std::string& folder) {
        std::vector<std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            entries.push_back(fs::relative(entry.path(), folder).string());
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    test::RuleWorld world;
};

TEST_F(RuleTablesTest, APostedRuleHasAFolderAndANamelessOneIsRefusedAfterItsPost) {
    world.AddRule("R", WORK_EXPORT, {});
    EXPECT_TRUE(DirectoryExists(Root("rules/R")));

    Rules().Append();
    try {
        Rules().Post();
        ADD_FAILURE() << "a rule without a name was posted silently";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Namnet kan inte vara tomt!");
    }
    EXPECT_EQ(Rules().State(), dsBrowse);
    EXPECT_EQ(Rules().RecordCount(), 2);
}

// A name that is no single folder name would put the rule's folder outside the rule folder: it is
// refused before the post and nothing is created.
TEST_F(RuleTablesTest, NamesThatAreNoFolderNameAreNeverPosted) {
    world.AddRule("R", WORK_EXPORT, {});
    const std::vector<std::string> before = Tree(world.Root());
    for (const char* name : {".", "..", "../x", "a/b", "a\\b", "/tmp"}) {
        SCOPED_TRACE(name);
        Rules().Append();
        Rules().FieldByName("RuleName").SetAsString(name);
        try {
            Rules().Post();
            ADD_FAILURE() << "posted";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Namnet kan inte användas som mappnamn: ") + name);
        }
        Rules().Cancel();
        // Renaming a rule to it is refused alike.
        ASSERT_TRUE(Locate("R"));
        Rules().Edit();
        Rules().FieldByName("RuleName").SetAsString(name);
        EXPECT_THROW(Rules().Post(), Exception);
        Rules().Cancel();
    }
    EXPECT_EQ(Rules().RecordCount(), 1);
    EXPECT_EQ(Tree(world.Root()), before);
}

// Deleting a rule empties and removes its folder, links inside it removed as links, and deletes its
// items; what a link points at, and the other rules' items, stay.
TEST_F(RuleTablesTest, DeletingARuleRemovesItsFolderAndItemsAndNothingOutside) {
    world.AddRule("Ta bort", WORK_EXPORT,
                  {{1, 7, "plugin_get_folder", {{"SourceFolder", "x"}}}, {2, 8, "plugin_put_folder"}});
    world.AddRule("Kvar", WORK_EXPORT, {{1, 9, "plugin_put_folder"}});
    const std::string outside = world.plugins.dir.Write("outside/keep.txt", "kept");
    fs::create_directory_symlink(Root("outside"), Root("rules/Ta bort/7/linked"));
    fs::create_symlink(outside, Root("rules/Ta bort/keep-link.txt"));
    // A rule whose whole folder is a link: only the link goes.
    world.AddRule("Länk", WORK_EXPORT, {});
    RemoveDir(Root("rules/Länk"));
    fs::create_directory_symlink(Root("outside"), Root("rules/Länk"));

    ASSERT_TRUE(Locate("Ta bort"));
    Rules().Delete();
    ASSERT_TRUE(Locate("Länk"));
    Rules().Delete();

    EXPECT_FALSE(fs::exists(fs::symlink_status(Root("rules/Ta bort"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Root("rules/Länk"))));
    EXPECT_EQ(world.plugins.dir.Read("outside/keep.txt"), "kept");
    EXPECT_EQ(Tree(Root("rules")), (std::vector<std::string>{"Kvar"}));
    TRuleTables::TAllItems allItems(world.dm->RuleTables());
    EXPECT_EQ(ItemPlugins(), (std::vector<std::string>{"plugin_put_folder"}));
}

// Renaming a rule takes its items and its folder, with the steps' settings, along.
TEST_F(RuleTablesTest, RenamingARuleKeepsItsStepsAndTheirSettings) {
    world.AddRule("Gammal", WORK_EXPORT,
                  {{1, 7, "plugin_get_folder", {{"SourceFolder", "x"}}}, {2, 8, "plugin_put_folder"}});
    world.AddRule("Annan", WORK_EXPORT, {{1, 9, "plugin_xform_upper"}});
    ASSERT_TRUE(Locate("Gammal"));
    Rules().Edit();
    Rules().FieldByName("RuleName").SetAsString("Ny");
    Rules().Post();

    EXPECT_EQ(ItemPlugins(), (std::vector<std::string>{"plugin_get_folder", "plugin_put_folder"}));
    EXPECT_EQ(Tree(Root("rules")),
              (std::vector<std::string>{"Annan", "Ny", "Ny/7", "Ny/7/plugin_get_folder.ini"}));
    world.dm->saveSettings();
    EXPECT_EQ(world.plugins.dir.Read("data/ruleitems.txt"),
              "Annan;9;;;plugin_xform_upper;1\r\n"
              "Ny;7;;;plugin_get_folder;1\r\n"
              "Ny;8;;;plugin_put_folder;2\r\n");
}

// Rule names of up to the rule table's 50 characters keep their items through a save and a load,
// and names with Swedish letters are UTF-8 in folder names and Windows-1252 in the tables.
TEST_F(RuleTablesTest, LongAndSwedishNamesLiveThroughSaveAndLoad) {
    const std::string longName(40, 'L');
    world.AddRule(longName, WORK_EXPORT, {{1, 1, "plugin_put_folder"}, {2, 2, "plugin_xform_upper"}});
    world.AddRule("Hämta å", WORK_EXPORT, {{1, 3, "plugin_onevent_marker"}});
    world.dm->saveSettings();
    EXPECT_EQ(world.plugins.dir.Read("data/rules.txt"), longName + ";;0;\r\nH\xE4mta \xE5;;0;\r\n");
    EXPECT_TRUE(DirectoryExists(Root("rules/Hämta å")));

    world.dm->loadSettings();
    world.MakeHost();
    ASSERT_TRUE(Locate(longName));
    EXPECT_EQ(ItemPlugins(), (std::vector<std::string>{"plugin_put_folder", "plugin_xform_upper"}));
    ASSERT_TRUE(Locate("Hämta å"));
    EXPECT_EQ(ItemPlugins(), (std::vector<std::string>{"plugin_onevent_marker"}));

    world.Run("HÄMTA Å");
    EXPECT_EQ(world.events.Lines.back(), "=> ok (modules 1)") << test::JoinedLines(world.events.Lines);
    const std::vector<std::string> calls = world.plugins.Calls("plugin_onevent_marker");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetPrefsFolder\t" + Root("rules/Hämta å/3")),
              calls.end());
}

}  // namespace
}  // namespace tv
