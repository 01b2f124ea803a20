// The data grid's scrolling: the vertical bar that counts records (xdb_record_bar.h), its
// commands, the reaction to the dataset scrolling the link's buffer (shift the rows on screen or
// paint them again), timed scrolling while a selection is dragged, the wheel (the current record
// keeps its screen row), size changes, the horizontal bar by columns, and the partial repaints.
// The flat scroll-bar mode of the original platform does not exist here: it is always off.

#include <QApplication>
#include <algorithm>
#include <cstdlib>

#include "controls/xdb_grid.h"
#include "controls/xdb_record_bar.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

bool NamesVertical(TScrollStyle style) {
    return style == ssVertical || style == ssBoth;
}

}  // namespace

// ---------------------------------------------------------------- the vertical bar

TRecordBarKind TXCustomDBGrid::RecordBarKind() const {
    if (fOptions.Contains(dgForceSequence)) return TRecordBarKind::ForcedSequence;
    return fDataLink->DataSet()->IsSequenced() ? TRecordBarKind::Sequenced : TRecordBarKind::Unsequenced;
}

void TXCustomDBGrid::UpdateScrollBar() {
    if (!fWindowCreated || BeingDestroyed()) return;
    if (!NamesVertical(fScrollBars)) {
        // No vertical bar: the platform shows an empty one as hidden.
        SetOwnVertScrollInfo({1, 1, 1, 1});
        return;
    }
    if (!fDataLink->Active()) {
        SetOwnVertScrollInfo({});
        return;
    }
    TDataSet* dataSet = fDataLink->DataSet();
    TRecordBarState state;
    const bool forced = fOptions.Contains(dgForceSequence);
    state.Kind = RecordBarKind();
    state.Proportional = NamesVertical(fScrollProp->ThumbBar());
    state.VisibleRows = VisibleDataRowCount();
    state.RecordCount = forced ? fRecCount : dataSet->RecordCount();
    state.RecordNumber = forced ? fRecNumber : dataSet->RecNo();
    state.Browsing = dataSet->State() == dsBrowse || dataSet->State() == dsEdit;
    state.Bof = dataSet->Bof();
    state.Eof = dataSet->Eof();
    const TScrollInfo info = RecordScrollInfo(state, VertScrollInfo());
    if (forced) fRecNumber = state.RecordNumber;
    SetOwnVertScrollInfo(info);
}

void TXCustomDBGrid::UpdateHorzScrollBar() {
    // The base grid keeps the horizontal bar by columns; without the flat mode there is nothing
    // of the grid's own to set.
}

void TXCustomDBGrid::MoveData(int Distance) {
    if (Distance != 0) fDataLink->MoveBy(Distance);
}

void TXCustomDBGrid::VertScrollCommand(TScrollCode Code, int Pos) {
    if (!AcquireFocus() || !fDataLink->Active()) return;
    TDataSet* dataSet = fDataLink->DataSet();
    const bool forced = fOptions.Contains(dgForceSequence);
    const TRecordBarKind kind = forced                   ? TRecordBarKind::ForcedSequence
                                : dataSet->IsSequenced() ? TRecordBarKind::Sequenced
                                                         : TRecordBarKind::Unsequenced;
    const TRecordBarMove move = RecordBarCommand(
        kind, Code, Pos, fDataLink->ActiveRecord(), fDataLink->RecordCount(), VisibleDataRowCount(),
        forced ? fRecCount : dataSet->RecordCount(), fOptions.Contains(dgThumbTracking));
    if (move.Move == TRecordMove::None) return;
    BeginChange();
    fScrollLock += 1000;
    auto done = [&] {
        fScrollLock -= 1000;
        EndChange();
    };
    try {
        switch (move.Move) {
            case TRecordMove::By:
                MoveData(move.Value);
                break;
            case TRecordMove::First:
                dataSet->First();
                break;
            case TRecordMove::Last:
                dataSet->Last();
                break;
            case TRecordMove::ToNumber:
                if (forced)
                    SetRecNumber(move.Value);
                else
                    dataSet->SetRecNo(move.Value);
                break;
            case TRecordMove::None:
                break;
        }
    } catch (...) {
        done();
        throw;
    }
    done();
}

