// The data grid's mouse on data cells with real clicks: a click moves the dataset and the
// column, a click on the current cell opens the editor, and a click reports OnCellClick.

#include <gtest/gtest.h>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

class DataGridMouse : public test::GridTest {};

TEST_F(DataGridMouse, AClickMovesTheRecordAndColumnAndASecondOpensTheEditor) {
    UseNumberedTable(5);
    auto* grid = AddGrid<TXDBGrid>(460, 300);
    ASSERT_TRUE(test::FocusOn(*grid));
    std::vector<std::string> clicked;
    grid->OnCellClick = [&](TXColumn* column) { clicked.push_back(column->FieldName()); };
    const int nameCol = 1 + grid->IndicatorOffset();
    test::Click(*grid, test::CellPoint(*grid, nameCol, grid->TitleOffset() + 3));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 4);
    EXPECT_EQ(grid->Col(), nameCol);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(clicked, std::vector<std::string>{"NAME"});

    test::Click(*grid, test::CellPoint(*grid, nameCol, grid->TitleOffset() + 3));
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(static_cast<TControl*>(grid->InplaceEditor())->Text(), "Artikel 4");
    EXPECT_EQ(clicked.size(), 1u);  // released over the open editor: no cell click

    // Typed text (after the caret at the end) goes to the field when another row is clicked.
    test::Type("Ny");
    test::Click(*grid, test::CellPoint(*grid, nameCol, grid->TitleOffset()));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);
    table->MoveBy(3);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Artikel 4Ny");
}

}  // namespace
}  // namespace tv
