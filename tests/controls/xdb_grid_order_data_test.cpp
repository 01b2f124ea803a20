// The grid ordering its client table by title clicks with dgAutoUpdateOrder: the table follows
// the markers and the current record keeps its screen row; an order the table refuses puts the
// old order and markers back with a beep and raises nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

class DataGridOrder : public test::GridTest {
protected:
    // 40 articles whose names run the other way round to their numbers.
    TXDBGrid* OrderedGrid() {
        std::vector<std::vector<std::string>> rows;
        for (int n = 1; n <= 40; ++n) rows.push_back({std::to_string(n), "Namn " + std::to_string(100 - n)});
        table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"NAME", TFieldType::ftString, 30}}, rows);
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(460, 300);
        for (const char* field : {"ID", "NAME"}) grid->Columns()->Add()->SetFieldName(field);
        TXDBGridOptionsEx options = grid->OptionsEx();
        options.Include(dgAutoUpdateOrder);
        grid->SetOptionsEx(options);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    int ScreenRow(TXDBGrid& grid) { return grid.Row() - grid.TitleOffset(); }
};

TEST_F(DataGridOrder, ATitleClickOrdersTheTableAndTheRecordKeepsItsRow) {
    TXDBGrid* grid = OrderedGrid();
    int updates = 0;
    int changes = 0;
    grid->OnOrderUpdated = [&](TObject*) { ++updates; };
    grid->OnOrderChanged = [&](TObject*) { ++changes; };
    table->SetRecNo(15);
    const int row = ScreenRow(*grid);
    const int name = grid->ColumnToRaw(grid->FindColumn("NAME"));
    test::Click(*grid, test::CellPoint(*grid, name, 0));
    EXPECT_EQ(table->IndexFieldNames(), "NAME");
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 15);
    EXPECT_EQ(ScreenRow(*grid), row);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(changes, 0);  // ordered: the program hears nothing
    table->First();
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 40);
    // The table sorts ascending only: the grid's markers follow (dgAutoAscendOrder).
    EXPECT_TRUE(grid->Options().Contains(dgMarkerAscendOnly));
    EXPECT_EQ(grid->FindColumn("NAME")->Title()->MarkerIndex(), 2);
}

TEST_F(DataGridOrder, ARefusedOrderPutsTheOldOneBackWithABeep) {
    TXDBGrid* grid = OrderedGrid();
    grid->Columns()->Add()->SetFieldName("MISSING");  // no such field in the table
    grid->SetOrderFields("NAME");
    ASSERT_EQ(table->IndexFieldNames(), "NAME");
    sound.Clear();
    int updates = 0;
    grid->OnOrderUpdated = [&](TObject*) { ++updates; };
    EXPECT_NO_THROW(grid->SetOrderFields("MISSING"));
    EXPECT_EQ(table->IndexFieldNames(), "NAME");
    EXPECT_EQ(grid->OrderFields(), "NAME");
    EXPECT_EQ(grid->FindColumn("MISSING")->Title()->MarkerIndex(), -1);
    EXPECT_EQ(grid->FindColumn("NAME")->Title()->MarkerIndex(), 2);
    EXPECT_EQ(sound.Beeps().size(), 1u);
    EXPECT_EQ(updates, 1);  // raised after the rollback too
}

}  // namespace
}  // namespace tv
