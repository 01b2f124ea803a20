#pragma once
// Panels: a plain area with raised or lowered bevels and an optional caption, that holds controls.
// The controls inside are aligned within the border and bevels.

#include "platform/gui/custom_control.h"

namespace tv {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
TV_ENUM_INFO(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace");

// Draws a 3D frame of `width` lines around `rect` (top and left in `topColour`, bottom and right in
// `bottomColour`) and narrows `rect` to what is inside it.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColour, TColor bottomColour, int width);

class TPanel : public TCustomControl {
    TV_CLASS(TPanel, TCustomControl)
public:
    explicit TPanel(TComponent* AOwner = nullptr);

    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelInner() const { return fBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return fBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return fBevelWidth; }
    void SetBevelWidth(int value);
    // A band of the panel's colour between the bevels.
    int BorderWidth() const { return fBorderWidth; }
    void SetBorderWidth(int value);
    TRect AlignRect() const override;

protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }

private:
    void Changed();
    TAlignment fAlignment = taCenter;
    TBevelCut fBevelInner = bvNone;
    TBevelCut fBevelOuter = bvRaised;
    int fBevelWidth = 1;
    int fBorderWidth = 0;
};

}  // namespace tv
