// The grid's fixed cells under real clicks: title buttons toggle their markers and report title
// clicks, header rows, the filler, the indicator and the total cells report their own; a title
// held and left is no click. And where the painter puts the numbered markers, with and without
// dgMarkerAutoAlign.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_markers.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/image_list.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

class DataGridTitles : public test::GridTest {
protected:
    // A grid over 5 numbered articles, with a total header row, recording every fixed-cell click.
    TXDBGrid* ClickGrid(TXDBGridOptions options = kDefaultGridOptions) {
        UseNumberedTable(5);
        auto* grid = AddGrid<TXDBGrid>(460, 300);
        grid->SetOptions(options);
        grid->SetOptionsEx({dgTotalHeader});
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->OnTitleClick = [this](TXColumn* c) { clicks.push_back("title " + c->FieldName()); };
        grid->OnHeaderClick = [this](TXColumn* c, int i) {
            clicks.push_back("header " + c->FieldName() + " " + std::to_string(i));
        };
        grid->OnTotalClick = [this](TXColumn* c, int i) {
            clicks.push_back("total " + c->FieldName() + " " + std::to_string(i));
        };
        grid->OnFillerClick = [this](TObject*) { clicks.push_back("filler"); };
        grid->OnIndicatorClick = [this](TObject*) { clicks.push_back("indicator"); };
        grid->OnCellClick = [this](TXColumn* c) { clicks.push_back("cell " + c->FieldName()); };
        grid->OnExpandClick = [this](TXColumn* c) { clicks.push_back("expand " + c->FieldName()); };
        return grid;
    }
    // The raw column of a field's column.
    static int RawOf(TXDBGrid& grid, const char* field) { return grid.ColumnToRaw(grid.FindColumn(field)); }
    std::vector<std::string> Taken() {
        std::vector<std::string> taken;
        taken.swap(clicks);
        return taken;
    }
    std::vector<std::string> clicks;
};

using Clicks = std::vector<std::string>;

TEST_F(DataGridTitles, EachFixedCellReportsItsOwnClick) {
    TXDBGrid* grid = ClickGrid();
    const int name = RawOf(*grid, "NAME");
    const int price = RawOf(*grid, "PRICE");
    const int totalHeader = grid->RowCount() - grid->TotalOffset() + 1;

    test::Click(*grid, test::CellPoint(*grid, name, 0));
    EXPECT_EQ(Taken(), Clicks{"title NAME"});
    // Ctrl adds to the order; a plain click starts it again, turning an ascending column round.
    test::Click(*grid, test::CellPoint(*grid, price, 0), Qt::ControlModifier);
    EXPECT_EQ(grid->OrderFields(), "NAME,PRICE");
    EXPECT_EQ(grid->FindColumn("PRICE")->Title()->MarkerIndex(), 4);
    test::Click(*grid, test::CellPoint(*grid, price, 0));
    EXPECT_EQ(grid->OrderFields(), "PRICE DESC");
    EXPECT_EQ(Taken(), (Clicks{"title PRICE", "title PRICE"}));

    test::Click(*grid, test::CellPoint(*grid, 0, 0));
    test::Click(*grid, test::CellPoint(*grid, 0, grid->TitleOffset() + 2));
    EXPECT_EQ(Taken(), (Clicks{"filler", "indicator"}));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);

    test::Click(*grid, test::CellPoint(*grid, name, totalHeader));
    test::Click(*grid, test::CellPoint(*grid, 0, totalHeader));
    test::Click(*grid, test::CellPoint(*grid, name, totalHeader - 1));  // the blank row
    EXPECT_EQ(Taken(), (Clicks{"total NAME 0", "indicator"}));

    // A data cell still reports its own click.
    test::Click(*grid, test::CellPoint(*grid, name, grid->TitleOffset()));
    EXPECT_EQ(Taken(), Clicks{"cell NAME"});
}

