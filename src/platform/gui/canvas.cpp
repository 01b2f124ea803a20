#include "platform/gui/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/gui/canvas_recorder.h"
#include "platform/gui/graphic.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/qt_graphics.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {

constexpr std::string_view kFloodFillNeedsImage = "Flood fill and pixel reading need a bitmap canvas";
constexpr std::string_view kCopyNeedsImage = "CopyRect needs a bitmap canvas as its source";
constexpr std::string_view kInvalidCanvasHandle = "Invalid canvas handle ";

Qt::PenStyle ToQPenStyle(TPenStyle s) {
    switch (s) {
        case psDash:
            return Qt::DashLine;
        case psDot:
            return Qt::DotLine;
        case psDashDot:
            return Qt::DashDotLine;
        case psDashDotDot:
            return Qt::DashDotDotLine;
        case psClear:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

Qt::BrushStyle ToQBrushStyle(TBrushStyle s) {
    switch (s) {
        case bsClear:
            return Qt::NoBrush;
        case bsHorizontal:
            return Qt::HorPattern;
        case bsVertical:
            return Qt::VerPattern;
        case bsFDiagonal:
            return Qt::FDiagPattern;
        case bsBDiagonal:
            return Qt::BDiagPattern;
        case bsCross:
            return Qt::CrossPattern;
        case bsDiagCross:
            return Qt::DiagCrossPattern;
        default:
            return Qt::SolidPattern;
    }
}

// The raster operation that combines the pen (source) with what is drawn (destination).
QPainter::CompositionMode ToComposition(TPenMode m) {
    switch (m) {
        case pmBlack:
            return QPainter::RasterOp_ClearDestination;
        case pmWhite:
            return QPainter::RasterOp_SetDestination;
        case pmNot:
            return QPainter::RasterOp_NotDestination;
        case pmNotCopy:
            return QPainter::RasterOp_NotSource;
        case pmMergePenNot:
            return QPainter::RasterOp_SourceOrNotDestination;
        case pmMaskPenNot:
            return QPainter::RasterOp_SourceAndNotDestination;
        case pmMergeNotPen:
            return QPainter::RasterOp_NotSourceOrDestination;
        case pmMaskNotPen:
            return QPainter::RasterOp_NotSourceAndDestination;
        case pmMerge:
            return QPainter::RasterOp_SourceOrDestination;
        case pmNotMerge:
            return QPainter::RasterOp_NotSourceAndNotDestination;
        case pmMask:
            return QPainter::RasterOp_SourceAndDestination;
        case pmNotMask:
            return QPainter::RasterOp_NotSourceOrNotDestination;
        case pmXor:
            return QPainter::RasterOp_SourceXorDestination;
        case pmNotXor:
            return QPainter::RasterOp_NotSourceXorDestination;
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

// The angle of the ray from the centre of `r` through `p`, in sixteenths of a degree,
// counter-clockwise from three o'clock.
int RayAngle16(const QRectF& r, int x, int y) {
    const double dx = x - r.center().x();
    const double dy = r.center().y() - y;
    double deg = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    if (deg < 0) deg += 360.0;
    return static_cast<int>(std::lround(deg * 16));
}

// Coordinates far outside any surface are brought within this distance of the origin before any
// arithmetic on them, so that sizes and ends cannot overflow; nothing a surface shows changes, as
// no bitmap or window comes near it.
constexpr int kCoordinateLimit = 1 << 24;

int Clamped(int v) {
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

TRect Clamped(const TRect& r) {
    return {Clamped(r.Left), Clamped(r.Top), Clamped(r.Right), Clamped(r.Bottom)};
}

// The rectangle the toolkit outlines on the outermost pixels inside X1..X2-1, Y1..Y2-1 (its
// outlines take one pixel more than the rectangle's size).
QRect ShapeRect(int X1, int Y1, int X2, int Y2) {
    X1 = Clamped(X1);
    Y1 = Clamped(Y1);
    X2 = Clamped(X2);
    Y2 = Clamped(Y2);
    return QRect(std::min(X1, X2), std::min(Y1, Y2), std::abs(X2 - X1) - 1, std::abs(Y2 - Y1) - 1);
}

}  // namespace

TColor GradientColorAt(TColor start, TColor end, int i, int n) {
    const TColor a = ColorToRGB(start);
    const TColor b = ColorToRGB(end);
    if (n <= 1 || i <= 0) return a;
    if (i >= n - 1) return b;
    auto mix = [&](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(x + (static_cast<int>(y) - x) * i / (n - 1));
    };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

const TClassInfo& TCanvas::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas")
                                       .Published("Brush", &TCanvas::Brush, &TCanvas::SetBrush)
                                       .Published("CopyMode", &TCanvas::CopyMode, &TCanvas::SetCopyMode)
                                       .Published("Font", &TCanvas::Font, &TCanvas::SetFont)
                                       .Published("Pen", &TCanvas::Pen, &TCanvas::SetPen)
                                       .Build();
    return info;
}

TCanvas::TCanvas()
    : fFont(std::make_unique<TFont>()), fPen(std::make_unique<TPen>()), fBrush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

TRect TCanvas::Surface() const {
    if (fPainter) return fPaintSurface;
    if (fImage) return Bounds(0, 0, fImage->width(), fImage->height());
    if (fRecorder) {
        const TRect s = fRecorder->Surface();
        if (!s.IsEmpty()) return s;
        return {-kCoordinateLimit, -kCoordinateLimit, kCoordinateLimit, kCoordinateLimit};
    }
    return {};
}

template <class F>
bool TCanvas::Recorded(F&& fill) {
    if (!fRecorder) return false;
    TCanvasRecord r;
    fill(r);
    fRecorder->Add(std::move(r), *this);
    return true;
}

namespace {

TColor BrushColorOrNone(const TBrush& brush) {
    return brush.Style() == bsClear ? clNone : brush.Color();
}

TColor PenColorOrNone(const TPen& pen) {
    return pen.Style() == psClear ? clNone : pen.Color();
}

TRect Normalized(int X1, int Y1, int X2, int Y2) {
    return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

}  // namespace

template <class F>
void TCanvas::Paint(bool usePenMode, F&& draw) {
    if (usePenMode && fPen->Mode() == pmNop) return;
    std::optional<QPainter> own;
    QPainter* p = fPainter;
    if (p) {
        p->save();
    } else {
        if (!fImage) throw EInvalidOperation(std::string(kNoCanvasDrawing));
        if (fImage->isNull()) return;  // an empty bitmap: everything falls outside it
        own.emplace(fImage);
        p = &*own;
    }
    p->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(ToQColor(fPen->Color()), fPen->Width(), ToQPenStyle(fPen->Style()), Qt::FlatCap, Qt::MiterJoin);
    p->setPen(pen);
    p->setBrush(QBrush(ToQColor(fBrush->Color()), ToQBrushStyle(fBrush->Style())));
    p->setBackgroundMode(Qt::TransparentMode);
    p->setFont(ToQFont(*fFont));
    if (usePenMode) p->setCompositionMode(ToComposition(fPen->Mode()));
    if (fClip) p->setClipRect(ToQRect(*fClip), Qt::IntersectClip);
    try {
        draw(*p);
    } catch (...) {
        if (fPainter) p->restore();
        throw;
    }
    if (fPainter) {
        p->restore();
    } else {
        own.reset();
        if (OnChange) OnChange(this);
    }
}

void TCanvas::PaintWithToolkit(const std::function<void(QPainter&)>& draw) {
    Paint(false, draw);
}

void TCanvas::MoveTo(int X, int Y) {
    fPenPos = {X, Y};
}

void TCanvas::LineTo(int X, int Y) {
    const TPoint from = fPenPos;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Line;
            r.From = from;
            r.To = {X, Y};
            r.Color = fPen->Color();
            r.Index = fPen->Width();
        })) {
        fPenPos = {X, Y};
        return;
    }
    Paint(true, [&](QPainter& p) { p.drawLine(Clamped(from.X), Clamped(from.Y), Clamped(X), Clamped(Y)); });
    fPenPos = {X, Y};
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    if (fRecorder) {
        for (size_t i = 1; i < Points.size(); ++i)
            Recorded([&](TCanvasRecord& r) {
                r.Op = TCanvasOp::Line;
                r.From = Points[i - 1];
                r.To = Points[i];
                r.Color = fPen->Color();
                r.Index = fPen->Width();
            });
        return;
    }
    std::vector<QPoint> pts;
    for (const TPoint& pt : Points) pts.emplace_back(Clamped(pt.X), Clamped(pt.Y));
    Paint(true, [&](QPainter& p) { p.drawPolyline(pts.data(), static_cast<int>(pts.size())); });
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Shape;
            r.Index = shPolygon;
            r.Rect = {Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
            for (const TPoint& pt : Points)
                r.Rect = {std::min(r.Rect.Left, pt.X), std::min(r.Rect.Top, pt.Y), std::max(r.Rect.Right, pt.X),
                          std::max(r.Rect.Bottom, pt.Y)};
            r.Color = BrushColorOrNone(*fBrush);
            r.Back = PenColorOrNone(*fPen);
        }))
        return;
    std::vector<QPoint> pts;
    for (const TPoint& pt : Points) pts.emplace_back(Clamped(pt.X), Clamped(pt.Y));
    Paint(true, [&](QPainter& p) { p.drawPolygon(pts.data(), static_cast<int>(pts.size())); });
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Rectangle;
            r.Rect = Normalized(X1, Y1, X2, Y2);
            r.Color = BrushColorOrNone(*fBrush);
            r.Back = PenColorOrNone(*fPen);
        }))
        return;
    Paint(true, [&](QPainter& p) {
        const QRect outline = ShapeRect(X1, Y1, X2, Y2);
        p.fillRect(QRect(outline.topLeft(), outline.size() + QSize(1, 1)), p.brush());
        if (fPen->Style() == psClear) return;
        p.setBrush(Qt::NoBrush);
        p.drawRect(outline);
    });
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    if (RecordedShape(shRoundRect, X1, Y1, X2, Y2)) return;
    Paint(true, [&](QPainter& p) { p.drawRoundedRect(ShapeRect(X1, Y1, X2, Y2), X3 / 2.0, Y3 / 2.0); });
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    if (RecordedShape(shEllipse, X1, Y1, X2, Y2)) return;
    Paint(true, [&](QPainter& p) { p.drawEllipse(ShapeRect(X1, Y1, X2, Y2)); });
}

