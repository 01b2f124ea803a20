// The base grid's mouse: selecting cells, sizing columns and rows at their borders, moving columns
// by their titles, scrolling while a selection is dragged outside, and the wheel.

#include <QAbstractScrollArea>
#include <QApplication>
#include <algorithm>
#include <cstdlib>

#include "platform/gui/grid.h"
#include "platform/gui/timer.h"

namespace tv {

namespace {

// How far from a border's line (on either side) the mouse grabs the border.
constexpr int kSizingZone = 3;
// One notch of the wheel, in the toolkit's eighths of a degree.
constexpr int kWheelNotch = 120;

// The border of `axis` nearest to `pos` within the sizing zone: the cell it follows and the pixel
// where its line starts. Of two equally near borders the later one wins, so that a narrow cell can
// be widened by its own border. Cells that take no room have no border.
bool NearestBorder(const TGridAxis& axis, const TGridAxisDrawInfo& info, int pos, int& cell, int& line) {
    int best = kSizingZone + 1;
    axis.ForEachShown(info, [&](int c, int start) {
        const int advance = axis.Advance(c);
        if (advance == 0) return;
        const int lineStart = start + std::max(axis.Size(c), 0);
        const int lineEnd = start + advance;
        // The distance to the nearest pixel of the line (to the boundary when there is no line).
        const int distance = pos < lineStart ? lineStart - pos : pos >= lineEnd ? pos - lineEnd + 1 : 0;
        if (distance <= best) {
            best = distance;
            cell = c;
            line = lineStart;
        }
    });
    return best <= kSizingZone;
}

}  // namespace

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                  const TGridDrawInfo& DrawInfo) {
    State = gsNormal;
    Index = -1;
    SizingPos = 0;
    SizingOfs = 0;
    const TGridAxisDrawInfo& h = DrawInfo.Horz;
    const TGridAxisDrawInfo& v = DrawInfo.Vert;
    X = MirrorX(X);
    // Column borders in the fixed rows, row borders in the fixed columns.
    if (fOptions.Contains(goColSizing) && Y >= 0 && Y < std::min(v.FixedBoundary, v.GridBoundary) &&
        NearestBorder(Columns(), h, X, Index, SizingPos)) {
        State = gsColSizing;
        SizingOfs = X - SizingPos;
        return;
    }
    if (fOptions.Contains(goRowSizing) && X >= 0 && X < std::min(h.FixedBoundary, h.GridBoundary) &&
        NearestBorder(Rows(), v, Y, Index, SizingPos)) {
        State = gsRowSizing;
        SizingOfs = Y - SizingPos;
    }
}

