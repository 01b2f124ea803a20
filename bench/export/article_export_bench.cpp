// Exporting 10,000 articles into one file as a job runs it, each with a base price and a bracket
// in two price lists, the base prices of two suppliers and names in two languages: articles per
// second, beside the customers of export_bench.cpp and the orders of document_export_bench.cpp.
// Registered after both: the kit opens one company at a time, and theirs are released by then.

#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/export/export_bench_support.h"
#include "platform/rtl/string_list.h"

namespace tv {
namespace {

constexpr int kArticles = 10000;

const std::string& ArticleCompany() {
    static const std::string folder = [] {
        std::ostringstream seed;
        const std::string numbers = bench::NumbersUpTo(kArticles);
        const std::string stamp = bench::kSeedStamp;
        seed << numbers
             << "INSERT INTO art (artnr, benamning, vikt, konteringskod, timestamp) SELECT 'A' || (100000 + "
                "i), "
                "'Artikel ' || i, i * 0.25, 'K1', "
             << stamp << " FROM n;\n";
        for (const char* list : {"BAS", "VIP"})
            for (const char* quantity : {"0", "10"})
                seed << numbers << "INSERT INTO forspris (prislista, artnr, antal, pris, timestamp) SELECT '"
                     << list << "', 'A' || (100000 + i), " << quantity << ", 12.5 + i % 7, " << stamp
                     << " FROM n;\n";
        for (const char* supplier : {"100", "200"})
            seed << numbers << "INSERT INTO inkpris (artnr, levnr, antal, pris, levartnr, timestamp) SELECT "
                 << "'A' || (100000 + i), '" << supplier << "', 0, 6.25, 'L' || i, " << stamp << " FROM n;\n";
        for (const char* language : {"EN", "DE"})
            seed << numbers
                 << "INSERT INTO artspr (sprakkod, artnr, benamning, benamning2, timestamp) SELECT '"
                 << language << "', 'A' || (100000 + i), 'Name ' || i, NULL, " << stamp << " FROM n;\n";
        return bench::MakeSeededCompany("tv_bench_articles", seed.str());
    }();
    return folder;
}

void BM_ExportArticlesWithPricesAndNames(benchmark::State& state) {
    bench::JobWorld job(ArticleCompany(),
                        {{"CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", "artiklar.xml"}});
    TStringList items;
    for (int i = 1; i <= kArticles; ++i) items.Add("A" + std::to_string(100000 + i));
    TStringList priceLists;
    priceLists.Add("BAS");
    priceLists.Add("VIP");
    for (auto _ : state) job.facade->ExportArticlesFromList(&items, &priceLists, 0, 1, 1);
    job.RequireWritten("artiklar.xml");
    state.SetItemsProcessed(state.iterations() * kArticles);
}
BENCHMARK(BM_ExportArticlesWithPricesAndNames)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace tv
