#include "export/price_list_export.h"

#include <gtest/gtest.h>

#include "export/customer_pricelist_data.h"
#include "export/extra_price_list_data.h"
#include "platform/data/field.h"
#include "platform/rtl/files.h"
#include "platform/rtl/string_list.h"
#include "tests/export/export_world.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

using test::List;

// The first column of a selection table, in its order.
std::vector<std::string> Keys(TDataSet& selection) {
    std::vector<std::string> keys;
    for (selection.First(); !selection.Eof(); selection.Next())
        keys.push_back(selection.Fields(0).AsString());
    return keys;
}

class PriceListExportTest : public ::testing::Test {
protected:
    PriceListExportTest() : world_(test::FixtureBytes("pricelists.sql")) {
        world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "prislista_$prislista.xml");
    }
    void SetUp() override { world_.Open(); }
    // The price-list export of these codes, selected by the settings' query in their order.
    void Export(std::initializer_list<const char*> codes) {
        std::string values;
        for (const char* code : codes) values += std::string(values.empty() ? "" : ", ") + "('" + code + "')";
        world_.Set("CDSExportPricelistsPrefs", "SELECTION_TYPE", "SQL");
        world_.Set("CDSExportPricelistsPrefs", "SELECTION_SQL", "values " + values);
        world_.Events().Lines.clear();
        world_.Facade().ExportPriceLists();
    }
    TClientDataSet& Articles() { return world_.Export().Selections().CDSArtikelUrval(); }

    test::TExportWorld world_;
};

TEST_F(PriceListExportTest, CompanyPriceListsInOneFileAndOneFilePerList) {
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "prislistor.xml");
    Export({"KUND", "TOM"});
    ASSERT_EQ(world_.Written(), std::vector<std::string>{"prislistor.xml"}) << world_.Events().Lines.back();
    // A list without prices has an empty "rows".
    EXPECT_EQ(world_.ReadWritten("prislistor.xml"), test::FixtureBytes("pricelists_kund_tom.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar prislistor",
                                         "  item Hämtar prislistor",
                                         "  count 2",
                                         "  1 Exporterar prislista KUND",
                                         "  1 Exporterar prislista TOM",
                                         world_.WritingLine("prislistor.xml"),
                                     }));
    EXPECT_EQ(world_.Events().Depth(), 0);
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());

    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "prislista_$prislista.xml");
    Export({"TOM", " KUND "});
    EXPECT_EQ(world_.Written(),
              (std::vector<std::string>{"prislista_KUND.xml", "prislista_TOM.xml", "prislistor.xml"}));
    EXPECT_EQ(world_.ReadWritten("prislista_KUND.xml"), test::FixtureBytes("pricelist_kund.xml"));
    EXPECT_EQ(world_.ReadWritten("prislista_TOM.xml"), test::FixtureBytes("pricelist_tom.xml"));
    EXPECT_TRUE(Keys(Articles()).empty());
}

TEST_F(PriceListExportTest, ACustomerCodeWritesThePricesTheKitComputesForEveryArticleWithAnEanCode) {
    // Zero prices are written (P1's base, A2's bracket at 100); A3 and P2 have no EAN code; the
    // price at 20 is no bracket, and VIP's price is another list's.
    Export({"Customer:1001"});
    ASSERT_EQ(world_.Written(), std::vector<std::string>{"prislista_KUND.xml"})
        << world_.Events().Lines.back();
    EXPECT_EQ(world_.ReadWritten("prislista_KUND.xml"), test::FixtureBytes("customer_pricelist_1001.xml"));
    EXPECT_EQ(Keys(Articles()), (std::vector<std::string>{"A1", "A2", "P1"}));

    world_.Set("CDSExportPricelistsPrefs", "EXCLUDE_ZERO_PRICE", "True");
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "utan_noll.xml");
    Export({"Customer:1001"});
    EXPECT_EQ(world_.ReadWritten("utan_noll.xml"), test::FixtureBytes("customer_pricelist_1001_nonzero.xml"));

    // One file per list: a file's name reads the list the customer's prices came from.
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "per_$prislista.xml");
    Export({"Customer:1001", "TOM"});
    EXPECT_EQ(world_.ReadWritten("per_KUND.xml"), test::FixtureBytes("customer_pricelist_1001_nonzero.xml"));
    EXPECT_EQ(world_.ReadWritten("per_TOM.xml"), test::FixtureBytes("pricelist_tom.xml"));
}

