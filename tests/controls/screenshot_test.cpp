// Pictures of the grids, saved by `make screenshots` to be looked at by eye.

#include <gtest/gtest.h>

#include <string>

#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

// The base grid with a title per column, a number per row and a text per cell, drawn over the
// base grid's own fills.
class TLabelledGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
        TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
        std::string text;
        if (ARow == 0 && ACol > 0)
            text = "Kolumn " + std::to_string(ACol);
        else if (ACol == 0 && ARow > 0)
            text = std::to_string(ARow);
        else if (ACol > 0)
            text = std::string(1, static_cast<char>('A' + ACol - 1)) + std::to_string(ARow);
        TCanvas* c = Canvas();
        c->Font()->SetColor(AState.Contains(gdSelected) ? clHighlightText : clWindowText);
        c->Brush()->SetStyle(bsClear);
        c->TextRect(ARect, ARect.Left + 2, ARect.Top + (ARect.Height() - c->TextHeight(text)) / 2, text);
    }
};

TEST(Screenshot, BaseGrid) {
    TForm form;
    form.SetCaption("Grundrutnät");
    form.SetBounds(40, 40, 460, 300);
    auto* grid = new TLabelledGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetColCount(10);
    grid->SetRowCount(50);
    grid->SetDefaultRowHeight(20);
    grid->SetColWidths(0, 36);
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing, goEditing});
    grid->FocusCell(2, 3);
    test::SaveScreenshot(form, "base_grid");
    EXPECT_EQ(grid->Col(), 2);
}

}  // namespace
}  // namespace tv
