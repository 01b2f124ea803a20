// The data grid's mouse on data cells: a press moves the dataset to the row and selects the
// column, opens the editor on the cell that was current already, follows a check-box cell until
// the release, or starts mouse scrolling (xdb_grid_mouse_scroll.cpp); the release reports the cell
// click, which ticks check boxes as their column says. Title buttons and the other fixed cells are
// xdb_grid_titles.cpp's; sizing and moving are the base grid's. A press keeps the editor from
// dropping its list down by itself, and the release lets the cell it ended on count as dropped
// already, so that a click never opens a list of a loAutoDropDown column.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "controls/xdb_inplace_edit.h"
#include "platform/data/data_set.h"

namespace tv {

namespace {

TXDBGridInplaceEdit* DBEditorOf(const TCustomGrid& grid) {
    return dynamic_cast<TXDBGridInplaceEdit*>(grid.InplaceEditor());
}

// Ends the editor's click bookkeeping when the release's handling ends, however it ends.
class TEditorClickEnd {
public:
    TEditorClickEnd(const TCustomGrid& grid, std::weak_ptr<char> alive) : fGrid(grid), fAlive(std::move(alive)) {}
    TEditorClickEnd(const TEditorClickEnd&) = delete;
    TEditorClickEnd& operator=(const TEditorClickEnd&) = delete;
    ~TEditorClickEnd() {
        if (fAlive.expired()) return;
        if (TXDBGridInplaceEdit* editor = DBEditorOf(fGrid)) editor->MouseReleased();
    }

private:
    const TCustomGrid& fGrid;
    std::weak_ptr<char> fAlive;
};

}  // namespace

void TXCustomDBGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                     const TGridDrawInfo& DrawInfo) {
    TCustomGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, DrawInfo);
    fSizingCol = nullptr;
    if (State == gsColSizing) {
        if (!fResizeOptions.Contains(roColumnResize)) {
            State = gsNormal;
            return;
        }
        // The border's own column; the indicator's border stays the base grid's. A border runs
        // from the column's own title row down, but not through the header rows above its
        // caption, which neighbours may share.
        TXColumn* column = RawToColumn(Index);
        if (!column) return;
        if (MouseCoord(X, Y).Y >= column->Depth() && HeaderRowAt(column, Y) < 0)
            fSizingCol = column;
        else
            State = gsNormal;
    } else if (State == gsRowSizing && Index >= RowCount() - fTotalOffset) {
        State = gsNormal;
    }
}

TXColumn* TXCustomDBGrid::SizingColumnAt(int X, int Y) {
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs, CalcDrawInfo());
    TXColumn* column = state == gsColSizing ? fSizingCol : nullptr;
    fSizingCol = nullptr;
    return column;
}

void TXCustomDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    fLastShiftState = Shift;
    if (!AcquireFocus()) return;
    fHintPause = 0;
    if (TXDBGridInplaceEdit* editor = DBEditorOf(*this)) editor->SuppressAutoDropDown();
    // A double click on a column border gives the column its optimal width, anywhere else it is
    // the grid's double click; a middle click on a border gives the column its default width.
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        TXColumn* column = fResizeOptions.Contains(roOptimalWidth) ? SizingColumnAt(X, Y) : nullptr;
        if (column)
            column->SetWidthBase(column->OptimalWidth());
        else
            DblClick();
        return;
    }
    if (Button == mbMiddle) {
        if (TXColumn* column = SizingColumnAt(X, Y); column && fResizeOptions.Contains(roDefaultWidth)) {
            column->SetWidthBase(column->DefaultWidth());
            return;
        }
    }
    fDataClick = false;
    fTrackCell = {-1, -1};
    // Title buttons and the fixed cells' clicks (xdb_grid_titles.cpp).
    if (TitleMouseDown(Button, Shift, X, Y)) return;
    const TGridCoord cell = MouseCoord(X, Y);
    const bool dataRow = cell.Y >= fTitleOffset && cell.Y < RowCount() - fTotalOffset;
    const bool left = Button == mbLeft;
    const bool multi = fOptions.Contains(dgMultiSelect);
    const bool titleRow = cell.X >= 0 && cell.Y >= 0 && cell.Y < fTitleOffset;
    // A title not taken as a button selects columns with multi-selection: a Shift press, or any
    // press when columns cannot be sized or moved.
    const bool titleSelect = titleRow && left && multi && fDataLink->Active() &&
                             (Shift.Contains(ssShift) || !fOptions.Contains(dgColumnResize)) &&
                             !ComponentState().Contains(csDesigning);
    if (titleRow && !titleSelect && fOptions.Contains(dgRightMoving) && fOptions.Contains(dgColumnResize)) {
        // Titles size and move with the right button, which the base grid takes for the left.
        if (Button != mbRight) return;
        fRightMoving = true;
        TCustomGrid::MouseDown(mbLeft, Shift - TShiftState{ssRight} + TShiftState{ssLeft}, X, Y);
        return;
    }
    if (!fDataLink->Active() || !(dataRow || titleSelect) || cell.X < 0) {
        TCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    auto alive = Watch();
    TXColumn* column = RawToColumn(cell.X);
    if (left && dataRow && column && column->IsCheckBox()) {
        fTrackCell = cell;
        SetCellPressed(true);
    }
    fSelectedCell = left && cell.X == Col() && cell.Y == Row();
    BeginSelect();
    try {
        fDataLink->UpdateRecord();
        if (!fOptions.Contains(dgAlwaysShowEditor)) HideEditor();
        // A click in the current row leaves the record where it is: moving by nothing would post a
        // record being edited or drop an untouched new one under the mouse.
        if (dataRow && cell.Y != Row()) fDataLink->DataSet()->MoveBy(cell.Y - Row());
        const bool rowScroll = fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll);
        if (!alive.expired() && !rowScroll && cell.X >= TCustomGrid::FixedCols()) SelectColumn(cell.X, 0);
        // The selection the press makes (xdb_grid_select_mouse.cpp).
        if (!alive.expired() && left && multi) ClickSelect(Shift, cell);
    } catch (...) {
        if (!alive.expired()) EndSelect();
        throw;
    }
    if (alive.expired()) return;
    EndSelect();
    if (alive.expired()) return;
    if (multi && (fOptions.Contains(dgExtendedSelect) || fOptions.Contains(dgAutoUnselectOff)) &&
        (Shift.Contains(ssShift) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)))
        fSelectedCell = false;
    fDataClick = dataRow;
    // A press on the current cell (or any with dgAlwaysShowEditor) opens the editor.
    if (left && dataRow &&
        ((fSelectedCell && column && column->CanShowEditor()) || fOptions.Contains(dgAlwaysShowEditor))) {
        ShowEditor();
        if (alive.expired() || EditorMode()) return;
    }
    if (dataRow && StartsRowDrag(Button, cell)) {
        SetDragCursor(fBookmarks->Count() > 1 ? crMultiDrag : crDrag);
        BeginDrag(false);
        return;
    }
    if ((dataRow || MultiSelect() == msCols) && StartsMouseScrolling(Button, Shift)) {
        BeginMouseScrolling(X, Y);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TXCustomDBGrid::StartsRowDrag(TMouseButton Button, TGridCoord Cell) const {
    return fDragRows && DragKind() == dkDrag && Button == mbLeft && Cell.X >= TCustomGrid::FixedCols() &&
           fTrackCell.X < 0 && !ComponentState().Contains(csDesigning);
}

bool TXCustomDBGrid::StartsMouseScrolling(TMouseButton Button, TShiftState Shift) const {
    if (!fOptionsExt.Contains(dgMouseScrolling) || Button != mbLeft || fTrackCell.X >= 0 ||
        ComponentState().Contains(csDesigning))
        return false;
    // Clicks that select by column, or with a modifier that changes the selection, keep the mouse.
    const bool multi = fOptions.Contains(dgMultiSelect);
    if (multi && Shift.Contains(ssCtrl) && MultiSelect() == msCols) return false;
    if (fOptions.Contains(dgAutoUnselectOff) && fMultiSelectOptions == TMultiSelectOptions{msRows}) return false;
    return !(multi && Shift.Contains(ssAlt) && fOptions.Contains(dgExtendedSelect));
}

void TXCustomDBGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TEditorClickEnd clickEnd(*this, Watch());
    fLastShiftState = Shift;
    const TGridCoord tracked = fTrackCell;
    const bool dataClick = fDataClick;
    EndCellTracking();
    fDataClick = false;
    // Sizing and moving columns report no click.
    const TGridState state = GridState();
    const bool mouseMode = state == gsColSizing || state == gsRowSizing || state == gsColMoving;
    const TTitleTrack title = fTitleTrack;
    if (Button == mbLeft) {
        SetHotCell({-1, -1});
        if (title.Tracking) InvalidateTitle(title.Tracked);
        fTitleTrack = {};
    }
    auto alive = Watch();
    if (fScrollTracking) {
        // The current cell follows the mouse to where it is released.
        const TPoint last = fScrollMousePos;
        EndMouseScrolling();
        HoverStep(X, Y, X != last.X, Y != last.Y);
        if (alive.expired()) return;
    }
    if (Button == mbRight && fRightMoving) {
        // The end of a size or move the right button made.
        fRightMoving = false;
        TCustomGrid::MouseUp(mbLeft, Shift, X, Y);
        if (alive.expired()) return;
    } else {
        TCustomGrid::MouseUp(Button, Shift, X, Y);
    }
    if (alive.expired()) return;
    if (Button == mbRight) {
        ContextMenuAt(X, Y);
        return;
    }
    if (Button != mbLeft || mouseMode) return;
    if (FixedCellMouseUp(Shift, X, Y, title, dataClick) || !dataClick) return;
    const TGridCoord cell = MouseCoord(X, Y);
    // A release over the open editor is the editor's, no cell click.
    if (EditorMode() && cell.X == Col() && cell.Y == Row()) return;
    if (tracked.X >= 0) {
        if (cell == tracked) CellClick(RawToColumn(tracked.X));
        return;
    }
    if (cell.X < 0 || cell.Y < fTitleOffset || cell.Y >= RowCount() - fTotalOffset) return;
    const bool rowScroll = fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll);
    TXColumn* column = rowScroll || cell.X < TCustomGrid::FixedCols() ? RawToColumn(cell.X) : SelectedColumn();
    if (column) CellClick(column);
}

void TXCustomDBGrid::CellClick(TXColumn* Column) {
    if (Column->IsCheckBox() && (!Column->Field() || fOptions.Contains(dgEditing)) && Column->ShowEdit()) {
        const TCheckBoxToggle toggle = Column->CheckBoxToggle();
        if (toggle == ctOnCellClick || (toggle == ctSelectClick && fSelectedCell)) Column->ToggleCheckBoxValue();
    }
    if (OnCellClick) OnCellClick(Column);
}

}  // namespace tv
