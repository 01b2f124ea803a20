#include "platform/gui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/menu.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/screen.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {

constexpr std::string_view kInvalidActiveControl = "Invalid ActiveControl: the control is not on the form";
constexpr int kDefaultFormWidth = 320;
constexpr int kDefaultFormHeight = 240;

}  // namespace

const TClassInfo& TForm::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "ActiveControl", "Anchors",      "Constraints",   "BorderIcons", "BorderStyle",  "Caption",
        "AutoScroll",    "Color",        "Font",          "FormStyle",   "KeyPreview",   "Position",
        "OnActivate",    "OnClick",      "OnDblClick",    "OnClose",     "OnCloseQuery", "OnCreate",
        "OnDestroy",     "OnDeactivate", "OnHide",        "OnKeyDown",   "OnKeyPress",   "OnKeyUp",
        "OnResize",      "OnShow",       "PixelsPerInch", "PrintScale",  "Scaled",       "WindowState",
        "CTL3D",         "OnDragDrop",   "OnDragOver",    "OnMouseDown", "OnMouseMove",  "OnMouseUp",
        "OnPaint"};
    static const TClassInfo info = [] {
        TClassBuilder<TForm> b("TForm");
        b.Constructor<TComponent*, int32_t>();
        return PublishNames(b, kPublished).Build();
    }();
    return info;
}

TForm::TForm(TComponent* AOwner) : TScrollingWinControl(AOwner, NewWidget<QWidget>()) {
    SetVisible(false);
    SetParentFont(false);
    SetParentColor(false);
    SetColor(clBtnFace);
    Screen().AddForm(this);
    ApplyWindowFlags();
    SetBounds(0, 0, kDefaultFormWidth, kDefaultFormHeight);
}

TForm::TForm(TComponent* AOwner, int32_t) : TForm(AOwner) {}

