// The mouse on the grid's fixed cells: titles that act as buttons (pressed while held, hot under
// the mouse with dgTitleButtons), their expand buttons and header rows, the filler above the
// indicator, the indicator and the total cells; and the clicks each of them reports on release.
// A title click toggles its sort marker first when the grid numbers markers by clicks.

#include <QApplication>
#include <cstdlib>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/gui/panel.h"

namespace tv {

// ---------------------------------------------------------------- where the mouse is

int TXCustomDBGrid::HeaderRowAt(const TXColumn* Column, int Y) const {
    if (!Column || !fOptions.Contains(dgTitleHeaders) || fHeaderRowHeight <= 0) return -1;
    const int count = Column->Title()->HeaderRowCount();
    if (count <= 0 || ColumnToRaw(Column) < 0 || fTitleOffset <= 0) return -1;
    // The header rows stand at the top of the column's own title cell, above its caption.
    const TRect cell =
        ColumnTitleCellRect(const_cast<TXColumn*>(Column), std::min(Column->Depth(), fTitleOffset - 1));
    if (cell.IsEmpty() || Y < cell.Top) return -1;
    const int index = (Y - cell.Top) / fHeaderRowHeight;
    return index < count ? index : -1;
}

bool TXCustomDBGrid::ExpandButtonAt(int X, int Y, TXColumn*& Column) {
    Column = nullptr;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.Y < 0 || cell.Y >= fTitleOffset) return false;
    TXColumn* column = RawToColumn(cell.X);
    if (!column) return false;
    const TXColumnExpandStyle style = column->ExpandStyle();
    if (!((column->Expandable() && style == cesAuto) || style == cesDropDown || style == cesDropDownMenu))
        return false;
    const int arrow = ScrollBarExtent();
    const TRect cellRect = ColumnTitleCellRect(column, std::min(column->Depth(), fTitleOffset - 1));
    TRect button = Rect(cellRect.Left - 1, cellRect.Top - 1, cellRect.Right + 1, cellRect.Bottom + 1);
    if (button.Width() < arrow + 2) return false;
    // At the caption's trailing end: its right, its left on a mirrored grid.
    button = MirrorIn(Rect(button.Right - (arrow + 2), button.Top, button.Right, button.Bottom), button);
    if (!button.Contains({X, Y}) || HeaderRowAt(column, Y) >= 0) return false;
    Column = column;
    return true;
}

bool TXCustomDBGrid::TitlePressedAt(int X, int Y) {
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X != fTitleTrack.Tracked || cell.Y < 0 || cell.Y >= fTitleOffset) return false;
    TXColumn* column = RawToColumn(cell.X);
    if (column && HeaderRowAt(column, Y) >= 0) return false;
    TXColumn* expand = nullptr;
    return !fTitleTrack.OnExpand || ExpandButtonAt(X, Y, expand);
}

void TXCustomDBGrid::InvalidateTitle(int RawCol) {
    if (!fWindowCreated || RawCol < 0 || RawCol >= ColCount() || fTitleOffset == 0) return;
    // A group's title spans its columns.
    TXColumn* column = RawToColumn(RawCol);
    const int last = column && column->Expanded() ? ColumnToRaw(fColumns->Items(column->ExpandIndex())) : RawCol;
    InvalidateRect({RawCol, 0, last, fTitleOffset - 1});
}

void TXCustomDBGrid::SetTitleHot(int RawCol, bool hot, bool onExpand) {
    const int old = fTitleTrack.Hot ? fTitleTrack.Tracked : -1;
    const int now = hot ? RawCol : -1;
    const bool changed = old != now || fTitleTrack.HotExpand != (hot && onExpand);
    fTitleTrack.Hot = hot;
    fTitleTrack.HotExpand = hot && onExpand;
    if (hot || !fTitleTrack.Tracking) fTitleTrack.Tracked = now;
    if (!changed || !fOptions.Contains(dgHotButtons)) return;
    InvalidateTitle(old);
    if (now != old) InvalidateTitle(now);
}

// ---------------------------------------------------------------- press, move, release

