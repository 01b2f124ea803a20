// The round trip of a whole company: its customers, articles with their names in other languages,
// sales and purchase prices, its price list, orders and offers exported, checked and imported into
// an empty company in the order a job imports them, and exported again. The registers and prices
// come back byte for byte, under the decimal comma and under "forcedot"; the documents come back
// with the same customer, rows, quantities and amounts.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "automation/engine_contexts.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"
#include "platform/rtl/string_list.h"
#include "tests/export/company_database.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

using test::CompanyDatabase;
using test::List;

// One kind of a file: its check, then its import.
using KindSteps = std::pair<bool (TDMImport::*)(), bool (TDMImport::*)()>;
constexpr KindSteps kCustomers{&TDMImport::CheckCustomers, &TDMImport::ImportCustomers};
constexpr KindSteps kArticles{&TDMImport::CheckArticles, &TDMImport::ImportArticles};
constexpr KindSteps kSalesPrices{&TDMImport::CheckSalesPrices, &TDMImport::ImportSalesPrices};
constexpr KindSteps kPurchasePrices{&TDMImport::CheckPurchasePrices, &TDMImport::ImportPurchasePrices};
constexpr KindSteps kOrders{&TDMImport::CheckOrders, &TDMImport::ImportOrders};
constexpr KindSteps kOffers{&TDMImport::CheckOffers, &TDMImport::ImportOffers};

// The export world over the round trip's source company, mapping the fields both engines read,
// with every include whose output the import cannot take back switched off.
class RoundTripWorld {
public:
    explicit RoundTripWorld(bool forceDot)
        : forceDot_(forceDot), world_(test::FixtureBytes("round_trip.sql")) {
        world_.Dir().Write("common/Brismark/Tollvane/default/tables/ooi.table",
                           test::FixtureBytes("round_trip_ooi.table"));
        world_.MainDM().loadFieldDefinitions();
        for (const auto& [table, field, off] : kIncludesOff) world_.Set(table, field, off);
        world_.OpenSwedish(forceDot_);
    }

    // Writes the customers, the articles (with the price list's prices, the purchase prices and
    // the names in other languages) and the company's price lists, each into one file named
    // `prefix` + "kunder.xml", "artiklar.xml", "prislistor.xml".
    void ExportRegisters(const std::string& prefix) {
        world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", prefix + "kunder.xml");
        world_.Set("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", prefix + "artiklar.xml");
        world_.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", prefix + "prislistor.xml");
        world_.Facade().ExportCustomersFromList(List({"R100", "R200", "R300", "R400"}).get());
        world_.Facade().ExportArticlesFromList(List({"RA1", "RA2", "ra3"}).get(),
                                               List({"RBAS", "RTOM"}).get(), 1, 1, 1);
        world_.Facade().ExportPriceLists();
    }

    // Writes the orders and the offers, each with their customers and articles, into
    // `prefix` + "order.xml" and "offerter.xml".
    void ExportDocuments(const std::string& prefix) {
        world_.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", prefix + "order.xml");
        world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_CUSTOMERS", "True");
        world_.Set("CDSExportOrderPrefs", "ORDER_INCLUDES_ARTICLES", "True");
        world_.Set("CDSExportOfferPrefs", "FILE_MANAGEMENT_TMPL", prefix + "offerter.xml");
        world_.Set("CDSExportOfferPrefs", "INCLUDES_CUSTOMERS", "True");
        world_.Set("CDSExportOfferPrefs", "INCLUDES_ARTICLES", "True");
        world_.Facade().ExportOrdersFromList(List({"1", "2"}).get());
        world_.Facade().ExportOffersFromList(List({"1"}).get());
    }

    // Makes an empty company the data module's company and connects to it as a job does.
    void SwitchToAnEmptyCompany() {
        target_ = world_.Dir().Path("empty");
        test::MakeCompany(world_.Dir(), target_, "");
        world_.Set("InstallningarCDS", "SPCSPathSRC", target_);
        world_.OpenSwedish(forceDot_);
        registry_ = std::make_unique<TKeyHelperDM>();
        context_ = std::make_unique<TImportContext>(MakeImportContext(world_.MainDM()));
        // The process's numbers, as the kit datasets have them.
        context_->FormatSettings = &world_.Formats();
        import_ = std::make_unique<TDMImport>(*context_, *registry_);
    }

