// Purchase orders and supplier invoices written through the export facade into the export
// fixture's company with its purchase documents (purchases.sql), compared byte for byte with
// hand-written files, with the event transcript of each run and the printed marks read straight
// from the company's SQLite file.

#include <gtest/gtest.h>

#include "automation/engine_contexts.h"
#include "export/document_export.h"
#include "export/selection_tables.h"
#include "platform/data/field.h"
#include "platform/rtl/string_list.h"
#include "tests/export/company_database.h"
#include "tests/export/export_world.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

using test::CompanyDatabase;
using test::List;

class PurchaseExportTest : public ::testing::Test {
protected:
    PurchaseExportTest() : world_(test::FixtureBytes("purchases.sql")) {}

    void Open(bool forceDot) { world_.OpenSwedish(forceDot); }
    std::string Writing(const std::string& name) { return world_.WritingLine(name); }
    // Kit field 24 (printed) of every purchase order, as "number:flag".
    std::string Printed() {
        return CompanyDatabase(world_.Company())
            .Column("select doknr || ':' || ifnull(utskriven, 0) from best order by doknr");
    }
    void SetBest(const char* field, const std::string& value) {
        world_.Set("CDSExportBestPrefs", field, value);
    }
    void SetSupplierInvoices(const char* field, const std::string& value) {
        world_.Set("CDSExportSupplierInvoicePrefs", field, value);
    }
    // The run's end as a caller sees it: the document inactive, the field mapping unfiltered.
    void ExpectRunClosed() {
        EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
        EXPECT_FALSE(world_.MainDM().CDSTables().Filtered());
        EXPECT_EQ(world_.Events().Depth(), 0);
    }

    test::TExportWorld world_;
};

TEST_F(PurchaseExportTest, PurchaseOrdersInOneFileWithEveryInclude) {
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "bests.xml");
    SetBest("BEST_INCLUDES_CUSTOMERS", "True");
    SetBest("BEST_INCLUDES_ARTICLES", "True");
    SetBest("BEST_INCLUDES_FTG_INFO", "1");
    SetBest("BEST_MARK_PRINTED", "1");
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    Open(true);
    // The export opens the purchase orders itself when they are closed.
    world_.MainDM().AdkDataSet("ADKBest").Close();
    test::CapturedLog log;
    world_.Facade().ExportBestFromList(List({"1", "2", "3"}).get());
    // The company information, L10 once per purchase order that names it, the articles of the
    // article rows with P1's components, and order 3's refused supplier name logged and stripped.
    EXPECT_EQ(world_.ReadWritten("bests.xml"), test::FixtureBytes("bests_all.xml"));
    EXPECT_EQ(log.Text(), "ERROR Fel i BOOKING_SUPPLIER_NAME, \"Leverantör\x01 Två\" (length = 15)\n");
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  item Använder egendefinerat urval",
                                         "  count 3",
                                         "  1 Exporterar beställning 1",
                                         "  1 Exporterar beställning 2",
                                         "  1 Exporterar beställning 3",
                                         "  count 4",
                                         "  count 4",
                                         Writing("bests.xml"),
                                         "  8 Markerar flaggor på beställning [1]",
                                         "  8 Markerar flaggor på beställning [2]",
                                         "  8 Markerar flaggor på beställning [3]",
                                     }));
    EXPECT_EQ(world_.Events().Steps, 3 + 4 + 4);
    ExpectRunClosed();
    EXPECT_EQ(Printed(), "1:1,2:1,3:1,4:0");
}

