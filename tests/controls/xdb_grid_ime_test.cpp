// The input method per column (stored settings only) and the Korean-locale rules: the default
// options by locale, the column's settings taken on column entry and on focus, the screen's
// default on leaving.

#include <gtest/gtest.h>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"

namespace tv {
namespace {

TEST(DataGridLocale, KoreanUserLocaleKeepsTheEditorShown) {
    EXPECT_TRUE(TXCustomDBGrid::DefaultOptionsFor(true).Contains(dgAlwaysShowEditor));
    EXPECT_EQ(TXCustomDBGrid::DefaultOptionsFor(false), kDefaultGridOptions);
    EXPECT_FALSE(kDefaultGridOptions.Contains(dgAlwaysShowEditor));
    TXDBGrid grid;
    EXPECT_EQ(grid.Options(), TXCustomDBGrid::DefaultOptionsFor(TXCustomDBGrid::KoreanUserLocale()));
}

class DataGridIme : public test::GridTest {};

TEST_F(DataGridIme, ColumnEntryAppliesTheColumnsOwnInputMethodOverTheSavedOne) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(460, 200);
    EXPECT_EQ(grid->OriginalImeMode(), imDontCare);
    TXColumn* name = grid->FindColumn("NAME");
    TXColumn* price = grid->FindColumn("PRICE");
    name->SetImeMode(imHira);
    name->SetImeName("Kana");
    price->SetImeMode(imAlpha);  // a mode of its own, the name the grid's

    grid->SelectColumn(grid->ColumnToRaw(name), 1);
    EXPECT_EQ(grid->ImeMode(), imHira);
    EXPECT_EQ(grid->ImeName(), "Kana");
    grid->SelectColumn(grid->ColumnToRaw(price), 1);
    EXPECT_EQ(grid->ImeMode(), imAlpha);
    EXPECT_EQ(grid->ImeName(), "");  // back to the saved name first
    grid->SelectColumn(grid->ColumnToRaw(grid->FindColumn("ID")), -1);
    EXPECT_EQ(grid->ImeMode(), imDontCare);

    // Focus from outside takes the column's settings; leaving gives the screen's default.
    grid->SelectColumn(grid->ColumnToRaw(name), 1);
    grid->SetImeMode(imClose);
    ASSERT_TRUE(test::FocusOn(*grid));
    EXPECT_EQ(grid->ImeMode(), imHira);
    form.Widget()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(grid->ImeMode(), imDontCare);
    EXPECT_EQ(grid->ImeName(), "");
}

}  // namespace
}  // namespace tv
