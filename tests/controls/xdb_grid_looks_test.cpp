// The looks of the grid's fixed cells: the frame of every fixed style as pixels at computed
// positions, the window frame's edges, the themed cells, check boxes and expand buttons as the
// theme service records them in each state the mouse and the grid give, right-to-left cells,
// and the navigator's themed buttons.

#include <gtest/gtest.h>

#include <QImage>

#include <utility>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_glyphs.h"
#include "controls/xdb_navigator.h"
#include "grid_test_support.h"
#include "platform/gui/panel.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/theme_services.h"

namespace tv {
namespace {

using test::ThemesOn;

using Elements = std::vector<std::pair<TThemedElement, TThemedState>>;

std::string StyleName(TFixedStyle style) {
    return std::string(TEnumInfo<TFixedStyle>::Names[style]);
}

class GridLooks : public test::GridTest {
protected:
    TXDBGrid* Grid() {
        UseNumberedTable(5);
        auto* grid = AddGrid<TXDBGrid>(420, 220);
        grid->SetBorderStyle(bsNone);
        for (const char* name : {"ID", "NAME", "ACTIVE"}) grid->Columns()->Add()->SetFieldName(name);
        grid->Gradient()->SetActive(false);
        return grid;
    }
    static TPoint Centre(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }
    // The mouse onto raw cell c, r from a data cell (a move to where the pointer already is
    // sends nothing).
    static void Hover(TXDBGrid& grid, int c, int r) {
        test::MoveTo(grid, test::CellPoint(grid, 1, grid.TitleOffset() + 2));
        test::MoveTo(grid, test::CellPoint(grid, c, r));
    }
    // The themed elements painted over the centre of raw cell c, r, in drawing order.
    Elements ThemedAt(TXDBGrid& grid, int c, int r) {
        const TPoint centre = Centre(grid.CellRect(c, r));
        Elements found;
        for (const TCanvasRecord& rec : Paint(grid).Of(TCanvasOp::Themed))
            if (rec.Rect.Contains(centre))
                found.push_back({static_cast<TThemedElement>(rec.Index), static_cast<TThemedState>(rec.Flags)});
        return found;
    }
};

// ---- the frames of the eight fixed styles

struct TFrameCase {
    TFixedStyle Style;
    TColor Line;         // the pixel right of the cell (its column line)
    TColor TopLeft;      // the cell's own top and left pixels
    TColor BottomRight;  // its own bottom and right pixels
};

TEST_F(GridLooks, EachFixedStyleFramesItsFixedCellsWithItsEdges) {
    // A raised inner edge inside every cell (soft for the flat styles: a lighter top-left); the
    // line outside is black, or the outer edge the softer styles lay over it.
    const TColor white = ColorToRGB(clBtnHighlight), light = ColorToRGB(cl3DLight);
    const TColor shadow = ColorToRGB(clBtnShadow), dark = ColorToRGB(cl3DDkShadow);
    const TFrameCase cases[] = {
        {fsDefault, clBlack, white, shadow}, {fsSoft, dark, white, shadow},    {fsNice, clBlack, white, shadow},
        {fsFlat, clBlack, light, shadow},    {fsGreat, dark, white, shadow},   {fsGray, dark, light, shadow},
        {fsFine, shadow, white, shadow},     {fsMild, shadow, light, shadow},
    };
    auto* grid = Grid();
    for (const TFrameCase& c : cases) {
        grid->SetFixedStyle(c.Style);
        auto picture = test::Render(*grid);
        TCanvas* p = picture->Canvas();
        const std::string name = StyleName(c.Style);
        for (const TRect& cell : {grid->CellRect(2, 0), grid->CellRect(0, 2)}) {
            SCOPED_TRACE(name);
            test::ExpectPixels(p, {
                                      {cell.Right, cell.Top + 4, c.Line},
                                      {cell.Left + 4, cell.Bottom, c.Line},
                                      {cell.Left + 4, cell.Top, c.TopLeft},
                                      {cell.Left, cell.Top + 4, c.TopLeft},
                                      {cell.Right - 1, cell.Top + 4, c.BottomRight},
                                      {cell.Left + 4, cell.Bottom - 1, c.BottomRight},
                                  });
        }
    }
    // fsGray on a fixed colour of its own: a plain frame in that colour, no edges.
    grid->SetFixedStyle(fsGray);
    grid->SetFixedColor(clYellow);
    auto picture = test::Render(*grid);
    const TRect indicator = grid->CellRect(0, 2);
    test::ExpectPixels(picture->Canvas(), {
                                              {indicator.Left + 4, indicator.Top, ColorToRGB(clYellow)},
                                              {indicator.Right - 1, indicator.Top + 4, ColorToRGB(clYellow)},
                                              {indicator.Right, indicator.Top + 4, dark},
                                          });
    // Without row lines no style draws edges: only the black column line stays.
    grid->SetFixedColor(clBtnFace);
    TXDBGridOptions options = grid->Options();
    options.Exclude(dgRowLines);
    grid->SetOptions(options);
    for (TFixedStyle style : {fsSoft, fsGray, fsMild}) {
        grid->SetFixedStyle(style);
        picture = test::Render(*grid);
        const TRect title = grid->CellRect(2, 0);
        test::ExpectPixels(picture->Canvas(), {
                                                  {title.Right, title.Top + 4, clBlack},
                                                  {title.Left + 4, title.Top, ColorToRGB(clBtnFace)},
                                              });
    }
}

TEST_F(GridLooks, HotTitlesTakeTheLookOfTheirFixedStyleAndPressedOnesShiftTheirCaption) {
    auto* grid = Grid();
    const TRect cell = grid->CellRect(2, 0);
    auto edgesOver = [&] {
        std::vector<std::pair<int, uint32_t>> result;
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Edge))
            if (r.Rect.Contains(Centre(cell)) && r.Rect.Width() <= cell.Width() + 1) result.push_back({r.Index, r.Flags});
        return result;
    };
    Hover(*grid, 2, 0);
    ASSERT_TRUE(grid->TitleHot());
    // The last edge drawn over a hot title, by fixed style (hbAuto).
    const std::pair<TFixedStyle, std::pair<int, uint32_t>> hot[] = {
        {fsDefault, {EDGE_BUMP, BF_RECT}},         {fsSoft, {EDGE_BUMP, BF_RECT}},
        {fsNice, {BDR_RAISEDINNER, BF_RECT}},      {fsFlat, {BDR_RAISEDINNER, BF_RECT}},
        {fsGreat, {BDR_SUNKENOUTER, BF_RECT}},     {fsGray, {BDR_SUNKENOUTER, BF_RECT}},
        {fsFine, {EDGE_ETCHED, BF_RECT}},          {fsMild, {EDGE_ETCHED, BF_RECT}},
    };
    for (const auto& [style, edge] : hot) {
        grid->SetFixedStyle(style);
        const auto edges = edgesOver();
        ASSERT_FALSE(edges.empty()) << StyleName(style);
        EXPECT_EQ(edges.back(), edge) << StyleName(style);
    }
    // hbRaised by style: fsMild a raised inner frame one pixel larger, fsDefault a raised edge.
    grid->SetHotButtons(hbRaised);
    grid->SetFixedStyle(fsDefault);
    EXPECT_EQ(edgesOver().back(), (std::pair<int, uint32_t>{EDGE_RAISED, BF_RECT}));
    grid->SetHotButtons(hbNone);
    const auto plain = edgesOver();
    grid->SetHotButtons(hbAuto);

