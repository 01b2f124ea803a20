#include "platform/gui/control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

#include "platform/gui/action.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/menu.h"
#include "platform/gui/qt_graphics.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/gui/win_control.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"

namespace tv {

namespace {

constexpr std::string_view kParentToSelf =
    "A control cannot have itself or a control inside it as its parent";
// The largest widget the toolkit makes; places are kept within the same distance of the origin, so
// that a place plus a size (and the layout's sums of them) never overflows.
constexpr int kMaxExtent = QWIDGETSIZE_MAX;

struct CursorShape {
    TCursor cursor;
    Qt::CursorShape shape;
};
constexpr std::array<CursorShape, 22> kCursorShapes{{
    {crNone, Qt::BlankCursor},         {crArrow, Qt::ArrowCursor},
    {crCross, Qt::CrossCursor},        {crIBeam, Qt::IBeamCursor},
    {crSizeNESW, Qt::SizeBDiagCursor}, {crSizeNS, Qt::SizeVerCursor},
    {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},
    {crUpArrow, Qt::UpArrowCursor},    {crHourGlass, Qt::WaitCursor},
    {crDrag, Qt::DragCopyCursor},      {crNoDrop, Qt::ForbiddenCursor},
    {crHSplit, Qt::SplitHCursor},      {crVSplit, Qt::SplitVCursor},
    {crMultiDrag, Qt::DragCopyCursor}, {crSQLWait, Qt::WaitCursor},
    {crNo, Qt::ForbiddenCursor},       {crAppStart, Qt::BusyCursor},
    {crHelp, Qt::WhatsThisCursor},     {crHandPoint, Qt::PointingHandCursor},
    {crSizeAll, Qt::SizeAllCursor},    {crDefault, Qt::ArrowCursor},
}};

bool MouseButtonOf(Qt::MouseButton b, TMouseButton& out) {
    switch (b) {
        case Qt::LeftButton:
            out = mbLeft;
            return true;
        case Qt::RightButton:
            out = mbRight;
            return true;
        case Qt::MiddleButton:
            out = mbMiddle;
            return true;
        default:
            return false;
    }
}

}  // namespace

Qt::CursorShape CursorShapeOf(TCursor cursor) {
    for (const CursorShape& c : kCursorShapes)
        if (c.cursor == cursor) return c.shape;
    return Qt::ArrowCursor;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
    if (modifiers & Qt::AltModifier) s.Include(ssAlt);
    if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
    if (buttons & Qt::LeftButton) s.Include(ssLeft);
    if (buttons & Qt::RightButton) s.Include(ssRight);
    if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
    return s;
}

std::string GetShortHint(std::string_view hint) {
    const size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(0, bar));
}

std::string GetLongHint(std::string_view hint) {
    const size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

namespace {
bool IsInputEvent(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}
}  // namespace

bool DispatchWidgetEvent(TControl& control, QEvent* e, bool viewport) noexcept {
    try {
        // A disabled control (or one in a disabled parent) takes no input, as its widget takes none.
        if (control.BeingDestroyed() ||
            (IsInputEvent(e->type()) && control.fWidget && !control.fWidget->isEnabled()))
            return control.BaseWidgetEvent(e, viewport);
        return control.WidgetEvent(e, viewport);
    } catch (...) {
        HandleGuiException(&control);
        return true;
    }
}

bool TControl::BeingDestroyed() const {
    for (const TControl* c = this; c; c = c->fParent)
        if (c->ComponentState().Contains(csDestroying)) return true;
    return false;
}

void ControlWidgetGone(TControl& control) noexcept {
    control.fWidget = nullptr;
    control.fLink = nullptr;
}

const TClassInfo& TControl::StaticClassInfo() {
    using C = TControl;
    static const TClassInfo info = TClassBuilder<C>("TControl")
                                       .Published("Left", &C::Left, &C::SetLeft)
                                       .Published("Top", &C::Top, &C::SetTop)
                                       .Published("Width", &C::Width, &C::SetWidth)
                                       .Published("Height", &C::Height, &C::SetHeight)
                                       .Published("Hint", &C::Hint, &C::SetHint)
                                       .Published("Cursor", &C::Cursor, &C::SetCursor)
                                       .Build();
    return info;
}

TControl::TControl(TComponent* AOwner) : TControl(AOwner, NewWidget<QWidget>()) {}

TControl::TControl(TComponent* AOwner, QWidget* widget)
    : TComponent(AOwner),
      fWidget(widget),
      fLink(dynamic_cast<TWidgetLink*>(widget)),
      fConstraints(std::make_unique<TSizeConstraints>()),
      fFont(std::make_unique<TFont>()) {
    fLink->Control = this;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(fWidget)) {
        fViewportInput = true;
        area->viewport()->setMouseTracking(true);
    }
    fWidget->setMouseTracking(true);
    fWidget->resize(0, 0);
    fFont->OnChange = [this](TObject*) { FontChanged(); };
    fConstraints->OnChange = [this](TObject*) { SetBounds(fLeft, fTop, fWidth, fHeight); };
    ApplyFont();
}

