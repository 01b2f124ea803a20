// Nothing the system reported done is lost in a power cut. Customer files are imported and archived
// as the default import script does; the power fails at a chosen point (an SQLite file system of the
// test's own throws away what was written but not synced); the company, opened again, holds every
// customer of every file that was archived as complete by then, and opens clean.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "automation/engine_contexts.h"
#include "platform/rtl/files.h"
#include "tests/import/import_world.h"
#include "tests/support/power_cut_vfs.h"

namespace tv {
namespace {

constexpr int kImportSide = 1;

// A file of `count` new customers named "<file> <n>".
std::string CustomersFile(const std::string& file, int count) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<customers>\r\n";
    for (int i = 1; i <= count; ++i)
        xml += "\t\t<atKunder key=\"" + file + "-" + std::to_string(i) + "\">\r\n\t\t\t<CUSTOMER_NAME>" +
               file + " " + std::to_string(i) + "</CUSTOMER_NAME>\r\n\t\t</atKunder>\r\n";
    return xml + "\t</customers>\r\n</quorvel>\r\n";
}

// One column of one row, read straight from the company's database.
std::string Query(const std::string& company, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out = "cannot open";
    if (sqlite3_open_v2((company + "/company.sqlite").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        out = "cannot prepare";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
            out = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0)
                      ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0))
                      : "";
        }
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    return out;
}

int CustomersOf(const std::string& company, const std::string& file) {
    return std::stoi(Query(company, "SELECT count(*) FROM kund WHERE namn LIKE '" + file + " %'"));
}

// Where the power fails.
enum class Cut {
    MidFile,                  // while the second file is imported (the kit commits what it held)
    BeforeArchive,            // as the second file is about to be archived
    AfterArchive,             // once the second file is archived
    DuringRunningNumberSave,  // a running number is saved after the second file was imported
};

struct CutCase {
    const char* name;
    Cut cut;
    int secondFile;                       // customers in the second file
    std::vector<std::string> mustRemain;  // files whose customers are all there afterwards
    std::vector<std::string> archived;    // files archived as complete when the power failed
};

const CutCase kCutCases[] = {
    // The kit commits held writes every 1,000: the cut comes at that commit, mid-file.
    {"mid-file", Cut::MidFile, 1200, {"first"}, {"first"}},
    {"just before the archive", Cut::BeforeArchive, 3, {"first"}, {"first"}},
    {"just after the archive", Cut::AfterArchive, 3, {"first", "second"}, {"first", "second"}},
    {"during the running-number save", Cut::DuringRunningNumberSave, 3, {"first", "second"}, {"first"}},
};

class PowerCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(PowerCut, EveryFileArchivedAsCompleteKeepsItsRecords) {
    const CutCase& c = GetParam();
    test::PowerCutVfs vfs;
    std::vector<std::string> archivedAtCut;
    test::TImportWorld world;
    const std::string company = world.Company();
    {
        world.Open();
        TMainDM& dm = world.MainDM();
        const std::string archive = dm.getArchiveFolder(kImportSide, "behandlade");
        vfs.OnCut = [&] { archivedAtCut = ListFolder(archive, "*.xml", TListKind::Files); };
        auto import = [&](const std::string& file, int count) {
            const std::string path = world.WriteFile(file + ".xml", CustomersFile(file, count));
            EXPECT_TRUE(world.Import().LoadXML(path));
            EXPECT_TRUE(world.Import().CheckCustomers());
            world.Import().ImportCustomers();
            return path;
        };

        dm.ArchiveCompleteFile(import("first", 3), "", kImportSide, true);
        if (c.cut == Cut::MidFile)
            vfs.OnWrite = [&](const std::string& file) {
                if (file.ends_with("-wal")) vfs.Cut();
            };
        const std::string second = import("second", c.secondFile);
        if (c.cut == Cut::BeforeArchive) vfs.OnSync = [&](int) { vfs.Cut(); };
        if (c.cut == Cut::DuringRunningNumberSave) {
            vfs.OnSynced = [&](int) { vfs.Cut(); };
            MakeExportContext(dm).saveIdentities();
        } else {
            dm.ArchiveCompleteFile(second, "", kImportSide, true);
        }
        if (c.cut == Cut::AfterArchive) vfs.Cut();
        ASSERT_TRUE(vfs.IsCut()) << c.name;
        // The program goes down with the machine: everything closes without reaching the disk.
        // (The sync of what is left fails on the dead disk, unless nothing is left to sync.)
        dm.disconnectODBC();
        try {
            dm.disconnectSPCSSRC();
        } catch (const std::exception&) {
        }
        EXPECT_FALSE(dm.AdkDBSRC().Connected());
    }
    vfs.PutBackSyncedContent();

    EXPECT_EQ(archivedAtCut.size(), c.archived.size()) << c.name;
    for (const std::string& file : c.archived)
        EXPECT_NE(std::find(archivedAtCut.begin(), archivedAtCut.end(), file + ".xml"), archivedAtCut.end())
            << c.name << ": " << file;
    EXPECT_EQ(Query(company, "PRAGMA integrity_check"), "ok") << c.name;
    for (const std::string& file : c.mustRemain)
        EXPECT_EQ(CustomersOf(company, file), file == "first" ? 3 : c.secondFile) << c.name << ": " << file;
    // The kit opens the company as after a restart.
    const std::string log = world.Dir().Path("dump.log");
    EXPECT_EQ(test::RunAdkctl({"dump", company, "atKunder"}, log), 0);
}

INSTANTIATE_TEST_SUITE_P(Points, PowerCut, ::testing::ValuesIn(kCutCases),
                         [](const ::testing::TestParamInfo<CutCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });

}  // namespace
}  // namespace tv
