// The in-place editor with a button and a drop-down list: the button's place, look and mouse
// handling, the keys that open and close the list, the list's place on the screen and its
// sliding open on the timer.
//
// The list grows a row per timer step instead of waiting inside DropDown: waiting there would
// let the desktop's events run in the middle of the editor's own work (a closing form, a focus
// change, a dataset event could free the editor under it). Its final place and size are the same.

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include "controls/xdb_inplace_edit.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit_layout.h"
#include "controls/xdb_popup_pick_list.h"
#include "platform/gui/canvas.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/panel.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr uint16_t kF2 = VK_F1 + 1;

QLineEdit* LineOf(const TControl& edit) {
    return static_cast<QLineEdit*>(edit.Widget());
}

// The widget under a point of `list` that takes the mouse (a list box's rows are in its viewport).
QWidget* MouseTarget(TControl& list, QPoint local) {
    QWidget* w = list.Widget();
    QWidget* child = w->childAt(local);
    return child ? child : w;
}

// Sends a mouse event to the part of `list` under the global point.
void SendMouse(TControl& list, QEvent::Type type, QPointF global, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWidget* w = list.Widget();
    const QPoint local = w->mapFromGlobal(global.toPoint());
    QWidget* target = MouseTarget(list, local);
    const QPointF at = target->mapFromGlobal(global);
    QMouseEvent m(type, at, global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &m);
}

}  // namespace

const TClassInfo& TXInplaceEditList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXInplaceEditList>("TXInplaceEditList").Build();
    return info;
}

TXInplaceEditList::TXInplaceEditList(TCustomGrid* AGrid)
    : TInplaceEdit(AGrid), fButtonWidth(AGrid->ScrollBarExtent()), fSlideTimer(std::make_unique<TTimer>()) {
    fSlideTimer->SetEnabled(false);
    fSlideTimer->SetInterval(kListSlideStepMs);
    fSlideTimer->OnTimer = [this](TObject*) { SlideStep(); };
    LineOf(*this)->setMouseTracking(true);
}

TXInplaceEditList::~TXInplaceEditList() {
    fSlideTimer->SetEnabled(false);
}

TXPopupPickList* TXInplaceEditList::PickList() {
    if (!fPickList) {
        fPickList = new TXPopupPickList(this);
        fPickList->SetParent(this);
        fPickList->SetGrid(dynamic_cast<TXCustomDBGrid*>(Grid()));
        fPickList->SetKeyTarget(this);
        fPickList->OnCloseUp = [this](bool accept) { PickListCloseUp(accept); };
    }
    return fPickList;
}

// Gives every row of the pick list `height` pixels (0: its font's height + 2), its ItemHeight.
void FitPickRows(TXPopupPickList& pickList, int height) {
    auto* list = static_cast<QListWidget*>(pickList.Widget());
    if (height <= 0) height = QFontMetrics(list->font()).height() + 2;
    pickList.SetItemHeight(height);
    list->setUniformItemSizes(true);
    for (int i = 0; i < list->count(); ++i) list->item(i)->setSizeHint(QSize(0, height));
}

bool TXInplaceEditList::RightToLeft() const {
    return Grid() && Grid()->UseRightToLeftAlignment();
}

TRect TXInplaceEditList::ButtonRect() const {
    if (fEditStyle == esSimple) return {};
    return EditButtonRect(Width(), Height(), fButtonWidth, RightToLeft());
}

// ---- contents and geometry ----

void TXInplaceEditList::UpdateContents() {
    fActiveList = nullptr;
    fPickListLoaded = false;
    fListMaxHeight = fListMinHeight = fListRowHeight = 0;
    fEditStyle = CellEditStyle();
    if (fEditStyle == esPickList) fActiveList = PickList();
    TInplaceEdit::UpdateContents();
    fOpenText = Text();
    UpdateTextMargins();
    Invalidate();
}

void TXInplaceEditList::RestoreContents() {
    HandTextToGrid(fOpenText);
}

void TXInplaceEditList::Resize() {
    TInplaceEdit::Resize();
    UpdateTextMargins();
}

void TXInplaceEditList::UpdateTextMargins() {
    // The text stays 2 pixels in from the sides, and clear of the button.
    const bool rtl = RightToLeft();
    const int button = fEditStyle == esSimple ? 0 : fButtonWidth;
    LineOf(*this)->setTextMargins(rtl ? button : 0, 0, rtl ? 0 : button, 0);
}

int TXInplaceEditList::LimitListRows(int count) const {
    return tv::LimitListRows(fDropDownRows, count);
}

int TXInplaceEditList::LimitListWidth(int width) const {
    return tv::LimitListWidth(fDropDownWidth, width, Width());
}

// ---- the button's look ----