    // Loads a file written by the export and checks and imports its kinds in the order given, as
    // a job's script does.
    void Import(const std::string& name, std::initializer_list<KindSteps> kinds) {
        ASSERT_TRUE(import_->LoadXML(world_.Unprocessed() + name)) << name;
        for (const auto& [check, importKind] : kinds) {
            ASSERT_TRUE(((*import_).*check)()) << name << ": " << world_.Events().Lines.back();
            ASSERT_TRUE(((*import_).*importKind)()) << name << ": " << world_.Events().Lines.back();
        }
    }

    // Imports the files of ExportRegisters into an empty company in the order of their
    // dependencies: customers, articles, the price list, then the article file's prices (its
    // price-list heads carry only their code, so the list itself comes first, from its own file).
    void ImportRegistersIntoAnEmptyCompany(const std::string& prefix) {
        SwitchToAnEmptyCompany();
        ASSERT_NO_FATAL_FAILURE(Import(prefix + "kunder.xml", {kCustomers}));
        ASSERT_NO_FATAL_FAILURE(Import(prefix + "artiklar.xml", {kArticles}));
        ASSERT_NO_FATAL_FAILURE(Import(prefix + "prislistor.xml", {kSalesPrices}));
        ASSERT_NO_FATAL_FAILURE(Import(prefix + "artiklar.xml", {kSalesPrices, kPurchasePrices}));
    }

    std::string Written(const std::string& name) { return world_.ReadWritten(name); }
    const std::string& Source() const { return world_.Company(); }
    const std::string& Target() const { return target_; }

private:
    // The includes that would write what no import reads back.
    struct IncludeOff {
        const char* table;
        const char* field;
        const char* off;
    };
    static constexpr IncludeOff kIncludesOff[] = {
        {"CDSExportCustomersPrefs", "INCLUDES_PRICE_LIST", "0"},
        {"CDSExportCustomersPrefs", "INCLUDES_FTG_INFO", "0"},
        {"CDSExportCustomersPrefs", "INCLUDES_ART_INFO", "0"},
        {"CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "False"},
        {"CDSExportArticlesPrefs", "INCLUDE_ACCOUNTING_CODES", "0"},
        {"CDSExportOrderPrefs", "INCLUDES_FTG_INFO", "False"},
        {"CDSExportOrderPrefs", "ORDER_INCLUDES_KOLLI", "0"},
        {"CDSExportOfferPrefs", "INCLUDES_FTG_INFO", "False"},
    };

    bool forceDot_;
    test::TExportWorld world_;
    std::string target_;
    std::unique_ptr<TKeyHelperDM> registry_;
    std::unique_ptr<TImportContext> context_;
    std::unique_ptr<TDMImport> import_;
};

// The rows of a query over a company's SQLite file, one line each, columns separated by "|".
std::string Dump(const std::string& company, const std::string& query) {
    return CompanyDatabase(company).Rows(query);
}

struct FormatCase {
    const char* name;
    bool forceDot;
};
constexpr FormatCase kFormats[] = {{"decimal comma", false}, {"forcedot", true}};

TEST(FullRoundTrip, RegistersAndPricesExportedImportedIntoAnEmptyCompanyAndExportedAgainAreTheSameFiles) {
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.name);
        RoundTripWorld trip(format.forceDot);
        trip.ExportRegisters("forsta_");

        ASSERT_NO_FATAL_FAILURE(trip.ImportRegistersIntoAnEmptyCompany("forsta_"));

        trip.ExportRegisters("andra_");
        for (const char* file : {"kunder.xml", "artiklar.xml", "prislistor.xml"})
            EXPECT_EQ(trip.Written(std::string("andra_") + file), trip.Written(std::string("forsta_") + file))
                << file;
    }
}

// What the empty company holds after the import, read past the kit: the same records as the
// source, field for field.
TEST(FullRoundTrip, TheImportedRegistersAndPricesHoldWhatTheSourceHolds) {
    constexpr const char* kQueries[] = {
        "select kundnr, namn, ort, kreditgrans, kundsedan, valuta, prislista, epost, ignoreraorgnr from kund "
        "where kundnr like 'R_00' order by kundnr",
        "select artnr, benamning, benamning2, momskod, vikt, volym, streckkod, webshop from art "
        "where artnr like 'RA_' order by artnr",
        // The import stores a name's article number in capitals.
        "select sprakkod, upper(artnr), benamning, benamning2 from artspr order by upper(artnr), sprakkod",
        "select kod, benamning, valuta, inklmoms from prislista order by kod",
        "select prislista, artnr, antal, pris from forspris order by prislista, artnr, antal",
        "select artnr, levnr, antal, pris, levartnr from inkpris where artnr like 'RA_' order by artnr, "
        "levnr, antal",
    };
    RoundTripWorld trip(false);
    trip.ExportRegisters("forsta_");
    ASSERT_NO_FATAL_FAILURE(trip.ImportRegistersIntoAnEmptyCompany("forsta_"));
    for (const char* query : kQueries)
        EXPECT_EQ(Dump(trip.Target(), query), Dump(trip.Source(), query)) << query;
}

