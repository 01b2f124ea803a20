#include "controls/xdb_navigator.h"

#include <QEvent>

#include "platform/gui/brush.h"
#include "platform/gui/font.h"
#include "platform/gui/theme_services.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr std::string_view kDefaultCaptions[kNavButtonCount] = {"First",  "Prior", "Next", "Last",   "Insert",
                                                                "Delete", "Edit",  "Post", "Cancel", "Refresh"};

void Line(TCanvas* c, TColor color, const TRect& r) {
    c->Brush()->SetColor(color);
    c->FillRect(r);
}

// A one-pixel edge: light top-left and dark bottom-right when raised, the other way when sunken.
void Edge(TCanvas* c, const TRect& r, bool sunken) {
    const TColor light = sunken ? clBtnShadow : clBtnHighlight;
    const TColor dark = sunken ? clBtnHighlight : clBtnShadow;
    Line(c, light, TRect(r.Left, r.Top, r.Right, r.Top + 1));
    Line(c, light, TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
    Line(c, dark, TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    Line(c, dark, TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

TRect Shrunk(const TRect& r, int by) {
    return TRect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by);
}

}  // namespace

// ---------------------------------------------------------------- glyph lists

int TXFGlyphList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
    auto image = std::make_unique<TBitmap>();
    image->Assign(const_cast<TBitmap*>(&bitmap));
    image->SetTransparentColor(maskColor);
    image->SetTransparent(true);
    size_t slot = 0;
    while (slot < fSlots.size() && fSlots[slot]) ++slot;
    if (slot == fSlots.size()) fSlots.emplace_back();
    fSlots[slot] = std::move(image);
    ++fCount;
    return static_cast<int>(slot);
}

void TXFGlyphList::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(fSlots.size()) || !fSlots[static_cast<size_t>(index)]) return;
    fSlots[static_cast<size_t>(index)].reset();
    --fCount;
}

void TXFGlyphList::Draw(TCanvas* canvas, int x, int y, int index) const {
    if (index < 0 || index >= static_cast<int>(fSlots.size()) || !fSlots[static_cast<size_t>(index)]) return;
    canvas->Draw(x, y, fSlots[static_cast<size_t>(index)].get());
}

TXFGlyphList* TXFGlyphCache::GetList(int width, int height) {
    for (auto it = fLists.rbegin(); it != fLists.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
    fLists.push_back(TXFGlyphList::CreateSize(width, height));
    return fLists.back().get();
}

TXFGlyphCache& GlyphCache() {
    static TXFGlyphCache cache;
    return cache;
}

// ---------------------------------------------------------------- a button

const TClassInfo& TXDBNavButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBNavButton>("TXDBNavButton").Build();
    return info;
}

TXDBNavButton::TXDBNavButton(TComponent* AOwner)
    : TNavButton(AOwner), fGradient(std::make_unique<TXFGradientButton>(this)) {
    fGradient->OnChange = [this](TObject*) { Invalidate(); };
}

TXDBNavButton::~TXDBNavButton() {
    BeginDestroy();
    if (fGlyphList)
        for (int index : fGlyphIndexes) fGlyphList->Delete(index);
}

void TXDBNavButton::SetFine(bool value) {
    fFine = value;
    Invalidate();
}
void TXDBNavButton::SetFineTheme(TFineTheme value) {
    fFineTheme = value;
    Invalidate();
}
void TXDBNavButton::SetLayout(TButtonLayout value) {
    fLayout = value;
    Invalidate();
}
void TXDBNavButton::SetMargin(int value) {
    fMargin = value;
    Invalidate();
}
void TXDBNavButton::SetSpacing(int value) {
    fSpacing = value;
    Invalidate();
}
void TXDBNavButton::SetCaption(const std::string& value) {
    if (value == fCaption) return;
    fCaption = value;
    Invalidate();
}

bool TXDBNavButton::Hot() const {
    return fMouseInControl && Enabled();
}

bool TXDBNavButton::WidgetEvent(QEvent* e, bool viewport) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::Leave) {
        const bool inside = e->type() == QEvent::Enter;
        // Leaving while the button is held keeps it hot until it is let go.
        if (inside != fMouseInControl && (inside || !fDragging)) {
            fMouseInControl = inside;
            if (fGradient->IsHotActive() || Flat() || ThemesEnabled()) Invalidate();
        }
    }
    return TNavButton::WidgetEvent(e, viewport);
}