void TCustomGrid::UpdateSizingCursor(int X, int Y) {
    auto* area = static_cast<QAbstractScrollArea*>(Widget());
    if (!area || fGridState != gsNormal) return;
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    if (X >= 0) CalcSizingState(X, Y, state, index, pos, ofs, CalcDrawInfo());
    const bool split = state == gsColSizing || state == gsRowSizing;
    if (split)
        area->viewport()->setCursor(state == gsColSizing ? Qt::SplitHCursor : Qt::SplitVCursor);
    else if (fCursorSplit)
        area->viewport()->unsetCursor();
    fCursorSplit = split;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto alive = Watch();
    if (CanFocus() && !HasFocus()) {
        SetFocus();
        if (alive.expired()) return;
    }
    if (Button == mbLeft && fGridState == gsNormal) {
        const TGridDrawInfo info = CalcDrawInfo();
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, info);
        if (alive.expired()) return;
        fLastMouse = {X, Y};
        if (state == gsColSizing || state == gsRowSizing) {
            fGridState = state;
            fSizingIndex = index;
            fSizingPos = pos;
            fSizingOfs = ofs;
            fSizingOriginal = state == gsColSizing ? MirrorX(X) : Y;
            RepaintGrid(TGridRepaint::Invalidate, SizingLineRect(SizingLine()), 0, 0);
        } else {
            // The plain mapping: descendants that map points otherwise keep their own handling.
            const int c = Columns().CellAt(info.Horz, MirrorX(X));
            const int r = Rows().CellAt(info.Vert, Y);
            if (fOptions.Contains(goColMoving) && r >= 0 && r < fFixedRows && c >= fFixedCols) {
                fMoveArmed = true;
                fMoveOrigin = c;
                fMovePressPoint = {X, Y};
            } else if (c >= fFixedCols && r >= fFixedRows) {
                if (c == fCol && r == fRow && CanEditShow()) {
                    ShowEditor();
                } else {
                    MoveCurrent(c, r);
                    fGridState = gsSelecting;
                }
                if (alive.expired()) return;
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    auto alive = Watch();
    switch (fGridState) {
        case gsColSizing:
        case gsRowSizing:
            MoveSizingLine(X, Y);
            break;
        case gsColMoving:
            fLastMouse = {X, Y};
            MoveColumnDrag(X, Y);
            break;
        case gsSelecting:
            fLastMouse = {X, Y};
            SelectAt(X, Y);
            break;
        default:
            fLastMouse = {X, Y};
            if (fMoveArmed && !Shift.Contains(ssLeft)) fMoveArmed = false;
            if (fMoveArmed) {
                // A move starts once the mouse has travelled past the desktop's drag distance.
                if (std::abs(X - fMovePressPoint.X) <= QApplication::startDragDistance()) break;
                fMoveArmed = false;
                int origin = fMoveOrigin;
                int destination = fMoveOrigin;
                if (!BeginColumnDrag(origin, destination, fMovePressPoint) || alive.expired()) break;
                fMoveOrigin = origin;
                fMoveDestination = destination;
                fGridState = gsColMoving;
                MoveColumnDrag(X, Y);
            } else if (!Shift.Contains(ssLeft)) {
                UpdateSizingCursor(X, Y);
            }
            break;
    }
    if (alive.expired()) return;
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto alive = Watch();
    if (Button == mbLeft) {
        fLastMouse = {X, Y};
        EndMouseMode(true);
        if (alive.expired()) return;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::CancelMode() {
    EndMouseMode(false);
}

void TCustomGrid::EndMouseMode(bool apply) {
    fMoveArmed = false;
    switch (fGridState) {
        case gsColSizing:
        case gsRowSizing:
            EndSizing(apply);
            break;
        case gsColMoving:
            EndColumnMove(apply, fLastMouse);
            break;
        case gsSelecting:
            fScrollTimer->SetEnabled(false);
            fGridState = gsNormal;
            break;
        default:
            break;
    }
}

// ---- sizing ----

int TCustomGrid::SizingDelta() const {
    const bool cols = fGridState == gsColSizing;
    const int size = cols ? fColWidths[fSizingIndex] : fRowHeights[fSizingIndex];
    const int delta = (cols ? MirrorX(fLastMouse.X) : fLastMouse.Y) - fSizingOriginal;
    // Never below one pixel.
    return std::max(delta, 1 - size);
}

int TCustomGrid::SizingLine() const {
    return fSizingPos + SizingDelta();
}

TRect TCustomGrid::SizingLineRect(int pos) const {
    const TRect client = ClientRect();
    return fGridState == gsColSizing ? MirrorRect(Rect(pos, 0, pos + 1, client.Bottom))
                                     : Rect(0, pos, client.Right, pos + 1);
}

void TCustomGrid::MoveSizingLine(int X, int Y) {
    const int before = SizingLine();
    fLastMouse = {X, Y};
    const int after = SizingLine();
    if (after == before) return;
    RepaintGrid(TGridRepaint::Invalidate, SizingLineRect(before), 0, 0);
    RepaintGrid(TGridRepaint::Invalidate, SizingLineRect(after), 0, 0);
}

void TCustomGrid::EndSizing(bool apply) {
    const bool cols = fGridState == gsColSizing;
    const int index = fSizingIndex;
    const int size = (cols ? fColWidths[index] : fRowHeights[index]) + SizingDelta();
    RepaintGrid(TGridRepaint::Invalidate, SizingLineRect(SizingLine()), 0, 0);
    fGridState = gsNormal;
    fSizingIndex = -1;
    if (!apply) return;
    if (cols)
        SetColWidths(index, std::max(size, 1));
    else
        SetRowHeights(index, std::max(size, 1));
}

// ---- moving columns ----

int TCustomGrid::ColumnUnderForMove(const TGridDrawInfo& info, int X) const {
    if (X < info.Horz.FixedBoundary) return fLeftCol;
    const int c = Columns().CellAt(info.Horz, X);
    if (c >= fFixedCols) return c;
    // At or past the grid boundary: the last scrolled column shown.
    int last = fLeftCol;
    Columns().ForEachShown(info.Horz, [&](int cell, int) {
        if (cell >= fFixedCols) last = cell;
    });
    return last;
}

bool TCustomGrid::MoveMarkerPos(const TGridDrawInfo& info, int& x) const {
    int start = 0;
    if (!Columns().CellStart(info.Horz, fMoveDestination, start)) return false;
    // At the border the column will stand against: left of the destination when it moves left,
    // right of it when it moves right.
    x = fMoveDestination > fMoveOrigin ? start + Columns().Advance(fMoveDestination) : start;
    return true;
}

void TCustomGrid::RepaintMoveMarker() {
    const TGridDrawInfo info = CalcDrawInfo();
    int x = 0;
    if (MoveMarkerPos(info, x))
        RepaintGrid(TGridRepaint::Invalidate, MirrorRect(Rect(x - 1, 0, x + 1, info.Vert.GridExtent)), 0, 0);
}

void TCustomGrid::MoveColumnDrag(int X, int Y) {
    auto alive = Watch();
    int origin = fMoveOrigin;
    int destination = ColumnUnderForMove(CalcDrawInfo(), MirrorX(X));
    if (!CheckColumnDrag(origin, destination, {X, Y}) || alive.expired()) return;
    if (origin == fMoveOrigin && destination == fMoveDestination) return;
    RepaintMoveMarker();
    fMoveOrigin = origin;
    fMoveDestination = destination;
    RepaintMoveMarker();
}

void TCustomGrid::EndColumnMove(bool apply, TPoint at) {
    RepaintMoveMarker();
    fGridState = gsNormal;
    int origin = fMoveOrigin;
    int destination = fMoveDestination;
    if (!apply) return;
    auto alive = Watch();
    if (EndColumnDrag(origin, destination, at) && !alive.expired() && origin != destination)
        MoveColumn(origin, destination);
}

// ---- selecting ----

TGridScrollDirections TCustomGrid::OutsideDirections(int X, int Y) const {
    const TGridDrawInfo info = CalcDrawInfo();
    TGridScrollDirections out;
    // Directions count left to right: sdLeft is towards the first columns.
    X = MirrorX(X);
    if (X < info.Horz.FixedBoundary) out.Include(sdLeft);
    if (X >= info.Horz.GridBoundary) out.Include(sdRight);
    if (Y < info.Vert.FixedBoundary) out.Include(sdUp);
    if (Y >= info.Vert.GridBoundary) out.Include(sdDown);
    return out;
}

void TCustomGrid::SelectAt(int X, int Y) {
    if (!OutsideDirections(X, Y).Empty()) {
        // Outside the scrolled cells the timer moves on, one cell per tick.
        fScrollTimer->SetEnabled(true);
        return;
    }
    fScrollTimer->SetEnabled(false);
    const TGridDrawInfo info = CalcDrawInfo();
    const int c = Columns().CellAt(info.Horz, MirrorX(X));
    const int r = Rows().CellAt(info.Vert, Y);
    if (c >= fFixedCols && r >= fFixedRows && (c != fCol || r != fRow)) MoveCurrent(c, r);
}

void TCustomGrid::ScrollTimerTick() {
    const TGridScrollDirections out = OutsideDirections(fLastMouse.X, fLastMouse.Y);
    if (fGridState != gsSelecting || out.Empty()) {
        fScrollTimer->SetEnabled(false);
        return;
    }
    TimedScroll(out);
}

void TCustomGrid::TimedScroll(TGridScrollDirections Direction) {
    int c = fCol + (Direction.Contains(sdRight) ? 1 : 0) - (Direction.Contains(sdLeft) ? 1 : 0);
    int r = fRow + (Direction.Contains(sdDown) ? 1 : 0) - (Direction.Contains(sdUp) ? 1 : 0);
    c = std::clamp(c, fFixedCols, ColCount() - 1);
    r = std::clamp(r, fFixedRows, RowCount() - 1);
    if (c != fCol || r != fRow) MoveCurrent(c, r);
}

// ---- the wheel ----

void TCustomGrid::WheelTurned(int delta, TShiftState shift, TPoint pos) {
    auto alive = Watch();
    fWheelDelta += delta;
    while (fWheelDelta >= kWheelNotch) {
        fWheelDelta -= kWheelNotch;
        DoMouseWheelUp(shift, pos);
        if (alive.expired()) return;
    }
    while (fWheelDelta <= -kWheelNotch) {
        fWheelDelta += kWheelNotch;
        DoMouseWheelDown(shift, pos);
        if (alive.expired()) return;
    }
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    SetTopRow(fTopRow + QApplication::wheelScrollLines());
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    SetTopRow(fTopRow - QApplication::wheelScrollLines());
    return true;
}

}  // namespace tv
