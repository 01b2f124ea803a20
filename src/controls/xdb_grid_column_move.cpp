// Moving a column by dragging its title: the checks the base grid asks while the title is
// dragged (a column or a whole group moves, never out of its parent group, and the view scrolls
// when the title is held beyond the scrolled columns), and the collection following the move.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/gui/scroll_bar.h"

namespace tv {

int TXCustomDBGrid::GroupRaw(const TXColumn* Column, bool Last) const {
    const int first = Column->Index();
    const int last = Column->ExpandIndex();
    for (int i = Last ? last : first; Last ? i >= first : i <= last; i += Last ? -1 : 1) {
        TXColumn* member = fColumns->Items(i);
        if (member->Showing()) return ColumnToRaw(member);
    }
    return -1;
}

bool TXCustomDBGrid::BeginColumnDrag(int& Origin, int& Destination, TPoint MousePt) {
    if (!fResizeOptions.Contains(roColumnMoving) || !TCustomGrid::BeginColumnDrag(Origin, Destination, MousePt))
        return false;
    TXColumn* origin = RawToColumn(Origin);
    // Default columns follow their fields: a column without one cannot move.
    if (fColumns->State() != csCustomized && !(origin && origin->Field())) return false;
    fDragCol = ColumnAtDepth(origin, MouseCoord(MousePt.X, MousePt.Y).Y);
    if (!fDragCol) return true;
    if (HeaderRowAt(fDragCol, MousePt.Y) >= 0) {
        fDragCol = nullptr;
        return false;
    }
    // A group's title moves the group: it starts at the group's first raw column.
    if (const int raw = GroupRaw(fDragCol, false); raw >= 0) Origin = raw;
    Destination = Origin;
    RefreshEditor();
    return true;
}

bool TXCustomDBGrid::CheckColumnDrag(int& Origin, int& Destination, TPoint MousePt) {
    if (!TCustomGrid::CheckColumnDrag(Origin, Destination, MousePt)) return false;
    TXColumn* target = RawToColumn(Destination);
    if (fColumns->State() != csCustomized && !(target && target->Field())) return false;
    if (fDragCol && target && Destination != Origin) {
        const int depth = fDragCol->Depth();
        TXColumn* parent = fDragCol->ParentColumn();
        TXColumn* item = ColumnAtDepth(target, depth);
        // The column stays inside its parent group: at the group's first child going left, at
        // its last member going right.
        if (item->ParentColumn() != parent) {
            if (Destination < Origin) {
                item = parent && parent->Index() + 1 < fColumns->Count() ? fColumns->Items(parent->Index() + 1) : item;
            } else {
                for (int i = item->Index(); i >= 0; --i)
                    if (fColumns->Items(i)->ParentColumn() == parent) {
                        item = fColumns->Items(i);
                        break;
                    }
            }
        }
        // Moving right, the column goes behind the whole group it meets.
        const int raw = GroupRaw(item, fDragCol->Index() < item->Index());
        if (raw >= 0) Destination = raw;
    }
    // Held beyond the scrolled columns, the view scrolls one column and this step waits.
    const TGridDrawInfo info = CalcDrawInfo();
    // In column order: before the scrolled columns, or past the last one shown (MirrorX).
    const int x = MirrorX(MousePt.X);
    const bool leftOfScrolled = x < info.Horz.FixedBoundary;
    const bool rightOfShown = x >= info.Horz.GridBoundary;
    const bool scrollLeft = (Destination < Origin && (Destination < info.Horz.FirstGridCell || leftOfScrolled)) ||
                            (Destination == Origin && leftOfScrolled);
    const bool scrollRight =
        (Destination > Origin && (Destination > info.Horz.LastFullVisibleCell || rightOfShown)) ||
        (Destination == Origin && rightOfShown);
    if (scrollLeft || scrollRight) {
        auto alive = Watch();
        HorzScrollCommand(scrollLeft ? scLineUp : scLineDown, 0);
        if (alive.expired()) return false;
        Update();
        return false;
    }
    return true;
}

bool TXCustomDBGrid::EndColumnDrag(int& Origin, int& Destination, TPoint MousePt) {
    const bool result = TCustomGrid::EndColumnDrag(Origin, Destination, MousePt);
    if (result && fDragCol && Origin != Destination) GroupMoveEnds(Origin, Destination);
    fDragCol = nullptr;
    return result;
}

void TXCustomDBGrid::ColumnMoved(int FromIndex, int ToIndex) {
    // A move this grid makes itself (putting a refused move back, or one mirrored from another
    // grid of its ring) goes no further.
    if (fManagement) return;
    const int from = FromIndex - fIndicatorOffset;
    const int to = ToIndex - fIndicatorOffset;
    bool accept = true;
    try {
        ColumnMoving(from, to, accept);
    } catch (...) {
        accept = false;  // a handler that fails refuses the move
    }
    auto managed = [this](auto&& step) {
        fManagement = true;
        try {
            step();
        } catch (...) {
            fManagement = false;
            throw;
        }
        fManagement = false;
    };
    if (!accept || from < 0 || from >= fColumns->Count()) {
        managed([&] { MoveColumn(ToIndex, FromIndex); });
        return;
    }
    const bool rowScroll = fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll);
    const int left = LeftCol();
    if (!rowScroll) ++fScrollLock;
    try {
        fColumns->Items(from)->SetIndex(to);
    } catch (...) {
        if (!rowScroll) --fScrollLock;
        throw;
    }
    if (!rowScroll) --fScrollLock;
    if (rowScroll) SetLeftColumn(left);
    if (MultiSelect() == msCols)
        ClearSelection();
    else
        fSelectedCols->Clear();
    auto alive = Watch();
    if (OnColumnMoved) OnColumnMoved(this, from, to);
    if (alive.expired()) return;
    MirrorColumnMove(from, to);
}

}  // namespace tv
