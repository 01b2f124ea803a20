#include "platform/gui/panel.h"

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
