#include "controls/xdb_popup_pick_list.h"

#include <QAbstractScrollArea>
#include <QWheelEvent>
#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/gui/timer_clock.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/text_compare.h"

namespace tv {

const TClassInfo& TXPopupPickList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXPopupPickList>("TXPopupPickList").Build();
    return info;
}

TXPopupPickList::TXPopupPickList(TComponent* AOwner) : TXPopup<TCustomListBox>(AOwner) {
    SetCtl3D(false);
    SetTabStop(false);
    SetVisible(false);
    // Hot tracking: the pointer chooses the item it is over without a button held.
    static_cast<QAbstractScrollArea*>(Widget())->viewport()->setMouseTracking(true);
}

bool TXPopupPickList::KeyPress(char16_t& Key) {
    if (!TXPopup<TCustomListBox>::KeyPress(Key)) return false;
    if (Key == 8 || Key == 27) {
        fSearchText.clear();
        return true;
    }
    if (Key < 32) return true;
    const uint32_t now = GetTickCount();
    if (now - fSearchTickCount > kSearchResetMs) fSearchText.clear();
    fSearchTickCount = now;
    // Characters, not bytes, are counted.
    if (Utf8ToUtf16(fSearchText).size() < kSearchMaxLength) AppendUtf8(fSearchText, Key);
    TStrings* items = Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (AnsiStartsText(fSearchText, items->Strings(i))) {
            SetItemIndex(i);
            break;
        }
    }
    return false;
}

void TXPopupPickList::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomListBox::MouseMove(Shift, X, Y);
    const int index = ItemAtPos({X, Y}, true);
    if (index >= 0 && index != ItemIndex()) SetItemIndex(index);
}

void TXPopupPickList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto alive = Watch();
    TCustomListBox::MouseUp(Button, Shift, X, Y);
    if (alive.expired() || Button != mbLeft) return;
    DoCloseUp(ClientRect().Contains({X, Y}));
}

void TXPopupPickList::DrawItem(int Index, TRect Rect, uint8_t State) {
    TXCustomDBGrid* grid = Grid();
    if (!grid || OnDrawItem || Style() == lbStandard) return TCustomListBox::DrawItem(Index, Rect, State);
    TCanvas* canvas = Canvas();
    TRect item = Rect;
    --item.Bottom;
    if (State & odSelected) {
        auto either = [](TColor c, TColor fallback) { return c == clDefault || c == clNone ? fallback : c; };
        if (grid->Options().Contains(dgRowSelect) || grid->SelectRowColor() == clNone) {
            canvas->Brush()->SetColor(either(grid->SelectCellColor(), grid->DefaultSelectCellColor()));
            const TColor text = grid->HighlightText();
            canvas->Font()->SetColor(text == clDefault ? grid->DefaultHighlightText()
                                     : text == clNone  ? Font()->Color()
                                                       : text);
        } else {
            canvas->Brush()->SetColor(either(grid->SelectRowColor(), grid->DefaultSelectRowColor()));
        }
    }
    canvas->FillRect(item);
    const std::string text = Items()->Strings(Index);
    canvas->TextRect(item, item.Left + 2, item.Top + (item.Height() - canvas->TextHeight(text)) / 2, text);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(grid->DefaultDataLineColor());
    canvas->MoveTo(Rect.Left, Rect.Bottom - 1);
    canvas->LineTo(Rect.Right, Rect.Bottom - 1);
    if (ItemHeight() > 0 && Items()->Count() > ClientHeight() / ItemHeight()) {
        // Along the edge the scroll bar stands at: the left one in a mirrored grid's list.
        const int x = grid->UseRightToLeftAlignment() ? Rect.Left : Rect.Right - 1;
        canvas->Pen()->SetColor(grid->FixedLineColor());
        canvas->MoveTo(x, Rect.Top);
        canvas->LineTo(x, Rect.Bottom);
    }
    if (State & odFocused) canvas->DrawFocusRect(Rect);
}

bool TXPopupPickList::WidgetEvent(QEvent* e, bool viewport) {
    if (viewport && e->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(e);
        const int steps = wheel->angleDelta().y() / 120;
        if (steps != 0) WheelTurned(steps);
        e->accept();
        return true;
    }
    return TXPopup<TCustomListBox>::WidgetEvent(e, viewport);
}

void TXPopupPickList::WheelTurned(int steps) {
    const int rows = Grid() ? Grid()->MouseWheelScrollRows() : 1;
    SetTopIndex(std::max(0, TopIndex() - steps * rows));
}

}  // namespace tv
