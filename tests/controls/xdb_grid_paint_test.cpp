// The data grid's painting: decisions on the recording canvas (colours of striped, silver and
// current rows, the indicator glyph per record state, the filler, the text position per
// alignment), and pixel probes where no text falls (the indicator glyphs against our own strip,
// empty cells and lines at computed positions, the fixed frame).

#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_glyphs.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

class GridPainting : public test::GridTest {
protected:
    TXDBGrid* Grid(int rows = 20) {
        UseNumberedTable(rows);
        auto* grid = AddGrid<TXDBGrid>(420, 220);
        grid->SetBorderStyle(bsNone);
        return grid;
    }
    static TPoint Centre(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }
    // The indicator glyphs drawn in raw row `row`: their indexes.
    std::vector<int> IndicatorGlyphs(TXDBGrid& grid, int row) {
        const TRect cell = grid.CellRect(0, row);
        std::vector<int> glyphs;
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Glyph))
            if (r.Source == grid.Indicators() &&
                cell.Contains(Centre(Rect(r.From.X, r.From.Y, r.From.X + 16, r.From.Y + 16))))
                glyphs.push_back(r.Index);
        return glyphs;
    }
    // The colour the fills leave at a cell's centre, as RGB.
    TColor CellColour(TXDBGrid& grid, int c, int r) {
        return ColorToRGB(recorder.FillColorAt(Centre(grid.CellRect(c, r))));
    }
};

TEST_F(GridPainting, StripesFallOnOddRowsAndSilverDrawsLighter) {
    auto* grid = Grid();
    grid->SetColor(clSilver);
    grid->SetSelectRowColor(clNone);
    grid->SetStripeColor(clDefault);
    Paint(*grid);
    const int first = grid->TitleOffset();
    ASSERT_GE(grid->DataRowCount(), 5);
    for (int row = 0; row < 5; ++row)
        for (int c = 2; c <= 3; ++c)
            EXPECT_EQ(CellColour(*grid, c, first + row), row % 2 ? ColorToRGB(cl3DLight) : 0xE8E8E8)
                << c << "," << row;
    // Without stripes the grid's colour is drawn as it is; a stripe colour of its own shows.
    grid->SetStripeColor(clNone);
    Paint(*grid);
    EXPECT_EQ(CellColour(*grid, 2, first + 1), clSilver);
    grid->SetColor(clWindow);
    grid->SetStripeColor(clAqua);
    Paint(*grid);
    EXPECT_EQ(CellColour(*grid, 2, first + 1), clAqua);
    EXPECT_EQ(CellColour(*grid, 2, first + 2), ColorToRGB(clWindow));
    // The current record's row takes the selected-row colour (its default unless set).
    grid->SetSelectRowColor(clDefault);
    Paint(*grid);
    EXPECT_EQ(CellColour(*grid, 2, first), ColorToRGB(clGradientInactiveCaption));
}

TEST_F(GridPainting, TheFillerShowsTheGlyphItsIndexNames) {
    auto* grid = Grid();
    struct Case {
        int fillerIndex;
        std::vector<int> glyphs;
    };
    // -7 is the downward triangle (glyph 5); -1 and 0 without title images show nothing.
    const Case cases[] = {{-7, {5}}, {-2, {0}}, {-1, {}}, {0, {}}, {-30, {}}};
    for (const Case& c : cases) {
        grid->SetFillerIndex(c.fillerIndex);
        Paint(*grid);
        EXPECT_EQ(IndicatorGlyphs(*grid, 0), c.glyphs) << c.fillerIndex;
    }
    // The glyph sits centred in the filler cell (less its frame pixel).
    grid->SetFillerIndex(-7);
    Paint(*grid);
    const TRect cell = grid->CellRect(0, 0);
    const auto glyphs = recorder.Of(TCanvasOp::Glyph);
    ASSERT_FALSE(glyphs.empty());
    EXPECT_EQ(glyphs[0].From.X, cell.Left + 1 + (cell.Width() - 2 - 16) / 2);
    EXPECT_EQ(glyphs[0].From.Y, cell.Top + 1 + (cell.Height() - 2 - 16) / 2);
}

