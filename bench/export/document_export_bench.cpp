// Exporting 10,000 orders of ten rows each, with their customers and articles, into one file as a
// job runs it (orders per second, beside the customer export of export_bench.cpp), and serializing
// the same orders' document: what reading the documents through the kit and building their nodes
// (mapped fields, calculated VAT, includes) costs beside writing the bytes.
// Registered after export_bench.cpp's benchmarks: the kit opens one company at a time, and the
// customer export has released its company by then.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "bench/export/export_bench_support.h"

namespace tv {
namespace {

constexpr int kOrders = 10000;
constexpr int kRowsPerOrder = 10;

// 100 customers, 50 articles and the orders, each with freight, rates and ten article rows.
const std::string& OrderCompany() {
    static const std::string folder = [] {
        std::ostringstream seed;
        seed << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                "INSERT INTO kund (kundnr, namn, ort, timestamp) SELECT 1000 + i, 'Kund ' || i, 'Göteborg', "
                "'2024-01-03 10:00:00' FROM n;\n"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50) "
                "INSERT INTO art (artnr, benamning, vikt, timestamp) SELECT 'A' || i, 'Artikel ' || i, i * 0.25, "
                "'2024-01-02 09:00:00' FROM n;\n"
             << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " << kOrders
             << ") INSERT INTO orderhuvud (doknr, kundnr, kundnamn, datum, momssats1, momssats2, momssats3, "
                "momssats4, frakt, fraktmomskod, expavgift, moms, antalrader, timestamp) SELECT i, 1001 + i % 100, "
                "'Kund ' || (1 + i % 100), '2010-05-20', 25, 12, 6, 0, 49, '1', 25, 200.5, "
             << kRowsPerOrder
             << ", 1274349600 FROM n;\n"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
             << kOrders << "), r(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM r WHERE j < " << kRowsPerOrder
             << ") INSERT INTO orderrad (doknr, radnr, artnr, levantal, apris, belopp, momskod, text) "
                "SELECT i, j, 'A' || (1 + (i * 7 + j) % 50), j, 12.62, j * 12.62, '1', 'Rad ' || j FROM n, r;\n";
        return bench::MakeSeededCompany("tv_bench_orders", seed.str());
    }();
    return folder;
}

bench::JobWorld OrderJob() {
    return bench::JobWorld(OrderCompany(), {{"CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "orders_$lopnr_order.xml"},
                                            {"CDSExportOrderPrefs", "ORDER_INCLUDES_CUSTOMERS", "True"},
                                            {"CDSExportOrderPrefs", "ORDER_INCLUDES_ARTICLES", "True"}});
}

void BM_ExportOrdersToOneFile(benchmark::State& state) {
    bench::JobWorld job = OrderJob();
    for (auto _ : state) job.facade->ExportOrders();
    job.RequireWritten("orders_0.xml");
    state.SetItemsProcessed(state.iterations() * kOrders);
}
BENCHMARK(BM_ExportOrdersToOneFile)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The orders' document built once with the order node writer, then serialized.
void BM_SerializeTheOrdersDocument(benchmark::State& state) {
    bench::JobWorld job = OrderJob();
    TExportModule& module = *job.module;
    TExportDocument& doc = module.Document();
    TAdkDataSet& orders = module.KitDataSet(&TExportDataSets::AdkOrder);
    doc.Activate();
    doc.createDefaultNodes();
    for (int n = 1; n <= kOrders; ++n) {
        if (!orders.AdkNavFind(std::to_string(n), true, true)) throw std::runtime_error("no order");
        job.writers->Documents().Nodes().writeOrderNode(*doc.NodeOrders);
    }
    size_t bytes = 0;
    for (auto _ : state) bytes = doc.XMLDocument1().SaveToBytes().size();
    doc.Deactivate();
    state.SetItemsProcessed(state.iterations() * kOrders);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_SerializeTheOrdersDocument)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tv
