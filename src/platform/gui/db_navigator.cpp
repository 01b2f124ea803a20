#include "platform/gui/db_navigator.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include "platform/gui/timer.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"

namespace tv {

namespace {

constexpr uint32_t kRepeatFirstMs = 400;
constexpr uint32_t kRepeatNextMs = 100;

constexpr std::string_view kDefaultHints[kNavButtonCount] = {
    "First record", "Prior record", "Next record", "Last record",  "Insert record",
    "Delete record", "Edit record", "Post edit",   "Cancel edit", "Refresh data"};

}  // namespace

// ---------------------------------------------------------------- the glyphs

std::unique_ptr<TBitmap> NavigatorGlyph(TNavigateBtn kind, int size) {
    QImage image(size * 2, size, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 0));
    for (int part = 0; part < 2; ++part) {
        QPainter p(&image);
        p.translate(part * size, 0);
        p.scale(size / 16.0, size / 16.0);
        const QColor ink = part == 0 ? QColor(0, 0, 0) : QColor(128, 128, 128);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        auto triangle = [&](int tip, int base) {  // pointing left when tip < base
            p.drawPolygon(QPolygon({QPoint(tip, 8), QPoint(base, 3), QPoint(base, 13)}));
        };
        switch (kind) {
            case nbFirst: p.drawRect(4, 3, 2, 11); triangle(6, 11); break;
            case nbPrior: triangle(5, 10); break;
            case nbNext: triangle(11, 6); break;
            case nbLast: p.drawRect(10, 3, 2, 11); triangle(10, 5); break;
            case nbInsert: p.drawRect(7, 3, 2, 10); p.drawRect(3, 7, 10, 2); break;
            case nbDelete: p.drawRect(3, 7, 10, 2); break;
            case nbEdit: p.drawPolygon(QPolygon({QPoint(3, 13), QPoint(4, 10), QPoint(11, 3), QPoint(13, 5), QPoint(6, 12)})); break;
            case nbPost: p.drawPolygon(QPolygon({QPoint(2, 8), QPoint(4, 6), QPoint(7, 9), QPoint(12, 3), QPoint(14, 5), QPoint(7, 12)})); break;
            case nbCancel:
                p.drawPolygon(QPolygon({QPoint(3, 5), QPoint(5, 3), QPoint(13, 11), QPoint(11, 13)}));
                p.drawPolygon(QPolygon({QPoint(11, 3), QPoint(13, 5), QPoint(5, 13), QPoint(3, 11)}));
                break;
            case nbRefresh:
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(ink, 2));
                p.drawArc(QRect(3, 3, 10, 10), 30 * 16, 300 * 16);
                p.setPen(Qt::NoPen);
                p.setBrush(ink);
                p.drawPolygon(QPolygon({QPoint(9, 1), QPoint(14, 4), QPoint(9, 7)}));
                break;
        }
    }
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetImage(image);
    glyph->SetTransparentColor(kGlyphTransparentColor);
    return glyph;
}

// ---------------------------------------------------------------- a button

const TClassInfo& TNavButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TNavButton>("TNavButton").Build();
    return info;
}

TNavButton::TNavButton(TComponent* AOwner) : TGraphicControl(AOwner), fGlyph(std::make_unique<TBitmap>()) {}

TNavButton::~TNavButton() {
    BeginDestroy();
}

void TNavButton::SetFlat(bool value) {
    if (value == fFlat) return;
    fFlat = value;
    Invalidate();
}

void TNavButton::SetEnabled(bool value) {
    if (!value) {
        fDown = false;
        fDragging = false;
        if (fRepeat) fRepeat->SetEnabled(false);
    }
    TGraphicControl::SetEnabled(value);
    Invalidate();
}

TRect TNavButton::GlyphPart(int part) const {
    const int count = std::max(fNumGlyphs, 1);
    const int w = fGlyph->Width() / count;
    part = std::min(part, count - 1);
    return TRect(part * w, 0, (part + 1) * w, fGlyph->Height());
}

void TNavButton::Paint() {
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    if (!fFlat || fDown) {
        // A raised frame, sunken while held down.
        const TColor light = fDown ? clBtnShadow : clBtnHighlight;
        const TColor dark = fDown ? clBtnHighlight : clBtnShadow;
        c->Brush()->SetColor(light);
        c->FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1));
        c->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
        c->Brush()->SetColor(dark);
        c->FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        c->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
    }
    if (fGlyph->Empty()) return;
    const TRect part = GlyphPart(Enabled() ? 0 : 1);
    TBitmap image;
    image.SetSize(part.Width(), part.Height());
    image.Canvas()->CopyRect(TRect(0, 0, part.Width(), part.Height()), fGlyph->Canvas(), part);
    image.SetTransparentColor(fGlyph->TransparentColor());
    image.SetTransparent(true);
    const int shift = fDown ? 1 : 0;
    c->Draw((r.Width() - part.Width()) / 2 + shift, (r.Height() - part.Height()) / 2 + shift, &image);
}

void TNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    fDragging = true;
    fDown = true;
    Invalidate();
    if (fAutoRepeat) {
        if (!fRepeat) {
            fRepeat = std::make_unique<TTimer>();
            fRepeat->OnTimer = [this](TObject*) { RepeatTick(); };
        }
        fRepeat->SetEnabled(false);
        fRepeat->SetInterval(kRepeatFirstMs);
        fRepeat->SetEnabled(true);
    }
}

