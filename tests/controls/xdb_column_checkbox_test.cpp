// Check-box columns: their texts read in any case, the state and glyph they give, ticking by the
// column, by a click as CheckBoxToggle says and by Space or Enter, with real events; the box a
// cell draws instead of its text.

#include <gtest/gtest.h>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include <QImage>

#include "controls/xdb_cell_text.h"
#include "controls/xdb_grid_glyphs.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

class CheckBoxColumn : public test::GridTest {
protected:
    // A focused grid over a table whose FLAG texts are `flags`; FLAG shows a check box.
    TXDBGrid* Grid(const std::vector<std::string>& flags) {
        std::vector<std::vector<std::string>> rows;
        int id = 0;
        for (const std::string& flag : flags) rows.push_back({std::to_string(++id), flag});
        table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"FLAG", TFieldType::ftString, 10}}, rows);
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(400, 250);
        Box(*grid)->SetCheckBox(true);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    static TXColumn* Box(TXDBGrid& grid) { return grid.Columns()->Items(1); }
    std::string Flag() { return table->FieldByName("FLAG").AsString(); }
    // The raw cell of FLAG in data row `row` (from 0).
    static QPoint BoxCell(TXDBGrid& grid, int row) {
        return test::CellPoint(grid, 1 + grid.IndicatorOffset(), grid.TitleOffset() + row);
    }
};

TEST_F(CheckBoxColumn, TextsReadInAnyCaseAndGiveTheState) {
    struct Case {
        const char* values;
        const char* text;
        int index;  // CheckBoxIndex with ckCheck
    };
    const Case cases[] = {
        {"Ja;Nej", "ja", 1},     {"Ja;Nej", "NEJ", 0}, {"Ja;Nej", "kanske", 2},
        {"Ja", "JA", 1},         {"Ja", "", 0},        {"", "true", 1},  // empty restores True;False
        {"", "False", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.values) + " / " + c.text);
        auto* grid = Grid({c.text});
        Box(*grid)->SetCheckBoxValues(c.values);
        EXPECT_EQ(Box(*grid)->CheckBoxIndex(), c.index);
        Box(*grid)->SetCheckBoxKind(ckCross);
        EXPECT_EQ(Box(*grid)->CheckBoxIndex(), c.index + 3);
        delete grid;
    }
}

TEST_F(CheckBoxColumn, TogglingStoresTheOtherTextAndNeitherBecomesTicked) {
    auto* grid = Grid({"nej", "kanske"});
    Box(*grid)->SetCheckBoxValues("Ja;Nej");
    Box(*grid)->ToggleCheckBoxValue();
    EXPECT_EQ(Flag(), "Ja");
    Box(*grid)->ToggleCheckBoxValue();
    EXPECT_EQ(Flag(), "Nej");
    table->Post();
    table->Next();
    Box(*grid)->ToggleCheckBoxValue();
    EXPECT_EQ(Flag(), "Ja");

    // A read-only grid does not let the column change.
    table->Cancel();
    grid->SetReadOnly(true);
    Box(*grid)->ToggleCheckBoxValue();
    EXPECT_EQ(Flag(), "kanske");
}

// Ticking a box changes its own field only: the selected column's field keeps its text through the
// post, and an editor opened afterwards shows it.
TEST_F(CheckBoxColumn, TickingLeavesTheSelectedColumnsFieldAlone) {
    auto* grid = Grid({"False", "False"});
    table->Next();
    grid->SetSelectedIndex(0);
    Box(*grid)->ToggleCheckBoxValue();
    table->Post();
    EXPECT_EQ(Flag(), "True");
    EXPECT_EQ(table->FieldByName("ID").AsString(), "2");
    grid->ShowEditor();
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "2");
}

TEST_F(CheckBoxColumn, ClicksAndKeysTickOnlyTheConfiguredWay) {
    struct Case {
        TCheckBoxToggle toggle;
        bool firstClick;   // a click on a box in a row that was not current
        bool secondClick;  // a click on the box that is current now
        bool space;
    };
    const Case cases[] = {
        {ctOnCellClick, true, true, true},
        {ctSelectClick, false, true, true},
        {ctKeyPressOnly, false, false, true},
        {ctCustomToggle, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.toggle));
        auto* grid = Grid({"False", "False"});
        Box(*grid)->SetCheckBoxToggle(c.toggle);
        int clicks = 0;
        grid->OnCellClick = [&](TXColumn*) { ++clicks; };
        test::Click(*grid, BoxCell(*grid, 1));
        EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
        EXPECT_EQ(Flag(), c.firstClick ? "True" : "False");
        test::Click(*grid, BoxCell(*grid, 1));
        EXPECT_EQ(Flag(), (c.firstClick != c.secondClick) ? "True" : "False");
        EXPECT_EQ(clicks, 2);
        EXPECT_FALSE(grid->EditorMode());
        const std::string before = Flag();
        test::Key(Qt::Key_Space);
        EXPECT_EQ(Flag() != before, c.space);
        delete grid;
    }
}

