// The grid's menus under real right clicks: the context menu of each kind of cell, titles that
// the right button moves (which then open no menu of their own), drop-down menus and where they
// open; and rows dragged with the mouse.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/menu.h"

namespace tv {
namespace {

class DataGridMenus : public test::GridTest {
protected:
    // A menu that records its name when it would be shown.
    TPopupMenu* Menu(const std::string& name) {
        auto* menu = new TPopupMenu(&form);
        menu->OnPopup = [this, name](TObject*) { shown.push_back(name); };
        return menu;
    }
    // A grid over 5 articles with a total header row; every kind of cell has a menu.
    TXDBGrid* MenuGrid() {
        UseNumberedTable(5);
        auto* grid = AddGrid<TXDBGrid>(460, 300);
        grid->SetOptionsEx({dgTotalHeader});
        grid->SetPopupMenu(Menu("grid"));
        grid->SetFillerPopupMenu(Menu("filler"));
        grid->SetIndicatorPopupMenu(Menu("indicator"));
        grid->FindColumn("NAME")->SetPopupMenu(Menu("NAME cells"));
        grid->FindColumn("NAME")->Title()->SetPopupMenu(Menu("NAME title"));
        grid->FindColumn("ID")->Title()->SetPopupMenu(Menu("ID title"));
        grid->FindColumn("NAME")->TotalHeader()->SetPopupMenu(Menu("NAME total"));
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    static void RightClick(const TCustomGrid& grid, QPoint at) {
        QTest::mouseClick(test::ClientWidget(grid), Qt::RightButton, {}, at);
    }
    static int RawOf(TXDBGrid& grid, const char* field) { return grid.ColumnToRaw(grid.FindColumn(field)); }
    std::vector<std::string> Taken() {
        std::vector<std::string> taken;
        taken.swap(shown);
        return taken;
    }
    std::vector<std::string> shown;
};

using Shown = std::vector<std::string>;

TEST_F(DataGridMenus, EachKindOfCellOpensItsOwnMenu) {
    TXDBGrid* grid = MenuGrid();
    const int data = grid->TitleOffset() + 1;
    const int totalHeader = grid->RowCount() - grid->TotalOffset() + 1;
    const TRect last = grid->CellRect(grid->ColCount() - 1, 0);
    struct Case {
        const char* where;
        QPoint at;
        Shown menus;
    } cases[] = {
        {"filler", test::CellPoint(*grid, 0, 0), {"filler"}},
        {"indicator", test::CellPoint(*grid, 0, data), {"indicator"}},
        {"data cell", test::CellPoint(*grid, RawOf(*grid, "NAME"), data), {"NAME cells"}},
        {"title", test::CellPoint(*grid, RawOf(*grid, "NAME"), 0), {"NAME title"}},
        // Without a menu of its own a data cell opens the grid's; a title opens nothing.
        {"data cell without menu", test::CellPoint(*grid, RawOf(*grid, "PRICE"), data), {"grid"}},
        {"title without menu", test::CellPoint(*grid, RawOf(*grid, "PRICE"), 0), {}},
        {"total cell", test::CellPoint(*grid, RawOf(*grid, "NAME"), totalHeader), {"NAME total"}},
        {"total cell without menu", test::CellPoint(*grid, RawOf(*grid, "PRICE"), totalHeader), {"grid"}},
        {"outside the cells", {last.Right + 20, last.Top + 5}, {"grid"}},
    };
    for (const Case& c : cases) {
        RightClick(*grid, c.at);
        EXPECT_EQ(Taken(), c.menus) << c.where;
    }
    EXPECT_EQ(grid->PopupMenu()->PopupComponent(), grid);
}

TEST_F(DataGridMenus, TitlesTheRightButtonMovesOpenNoMenuUnlessFixed) {
    TXDBGrid* grid = MenuGrid();
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgRightMoving});
    grid->SetFixedCols(1);  // ID
    const QPoint name = test::CellPoint(*grid, RawOf(*grid, "NAME"), 0);
    RightClick(*grid, name);
    RightClick(*grid, test::CellPoint(*grid, RawOf(*grid, "ID"), 0));
    EXPECT_EQ(Taken(), Shown{"ID title"});

    // The right button moves the title; the left one neither moves nor sizes it.
    QWidget* client = test::ClientWidget(*grid);
    const QPoint active = test::CellPoint(*grid, RawOf(*grid, "ACTIVE"), 0);
    test::Drag(*grid, name, active);
    EXPECT_EQ(grid->Columns()->Items(1)->FieldName(), "NAME");
    QTest::mousePress(client, Qt::RightButton, {}, name);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(client, name + (active - name) * i / 4);
    EXPECT_EQ(grid->GridState(), gsColMoving);
    QTest::mouseRelease(client, Qt::RightButton, {}, active);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(grid->Columns()->Items(3)->FieldName(), "NAME");
    EXPECT_TRUE(Taken().empty());

