#pragma once
// A font: face name, size (points) or height (pixels, negative for the character height), style,
// pitch and colour. Size and Height are two views of one value, converted at PixelsPerInch.

#include <string>

#include "platform/gui/color.h"
#include "platform/gui/graphics_object.h"
#include "platform/rtl/enum_set.h"

namespace tv {

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
TV_ENUM_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
TV_ENUM_INFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed");

// The face every control starts with, and the resolution sizes are converted at.
inline constexpr const char* kDefaultFontName = "DejaVu Sans";
inline constexpr int kDefaultFontSize = 8;
inline constexpr int kScreenPixelsPerInch = 96;

class TFont : public TGraphicsObject {
    TV_CLASS(TFont, TGraphicsObject)
public:
    TFont();

    const std::string& Name() const { return fName; }
    void SetName(const std::string& value);
    int Size() const;
    void SetSize(int value);
    int Height() const { return fHeight; }
    void SetHeight(int value);
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return fStyle; }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return fPitch; }
    void SetPitch(TFontPitch value);

    // The number Size and Height are converted at; writing it stores the number and nothing else.
    int PixelsPerInch = kScreenPixelsPerInch;

    // A number standing for this font. Setting the number of another font copies that font.
    int32_t Handle() const;
    void SetHandle(int32_t value);

    void Assign(TPersistent* Source) override;

private:
    friend bool SameFont(const TFont& a, const TFont& b);
    std::string fName = kDefaultFontName;
    int fHeight;
    TColor fColor = clWindowText;
    TFontStyles fStyle;
    TFontPitch fPitch = fpDefault;
};

// Whether two fonts draw alike: name, height, style, pitch and colour.
bool SameFont(const TFont& a, const TFont& b);

}  // namespace tv