TControl::~TControl() {
    BeginDestroy();
    if (fParent) {
        TWinControl* parent = fParent;
        fParent = nullptr;
        parent->RemoveChild(this);
    }
    fFont->OnChange = nullptr;
    fConstraints->OnChange = nullptr;
    if (auto* action = dynamic_cast<TCustomAction*>(fAction)) action->RemoveClient(this);
    if (fWidget) {
        fLink->Control = nullptr;
        QWidget* w = fWidget;
        fWidget = nullptr;
        if (fLink->Depth > 0) {
            // Freed from inside one of its own events: the widget goes once the outermost of them
            // is done (see TBridged), not before, and nothing waits for it in the meantime.
            w->hide();
            w->setParent(nullptr);
            fLink->Orphaned = true;
        } else {
            // A delivery to a part of it (a combo box's list, a tab bar) waits likewise.
            DeleteWhenDelivered(w);
        }
    }
}

void DeleteOrphanedWidget(QWidget* widget) noexcept {
    // Queued: the toolkit may still look at the widget after its event handler returns.
    QMetaObject::invokeMethod(
        qApp, [widget = QPointer<QWidget>(widget)] { delete widget.data(); }, Qt::QueuedConnection);
}

// ---- place and size ----

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    ALeft = std::clamp(ALeft, -kMaxExtent, kMaxExtent);
    ATop = std::clamp(ATop, -kMaxExtent, kMaxExtent);
    AWidth = std::clamp(fConstraints->ConstrainWidth(std::max(AWidth, 0)), 0, kMaxExtent);
    AHeight = std::clamp(fConstraints->ConstrainHeight(std::max(AHeight, 0)), 0, kMaxExtent);
    const bool sized = AWidth != fWidth || AHeight != fHeight;
    const bool moved = ALeft != fLeft || ATop != fTop;
    if (sized || moved) {
        fLeft = ALeft;
        fTop = ATop;
        fWidth = AWidth;
        fHeight = AHeight;
        UpdateWidgetGeometry();
    }
    if (!fLayoutMove) UpdateAnchorRules();
    if (sized) {
        auto alive = Watch();
        if (auto* self = dynamic_cast<TWinControl*>(this)) self->Realign();
        Resize();
        if (alive.expired()) return;
    }
    if ((sized || moved) && !fLayoutMove) RequestAlign();
    if ((sized || moved) && fParent) fParent->ChildGeometryChanged(this);
}

void TControl::SetLayoutBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    fLayoutMove = true;
    try {
        SetBounds(ALeft, ATop, AWidth, AHeight);
    } catch (...) {
        fLayoutMove = false;
        throw;
    }
    fLayoutMove = false;
}

void TControl::SetClientWidth(int value) {
    SetWidth(value + fWidth - ClientWidth());
}

void TControl::SetClientHeight(int value) {
    SetHeight(value + fHeight - ClientHeight());
}

void TControl::SetAlign(TAlign value) {
    if (value == fAlign) return;
    fAlign = value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == fAnchors) return;
    fAnchors = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    fAnchorBounds = BoundsRect();
    if (fParent) {
        const TRect r = fParent->ClientRect();
        fAnchorParentWidth = r.Width();
        fAnchorParentHeight = r.Height();
    }
}

