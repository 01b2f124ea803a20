#pragma once
// Controls that hold other controls and take the keyboard focus. A windowed control lays out the
// controls in it by their Align (top, bottom, left and right edges first, in that order, then the
// client area) and Anchors, keeps their tab order, and fires the key and focus events. Its Handle
// is a number standing for it, not a window of a desktop system.

#include <vector>

#include "platform/gui/brush.h"
#include "platform/gui/control.h"

namespace tv {

using TTabOrder = int16_t;

class TWinControl : public TControl {
    TV_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner = nullptr);
    // Frees the controls in it (the last first), whoever owns them.
    ~TWinControl() override;

    // ---- the controls in it ----
    int ControlCount() const { return static_cast<int>(fControls.size()); }
    // Raises EListError outside 0..ControlCount-1.
    TControl* Controls(int Index) const;
    // AControl is this control or one inside it, at any depth.
    bool ContainsControl(const TControl* AControl) const;
    // The same as setting AControl's Parent to this control, or to nil.
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);

    // ---- layout ----
    // Lays the aligned and anchored controls out again now (unless aligning is disabled).
    void Realign();
    void DisableAlign() { ++fAlignDisabled; }
    // Lays out what changed while aligning was disabled.
    void EnableAlign();
    // The area the aligned controls share: the client area, less what the control keeps for
    // itself (a group box's caption, for one).
    virtual TRect AlignRect() const { return ClientRect(); }
    // Scales the size of this control and the place, size and font of every control inside it.
    void ScaleBy(int M, int D);
    // Moves every control inside it by DeltaX, DeltaY.
    void ScrollBy(int DeltaX, int DeltaY);

    // ---- focus and keys ----
    // Visible and enabled with all its parents, on a form that is showing.
    bool CanFocus() const;
    bool Focused() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
    virtual void SetFocus();
    // The position among its siblings in keyboard order; -1 without a parent. Setting moves it,
    // within 0..count-1.
    TTabOrder TabOrder() const;
    void SetTabOrder(TTabOrder value);
    bool TabStop() const { return fTabStop; }
    void SetTabStop(bool value);
    // Visible here and in every parent; a form: shown on the desktop.
    virtual bool Showing() const;

    // ---- the handle (a number, see above) ----
    int32_t Handle();
    bool HandleAllocated() const { return fHandleAllocated; }
    void HandleNeeded() { Handle(); }
    // Shows the control and the controls in it, as they look now, at X, Y of the canvas whose
    // handle DC is (a bitmap's canvas). Raises EInvalidHandle for any other number.
    void PaintTo(int32_t DC, int X, int Y);
    void PaintTo(TCanvas* Canvas, int X, int Y);
    // Brings the widgets in line with the controls' states again.
    void UpdateControlState();
    // The brush that paints the background: its colour is the control's Color.
    TBrush* Brush() const { return fBrush.get(); }
    int32_t HelpContext() const { return fHelpContext; }
    void SetHelpContext(int32_t value) { fHelpContext = value; }

    // ---- events ----
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // ---- what the user does (see TControl) ----
    // Each returns false when a handler set the key to 0: the key is then eaten.
    virtual bool KeyDown(uint16_t& Key, TShiftState Shift);
    virtual bool KeyPress(char16_t& Key);
    virtual bool KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();

protected:
    TWinControl(TComponent* AOwner, QWidget* widget);

    // Lays out the controls in `rect`: aligned ones by edge, anchored ones by their anchors.
    virtual void AlignControls(TRect rect);
    // A control inside moved, changed size, came, went, showed or hid.
    virtual void ChildGeometryChanged(TControl* child) {}
    // Puts the widgets of the controls inside where their bounds say (after the client origin moved).
    void PlaceChildWidgets();
    // A control was docked here (docked true) or left (false).
    virtual void DockClientChanged(TControl* client, bool docked) {}
    // Places a child's widget in this control's widget (a page control puts pages in its tabs).
    virtual void PlaceChild(TControl* child);
    virtual void UnplaceChild(TControl* child);
    bool WidgetEvent(QEvent* e, bool viewport) override;
    void ApplyColor() override;
    // Whether the control handles Enter or Escape itself; otherwise the form's default or cancel
    // button does.
    virtual bool WantsKey(uint16_t Key) const { return false; }
    // Whether the widget takes the focus at all; TabStop decides whether Tab reaches it.
    virtual bool AcceptsFocus() const { return false; }
    void ApplyFocusPolicy();
    // Passes a key to the form first when it previews keys; false when the form ate it.
    bool PreviewKey(QEvent* e, uint16_t& key, TShiftState shift);

private:
    friend class TControl;
    void AddChild(TControl* child);
    void RemoveChild(TControl* child);
    void ChildLayoutChanged(TControl* child);
    void MoveChild(TControl* child, bool toFront);
    void UpdateTabChain();
    bool HandleKeyEvent(QEvent* e, bool viewport);

    std::vector<TControl*> fControls;
    std::vector<TWinControl*> fTabList;
    TControl* fAlignControl = nullptr;  // the control whose change asked for the layout
    int fAlignDisabled = 0;
    bool fAlignPending = false;
    bool fAligning = false;
    bool fTabStop = false;
    bool fHandleAllocated = false;
    int32_t fHelpContext = 0;
    std::unique_ptr<TBrush> fBrush;
};

}  // namespace tv
