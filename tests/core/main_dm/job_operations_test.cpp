// The operations job scripts call on the central data module: archiving, clean-up of transformed
// files, the command-line selection, the log file, named time stamps, external programs, the
// character scrub, and the provisioning run over the real settings.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/timestamp_helper.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/files.h"
#include "tests/core/main_dm/main_dm_fixture.h"
#include "tests/support/format_settings.h"

namespace tv {
namespace {

class JobOperations : public ::testing::Test, public test::MainDMFixture {
protected:
    std::string Put(const std::string& relative, const std::string& bytes) const {
        return folders.dir.Write("common/Brismark/Tollvane/default/" + relative, bytes);
    }
    std::string Read(const std::string& relative) const { return folders.dir.Read(Root(relative)); }
    bool Exists(const std::string& relative) const { return FileExists(Root(relative)); }
};

TEST_F(JobOperations, ArchivingKeepsOrReplacesAnExistingTargetAsAsked) {
    const std::string in = Put("import/obehandlade/order.xml", "new");
    Put("import/behandlade/2024/order.xml", "old");
    dm->ArchiveCompleteFile(in, "2024", WORK_IMPORT, false);
    const std::string target = Root("import/behandlade/2024/order.xml");
    EXPECT_EQ(events.lines, (std::vector<std::string>{"nest:Arkiverar [" + in + "]",
                                                      "2:Filen fanns redan [" + target + "]", "close"}));
    EXPECT_EQ(Read("import/obehandlade/order.xml"), "new");  // the source stays
    EXPECT_EQ(Read("import/behandlade/2024/order.xml"), "old");

    events.lines.clear();
    dm->ArchiveCompleteFile(in, "2024", WORK_IMPORT, true);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"nest:Arkiverar [" + in + "]",
                                                      "8:Arkiverade fil : +[" + target + "]", "close"}));
    EXPECT_FALSE(Exists("import/obehandlade/order.xml"));
    EXPECT_EQ(Read("import/behandlade/2024/order.xml"), "new");
}

TEST_F(JobOperations, ArchivingCases) {
    struct Case {
        const char* name;
        bool failed;  // ArchiveFailedFile
        int side;
        const char* subfolder;
        const char* lands;   // below the root; nullptr: stays
        const char* report;  // the line between the item and its close ("<root>" stands for the root)
    };
    const Case kCases[] = {
        {"an empty subfolder archives into behandlade itself", false, WORK_EXPORT, "",
         "export/behandlade/f.xml", "8:Arkiverade fil : +[<root>export/behandlade/f.xml]"},
        {"a failed file goes to felaktiga, replacing", true, WORK_IMPORT, "x", "import/felaktiga/x/f.xml",
         "8:Arkiverade fil : +[<root>import/felaktiga/x/f.xml]"},
        {"a subfolder may not lead out of the archive", false, WORK_EXPORT, "../../outside", nullptr,
         "2:Ogiltig undermapp [../../outside]"},
    };
    for (const auto& c : kCases) {
        events.lines.clear();
        const std::string file = Put("in/f.xml", "data");
        Put("import/felaktiga/x/f.xml", "older");
        if (c.failed)
            dm->ArchiveFailedFile(file, c.subfolder, c.side);
        else
            dm->ArchiveCompleteFile(file, c.subfolder, c.side, false);
        std::string report = c.report;
        if (report.find("<root>") != std::string::npos) report.replace(report.find("<root>"), 6, Root());
        EXPECT_EQ(events.lines, (std::vector<std::string>{"nest:Arkiverar [" + file + "]", report, "close"}))
            << c.name;
        if (c.lands) {
            EXPECT_EQ(Read(c.lands), "data") << c.name;
            EXPECT_FALSE(FileExists(file)) << c.name;
        } else {
            EXPECT_TRUE(FileExists(file)) << c.name;
        }
    }
    events.lines.clear();
    dm->ArchiveCompleteFile(Root("in/missing.xml"), "", WORK_EXPORT, false);
    EXPECT_EQ(events.lines[1], "2:Kunde inte flytta fil, gör detta manuellt" + Root("in/missing.xml"));
}

