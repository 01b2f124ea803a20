#include "export/dm_export.h"

#include <gtest/gtest.h>

#include "platform/data/field.h"
#include "platform/rtl/string_list.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

// Writers that record the selection each is handed ("ExportInvoices 2,3") and fail when asked.
class RecordingWriters : public IExportWriters {
public:
    std::vector<std::string> Calls;
    bool Fail = false;

    void ExportAccountPlan(const std::string& year) override { Record("ExportAccountPlan " + year); }
    // The form that takes the rest from the settings.
    void ExportArticles(TDataSet& s) override { Record("ExportArticles", &s, " (settings)"); }
    void ExportArticles(TDataSet& s, const TStrings* pricelists, int quantity, int supplier,
                        int translations) override {
        Record("ExportArticles", &s,
               " " + std::to_string(pricelists ? pricelists->Count() : -1) + "/" + std::to_string(quantity) +
                   "/" + std::to_string(supplier) + "/" + std::to_string(translations));
    }
    void ExportBest(TDataSet& s) override { Record("ExportBest", &s); }
    void ExportContacts(TDataSet& s) override { Record("ExportContacts", &s); }
    void ExportCustomers(TDataSet& s) override { Record("ExportCustomers", &s); }
    void ExportInvoices(TDataSet& s) override { Record("ExportInvoices", &s); }
    void ExportOffers(TDataSet& s) override { Record("ExportOffers", &s); }
    void ExportOrders(TDataSet& s) override { Record("ExportOrders", &s); }
    void ExportPriceLists(TDataSet& s) override { Record("ExportPriceLists", &s); }
    void ExportSupplierInvoices(TDataSet& s) override { Record("ExportSupplierInvoices", &s); }
    void ExportSuppliers(TDataSet& s) override { Record("ExportSuppliers", &s); }

private:
    void Record(std::string call, TDataSet* selection = nullptr, const std::string& tail = "") {
        if (selection) {
            std::string keys;
            for (selection->First(); !selection->Eof(); selection->Next())
                keys += (keys.empty() ? "" : ",") + selection->Fields(0).AsString();
            call += " " + keys;
        }
        Calls.push_back(call + tail);
        if (Fail) throw Exception("the writer failed");
    }
};

using test::List;

class DMExportTest : public ::testing::Test {
protected:
    void SetUp() override { world_.Open(); }
    const std::vector<std::string>& Lines() { return world_.Events().Lines; }

    test::TExportWorld world_;
    RecordingWriters writers_;
    TDMExport export_{world_.Export(), writers_};
};

TEST_F(DMExportTest, AnEmptyOrAbsentListWarnsAndWritesNothing) {
    const auto empty = List({});
    export_.ExportOrdersFromList(empty.get());
    export_.ExportCustomersFromList(nullptr);
    export_.ExportInvoicesFromList(empty.get());
    export_.ExportOffersFromList(empty.get());
    export_.ExportBestFromList(empty.get());
    export_.ExportSupplierInvoicesFromList(empty.get());
    EXPECT_TRUE(writers_.Calls.empty());
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "item+ Exporterar order",
                           "  item Använder egendefinerat urval",
                           "  3 Inga order att exportera",
                           "item+ Exporterar kunder",
                           "  item Använder egendefinerat urval",
                           "  3 Inga kunder att exportera",
                           "item+ Exporterar fakturor",
                           "  item Använder egendefinerat urval",
                           "  3 Inga fakturor att exportera",
                           "item+ Exporterar offerter",
                           "  item Använder egendefinerat urval",
                           "  3 Inga offerter att exportera",
                           "item+ Exporterar beställningar",
                           "  item Använder egendefinerat urval",
                           "  3 Inga beställningar kan exporteras",
                           "item+ Exporterar leverantörsfakturor",
                           "  item Använder egendefinerat urval",
                           "  3 Inga leverantörsfakturor att exportera",
                       }));
}

