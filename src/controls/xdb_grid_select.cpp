// Multi-selection by keys: the column range (begin, end, column mode) and the anchor of a row
// range, the range step Shift gives to record moves, the bulk range keys (Shift with Page Up and
// Page Down, Ctrl+Shift with End, Home, Up and Down) and the column-range step of Shift with the
// column keys. The bulk operations and the bracket's report are xdb_grid_select_ops.cpp's, the
// mouse's selection xdb_grid_select_mouse.cpp's.

#include <algorithm>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/gui/key_codes.h"

namespace tv {

// ---------------------------------------------------------------- the column range

void TXCustomDBGrid::RecomputeSelectionRange() {
    if (fSelectionEndCol >= 0) {
        fSelectionMinCol = std::min(fSelectionBegCol, fSelectionEndCol);
        fSelectionMaxCol = std::max(fSelectionBegCol, fSelectionEndCol);
    } else {
        fSelectionMinCol = fSelectionBegCol;
        fSelectionMaxCol = fSelectionEndCol;
    }
}

void TXCustomDBGrid::ColumnRangeChanged() {
    SelectedColsChanged(fSelectedCols->NeedsRebuild());
}

void TXCustomDBGrid::SetSelectionBegin(int DataCol) {
    if (DataCol < fSelectionOffset) DataCol = -1;
    if (DataCol == fSelectionBegCol) return;
    const bool columnMode = fSelectionColumn;
    fSelectionBegCol = DataCol;
    if (DataCol < 0) fSelectionColumn = false;
    RecomputeSelectionRange();
    const bool range = fSelectionBegCol >= 0 && fSelectionEndCol >= 0;
    if ((range && ColsSelection()) || (columnMode && !fSelectionColumn && fSelectionEndCol >= 0))
        ColumnRangeChanged();
}

void TXCustomDBGrid::SetSelectionColumnMode(bool Value) {
    if (Value == fSelectionColumn) return;
    fSelectionColumn = Value;
    if (fSelectionBegCol < 0) fSelectionBegCol = std::max(SelectedIndex(), fSelectionOffset);
    RecomputeSelectionRange();
    if (!ColsSelection() && fSelectionEndCol >= 0) ColumnRangeChanged();
}

void TXCustomDBGrid::SetSelectionEnd(int DataCol) {
    if (fSelectionBegCol < 0)
        DataCol = -1;
    else if (DataCol >= 0 && DataCol < fSelectionOffset)
        DataCol = fSelectionOffset;
    if (DataCol == fSelectionEndCol) return;
    fSelectionEndCol = DataCol;
    RecomputeSelectionRange();
    if (ColsSelection()) ColumnRangeChanged();
}

// ---------------------------------------------------------------- the anchor

void TXCustomDBGrid::EnsureSelectionAnchor() {
    if (fSelectionAnchor.IsEmpty() && fDataLink->Active())
        SetSelectionAnchor(fDataLink->DataSet()->GetBookmark());
}

int TXCustomDBGrid::CompareWithAnchor() const {
    if (fSelectionAnchor.IsEmpty() || !fDataLink->Active()) return 0;
    TDataSet* ds = fDataLink->DataSet();
    const TBookmark current = ds->GetBookmark();
    if (current.IsEmpty()) return 0;
    const int c = ds->CompareBookmarks(current, fSelectionAnchor);
    return (c > 0) - (c < 0);
}

void TXCustomDBGrid::DropSelection() {
    if (!fOptions.Contains(dgAutoUnselectOff)) ClearSelection();
    fSelecting = false;
}

// ---------------------------------------------------------------- the range step

void TXCustomDBGrid::RangeStep(int Distance) {
    const int towards = Distance + CompareWithAnchor();
    if (towards == 0) fBookmarks->SetCurrentRowSelected(false);
    fDataLink->DataSet()->MoveBy(Distance);
    if (towards != 0) fBookmarks->SetCurrentRowSelected(true);
}

void TXCustomDBGrid::MoveRecord(bool Select, int Distance) {
    TDataSet* ds = fDataLink->DataSet();
    InSelect([&] {
        const bool rows = RowsSelection();
        if (!fOptions.Contains(dgMultiSelect) || !fDataLink->Active() ||
            (!rows && (!fMultiSelectOptions.Contains(msCells) || fOptions.Contains(dgRowSelect)))) {
            ds->MoveBy(Distance);
            return;
        }
        if (!Select || !fLastShiftState.Contains(ssShift)) {
            if (MultiSelect() != msCols) DropSelection();
            ds->MoveBy(Distance);
            return;
        }
        if (fSelecting) {
            RangeStep(Distance);
            return;
        }
        if (!rows) {
            // Shift with a row key in column mode goes on in cell mode.
            SetSelectionColumnMode(false);
            if (ColsSelection()) InvalidateDataRows();
        } else {
            SetSelectionBegin(SelectedIndex());
        }
        if (MultiSelect() == msCells) SetSelectionEnd(fSelectionBegCol);
        EnsureSelectionAnchor();
        fBookmarks->SetCurrentRowSelected(true);
        fSelecting = true;
        ds->MoveBy(Distance);
        fBookmarks->SetCurrentRowSelected(true);
    });
}

// ---------------------------------------------------------------- bulk range keys

void TXCustomDBGrid::BulkRangeKey(uint16_t Key) {
    TDataSet* ds = fDataLink->DataSet();
    const int active = fDataLink->ActiveRecord();
    const bool back = Key == VK_PRIOR || Key == VK_HOME || Key == VK_UP;
    int count = 0;
    switch (Key) {
        case VK_PRIOR:
        case VK_NEXT:
            count = VisibleDataRowCount();
            break;
        case VK_UP:
            count = active;
            break;
        case VK_DOWN:
            count = fDataLink->RecordCount() - active - 1;
            break;
        default:  // End and Home: to the end of the data
            count = -1;
            break;
    }
    InSelect([&] {
        ++fScrollLock;
        try {
            for (int i = 0; count < 0 || i < count; ++i) {
                if (back ? ds->Bof() : ds->Eof()) break;
                if (back)
                    PriorRecord(true);
                else
                    NextRecord(true, false);
            }
        } catch (...) {
            --fScrollLock;
            throw;
        }
        --fScrollLock;
    });
}

// ---------------------------------------------------------------- the column-range step

int TXCustomDBGrid::ColumnRangeStep(int RawCol, int Step, TShiftState Shift) {
    if (!fOptions.Contains(dgMultiSelect) || !fDataLink->Active()) return SelectColumn(RawCol, Step);
    const bool browse = fDataLink->DataSet()->State() == TDataSetState::dsBrowse;
    if (!browse) return SelectColumn(RawCol, Step);
    int result = RawCol;
    InSelect([&] {
        if (Shift.Contains(ssShift) && (!RowsSelected() || fMultiSelectOptions.Contains(msCells))) {
            const bool colsAllowed = fMultiSelectOptions.Contains(msCols);
            if (!ColsSelection() && (colsAllowed || fMultiSelectOptions.Contains(msCells))) {
                SetSelectionColumnMode(colsAllowed && !RowsSelected());
                SetSelectionBegin(SelectedIndex());
            }
            result = SelectColumn(RawCol, Step);
            SetSelectionEnd(SelectedIndex());
            if (MultiSelect() == msCells && !RowsSelected()) fBookmarks->SetCurrentRowSelected(true);
            return;
        }
        if (!Shift.Contains(ssShift) && MultiSelect() != msRows) DropSelection();
        result = SelectColumn(RawCol, Step);
    });
    return result;
}

namespace {
// Whether a key with these modifiers stretches a row range over many records.
bool IsBulkRangeKey(uint16_t Key, TShiftState Shift) {
    if (!Shift.Contains(ssShift)) return false;
    if (Key == VK_PRIOR || Key == VK_NEXT) return true;
    return Shift.Contains(ssCtrl) && (Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN);
}
}  // namespace

bool TXCustomDBGrid::SelectionKeyDown(uint16_t Key, TShiftState Shift) {
    const bool multi = fOptions.Contains(dgMultiSelect);
    const bool extended = multi && fOptions.Contains(dgExtendedSelect);
    if (extended && RowsSelection() && IsBulkRangeKey(Key, Shift)) {
        BulkRangeKey(Key);
        return true;
    }
    if (!Shift.Contains(ssCtrl)) {
        // Tab leaves a column selection behind.
        if (Key == VK_TAB && multi && !Shift.Contains(ssAlt) && MultiSelect() == msCols) DropSelection();
        return false;
    }
    const bool rowKey = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
                        Key == VK_DOWN;
    if (multi && ((RowsSelection() && rowKey) || (ColsSelection() && (Key == VK_LEFT || Key == VK_RIGHT))))
        DropSelection();
    const bool onlyCtrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt);
    if (!extended || !onlyCtrl) return false;
    if (Key == VK_INSERT || Key == 'C') {
        CopyToClipboard();
        return true;
    }
    if (Key == 'A') {
        SelectAll();
        return true;
    }
    return false;
}

}  // namespace tv