TEST_F(JobOperations, CleanUpMovesOnlyTransformedFiles) {
    Put("import/obehandlade/xformed_a.xml", "a");
    Put("import/obehandlade/XFORMED_b", "b");
    Put("import/obehandlade/c.xml", "c");
    Put("import/obehandlade/xformed_d.xml", "new d");
    Put("import/felaktiga/xformed_d.xml", "old d");
    folders.dir.MakeFolder("common/Brismark/Tollvane/default/import/obehandlade/xformed_folder");
    dm->CleanUpXFormed(WORK_IMPORT);
    EXPECT_EQ(events.lines,
              std::vector<std::string>{"1:Rensar omvandlade filer: " + Root("import/obehandlade/")});
    EXPECT_EQ(Read("import/felaktiga/xformed_a.xml"), "a");
    EXPECT_EQ(Read("import/felaktiga/XFORMED_b"), "b");
    EXPECT_TRUE(Exists("import/obehandlade/c.xml"));
    // One of that name had failed before: the new one is deleted, the old one kept.
    EXPECT_FALSE(Exists("import/obehandlade/xformed_d.xml"));
    EXPECT_EQ(Read("import/felaktiga/xformed_d.xml"), "old d");
    EXPECT_TRUE(DirectoryExists(Root("import/obehandlade/xformed_folder")));
}

TEST_F(JobOperations, TheCommandLineSelectionAnswersItsRegister) {
    EXPECT_EQ(dm->getCommandLineSelection(-1)->Count(), 0);  // no command yet
    dm->SetLastCommand(std::make_unique<TXmlCommandHelper>("/ftg /srv/ftg /register 12 /id K-1001"));
    struct Row {
        int registry;
        int lines;
    };
    constexpr Row kRows[] = {{-1, 1}, {12, 1}, {13, 0}, {0, 0}};
    for (const auto& row : kRows) {
        const auto selection = dm->getCommandLineSelection(row.registry);
        ASSERT_EQ(selection->Count(), row.lines) << row.registry;
        if (row.lines) {
            EXPECT_EQ(selection->Strings(0), "K-1001");
        }
    }
    EXPECT_EQ(dm->GetExtraParams()->Count(), 0);
    EXPECT_FALSE(dm->getCancelling());
    dm->setCancelling(true);
    EXPECT_TRUE(dm->getCancelling());
}

TEST_F(JobOperations, TheLogFileIsTheSettingOrTheDatedFileOfTheLogsFolder) {
    const std::string dated = Root("logs/") + FormatDateTime("yyyymmdd", Now()) + ".txt";
    folders.dir.Write("blocker", "a file where a folder would have to be");
    struct Row {
        const char* name;
        std::string setting;
        std::string expected;
    };
    const Row kRows[] = {
        {"empty", "  ", dated},
        {"an existing folder", folders.dir.Path("start/debug.log"), folders.dir.Path("start/debug.log")},
        {"a folder that can be made", folders.dir.Path("new/sub/debug.log"),
         folders.dir.Path("new/sub/debug.log")},
        {"a folder that cannot be made", folders.dir.Path("blocker/debug.log"), dated},
        {"no folder part", "debug.log", dated},
    };
    for (const auto& row : kRows) {
        Set("InstallningarCDS", {{"DEBUG_LOG_TO_FILE", row.setting}});
        EXPECT_EQ(dm->getLogFile(), row.expected) << row.name;
    }
    EXPECT_TRUE(DirectoryExists(folders.dir.Path("new/sub")));
    EXPECT_TRUE(DirectoryExists(Root("logs")));
}

TEST_F(JobOperations, NamedTimeStampsAreStoredAndReadBack) {
    const TDateTime noon = EncodeDateTime(2010, 5, 31, 12, 0, 0, 0);
    dm->SaveTimestampByName("Orders", 0);
    EXPECT_FALSE(Exists("timestamps.xml"));  // 0 stores nothing
    EXPECT_EQ(dm->GetTimestampByName("Orders", 7), 7);

    dm->SaveTimestampByName("Orders", noon);
    EXPECT_DOUBLE_EQ(dm->GetTimestampByName("Orders", 0), noon);
    EXPECT_EQ(dm->GetTimestampByName("orders", 3), 3);  // names differ by letter case
    const std::string once = Read("timestamps.xml");
    dm->SaveTimestampByName("Orders", noon);  // the same value: unchanged
    EXPECT_EQ(Read("timestamps.xml"), once);
    dm->SaveTimestampByName("Orders", noon + 1);  // another value is stored 1.5 seconds later
    EXPECT_NEAR(dm->GetTimestampByName("Orders", 0), noon + 1 + 1.5 / 86400, 1e-9);
    EXPECT_TRUE(events.lines.empty());

    dm->SaveTimestampByName("not a name", noon);
    ASSERT_EQ(events.lines.size(), 1u);
    EXPECT_EQ(events.lines[0].rfind("3:Misslyckades att spara timestamp:", 0), 0u) << events.lines[0];

    Put("timestamps.xml", "<quorvelprefs><Orders>");  // not well-formed: the default, no error
    EXPECT_EQ(dm->GetTimestampByName("Orders", 5), 5);
}

