// The data grid's totals pass over 100,000 records on the offscreen platform: a sum, an average
// and a count in the footers of three columns, recalculated by a forced request (the walk keeps
// the current record and its row).

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

constexpr int kRecords = 100000;

std::unique_ptr<TClientDataSet> OrderLines() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ARTNR", TFieldType::ftString, 16);
    ds->FieldDefs().Add("QTY", TFieldType::ftInteger);
    ds->FieldDefs().Add("PRICE", TFieldType::ftFloat);
    ds->CreateDataSet();
    TField& artnr = ds->FieldByName("ARTNR");
    TField& qty = ds->FieldByName("QTY");
    TField& price = ds->FieldByName("PRICE");
    for (int i = 0; i < kRecords; ++i) {
        ds->Append();
        artnr.SetAsString("A" + std::to_string(100000 + i));
        qty.SetAsInteger(i % 17);
        if (i % 10 != 0) price.SetAsFloat(i * 0.25);  // every tenth price is Null
        ds->Post();
    }
    ds->First();
    return ds;
}

void BM_GridTotalsPass(benchmark::State& state) {
    EnsureQtApplication();
    auto table = OrderLines();
    TDataSource source;
    source.SetDataSet(table.get());
    TForm form;
    form.SetBounds(0, 0, 640, 480);
    auto* grid = new TXDBGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetOptionsEx(TXDBGridOptionsEx{dgTotalFooter, dgCalcWholeDataSet});
    grid->SetDataSource(&source);
    const struct {
        int column;
        TCalcValue calc;
    } totals[] = {{0, cvCount}, {1, cvSum}, {2, cvAvg}};
    for (const auto& t : totals) {
        TXColumnTotalValue* footer = grid->Columns()->Items(t.column)->TotalFooter();
        footer->SetTotalResult(trCalcValue);
        footer->SetCalcValue(t.calc);
    }
    table->SetRecNo(500);
    for (auto _ : state) grid->UpdateTotals(false);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(grid->Columns()->Items(2)->TotalFooter()->Value());
    delete grid;
}
BENCHMARK(BM_GridTotalsPass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tv
