#pragma once
// A surface to draw on with a pen, a brush and a font: lines, shapes, text, pixels and images, in
// pixel coordinates where a rectangle's right and bottom edges are not part of it. A canvas draws
// into a bitmap's image at any time, or onto a control while the control paints; at other times a
// control's canvas measures text but refuses to draw. With a recorder attached (canvas_recorder.h)
// it draws nothing and records every drawing instead, at any time.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/gui/brush.h"
#include "platform/gui/font.h"
#include "platform/gui/pen.h"
#include "platform/gui/rect.h"

class QImage;
class QPainter;

namespace tv {

class TGraphic;
class TCanvasRecorder;
struct TCanvasRecord;

// FloodFill: fill the area of `Color` (fsSurface) or up to a border of `Color` (fsBorder).
enum TFillStyle : uint8_t { fsSurface, fsBorder };
TV_ENUM_INFO(TFillStyle, "fsSurface", "fsBorder");

// The direction a gradient changes colour in: from left to right, or from top to bottom.
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
TV_ENUM_INFO(TGradientDirection, "gdHorizontal", "gdVertical");

// The copy mode of images drawn onto the canvas; only a plain copy is done.
inline constexpr int32_t cmSrcCopy = 0x00CC0020;

// Colour `i` of a gradient of `n` steps from `start` to `end`: the first step is `start` and the
// last `end` exactly, the steps between evenly shaded (true colour, no dithering).
TColor GradientColorAt(TColor start, TColor end, int i, int n);

class TCanvas : public TPersistent {
    TV_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    TFont* Font() const { return fFont.get(); }
    void SetFont(TFont* value) { fFont->Assign(value); }
    TPen* Pen() const { return fPen.get(); }
    void SetPen(TPen* value) { fPen->Assign(value); }
    TBrush* Brush() const { return fBrush.get(); }
    void SetBrush(TBrush* value) { fBrush->Assign(value); }
    int32_t CopyMode() const { return fCopyMode; }
    void SetCopyMode(int32_t value) { fCopyMode = value; }
    TPoint PenPos() const { return fPenPos; }
    void SetPenPos(TPoint value) { fPenPos = value; }

    // ---- lines and shapes ----
    void MoveTo(int X, int Y);
    // A line from the pen position to X, Y without its last point; the pen position moves there.
    void LineTo(int X, int Y);
    void Polyline(std::span<const TPoint> Points);
    void Polygon(std::span<const TPoint> Points);
    // Filled with the brush and outlined with the pen, inside X1..X2-1, Y1..Y2-1.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // Parts of the ellipse in the rectangle, counter-clockwise from the ray to X3, Y3 to the ray to
    // X4, Y4: the curve (Arc), closed by a chord (Chord) or by two radii (Pie).
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);

    // ---- areas ----
    // Fills the rectangle with the brush (nothing with a clear brush).
    void FillRect(const TRect& R);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& R);
    // The dotted frame of a focused item, drawn so that drawing it again removes it.
    void DrawFocusRect(const TRect& R);
    // Fills R with colours blended evenly from Start (its first column or row) to Finish (its
    // last), whatever the brush.
    void GradientFill(const TRect& R, TColor Start, TColor Finish, TGradientDirection Direction);
    // Fills with the brush from X, Y: the connected area of Color (fsSurface) or the area bounded
    // by Color (fsBorder). Needs a bitmap's canvas.
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

    // ---- text ----
    // The text with its top-left corner at X, Y, on the brush colour unless the brush is clear;
    // the pen position moves to the end of the text.
    void TextOut(int X, int Y, std::string_view Text);
    // As TextOut, clipped to R, whose whole area takes the brush colour unless the brush is clear.
    void TextRect(const TRect& R, int X, int Y, std::string_view Text);
    int TextWidth(std::string_view Text) const;
    int TextHeight(std::string_view Text) const;

    // ---- images ----
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // Copies Source's rectangle (a bitmap's canvas) into Dest, scaled to fit.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

    // ---- pixels ----
    // The colour at X, Y; -1 outside the image. Needs a bitmap's canvas.
    TColor Pixels(int X, int Y) const;
    // Outside the image nothing is set.
    void SetPixels(int X, int Y, TColor Value);

    // ---- clipping ----
    // The area drawing reaches: the whole surface, narrowed by IntersectClipRect.
    TRect ClipRect() const;
    void IntersectClipRect(const TRect& R);
    void ResetClipRect() { fClip.reset(); }
    // The clip as it stands, to be put back after drawing under a narrower one.
    std::optional<TRect> SavedClip() const { return fClip; }
    void RestoreClip(const std::optional<TRect>& clip) { fClip = clip; }

    // A number standing for this canvas (its "device context"). Setting 0 releases nothing here;
    // any number but 0 and the canvas's own is refused.
    int32_t Handle() const;
    void SetHandle(int32_t value);
    bool HandleAllocated() const { return fImage || fPainter || fRecorder; }
    // Drawing tools are read afresh for every drawing, so there is nothing to refresh.
    void Refresh() {}

    // Fired after every drawing into a bitmap's image.
    TNotifyEvent OnChange;

    // ---- direction ----
    // A right-to-left canvas paints a mirrored (right-to-left) control, which places its cells
    // itself: text that reads right to left takes the mirrored alignment, and glyphs that point
    // along the rows are drawn mirrored.
    void SetRightToLeft(bool value) { fRightToLeft = value; }
    bool RightToLeft() const { return fRightToLeft; }

    // ---- recording (tests) ----
    // From now on every drawing goes to `recorder` instead of a surface, and text is measured with
    // its fixed metrics; nil draws again. The recorder must outlive its attachment.
    void AttachRecorder(TCanvasRecorder* recorder) { fRecorder = recorder; }
    TCanvasRecorder* Recorder() const { return fRecorder; }

    // ---- the surface (for the library's bitmaps and controls) ----
    // Draws into `image` from now on (nil: nowhere).
    void AttachImage(QImage* image) { fImage = image; }
    QImage* Image() const { return fImage; }
    // Draws through `painter` (already begun on a control) until EndPaint.
    void BeginPaint(QPainter* painter, TRect surface);
    void EndPaint();
    bool Painting() const { return fPainter != nullptr; }
    // Draws with the toolkit's painter on the surface, under the clip (the library's own painters,
    // such as the theme service); refused as any drawing is where the canvas cannot draw.
    void PaintWithToolkit(const std::function<void(QPainter&)>& draw);

private:
    template <class F>
    void Paint(bool usePenMode, F&& draw);
    void ArcShape(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    TRect Surface() const;
    // Records a drawing when a recorder is attached; true when it did (nothing is drawn then).
    template <class F>
    bool Recorded(F&& fill);
    bool RecordedShape(uint8_t kind, int X1, int Y1, int X2, int Y2);
    void FillTextRecord(TCanvasRecord& r, const TRect& box, int X, int Y, std::string_view Text) const;

    std::unique_ptr<TFont> fFont;
    std::unique_ptr<TPen> fPen;
    std::unique_ptr<TBrush> fBrush;
    int32_t fCopyMode = cmSrcCopy;
    TPoint fPenPos;
    std::optional<TRect> fClip;
    QImage* fImage = nullptr;
    QPainter* fPainter = nullptr;
    TRect fPaintSurface;
    TCanvasRecorder* fRecorder = nullptr;
    bool fRightToLeft = false;
};

}  // namespace tv
