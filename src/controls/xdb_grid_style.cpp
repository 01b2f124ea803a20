#include "controls/xdb_grid_style.h"

#include "controls/xdb_grid.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXGridStyle::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXGridStyle>("TXGridStyle").Build();
    return info;
}

const TClassInfo& TXScrollProp::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXScrollProp>("TXScrollProp").Build();
    return info;
}

// ---------------------------------------------------------------- grid style

TXGridStyle::TXGridStyle(TXCustomDBGrid* AGrid) : fGrid(AGrid) {}

void TXGridStyle::SetSpace(int TGridSpacing::*member, int value, bool rowSpace) {
    if (fSpacing.*member == value) return;
    fSpacing.*member = value;
    fVisualStyle = vsCustom;
    if (!fGrid) return;
    fGrid->LayoutChanged();
    if (rowSpace) fGrid->RefreshEditor();
}

void TXGridStyle::Apply(const TGridSpacing& spacing) {
    fSpacing = spacing;
    if (!fGrid) return;
    fGrid->LayoutChanged();
    fGrid->RefreshEditor();
}

void TXGridStyle::SetVisualStyle(TVisualStyle value) {
    if (value == fVisualStyle && value != vsDefault) return;
    ApplyStyle(value);
}

void TXGridStyle::ApplyStyle(TVisualStyle value) {
    fVisualStyle = value;
    if (value == vsDefault) value = fGrid && fGrid->IsGridThemed() ? vsXPStyle : vsStandard;
    if (value == vsStandard) Apply(kStandardSpacing);
    if (value == vsXPStyle) Apply(kXPStyleSpacing);
}

void TXGridStyle::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXGridStyle*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    fSpacing = other->fSpacing;
    ApplyStyle(other->fVisualStyle);
    if (other->fVisualStyle == vsCustom && fGrid) fGrid->LayoutChanged();
}

// ---------------------------------------------------------------- scroll properties

TXScrollProp::TXScrollProp(TXCustomDBGrid* AGrid) : fGrid(AGrid) {
    if (fGrid) fStyle = StyleFor(fGrid->FixedStyle());
}

TScrollBarStyle TXScrollProp::StyleFor(TFixedStyle fixedStyle) {
    switch (fixedStyle) {
        case fsDefault:
        case fsSoft:
            return ssRegular;
        case fsNice:
        case fsGreat:
        case fsFine:
            return ssFlat;
        default:
            return ssHotTrack;
    }
}

void TXScrollProp::ScrollBarsChanged() {
    if (!fGrid) return;
    fGrid->UpdateScrollBar();
}

void TXScrollProp::SetAutoHidden(TScrollStyle value) {
    if (value == fAutoHidden) return;
    fAutoHidden = value;
    ScrollBarsChanged();
}

void TXScrollProp::SetThumbBar(TScrollStyle value) {
    if (value == fThumbBar) return;
    fThumbBar = value;
    ScrollBarsChanged();
}

void TXScrollProp::SetAutoStretch(bool value) {
    if (value == fAutoStretch) return;
    fAutoStretch = value;
    // Stretching off and on again lets the horizontal bar follow the new rule.
    if (fGrid && fGrid->StretchMode() &&
        (fGrid->ScrollBars() == ssHorizontal || fGrid->ScrollBars() == ssBoth)) {
        fGrid->SetStretchMode(false);
        fGrid->SetStretchMode(true);
    }
}

void TXScrollProp::SetColor(TColor value) {
    if (value == fColor) return;
    fColor = value;
    fParentColor = false;
    Change();
}

void TXScrollProp::SetParentColor(bool value) {
    if (value == fParentColor) return;
    fParentColor = value;
    if (!value || fColor == clBtnHighlight) return;
    fColor = clBtnHighlight;
    Change();
}

void TXScrollProp::SetStyle(TScrollBarStyle value) {
    if (value == fStyle) return;
    fStyle = value;
    fParentStyle = false;
    Change();
}

void TXScrollProp::SetParentStyle(bool value) {
    if (value == fParentStyle) return;
    fParentStyle = value;
    if (value) FixedStyleChanged();
}

void TXScrollProp::FixedStyleChanged() {
    if (!fParentStyle || !fGrid) return;
    const TScrollBarStyle style = StyleFor(fGrid->FixedStyle());
    if (style == fStyle) return;
    fStyle = style;
    Change();
}

void TXScrollProp::SetWinXPMode(bool value) {
    // It chooses between flat and standard bars, and the bars are never flat here.
    fWinXPMode = value;
}

void TXScrollProp::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXScrollProp*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    SetAutoHidden(other->fAutoHidden);
    SetAutoStretch(other->fAutoStretch);
    SetThumbBar(other->fThumbBar);
    SetWinXPMode(other->fWinXPMode);
    if (other->fParentColor)
        SetParentColor(true);
    else
        SetColor(other->fColor);
    if (other->fParentStyle)
        SetParentStyle(true);
    else
        SetStyle(other->fStyle);
}

}  // namespace tv
