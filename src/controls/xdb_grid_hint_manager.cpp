// The hint manager (xdb_grid_hints.h): when the data grid's hints show and hide, on the timer
// clock, and the fit test of tool tips.

#include "controls/xdb_grid_hints.h"

#include "platform/gui/application.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/gui/win_control.h"

namespace tv {

int DataCellMargin(TAlignment Alignment) {
    switch (Alignment) {
        case taLeftJustify:
            return 2;
        case taRightJustify:
            return 3;
        default:
            return 0;
    }
}

int TotalCellMargin(TAlignment Alignment) {
    return Alignment == taRightJustify ? 4 : 3;
}

bool ToolTipNeeded(TAlignment Alignment, int Margin, int HintWidth, int HintHeight, int CellWidth, int CellHeight,
                   int RowLineWidth) {
    const int slack = Alignment == taCenter ? 1 : 0;
    return Margin + HintWidth - CellWidth - 6 > slack || RowLineWidth + HintHeight - CellHeight + 1 > 0;
}

TXHintManager::TXHintManager(TWinControl& Owner, TQuery Query, TPauseQuery PauseQuery)
    : fOwner(Owner), fQuery(std::move(Query)), fPauseQuery(std::move(PauseQuery)) {}

TXHintManager::~TXHintManager() = default;

bool TXHintManager::Showing() const {
    return fWindow && fWindow->Visible();
}

bool TXHintManager::Pausing() const {
    return fPauseTimer && fPauseTimer->Enabled();
}

void TXHintManager::ToolTipRequested(TPoint Pos) {
    fLastPos = Pos;
    // The place was answered already (shown, hidden by time, or no hint), or a pause runs.
    if (Pausing() || fValidRect.Contains(Pos)) return;
    Query(Pos);
}

void TXHintManager::MouseMoved(TPoint Pos) {
    fLastPos = Pos;
    if (fValidRect.Contains(Pos)) return;
    fValidRect = {};
    if (!Showing()) return;
    // A hint follows another after the pause the control asks for.
    Hide();
    if (!fPauseTimer) {
        fPauseTimer = std::make_unique<TTimer>();
        fPauseTimer->OnTimer = [this](TObject*) {
            fPauseTimer->SetEnabled(false);
            Query(fLastPos);
        };
    }
    fPauseTimer->SetEnabled(false);
    fPauseTimer->SetInterval(static_cast<uint32_t>(std::max(1, fPauseQuery(Application().HintShortPause()))));
    fPauseTimer->SetEnabled(true);
}

void TXHintManager::Cancel() {
    Hide();
    if (fPauseTimer) fPauseTimer->SetEnabled(false);
    fValidRect = {};
}

void TXHintManager::Query(TPoint Pos) {
    THintInfo info;
    info.CursorPos = Pos;
    info.CursorRect = fOwner.ClientRect();
    info.HintMaxWidth = Screen().Width();
    info.HideTimeout = Application().HintHidePause();
    const int result = fQuery(Pos, info);
    fValidRect = info.CursorRect;
    if (result == 0 && !info.HintStr.empty())
        Show(info);
    else
        Hide();
}

void TXHintManager::Show(const THintInfo& Info) {
    if (!fWindow) fWindow = std::make_unique<TXHintWindow>();
    TRect r = fWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.ToolTipWindow ? &Info.HintData : nullptr);
    r = Rect(Info.HintPos.X, Info.HintPos.Y, Info.HintPos.X + r.Width(), Info.HintPos.Y + r.Height());
    fWindow->ActivateHint(r, Info.HintStr);
    fShown = Info;
    if (fHideTimer) fHideTimer->SetEnabled(false);
    if (Info.HideTimeout <= 0 || Info.HideTimeout == kHintNeverHides) return;
    if (!fHideTimer) {
        fHideTimer = std::make_unique<TTimer>();
        fHideTimer->OnTimer = [this](TObject*) {
            Hide();
        };
    }
    fHideTimer->SetInterval(static_cast<uint32_t>(Info.HideTimeout));
    fHideTimer->SetEnabled(true);
}

void TXHintManager::Hide() {
    if (fHideTimer) fHideTimer->SetEnabled(false);
    if (fWindow) fWindow->ReleaseHandle();
    fShown = {};
}

}  // namespace tv
