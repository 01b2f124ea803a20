#include "core/forms/event_pictures.h"

#include <string>

#include "core/event_sink.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/color.h"
#include "platform/gui/image_list.h"

namespace tv {
namespace {

// Transparent in the pictures.
constexpr TColor kMask = clFuchsia;

struct StatePicture {
    int level;
    TColor color;
    char mark;
};
constexpr StatePicture kStatePictures[] = {
    {elInfo, clNavy, 'i'},    {elError, clRed, '!'},      {elWarning, 0x0090E0, '!'},
    {elResult, clGreen, '='}, {elExcessive, clGray, '.'}, {elDebug, clSilver, '.'},
};

// A picture of `size`: a filled circle (or rounded square) of `color` with `mark` in white.
void Paint(TBitmap& b, int size, TColor color, char mark, bool square, TColor background = kMask) {
    b.SetSize(size, size);
    TCanvas& c = *b.Canvas();
    c.Brush()->SetColor(background);
    c.FillRect(TRect{0, 0, size, size});
    if (color == kMask) return;
    c.Brush()->SetColor(color);
    c.Pen()->SetColor(color);
    if (square)
        c.RoundRect(1, 1, size - 1, size - 1, size / 3, size / 3);
    else
        c.Ellipse(1, 1, size - 1, size - 1);
    if (!mark) return;
    c.Font()->SetColor(clWhite);
    c.Font()->SetStyle(TFontStyles{fsBold});
    c.Font()->SetSize(size >= 48 ? size / 3 : 8);
    std::string text(1, mark);
    c.TextOut((size - c.TextWidth(text)) / 2, (size - c.TextHeight(text)) / 2, text);
}

}  // namespace

void DrawStatePictures(TImageList& list) {
    list.SetWidth(16);
    list.SetHeight(16);
    for (int index = 0; index <= elDebug; ++index) {
        TBitmap b;
        TColor color = kMask;
        char mark = 0;
        for (const auto& p : kStatePictures)
            if (p.level == index) {
                color = p.color;
                mark = p.mark;
            }
        Paint(b, 16, color, mark, false);
        list.AddMasked(&b, kMask);
    }
}

void DrawStepPictures(TImageList& list) {
    constexpr TColor kColors[] = {clNavy, clTeal, clGreen, clOlive, clPurple, clMaroon, clBlue, clGray};
    list.SetWidth(24);
    list.SetHeight(24);
    for (int index = 0; index < kStepPictureCount; ++index) {
        TBitmap b;
        Paint(b, 24, kColors[index % std::size(kColors)],
              static_cast<char>(index < 10 ? '0' + index : 'A' + index - 10), true);
        list.AddMasked(&b, kMask);
    }
}

void DrawGlyph(TBitmap& glyph, int size, int color, char letter, int background) {
    Paint(glyph, size, static_cast<TColor>(color), letter, true, static_cast<TColor>(background));
}

}  // namespace tv