void TXInplaceEditList::PaintControl() {
    TCanvas* canvas = ControlCanvas();
    TRect r = ButtonRect();
    if (r.Width() <= 0) return;
    if (fEditStyle == esEllipsis) {
        DrawEdge(canvas, r, fPressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_MIDDLE | (fPressed ? BF_FLAT : 0));
        // Three black squares, two sides apart, centred.
        const TRect b = ButtonRect();
        const int side = fButtonWidth < 8 ? 1 : fButtonWidth / 8;
        const int shift = fPressed ? 1 : 0;
        const int x = b.Left + (b.Width() - 5 * side) / 2 + shift;
        const int y = b.Top + (b.Height() - side) / 2 + shift;
        canvas->Brush()->SetColor(clBlack);
        for (int i = 0; i < 3; ++i) canvas->FillRect(Bounds(x + 2 * side * i, y, side, side));
        return;
    }
    // The drop-down arrow of a combo box: pushed while pressed, grey without a list to open.
    DrawEdge(canvas, r, fPressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_MIDDLE | (fPressed ? BF_FLAT : 0));
    const TRect b = ButtonRect();
    const bool inactive = fEditStyle == esPickList && !fActiveList;
    const int half = std::max(2, fButtonWidth / 4);
    const int cx = b.Left + b.Width() / 2 + (fPressed ? 1 : 0);
    const int cy = b.Top + b.Height() / 2 - half / 2 + (fPressed ? 1 : 0);
    const TPoint arrow[] = {{cx - half, cy}, {cx + half, cy}, {cx, cy + half}};
    const TColor color = inactive ? clGrayText : (fMouseInControl ? clHotLight : clBtnText);
    canvas->Brush()->SetColor(color);
    canvas->Pen()->SetColor(color);
    canvas->Polygon(arrow);
}

void TXInplaceEditList::SetPressed(bool value) {
    if (value == fPressed) return;
    fPressed = value;
    Invalidate();
}

void TXInplaceEditList::SetHot(bool value) {
    if (value == fMouseInControl) return;
    fMouseInControl = value;
    Invalidate();
}

// ---- the mouse ----

bool TXInplaceEditList::WidgetEvent(QEvent* e, bool viewport) {
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            const QPoint p = m->position().toPoint();
            const bool onButton = ButtonRect().Contains({p.x(), p.y()});
            SetHot(onButton);
            if (!onButton && !fTracking && !fMouseToList) break;
            if (e->type() == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) ButtonMouseDown(p.x(), p.y());
            if (e->type() == QEvent::MouseMove) ButtonMouseMove(p.x(), p.y(), e);
            if (e->type() == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton) ButtonMouseUp(p.x(), p.y(), e);
            // A double click on the button is no double click.
            e->accept();
            return true;
        }
        case QEvent::Leave:
            SetHot(false);
            break;
        case QEvent::FocusOut:
            // Losing the focus closes the list; the list's own window opening (and taking the
            // keyboard) is no loss.
            if (fListVisible && static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason &&
                !(fActiveList && QApplication::activeWindow() == fActiveList->Widget()->window()))
                CloseUp(false);
            break;
        default:
            break;
    }
    return TInplaceEdit::WidgetEvent(e, viewport);
}

bool TXInplaceEditList::PopupButtonAt(TPoint screenPoint) const {
    return fListVisible && Widget() && Widget()->isVisible() && ButtonRect().Contains(ScreenToClient(screenPoint));
}

void TXInplaceEditList::ButtonMouseDown(int, int) {
    if (fListVisible) {
        CloseUp(false);
        return;
    }
    fTracking = true;
    SetPressed(true);
    if (fActiveList) DropDown();
}

void TXInplaceEditList::ButtonMouseMove(int X, int Y, QEvent* e) {
    auto* m = static_cast<QMouseEvent*>(e);
    if (fMouseToList) {
        SendMouse(*fActiveList, QEvent::MouseMove, m->globalPosition(), Qt::NoButton, m->buttons());
        return;
    }
    if (!fTracking) return;
    SetPressed(ButtonRect().Contains({X, Y}));
    // Pressed on the button and dragged into the open list: the list takes the press there.
    if (fListVisible && fActiveList) {
        const QPoint local = fActiveList->Widget()->mapFromGlobal(m->globalPosition().toPoint());
        if (fActiveList->Widget()->rect().contains(local)) {
            StopTracking();
            fMouseToList = true;
            SendMouse(*fActiveList, QEvent::MouseButtonPress, m->globalPosition(), Qt::LeftButton, Qt::LeftButton);
        }
    }
}

