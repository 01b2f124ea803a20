// Importing a file of 100,000 new customers (load, check and import, through the central data
// module, the kit datasets and the stand-in kit) against plain SQLite inserts of the same rows into
// the same table of a fresh company, committed per row as the kit does and in one transaction.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/import/plain_company.h"
#include "bench/import/timed_import.h"
#include "platform/rtl/exception.h"
#include "tests/import/import_world.h"

namespace {

constexpr int kCustomers = 100000;

struct Customer {
    std::string key, number, name, city, credit;
};

const std::vector<Customer>& Customers() {
    static const std::vector<Customer> rows = [] {
        std::vector<Customer> out;
        out.reserve(kCustomers);
        for (int i = 1; i <= kCustomers; ++i) {
            const std::string n = std::to_string(i);
            out.push_back({"k" + n, n, "Kund " + n + " AB", i % 2 ? "Göteborg" : "Umeå", n + ".5"});
        }
        return out;
    }();
    return rows;
}

std::string CustomersFile() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<customers>\r\n";
    for (const Customer& c : Customers())
        xml += "\t\t<atKunder key=\"" + c.key + "\">\r\n\t\t\t<CUSTOMER_NAME>" + c.name +
               "</CUSTOMER_NAME>\r\n\t\t\t<CUSTOMER_CITY>" + c.city +
               "</CUSTOMER_CITY>\r\n\t\t\t<CUSTOMER_CREDIT_LIMIT>" + c.credit +
               "</CUSTOMER_CREDIT_LIMIT>\r\n\t\t</atKunder>\r\n";
    return xml + "\t</customers>\r\n</quorvel>\r\n";
}

void ImportCustomers(benchmark::State& state) {
    tv::bench::RunTimedImport(state, {.FileName = "customers.xml",
                                      .File = CustomersFile,
                                      .Prepare = {&tv::TDMImport::CheckCustomers},
                                      .Import = &tv::TDMImport::ImportCustomers,
                                      .ImportedItems = kCustomers});
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

// The same rows into the same table with one prepared statement; `perRowCommit` commits each row as
// the kit does, otherwise one transaction holds them all.
void PlainSqlite(benchmark::State& state, bool perRowCommit) {
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world;  // only for its fresh company
        tv::bench::TPlainCompany db(world.Company());
        sqlite3_stmt* st = db.Prepare(
            "INSERT INTO kund (kundnr, namn, ort, kreditgrans, timestamp) "
            "VALUES (?, ?, ?, ?, datetime('now', 'localtime'))");
        state.ResumeTiming();
        if (!perRowCommit) db.Exec("BEGIN");
        for (const Customer& c : Customers()) {
            sqlite3_bind_text(st, 1, c.number.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, c.name.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, c.city.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_double(st, 4, std::stod(c.credit));
            db.Step(st);
        }
        if (!perRowCommit) db.Exec("COMMIT");
        state.PauseTiming();
        db.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

}  // namespace

BENCHMARK(ImportCustomers)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(PlainSqlite, commit_per_row, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainSqlite, one_transaction, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
