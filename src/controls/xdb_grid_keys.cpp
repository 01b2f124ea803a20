// The data grid's keys: moving through records and columns, Tab with append, Insert, Ctrl+Delete
// with its question, Esc and Enter, and row-scroll mode, where Left, Right, Home and End scroll
// the view instead of moving the current column.

#include <algorithm>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "controls/xdb_selection_lists.h"
#include "platform/data/data_set.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/scroll_bar.h"
#include "platform/rtl/dialog_service.h"

namespace tv {

namespace {

constexpr uint16_t VK_F2 = VK_F1 + 1;
constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;
constexpr char16_t kEsc = 27;
constexpr char16_t kSpace = 32;

// Runs `step` with the grid's change lock raised, so that the grid does not react to the
// dataset's change itself.
template <class F>
void UnderChangeLock(TXCustomDBGrid& grid, F step) {
    grid.BeginChange();
    try {
        step();
    } catch (...) {
        grid.EndChange();
        throw;
    }
    grid.EndChange();
}

// A dataset inserting a record that nobody has changed yet.
bool UntouchedInsert(TDataSet* ds, const TXGridDataLink& link) {
    return ds->State() == TDataSetState::dsInsert && !ds->Modified() && !link.IsModified();
}

}  // namespace

int TXCustomDBGrid::SelectColumn(int RawCol, int Step) {
    fDataLink->UpdateRecord();
    const int first = TCustomGrid::FixedCols();
    const int last = ColCount() - 1;
    RawCol = std::max(std::min(RawCol, last), first);
    if (Step != 0) {
        while (RawCol >= first && RawCol <= last && ColWidths(RawCol) <= 0) RawCol += Step;
        if (RawCol > last) return ColCount();
        if (RawCol < first) return first;
    }
    const int old = Col();
    if (RawCol == old) return RawCol;
    if (!fInColExit) {
        fInColExit = true;
        try {
            ColExit();
        } catch (...) {
            fInColExit = false;
            throw;
        }
        fInColExit = false;
        if (Col() != old) return Col();
    }
    if (!fOptions.Contains(dgAlwaysShowEditor)) HideEditor();
    SetCol(RawCol);
    ColEnter();
    return RawCol;
}

void TXCustomDBGrid::NextRecord(bool Select, bool Append) {
    TDataSet* ds = fDataLink->DataSet();
    if (UntouchedInsert(ds, *fDataLink)) {
        if (fDataLink->Eof()) return;
        UnderChangeLock(*this, [ds] { ds->Cancel(); });
    } else
        MoveRecord(Select, 1);
    if (Append && !fOptions.Contains(dgAllowInsertOff) && fDataLink->Eof() && ds->CanModify() && !fReadOnly &&
        fOptions.Contains(dgEditing)) {
        PerformDelayed();
        ds->Append();
    }
}

void TXCustomDBGrid::PriorRecord(bool Select) {
    TDataSet* ds = fDataLink->DataSet();
    if (UntouchedInsert(ds, *fDataLink) && ds->Eof())
        UnderChangeLock(*this, [ds] { ds->Cancel(); });
    else
        MoveRecord(Select, -1);
}

void TXCustomDBGrid::TabColumn(bool Forward) {
    const int first = TCustomGrid::FixedCols();
    const int last = ColCount() - 1;
    BeginUpdate();
    try {
        const int start = Col();
        int c = start;
        for (;;) {
            c += Forward ? 1 : -1;
            if (c > last) {
                NextRecord(false, true);
                c = first;
            } else if (c < first) {
                PriorRecord(false);
                c = last;
            }
            if (c == start) break;
            if (TabStops(c)) {
                SelectColumn(c, 0);
                break;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TXCustomDBGrid::DeleteRecords() {
    TDataSet* ds = fDataLink->DataSet();
    if (fOptions.Contains(dgAllowDeleteOff) || ColsSelection() || fReadOnly || ds->IsEmpty() || !ds->CanModify())
        return;
    const int selected = SelectedRows()->Count();
    if (fOptions.Contains(dgConfirmDelete)) {
        TMessageBoxRequest request;
        request.Text = std::string(selected < 2 ? kDeleteRecordText : kDeleteRecordsText);
        request.Buttons = TMsgButtons::OkCancel;
        request.Icon = TMsgIcon::Question;
        request.NonInteractiveAnswer = TMsgAnswer::Cancel;
        if (DialogService().MessageBox(request) != TMsgAnswer::Ok) return;
    }
    if (selected == 0)
        ds->Delete();
    else
        SelectedRows()->Delete();
}

bool TXCustomDBGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
    fLastShiftState = Shift;
    fHintPause = 0;
    auto alive = Watch();
    // OnKeyDown first, always; the base grid's own moves are replaced by the ones below.
    if (!TCustomControl::KeyDown(Key, Shift) || alive.expired()) return false;
    if (!fDataLink->Active()) return true;
    TDataSet* ds = fDataLink->DataSet();
    const bool rowScroll = fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll);
    const int firstCol = TCustomGrid::FixedCols();
    const int lastCol = ColCount() - 1;
    auto scrollView = [this](TScrollCode code) {
        HorzScrollCommand(code, 0);
        HorzScrollCommand(scEndScroll, 0);
    };
    if (fBiDiMode == bdRightToLeft) {
        if (Key == VK_LEFT)
            Key = VK_RIGHT;
        else if (Key == VK_RIGHT)
            Key = VK_LEFT;
    }
    // Multi-selection (xdb_grid_select.cpp): bulk range keys, Ctrl+A, Ctrl+C, dropped selections.
    if (SelectionKeyDown(Key, Shift)) {
        if (alive.expired()) return false;
        Key = 0;
        return false;
    }
    if (alive.expired()) return false;
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
            case VK_UP:
            case VK_PRIOR:
                MoveRecord(false, -fDataLink->ActiveRecord());
                break;
            case VK_DOWN:
            case VK_NEXT:
                MoveRecord(false, fDataLink->RecordCount() - fDataLink->ActiveRecord() - 1);
                break;
            case VK_END:
            case VK_HOME:
                ++fScrollLock;
                try {
                    Key == VK_END ? ds->Last() : ds->First();
                } catch (...) {
                    --fScrollLock;
                    throw;
                }
                --fScrollLock;
                break;
            case VK_LEFT:
                rowScroll ? scrollView(scPageUp) : (void)SelectColumn(firstCol, 1);
                break;
            case VK_RIGHT:
                rowScroll ? scrollView(scPageDown) : (void)SelectColumn(lastCol, -1);
                break;
            case VK_DELETE:
                DeleteRecords();
                break;
            default:
                return true;
        }
    } else {
        const bool onlyRows = fOptions.Contains(dgRowSelect) || fVisibleColumns.size() <= 1;
        switch (Key) {
            case VK_TAB:
                if (!fOptions.Contains(dgTabs) || Shift.Contains(ssAlt)) return true;
                TabColumn(!Shift.Contains(ssShift));
                break;
            case VK_ESCAPE:
                KoreanEscape(true);
                fDataLink->Reset();
                if (fOptions.Contains(dgMultiSelect)) DropSelection();
                if (!fOptions.Contains(dgAlwaysShowEditor)) HideEditor();
                break;
            case VK_PRIOR:
                MoveRecord(false, -VisibleDataRowCount());
                break;
            case VK_NEXT:
                MoveRecord(false, VisibleDataRowCount());
                break;
            case VK_END:
            case VK_HOME: {
                const bool end = Key == VK_END;
                if (rowScroll)
                    scrollView(end ? scBottom : scTop);
                else if (onlyRows) {
                    if (fOptions.Contains(dgMultiSelect)) DropSelection();
                    end ? ds->Last() : ds->First();
                } else
                    ColumnRangeStep(end ? lastCol : firstCol, end ? -1 : 1, Shift);
                break;
            }
            case VK_LEFT:
            case VK_RIGHT: {
                const bool right = Key == VK_RIGHT;
                if (rowScroll)
                    scrollView(right ? scLineDown : scLineUp);
                else if (fOptions.Contains(dgRowSelect))
                    right ? NextRecord(false, true) : PriorRecord(true);
                else
                    ColumnRangeStep(Col() + (right ? 1 : -1), right ? 1 : -1, Shift);
                break;
            }
            case VK_UP:
                PriorRecord(true);
                break;
            case VK_DOWN:
                NextRecord(true, true);
                break;
            case VK_INSERT:
                if (fOptions.Contains(dgAllowInsertOff) || !ds->CanModify() || fReadOnly) return true;
                if (fOptions.Contains(dgEditing)) {
                    if (fOptions.Contains(dgMultiSelect)) DropSelection();
                    PerformDelayed();
                    ds->Insert();
                }
                break;
            case VK_F2:
                if (CanEditShow()) SetEditorMode(true);
                break;
            default:
                return true;
        }
    }
    if (alive.expired()) return false;
    Key = 0;
    return false;
}

bool TXCustomDBGrid::KeyPress(char16_t& Key) {
    auto alive = Watch();
    if (Key != 27) KoreanEscape(false);  // a character key ends the Esc state
    // A check box shows no editor: Enter and Space tick it, unless its column leaves that to the
    // program.
    TXColumn* column = SelectedColumn();
    if (column && column->IsCheckBox() && column->CheckBoxToggle() != ctCustomToggle &&
        (Key == kEnter || Key == kSpace) && column->ShowEdit() &&
        (!column->Field() || fOptions.Contains(dgEditing))) {
        column->ToggleCheckBoxValue();
        if (alive.expired()) return false;
        Key = 0;
        return false;
    }
    // A column that shows no editor keeps typed characters from opening one: they are the
    // program's (OnKeyPress) only.
    if (column && !column->CanShowEditor() && fOptions.Contains(dgEditing) && (Key == kBackspace || Key >= kSpace))
        return TCustomControl::KeyPress(Key);
    // Enter hands the editor's text to the field before the base grid closes the editor.
    if (Key == kEnter && !fOptions.Contains(dgAlwaysShowEditor) && fDataLink->Active()) fDataLink->UpdateRecord();
    const bool escEditing = Key == kEsc && EditorMode();
    const bool go = TCustomGrid::KeyPress(Key);
    // Esc from the open editor: its text is back; the link forgets the pending edit.
    if (escEditing && !alive.expired() && fDataLink->Active()) fDataLink->Reset();
    return go;
}

}  // namespace tv