void TCanvas::ArcShape(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (RecordedShape(static_cast<uint8_t>(shArc + kind), X1, Y1, X2, Y2)) return;
    Paint(true, [&](QPainter& p) {
        const QRect r = ShapeRect(X1, Y1, X2, Y2);
        const int start = RayAngle16(r, X3, Y3);
        int span = RayAngle16(r, X4, Y4) - start;
        if (span <= 0) span += 360 * 16;  // equal rays draw the whole ellipse
        if (kind == 0)
            p.drawArc(r, start, span);
        else if (kind == 1)
            p.drawChord(r, start, span);
        else
            p.drawPie(r, start, span);
    });
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ArcShape(0, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ArcShape(1, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ArcShape(2, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::FillRect(const TRect& R) {
    if (fBrush->Style() == bsClear) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Fill;
            r.Rect = R;
            r.Color = fBrush->Color();
        }))
        return;
    Paint(false, [&](QPainter& p) { p.fillRect(ToQRect(Clamped(R)), p.brush()); });
}

void TCanvas::GradientFill(const TRect& Area, TColor Start, TColor Finish, TGradientDirection Direction) {
    const TRect R = Clamped(Area);
    if (R.IsEmpty()) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Gradient;
            r.Rect = R;
            r.Color = Start;
            r.Back = Finish;
            r.Index = Direction == gdVertical ? 1 : 0;
        }))
        return;
    // One solid line per step, so that the first and last lines carry the end colours exactly.
    Paint(false, [&](QPainter& p) {
        const bool across = Direction == gdHorizontal;
        const int steps = across ? R.Width() : R.Height();
        for (int i = 0; i < steps; ++i) {
            const QColor c = ToQColor(GradientColorAt(Start, Finish, i, steps));
            p.fillRect(across ? QRect(R.Left + i, R.Top, 1, R.Height()) : QRect(R.Left, R.Top + i, R.Width(), 1), c);
        }
    });
}

