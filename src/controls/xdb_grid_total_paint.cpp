// The data grid's total cells: their font and colour from the column's total for the row, the
// selected-total colour, the text with its image, merged cells (no column line between them
// without dgTotalColLines), their raised edges, and the boxes drawn around them; on a themed grid
// the cell is its theme's element and its box a sunken frame.

#include <algorithm>

#include "controls/xdb_cell_text.h"
#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_boxes.h"
#include "platform/gui/image_list.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

struct TTotalArea {
    TXDBGridOptionEx Row;
    TXDBGridOptionEx Box;
    TXDBGridOptionEx Selected;  // dgCalcSelectedRows stands for "no selected option of its own"
};

void FillSolid(TCanvas* canvas, const TRect& r, TColor colour) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(colour);
    canvas->FillRect(r);
}

bool IsLoweredBox(TCheckBoxStyle style) {
    return style == cbLoweredDark || style == cbLoweredGray || style == cbLoweredMild;
}

}  // namespace

bool TXCustomDBGrid::MergedTotalCell(const TXColumn* Column) const {
    (void)Column;
    return !fOptionsEx.Contains(dgTotalColLines) && fOptions.Contains(dgColLines) && !IsGridThemed();
}

void TXCustomDBGrid::DrawTotalCell(TXColumn* Column, int TotalRow, const TRect& ARect, bool gradient) {
    TCanvas* canvas = Canvas();
    fPendingTotalBox = TRect();
    const int t = TotalRow;
    // The area the row belongs to: header, value rows, field rows or footer.
    TTotalArea area{dgTotalFields, dgTotalFieldsBox, dgCalcSelectedRows};
    if (t < fTotalHeader)
        area = {dgTotalHeader, dgTotalHeaderBox, dgTotalHeaderSelected};
    else if (t < fTotalHeader + fTotalValues)
        area = {dgTotalValues, dgTotalValuesBox, dgTotalValuesSelected};
    else if (t >= fTotalOffset - 1 - fTotalFooter)
        area = {dgTotalFooter, dgTotalFooterBox, dgTotalFooterSelected};
    TXColumnTotal* total = Column->TotalAtRow(t);

    canvas->Font()->Assign(total ? total->Font() : fTotals->Font());
    TColor brush = total ? total->Color() : fTotals->Color();
    std::string text = GetTotalText(Column, t, tkDisplay);
    const bool selectedArea =
        fOptionsEx.Contains(dgCalcSelectedRows) || fOptionsEx.Contains(area.Selected);
    if (total && fTotals->SelectedColor() != clNone && fTotals->Selected() && selectedArea &&
        (total->TotalResult() == trCaption || total->TotalResult() == trCalcValue)) {
        const TMultiSelect mode = MultiSelect();
        const bool columnSelected = (mode != msCols && mode != msCells) || CellMultiSelected(Column->Index(), false) ||
                                    fSelectedCols->Selected(Column->Index());
        if (columnSelected) {
            const TColor selected = fTotals->SelectedColor();
            brush = selected == clDefault ? fTotals->DefaultSelectedColor() : selected;
            // Buttons and tabs cover the brush: the selected colour shows in the text instead.
            if (FixedCellsThemed() && fFixedTheme != ftDefault) canvas->Font()->SetColor(brush);
        } else {
            text.clear();
        }
    }

    // Merged cells reach over the column lines to their neighbours.
    const bool merged = MergedTotalCell(Column);
    const bool first = !fVisibleColumns.empty() && fVisibleColumns.front() == Column;
    const bool last = IsLastShowingColumn(Column);
    TRect cell = ARect;
    if (merged) {
        if (!first && ColumnToRaw(Column) != LeftCol()) --cell.Left;
        if (!last) ++cell.Right;
    }
    canvas->Brush()->SetColor(brush);
    fTotalCellColor = brush;
    FillFixedBackground(cell, gradient);

    const bool boxed = total && (total->TotalBox() == tbTrue ||
                                 (total->TotalBox() == tbAuto && fOptionsEx.Contains(area.Box))) &&
                       (!fOptionsEx.Contains(dgTotalDataBoxOnly) || !text.empty());
    const TCheckBoxStyle boxStyle = EffectiveBoxStyle(fTotals->BoxStyle(), fFixedStyle);
    if (boxed && FixedCellsThemed()) {
        fPendingTotalBox = Rect(ARect.Left + 2, ARect.Top + 2, ARect.Right - 2, ARect.Bottom - 2);
    } else if (boxed) {
        const bool deep = IsLoweredBox(boxStyle) && fGridStyle->TotalRowSpace() >= 6;
        const int inset = deep ? 2 : 1;
        TRect box = Rect(ARect.Left + inset, ARect.Top + inset, ARect.Right - inset, ARect.Bottom - inset);
        if (deep && merged && !first) {
            --box.Left;
            --box.Right;
        }
        fPendingTotalBox = box;
    }

    // The text area.
    const int margin = fGridStyle->TotalColMargin();
    TRect area2 = Rect(ARect.Left + margin, ARect.Top, ARect.Right - margin, ARect.Bottom);
    if (merged) {
        if (!first) ++area2.Left;
        if (!last) --area2.Right;
    } else if (boxed) {
        ++area2.Left;
        --area2.Right;
    }
    if ((merged || boxed) && first) ++area2.Left;
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    const int m = bothLines ? 1 : 2;
    TImageList* images = fTotals->Images();
    if (total && images) {
        auto* value = dynamic_cast<TXColumnTotalValue*>(total);
        const int index = total->ImageIndex();
        if (value && index >= 0 && index < images->Count()) {
            const int y = ARect.Top + (ARect.Height() - images->Height()) / 2;
            DrawGlyph(images, canvas, ARect, gradient, false, index, y, area2.Left + m);
            area2.Left += images->Width() + 2;
        }
    }
    if (!area2.IsEmpty() && !text.empty()) {
        canvas->Brush()->SetStyle(bsClear);
        WriteCellText(canvas, area2, m, total ? total->VAlignment() : tvCenter, total ? total->WordWrap() : true,
                      total ? total->Ellipsis() : true, false, total ? total->Alignment() : Column->Alignment(),
                      text, m);
        canvas->Brush()->SetStyle(bsSolid);
    }
    canvas->Brush()->SetColor(brush);
}

