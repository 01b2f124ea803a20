// The data grid's mouse with real presses, moves and releases on the fake clock: a press dragged
// past the data area scrolls the records on the timer (the farther, the faster), the current
// cell follows the mouse with dgMouseTracking, check-box cells under the mouse are hot, and a
// title dragged onto another moves its column as the grid's checks allow.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

class GridMouseScroll : public test::GridTest {
protected:
    // A grid over `records` numbered records showing 6 data rows and half of one more.
    TXDBGrid* Grid(int records) {
        UseNumberedTable(records);
        auto* grid = AddGrid<TXDBGrid>(400, 300);
        const int frame = grid->Height() - grid->ClientHeight();
        grid->SetBounds(grid->Left(), grid->Top(), grid->Width(),
                        frame + grid->TitleHeight() + 6 * grid->RowHeight() + grid->RowHeight() / 2);
        return grid;
    }
    int Id() { return table->FieldByName("ID").AsInteger(); }
    // The record shown in the first data row.
    int TopId(const TXDBGrid& grid) { return Id() - (grid.Row() - grid.TitleOffset()); }
    std::vector<std::string> FieldOrder(const TXDBGrid& grid) {
        std::vector<std::string> names;
        for (int i = 0; i < grid.Columns()->Count(); ++i)
            names.push_back(grid.Columns()->Items(i)->FieldName());
        return names;
    }
};

TEST_F(GridMouseScroll, APressDraggedPastTheDataAreaMovesOnTheTimer) {
    auto* grid = Grid(100);
    ASSERT_EQ(grid->VisibleDataRowCount(), 6);
    ASSERT_TRUE(test::FocusOn(*grid));
    const int nameCol = 1 + grid->IndicatorOffset();
    const int dataBottom = grid->ClientHeight() - grid->TotalHeight();
    struct Case {
        const char* what;
        bool fromEnd;   // the view shows the last records when the press comes
        int distance;   // pixels past the data area: positive below it, negative above it
        uint32_t ms;    // time on the clock after the move
        int id, topId;  // the current record and the first one shown then
    };
    // The move itself makes the last (first) row current and steps distance div 5 + 1 records;
    // the timer repeats the step every max(200 - 15 x distance, 5) ms.
    const Case cases[] = {
        {"12 below: 3 records at once", false, 12, 0, 9, 4},
        {"12 below: not yet after 19 ms", false, 12, 19, 9, 4},
        {"12 below: 3 more every 20 ms", false, 12, 20, 12, 7},
        {"12 below: five ticks in 100 ms", false, 12, 100, 24, 19},
        {"1 below: one record, 185 ms apart", false, 1, 184, 7, 2},
        {"1 below: the first tick", false, 1, 185, 8, 3},
        {"14 below: 3 records every 5 ms", false, 14, 10, 15, 10},
        {"12 above: 3 records back", true, -12, 0, 92, 92},
        {"12 above: 3 more after 20 ms", true, -12, 20, 89, 89},
        {"0 below: the last row, no timer", false, 0, 400, 6, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fromEnd)
            table->Last();
        else
            table->First();
        const QPoint press = test::CellPoint(*grid, nameCol, grid->TitleOffset() + 2);
        test::Press(*grid, press);
        ASSERT_TRUE(grid->ScrollTracking());
        const int y = c.distance > 0   ? dataBottom + c.distance - 1
                      : c.distance < 0 ? grid->TitleHeight() + c.distance
                                       : dataBottom - 2;
        test::MoveTo(*grid, {press.x(), y});
        clock.Advance(c.ms);
        EXPECT_EQ(Id(), c.id);
        EXPECT_EQ(TopId(*grid), c.topId);
        // The release ends it: the clock moves nothing any more.
        test::Release(*grid, {press.x(), y});
        EXPECT_FALSE(grid->ScrollTracking());
        clock.Advance(500);
        EXPECT_EQ(Id(), c.id);
    }
}

TEST_F(GridMouseScroll, TheCurrentCellFollowsTheMouseWithTrackingAndCheckBoxCellsAreHot) {
    auto* grid = Grid(20);
    grid->Columns()->SetState(csCustomized);
    for (int i = 0; i < 4; ++i) grid->Columns()->Items(i)->SetWidth(70);
    grid->Columns()->Items(3)->SetCheckBox(true);
    const int nameCol = 1 + grid->IndicatorOffset();
    const int boxCol = 3 + grid->IndicatorOffset();
    const int row = grid->TitleOffset() + 3;

    // Without dgMouseTracking a move leaves the current cell; the check box under it is hot.
    test::MoveTo(*grid, test::CellPoint(*grid, boxCol, row));
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(grid->HotCell(), (TGridCoord{boxCol, row}));
    test::MoveTo(*grid, test::CellPoint(*grid, nameCol, row));
    EXPECT_EQ(grid->HotCell(), (TGridCoord{-1, -1}));

    TXDBGridOptionsExt ext = grid->OptionsExt();
    ext.Include(dgMouseTracking);
    grid->SetOptionsExt(ext);
    test::MoveTo(*grid, test::CellPoint(*grid, nameCol, row, 3, 3));
    EXPECT_EQ(Id(), 4);
    EXPECT_EQ(grid->Col(), nameCol);
    // Below the data rows the last one counts.
    test::MoveTo(*grid, {test::CellPoint(*grid, nameCol, row).x(), grid->ClientHeight() - 1});
    EXPECT_EQ(grid->Row(), grid->TitleOffset() + grid->DataRowCount() - 1);

    // A pressed box stays pressed only while the mouse is on it.
    grid->SetOptionsExt(grid->OptionsExt() - TXDBGridOptionsExt{dgMouseTracking});
    const QPoint box = test::CellPoint(*grid, boxCol, row);
    test::Press(*grid, box);
    EXPECT_TRUE(grid->CellPressed());
    test::MoveTo(*grid, test::CellPoint(*grid, nameCol, row));
    EXPECT_FALSE(grid->CellPressed());
    test::MoveTo(*grid, box);
    EXPECT_TRUE(grid->CellPressed());
    test::Release(*grid, box);
    EXPECT_FALSE(grid->CellPressed());
}

