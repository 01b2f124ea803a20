#include "controls/xf_gradient.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/brush.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

bool& FillAvailable() {
    static bool available = true;
    return available;
}

// Puts the brush back as it was when the painting is done.
class TBrushKeeper {
public:
    explicit TBrushKeeper(TBrush* brush) : fBrush(brush), fColor(brush->Color()), fStyle(brush->Style()) {}
    ~TBrushKeeper() {
        fBrush->SetColor(fColor);
        fBrush->SetStyle(fStyle);
    }
    TBrushKeeper(const TBrushKeeper&) = delete;
    TBrushKeeper& operator=(const TBrushKeeper&) = delete;

private:
    TBrush* fBrush;
    TColor fColor;
    TBrushStyle fStyle;
};

void FillFlat(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

TRect Inset(const TRect& r, int by) {
    return TRect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by);
}

}  // namespace

bool GradientFillAvailable() {
    return FillAvailable();
}

void SetGradientFillAvailable(bool available) {
    FillAvailable() = available;
}

const TClassInfo& TXFGradient::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXFGradient>("TXFGradient")
                                       .Published("Active", &TXFGradient::Active, &TXFGradient::SetActive)
                                       .Build();
    return info;
}

const TClassInfo& TXFGradientButton::StaticClassInfo() {
    using G = TXFGradientButton;
    static const TClassInfo info = TClassBuilder<G>("TXFGradientButton")
                                       .Published("Active", &G::Active, &G::SetActive)
                                       .Published("Direction", &G::Direction, &G::SetDirection)
                                       .Published("EndColor", &G::EndColor, &G::SetEndColor)
                                       .Published("HotColor", &G::HotColor, &G::SetHotColor)
                                       .Published("Options", &G::Options, &G::SetOptions)
                                       .Published("StartColor", &G::StartColor, &G::SetStartColor)
                                       .Published("SwapColors", &G::SwapColors, &G::SetSwapColors)
                                       .Build();
    return info;
}

TXFGradient::TXFGradient(TControl* control) : fControl(control) {}

TXFGradientButton::TXFGradientButton(TControl* control) : TXFGradient(control) {
    fOptions = {goGradient, goHotButton};
}

void TXFGradient::Changed() {
    if (OnChange) OnChange(this);
}

template <class T>
void TXFGradient::Store(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TXFGradient::SetActive(bool value) { Store(fActive, value); }
void TXFGradient::SetDirection(TGradientDirection value) { Store(fDirection, value); }
void TXFGradient::SetOptions(TXFGradientOptions value) { Store(fOptions, value); }
void TXFGradient::SetSwapColors(bool value) { Store(fSwapColors, value); }
void TXFGradient::SetStartColor(TColor value) { Store(fStartColor, value); }
void TXFGradient::SetEndColor(TColor value) { Store(fEndColor, value); }
void TXFGradient::SetHotColor(TColor value) { Store(fHotColor, value); }
void TXFGradient::SetStepColor(TColor value) { Store(fStepColor, value); }

void TXFGradient::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXFGradient*>(Source);
    if (!other) return TPersistent::Assign(Source);
    fActive = other->fActive;
    fOptions = other->fOptions;
    fDirection = other->fDirection;
    fSwapColors = other->fSwapColors;
    fStartColor = other->fStartColor;
    fEndColor = other->fEndColor;
    fHotColor = other->fHotColor;
    fStepColor = other->fStepColor;
    Changed();
}

bool TXFGradient::Change(const TXFGradient* other) {
    if (!other) return false;
    const bool same = fActive == other->fActive && fOptions == other->fOptions &&
                      fDirection == other->fDirection && fSwapColors == other->fSwapColors &&
                      fStartColor == other->fStartColor && fEndColor == other->fEndColor &&
                      fHotColor == other->fHotColor && fStepColor == other->fStepColor;
    if (same) return false;
    Assign(const_cast<TXFGradient*>(other));
    return true;
}

bool TXFGradient::IsActive(bool /*themesAllowed*/) const {
    return IsAvailable() && fActive;
}

bool TXFGradient::IsHotActive() const {
    return IsActive(true) &&
           (fOptions.Contains(goHotButton) || fOptions.Contains(goHotTrack) || fOptions.Contains(goHotColor));
}

void TXFGradient::FillRect(TCanvas* canvas, const TRect& rect, bool down, bool hot, TColor defaultColor) {
    TBrushKeeper keep(canvas->Brush());
    const bool hotEffects =
        hot && (fOptions.Contains(goHotButton) || fOptions.Contains(goHotTrack) || fOptions.Contains(goHotColor));
    TColor color;
    if (hotEffects && fOptions.Contains(goHotColor))
        color = fHotColor == clDefault ? DefaultHotColor() : fHotColor;
    else
        color = fEndColor == clDefault ? defaultColor : fEndColor;
    TRect area = rect;
    if (hotEffects && fOptions.Contains(goHotTrack)) {
        FillFlat(canvas, area, GetShadowColor(color, -50));
        if (down) color = GetShadowColor(color, -25);
        area = Inset(area, 1);
        if (!fOptions.Contains(goHotButton)) return FillFlat(canvas, area, color);
    }
    if (fOptions.Contains(goGradient) || (hotEffects && fOptions.Contains(goHotButton))) {
        // The gradient runs from the start colour to the dark one, reversed by each of these.
        const bool reversed = (hotEffects && fOptions.Contains(goHotButton)) ^ fSwapColors ^
                              (!fOptions.Contains(goGradient) || (hotEffects && fOptions.Contains(goHotTrack)));
        TColor from = fStartColor;
        TColor to = GetShadowColor(color, -25);
        if (reversed) std::swap(from, to);
        if (IsAvailable()) canvas->GradientFill(area, from, to, fDirection);
        return;
    }
    FillFlat(canvas, area, color);
}

void TXFGradient::FillBack(TCanvas* canvas, const TRect& rect, bool offset, bool down, bool hot, int innerInset,
                           int outerInset, TColor backColor) {
    TRect outer = Inset(rect, outerInset);
    const TRect content = Inset(outer, innerInset);
    const bool hotTrack = hot && fOptions.Contains(goHotTrack);
    if (offset) {
        if (down || hotTrack) {
            ++outer.Right;
            ++outer.Bottom;
        }
        if (!down || hotTrack) {
            --outer.Left;
            --outer.Top;
        }
    }
    if (content.IsEmpty()) return;
    // What the canvas shows there stays on top of the gradient, but for the back colour.
    TBitmap kept;
    kept.SetSize(content.Width(), content.Height());
    kept.Canvas()->CopyRect(TRect(0, 0, content.Width(), content.Height()), canvas, content);
    FillRect(canvas, outer, down, hot, backColor);
    kept.SetTransparentColor(backColor);
    kept.SetTransparent(true);
    canvas->Draw(content.Left, content.Top, &kept);
}

void TXFGradient::FillStep(TCanvas* canvas, const TRect& rect, bool offset, bool down, bool hot, int innerInset,
                           int outerInset, TColor backColor) {
    const TColor end = fEndColor;
    fEndColor = fStepColor;
    try {
        FillBack(canvas, rect, offset, down, hot, innerInset, outerInset, backColor);
    } catch (...) {
        fEndColor = end;
        throw;
    }
    fEndColor = end;
}

}  // namespace tv
