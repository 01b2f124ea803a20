#pragma once
// Windowed controls that scroll their contents: when the controls inside reach past the client area,
// scroll bars appear at the right and bottom edges, and moving them moves the controls inside.

#include <memory>

#include "platform/gui/win_control.h"

class QScrollBar;

namespace tv {

class TScrollingWinControl;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
TV_ENUM_INFO(TScrollBarKind, "sbHorizontal", "sbVertical");
using TScrollBarInc = int16_t;

// One of the two scroll bars of a scrolling control: the range of the contents (computed from
// the controls inside while AutoScroll is on), the position scrolled to, and the step.
class TControlScrollBar : public TPersistent {
    TV_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind);
    ~TControlScrollBar() override;

    TScrollBarKind Kind() const { return fKind; }
    // The position while the bar shows, else 0.
    int ScrollPos() const { return IsScrollBarVisible() ? fPosition : 0; }
    bool IsScrollBarVisible() const { return fShown; }

    uint16_t Margin() const { return fMargin; }
    void SetMargin(uint16_t value);
    TScrollBarInc Increment() const { return fIncrement; }
    void SetIncrement(TScrollBarInc value);
    int Range() const { return fRange; }
    // Turns AutoScroll off, as a range set by hand does.
    void SetRange(int value);
    int Position() const { return fPosition; }
    // Kept within 0..Range less the client size; moves the controls inside.
    void SetPosition(int value);
    bool Tracking() const { return fTracking; }
    void SetTracking(bool value);
    bool Visible() const { return fVisible; }
    void SetVisible(bool value);

    void Assign(TPersistent* Source) override;

private:
    friend class TScrollingWinControl;
    int ClientSize() const;
    int MaxPosition() const { return std::max(fRange - ClientSize(), 0); }
    void UpdateBar();

    TScrollingWinControl* fControl;
    TScrollBarKind fKind;
    uint16_t fMargin = 0;
    TScrollBarInc fIncrement = 8;
    int fRange = 0;
    int fPosition = 0;
    bool fTracking = false;
    bool fVisible = true;
    bool fShown = false;
    QScrollBar* fBar = nullptr;  // a part of the control's widget, which frees it
};

class TScrollingWinControl : public TWinControl {
    TV_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* AOwner = nullptr);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return fHorz.get(); }
    void SetHorzScrollBar(TControlScrollBar* value) { fHorz->Assign(value); }
    TControlScrollBar* VertScrollBar() const { return fVert.get(); }
    void SetVertScrollBar(TControlScrollBar* value) { fVert->Assign(value); }
    // On: the ranges follow the controls inside.
    bool AutoScroll() const { return fAutoScroll; }
    void SetAutoScroll(bool value);
    // Scrolls so that AControl (inside this control) is in view.
    void ScrollInView(TControl* AControl);

    // The client area less the scroll bars that show.
    TRect ClientRect() const override;

protected:
    TScrollingWinControl(TComponent* AOwner, QWidget* widget);
    // The client area before the scroll bars take their room.
    virtual TRect InnerRect() const { return TWinControl::ClientRect(); }
    void AlignControls(TRect rect) override;
    void ChildGeometryChanged(TControl* child) override;

private:
    friend class TControlScrollBar;
    void UpdateScrollBars();

    std::unique_ptr<TControlScrollBar> fHorz;
    std::unique_ptr<TControlScrollBar> fVert;
    bool fAutoScroll = false;
    bool fUpdatingBars = false;
};

}  // namespace tv
