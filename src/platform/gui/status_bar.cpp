#include "platform/gui/status_bar.h"

#include "platform/gui/panel.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
constexpr int kTextMargin = 3;
}

const TClassInfo& TStatusPanel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStatusPanel>("TStatusPanel").Build();
    return info;
}
const TClassInfo& TStatusPanels::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStatusPanels>("TStatusPanels").Build();
    return info;
}
const TClassInfo& TStatusBar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStatusBar>("TStatusBar").Build();
    return info;
}

void TStatusPanel::SetText(const std::string& value) {
    fText = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    fWidth = std::max(value, 0);
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    fAlignment = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    fBevel = value;
    Changed(false);
}

TStatusPanels::TStatusPanels(TStatusBar* owner)
    : TOwnedCollection(owner, TStatusPanel::StaticClassInfo()), fBar(owner) {}

void TStatusPanels::Update(TCollectionItem*) {
    if (fBar) fBar->Invalidate();
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), fPanels(std::make_unique<TStatusPanels>(this)) {
    SetBounds(0, 0, 100, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
    BeginDestroy();
}

void TStatusBar::SetSimplePanel(bool value) {
    fSimplePanel = value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& value) {
    fSimpleText = value;
    Invalidate();
}

void TStatusBar::Paint() {
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    auto panel = [&](TRect r, const std::string& text, TAlignment alignment, TStatusPanelBevel bevel) {
        if (bevel != pbNone)
            Frame3D(c, r, bevel == pbLowered ? clBtnShadow : clBtnHighlight,
                    bevel == pbLowered ? clBtnHighlight : clBtnShadow, 1);
        if (text.empty()) return;
        const int w = c->TextWidth(text);
        const int x = alignment == taLeftJustify    ? r.Left + kTextMargin
                      : alignment == taRightJustify ? r.Right - kTextMargin - w
                                                    : r.Left + (r.Width() - w) / 2;
        c->Brush()->SetStyle(bsClear);
        c->TextRect(r, x, r.Top + (r.Height() - c->TextHeight(text)) / 2, text);
        c->Brush()->SetStyle(bsSolid);
    };
    const TRect all = Rect(0, 2, Width(), Height());
    if (fSimplePanel) {
        panel(all, fSimpleText, taLeftJustify, pbNone);
        return;
    }
    int left = 0;
    for (int i = 0; i < fPanels->Count(); ++i) {
        TStatusPanel* p = fPanels->Items(i);
        const bool last = i + 1 == fPanels->Count();
        const int right = last ? std::max(left + p->Width(), Width()) : left + p->Width();
        panel(Rect(left, all.Top, right - 2, all.Bottom), p->Text(), p->Alignment(), p->Bevel());
        left = right;
    }
}

}  // namespace tv
