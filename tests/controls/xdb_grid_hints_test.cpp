// The data grid's hints and tool tips: the fit test and the hint window's size as tables; the
// five-stage query through the toolkit's tool-tip event on a shown grid (tool tips over cells,
// empty texts, titles without a window, the blank row and the cells of the total area, OnCellHint
// failing); the hint manager on the fake clock (hide time, the pause before a following hint,
// cancelling), and leaving the grid.

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <stdexcept>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "platform/gui/image_list.h"
#include "controls/xdb_grid_hints.h"
#include "controls/xdb_hint_window.h"
#include "grid_test_support.h"
#include "platform/gui/application.h"

namespace tv {
namespace {

TEST(GridToolTipFit, ShowsOnlyWhenTheTextDoesNotFitTheCell) {
    struct Case {
        TAlignment alignment;
        int hintWidth, hintHeight;
        bool shows;
    };
    // A cell of 100 x 20 with a one-pixel row line; the margins are the data cell's.
    const Case cases[] = {
        {taLeftJustify, 105, 18, true},   {taLeftJustify, 104, 18, false}, {taCenter, 108, 18, true},
        {taCenter, 107, 18, false},       {taRightJustify, 104, 18, true}, {taRightJustify, 103, 18, false},
        {taLeftJustify, 50, 19, true},    {taLeftJustify, 50, 18, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToolTipNeeded(c.alignment, DataCellMargin(c.alignment), c.hintWidth, c.hintHeight, 100, 20, 1),
                  c.shows)
            << "alignment " << c.alignment << ", hint " << c.hintWidth << " x " << c.hintHeight;
    EXPECT_EQ(TotalCellMargin(taLeftJustify), 3);
    EXPECT_EQ(TotalCellMargin(taRightJustify), 4);
    EXPECT_EQ(TotalCellMargin(taCenter), 3);
}

TEST(GridHintWindow, CalcHintRectMeasuresWrapsAndKeepsCentredWidthsOdd) {
    test::EnsureGridFonts();
    TXHintWindow window;
    TCanvasRecorder metrics(8, 16);
    window.Canvas()->AttachRecorder(&metrics);
    struct Case {
        const char* text;
        int maxWidth;
        TAlignment alignment;
        bool fixed;
        int width, height;
    };
    const Case cases[] = {
        {"abc", 300, taLeftJustify, false, 24 + 6, 16 + 2},
        {"abc", 300, taCenter, false, 25 + 6, 16 + 2},           // an even width is made odd
        {"ab\ncdef", 300, taLeftJustify, false, 32 + 6, 32 + 2},  // its own lines
        {"aaaa bbbb cccc", 40, taLeftJustify, true, 40 + 6, 48 + 2},  // wrapped: the whole width
        {"aaaa", 40, taLeftJustify, true, 40 + 6, 16 + 2},           // fits the width: the whole width
        {"aaaa", 40, taCenter, true, 41 + 6, 16 + 2},                // centred: an odd width
        {"aaaaaa", 40, taLeftJustify, true, 48 + 6, 16 + 2},          // one word wider than the cell
    };
    for (const Case& c : cases) {
        const TXHintData data{nullptr, c.alignment, c.fixed, false};
        const TRect r = window.CalcHintRect(c.maxWidth, c.text, &data);
        EXPECT_EQ(r.Width(), c.width) << c.text << " in " << c.maxWidth;
        EXPECT_EQ(r.Height(), c.height) << c.text << " in " << c.maxWidth;
        EXPECT_EQ(window.Alignment(), c.alignment);
    }
    window.CalcHintRect(300, "abc", nullptr);
    EXPECT_EQ(window.Alignment(), taLeftJustify);
    EXPECT_FALSE(window.FixedWidth());
    window.Canvas()->AttachRecorder(nullptr);
}

// A grid whose total area shows one total per column with the texts given here, as the totals
// will give them.
class TotalHintGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    std::string totalHint, totalText;
    bool totalToolTips = true;
    int totalImageIndex = -1;

protected:
    bool TotalHintOf(TXColumn* Column, int Index, TTotalHint& Total) override {
        if (Index != 0) return false;
        Total.Hint = totalHint;
        Total.Text = totalText;
        Total.ToolTips = totalToolTips;
        Total.ImageIndex = totalImageIndex;
        Total.Font = Column->Font();
        return true;
    }
};

constexpr const char* kLongName = "Artikel med ett mycket långt namn som aldrig ryms i sin cell";

class DataGridHints : public test::GridTest {
protected:
    DataGridHints() {
        table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"NAME", TFieldType::ftString, 80}},
                                  {{"1", kLongName}, {"2", ""}, {"3", "Kort"}});
        source.SetDataSet(table.get());
        Application().SetHintHidePause(2500);
        Application().SetHintPause(500);
        Application().SetHintShortPause(50);
    }

    TotalHintGrid* HintGrid(TXHintOptions options, TXDBGridOptionsEx optionsEx = {}) {
        auto* grid = AddGrid<TotalHintGrid>(460, 300);
        grid->SetOptionsEx(optionsEx);
        grid->SetHintOptions(options);
        grid->SetHint("Grid");
        grid->FindColumn("NAME")->SetWidth(120);
        grid->OnCellHint = [this](TObject*, TXColumn* c, int32_t i, THintCell kind, std::string& text) {
            hints.push_back(std::string(TEnumInfo<THintCell>::Names[kind]) + " " + (c ? c->FieldName() : "-") + " " +
                            std::to_string(i) + " " + text);
        };
        return grid;
    }
    // The toolkit asks for a tool tip at a cell's point.
    static void AskToolTip(TXCustomDBGrid& grid, QPoint at) {
        QWidget* viewport = test::ClientWidget(grid);
        QHelpEvent e(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &e);
    }
    static int NameCol(TXCustomDBGrid& grid) { return grid.ColumnToRaw(grid.FindColumn("NAME")); }
    std::vector<std::string> hints;
};

