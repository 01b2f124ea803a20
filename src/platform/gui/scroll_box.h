#pragma once
// Scroll boxes: an area that scrolls the controls in it (AutoScroll on), framed unless BorderStyle
// is bsNone.

#include "platform/gui/form.h"

namespace tv {

class TScrollBox : public TScrollingWinControl {
    TV_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* AOwner = nullptr);

    TBorderStyle BorderStyle() const { return fBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    TRect InnerRect() const override;
    TPoint ClientOrigin() const override;

private:
    int FrameWidth() const;
    TBorderStyle fBorderStyle = bsSingle;
};

}  // namespace tv
