#include "platform/gui/label.h"

#include <QFontMetrics>
#include <QLabel>

#include "platform/gui/published_properties.h"
#include "platform/gui/qt_graphics.h"
#include "platform/gui/widget_bridge.h"
#include "platform/gui/win_control.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

// The caption without its accelerator marks: "&Save" shows "Save", "&&" shows "&".
QString WithoutAccelerators(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

}  // namespace

const TClassInfo& TCustomLabel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomLabel>("TCustomLabel").Build();
    return info;
}

const TClassInfo& TLabel::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Alignment",   "Anchors",     "AutoSize",       "Caption",       "Color",
        "DragCursor",  "DragMode",    "FocusControl",   "Font",          "Layout",
        "ParentColor", "ParentFont",  "ParentShowHint", "ShowAccelChar", "Transparent",
        "WordWrap",    "OnClick",     "OnDblClick",     "OnDragDrop",    "OnDragOver",
        "OnEndDrag",   "OnMouseDown", "OnMouseMove",    "OnMouseUp",     "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TLabel>("TLabel", kPublished);
    return info;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner, NewWidget<QLabel>()) {
    auto* label = static_cast<QLabel*>(Widget());
    label->setTextFormat(Qt::PlainText);
    SetTransparent(false);
    SetBounds(0, 0, 65, 17);
    ApplyText();
}

void TCustomLabel::ApplyText() {
    auto* label = static_cast<QLabel*>(Widget());
    const QString caption = ToQString(Caption());
    label->setText(fShowAccelChar ? WithoutAccelerators(caption) : caption);
    Qt::Alignment a = fAlignment == taCenter         ? Qt::AlignHCenter
                      : fAlignment == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    a |= fLayout == tlCenter ? Qt::AlignVCenter : fLayout == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
    label->setAlignment(a);
    label->setWordWrap(fWordWrap);
    AdjustSize();
}

void TCustomLabel::AdjustSize() {
    if (!fAutoSize) return;
    auto* label = static_cast<QLabel*>(Widget());
    const QFontMetrics fm(ToQFont(*Font()));
    if (fWordWrap) {
        const QRect r =
            fm.boundingRect(QRect(0, 0, std::max(Width(), 1), 100000), Qt::TextWordWrap, label->text());
        SetHeight(std::max(r.height(), fm.height()));
    } else {
        SetBounds(Left(), Top(), fm.horizontalAdvance(label->text()), fm.height());
    }
}

void TCustomLabel::TextChanged() {
    ApplyText();
}

void TCustomLabel::ApplyFont() {
    TGraphicControl::ApplyFont();
    if (Widget()) AdjustSize();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    fAlignment = value;
    ApplyText();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    fLayout = value;
    ApplyText();
}

void TCustomLabel::SetAutoSize(bool value) {
    fAutoSize = value;
    AdjustSize();
}

void TCustomLabel::SetWordWrap(bool value) {
    fWordWrap = value;
    ApplyText();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    fShowAccelChar = value;
    ApplyText();
}

void TCustomLabel::SetTransparent(bool value) {
    fTransparent = value;
    Widget()->setAutoFillBackground(!value);
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (fFocusControl) fFocusControl->RemoveFreeNotification(this);
    fFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fFocusControl) fFocusControl = nullptr;
}

}  // namespace tv