int TXDBNavButton::GlyphIndex(bool enabled) {
    if (Glyph()->Empty()) return -1;
    const int part = enabled ? 0 : 1;
    if (fGlyphIndexes[part] < 0) {
        const TRect r = GlyphPart(part);
        TBitmap image;
        image.SetSize(r.Width(), r.Height());
        image.Canvas()->CopyRect(TRect(0, 0, r.Width(), r.Height()), Glyph()->Canvas(), r);
        fGlyphList = GlyphCache().GetList(r.Width(), r.Height());
        fGlyphIndexes[part] = fGlyphList->AddMasked(image, Glyph()->TransparentColor());
    }
    return fGlyphIndexes[part];
}

void TXDBNavButton::DrawGlyphAndText(TCanvas* c, const TRect& area, bool enabled, TColor textColor) {
    const int index = GlyphIndex(enabled);
    const int gw = index >= 0 ? fGlyphList->Width() : 0;
    const int gh = index >= 0 ? fGlyphList->Height() : 0;
    c->Font()->SetColor(textColor);
    const int tw = fCaption.empty() ? 0 : c->TextWidth(fCaption);
    const int th = fCaption.empty() ? 0 : c->TextHeight(fCaption);
    const bool across = fLayout == blGlyphLeft || fLayout == blGlyphRight;
    const int room = across ? area.Width() : area.Height();
    const int glyphSize = across ? gw : gh;
    const int textSize = across ? tw : th;
    int spacing = (glyphSize == 0 || textSize == 0) ? 0 : fSpacing;
    int start = fMargin;
    if (start < 0) {
        // Centred as a group; a spacing of -1 makes the three spaces equal.
        if (spacing < 0) {
            spacing = (room - glyphSize - textSize) / 3;
            start = spacing;
        } else {
            start = (room - glyphSize - spacing - textSize) / 2;
        }
    } else if (spacing < 0) {
        spacing = (room - start - glyphSize - textSize) / 2;
    }
    const bool glyphFirst = fLayout == blGlyphLeft || fLayout == blGlyphTop;
    const int glyphAt = (across ? area.Left : area.Top) + start + (glyphFirst ? 0 : textSize + spacing);
    const int textAt = (across ? area.Left : area.Top) + start + (glyphFirst ? glyphSize + spacing : 0);
    if (index >= 0) {
        const int x = across ? glyphAt : area.Left + (area.Width() - gw) / 2;
        const int y = across ? area.Top + (area.Height() - gh) / 2 : glyphAt;
        fGlyphList->Draw(c, x, y, index);
    }
    if (fCaption.empty()) return;
    const int x = across ? textAt : area.Left + (area.Width() - tw) / 2;
    const int y = across ? area.Top + (area.Height() - th) / 2 : textAt;
    c->Brush()->SetStyle(bsClear);
    if (!enabled) {
        // Engraved: the highlight one pixel down and right, the shadow over it.
        c->Font()->SetColor(clBtnHighlight);
        c->TextOut(x + 1, y + 1, fCaption);
        c->Font()->SetColor(clBtnShadow);
    }
    c->TextOut(x, y, fCaption);
    c->Brush()->SetStyle(bsSolid);
}

void TXDBNavButton::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    if (ThemesEnabled()) {
        PaintThemed();
        return;
    }
    // Drawn into a picture of its own first: the gradient is laid behind what is drawn there.
    TBitmap buffer;
    buffer.SetSize(client.Width(), client.Height());
    TCanvas* c = buffer.Canvas();
    c->Font()->Assign(Font());
    const bool pressed = Down();
    const bool hot = Hot();
    const bool flat = Flat();
    TRect r = client;
    Line(c, clBtnFace, r);
    if (flat) {
        if (pressed || hot) Edge(c, r, pressed);
        r = Shrunk(r, 1);
    } else {
        Edge(c, r, pressed);
        Edge(c, Shrunk(r, 1), pressed);
        r = Shrunk(r, 2);
    }
    TRect content = r;
    if (pressed) {
        ++content.Left;
        ++content.Top;
        ++content.Right;
        ++content.Bottom;
    }
    DrawGlyphAndText(c, content, Enabled());
    if (fGradient->IsActive()) {
        if (fFine && flat && !pressed && !hot) Edge(c, client, false);
        bool offset = false;
        int inner = 0, outer = 0;
        if (!flat && fFine) {
            inner = outer = 1;
        } else if (!flat) {
            offset = true;
            outer = 2;
        } else if (pressed || fFine) {
            outer = 1;
        } else if (hot) {
            inner = 1;
        }
        fGradient->FillBack(c, client, offset, pressed, hot, inner, outer, clBtnFace);
    }
    Canvas()->Draw(0, 0, &buffer);
}

