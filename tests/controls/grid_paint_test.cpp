// The base grid's paint loop: which cells it asks for, in which order, with which state and clip;
// its lines and fills on the recording canvas and as pixels; and its repaint requests.

#include <gtest/gtest.h>

#include <vector>

#include "grid_test_support.h"
#include "recording_grid.h"

namespace tv {
namespace {

using test::TRecordingGrid;

class GridPaint : public test::GridTest {
protected:
    // 10 columns of 64 and 50 rows of 24 with lines, in a client area of 300 x 200: columns 0..4
    // (4 cut at 300) and rows 0..7 show.
    TRecordingGrid* Grid() {
        auto* grid = AddGrid<TRecordingGrid>(300, 200);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(10);
        grid->SetRowCount(50);
        return grid;
    }
    static std::vector<std::pair<int, int>> Cells(const TRecordingGrid& grid) {
        std::vector<std::pair<int, int>> cells;
        for (const auto& d : grid.Drawn) cells.emplace_back(d.Col, d.Row);
        return cells;
    }
};

TEST_F(GridPaint, DrawsOnlyTheVisibleCellsAreaByAreaWithTheFixedOnesFlagged) {
    auto* grid = Grid();
    Paint(*grid);
    std::vector<std::pair<int, int>> expected{{0, 0}};                     // fixed rows x fixed columns
    for (int c = 1; c <= 4; ++c) expected.emplace_back(c, 0);              // fixed rows x scrolled columns
    for (int r = 1; r <= 7; ++r) expected.emplace_back(0, r);              // scrolled rows x fixed columns
    for (int r = 1; r <= 7; ++r)                                           // scrolled rows x scrolled columns,
        for (int c = 1; c <= 4; ++c) expected.emplace_back(c, r);          // row by row
    EXPECT_EQ(Cells(*grid), expected);
    for (const auto& d : grid->Drawn) {
        EXPECT_EQ(d.Rect, grid->CellRect(d.Col, d.Row)) << d.Col << "," << d.Row;
        EXPECT_EQ(d.State.Contains(gdFixed), d.Col == 0 || d.Row == 0) << d.Col << "," << d.Row;
        // Clipped to its area, lines included, not to the cell.
        const TRect area = Rect(d.Col == 0 ? 0 : 65, d.Row == 0 ? 0 : 25, d.Col == 0 ? 65 : 300, d.Row == 0 ? 25 : 200);
        EXPECT_EQ(d.Clip, area) << d.Col << "," << d.Row;
    }

    // Scrolled: the fixed cells and the scrolled ones from column 5, row 30 on.
    grid->SetLeftCol(5);
    grid->SetTopRow(30);
    grid->Drawn.clear();
    Paint(*grid);
    expected = {{0, 0}};
    for (int c = 5; c <= 8; ++c) expected.emplace_back(c, 0);
    for (int r = 30; r <= 36; ++r) expected.emplace_back(0, r);
    for (int r = 30; r <= 36; ++r)
        for (int c = 5; c <= 8; ++c) expected.emplace_back(c, r);
    EXPECT_EQ(Cells(*grid), expected);
}

TEST_F(GridPaint, DrawStatesMarkTheSelectionTheFocusAndTheSelectedRow) {
    auto* grid = Grid();
    grid->FocusCell(2, 3);
    auto stateOf = [&](int c, int r) {
        for (const auto& d : grid->Drawn)
            if (d.Col == c && d.Row == r) return d.State;
        ADD_FAILURE() << "cell " << c << "," << r << " not drawn";
        return TGridDrawState{};
    };
    Paint(*grid);
    EXPECT_EQ(stateOf(2, 3), (TGridDrawState{gdSelected}));  // not focused yet
    EXPECT_EQ(stateOf(1, 3), TGridDrawState{});
    ASSERT_TRUE(test::FocusOn(*grid));
    grid->Drawn.clear();
    Paint(*grid);
    EXPECT_EQ(stateOf(2, 3), (TGridDrawState{gdSelected, gdFocused}));

    grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
    grid->Drawn.clear();
    Paint(*grid);
    EXPECT_EQ(stateOf(1, 3), (TGridDrawState{gdSelected, gdRowSelected}));
    EXPECT_EQ(stateOf(2, 3), (TGridDrawState{gdSelected, gdFocused, gdRowSelected}));
    EXPECT_EQ(stateOf(0, 3), (TGridDrawState{gdFixed, gdRowSelected}));
    EXPECT_EQ(stateOf(1, 4), TGridDrawState{});
    for (const auto& d : grid->Drawn) {
        EXPECT_FALSE(d.State.Contains(gdHotTrack));
        EXPECT_FALSE(d.State.Contains(gdPressed));
    }
}

TEST_F(GridPaint, LinesAndFillsOnTheRecord) {
    auto* grid = Grid();
    grid->SetColCount(3);  // columns end at 194 + the line: the room after them takes the grid's colour
    grid->FocusCell(1, 1);
    const TCanvasRecorder& record = Paint(*grid);
    struct {
        TPoint at;
        TColor colour;
        const char* what;
    } const probes[] = {
        {{64, 10}, clBlack, "line right of a fixed cell"},
        {{30, 24}, clBlack, "line below a fixed cell"},
        {{64, 24}, clBlack, "corner of a fixed cell"},
        {{129, 60}, clSilver, "line right of a data cell"},
        {{100, 74}, clSilver, "line below a data cell"},
        {{10, 10}, clBtnFace, "fixed cell"},
        {{100, 60}, clWindow, "data cell"},
        {{100, 35}, clHighlight, "selected cell"},
        {{250, 50}, clWindow, "after the last column"},
    };
    for (const auto& p : probes) EXPECT_EQ(record.FillColorAt(p.at), p.colour) << p.what;
    // Right to left the same pixels stand mirrored: the fixed column at the right edge, each line
    // left of its cell, the room after the last column at the left.
    grid->SetRightToLeft(true);
    Paint(*grid);
    const int last = grid->ClientWidth() - 1;
    for (const auto& p : probes)
        EXPECT_EQ(record.FillColorAt({last - p.at.X, p.at.Y}), p.colour) << "right to left: " << p.what;
    grid->SetRightToLeft(false);

    // On a silver grid the data lines are gray; fixed colour and grid colour are the grid's.
    grid->SetColor(clSilver);
    grid->SetFixedColor(clAqua);
    Paint(*grid);
    EXPECT_EQ(record.FillColorAt({129, 60}), clGray);
    EXPECT_EQ(record.FillColorAt({64, 10}), clBlack);
    EXPECT_EQ(record.FillColorAt({10, 10}), clAqua);
    EXPECT_EQ(record.FillColorAt({250, 50}), clSilver);
}

TEST_F(GridPaint, PixelsWhereNoTextFalls) {
    auto* grid = Grid();
    grid->SetColCount(3);
    grid->FocusCell(1, 1);
    auto picture = test::Render(*grid);
    // Written from the note: black fixed lines, silver data lines, the fixed, data and highlight
    // colours of the fixed system colours, the grid's colour after the last column.
    test::ExpectPixels(picture->Canvas(), {
                                              {64, 10, clBlack},
                                              {30, 24, clBlack},
                                              {129, 60, clSilver},
                                              {100, 74, clSilver},
                                              {10, 10, ColorToRGB(clBtnFace)},
                                              {100, 60, ColorToRGB(clWindow)},
                                              {100, 35, ColorToRGB(clHighlight)},
                                              {250, 50, ColorToRGB(clWindow)},
                                              {299, 199, ColorToRGB(clWindow)},
                                          });
}

TEST_F(GridPaint, EveryRepaintPassesTheHook) {
    auto* grid = Grid();
    test::TRepaintLog log;
    log.Attach(*grid);

    // A move repaints the cell it leaves and the one it comes to, with their lines.
    grid->FocusCell(2, 2);
    EXPECT_TRUE(log.Invalidated(Rect(65, 25, 130, 50)));   // cell 1,1
    EXPECT_TRUE(log.Invalidated(Rect(130, 50, 195, 75)));  // cell 2,2

    // Scrolling a column repaints the scrolled columns, not the fixed ones.
    log.Clear();
    grid->SetLeftCol(2);
    ASSERT_FALSE(log.Requests().empty());
    EXPECT_EQ(log.Requests()[0].Rect, Rect(65, 0, 300, 200));

    log.Clear();
    grid->InvalidateCol(0);
    grid->InvalidateRow(3);
    grid->ValidateRect(Rect(1, 2, 3, 4));
    grid->ScrollGridRect(Rect(65, 25, 300, 200), 0, -25);
    ASSERT_EQ(log.Requests().size(), 4u);
    EXPECT_EQ(log.Requests()[0].Rect, Rect(0, 0, 65, 200));
    EXPECT_EQ(log.Requests()[1].Rect, Rect(0, 75, 300, 100));
    EXPECT_EQ(log.Requests()[2].Kind, TGridRepaint::Validate);
    EXPECT_EQ(log.Requests()[3].Kind, TGridRepaint::Scroll);
    EXPECT_EQ(log.Requests()[3].DY, -25);

    // Cells out of view ask for nothing.
    log.Clear();
    grid->InvalidateCell(1, 40);
    EXPECT_TRUE(log.Requests().empty());
}

}  // namespace
}  // namespace tv