TEST_F(DataGridHints, ToolTipLiesOverACellWhoseTextDoesNotFit) {
    TotalHintGrid* grid = HintGrid({hoShowToolTips});
    const int name = NameCol(*grid);
    const int row = grid->TitleOffset();
    AskToolTip(*grid, test::CellPoint(*grid, name, row));
    TXHintManager* hints = grid->HintManager();
    ASSERT_TRUE(hints->Showing());
    EXPECT_EQ(hints->ShownText(), kLongName);
    const THintInfo& shown = hints->Shown();
    EXPECT_TRUE(shown.ToolTipWindow);
    EXPECT_EQ(shown.HintData.Font, grid->FindColumn("NAME")->Font());
    EXPECT_FALSE(shown.HintData.FixedWidth);
    // Left-aligned: one pixel up and left of the cell, on the screen.
    const TRect cell = grid->CellRect(name, row);
    const QPoint corner = test::ClientWidget(*grid)->mapToGlobal(QPoint(cell.Left - 1, cell.Top - 1));
    EXPECT_EQ(shown.HintPos.X, corner.x());
    EXPECT_EQ(shown.HintPos.Y, corner.y());
    EXPECT_EQ(shown.CursorRect, Rect(cell.Left, cell.Top, cell.Right + grid->ColLineWidth(),
                                     cell.Bottom + grid->RowLineWidth()));
    EXPECT_EQ(grid->HintPauseState(), 1);
    QWidget* window = hints->Window()->Widget();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::ToolTip));
    EXPECT_EQ(window->x(), corner.x());

    // A text that fits shows nothing, unless tool tips always show.
    hints->Cancel();
    AskToolTip(*grid, test::CellPoint(*grid, name, row + 2));
    EXPECT_FALSE(hints->Showing());
    hints->Cancel();
    grid->SetHintOptions({hoShowToolTips, hoAlwaysShowToolTips});
    AskToolTip(*grid, test::CellPoint(*grid, name, row + 2));
    EXPECT_EQ(hints->ShownText(), "Kort");
}

