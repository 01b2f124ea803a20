// The grid's layout with one title row, measured with fixed text metrics (8 pixels a character,
// 16 a line): row heights, the total area, the columns laid out and their widths, the metrics.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"

namespace tv {
namespace {

class GridLayout : public test::GridTest {
protected:
    // A grid over `rows` numbered records that measures text on the recorder's fixed metrics.
    TXDBGrid* MeasuredGrid(int rows, int width = 600, int height = 300) {
        UseNumberedTable(rows);
        auto* grid = new TXDBGrid(&form);
        grid->Canvas()->AttachRecorder(&recorder);
        grid->SetParent(&form);
        grid->SetBounds(10, 10, width, height);
        grid->SetDataSource(&source);
        return grid;
    }
};

// One row-height rule: a change to a new grid, then the default row height and the title row's.
struct HeightCase {
    const char* rule;
    std::function<void(TXDBGrid&)> change;
    int rowHeight;
    int titleRow;
};

const HeightCase kHeights[] = {
    {"line + text + DataRowSpace; text + TitleRowSpace", [](TXDBGrid&) {}, 1 + 16 + 4, 16 + 8},
    {"LinesCount 2 doubles the text", [](TXDBGrid& g) { g.SetLinesCount(2); }, 1 + 32 + 4, 16 + 8},
    {"TitleLinesCount 3", [](TXDBGrid& g) { g.SetTitleLinesCount(3); }, 21, 48 + 8},
    {"the standard style's spacings", [](TXDBGrid& g) { g.GridStyle()->SetVisualStyle(vsStandard); },
     1 + 16 + 3, 16 + 4},
    {"no row lines", [](TXDBGrid& g) { g.SetOptions(g.Options() - TXDBGridOptions{dgRowLines}); }, 16 + 4,
     16 + 8},
    {"a custom data row space", [](TXDBGrid& g) { g.GridStyle()->SetDataRowSpace(10); }, 1 + 16 + 10, 16 + 8},
};

TEST_F(GridLayout, RowHeightsComeFromTextHeightLinesAndSpacing) {
    for (const HeightCase& c : kHeights) {
        TXDBGrid* grid = MeasuredGrid(3);
        c.change(*grid);
        EXPECT_EQ(grid->DefaultRowHeight(), c.rowHeight) << c.rule;
        EXPECT_EQ(grid->RowHeights(0), c.titleRow) << c.rule;
        EXPECT_EQ(grid->RowHeight(), c.rowHeight + grid->RowLineWidth()) << c.rule;
        EXPECT_EQ(grid->TitleHeight(), c.titleRow + grid->RowLineWidth()) << c.rule;
        EXPECT_EQ(grid->TitleRowCount(), 1) << c.rule;
        delete grid;
    }
}

TEST_F(GridLayout, AHeaderAddsItsRowsToTheTitleHeight) {
    TXDBGrid* grid = MeasuredGrid(3);
    TXColumn* column = grid->Columns()->Add();
    column->SetFieldName("NAME");
    column->Title()->SetHeader("Artikel|Namn");
    // A title change repaints its column only; the next layout takes the header in.
    EXPECT_EQ(grid->RowHeights(0), 16 + 8);
    grid->LayoutChanged();
    // Two header rows of text + HeaderRowSpace + line above the title's own text.
    EXPECT_EQ(grid->RowHeights(0), 16 + 8 + 2 * (16 + 8 + 1));
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgTitleHeaders});
    EXPECT_EQ(grid->RowHeights(0), 16 + 8);
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgTitles});
    EXPECT_EQ(grid->TitleRowCount(), 0);
    EXPECT_EQ(grid->TitleHeight(), 0);
    EXPECT_EQ(grid->TCustomGrid::FixedRows(), 0);
}

TEST_F(GridLayout, TheFooterStandsAtTheBottomAndTheBlankRowTakesTheRest) {
    TXDBGrid* grid = MeasuredGrid(3);
    grid->SetOptionsEx({dgTotalFooter});
    EXPECT_EQ(grid->TotalOffset(), 2);
    EXPECT_EQ(grid->TotalRowCount(), 1);
    EXPECT_EQ(grid->TotalFooterRowCount(), 1);
    EXPECT_EQ(grid->TotalHeaderRowCount(), 0);
    EXPECT_EQ(grid->TotalFieldsRowCount(), 0);
    ASSERT_EQ(grid->RowCount(), 1 + 3 + 2);
    const int footer = grid->RowCount() - 1;
    const int blank = footer - 1;
    EXPECT_EQ(grid->RowHeights(footer), 16 + 8);
    // The metrics add up to the client height; the blank row is as high as what is left.
    EXPECT_EQ(grid->TitleHeight() + grid->DataRowsHeight() + grid->BlankHeight() + grid->TotalHeight(),
              grid->ClientHeight());
    EXPECT_EQ(grid->DataHeight(), grid->ClientHeight() - grid->TitleHeight() - grid->TotalHeight());
    EXPECT_EQ(grid->RowHeights(blank), grid->BlankHeight() - grid->RowLineWidth());
    // A single 3D border keeps the footer's own bottom line inside the client area.
    EXPECT_EQ(grid->CellRect(1, footer).Bottom, grid->ClientHeight() - 1);
}

