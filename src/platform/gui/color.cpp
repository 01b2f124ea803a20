#include "platform/gui/color.h"

#include <QColor>
#include <algorithm>
#include <array>

namespace tv {

namespace {

// The fixed desktop scheme, by system colour number, written as 0xRRGGBB for readability. Window and
// button highlight are both white, and so on, as the controls' defaults expect.
constexpr std::array<uint32_t, 31> kSystemColorsRgb = {
    0xC8C8C8,  //  0 scroll bar
    0x000000,  //  1 desktop background
    0x99B4D1,  //  2 active caption
    0xBFCDDB,  //  3 inactive caption
    0xF0F0F0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x646464,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0x000000,  //  9 caption text
    0xB4B4B4,  // 10 active border
    0xF4F7FC,  // 11 inactive border
    0xABABAB,  // 12 application work space
    0x3399FF,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 grey text
    0x000000,  // 18 button text
    0x434E54,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3D dark shadow
    0xE3E3E3,  // 22 3D light
    0x000000,  // 23 tool-tip text
    0xFFFFE1,  // 24 tool-tip background
    0x000000,  // 25 (unused)
    0x0066CC,  // 26 hot-tracked item
    0xB9D1EA,  // 27 gradient of the active caption
    0xD7E4F2,  // 28 gradient of the inactive caption
    0x3399FF,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (color >= 0) return color;
    const uint32_t index = static_cast<uint32_t>(color) & 0xFFu;
    if (index >= kSystemColorsRgb.size()) return clBlack;
    const uint32_t rgb = kSystemColorsRgb[index];
    return RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

TColor GetShadowColor(TColor color, int luminance) {
    const TColor rgb = ColorToRGB(color);
    QColor c(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    float h, s, l;
    c.getHslF(&h, &s, &l);
    if (h < 0) h = 0;  // grey: no hue
    l = std::clamp(l + static_cast<float>(luminance) / 240.0f, 0.0f, 1.0f);
    const QColor shaded = QColor::fromHslF(h, s, l).toRgb();
    return RGB(static_cast<uint8_t>(shaded.red()), static_cast<uint8_t>(shaded.green()),
               static_cast<uint8_t>(shaded.blue()));
}

}  // namespace tv