TEST_F(DMExportTest, ListsAreTakenInTheirOrderAndArticlesNeedNoneOfTheFrame) {
    export_.ExportOrdersFromList(List({"12", "3"}).get());
    export_.ExportArticlesFromList(List({}).get());
    export_.ExportArticlesFromList(List({"A2", "A1"}).get(), List({"PL1"}).get(), 1, 0);
    export_.ExportArticlesFromList(nullptr, nullptr, 0, 1, 1);
    EXPECT_EQ(writers_.Calls,
              (std::vector<std::string>{"ExportOrders 12,3", "ExportArticles  -1/0/0/0",
                                        "ExportArticles A2,A1 1/1/0/0", "ExportArticles  -1/0/1/1"}));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"item+ Exporterar order", "  item Använder egendefinerat urval",
                                        "item+ Exporterar artiklar", "item+ Exporterar artiklar",
                                        "item+ Exporterar artiklar"}));
}

struct SelectionCase {
    const char* rule;
    const char* type;
    const char* sql;
    const char* outcome;  // the writer's call, or the level-2 line
};

TEST_F(DMExportTest, TheSelectionTypeDecidesAsWrittenLetterCaseIncluded) {
    const SelectionCase cases[] = {
        {"SQL", "SQL", "select kundnr from kund where kundnr like '100%' order by kundnr desc",
         "ExportCustomers 1003,1002,1001"},
        {"sql in small letters selects every record", "sql", "select 'x'",
         "ExportCustomers 1001,1002,1003,K1004"},
        {"the stored word for all", "Alla", "", "ExportCustomers 1001,1002,1003,K1004"},
        {"interval is not built", "Intervall", "", "  2 Not yet implemented: Urvalsmetod intervall"},
        {"SQL without a statement", "SQL", "  ",
         "  2 Ingen SQL fråga har angivits i inställningarna. Titta i respektive modul"},
        {"a statement the database refuses", "SQL", "select nothing from nowhere", "  2 "},
        {"a key twice in the customer selection", "SQL", "select '1001' union all select '1001'",
         "  2 Key violation."},
    };
    for (const SelectionCase& c : cases) {
        world_.Set("CDSExportCustomersPrefs", "SELECTION_TYPE", c.type);
        world_.Set("CDSExportCustomersPrefs", "SELECTION_SQL", c.sql);
        writers_.Calls.clear();
        world_.Events().Clear();
        export_.ExportCustomers();
        const std::string outcome = c.outcome;
        if (outcome.starts_with("  2 ")) {
            EXPECT_TRUE(writers_.Calls.empty()) << c.rule;
            ASSERT_EQ(Lines().size(), 2u) << c.rule;
            EXPECT_TRUE(Lines()[1].starts_with(outcome)) << c.rule << ": " << Lines()[1];
        } else {
            EXPECT_EQ(writers_.Calls, std::vector<std::string>{outcome}) << c.rule;
            EXPECT_EQ(Lines(), std::vector<std::string>{"item+ Exporterar kunder"}) << c.rule;
        }
        EXPECT_EQ(world_.Events().Depth(), 0) << c.rule;
    }
}

TEST_F(DMExportTest, EveryRegisterKindSelectsAllItsRecordsInTheKitsOrder) {
    export_.ExportSuppliers();
    export_.ExportContacts();
    export_.ExportArticles();
    export_.ExportPriceLists();
    EXPECT_EQ(writers_.Calls,
              (std::vector<std::string>{"ExportSuppliers L10,L20", "ExportContacts 1,2,3",
                                        "ExportArticles A1,A2,A3,P1,P2 (settings)", "ExportPriceLists "}));
    // The temporary dataset the registers are read through is closed again.
    EXPECT_FALSE(world_.MainDM().AdkDataSet("AdkTmp").Active());
}

TEST_F(DMExportTest, AnyOtherMaxItemsWritesNothingAndSaysSo) {
    world_.Set("CDSExportArticlesPrefs", "MAX_ITEMS", "5");
    export_.ExportArticles();
    EXPECT_TRUE(writers_.Calls.empty());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"item+ Exporterar artiklar",
                                                 "  3 MAX_ITEMS 5 stöds inte, ingen fil skrevs"}));
}