    // Held down: a sunken inner frame, the caption one pixel down and right.
    auto captionAt = [&] {
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Text))
            if (r.Text == "NAME") return r.From;
        return TPoint{-1, -1};
    };
    const TPoint up = captionAt();
    test::Press(*grid, test::CellPoint(*grid, 2, 0));
    ASSERT_TRUE(grid->TitlePressed());
    EXPECT_EQ(edgesOver().back(), (std::pair<int, uint32_t>{BDR_SUNKENINNER, BF_RECT}));
    EXPECT_EQ(captionAt(), (TPoint{up.X + 1, up.Y + 1}));
    test::Release(*grid, test::CellPoint(*grid, 2, grid->TitleOffset() + 1));
    EXPECT_EQ(captionAt(), up);
    EXPECT_EQ(edgesOver(), plain);

    // With a gradient that tracks hot items the gradient's faces show the states instead.
    grid->Gradient()->SetActive(true);
    TXFGradientOptions gradientOptions = grid->Gradient()->Options();
    gradientOptions.Include(goHotTrack);
    grid->Gradient()->SetOptions(gradientOptions);
    Hover(*grid, 2, 0);
    ASSERT_TRUE(grid->TitleHot());
    EXPECT_EQ(edgesOver(), plain);
}

// ---- the window frame