TEST_F(DataGridTitles, ATitleHeldAndLeftIsNoClick) {
    TXDBGrid* grid = ClickGrid();
    grid->SetResizeOptions({roColumnResize});  // no column moving: the title stays a button
    const int name = RawOf(*grid, "NAME");
    const QPoint on = test::CellPoint(*grid, name, 0);
    test::Press(*grid, on);
    EXPECT_TRUE(grid->TitleTracking());
    EXPECT_TRUE(grid->TitlePressed());
    test::MoveTo(*grid, test::CellPoint(*grid, name, grid->TitleOffset() + 1));
    EXPECT_FALSE(grid->TitlePressed());
    test::MoveTo(*grid, on + QPoint(3, 0));
    EXPECT_TRUE(grid->TitlePressed());
    test::Release(*grid, test::CellPoint(*grid, RawOf(*grid, "ID"), 0));
    EXPECT_FALSE(grid->TitleTracking());
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(grid->OrderFields(), "");

    // Dragged past the drag distance with column moving, the title moves its column instead.
    grid->SetResizeOptions({roColumnResize, roColumnMoving});
    const QPoint id = test::CellPoint(*grid, RawOf(*grid, "ID"), 0);
    test::Press(*grid, id);
    test::MoveTo(*grid, id + QPoint(20, 0));
    EXPECT_FALSE(grid->TitleTracking());
    EXPECT_EQ(grid->GridState(), gsColMoving);
    test::Release(*grid, test::CellPoint(*grid, RawOf(*grid, "PRICE"), 0));
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(grid->OrderFields(), "");
}

TEST_F(DataGridTitles, TitlesThatAreNoButtonsAndHeaderRows) {
    TXDBGrid* grid = ClickGrid();
    TXColumn* name = grid->FindColumn("NAME");
    name->Title()->SetButton(false);
    test::Click(*grid, test::CellPoint(*grid, RawOf(*grid, "NAME"), 0));
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(grid->OrderFields(), "");

    // A header over the caption: its row reports a header click, the caption below a title click.
    name->Title()->SetButton(true);
    TXColumn* price = grid->FindColumn("PRICE");
    price->Title()->SetHeader("Pris");
    grid->LayoutChanged();  // a title change repaints its column only
    const TRect cell = grid->CellRect(RawOf(*grid, "PRICE"), 0);
    test::Click(*grid, {cell.Left + 10, cell.Top + 2});
    EXPECT_EQ(grid->HeaderRowAt(price, cell.Top + 2), 0);
    test::Click(*grid, {cell.Left + 10, cell.Bottom - 3});
    EXPECT_EQ(Taken(), (Clicks{"header PRICE 0", "title PRICE"}));

    // Without title buttons a title still toggles and reports; so does the filler.
    TXDBGridOptions options = kDefaultGridOptions;
    options.Exclude(dgTitleButtons);
    grid->SetOptions(options);
    test::Click(*grid, test::CellPoint(*grid, RawOf(*grid, "ID"), grid->TitleOffset() - 1));
    test::Click(*grid, test::CellPoint(*grid, 0, 0));
    EXPECT_EQ(Taken(), (Clicks{"title ID", "filler"}));
    EXPECT_EQ(grid->OrderFields(), "ID");
}

TEST_F(DataGridTitles, HotTitlesFollowTheMouse) {
    TXDBGrid* grid = ClickGrid();
    test::TRepaintLog log;
    log.Attach(*grid);
    const int name = RawOf(*grid, "NAME");
    test::MoveTo(*grid, test::CellPoint(*grid, name, 0));
    EXPECT_TRUE(grid->TitleHot());
    EXPECT_EQ(grid->TrackedTitle(), name);
    EXPECT_TRUE(log.Invalidated(grid->CellRect(name, 0)));
    test::MoveTo(*grid, test::CellPoint(*grid, name, grid->TitleOffset() + 1));
    EXPECT_FALSE(grid->TitleHot());
    // On a column border the sizing zone wins.
    test::MoveTo(*grid, test::ColumnBorder(*grid, name));
    EXPECT_FALSE(grid->TitleHot());
}

TEST_F(DataGridTitles, HotAndPressedTitlesShowTheirFrames) {
    TXDBGrid* grid = ClickGrid();
    const int name = RawOf(*grid, "NAME");
    const TRect cell = grid->CellRect(name, 0);
    // The edges drawn over the whole title cell (with its frame pixel), as kind and sides.
    auto framesOver = [&] {
        std::vector<std::pair<int, uint32_t>> result;
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Edge))
            if (r.Rect == cell) result.push_back({r.Index, r.Flags});
        return result;
    };
    using Frames = std::vector<std::pair<int, uint32_t>>;
    const Frames plain = framesOver();
    test::MoveTo(*grid, test::CellPoint(*grid, name, 0));
    Frames hot = plain;
    hot.push_back({EDGE_BUMP, BF_RECT});  // fsDefault: a bump
    EXPECT_EQ(framesOver(), hot);
    grid->SetFixedStyle(fsGreat);
    Frames lowered = framesOver();
    EXPECT_EQ(lowered.back(), (std::pair<int, uint32_t>{BDR_SUNKENOUTER, BF_RECT}));
    grid->SetFixedStyle(fsDefault);
    test::Press(*grid, test::CellPoint(*grid, name, 0));
    Frames pressed = plain;
    pressed.push_back({BDR_SUNKENINNER, BF_RECT});
    EXPECT_EQ(framesOver(), pressed);
    test::Release(*grid, test::CellPoint(*grid, name, grid->TitleOffset() + 1));
    EXPECT_EQ(framesOver(), plain);
}