TForm::~TForm() {
    try {
        if (OnDestroy) OnDestroy(this);
    } catch (...) {
        HandleGuiException(this);
    }
    BeginDestroy();
    Screen().RemoveForm(this);
    if (TApplication* app = ApplicationIfAny()) app->ControlDestroyed(this);
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

// ---- showing and closing ----

int TForm::ShowModal() {
    if (Visible() || !Enabled() || fModal || Parent() || fFormStyle == fsMDIChild)
        throw EInvalidOperation(std::string(kCannotShowModal));
    if (ScreenlessRun()) {
        // Nobody can answer a window in an unattended run: answer Cancel, as a cancelled dialog
        // would, and report the form instead of waiting for ever.
        HeadlessDialogService().Report(Caption(), kModalFormNotShown);
        return mrCancel;
    }
    auto alive = Watch();
    TApplication& app = Application();
    fModal = true;
    ModalResult = mrNone;
    auto leave = [&] {
        if (alive.expired()) return;
        Hide();
        if (Widget()) Widget()->setWindowModality(Qt::NonModal);
        fModal = false;
    };
    try {
        if (Widget()) Widget()->setWindowModality(Qt::ApplicationModal);
        Show();
        while (ModalResult == mrNone) {
            app.HandleMessage();
            if (alive.expired()) return mrCancel;  // freed by a handler while showing
            if (app.Terminated())
                ModalResult = mrCancel;
            else if (ModalResult != mrNone)
                CloseModal();
            if (alive.expired()) return mrCancel;
        }
    } catch (...) {
        leave();
        throw;
    }
    const int result = ModalResult;
    leave();
    return result;
}

void TForm::CloseModal() {
    // OnCloseQuery and OnClose may free the form.
    auto alive = Watch();
    TCloseAction action = caNone;
    if (CloseQuery()) {
        if (alive.expired()) return;
        action = caHide;
        DoClose(action);
    }
    if (alive.expired()) return;
    if (action == caNone)
        ModalResult = mrNone;
    else if (action == caFree)
        Release();
}

void TForm::Close() {
    if (fModal) {
        ModalResult = mrCancel;
        return;
    }
    // OnCloseQuery and OnClose may free the form.
    auto alive = Watch();
    if (!CloseQuery() || alive.expired()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (alive.expired() || action == caNone) return;
    TApplication* app = ApplicationIfAny();
    if (app && app->MainForm() == this)
        app->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Release() {
    const int32_t handle = TObjectHandles::HandleOf(this);
    QMetaObject::invokeMethod(
        qApp,
        [handle] {
            if (TObject* form = TObjectHandles::TryObjectOf(handle)) delete form;
        },
        Qt::QueuedConnection);
}

void TForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::Activate() {
    fActive = true;
    if (OnActivate) OnActivate(this);
}

void TForm::Deactivate() {
    fActive = false;
    if (OnDeactivate) OnDeactivate(this);
}

void TForm::Paint() {
    if (OnPaint) OnPaint(this);
}

bool TForm::Showing() const {
    if (Parent()) return TScrollingWinControl::Showing();
    return Visible() && Widget() && Widget()->isVisible();
}

// ---- window ----

void TForm::UpdateWidgetVisibility() {
    QWidget* w = Widget();
    if (!w) return;
    if (Parent()) {
        TScrollingWinControl::UpdateWidgetVisibility();
    } else if (Visible()) {
        if (!w->isVisible()) {
            ApplyWindowFlags();
            PlaceOnScreen();
            UpdateWidgetGeometry();
            if (fWindowState == wsMinimized)
                w->showMinimized();
            else if (fWindowState == wsMaximized)
                w->showMaximized();
            else
                w->show();
            w->raise();
            w->activateWindow();
        }
    } else {
        w->hide();
    }
    if (Visible() != fShown) {
        fShown = Visible();
        if (fShown) {
            if (fActiveControl && fActiveControl->CanFocus() && fActiveControl->Widget())
                fActiveControl->Widget()->setFocus(Qt::OtherFocusReason);
            DoShow();
        } else {
            DoHide();
        }
    }
}

void TForm::UpdateWidgetGeometry() {
    QWidget* w = Widget();
    if (!w) return;
    if (!IsWindow()) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        TScrollingWinControl::UpdateWidgetGeometry();
        return;
    }
    {
        const bool fixed =
            fBorderStyle == bsSingle || fBorderStyle == bsDialog || fBorderStyle == bsToolWindow;
        if (fixed) {
            w->setFixedSize(Width(), Height());
        } else {
            w->setMinimumSize(Constraints()->MinWidth(), Constraints()->MinHeight());
            w->setMaximumSize(Constraints()->MaxWidth() > 0 ? Constraints()->MaxWidth() : QWIDGETSIZE_MAX,
                              Constraints()->MaxHeight() > 0 ? Constraints()->MaxHeight() : QWIDGETSIZE_MAX);
        }
    }
    w->setGeometry(Left(), Top(), Width(), Height());
}

void TForm::ApplyWindowFlags() {
    QWidget* w = Widget();
    if (!w || !IsWindow()) return;
    Qt::WindowFlags f = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (fBorderStyle) {
        case bsNone:
            f = Qt::Window | Qt::FramelessWindowHint;
            break;
        case bsDialog:
            f |= Qt::Dialog;
            break;
        case bsToolWindow:
        case bsSizeToolWin:
            f |= Qt::Tool;
            break;
        default:
            f |= Qt::Window;
            if (fBorderIcons.Contains(biMinimize)) f |= Qt::WindowMinimizeButtonHint;
            if (fBorderIcons.Contains(biMaximize)) f |= Qt::WindowMaximizeButtonHint;
            break;
    }
    if (fBorderStyle != bsNone && fBorderIcons.Contains(biSystemMenu))
        f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (fBorderIcons.Contains(biHelp)) f |= Qt::WindowContextHelpButtonHint;
    if (fFormStyle == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    if (w->windowFlags() == f) return;
    const bool shown = w->isVisible();
    w->setWindowFlags(f);
    if (shown) w->show();
}

void TForm::PlaceOnScreen() {
    TRect area;
    switch (fPosition) {
        case poScreenCenter:
            area = Bounds(0, 0, Screen().Width(), Screen().Height());
            break;
        case poDesktopCenter:
            area = Screen().WorkAreaRect();
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TApplication* app = ApplicationIfAny();
            TForm* other = fPosition == poOwnerFormCenter ? dynamic_cast<TForm*>(Owner())
                           : app                          ? app->MainForm()
                                                          : nullptr;
            area = other && other != this && other->Showing()
                       ? other->BoundsRect()
                       : Bounds(0, 0, Screen().Width(), Screen().Height());
            break;
        }
        default:
            return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
              Height());
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == fBorderStyle) return;
    fBorderStyle = value;
    ApplyWindowFlags();
    UpdateWidgetGeometry();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == fBorderIcons) return;
    fBorderIcons = value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value) {
    if (value == fFormStyle) return;
    fFormStyle = value;
    ApplyWindowFlags();
}

void TForm::SetWindowState(TWindowState value) {
    if (value == fWindowState) return;
    fWindowState = value;
    QWidget* w = Widget();
    if (!w || !IsWindow() || !w->isVisible()) return;
    if (value == wsMinimized)
        w->showMinimized();
    else if (value == wsMaximized)
        w->showMaximized();
    else
        w->showNormal();
}

void TForm::TextChanged() {
    if (Widget()) Widget()->setWindowTitle(ToQString(Caption()));
}

// ---- focus ----

void TForm::SetActiveControl(TWinControl* Control) {
    if (Control == fActiveControl) return;
    if (Control && !ContainsControl(Control)) throw EInvalidOperation(std::string(kInvalidActiveControl));
    if (fActiveControl) fActiveControl->RemoveFreeNotification(this);
    fActiveControl = Control;
    if (!Control) return;
    Control->FreeNotification(this);
    if (Showing() && !Control->Focused() && Control->CanFocus() && Control->Widget())
        Control->Widget()->setFocus(Qt::OtherFocusReason);
}

