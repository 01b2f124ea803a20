// The catalogue of plug-in modules: every "plugin*.so" anywhere under the plug-in folder, letters in
// any case, folder by folder in name order; a rule step uses the first module of its name.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/work_folders.h"
#include "tests/automation/plugins/rule_world.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

TEST(PluginCatalogue, ListsEveryModuleFileUnderThePluginFolderInNameOrder) {
    test::RuleWorld world;
    world.plugins.Install({"plugin_onevent_marker"}, "sub");
    world.plugins.dir.Write("plugins/sub/deeper/PLUGIN_C.SO", "");
    world.plugins.dir.Write("plugins/other.so", "");
    world.plugins.dir.Write("plugins/plugin_x.txt", "");
    world.plugins.dir.MakeFolder("plugins/plugin_folder.so");
    // A link back up the tree is searched once, not for ever.
    fs::create_directory_symlink(world.plugins.Folder(), world.plugins.Folder("sub/loop"));

    world.host->FindPlugins();
    std::vector<std::string> rows;
    TClientDataSet& catalogue = world.host->CDSAvailablePlugins();
    for (catalogue.First(); !catalogue.Eof(); catalogue.Next())
        rows.push_back(
            catalogue.FieldByName("PLUGIN_NAME").AsString() + " " +
            fs::relative(catalogue.FieldByName("PLUGIN_FILENAME").AsString(), world.Root()).string());
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "plugin_bad_type plugins/plugin_bad_type.so",
                        "plugin_get_folder plugins/plugin_get_folder.so",
                        "plugin_onevent_marker plugins/plugin_onevent_marker.so",
                        "plugin_put_folder plugins/plugin_put_folder.so",
                        "plugin_put_nointerface plugins/plugin_put_nointerface.so",
                        "plugin_xform_upper plugins/plugin_xform_upper.so",
                        "plugin_onevent_marker plugins/sub/plugin_onevent_marker.so",
                        "PLUGIN_C plugins/sub/deeper/PLUGIN_C.SO",
                    }));

    // The step runs the module found first.
    world.AddRule("Event", WORK_EXPORT, {{1, 1, "plugin_onevent_marker"}});
    world.Run("Event");
    EXPECT_EQ(world.events.Lines.back(), "=> ok (modules 1)");
    EXPECT_FALSE(world.plugins.Calls("plugin_onevent_marker").empty());
    EXPECT_TRUE(world.plugins.Calls("plugin_onevent_marker", "sub").empty());
}

}  // namespace
}  // namespace tv