// ---- where markers are painted

struct TPlaceCase {
    const char* Name;
    int Right;
    int Margin;
    bool AutoAlign;
    TAlignment Alignment;
    int CaptionWidth;
    TTitleMarkerPlace Expected;
};

TEST(TitleMarkerPlace, AutoAlignKeepsTheMarkerAfterTheCaption) {
    // Text from 10 to 110, a marker 16 wide.
    const TPlaceCase cases[] = {
        {"at the right edge", 110, 1, false, taLeftJustify, 32, {10, 92, 93}},
        {"at the right edge, margin 2", 110, 2, false, taLeftJustify, 32, {10, 92, 94}},
        {"after a left caption", 110, 1, true, taLeftJustify, 32, {10, 45, 46}},
        {"after a centred caption, moved right with it", 110, 1, true, taCenter, 32, {33, 69, 70}},
        {"right-aligned captions keep it at the edge", 110, 1, true, taRightJustify, 32, {10, 92, 93}},
        {"a caption too wide leaves it at the edge", 110, 1, true, taLeftJustify, 90, {10, 92, 93}},
        {"a narrow cell draws it from the text's left", 20, 1, false, taLeftJustify, 32, {10, 2, 11}},
    };
    for (const TPlaceCase& c : cases) {
        const TTitleMarkerPlace p = PlaceTitleMarker(10, c.Right, 16, c.Margin, c.AutoAlign, c.Alignment, c.CaptionWidth);
        EXPECT_EQ(p.TextLeft, c.Expected.TextLeft) << c.Name;
        EXPECT_EQ(p.TextRight, c.Expected.TextRight) << c.Name;
        EXPECT_EQ(p.MarkerX, c.Expected.MarkerX) << c.Name;
    }
}

TEST_F(DataGridTitles, NumberedMarkersArePaintedAfterTheirCaptionsOrAtTheEdge) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(460, 200);
    for (const char* field : {"ID", "NAME", "PRICE"}) grid->Columns()->Add()->SetFieldName(field);
    grid->FindColumn("NAME")->SetWidth(120);
    grid->SetOrderFields("NAME,PRICE DESC,ID");
    TImageList* markers = grid->Markers();
    // Glyph and x of each marker drawn, by raw column; the cell's text starts at its left + the
    // margin (the frame takes one pixel of a fixed cell with both lines; the cell margin m is 1).
    auto drawn = [&] {
        std::vector<std::pair<int, int>> result;
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Glyph))
            if (r.Source == markers) result.push_back({r.Index, r.From.X});
        return result;
    };
    const int margin = grid->GridStyle()->TitleColMargin();
    auto left = [&](const char* f) { return grid->CellRect(RawOf(*grid, f), 0).Left + 1 + margin; };
    auto right = [&](const char* f) { return grid->CellRect(RawOf(*grid, f), 0).Right - 1 - margin; };
    // With auto-align (the default): text left + caption (8 pixels a character) + 2m + 1, then
    // + 2 - m.
    EXPECT_EQ(drawn(), (std::vector<std::pair<int, int>>{
                           {6, left("ID") + 16 + 4}, {2, left("NAME") + 32 + 4}, {5, left("PRICE") + 40 + 4}}));
    // Without it: the right end of the text less the marker and 2, then + 2 - m.
    TXDBGridOptions options = grid->Options();
    options.Exclude(dgMarkerAutoAlign);
    grid->SetOptions(options);
    EXPECT_EQ(drawn(), (std::vector<std::pair<int, int>>{{6, right("ID") - 18 + 1},
                                                         {2, right("NAME") - 18 + 1},
                                                         {5, right("PRICE") - 18 + 1}}));
}

}  // namespace
}  // namespace tv
