#pragma once
// Buttons with a picture (glyph) beside or above their caption: TBitBtn is a push button, TSpeedButton
// a flat tool button that can stay down (alone or as one of a group). Glyphs are bitmaps, loaded from
// BMP or PNG files (PNG transparency kept); a strip of NumGlyphs pictures shows its first.

#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/button.h"
#include "platform/gui/graphic_control.h"

namespace tv {

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
TV_ENUM_INFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom");

// The glyph of a picture button and how it sits beside the caption (a base of the button classes).
class TButtonGlyph {
public:
    explicit TButtonGlyph(QWidget* button);
    ~TButtonGlyph();
    TBitmap* Glyph() const { return fGlyph.get(); }
    void SetGlyph(TBitmap* value) { fGlyph->Assign(value); }
    int NumGlyphs() const { return fNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return fLayout; }
    void SetLayout(TButtonLayout value);
    int Spacing() const { return fSpacing; }
    void SetSpacing(int value) { fSpacing = value; }
    int Margin() const { return fMargin; }
    void SetMargin(int value) { fMargin = value; }

private:
    void Apply();
    QWidget* fButton;
    std::unique_ptr<TBitmap> fGlyph;
    int fNumGlyphs = 1;
    TButtonLayout fLayout = blGlyphLeft;
    int fSpacing = 4;
    int fMargin = -1;
};

class TBitBtn : public TButton, public TButtonGlyph {
    TV_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* AOwner = nullptr);
};

class TSpeedButton : public TGraphicControl, public TButtonGlyph {
    TV_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* AOwner = nullptr);

    // Drawn without a frame until the mouse is over it.
    bool Flat() const { return fFlat; }
    void SetFlat(bool value);
    // Buttons of one parent with the same GroupIndex (not 0) stay down one at a time; a click puts
    // a button down, and up again only with AllowAllUp.
    int GroupIndex() const { return fGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return fDown; }
    void SetDown(bool value);
    bool AllowAllUp() const { return fAllowAllUp; }
    void SetAllowAllUp(bool value) { fAllowAllUp = value; }

    void Click() override;

protected:
    void TextChanged() override;
    bool PaintsItself() const override { return false; }
    bool ClicksOnMouseUp() const override { return false; }

private:
    bool fFlat = false;
    int fGroupIndex = 0;
    bool fDown = false;
    bool fAllowAllUp = false;
};

}  // namespace tv
