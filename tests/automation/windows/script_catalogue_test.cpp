// The catalogue of job scripts: every "*.pas" file under the script folder, letters in any case, by
// name and then by path; a missing folder gives an empty catalogue.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automation/dm_scripts.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Rows(TDMScripts& scripts, const std::string& root) {
    std::vector<std::string> rows;
    TClientDataSet& table = scripts.CDSScripts();
    for (table.First(); !table.Eof(); table.Next())
        rows.push_back(table.FieldByName("SCRIPT_NAME").AsString() + " " +
                       fs::relative(table.FieldByName("SCRIPT_FILENAME").AsString(), root).string() + " [" +
                       table.FieldByName("SCRIPT_DESCRIPTION").AsString() + "]");
    return rows;
}

TEST(ScriptCatalogue, ListsEveryPasFileUnderTheScriptFolderByNameThenPath) {
    test::TempDir dir;
    for (const char* file : {"scripts/b/export.pas", "scripts/a/export.PAS", "scripts/Import.Pas",
                             "scripts/readme.txt", "scripts/old.pas.bak", "scripts/pas", "scripts/a/deep/z.pas"})
        dir.Write(file, "begin end.");
    dir.MakeFolder("scripts/folder.pas");
    // A link back up the tree is walked once, not for ever.
    fs::create_directory_symlink(dir.Path("scripts"), dir.Path("scripts/a/loop"));
    const std::string root = dir.Path("scripts");
    TDMScripts scripts([&] { return root; });

    scripts.FindScripts();
    const std::vector<std::string> expected = {
        "export a/export.PAS []", "export b/export.pas []", "Import Import.Pas []", "z a/deep/z.pas []"};
    EXPECT_EQ(Rows(scripts, root), expected);

    // Reading again starts from an empty catalogue.
    scripts.FindScripts();
    EXPECT_EQ(Rows(scripts, root), expected);
}

TEST(ScriptCatalogue, AMissingScriptFolderGivesAnEmptyCatalogue) {
    test::TempDir dir;
    TDMScripts scripts([&] { return dir.Path("no/such/scripts"); });
    EXPECT_NO_THROW(scripts.FindScripts());
    EXPECT_TRUE(scripts.CDSScripts().IsEmpty());
}

}  // namespace
}  // namespace tv
