// Fixed cells in the states the mouse, the selection and the data give them: the line over the
// first total row as pixels at computed positions; multi-selected fixed cells, expand buttons of
// column groups and the navigator's buttons on the theme service as recorded elements and text
// colours, hot and pressed through real mouse moves and presses.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_navigator.h"
#include "grid_test_support.h"
#include "platform/gui/panel.h"
#include "platform/gui/theme_services.h"

namespace tv {
namespace {

using test::ThemesOn;

using Elements = std::vector<std::pair<TThemedElement, TThemedState>>;
using E = TThemedElement;
using S = TThemedState;

Elements ElementsOf(const std::vector<TCanvasRecord>& records, TPoint at) {
    Elements found;
    for (const TCanvasRecord& r : records)
        if (r.Rect.Contains(at)) found.push_back({static_cast<E>(r.Index), static_cast<S>(r.Flags)});
    return found;
}

TPoint Centre(const TRect& r) {
    return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
}

class GridFixedStates : public test::GridTest {
protected:
    // ID, NAME and ACTIVE over `records` numbered records, 420 x 260, no border, no gradient.
    TXDBGrid* Grid(int records) {
        UseNumberedTable(records);
        auto* grid = AddGrid<TXDBGrid>(420, 260);
        grid->SetBorderStyle(bsNone);
        for (const char* name : {"ID", "NAME", "ACTIVE"}) grid->Columns()->Add()->SetFieldName(name);
        grid->Gradient()->SetActive(false);
        return grid;
    }
    // The themed elements painted over the centre of raw cell c, r, in drawing order.
    Elements ThemedAt(TXDBGrid& grid, int c, int r) {
        return ElementsOf(Paint(grid).Of(TCanvasOp::Themed), Centre(grid.CellRect(c, r)));
    }
    // The colour the text `text` was last written in.
    TColor TextColour(TXDBGrid& grid, const std::string& text) {
        TColor colour = clNone;
        for (const TCanvasRecord& r : Paint(grid).Of(TCanvasOp::Text))
            if (r.Text == text) colour = r.Color;
        return colour;
    }
};

// ---- the line over the totals

struct TTotalLineCase {
    const char* Name;
    TFixedStyle Style;
    bool ColLines;
    int Records;          // 40: the blank row without height
    bool DoubleBuffered;
    TColor Expected;      // clNone: the data rows' own line stays
};

TEST_F(GridFixedStates, TheFirstTotalRowHasALineOverIt) {
    const TColor shadow = ColorToRGB(clBtnShadow);
    const TTotalLineCase cases[] = {
        {"fsFine: FixedLineColor", fsFine, true, 5, true, shadow},
        {"without column lines: black", fsFine, false, 5, true, clBlack},
        {"blank row without height, double buffered", fsFine, true, 40, true, shadow},
        {"blank row without height, painted directly", fsFine, true, 40, false, clNone},
    };
    for (const TTotalLineCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* grid = Grid(c.Records);
        grid->SetOptionsEx({dgTotalFooter});
        grid->SetFixedStyle(c.Style);
        grid->SetDoubleBuffered(c.DoubleBuffered);
        TXDBGridOptions options = kDefaultGridOptions;
        if (!c.ColLines) options.Exclude(dgColLines);
        grid->SetOptions(options);
        // So many records that the data rows fill the grid exactly: no room left for the blank row.
        if (c.Records == 40) grid->SetBounds(10, 10, 420, grid->Height() - grid->BlankHeight());
        const int blank = grid->RowCount() - grid->TotalOffset();
        EXPECT_EQ(grid->RowHeights(blank) < 0, c.Records == 40);
        auto picture = test::Render(*grid);
        TCanvas* p = picture->Canvas();
        const TRect indicator = grid->CellRect(0, blank + 1);
        const TRect name = grid->CellRect(2, blank + 1);
        ASSERT_FALSE(name.IsEmpty());
        if (c.Expected == clNone) {
            // The line between the last two data rows shows what the data rows draw there.
            const TColor dataLine = p->Pixels(name.Left + 4, grid->CellRect(2, blank - 2).Bottom);
            EXPECT_NE(dataLine, shadow);
            EXPECT_EQ(p->Pixels(name.Left + 4, name.Top - 1), dataLine);
        } else {
            const int line = grid->ColLineWidth();
            test::ExpectPixels(p, {
                                      {indicator.Left + 4, indicator.Top - 1, c.Expected},
                                      {name.Left + 4, name.Top - 1, c.Expected},
                                      {name.Right + line - 1, name.Top - 1, c.Expected},
                                  });
        }
        delete grid;
    }
}

// ---- multi-selected fixed cells on a themed grid

TEST_F(GridFixedStates, MultiSelectedFixedCellsShowTheSelectionInTheirTheme) {
    auto* grid = Grid(5);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgMultiSelect});
    grid->SetMultiSelectOptions({msRows, msFixed});
    grid->SetFixedCols(1);  // ID
    grid->SetSelectionColor(clYellow);
    table->First();
    table->Next();
    grid->SelectedRows()->SetCurrentRowSelected(true);  // record 2
    table->Last();
    const int row2 = grid->TitleOffset() + 1;
    ThemesOn on;
    ASSERT_TRUE(grid->FixedCellsThemed());