// The one pixel the total area and the blank row share with the frame: a case of border, 3D,
// total rows and width (a narrow grid shows the horizontal bar).
struct EdgeCase {
    const char* name;
    TBorderStyle border;
    bool ctl3D;
    TXDBGridOptionsEx totals;
    int width;
    int totalHeight;  // the footer row's 16 + 8 and its line, less the shared pixel
    int blankExtra;   // what BlankHeight has beyond client - titles - totals - data
};

const EdgeCase kEdges[] = {
    {"3D single border keeps its line", bsSingle, true, {dgTotalFooter}, 600, 25, 0},
    {"flat single border shares it", bsSingle, false, {dgTotalFooter}, 600, 24, 0},
    {"no border shares it", bsNone, true, {dgTotalFooter}, 600, 24, 0},
    {"a horizontal bar keeps it", bsSingle, false, {dgTotalFooter}, 150, 25, 0},
    {"blank row alone, 3D border", bsSingle, true, {dgBlankRow}, 600, 0, 0},
    {"blank row alone, no border", bsNone, true, {dgBlankRow}, 600, 0, 1},
};

TEST_F(GridLayout, TotalAndBlankHeightsShareOnePixelWithTheFrame) {
    for (const EdgeCase& c : kEdges) {
        TXDBGrid* grid = MeasuredGrid(3, c.width);
        grid->SetBorderStyle(c.border);
        grid->SetCtl3D(c.ctl3D);
        grid->SetOptionsEx(c.totals);
        EXPECT_EQ(grid->ScrollBarHeight() > 0, c.width < 300) << c.name;
        EXPECT_EQ(grid->TotalHeight(), c.totalHeight) << c.name;
        EXPECT_EQ(grid->BlankHeight(), grid->ClientHeight() - grid->TitleHeight() - grid->TotalHeight() -
                                           grid->DataRowsHeight() + c.blankExtra)
            << c.name;
        delete grid;
    }
}

TEST_F(GridLayout, DefaultColumnsFollowTheVisibleFields) {
    TXDBGrid* grid = MeasuredGrid(3);
    TXDBGridColumns& columns = *grid->Columns();
    ASSERT_EQ(columns.Count(), 4);
    EXPECT_EQ(columns.State(), csDefault);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(columns[i]->Field(), &table->Fields(i)) << i;
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->FieldCount(), 4);
    // A field hidden or moved lays the columns out again.
    table->FieldByName("NAME").SetVisible(false);
    ASSERT_EQ(columns.Count(), 3);
    EXPECT_EQ(columns[1]->FieldName(), "PRICE");
    table->FieldByName("ACTIVE").SetIndex(0);
    EXPECT_EQ(columns[0]->FieldName(), "ACTIVE");
    // The grid's own columns stand first: numbering, then selection.
    grid->SetOptionsExt(grid->OptionsExt() + TXDBGridOptionsExt{dgAutoNumberColumn, dgAutoSelectColumn});
    ASSERT_EQ(columns.Count(), 5);
    EXPECT_TRUE(columns[0]->AutoNumber());
    EXPECT_TRUE(columns[1]->CheckBox());
    EXPECT_EQ(columns.State(), csDefault);
}

TEST_F(GridLayout, WithoutDataTheGridShowsOneEmptyColumnAndRow) {
    TXDBGrid* grid = MeasuredGrid(3);
    grid->SetDataSource(nullptr);
    EXPECT_EQ(grid->Columns()->Count(), 1);
    EXPECT_EQ(grid->Columns()->Items(0)->Field(), nullptr);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->DataRowCount(), 0);
    EXPECT_EQ(grid->DataRowsHeight(), grid->RowHeight());
}