bool TXCustomDBGrid::TitleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TGridCoord cell = MouseCoord(X, Y);
    const bool fixedArea = cell.X >= 0 && cell.Y >= 0 &&
                           (cell.Y < fTitleOffset || cell.Y >= RowCount() - fTotalOffset || cell.X < fIndicatorOffset);
    fTitleTrack.Press = fixedArea ? cell : TGridCoord{-1, -1};
    fTitleTrack.Tracking = fTitleTrack.Pressed = fTitleTrack.OnExpand = false;
    if (cell.X >= 0 && cell.Y >= RowCount() - fTotalOffset && fDataLink->Active()) {
        // The total area is no place for the current cell: the press is only reported.
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return true;
    }
    if (cell.X < 0 || cell.Y < 0 || cell.Y >= fTitleOffset) return false;
    if (!fOptions.Contains(dgTitleButtons) || Button != mbLeft) return false;
    if (Shift.Contains(ssShift) && fOptions.Contains(dgMultiSelect) && fDataLink->Active()) return false;
    if (SizingColumnAt(X, Y)) return false;
    SetTitleHot(-1, false, false);
    fTitleTrack.Tracked = cell.X;
    TXColumn* column = RawToColumn(cell.X);
    TXColumn* expand = nullptr;
    const bool onExpand = ExpandButtonAt(X, Y, expand);
    const bool button = column ? (column->Title()->Button() || onExpand) && HeaderRowAt(column, Y) < 0
                               : cell.X < fIndicatorOffset && fFillerButton;
    if (button) {
        fTitleTrack.Tracking = true;
        fTitleTrack.OnExpand = onExpand;
        fTitleTrack.PressXY = {X, Y};
        fTitleTrack.Pressed = TitlePressedAt(X, Y);
        InvalidateTitle(cell.X);
        fDataLink->UpdateRecord();
        RefreshEditor();
        return true;
    }
    return fOptions.Contains(dgRightMoving);
}

bool TXCustomDBGrid::TitleMouseMove(TShiftState Shift, int X, int Y) {
    if (fTitleTrack.Tracking) {
        const int raw = fTitleTrack.Tracked;
        const bool movable = fOptions.Contains(dgColumnResize) && !fOptions.Contains(dgRightMoving) &&
                             fResizeOptions.Contains(roColumnMoving) && raw >= TCustomGrid::FixedCols() &&
                             !fTitleTrack.OnExpand;
        if (movable && std::abs(X - fTitleTrack.PressXY.X) > QApplication::startDragDistance()) {
            // Dragged off: the title stops being a button and the base grid moves the column.
            fTitleTrack.Tracking = fTitleTrack.Pressed = false;
            InvalidateTitle(raw);
            fTitleTrack.Tracked = -1;
            TCustomGrid::MouseDown(mbLeft, TShiftState{ssLeft}, fTitleTrack.PressXY.X, fTitleTrack.PressXY.Y);
            return false;
        }
        // Dragged with multi-selection: a column selection (xdb_grid_select_mouse.cpp).
        if (TitleDragSelects(X, Y)) return true;
        const bool pressed = TitlePressedAt(X, Y);
        if (pressed != fTitleTrack.Pressed) {
            fTitleTrack.Pressed = pressed;
            InvalidateTitle(raw);
        }
        return true;
    }
    if (Shift.Contains(ssLeft) || GridState() != gsNormal) return false;
    // A title is hot under the mouse when a click on it would press it.
    const TGridCoord cell = MouseCoord(X, Y);
    bool hot = false;
    bool onExpand = false;
    if (fOptions.Contains(dgTitleButtons) && cell.X >= 0 && cell.Y >= 0 && cell.Y < fTitleOffset) {
        TXColumn* expand = nullptr;
        onExpand = ExpandButtonAt(X, Y, expand);
        if (TXColumn* column = RawToColumn(cell.X))
            hot = (column->Title()->Button() || onExpand) && HeaderRowAt(column, Y) < 0;
        else
            hot = cell.X < fIndicatorOffset && fFillerButton;
        if (hot && SizingColumnAt(X, Y)) hot = false;
    }
    SetTitleHot(cell.X, hot, onExpand);
    return false;
}

bool TXCustomDBGrid::FixedCellMouseUp(TShiftState Shift, int X, int Y, const TTitleTrack& track, bool dataClick) {
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0) return false;
    const int totalStart = RowCount() - fTotalOffset;
    const bool titleRow = cell.Y < fTitleOffset;
    const bool totalRow = cell.Y >= totalStart;
    const bool indicator = cell.X < fIndicatorOffset;
    if (!titleRow && !totalRow && !indicator) return false;
    TXColumn* column = RawToColumn(cell.X);
    if (totalRow) {
        // A total row from 0 after the blank row; the blank row itself reports nothing.
        if (track.Press != cell || cell.Y == totalStart) return true;
        if (indicator)
            IndicatorClick();
        else if (column)
            TotalClick(column, cell.Y - totalStart - 1);
        return true;
    }
    if (!titleRow) {
        if (dataClick) IndicatorClick();
        return true;
    }
    if (track.Press.X != cell.X || track.Press.Y < 0 || track.Press.Y >= fTitleOffset) return true;
    const int header = column ? HeaderRowAt(column, Y) : -1;
    auto toggleAndClick = [&] {
        TXColumnTitle* title = column->Title();
        if (fOptions.Contains(dgMarkerAutoToggle) && title->AutoToggle()) {
            auto alive = Watch();
            title->ToggleMarker(!Shift.Contains(ssCtrl));
            if (alive.expired()) return;
        }
        TitleClick(column);
    };
    TXColumn* expand = nullptr;
    const bool onExpand = ExpandButtonAt(X, Y, expand);
    if (fOptions.Contains(dgTitleButtons)) {
        if (track.Tracked != cell.X) return true;
        if (!column) {
            if (track.Tracking) FillerClick();
        } else if (header >= 0) {
            if (!track.Tracking) HeaderClick(column, header);
        } else if (track.Tracking) {
            if (!track.OnExpand)
                toggleAndClick();
            else if (onExpand)
                ExpandClick(column);
        }
        return true;
    }
    if (!column)
        FillerClick();
    else if (header >= 0)
        HeaderClick(column, header);
    else if (onExpand)
        ExpandClick(column);
    else if (!(Shift.Contains(ssShift) && fOptions.Contains(dgMultiSelect)))
        toggleAndClick();
    return true;
}