    // The default theme: the lit header over the toolbar face, on the selected record only.
    grid->SetFixedTheme(ftDefault);
    EXPECT_EQ(ThemedAt(*grid, 1, row2), (Elements{{E::ToolBar, S::Normal}, {E::HeaderItem, S::Hot}}));
    EXPECT_EQ(ThemedAt(*grid, 1, row2 + 1), (Elements{{E::ToolBar, S::Normal}}));
    // The other themes keep their face and write the selected text in the selection colour.
    grid->SetFixedTheme(ftButtons);
    EXPECT_EQ(ThemedAt(*grid, 1, row2), (Elements{{E::PushButton, S::Normal}}));
    EXPECT_EQ(TextColour(*grid, "2"), clYellow);
    EXPECT_EQ(TextColour(*grid, "3"), grid->FindColumn("ID")->Font()->Color());
    grid->SetFixedTheme(ftTabs);
    EXPECT_EQ(TextColour(*grid, "2"), clYellow);
    // Without msFixed a fixed cell is never multi-selected.
    grid->SetMultiSelectOptions({msRows});
    grid->SetFixedTheme(ftDefault);
    EXPECT_EQ(ThemedAt(*grid, 1, row2), (Elements{{E::ToolBar, S::Normal}}));
    // A disabled grid shows every fixed cell disabled.
    grid->SetMultiSelectOptions({msRows, msFixed});
    grid->SetEnabled(false);
    EXPECT_EQ(ThemedAt(*grid, 1, row2), (Elements{{E::ToolBar, S::Normal}}));
    EXPECT_EQ(TextColour(*grid, "2"), clGrayText);
}

// ---- expand buttons of column groups

TEST_F(GridFixedStates, ThemedExpandButtonsAndGroupTitlesAreHotAndPressedUnderTheMouse) {
    UseNumberedTable(5);
    auto* grid = new TXDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 480, 260);
    grid->Gradient()->SetActive(false);
    test::SetGroupColumns(*grid, &source, {{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}});
    ThemesOn on;
    grid->SetFixedTheme(ftButtons);
    TXColumn* group = grid->Columns()->Items(1);
    group->Title()->SetHeader("Parts");
    const TRect title = grid->ColumnTitleCellRect(group, 0);
    QPoint button(title.Right - 7, title.Bottom - 6);
    const QPoint caption(title.Left + 10, button.y());
    const QPoint header(title.Left + 10, title.Top + 4);
    const QPoint data = test::CellPoint(*grid, 1, grid->TitleOffset() + 1);
    auto at = [&](QPoint p) { return TPoint{p.x(), p.y()}; };
    // The arrow drawn in the button; the faces under the caption and the header row.
    auto arrow = [&] {
        Elements found;
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Themed))
            if (r.Rect.Contains(at(button)) && r.Index >= static_cast<int>(E::ScrollUp))
                found.push_back({static_cast<E>(r.Index), static_cast<S>(r.Flags)});
        return found;
    };
    auto face = [&](QPoint p) { return ElementsOf(Paint(*grid).Of(TCanvasOp::Themed), at(p)); };
    const Elements normal{{E::PushButton, S::Normal}};

    // A click first, so that no button is held from what came before.
    test::Click(*grid, data);
    test::MoveTo(*grid, data);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Normal}}));  // an open group folds to the left
    // Hot: the button alone; the title's face stays normal.
    test::MoveTo(*grid, button);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Hot}}));
    EXPECT_EQ(face(caption), normal);
    // Over the caption the group's title is hot, not its header row nor its button.
    test::MoveTo(*grid, caption);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Normal}}));
    EXPECT_EQ(face(caption), (Elements{{E::PushButton, S::Normal}, {E::PushButton, S::Hot}}));
    EXPECT_EQ(face(header), normal);
    test::Press(*grid, caption);
    EXPECT_EQ(face(caption), (Elements{{E::PushButton, S::Normal}, {E::PushButton, S::Pressed}}));
    EXPECT_EQ(face(header), normal);
    test::Release(*grid, data);
    // Pressed while held on the button; normal once the held mouse leaves it, pressed again back on it.
    test::MoveTo(*grid, button);
    test::Press(*grid, button);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Pressed}}));
    EXPECT_EQ(face(caption), normal);
    test::MoveTo(*grid, data);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Normal}}));
    test::MoveTo(*grid, button);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollLeft, S::Pressed}}));
    // Let go on it: the group closes; its button, hot under the mouse, points right.
    test::Release(*grid, button);
    EXPECT_FALSE(group->Expanded());
    const TRect closed = grid->ColumnTitleCellRect(group, 0);
    button = QPoint(closed.Right - 7, closed.Bottom - 6);
    test::MoveTo(*grid, data);
    test::MoveTo(*grid, button);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollRight, S::Hot}}));
    // Without dgHotButtons nothing is drawn hot.
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgHotButtons});
    test::MoveTo(*grid, data);
    test::MoveTo(*grid, button);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollRight, S::Normal}}));
    // A disabled grid shows the button disabled.
    grid->SetEnabled(false);
    EXPECT_EQ(arrow(), (Elements{{E::ScrollRight, S::Disabled}}));
}