TEST_F(GridPainting, TheIndicatorShowsTheGlyphOfEachRecordsState) {
    auto* grid = Grid();
    const int first = grid->TitleOffset();
    auto select = [&](int recNo) {
        table->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    };
    select(3);
    select(5);
    table->SetRecNo(4);
    grid->SetSelectionAnchor(table->GetBookmark());
    table->First();
    auto glyphsOfRows = [&](int rows) {
        Paint(*grid);
        std::vector<std::vector<int>> all;
        for (int r = 0; r < rows; ++r) all.push_back(IndicatorGlyphs(*grid, first + r));
        return all;
    };
    using Rows = std::vector<std::vector<int>>;
    // Current and browsing: the arrow; selected: the dot; the anchor: the bar.
    EXPECT_EQ(glyphsOfRows(6), (Rows{{0}, {}, {3}, {6}, {3}, {}}));
    // The anchor on a selected record: the dot on a stem; the current selected record: the arrow
    // with a dot.
    table->SetRecNo(5);
    grid->SetSelectionAnchor(table->GetBookmark());
    table->SetRecNo(3);
    const int current = grid->Row() - first;
    auto rows = glyphsOfRows(6);
    EXPECT_EQ(rows[current], std::vector<int>{4});
    EXPECT_EQ(rows[current + 2], std::vector<int>{7});
    // Editing: the text cursor; inserting: the star.
    table->First();
    table->Edit();
    EXPECT_EQ(glyphsOfRows(1)[0], std::vector<int>{1});
    table->Cancel();
    table->Insert();
    EXPECT_EQ(glyphsOfRows(1)[0], std::vector<int>{2});
    table->Cancel();
    // OnCalcImageIndex may change it; dgIndicatorMarkOff shows none at all.
    grid->OnCalcImageIndex = [](TObject*, TXColumn*, int32_t& index) {
        if (index == 0) index = 15;
    };
    EXPECT_EQ(glyphsOfRows(1)[0], std::vector<int>{15});
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgIndicatorMarkOff});
    EXPECT_EQ(glyphsOfRows(6), (Rows{{}, {}, {}, {}, {}, {}}));
}

TEST_F(GridPainting, DataTextStandsWhereItsAlignmentPutsIt) {
    auto* grid = Grid();
    for (const char* name : {"ID", "NAME"}) grid->Columns()->Add()->SetFieldName(name);
    TXColumn* name = grid->Columns()->Items(1);
    const int row = grid->TitleOffset() + 2;  // "Artikel 3"
    struct Case {
        TAlignment alignment;
        int (*x)(const TRect& cell, int width);
    };
    const Case cases[] = {
        {taLeftJustify, [](const TRect& cell, int) { return cell.Left + 2; }},
        {taRightJustify, [](const TRect& cell, int w) { return cell.Right - w - 2 - 1; }},
        {taCenter, [](const TRect& cell, int w) { return cell.Left + cell.Width() / 2 - w / 2; }},
    };
    for (const Case& c : cases) {
        name->SetAlignment(c.alignment);
        Paint(*grid);
        const TCanvasRecord* text = recorder.FindText("Artikel 3");
        ASSERT_NE(text, nullptr);
        const TRect cell = grid->CellRect(2, row);
        EXPECT_EQ(text->From.X, c.x(cell, 9 * recorder.CharWidth())) << c.alignment;
        EXPECT_EQ(text->Clip, CommonRect(cell, text->Clip)) << "clipped to its cell";
    }
    // A hidden column draws nothing; the title is written with the title's font in its cell.
    Paint(*grid);
    const TCanvasRecord* title = recorder.FindText("NAME");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(grid->CellRect(2, 0).Contains(title->From));
    name->SetVisible(false);
    Paint(*grid);
    EXPECT_EQ(recorder.FindText("Artikel 3"), nullptr);
}

