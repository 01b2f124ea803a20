#include "platform/gui/win_control.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {

constexpr std::string_view kCannotFocus = "Cannot focus a disabled or invisible window";
constexpr std::string_view kPaintToNeedsImage = "PaintTo needs the handle of a bitmap's canvas";

// The key a previewing form saw while the toolkit asked whether a shortcut may take it, so that
// the key press that may follow is not shown to the form again. Keys come on the main thread only.
struct TPreviewedAccelerator {
    const TWinControl* Control = nullptr;
    int QtKey = 0;
    bool Eaten = false;
} gAccelerator;

int MulDiv(int a, int b, int c) {
    return c == 0 ? a : static_cast<int>(static_cast<int64_t>(a) * b / c);
}

// Whether `a` goes before `b` among the controls aligned to the same edge: the one nearer that
// edge first, as the controls stand before the layout.
bool AlignsBefore(const TControl* a, const TControl* b, TAlign align) {
    switch (align) {
        case alTop:
            return a->Top() < b->Top();
        case alBottom:
            return a->Top() + a->Height() >= b->Top() + b->Height();
        case alLeft:
            return a->Left() < b->Left();
        case alRight:
            return a->Left() + a->Width() >= b->Left() + b->Width();
        default:
            return false;
    }
}

}  // namespace

const TClassInfo& TWinControl::StaticClassInfo() {
    using C = TWinControl;
    static const TClassInfo info =
        TClassBuilder<C>("TWinControl").Published("HelpContext", &C::HelpContext, &C::SetHelpContext).Build();
    return info;
}

TWinControl::TWinControl(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QWidget>()) {}

TWinControl::TWinControl(TComponent* AOwner, QWidget* widget)
    : TControl(AOwner, widget), fBrush(std::make_unique<TBrush>()) {
    fBrush->SetColor(Color());
    widget->setAutoFillBackground(true);
    ApplyColor();
    ApplyFocusPolicy();
}

TWinControl::~TWinControl() {
    BeginDestroy();
    if (gAccelerator.Control == this) gAccelerator.Control = nullptr;
    // Out of the parent's keyboard order while still a windowed control: the parent's RemoveChild
    // later sees only a plain control.
    if (TWinControl* parent = Parent()) std::erase(parent->fTabList, this);
    while (!fControls.empty()) delete fControls.back();
}

// ---- the controls in it ----

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount()) ListIndexError(Index);
    return fControls[Index];
}