void TNavButton::RepeatTick() {
    fRepeat->SetInterval(kRepeatNextMs);
    if (fDown && fDragging) Click();
}

void TNavButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!fDragging) return;
    const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (inside == fDown) return;
    fDown = inside;
    Invalidate();
}

void TNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool clicked = fDragging && fDown && Button == mbLeft;
    fDragging = false;
    fDown = false;
    if (fRepeat) fRepeat->SetEnabled(false);
    Invalidate();
    auto alive = Watch();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (clicked && !alive.expired()) Click();
}

// ---------------------------------------------------------------- the navigator

// Follows the dataset's state for the buttons' enabled states.
class TDBNavigator::TNavDataLink : public TDataLink {
public:
    explicit TNavDataLink(TDBNavigator& owner) : fOwner(owner) {}

protected:
    void ActiveChanged() override { fOwner.UpdateButtonStates(); }
    void DataSetChanged() override { fOwner.UpdateButtonStates(); }
    void EditingChanged() override { fOwner.UpdateButtonStates(); }

private:
    TDBNavigator& fOwner;
};

const TClassInfo& TDBNavigator::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBNavigator>("TDBNavigator").Build();
    return info;
}

TDBNavigator::TDBNavigator(TComponent* AOwner)
    : TCustomControl(AOwner), fDataLink(std::make_unique<TNavDataLink>(*this)), fHints(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 241, 25);
}

TDBNavigator::~TDBNavigator() {
    BeginDestroy();
    fDataLink->SetDataSource(nullptr);
}

TNavButton* TDBNavigator::CreateButton(TNavigateBtn) {
    return new TNavButton(this);
}

void TDBNavigator::InitButtons() {
    for (int i = 0; i < kNavButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        TNavButton* button = CreateButton(kind);
        button->SetIndex(kind);
        button->SetParent(this);
        button->SetAutoRepeat(kind == nbPrior || kind == nbNext);
        button->SetFlat(fFlat);
        if (button->Glyph()->Empty()) button->Glyph()->Assign(NavigatorGlyph(kind).get());
        button->OnClick = [this, kind](TObject*) { BtnClick(kind); };
        fButtons[static_cast<size_t>(i)] = button;
    }
    ApplyHints();
    LayoutButtons();
    UpdateButtonStates();
}

TDataSource* TDBNavigator::DataSource() const {
    return fDataLink->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* value) {
    fDataLink->SetDataSource(value);
    UpdateButtonStates();
}

void TDBNavigator::SetEnabled(bool value) {
    TCustomControl::SetEnabled(value);
    UpdateButtonStates();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet value) {
    fVisibleButtons = value;
    LayoutButtons();
}

void TDBNavigator::SetFlat(bool value) {
    fFlat = value;
    for (TNavButton* b : fButtons)
        if (b) b->SetFlat(value);
}

void TDBNavigator::SetHints(TStrings* value) {
    fHints->Assign(value);
    ApplyHints();
}

void TDBNavigator::ApplyHints() {
    for (int i = 0; i < kNavButtonCount; ++i) {
        if (!fButtons[static_cast<size_t>(i)]) continue;
        const bool own = i < fHints->Count() && !fHints->Strings(i).empty();
        fButtons[static_cast<size_t>(i)]->SetHint(own ? fHints->Strings(i) : std::string(kDefaultHints[i]));
    }
}

void TDBNavigator::Resize() {
    TCustomControl::Resize();
    LayoutButtons();
}

void TDBNavigator::LayoutButtons() {
    int shown = 0;
    for (int i = 0; i < kNavButtonCount; ++i) shown += fVisibleButtons.Contains(static_cast<TNavigateBtn>(i));
    if (shown == 0) return;
    const int width = ClientWidth() / shown;
    const int extra = ClientWidth() - width * shown;  // the first buttons take the rest, a pixel each
    int left = 0, placed = 0;
    for (TNavButton* b : fButtons) {
        if (!b) continue;
        const bool visible = fVisibleButtons.Contains(b->Index());
        b->SetVisible(visible);
        if (!visible) continue;
        const int w = width + (placed++ < extra ? 1 : 0);
        b->SetBounds(left, 0, w, ClientHeight());
        left += w;
    }
}

void TDBNavigator::UpdateButtonStates() {
    if (!fButtons[0]) return;
    const TDataSet* ds = Enabled() && fDataLink->Active() ? fDataLink->DataSet() : nullptr;
    for (int i = 0; i < kNavButtonCount; ++i)
        fButtons[static_cast<size_t>(i)]->SetEnabled(DataSetOperationEnabled(static_cast<TNavigateBtn>(i), ds));
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    TDataSet* ds = fDataLink->Active() ? fDataLink->DataSet() : nullptr;
    if (!ds) return;
    if (BeforeAction) BeforeAction(this, button);
    if (button == nbDelete && fConfirmDelete) {
        TMessageBoxRequest request;
        request.Text = std::string(kDeleteRecordQuestion);
        request.Buttons = TMsgButtons::OkCancel;
        request.Icon = TMsgIcon::Question;
        request.NonInteractiveAnswer = TMsgAnswer::Cancel;
        if (DialogService().MessageBox(request) != TMsgAnswer::Ok) return;
    }
    RunDataSetOperation(button, *ds);
    if (OnClick) OnClick(this, button);
}

}  // namespace tv