// ---- the navigator

TEST_F(GridFixedStates, ThemedNavigatorButtonsFollowTheMouseAndWriteAPressedFlatCaptionInHighlightText) {
    UseNumberedTable(3);
    auto* nav = new TXDBNavigator(&form);
    nav->SetParent(&form);
    nav->SetBounds(10, 250, 480, 30);
    nav->SetDataSource(&source);
    nav->SetShowCaptions(true);
    ThemesOn on;
    TXDBNavButton* next = nav->Button(nbNext);
    QWidget* w = next->Widget();
    TCanvasRecorder rec;
    auto paint = [&] {
        rec.Clear();
        next->Canvas()->AttachRecorder(&rec);
        w->repaint();
        next->Canvas()->AttachRecorder(nullptr);
    };
    auto elements = [&] {
        paint();
        Elements found;
        for (const TCanvasRecord& r : rec.Of(TCanvasOp::Themed))
            found.push_back({static_cast<E>(r.Index), static_cast<S>(r.Flags)});
        return found;
    };
    auto caption = [&] {
        paint();
        const TCanvasRecord* text = rec.FindText("Next");
        return text ? text->Color : clNone;
    };
    const QPoint inside(w->width() / 2, w->height() / 2);
    const QPoint away = w->mapTo(form.Widget(), QPoint(0, 0)) + QPoint(0, -40);

    // Hot by a real move onto the button, and no longer once the mouse is elsewhere.
    nav->SetFlat(true);
    QTest::mouseMove(form.Widget(), away);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Normal}}));
    QTest::mouseMove(w, inside);
    EXPECT_TRUE(next->Hot());
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Hot}}));
    EXPECT_EQ(caption(), clBtnText);
    // Flat and pressed: the caption in the highlight-text colour; a push button keeps its text.
    QTest::mousePress(w, Qt::LeftButton, {}, inside);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Pressed}}));
    EXPECT_EQ(caption(), clHighlightText);
    QTest::mouseRelease(w, Qt::LeftButton, {}, inside);
    nav->SetFlat(false);
    QTest::mousePress(w, Qt::LeftButton, {}, inside);
    EXPECT_EQ(caption(), clBtnText);
    QTest::mouseRelease(w, Qt::LeftButton, {}, inside);

    // Fine with the underline: a raised toolbar button, and while hot a header item inset by 2
    // with its bottom one lower.
    nav->SetFine(true);
    nav->SetFineTheme(ftUnderline);
    QTest::mouseMove(form.Widget(), away);
    EXPECT_FALSE(next->Hot());
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Hot}}));
    QTest::mouseMove(w, inside);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Hot}, {E::HeaderItem, S::Hot}}));
    const auto underline = rec.Of(TCanvasOp::Themed).back();
    EXPECT_EQ(underline.Rect, Rect(2, 2, w->width() - 2, w->height() - 1));
}

}  // namespace
}  // namespace tv