TEST_F(PurchaseExportTest, AMissingPurchaseOrderKeepsTheFilesAndMarksMadeBeforeIt) {
    SetBest("BEST_FILE_MANAGEMENT_TYPE", "1");
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "best_$bestnr.xml");
    SetBest("BEST_INCLUDES_CUSTOMERS", "True");
    SetBest("BEST_INCLUDES_FTG_INFO", "1");
    SetBest("BEST_MARK_PRINTED", "2");  // any value but 0 marks
    Open(false);
    world_.Facade().ExportBestFromList(List({"1", "9999", "3"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"best_1.xml"});
    EXPECT_EQ(world_.ReadWritten("best_1.xml"), test::FixtureBytes("best_1_sv.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  item Använder egendefinerat urval",
                                         "  count 3",
                                         "  1 Exporterar beställning 1",
                                         Writing("best_1.xml"),
                                         "  8 Markerar flaggor på beställning [1]",
                                         "  1 Exporterar beställning 9999",
                                         "  2 Kunde inte hitta beställning 9999",
                                     }));
    ExpectRunClosed();
    EXPECT_EQ(Printed(), "1:1,2:0,3:0,4:0");

    // In one file nothing is written and nothing marked.
    SetBest("BEST_FILE_MANAGEMENT_TYPE", "0");
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "bests.xml");
    world_.Events().Clear();
    world_.Facade().ExportBestFromList(List({"2", "9999"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"best_1.xml"});
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  item Använder egendefinerat urval",
                                         "  count 2",
                                         "  1 Exporterar beställning 2",
                                         "  1 Exporterar beställning 9999",
                                         "  2 Kunde inte hitta beställning 9999",
                                     }));
    ExpectRunClosed();
    EXPECT_EQ(Printed(), "1:1,2:0,3:0,4:0");
}

TEST_F(PurchaseExportTest, SupplierInvoicesInOneFileWithTheirSuppliers) {
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "supplierinvoices.xml");
    SetSupplierInvoices("SUPINV_INCLUDES_SUPPLIERS", "True");
    Open(true);
    // What an earlier export left in the article selection stays: supplier invoices neither empty
    // it nor add their rows' articles.
    TClientDataSet& articles = world_.Export().Selections().CDSArtikelUrval();
    AppendSelectionKey(articles, "X9");
    test::CapturedLog log;
    world_.Facade().ExportSupplierInvoicesFromList(List({"1", "2", "3"}).get());
    // L10 once per invoice that names it; no company information and no articles; invoice 2's
    // refused number logged and stripped.
    EXPECT_EQ(world_.ReadWritten("supplierinvoices.xml"), test::FixtureBytes("supplierinvoices_all.xml"));
    EXPECT_EQ(log.Text(),
              "ERROR Fel i SUP_INV_HEAD_INVOICE_NUMBER, \"F\x02"
              "200\" (length = 5)\n");
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar leverantörsfakturor",
                                         "  item Använder egendefinerat urval",
                                         "  item Behandlar leverantörsfaktura[1]",
                                         "  item Behandlar leverantörsfaktura[2]",
                                         "  item Behandlar leverantörsfaktura[3]",
                                         "  count 3",
                                         Writing("supplierinvoices.xml"),
                                     }));
    EXPECT_EQ(world_.Events().Steps, 3);
    articles.First();
    EXPECT_EQ(articles.RecordCount(), 1);
    EXPECT_EQ(articles.Fields(0).AsString(), "X9");
    ExpectRunClosed();
}

TEST_F(PurchaseExportTest, SupplierInvoicesOneFilePerDocument) {
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "1");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "lf_$ordernr_$kundnr.xml");
    SetSupplierInvoices("SUPINV_INCLUDES_SUPPLIERS", "True");
    Open(false);
    world_.Facade().ExportSupplierInvoicesFromList(List({"1", "3"}).get());
    EXPECT_EQ(world_.Written(), (std::vector<std::string>{"lf_1_L10.xml", "lf_3_L10.xml"}));
    // Each file holds its own invoice and only its own supplier.
    EXPECT_EQ(world_.ReadWritten("lf_1_L10.xml"), test::FixtureBytes("supplierinvoice_1_sv.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar leverantörsfakturor",
                                         "  item Använder egendefinerat urval",
                                         "  item Behandlar leverantörsfaktura[1]",
                                         "  count 1",
                                         Writing("lf_1_L10.xml"),
                                         "  item Behandlar leverantörsfaktura[3]",
                                         "  count 1",
                                         Writing("lf_3_L10.xml"),
                                     }));
}

