// The ring of grids that follow a master grid: each grid's managed grid is the next of the ring,
// and what one grid changes of its column layout (order, widths, visibility, expansion, the left
// column) travels around the ring once. A grid's FManagement flag is raised while a change passed
// on to it is under way, so the change stops where it began and no grid takes it twice.

#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/gui/lookup_list.h"

namespace tv {

// ---------------------------------------------------------------- joining and leaving


TXCustomDBGrid* TXCustomDBGrid::PartEnd() {
    TXCustomDBGrid* end = this;
    while (end->fManageGrid && end->fManageGrid != this && end->fManageGrid->fMasterGrid)
        end = end->fManageGrid;
    return end;
}

void TXCustomDBGrid::Manage(TXCustomDBGrid* from, TXCustomDBGrid* to) {
    // A grid never manages itself; one that gets a grid to mirror keeps its columns from then on.
    from->fManageGrid = to == from ? nullptr : to;
    if (from->fManageGrid && from->fColumns->State() == csDefault && from->fColumns->Count() > 0)
        from->fColumns->SetState(csCustomized);
}

void TXCustomDBGrid::LeaveMasterRing() {
    TXCustomDBGrid* end = PartEnd();
    TXCustomDBGrid* after = end->fManageGrid;
    // The grid before this part manages what follows it; the part closes on itself.
    TXCustomDBGrid* before = fMasterGrid;
    for (TXCustomDBGrid* g = after; g && g != this; g = g->fManageGrid)
        if (g->fManageGrid == this) {
            before = g;
            break;
        }
    if (before && before->fManageGrid == this) Manage(before, after == before ? nullptr : after);
    Manage(end, this);
    fMasterGrid = nullptr;
}

void TXCustomDBGrid::JoinMasterRing(TXCustomDBGrid* master) {
    TXCustomDBGrid* end = PartEnd();
    if (TXCustomDBGrid* managed = master->fManageGrid) {
        Manage(end, managed);
        if (managed->fMasterGrid) managed->fMasterGrid = end == managed ? nullptr : end;
    } else
        Manage(end, master);
    Manage(master, this);
    fMasterGrid = master;
    master->FreeNotification(this);
}

void TXCustomDBGrid::SetMasterGrid(TXCustomDBGrid* value) {
    if (value == fMasterGrid) return;
    if (value) {
        SetStretchMode(false);
        for (TXCustomDBGrid* g = value; g; g = g->fMasterGrid)
            if (g == this) {
                if (g->ComponentState().Contains(csLoading)) return;
                throw EInvalidGridOperation(std::string(kCircularDataLink));
            }
    }
    if (fMasterGrid) LeaveMasterRing();
    if (!value) return;
    JoinMasterRing(value);
    value->Synchronize();
}

void TXCustomDBGrid::ReleaseFollowers() {
    // Every grid that follows this one leaves the ring; whatever still points here is re-linked.
    for (bool again = true; again;) {
        again = false;
        for (TXCustomDBGrid* g = fManageGrid; g && g != this; g = g->fManageGrid)
            if (g->fMasterGrid == this) {
                g->SetMasterGrid(nullptr);
                again = true;
                break;
            }
    }
    for (TXCustomDBGrid* g = fManageGrid; g && g != this; g = g->fManageGrid)
        if (g->fManageGrid == this) {
            g->fManageGrid = fManageGrid == g ? nullptr : fManageGrid;
            break;
        }
    fManageGrid = nullptr;
}

// ---------------------------------------------------------------- mirrored changes

void TXCustomDBGrid::Synchronize() {
    TXCustomDBGrid* managed = fManageGrid;
    if (!managed || managed->fManagement) return;
    managed->fManagement = true;
    try {
        const int count = std::min(fColumns->Count(), managed->fColumns->Count());
        for (int i = 0; i < count; ++i) {
            TXColumn* mine = fColumns->Items(i);
            TXColumn* other = managed->fColumns->Items(i);
            if (mine->Expandable() && other->Expandable()) other->SetExpanded(mine->Expanded());
            other->SetVisible(mine->Visible());
            other->SetWidth(mine->TrueWidth());
        }
        managed->SetIndicatorWidth(fIndicatorWidth);
        managed->SetFixedCols(FixedCols());
        managed->SetBiDiMode(fBiDiMode);
        managed->SetLeftColumn(LeftCol());
        managed->Synchronize();
    } catch (...) {
        managed->fManagement = false;
        throw;
    }
    managed->fManagement = false;
}

void TXCustomDBGrid::SynchronizeRing() {
    // A grid that takes the ring's copy passes it on from Synchronize itself.
    if (!fManagement) Synchronize();
}

void TXCustomDBGrid::MirrorLeftColumn() {
    if (fManagement || !fManageGrid) return;
    fManagement = true;
    try {
        fManageGrid->SetLeftColumn(LeftCol());
    } catch (...) {
        fManagement = false;
        throw;
    }
    fManagement = false;
}

void TXCustomDBGrid::MirrorColumnMove(int FromIndex, int ToIndex) {
    // The managed grid moves the same raw columns as its base grid would by the mouse. Both must
    // exist there (its base grid refuses a move out of its columns); a grid that is taking the
    // move already is where it began.
    TXCustomDBGrid* managed = fManageGrid;
    if (!managed || managed->fManagement) return;
    const int from = FromIndex + managed->fIndicatorOffset;
    const int to = ToIndex + managed->fIndicatorOffset;
    if (std::min(from, to) < 0 || std::max(from, to) >= managed->ColCount()) return;
    fManagement = true;
    try {
        managed->MoveColumn(from, to);
    } catch (...) {
        fManagement = false;
        throw;
    }
    fManagement = false;
}

}  // namespace tv
