// The data grid's mouse on data cells with real clicks: a click moves the dataset and the
// column, a click on the current cell opens the editor, and a click reports OnCellClick; a click
// never drops down the list of a column that drops its list down by itself, keys still do.

#include <gtest/gtest.h>

#include <QApplication>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit.h"
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

TEST_F(DataGridMouse, AClickLeavesAnAutoDropDownListClosedUntilAKeyEntersTheCell) {
    for (const bool alwaysShowEditor : {false, true}) {
        SCOPED_TRACE(alwaysShowEditor ? "dgAlwaysShowEditor" : "editor on the second click");
        UseNumberedTable(5);
        auto* grid = AddGrid<TXDBGrid>(460, 300);
        TXColumn* name = grid->FindColumn("NAME");
        name->PickList()->SetCommaText("Artikel 1,Artikel 2");
        name->SetListOptions(name->ListOptions() + TXListOptions{loAutoDropDown});
        ASSERT_TRUE(test::FocusOn(*grid));
        if (alwaysShowEditor) grid->SetOptions(grid->Options() + TXDBGridOptions{dgAlwaysShowEditor});
        grid->ShowEditor();
        auto* editor = dynamic_cast<TXDBGridInplaceEdit*>(grid->InplaceEditor());
        ASSERT_NE(editor, nullptr);
        const int nameCol = 1 + grid->IndicatorOffset();
        const QPoint cell = test::CellPoint(*grid, nameCol, grid->TitleOffset() + 2);

        // The press that moves into the cell, and the one that opens the editor there.
        test::Click(*grid, cell);
        QApplication::processEvents();
        EXPECT_FALSE(editor->ListVisible());
        if (!alwaysShowEditor) test::Click(*grid, cell);
        QApplication::processEvents();
        ASSERT_TRUE(grid->EditorMode());
        EXPECT_EQ(grid->Col(), nameCol);
        EXPECT_FALSE(editor->ListVisible());

        // The release ended the suppression: entering the cell again by keys drops it down.
        test::Key(Qt::Key_Tab, Qt::ShiftModifier);
        test::Key(Qt::Key_Tab);
        if (!alwaysShowEditor) grid->ShowEditor();
        QApplication::processEvents();
        EXPECT_EQ(grid->Col(), nameCol);
        EXPECT_TRUE(editor->ListVisible());
        test::Key(Qt::Key_Escape);
        delete grid;
    }
}

}  // namespace
}  // namespace tv