// A job run with "forcedot" and one without share "timestamps.xml": each reads the times the other
// wrote, fractions of a day included. Writing keeps the process's own decimal mark.
TEST_F(JobOperations, TimeStampsWrittenUnderOneDecimalMarkAreReadUnderTheOther) {
    const TFormatSettings saved = DefaultFormatSettings();
    const TDateTime noon = EncodeDateTime(2010, 5, 31, 12, 0, 0, 0);
    struct MarkCase {
        const char* name;
        TFormatSettings writer, reader;
        const char* stored;
    };
    const MarkCase cases[] = {
        {"Comma", test::SwedishSettings(), test::ForceDotSettings(), "<Comma>40329,5</Comma>"},
        {"Dot", test::ForceDotSettings(), test::SwedishSettings(), "<Dot>40329.5</Dot>"},
    };
    for (const MarkCase& c : cases) {
        DefaultFormatSettings() = c.writer;
        dm->SaveTimestampByName(c.name, noon);
        EXPECT_NE(Read("timestamps.xml").find(c.stored), std::string::npos) << c.name;
        DefaultFormatSettings() = c.reader;
        EXPECT_DOUBLE_EQ(dm->GetTimestampByName(c.name, 0), noon) << c.name;
    }
    Put("timestamps.xml", "<quorvelprefs><Odd>40329;5</Odd></quorvelprefs>");
    EXPECT_EQ(dm->GetTimestampByName("Odd", 7), 7);  // still no number: the default
    DefaultFormatSettings() = saved;
    EXPECT_TRUE(events.lines.empty());
}

TEST_F(JobOperations, RunProgramWaitsForTheProgramOrSaysWhy) {
    const std::string script = folders.dir.Write("tool.sh", "#!/bin/sh\necho \"$1\" > out.txt\n");
    ::chmod(script.c_str(), 0755);
    dm->RunProgram(script, "hello", folders.dir.Path("start"));
    EXPECT_EQ(folders.dir.Read("start/out.txt"), "hello\n");
    try {
        dm->RunProgram(folders.dir.Path("missing"), "", "");
        ADD_FAILURE() << "started a missing program";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Fel när extern applikation skulle köras: Failed to launch event");
    }
}

TEST_F(JobOperations, ImportOrderUpdateReadsAnXmlFile) {
    dm->importOrderUpdate(folders.dir.Write("in.xml", "<orders/>"));
    EXPECT_EQ(dm->XMLDocument1().DocumentElement()->NodeName(), "orders");
    try {
        dm->importOrderUpdate(folders.dir.Path("missing.xml"));
        ADD_FAILURE() << "read a missing file";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Misslyckades med att läsa in xmlfil: ", 0), 0u) << e.what();
    }
}

TEST(StripChars, TheExportScrubKeepsLineBreaksAndLettersAndDropsOtherControls) {
    EXPECT_EQ(TMainDM::StripCharsInSet2("a\tb\r\nc\x01\x1F\x7F"
                                        "d\xC2\x96"
                                        "e"),
              "ab\r\ncd\xC2\x96"
              "e");
    std::array<bool, 256> set{};
    set[0xE5] = set['x'] = true;  // å and x
    EXPECT_EQ(TMainDM::StripCharsInSet("xåäx€", set), "ä€");
}

TEST_F(JobOperations, TheProvisioningRunMergesSetupIniIntoTheSavedSettings) {
    // A password longer than its field (30 characters) is cut, and the cut is reported by its key.
    const std::string longPassword = "abcdefghijklmnopqrstuvwxyz0123456789";
    folders.dir.Write("start/setup.ini",
                      "[General]\r\nVismaPath=/srv/adm\r\nAdminSQLAuthMode=2\r\n"
                      "IntegrationPassword=" +
                          longPassword + "\r\n");
    const std::string oldFolder = GetCurrentDir();
    SetCurrentDir(folders.dir.Path("start"));
    EXPECT_TRUE(dm->Setup());
    SetCurrentDir(oldFolder);
    EXPECT_FALSE(FileExists(folders.dir.Path("start/setup.ini")));
    const std::string ini = Read("tollvane.ini");
    EXPECT_NE(ini.find("SPCSPathSRC=/srv/adm\r\n"), std::string::npos);
    EXPECT_NE(ini.find("CompanySQLAuthMode=2\r\n"), std::string::npos);
    EXPECT_NE(ini.find("CompanyPassword=" + longPassword.substr(0, 30) + "\r\n"), std::string::npos);
    EXPECT_NE(log.Text().find("WARN Värdet av IntegrationPassword i setup.ini var för långt och kortades\n"),
              std::string::npos)
        << log.Text();
    EXPECT_EQ(log.Text().find("abcdefghij"), std::string::npos) << "a password never reaches the log";
}

}  // namespace
}  // namespace tv
