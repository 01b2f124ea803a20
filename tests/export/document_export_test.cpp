// Orders, offers and invoices written through the export facade into the export fixture's company
// with its documents (documents.sql), compared byte for byte with hand-written files, and the marks
// the exports leave in the company read straight from its SQLite file.

#include "export/document_export.h"

#include <gtest/gtest.h>

#include "platform/rtl/string_list.h"
#include "tests/export/company_database.h"
#include "tests/export/export_world.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

using test::CompanyDatabase;
using test::List;

class DocumentExportTest : public ::testing::Test {
protected:
    DocumentExportTest() : world_(test::FixtureBytes("documents.sql")) {}

    void Open(bool forceDot) { world_.OpenSwedish(forceDot); }
    // The printed, pick-list and delivery-note flags of every head of a kit table's SQL table.
    std::string Flags(const std::string& table) {
        return CompanyDatabase(world_.Company())
            .Column("select doknr || ':' || ifnull(utskriven, 0) || ifnull(plocklista, 0) || "
                    "ifnull(foljesedel, 0) from " +
                    table + " order by doknr");
    }

    test::TExportWorld world_;
};

TEST_F(DocumentExportTest, OrdersInOneFileWithEveryInclude) {
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "orders.xml");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_CUSTOMERS", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_ARTICLES", "True");
    world_.Set("CDSExportOrderPrefs", "INCLUDES_FTG_INFO", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_KOLLI", "1");
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    Open(true);
    world_.Facade().ExportOrdersFromList(List({"1", "2", " 3 ", "4"}).get());
    // One atKunder per customer however many orders name it, none for the order without one; one
    // atArtiklar per article however often it stands on rows, the components of the nested
    // package P3 (P2, and P2's A1) after them; parcels only under their own order; freight VAT
    // only with a freight VAT code; the last row adjusted unless its VAT is 0 or there are none.
    EXPECT_EQ(world_.ReadWritten("orders.xml"), test::FixtureBytes("orders_all.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar order",
                                         "  item Använder egendefinerat urval",
                                         "  count 4",
                                         "  1 Exporterar order 1",
                                         "  1 Exporterar order 2",
                                         "  1 Exporterar order 3",
                                         "  1 Exporterar order 4",
                                         "  count 5",
                                         "  count 5",
                                         world_.WritingLine("orders.xml"),
                                     }));
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
    EXPECT_FALSE(world_.MainDM().AdkDataSet("AdkPaketArtiklar").Filtered());
    EXPECT_FALSE(world_.MainDM().CDSTables().Filtered());
    // Nothing asked to be marked.
    EXPECT_EQ(Flags("orderhuvud"), "1:000,2:000,3:000,4:000");
}

TEST_F(DocumentExportTest, OrdersOneFilePerDocumentUnderADecimalComma) {
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "order_$ordernr.xml");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_CUSTOMERS", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_ARTICLES", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_KOLLI", "1");
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    Open(false);
    world_.Facade().ExportOrdersFromList(List({"1", "3"}).get());
    // Each file holds its own order with only its own customers, articles and components.
    EXPECT_EQ(world_.Written(), (std::vector<std::string>{"order_1.xml", "order_3.xml"}));
    EXPECT_EQ(world_.ReadWritten("order_1.xml"), test::FixtureBytes("order_1_sv.xml"));
    EXPECT_EQ(world_.ReadWritten("order_3.xml"), test::FixtureBytes("order_3_sv.xml"));
}

TEST_F(DocumentExportTest, OffersInOneFileAndPerDocument) {
    world_.Set("CDSExportOfferPrefs", "FILE_MANAGEMENT_TMPL", "offers.xml");
    world_.Set("CDSExportOfferPrefs", "INCLUDES_CUSTOMERS", "True");
    Open(true);
    test::CapturedLog log;
    world_.Facade().ExportOffersFromList(List({"1", "2"}).get());
    // Offer 2's customer number and name carry characters the document refuses: the reference is
    // written stripped, and the head values keep their elements, logged and stripped.
    EXPECT_EQ(world_.ReadWritten("offers.xml"), test::FixtureBytes("offers_all.xml"));
    EXPECT_EQ(log.Text(),
              "ERROR Fel i OOI_HEAD_CUSTOMER_NUMBER, \"X\x01Y\" (length = 3)\n"
              "ERROR Fel i OOI_HEAD_CUSTOMER_NAME, \"Xavier\x02\" (length = 7)\n");

    world_.Set("CDSExportOfferPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportOfferPrefs", "FILE_MANAGEMENT_TMPL", "offer_$offertnr.xml");
    world_.Formats() = test::SwedishSettings();
    world_.Facade().ExportOffersFromList(List({"1"}).get());
    EXPECT_EQ(world_.ReadWritten("offer_1.xml"), test::FixtureBytes("offer_1_sv.xml"));
}