void TForm::FocusControl(TWinControl* Control) {
    SetActiveControl(Control);
}

void TForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (!Control || !fActiveControl || !Control->ContainsControl(fActiveControl)) return;
    TWinControl* next = Removing ? nullptr : Control->Parent();
    SetActiveControl(next == this ? nullptr : next);
}

bool TForm::SetFocusedControl(TWinControl* Control) {
    if (Control && !ContainsControl(Control)) return false;
    SetActiveControl(Control);
    return true;
}

void TForm::SetActiveOleControl(TWinControl* value) {
    if (fActiveOleControl) fActiveOleControl->RemoveFreeNotification(this);
    fActiveOleControl = value;
    if (value) value->FreeNotification(this);
}

void TForm::SetMenu(TMainMenu* value) {
    if (value == fMenu) return;
    if (fMenu) fMenu->RemoveFreeNotification(this);
    delete fMenuBar;
    fMenuBar = nullptr;
    fMenu = value;
    if (value) {
        value->FreeNotification(this);
        if (Widget()) fMenuBar = value->CreateMenuBar(Widget());
    }
    LayoutMenuBar();
}

int TForm::MenuHeight() const {
    return fMenuBar ? fMenuBar->sizeHint().height() : 0;
}

TRect TForm::InnerRect() const {
    TRect r = TScrollingWinControl::InnerRect();
    r.Bottom = std::max(r.Top, r.Bottom - MenuHeight());
    return r;
}

void TForm::LayoutMenuBar() {
    if (fMenuBar) {
        fMenuBar->setGeometry(0, 0, Width(), MenuHeight());
        fMenuBar->show();
    }
    // The controls inside move below the bar (or back up).
    PlaceChildWidgets();
    Realign();
}

void TForm::Resize() {
    if (fMenuBar) fMenuBar->setGeometry(0, 0, Width(), MenuHeight());
    TScrollingWinControl::Resize();
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == fMenu) {
        fMenu = nullptr;
        delete fMenuBar;
        fMenuBar = nullptr;
        LayoutMenuBar();
    }
    if (AComponent == fActiveControl) fActiveControl = nullptr;
    if (AComponent == fActiveOleControl) fActiveOleControl = nullptr;
}

TForm* TForm::MDIChildren(int Index) const {
    ListIndexError(Index);
}

// ---- dialog keys ----

bool TForm::DialogKey(uint16_t Key, TWinControl* From) {
    if (Key == VK_RETURN)
        if (auto* focused = dynamic_cast<TButton*>(From)) {
            focused->Click();
            return true;
        }
    TButton* target = nullptr;
    auto find = [&](auto& self, const TWinControl* w) -> void {
        for (int i = 0; i < w->ControlCount() && !target; ++i) {
            TControl* c = w->Controls(i);
            if (!c->Visible() || !c->Enabled()) continue;
            if (auto* b = dynamic_cast<TButton*>(c); b && (Key == VK_RETURN ? b->Default() : b->Cancel()))
                target = b;
            if (auto* inner = dynamic_cast<TWinControl*>(c)) self(self, inner);
        }
    };
    find(find, this);
    if (!target) return false;
    target->Click();
    return true;
}

// ---- docking ----

void TForm::ManualFloat(const TRect& ScreenPos) {
    TScrollingWinControl::ManualFloat(ScreenPos);
    ApplyWindowFlags();
}

// ---- widget events ----

bool TForm::WidgetEvent(QEvent* e, bool viewport) {
    if (viewport) return TScrollingWinControl::WidgetEvent(e, viewport);
    switch (e->type()) {
        case QEvent::Close:
            // The desktop asks the window to close: the form decides.
            e->ignore();
            Close();
            return true;
        case QEvent::WindowActivate: {
            const bool result = BaseWidgetEvent(e, viewport);
            Activate();
            return result;
        }
        case QEvent::WindowDeactivate: {
            const bool result = BaseWidgetEvent(e, viewport);
            Deactivate();
            return result;
        }
        case QEvent::Move: {
            const bool result = BaseWidgetEvent(e, viewport);
            if (IsWindow() && Widget()) {
                const QRect g = Widget()->geometry();
                if (g.x() != Left() || g.y() != Top()) SetBounds(g.x(), g.y(), Width(), Height());
            }
            return result;
        }
        case QEvent::WindowStateChange: {
            const bool result = BaseWidgetEvent(e, viewport);
            if (Widget() && IsWindow()) {
                const Qt::WindowStates s = Widget()->windowState();
                fWindowState = s & Qt::WindowMinimized   ? wsMinimized
                               : s & Qt::WindowMaximized ? wsMaximized
                                                         : wsNormal;
            }
            return result;
        }
        default:
            return TScrollingWinControl::WidgetEvent(e, viewport);
    }
}

}  // namespace tv