void TXCustomDBGrid::HorzScrollCommand(TScrollCode Code, int Pos) {
    TCustomGrid::HorzScrollCommand(Code, Pos);
    // Total cells run across the column lines: scrolling moves those joins.
    if (!fOptionsEx.Contains(dgTotalColLines) && fOptions.Contains(dgColLines) && !IsGridThemed() &&
        FixedCols() == 0)
        InvalidateTotals();
}

// ---------------------------------------------------------------- the data moved

void TXCustomDBGrid::Scroll(int Distance) {
    if (!fWindowCreated) return;
    const int oldRow = Row();
    if (fDataLink->ActiveRecord() >= RowCount() - fTitleOffset - fTotalOffset) UpdateRowCount();
    UpdateActive();
    if (fOptions.Contains(dgForceSequence)) fRecNumber += Distance + (Row() - oldRow);
    UpdateScrollBar();
    InvalidateGridRow(oldRow);
    InvalidateGridRow(Row());
    bool wholeDataArea = false;
    if (Distance != 0) {
        HideEditor();
        bool tiled = false;
        for (TXColumn* column : fVisibleColumns)
            if (column->ImageDraw() == idTileCol || column->ImageDraw() == idTileGrid) tiled = true;
        if (tiled) {
            InvalidateGrid();
            wholeDataArea = true;
        } else if (std::abs(Distance) > VisibleDataRowCount() || fStripeColor != clNone) {
            // Stripes belong to screen rows: the picture cannot be shifted.
            InvalidateDataRows();
            wholeDataArea = true;
        } else {
            const bool indicator = fOptions.Contains(dgIndicator);
            if (indicator && fSelRow >= 0 && fSelRow < RowCount()) InvalidateCell(0, fSelRow);
            const int h = DefaultRowHeight() + (fOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
            const int top = TitleHeight();
            const int bottom = fTotalOffset > 0 ? top + DataRowsHeight() : ClientHeight();
            ScrollGridRect(Rect(0, top, ClientWidth(), bottom), 0, -h * Distance);
            if (indicator) InvalidateCell(0, Row());
        }
        if (fOptions.Contains(dgAlwaysShowEditor)) ShowEditor();
    }
    TotalsDataChanged(trDataField, nullptr);
    if (!wholeDataArea && fUpdateLock == 0) Update();
}

void TXCustomDBGrid::TimedScroll(TGridScrollDirections Direction) {
    if (fDataLink->Active()) {
        if (Direction.Contains(sdUp)) MoveData(-(fDataLink->ActiveRecord() + 1));
        if (Direction.Contains(sdDown)) MoveData(fDataLink->RecordCount() - fDataLink->ActiveRecord());
    }
    TGridScrollDirections sideways;
    if (Direction.Contains(sdLeft)) sideways.Include(sdLeft);
    if (Direction.Contains(sdRight)) sideways.Include(sdRight);
    if (!sideways.Empty()) TCustomGrid::TimedScroll(sideways);
}

// ---------------------------------------------------------------- the wheel

int TXCustomDBGrid::MouseWheelScrollRows() const {
    if (fWheelScrollRows > 0) return fWheelScrollRows;
    if (fWheelScrollRows == 0) return QApplication::wheelScrollLines();
    return fDataLink->Active() ? fDataLink->BufferCount() : 1;
}

bool TXCustomDBGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    return MouseWheel(true, Shift, MousePos);
}

bool TXCustomDBGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    return MouseWheel(false, Shift, MousePos);
}

