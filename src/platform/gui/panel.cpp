#include "platform/gui/panel.h"

#include "platform/gui/canvas_recorder.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPanel>("TPanel").Build();
    return info;
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColour, TColor bottomColour, int width) {
    TBrush* brush = canvas->Brush();
    const TColor saved = brush->Color();
    const TBrushStyle savedStyle = brush->Style();
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        brush->SetColor(topColour);
        canvas->FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
        canvas->FillRect(Rect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom));
        brush->SetColor(bottomColour);
        canvas->FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
        canvas->FillRect(Rect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom));
        rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
    brush->SetColor(saved);
    brush->SetStyle(savedStyle);
}

namespace {

struct TRingColours {
    TColor topLeft;
    TColor bottomRight;
};

// The colours of a ring drawn raised (`up`) or sunken, outer or inner, as the header lists them.
TRingColours NormalRing(bool outer, bool up) {
    if (outer) return up ? TRingColours{cl3DLight, cl3DDkShadow} : TRingColours{clBtnShadow, clBtnHighlight};
    return up ? TRingColours{clBtnHighlight, clBtnShadow} : TRingColours{cl3DDkShadow, cl3DLight};
}

// The colours of one ring of `edge`; `raised` is the ring's raised bit.
TRingColours RingColours(uint32_t edge, uint32_t raised, bool outer, uint32_t flags) {
    if (flags & BF_MONO) return outer ? TRingColours{clWindowFrame, clWindowFrame} : TRingColours{clWindow, clWindow};
    if (flags & BF_FLAT) return outer ? TRingColours{clBtnShadow, clBtnShadow} : TRingColours{clBtnFace, clBtnFace};
    const bool up = edge & raised;
    TRingColours c = NormalRing(outer, up);
    if (flags & BF_SOFT) c.topLeft = NormalRing(!outer, up).topLeft;
    return c;
}

void Ring(TCanvas* canvas, const TRect& r, TRingColours c, uint32_t flags) {
    if (r.IsEmpty()) return;
    TBrush* brush = canvas->Brush();
    brush->SetColor(c.topLeft);
    if (flags & BF_TOP) canvas->FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    if (flags & BF_LEFT) canvas->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    brush->SetColor(c.bottomRight);
    if (flags & BF_BOTTOM) canvas->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    if (flags & BF_RIGHT) canvas->FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

TRect Inside(const TRect& r, uint32_t flags) {
    return Rect(r.Left + (flags & BF_LEFT ? 1 : 0), r.Top + (flags & BF_TOP ? 1 : 0),
                r.Right - (flags & BF_RIGHT ? 1 : 0), r.Bottom - (flags & BF_BOTTOM ? 1 : 0));
}

}  // namespace

bool DrawEdge(TCanvas* canvas, TRect& rect, uint32_t edge, uint32_t flags) {
    const bool outer = edge & BDR_OUTER;
    const bool inner = edge & BDR_INNER;
    if (!outer && !inner) return false;
    TRect inside = rect;
    if (outer) inside = Inside(inside, flags);
    if (inner) inside = Inside(inside, flags);
    if (TCanvasRecorder* recorder = canvas->Recorder()) {
        TCanvasRecord r;
        r.Op = TCanvasOp::Edge;
        r.Rect = rect;
        r.Index = static_cast<int>(edge);
        r.Flags = flags;
        recorder->Add(std::move(r), *canvas);
    } else {
        TBrush* brush = canvas->Brush();
        const TColor savedColor = brush->Color();
        const TBrushStyle savedStyle = brush->Style();
        brush->SetStyle(bsSolid);
        TRect ring = rect;
        if (outer) {
            Ring(canvas, ring, RingColours(edge, BDR_RAISEDOUTER, true, flags), flags);
            ring = Inside(ring, flags);
        }
        if (inner) Ring(canvas, ring, RingColours(edge, BDR_RAISEDINNER, false, flags), flags);
        if (flags & BF_MIDDLE) {
            brush->SetColor(clBtnFace);
            canvas->FillRect(inside);
        }
        brush->SetColor(savedColor);
        brush->SetStyle(savedStyle);
    }
    if (flags & BF_ADJUST) rect = inside;
    return true;
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
}

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
    fAlignment = value;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
    fBevelInner = value;
    Changed();
}

void TPanel::SetBevelOuter(TBevelCut value) {
    fBevelOuter = value;
    Changed();
}

void TPanel::SetBevelWidth(int value) {
    fBevelWidth = std::max(value, 1);
    Changed();
}

void TPanel::SetBorderWidth(int value) {
    fBorderWidth = std::max(value, 0);
    Changed();
}

TRect TPanel::AlignRect() const {
    TRect r = ClientRect();
    int inset = fBorderWidth;
    if (fBevelOuter != bvNone) inset += fBevelWidth;
    if (fBevelInner != bvNone) inset += fBevelWidth;
    r = Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

void TPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        const bool raised = cut == bvRaised;
        const TColor light = cut == bvSpace ? Color() : raised ? clBtnHighlight : clBtnShadow;
        const TColor dark = cut == bvSpace ? Color() : raised ? clBtnShadow : clBtnHighlight;
        Frame3D(c, r, light, dark, fBevelWidth);
    };
    bevel(fBevelOuter);
    Frame3D(c, r, Color(), Color(), fBorderWidth);
    bevel(fBevelInner);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    const std::string caption = Caption();
    if (caption.empty()) return;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    const int w = c->TextWidth(caption);
    const int h = c->TextHeight(caption);
    const int x = fAlignment == taLeftJustify    ? r.Left
                  : fAlignment == taRightJustify ? r.Right - w
                                                 : r.Left + (r.Width() - w) / 2;
    c->TextRect(r, x, r.Top + (r.Height() - h) / 2, caption);
}

}  // namespace tv
