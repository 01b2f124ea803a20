#include "export/record_nodes.h"

#include <gtest/gtest.h>

#include "export/export_document.h"
#include "export/kit_reads.h"
#include "tests/export/export_test_support.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

class RecordNodesTest : public test::ExportCompanyTest {
protected:
    RecordNodesTest() {
        // P3's component, and the name of accounting code K2, carry a character the document
        // refuses.
        extraSeed_ =
            "INSERT INTO paketart (paketartnr, artnr, antal, radnr, timestamp) VALUES "
            "('P3', 'A' || char(1), 1, 1, '2024-01-02 10:00:00');\n"
            "INSERT INTO artikelkonto (kod, benamning, timestamp) VALUES "
            "('K1', 'Varor', '2024-01-02 10:00:00'), "
            "('K2', 'Tj' || char(1) || 'nster', '2024-01-02 10:00:00');\n";
    }
    void SetUp() override {
        test::ExportCompanyTest::SetUp();
        test::FillDefinitions(definitions_, test::FixtureBytes("ooi.table"));
        doc_.Activate();
        doc_.createDefaultNodes();
    }

    std::vector<std::string> Texts(const TXMLNode& record) {
        std::vector<std::string> texts;
        for (const TXMLNode* child : record.ChildNodes())
            texts.push_back(child->NodeName() + "=" + child->Text());
        return texts;
    }

    TClientDataSet definitions_;
    TFieldMapping mapping_{definitions_};
    test::EventRecorder events_;
    TRecordNodes nodes_{mapping_, events_};
    TXMLDocument xml_;
    TExportDocument doc_{xml_};
    TClientDataSet selection_;
};

TEST_F(RecordNodesTest, OneCustomerMakesTheWholeSkeletonWithOneRecord) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    test::FillSelection(selection_, "kundnr", {"1001"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeCustomers, selection_, false, customers, "atKunder");
    // Fields in ascending kit field number whatever the order of the mapping rows; the missing
    // e-mail an empty element; "Å" one byte, "€" a character reference.
    EXPECT_EQ(xml_.SaveToBytes(), test::FixtureBytes("single_customer.xml"));
}

TEST_F(RecordNodesTest, KeysAreTrimmedToFindAndWrittenAsTheKitHoldsThem) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    test::FillSelection(selection_, "kundnr", {" 1002 ", "9999", "k1004"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeCustomers, selection_, true, customers, "atKunder");
    // The unknown key is passed over; the progress counts every selected key.
    ASSERT_EQ(doc_.NodeCustomers->ChildCount(), 2u);
    EXPECT_EQ(doc_.NodeCustomers->ChildNode(0)->Attribute("key"), "1002");
    EXPECT_EQ(doc_.NodeCustomers->ChildNode(1)->Attribute("key"), "K1004");
    EXPECT_EQ(events_.Lines, std::vector<std::string>{"count 3"});
    EXPECT_EQ(events_.Steps, 3);
}

