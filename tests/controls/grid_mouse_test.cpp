// The base grid's mouse, with real mouse events: sizing at borders, moving columns by their
// titles, selecting with the timed scroll on the fake clock, the wheel, and cancel mode.

#include <gtest/gtest.h>

#include <QCursor>

#include "grid_test_support.h"
#include "platform/gui/edit.h"
#include "recording_grid.h"

namespace tv {
namespace {

using test::TRecordingGrid;

class GridMouse : public test::GridTest {
protected:
    // 10 x 50 cells of 64 x 24 with lines in 400 x 250: columns 0..5 and rows 0..9 show.
    TRecordingGrid* Grid(TGridOptions extra = {goColSizing, goRowSizing, goColMoving}) {
        auto* grid = AddGrid<TRecordingGrid>(400, 250);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(10);
        grid->SetRowCount(50);
        grid->SetOptions(grid->Options() + extra);
        return grid;
    }
    static Qt::CursorShape CursorOf(const TCustomGrid& grid) { return test::ClientWidget(grid)->cursor().shape(); }
};

TEST_F(GridMouse, DraggingAColumnBorderResizesTheColumnOnRelease) {
    auto* grid = Grid();
    const QPoint border = test::ColumnBorder(*grid, 2);  // the line after column 2, at x 194
    ASSERT_EQ(border.x(), 194);

    // Over the sizing zone the cursor is the split cursor; elsewhere it is not.
    test::MoveTo(*grid, border + QPoint(3, 0));
    EXPECT_EQ(CursorOf(*grid), Qt::SplitHCursor);
    test::MoveTo(*grid, test::CellPoint(*grid, 2, 0));
    EXPECT_NE(CursorOf(*grid), Qt::SplitHCursor);

    test::Press(*grid, border + QPoint(-2, 0));
    EXPECT_EQ(grid->GridState(), gsColSizing);
    test::MoveTo(*grid, border + QPoint(8, 0));
    test::MoveTo(*grid, border + QPoint(18, 0));
    // Nothing is applied while dragging; the sizing line is drawn last, 20 pixels on.
    EXPECT_EQ(grid->ColWidths(2), 64);
    const TCanvasRecorder& record = Paint(*grid);
    ASSERT_FALSE(record.Records().empty());
    EXPECT_EQ(record.Records().back().Rect, Rect(214, 0, 215, 250));
    EXPECT_EQ(record.Records().back().Color, clBlack);
    test::Release(*grid, border + QPoint(18, 0));
    EXPECT_EQ(grid->ColWidths(2), 84);
    EXPECT_EQ(grid->ColWidthsChanges, 1);
    EXPECT_EQ(grid->GridState(), gsNormal);

    // Never below one pixel.
    test::Drag(*grid, test::ColumnBorder(*grid, 1), QPoint(0, 12));
    EXPECT_EQ(grid->ColWidths(1), 1);
    EXPECT_EQ(grid->ColWidthsChanges, 2);
}

TEST_F(GridMouse, DraggingARowBorderInTheFixedColumnResizesTheRow) {
    auto* grid = Grid();
    const QPoint border = test::RowBorder(*grid, 1);  // y 49, in column 0
    test::Drag(*grid, border, border - QPoint(0, 10));
    EXPECT_EQ(grid->RowHeights(1), 14);
    EXPECT_EQ(grid->RowHeightsChanges, 1);

    // Borders sit in the fixed cells only: the same border in a data column selects instead.
    test::Press(*grid, test::RowBorder(*grid, 2, 2));
    EXPECT_EQ(grid->GridState(), gsSelecting);
    test::Release(*grid, test::RowBorder(*grid, 2, 2));
    // Without the option there is no zone.
    grid->SetOptions(grid->Options() - TGridOptions{goColSizing});
    test::Press(*grid, test::ColumnBorder(*grid, 3));
    EXPECT_NE(grid->GridState(), gsColSizing);
    test::Release(*grid, test::ColumnBorder(*grid, 3));
    EXPECT_EQ(grid->ColWidthsChanges, 0);
}

TEST_F(GridMouse, DraggingATitleMovesTheColumn) {
    auto* grid = Grid();
    grid->SetColWidths(2, 50);
    grid->SetTabStops(2, false);
    grid->FocusCell(2, 5);
    const QPoint from = test::CellPoint(*grid, 2, 0);
    const QPoint to = test::CellPoint(*grid, 4, 0);

    test::Press(*grid, from);
    test::MoveTo(*grid, from + QPoint(QApplication::startDragDistance(), 0));  // not yet
    EXPECT_EQ(grid->GridState(), gsNormal);
    test::MoveTo(*grid, to);
    EXPECT_EQ(grid->GridState(), gsColMoving);
    // The bar shows the border the column will stand against: right of column 4.
    const TCanvasRecorder& record = Paint(*grid);
    const int right = grid->CellRect(4, 0).Right + 1;
    EXPECT_EQ(record.Records().back().Rect, Rect(right - 1, 0, right + 1, 250));
    test::Release(*grid, to);

    EXPECT_EQ(grid->Moves, (std::vector<std::pair<int, int>>{{2, 4}}));
    EXPECT_EQ(grid->DragLog.front(), "begin 2 2");
    EXPECT_EQ(grid->DragLog.back(), "end 2 4");
    EXPECT_NE(std::find(grid->DragLog.begin(), grid->DragLog.end(), "check 2 4"), grid->DragLog.end());
    // Width and tab stop went along; the current cell stays on its column.
    EXPECT_EQ(grid->ColWidths(4), 50);
    EXPECT_FALSE(grid->TabStops(4));
    EXPECT_TRUE(grid->TabStops(2));
    EXPECT_EQ(grid->Col(), 4);

    // A drag the grid refuses moves nothing.
    grid->AllowDrag = false;
    test::Drag(*grid, test::CellPoint(*grid, 1, 0), test::CellPoint(*grid, 3, 0));
    EXPECT_EQ(grid->Moves.size(), 1u);
    EXPECT_EQ(grid->GridState(), gsNormal);
}

// Right to left every gesture works on the mirror image: the border after column 2 is the line
// left of it, dragging it left widens the column, a title moves towards the left, and the timed
// scroll runs towards the later columns past the left edge.
TEST_F(GridMouse, ARightToLeftGridSizesMovesAndSelectsInTheMirror) {
    auto* grid = Grid();
    grid->SetRightToLeft(true);
    const TRect cell2 = grid->CellRect(2, 0);
    ASSERT_EQ(cell2, Rect(400 - 194, 0, 400 - 130, 24));
    const QPoint border(cell2.Left - 1, 12);  // the line after column 2, mirrored: x 205
    test::MoveTo(*grid, border + QPoint(-3, 0));
    EXPECT_EQ(CursorOf(*grid), Qt::SplitHCursor);
    test::Press(*grid, border);
    EXPECT_EQ(grid->GridState(), gsColSizing);
    test::MoveTo(*grid, border - QPoint(18, 0));
    // The sizing line follows the mouse on screen, 18 pixels to the left of the border.
    EXPECT_EQ(Paint(*grid).Records().back().Rect, Rect(border.x() - 18, 0, border.x() - 17, 250));
    test::Release(*grid, border - QPoint(18, 0));
    EXPECT_EQ(grid->ColWidths(2), 82);

    // A click hits the cell drawn under it.
    test::Click(*grid, test::CellPoint(*grid, 3, 4));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 4);

