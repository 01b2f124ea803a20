#include "platform/gui/button.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TButtonControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TButtonControl>("TButtonControl").Build();
    return info;
}

const TClassInfo& TButton::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",        "Cancel",      "Caption",     "Default",   "Font",       "ModalResult",
        "ParentFont",     "OnClick",     "OnEnter",     "OnExit",    "DragCursor", "DragMode",
        "ParentShowHint", "OnDragDrop",  "OnDragOver",  "OnEndDrag", "OnKeyDown",  "OnKeyPress",
        "OnKeyUp",        "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TButton>("TButton", kPublished);
    return info;
}

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomCheckBox>("TCustomCheckBox").Build();
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Alignment",   "AllowGrayed", "Anchors",    "Caption",    "Checked",     "Color",
        "Font",        "ParentColor", "ParentFont", "State",      "OnClick",     "OnEnter",
        "OnExit",      "CTL3D",       "DragCursor", "DragMode",   "ParentCtl3D", "ParentShowHint",
        "OnDragDrop",  "OnDragOver",  "OnEndDrag",  "OnKeyDown",  "OnKeyPress",  "OnKeyUp",
        "OnMouseDown", "OnMouseMove", "OnMouseUp",  "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TCheckBox>("TCheckBox", kPublished);
    return info;
}

const TClassInfo& TRadioButton::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Alignment",   "Anchors",    "Caption",    "Checked",     "Color",          "Font",
        "ParentColor", "ParentFont", "OnClick",    "OnDblClick",  "OnEnter",        "OnExit",
        "CTL3D",       "DragCursor", "DragMode",   "ParentCtl3D", "ParentShowHint", "OnDragDrop",
        "OnDragOver",  "OnEndDrag",  "OnKeyDown",  "OnKeyPress",  "OnKeyUp",        "OnMouseDown",
        "OnMouseMove", "OnMouseUp",  "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TRadioButton>("TRadioButton", kPublished);
    return info;
}

// ---- TButtonControl ----

TButtonControl::TButtonControl(TComponent* AOwner) : TButtonControl(AOwner, NewWidget<QPushButton>()) {}

TButtonControl::TButtonControl(TComponent* AOwner, QWidget* widget) : TWinControl(AOwner, widget) {
    SetTabStop(true);
}

void TButtonControl::TextChanged() {
    if (auto* b = qobject_cast<QAbstractButton*>(Widget())) b->setText(ToQString(Caption()));
}

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TButton(AOwner, NewWidget<QPushButton>()) {}

TButton::TButton(TComponent* AOwner, QWidget* widget) : TButtonControl(AOwner, widget) {
    auto* b = static_cast<QAbstractButton*>(widget);
    GuardedConnect(this, b, &QAbstractButton::clicked, [this](bool) { Click(); });
    if (auto* push = qobject_cast<QPushButton*>(b)) push->setAutoDefault(false);
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
    fDefault = value;
    if (auto* push = qobject_cast<QPushButton*>(Widget())) push->setDefault(value);
}

void TButton::Click() {
    if (TForm* form = ParentForm()) form->ModalResult = fModalResult;
    TButtonControl::Click();
}

// ---- TCustomCheckBox ----

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner, NewWidget<QCheckBox>()) {}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner, QWidget* widget) : TButtonControl(AOwner, widget) {
    auto* box = static_cast<QCheckBox*>(Widget());
    GuardedConnect(this, box, &QCheckBox::stateChanged, [this](int) { Click(); });
    SetBounds(0, 0, 97, 17);
}

TCheckBoxState TCustomCheckBox::State() const {
    switch (static_cast<QCheckBox*>(Widget())->checkState()) {
        case Qt::Checked:
            return cbChecked;
        case Qt::PartiallyChecked:
            return cbGrayed;
        default:
            return cbUnchecked;
    }
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    auto* box = static_cast<QCheckBox*>(Widget());
    if (value == cbGrayed) box->setTristate(true);
    box->setCheckState(value == cbChecked  ? Qt::Checked
                       : value == cbGrayed ? Qt::PartiallyChecked
                                           : Qt::Unchecked);
}

void TCustomCheckBox::SetAllowGrayed(bool value) {
    fAllowGrayed = value;
    static_cast<QCheckBox*>(Widget())->setTristate(value || State() == cbGrayed);
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    fAlignment = value;
    Widget()->setLayoutDirection(value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, NewWidget<QRadioButton>()) {
    auto* radio = static_cast<QRadioButton*>(Widget());
    GuardedConnect(this, radio, &QRadioButton::toggled, [this](bool checked) {
        if (checked) Click();
    });
    SetBounds(0, 0, 113, 17);
}

bool TRadioButton::Checked() const {
    return static_cast<QRadioButton*>(Widget())->isChecked();
}

void TRadioButton::SetChecked(bool value) {
    static_cast<QRadioButton*>(Widget())->setChecked(value);
}

void TRadioButton::SetAlignment(TAlignment value) {
    fAlignment = value;
    Widget()->setLayoutDirection(value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

}  // namespace tv