TEST_F(PriceListExportTest, TheWriterTakesACustomerCodeOrThePlainNumberAlikeAndAddsEachArticleOnce) {
    TExportModule& module = world_.Export();
    TDataSet& articles = Articles();
    AppendSelectionKey(articles, "a1");
    std::vector<std::string> files;
    {
        TExportRun run(module);
        TExportDocument& doc = module.Document();
        for (const char* code : {"Customer:1001", "1001"}) {
            doc.ClearRoot();
            doc.createDefaultNodes();
            // The list goes into the price-list container whatever container is named.
            world_.Writers().PriceLists().writeCustomerPriceList(*doc.NodeCustomers, 0, articles, code);
            files.push_back(world_.Unprocessed() + (code[0] == 'C' ? "kod.xml" : "nummer.xml"));
            module.SaveDocument(files.back());
        }
    }
    for (const std::string& file : files)
        EXPECT_EQ(world_.Dir().Read(file), test::FixtureBytes("customer_pricelist_1001.xml")) << file;
    EXPECT_EQ(Keys(articles), (std::vector<std::string>{"a1", "A2", "P1"}));
}

TEST_F(PriceListExportTest, WhatEndsTheRunAndWhatItLeaves) {
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TYPE", "1");
    const struct {
        const char* name;
        const char* code;
        const char* message;
        std::vector<std::string> articles;  // collected before the end
    } cases[] = {
        // The plain number is a price-list code in the selection.
        {"plain number", "1001", "Kunde inte hitta prislista1001", {}},
        {"missing customer", "Customer:9999", "Kunde inte hitta kund: 9999", {}},
        // A customer without a list, or with a list that does not exist, ends the run right after
        // the base row of the first article that qualifies.
        {"customer without list", "Customer:1002", "Prislistan existerar inte", {"A1"}},
        {"customer's list missing", "Customer:1003", "Prislistan existerar inte", {"A1"}},
    };
    for (const auto& c : cases) {
        Articles().EmptyDataSet();
        Export({"TOM", c.code, "KUND"});
        // The file written before the failure stays; nothing is written after it.
        EXPECT_EQ(world_.Written(), std::vector<std::string>{"prislista_TOM.xml"}) << c.name;
        EXPECT_EQ(world_.Events().Lines.back(), std::string("  2 ") + c.message) << c.name;
        EXPECT_EQ(Keys(Articles()), c.articles) << c.name;
        EXPECT_FALSE(world_.MainDM().XMLDocument1().Active()) << c.name;
        EXPECT_EQ(world_.Events().Depth(), 0) << c.name;
    }
}

TEST_F(PriceListExportTest, AFileModeNoExportBuildsIsReportedAndWritesNothing) {
    world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TYPE", "2");
    Export({"KUND"});
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar prislistor",
                                         "  item Hämtar prislistor",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                     }));
}

TEST_F(PriceListExportTest, AHeadValueTheDocumentRefusesKeepsItsElementStrippedAndLogged) {
    test::CapturedLog log;
    Export({"STOR"});
    TXMLDocument written;
    written.LoadFromFile(world_.Unprocessed() + "prislista_STOR.xml");
    const TXMLNode* head =
        written.DocumentElement()->FindNode("pricelists")->FindNode("pricelist")->FindNode("atPrislistor");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->FindNode("CODE_OF_PRICE_LIST_CODE")->Text(), "STOR");
    EXPECT_EQ(head->FindNode("CODE_OF_PRICE_LIST_TEXT")->Text(), "Storkund");
    EXPECT_EQ(log.Text(), "ERROR Fel i CODE_OF_PRICE_LIST_TEXT, \"Stor\x01kund\" (length = 9)\n");
}

TEST_F(PriceListExportTest, ACustomerExportWithEveryIncludeWritesThePriceListItsArticlesAndTheCompany) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kund.xml");
    for (const char* include : {"INCLUDES_PRICE_LIST", "INCLUDES_ART_INFO", "INCLUDES_FTG_INFO"})
        world_.Set("CDSExportCustomersPrefs", include, "1");
    world_.Facade().ExportCustomersFromList(List({"1001"}).get());
    ASSERT_EQ(world_.Written(), std::vector<std::string>{"kund.xml"}) << world_.Events().Lines.back();
    EXPECT_EQ(world_.ReadWritten("kund.xml"), test::FixtureBytes("customer_1001_with_pricelist.xml"));
}

// ---- Extra data: the running number and agreement reference asked for per customer list.

// Answers the question as a test says, and records the row it was shown.
class TAnsweringForm : public IExtraPriceListData {
public:
    bool answer = true;
    std::string agreement;  // typed into the row when not empty
    std::vector<std::string> shown;

    bool Execute(TDataSet& data) override {
        shown.push_back(data.FieldByName("customernumber").AsString() + " " +
                        data.FieldByName("customername").AsString() + " " +
                        data.FieldByName("lopnr").AsString());
        if (answer && !agreement.empty()) {
            data.Edit();
            data.FieldByName("agreementref").SetAsString(agreement);
            data.Post();
        }
        return answer;
    }
};