TEST_F(DocumentExportTest, InvoicesInOneFileWithTheirRowsDifference) {
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_FILE_MANAGEMENT_TMPL", "invoices.xml");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_INCLUDES_CUSTOMERS", "True");
    Open(true);
    world_.Facade().ExportInvoicesFromList(List({"1", "2"}).get());
    // No attributes; every value without the strip set, tabs too; the difference is the rows' VAT
    // against the stored total, so invoice 1's freight and fee VAT land on its last row.
    EXPECT_EQ(world_.ReadWritten("invoices.xml"), test::FixtureBytes("invoices_all.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar fakturor",
                                         "  item Använder egendefinerat urval",
                                         "  1 Exporterar faktura 1",
                                         "  1 Hämtar fakturor",
                                         "  1 Exporterar faktura 2",
                                         "  1 Hämtar fakturor",
                                         world_.WritingLine("invoices.xml"),
                                     }));
}

TEST_F(DocumentExportTest, InvoicesPerDocumentReportEachStep) {
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_FILE_MANAGEMENT_TMPL", "invoice_$fakturanr.xml");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_INCLUDES_CUSTOMERS", "True");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_INCLUDES_ARTICLES", "False");
    world_.Set("CDSExportInvoicesPrefs", "INCLUDES_FTG_INFO", "2");  // acts only when 1
    Open(false);
    world_.Facade().ExportInvoicesFromList(List({"1"}).get());
    EXPECT_EQ(world_.ReadWritten("invoice_1.xml"), test::FixtureBytes("invoice_1_sv.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar fakturor",
                                         "  item Använder egendefinerat urval",
                                         "  1 Exporterar faktura 1",
                                         "  1 Hämtar fakturor",
                                         "  1 Hämtar kunder",
                                         "  1 Skapar filnamn",
                                         world_.WritingLine("invoice_1.xml"),
                                     }));
}

TEST_F(DocumentExportTest, AnEmptySelectionWritesASkeletonInOneFileAndNothingPerDocument) {
    world_.Set("CDSExportOrderPrefs", "ORDER_SELECTION_TYPE", "SQL");
    world_.Set("CDSExportOrderPrefs", "ORDER_SELECTION_SQL", "select doknr from oof where 1 = 0");
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "orders.xml");
    world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_CUSTOMERS", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TYPE", "1");
    Open(true);
    world_.Facade().ExportOrders();
    EXPECT_TRUE(world_.Written().empty());
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TYPE", "0");
    world_.Facade().ExportOrders();
    EXPECT_EQ(world_.ReadWritten("orders.xml"), test::FixtureBytes("empty_skeleton.xml"));
}

TEST_F(DocumentExportTest, AFileModeNoExportBuildsWritesAndMarksNothing) {
    for (const char* table : {"CDSExportOrderPrefs", "CDSExportOfferPrefs"})
        world_.Set(table, table == std::string("CDSExportOrderPrefs") ? "ORDER_FILE_MANAGEMENT_TYPE"
                                                                      : "FILE_MANAGEMENT_TYPE",
                   "2");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_FILE_MANAGEMENT_TYPE", "-1");
    world_.Set("CDSExportOrderPrefs", "ORDER_PRINT_ON_EXPORT", "True");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SET_PRINTED", "1");
    Open(true);
    world_.Facade().ExportOrdersFromList(List({"1"}).get());
    world_.Facade().ExportOffersFromList(List({"1"}).get());
    world_.Facade().ExportInvoicesFromList(List({"1"}).get());
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar order",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                         "item+ Exporterar offerter",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                         "item+ Exporterar fakturor",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering -1 stöds inte, ingen fil skrevs",
                                     }));
    EXPECT_EQ(Flags("orderhuvud"), "1:000,2:000,3:000,4:000");
    EXPECT_EQ(Flags("fakturahuvud"), "1:000,2:000");
}

struct MissingCase {
    const char* kind;
    void (TDMExport::*Export)(const TStrings*);
    const char* printSetting[2];  // table, field
    const char* printValue;
    const char* sqlTable;
    const char* message;
};

