// The data grid paging through 100,000 records on the offscreen platform: each page down moves
// the dataset under the link's buffer, and the grid paints the page it then shows.

#include <benchmark/benchmark.h>

#include <string>

#include "grid_bench_setup.h"
#include "platform/gui/bitmap.h"

namespace tv {
namespace {

using bench::kRecords;

// The grid's page-down command, as its scroll bar sends it.
class TPagingGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    void PageDown() { VertScrollCommand(scPageDown, 0); }
};

void BM_GridPagesThroughRecords(benchmark::State& state) {
    bench::TGridBench<TPagingGrid> setup(bench::BenchTable(
        {{"ARTNR", TFieldType::ftString, 16}, {"NAME", TFieldType::ftString, 60}, {"PRICE", TFieldType::ftFloat}},
        kRecords, [](TDataSet& ds, int i) {
            const std::string text = "A" + std::to_string(100000 + i);
            ds.Fields(0).SetAsString(text);
            ds.Fields(1).SetAsString("Article number " + text);
            ds.Fields(2).SetAsFloat(i * 0.25);
        }));
    TPagingGrid& grid = setup.Grid();
    grid.SetStripeColor(clDefault);
    setup.Link();
    TClientDataSet& table = setup.Table();
    TBitmap picture;
    picture.SetSize(grid.Width(), grid.Height());
    int pages = 0;
    for (auto _ : state) {
        table.First();
        while (!table.Eof()) {
            grid.PageDown();
            grid.PaintTo(picture.Canvas(), 0, 0);
            ++pages;
        }
    }
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kAvgIterations);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GridPagesThroughRecords)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tv