class ExtraDataTest : public ::testing::Test {
protected:
    explicit ExtraDataTest(const std::string& extraSeed = "")
        : world_(test::FixtureBytes("pricelists.sql") + extraSeed, [this](TExportContext& context) {
              context.ExtraPriceListData = &form_;
              context.Interactive = [this] { return interactive_; };
          }) {
        world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "1");
        world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kund_$kundnr.xml");
        world_.Set("CDSExportCustomersPrefs", "INCLUDES_PRICE_LIST", "1");
        world_.Set("CDSExportCustomersPrefs", "INCLUDES_PRICELIST_META_DATA", "1");
    }
    void SetUp() override { world_.Open(); }

    // The customer export of `number`, and the key of the price list in the file it wrote.
    std::string ExportAndReadKey(const char* number) {
        world_.Facade().ExportCustomersFromList(List({number}).get());
        const std::string file = world_.Unprocessed() + "kund_" + number + ".xml";
        if (!FileExists(file)) return "";
        TXMLDocument written;
        written.LoadFromFile(file);
        const TXMLNode* head = written.DocumentElement()
                                   ->FindNode("pricelists")
                                   ->FindNode("pricelist")
                                   ->FindNode("atPrislistor");
        EXPECT_EQ(head->FindNode("CODE_OF_PRICE_LIST_CODE")->Text(), head->Attribute("key"));
        agreementWritten_ = head->FindNode("CODE_OF_PRICELIST_AGREEMENT_REFERENCE")->Text();
        DeleteFile(file);
        return head->Attribute("key");
    }
    std::string Saved() { return world_.Dir().Read(world_.Root("data/exportcustomerpricelist.txt")); }

    bool interactive_ = true;
    TAnsweringForm form_;
    test::TExportWorld world_;
    std::string agreementWritten_;
};

TEST_F(ExtraDataTest, AFirstListTakesTheCompanysEanLocationNumberAndEachNextOneMore) {
    form_.agreement = "AVT-7";
    EXPECT_EQ(ExportAndReadKey("1001"), "7300009000001");
    EXPECT_EQ(agreementWritten_, "AVT-7");
    EXPECT_EQ(Saved(),
              "customernumber;customername;lopnr;agreementref\r\n"
              "7350000000011;\xC5sa \x80 \xD6"
              "berg AB;7300009000001;AVT-7\r\n");  // Windows-1252
    form_.agreement.clear();
    EXPECT_EQ(ExportAndReadKey("1001"), "7300009000002");
    EXPECT_EQ(agreementWritten_, "AVT-7");
    // Another customer starts at the company's number too.
    EXPECT_EQ(ExportAndReadKey("1003"), "");  // its list is missing: the run ends after the row is saved
    EXPECT_EQ(form_.shown, (std::vector<std::string>{"7350000000011 Åsa € Öberg AB 7300009000001",
                                                     "7350000000011 Åsa € Öberg AB 7300009000002",
                                                     "7350000000035 Cecilia\tEk\x01 7300009000001"}));
    EXPECT_EQ(world_.Events().Lines.back(), "  2 Prislistan existerar inte");
}

TEST_F(ExtraDataTest, ACancelAndARunWithoutAnOperatorEndWithoutExtraDataAndSaveNothing) {
    // Cancelled by the operator; then a run without an operator, where the form would answer but
    // is never asked.
    for (bool operatorThere : {true, false}) {
        interactive_ = operatorThere;
        form_.answer = !operatorThere;
        form_.shown.clear();
        EXPECT_EQ(ExportAndReadKey("1001"), "");
        EXPECT_EQ(world_.Events().Lines.back(), "  2 Ingen extrainformation angiven");
        EXPECT_EQ(form_.shown.size(), operatorThere ? 1u : 0u);
        EXPECT_FALSE(FileExists(world_.Root("data/exportcustomerpricelist.txt")));
    }
    // The numbers advanced in memory go on with the next list that is confirmed.
    interactive_ = true;
    form_.answer = true;
    EXPECT_EQ(ExportAndReadKey("1001"), "7300009000003");
}

TEST_F(ExtraDataTest, ACustomerWithoutEanLocationNumberCannotBeFiled) {
    EXPECT_EQ(ExportAndReadKey("K1004"), "");
    EXPECT_EQ(world_.Events().Lines.back(),
              "  2 Inget kundnummer/eanlok är angivet på kunden i Visma Administration");
    EXPECT_TRUE(form_.shown.empty());
}

class ExtraDataWithoutOwnNumberTest : public ExtraDataTest {
protected:
    ExtraDataWithoutOwnNumberTest() : ExtraDataTest("UPDATE installningar SET eanlok = 'saknas';\n") {}
};

TEST_F(ExtraDataWithoutOwnNumberTest, ACompanyEanLocationThatIsNoNumberStartsAtOne) {
    EXPECT_EQ(ExportAndReadKey("1001"), "1");
    EXPECT_EQ(ExportAndReadKey("1001"), "2");
}

}  // namespace
}  // namespace tv
