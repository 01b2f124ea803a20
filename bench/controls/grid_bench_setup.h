#pragma once
// What the grid benchmarks share: a client table of many records, filled row by row, and a data
// grid showing it over the whole of a 640 x 480 form on the offscreen platform.

#include <functional>
#include <initializer_list>
#include <memory>

#include "controls/xdb_grid.h"
#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"

namespace tv::bench {

inline constexpr int kRecords = 100000;

struct TBenchField {
    const char* Name;
    TFieldType Type;
    int Size = 0;
};

// A table of `count` records; `fill` sets the fields of record i (from 0) while it is appended.
inline std::unique_ptr<TClientDataSet> BenchTable(std::initializer_list<TBenchField> fields, int count,
                                                  const std::function<void(TDataSet&, int)>& fill) {
    auto table = std::make_unique<TClientDataSet>();
    for (const TBenchField& f : fields) table->FieldDefs().Add(f.Name, f.Type, f.Size);
    table->CreateDataSet();
    for (int i = 0; i < count; ++i) {
        table->Append();
        fill(*table, i);
        table->Post();
    }
    table->First();
    return table;
}

// A grid of class G over `table`, filling the form.
template <class G = TXDBGrid>
class TGridBench {
public:
    explicit TGridBench(std::unique_ptr<TClientDataSet> table) : fTable(std::move(table)) {
        EnsureQtApplication();
        fSource.SetDataSet(fTable.get());
        fForm.SetBounds(0, 0, 640, 480);
        fGrid = new G(&fForm);
        fGrid->SetParent(&fForm);
        fGrid->SetAlign(alClient);
    }
    // The grid goes before the data source it is linked to.
    ~TGridBench() { delete fGrid; }
    TGridBench(const TGridBench&) = delete;
    TGridBench& operator=(const TGridBench&) = delete;

    G& Grid() { return *fGrid; }
    TClientDataSet& Table() { return *fTable; }
    // Links the grid to the table: done after the grid's options, as a form's loading would.
    void Link() { fGrid->SetDataSource(&fSource); }

private:
    std::unique_ptr<TClientDataSet> fTable;
    TDataSource fSource;
    TForm fForm;
    G* fGrid = nullptr;
};

}  // namespace tv::bench
