// Importing a file of 100,000 new customers (load, check and import, through the central data
// module, the kit datasets and the stand-in kit) against plain SQLite inserts of the same rows into
// the same table of a fresh company, committed per row as the kit does and in one transaction; and
// the same file imported by the default import job (data/scripts/import/default_import.pas) run in
// the script host, connecting, checking every kind, archiving and closing as a job does, which
// shows the host's share of the cost beside the engine's direct run.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/dm_plugins.h"
#include "automation/job_api_rows.h"
#include "automation/script_handler_engine.h"
#include "bench/import/plain_company.h"
#include "bench/import/timed_import.h"
#include "core/job_runner.h"
#include "core/work_folders.h"
#include "export/dm_export.h"
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

// The job API as the program binds it, with the job runner standing in for the main window whose
// operations it carries out.
struct TJobClasses {
    using MainForm = tv::TJobRunner;
    using MainDM = tv::TMainDM;
    using DMImport = tv::TDMImport;
    using DMExport = tv::TDMExport;
    using DMPlugins = tv::TDMPlugins;
};

// No window: the job runs headless, as a command-line job does.
class TNoWindow : public tv::IJobWindow {
public:
    bool Interactive() const override { return false; }
    void CollapseScriptList() override {}
    void ShowEventWindow() override {}
    void HideEventWindow() override {}
    void CloseAndTerminate() override {}
};

void DefaultImportJob(benchmark::State& state) {
    namespace fs = std::filesystem;
    const std::string file = CustomersFile();
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world;
        const std::string import = world.Dir().Path("common/Brismark/Tollvane/default/import/");
        for (std::string_view folder : {tv::kFolderUnprocessed, std::string_view("behandlade"),
                                        std::string_view("felaktiga")})
            fs::create_directories(import + std::string(folder));
        world.Dir().Write("common/Brismark/Tollvane/default/import/obehandlade/customers.xml", file);
        TNoWindow window;
        tv::TJobRunner runner(world.MainDM(), window, world.Events(), {});
        tv::TScriptHandlerEngine host(
            tv::TJobApi::Over<TJobClasses>(&runner, &world.MainDM(), &world.Import(), nullptr, nullptr));
        host.LoadScript(std::string(TV_SOURCE_DIR) + "/data/scripts/import/default_import.pas");
        const bool compiled = host.PSScript1.Compile();
        state.ResumeTiming();
        if (!compiled || !host.PSScript1.Execute()) throw std::runtime_error("the default import job failed");
        state.PauseTiming();
        if (world.Import().ImportedItems().size() != static_cast<size_t>(kCustomers))
            throw std::runtime_error("not all imported");
        if (!fs::exists(import + "behandlade/customers.xml")) throw std::runtime_error("the file was not archived");
        state.ResumeTiming();
    }
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
BENCHMARK(DefaultImportJob)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(PlainSqlite, commit_per_row, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainSqlite, one_transaction, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