bool TWinControl::ContainsControl(const TControl* AControl) const {
    for (const TControl* c = AControl; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (AControl) AControl->SetParent(this);
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (AControl && AControl->Parent() == this) AControl->SetParent(nullptr);
}

void TWinControl::AddChild(TControl* child) {
    fControls.push_back(child);
    PlaceChild(child);
    if (auto* w = dynamic_cast<TWinControl*>(child)) {
        fTabList.push_back(w);
        UpdateTabChain();
    }
    child->ParentFontChanged();
    child->ParentColorChanged();
    child->ApplyHint();
    child->UpdateAnchorRules();
    if (child->Align() != alNone) Realign();
    ChildGeometryChanged(child);
}

void TWinControl::RemoveChild(TControl* child) {
    std::erase(fControls, child);
    if (child->fDocked) {
        child->fDocked = false;
        DockClientChanged(child, false);
    }
    if (auto* w = dynamic_cast<TWinControl*>(child)) std::erase(fTabList, w);
    UnplaceChild(child);
    if (child->Align() != alNone) Realign();
    ChildGeometryChanged(child);
}

void TWinControl::PlaceChild(TControl* child) {
    QWidget* w = child->Widget();
    if (!w || !Widget()) return;
    w->setParent(Widget());
    child->UpdateWidgetGeometry();
    child->UpdateWidgetVisibility();
}

void TWinControl::PlaceChildWidgets() {
    for (TControl* c : fControls) c->UpdateWidgetGeometry();
}

void TWinControl::UnplaceChild(TControl* child) {
    QWidget* w = child->Widget();
    if (!w) return;
    w->hide();
    w->setParent(nullptr);
    child->UpdateWidgetVisibility();
}

void TWinControl::MoveChild(TControl* child, bool toFront) {
    auto it = std::find(fControls.begin(), fControls.end(), child);
    if (it == fControls.end()) return;
    fControls.erase(it);
    if (toFront)
        fControls.push_back(child);
    else
        fControls.insert(fControls.begin(), child);
    if (child->Align() != alNone) Realign();
}

// ---- layout ----

void TWinControl::ChildLayoutChanged(TControl* child) {
    fAlignControl = child;
    Realign();
    fAlignControl = nullptr;
}

void TWinControl::Realign() {
    if (fAlignDisabled > 0 || ComponentState().Contains(csDestroying) || fAligning) {
        // Asked while laying out (a control's change asked again): done once this layout ends.
        fAlignPending = true;
        return;
    }
    fAligning = true;
    try {
        // A layout that changes what it lays out asks again; a few passes settle it.
        for (int pass = 0; pass < 3; ++pass) {
            fAlignPending = false;
            AlignControls(AlignRect());
            if (!fAlignPending) break;
        }
    } catch (...) {
        fAligning = false;
        throw;
    }
    fAligning = false;
    fAlignPending = false;
}

void TWinControl::EnableAlign() {
    if (fAlignDisabled > 0) --fAlignDisabled;
    if (fAlignDisabled == 0 && fAlignPending) Realign();
}

void TWinControl::AlignControls(TRect rect) {
    auto alive = Watch();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        // The controls of this edge, ordered by where they stand now; equal ones keep list order.
        // The control whose change asked for this layout goes first among equals.
        std::vector<TControl*> list;
        if (fAlignControl && fAlignControl->Align() == align && fAlignControl->Visible() &&
            fAlignControl->Parent() == this)
            list.push_back(fAlignControl);
        for (TControl* c : fControls) {
            if (c->Align() != align || !c->Visible() || c == fAlignControl) continue;
            auto at = std::find_if(list.begin(), list.end(),
                                   [&](TControl* o) { return AlignsBefore(c, o, align); });
            list.insert(at, c);
        }
        for (TControl* c : list) {
            const int w = std::max(rect.Width(), 0);
            const int h = std::max(rect.Height(), 0);
            switch (align) {
                case alTop:
                    c->SetLayoutBounds(rect.Left, rect.Top, w, c->Height());
                    rect.Top += c->Height();
                    break;
                case alBottom:
                    c->SetLayoutBounds(rect.Left, rect.Bottom - c->Height(), w, c->Height());
                    rect.Bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetLayoutBounds(rect.Left, rect.Top, c->Width(), h);
                    rect.Left += c->Width();
                    break;
                case alRight:
                    c->SetLayoutBounds(rect.Right - c->Width(), rect.Top, c->Width(), h);
                    rect.Right -= c->Width();
                    break;
                default:
                    c->SetLayoutBounds(rect.Left, rect.Top, w, h);
                    break;
            }
            if (alive.expired()) return;
        }
    }
    // Docked controls share what is left.
    for (TControl* c : fControls) {
        if (!c->IsDockClient() || !c->Visible()) continue;
        c->SetLayoutBounds(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
        if (alive.expired()) return;
    }
    // Anchored controls keep their distances to the anchored edges of the client area.
    const TRect client = ClientRect();
    for (TControl* c : fControls) {
        if (c->Align() != alNone || c->IsDockClient() || c->Anchors() == TAnchors{akLeft, akTop}) continue;
        const TAnchors a = c->Anchors();
        const TRect& b = c->fAnchorBounds;
        const int dx = client.Width() - c->fAnchorParentWidth;
        const int dy = client.Height() - c->fAnchorParentHeight;
        int left = b.Left, width = b.Width(), top = b.Top, height = b.Height();
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                width += dx;
            else
                left += dx;
        } else if (!a.Contains(akLeft)) {
            left += dx / 2;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                height += dy;
            else
                top += dy;
        } else if (!a.Contains(akTop)) {
            top += dy / 2;
        }
        c->SetLayoutBounds(left, top, width, height);
        if (alive.expired()) return;
    }
}

