// Finding the files waiting in a work folder and loading one of them.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "import/dm_import.h"
#include "tests/adk/adk_test_support.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

class ImportFilesTest : public ::testing::Test {
protected:
    ImportFilesTest() {
        context_.Events = &events_;
        context_.getWorkFolder = [this](int side, std::string_view subfolder) {
            return dir_.Root() + "/work/" + (side == 0 ? "export" : "import") + "/" + std::string(subfolder);
        };
    }
    std::vector<std::string> Find(const std::string& mask, int side, const std::string& directory) {
        TStringList files;
        files.Add("left over from before");
        import_.FindFiles(mask, files, side, directory);
        std::vector<std::string> names;
        for (int i = 0; i < files.Count(); ++i) names.push_back(files.Strings(i));
        return names;
    }

    test::TempDir dir_;
    test::TRecordingSink events_;
    TImportContext context_;
    TKeyHelperDM keys_;
    TDMImport import_{context_, keys_};
};

TEST_F(ImportFilesTest, ListsTheMatchingFilesOfAFolderWithOneDelimiter) {
    const std::string in = dir_.MakeFolder("in");
    for (const char* name : {"b.XML", "a.xml", "c.txt", ".hidden.xml", "xformed_Z.xml"})
        dir_.Write(std::string("in/") + name, "x");
    dir_.MakeFolder("in/sub.xml");  // folders are never listed
    const std::vector<std::string> expected = {in + "/.hidden.xml", in + "/a.xml", in + "/b.XML",
                                               in + "/xformed_Z.xml"};
    for (const std::string& directory : {in, in + "/"}) {
        EXPECT_EQ(Find("*.xml", 1, directory), expected) << directory;
        EXPECT_EQ(events_.Take(), std::vector<std::string>{"[1] Använder path: " + in + "/"});
    }
    EXPECT_EQ(Find("*.csv", 1, in), std::vector<std::string>{});
}

TEST_F(ImportFilesTest, WithoutAFolderTheSideChoosesItsUnprocessedWorkFolder) {
    const std::string import = dir_.MakeFolder("work/import/obehandlade");
    const std::string exportFolder = dir_.MakeFolder("work/export/obehandlade");
    dir_.Write("work/import/obehandlade/order.xml", "x");
    dir_.Write("work/export/obehandlade/kunder.xml", "x");
    EXPECT_EQ(Find("*.xml", 1, ""), std::vector<std::string>{import + "/order.xml"});
    EXPECT_EQ(Find("*.*", 7, ""), std::vector<std::string>{import + "/order.xml"});  // any side but 0
    EXPECT_EQ(Find("*.xml", 0, ""), std::vector<std::string>{exportFolder + "/kunder.xml"});
    EXPECT_EQ(events_.Take().back(), "[1] Använder path: " + exportFolder + "/");
}

TEST_F(ImportFilesTest, AMissingWorkFolderListsNothingAndIsNotMade) {
    EXPECT_EQ(Find("*.xml", 1, ""), std::vector<std::string>{});
    EXPECT_FALSE(dir_.Exists("work/import/obehandlade"));
}

TEST_F(ImportFilesTest, NeitherAFolderNorASideRaises) {
    TStringList files;
    EXPECT_EQ(test::MessageOf([&] { import_.FindFiles("*.xml", files, -1, ""); }),
              "FindFiles:: Angav standardmapp, men har ej angivet varken import eller export");
    EXPECT_TRUE(events_.Lines.empty());
}

constexpr const char* kFirstFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<quorvel><customers><atKunder key=\"c1\"/></customers></quorvel>\n";

TEST_F(ImportFilesTest, ASecondFileEmptiesTheRegistriesOfTheFirstButNotThoseOfItsDocuments) {
    ASSERT_TRUE(import_.LoadXML(dir_.Write("first.xml", kFirstFile)));
    for (TKeyRegistry* registry :
         {&import_.ValidCustomerKyes, &import_.ValidArticleKeys, &import_.ValidSuppliers,
          &import_.ValidInvoiceKeys, &import_.ValidOrderKeys, &import_.ValidOfferKeys,
          &import_.ValidAgreementKeys})
        registry->Register("k1", "");
    keys_.AddKnownKey(TKnownKey_Contacts, "k1", "");
    import_.AddImportedItem("1001");

    ASSERT_TRUE(import_.LoadXML(dir_.Write("second.xml", kFirstFile)));
    EXPECT_EQ(import_.ValidCustomerKyes.Count(), 0u);
    EXPECT_EQ(import_.ValidArticleKeys.Count(), 0u);
    EXPECT_EQ(import_.ValidSuppliers.Count(), 0u);
    EXPECT_EQ(import_.ValidInvoiceKeys.Count(), 0u);
    EXPECT_TRUE(keys_.ValidKeys().empty());
    EXPECT_EQ(import_.ValidOrderKeys.Count(), 1u);
    EXPECT_EQ(import_.ValidOfferKeys.Count(), 1u);
    EXPECT_EQ(import_.ValidAgreementKeys.Count(), 1u);
    EXPECT_EQ(import_.ImportedItems(), std::vector<std::string>{"1001"});
    EXPECT_TRUE(events_.Lines.empty());
}

TEST_F(ImportFilesTest, AMalformedFileIsReportedAndLeavesNoDocument) {
    ASSERT_TRUE(import_.LoadXML(dir_.Write("good.xml", kFirstFile)));
    const std::string bad =
        dir_.Write("bad.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<quorvel>\n<customers><atKunder key=\"c2\"></customers>\n</quorvel>\n");
    EXPECT_FALSE(import_.LoadXML(bad));
    const std::vector<std::string> lines = events_.Take();
    ASSERT_EQ(lines.size(), 1u);
    const std::string prefix = "[2] Fel vid inläsning av XML-fil: " + bad + ": line 3";
    EXPECT_EQ(lines[0].substr(0, prefix.size()), prefix) << lines[0];
    // Nothing of the good file before it, nor of the bad file, can be checked or imported now.
    EXPECT_FALSE(import_.XMLDocument1.Active());
}

TEST_F(ImportFilesTest, AFileThatCannotBeReadIsReported) {
    // A pipe in the folder is listed like a file; loading it answers at once instead of waiting
    // for a writer.
    ASSERT_EQ(::mkfifo(dir_.Path("pipe.xml").c_str(), 0600), 0);
    ASSERT_EQ(Find("pipe.xml", 1, dir_.Root()).size(), 1u);
    events_.Clear();
    for (const std::string& name : {dir_.Path("missing.xml"), dir_.Path("pipe.xml")}) {
        EXPECT_FALSE(import_.LoadXML(name));
        const std::vector<std::string> lines = events_.Take();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("[2] Fel vid inläsning av XML-fil: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
    }
}

TEST_F(ImportFilesTest, ALatinOneFileKeepsItsLetters) {
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<quorvel><customers>"
        "<atKunder key=\"\xC5sa \xF6\"/></customers></quorvel>\r\n";  // "Åsa ö"
    ASSERT_TRUE(import_.LoadXML(dir_.Write("latin1.xml", latin1)));
    const TXMLNode* customer = import_.XMLDocument1.DocumentElement()->FindNode("customers")->ChildNode(0);
    EXPECT_EQ(customer->Attribute("key"), "Åsa ö");
}

}  // namespace
}  // namespace tv