TEST_F(GridLooks, TheWindowFrameTakesTheEdgesOfTheFixedStyle) {
    auto* grid = Grid();
    grid->SetBorderStyle(bsSingle);
    struct TBorderCase {
        TFixedStyle Style;
        TColor TopLeft, BottomRight;
    };
    const TBorderCase cases[] = {
        {fsDefault, clBlack, clBlack},
        {fsSoft, ColorToRGB(cl3DDkShadow), ColorToRGB(cl3DDkShadow)},
        {fsGray, ColorToRGB(cl3DDkShadow), ColorToRGB(cl3DDkShadow)},
        {fsFine, ColorToRGB(clBtnShadow), ColorToRGB(clBtnShadow)},
        {fsMild, ColorToRGB(clBtnShadow), ColorToRGB(clBtnShadow)},
    };
    for (const TBorderCase& c : cases) {
        grid->SetFixedStyle(c.Style);
        grid->SetCtl3D(false);
        ASSERT_FALSE(grid->Ctl3D());
        auto picture = test::Render(*grid);
        const int w = grid->Width(), h = grid->Height();
        SCOPED_TRACE(StyleName(c.Style));
        test::ExpectPixels(picture->Canvas(), {
                                                  {20, 0, c.TopLeft},
                                                  {0, 20, c.TopLeft},
                                                  {20, h - 1, c.BottomRight},
                                                  {w - 1, 20, c.BottomRight},
                                              });
    }
}

// ---- themed cells

TEST_F(GridLooks, ThemedFixedCellsAreElementsInTheStateOfTheMouseAndTheGrid) {
    auto* grid = Grid();
    using E = TThemedElement;
    using S = TThemedState;
    EXPECT_TRUE(ThemedAt(*grid, 2, 0).empty());  // the service is off
    ThemesOn on;
    ASSERT_TRUE(grid->IsGridThemed());
    grid->SetFixedTheme(ftButtons);
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::PushButton, S::Normal}}));
    EXPECT_EQ(ThemedAt(*grid, 0, 2), (Elements{{E::PushButton, S::Normal}}));
    // Themed cells draw no edges of a fixed style.
    const TRect title = grid->CellRect(2, 0);
    for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Edge)) EXPECT_FALSE(r.Rect.Contains(Centre(title)));

    Hover(*grid, 2, 0);
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::PushButton, S::Normal}, {E::PushButton, S::Hot}}));
    EXPECT_EQ(ThemedAt(*grid, 1, 0), (Elements{{E::PushButton, S::Normal}}));
    test::Press(*grid, test::CellPoint(*grid, 2, 0));
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::PushButton, S::Normal}, {E::PushButton, S::Pressed}}));
    test::Release(*grid, test::CellPoint(*grid, 2, grid->TitleOffset() + 1));
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::PushButton, S::Normal}}));

    // The default theme: a toolbar face, with a header item over it while hot.
    grid->SetFixedTheme(ftDefault);
    Hover(*grid, 2, 0);
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::ToolBar, S::Normal}, {E::HeaderItem, S::Hot}}));
    // Tabs, with a gray line under the captions.
    grid->SetFixedTheme(ftTabs);
    test::Press(*grid, test::CellPoint(*grid, 2, 0));
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::Tab, S::Normal}, {E::Tab, S::Pressed}}));
    const TRect cell = grid->CellRect(2, 0);
    EXPECT_EQ(ColorToRGB(recorder.FillColorAt({cell.Left + 4, cell.Bottom - 1})), clGray);
    test::Release(*grid, test::CellPoint(*grid, 2, grid->TitleOffset() + 1));

    // A disabled grid shows every fixed cell disabled.
    grid->SetFixedTheme(ftButtons);
    grid->SetEnabled(false);
    EXPECT_EQ(ThemedAt(*grid, 2, 0), (Elements{{E::PushButton, S::Disabled}}));
    EXPECT_EQ(ThemedAt(*grid, 0, 3), (Elements{{E::PushButton, S::Disabled}}));
    // Without both line options the cells keep the fixed style's look.
    grid->SetEnabled(true);
    TXDBGridOptions options = grid->Options();
    options.Exclude(dgRowLines);
    grid->SetOptions(options);
    EXPECT_TRUE(ThemedAt(*grid, 2, 0).empty());
    // FixedTheme ftNone: not themed at all.
    grid->SetOptions(kDefaultGridOptions);
    grid->SetFixedTheme(ftNone);
    EXPECT_TRUE(ThemedAt(*grid, 2, 0).empty());
}

