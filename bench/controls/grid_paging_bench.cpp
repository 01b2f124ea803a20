// The data grid paging through 100,000 records on the offscreen platform: each page down moves
// the dataset under the link's buffer, and the grid paints the page it then shows.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "controls/xdb_grid.h"
#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

constexpr int kRecords = 100000;

// The grid's page-down command, as its scroll bar sends it.
class TPagingGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    void PageDown() { VertScrollCommand(scPageDown, 0); }
};

std::unique_ptr<TClientDataSet> Articles() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ARTNR", TFieldType::ftString, 16);
    ds->FieldDefs().Add("NAME", TFieldType::ftString, 60);
    ds->FieldDefs().Add("PRICE", TFieldType::ftFloat);
    ds->CreateDataSet();
    TField& artnr = ds->FieldByName("ARTNR");
    TField& name = ds->FieldByName("NAME");
    TField& price = ds->FieldByName("PRICE");
    for (int i = 0; i < kRecords; ++i) {
        ds->Append();
        const std::string text = "A" + std::to_string(100000 + i);
        artnr.SetAsString(text);
        name.SetAsString("Article number " + text);
        price.SetAsFloat(i * 0.25);
        ds->Post();
    }
    ds->First();
    return ds;
}

void BM_GridPagesThroughRecords(benchmark::State& state) {
    EnsureQtApplication();
    auto table = Articles();
    TDataSource source;
    source.SetDataSet(table.get());
    TForm form;
    form.SetBounds(0, 0, 640, 480);
    auto* grid = new TPagingGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetStripeColor(clDefault);
    grid->SetDataSource(&source);
    TBitmap picture;
    picture.SetSize(grid->Width(), grid->Height());
    int pages = 0;
    for (auto _ : state) {
        table->First();
        while (!table->Eof()) {
            grid->PageDown();
            grid->PaintTo(picture.Canvas(), 0, 0);
            ++pages;
        }
    }
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kAvgIterations);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    delete grid;
}
BENCHMARK(BM_GridPagesThroughRecords)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tv