TEST_F(GridLayout, StoredColumnsLayOutOnlyTheShowingOnesWithTheirWidths) {
    TXDBGrid* grid = MeasuredGrid(3);
    TXDBGridColumns& columns = *grid->Columns();
    columns.Add()->SetFieldName("ID");
    columns.Add()->SetFieldName("NAME");
    columns.Add()->SetFieldName("PRICE");
    columns[0]->SetWidth(50);
    columns[2]->SetWidth(70);
    columns[1]->SetVisible(false);
    grid->SetFixedCols(1);
    ASSERT_EQ(columns.State(), csCustomized);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->VisibleColumns(), (std::vector<TXColumn*>{columns[0], columns[2]}));
    EXPECT_EQ(grid->ColWidths(0), 20);
    EXPECT_EQ(grid->ColWidths(1), 50);
    EXPECT_EQ(grid->ColWidths(2), -1);  // takes no room, line included
    EXPECT_EQ(grid->ColWidths(3), 70);
    EXPECT_EQ(columns[1]->Width(), -1);
    EXPECT_EQ(columns[1]->TrueWidth(), 30 * 8 + 4);
    EXPECT_TRUE(grid->CellRect(2, 1).IsEmpty());
    EXPECT_EQ(grid->CellRect(3, 1).Left, grid->CellRect(1, 1).Right + 1);
    // Indicator, ID and PRICE with a line each; the fixed part is the indicator and ID.
    EXPECT_EQ(grid->ColumnsWidth(), (20 + 1) + (50 + 1) + (70 + 1));
    EXPECT_EQ(grid->FixedColsWidth(), (20 + 1) + (50 + 1));
    EXPECT_EQ(grid->TCustomGrid::FixedCols(), 2);
    // Without column lines a hidden column is 0 wide.
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgColLines});
    EXPECT_EQ(grid->ColWidths(2), 0);
    EXPECT_EQ(grid->ColumnsWidth(), 20 + 50 + 70);
}

TEST_F(GridLayout, FixedColumnsLeaveAtLeastOneToScroll) {
    TXDBGrid* grid = MeasuredGrid(3);
    for (const char* name : {"ID", "NAME", "PRICE"}) grid->Columns()->Add()->SetFieldName(name);
    grid->SetFixedCols(10);
    EXPECT_EQ(grid->FixedCols(), 2);
    EXPECT_EQ(grid->TCustomGrid::FixedCols(), 3);
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgIndicator});
    EXPECT_EQ(grid->TCustomGrid::FixedCols(), 2);
    EXPECT_EQ(grid->IndicatorOffset(), 0);
}

TEST_F(GridLayout, TabStopsOnlyForColumnsThatCanBeEdited) {
    TXDBGrid* grid = MeasuredGrid(3);
    TXDBGridColumns& columns = *grid->Columns();
    for (const char* name : {"ID", "NAME", "PRICE", "ACTIVE"}) columns.Add()->SetFieldName(name);
    columns.Add();  // no field
    columns[1]->SetReadOnly(true);
    columns[2]->SetVisible(false);
    table->FieldByName("ACTIVE").SetReadOnly(true);
    grid->LayoutChanged();
    const bool expected[] = {true, false, false, false, false};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(grid->TabStops(i + 1), expected[i]) << i;
    // An inactive link: no column takes the tab.
    table->Close();
    EXPECT_FALSE(grid->TabStops(1));
}

TEST_F(GridLayout, SizingABaseColumnSizesItsColumnAndTheDefaultColumnsField) {
    TXDBGrid* grid = MeasuredGrid(3);
    int resized = 0;
    grid->OnColumnResize = [&](TObject*) { ++resized; };
    // NAME is a default column: its field keeps the width in characters.
    grid->SetColWidths(2, 100);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(table->FieldByName("NAME").DisplayWidth(), (100 - 4 + 4) / 8);
    EXPECT_EQ(grid->Columns()->Items(1)->Width(), 100);
    EXPECT_EQ(grid->ColWidths(2), 100);
    EXPECT_EQ(grid->ResizedColumn(), nullptr);
}

TEST_F(GridLayout, DataLeftColStaysRightOfTheFixedColumns) {
    TXDBGrid* grid = MeasuredGrid(3, 200);
    for (const char* name : {"ID", "NAME", "PRICE", "ACTIVE"}) grid->Columns()->Add()->SetFieldName(name);
    grid->SetFixedCols(1);
    grid->SetDataLeftCol(0);
    EXPECT_EQ(grid->DataLeftCol(), 1);
    grid->SetDataLeftCol(2);
    EXPECT_EQ(grid->DataLeftCol(), 2);
    EXPECT_EQ(grid->LeftCol(), 3);
}

}  // namespace
}  // namespace tv
