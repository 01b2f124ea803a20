// Importing a file of 10,000 new orders of five rows each (four article rows and a text row) through
// the central data module, the kit datasets and the stand-in kit, and importing it again over the
// orders it made under row managements 2 and 3: orders and rows per second, beside
// the customer import of import_bench.cpp and plain SQLite inserts of the same heads and rows into
// the same tables of a fresh company, committed per order as the kit does and in one transaction.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>

#include "bench/import/plain_company.h"
#include "bench/import/timed_import.h"
#include "import/import_sleeper.h"
#include "tests/import/import_world.h"

namespace {

constexpr int kOrders = 10000;
constexpr int kRowsPerOrder = 5;
constexpr const char* kArticles[] = {"A100", "A200"};

std::string Row(int order, int row) {
    const std::string n = std::to_string(row);
    if (row == kRowsPerOrder)
        return "\t\t\t\t<row>\r\n\t\t\t\t\t<OOI_ROW_TYPE_OF_ROW>T</"
               "OOI_ROW_TYPE_OF_ROW>\r\n\t\t\t\t\t<OOI_ROW_TEXT>Leverans "
               "vecka " +
               std::to_string(order % 52 + 1) + "</OOI_ROW_TEXT>\r\n\t\t\t\t</row>\r\n";
    return std::string("\t\t\t\t<row artkey=\"") + kArticles[row % 2] +
           "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>" + n + "</OOI_ROW_QUANTITY2>\r\n\t\t\t\t\t<OOI_ROW_PRICE>" +
           n + "0</OOI_ROW_PRICE>\r\n\t\t\t\t\t<OOI_ROW_TEXT>Rad " + n +
           "</OOI_ROW_TEXT>\r\n\t\t\t\t</row>\r\n";
}

// With `numbered`, each order names the number it gets in the demo company (which holds orders 1
// and 2), so that a second import of the file finds it.
std::string OrdersFileOf(bool numbered) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<customers>\r\n\t\t<atKunder "
        "key=\"1001\" "
        "option=\"noedit\"/>\r\n\t</customers>\r\n\t<articles>\r\n\t\t<atArtiklar key=\"A100\" "
        "option=\"noedit\"/>\r\n\t\t<atArtiklar key=\"A200\" "
        "option=\"noedit\"/>\r\n\t</articles>\r\n\t<orders>\r\n";
    for (int i = 1; i <= kOrders; ++i) {
        xml +=
            "\t\t<order>\r\n\t\t\t<atOrder "
            "customerkey=\"1001\">\r\n" +
            (numbered ? "\t\t\t\t<OOI_HEAD_DOCUMENT_NUMBER>" + std::to_string(i + 2) +
                            "</OOI_HEAD_DOCUMENT_NUMBER>\r\n"
                      : std::string()) +
            "\t\t\t\t<OOI_HEAD_CUSTOMER_ORDER_NUMBER>W-" + std::to_string(i) +
            "</OOI_HEAD_CUSTOMER_ORDER_NUMBER>\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE1>2024-03-01</"
            "OOI_HEAD_DOCUMENT_DATE1>\r\n\t\t\t\t<OOI_HEAD_DELIVERY_NAME>Lager Syd</"
            "OOI_HEAD_DELIVERY_NAME>\r\n\t\t\t</atOrder>\r\n\t\t\t<rows>\r\n";
        for (int row = 1; row <= kRowsPerOrder; ++row) xml += Row(i, row);
        xml += "\t\t\t</rows>\r\n\t\t</order>\r\n";
    }
    return xml + "\t</orders>\r\n</quorvel>\r\n";
}

std::string OrdersFile() {
    return OrdersFileOf(false);
}
std::string NumberedOrdersFile() {
    return OrdersFileOf(true);
}

void SetRates(benchmark::State& state) {
    state.counters["orders_per_s"] =
        benchmark::Counter(double(state.iterations()) * kOrders, benchmark::Counter::kIsRate);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(state.iterations()) * kOrders * kRowsPerOrder, benchmark::Counter::kIsRate);
}

void ImportOrders(benchmark::State& state) {
    // The customer and the articles are only resolved: one number per order is imported.
    tv::bench::RunTimedImport(state,
                              {.Seeds = {"kit/demo_company.sql"},
                               .FileName = "orders.xml",
                               .File = OrdersFile,
                               .Prepare = {&tv::TDMImport::CheckCustomers, &tv::TDMImport::ImportCustomers,
                                           &tv::TDMImport::CheckArticles, &tv::TDMImport::ImportArticles,
                                           &tv::TDMImport::CheckOrders},
                               .Import = &tv::TDMImport::ImportOrders,
                               .ImportedItems = kOrders});
    SetRates(state);
}