TEST_F(GridMouseScroll, ATitleDraggedOntoAnotherMovesItsColumnAsTheChecksAllow) {
    auto* grid = Grid(5);
    grid->Columns()->SetState(csCustomized);
    for (int i = 0; i < 4; ++i) grid->Columns()->Items(i)->SetWidth(60 + 10 * i);
    std::vector<std::pair<int, int>> moved;
    grid->OnColumnMoved = [&](TObject*, int from, int to) { moved.emplace_back(from, to); };
    const std::vector<std::string> start{"ID", "NAME", "PRICE", "ACTIVE"};
    // The title rows grow by the header rows at the next layout.
    auto SetHeader = [&](int column, const char* header) {
        grid->Columns()->Items(column)->Title()->SetHeader(header);
        grid->LayoutChanged();
    };
    auto title = [&](int column, int dy) {
        const TRect cell = grid->CellRect(column + grid->IndicatorOffset(), 0);
        return QPoint(cell.Left + cell.Width() / 2, cell.Top + dy);
    };
    struct Case {
        const char* what;
        std::function<void()> setup;
        int from, to;  // collection indexes of the titles
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"moved right", [] {}, 0, 2, {"NAME", "PRICE", "ID", "ACTIVE"}},
        {"moved left", [] {}, 3, 1, {"ID", "ACTIVE", "NAME", "PRICE"}},
        {"without roColumnMoving",
         [&] { grid->SetResizeOptions(grid->ResizeOptions() - TXResizeOptions{roColumnMoving}); }, 0, 2,
         start},
        {"refused by OnColumnMoving",
         [&] { grid->OnColumnMoving = [](TObject*, int, int, bool& accept) { accept = false; }; }, 0, 2,
         start},
        {"a failing OnColumnMoving refuses",
         [&] { grid->OnColumnMoving = [](TObject*, int, int, bool&) { throw std::runtime_error("no"); }; }, 0,
         2, start},
        {"pressed on a header row", [&] { SetHeader(0, "Group"); }, 0, 2, start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < 4; ++i) grid->ColumnByName(start[i])->SetIndex(i);
        grid->SetResizeOptions(kDefaultResizeOptions);
        grid->OnColumnMoving = nullptr;
        SetHeader(0, "");
        c.setup();
        // A refused move puts the raw column back where the collection still has it.
        const std::vector<int> widths{grid->ColWidths(1), grid->ColWidths(2), grid->ColWidths(3)};
        moved.clear();
        test::Drag(*grid, title(c.from, 2), title(c.to, 2), 6);
        EXPECT_EQ(FieldOrder(*grid), c.order);
        if (c.order == start) {
            EXPECT_TRUE(moved.empty());
            EXPECT_EQ((std::vector<int>{grid->ColWidths(1), grid->ColWidths(2), grid->ColWidths(3)}), widths);
        } else {
            EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{c.from, c.to}}));
        }
    }
    // Below its header rows the title moves the column, and its border sizes it only there.
    SetHeader(1, "Group");
    const int caption = grid->TitleHeight() - 4;
    test::Drag(*grid, title(1, caption), title(2, caption), 6);
    EXPECT_EQ(FieldOrder(*grid), (std::vector<std::string>{"ID", "PRICE", "NAME", "ACTIVE"}));
    TXColumn* grouped = grid->ColumnByName("NAME");
    const int border = test::ColumnBorder(*grid, grid->IndicatorOffset() + grouped->Index()).x();
    test::Drag(*grid, {border, 2}, {border + 30, 2});
    EXPECT_EQ(grouped->Width(), 70);
    test::Drag(*grid, {border, caption}, {border + 30, caption});
    EXPECT_EQ(grouped->Width(), 100);
}

TEST_F(GridMouseScroll, ATitleHeldLeftOfTheScrolledColumnsScrollsOneColumnPerMove) {
    auto* grid = Grid(5);
    grid->Columns()->SetState(csCustomized);
    for (int i = 0; i < 4; ++i) grid->Columns()->Items(i)->SetWidth(150);
    grid->SetDataLeftCol(2);
    ASSERT_EQ(grid->LeftCol(), 3);
    const TRect cell = grid->CellRect(3, 0);
    test::Press(*grid, {cell.Left + 20, cell.Top + 4});
    for (const int expected : {2, 1, 1}) {
        test::MoveTo(*grid, {5 + expected, cell.Top + 4});
        EXPECT_EQ(grid->LeftCol(), expected);
    }
    test::Release(*grid, {5, cell.Top + 4});
    EXPECT_EQ(grid->Columns()->Items(2)->FieldName(), "PRICE");
}

}  // namespace
}  // namespace tv