// Total cells are fixed cells: their theme's element in the grid's state, a sunken frame for a
// box, and on buttons and tabs a selected total's colour in its text.
TEST_F(GridLooks, ThemedTotalCellsAreElementsWithAFramedBox) {
    auto* grid = Grid();
    TXDBGridOptionsEx options = grid->OptionsEx();
    for (TXDBGridOptionEx o : {dgTotalFooter, dgTotalFooterBox, dgCalcSelectedRows}) options.Include(o);
    grid->SetOptionsEx(options);
    grid->Columns()->Items(1)->TotalFooter()->SetCaption("Summa");
    ThemesOn on;
    grid->SetFixedTheme(ftButtons);
    const int footer = grid->RowCount() - 1;
    const TRect cell = grid->CellRect(2, footer);
    EXPECT_EQ(ThemedAt(*grid, 2, footer), (Elements{{TThemedElement::PushButton, TThemedState::Normal}}));
    std::vector<TCanvasRecord> edges;
    for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Edge))
        if (r.Rect.Contains(Centre(cell))) edges.push_back(r);
    ASSERT_EQ(edges.size(), 1u) << "no edges of the box style, only the box's frame";
    EXPECT_EQ(edges[0].Rect, Rect(cell.Left + 3, cell.Top + 3, cell.Right - 3, cell.Bottom - 3));
    EXPECT_EQ(edges[0].Index, static_cast<int>(BDR_SUNKENOUTER));
    EXPECT_EQ(edges[0].Flags, static_cast<uint32_t>(BF_RECT));

    grid->Totals()->SetSelectedColor(clInfoBk);
    table->First();
    grid->SelectedRows()->SetCurrentRowSelected(true);
    grid->Totals()->SelectedRows = true;
    struct Case {
        TFixedTheme theme;
        TThemedElement element;
        TThemedState disabled;  // the element's state on a disabled grid
        bool colouredText;
    };
    using E = TThemedElement;
    using S = TThemedState;
    for (const Case& c : {Case{ftButtons, E::PushButton, S::Disabled, true}, Case{ftTabs, E::Tab, S::Disabled, true},
                          Case{ftDefault, E::ToolBar, S::Normal, false}}) {
        SCOPED_TRACE(static_cast<int>(c.theme));
        grid->SetFixedTheme(c.theme);
        Paint(*grid);
        const TCanvasRecord* text = recorder.FindText("Summa");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Color == clInfoBk, c.colouredText);
        grid->SetEnabled(false);
        EXPECT_EQ(ThemedAt(*grid, 2, footer), (Elements{{c.element, c.disabled}}));
        grid->SetEnabled(true);
    }
}

