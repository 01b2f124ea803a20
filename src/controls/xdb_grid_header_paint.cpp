// The title rows of the data grid: each title is drawn once, over every cell it spans, by the
// first of those cells the base grid paints (a group's title over its children, a leaf's from its
// own row down through the last title row). Above a caption stand its header rows, each merged with
// the neighbours that share its text and drawn once too; at the caption's right end an expand
// button where the caption is wide enough for the arrow.

#include <algorithm>

#include "controls/xdb_cell_text.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_glyphs.h"
#include "platform/gui/image_list.h"

namespace tv {
namespace {

TRect Shrunk(const TRect& r, int by) {
    return Rect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by);
}

// Indicator glyphs of the expand button: a drop-down style's, an open group's, a closed one's.
constexpr int kExpandDropDownGlyph = 9;
constexpr int kExpandOpenGlyph = 10;
constexpr int kExpandClosedGlyph = 11;

}  // namespace

void TXCustomDBGrid::DrawTitleArea(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TXColumn* leaf = RawToColumn(ACol);
    if (!leaf || !leaf->Showing()) return;
    TXColumn* column = ColumnAtDepth(leaf, ARow);
    // Below its own row a leaf's title is the one drawn from that row.
    if (column == leaf && ARow > leaf->Depth()) return;
    const TRect shown = ColumnTitleRect(leaf, ARow);
    if (shown.IsEmpty() || LeadingEdge(shown) != LeadingEdge(ARect)) return;

    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    const bool gradient = fGradient->IsActive();
    TRect cell = ColumnTitleCellRect(leaf, ARow);
    cell.Top = shown.Top;
    cell.Bottom = shown.Bottom;
    // Header rows are never lit; the caption shows the state of its own title, which for a group
    // is not the column of the cell that paints it.
    fPaintCol = -1;
    DrawHeaderRows(column, cell, gradient);
    fPaintCol = ColumnToRaw(column);

    TRect caption = cell;
    if (fOptions.Contains(dgTitleHeaders)) caption.Top += column->Title()->HeaderRowCount() * fHeaderRowHeight;
    if (caption.IsEmpty()) {
        fPaintCol = ACol;
        return;
    }
    const TRect area = bothLines ? Shrunk(caption, 1) : caption;
    TRect text = area;
    const int arrow = ScrollBarExtent();
    const bool button = ShowsExpandButton(column, area.Width());
    if (button) text.Right -= arrow;
    DrawTitleCell(column, MirrorIn(text, area), AState, gradient);
    if (button)
        DrawExpandButton(column, MirrorIn(Rect(area.Right - arrow, area.Top, area.Right, area.Bottom), area),
                         gradient);
    fPaintCol = ACol;
    DrawFixedFrame(caption, gradient);
    DrawTitleButtonFrame(ColumnToRaw(column), cell);
}

bool TXCustomDBGrid::ShowsExpandButton(const TXColumn* Column, int CaptionWidth) const {
    const TXColumnExpandStyle style = Column->ExpandStyle();
    const bool hasButton =
        (Column->Expandable() && style == cesAuto) || style == cesDropDown || style == cesDropDownMenu;
    return hasButton && CaptionWidth >= ScrollBarExtent();
}

void TXCustomDBGrid::DrawExpandButton(TXColumn* Column, const TRect& Button, bool gradient) {
    // A themed grid draws the style's arrow in the button's state.
    if (DrawThemedExpandButton(Column, Button)) return;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Column->Title()->Color());
    FillFixedBackground(Button, gradient);
    TImageList* glyphs = Indicators();
    if (!glyphs || glyphs->Count() <= kExpandClosedGlyph) return;
    const TXColumnExpandStyle style = Column->ExpandStyle();
    // The arrows point the other way on a mirrored grid: an open group's towards its first column.
    const bool pointsLeft = Column->Expanded() != UseRightToLeftAlignment();
    const int index = style == cesDropDown || style == cesDropDownMenu ? kExpandDropDownGlyph
                      : pointsLeft                                     ? kExpandOpenGlyph
                                                                       : kExpandClosedGlyph;
    const int x = Button.Left + (Button.Width() - glyphs->Width()) / 2;
    const int y = Button.Top + (Button.Height() - glyphs->Height()) / 2;
    DrawGlyph(glyphs, canvas, Button, gradient, false, index, y, x);
}

void TXCustomDBGrid::DrawHeaderRows(TXColumn* Column, const TRect& TitleCell, bool gradient) {
    if (!fOptions.Contains(dgTitleHeaders) || fHeaderRowHeight <= 0) return;
    TCanvas* canvas = Canvas();
    const bool rowLines = fOptions.Contains(dgRowLines);
    const bool bothLines = fOptions.Contains(dgColLines) && rowLines;
    const int m = bothLines ? 1 : 2;
    const int rowLine = RowLineWidth();
    const int row = std::min(Column->Depth(), fTitleOffset - 1);
    const TRect own = GroupCellsRect(Column, row);
    for (int i = 0, count = Column->Title()->HeaderRowCount(); i < count; ++i) {
        const THeaderRowRects rects = HeaderRowRect(Column, i, TitleCell);
        // A merged header is drawn by the first of its columns on screen.
        if (rects.Visible.IsEmpty() || own.IsEmpty() || LeadingEdge(rects.Visible) != LeadingEdge(own)) continue;
        TRect box = rects.Visible;
        box.Bottom -= rowLine;
        const TRect inner = bothLines ? Shrunk(box, 1) : box;
        TRect place = rects.Full;
        place.Top = inner.Top;
        place.Bottom = inner.Bottom;
        if (bothLines) place = Rect(place.Left + 1, place.Top, place.Right - 1, place.Bottom);
        canvas->Font()->Assign(fHeaderFont.get());
        canvas->Brush()->SetColor(fHeaderColor);
        FillFixedBackground(inner, gradient);
        const std::optional<TRect> clip = canvas->SavedClip();
        canvas->IntersectClipRect(inner);
        canvas->Brush()->SetStyle(bsClear);
        WriteCellText(canvas, place, m, tvCenter, true, true, false, taCenter, Column->Title()->HeaderText(i), m);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->RestoreClip(clip);
        DrawFixedFrame(box, gradient);
        if (rowLines && !IsGridThemed()) {
            // The row line under a header, one pixel row per line width; soft styles leave the
            // first to their edges.
            const bool softEdges = bothLines && (fFixedStyle == fsSoft || fFixedStyle == fsGreat ||
                                                 fFixedStyle == fsGray || fFixedStyle == fsFine || fFixedStyle == fsMild);
            canvas->Brush()->SetColor(clBlack);
            for (int k = softEdges ? 1 : 0; k < rowLine; ++k)
                canvas->FillRect(
                    ExtendedTrailing(Rect(box.Left, box.Bottom + k, box.Right, box.Bottom + k + 1), ColLineWidth()));
        }
    }
}

}  // namespace tv
