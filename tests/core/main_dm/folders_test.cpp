// The folder getters of the central data module, with their different trailing delimiters, the
// work-folder tree and what creation records.

#include <gtest/gtest.h>

#include "platform/rtl/environment_info.h"
#include "tests/core/main_dm/main_dm_fixture.h"

namespace tv {
namespace {

class Folders : public ::testing::Test, public test::MainDMFixture {};

TEST_F(Folders, GettersResolveThroughTheSettingsRoot) {
    // A "plgtmp" folder beside the program wins; the folder made of it is still named "tmp".
    folders.dir.MakeFolder("prog/plgtmp");
    const std::string prog = folders.Program();
    struct Row {
        const char* what;
        std::string value;
        std::string expected;
    };
    const Row kRows[] = {
        {"data", dm->getDataFolder(), Root("data")},
        {"plugins", dm->getPluginFolder(), Root("plugins/")},
        {"rules", dm->getRuleFolder(), Root("rules/")},
        {"scripts", dm->getScriptFolder(), Root("scripts")},
        {"logs", dm->getLogsFolder(), Root("logs/")},
        {"plgtmp", dm->getPluginTmpFolder(), prog + "tmp/"},
        {"timestamps", dm->getTimestampFile(), Root("timestamps.xml")},
        {"settings", dm->getSettingsFile(), Root("tollvane.ini")},
        {"instance", dm->getApplicationInstance(), "default"},
        {"export side", dm->getWorkFolder(WORK_EXPORT, "obehandlade"), Root("export/obehandlade")},
        {"import side", dm->getWorkFolder(WORK_IMPORT, ""), Root("import/")},
        {"any other side is import", dm->getWorkFolder(7, "skickas"), Root("import/skickas")},
        {"archive", dm->getArchiveFolder(WORK_EXPORT, "behandlade/2024"), Root("export/behandlade/2024")},
    };
    for (const auto& row : kRows) EXPECT_EQ(row.value, row.expected) << row.what;

    Set("InstallningarCDS", {{"FORCED_WORKFOLDER", folders.dir.Path("shared/work")}});
    EXPECT_EQ(dm->getWorkFolder(WORK_EXPORT, "felaktiga"), folders.dir.Path("shared/work/export/felaktiga"));
    EXPECT_EQ(dm->getWorkFolder(WORK_IMPORT, "felaktiga"), folders.dir.Path("shared/work/import/felaktiga"));
}

TEST_F(Folders, CreationRecordsTheFoldersAndLoadingTheWorkFolders) {
    EXPECT_EQ(EnvironmentInfoValue("ApplicationInstance"), "default");
    EXPECT_EQ(EnvironmentInfoValue("FolderDataPath"), Root("data"));
    EXPECT_EQ(EnvironmentInfoValue("FolderPlugin"), Root("plugins/"));
    EXPECT_EQ(EnvironmentInfoValue("FolderRule"), Root("rules/"));
    EXPECT_EQ(EnvironmentInfoValue("FolderScript"), Root("scripts"));
    EXPECT_EQ(EnvironmentInfoValue("FolderExportWork"), Root("export/"));
    EXPECT_EQ(EnvironmentInfoValue("FolderImportWork"), Root("import/"));
}

TEST_F(Folders, TheSchemaFileMustBeThere) {
    try {
        dm->getSchemaFile();
        ADD_FAILURE() << "no schema file, but no error";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Kunde inte hitta schemafil: " + Root("schema/quorvel.xsd"));
    }
    folders.dir.Write("common/Brismark/Tollvane/default/schema/quorvel.xsd", "<xs/>");
    EXPECT_EQ(dm->getSchemaFile(), Root("schema/quorvel.xsd"));
}

}  // namespace
}  // namespace tv