TEST_F(GridLooks, ThemedCheckBoxesAreHotAndPressedWhereAClickTicksThem) {
    auto* grid = Grid();
    TXColumn* active = grid->FindColumn("ACTIVE");
    active->SetCheckBox(true);
    ThemesOn on;
    // The state of each ACTIVE cell's box as painted, by data row.
    std::vector<std::pair<int, TThemedDetails>> boxes;
    grid->OnPaintColumnCell = [&](TObject*, const TRect&, int32_t, TXColumn* column, bool, TSelections, TColor&,
                                  TFont*, TPersistent*&) {
        if (column == active)
            boxes.push_back({grid->PaintRow(), grid->ThemedCheckBox(column, column->CheckBoxIndex())});
    };
    auto stateAt = [&](int row) {
        boxes.clear();
        Paint(*grid);
        for (const auto& [r, box] : boxes)
            if (r == row) return box;
        return TThemedDetails{};
    };
    const int raw = 3;
    const int row2 = grid->TitleOffset() + 1;  // record 2: ACTIVE false
    TThemedDetails box = stateAt(row2);
    EXPECT_EQ(box.Element, TThemedElement::CheckBox);
    EXPECT_EQ(box.State, TThemedState::Normal);
    EXPECT_EQ(box.Check, TThemedCheck::Unchecked);
    EXPECT_EQ(stateAt(grid->TitleOffset()).Check, TThemedCheck::Checked);
    Hover(*grid, raw, row2);
    EXPECT_EQ(stateAt(row2).State, TThemedState::Hot);
    EXPECT_EQ(stateAt(row2 + 1).State, TThemedState::Normal);
    test::Press(*grid, test::CellPoint(*grid, raw, row2));
    EXPECT_EQ(stateAt(row2).State, TThemedState::Pressed);
    test::Release(*grid, test::CellPoint(*grid, raw, row2));
    // Ticked only by keys: never hot.
    active->SetCheckBoxToggle(ctKeyPressOnly);
    Hover(*grid, raw, row2 + 1);
    EXPECT_EQ(stateAt(row2 + 1).State, TThemedState::Normal);
    grid->SetEnabled(false);
    EXPECT_EQ(stateAt(row2 + 1).State, TThemedState::Disabled);
}

TEST_F(GridLooks, AThemedGridDrawsExpandButtonsAsArrowsAndResolvesTheDefaultVisualStyle) {
    auto* grid = Grid();
    TXColumn* name = grid->FindColumn("NAME");
    name->SetExpandStyle(cesDropDown);
    const TRect button = Rect(10, 2, 27, 19);
    EXPECT_FALSE(grid->DrawThemedExpandButton(name, button));  // unthemed: the caller's glyph
    grid->GridStyle()->SetVisualStyle(vsDefault);
    TXDBGrid* xp = AddGrid<TXDBGrid>(100, 100);
    xp->GridStyle()->SetVisualStyle(vsXPStyle);
    ThemesOn on;
    recorder.Clear();
    grid->Canvas()->AttachRecorder(&recorder);
    EXPECT_TRUE(grid->DrawThemedExpandButton(name, button));
    grid->SetEnabled(false);
    EXPECT_TRUE(grid->DrawThemedExpandButton(name, button));
    grid->Canvas()->AttachRecorder(nullptr);
    const auto themed = recorder.Of(TCanvasOp::Themed);
    ASSERT_EQ(themed.size(), 2u);
    EXPECT_EQ(themed[0].Index, static_cast<int>(TThemedElement::ScrollDown));
    EXPECT_EQ(themed[0].Flags, static_cast<uint32_t>(TThemedState::Normal));
    EXPECT_EQ(themed[1].Flags, static_cast<uint32_t>(TThemedState::Disabled));
    EXPECT_EQ(themed[0].Rect, button);
    // vsDefault follows the theme when written again; the style itself stays vsDefault.
    grid->GridStyle()->SetVisualStyle(vsDefault);
    EXPECT_EQ(grid->GridStyle()->VisualStyle(), vsDefault);
    EXPECT_EQ(grid->GridStyle()->TitleRowSpace(), xp->GridStyle()->TitleRowSpace());
    EXPECT_EQ(grid->GridStyle()->DataRowSpace(), xp->GridStyle()->DataRowSpace());
}

// ---- right to left