// The orders and offers of round_trip.sql as the empty company must hold them, written by hand:
// the customer resolved through the file's customers, each row with its article, quantities,
// price, amount, text and VAT code, the text row as a text row (of which the import writes the
// text, type, amount and VAT code, and nothing else).
constexpr const char* kExpectedDocuments =
    "order 1|R100|Åkesson & Söner AB|2010-05-20|2010-05-27|Lager Syd|Malmö|PO-77|SEK|95|328.5\n"
    "order 2|R200|Café € Öl|2010-05-21|2010-05-28|Café € Öl|Umeå|Tel|EUR|0|6.15\n"
    "orderrad 1|1|RA1|12|12|99.5|1194|Skruvlåda|1|\n"
    "orderrad 1|2|||||0|Pris i € inkl. frakt||T\n"
    "orderrad 1|3|RA2|100|100|2.5|250|Mutter M8|2|\n"
    "orderrad 2|1|RA2|20.5|20.5|2.5|51.25|Mutter|2|\n"
    "offert 1|R200|Café € Öl|2010-05-10|2010-06-10|Förfrågan 3\n"
    "offertrad 1|1|RA1|5|5|99.5|497.5|Skruvlåda|1|";

// A number column as its shortest text ("12" whether stored as 12 or 12.0), a text column as it
// stands; null reads empty.
std::string Number(const std::string& column) {
    return "case when " + column + " is null then '' else printf('%g', " + column + ") end";
}
std::string Text(const std::string& column) {
    return "ifnull(" + column + ", '')";
}

// Each record of a table as "<label> <document number>|" and the columns given, in key order.
std::string Records(const std::string& company, const std::string& label, const std::string& table,
                    std::initializer_list<std::string> columns, const std::string& order) {
    std::string query = "select '" + label + " ' || doknr";
    for (const std::string& column : columns) query += ", " + column;
    return Dump(company, query + " from " + table + " order by " + order);
}

std::string DocumentsOf(const std::string& company) {
    const auto rows = [&](const std::string& label, const std::string& table) {
        return Records(company, label, table,
                       {"radnr", Text("artnr"), Number("levantal"), Number("bestantal"), Number("apris"),
                        Number("belopp"), Text("text"), Text("momskod"), Text("radtyp")},
                       "doknr, radnr");
    };
    return Records(company, "order", "orderhuvud",
                   {"kundnr", "kundnamn", "datum", "datum2", "levnamn", "levort", "ertordernr", "valuta",
                    Number("frakt"), Number("moms")},
                   "doknr") +
           "\n" + rows("orderrad", "orderrad") + "\n" +
           Records(company, "offert", "offerthuvud", {"kundnr", "kundnamn", "datum", "datum2", "ertordernr"},
                   "doknr") +
           "\n" + rows("offertrad", "offertrad");
}

TEST(FullRoundTrip, OrdersAndOffersExportedWithTheirCustomersAndArticlesImportIntoAnEmptyCompany) {
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.name);
        RoundTripWorld trip(format.forceDot);
        ASSERT_EQ(DocumentsOf(trip.Source()), kExpectedDocuments) << "the source company";
        trip.ExportDocuments("forsta_");

        trip.SwitchToAnEmptyCompany();
        ASSERT_NO_FATAL_FAILURE(trip.Import("forsta_order.xml", {kCustomers, kArticles, kOrders}));
        ASSERT_NO_FATAL_FAILURE(trip.Import("forsta_offerter.xml", {kCustomers, kArticles, kOffers}));
        EXPECT_EQ(DocumentsOf(trip.Target()), kExpectedDocuments);
        trip.ExportDocuments("andra_");
        for (const char* file : {"order.xml", "offerter.xml"})
            EXPECT_EQ(trip.Written(std::string("andra_") + file), trip.Written(std::string("forsta_") + file))
                << file;
    }
}

}  // namespace
}  // namespace tv
