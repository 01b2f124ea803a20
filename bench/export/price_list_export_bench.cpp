// Exporting price lists as a job runs it: a customer price list of 10,000 articles with EAN codes,
// each with a base price and two brackets (a base row and three bracket rows each, the base price
// at quantity 0 counted among them), beside the company price list those prices come from (30,000
// rows). Rows per second. Registered after the other export benchmarks: the kit opens one company
// at a time.

#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/export/export_bench_support.h"
#include "platform/data/client_data_set.h"

namespace tv {
namespace {

constexpr int kArticles = 10000;

const std::string& PriceListCompany() {
    static const std::string folder = [] {
        std::ostringstream seed;
        const std::string numbers = bench::NumbersUpTo(kArticles);
        const std::string stamp = bench::kSeedStamp;
        seed << numbers
             << "INSERT INTO art (artnr, benamning, benamning2, vikt, volym, streckkod, timestamp) SELECT "
                "'A' || (100000 + i), 'Artikel ' || i, 'Namn två', i * 0.25, 0.5, '73100' || (1000000 + i), "
             << stamp << " FROM n;\n";
        seed << "INSERT INTO prislista (kod, benamning, timestamp) VALUES ('KUND', 'Kundpriser', " << stamp
             << ");\n";
        seed << "INSERT INTO kund (kundnr, namn, prislista, valuta, timestamp) VALUES ('C1', 'Kund ett', "
                "'KUND', 'SEK', "
             << stamp << ");\n";
        for (const char* quantity : {"0", "10", "50"})
            seed << numbers
                 << "INSERT INTO forspris (prislista, artnr, antal, pris, timestamp) SELECT 'KUND', "
                 << "'A' || (100000 + i), " << quantity << ", 12.5 + i % 7 - " << quantity << " / 100.0, "
                 << stamp << " FROM n;\n";
        return bench::MakeSeededCompany("tv_bench_pricelists", seed.str());
    }();
    return folder;
}

void ExportPriceList(benchmark::State& state, const char* code, int rows) {
    bench::JobWorld job(PriceListCompany(),
                        {{"CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "prislista.xml"}});
    TClientDataSet selection;
    selection.FieldDefs().Add("prisl", TFieldType::ftString, 30);
    selection.CreateDataSet();
    selection.Append();
    selection.Fields(0).SetAsString(code);
    selection.Post();
    for (auto _ : state) job.writers->ExportPriceLists(selection);
    job.RequireWritten("prislista.xml");
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_ExportCustomerPriceList(benchmark::State& state) {
    ExportPriceList(state, "Customer:C1", kArticles * 4);
}
BENCHMARK(BM_ExportCustomerPriceList)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ExportCompanyPriceList(benchmark::State& state) {
    ExportPriceList(state, "KUND", kArticles * 3);
}
BENCHMARK(BM_ExportCompanyPriceList)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace tv