void TControl::RequestAlign() {
    if (fParent && (fAlign != alNone || fAnchors != TAnchors{akLeft, akTop}))
        fParent->ChildLayoutChanged(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::UpdateWidgetGeometry() {
    if (!fWidget) return;
    const TPoint origin = fParent ? fParent->ClientOrigin() : TPoint{};
    fWidget->setGeometry(fLeft + origin.X, fTop + origin.Y, fWidth, fHeight);
}

// ---- parent and visibility ----

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == fParent) return;
    for (const TControl* p = AParent; p; p = p->fParent)
        if (p == this) throw EInvalidOperation(std::string(kParentToSelf));
    if (fParent) {
        TWinControl* old = fParent;
        fParent = nullptr;
        old->RemoveChild(this);
    }
    fParent = AParent;
    if (fParent) {
        fParent->AddChild(this);
    } else {
        UpdateWidgetVisibility();
    }
}

void TControl::SetVisible(bool value) {
    if (value == fVisible) return;
    fVisible = value;
    UpdateWidgetVisibility();
    if (fParent && (fAlign != alNone || fDocked)) fParent->ChildLayoutChanged(this);
    if (fParent) fParent->ChildGeometryChanged(this);
}

void TControl::UpdateWidgetVisibility() {
    if (!fWidget) return;
    fWidget->setVisible(fVisible && fParent != nullptr);
}

void TControl::SetEnabled(bool value) {
    if (value == fEnabled) return;
    fEnabled = value;
    if (fWidget) fWidget->setEnabled(value);
}

TForm* TControl::ParentForm(bool TopForm) const {
    TForm* found = nullptr;
    for (const TControl* c = this; c; c = c->fParent) {
        if (auto* f = dynamic_cast<TForm*>(const_cast<TControl*>(c))) {
            found = f;
            if (!TopForm) break;
        }
    }
    return found;
}

// ---- text and look ----

void TControl::SetText(const std::string& value) {
    SetTextValue(value);
}

void TControl::SetTextValue(const std::string& value) {
    if (value == fText) return;
    fText = value;
    TextChanged();
}

void TControl::FontChanged() {
    if (!fApplyingParentFont) fParentFont = false;
    ApplyFont();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentFontChanged();
    DoFontChanged(fApplyingParentFont);
}

void TControl::ParentFontChanged() {
    if (!fParentFont || !fParent) return;
    fApplyingParentFont = true;
    try {
        fFont->Assign(fParent->Font());
    } catch (...) {
        fApplyingParentFont = false;
        throw;
    }
    fApplyingParentFont = false;
}

void TControl::SetParentFont(bool value) {
    if (value == fParentFont) return;
    fParentFont = value;
    if (value) ParentFontChanged();
}

void TControl::ApplyFont() {
    if (!fWidget) return;
    fWidget->setFont(ToQFont(*fFont));
    QPalette pal = fWidget->palette();
    const QColor c = ToQColor(fFont->Color());
    for (auto group : {QPalette::Active, QPalette::Inactive})
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(group, role, c);
    fWidget->setPalette(pal);
}

void TControl::SetColor(TColor value) {
    fParentColor = false;
    if (value == fColor) return;
    fColor = value;
    ApplyColor();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!fParentColor || !fParent) return;
    SetColor(fParent->Color());
    fParentColor = true;
}

void TControl::SetParentColor(bool value) {
    if (value == fParentColor) return;
    fParentColor = value;
    if (value) ParentColorChanged();
}

void TControl::ApplyColor() {
    if (!fWidget) return;
    QPalette pal = fWidget->palette();
    const QColor c = ToQColor(fColor);
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    fWidget->setPalette(pal);
}

void TControl::SetHint(const std::string& value) {
    fHint = value;
    ApplyHint();
}

bool TControl::ShowHint() const {
    return fParentShowHint && fParent ? fParent->ShowHint() : fShowHint;
}

void TControl::SetShowHint(bool value) {
    fShowHint = value;
    fParentShowHint = false;
    ApplyHint();
}

void TControl::SetParentShowHint(bool value) {
    if (value == fParentShowHint) return;
    fParentShowHint = value;
    ApplyHint();
}

void TControl::ApplyHint() {
    const TApplication* app = ApplicationIfAny();
    const bool show = ShowHint() && (!app || app->ShowHint());
    if (fWidget) fWidget->setToolTip(show ? ToQString(GetShortHint(fHint)) : QString());
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ApplyHint();
}

void TControl::SetCursor(TCursor value) {
    fCursor = value;
    if (!fWidget) return;
    if (value == crDefault)
        fWidget->unsetCursor();
    else
        fWidget->setCursor(QCursor(CursorShapeOf(value)));
}

// ---- drawing and order ----

void TControl::Invalidate() {
    if (fWidget) fWidget->update();
}