void TCanvas::FrameRect(const TRect& Area) {
    const TRect R = Clamped(Area);
    if (R.IsEmpty()) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Frame;
            r.Rect = R;
            r.Color = fBrush->Color();
        }))
        return;
    Paint(false, [&](QPainter& p) {
        const QColor c = ToQColor(fBrush->Color());
        p.fillRect(QRect(R.Left, R.Top, R.Width(), 1), c);
        p.fillRect(QRect(R.Left, R.Bottom - 1, R.Width(), 1), c);
        p.fillRect(QRect(R.Left, R.Top, 1, R.Height()), c);
        p.fillRect(QRect(R.Right - 1, R.Top, 1, R.Height()), c);
    });
}

void TCanvas::DrawFocusRect(const TRect& R) {
    if (R.IsEmpty()) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::FocusRect;
            r.Rect = R;
        }))
        return;
    Paint(false, [&](QPainter& p) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawRect(ShapeRect(R.Left, R.Top, R.Right, R.Bottom));
    });
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Flood;
            r.From = {X, Y};
            r.Back = Color;
            r.Color = fBrush->Color();
            r.Index = FillStyle;
        }))
        return;
    if (fPainter || !fImage) throw EInvalidOperation(std::string(kFloodFillNeedsImage));
    QImage& img = *fImage;
    if (X < 0 || Y < 0 || X >= img.width() || Y >= img.height()) return;
    const QRgb key = ToQColor(Color).rgb() & 0xFFFFFF;
    const QRgb fill = ToQColor(fBrush->Color()).rgb() & 0xFFFFFF;
    auto colour = [&img](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    auto inside = [&](int x, int y) {
        const QRgb c = colour(x, y);
        return FillStyle == fsSurface ? c == key : c != key;
    };
    if (!inside(X, Y) || (FillStyle == fsSurface && key == fill)) return;
    // Scan-line fill: each popped point fills its whole run and queues the rows above and below.
    std::vector<bool> done(static_cast<size_t>(img.width()) * img.height(), false);
    std::vector<QPoint> stack{QPoint(X, Y)};
    while (!stack.empty()) {
        const QPoint pt = stack.back();
        stack.pop_back();
        int x = pt.x();
        const int y = pt.y();
        if (done[static_cast<size_t>(y) * img.width() + x] || !inside(x, y)) continue;
        while (x > 0 && inside(x - 1, y) && !done[static_cast<size_t>(y) * img.width() + x - 1]) --x;
        for (; x < img.width() && inside(x, y) && !done[static_cast<size_t>(y) * img.width() + x]; ++x) {
            done[static_cast<size_t>(y) * img.width() + x] = true;
            img.setPixel(x, y, 0xFF000000u | fill);
            if (y > 0) stack.emplace_back(x, y - 1);
            if (y + 1 < img.height()) stack.emplace_back(x, y + 1);
        }
    }
    if (OnChange) OnChange(this);
}

