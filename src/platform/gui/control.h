#pragma once
// Controls: components the user sees. A control has a place and size in its parent, may be aligned
// to the parent's edges or anchored to them, shows a text, a font and a colour, and fires mouse and
// click events. Each control owns the widget that shows it (the control is not a widget itself):
// its owner frees it, its parent places and shows it, and freeing a parent frees the controls in it.

#include <memory>
#include <string>
#include <string_view>

#include "platform/gui/canvas.h"
#include "platform/gui/control_types.h"
#include "platform/gui/drag_object.h"
#include "platform/gui/rect.h"
#include "platform/gui/size_constraints.h"
#include "platform/rtl/component.h"

class QEvent;
class QMouseEvent;
class QWidget;

namespace tv {

class TWidgetLink;
class TWinControl;
class TForm;
class TBasicAction;
class TCustomAction;
class TPopupMenu;

// What shows an action (a control, a menu item): told whenever the action changes.
class IActionClient {
public:
    virtual void ActionChanged(TCustomAction& action) = 0;
    // The action is being freed: forget it.
    virtual void ActionGone(TCustomAction& action) = 0;

protected:
    ~IActionClient() = default;
};

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char16_t& Key)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int32_t X, int32_t Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;

// The messages Perform answers; every other message answers 0.
inline constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr uint32_t WM_CLOSE = 0x0010;

// The part of a hint before "|" (shown as the tool tip) and the part after it (shown elsewhere,
// such as a status bar); a hint without "|" is both.
std::string GetShortHint(std::string_view hint);
std::string GetLongHint(std::string_view hint);