TEST_F(DocumentExportTest, AMissingDocumentEndsTheRunWithoutAFileOrMarks) {
    const MissingCase cases[] = {
        {"orders", &TDMExport::ExportOrdersFromList, {"CDSExportOrderPrefs", "ORDER_PRINT_ON_EXPORT"}, "True",
         "orderhuvud", "  2 Kunde inte hitta order9999"},
        {"offers", &TDMExport::ExportOffersFromList, {"CDSExportOfferPrefs", "PRINT_ON_EXPORT"}, "True",
         "offerthuvud",
         "  2 Kunde inte hitta offert9999"},
        {"invoices", &TDMExport::ExportInvoicesFromList, {"CDSExportInvoicesPrefs", "INVOICE_SET_PRINTED"}, "1",
         "fakturahuvud", "  2 Kunde inte hitta faktura: 9999"},
    };
    Open(true);
    for (const MissingCase& c : cases) {
        world_.Set(c.printSetting[0], c.printSetting[1], c.printValue);
        (world_.Facade().*c.Export)(List({"1", "9999", "2"}).get());
        EXPECT_TRUE(world_.Written().empty()) << c.kind;
        EXPECT_EQ(world_.Events().Lines.back(), c.message) << c.kind;
        EXPECT_EQ(world_.Events().Depth(), 0) << c.kind;
        EXPECT_FALSE(world_.MainDM().XMLDocument1().Active()) << c.kind;
        EXPECT_EQ(CompanyDatabase(world_.Company()).Column(std::string("select count(*) from ") + c.sqlTable +
                                                           " where utskriven = 1"),
                  "0")
            << c.kind;
    }
}

TEST_F(DocumentExportTest, ExactlyTheDocumentsWrittenAreMarked) {
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "order_$ordernr.xml");
    world_.Set("CDSExportOrderPrefs", "ORDER_PRINT_ON_EXPORT", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_PLOCKLISTA_ON_EXPORT", "True");
    world_.Set("CDSExportOrderPrefs", "ORDER_FS_ON_EXPORT", "1");
    world_.Set("CDSExportOfferPrefs", "PRINT_ON_EXPORT", "True");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SET_PRINTED", "1");
    Open(true);
    world_.Facade().ExportOrdersFromList(List({"2", "4"}).get());
    world_.Facade().ExportOffersFromList(List({"2"}).get());
    world_.Facade().ExportInvoicesFromList(List({"1"}).get());
    EXPECT_EQ(Flags("orderhuvud"), "1:000,2:111,3:000,4:111");
    EXPECT_EQ(Flags("offerthuvud"), "1:000,2:100");
    EXPECT_EQ(Flags("fakturahuvud"), "1:100,2:000");
    const auto& lines = world_.Events().Lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  8 Markerar flaggor på order [2]"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  8 Markerar flaggor på offert [2]"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  8 Markerar flaggor på faktura [1]"), 1);

    // Only the delivery note's flag as an integer other than 1: nothing is marked, and an invoice
    // setting other than 0 and 1 posts the invoice without setting its flag.
    world_.Events().Clear();
    world_.Set("CDSExportOrderPrefs", "ORDER_PRINT_ON_EXPORT", "False");
    world_.Set("CDSExportOrderPrefs", "ORDER_PLOCKLISTA_ON_EXPORT", "False");
    world_.Set("CDSExportOrderPrefs", "ORDER_FS_ON_EXPORT", "2");
    world_.Set("CDSExportInvoicesPrefs", "INVOICE_SET_PRINTED", "2");
    world_.Facade().ExportOrdersFromList(List({"1"}).get());
    world_.Facade().ExportInvoicesFromList(List({"2"}).get());
    EXPECT_EQ(Flags("orderhuvud"), "1:000,2:111,3:000,4:111");
    EXPECT_EQ(Flags("fakturahuvud"), "1:100,2:000");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  8 Markerar flaggor på order [1]"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  8 Markerar flaggor på faktura [2]"), 1);
}

TEST_F(DocumentExportTest, AFailedMarkIsAWarningAndTheOthersAreMarked) {
    CompanyDatabase(world_.Company())
        .Exec("INSERT INTO kit_faults (function, code, message, skip, times) VALUES ('AdkUpdate', 312, NULL, 0, 1)");
    world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "orders.xml");
    world_.Set("CDSExportOrderPrefs", "ORDER_PRINT_ON_EXPORT", "True");
    Open(true);
    world_.Facade().ExportOrdersFromList(List({"1", "2"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"orders.xml"});
    const auto& lines = world_.Events().Lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("  3 Kunde inte markera flagga på order 1 Fel: "))
        << lines[lines.size() - 2];
    EXPECT_EQ(lines.back(), "  8 Markerar flaggor på order [2]");
    EXPECT_EQ(Flags("orderhuvud"), "1:000,2:100,3:000,4:000");
}

}  // namespace
}  // namespace tv
