// Stretching: the shares of the client width as a table (remainders, own and grid-wide limits,
// minima freed once, nothing without base widths), and a grid over a client table that keeps its
// columns filling the width when it is sized, when its bars change and when a column is sized.

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_stretch.h"
#include "grid_test_support.h"

namespace tv {
namespace {

TEST(StretchWidths, SharesTheSpaceWithinTheLimits) {
    struct Case {
        const char* what;
        int space;
        std::vector<TStretchColumn> columns;
        int stretchMin, stretchMax;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"remainder to the last", 301, {{100}, {100}, {100}}, -1, -1, {100, 100, 101}},
        {"own maximum held", 301, {{100, -1, 50}, {100}, {100}}, -1, -1, {50, 125, 126}},
        {"own minimum held", 100, {{100, 60}, {100}, {100}}, -1, -1, {60, 20, 20}},
        {"grid maximum where no own", 400, {{100}, {100, -1, 300}}, -1, 150, {150, 250}},
        {"grid minimum where no own", 90, {{10}, {100}}, 30, -1, {30, 60}},
        {"minima freed once when all else is held", 300, {{100, 120}, {100, -1, 50}, {100, -1, 40}}, -1, -1,
         {210, 50, 40}},
        {"no space: the grid minimum", 0, {{100}, {100}}, 15, -1, {15, 15}},
        {"shrinking in proportion", 150, {{100}, {200}}, -1, -1, {50, 100}},
        {"all bases 0: nothing", 300, {{0}, {0}}, -1, -1, {}},
    };
    for (const Case& c : cases) {
        const TStretchResult result = StretchWidths(c.space, c.columns, c.stretchMin, c.stretchMax);
        EXPECT_EQ(result.Widths, c.widths) << c.what;
    }
}

class GridStretching : public test::GridTest {
protected:
    // A grid stretching ID, NAME and PRICE (each 100 wide before) over `rows` records.
    TXDBGrid* Grid(int rows) {
        UseNumberedTable(rows);
        auto* grid = AddGrid<TXDBGrid>(420, 220);
        grid->SetDataSource(nullptr);
        for (const char* name : {"ID", "NAME", "PRICE"}) {
            TXColumn* column = grid->Columns()->Add();
            column->SetFieldName(name);
            column->SetWidth(100);
        }
        grid->SetStretchMode(true);
        grid->SetDataSource(&source);
        EXPECT_TRUE(grid->StretchActive());
        return grid;
    }
    static std::vector<int> Widths(TXDBGrid& grid) {
        std::vector<int> widths;
        for (int i = 0; i < grid.Columns()->Count(); ++i) widths.push_back(grid.Columns()->Items(i)->Width());
        return widths;
    }
    // The columns fill the client width beside the indicator (within the pixel the frame may lend).
    static void ExpectFilled(TXDBGrid& grid) {
        const std::vector<int> widths = Widths(grid);
        const int total = std::accumulate(widths.begin(), widths.end(), 0);
        const int space = grid.ClientWidth() - grid.IndicatorWidth() - 4 * grid.ColLineWidth();
        EXPECT_NEAR(total, space, 1);
    }
};

TEST_F(GridStretching, ColumnsFillTheWidthWhenSizedAndWhenOneIsSized) {
    auto* grid = Grid(30);
    ExpectFilled(*grid);
    std::vector<int> widths = Widths(*grid);
    EXPECT_LE(widths[2] - widths[0], 1);

    grid->SetBounds(10, 10, 480, 220);
    ExpectFilled(*grid);
    EXPECT_NEAR(Widths(*grid)[0], widths[0] + 20, 1);

    // Hiding the bars frees their room, which the columns take.
    const int before = grid->ClientWidth();
    grid->SetScrollBars(ssNone);
    EXPECT_GE(grid->ClientWidth(), before);
    ExpectFilled(*grid);

    // A column sized by hand takes a smaller base; the stretch then shares the width anew.
    grid->Columns()->Items(0)->SetWidth(60);
    ExpectFilled(*grid);
    widths = Widths(*grid);
    EXPECT_LT(widths[0], widths[1] - 20);
    EXPECT_LE(std::abs(widths[2] - widths[1]), 1);

    // Stretching off gives every column its base width back.
    grid->SetDataSource(nullptr);
    EXPECT_FALSE(grid->StretchActive());
    widths = Widths(*grid);
    EXPECT_EQ(widths[1], 100);
    EXPECT_EQ(widths[2], 100);
}

TEST_F(GridStretching, StretchModeSwitchedOnWhileShowingDataStretchesAtOnceWithoutTheHorizontalBar) {
    UseNumberedTable(30);
    auto* grid = AddGrid<TXDBGrid>(420, 220);
    grid->SetDataSource(nullptr);
    for (const char* name : {"ID", "NAME", "PRICE"}) grid->Columns()->Add()->SetFieldName(name);
    for (int i = 0; i < 3; ++i) grid->Columns()->Items(i)->SetWidth(200);
    grid->SetDataSource(&source);
    grid->SetDataLeftCol(1);
    ASSERT_EQ(grid->LeftCol(), 2);
    ASSERT_EQ(grid->TCustomGrid::ScrollBars(), ssHorizontal);

    grid->SetStretchMode(true);
    EXPECT_TRUE(grid->StretchActive());
    ExpectFilled(*grid);
    EXPECT_EQ(grid->LeftCol(), 1);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssNone);
    // The grid's bounds and the indicator's room share anew at once.
    grid->SetStretchWidthMax(90);
    EXPECT_EQ(Widths(*grid), (std::vector<int>{90, 90, 90}));
    grid->SetStretchWidthMax(-1);
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgIndicator});
    EXPECT_NEAR(Widths(*grid)[0] + Widths(*grid)[1] + Widths(*grid)[2], grid->ClientWidth() - 3, 1);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgIndicator});
    ExpectFilled(*grid);
    // While the columns stretch by themselves, no bar choice brings the horizontal bar back.
    grid->SetScrollBars(ssHorizontal);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssNone);

    grid->SetStretchMode(false);
    EXPECT_FALSE(grid->StretchActive());
    EXPECT_EQ(Widths(*grid), (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssHorizontal);
    grid->SetScrollBars(ssVertical);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssNone);
}

}  // namespace
}  // namespace tv
