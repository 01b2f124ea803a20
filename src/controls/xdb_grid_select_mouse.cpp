// Multi-selection by the mouse: what a left press with Shift, Ctrl or Alt (or none) does to the
// selection, a title dragged into a column selection, and the selection that follows the mouse
// while it scrolls (the hover step).

#include <QApplication>
#include <cstdlib>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"

namespace tv {

void TXCustomDBGrid::ClickSelect(TShiftState Shift, TGridCoord Cell) {
    const bool dataRow = Cell.Y >= fTitleOffset && Cell.Y < RowCount() - fTotalOffset;
    const bool titleRow = Cell.Y >= 0 && Cell.Y < fTitleOffset;
    const bool extended = fOptions.Contains(dgExtendedSelect);
    const bool autoOff = fOptions.Contains(dgAutoUnselectOff);
    const bool shift = Shift.Contains(ssShift);
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool alt = Shift.Contains(ssAlt);
    const int column = RawToColumn(Cell.X) ? Cell.X - fIndicatorOffset : -1;
    fSelecting = false;
    if (dataRow && extended && alt && (shift || ctrl)) {
        shift ? SelectAll() : InvertAll();
        return;
    }
    if (dataRow && alt && (extended || autoOff)) {
        ClearSelection();
        return;
    }
    if (shift || (titleRow && !alt && !ctrl)) {
        // Extending: a title starts a column selection, a data cell a column or cell range when
        // nothing is selected yet, and the rows from the anchor to the clicked one are selected.
        const bool colsAllowed = fMultiSelectOptions.Contains(msCols);
        if (titleRow && !fOptions.Contains(dgRowSelect) && column >= fSelectionOffset && colsAllowed &&
            !(shift && MultiSelect() == msCols)) {
            ClearSelection();
            SetSelectionColumnMode(true);
            SetSelectionBegin(column);
        } else if (dataRow && !RowsSelected() && fSelectionBegCol < 0 &&
                   (!fMultiSelectOptions.Contains(msRows) || colsAllowed)) {
            SetSelectionColumnMode(colsAllowed);
            SetSelectionBegin(column);
        }
        if (RowsSelection() && dataRow) {
            fBookmarks->Clear();
            SelectRows();
            fSelecting = true;
        }
        if (ColsSelection()) SetSelectionEnd(column);
        return;
    }
    if (ctrl) {
        if (MultiSelect() == msCells && fMultiSelectOptions.Contains(msRows)) ClearSelection();
        if (MultiSelect() == msCols) {
            fSelectedCols->SetCurrentColSelected(!fSelectedCols->CurrentColSelected());
        } else if (MultiSelect() == msRows && dataRow) {
            SetSelectionAnchor(fDataLink->DataSet()->GetBookmark());
            ToggleRow();
        }
        return;
    }
    if (autoOff && fMultiSelectOptions == TMultiSelectOptions{msRows}) return;
    // A plain click starts again from the clicked cell.
    ClearSelection();
    SetSelectionColumnMode(false);
    SetSelectionBegin(column);
    const bool rows = RowsSelection() && dataRow;
    if (fOptionsEx.Contains(dgClickSelectOff)) {
        SetSelectionEnd(-1);
        if (rows) SetSelectionAnchor(fDataLink->DataSet()->GetBookmark());
    } else {
        SetSelectionEnd(fSelectionBegCol);
        if (rows) {
            SetSelectionAnchor(fDataLink->DataSet()->GetBookmark());
            fBookmarks->SetCurrentRowSelected(true);
        }
    }
}

bool TXCustomDBGrid::TitleDragSelects(int X, int Y) {
    const int raw = fTitleTrack.Tracked;
    TXColumn* column = RawToColumn(raw);
    if (!column || !fOptions.Contains(dgMultiSelect) || fOptions.Contains(dgRowSelect) ||
        !fMultiSelectOptions.Contains(msCols) || raw - fIndicatorOffset < fSelectionOffset)
        return false;
    const int threshold = QApplication::startDragDistance();
    const bool dragged = std::abs(X - fTitleTrack.PressXY.X) > threshold ||
                         std::abs(Y - fTitleTrack.PressXY.Y) > threshold || Y >= TitleHeight();
    if (!dragged) return false;
    // The press is replayed as a Shift press on the title: a column selection that the mouse,
    // scrolling from there, stretches.
    const TPoint press = fTitleTrack.PressXY;
    InvalidateTitle(raw);
    SetTitleHot(-1, false, false);
    fTitleTrack = {};
    InSelect([&] {
        ClearSelection();
        MouseDown(mbLeft, TShiftState{ssShift, ssLeft}, press.X, press.Y);
    });
    return true;
}

void TXCustomDBGrid::HoverSelectColumn() {
    if (!fOptions.Contains(dgMultiSelect) || !ColsSelection()) return;
    SetSelectionEnd(SelectedIndex());
    if (MultiSelect() == msCells && !RowsSelected()) fBookmarks->SetCurrentRowSelected(true);
}

void TXCustomDBGrid::HoverSelectRows(int Distance) {
    TDataSet* ds = fDataLink->DataSet();
    EnsureSelectionAnchor();
    if (!fSelecting && CompareWithAnchor() == 0 &&
        (fOptions.Contains(dgAutoUnselectOff) || fOptionsEx.Contains(dgClickSelectOff)))
        fBookmarks->SetCurrentRowSelected(true);
    fSelecting = true;
    const int step = Distance < 0 ? -1 : 1;
    for (int i = 0; i != Distance; i += step) {
        if (step < 0 ? ds->Bof() : ds->Eof()) break;
        RangeStep(step);
    }
}

}  // namespace tv