void TCanvas::TextOut(int X, int Y, std::string_view Text) {
    X = Clamped(X);
    Y = Clamped(Y);
    if (fRecorder) {
        const int w = TextWidth(Text);
        Recorded([&](TCanvasRecord& r) {
            FillTextRecord(r, Bounds(X, Y, w, TextHeight(Text)), X, Y, Text);
        });
        fPenPos = {X + w, Y};
        return;
    }
    const QString text = ToQString(Text);
    const QFontMetrics fm(ToQFont(*fFont));
    const int width = fm.horizontalAdvance(text);
    Paint(false, [&](QPainter& p) {
        if (fBrush->Style() != bsClear)
            p.fillRect(QRect(X, Y, width, fm.height()), ToQColor(fBrush->Color()));
        p.setPen(ToQColor(fFont->Color()));
        p.drawText(X, Y + fm.ascent(), text);
    });
    fPenPos = {X + width, Y};
}

void TCanvas::TextRect(const TRect& Area, int X, int Y, std::string_view Text) {
    const TRect R = Clamped(Area);
    X = Clamped(X);
    Y = Clamped(Y);
    if (Recorded([&](TCanvasRecord& r) {
            FillTextRecord(r, R, X, Y, Text);
            r.Flags = kTextClipped;
        }))
        return;
    const QString text = ToQString(Text);
    const QFontMetrics fm(ToQFont(*fFont));
    Paint(false, [&](QPainter& p) {
        p.setClipRect(ToQRect(R), Qt::IntersectClip);
        if (fBrush->Style() != bsClear) p.fillRect(ToQRect(R), ToQColor(fBrush->Color()));
        p.setPen(ToQColor(fFont->Color()));
        p.drawText(X, Y + fm.ascent(), text);
    });
}

int TCanvas::TextWidth(std::string_view Text) const {
    if (fRecorder) return fRecorder->TextWidth(Text);
    return QFontMetrics(ToQFont(*fFont)).horizontalAdvance(ToQString(Text));
}