void TControl::Repaint() {
    if (fWidget) fWidget->repaint();
}

void TControl::Update() {
    if (fWidget && fWidget->isVisible()) fWidget->repaint();
}

void TControl::BringToFront() {
    if (fParent) fParent->MoveChild(this, true);
    if (fWidget) {
        fWidget->raise();
        if (IsWindow() && fWidget->isVisible()) fWidget->activateWindow();
    }
}

void TControl::SendToBack() {
    if (fParent) fParent->MoveChild(this, false);
    if (fWidget) fWidget->lower();
}

// ---- coordinates, text buffers, messages ----

TPoint TControl::ClientToScreen(TPoint Point) const {
    if (!fWidget) return Point;
    const QPoint p = fWidget->mapToGlobal(QPoint(Point.X, Point.Y));
    return {p.x(), p.y()};
}

TPoint TControl::ScreenToClient(TPoint Point) const {
    if (!fWidget) return Point;
    const QPoint p = fWidget->mapFromGlobal(QPoint(Point.X, Point.Y));
    return {p.x(), p.y()};
}

int TControl::GetTextBuf(char* Buffer, int BufSize) const {
    if (!Buffer || BufSize <= 0) return 0;
    const std::string ansi = Utf8ToCp1252(GetText());
    const int n = std::min(static_cast<int>(ansi.size()), BufSize - 1);
    std::copy_n(ansi.data(), n, Buffer);
    Buffer[n] = '\0';
    return n;
}

int TControl::GetTextLen() const {
    return static_cast<int>(Utf8ToCp1252(GetText()).size());
}

void TControl::SetTextBuf(const char* Buffer) {
    SetText(Buffer ? Cp1252ToUtf8(Buffer) : std::string());
}

int32_t TControl::Perform(uint32_t Msg, int32_t WParam, int32_t LParam) {
    switch (Msg) {
        case WM_GETTEXTLENGTH:
            return GetTextLen();
        case WM_CLOSE:
            if (auto* form = dynamic_cast<TForm*>(this)) form->Close();
            return 0;
        default:
            return 0;
    }
}

void TControl::BeginDrag(bool Immediate) {
    fDragging = true;
}

void TControl::EndDrag(bool Drop) {
    if (!fDragging) return;
    fDragging = false;
    if (OnEndDrag) OnEndDrag(this, nullptr, 0, 0);
}

// ---- events ----

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (fAction)
        fAction->Execute();
}

// ---- docking ----

void TControl::ManualDock(TWinControl* Site) {
    if (!Site) return ManualFloat(BoundsRect());
    if (fDocked && fParent == Site) return;
    if (fParent != Site) SetParent(nullptr);
    fDocked = true;
    if (fParent != Site) SetParent(Site);
    Site->DockClientChanged(this, true);
    Site->Realign();
}

void TControl::ManualFloat(const TRect& ScreenPos) {
    SetParent(nullptr);
    SetBoundsRect(ScreenPos);
}

// ---- action and pop-up menu ----

void TControl::SetAction(TBasicAction* value) {
    if (value == fAction) return;
    if (auto* old = dynamic_cast<TCustomAction*>(fAction)) old->RemoveClient(this);
    if (fAction) fAction->RemoveFreeNotification(this);
    fAction = value;
    if (!value) return;
    value->FreeNotification(this);
    if (auto* action = dynamic_cast<TCustomAction*>(value)) {
        action->AddClient(this);
        ActionChanged(*action);
    }
}

void TControl::ActionChanged(TCustomAction& action) {
    SetCaption(action.Caption());
    SetEnabled(action.Enabled());
    SetVisible(action.Visible());
    SetHint(action.Hint());
}