class TControl : public TComponent, public IActionClient {
    TV_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    // ---- place and size, in the parent's client coordinates ----
    int Left() const { return fLeft; }
    void SetLeft(int value) { SetBounds(value, fTop, fWidth, fHeight); }
    int Top() const { return fTop; }
    void SetTop(int value) { SetBounds(fLeft, value, fWidth, fHeight); }
    int Width() const { return fWidth; }
    void SetWidth(int value) { SetBounds(fLeft, fTop, value, fHeight); }
    int Height() const { return fHeight; }
    void SetHeight(int value) { SetBounds(fLeft, fTop, fWidth, value); }
    // Sizes are kept within the constraints and never negative.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(fLeft, fTop, fWidth, fHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // The inside of the control, from 0, 0.
    virtual TRect ClientRect() const { return Bounds(0, 0, fWidth, fHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    void SetClientWidth(int value);
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientHeight(int value);
    TAlign Align() const { return fAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return fAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return fConstraints.get(); }
    void SetConstraints(TSizeConstraints* value) { fConstraints->Assign(value); }

    // ---- parent and visibility ----
    TWinControl* Parent() const { return fParent; }
    // Places the control in AParent (nil takes it out). Raises EInvalidOperation for the control
    // itself or one of the controls inside it.
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const { return fParent != nullptr; }
    bool Visible() const { return fVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    virtual bool Enabled() const { return fEnabled; }
    virtual void SetEnabled(bool value);
    // The form the control is on: the outermost one (TopForm) or the nearest; nil for none.
    TForm* ParentForm(bool TopForm = true) const;

    // ---- text and look ----
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value);
    TFont* Font() const { return fFont.get(); }
    void SetFont(TFont* value) { fFont->Assign(value); }
    // On: the font follows the parent's. Changing the font turns it off.
    bool ParentFont() const { return fParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return fParentColor; }
    void SetParentColor(bool value);
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value);
    // The tool tip shows when ShowHint is on (taken from the parent while ParentShowHint is on).
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const { return fParentShowHint; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return fCursor; }
    void SetCursor(TCursor value);
    // Stored only, unless the control draws its own frame (a grid): the desktop draws its frames.
    bool Ctl3D() const { return fCtl3D; }
    virtual void SetCtl3D(bool value) { fCtl3D = value; }
    bool ParentCtl3D() const { return fParentCtl3D; }
    void SetParentCtl3D(bool value) { fParentCtl3D = value; }
    // Stored only: drag and drop is not carried out (see Dragging).
    TDragMode DragMode() const { return fDragMode; }
    void SetDragMode(TDragMode value) { fDragMode = value; }
    TCursor DragCursor() const { return fDragCursor; }
    void SetDragCursor(TCursor value) { fDragCursor = value; }
    TDragKind DragKind() const { return fDragKind; }
    void SetDragKind(TDragKind value) { fDragKind = value; }

    // ---- docking ----
    // Places the control in Site as a docked control: it fills the room the site's aligned
    // controls leave (a site may arrange docked controls otherwise). Nil floats it.
    void ManualDock(TWinControl* Site);
    // Takes the control out of its dock site: a form becomes a window at ScreenPos, another control
    // is left without a parent.
    virtual void ManualFloat(const TRect& ScreenPos);
    TWinControl* HostDockSite() const { return fDocked ? fParent : nullptr; }
    bool IsDockClient() const { return fDocked; }

    // ---- action and pop-up menu ----
    // The action the control shows (caption, enabled state, visibility, hint follow it) and runs
    // when clicked without an OnClick of its own; nil for none.
    TBasicAction* Action() const { return fAction; }
    void SetAction(TBasicAction* value);
    // Shown where the user right-clicks the control.
    TPopupMenu* PopupMenu() const { return fPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    void ActionChanged(TCustomAction& action) override;
    void ActionGone(TCustomAction& action) override;

    // ---- drawing and order ----
    virtual void Invalidate();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void Update();
    void BringToFront();
    void SendToBack();

    // ---- coordinates, text buffers, messages ----
    TPoint ClientToScreen(TPoint Point) const;
    TPoint ScreenToClient(TPoint Point) const;
    // The text as Windows-1252 bytes: at most BufSize - 1 of them and a closing NUL; returns how
    // many were copied.
    int GetTextBuf(char* Buffer, int BufSize) const;
    int GetTextLen() const;
    // Takes a NUL-terminated Windows-1252 text; nil is an empty text.
    void SetTextBuf(const char* Buffer);
    // WM_GETTEXTLENGTH gives GetTextLen and WM_CLOSE closes a form; other messages give 0.
    int32_t Perform(uint32_t Msg, int32_t WParam, int32_t LParam);

    // Drag operations are only a state: BeginDrag starts one, EndDrag (or the left button's
    // release) ends it and fires OnEndDrag with no target.
    bool Dragging() const { return fDragging; }
    void BeginDrag(bool Immediate);
    void EndDrag(bool Drop);

    // ---- events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    // The mouse came over the control.
    TNotifyEvent OnMouseEnter;
    // Kept for scripts and form descriptions; not fired (no drag and drop).
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

    // ---- what the user does: the library calls these when it happens, tests may call them ----
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    // The widget that shows the control (for the library and for embedding foreign widgets).
    QWidget* Widget() const { return fWidget; }

protected:
    // Builds the control around `widget`, a bridged widget (widget_bridge.h) it then owns.
    TControl(TComponent* AOwner, QWidget* widget);

    // The text as the control keeps it; controls whose widget holds the text override both.
    virtual std::string GetText() const { return fText; }
    virtual void SetTextValue(const std::string& value);
    // The text changed: show it.
    virtual void TextChanged() {}
    virtual void Resize();
    // Shows font, colour, enabled state, cursor and tool tip on the widget.
    virtual void ApplyFont();
    virtual void ApplyColor();
    void ApplyHint();
    // Whether a left click on the control (press and release inside) is a Click. Controls whose
    // widget reports its own clicks (buttons) say no.
    virtual bool ClicksOnMouseUp() const { return true; }
    // Whether a left double click is a DblClick: where clicks are (list boxes report their clicks
    // themselves, as a change of the chosen item, and have double clicks all the same).
    virtual bool DoubleClicks() const { return ClicksOnMouseUp(); }
    // Handles an event of the widget (viewport: of a scroll area's viewport); false lets the
    // widget's parent see it. The default fires the mouse, click and resize events.
    virtual bool WidgetEvent(QEvent* e, bool viewport);
    bool BaseWidgetEvent(QEvent* e, bool viewport);
    // Controls that draw themselves: PaintsItself says so and PaintControl draws on Canvas.
    virtual bool PaintsItself() const { return false; }
    virtual void PaintControl() {}
    TCanvas* ControlCanvas();
    // The widget was placed in, or taken out of, the parent's widget; the visibility follows.
    virtual void UpdateWidgetVisibility();
    virtual void UpdateWidgetGeometry();
    // The control's font changed: ByParent when it was copied from the parent's (ParentFont).
    // Called after the control shows the new font and has told the controls inside.
    virtual void DoFontChanged(bool ByParent) {}
    // The parent's font or colour changed.
    void ParentFontChanged();
    void ParentColorChanged();
    // A window of its own on the desktop (a form without a parent).
    virtual bool IsWindow() const { return false; }
    // Where the client area begins in the widget (below a form's menu bar).
    virtual TPoint ClientOrigin() const { return {}; }
    // Called when bounds were set by the user or the program (not by layout): the anchors keep
    // these bounds relative to the parent's size from now on.
    void UpdateAnchorRules();
    // Tells the parent that this control's place in its layout changed.
    void RequestAlign();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Marks the start of destruction (of this control and the components it owns), so that their
    // widgets' events are no longer acted upon.
    void BeginDestroy() { Destroying(); }
    // This control or one of its parents is being freed.
    bool BeingDestroyed() const;
    // Expires when the control is freed: handlers may free the control that fired them, so code
    // that goes on after firing an event checks this first.
    std::weak_ptr<char> Watch() const { return fAlive; }

private:
    friend class TWinControl;
    friend bool DispatchWidgetEvent(TControl&, QEvent*, bool) noexcept;
    friend void ControlWidgetGone(TControl&) noexcept;
    void FontChanged();
    bool HandleMouse(QMouseEvent* m, bool viewport);
    void PaintNow(bool viewport);
    void WidgetResized();
    // Sets the bounds on behalf of the parent's layout (alignment and anchors).
    void SetLayoutBounds(int ALeft, int ATop, int AWidth, int AHeight);

    std::shared_ptr<char> fAlive = std::make_shared<char>();
    QWidget* fWidget = nullptr;
    TWidgetLink* fLink = nullptr;
    // Scroll areas take mouse and paint events on their viewport.
    bool fViewportInput = false;
    TWinControl* fParent = nullptr;
    int fLeft = 0;
    int fTop = 0;
    int fWidth = 0;
    int fHeight = 0;
    TAlign fAlign = alNone;
    TAnchors fAnchors{akLeft, akTop};
    // The bounds and the parent's client size the anchors hold on to.
    TRect fAnchorBounds;
    int fAnchorParentWidth = 0;
    int fAnchorParentHeight = 0;
    std::unique_ptr<TSizeConstraints> fConstraints;
    bool fVisible = true;
    bool fEnabled = true;
    std::string fText;
    std::unique_ptr<TFont> fFont;
    bool fParentFont = true;
    bool fApplyingParentFont = false;
    TColor fColor = clBtnFace;
    bool fParentColor = true;
    std::string fHint;
    bool fShowHint = false;
    bool fParentShowHint = true;
    TCursor fCursor = crDefault;
    bool fCtl3D = true;
    bool fParentCtl3D = true;
    TDragMode fDragMode = dmManual;
    TCursor fDragCursor = crDrag;
    TDragKind fDragKind = dkDrag;
    bool fDragging = false;
    bool fClickArmed = false;
    bool fLayoutMove = false;
    std::unique_ptr<TCanvas> fCanvas;
    bool fDocked = false;
    TBasicAction* fAction = nullptr;
    TPopupMenu* fPopupMenu = nullptr;
};

}  // namespace tv