int TCanvas::TextHeight(std::string_view Text) const {
    if (fRecorder) return fRecorder->TextHeight();
    return QFontMetrics(ToQFont(*fFont)).height();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    X = Clamped(X);
    Y = Clamped(Y);
    StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Picture;
            r.Rect = R;
            r.Source = Graphic;
        }))
        return;
    Paint(false, [&](QPainter& p) { Graphic->DrawTo(p, ToQRect(Clamped(R))); });
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    if (!Canvas) return;
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Picture;
            r.Rect = Dest;
            r.Source = Canvas;
        }))
        return;
    if (!Canvas->fImage || Canvas->fPainter) throw EInvalidOperation(std::string(kCopyNeedsImage));
    const TRect dest = Clamped(Dest);
    const TRect from = Clamped(Source);
    if (dest.IsEmpty() || from.IsEmpty()) return;
    // Only the part of the source that lies on its image is read, and drawn where it lands in the
    // destination: a rectangle reaching far past the image costs no more than the image.
    const QRect on = ToQRect(from) & Canvas->fImage->rect();
    if (on.isEmpty()) return;
    const double sx = static_cast<double>(dest.Width()) / from.Width();
    const double sy = static_cast<double>(dest.Height()) / from.Height();
    const QRectF target(dest.Left + (on.x() - from.Left) * sx, dest.Top + (on.y() - from.Top) * sy,
                        on.width() * sx, on.height() * sy);
    // A copy of the source, so that copying within one image reads what was there before.
    const QImage source = Canvas->fImage->copy(on);
    Paint(false, [&](QPainter& p) { p.drawImage(target, source); });
}

TColor TCanvas::Pixels(int X, int Y) const {
    if (fPainter || !fImage) throw EInvalidOperation(std::string(kFloodFillNeedsImage));
    if (X < 0 || Y < 0 || X >= fImage->width() || Y >= fImage->height()) return -1;
    return FromQColor(QColor(fImage->pixel(X, Y)));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    if (Recorded([&](TCanvasRecord& r) {
            r.Op = TCanvasOp::Pixel;
            r.From = {X, Y};
            r.Color = Value;
        }))
        return;
    if (fPainter) {
        Paint(false, [&](QPainter& p) { p.fillRect(QRect(X, Y, 1, 1), ToQColor(Value)); });
        return;
    }
    if (!fImage) throw EInvalidOperation(std::string(kNoCanvasDrawing));
    if (X < 0 || Y < 0 || X >= fImage->width() || Y >= fImage->height()) return;
    if (fClip && !fClip->Contains({X, Y})) return;
    fImage->setPixel(X, Y, ToQColor(Value).rgb());
    if (OnChange) OnChange(this);
}

TRect TCanvas::ClipRect() const {
    const TRect s = Surface();
    return fClip ? CommonRect(s, *fClip) : s;
}

void TCanvas::IntersectClipRect(const TRect& Area) {
    const TRect R = Clamped(Area);
    if (!fClip) {
        fClip = R;
        return;
    }
    fClip = TRect{std::max(fClip->Left, R.Left), std::max(fClip->Top, R.Top), std::min(fClip->Right, R.Right),
                  std::min(fClip->Bottom, R.Bottom)};
}

int32_t TCanvas::Handle() const {
    return TObjectHandles::HandleOf(this);
}

void TCanvas::SetHandle(int32_t value) {
    if (value != 0 && value != Handle())
        throw EInvalidHandle(std::string(kInvalidCanvasHandle) + std::to_string(value));
}

void TCanvas::BeginPaint(QPainter* painter, TRect surface) {
    fPainter = painter;
    fPaintSurface = surface;
    fClip.reset();
}

void TCanvas::EndPaint() {
    fPainter = nullptr;
    fClip.reset();
}

}  // namespace tv

namespace tv {

bool TCanvas::RecordedShape(uint8_t kind, int X1, int Y1, int X2, int Y2) {
    return Recorded([&](TCanvasRecord& r) {
        r.Op = TCanvasOp::Shape;
        r.Index = kind;
        r.Rect = Normalized(X1, Y1, X2, Y2);
        r.Color = BrushColorOrNone(*fBrush);
        r.Back = PenColorOrNone(*fPen);
    });
}

void TCanvas::FillTextRecord(TCanvasRecord& r, const TRect& box, int X, int Y, std::string_view Text) const {
    r.Op = TCanvasOp::Text;
    r.Rect = box;
    r.From = {X, Y};
    r.Text = std::string(Text);
    r.Color = fFont->Color();
    r.Back = BrushColorOrNone(*fBrush);
    r.FontName = fFont->Name();
    r.FontSize = fFont->Size();
    r.FontStyle = fFont->Style();
}

}  // namespace tv