void TControl::ActionGone(TCustomAction& action) {
    if (fAction == &action) fAction = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (value == fPopupMenu) return;
    if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
    fPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

TCanvas* TControl::ControlCanvas() {
    if (!fCanvas) {
        fCanvas = std::make_unique<TCanvas>();
        fCanvas->Font()->Assign(fFont.get());
    }
    return fCanvas.get();
}

bool TControl::BaseWidgetEvent(QEvent* e, bool viewport) {
    if (!fLink) return false;
    return viewport ? fLink->BaseViewportEvent(e) : fLink->BaseEvent(e);
}

bool TControl::HandleMouse(QMouseEvent* m, bool viewport) {
    if (fViewportInput != viewport) return BaseWidgetEvent(m, viewport);
    auto alive = Watch();
    const QPoint pos = m->position().toPoint() - QPoint(ClientOrigin().X, ClientOrigin().Y);
    const TShiftState shift = ShiftStateOf(m->modifiers(), m->buttons());
    TMouseButton button = mbLeft;
    const bool known = MouseButtonOf(m->button(), button);
    BaseWidgetEvent(m, viewport);
    if (alive.expired()) return true;
    switch (m->type()) {
        case QEvent::MouseButtonPress:
            if (!known) break;
            if (button == mbLeft) fClickArmed = true;
            MouseDown(button, shift, pos.x(), pos.y());
            break;
        case QEvent::MouseButtonRelease: {
            if (!known) break;
            const bool click = button == mbLeft && fClickArmed && ClicksOnMouseUp() &&
                               ClientRect().Contains({pos.x(), pos.y()});
            if (button == mbLeft) fClickArmed = false;
            if (click) Click();
            if (alive.expired()) return true;
            MouseUp(button, shift, pos.x(), pos.y());
            // A drag the press began ends with the left button's release.
            if (!alive.expired() && button == mbLeft) EndDrag(true);
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (!known) break;
            if (button == mbLeft && DoubleClicks()) DblClick();
            if (alive.expired()) return true;
            MouseDown(button, shift + TShiftState{ssDouble}, pos.x(), pos.y());
            break;
        default:
            MouseMove(shift, pos.x(), pos.y());
            break;
    }
    if (!alive.expired()) m->accept();
    return true;
}

bool TControl::WidgetEvent(QEvent* e, bool viewport) {
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return HandleMouse(static_cast<QMouseEvent*>(e), viewport);
        case QEvent::Paint: {
            const bool result = BaseWidgetEvent(e, viewport);
            if (PaintsItself() && viewport == fViewportInput) PaintNow(viewport);
            return result;
        }
        case QEvent::Resize: {
            const bool result = BaseWidgetEvent(e, viewport);
            if (!viewport) WidgetResized();
            return result;
        }
        case QEvent::ContextMenu:
            if (fPopupMenu && fPopupMenu->AutoPopup()) {
                const QPoint at = static_cast<QContextMenuEvent*>(e)->globalPos();
                fPopupMenu->SetPopupComponent(this);
                fPopupMenu->Popup(at.x(), at.y());
                e->accept();
                return true;
            }
            return BaseWidgetEvent(e, viewport);
        case QEvent::Enter: {
            if (viewport) return BaseWidgetEvent(e, viewport);
            Application().SetHint(GetLongHint(fHint));
            auto alive = Watch();
            const bool result = BaseWidgetEvent(e, viewport);
            if (!alive.expired() && OnMouseEnter) OnMouseEnter(this);
            return result;
        }
        case QEvent::Leave:
            if (!viewport) Application().SetHint("");
            return BaseWidgetEvent(e, viewport);
        default:
            return BaseWidgetEvent(e, viewport);
    }
}

void TControl::PaintNow(bool viewport) {
    QWidget* target = fWidget;
    if (viewport)
        if (auto* area = qobject_cast<QAbstractScrollArea*>(fWidget)) target = area->viewport();
    QPainter painter(target);
    TCanvas* canvas = ControlCanvas();
    canvas->BeginPaint(&painter, Bounds(0, 0, target->width(), target->height()));
    // A paint handler may free its control, and the canvas with it.
    auto alive = Watch();
    try {
        PaintControl();
    } catch (...) {
        if (!alive.expired()) canvas->EndPaint();
        throw;
    }
    if (!alive.expired()) canvas->EndPaint();
}

void TControl::WidgetResized() {
    if (!fWidget || (fWidget->width() == fWidth && fWidget->height() == fHeight)) return;
    // The widget was sized from outside (a window by the user, a page by its tabs): follow it.
    fWidth = fWidget->width();
    fHeight = fWidget->height();
    auto alive = Watch();
    if (auto* self = dynamic_cast<TWinControl*>(this)) self->Realign();
    if (alive.expired()) return;
    Resize();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == fAction) {
        if (auto* action = dynamic_cast<TCustomAction*>(fAction)) action->RemoveClient(this);
        fAction = nullptr;
    }
    if (AComponent == fPopupMenu) fPopupMenu = nullptr;
}

}  // namespace tv
