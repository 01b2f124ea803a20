// The base grid's geometry as docs/base-grid.md states it: per axis (pure), and on a grid of known
// client size.

#include <gtest/gtest.h>

#include <vector>

#include "grid_test_support.h"
#include "platform/gui/grid_axis.h"
#include "recording_grid.h"

namespace tv {
namespace {

// ---- one axis ----

struct AxisCase {
    const char* name;
    std::vector<int> sizes;
    int fixed;
    int line;
    int first;
    int extent;
    // expected
    int fixedBoundary;
    int gridBoundary;
    int lastFull;
    int fullVisBoundary;
    int maxFirst;
};

const AxisCase kAxisCases[] = {
    // 21 | 21..51 | 52..82 | 83..113 cut at 100
    {"lines, cut last cell", {20, 30, 30, 30, 30}, 1, 1, 1, 100, 21, 100, 2, 83, 3},
    {"no lines", {20, 30, 30, 30, 30}, 1, 0, 1, 100, 20, 100, 2, 80, 3},
    {"scrolled to the end: room to spare", {20, 30, 30, 30, 30}, 1, 1, 3, 100, 21, 83, 4, 83, 3},
    {"no fixed cells", {30, 30, 30, 30}, 0, 1, 0, 100, 0, 100, 2, 93, 1},
    // a cell that fits only with its line cut off is fully visible
    {"cell ends at the extent", {20, 30, 48}, 1, 1, 1, 100, 21, 100, 2, 101, 1},
    // the first scrolled cell counts as the last fully visible one when not even it fits
    {"first cell wider than the room", {10, 200, 20}, 1, 1, 1, 100, 11, 100, 1, 212, 2},
    {"fixed cells beyond the extent", {150, 30}, 1, 1, 1, 100, 151, 100, 1, 182, 1},
    // a hidden cell (size minus the line) takes no pixel
    {"hidden cell", {20, 30, -1, 30}, 1, 1, 1, 100, 21, 83, 3, 83, 1},
};

TEST(GridAxis, DrawInfoAndScrollLimitFollowSizesLinesAndPosition) {
    for (const AxisCase& c : kAxisCases) {
        const TGridAxis axis(c.sizes, c.fixed, c.line);
        const TGridAxisDrawInfo info = axis.DrawInfo(c.first, c.extent);
        EXPECT_EQ(info.FixedBoundary, c.fixedBoundary) << c.name;
        EXPECT_EQ(info.GridBoundary, c.gridBoundary) << c.name;
        EXPECT_EQ(info.LastFullVisibleCell, c.lastFull) << c.name;
        EXPECT_EQ(info.FullVisBoundary, c.fullVisBoundary) << c.name;
        EXPECT_EQ(info.EffectiveLineWidth, c.line) << c.name;
        EXPECT_EQ(info.FirstGridCell, c.first) << c.name;
        EXPECT_EQ(axis.MaxFirst(c.extent), c.maxFirst) << c.name;
    }
}

struct SpanCase {
    int cell;
    bool shown;
    int start;
    int end;
};

TEST(GridAxis, CellSpansAndTheCellAtAPixel) {
    // sizes 20 | 30 | 30 | -1 (hidden) | 30, lines 1, first scrolled 2, extent 100:
    // cell 0 [0,20) line 20; cell 1 scrolled out; cell 2 [21,51) line 51; cell 3 none; cell 4 [52,82)
    const std::vector<int> sizes{20, 30, 30, -1, 30};
    const TGridAxis axis(sizes, 1, 1);
    const TGridAxisDrawInfo info = axis.DrawInfo(2, 100);
    const SpanCase spans[] = {
        {0, true, 0, 20}, {1, false, 0, 0}, {2, true, 21, 51}, {3, false, 0, 0}, {4, true, 52, 82}, {5, false, 0, 0},
    };
    for (const SpanCase& s : spans) {
        int start = -1, end = -1;
        ASSERT_EQ(axis.CellSpan(info, s.cell, start, end), s.shown) << s.cell;
        if (s.shown) {
            EXPECT_EQ(std::pair(start, end), std::pair(s.start, s.end)) << s.cell;
        }
    }
    const std::pair<int, int> at[] = {
        {-1, -1}, {0, 0}, {19, 0}, {20, 0},   // the fixed cell's line belongs to it
        {21, 2}, {51, 2}, {52, 4}, {82, 4},  // the hidden cell is never hit
        {83, -1}, {99, -1},                   // at or after the grid boundary
    };
    for (auto [pos, cell] : at) EXPECT_EQ(axis.CellAt(info, pos), cell) << pos;
    // Cell 4 fully visible from cell 2 on (21 + 31 + 0 + 30 = 82), not from cell 1 (113 > 100); in 60
    // pixels only after the hidden cell 3, which takes no room.
    EXPECT_EQ(axis.FirstToShow(4, 100), 2);
    EXPECT_EQ(axis.FirstToShow(4, 60), 3);
}

// ---- a grid of 10 x 20 cells of 64 x 24 in a client area of 300 x 200 ----

struct GridCase {
    const char* name;
    bool lines;
    int fixedCols;
    int fixedRows;
    int left;
    int top;
    int visibleCols;
    int visibleRows;
    struct {
        int c, r;
        TRect rect;
    } cells[4];
    struct {
        int x, y, c, r;
    } points[4];
};

const GridCase kGridCases[] = {
    {"lines, 1 fixed column and row",
     true, 1, 1, 1, 1, 3, 7,
     {{0, 0, {0, 0, 64, 24}}, {2, 3, {130, 75, 194, 99}}, {4, 1, {260, 25, 300, 49}}, {5, 1, {}}},
     {{64, 24, 0, 0}, {65, 25, 1, 1}, {299, 199, 4, 7}, {300, 10, -1, 0}}},
    {"no lines",
     false, 1, 1, 1, 1, 3, 7,
     {{0, 0, {0, 0, 64, 24}}, {2, 3, {128, 72, 192, 96}}, {4, 8, {256, 192, 300, 200}}, {1, 9, {}}},
     {{64, 24, 1, 1}, {63, 23, 0, 0}, {10, 199, 0, 8}, {-1, 5, -1, 0}}},
    {"scrolled to column 6 and row 12",
     true, 1, 1, 6, 12, 3, 7,
     {{5, 12, {}}, {6, 12, {65, 25, 129, 49}}, {0, 12, {0, 25, 64, 49}}, {6, 11, {}}},
     {{70, 30, 6, 12}, {10, 30, 0, 12}, {70, 10, 6, 0}, {140, 60, 7, 13}}},
    {"2 fixed columns, no fixed row",
     true, 2, 0, 2, 0, 2, 8,
     {{1, 0, {65, 0, 129, 24}}, {2, 0, {130, 0, 194, 24}}, {4, 7, {260, 175, 300, 199}}, {2, 8, {}}},
     {{129, 0, 1, 0}, {130, 24, 2, 0}, {130, 25, 2, 1}, {299, 200, 4, -1}}},
};

class GridGeometry : public test::GridTest {
protected:
    test::TRecordingGrid* Grid() {
        auto* grid = AddGrid<test::TRecordingGrid>(300, 200);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(10);
        grid->SetRowCount(20);
        return grid;
    }
    // The grid of one case, left to right or mirrored.
    test::TRecordingGrid* Grid(const GridCase& c, bool rightToLeft) {
        auto* grid = Grid();
        grid->SetRightToLeft(rightToLeft);
        if (!c.lines) grid->SetOptions({});
        grid->SetFixedCols(c.fixedCols);
        grid->SetFixedRows(c.fixedRows);
        grid->SetLeftCol(c.left);
        grid->SetTopRow(c.top);
        return grid;
    }
};

TEST_F(GridGeometry, CellRectsVisibleCountsAndMouseCoordinatesFollowTheNote) {
    for (const GridCase& c : kGridCases) {
        auto* grid = Grid(c, false);
        ASSERT_EQ(grid->ClientRect(), Rect(0, 0, 300, 200));
        ASSERT_EQ(grid->LeftCol(), c.left) << c.name;
        ASSERT_EQ(grid->TopRow(), c.top) << c.name;
        EXPECT_EQ(grid->VisibleColCount(), c.visibleCols) << c.name;
        EXPECT_EQ(grid->VisibleRowCount(), c.visibleRows) << c.name;
        for (const auto& cell : c.cells)
            EXPECT_EQ(grid->CellRect(cell.c, cell.r), cell.rect) << c.name << " cell " << cell.c << "," << cell.r;
        for (const auto& p : c.points)
            EXPECT_EQ(grid->MouseCoord(p.x, p.y), (TGridCoord{p.c, p.r})) << c.name << " at " << p.x << "," << p.y;
        delete grid;
    }
}

// A right-to-left grid is the mirror image: every rectangle reflected across the client width
// (300 - right .. 300 - left) and every point hits the cell its mirror pixel (299 - x) hits.
TEST_F(GridGeometry, ARightToLeftGridMirrorsCellRectsAndMouseCoordinates) {
    for (const GridCase& c : kGridCases) {
        auto* grid = Grid(c, true);
        EXPECT_EQ(grid->VisibleColCount(), c.visibleCols) << c.name;
        for (const auto& cell : c.cells) {
            const TRect ltr = cell.rect;
            const TRect mirrored = ltr.IsEmpty() ? ltr : Rect(300 - ltr.Right, ltr.Top, 300 - ltr.Left, ltr.Bottom);
            EXPECT_EQ(grid->CellRect(cell.c, cell.r), mirrored) << c.name << " cell " << cell.c << "," << cell.r;
        }
        for (const auto& p : c.points)
            EXPECT_EQ(grid->MouseCoord(299 - p.x, p.y), (TGridCoord{p.c, p.r}))
                << c.name << " at " << 299 - p.x << "," << p.y;
        // The paint hands each cell its mirrored rectangle, the first column at the right edge.
        grid->Drawn.clear();
        Paint(*grid);
        ASSERT_FALSE(grid->Drawn.empty()) << c.name;
        for (const auto& d : grid->Drawn) EXPECT_EQ(d.Rect, grid->CellRect(d.Col, d.Row)) << c.name << " " << d.Col;
        delete grid;
    }
}

TEST_F(GridGeometry, ScrollPositionAndCurrentCellStayWithinTheirLimits) {
    auto* grid = Grid();
    // From column 7 on, columns 7..9 (65 + 3 x 65 - 1 = 259) fit; from row 13 on, rows 13..19.
    grid->SetLeftCol(100);
    grid->SetTopRow(-5);
    EXPECT_EQ(grid->LeftCol(), 7);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->SetTopRow(100);
    EXPECT_EQ(grid->TopRow(), 13);
    // A wider client area clamps again: every column fits from column 1 on.
    grid->SetWidth(700);
    EXPECT_EQ(grid->LeftCol(), 1);
    grid->SetWidth(300);

    // Moving the current cell scrolls it fully into view.
    grid->FocusCell(9, 19);
    EXPECT_EQ(grid->LeftCol(), 7);
    EXPECT_EQ(grid->TopRow(), 13);
    grid->SetCol(2);
    EXPECT_EQ(grid->LeftCol(), 2);
    grid->SetColWidths(4, 400);  // wider than the room: shown from itself
    grid->SetCol(4);
    EXPECT_EQ(grid->LeftCol(), 4);
    EXPECT_EQ(grid->VisibleColCount(), 1);

    // The current cell is always a scrolled cell.
    EXPECT_THROW(grid->SetCol(0), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRow(20), EInvalidGridOperation);
    try {
        grid->FocusCell(10, 1);
        ADD_FAILURE();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message, "Grid index out of range");
    }
    grid->SetColCount(3);
    EXPECT_EQ(grid->Col(), 2);
    grid->SetFixedRows(5);
    EXPECT_EQ(grid->Row(), 19);
    grid->SetRow(5);
    grid->SetFixedRows(8);
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_EQ(grid->TopRow(), 8);
}

TEST_F(GridGeometry, CountsAndFixedCountsKeepTheirRules) {
    auto* grid = Grid();
    try {
        grid->SetFixedCols(10);
        ADD_FAILURE();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message, "Fixed column count must be less than column count");
    }
    try {
        grid->SetFixedRows(20);
        ADD_FAILURE();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message, "Fixed row count must be less than row count");
    }
    EXPECT_THROW(grid->SetFixedCols(-1), EInvalidGridOperation);
    EXPECT_THROW(grid->ColWidths(10), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRowHeights(-1, 5), EInvalidGridOperation);

    // Lowering a count to its fixed count lowers the fixed count; counts are at least 1.
    grid->SetFixedCols(3);
    grid->SetColCount(3);
    EXPECT_EQ(grid->FixedCols(), 2);
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);

    // New cells take the default size; a new default sizes every cell again.
    grid->SetColWidths(1, 10);
    grid->SetColCount(5);
    EXPECT_EQ(grid->ColWidths(4), 64);
    EXPECT_EQ(grid->ColWidths(1), 10);
    grid->ColWidthsChanges = 0;
    grid->SetDefaultColWidth(40);
    EXPECT_EQ(grid->ColWidths(1), 40);
    EXPECT_EQ(grid->ColWidthsChanges, 1);
    grid->SetColWidths(1, 40);  // unchanged: no notification
    EXPECT_EQ(grid->ColWidthsChanges, 1);
}

TEST_F(GridGeometry, ClientAreaIsTheViewportInsideFrameAndScrollBars) {
    auto* grid = AddGrid<test::TRecordingGrid>(300, 200);
    grid->SetColCount(10);
    grid->SetRowCount(20);
    for (const bool ctl3D : {true, false}) {
        grid->SetCtl3D(ctl3D);
        ASSERT_TRUE(test::WaitUntil([&] { return test::ClientWidget(*grid)->isVisible(); }));
        QApplication::processEvents();
        const QRect viewport = test::ClientWidget(*grid)->geometry();
        const TRect client = grid->ClientRect();
        EXPECT_EQ(client.Width(), viewport.width()) << ctl3D;
        EXPECT_EQ(client.Height(), viewport.height()) << ctl3D;
        EXPECT_EQ(viewport.x(), ctl3D ? 2 : 1);
        EXPECT_LT(client.Width(), 300 - (ctl3D ? 4 : 2));  // the vertical bar takes room
    }
    // Without bars and frame the client area is the whole control.
    grid->SetBorderStyle(bsNone);
    grid->SetScrollBars(ssNone);
    EXPECT_EQ(grid->ClientRect(), Rect(0, 0, 300, 200));
}

}  // namespace
}  // namespace tv