TEST_F(DataGridHints, EmptyCellTextEndsTheQueryAndAColumnWithoutToolTipsGoesOnToTheDataHint) {
    TotalHintGrid* grid = HintGrid({hoShowToolTips, hoDataHints, hoShowDataHints});
    TXColumn* column = grid->FindColumn("NAME");
    column->SetHint("Artikelns namn");
    const int name = NameCol(*grid);
    const int row = grid->TitleOffset();
    THintInfo info;
    info.CursorRect = grid->ClientRect();
    const QPoint empty = test::CellPoint(*grid, name, row + 1);
    EXPECT_EQ(grid->HintQuery({empty.x(), empty.y()}, info), 1);
    EXPECT_EQ(info.HintStr, "Grid");
    EXPECT_TRUE(hints.empty());  // no data hint for that cell

    // A column with tool tips ends the query over its cells, even where the text fits.
    const QPoint fits = test::CellPoint(*grid, name, row + 2);
    info = {};
    EXPECT_EQ(grid->HintQuery({fits.x(), fits.y()}, info), 1);
    EXPECT_TRUE(hints.empty());
    column->SetToolTips(false);
    info = {};
    EXPECT_EQ(grid->HintQuery({fits.x(), fits.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "Artikelns namn");
    EXPECT_FALSE(info.ToolTipWindow);
    EXPECT_EQ(grid->Hint(), "Artikelns namn");
    EXPECT_EQ(grid->HintPauseState(), 2);
    EXPECT_EQ(hints, (std::vector<std::string>{"hcData NAME 0 Artikelns namn"}));
    // The indicator beside the data rows gives the indicator hint.
    grid->SetIndicatorHint("Posten");
    const QPoint indicator = test::CellPoint(*grid, 0, row);
    info = {};
    EXPECT_EQ(grid->HintQuery({indicator.x(), indicator.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "Posten");
}

TEST_F(DataGridHints, TitleHintsWithoutWindowOnlySetTheGridHintUntilTheMouseLeaves) {
    TotalHintGrid* grid = HintGrid({hoTitleHints});
    grid->FindColumn("ID")->Title()->SetHint("Artikelnummer");
    grid->SetFillerHint("Alla kolumner");
    const int id = grid->ColumnToRaw(grid->FindColumn("ID"));
    AskToolTip(*grid, test::CellPoint(*grid, id, 0));
    EXPECT_FALSE(grid->HintManager()->Showing());
    EXPECT_EQ(grid->Hint(), "Artikelnummer");
    EXPECT_EQ(grid->MainHint(), "Grid");
    EXPECT_EQ(grid->HintPauseState(), 1);
    // A title without a hint of its own gives its caption; the filler its hint.
    THintInfo info;
    const QPoint name = test::CellPoint(*grid, NameCol(*grid), 0);
    EXPECT_EQ(grid->HintQuery({name.x(), name.y()}, info), 1);
    EXPECT_EQ(info.HintStr, "NAME");
    const QPoint filler = test::CellPoint(*grid, 0, 0);
    grid->HintQuery({filler.x(), filler.y()}, info);
    EXPECT_EQ(info.HintStr, "Alla kolumner");
    EXPECT_EQ(hints, (std::vector<std::string>{"hcTitle ID 0 Artikelnummer", "hcTitle NAME 0 NAME",
                                                "hcFiller - 0 Alla kolumner"}));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid->Widget(), &leave);
    EXPECT_EQ(grid->Hint(), "Grid");
    EXPECT_EQ(grid->HintPauseState(), 0);

    // With the window option the title hint opens a window, state 2.
    grid->SetHintOptions({hoTitleHints, hoShowTitleHints});
    AskToolTip(*grid, test::CellPoint(*grid, id, 0));
    EXPECT_EQ(grid->HintManager()->ShownText(), "Artikelnummer");
    EXPECT_FALSE(grid->HintManager()->Shown().ToolTipWindow);
    EXPECT_EQ(grid->HintPauseState(), 2);
}

// A column's own total gives the total area its hint.
TEST_F(DataGridHints, AColumnsTotalGivesItsHint) {
    auto* grid = AddGrid<TXDBGrid>(460, 300);
    grid->SetOptionsEx({dgTotalHeader});
    grid->SetHintOptions({hoTotalHints, hoShowTotalHints});
    grid->SetHint("Grid");
    TXColumnTotal* header = grid->FindColumn("NAME")->TotalHeader();
    header->SetCaption("Summa");
    header->SetHint("Summans tips");
    header->SetToolTips(false);
    const int blank = grid->RowCount() - grid->TotalOffset();
    const QPoint at = test::CellPoint(*grid, grid->ColumnToRaw(grid->FindColumn("NAME")), blank + 1);
    THintInfo info;
    EXPECT_EQ(grid->HintQuery({at.x(), at.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "Summans tips");
}

TEST_F(DataGridHints, TotalAreaHintsSkipTheBlankRow) {
    TotalHintGrid* grid = HintGrid({hoTotalHints, hoShowTotalHints, hoShowTotalToolTips}, {dgTotalHeader});
    grid->totalHint = "Summa av namnen";
    grid->SetIndicatorHint("Totaler");
    const int name = NameCol(*grid);
    const int blank = grid->RowCount() - grid->TotalOffset();
    THintInfo info;
    const QPoint onBlank = test::CellPoint(*grid, name, blank);
    grid->HintQuery({onBlank.x(), onBlank.y()}, info);
    EXPECT_EQ(info.HintStr, "Grid");  // the main hint
    EXPECT_FALSE(info.ToolTipWindow);
    EXPECT_TRUE(hints.empty());

    // A total with tool tips ends the query over its cell, even where its text fits.
    grid->totalText = "3";
    const QPoint onTotal = test::CellPoint(*grid, name, blank + 1);
    EXPECT_EQ(grid->HintQuery({onTotal.x(), onTotal.y()}, info), 1);
    EXPECT_TRUE(hints.empty());
    // Without them its hint follows.
    grid->totalToolTips = false;
    info = {};
    EXPECT_EQ(grid->HintQuery({onTotal.x(), onTotal.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "Summa av namnen");
    const QPoint onIndicator = test::CellPoint(*grid, 0, blank + 1);
    info = {};
    EXPECT_EQ(grid->HintQuery({onIndicator.x(), onIndicator.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "Totaler");
    EXPECT_EQ(hints, (std::vector<std::string>{"hcTotal NAME 0 Summa av namnen", "hcIndicator - 0 Totaler"}));

    // A total text wider than the cell is shown over it.
    grid->totalToolTips = true;
    grid->totalText = kLongName;
    info = {};
    EXPECT_EQ(grid->HintQuery({onTotal.x(), onTotal.y()}, info), 0);
    EXPECT_EQ(info.HintStr, kLongName);
    EXPECT_TRUE(info.ToolTipWindow);
    EXPECT_EQ(grid->HintPauseState(), 1);
}

TEST_F(DataGridHints, ATotalsImageShiftsItsToolTipOnlyWhenTheImageExists) {
    TotalHintGrid* grid = HintGrid({hoShowTotalToolTips}, {dgTotalHeader});
    grid->totalText = kLongName;
    TImageList images;
    images.SetWidth(16);
    images.SetHeight(16);
    for (int i = 0; i < 2; ++i) images.AddImage(QImage(16, 16, QImage::Format_RGB32));
    grid->Totals()->SetImages(&images);
    const int blank = grid->RowCount() - grid->TotalOffset();
    const QPoint onTotal = test::CellPoint(*grid, NameCol(*grid), blank + 1);
    auto left = [&](int imageIndex) {
        grid->totalImageIndex = imageIndex;
        THintInfo info;
        EXPECT_EQ(grid->HintQuery({onTotal.x(), onTotal.y()}, info), 0);
        return info.HintPos.X;
    };
    const int plain = left(-1);
    const struct {
        int imageIndex, shift;
    } cases[] = {{0, 16 + 2}, {1, 16 + 2}, {2, 0}, {9, 0}};
    for (const auto& c : cases) EXPECT_EQ(left(c.imageIndex) - plain, c.shift) << c.imageIndex;
    grid->Totals()->SetImages(nullptr);
}

TEST_F(DataGridHints, FailingCellHintHandlerClearsTheHint) {
    TotalHintGrid* grid = HintGrid({hoTitleHints, hoShowTitleHints});
    grid->OnCellHint = [](TObject*, TXColumn*, int32_t, THintCell, std::string& text) {
        text = "half";
        throw std::runtime_error("handler failed");
    };
    THintInfo info;
    const QPoint title = test::CellPoint(*grid, NameCol(*grid), 0);
    EXPECT_EQ(grid->HintQuery({title.x(), title.y()}, info), 0);
    EXPECT_EQ(info.HintStr, "");
    EXPECT_EQ(grid->Hint(), "");
    EXPECT_EQ(grid->HintPauseState(), 2);
    AskToolTip(*grid, title);
    EXPECT_FALSE(grid->HintManager()->Showing());
}

TEST_F(DataGridHints, ToolTipsHideAfterTwiceTheHidePauseUnlessKept) {
    TotalHintGrid* grid = HintGrid({hoShowToolTips});
    const QPoint longCell = test::CellPoint(*grid, NameCol(*grid), grid->TitleOffset());
    AskToolTip(*grid, longCell);
    TXHintManager* hints = grid->HintManager();
    ASSERT_TRUE(hints->Showing());
    EXPECT_EQ(hints->Shown().HideTimeout, 5000);
    clock.Advance(4999);
    EXPECT_TRUE(hints->Showing());
    clock.Advance(1);
    EXPECT_FALSE(hints->Showing());
    // Asked again over the same cell, the hint does not come back until the mouse leaves it.
    AskToolTip(*grid, longCell);
    EXPECT_FALSE(hints->Showing());

    hints->Cancel();
    grid->SetHintOptions({hoShowToolTips, hoKeepShowToolTips});
    AskToolTip(*grid, longCell);
    EXPECT_EQ(hints->Shown().HideTimeout, kHintNeverHides);
    clock.Advance(600000);
    EXPECT_TRUE(hints->Showing());
    // A click hides it.
    test::Click(*grid, longCell);
    EXPECT_FALSE(hints->Showing());
}

TEST_F(DataGridHints, HintFollowingAToolTipWaitsTheShortPause) {
    TotalHintGrid* grid = HintGrid({hoTitleHints, hoShowTitleHints, hoShowToolTips});
    AskToolTip(*grid, test::CellPoint(*grid, NameCol(*grid), grid->TitleOffset()));
    TXHintManager* hints = grid->HintManager();
    ASSERT_TRUE(hints->Showing());
    EXPECT_EQ(grid->HintShowPause(123), 50);  // after a tool tip: the short pause
    // Moving onto a title hides the tool tip; the title's hint comes after the short pause.
    test::MoveTo(*grid, test::CellPoint(*grid, NameCol(*grid), 0));
    EXPECT_FALSE(hints->Showing());
    EXPECT_TRUE(hints->Pausing());
    clock.Advance(49);
    EXPECT_FALSE(hints->Showing());
    clock.Advance(1);
    EXPECT_EQ(hints->ShownText(), "NAME");
    // After a hint the normal pause applies; in state 0 the pause asked about stays.
    EXPECT_EQ(grid->HintShowPause(123), 500);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid->Widget(), &leave);
    EXPECT_FALSE(hints->Showing());
    EXPECT_EQ(grid->HintShowPause(123), 123);
}

}  // namespace
}  // namespace tv
