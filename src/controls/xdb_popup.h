#pragma once
// What every pop-up of the grid's in-place editor shares: the pick list, the lookup list and
// grid, the calendar and the calculator each derive from a different control of the class
// library, and take this in through TXPopup<Base>.
//
// A pop-up is a window of its own on the desktop, placed in screen coordinates (its Left and Top
// are the screen's), though its Parent is the editor that owns it. It grabs the keyboard while it
// shows, so the editor that keeps the text cannot see the keys: the pop-up hands each key to the
// editor's logic first (IPopupKeyTarget) and handles only what the editor leaves. It reports its
// end through one event, OnCloseUp; a close the desktop asks for (a click outside it) reports a
// cancel. Over its frame it draws the list border of its grid (GetListBorder, xdb_grid_border.h).

#include <cstdint>
#include <functional>

#include "platform/gui/control.h"
#include "platform/rtl/event.h"

class QEvent;
class QWidget;

namespace tv {

class TXCustomDBGrid;

// Draws on `widget` over what it painted itself (its frame included), with a canvas of its size.
void PaintOverWidget(QWidget* widget, const std::function<void(TCanvas& canvas, TRect rect)>& draw);

// The close-up event: Accept tells whether the value shown is chosen.
using TOnCloseUp = TEvent<void(bool Accept)>;

// The editor's logic, for the keys its open pop-up receives and the press that closes it.
class IPopupKeyTarget {
public:
    // A key went down in the pop-up. False when the editor consumed it; it may also change Key
    // (0 eats it). What is left goes to the pop-up's own handling.
    virtual bool PopupKeyDown(uint16_t& Key, TShiftState Shift) = 0;
    // A character was typed in the pop-up; as PopupKeyDown.
    virtual bool PopupKeyPress(char16_t& Key) = 0;
    // Whether `screenPoint` lies on the button that opens and closes the pop-up. A press there
    // closes the pop-up and ends with it; any other press outside it closes it and then goes on
    // to whatever lies under the mouse.
    virtual bool PopupButtonAt(TPoint screenPoint) const { return false; }

protected:
    ~IPopupKeyTarget() = default;
};

class TXPopupWindow {
public:
    TXPopupWindow(const TXPopupWindow&) = delete;
    TXPopupWindow& operator=(const TXPopupWindow&) = delete;

    // The grid whose editor owns the pop-up; its style settings are read from it. Nil for none.
    TXCustomDBGrid* Grid() const { return fGrid; }
    void SetGrid(TXCustomDBGrid* value) { fGrid = value; }
    // Where the keys go first; nil: the pop-up handles them all.
    IPopupKeyTarget* KeyTarget() const { return fKeyTarget; }
    void SetKeyTarget(IPopupKeyTarget* value) { fKeyTarget = value; }

    // Raised by DoCloseUp; the editor connects its PickListCloseUp.
    TOnCloseUp OnCloseUp;
    // The pop-up ends: Accept when its value is chosen.
    virtual void DoCloseUp(bool Accept);

protected:
    TXPopupWindow() = default;
    virtual ~TXPopupWindow() = default;

    // Makes `widget` a window of its own (if it is not yet) at `bounds` in screen coordinates.
    static void PlaceWindow(QWidget* widget, const TRect& bounds);
    // Shows or hides the window without taking the focus from the editor's window.
    static void ShowWindow(QWidget* widget, bool visible);
    // Whether `e` is the desktop asking the window to close (a click outside it).
    static bool IsCloseRequest(const QEvent* e);
    static bool IsPaint(const QEvent* e);
    // A press outside `widget`, the pop-up, which grabbed it, closes the pop-up (true). On the
    // editor's button the press ends there, or the button would open the list again at once;
    // elsewhere the toolkit hands it on afterwards to what lies under the mouse (a click on
    // another cell still reaches the grid).
    bool CloseOnPressOutside(QWidget* widget, const QEvent* e) const;
    // The border of the grid's lists over the outermost two pixels of `widget`, when the grid asks
    // for a gray or mild one and `ctl3D` is off; otherwise the widget's own frame stays.
    void PaintListBorder(QWidget* widget, bool ctl3D) const;

    bool HandKeyDown(uint16_t& Key, TShiftState Shift) {
        return !fKeyTarget || fKeyTarget->PopupKeyDown(Key, Shift);
    }
    bool HandKeyPress(char16_t& Key) { return !fKeyTarget || fKeyTarget->PopupKeyPress(Key); }

private:
    TXCustomDBGrid* fGrid = nullptr;
    IPopupKeyTarget* fKeyTarget = nullptr;
};

// A control of class Base (a windowed control) made a pop-up.
template <class Base>
class TXPopup : public Base, public TXPopupWindow {
public:
    using Base::Base;

    bool KeyDown(uint16_t& Key, TShiftState Shift) override {
        auto alive = this->Watch();
        if (!HandKeyDown(Key, Shift) || alive.expired()) return false;
        return Key == 0 || Base::KeyDown(Key, Shift);
    }
    bool KeyPress(char16_t& Key) override {
        auto alive = this->Watch();
        if (!HandKeyPress(Key) || alive.expired()) return false;
        return Key == 0 || Base::KeyPress(Key);
    }

protected:
    void UpdateWidgetGeometry() override {
        if (this->Widget()) PlaceWindow(this->Widget(), this->BoundsRect());
    }
    void UpdateWidgetVisibility() override {
        if (this->Widget()) ShowWindow(this->Widget(), this->Visible());
    }
    // Enter and Esc are the editor's, never a form button's.
    bool WantsKey(uint16_t) const override { return true; }
    // The editor keeps the focus; the pop-up's window gets the keys while it shows all the same,
    // and stays out of the form's keyboard order.
    bool AcceptsFocus() const override { return false; }
    bool WidgetEvent(QEvent* e, bool viewport) override {
        if (!viewport && this->Widget() && CloseOnPressOutside(this->Widget(), e)) return true;
        if (!viewport && IsCloseRequest(e)) {
            auto alive = this->Watch();
            DoCloseUp(false);
            if (!alive.expired()) this->Hide();
            return true;
        }
        const bool result = Base::WidgetEvent(e, viewport);
        if (!viewport && IsPaint(e) && this->Widget()) PaintListBorder(this->Widget(), this->Ctl3D());
        return result;
    }
};

}  // namespace tv