TEST_F(RecordNodesTest, OnlyCustomersAndArticlesCarryTheirKey) {
    TAdkDataSet& suppliers = DataSet("ADKLeverantorer", atLeverantorer, asLevNr);
    test::FillSelection(selection_, "levnr", {"L10"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeSuppliers, selection_, false, suppliers, "atLeverantorer");
    TAdkDataSet& articles = DataSet("ADKArtiklar", atArtiklar, asArtikelnr);
    test::FillSelection(selection_, "artnr", {"A1"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeArticles, selection_, false, articles, "atArtiklar");

    const TXMLNode& supplier = *doc_.NodeSuppliers->ChildNode(0);
    EXPECT_TRUE(supplier.Attributes().empty());
    EXPECT_EQ(Texts(supplier),
              (std::vector<std::string>{"SUPPLIER_NUMBER=L10", "SUPPLIER_NAME=Leverantör Ett"}));
    EXPECT_EQ(doc_.NodeArticles->ChildNode(0)->Attribute("key"), "A1");
    // Nothing selected: nothing written and the progress left alone.
    test::FillSelection(selection_, "levnr", {});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeSuppliers, selection_, true, suppliers, "atLeverantorer");
    EXPECT_EQ(doc_.NodeSuppliers->ChildCount(), 1u);
    EXPECT_TRUE(events_.Lines.empty());
}

TEST_F(RecordNodesTest, NumbersFollowTheProcessDecimalSeparator) {
    struct Case {
        TFormatSettings settings;
        const char* weight;
    };
    const Case cases[] = {{test::SwedishSettings(), "1234,5"}, {test::ForceDotSettings(), "1234.5"}};
    TAdkDataSet& articles = DataSet("ADKArtiklar", atArtiklar, asArtikelnr);
    test::FillSelection(selection_, "artnr", {"A1"});
    for (const Case& c : cases) {
        articles.SetFormatSettings(&c.settings);
        doc_.NodeArticles->ClearChildNodes();
        nodes_.writeKeyedRegisterNodes(*doc_.NodeArticles, selection_, false, articles, "atArtiklar");
        EXPECT_EQ(Texts(*doc_.NodeArticles->ChildNode(0)),
                  (std::vector<std::string>{"ARTICLE_NUMBER=A1", "ARTICLE_NAME=Skruv",
                                            std::string("ARTICLE_WEIGHT=") + c.weight}));
    }
}

TEST_F(RecordNodesTest, ARefusedValueIsLoggedAndStrippedAnAcceptedOneKeepsItsTab) {
    test::CapturedLog log;
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    test::FillSelection(selection_, "kundnr", {"1002", "1003"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeCustomers, selection_, false, customers, "atKunder");
    ASSERT_EQ(doc_.NodeCustomers->ChildCount(), 2u);
    EXPECT_EQ(doc_.NodeCustomers->ChildNode(0)->FindNode("CUSTOMER_NAME")->Text(), "Bengt\tBerg");
    // The refused value loses its tab as well.
    EXPECT_EQ(doc_.NodeCustomers->ChildNode(1)->FindNode("CUSTOMER_NAME")->Text(), "CeciliaEk");
    EXPECT_EQ(log.Text(), "ERROR Fel i CUSTOMER_NAME, \"Cecilia\tEk\x01\" (length = 11)\n");
    EXPECT_NO_THROW(xml_.SaveToBytes());
}

TEST_F(RecordNodesTest, DataSetRecordsAreWrittenWithoutAttributes) {
    TAdkDataSet& settings = DataSet("AdkPrm", atInstallningar);
    nodes_.writeDataSetNodes(*doc_.NodeFTGInfo, "atInstallningar", settings);
    ASSERT_EQ(doc_.NodeFTGInfo->ChildCount(), 1u);
    const TXMLNode& company = *doc_.NodeFTGInfo->ChildNode(0);
    EXPECT_EQ(company.NodeName(), "atInstallningar");
    EXPECT_TRUE(company.Attributes().empty());
    EXPECT_EQ(Texts(company), (std::vector<std::string>{"COMPANY_NAME=Exportbolaget AB",
                                                        "COMPANY_EAN_LOCATION=7300009000001"}));
}

TEST_F(RecordNodesTest, PackageComponentsAreWalkedUntilTheNextPackage) {
    TAdkDataSet& packages = DataSet("AdkPaketArtiklar", atPaketartiklar, asPaketArtiklarRadNrPaket);
    test::FillSelection(selection_, "artnr", {"P1", "A1", "P2"});
    nodes_.writeAdkRecordsByKey(*doc_.NodeParcelArticles, selection_, true, packages, "atPaketArtiklar");
    std::vector<std::string> rows;
    for (const TXMLNode* record : doc_.NodeParcelArticles->ChildNodes()) {
        EXPECT_EQ(record->NodeName(), "atPaketArtiklar");
        rows.push_back(record->ChildNode(0)->Text() + "/" + record->ChildNode(1)->Text() + "/" +
                       record->ChildNode(2)->Text());
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"P1/A1/2", "P1/A2/4", "P1/A3/1.5", "P2/A1/1"}));
    EXPECT_EQ(events_.Steps, 3);
}

