// The data grid's workers that walk every record (pick lists filled from data, the record
// numbering, the totals), their timers, PerformDelayed and RefreshDataSet.
//
// A worker walks with the dataset's controls disabled and the scroll lock raised, and puts the
// current record back on the row it was shown on, also when the walk raises. Each worker's flag
// keeps events raised during a walk from starting it (or another request) again.

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/rtl/string_list.h"

namespace tv {
namespace {

// Clears a flag when the worker ends, also by an exception.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : fFlag(flag) { fFlag = true; }
    ~TFlagScope() { fFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& fFlag;
};

// Field types whose values are bytes, large texts or structures: no pick list loads from them.
bool CanLoadList(TFieldType type) {
    return !IsMemoType(type) && !HoldsNoValue(type) && type != TFieldType::ftUnknown;
}

}  // namespace

bool TXCustomDBGrid::ForcedSequence() const {
    return fOptions.Contains(dgForceSequence) && fDataLink->Active();
}

bool TXCustomDBGrid::ColumnLoadsList(TXColumn* Column) const {
    if (!Column->PickOptions().Contains(poAutoLoadList)) return false;
    TField* field = Column->Field();
    return field && CanLoadList(field->DataType());
}

bool TXCustomDBGrid::AnyColumnLoadsList() const {
    for (int i = 0; i < fColumns->Count(); ++i)
        if (ColumnLoadsList(fColumns->Items(i))) return true;
    return false;
}

template <class Walk>
void TXCustomDBGrid::WalkRecords(Walk walk) {
    TDataSet* dataSet = fDataLink->DataSet();
    dataSet->CheckBrowseMode();
    const TBookmark bookmark = dataSet->GetBookmark();
    const int position = Position();
    dataSet->DisableControls();
    ++fScrollLock;
    auto restore = [&] {
        try {
            GotoPosition(position, bookmark);
        } catch (...) {
            dataSet->EnableControls();
            --fScrollLock;
            throw;
        }
        dataSet->EnableControls();
        --fScrollLock;
    };
    try {
        walk(dataSet);
    } catch (...) {
        // The walk's own error is the one the caller hears of.
        try {
            restore();
        } catch (...) {
        }
        throw;
    }
    restore();
}

// ---------------------------------------------------------------- timers

void TXCustomDBGrid::ListItemsTimer() {
    fLoaderTimer.reset();
    DoUpdateListItems();
}

void TXCustomDBGrid::SequenceTimer() {
    fUpdateTimer.reset();
    DoUpdateSequence();
    UpdateScrollBar();
    UpdateHorzScrollBar();
    UpdateActive();
    RefreshEditor();
    Invalidate();
}

void TXCustomDBGrid::TotalsTimer() {
    fTotalsTimer.reset();
    DoUpdateTotals(false);
}

void TXCustomDBGrid::PerformDelayed() {
    // Pending edits are written first, so that the selection's report and the walks see them.
    if (fDataLink->Active()) fDataLink->DataSet()->CheckBrowseMode();
    if (fSelectTimer) SelectionDone();
    if (fLoaderTimer) ListItemsTimer();
    if (fUpdateTimer) SequenceTimer();
    if (fTotalsTimer) TotalsTimer();
}

// ---------------------------------------------------------------- the workers

void TXCustomDBGrid::DoUpdateListItems() {
    if (fInUpdateListItems) return;
    const bool active = fDataLink->Active();
    if (active && fDataLink->DataSet()->State() != dsBrowse) return;
    TFlagScope running(fInUpdateListItems);
    std::vector<std::pair<TField*, TStringList*>> lists;
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        if (!ColumnLoadsList(column)) continue;
        auto* list = static_cast<TStringList*>(column->PickList());
        list->BeginUpdate();
        if (!column->PickOptions().Contains(poAppendToList)) list->Clear();
        list->SetSorted(true);
        lists.emplace_back(column->Field(), list);
    }
    if (lists.empty()) return;
    auto endLists = [&] {
        // The entries stay in sorted order; the list no longer keeps them so.
        for (auto& [field, list] : lists) {
            list->SetSorted(false);
            list->EndUpdate();
        }
    };
    try {
        if (active && !fDataLink->DataSet()->IsEmpty())
            WalkRecords([&](TDataSet* dataSet) {
                for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
                    for (auto& [field, list] : lists) {
                        const std::string text = field->Text();
                        int at = 0;
                        if (!text.empty() && !list->Find(text, at)) list->Add(text);
                    }
            });
    } catch (...) {
        endLists();
        throw;
    }
    endLists();
    ListItemsUpdated();
}

void TXCustomDBGrid::DoUpdateSequence() {
    if (fInUpdateSequence || !ForcedSequence()) return;
    if (fDataLink->DataSet()->State() != dsBrowse) return;
    TFlagScope running(fInUpdateSequence);
    WalkRecords([&](TDataSet* dataSet) {
        fRecCount = 0;
        fRecNumber = 0;
        if (dataSet->IsEmpty()) return;
        // The largest moves stop at either end: how far they went numbers the record.
        const int back = dataSet->MoveBy(-2147483647);
        fRecNumber = 1 - back;
        const int forth = dataSet->MoveBy(2147483647);
        fRecCount = forth + 1;
    });
    SequenceUpdated();
}

void TXCustomDBGrid::DoUpdateTotals(bool SelectedOnly) {
    if (fInUpdateTotals) return;
    const bool active = fDataLink->Active();
    if (active && fDataLink->DataSet()->State() != dsBrowse) return;
    auto finish = [&] {
        fInUpdateTotals = false;
        // A run over the selection shows or hides the selected-total rows (dgSelectedAutoHidden).
        if (SelectedOnly) SetOptionsEx(fOptionsEx);
    };
    fInUpdateTotals = true;
    try {
        if (fTotals->CalcValues()) {
            if (CalcTotalsPass(cpReset, SelectedOnly) && active && !fDataLink->DataSet()->IsEmpty())
                WalkRecords([&](TDataSet* dataSet) {
                    const bool onlyCols = SelectedOnly && fTotals->SelectedCols && !fTotals->SelectedRows;
                    const bool calcSelected = fOptionsEx.Contains(dgCalcSelectedRows);
                    const bool calcWhole = fOptionsEx.Contains(dgCalcWholeDataSet);
                    if (!onlyCols && (SelectedOnly || (calcSelected && (!calcWhole || RowsSelected())))) {
                        for (int i = 0; i < fBookmarks->Count(); ++i) {
                            dataSet->GotoBookmark(fBookmarks->Items(i));
                            CalcTotalsPass(cpCalcRec, SelectedOnly);
                        }
                    } else if (onlyCols || (calcWhole && (!calcSelected || !RowsSelected()))) {
                        for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) CalcTotalsPass(cpCalcRec, SelectedOnly);
                    }
                });
            CalcTotalsPass(cpFinal, SelectedOnly);
            TotalsUpdated();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

// ---------------------------------------------------------------- reopening the dataset

void TXCustomDBGrid::RefreshDataSet() {
    if (!fDataLink->Active()) return;
    TDataSet* dataSet = fDataLink->DataSet();
    DisablePosition();
    auto finish = [&] {
        ClearSelection();
        EnablePosition(true);
    };
    try {
        Variant keys;
        if (!fKeyFields.empty()) keys = dataSet->FieldValues(fKeyFields);
        dataSet->Close();
        dataSet->Open();
        if (!fKeyFields.empty()) dataSet->Locate(fKeyFields, keys);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace tv