void TWinControl::ScaleBy(int M, int D) {
    if (M == D || D == 0) return;
    DisableAlign();
    try {
        for (TControl* c : fControls) {
            if (auto* w = dynamic_cast<TWinControl*>(c)) w->ScaleBy(M, D);
            c->SetBounds(MulDiv(c->Left(), M, D), MulDiv(c->Top(), M, D), MulDiv(c->Width(), M, D),
                         MulDiv(c->Height(), M, D));
            if (!c->ParentFont()) c->Font()->SetHeight(MulDiv(c->Font()->Height(), M, D));
        }
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    if (!Parent()) SetBounds(Left(), Top(), MulDiv(Width(), M, D), MulDiv(Height(), M, D));
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
    for (TControl* c : fControls)
        c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
}

// ---- focus and keys ----

bool TWinControl::CanFocus() const {
    if (!AcceptsFocus() && !dynamic_cast<const TForm*>(this)) return false;
    const TControl* c = this;
    for (; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return ParentForm() != nullptr;
}

bool TWinControl::Focused() const {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !Widget()) return false;
    if (focus == Widget()) return true;
    // A part of a compound widget (the edit of a combo box) stands for the control.
    return Widget()->isAncestorOf(focus) && !dynamic_cast<TWidgetLink*>(focus);
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(std::string(kCannotFocus));
    if (TForm* form = ParentForm()) form->SetActiveControl(this);
    if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

TTabOrder TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->fTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<TTabOrder>(it - list.begin());
}

void TWinControl::SetTabOrder(TTabOrder value) {
    if (!Parent()) return;
    auto& list = Parent()->fTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const int at = std::clamp<int>(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + at, this);
    Parent()->UpdateTabChain();
}

void TWinControl::SetTabStop(bool value) {
    fTabStop = value;
    ApplyFocusPolicy();
}

void TWinControl::ApplyFocusPolicy() {
    if (!Widget()) return;
    Widget()->setFocusPolicy(!AcceptsFocus() ? Qt::NoFocus : fTabStop ? Qt::StrongFocus : Qt::ClickFocus);
    if (Parent()) Parent()->UpdateTabChain();
}

void TWinControl::UpdateTabChain() {
    // The keyboard order of the whole window: each control, then the controls inside it, siblings
    // by TabOrder.
    TWinControl* root = this;
    while (root->Parent()) root = root->Parent();
    std::vector<QWidget*> chain;
    auto walk = [&chain](auto& self, const TWinControl* w) -> void {
        for (TWinControl* c : w->fTabList) {
            if (c->Widget() && c->Widget()->focusPolicy() != Qt::NoFocus) chain.push_back(c->Widget());
            self(self, c);
        }
    };
    walk(walk, root);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

bool TWinControl::Showing() const {
    return Visible() && Parent() && Parent()->Showing();
}

bool TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    return Key != 0;
}

bool TWinControl::KeyPress(char16_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
    return Key != 0;
}

bool TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
    return Key != 0;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- the handle ----

int32_t TWinControl::Handle() {
    fHandleAllocated = true;
    return TObjectHandles::HandleOf(this);
}

void TWinControl::PaintTo(int32_t DC, int X, int Y) {
    auto* canvas = dynamic_cast<TCanvas*>(TObjectHandles::ObjectOf(DC));
    if (!canvas) throw EInvalidHandle(std::string(kPaintToNeedsImage));
    PaintTo(canvas, X, Y);
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    if (!Canvas || !Canvas->Image() || Canvas->Painting())
        throw EInvalidOperation(std::string(kPaintToNeedsImage));
    if (!Widget() || Canvas->Image()->isNull()) return;
    {
        QPainter painter(Canvas->Image());
        Widget()->render(&painter, QPoint(X, Y), QRegion(),
                         QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    if (Canvas->OnChange) Canvas->OnChange(Canvas);
}

void TWinControl::UpdateControlState() {
    UpdateWidgetVisibility();
    for (TControl* c : fControls) c->UpdateWidgetVisibility();
}

// ---- widget events ----

void TWinControl::ApplyColor() {
    TControl::ApplyColor();
    if (fBrush) fBrush->SetColor(Color());
}

bool TWinControl::PreviewKey(QEvent* e, uint16_t& key, TShiftState shift) {
    TForm* form = ParentForm();
    if (!form || form == this || !form->KeyPreview()) return true;
    // A key the form saw already, while the toolkit asked whether a shortcut may take it; its
    // release ends that press.
    if (gAccelerator.Control == this && gAccelerator.QtKey == static_cast<QKeyEvent*>(e)->key()) {
        gAccelerator.Control = nullptr;
        if (e->type() == QEvent::KeyPress) return !gAccelerator.Eaten;
    }
    return e->type() == QEvent::KeyRelease ? form->KeyUp(key, shift) : form->KeyDown(key, shift);
}

bool TWinControl::HandleKeyEvent(QEvent* e, bool viewport) {
    auto* k = static_cast<QKeyEvent*>(e);
    auto alive = Watch();
    uint16_t key = VirtualKeyFromQt(k->key(), k->modifiers() & Qt::KeypadModifier);
    const uint16_t originalKey = key;
    const TShiftState shift = ShiftStateOf(k->modifiers(), Qt::NoButton);
    auto eaten = [&] {
        if (!alive.expired()) e->accept();
        return true;
    };
    // A key set to 0 by OnKeyDown is kept from the control, but its character still comes as
    // OnKeyPress, as with the class library; a character set to 0 there is eaten too.
    bool keyEaten = false;
    if (key != 0) {
        const bool passed = PreviewKey(e, key, shift) &&
                            (e->type() == QEvent::KeyRelease ? KeyUp(key, shift) : KeyDown(key, shift));
        if (alive.expired()) return true;
        keyEaten = !passed;
        if (keyEaten && e->type() == QEvent::KeyRelease) return eaten();
        // Enter and Escape go to the form's default and cancel buttons unless the control takes them.
        if (!keyEaten && e->type() == QEvent::KeyPress && (key == VK_RETURN || key == VK_ESCAPE) &&
            !WantsKey(key)) {
            TForm* form = ParentForm();
            if (form && form->DialogKey(key, this)) return eaten();
            if (alive.expired()) return true;
        }
    }
    const QString text = k->text();
    const char16_t originalCh = e->type() == QEvent::KeyPress && text.size() == 1 ? text[0].unicode() : 0;
    char16_t ch = originalCh;
    if (ch != 0) {
        TForm* form = ParentForm();
        const bool passed =
            (!form || form == this || !form->KeyPreview() || form->KeyPress(ch)) && KeyPress(ch);
        if (alive.expired()) return true;
        if (!passed) return eaten();
    }
    if (keyEaten && ch == 0) return eaten();
    if (keyEaten || key != originalKey || ch != originalCh) {
        // A handler changed or ate the key: the widget sees what is left.
        const int qtKey = keyEaten             ? Qt::Key_unknown
                          : key != originalKey ? QtKeyFromVirtualKey(key)
                                               : k->key();
        QKeyEvent changed(k->type(), qtKey, k->modifiers(), ch != 0 ? QString(QChar(ch)) : text,
                          k->isAutoRepeat());
        BaseWidgetEvent(&changed, viewport);
    } else {
        BaseWidgetEvent(e, viewport);
    }
    return eaten();
}

bool TWinControl::WidgetEvent(QEvent* e, bool viewport) {
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (viewport) return BaseWidgetEvent(e, viewport);
            return HandleKeyEvent(e, viewport);
        case QEvent::ShortcutOverride: {
            // With Alt held a letter may be a button's accelerator, which the toolkit carries out
            // before any control sees the key. A previewing form sees such a key first, as the
            // class library shows it the key before the accelerator acts: here, when the toolkit
            // asks the focused control whether a shortcut may take it (the question then goes on
            // to its parents). A key the form eats takes no accelerator.
            auto* k = static_cast<QKeyEvent*>(e);
            const Qt::KeyboardModifiers modifiers = k->modifiers();
            TForm* form = ParentForm();
            uint16_t key = VirtualKeyFromQt(k->key(), modifiers & Qt::KeypadModifier);
            if (viewport || !form || form == this || !form->KeyPreview() || !(modifiers & Qt::AltModifier) ||
                (modifiers & Qt::ControlModifier) || key == 0)
                return BaseWidgetEvent(e, viewport);
            if (gAccelerator.Control == this && gAccelerator.QtKey == k->key() && !k->isAutoRepeat()) {
                // Asked again for the same press: the same answer.
                if (!gAccelerator.Eaten) return BaseWidgetEvent(e, viewport);
                e->accept();
                return true;
            }
            auto alive = Watch();
            const bool passed = form->KeyDown(key, ShiftStateOf(modifiers, Qt::NoButton));
            if (alive.expired()) return true;
            gAccelerator = {this, k->key(), !passed};
            if (passed) return BaseWidgetEvent(e, viewport);
            e->accept();  // no shortcut takes it; the key press that follows is dropped
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            const bool result = BaseWidgetEvent(e, viewport);
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
            // Focus that leaves or returns with the whole window is no move between controls.
            if (viewport || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return result;
            if (e->type() == QEvent::FocusIn) {
                if (TForm* form = ParentForm()) form->SetActiveControl(this);
                DoEnter();
            } else {
                DoExit();
            }
            return result;
        }
        default:
            return TControl::WidgetEvent(e, viewport);
    }
}

}  // namespace tv
