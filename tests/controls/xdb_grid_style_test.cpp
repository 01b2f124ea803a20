// The grid's spacings and visual styles, its scroll-bar settings, and its data link's field map.

#include <gtest/gtest.h>

#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/db_error.h"

namespace tv {
namespace {

using test::GridTest;

// A grid that counts the layouts asked of it.
class TCountingGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    int layouts = 0;
    void LayoutChanged() override {
        ++layouts;
        TXDBGrid::LayoutChanged();
    }
};

TEST(GridStyle, VisualStylesSetTheSixSpacings) {
    TXDBGrid grid;
    TXGridStyle& style = *grid.GridStyle();
    EXPECT_EQ(style.VisualStyle(), vsXPStyle);
    EXPECT_EQ(style.Spacing(), (TGridSpacing{4, 8, 1, 8, 0, 8}));

    style.SetVisualStyle(vsStandard);
    EXPECT_EQ(style.Spacing(), (TGridSpacing{3, 4, 0, 4, 0, 4}));
    // vsDefault on a grid that is not themed is the standard look, and reads back as itself.
    style.SetVisualStyle(vsXPStyle);
    style.SetVisualStyle(vsDefault);
    EXPECT_EQ(style.VisualStyle(), vsDefault);
    EXPECT_EQ(style.Spacing(), kStandardSpacing);
    // vsCustom keeps the values as they are.
    style.SetVisualStyle(vsCustom);
    EXPECT_EQ(style.Spacing(), kStandardSpacing);
    EXPECT_TRUE(style.SpacingStored());
}

TEST(GridStyle, WritingASpacingMakesTheStyleCustomOnlyWhenItChanges) {
    TCountingGrid grid;
    TXGridStyle& style = *grid.GridStyle();
    style.SetDataRowSpace(4);
    EXPECT_EQ(style.VisualStyle(), vsXPStyle);
    EXPECT_EQ(grid.layouts, 0);
    style.SetDataRowSpace(5);
    EXPECT_EQ(style.VisualStyle(), vsCustom);
    EXPECT_EQ(style.DataRowSpace(), 5);
    EXPECT_GT(grid.layouts, 0);
    EXPECT_FALSE(TXDBGrid().GridStyle()->SpacingStored());
}

TEST(GridStyle, WritingVsDefaultAgainAppliesItAgain) {
    TCountingGrid grid;
    TXGridStyle& style = *grid.GridStyle();
    style.SetVisualStyle(vsDefault);
    const int after = grid.layouts;
    EXPECT_GT(after, 0);
    style.SetVisualStyle(vsDefault);
    EXPECT_GT(grid.layouts, after);
    // Any other unchanged style does nothing.
    style.SetVisualStyle(vsStandard);
    const int standard = grid.layouts;
    style.SetVisualStyle(vsStandard);
    EXPECT_EQ(grid.layouts, standard);
}

TEST(GridStyle, AssignCopiesTheValuesAndTheStyle) {
    TXDBGrid a, b;
    a.GridStyle()->SetTitleRowSpace(11);
    b.SetGridStyle(a.GridStyle());
    EXPECT_EQ(b.GridStyle()->VisualStyle(), vsCustom);
    EXPECT_EQ(b.GridStyle()->TitleRowSpace(), 11);
    a.GridStyle()->SetVisualStyle(vsStandard);
    b.SetGridStyle(a.GridStyle());
    EXPECT_EQ(b.GridStyle()->Spacing(), kStandardSpacing);
}

struct ScrollStyleCase {
    TFixedStyle fixed;
    TScrollBarStyle style;
};
constexpr ScrollStyleCase kScrollStyles[] = {
    {fsDefault, ssRegular}, {fsSoft, ssRegular},  {fsNice, ssFlat},     {fsGreat, ssFlat},
    {fsFine, ssFlat},       {fsFlat, ssHotTrack}, {fsGray, ssHotTrack}, {fsMild, ssHotTrack},
};

TEST(ScrollProp, StyleFollowsTheFixedStyleUntilSet) {
    for (const ScrollStyleCase& c : kScrollStyles) {
        TXDBGrid grid;
        grid.SetFixedStyle(c.fixed);
        EXPECT_EQ(grid.ScrollProp()->Style(), c.style) << TEnumInfo<TFixedStyle>::Names[c.fixed];
    }
    TXDBGrid grid;
    TXScrollProp& prop = *grid.ScrollProp();
    grid.SetFixedStyle(fsGray);
    prop.SetStyle(ssFlat);
    EXPECT_FALSE(prop.ParentStyle());
    grid.SetFixedStyle(fsDefault);
    EXPECT_EQ(prop.Style(), ssFlat);
    // Back to the parent's: derived again at once.
    prop.SetParentStyle(true);
    EXPECT_EQ(prop.Style(), ssRegular);
}

TEST(ScrollProp, ColorFollowsTheDefaultUntilSet) {
    TXDBGrid grid;
    TXScrollProp& prop = *grid.ScrollProp();
    prop.SetColor(clRed);
    EXPECT_FALSE(prop.ParentColor());
    EXPECT_EQ(prop.Color(), clRed);
    prop.SetParentColor(true);
    EXPECT_EQ(prop.Color(), clBtnHighlight);
    // The properties are kept even though the bars are never flat.
    prop.SetWinXPMode(true);
    prop.SetAutoHidden(ssBoth);
    prop.SetThumbBar(ssVertical);
    TXDBGrid other;
    other.SetScrollProp(&prop);
    EXPECT_TRUE(other.ScrollProp()->WinXPMode());
    EXPECT_EQ(other.ScrollProp()->AutoHidden(), ssBoth);
    EXPECT_EQ(other.ScrollProp()->ThumbBar(), ssVertical);
}

TEST_F(GridTest, AutoStretchDecidesWhetherAStretchingGridShowsItsHorizontalBar) {
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssHorizontal);
    grid->SetStretchMode(true);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssNone);
    grid->ScrollProp()->SetAutoStretch(false);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssHorizontal);
    grid->SetStretchMode(false);
    grid->ScrollProp()->SetAutoStretch(true);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssHorizontal);
    grid->SetScrollBars(ssVertical);
    EXPECT_EQ(grid->TCustomGrid::ScrollBars(), ssNone);
}

