#pragma once
// Scroll bars as controls of their own: a position within Min..Max, moved by the user (OnScroll
// tells how, and may change where to) or the program (OnChange fires after every move).

#include "platform/gui/scrolling_win_control.h"

namespace tv {

enum TScrollCode : uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
TV_ENUM_INFO(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack",
             "scTop", "scBottom", "scEndScroll");

// The scroll code of one of the toolkit's slider actions (QAbstractSlider::SliderAction); false
// for an action that is none.
bool ScrollCodeOfSliderAction(int action, TScrollCode& code);

using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int32_t& ScrollPos)>;

class TScrollBar : public TWinControl {
    TV_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* AOwner = nullptr);
    ~TScrollBar() override;

    TScrollBarKind Kind() const { return fKind; }
    void SetKind(TScrollBarKind value);
    int Min() const;
    void SetMin(int value) { SetParams(Position(), value, Max()); }
    int Max() const;
    void SetMax(int value) { SetParams(Position(), Min(), value); }
    int Position() const;
    void SetPosition(int value) { SetParams(value, Min(), Max()); }
    // Raises EInvalidOperation when AMin > AMax; the position is kept within the range.
    void SetParams(int APosition, int AMin, int AMax);
    TScrollBarInc SmallChange() const { return fSmallChange; }
    void SetSmallChange(TScrollBarInc value);
    TScrollBarInc LargeChange() const { return fLargeChange; }
    void SetLargeChange(TScrollBarInc value);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int32_t& ScrollPos);
    bool AcceptsFocus() const override { return true; }
    bool ClicksOnMouseUp() const override { return false; }

private:
    TScrollBarKind fKind = sbHorizontal;
    TScrollBarInc fSmallChange = 1;
    TScrollBarInc fLargeChange = 1;
};

}  // namespace tv
