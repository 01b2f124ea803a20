#include "platform/gui/bit_btn.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include "platform/gui/widget_bridge.h"
#include "platform/gui/win_control.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TBitBtn::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBitBtn>("TBitBtn").Build();
    return info;
}

const TClassInfo& TSpeedButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSpeedButton>("TSpeedButton").Build();
    return info;
}

// ---- TButtonGlyph ----

TButtonGlyph::TButtonGlyph(QWidget* button) : fButton(button), fGlyph(std::make_unique<TBitmap>()) {
    fGlyph->OnChange = [this](TObject*) { Apply(); };
    Apply();
}

TButtonGlyph::~TButtonGlyph() {
    fGlyph->OnChange = nullptr;
}

void TButtonGlyph::SetNumGlyphs(int value) {
    fNumGlyphs = std::clamp(value, 1, 4);
    Apply();
}

void TButtonGlyph::SetLayout(TButtonLayout value) {
    fLayout = value;
    Apply();
}

void TButtonGlyph::Apply() {
    auto* button = qobject_cast<QToolButton*>(fButton);
    if (!button) return;
    if (fGlyph->Empty()) {
        button->setIcon(QIcon());
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return;
    }
    const QImage& strip = fGlyph->Image();
    const int w = strip.width() / fNumGlyphs;
    const QImage first = strip.copy(0, 0, w, strip.height());
    button->setIcon(QIcon(QPixmap::fromImage(first)));
    button->setIconSize(first.size());
    const bool vertical = fLayout == blGlyphTop || fLayout == blGlyphBottom;
    button->setToolButtonStyle(vertical ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    button->setLayoutDirection(fLayout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

// ---- TBitBtn ----

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner, NewWidget<QToolButton>()), TButtonGlyph(Widget()) {
    static_cast<QToolButton*>(Widget())->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

// ---- TSpeedButton ----

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner, NewWidget<QToolButton>()), TButtonGlyph(Widget()) {
    auto* button = static_cast<QToolButton*>(Widget());
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    GuardedConnect(this, button, &QToolButton::clicked, [this](bool) { Click(); });
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::TextChanged() {
    static_cast<QToolButton*>(Widget())->setText(ToQString(Caption()));
}

void TSpeedButton::SetFlat(bool value) {
    fFlat = value;
    static_cast<QToolButton*>(Widget())->setAutoRaise(value);
}

void TSpeedButton::SetGroupIndex(int value) {
    fGroupIndex = value;
    static_cast<QToolButton*>(Widget())->setCheckable(value != 0);
}

void TSpeedButton::SetDown(bool value) {
    if (fGroupIndex == 0) value = false;
    fDown = value;
    auto* button = static_cast<QToolButton*>(Widget());
    button->setChecked(value);
    if (!value || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            other && other != this && other->fGroupIndex == fGroupIndex && other->fDown)
            other->SetDown(false);
}

void TSpeedButton::Click() {
    if (fGroupIndex != 0) {
        // A button that is down stays down unless the group may be all up.
        SetDown(fDown ? !fAllowAllUp : true);
    }
    TGraphicControl::Click();
}

}  // namespace tv
