// The data grid's mouse beyond a click: a left press in the data rows dragged past the data area
// scrolls the data on a timer (the farther past, the faster), the current column and record follow
// the mouse while it is dragged (and, with dgMouseTracking, while it merely moves), and the
// check-box cell under the mouse is the hot cell.

#include <algorithm>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/gui/scroll_bar.h"

namespace tv {
namespace {

// The timer's interval for a distance past the data area: 200 ms a pixel away, 15 ms quicker
// for every further pixel, never below 5 ms.
uint32_t MouseScrollInterval(int distance) {
    return static_cast<uint32_t>(std::max(200 - 15 * distance, 5));
}

// A pixel distance past the data area in records: one, and one more for every 5 pixels.
int RecordsFor(int distance) {
    return distance / 5 + 1;
}

}  // namespace

// ---------------------------------------------------------------- the mouse moves

void TXCustomDBGrid::MouseMove(TShiftState Shift, int X, int Y) {
    // A size or move the right button made is the base grid's left-button one.
    if (fRightMoving) Shift = Shift - TShiftState{ssRight} + TShiftState{ssLeft};
    // A title held down is the title's (xdb_grid_titles.cpp).
    if (TitleMouseMove(Shift, X, Y)) return;
    auto alive = Watch();
    if (fScrollTracking) {
        MouseScrollMove(X, Y);
    } else {
        if (fTrackCell.X >= 0)
            SetCellPressed(MouseCoord(X, Y) == fTrackCell);
        else if (!Shift.Contains(ssLeft))
            SetHotCell(MouseCoord(X, Y));
        if (alive.expired()) return;
        if (CanHoverTrack()) HoverStep(X, Y, X != fHoverPos.X, Y != fHoverPos.Y);
        fHoverPos = {X, Y};
    }
    if (alive.expired()) return;
    TCustomGrid::MouseMove(Shift, X, Y);
}

bool TXCustomDBGrid::CanHoverTrack() const {
    const TInplaceEdit* editor = InplaceEditor();
    return fOptionsExt.Contains(dgMouseTracking) && !fOptions.Contains(dgMultiSelect) &&
           !ComponentState().Contains(csDesigning) && GridState() == gsNormal && !(editor && editor->Focused()) &&
           fTrackCell.X < 0 && !fScrollTracking && fDataLink->Active();
}

void TXCustomDBGrid::HoverStep(int X, int Y, bool Horizontal, bool Vertical) {
    if (!fDataLink->Active()) return;
    auto alive = Watch();
    BeginSelect();
    auto body = [&] {
        if (Horizontal && !fOptions.Contains(dgRowSelect)) {
            const int c = MouseCoord(X, Y).X;
            // Only a scrolled column shown whole becomes current: the view does not jump.
            if (c >= TCustomGrid::FixedCols() && c != Col() && c <= CalcDrawInfo().Horz.LastFullVisibleCell)
                SelectColumn(c, 1);
            if (alive.expired()) return;
            HoverSelectColumn();  // xdb_grid_select_mouse.cpp
            if (alive.expired()) return;
        }
        if (Vertical && RowHeight() > 0) {
            // Above the data rows the first one counts, below them the last.
            const int last = ClientHeight() - TotalHeight() - BlankHeight() - 1;
            const int y = std::max(TitleHeight(), std::min(Y, last));
            const int row = (y - TitleHeight()) / RowHeight() + fTitleOffset;
            if (row != Row()) {
                // With multi-selection the rows passed are selected one at a time.
                if (fOptions.Contains(dgMultiSelect) && RowsSelection())
                    HoverSelectRows(row - Row());
                else
                    MoveData(row - Row());
            }
        }
    };
    try {
        body();
    } catch (...) {
        if (!alive.expired()) EndSelect();
        throw;
    }
    if (!alive.expired()) EndSelect();
}

// ---------------------------------------------------------------- mouse scrolling

void TXCustomDBGrid::BeginMouseScrolling(int X, int Y) {
    fScrollTracking = true;
    // A press on the fixed columns (titles) lets the data area begin where the mouse enters it.
    // Horizontal distances count in column order (MirrorX on a mirrored grid).
    fScrollStartPos.X = MirrorX(X) < FixedColsWidth() ? 0 : FixedColsWidth();
    fScrollStartPos.Y = Y < TitleHeight() ? 0 : TitleHeight();
    auto alive = Watch();
    HoverStep(X, Y, true, true);
    if (alive.expired()) return;
    fScrollMousePos = {X, Y};
}

void TXCustomDBGrid::MouseScrollMove(int X, int Y) {
    if (fScrollStartPos.X == 0 && MirrorX(X) >= FixedColsWidth()) fScrollStartPos.X = FixedColsWidth();
    if (fScrollStartPos.Y == 0 && Y >= TitleHeight()) fScrollStartPos.Y = TitleHeight();
    auto alive = Watch();
    HoverStep(X, Y, X != fScrollMousePos.X, Y != fScrollMousePos.Y);
    if (alive.expired() || !fScrollTracking) return;
    if (TPoint{X, Y} == fScrollMousePos) return;
    fScrollMousePos = {X, Y};
    MouseScrollStep();
}

void TXCustomDBGrid::MouseScrollStep() {
    const int x = MirrorX(fScrollMousePos.X);
    const int y = fScrollMousePos.Y;
    int distance = 0;
    auto alive = Watch();
    BeginSelect();
    auto body = [&] {
        const bool rowSelect = fOptions.Contains(dgRowSelect);
        if (x < fScrollStartPos.X || x >= ClientWidth()) {
            const bool left = x < fScrollStartPos.X;
            distance = left ? fScrollStartPos.X - x : x - ClientWidth() + 1;
            if (rowSelect) {
                // A whole row is selected: the view scrolls instead of the current column.
                HorzScrollCommand(left ? scLineUp : scLineDown, 0);
                if (alive.expired()) return;
                HorzScrollCommand(scEndScroll, 0);
            } else {
                SelectColumn(Col() + (left ? -1 : 1), left ? -1 : 1);
            }
            if (alive.expired()) return;
            if (ColsSelection() && fSelectionEndCol >= FixedCols()) SetSelectionEnd(SelectedIndex());
        }
        const int dataBottom = ClientHeight() - TotalHeight();
        if (y < fScrollStartPos.Y) {
            distance = fScrollStartPos.Y - y;
            MoveRecord(true, -RecordsFor(distance));
        } else if (y >= dataBottom) {
            distance = y - dataBottom + 1;
            MoveRecord(true, RecordsFor(distance));
        }
    };
    try {
        body();
    } catch (...) {
        if (!alive.expired()) EndSelect();
        throw;
    }
    if (alive.expired()) return;
    EndSelect();
    if (distance == 0 || !fScrollTracking) {
        fMouseScrollTimer.reset();
        return;
    }
    if (!fMouseScrollTimer) {
        fMouseScrollTimer = std::make_unique<TTimer>();
        fMouseScrollTimer->OnTimer = [this](TObject*) { MouseScrollStep(); };
    }
    fMouseScrollTimer->SetInterval(MouseScrollInterval(distance));
    fMouseScrollTimer->SetEnabled(true);
}

void TXCustomDBGrid::EndMouseScrolling() {
    fMouseScrollTimer.reset();
    fScrollTracking = false;
}

// ---------------------------------------------------------------- check-box cells

void TXCustomDBGrid::SetHotCell(TGridCoord Cell) {
    const bool dataRow = Cell.Y >= fTitleOffset && Cell.Y < RowCount() - fTotalOffset;
    const TXColumn* column = dataRow ? RawToColumn(Cell.X) : nullptr;
    if (!column || !column->IsCheckBox()) Cell = {-1, -1};
    if (Cell == fHotCell) return;
    // Only the themed look draws a hot box differently.
    if (IsGridThemed() && fHotCell.X >= 0) InvalidateCell(fHotCell.X, fHotCell.Y);
    fHotCell = Cell;
    if (IsGridThemed() && Cell.X >= 0) InvalidateCell(Cell.X, Cell.Y);
}

void TXCustomDBGrid::SetCellPressed(bool Pressed) {
    if (Pressed == fCellPressed) return;
    fCellPressed = Pressed;
    if (IsGridThemed() && fTrackCell.X >= 0) InvalidateCell(fTrackCell.X, fTrackCell.Y);
}

void TXCustomDBGrid::EndCellTracking() {
    SetCellPressed(false);
    fTrackCell = {-1, -1};
}

void TXCustomDBGrid::CancelMode() {
    EndCellTracking();
    fDataClick = false;
    fRightMoving = false;
    EndMouseScrolling();
    if (fTitleTrack.Tracking) InvalidateTitle(fTitleTrack.Tracked);
    fTitleTrack = {};
    TCustomGrid::CancelMode();
}

}  // namespace tv