TEST_F(DMExportTest, OrdersAndOffersShowTheirFetchStepAndAnEmptySqlStillCallsTheWriter) {
    world_.Set("CDSExportOrderPrefs", "ORDER_SELECTION_TYPE", "SQL");
    world_.Set("CDSExportOrderPrefs", "ORDER_SELECTION_SQL", "select doknr from oof where doktyp = 'O'");
    export_.ExportOrders();
    export_.ExportOffers();
    EXPECT_EQ(writers_.Calls, (std::vector<std::string>{"ExportOrders ", "ExportOffers "}));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"item+ Exporterar order", "  item Hämtar order",
                                        "  event Hämtar order 5", "  count 0", "item+ Exporterar offerter",
                                        "  item Hämtar offerter", "  event Hämtar offerter 14", "  count 0",
                                        "  1 Hämtar samtliga offerter, notera att detta kan ta lite tid"}));
    EXPECT_FALSE(world_.MainDM().Timer1Enabled());
}

TEST_F(DMExportTest, ANumberSelectionRefusesATextThatIsNoNumber) {
    export_.ExportInvoicesFromList(List({"1", "abc"}).get());
    EXPECT_TRUE(writers_.Calls.empty());
    ASSERT_EQ(Lines().size(), 3u);
    EXPECT_TRUE(Lines()[2].starts_with("  2 ")) << Lines()[2];
    EXPECT_NE(Lines()[2].find("abc"), std::string::npos) << Lines()[2];
}

TEST_F(DMExportTest, TheInvoiceStartValueIsPassedAndTheNextStoredOnlyAfterSuccess) {
    // Contact ids stand in for invoice numbers: the selection SQL may read any table.
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SELECTION_TYPE", "SQL");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SELECTION_SQL",
               "select kontaktid from kontakt where kontaktid > :startvalue order by kontaktid");
    world_.Set("CDSExportInvoicesPrefs", "EXPORT_START_VALUE", "1");
    world_.Set("CDSExportInvoicesPrefs", "EXPORT_START_QUERY", "select max(kontaktid) from kontakt");
    writers_.Fail = true;
    export_.ExportInvoices();
    EXPECT_EQ(world_.MainDM().Table("CDSExportInvoicesPrefs").FieldByName("EXPORT_START_VALUE").AsString(),
              "1");
    EXPECT_EQ(Lines().back(), "  2 the writer failed");
    writers_.Fail = false;
    export_.ExportInvoices();
    EXPECT_EQ(writers_.Calls, (std::vector<std::string>{"ExportInvoices 2,3", "ExportInvoices 2,3"}));
    EXPECT_EQ(world_.MainDM().Table("CDSExportInvoicesPrefs").FieldByName("EXPORT_START_VALUE").AsString(),
              "3");
    // Saved with the settings.
    EXPECT_NE(world_.Dir().Read(world_.Root("tollvane.ini")).find("EXPORT_START_VALUE=3\r\n"),
              std::string::npos);

    // A selection without the parameter runs as it stands.
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SELECTION_SQL",
               "select kontaktid from kontakt where kontaktid < 3");
    world_.Set("CDSExportInvoicesPrefs", "EXPORT_START_QUERY", "");
    export_.ExportInvoices();
    EXPECT_EQ(writers_.Calls.back(), "ExportInvoices 1,2");
    EXPECT_EQ(world_.MainDM().Table("CDSExportInvoicesPrefs").FieldByName("EXPORT_START_VALUE").AsString(),
              "3");
}

TEST_F(DMExportTest, AFailingStartQueryIsReportedWithItsText) {
    world_.Set("CDSExportInvoicesPrefs", "EXPORT_START_QUERY", "select nothing from nowhere");
    export_.ExportInvoices();
    EXPECT_TRUE(writers_.Calls.empty());
    EXPECT_TRUE(Lines().back().starts_with("  2 Misslyckades att hämta senaste fråga: ")) << Lines().back();
}

TEST_F(DMExportTest, GetDocumentsBySqlAppendsTheFirstColumnAndLetsErrorsThrough) {
    TStringList items;
    items.Add("first");
    export_.GetDocumentsBySQL(items, "select kundnr, namn from kund where kundnr < '1003' order by kundnr");
    EXPECT_EQ(items.Text(), "first\r\n1001\r\n1002\r\n");
    EXPECT_ANY_THROW(export_.GetDocumentsBySQL(items, "select nothing from nowhere"));
    EXPECT_TRUE(Lines().empty());
}

}  // namespace
}  // namespace tv
