#pragma once
// This library's navigator: the class library's data navigator (the same ten buttons and data
// actions), drawn by buttons of its own that lay a gradient behind their glyphs, track the pointer
// ("hot"), have a "fine" flat look and may show captions beside their glyphs. Prepared glyph
// images are kept per image size in one cache shared by all buttons.

#include <memory>
#include <string>
#include <vector>

#include "controls/xf_gradient.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/db_navigator.h"

namespace tv {

// Images of one size in slots: a freed slot is used again by the next image added.
class TXFGlyphList {
public:
    TXFGlyphList(int width, int height) : fWidth(width), fHeight(height) {}
    static std::unique_ptr<TXFGlyphList> CreateSize(int width, int height) {
        return std::make_unique<TXFGlyphList>(width, height);
    }
    int Width() const { return fWidth; }
    int Height() const { return fHeight; }
    // Stores a copy of `bitmap` drawn without its `maskColor` pixels in the first free slot (a new
    // one at the end when none is free) and returns the slot.
    int AddMasked(const TBitmap& bitmap, TColor maskColor);
    // Frees the slot.
    void Delete(int index);
    // Images stored.
    int Count() const { return fCount; }
    void Draw(TCanvas* canvas, int x, int y, int index) const;

private:
    int fWidth, fHeight;
    std::vector<std::unique_ptr<TBitmap>> fSlots;  // nil: free
    int fCount = 0;
};

class TXFGlyphCache {
public:
    // The list of images of that size: the existing one (the latest made first), or a new one.
    TXFGlyphList* GetList(int width, int height);
    int ListCount() const { return static_cast<int>(fLists.size()); }

private:
    std::vector<std::unique_ptr<TXFGlyphList>> fLists;
};

// The cache of the navigator buttons, made on first use.
TXFGlyphCache& GlyphCache();

enum TFineTheme : uint8_t { ftNoChange, ftBorder, ftUnderline };
TV_ENUM_INFO(TFineTheme, "ftNoChange", "ftBorder", "ftUnderline");

class TXDBNavButton : public TNavButton {
    TV_CLASS(TXDBNavButton, TNavButton)
public:
    explicit TXDBNavButton(TComponent* AOwner = nullptr);
    ~TXDBNavButton() override;

    TXFGradientButton* Gradient() const { return fGradient.get(); }
    bool Fine() const { return fFine; }
    void SetFine(bool value);
    TFineTheme FineTheme() const { return fFineTheme; }
    void SetFineTheme(TFineTheme value);
    TButtonLayout Layout() const { return fLayout; }
    void SetLayout(TButtonLayout value);
    // -1: glyph and text centred together.
    int Margin() const { return fMargin; }
    void SetMargin(int value);
    // Between glyph and text; -1: equal spaces.
    int Spacing() const { return fSpacing; }
    void SetSpacing(int value);
    // The text beside the glyph; empty for none.
    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& value);
    // The pointer is over the button (and it is enabled).
    bool Hot() const;

protected:
    void Paint() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    // The glyph's image for the state, prepared once in the cache (-1 for none).
    int GlyphIndex(bool enabled);
    // The glyph and the caption in `textColor` (engraved when disabled).
    void DrawGlyphAndText(TCanvas* canvas, const TRect& area, bool enabled, TColor textColor = clBtnText);
    // The button drawn through the theme service (xdb_navigator_themed.cpp).
    void PaintThemed();

    std::unique_ptr<TXFGradientButton> fGradient;
    bool fFine = false;
    TFineTheme fFineTheme = ftNoChange;
    TButtonLayout fLayout = blGlyphLeft;
    int fMargin = -1;
    int fSpacing = 4;
    std::string fCaption;
    bool fMouseInControl = false;
    int fGlyphIndexes[2] = {-1, -1};
    TXFGlyphList* fGlyphList = nullptr;
};

class TXDBNavigator : public TDBNavigator {
    TV_CLASS(TXDBNavigator, TDBNavigator)
public:
    explicit TXDBNavigator(TComponent* AOwner = nullptr);
    ~TXDBNavigator() override;

    // The buttons' gradient: each button takes a copy whenever it changes.
    TXFGradientButton* Gradient() const { return fGradient.get(); }
    void SetGradient(TXFGradient* value) { fGradient->Assign(value); }
    bool Fine() const { return fFine; }
    void SetFine(bool value);
    TFineTheme FineTheme() const { return fFineTheme; }
    void SetFineTheme(TFineTheme value);
    TButtonLayout Layout() const { return fLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return fMargin; }
    void SetMargin(int value);
    int Spacing() const { return fSpacing; }
    void SetSpacing(int value);
    // Caption of each button in button order; a missing or empty line takes the default caption
    // ("First" ... "Refresh"). A list equal to the defaults is stored empty.
    TStrings* Captions() const { return fCaptions.get(); }
    void SetCaptions(TStrings* value);
    const TStrings* DefaultCaptions() const { return fDefCaptions.get(); }
    bool ShowCaptions() const { return fShowCaptions; }
    void SetShowCaptions(bool value);
    void SetFlat(bool value) override;

    TXDBNavButton* Button(TNavigateBtn kind) const { return static_cast<TXDBNavButton*>(Buttons(kind)); }

protected:
    TNavButton* CreateButton(TNavigateBtn kind) override;
    void Paint() override;

private:
    void ApplyCaptions();
    void GradientChanged();
    template <class T, class F>
    void Store(T& field, T value, F apply);

    std::unique_ptr<TXFGradientButton> fGradient;
    bool fFine = false;
    TFineTheme fFineTheme = ftNoChange;
    std::unique_ptr<TStrings> fCaptions;
    std::unique_ptr<TStrings> fDefCaptions;
    bool fShowCaptions = false;
    TButtonLayout fLayout = blGlyphLeft;
    int fMargin = -1;
    int fSpacing = 4;
};

}  // namespace tv