TEST_F(PurchaseExportTest, AMissingSupplierInvoiceNamesItsNumber) {
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "1");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "lf_$ordernr.xml");
    Open(true);
    world_.Facade().ExportSupplierInvoicesFromList(List({"1", "77", "2"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"lf_1.xml"});
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar leverantörsfakturor",
                                         "  item Använder egendefinerat urval",
                                         "  item Behandlar leverantörsfaktura[1]",
                                         Writing("lf_1.xml"),
                                         "  item Behandlar leverantörsfaktura[77]",
                                         "  2 Kunde inte hitta leverantörsfaktura 77",
                                     }));
    ExpectRunClosed();

    // In one file nothing is written.
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "0");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "supplierinvoices.xml");
    world_.Events().Clear();
    world_.Facade().ExportSupplierInvoicesFromList(List({"2", "77"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"lf_1.xml"});
    EXPECT_EQ(world_.Events().Lines.back(), "  2 Kunde inte hitta leverantörsfaktura 77");
    ExpectRunClosed();
}

TEST_F(PurchaseExportTest, AnEmptySelectionWritesASkeletonInOneFileAndNothingPerDocument) {
    SetBest("BEST_SELECTION_TYPE", "SQL");
    SetBest("BEST_SELECTION_SQL", "select doknr from best where 1 = 0");
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "bests.xml");
    SetBest("BEST_INCLUDES_CUSTOMERS", "True");
    SetBest("BEST_INCLUDES_FTG_INFO", "1");
    SetSupplierInvoices("SUPINV_SELECTION_TYPE", "SQL");
    SetSupplierInvoices("SUPINV_SELECTION_SQL", "select doknr from levfakturahuvud where 1 = 0");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "supplierinvoices.xml");
    SetSupplierInvoices("SUPINV_INCLUDES_SUPPLIERS", "True");
    SetBest("BEST_FILE_MANAGEMENT_TYPE", "1");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "1");
    Open(true);
    world_.Facade().ExportBest();
    world_.Facade().ExportSupplierInvoices();
    // Purchase orders count their (no) steps; supplier invoices count none.
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  count 0",
                                         "item+ Exporterar leverantörsfakturor",
                                     }));
    EXPECT_TRUE(world_.Written().empty());

    SetBest("BEST_FILE_MANAGEMENT_TYPE", "0");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "0");
    world_.Events().Clear();
    world_.Facade().ExportBest();
    world_.Facade().ExportSupplierInvoices();
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  count 0",
                                         Writing("bests.xml"),
                                         "item+ Exporterar leverantörsfakturor",
                                         Writing("supplierinvoices.xml"),
                                     }));
    EXPECT_EQ(world_.Written(), (std::vector<std::string>{"bests.xml", "supplierinvoices.xml"}));
    EXPECT_EQ(world_.ReadWritten("bests.xml"), test::FixtureBytes("skeleton_with_company.xml"));
    EXPECT_EQ(world_.ReadWritten("supplierinvoices.xml"), test::FixtureBytes("empty_skeleton.xml"));
}

TEST_F(PurchaseExportTest, AFailedMarkIsAWarningAndTheOtherPurchaseOrdersAreMarked) {
    // The kit refuses the second update: purchase order 2's mark.
    CompanyDatabase(world_.Company())
        .Exec(
            "INSERT INTO kit_faults (function, code, message, skip, times) VALUES ('AdkUpdate', 312, NULL, "
            "1, 1)");
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "bests.xml");
    SetBest("BEST_MARK_PRINTED", "1");
    Open(true);
    world_.Facade().ExportBestFromList(List({"1", "2", "3"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"bests.xml"});
    const auto& lines = world_.Events().Lines;
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[6], Writing("bests.xml"));
    EXPECT_EQ(lines[7], "  8 Markerar flaggor på beställning [1]");
    EXPECT_EQ(lines[8], "  8 Markerar flaggor på beställning [2]");
    // The kit's own text follows "Fel: "; only the level and the words before it are ours.
    EXPECT_TRUE(lines[9].starts_with("  3 Kunde inte markera flagga på beställning 2 Fel: ")) << lines[9];
    EXPECT_EQ(lines[10], "  8 Markerar flaggor på beställning [3]");
    ExpectRunClosed();
    EXPECT_EQ(Printed(), "1:1,2:0,3:1,4:0");
}

