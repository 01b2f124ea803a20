// The line that closes the data area above the totals: the first total row after the blank row
// gets a line over it, so the totals stand apart from the data even where the blank row is empty.

#include "controls/xdb_grid.h"
#include "platform/gui/canvas.h"

namespace tv {

void TXCustomDBGrid::DrawLineOverTotals(const TRect& ARect) {
    if (!fOptions.Contains(dgRowLines) || fTotalOffset < 2) return;
    const int blankRow = RowCount() - fTotalOffset;
    if (fPaintRow != blankRow + 1) return;
    // A blank row without height puts the line over the last data row's own line: drawn there only
    // by a double-buffered grid, or in the designer.
    if (RowHeights(blankRow) < 0 && !fDoubleBuffered && !ComponentState().Contains(csDesigning)) return;
    const bool bothLines = fOptions.Contains(dgColLines);  // row lines are on
    TCanvas* canvas = Canvas();
    const TColor brush = canvas->Brush()->Color();
    const TBrushStyle style = canvas->Brush()->Style();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(bothLines ? FixedLineColor() : clBlack);
    canvas->FillRect(Rect(ARect.Left, ARect.Top - RowLineWidth(), ARect.Right + ColLineWidth(), ARect.Top));
    canvas->Brush()->SetColor(brush);
    canvas->Brush()->SetStyle(style);
}

}  // namespace tv