void TXInplaceEditList::ButtonMouseUp(int X, int Y, QEvent* e) {
    auto* m = static_cast<QMouseEvent*>(e);
    if (fMouseToList) {
        fMouseToList = false;
        if (fListVisible && fActiveList)
            SendMouse(*fActiveList, QEvent::MouseButtonRelease, m->globalPosition(), Qt::LeftButton, Qt::NoButton);
        return;
    }
    const bool wasPressed = fPressed && ButtonRect().Contains({X, Y});
    StopTracking();
    if ((fEditStyle == esEllipsis || fEditStyle == esDropDown) && wasPressed) EditorButtonClick();
}

void TXInplaceEditList::StopTracking() {
    if (!fTracking) return;
    fTracking = false;
    SetPressed(false);
}

void TXInplaceEditList::DblClick() {
    if (fEditStyle == esSimple || Grid()->OnDblClick) {
        Grid()->DblClick();
        return;
    }
    if (fEditStyle == esPickList && fActiveList == fPickList && fPickList) {
        FillPickList();
        TStrings* items = fPickList->Items();
        if (items->Count() == 0) return;
        const int at = items->IndexOf(Text());
        const std::string next = items->Strings(at + 1 < items->Count() ? at + 1 : 0);
        HandTextToGrid(next);
        SetModified(true);
        SelectAll();
        return;
    }
    if (fEditStyle == esEllipsis || fEditStyle == esDropDown) EditorButtonClick();
}

void TXInplaceEditList::EditorButtonClick() {
    if (OnEditButtonClick) OnEditButtonClick(Grid());
}

// ---- keys ----

bool TXInplaceEditList::HandleListKeys(uint16_t& Key, TShiftState Shift) {
    const bool alt = Shift.Contains(ssAlt);
    const bool ctrl = Shift.Contains(ssCtrl);
    auto toggle = [&] {
        if (fListVisible)
            CloseUp(true);
        else
            DropDown();
        Key = 0;
        return false;
    };
    if ((Key == VK_UP || Key == VK_DOWN) && alt) return toggle();
    if (Key == kF2 && !alt && !ctrl) {
        if (fListVisible) {
            if (F2ClosesAsChoice())
                PickListCloseUp(true);
            else
                CloseUp(true);
            Key = 0;
            return false;
        }
        return toggle();
    }
    if (Key == VK_RETURN && ctrl && !alt) {
        fDropChar = true;
        return toggle();
    }
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && fListVisible && !alt) {
        CloseUp(Key == VK_RETURN);
        fDropChar = true;
        Key = 0;
        return false;
    }
    if (Key == VK_TAB && !alt && !ctrl && fListVisible) CloseUp(false);
    return true;
}

bool TXInplaceEditList::KeyDown(uint16_t& Key, TShiftState Shift) {
    fDropChar = false;
    if (fEditStyle == esPickList) {
        if (!HandleListKeys(Key, Shift)) return false;
        if (fListVisible) {
            // From the list: its own handling goes on. To the editor: on to the list.
            if (fFromPopup) return true;
            PassToList(Key, Shift, 0);
            return false;
        }
    } else if (fEditStyle != esSimple) {
        const bool alt = Shift.Contains(ssAlt);
        const bool ctrl = Shift.Contains(ssCtrl);
        if ((Key == VK_RETURN && ctrl && !alt) || (Key == kF2 && !alt && !ctrl)) {
            fDropChar = true;
            Key = 0;
            EditorButtonClick();
            return false;
        }
    }
    return TInplaceEdit::KeyDown(Key, Shift);
}

bool TXInplaceEditList::KeyPress(char16_t& Key) {
    if (fDropChar) {
        fDropChar = false;
        Key = 0;
        return false;
    }
    if (fEditStyle == esPickList && fListVisible) {
        if (fFromPopup) return true;
        PassToList(0, {}, Key);
        Key = 0;
        return false;
    }
    return TInplaceEdit::KeyPress(Key);
}

bool TXInplaceEditList::PopupKeyDown(uint16_t& Key, TShiftState Shift) {
    if (fPassing) return true;
    fFromPopup = true;
    auto alive = Watch();
    const bool passed = KeyDown(Key, Shift);
    if (!alive.expired()) fFromPopup = false;
    return passed;
}

bool TXInplaceEditList::PopupKeyPress(char16_t& Key) {
    if (fPassing) return true;
    fFromPopup = true;
    auto alive = Watch();
    const bool passed = KeyPress(Key);
    if (!alive.expired()) fFromPopup = false;
    return passed;
}

void TXInplaceEditList::PassToList(uint16_t key, TShiftState shift, char16_t ch) {
    if (!fActiveList || !fActiveList->Widget()) return;
    Qt::KeyboardModifiers modifiers;
    if (shift.Contains(ssShift)) modifiers |= Qt::ShiftModifier;
    if (shift.Contains(ssCtrl)) modifiers |= Qt::ControlModifier;
    if (shift.Contains(ssAlt)) modifiers |= Qt::AltModifier;
    QKeyEvent press(QEvent::KeyPress, ch ? Qt::Key_unknown : QtKeyFromVirtualKey(key), modifiers,
                    ch ? QString(QChar(ch)) : QString());
    fPassing = true;
    auto alive = Watch();
    QCoreApplication::sendEvent(fActiveList->Widget(), &press);
    if (!alive.expired()) fPassing = false;
}

