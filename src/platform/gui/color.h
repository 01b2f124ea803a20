#pragma once
// Colours as the class library encodes them: $00BBGGRR for an ordinary colour (red in the low byte),
// $FF000000 plus a number for the desktop's system colour of that number, and two special values.
// The system colours come from one fixed table, so that every run and every test draws alike.

#include <cstdint>

namespace tv {

using TColor = int32_t;

constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index));
}

inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);
inline constexpr TColor clHotLight = SystemColor(26);
inline constexpr TColor clGradientActiveCaption = SystemColor(27);
inline constexpr TColor clGradientInactiveCaption = SystemColor(28);
inline constexpr TColor clMenuHighlight = SystemColor(29);
inline constexpr TColor clMenuBar = SystemColor(30);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}
constexpr uint8_t GetRValue(TColor c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GetGValue(TColor c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(TColor c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// The $00BBGGRR value of a colour: a system colour is looked up in the fixed table (an unknown
// number gives black); any other value is kept as it is.
TColor ColorToRGB(TColor color);
// The colour with its lightness moved by `luminance` steps of 240 (negative: darker), hue and
// saturation kept; the shadow and highlight shades of a colour are made this way.
TColor GetShadowColor(TColor color, int luminance);

}  // namespace tv
