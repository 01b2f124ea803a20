// The data grid's totals pass over 100,000 records on the offscreen platform: a count, a sum and
// an average in the footers of three columns, recalculated by a forced request (the walk keeps
// the current record and its row).

#include <benchmark/benchmark.h>

#include <string>

#include "controls/xdb_column_totals.h"
#include "grid_bench_setup.h"

namespace tv {
namespace {

using bench::kRecords;

void BM_GridTotalsPass(benchmark::State& state) {
    bench::TGridBench<> setup(bench::BenchTable(
        {{"ARTNR", TFieldType::ftString, 16}, {"QTY", TFieldType::ftInteger}, {"PRICE", TFieldType::ftFloat}},
        kRecords, [](TDataSet& ds, int i) {
            ds.Fields(0).SetAsString("A" + std::to_string(100000 + i));
            ds.Fields(1).SetAsInteger(i % 17);
            if (i % 10 != 0) ds.Fields(2).SetAsFloat(i * 0.25);  // every tenth price is Null
        }));
    TXDBGrid& grid = setup.Grid();
    grid.SetOptionsEx(TXDBGridOptionsEx{dgTotalFooter, dgCalcWholeDataSet});
    setup.Link();
    const struct {
        int column;
        TCalcValue calc;
    } totals[] = {{0, cvCount}, {1, cvSum}, {2, cvAvg}};
    for (const auto& t : totals) {
        TXColumnTotalValue* footer = grid.Columns()->Items(t.column)->TotalFooter();
        footer->SetTotalResult(trCalcValue);
        footer->SetCalcValue(t.calc);
    }
    setup.Table().SetRecNo(500);
    for (auto _ : state) grid.UpdateTotals(false);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(grid.Columns()->Items(2)->TotalFooter()->Value());
}
BENCHMARK(BM_GridTotalsPass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tv
