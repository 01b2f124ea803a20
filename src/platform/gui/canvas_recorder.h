#pragma once
// A back end for a canvas that records every drawing instead of drawing it, and measures text with
// fixed metrics. Tests attach one to a control's canvas and decide colour, glyph, text, position
// and clip on the record, independent of fonts and rasterisation:
//
//     TCanvasRecorder recorder;
//     grid->Canvas()->AttachRecorder(&recorder);
//     grid->Repaint();
//     const TCanvasRecord* title = recorder.FindText("Namn");
//     EXPECT_EQ(title->Clip, grid->CellRect(1, 0));

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/color.h"
#include "platform/gui/font.h"
#include "platform/gui/rect.h"

namespace tv {

class TCanvas;

enum class TCanvasOp : uint8_t {
    Fill,       // FillRect: Rect in the brush colour
    Frame,      // FrameRect: a one-pixel frame of Rect in the brush colour
    Line,       // LineTo, Polyline: From..To (To excluded) in the pen colour, Index the pen width
    Rectangle,  // Rectangle: Rect filled with Color (clNone: clear brush), outlined in Back (clNone: no pen)
    Shape,      // RoundRect, Ellipse, Arc, Chord, Pie, Polygon: Rect, Index the kind (TCanvasShape)
    Text,       // TextOut, TextRect: Text at From in the font colour; Back the brush behind it; Rect
                // the text's box (TextOut) or the rectangle (TextRect, Flags kTextClipped)
    Edge,       // DrawEdge: Rect, Index the edge kind, Flags the sides and modifiers (panel.h)
    Glyph,      // an image list's Draw: image Index at From, Source the list, Flags 1 when disabled
    Picture,    // Draw, StretchDraw, CopyRect: Rect, Source the graphic or the source canvas
    Gradient,   // GradientFill: Rect from Color to Back, Index 1 top to bottom, 0 left to right
    FocusRect,  // DrawFocusRect: Rect
    Pixel,      // SetPixels: From in Color
    Flood,      // FloodFill: from From, Back the colour of the area or border, Color the brush
    Themed,     // a themed element (theme_services.h): Rect, Index the element, Flags the state,
                // Color the check state
};

// Flags of a text record: TextRect, clipped to its rectangle.
inline constexpr uint32_t kTextClipped = 1;

enum TCanvasShape : uint8_t { shRoundRect, shEllipse, shArc, shChord, shPie, shPolygon };

struct TCanvasRecord {
    TCanvasOp Op = TCanvasOp::Fill;
    TRect Rect;
    TPoint From;
    TPoint To;
    TColor Color = clNone;
    TColor Back = clNone;
    std::string Text;
    // What the drawing could reach: the canvas's clip rectangle, for text also cut to its rectangle.
    TRect Clip;
    int Index = 0;
    uint32_t Flags = 0;
    const void* Source = nullptr;
    // The font of text.
    std::string FontName;
    int FontSize = 0;
    TFontStyles FontStyle;
};

class TCanvasRecorder {
public:
    // Every character is `charWidth` pixels wide and every line `lineHeight` pixels high.
    explicit TCanvasRecorder(int charWidth = 8, int lineHeight = 16)
        : fCharWidth(charWidth), fLineHeight(lineHeight) {}

    int CharWidth() const { return fCharWidth; }
    int LineHeight() const { return fLineHeight; }
    // Characters (not bytes) times the character width.
    int TextWidth(std::string_view utf8) const;
    int TextHeight() const { return fLineHeight; }

    // The area a canvas without a surface of its own draws on (one that is not painting a control
    // or a bitmap); empty means unbounded.
    TRect Surface() const { return fSurface; }
    void SetSurface(const TRect& surface) { fSurface = surface; }

    // ---- the record ----
    const std::vector<TCanvasRecord>& Records() const { return fRecords; }
    void Clear() { fRecords.clear(); }
    // Adds a drawing of `canvas`, taking the clip from it (for the library's drawing routines).
    void Add(TCanvasRecord record, const TCanvas& canvas);

    // The records of one kind, in drawing order.
    std::vector<TCanvasRecord> Of(TCanvasOp op) const;
    // The first text record with exactly this text; nil for none.
    const TCanvasRecord* FindText(std::string_view text) const;
    // The colour the recorded fills leave at a point: the last fill, filled rectangle, text
    // background or gradient (its nearer end colour) that covers it within its clip; clNone when
    // none does.
    TColor FillColorAt(TPoint p) const;

private:
    int fCharWidth;
    int fLineHeight;
    TRect fSurface;
    std::vector<TCanvasRecord> fRecords;
};

}  // namespace tv