TEST_F(GridPainting, EventsSeeEveryDataCellAndMayChangeItsColour) {
    auto* grid = Grid(3);
    int drawn = 0;
    grid->OnPaintColumnCell = [](TObject*, const TRect&, int32_t DataCol, TXColumn*, bool, TSelections,
                                 TColor& Color, TFont*, TPersistent*&) {
        if (DataCol == 1) Color = clYellow;
    };
    grid->OnDrawColumnCell = [&](TObject*, const TRect&, int32_t, TXColumn*, TGridDrawState) { ++drawn; };
    int dataCells = 0;
    grid->OnDrawDataCell = [&](TObject*, const TRect&, TField*, TGridDrawState) { ++dataCells; };
    Paint(*grid);
    EXPECT_EQ(drawn, 3 * 4);
    EXPECT_EQ(dataCells, 3 * 4) << "default columns also draw data cells";
    EXPECT_EQ(CellColour(*grid, 2, grid->TitleOffset() + 1), clYellow);
}

TEST_F(GridPainting, DataLinesTakeTheirColours) {
    auto* grid = Grid(5);
    grid->SetSelectRowColor(clNone);
    const TRect cell = grid->CellRect(2, grid->TitleOffset() + 2);
    // The last fill of exactly `r`.
    auto fillAt = [&](const TRect& r) -> std::optional<TColor> {
        std::optional<TColor> colour;
        for (const TCanvasRecord& f : recorder.Of(TCanvasOp::Fill))
            if (f.Rect == r) colour = f.Color;
        return colour;
    };
    const TRect rowLine = Rect(cell.Left, cell.Bottom, cell.Right + 1, cell.Bottom + 1);
    const TRect colLine = Rect(cell.Right, cell.Top, cell.Right + 1, cell.Bottom + 1);
    const TRect shortColLine = Rect(cell.Right, cell.Top, cell.Right + 1, cell.Bottom);
    // clDefault: the base grid's silver lines stay, nothing is drawn over them.
    Paint(*grid);
    EXPECT_FALSE(fillAt(rowLine));
    EXPECT_EQ(fillAt(colLine), clSilver);
    // Real colours: the row line one pixel longer, the column line stopping above it.
    grid->SetDataRowLineColor(clRed);
    grid->SetDataColLineColor(clBlue);
    Paint(*grid);
    EXPECT_EQ(fillAt(rowLine), clRed);
    EXPECT_EQ(fillAt(shortColLine), clBlue);
    // clNone: the cell's own colour, so the line vanishes.
    grid->SetDataRowLineColor(clDefault);
    grid->SetDataColLineColor(clNone);
    Paint(*grid);
    EXPECT_EQ(fillAt(shortColLine), clWindow);
}

TEST_F(GridPainting, TheFocusRectangleFollowsItsStyle) {
    auto* grid = Grid(5);
    form.SetActiveControl(grid);
    ASSERT_TRUE(test::FocusOn(*grid));
    const TRect current = grid->CellRect(grid->Col(), grid->Row());
    struct Case {
        TFocusRect style;
        int focusRects;
        int edges;
    };
    // Edges of the fixed cells' frames are drawn too: count only those on the current cell.
    for (const Case& c : {Case{frAuto, 1, 0}, Case{frDefault, 1, 0}, Case{frGray, 0, 2}, Case{frMild, 0, 2},
                          Case{frNone, 0, 0}}) {
        grid->SetFocusRect(c.style);
        Paint(*grid);
        int rects = 0, edges = 0;
        for (const TCanvasRecord& r : recorder.Records()) {
            if (r.Op == TCanvasOp::FocusRect && r.Rect == current) ++rects;
            if (r.Op == TCanvasOp::Edge && r.Rect == current) ++edges;
        }
        EXPECT_EQ(rects, c.focusRects) << c.style;
        EXPECT_EQ(edges, c.edges) << c.style;
    }
    // Selecting whole rows shows no focus rectangle.
    grid->SetFocusRect(frDefault);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgRowSelect});
    Paint(*grid);
    EXPECT_TRUE(recorder.Of(TCanvasOp::FocusRect).empty());
}