    // A title dragged onto column 4 (further left on screen) moves there; the bar stands left of it.
    const QPoint from = test::CellPoint(*grid, 1, 0);
    const QPoint to = test::CellPoint(*grid, 4, 0);
    test::Press(*grid, from);
    test::MoveTo(*grid, from - QPoint(QApplication::startDragDistance() + 1, 0));
    test::MoveTo(*grid, to);
    ASSERT_EQ(grid->GridState(), gsColMoving);
    const int left = grid->CellRect(4, 0).Left - 1;
    EXPECT_EQ(Paint(*grid).Records().back().Rect, Rect(left - 1, 0, left + 1, 250));
    test::Release(*grid, to);
    EXPECT_EQ(grid->Moves, (std::vector<std::pair<int, int>>{{1, 4}}));

    // Selecting past the left edge scrolls towards the later columns.
    test::Press(*grid, test::CellPoint(*grid, 3, 3));
    test::MoveTo(*grid, QPoint(-5, test::CellPoint(*grid, 3, 3).y()));
    clock.Advance(60);
    ASSERT_FALSE(grid->TimedScrolls.empty());
    EXPECT_EQ(grid->TimedScrolls.back(), TGridScrollDirections{sdRight});
    EXPECT_EQ(grid->Col(), 4);
    test::Release(*grid, QPoint(-5, 10));
}

TEST_F(GridMouse, SelectingFollowsTheMouseAndScrollsOnTheTimerOutside) {
    auto* grid = Grid();
    test::Press(*grid, test::CellPoint(*grid, 2, 3));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
    test::MoveTo(*grid, test::CellPoint(*grid, 3, 5));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 5);