// ---- the data link's field map ----

TEST_F(GridTest, ASparseMapTakesMissingFieldsAsNone) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    TXGridDataLink& link = *grid->DataLink();
    link.ClearMapping();
    link.SetSparseMap(true);
    EXPECT_TRUE(link.AddMapping("NAME"));
    EXPECT_TRUE(link.AddMapping("MISSING"));
    EXPECT_EQ(link.FieldCount(), 2);
    EXPECT_EQ(link.FieldIndex(0), 1);
    EXPECT_EQ(link.Fields(0), &table->FieldByName("NAME"));
    EXPECT_EQ(link.FieldIndex(1), -1);
    EXPECT_EQ(link.Fields(1), nullptr);
    EXPECT_EQ(link.FieldIndex(2), -1);  // outside the map
    EXPECT_FALSE(link.DefaultFields());
    EXPECT_TRUE(grid->ValidFieldIndex(0));
    EXPECT_FALSE(grid->ValidFieldIndex(1));

    link.ClearMapping();
    link.SetSparseMap(false);
    EXPECT_TRUE(link.DefaultFields());
    try {
        link.AddMapping("MISSING");
        FAIL() << "a missing field must raise without a sparse map";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'MISSING' not found");
    }
    EXPECT_EQ(link.FieldCount(), 0);
}

TEST_F(GridTest, TheMapGrowsAsFieldsAreAdded) {
    UseNumberedTable(1);
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    TXGridDataLink& link = *grid->DataLink();
    link.ClearMapping();
    for (int i = 0; i < 20; ++i) link.AddMapping(i % 2 ? "ID" : "PRICE");
    ASSERT_EQ(link.FieldCount(), 20);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(link.FieldIndex(i), i % 2 ? 0 : 2) << i;
}

// A client table that can only move forwards.
class TForwardOnlyTable : public TClientDataSet {
public:
    TForwardOnlyTable() {
        FieldDefs().Add("A", TFieldType::ftInteger);
        CreateDataSet();
        SetUnidirectional(true);
    }
};

TEST_F(GridTest, AUnidirectionalDatasetIsRefused) {
    UseNumberedTable(2);
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    TForwardOnlyTable cursor;
    TDataSource cursorSource;
    cursorSource.SetDataSet(&cursor);
    try {
        grid->SetDataSource(&cursorSource);
        FAIL() << "a unidirectional dataset must be refused";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Operation not allowed on a unidirectional dataset");
    }
    EXPECT_EQ(grid->DataSource(), &source);  // the link is unchanged
    EXPECT_TRUE(grid->DataLink()->Active());

    // A source that gets such a dataset later is refused when its link becomes active.
    TDataSource later;
    grid->SetDataSource(&later);
    EXPECT_THROW(later.SetDataSet(&cursor), EDatabaseError);
    grid->SetDataSource(nullptr);
}

}  // namespace
}  // namespace tv
