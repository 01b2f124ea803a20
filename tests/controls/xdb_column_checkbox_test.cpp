// Check-box columns: their texts read in any case, the state and glyph they give, ticking by the
// column, by a click as CheckBoxToggle says and by Space or Enter, with real events; the box a
// cell draws instead of its text.

#include <gtest/gtest.h>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include <QImage>

#include "controls/xdb_cell_picture.h"
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
    const int w = boxes->Width(), h = boxes->Height();
    auto cellOf = [&](int row) { return grid->CellRect(1 + grid->IndicatorOffset(), grid->TitleOffset() + row); };
    auto picturesIn = [&](const TRect& cell) {
        std::vector<TRect> found;
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Picture))
            if (r.Clip == cell) found.push_back(r.Rect);
        return found;
    };
    auto textIn = [&](const TRect& cell) {
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Text))
            if (cell.Contains(r.From) && !r.Text.empty()) return true;
        return false;
    };
    QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::CheckBoxes)));
    ASSERT_FALSE(strip.isNull());
    strip = strip.convertToFormat(QImage::Format_RGB32);
    struct Case {
        TCheckBoxKind kind;
        int base;
    };
    for (const Case& c : {Case{ckCheck, 0}, Case{ckCross, 3}, Case{cbBox, 6}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Box(*grid)->SetCheckBoxKind(c.kind);
        Paint(*grid);
        auto picture = test::Render(*grid);
        const int states[] = {1, 0, 2};  // ticked, not ticked, neither text
        for (int row = 0; row < 3; ++row) {
            const TRect cell = cellOf(row);
            // One box, centred in the cell, and no text.
            const TPoint at = {cell.Left + (cell.Width() - w) / 2, cell.Top + (cell.Height() - h) / 2};
            EXPECT_EQ(picturesIn(cell), std::vector<TRect>{Bounds(at.X, at.Y, w, h)}) << row;
            EXPECT_FALSE(textIn(cell)) << row;
            // On the screen, inside its frame: the mark of the record's state from our strip.
            const int glyph = c.base + states[row];
            for (int y = 2; y < h - 2; ++y)
                for (int x = 2; x < w - 2; ++x)
                    EXPECT_EQ(picture->Canvas()->Pixels(at.X + x, at.Y + y),
                              FromQColor(QColor(strip.pixel(glyph * w + x, y))))
                        << row << ": " << x << "," << y;
        }
    }
    // The ID column beside it still writes its text and draws no picture.
    const TRect idCell = grid->CellRect(grid->IndicatorOffset(), grid->TitleOffset());
    EXPECT_TRUE(textIn(idCell));
    EXPECT_TRUE(picturesIn(idCell).empty());
}

}  // namespace
}  // namespace tv