// ---- opening and closing ----

void TXInplaceEditList::FillPickList() {
    if (fPickListLoaded || !fPickList) return;
    if (OnGetPickListItems) OnGetPickListItems(Grid()->Col(), Grid()->Row(), fPickList->Items());
    fPickListLoaded = fPickList->Items()->Count() > 0;
}

const TStrings* TXInplaceEditList::PickValues() {
    return fPickList ? fPickList->Items() : nullptr;
}

void TXInplaceEditList::DropDown() {
    if (fListVisible || !fActiveList) return;
    if (fActiveList == fPickList) {
        FillPickList();
        fPickList->SetColor(Color());
        fPickList->SetFont(Font());
        // Grid style: owner-drawn rows of the grid's row height; otherwise a standard list.
        fPickList->SetStyle(GridStyleLists() ? lbOwnerDrawFixed : lbStandard);
        FitPickRows(*fPickList, GridStyleLists() ? Grid()->DefaultRowHeight() : 0);
        const TStrings* values = PickValues();
        fPickList->SetItemIndex(Text().empty() || !values ? -1 : values->IndexOf(Text()));
        fPickList->SetBounds(0, 0, PickListWidth(), PickListHeight());
        fListRowHeight = fPickList->ItemHeight();
    }
    ListDroppingDown();
    TControl* list = fActiveList;
    const TPoint onScreen = ClientToScreen({0, 0});
    const TListPlacement place =
        PlaceDropDownList(onScreen, Width(), Height(), list->Width(), list->Height(), Screen().WorkAreaRect(),
                          RightToLeft(), GridStyleLists() && list == fPickList);
    fListAbove = place.above;
    const int frame = list->Height() - list->ClientHeight();
    const int fullHeight = place.bounds.Height();
    fListMaxHeight = fullHeight - frame;
    fListMinHeight = std::max(fListMinHeight, fListRowHeight);
    int height = fullHeight;
    int top = place.bounds.Top;
    if (fListRowHeight > 0 && fListMinHeight < fListMaxHeight) {
        height = fListMinHeight + frame;
        if (fListAbove) top += fullHeight - height;
    }
    list->SetBounds(place.bounds.Left, top, place.bounds.Width(), height);
    list->Show();
    fListVisible = true;
    Invalidate();
    if (height < fullHeight) fSlideTimer->SetEnabled(true);
}

int TXInplaceEditList::PickListWidth() {
    TCanvas* canvas = fPickList->Canvas();
    canvas->SetFont(fPickList->Font());
    int widest = 0;
    for (int i = 0; i < fPickList->Items()->Count(); ++i)
        widest = std::max(widest, canvas->TextWidth(fPickList->Items()->Strings(i)));
    const int frame = fPickList->Width() - fPickList->ClientWidth();
    return LimitListWidth(widest + 5 + frame);
}

int TXInplaceEditList::PickListHeight() {
    return LimitListRows(fPickList->Items()->Count()) * fPickList->ItemHeight() + 2;
}

void TXInplaceEditList::SlideStep() {
    TControl* list = fActiveList;
    if (!fListVisible || !list || list->ClientHeight() >= fListMaxHeight) {
        fSlideTimer->SetEnabled(false);
        return;
    }
    const int grow = std::min(fListRowHeight, fListMaxHeight - list->ClientHeight());
    const int top = fListAbove ? list->Top() - grow : list->Top();
    list->SetBounds(list->Left(), top, list->Width(), list->Height() + grow);
    if (list->ClientHeight() >= fListMaxHeight) fSlideTimer->SetEnabled(false);
}

void TXInplaceEditList::HideList() {
    fSlideTimer->SetEnabled(false);
    fMouseToList = false;
    if (fActiveList) {
        fActiveList->Hide();
        fActiveList->SetClientHeight(fListMaxHeight);
    }
    fListVisible = false;
    Invalidate();
}

void TXInplaceEditList::PickListCloseUp(bool Accept) {
    CloseUp(Accept);
    auto* grid = dynamic_cast<TXCustomDBGrid*>(Grid());
    if (!Accept || !grid || grid->Options().Contains(dgAlwaysShowEditor)) return;
    TXColumn* column = grid->SelectedColumn();
    if (!column || !column->ListOptions().Contains(loAutoCloseEditor)) return;
    // Enter ends editing once the close-up is done.
    QWidget* line = Widget();
    QCoreApplication::postEvent(line, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r"));
}

}  // namespace tv