    // Below the cells: one row per 60 ms, scrolling along.
    test::MoveTo(*grid, QPoint(test::CellPoint(*grid, 3, 5).x(), 260));
    EXPECT_EQ(grid->Row(), 5);
    clock.Advance(59);
    EXPECT_EQ(grid->Row(), 5);
    clock.Advance(1);
    EXPECT_EQ(grid->Row(), 6);
    clock.Advance(120);
    EXPECT_EQ(grid->Row(), 8);
    clock.Advance(180);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_EQ(grid->TopRow(), 3);
    ASSERT_FALSE(grid->TimedScrolls.empty());
    EXPECT_EQ(grid->TimedScrolls.back(), TGridScrollDirections{sdDown});

    test::Release(*grid, QPoint(100, 260));
    clock.Advance(600);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_EQ(clock.RunningTicks(), 0);
}

TEST_F(GridMouse, TheWheelScrollsRowsByTheDesktopsLines) {
    auto* grid = Grid();
    const int lines = QApplication::wheelScrollLines();
    const QPoint over = test::CellPoint(*grid, 2, 2);
    test::Wheel(*grid, over, -1);
    EXPECT_EQ(grid->TopRow(), 1 + lines);
    test::Wheel(*grid, over, 5);
    EXPECT_EQ(grid->TopRow(), 1);
    EXPECT_EQ(grid->Row(), 1);  // the current cell stays
}

TEST_F(GridMouse, CancelModeEndsSizingAndSelectingWithoutApplyingThem) {
    auto* grid = Grid();
    auto* other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 300, 100, 21);

    test::Press(*grid, test::ColumnBorder(*grid, 2));
    test::MoveTo(*grid, test::ColumnBorder(*grid, 2) + QPoint(30, 0));
    grid->CancelMode();
    EXPECT_EQ(grid->GridState(), gsNormal);
    test::Release(*grid, test::ColumnBorder(*grid, 2) + QPoint(30, 0));
    EXPECT_EQ(grid->ColWidths(2), 64);
    EXPECT_EQ(grid->ColWidthsChanges, 0);

    // The focus leaving the grid cancels a selection drag and its timer.
    ASSERT_TRUE(test::FocusOn(*grid));
    test::Press(*grid, test::CellPoint(*grid, 2, 3));
    test::MoveTo(*grid, QPoint(100, 260));
    EXPECT_EQ(clock.RunningTicks(), 1);
    ASSERT_TRUE(test::FocusOn(*other));
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(clock.RunningTicks(), 0);
    test::Release(*grid, QPoint(100, 260));
}

}  // namespace
}  // namespace tv