// ---------------------------------------------------------------- the navigator

const TClassInfo& TXDBNavigator::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBNavigator>("TXDBNavigator").Build();
    return info;
}

TXDBNavigator::TXDBNavigator(TComponent* AOwner)
    : TDBNavigator(AOwner),
      fGradient(std::make_unique<TXFGradientButton>(this)),
      fCaptions(std::make_unique<TStringList>()),
      fDefCaptions(std::make_unique<TStringList>()) {
    for (std::string_view caption : kDefaultCaptions) fDefCaptions->Add(std::string(caption));
    InitButtons();
    fGradient->OnChange = [this](TObject*) { GradientChanged(); };
    GradientChanged();
    ApplyCaptions();
}

TXDBNavigator::~TXDBNavigator() {
    BeginDestroy();
}

TNavButton* TXDBNavigator::CreateButton(TNavigateBtn) {
    auto* button = new TXDBNavButton(this);
    button->SetFine(fFine);
    button->SetFineTheme(fFineTheme);
    button->SetLayout(fLayout);
    button->SetMargin(fMargin);
    button->SetSpacing(fSpacing);
    return button;
}

template <class T, class F>
void TXDBNavigator::Store(T& field, T value, F apply) {
    if (field == value) return;
    field = value;
    for (int i = 0; i < kNavButtonCount; ++i) apply(*Button(static_cast<TNavigateBtn>(i)), value);
}

void TXDBNavigator::SetFine(bool value) {
    Store(fFine, value, [](TXDBNavButton& b, bool v) { b.SetFine(v); });
}
void TXDBNavigator::SetFineTheme(TFineTheme value) {
    Store(fFineTheme, value, [](TXDBNavButton& b, TFineTheme v) { b.SetFineTheme(v); });
}
void TXDBNavigator::SetLayout(TButtonLayout value) {
    Store(fLayout, value, [](TXDBNavButton& b, TButtonLayout v) { b.SetLayout(v); });
}
void TXDBNavigator::SetMargin(int value) {
    Store(fMargin, value, [](TXDBNavButton& b, int v) { b.SetMargin(v); });
}
void TXDBNavigator::SetSpacing(int value) {
    Store(fSpacing, value, [](TXDBNavButton& b, int v) { b.SetSpacing(v); });
}

void TXDBNavigator::SetFlat(bool value) {
    TDBNavigator::SetFlat(value);
    Invalidate();
}

void TXDBNavigator::SetCaptions(TStrings* value) {
    if (value && value->Text() == fDefCaptions->Text())
        fCaptions->Clear();
    else
        fCaptions->Assign(value);
    ApplyCaptions();
}

void TXDBNavigator::SetShowCaptions(bool value) {
    if (value == fShowCaptions) return;
    fShowCaptions = value;
    ApplyCaptions();
}

void TXDBNavigator::ApplyCaptions() {
    for (int i = 0; i < kNavButtonCount; ++i) {
        std::string caption;
        if (fShowCaptions)
            caption = i < fCaptions->Count() && !fCaptions->Strings(i).empty() ? fCaptions->Strings(i)
                                                                                : fDefCaptions->Strings(i);
        Button(static_cast<TNavigateBtn>(i))->SetCaption(caption);
    }
}

void TXDBNavigator::GradientChanged() {
    for (int i = 0; i < kNavButtonCount; ++i) Button(static_cast<TNavigateBtn>(i))->Gradient()->Change(fGradient.get());
    Invalidate();
}

void TXDBNavigator::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    TBitmap buffer;
    buffer.SetSize(client.Width(), client.Height());
    Line(buffer.Canvas(), clBtnFace, client);
    if (fGradient->IsActive())
        fGradient->FillBack(buffer.Canvas(), client, false, false, false, 0, 0, clBtnFace);
    Canvas()->Draw(0, 0, &buffer);
}

}  // namespace tv
