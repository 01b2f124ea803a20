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

// 3D edges, with the platform's edge and side numbers. An edge is up to two one-pixel rings: the
// outer ring on the rectangle's outermost pixels, the inner ring one pixel inside it.
// Raised outer: cl3DLight top-left, cl3DDkShadow bottom-right. Raised inner: clBtnHighlight,
// clBtnShadow. Sunken outer: clBtnShadow, clBtnHighlight. Sunken inner: cl3DDkShadow, cl3DLight.
inline constexpr uint32_t BDR_RAISEDOUTER = 0x0001;
inline constexpr uint32_t BDR_SUNKENOUTER = 0x0002;
inline constexpr uint32_t BDR_RAISEDINNER = 0x0004;
inline constexpr uint32_t BDR_SUNKENINNER = 0x0008;
inline constexpr uint32_t BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
inline constexpr uint32_t BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
inline constexpr uint32_t BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr uint32_t BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
// The sides drawn, and how.
inline constexpr uint32_t BF_LEFT = 0x0001;
inline constexpr uint32_t BF_TOP = 0x0002;
inline constexpr uint32_t BF_RIGHT = 0x0004;
inline constexpr uint32_t BF_BOTTOM = 0x0008;
inline constexpr uint32_t BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr uint32_t BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr uint32_t BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr uint32_t BF_MIDDLE = 0x0800;   // the inside filled with clBtnFace
inline constexpr uint32_t BF_SOFT = 0x1000;     // the two rings exchange their top-left colours
inline constexpr uint32_t BF_ADJUST = 0x2000;   // `rect` narrowed to the inside of what was drawn
inline constexpr uint32_t BF_FLAT = 0x4000;     // outer ring clBtnShadow, inner ring clBtnFace
inline constexpr uint32_t BF_MONO = 0x8000;     // outer ring clWindowFrame, inner ring clWindow

// Draws the rings of `edge` on the sides `flags` names; a recording canvas records one Edge.
// Returns false for an edge with no ring.
bool DrawEdge(TCanvas* canvas, TRect& rect, uint32_t edge, uint32_t flags);

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
