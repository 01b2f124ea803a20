// The data grid's requests to refresh what depends on all records (the pick lists filled from
// data, the record numbering, the totals; the order's is in xdb_grid_order.cpp) and its
// selection bracket.
// A request with CheckAutoUpdate is dropped unless the grid's option for it is on; with its delay
// option it waits on a timer that each further request restarts. The workers are in
// xdb_grid_delayed.cpp.

#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"

namespace tv {

void TXCustomDBGrid::UpdateListItems(bool CheckAutoUpdate) {
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDesigning) || UpdateInProgress()) return;
    if (CheckAutoUpdate && !fOptionsExt.Contains(dgAutoUpdateListItems)) return;
    if (!AnyColumnLoadsList()) return;
    if (fOptionsExt.Contains(dgDelayUpdateListItems) &&
        StartDelayTimer(fLoaderTimer, &TXCustomDBGrid::ListItemsTimer))
        return;
    DoUpdateListItems();
}

void TXCustomDBGrid::UpdateSequence(bool CheckAutoUpdate) {
    if (ComponentState().Contains(csLoading) || UpdateInProgress()) return;
    if (CheckAutoUpdate && !fOptionsEx.Contains(dgAutoUpdateSequence)) return;
    if (!ForcedSequence()) return;
    if (fOptionsEx.Contains(dgDelayUpdateSequence) && StartDelayTimer(fUpdateTimer, &TXCustomDBGrid::SequenceTimer))
        return;
    DoUpdateSequence();
}

void TXCustomDBGrid::UpdateTotals(bool CheckAutoUpdate) {
    if (ComponentState().Contains(csLoading) || UpdateInProgress()) return;
    if (CheckAutoUpdate && !fOptionsEx.Contains(dgAutoUpdateTotals)) return;
    if (!fTotals->CalcValues()) return;
    if (!fTotals->Visible() && !fOptionsEx.Contains(dgCalcInvisibleRows)) return;
    if (fOptionsEx.Contains(dgDelayUpdateTotals) && StartDelayTimer(fTotalsTimer, &TXCustomDBGrid::TotalsTimer))
        return;
    DoUpdateTotals(false);
}

bool TXCustomDBGrid::StartDelayTimer(std::unique_ptr<TTimer>& timer, void (TXCustomDBGrid::*handler)()) {
    try {
        if (!timer) {
            timer = std::make_unique<TTimer>();
            timer->OnTimer = [this, handler](TObject*) { (this->*handler)(); };
        }
        // Restarted: requests faster than the delay run once, the delay after the last.
        timer->SetEnabled(false);
        timer->SetInterval(kDelayedUpdateMs);
        timer->SetEnabled(true);
    } catch (const std::exception&) {
        timer.reset();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- the selection bracket

void TXCustomDBGrid::BeginSelect() {
    ++fSelectLock;
    BeginUpdate();
}

// Only the outermost end reports, and only what changed (ReportSelection, xdb_grid_select_ops.cpp).
void TXCustomDBGrid::EndSelect() {
    if (fSelectLock == 0) return;
    EndUpdate();
    if (--fSelectLock > 0 || !(fRowsChanged || fColsChanged)) return;
    ReportSelection();
}

void TXCustomDBGrid::CancelSelect() {
    EndSelect();
}

void TXCustomDBGrid::ClearSelection() {
    BeginSelect();
    try {
        fBookmarks->Clear();
        fSelectedCols->Clear();
        if (fSelectionBegCol >= 0 || fSelectionEndCol >= 0) {
            const bool range = ColsSelection() && fSelectionMinCol >= 0 && fSelectionMaxCol >= 0;
            fSelectionBegCol = fSelectionEndCol = fSelectionMinCol = fSelectionMaxCol = -1;
            fSelectionColumn = false;
            if (range)
                SelectedColsChanged(true);
            else
                fSelectedCols->Release();
        }
        fSelectionColumn = false;
        if (!fSelectionAnchor.IsEmpty()) SetSelectionAnchor({});
    } catch (...) {
        EndSelect();
        throw;
    }
    EndSelect();
}

void TXCustomDBGrid::SelectedColsChanged(bool ReleaseList) {
    if (ReleaseList) fSelectedCols->Release();
    BeginSelect();
    fColsChanged = true;
    EndSelect();
}

}  // namespace tv
