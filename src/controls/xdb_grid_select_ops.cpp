// Multi-selection services: the report that follows a selection bracket (at once, or 200 ms after
// the last bracket with dgDelaySelectedRows), the bulk operations over records and columns, the
// row steps on the current record, the walk over the selected (or all) cells and the copy of the
// selected cells to the clipboard.

#include <algorithm>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/gui/clipboard.h"

namespace tv {

namespace {

constexpr uint32_t kSelectionDelay = 200;

// Runs `walk` with the current record and its screen row kept (put back also on failure).
template <class F>
void KeepingPosition(TXCustomDBGrid& grid, F&& walk) {
    grid.DisablePosition();
    try {
        walk();
    } catch (...) {
        grid.EnablePosition(false);
        throw;
    }
    grid.EnablePosition(false);
}

}  // namespace

// ---------------------------------------------------------------- the report

void TXCustomDBGrid::SelectionDone() {
    fSelectTimer.reset();
    const bool rows = fRowsChanged;
    const bool cols = fColsChanged;
    fRowsChanged = fColsChanged = false;
    if (ComponentState().Contains(csDestroying)) return;
    fRowsChangedInReport = rows;
    if (rows) fTotals->SelectedRows = RowsSelected();
    if (cols) fTotals->SelectedCols = ColsSelected();
    if (rows) DoSelectedRowsChanged();
    if (cols) DoSelectedColsChanged();
    if (rows || cols) DoSelectionChanged();
}

void TXCustomDBGrid::ReportSelection() {
    if (fColsChanged) InvalidateDataRows();
    if (!fOptionsEx.Contains(dgDelaySelectedRows)) {
        SelectionDone();
        return;
    }
    // A further bracket within the delay starts the wait again.
    if (!fSelectTimer) {
        fSelectTimer = std::make_unique<TTimer>();
        fSelectTimer->OnTimer = [this](TObject*) { SelectionDone(); };
    }
    fSelectTimer->SetEnabled(false);
    fSelectTimer->SetInterval(kSelectionDelay);
    fSelectTimer->SetEnabled(true);
}

bool TXCustomDBGrid::TotalsFollowSelection() const {
    return fOptionsEx.Contains(dgAutoUpdateTotals) && fTotals->CalcValues();
}

void TXCustomDBGrid::DoSelectedRowsChanged() {
    if (ComponentState().Contains(csDestroying)) return;
    if (TotalsFollowSelection() && (fTotals->Visible() || fOptionsEx.Contains(dgCalcInvisibleRows) ||
                                    fOptionsEx.Contains(dgSelectedAutoHidden))) {
        if (fOptionsEx.Contains(dgCalcSelectedRows))
            DoUpdateTotals(false);
        else if (AnySelectedTotals())
            DoUpdateTotals(true);
    }
    if (OnSelectedRowsChanged) OnSelectedRowsChanged(this);
}

void TXCustomDBGrid::DoSelectedColsChanged() {
    if (ComponentState().Contains(csDestroying)) return;
    // Rows that changed as well have had the totals brought up to date.
    if (TotalsFollowSelection() && !fRowsChangedInReport &&
        (fTotals->Visible() || fOptionsEx.Contains(dgSelectedAutoHidden))) {
        if (fOptionsEx.Contains(dgCalcSelectedRows))
            InvalidateTotals();
        else if (AnySelectedTotals()) {
            if (fOptionsEx.Contains(dgSelectedAutoHidden))
                DoUpdateTotals(true);
            else
                InvalidateTotals();
        }
    }
    if (OnSelectedColsChanged) OnSelectedColsChanged(this);
}

bool TXCustomDBGrid::AnySelectedTotals() const {
    return fOptionsEx.Contains(dgTotalHeaderSelected) || fOptionsEx.Contains(dgTotalValuesSelected) ||
           fOptionsEx.Contains(dgTotalFooterSelected);
}

// ---------------------------------------------------------------- row steps

void TXCustomDBGrid::ToggleRow() {
    if (fDataLink->Active()) fBookmarks->SetCurrentRowSelected(!fBookmarks->CurrentRowSelected());
}

void TXCustomDBGrid::SelectRow() {
    if (fDataLink->Active()) fBookmarks->SetCurrentRowSelected(true);
}

void TXCustomDBGrid::UnselectRow() {
    if (fDataLink->Active()) fBookmarks->SetCurrentRowSelected(false);
}

// ---------------------------------------------------------------- bulk operations

void TXCustomDBGrid::SelectAll() {
    if (!fDataLink->Active()) return;
    TDataSet* ds = fDataLink->DataSet();
    ds->CheckBrowseMode();
    InSelect([&] {
        if (RowsSelection()) {
            if (fBookmarks->Count() > 0)
                fBookmarks->Clear();
            else
                RowSelect(saClear);
            auto setAnchor = [&] { SetSelectionAnchor(ds->GetBookmark()); };
            try {
                KeepingPosition(*this, [&] {
                    // Each bookmark goes to its sorted place: the walk's order need not be the
                    // bookmarks' order, and the list is searched by that order.
                    for (ds->First(); !ds->Eof(); ds->Next()) {
                        fBookmarks->Include(ds->GetBookmark());
                        RowSelect(saSelect);
                    }
                });
            } catch (...) {
                setAnchor();
                throw;
            }
            setAnchor();
            InvalidateDataRows();
        }
        if (ColsSelection())
            for (int i = fSelectionOffset; i < fColumns->Count(); ++i) fSelectedCols->SetSelected(i, true);
    });
}

void TXCustomDBGrid::InvertAll() {
    if (!fDataLink->Active()) return;
    const bool rows = RowsSelection();
    const bool cols = ColsSelection();
    if (rows == cols) return;
    TDataSet* ds = fDataLink->DataSet();
    ds->CheckBrowseMode();
    InSelect([&] {
        if (rows) {
            KeepingPosition(*this, [&] {
                for (ds->First(); !ds->Eof(); ds->Next()) ToggleRow();
            });
            InvalidateDataRows();
        } else {
            for (int i = fSelectionOffset; i < fColumns->Count(); ++i)
                fSelectedCols->SetSelected(i, !fSelectedCols->Selected(i));
        }
    });
}

void TXCustomDBGrid::WalkToAnchor(void (TXCustomDBGrid::*step)()) {
    if (!fDataLink->Active() || !RowsSelection()) return;
    TDataSet* ds = fDataLink->DataSet();
    ds->CheckBrowseMode();
    InSelect([&] {
        EnsureSelectionAnchor();
        KeepingPosition(*this, [&] {
            int side = CompareWithAnchor();
            while (side > 0) {
                (this->*step)();
                ds->Prior();
                if (ds->Bof()) break;
                side = CompareWithAnchor();
            }
            while (side < 0) {
                (this->*step)();
                ds->Next();
                if (ds->Eof()) break;
                side = CompareWithAnchor();
            }
            if (side == 0) (this->*step)();
        });
    });
}

void TXCustomDBGrid::SelectRows() {
    WalkToAnchor(&TXCustomDBGrid::SelectRow);
}

void TXCustomDBGrid::InvertRows() {
    WalkToAnchor(&TXCustomDBGrid::ToggleRow);
}

void TXCustomDBGrid::UnselectRows() {
    WalkToAnchor(&TXCustomDBGrid::UnselectRow);
}

// ---------------------------------------------------------------- the walk over cells

void TXCustomDBGrid::ForEachDataCell(const TForEachCellProc& DoProc, TForEachCellScope Scope) {
    if (!fDataLink->Active()) return;
    if (Scope == fsAutoSelect) Scope = MultiSelected() ? fsSelectedOnly : fsWholeDataSet;
    if (Scope == fsSelectedOnly && !MultiSelected()) return;
    const TMultiSelect mode = MultiSelect();
    const bool whole = Scope == fsWholeDataSet;
    if (!whole && mode != msRows && mode != msCols && mode != msCells) return;
    std::vector<TXColumn*> columns;
    if (whole || mode == msRows) {
        for (int i = whole ? 0 : fSelectionOffset; i < fColumns->Count(); ++i) columns.push_back(fColumns->Items(i));
    } else {
        for (int i = 0; i < fSelectedCols->Count(); ++i) columns.push_back(fSelectedCols->Items(i));
    }
    TDataSet* ds = fDataLink->DataSet();
    auto row = [&](int number, bool last) {
        for (size_t c = 0; c < columns.size(); ++c) {
            TForEachCellFlags flags;
            if (c == 0) flags.Include(feFirstCol);
            if (c + 1 == columns.size()) flags.Include(feLastCol);
            if (number == 0) flags.Include(feFirstRow);
            if (last) flags.Include(feLastRow);
            DoProc(columns[c], flags);
        }
    };
    KeepingPosition(*this, [&] {
        if (whole || mode == msCols) {
            int number = 0;
            for (ds->First(); !ds->Eof(); ++number) {
                // One record ahead tells whether this one is the last.
                ds->Next();
                const bool last = ds->Eof();
                if (!last) ds->Prior();
                row(number, last);
                ds->Next();
            }
        } else {
            const int count = fBookmarks->Count();
            for (int i = 0; i < count; ++i) {
                ds->GotoBookmark(fBookmarks->Items(i));
                row(i, i + 1 == count);
            }
        }
    });
}

// ---------------------------------------------------------------- the copy

namespace {

// The copy under way: one at a time for every grid, as the cells come in.
struct TCopyState {
    std::vector<std::string> Lines;
    std::string Line;
    int Counter = 0;
};
TCopyState gCopy;

}  // namespace

void TXCustomDBGrid::CopyToClipboard() {
    ForEachDataCell([this](TXColumn* Column, TForEachCellFlags Flags) { CopyCellText(Column, Flags); },
                    fsSelectedOnly);
}

void TXCustomDBGrid::CopyCellText(TXColumn* Column, TForEachCellFlags Flags) {
    if (Flags.Contains(feFirstCol)) {
        if (Flags.Contains(feFirstRow)) {
            gCopy.Lines.clear();
            gCopy.Counter = 0;
        }
        gCopy.Line.clear();
        ++gCopy.Counter;
    }
    if (Column->Showing()) {
        if (Column->AutoNumber()) {
            gCopy.Line += std::to_string(gCopy.Counter) + ".";
        } else {
            std::string text = Column->EditText();
            std::replace(text.begin(), text.end(), '\t', ' ');
            gCopy.Line += text;
        }
        // A hidden last column leaves the tab after the last showing one.
        if (!Flags.Contains(feLastCol)) gCopy.Line += '\t';
    }
    if (!Flags.Contains(feLastCol)) return;
    gCopy.Lines.push_back(std::move(gCopy.Line));
    gCopy.Line.clear();
    if (!Flags.Contains(feLastRow)) return;
    std::string text;
    for (const std::string& line : gCopy.Lines) text += line + "\r\n";
    gCopy = {};
    Clipboard().SetAsText(text);
}

}  // namespace tv
