// A new data grid: every published property reads its default, and without data it has the
// indicator, one empty column, one title row and one empty data row.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"

namespace tv {
namespace {

using test::GridTest;

// One published property: its name and whether a new grid holds its default.
struct DefaultCase {
    const char* property;
    std::function<bool(const TXDBGrid&)> holds;
};

const DefaultCase kDefaults[] = {
    {"Options", [](const TXDBGrid& g) { return g.Options() == kDefaultGridOptions; }},
    {"OptionsEx", [](const TXDBGrid& g) { return g.OptionsEx() == kDefaultGridOptionsEx; }},
    {"OptionsExt",
     [](const TXDBGrid& g) {
         return g.OptionsExt() == TXDBGridOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems,
                                                     dgGridStyleLists, dgMouseScrolling};
     }},
    {"HintOptions",
     [](const TXDBGrid& g) {
         return g.HintOptions() == TXHintOptions{hoTitleHints, hoShowTitleHints, hoEditorHints,
                                                 hoShowToolTips, hoShowTotalToolTips};
     }},
    {"ResizeOptions",
     [](const TXDBGrid& g) {
         return g.ResizeOptions() ==
                TXResizeOptions{roColumnResize, roOptimalWidth, roDefaultWidth, roColumnMoving};
     }},
    {"MultiSelectOptions",
     [](const TXDBGrid& g) { return g.MultiSelectOptions() == TMultiSelectOptions{msRows}; }},
    {"ReadOnly", [](const TXDBGrid& g) { return !g.ReadOnly(); }},
    {"DefaultDrawing", [](const TXDBGrid& g) { return g.DefaultDrawing(); }},
    {"DragRows", [](const TXDBGrid& g) { return !g.DragRows(); }},
    {"EditorColor", [](const TXDBGrid& g) { return g.EditorColor() == clNone; }},
    {"FixedColor", [](const TXDBGrid& g) { return g.FixedColor() == clBtnFace; }},
    {"FixedCols", [](const TXDBGrid& g) { return g.FixedCols() == 0; }},
    {"FixedStyle", [](const TXDBGrid& g) { return g.FixedStyle() == fsDefault; }},
    {"FixedTheme", [](const TXDBGrid& g) { return g.FixedTheme() == ftDefault; }},
    {"FocusRect", [](const TXDBGrid& g) { return g.FocusRect() == frAuto; }},
    {"HotButtons", [](const TXDBGrid& g) { return g.HotButtons() == hbAuto; }},
    {"ListBorder", [](const TXDBGrid& g) { return g.ListBorder() == lbAuto; }},
    {"MarkerStyle", [](const TXDBGrid& g) { return g.MarkerStyle() == msAuto; }},
    {"MarkerTransparent", [](const TXDBGrid& g) { return g.MarkerTransparent() == mtAuto; }},
    {"FillerButton", [](const TXDBGrid& g) { return g.FillerButton(); }},
    {"FillerColor", [](const TXDBGrid& g) { return g.FillerColor() == clBtnFace; }},
    {"FillerHint", [](const TXDBGrid& g) { return g.FillerHint().empty(); }},
    {"FillerIndex", [](const TXDBGrid& g) { return g.FillerIndex() == -7; }},
    {"FillerPopupMenu", [](const TXDBGrid& g) { return g.FillerPopupMenu() == nullptr; }},
    {"IndicatorHint", [](const TXDBGrid& g) { return g.IndicatorHint().empty(); }},
    {"IndicatorImages", [](const TXDBGrid& g) { return g.IndicatorImages() == nullptr; }},
    {"IndicatorPopupMenu", [](const TXDBGrid& g) { return g.IndicatorPopupMenu() == nullptr; }},
    {"IndicatorWidth", [](const TXDBGrid& g) { return g.IndicatorWidth() == 20; }},
    {"HeaderColor", [](const TXDBGrid& g) { return g.HeaderColor() == clBtnFace; }},
    {"HeaderLinesCount", [](const TXDBGrid& g) { return g.HeaderLinesCount() == 1; }},
    {"TitleImages", [](const TXDBGrid& g) { return g.TitleImages() == nullptr; }},
    {"TitleLinesCount", [](const TXDBGrid& g) { return g.TitleLinesCount() == 1; }},
    {"TitleMarkers", [](const TXDBGrid& g) { return g.TitleMarkers() == nullptr; }},
    {"LinesCount", [](const TXDBGrid& g) { return g.LinesCount() == 1; }},
    {"LinesCountMax", [](const TXDBGrid& g) { return g.LinesCountMax() == -1; }},
    {"LinesCountMin", [](const TXDBGrid& g) { return g.LinesCountMin() == 1; }},
    {"DataColLineColor", [](const TXDBGrid& g) { return g.DataColLineColor() == clDefault; }},
    {"DataRowLineColor", [](const TXDBGrid& g) { return g.DataRowLineColor() == clDefault; }},
    {"HighlightText", [](const TXDBGrid& g) { return g.HighlightText() == clDefault; }},
    {"SelectCellColor", [](const TXDBGrid& g) { return g.SelectCellColor() == clDefault; }},
    {"SelectionColor", [](const TXDBGrid& g) { return g.SelectionColor() == clDefault; }},
    {"SelectRowColor", [](const TXDBGrid& g) { return g.SelectRowColor() == clDefault; }},
    {"StripeColor", [](const TXDBGrid& g) { return g.StripeColor() == clNone; }},
    {"ScrollBars", [](const TXDBGrid& g) { return g.ScrollBars() == ssBoth; }},
    {"KeyFields", [](const TXDBGrid& g) { return g.KeyFields().empty(); }},
    {"MasterGrid", [](const TXDBGrid& g) { return g.MasterGrid() == nullptr; }},
    {"OrderFields", [](const TXDBGrid& g) { return g.OrderFields().empty(); }},
    {"StretchMode", [](const TXDBGrid& g) { return !g.StretchMode(); }},
    {"StretchWidthMax", [](const TXDBGrid& g) { return g.StretchWidthMax() == -1; }},
    {"StretchWidthMin", [](const TXDBGrid& g) { return g.StretchWidthMin() == -1; }},
    {"WheelScrollRows", [](const TXDBGrid& g) { return g.WheelScrollRows() == 0; }},
    {"Ctl3DAuto", [](const TXDBGrid& g) { return g.Ctl3DAuto(); }},
    {"ParentCtl3D", [](const TXDBGrid& g) { return g.ParentCtl3D(); }},
    {"BiDiMode", [](const TXDBGrid& g) { return g.BiDiMode() == bdLeftToRight; }},
    {"BorderStyle", [](const TXDBGrid& g) { return g.BorderStyle() == bsSingle; }},
    {"Color", [](const TXDBGrid& g) { return g.Color() == clWindow && !g.ParentColor(); }},
    {"Hint", [](const TXDBGrid& g) { return g.Hint().empty(); }},
    {"DoubleBuffered", [](const TXDBGrid& g) { return g.DoubleBuffered(); }},
    {"DataSource", [](const TXDBGrid& g) { return g.DataSource() == nullptr; }},
    {"Columns",
     [](const TXDBGrid& g) { return g.Columns()->Count() == 0 && g.Columns()->State() == csDefault; }},
    {"GridStyle",
     [](const TXDBGrid& g) {
         return g.GridStyle()->VisualStyle() == vsXPStyle && g.GridStyle()->Spacing() == kXPStyleSpacing;
     }},
    {"ScrollProp",
     [](const TXDBGrid& g) {
         const TXScrollProp& p = *g.ScrollProp();
         return p.AutoHidden() == ssHorizontal && p.AutoStretch() && p.Color() == clBtnHighlight &&
                p.ParentColor() && p.ParentStyle() && p.Style() == ssRegular && p.ThumbBar() == ssBoth &&
                !p.WinXPMode();
     }},
    {"Settings",
     [](const TXDBGrid& g) {
         const TXDBGridSettings& s = *g.Settings();
         return !s.Active() && s.FileName().empty() && !s.IniFile() &&
                s.Options() == TXSettingsOptions{soLoadLayout, soSaveLayout};
     }},
    {"Totals",
     [](const TXDBGrid& g) {
         const TXDBGridTotals& t = *g.Totals();
         return t.BoxStyle() == cbAuto && t.CalcValues() && t.Color() == clBtnFace && t.DataMaxRow() == 5 &&
                t.DataSource() == nullptr && t.Images() == nullptr && t.LinesCount() == 1 &&
                t.SelectedColor() == clDefault && !t.Visible();
     }},
    {"Gradient", [](const TXDBGrid& g) { return g.Gradient()->Active(); }},
    // Public state that follows from the defaults.
    {"MultiSelect", [](const TXDBGrid& g) { return g.MultiSelect() == msRows; }},
    {"SelectedRows", [](const TXDBGrid& g) { return g.SelectedRows()->Count() == 0; }},
    {"SelectedCols", [](const TXDBGrid& g) { return g.SelectedCols()->Count() == 0; }},
    {"Position",
     [](const TXDBGrid& g) { return g.Position() == 0 && g.RecCount() == -1 && g.RecNumber() == -1; }},
};

TEST_F(GridTest, ANewGridReadsBackEveryPublishedDefault) {
    TXDBGrid grid;
    // The constructor adds dgAlwaysShowEditor only in the Korean locale, which tests do not run in.
    for (const DefaultCase& c : kDefaults) EXPECT_TRUE(c.holds(grid)) << c.property;
}

TEST_F(GridTest, FillerAndHeaderColoursFollowFixedColorUntilSet) {
    TXDBGrid grid;
    grid.SetFixedColor(clSilver);
    EXPECT_EQ(grid.FillerColor(), clSilver);
    EXPECT_EQ(grid.HeaderColor(), clSilver);
    EXPECT_EQ(grid.Totals()->Color(), clSilver);
    grid.SetFillerColor(clRed);
    grid.SetHeaderColor(clSilver);  // set to the colour it already has: now it is its own
    grid.Totals()->SetColor(clGreen);
    grid.SetFixedColor(clBtnFace);
    EXPECT_EQ(grid.FillerColor(), clRed);
    EXPECT_EQ(grid.HeaderColor(), clSilver);
    EXPECT_EQ(grid.Totals()->Color(), clGreen);
    EXPECT_EQ(grid.FixedColor(), clBtnFace);
}

TEST_F(GridTest, WithoutDataAGridShowsIndicatorOneEmptyColumnTitleAndEmptyRow) {
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->TCustomGrid::FixedRows(), 1);
    // A layout without data makes the one empty default column.
    grid->LayoutChanged();
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 2);
    ASSERT_EQ(grid->Columns()->Count(), 1);
    EXPECT_EQ(grid->Columns()->Items(0)->Field(), nullptr);
    EXPECT_EQ(grid->Columns()->State(), csDefault);
    EXPECT_EQ(grid->TitleRowCount(), 1);
    EXPECT_EQ(grid->DataRowCount(), 0);
}

}  // namespace
}  // namespace tv