TEST_F(PurchaseExportTest, AHeadElementThatCannotBeMadeEndsTheRun) {
    struct Case {
        const char* definition;
        void (TDMExport::*Export)(const TStrings*);
        std::vector<std::string> lines;
    };
    // Only the supplier invoices name the element; a purchase order passes the document's error on.
    const Case cases[] = {
        {"atLevFakturor;X;2;1BAD",
         &TDMExport::ExportSupplierInvoicesFromList,
         {"item+ Exporterar leverantörsfakturor", "  item Använder egendefinerat urval",
          "  item Behandlar leverantörsfaktura[1]",
          "  2 Fel vid rad : 1BAD \"1BAD\" is not a valid XML element name"}},
        {"atBestallningar;X;2;2BAD",
         &TDMExport::ExportBestFromList,
         {"item+ Exporterar beställningar", "  item Använder egendefinerat urval", "  count 1",
          "  1 Exporterar beställning 1", "  2 \"2BAD\" is not a valid XML element name"}},
    };
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "bests.xml");
    SetBest("BEST_MARK_PRINTED", "1");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TMPL", "supplierinvoices.xml");
    Open(true);
    for (const Case& c : cases) {
        test::FillDefinitions(world_.MainDM().CDSTables(), c.definition);
        world_.Events().Clear();
        (world_.Facade().*c.Export)(List({"1"}).get());
        EXPECT_EQ(world_.Events().Lines, c.lines) << c.definition;
        ExpectRunClosed();
    }
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(Printed(), "1:0,2:0,3:0,4:0");
}

TEST_F(PurchaseExportTest, AnEmptyPurchaseOrderFileNameStopsTheRunBeforeAnythingIsWritten) {
    // A host without an export folder leaves a bare name as it stands, so a name made of the
    // supplier number of a purchase order without one is empty.
    TExportContext context = MakeExportContext(world_.MainDM());
    context.getWorkFolder = [](int, std::string_view) { return std::string(); };
    TExportModule module(std::move(context), test::FixedNow);
    TExportWriters writers(module);
    TDMExport facade(module, writers);
    SetBest("BEST_FILE_MANAGEMENT_TMPL", "$levnr");
    SetBest("BEST_MARK_PRINTED", "1");
    Open(true);
    facade.ExportBestFromList(List({"4"}).get());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  item Använder egendefinerat urval",
                                         "  count 1",
                                         "  1 Exporterar beställning 4",
                                         "  2 Filnamnet för beställning är tomt, kontrollera inställningarna",
                                     }));
    ExpectRunClosed();
    EXPECT_EQ(Printed(), "1:0,2:0,3:0,4:0");
}

TEST_F(PurchaseExportTest, AFileModeNoExportBuildsWritesAndMarksNothing) {
    SetBest("BEST_FILE_MANAGEMENT_TYPE", "2");
    SetBest("BEST_MARK_PRINTED", "1");
    SetSupplierInvoices("SUPINV_FILE_MANAGEMENT_TYPE", "7");
    Open(true);
    world_.Facade().ExportBestFromList(List({"1"}).get());
    world_.Facade().ExportSupplierInvoicesFromList(List({"1"}).get());
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar beställningar",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                         "item+ Exporterar leverantörsfakturor",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering 7 stöds inte, ingen fil skrevs",
                                     }));
    EXPECT_EQ(Printed(), "1:0,2:0,3:0,4:0");
}

}  // namespace
}  // namespace tv