    // Without column moving the titles have their menus back.
    grid->SetResizeOptions({roColumnResize});
    RightClick(*grid, test::CellPoint(*grid, RawOf(*grid, "NAME"), 0));
    EXPECT_EQ(Taken(), Shown{"NAME title"});
}

TEST_F(DataGridMenus, DropDownMenusAndWhereTheyOpen) {
    TXDBGrid* grid = MenuGrid();
    TXColumn* price = grid->FindColumn("PRICE");
    // No menu of its own: nothing is shown. The filler's and indicator's stand in for no column.
    EXPECT_FALSE(grid->DropDownMenu(price, true));
    EXPECT_TRUE(grid->DropDownMenu(nullptr, true));
    EXPECT_TRUE(grid->DropDownMenu(nullptr, false));
    price->SetDropDownMenu(Menu("PRICE drop-down"));
    EXPECT_TRUE(grid->DropDownMenu(price, false));
    EXPECT_EQ(Taken(), (Shown{"filler", "indicator", "PRICE drop-down"}));

    // Unthemed, a menu opens on the lines of the cell above it.
    const int line = grid->ColLineWidth();
    const int rowLine = grid->RowLineWidth();
    const TRect title = grid->CellRect(grid->ColumnToRaw(price), 0);
    const TRect cell = grid->CellRect(grid->ColumnToRaw(price), grid->Row());
    const TRect indicator = grid->CellRect(0, grid->Row());
    struct Case {
        TXColumn* column;
        bool title;
        TPoint client;
    } cases[] = {
        {price, true, {title.Left - line, title.Bottom}},
        {price, false, {cell.Left - line, cell.Bottom}},
        {nullptr, true, {-line, grid->TitleHeight() - rowLine}},
        {nullptr, false, {-line, indicator.Bottom}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid->DropDownPoint(c.column, c.title), grid->ClientToScreen(c.client))
            << (c.column ? "column" : "no column") << (c.title ? " title" : " cell");
    // Right to left, it opens at the right edge of the mirrored title.
    grid->SetBiDiMode(bdRightToLeft);
    const TRect mirrored = grid->CellRect(grid->ColumnToRaw(price), 0);
    EXPECT_EQ(mirrored.Right, grid->ClientWidth() - title.Left);
    EXPECT_EQ(grid->DropDownPoint(price, true), grid->ClientToScreen({mirrored.Right + line, mirrored.Bottom}));
    EXPECT_EQ(grid->DropDownPoint(nullptr, true),
              grid->ClientToScreen({grid->ClientWidth() + line, grid->TitleHeight() - rowLine}));
}

TEST_F(DataGridMenus, ATitleMenuThatRaisesStillBringsTheEditorBack) {
    TXDBGrid* grid = MenuGrid();
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgAlwaysShowEditor});
    grid->ShowEditor();
    ASSERT_TRUE(grid->EditorMode());
    TPopupMenu* menu = Menu("failing");
    menu->OnPopup = [](TObject*) { throw std::runtime_error("menu failed"); };
    EXPECT_THROW(grid->DropDownMenu(grid->FindColumn("NAME"), true, menu), std::runtime_error);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(DataGridMenus, RowsDraggedWithTheMouse) {
    TXDBGrid* grid = MenuGrid();
    grid->SetDragRows(true);
    int ended = 0;
    grid->OnEndDrag = [&ended](TObject*, TObject*, int32_t, int32_t) { ++ended; };
    const QPoint name = test::CellPoint(*grid, RawOf(*grid, "NAME"), grid->TitleOffset() + 1);
    test::Press(*grid, name);
    EXPECT_TRUE(grid->Dragging());
    EXPECT_EQ(grid->DragCursor(), crDrag);
    test::Release(*grid, name);
    EXPECT_FALSE(grid->Dragging());
    EXPECT_EQ(ended, 1);

    // Several selected rows drag with the cursor for many; the indicator drags nothing.
    grid->SelectedRows()->SetCurrentRowSelected(true);
    table->Next();
    grid->SelectedRows()->SetCurrentRowSelected(true);
    test::Press(*grid, name);
    EXPECT_EQ(grid->DragCursor(), crMultiDrag);
    test::Release(*grid, name);
    grid->SetFixedCols(0);
    test::Press(*grid, test::CellPoint(*grid, 0, grid->TitleOffset() + 1));
    EXPECT_FALSE(grid->Dragging());
    test::Release(*grid, test::CellPoint(*grid, 0, grid->TitleOffset() + 1));
}

}  // namespace
}  // namespace tv
