// Filling and searching the in-memory dataset at the size of a large kit table: 100,000 records
// appended one by one through the record events, filled in bulk from a row source, and searched
// with Locate and FindKey.

#include "platform/data/client_data_set.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tv {
namespace {

constexpr int kRecords = 100000;

std::unique_ptr<TClientDataSet> EmptyArticles() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ARTNR", TFieldType::ftString, 16);
    ds->FieldDefs().Add("NAME", TFieldType::ftString, 60);
    ds->FieldDefs().Add("PRICE", TFieldType::ftFloat);
    ds->FieldDefs().Add("STOCK", TFieldType::ftInteger);
    ds->CreateDataSet();
    return ds;
}

void Fill(TClientDataSet& ds) {
    TField& artnr = ds.FieldByName("ARTNR");
    TField& name = ds.FieldByName("NAME");
    TField& price = ds.FieldByName("PRICE");
    TField& stock = ds.FieldByName("STOCK");
    std::string text;
    for (int i = 0; i < kRecords; ++i) {
        ds.Append();
        text = "A" + std::to_string(100000 + i);
        artnr.SetAsString(text);
        name.SetAsString("Article number " + text);
        price.SetAsFloat(i * 0.25);
        stock.SetAsInteger(i % 1000);
        ds.Post();
    }
}

void BM_Append(benchmark::State& state) {
    for (auto _ : state) {
        auto ds = EmptyArticles();
        // 1: ordered by the article number; 2: also a unique index on it, checked at every post.
        if (state.range(0) == 2) ds->AddIndex("ByArticle", "ARTNR", ixUnique);
        if (state.range(0)) ds->SetIndexFieldNames("ARTNR");
        Fill(*ds);
        benchmark::DoNotOptimize(ds->RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Append)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"indexed"})->Unit(benchmark::kMillisecond);

class Rows : public IRowSource {
public:
    Rows() : columns_{{"ARTNR", TFieldType::ftString, 16}, {"PRICE", TFieldType::ftFloat, 0}} {}
    const std::vector<TRowColumn>& Columns() const override { return columns_; }
    bool NextRow() override {
        if (++row_ >= kRecords) return false;
        text_ = "A" + std::to_string(100000 + row_);
        return true;
    }
    TValueView Value(size_t column) const override {
        return column == 0 ? TValueView::FromText(text_) : TValueView::FromFloat(row_ * 0.25);
    }

private:
    std::vector<TRowColumn> columns_;
    int row_ = -1;
    std::string text_;
};

void BM_AppendRows(benchmark::State& state) {
    for (auto _ : state) {
        TClientDataSet ds;
        Rows rows;
        ds.AppendRows(rows);
        benchmark::DoNotOptimize(ds.RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AppendRows)->Unit(benchmark::kMillisecond);

void BM_Locate(benchmark::State& state) {
    auto ds = EmptyArticles();
    Fill(*ds);
    const Variant last = Variant::FromUtf8("a" + std::to_string(100000 + kRecords - 1));
    for (auto _ : state) {
        ds->First();
        benchmark::DoNotOptimize(ds->Locate("ARTNR", last, loCaseInsensitive));
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Locate)->Unit(benchmark::kMillisecond);

void BM_LocateTwoFields(benchmark::State& state) {
    auto ds = EmptyArticles();
    Fill(*ds);
    const std::vector<Variant> key{Variant::FromUtf8("A" + std::to_string(100000 + kRecords - 1)),
                                   Variant(999)};
    for (auto _ : state) {
        ds->First();
        benchmark::DoNotOptimize(ds->Locate("ARTNR;STOCK", key));
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LocateTwoFields)->Unit(benchmark::kMillisecond);

void BM_FindKey(benchmark::State& state) {
    auto ds = EmptyArticles();
    Fill(*ds);
    ds->SetIndexFieldNames("ARTNR");
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ds->FindKey({Variant::FromUtf8("A" + std::to_string(100000 + (i++ * 7919) % kRecords))}));
    }
}
BENCHMARK(BM_FindKey);

}  // namespace
}  // namespace tv