bool TXCustomDBGrid::MouseWheel(bool down, TShiftState Shift, TPoint MousePos) {
    fHintPause = 0;
    bool handled = false;
    const TMouseWheelUpDownEvent& event = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (event) event(this, Shift, MousePos, handled);
    // The step counts as handled by the grid whatever happens to it.
    if (handled || !fDataLink->Active()) return true;
    TDataSet* dataSet = fDataLink->DataSet();
    // An appended record nobody has typed into: turning away from it drops it.
    if (dataSet->State() == dsInsert && !dataSet->Modified() && !fDataLink->IsModified()) {
        if (down) {
            if (!fDataLink->Eof()) dataSet->Cancel();
            return true;
        }
        if (fDataLink->Eof()) {
            dataSet->Cancel();
            return true;
        }
    }
    const int rows = MouseWheelScrollRows();
    const int distance = down ? rows : -rows;
    if (!fDoubleBuffered) {
        fDataLink->MoveBy(distance);
        return true;
    }
    dataSet->CheckBrowseMode();
    HideEditor();
    BeginChange();
    DisablePosition();
    bool atEnd = false;
    // The view scrolls under a current row that keeps its screen line, also when the move fails.
    auto release = [&] {
        EnablePosition(true);
        if (atEnd) {
            if (down)
                dataSet->Next();
            else
                dataSet->Prior();
        }
        EndChange();
        if (fOptions.Contains(dgAlwaysShowEditor)) ShowEditor();
    };
    try {
        const int moved = fDataLink->MoveBy(distance);
        if (fOptions.Contains(dgForceSequence)) fRecNumber += moved;
        atEnd = down ? dataSet->Eof() : dataSet->Bof();
    } catch (...) {
        release();
        throw;
    }
    release();
    return true;
}

// ---------------------------------------------------------------- geometry changes

void TXCustomDBGrid::TopLeftChanged() {
    UpdateHorzScrollBar();
    InvalidateTitles();
    TCustomGrid::TopLeftChanged();
    MirrorLeftColumn();
    if (LeftCol() != fLastLeftCol) {
        fLastLeftCol = LeftCol();
        if (OnColumnScroll) OnColumnScroll(this, LeftCol() - fIndicatorOffset);
    }
}

void TXCustomDBGrid::RowHeightsChanged() {
    if (fInvalidateLock > 0) return;
    TCustomGrid::RowHeightsChanged();
    const int left = LeftCol();
    if (TryBeginLayout()) {
        try {
            for (int r = fTitleOffset; r < RowCount() - fTotalOffset; ++r) {
                if (RowHeights(r) == DefaultRowHeight()) continue;
                const int lineHeight = std::max(1, fLineHeight);
                const int lines =
                    std::max(0, RowHeights(r) - RowLineWidth() - lineHeight / 2 - 3) / lineHeight + 1;
                SetLinesCount(lines);
                break;
            }
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
    if (fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll)) SetLeftColumn(left);
    RefreshEditor();
    if (std::abs(DefaultRowHeight() - fLastRowHeight) > GridLineWidth() && fRowCalculated) {
        fLastRowHeight = DefaultRowHeight();
        fRowCalculated = false;
        if (OnRowResize) OnRowResize(this);
    }
}

// ---------------------------------------------------------------- partial repaints

void TXCustomDBGrid::Invalidate() {
    if (fDoubleBuffered || fInvalidateLock == 0) TCustomGrid::Invalidate();
}

void TXCustomDBGrid::InvalidateDataRows() {
    if (!fWindowCreated || RowCount() <= fTitleOffset) return;
    const int last = RowCount() - fTotalOffset - (fOptionsEx.Contains(dgBlankRow) ? 0 : 1);
    InvalidateRect({0, fTitleOffset, ColCount() - 1, std::max(fTitleOffset, last)});
}

void TXCustomDBGrid::InvalidateTitles() {
    if (!fWindowCreated || !fOptions.Contains(dgTitles) || fTitleOffset == 0) return;
    InvalidateRect({0, 0, ColCount() - 1, fTitleOffset - 1});
}

void TXCustomDBGrid::InvalidateTotals() {
    if (!fWindowCreated || fTotalOffset == 0) return;
    int first = RowCount() - fTotalOffset;
    if (!fDoubleBuffered && fOptions.Contains(dgRowLines)) --first;
    InvalidateRect({0, std::max(0, first), ColCount() - 1, RowCount() - 1});
}

void TXCustomDBGrid::InvalidateGridRow(int ARow) {
    if (!fWindowCreated || ARow < 0 || ARow >= RowCount()) return;
    const int first =
        fOptions.Contains(dgIndicator) || fVisibleColumns.empty() ? 0 : ColumnToRaw(fVisibleColumns.front());
    const TRect left = CellRect(std::max(first, 0), ARow);
    const TRect right = CellRect(ColCount() - 1, ARow);
    if (!left.IsEmpty() && !right.IsEmpty())
        ValidateRect(Rect(std::min(left.Left, right.Left), left.Top, std::max(left.Right, right.Right), right.Bottom));
    InvalidateRow(ARow);
}

}  // namespace tv