void TXCustomDBGrid::FinishTotalCell(const TRect& ARect) {
    TXColumn* column = RawToColumn(fPaintCol);
    if (column && MergedTotalCell(column) && !IsLastShowingColumn(column)) {
        // Merged cells show no line between columns: the line the frame drew right of the cell
        // takes the cell's colour (its top and bottom pixels stay with the row's edges).
        FillSolid(Canvas(), Rect(ARect.Right, ARect.Top + 1, ARect.Right + ColLineWidth(), ARect.Bottom - 1),
                  fTotalCellColor);
    }
    if (fPendingTotalBox.IsEmpty()) return;
    // A themed cell's box is a plain sunken frame, whatever the box style.
    if (FixedCellsThemed())
        DrawEdge(Canvas(), fPendingTotalBox, BDR_SUNKENOUTER, BF_RECT);
    else
        DrawBox(Canvas(), fPendingTotalBox, EffectiveBoxStyle(fTotals->BoxStyle(), fFixedStyle));
    fPendingTotalBox = TRect();
}

bool TXCustomDBGrid::DrawMergedTotalEdges(const TRect& Frame, TColor Brush, bool gradient) {
    const int row = fPaintRow - fTitleOffset;
    const int blankRow = RowCount() - fTitleOffset - fTotalOffset;
    if (row <= blankRow || fPaintCol < fIndicatorOffset) return false;
    TXColumn* column = RawToColumn(fPaintCol);
    if (!column || !MergedTotalCell(column)) return false;
    TCanvas* canvas = Canvas();
    const bool first = !fVisibleColumns.empty() && fVisibleColumns.front() == column;
    const bool last = IsLastShowingColumn(column);
    const uint32_t soft =
        fFixedStyle == fsFlat || fFixedStyle == fsGray || fFixedStyle == fsMild ? BF_SOFT : 0;
    // One raised line along the bottom and one along the top; the sides only at the area's ends.
    TRect r = Frame;
    DrawEdge(canvas, r, BDR_RAISEDINNER, BF_BOTTOM | (first || last ? BF_RIGHT : 0) | soft);
    r = Frame;
    DrawEdge(canvas, r, BDR_RAISEDINNER, BF_TOP | (first ? BF_LEFT : 0) | soft);
    if (!gradient && !first) {
        // The separators the neighbours' edges left inside the merged cell are painted over.
        FillSolid(canvas, Rect(Frame.Left, Frame.Top + 1, Frame.Left + 1, Frame.Bottom - 1), Brush);
        if (!last) FillSolid(canvas, Rect(Frame.Right - 1, Frame.Top + 1, Frame.Right, Frame.Bottom - 1), Brush);
    }
    canvas->Brush()->SetColor(Brush);
    return true;
}

}  // namespace tv