TEST_F(RecordNodesTest, ARefusedValueEndsARunOfRecordsByKey) {
    TAdkDataSet& packages = DataSet("AdkPaketArtiklar", atPaketartiklar, asPaketArtiklarRadNrPaket);
    test::FillSelection(selection_, "artnr", {"P3"});
    EXPECT_THROW(
        nodes_.writeAdkRecordsByKey(*doc_.NodeParcelArticles, selection_, false, packages, "atPaketArtiklar"),
        EXMLDocError);
}

TEST_F(RecordNodesTest, EveryRecordADataSetHoldsWithItsKeyARefusedValueLoggedAndStripped) {
    test::CapturedLog log;
    TAdkDataSet& codes = DataSet("AdkArtikelKontering", atArtikelkonto, asArtikelkontoKod);
    codes.EmptyDataSet();
    TXMLNode& container = *xml_.DocumentElement()->AddChild("accountingcodes");
    // Only what the dataset holds is written, nothing read from the kit; no records, no progress.
    nodes_.writeAdkDataSetNodes(container, "atArtikelkonto", true, codes);
    EXPECT_FALSE(container.HasChildNodes());
    EXPECT_TRUE(events_.Lines.empty());

    FetchAllRecords(codes);
    nodes_.writeAdkDataSetNodes(container, "atArtikelkonto", true, codes);
    std::vector<std::string> records;
    for (const TXMLNode* record : container.ChildNodes()) {
        records.push_back(record->NodeName() + " " + record->Attribute("key"));
        for (const std::string& text : Texts(*record)) records.push_back(text);
    }
    EXPECT_EQ(records, (std::vector<std::string>{"atArtikelkonto K1", "ACCOUNTING_CODE=K1",
                                                 "ACCOUNTING_NAME=Varor", "atArtikelkonto K2",
                                                 "ACCOUNTING_CODE=K2", "ACCOUNTING_NAME=Tjnster"}));
    EXPECT_EQ(events_.Lines, std::vector<std::string>{"count 2"});
    EXPECT_EQ(events_.Steps, 2);
    EXPECT_EQ(log.Text(), "ERROR Fel i ACCOUNTING_NAME, \"Tj\x01nster\" (length = 8)\n");
}

TEST_F(RecordNodesTest, AMappingTitleThatIsNoElementNameEndsTheRun) {
    test::FillDefinitions(definitions_, "atKunder;X;1;1BAD NAME\n");
    mapping_.Reset();
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    test::FillSelection(selection_, "kundnr", {"1001"});
    EXPECT_THROW(
        nodes_.writeKeyedRegisterNodes(*doc_.NodeCustomers, selection_, false, customers, "atKunder"),
        EXMLDocError);
}

TEST_F(RecordNodesTest, AClosedKitDataSetEndsTheRunAtTheFirstField) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    customers.Close();
    TXMLNode* record = doc_.NodeCustomers->AddChild("atKunder");
    EXPECT_EQ(test::MessageOf([&] { nodes_.AddMappedFields(*record, "atKunder", customers); }),
              "AdkKunder: TAdkDataSet är inte öppet");
}

TEST_F(RecordNodesTest, ATableWithoutMappingRowsGivesEmptyRecords) {
    TAdkDataSet& suppliers = DataSet("ADKLeverantorer", atLeverantorer, asLevNr);
    test::FillSelection(selection_, "levnr", {"L20"});
    nodes_.writeKeyedRegisterNodes(*doc_.NodeSuppliers, selection_, false, suppliers, "atLevNoSuchTable");
    ASSERT_EQ(doc_.NodeSuppliers->ChildCount(), 1u);
    EXPECT_FALSE(doc_.NodeSuppliers->ChildNode(0)->HasChildNodes());
}

}  // namespace
}  // namespace tv