TEST_F(GridLooks, ARightToLeftGridMirrorsTextThatReadsRightToLeftAndItsGlyphs) {
    auto* grid = Grid();
    grid->SetFillerIndex(-14);  // indicator glyph 12, a check mark
    auto textIn = [&](const std::string& text) {
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Text))
            if (r.Text == text) return r.From.X;
        return -1;
    };
    auto glyphFlags = [&](int index) {
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Glyph))
            if (r.Source == grid->Indicators() && r.Index == index) return static_cast<int>(r.Flags);
        return -1;
    };
    const TRect name = grid->CellRect(2, 1);
    const int idLeft = textIn("1");
    EXPECT_LT(textIn("Artikel 1"), name.Left + 8);
    EXPECT_EQ(glyphFlags(12), 0);
    const TRect id = grid->CellRect(1, 1);
    grid->SetBiDiMode(bdRightToLeft);
    // The columns stand mirrored. A text column reads from the right; numbers keep their side in
    // their cell, and so does a column that suppresses the direction.
    const TRect mirroredName = grid->CellRect(2, 1);
    const TRect mirroredId = grid->CellRect(1, 1);
    EXPECT_EQ(mirroredName.Right, grid->ClientWidth() - name.Left);
    const int width = 9 * recorder.CharWidth();
    EXPECT_EQ(textIn("Artikel 1"), mirroredName.Right - width - 2 - 1);
    EXPECT_EQ(textIn("1") - mirroredId.Left, idLeft - id.Left);
    EXPECT_GT(textIn("NAME"), mirroredName.Left + mirroredName.Width() / 2);
    grid->FindColumn("NAME")->SetSuppressRTL(true);
    EXPECT_LT(textIn("Artikel 1"), mirroredName.Left + 8);
    // The record glyphs are mirrored (the arrow of the current record points to its row, on the
    // left); every other glyph keeps its face.
    EXPECT_EQ(glyphFlags(12), 0);
    EXPECT_EQ(glyphFlags(0), 2);
    // On the screen the check mark stands as in the strip, pixel for pixel.
    auto picture = test::Render(*grid);
    QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::Indicators)));
    ASSERT_FALSE(strip.isNull());
    strip = strip.convertToFormat(QImage::Format_RGB32);
    const TRect filler = grid->CellRect(0, 0);
    const int x0 = filler.Left + 1 + (filler.Width() - 2 - 16) / 2;
    const int y0 = filler.Top + 1 + (filler.Height() - 2 - 16) / 2;
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb p = strip.pixel(12 * 16 + x, y);
            if (p == qRgb(128, 128, 0)) continue;
            ++opaque;
            EXPECT_EQ(picture->Canvas()->Pixels(x0 + x, y0 + y), FromQColor(QColor(p))) << x << "," << y;
        }
    EXPECT_GT(opaque, 8);
    // The rule per column: without a field the centred alignment keeps its place.
    TXColumn* loose = grid->Columns()->Add();
    EXPECT_TRUE(grid->ColumnRightToLeft(loose));
    loose->SetAlignment(taCenter);
    EXPECT_FALSE(grid->ColumnRightToLeft(loose));
    EXPECT_FALSE(grid->ColumnRightToLeft(grid->FindColumn("ID")));
}

// ---- the navigator

TEST_F(GridLooks, ThemedNavigatorButtonsAreElementsOfTheirLookAndState) {
    UseNumberedTable(3);
    auto* nav = new TXDBNavigator(&form);
    nav->SetParent(&form);
    nav->SetBounds(10, 250, 240, 25);
    nav->SetDataSource(&source);
    ThemesOn on;
    TXDBNavButton* next = nav->Button(nbNext);
    auto elements = [&] {
        TCanvasRecorder rec;
        next->Canvas()->AttachRecorder(&rec);
        next->Widget()->repaint();
        next->Canvas()->AttachRecorder(nullptr);
        Elements found;
        for (const TCanvasRecord& r : rec.Of(TCanvasOp::Themed))
            found.push_back({static_cast<TThemedElement>(r.Index), static_cast<TThemedState>(r.Flags)});
        return found;
    };
    using E = TThemedElement;
    using S = TThemedState;
    EXPECT_EQ(elements(), (Elements{{E::PushButton, S::Normal}}));
    QTest::mousePress(next->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(elements(), (Elements{{E::PushButton, S::Pressed}}));
    QTest::mouseRelease(next->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    nav->SetFlat(true);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Normal}}));
    // Fine with a theme: a raised toolbar button, with a border while hot.
    nav->SetFine(true);
    nav->SetFineTheme(ftBorder);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Hot}}));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(next->Widget(), &enter);
    EXPECT_EQ(elements(), (Elements{{E::ToolButton, S::Hot}, {E::PushButton, S::Hot}}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(next->Widget(), &leave);
    // At the last record Next is disabled.
    nav->SetFine(false);
    nav->SetFlat(false);
    table->Last();
    EXPECT_EQ(elements(), (Elements{{E::PushButton, S::Disabled}}));
}

}  // namespace
}  // namespace tv
