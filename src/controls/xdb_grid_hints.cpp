// The data grid's hints and tool tips (docs/data-grid.md): the hint query the toolkit's tool-tip
// event starts, in five stages (total tool tips, total hints, title hints, data tool tips, data
// hints), the hint-pause states, and leaving the window. The hint manager (xdb_grid_hints.h) times
// the windows.

#include <QAbstractScrollArea>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <algorithm>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_hints.h"
#include "platform/data/field.h"
#include "platform/gui/application.h"
#include "platform/gui/image_list.h"
#include "platform/gui/screen.h"

namespace tv {

namespace {

bool IsWideTextMemo(const TField* field) {
    return field && (field->DataType() == TFieldType::ftMemo || field->DataType() == TFieldType::ftWideMemo);
}

// Grows a cell rectangle by the grid lines right of and below it.
TRect WithLines(TRect r, int colLine, int rowLine) {
    r.Right += colLine;
    r.Bottom += rowLine;
    return r;
}

}  // namespace

TXHintManager* TXCustomDBGrid::HintManager() {
    if (!fHintManager)
        fHintManager = std::make_unique<TXHintManager>(
            *this, [this](TPoint pos, THintInfo& info) { return HintQuery(pos, info); },
            [this](int pause) { return HintShowPause(pause); });
    return fHintManager.get();
}

int TXCustomDBGrid::HintShowPause(int Pause) const {
    if (fHintPause == 1) return Application().HintShortPause();
    if (fHintPause == 2) return Application().HintPause();
    return Pause;
}

TPoint TXCustomDBGrid::ClientToScreenPoint(TPoint P) const {
    auto* area = qobject_cast<QAbstractScrollArea*>(Widget());
    if (!area) return ClientToScreen(P);
    const QPoint g = area->viewport()->mapToGlobal(QPoint(P.X, P.Y));
    return {g.x(), g.y()};
}

void TXCustomDBGrid::SetCellHintText(const std::string& Text) {
    // The grid's Hint follows the hinted cell; MainHint keeps what the program assigned.
    TCustomGrid::SetHint(Text);
}

// ---------------------------------------------------------------- the query

int TXCustomDBGrid::HintQuery(TPoint Pos, THintInfo& Info) {
    THintInfo hi = Info;
    hi.HintStr = fMainHint;
    hi.CursorPos = Pos;
    hi.HintPos = ClientToScreenPoint({Pos.X, Pos.Y + 16});
    const TGridCoord cell = MouseCoord(Pos.X, Pos.Y);
    const int clientHeight = ClientHeight();
    const bool totals = fTotals->Visible();
    const bool onGrid = cell.X >= 0 && cell.Y >= 0;
    const bool totalCell = onGrid && fTotalOffset > 0 && cell.Y > RowCount() - fTotalOffset;
    const bool titleCell = onGrid && cell.Y < fTitleOffset;
    const bool dataRow = onGrid && cell.Y >= fTitleOffset && cell.Y < RowCount() - fTotalOffset;
    const bool dataColumn = cell.X >= fIndicatorOffset;
    const int totalIndex = cell.Y - (RowCount() - fTotalOffset) - 1;
    const TXHintOptions o = fHintOptions;
    int result = 0;
    auto done = [&] {
        Info = hi;
        return result;
    };

    // 1. Total tool tips.
    if (totals && o.Contains(hoShowTotalToolTips)) {
        fHintPause = 1;
        const bool goOn = !(o * TXHintOptions{hoTitleHints, hoShowToolTips, hoDataHints, hoTotalHints}).Empty();
        if (totalCell && dataColumn) {
            if (TotalToolTip(cell, totalIndex, hi, result)) return done();
        } else if (Pos.Y > clientHeight - TotalHeight()) {
            result = 1;
        } else if (!goOn) {
            hi.CursorRect.Bottom = clientHeight - TotalHeight();
        }
        if (!goOn) return done();
    }
    // 2. Total hints.
    if (totals && o.Contains(hoTotalHints)) {
        fHintPause = 2;
        if (totalCell) {
            TotalHint(cell, totalIndex, hi, result);
            return done();
        }
        if (Pos.Y > clientHeight - TotalHeight()) {
            result = 1;
            return done();
        }
        if ((o * TXHintOptions{hoTitleHints, hoShowToolTips, hoDataHints}).Empty()) {
            hi.CursorRect.Bottom = clientHeight - TotalHeight();
            return done();
        }
    }
    // 3. Title hints.
    if (fOptions.Contains(dgTitles) && o.Contains(hoTitleHints)) {
        fHintPause = 2;
        if (titleCell) {
            TitleHint(cell, Pos, hi, result);
            return done();
        }
        if (Pos.Y < TitleHeight()) {
            result = 1;
            return done();
        }
        if (!o.Contains(hoShowToolTips) && !o.Contains(hoDataHints)) {
            hi.CursorRect.Top = TitleHeight();
            return done();
        }
    }
    // 4. Data tool tips.
    if (o.Contains(hoShowToolTips)) {
        fHintPause = 1;
        const bool goOn = o.Contains(hoDataHints);
        if (dataRow && dataColumn) {
            if (DataToolTip(cell, hi, result)) return done();
        } else if (Pos.Y >= TitleHeight()) {
            result = 1;
        } else if (!goOn) {
            hi.CursorRect.Bottom = TitleHeight();
        }
        if (!goOn) return done();
    }
    // 5. Data hints.
    if (o.Contains(hoDataHints)) {
        fHintPause = 2;
        if (dataRow)
            DataHint(cell, hi, result);
        else if (Pos.Y < TitleHeight())
            hi.CursorRect.Bottom = TitleHeight();
        else
            result = 1;
        return done();
    }
    // 6. No stage kept the hint: the main hint.
    SetCellHintText(fMainHint);
    fHintPause = 0;
    return done();
}

// ---------------------------------------------------------------- the stages' hints

void TXCustomDBGrid::FinishCellHint(TXColumn* Column, int Index, THintCell Kind, std::string Text, bool Show,
                                    THintInfo& Info, int& Result) {
    CellHint(Column, Index, Kind, Text);
    Result = Show ? 0 : 1;
    fHintPause = Show ? 2 : 1;
    Info.HintStr = Text;
    SetCellHintText(Text);
}

void TXCustomDBGrid::TitleHint(TGridCoord Cell, TPoint Pos, THintInfo& Info, int& Result) {
    const int colLine = ColLineWidth();
    const int rowLine = RowLineWidth();
    const bool show = fHintOptions.Contains(hoShowTitleHints);
    if (Cell.X < fIndicatorOffset) {
        Info.CursorRect = WithLines(CellRect(Cell.X, 0), colLine, rowLine);
        Info.CursorRect.Bottom = CellRect(Cell.X, fTitleOffset - 1).Bottom + rowLine;
        FinishCellHint(nullptr, 0, hcFiller, fFillerHint, show, Info, Result);
        return;
    }
    TXColumn* column = ColumnAtDepth(RawToColumn(Cell.X), Cell.Y);
    if (!column) return;
    // The whole title of the column at that depth: a group's spans its columns, a leaf's the title
    // rows below it; the single cell under the mouse may be none of it.
    const int depth = std::min(column->Depth(), fTitleOffset - 1);
    Info.CursorRect = WithLines(ColumnTitleRect(column, depth), colLine, rowLine);
    TXColumnTitle* title = column->Title();
    const int level = HeaderRowAt(column, Pos.Y);
    if (level >= 0) {
        // A header row shared with the neighbours: the part of it on screen.
        const TRect header = HeaderRowRect(column, level, ColumnTitleCellRect(column, depth)).Visible;
        Info.CursorRect = WithLines(header, colLine, rowLine);
        std::string text = title->HeaderHintText(level);
        if (text.empty()) text = title->HeaderText(level);
        FinishCellHint(column, level, hcHeader, std::move(text), show, Info, Result);
        return;
    }
    if (fOptions.Contains(dgTitleHeaders)) Info.CursorRect.Top += title->HeaderRowCount() * fHeaderRowHeight;
    std::string text = title->Hint().empty() ? title->Caption() : title->Hint();
    FinishCellHint(column, 0, hcTitle, std::move(text), show, Info, Result);
}

void TXCustomDBGrid::TotalHint(TGridCoord Cell, int Index, THintInfo& Info, int& Result) {
    Info.CursorRect = WithLines(CellRect(Cell.X, Cell.Y), ColLineWidth(), RowLineWidth());
    const bool show = fHintOptions.Contains(hoShowTotalHints);
    if (Cell.X < fIndicatorOffset) {
        FinishCellHint(nullptr, 0, hcIndicator, fIndicatorHint, show, Info, Result);
        return;
    }
    TXColumn* column = RawToColumn(Cell.X);
    TTotalHint total;
    std::string text;
    if (column && TotalHintOf(column, Index, total)) text = total.Hint.empty() ? total.Text : total.Hint;
    FinishCellHint(column, Index, hcTotal, std::move(text), show, Info, Result);
}

void TXCustomDBGrid::DataHint(TGridCoord Cell, THintInfo& Info, int& Result) {
    Info.CursorRect = WithLines(CellRect(Cell.X, Cell.Y), ColLineWidth(), RowLineWidth());
    const bool show = fHintOptions.Contains(hoShowDataHints);
    if (Cell.X < fIndicatorOffset) {
        FinishCellHint(nullptr, 0, hcIndicator, fIndicatorHint, show, Info, Result);
        return;
    }
    TXColumn* column = RawToColumn(Cell.X);
    if (!column) return;
    std::string text = column->Hint().empty() ? HintCellText(column, Cell.Y - fTitleOffset) : column->Hint();
    FinishCellHint(column, 0, hcData, std::move(text), show, Info, Result);
}

std::string TXCustomDBGrid::HintCellText(TXColumn* Column, int DataRow) {
    if (!fDataLink->Active()) return {};
    const int old = fDataLink->ActiveRecord();
    std::string text;
    fDataLink->SetActiveRecord(DataRow);
    try {
        text = Column->DisplayText();
    } catch (...) {
        fDataLink->SetActiveRecord(old);
        throw;
    }
    fDataLink->SetActiveRecord(old);
    return text;
}

// ---------------------------------------------------------------- tool tips

TAlignment TXCustomDBGrid::HintAlignment(TAlignment Alignment, bool MayMirror) const {
    if (fBiDiMode != bdRightToLeft || !MayMirror || Alignment == taCenter) return Alignment;
    return Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
}

void TXCustomDBGrid::LayToolTip(const TRect& Cell, TVAlignment VAlignment, int Margin, int GraphicShift,
                                THintInfo& Info, int& Result) {
    TXHintWindow measure;
    const TRect hint = measure.CalcHintRect(Info.HintMaxWidth, Info.HintStr, &Info.HintData);
    const TAlignment alignment = Info.HintData.Alignment;
    TPoint at{Cell.Left, Cell.Top};
    if (alignment == taRightJustify) {
        at.X = Cell.Right - hint.Width() + 1;
    } else if (alignment == taCenter) {
        at.X = Cell.Left + Cell.Width() / 2 - hint.Width() / 2 + 1;
        if (fBiDiMode == bdRightToLeft) --at.X;
    }
    const int spare = std::max(0, Cell.Height() - hint.Height() - 2);
    if (VAlignment == tvBottomJustify)
        at.Y += spare;
    else if (VAlignment == tvCenter)
        at.Y += spare / 2;
    at.X -= 1;
    at.Y -= 1;
    if (Info.HintData.FixedWidth) at.X -= alignment == taCenter ? GraphicShift / 2 : alignment == taLeftJustify ? GraphicShift : 0;
    Info.HintPos = ClientToScreenPoint(at);
    Info.ToolTipWindow = true;
    Info.CursorRect = WithLines(Cell, ColLineWidth(), RowLineWidth());
    Info.HideTimeout = fHintOptions.Contains(hoKeepShowToolTips) ? kHintNeverHides
                                                                  : 2 * Application().HintHidePause();
    if (fHintOptions.Contains(hoAlwaysShowToolTips) ||
        ToolTipNeeded(alignment, Margin, hint.Width(), hint.Height(), Cell.Width(), Cell.Height(), RowLineWidth()))
        Result = 0;
}

bool TXCustomDBGrid::DataToolTip(TGridCoord Cell, THintInfo& Info, int& Result) {
    Result = 1;
    TXColumn* column = RawToColumn(Cell.X);
    if (!column || !column->ToolTips()) return false;
    TField* field = column->Field();
    const bool picture = field && field->DataType() == TFieldType::ftGraphic && column->ShowBlob();
    const bool glyph = (column->CheckBox() || column->Images()) && !column->Wallpaper();
    std::string text;
    if (!(picture || glyph) || fHintOptions.Contains(hoAllowForGraphics))
        text = HintCellText(column, Cell.Y - fTitleOffset);
    if (text.empty()) return true;
    const TAlignment alignment = HintAlignment(column->Alignment(), !column->AutoNumber());
    const bool fixed = column->ToolTipsWidth() == ttFixedWidth ||
                       (field && (column->ShowBlob() || field->OnGetText) && IsWideTextMemo(field));
    if (fixed || (column->WordWrap() && fLinesCount > 1))
        Info.HintMaxWidth = std::max(1, column->Width() - DataCellMargin(alignment) - (fixed ? 2 : 0));
    else
        Info.HintMaxWidth = Screen().Width() - 6;
    Info.HintStr = text;
    Info.HintData = {column->Font(), alignment, fixed, fBiDiMode != bdLeftToRight};
    LayToolTip(CellRect(Cell.X, Cell.Y), column->VAlignment(), DataCellMargin(alignment), 0, Info, Result);
    return true;
}

bool TXCustomDBGrid::TotalToolTip(TGridCoord Cell, int Index, THintInfo& Info, int& Result) {
    TXColumn* column = RawToColumn(Cell.X);
    TTotalHint total;
    if (!column || !TotalHintOf(column, Index, total) || !total.ToolTips) return false;
    Result = 1;
    if (total.Text.empty()) return true;
    int m = fGridStyle->TotalColMargin() + 1;
    if (!fOptionsEx.Contains(dgTotalColLines) && fOptions.Contains(dgColLines) && !IsGridThemed()) --m;
    const int v = (fGridStyle->TotalRowSpace() - 4) / 2;
    TImageList* images = fTotals->Images();
    const int g = images && total.ImageIndex >= 0 && total.ImageIndex < images->Count() ? images->Width() + 2 : 0;
    const TAlignment alignment = HintAlignment(total.Alignment, true);
    const bool fixed = total.ToolTipsWidth == ttFixedWidth;
    if (fixed || (total.WordWrap && fTotals->LinesCount() > 1))
        Info.HintMaxWidth =
            std::max(1, column->Width() - 2 * m - g - TotalCellMargin(alignment) - (fixed ? 2 : 0));
    else
        Info.HintMaxWidth = Screen().Width() - 6;
    Info.HintStr = total.Text;
    Info.HintData = {total.Font ? total.Font : column->Font(), alignment, fixed, fBiDiMode != bdLeftToRight};
    TRect r = CellRect(Cell.X, Cell.Y);
    r = Rect(r.Left + m + g, r.Top + v, r.Right - m, r.Bottom - v);
    LayToolTip(r, total.VAlignment, TotalCellMargin(alignment), g, Info, Result);
    return true;
}

// ---------------------------------------------------------------- the toolkit's events

bool TXCustomDBGrid::HintEvent(QEvent* e, bool viewport) {
    switch (e->type()) {
        case QEvent::ToolTip: {
            // The grid draws its own hints: the toolkit's tool tip never shows.
            if (viewport) {
                const QPoint p = static_cast<QHelpEvent*>(e)->pos();
                HintManager()->ToolTipRequested({p.x(), p.y()});
            }
            e->accept();
            return true;
        }
        case QEvent::MouseMove:
            if (viewport && fHintManager) {
                const QPointF p = static_cast<QMouseEvent*>(e)->position();
                fHintManager->MouseMoved({static_cast<int>(p.x()), static_cast<int>(p.y())});
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            if (fHintManager) fHintManager->Cancel();
            break;
        case QEvent::Leave:
            if (!viewport) MouseLeft();
            break;
        default:
            break;
    }
    return false;
}

void TXCustomDBGrid::MouseLeft() {
    SetCellHintText(fMainHint);
    fHintPause = 0;
    SetTitleHot(-1, false, false);
    SetHotCell({-1, -1});
    if (fHintManager) fHintManager->Cancel();
}

}  // namespace tv