// The pause after deleting rows is not measured.
class TNoSleep : public tv::IImportSleeper {
public:
    void Sleep(int) override {}
    void ProcessMessages() override {}
};

// The 10,000 orders imported, then imported again over themselves with the row management given:
// 2 deletes each order's rows through the kit and appends the file's, 3 changes the rows of the
// same article (the first of each article twice) and appends the text row.
template <int RowsManagement>
void ReimportOrders(benchmark::State& state) {
    static TNoSleep noSleep;
    tv::bench::RunTimedImport(state,
                              {.Seeds = {"kit/demo_company.sql"},
                               .FileName = "orders.xml",
                               .File = NumberedOrdersFile,
                               .Prepare = {&tv::TDMImport::CheckCustomers, &tv::TDMImport::ImportCustomers,
                                           &tv::TDMImport::CheckArticles, &tv::TDMImport::ImportArticles,
                                           &tv::TDMImport::CheckOrders, &tv::TDMImport::ImportOrders},
                               .Configure =
                                   [](tv::test::TImportWorld& world) {
                                       world.Set("CDSImportOrderPrefs", "ON_ORDER_EXIST", "0");
                                       world.Set("CDSImportOrderPrefs", "ORDER_ROWS_MANAGEMENT",
                                                 std::to_string(RowsManagement));
                                       world.Context().Sleeper = &noSleep;
                                   },
                               .Import = &tv::TDMImport::ImportOrders,
                               .ImportedItems = 2 * kOrders});
    // The first import belongs to the preparation: the rates are of the second one alone.
    const double seconds = state.counters["import_s"].value;
    state.counters["orders_per_s"] = kOrders / seconds;
    state.counters["rows_per_s"] = double(kOrders) * kRowsPerOrder / seconds;
}

// The same heads and rows into the same tables with prepared statements; `perOrderCommit` commits
// each order with its rows as the kit does, otherwise one transaction holds them all.
void PlainSqliteOrders(benchmark::State& state, bool perOrderCommit) {
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world;  // only for its fresh company
        tv::bench::TPlainCompany db(world.Company());
        sqlite3_stmt* head = db.Prepare(
            "INSERT INTO orderhuvud (doknr, kundnr, datum, ertordernr, levnamn, antalrader, timestamp) "
            "VALUES (?, '1001', '2024-03-01', ?, 'Lager Syd', ?, strftime('%s', 'now'))");
        sqlite3_stmt* row = db.Prepare(
            "INSERT INTO orderrad (doknr, radnr, artnr, bestantal, apris, text, radtyp) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)");
        state.ResumeTiming();
        if (!perOrderCommit) db.Exec("BEGIN");
        for (int i = 1; i <= kOrders; ++i) {
            if (perOrderCommit) db.Exec("BEGIN");
            const std::string reference = "W-" + std::to_string(i);
            sqlite3_bind_int(head, 1, i);
            sqlite3_bind_text(head, 2, reference.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(head, 3, kRowsPerOrder);
            db.Step(head);
            for (int r = 1; r <= kRowsPerOrder; ++r) {
                const bool text = r == kRowsPerOrder;
                const std::string rowText =
                    text ? "Leverans vecka " + std::to_string(i % 52 + 1) : "Rad " + std::to_string(r);
                sqlite3_bind_int(row, 1, i);
                sqlite3_bind_int(row, 2, r);
                if (text) {
                    sqlite3_bind_null(row, 3);
                    sqlite3_bind_null(row, 4);
                    sqlite3_bind_null(row, 5);
                    sqlite3_bind_text(row, 7, "T", -1, SQLITE_STATIC);
                } else {
                    sqlite3_bind_text(row, 3, kArticles[r % 2], -1, SQLITE_STATIC);
                    sqlite3_bind_double(row, 4, r);
                    sqlite3_bind_double(row, 5, r * 10);
                    sqlite3_bind_null(row, 7);
                }
                sqlite3_bind_text(row, 6, rowText.c_str(), -1, SQLITE_TRANSIENT);
                db.Step(row);
            }
            if (perOrderCommit) db.Exec("COMMIT");
        }
        if (!perOrderCommit) db.Exec("COMMIT");
        state.PauseTiming();
        db.Close();
        state.ResumeTiming();
    }
    SetRates(state);
}

}  // namespace

BENCHMARK(ImportOrders)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(ReimportOrders<2>)
    ->Name("ReimportOrders/rows_management_2")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(ReimportOrders<3>)
    ->Name("ReimportOrders/rows_management_3")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainSqliteOrders, commit_per_order, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainSqliteOrders, one_transaction, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
