#pragma once
// The gradient painter of this library: settings that paint a two-colour linear gradient, a flat
// fill or a "hot" look into a rectangle of a canvas. The grid and the navigator own one each and
// call it when they paint. The gradient is drawn by the canvas's gradient fill; tests can switch
// that off (SetGradientFillAvailable), and then every gradient is inactive and the controls paint
// their plain look. The desktop is never drawn with visual themes here.

#include "platform/gui/canvas.h"
#include "platform/gui/color.h"
#include "platform/gui/rect.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/event.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TControl;

// goGradient paints a gradient; a hot item gets a gradient (goHotButton), a dark frame
// (goHotTrack) or the hot colour (goHotColor).
enum TXFGradientOption : uint8_t { goGradient, goHotButton, goHotTrack, goHotColor };
TV_ENUM_INFO(TXFGradientOption, "goGradient", "goHotButton", "goHotTrack", "goHotColor");
using TXFGradientOptions = TSet<TXFGradientOption>;

// Whether the gradient fill can be used; true unless a test switched it off.
bool GradientFillAvailable();
void SetGradientFillAvailable(bool available);

class TXFGradient : public TPersistent {
    TV_CLASS(TXFGradient, TPersistent)
public:
    // `control` is the control painted for (not owned).
    explicit TXFGradient(TControl* control = nullptr);

    // Every writer stores a different value only and then calls OnChange.
    bool Active() const { return fActive; }
    void SetActive(bool value);
    TGradientDirection Direction() const { return fDirection; }
    void SetDirection(TGradientDirection value);
    TXFGradientOptions Options() const { return fOptions; }
    void SetOptions(TXFGradientOptions value);
    bool SwapColors() const { return fSwapColors; }
    void SetSwapColors(bool value);
    TColor StartColor() const { return fStartColor; }
    void SetStartColor(TColor value);
    // clDefault: the colour the caller passes.
    TColor EndColor() const { return fEndColor; }
    void SetEndColor(TColor value);
    // clDefault: DefaultHotColor.
    TColor HotColor() const { return fHotColor; }
    void SetHotColor(TColor value);
    // The end colour of FillStep; clDefault: the caller's colour.
    TColor StepColor() const { return fStepColor; }
    void SetStepColor(TColor value);

    TNotifyEvent OnChange;

    // Copies the eight settings of another gradient; anything else as persistent objects do.
    void Assign(TPersistent* Source) override;
    // Takes `other`'s settings when any differs (then notifies); false for none or no difference.
    bool Change(const TXFGradient* other);
    virtual TColor DefaultHotColor() const { return 0xEFD3C6; }

    // The gradient fill is there.
    static bool IsAvailable() { return GradientFillAvailable(); }
    // Gradients are painted: the fill is there and Active holds (the control is never themed).
    bool IsActive(bool themesAllowed = true) const;
    // IsActive, and a hot item looks different.
    bool IsHotActive() const;

    // Paints `rect` (see the class comment): with hot effects a dark frame, the gradient from
    // StartColor to the colour darkened by 25, or a flat fill of the colour.
    virtual void FillRect(TCanvas* canvas, const TRect& rect, bool down, bool hot, TColor defaultColor);
    // Paints the gradient behind what `rect` already shows: the pixels of the content rectangle
    // that are not `backColor` stay on top.
    virtual void FillBack(TCanvas* canvas, const TRect& rect, bool offset, bool down, bool hot, int innerInset,
                          int outerInset, TColor backColor);
    // FillBack with StepColor as the end colour.
    virtual void FillStep(TCanvas* canvas, const TRect& rect, bool offset, bool down, bool hot, int innerInset,
                          int outerInset, TColor backColor);

protected:
    TControl* fControl;
    bool fActive = true;
    TGradientDirection fDirection = gdVertical;
    TXFGradientOptions fOptions{goGradient};
    bool fSwapColors = false;
    TColor fStartColor = clWindow;
    TColor fEndColor = clDefault;
    TColor fHotColor = clDefault;
    TColor fStepColor = clDefault;

private:
    void Changed();
    template <class T>
    void Store(T& field, T value);
};

// The gradient of buttons: a hot button gets a gradient too.
class TXFGradientButton : public TXFGradient {
    TV_CLASS(TXFGradientButton, TXFGradient)
public:
    explicit TXFGradientButton(TControl* control = nullptr);
};

}  // namespace tv
