// Column groups on the grid: opening and closing a group (the current column stays on a column
// that shows), where a title stands over several title rows and several columns (a group's title
// over its children, a leaf's down through the last title row), the header rows merged with their
// neighbours, and the mouse over titles naming the column whose title it is over.
//
// A group's own raw column takes no room (its width is minus the line width), so every title
// rectangle is made from the cells of the group's columns that show.

#include <algorithm>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"

namespace tv {
namespace {

void Unite(TRect& into, const TRect& r) {
    if (r.IsEmpty()) return;
    if (into.IsEmpty()) {
        into = r;
        return;
    }
    into.Left = std::min(into.Left, r.Left);
    into.Top = std::min(into.Top, r.Top);
    into.Right = std::max(into.Right, r.Right);
    into.Bottom = std::max(into.Bottom, r.Bottom);
}

// The width a column's title spans as laid out (the grid's column widths follow the columns' at
// each layout), with a line after each shown column; those scrolled out on the left apart.
struct TSpan {
    int Width = 0;
    int ScrolledOut = 0;
};
TSpan LaidOutSpan(const TXCustomDBGrid& grid, const TXColumn* column) {
    TSpan span;
    const int line = grid.ColLineWidth();
    for (int i = column->Index(), last = column->ExpandIndex(); i <= last; ++i) {
        TXColumn* member = grid.Columns()->Items(i);
        if (!member->Showing()) continue;
        const int raw = grid.ColumnToRaw(member);
        span.Width += grid.ColWidths(raw) + line;
        if (raw >= grid.TCustomGrid::FixedCols() && raw < grid.LeftCol()) span.ScrolledOut += grid.ColWidths(raw) + line;
    }
    return span;
}

}  // namespace

// ---------------------------------------------------------------- opening and closing a group

void TXCustomDBGrid::ExpandColumn(TXColumn* Column, bool Value) {
    TXColumn* selected = SelectedColumn();
    const bool selectedShowing = selected && selected->Showing();
    const bool editing = EditorMode();
    const int raw = Col();
    HideEditor();
    // Stretching waits for the new layout unless the scroll settings stretch by themselves.
    const bool stretchPaused = fStretchMode && !fScrollProp->AutoStretch();
    if (stretchPaused) fStretchMode = false;
    auto alive = Watch();
    try {
        Column->fExpanded = Value;
        Column->Synchronize();
        LayoutChanged();
        if (alive.expired()) return;
        TXColumn* now = RawToColumn(raw);
        if (selectedShowing && !(now && now->Showing())) {
            // The current column went out of sight: the next one that shows, leftwards after
            // closing (the group's own title column), rightwards after opening.
            const int step = Value ? 1 : -1;
            for (int c = raw + step; c >= TCustomGrid::FixedCols() && c < ColCount(); c += step)
                if (TXColumn* next = RawToColumn(c); next && next->Showing()) {
                    SelectColumn(c, 0);
                    break;
                }
        } else if (raw < ColCount() && Col() != raw) {
            SetCol(raw);
        }
    } catch (...) {
        if (!alive.expired() && stretchPaused) fStretchMode = true;
        throw;
    }
    if (alive.expired()) return;
    if (stretchPaused) fStretchMode = true;
    if (editing) ShowEditor();
    StretchGrid();
    SynchronizeRing();
    UpdateScrollBar();
    if (Column->Expandable()) ColExpand(Column);
}

// ---------------------------------------------------------------- title rectangles

TRect TXCustomDBGrid::GroupCellsRect(const TXColumn* Column, int Row) const {
    TRect r{};
    for (int i = Column->Index(), last = Column->ExpandIndex(); i <= last; ++i) {
        TXColumn* member = fColumns->Items(i);
        if (member->Showing()) Unite(r, CellRect(ColumnToRaw(member), Row));
    }
    return r;
}

TRect TXCustomDBGrid::ColumnTitleRect(TXColumn* Col, int Depth) const {
    TXColumn* at = ColumnAtDepth(Col, Depth);
    if (!at || Depth < 0 || Depth >= fTitleOffset) return {};
    TRect r = GroupCellsRect(at, Depth);
    if (r.IsEmpty()) return r;
    // A leaf or a closed group above the last title row fills the title rows below it.
    if (at == Col && !Col->Expanded() && Col->Depth() < fTitleOffset - 1)
        r.Bottom = std::max(r.Bottom, TitleHeight() - RowLineWidth());
    return r;
}

TRect TXCustomDBGrid::ColumnTitleCellRect(TXColumn* Col, int Row) const {
    TRect r = ColumnTitleRect(Col, Row);
    if (r.IsEmpty()) return r;
    TXColumn* at = ColumnAtDepth(Col, Row);
    const TSpan span = LaidOutSpan(*this, at);
    const int full = span.Width - ColLineWidth();
    if (r.Width() < full) {
        // The caption stays where it would stand with the whole group on screen: the part
        // scrolled out lies before the leading edge (right of it on a mirrored grid).
        if (UseRightToLeftAlignment()) {
            r.Right += span.ScrolledOut;
            r.Left = r.Right - full;
        } else {
            r.Left -= span.ScrolledOut;
            r.Right = r.Left + full;
        }
    }
    r.Bottom = std::max(r.Bottom, r.Top + RowHeights(Row));
    return r;
}

TXCustomDBGrid::THeaderRowRects TXCustomDBGrid::HeaderRowRect(TXColumn* Column, int Index,
                                                              const TRect& TitleCell) const {
    THeaderRowRects rects;
    const int top = TitleCell.Top + Index * fHeaderRowHeight;
    const int bottom = top + fHeaderRowHeight;
    const int row = std::min(Column->Depth(), fTitleOffset - 1);
    TXColumnTitle* title = Column->Title();
    rects.Full = Rect(TitleCell.Left, top, TitleCell.Right, bottom);
    TRect shown = GroupCellsRect(Column, row);
    // The neighbours before it in column order stand left of it, right of it on a mirrored grid.
    int before = 0, after = 0;
    for (TXColumn* n = title->HeaderLeft(Index); n; n = n->Title()->HeaderLeft(Index)) {
        before += LaidOutSpan(*this, n).Width;
        Unite(shown, GroupCellsRect(n, row));
    }
    for (TXColumn* n = title->HeaderRight(Index); n; n = n->Title()->HeaderRight(Index)) {
        after += LaidOutSpan(*this, n).Width;
        Unite(shown, GroupCellsRect(n, row));
    }
    const bool mirrored = UseRightToLeftAlignment();
    rects.Full.Left -= mirrored ? after : before;
    rects.Full.Right += mirrored ? before : after;
    if (!shown.IsEmpty()) rects.Visible = Rect(shown.Left, top, shown.Right, bottom);
    return rects;
}

// ---------------------------------------------------------------- moving a group

void TXCustomDBGrid::GroupMoveEnds(int& Origin, int& Destination) const {
    // The drag names shown columns; the collection moves the group by its head: to the head of
    // the column met going left, behind the whole of it going right.
    TXColumn* target = ColumnAtDepth(RawToColumn(Destination), fDragCol->Depth());
    if (!target) return;
    const bool left = Destination < Origin;
    Origin = ColumnToRaw(fDragCol);
    Destination = left ? ColumnToRaw(target) : ColumnToRaw(fColumns->Items(target->ExpandIndex()));
}

// ---------------------------------------------------------------- the mouse over titles

TGridCoord TXCustomDBGrid::MouseCoord(int X, int Y) const {
    TGridCoord cell = TCustomGrid::MouseCoord(X, Y);
    if (cell.Y >= 0 && cell.Y < fTitleOffset)
        if (TXColumn* column = RawToColumn(cell.X)) cell.X = ColumnToRaw(ColumnAtDepth(column, cell.Y));
    return cell;
}

}  // namespace tv