// ---- pixels ----

TEST_F(GridPainting, IndicatorCellsHoldOurGlyphsPixelForPixel) {
    auto* grid = Grid();
    grid->SetFillerIndex(-7);
    table->SetRecNo(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    table->SetRecNo(2);
    auto picture = test::Render(*grid);
    QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::Indicators)));
    ASSERT_FALSE(strip.isNull());
    strip = strip.convertToFormat(QImage::Format_RGB32);
    const QRgb olive = qRgb(128, 128, 0);
    // Filler: glyph 5; the current record (2): the arrow; the selected record 3: the dot.
    const std::vector<std::pair<int, int>> cells{{0, 5}, {2, 0}, {3, 3}};
    for (const auto& [row, glyph] : cells) {
        const TRect cell = grid->CellRect(0, row);
        const int x0 = cell.Left + 1 + (cell.Width() - 2 - 16) / 2;
        const int y0 = cell.Top + 1 + (cell.Height() - 2 - 16) / 2;
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb p = strip.pixel(glyph * 16 + x, y);
                if (p == olive) continue;
                ++opaque;
                EXPECT_EQ(picture->Canvas()->Pixels(x0 + x, y0 + y), FromQColor(QColor(p)))
                    << "glyph " << glyph << " at " << x << "," << y;
            }
        EXPECT_GT(opaque, 8) << "glyph " << glyph;
    }
}

TEST_F(GridPainting, EmptyCellsLinesAndFramesHaveTheirColours) {
    auto* grid = Grid(3);
    for (const char* name : {"ID", "PRICE"}) grid->Columns()->Add()->SetFieldName(name);
    grid->Gradient()->SetActive(false);
    auto picture = test::Render(*grid);
    TCanvas* p = picture->Canvas();
    // Below the three records: the room after the last row.
    const TRect lastRow = grid->CellRect(1, grid->TitleOffset() + 2);
    const TRect blankCell = Rect(lastRow.Left, lastRow.Bottom + 2, lastRow.Right, lastRow.Bottom + 20);
    const TRect dataCell = grid->CellRect(1, 2);
    const TRect title = grid->CellRect(1, 0);
    const TRect lastData = grid->CellRect(2, 2);
    test::ExpectPixels(
        p, {
               // The empty room under the data: the grid's colour.
               {blankCell.Left + 3, blankCell.Top + 3, ColorToRGB(clWindow)},
               // The data lines of the base grid: silver right of and under a data cell.
               {dataCell.Right, dataCell.Top + 2, clSilver},
               {dataCell.Left + 2, dataCell.Bottom, clSilver},
               // The last showing column's line takes the fixed line colour.
               {lastData.Right, lastData.Top + 2, clBlack},
               // A title cell: black lines outside it, a raised inner edge in it, the face inside.
               {title.Right, title.Top + 3, clBlack},
               {title.Left + 3, title.Bottom, clBlack},
               {title.Left + 3, title.Top, ColorToRGB(clBtnHighlight)},
               {title.Left, title.Top + 3, ColorToRGB(clBtnHighlight)},
               {title.Right - 1, title.Top + 3, ColorToRGB(clBtnShadow)},
               {title.Left + 3, title.Bottom - 1, ColorToRGB(clBtnShadow)},
           });
    EXPECT_EQ(p->Pixels(title.Left + 3, title.Top + 3), ColorToRGB(clBtnFace));
    // With the gradient (on by default) the face changes from top to bottom.
    grid->Gradient()->SetActive(true);
    picture = test::Render(*grid);
    const TRect indicator = grid->CellRect(0, 2);
    EXPECT_NE(picture->Canvas()->Pixels(indicator.Left + 2, indicator.Top + 2),
              picture->Canvas()->Pixels(indicator.Left + 2, indicator.Bottom - 3));
}

}  // namespace
}  // namespace tv