// ---------------------------------------------------------------- the look of a title button

THotButtons TXCustomDBGrid::GetHotButtons() const {
    if (fHotButtons != hbAuto) return fHotButtons;
    static constexpr THotButtons kByFixedStyle[] = {hbBump,    hbBump,    hbRaised, hbRaised,
                                                    hbLowered, hbLowered, hbTile,   hbTile};
    return kByFixedStyle[fFixedStyle];
}

void TXCustomDBGrid::DrawTitleButtonFrame(int ACol, const TRect& ARect) {
    const TTitleTrack& t = fTitleTrack;
    // Themed titles show their state in the element; a gradient with hot tracking in its faces.
    if (ACol != t.Tracked || FixedCellsThemed() || (fGradient->IsActive() && fGradient->Options().Contains(goHotTrack)))
        return;
    const bool pressed = t.Tracking && t.Pressed;
    const bool hot = t.Hot && fOptions.Contains(dgHotButtons);
    if (!pressed && !hot) return;
    TRect r = ARect;
    if (TXColumn* column = RawToColumn(ACol)) {
        // Not over the header rows; only the expand button's square when that is what is hot
        // or held.
        if (fOptions.Contains(dgTitleHeaders)) r.Top += column->Title()->HeaderRowCount() * fHeaderRowHeight;
        if (pressed ? t.OnExpand : t.HotExpand)
            r = MirrorIn(Rect(std::max(r.Left, r.Right - (ScrollBarExtent() + 2)), r.Top, r.Right, r.Bottom), r);
    }
    if (r.IsEmpty()) return;
    TCanvas* canvas = Canvas();
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    const bool plainStyle = fFixedStyle == fsDefault || fFixedStyle == fsNice || fFixedStyle == fsFlat;
    if (pressed) {
        if (bothLines && plainStyle) {
            TRect outer = Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
            DrawEdge(canvas, outer, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        }
        DrawEdge(canvas, r, BDR_SUNKENINNER, BF_RECT);
        return;
    }
    switch (GetHotButtons()) {
        case hbBump:
            DrawEdge(canvas, r, EDGE_BUMP, BF_RECT);
            break;
        case hbTile: {
            TRect tile = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
            DrawEdge(canvas, tile, EDGE_ETCHED, BF_RECT);
            break;
        }
        case hbLowered:
            DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT);
            break;
        case hbRaised:
            if (fFixedStyle == fsFine) {
                TRect edge = r;
                DrawEdge(canvas, edge, EDGE_RAISED, BF_TOPLEFT);
                TRect outer = Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
                DrawEdge(canvas, outer, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            } else if (fFixedStyle == fsMild) {
                TRect grown = Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
                DrawEdge(canvas, grown, BDR_RAISEDINNER, BF_RECT);
            } else if (fFixedStyle > fsSoft) {
                DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT);
            } else {
                DrawEdge(canvas, r, EDGE_RAISED, BF_RECT);
            }
            break;
        case hbAuto:
        case hbNone:
            break;
    }
}

// ---------------------------------------------------------------- the click hooks

void TXCustomDBGrid::TitleClick(TXColumn* Column) {
    if (OnTitleClick) OnTitleClick(Column);
}

void TXCustomDBGrid::HeaderClick(TXColumn* Column, int Index) {
    if (OnHeaderClick) OnHeaderClick(Column, Index);
}

void TXCustomDBGrid::IndicatorClick() {
    if (OnIndicatorClick) OnIndicatorClick(this);
}

void TXCustomDBGrid::TotalClick(TXColumn* Column, int Index) {
    if (OnTotalClick) OnTotalClick(Column, Index);
}

void TXCustomDBGrid::FillerClick() {
    if (fFillerPopupMenu && fFillerIndex == -7) {
        DropDownMenu(nullptr, true);
        return;
    }
    if (OnFillerClick) OnFillerClick(this);
}

void TXCustomDBGrid::ExpandClick(TXColumn* Column) {
    switch (Column->ExpandStyle()) {
        case cesAuto:
            Column->SetExpanded(!Column->Expanded());
            return;
        case cesNone:
            return;
        case cesDropDownMenu:
            if (DropDownMenu(Column, true)) return;
            break;
        case cesDropDown:
            break;
    }
    if (OnExpandClick) OnExpandClick(Column);
}

}  // namespace tv