TEST_F(CheckBoxColumn, CellsDrawTheBoxOfTheirStateInsteadOfTheText) {
    auto* grid = Grid({"True", "False", "kanske"});
    grid->SetSelectRowColor(clNone);
    grid->SetBorderStyle(bsNone);  // the picture's pixels then stand where CellRect says
    const TImageList* boxes = grid->CheckBoxes();
    auto boxesIn = [&](const TRect& cell) {
        std::vector<int> found;
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Glyph))
            if (r.Source == boxes && cell.Contains(r.From)) found.push_back(r.Index);
        return found;
    };
    auto textIn = [&](const TRect& cell) {
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Text))
            if (cell.Contains(r.From) && !r.Text.empty()) return true;
        return false;
    };
    struct Case {
        TCheckBoxKind kind;
        int base;
    };
    for (const Case& c : {Case{ckCheck, 0}, Case{ckCross, 3}, Case{cbBox, 6}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Box(*grid)->SetCheckBoxKind(c.kind);
        Paint(*grid);
        const int states[] = {1, 0, 2};  // ticked, not ticked, neither text
        for (int row = 0; row < 3; ++row) {
            const TRect cell = grid->CellRect(1 + grid->IndicatorOffset(), grid->TitleOffset() + row);
            EXPECT_EQ(boxesIn(cell), std::vector<int>{c.base + states[row]}) << row;
            EXPECT_FALSE(textIn(cell)) << row;
        }
    }
    // The ID column beside it still writes its text and draws no box.
    const TRect idCell = grid->CellRect(grid->IndicatorOffset(), grid->TitleOffset());
    EXPECT_TRUE(textIn(idCell));
    EXPECT_TRUE(boxesIn(idCell).empty());

    // On the screen: the ticked box of our strip, centred in the first row's cell, pixel for pixel.
    Box(*grid)->SetCheckBoxKind(ckCheck);
    auto picture = test::Render(*grid);
    QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::CheckBoxes)));
    ASSERT_FALSE(strip.isNull());
    strip = strip.convertToFormat(QImage::Format_RGB32);
    const TRect cell = grid->CellRect(1 + grid->IndicatorOffset(), grid->TitleOffset());
    const int w = boxes->Width(), h = boxes->Height();
    const TPoint at = CellPicturePlace(cell, w, h, idCenter, taLeftJustify, tvTopJustify, 0, 0);
    EXPECT_EQ(at.X, cell.Left + (cell.Width() - w) / 2);
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = strip.pixel(1 * w + x, y);
            if (p == qRgb(128, 128, 0)) continue;
            ++opaque;
            EXPECT_EQ(picture->Canvas()->Pixels(at.X + x, at.Y + y), FromQColor(QColor(p))) << x << "," << y;
        }
    EXPECT_GT(opaque, 20);
}

TEST(CellPicturePlace, AlignmentsOppositeAndCentreWithOffsets) {
    const TRect cell = Rect(10, 20, 110, 60);  // 100 x 40, picture 13 x 13
    struct Case {
        TImageDraw draw;
        TAlignment align;
        TVAlignment valign;
        TPoint at;
    };
    const Case cases[] = {
        {idAlignment, taLeftJustify, tvTopJustify, {10 + 2, 20 + 3}},
        {idAlignment, taRightJustify, tvBottomJustify, {110 - 13 - 2, 60 - 13 - 3}},
        {idAlignment, taCenter, tvCenter, {10 + 43 + 2, 20 + 13 + 3}},
        {idOpposite, taLeftJustify, tvTopJustify, {110 - 13 - 2, 60 - 13 - 3}},
        {idOpposite, taCenter, tvBottomJustify, {10 + 43 + 2, 20 + 3}},
        {idCenter, taRightJustify, tvTopJustify, {10 + 43 + 2, 20 + 13 + 3}},
    };
    for (const Case& c : cases) {
        const TPoint at = CellPicturePlace(cell, 13, 13, c.draw, c.align, c.valign, 2, 3);
        EXPECT_EQ(at.X, c.at.X) << static_cast<int>(c.draw) << "/" << static_cast<int>(c.align);
        EXPECT_EQ(at.Y, c.at.Y) << static_cast<int>(c.draw) << "/" << static_cast<int>(c.valign);
    }
}

}  // namespace
}  // namespace tv
