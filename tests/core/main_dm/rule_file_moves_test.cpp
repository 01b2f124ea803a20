// The work-folder moves of rules: single files into a side's subfolders, and the two walks over a
// rule's table of transformed files.

#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "tests/core/main_dm/main_dm_fixture.h"

namespace tv {
namespace {

class RuleFileMoves : public ::testing::Test, public test::MainDMFixture {
protected:
    RuleFileMoves() {
        files.FieldDefs().Add("filename", TFieldType::ftString, 255);
        files.FieldDefs().Add("cachefile", TFieldType::ftString, 255);
        files.CreateDataSet();
    }
    void AddFile(const std::string& fileName, const std::string& cacheFile) {
        files.Append();
        files.FieldByName("filename").SetAsString(fileName);
        files.FieldByName("cachefile").SetAsString(cacheFile);
        files.Post();
    }
    std::string Read(const std::string& relative) const { return folders.dir.Read(Root(relative)); }
    bool Exists(const std::string& relative) const { return FileExists(Root(relative)); }

    TClientDataSet files;
};

TEST_F(RuleFileMoves, TheExportWalkArchivesSourcesAndPlacesCopiesForSending) {
    const std::string plain = folders.dir.Write("got/plain.xml", "plain");
    const std::string source = folders.dir.Write("got/order.xml", "source");
    const std::string copy = folders.dir.Write("tmp/KV_1", "transformed");
    const std::string gone = folders.dir.Write("got/gone.xml", "gone");
    AddFile(plain, "");                              // no copy: copied for sending, then archived
    AddFile(source, copy);                           // a copy: the source archived, the copy sent
    AddFile(gone, folders.dir.Path("tmp/missing"));  // a copy named but missing: left alone
    AddFile(folders.dir.Path("got/never.xml"), "");  // no source: nothing
    dm->RuleFileMoves().MoveTempFilesForArchiving(files, WORK_EXPORT);
    EXPECT_EQ(Read("export/skickas/plain.xml"), "plain");
    EXPECT_EQ(Read("export/behandlade/plain.xml"), "plain");
    EXPECT_EQ(Read("export/behandlade/order.xml"), "source");
    EXPECT_EQ(Read("export/skickas/order.xml"), "transformed");
    EXPECT_FALSE(FileExists(copy));
    EXPECT_TRUE(FileExists(gone));
    EXPECT_EQ(events.lines,
              (std::vector<std::string>{"8:Flyttar tempfil: " + plain, "8:Flyttar tempfil: " + source,
                                        "8:Flyttar tempfil: " + gone,
                                        "8:Flyttar tempfil: " + folders.dir.Path("got/never.xml")}));
}

TEST_F(RuleFileMoves, TheImportWalkPutsTransformedCopiesWhereTheCleanUpFindsThem) {
    const std::string source = folders.dir.Write("got/order.xml", "source");
    const std::string copy = folders.dir.Write("tmp/KV_2", "transformed");
    const std::string plain = folders.dir.Write("got/plain.xml", "plain");
    AddFile(source, copy);
    AddFile(plain, "");
    dm->RuleFileMoves().MoveTempFilesForImport(files);
    EXPECT_EQ(Read("import/obehandlade/xformed_order.xml"), "transformed");
    EXPECT_EQ(Read("import/behandlade/order.xml"), "source");
    EXPECT_EQ(Read("import/obehandlade/plain.xml"), "plain");
    EXPECT_EQ(Read("import/behandlade/plain.xml"), "plain");
    EXPECT_EQ(events.lines.front(), "8:Flyttar fil: " + source);
}

TEST_F(RuleFileMoves, SingleMovesReplaceAndFailWithTheirOwnTexts) {
    TRuleFileMoves& moves = dm->RuleFileMoves();
    folders.dir.Write("common/Brismark/Tollvane/default/export/skickat/a.xml", "old");
    moves.MoveToSent(folders.dir.Write("out/a.xml", "new"), WORK_EXPORT);
    EXPECT_EQ(Read("export/skickat/a.xml"), "new");
    moves.ArchiveJunk(folders.dir.Write("out/b.xml", "b"), true, WORK_IMPORT);
    EXPECT_EQ(Read("import/felaktiga/b.xml"), "b");

    const std::string missing = folders.dir.Path("out/missing.xml");
    struct Row {
        const char* name;
        std::function<void()> call;
        std::string message;
    };
    const Row kRows[] = {
        {"ArchiveContent", [&] { moves.ArchiveContent(missing, WORK_EXPORT); },
         "Kunde inte flytta fil, gör detta manuellt " + missing},
        {"ArchiveJunk", [&] { moves.ArchiveJunk(missing, false, WORK_EXPORT); },
         "Kunde inte flytta fil, gör detta manuellt: " + missing},
        {"MoveToSent", [&] { moves.MoveToSent(missing, WORK_EXPORT); },
         "Kunde inte flytta fil, gör detta manuellt" + missing},
        {"MoveForExport", [&] { moves.MoveForExport(missing, "t.xml", WORK_EXPORT); },
         "Kunde inte flytta fil [" + missing + "], gör detta manuellt"},
        {"MoveForImport", [&] { moves.MoveForImport(missing, "t.xml", WORK_IMPORT); },
         "Kunde inte flytta fil [" + missing + "], gör detta manuellt"},
        {"CopyForExport", [&] { moves.CopyForExport(missing, "t.xml", WORK_EXPORT); },
         "Kunde inte kopiera fil, gör detta manuellt" + missing},
        {"CopyForImport", [&] { moves.CopyForImport(missing, "t.xml", WORK_IMPORT); },
         "Kunde inte kopiera fil [" + missing + "], gör detta manuellt"},
    };
    for (const auto& row : kRows) {
        try {
            row.call();
            ADD_FAILURE() << row.name << " did not fail";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), row.message) << row.name;
        }
    }
}

}  // namespace
}  // namespace tv
