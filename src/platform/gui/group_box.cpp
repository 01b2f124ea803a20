#include "platform/gui/group_box.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QRadioButton>

#include "platform/gui/published_properties.h"
#include "platform/gui/qt_graphics.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomGroupBox>("TCustomGroupBox").Build();
    return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",     "Caption",     "Color",          "Font",       "ParentColor", "ParentFont",
        "OnClick",     "OnDblClick",  "OnEnter",        "OnExit",     "CTL3D",       "DragCursor",
        "DragMode",    "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",  "OnEndDrag",
        "OnMouseDown", "OnMouseMove", "OnMouseUp",      "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TGroupBox>("TGroupBox", kPublished);
    return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TRadioGroup>("TRadioGroup").Build();
    return info;
}

// ---- TCustomGroupBox ----

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner, NewWidget<QGroupBox>()) {
    SetBounds(0, 0, 185, 105);
}

TRect TCustomGroupBox::AlignRect() const {
    const QFontMetrics fm(ToQFont(*Font()));
    // The frame line and a margin on each side; the caption's height above.
    constexpr int kMargin = 2;
    TRect r = ClientRect();
    return Rect(r.Left + kMargin, r.Top + fm.height() + kMargin,
                std::max(r.Left + kMargin, r.Right - kMargin),
                std::max(r.Top + fm.height() + kMargin, r.Bottom - kMargin));
}

void TCustomGroupBox::TextChanged() {
    static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Caption()));
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), fItems(std::make_unique<TStringList>()), fGroup(new QButtonGroup(Widget())) {
    GuardedConnect(this, fGroup, &QButtonGroup::idClicked, [this](int id) {
        if (CanModify())
            SetItemIndex(id);
        else
            CheckChosenButton();
    });
    fItems->OnChange = [this](TObject*) { MakeButtons(); };
}

TRadioGroup::~TRadioGroup() {
    BeginDestroy();
    fItems->OnChange = nullptr;
    QObject::disconnect(fGroup, nullptr, nullptr, nullptr);
}

void TRadioGroup::MakeButtons() {
    for (QAbstractButton* b : fGroup->buttons()) {
        fGroup->removeButton(b);
        delete b;
    }
    for (int i = 0; i < fItems->Count(); ++i) {
        auto* b = new QRadioButton(ToQString(fItems->Strings(i)), Widget());
        fGroup->addButton(b, i);
        b->setChecked(i == fItemIndex);
        b->show();
    }
    if (fItemIndex >= fItems->Count()) fItemIndex = -1;
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    const QList<QAbstractButton*> buttons = fGroup->buttons();
    if (buttons.isEmpty()) return;
    const int count = static_cast<int>(buttons.size());
    const int textHeight = QFontMetrics(ToQFont(*Font())).height();
    const int perColumn = (count + fColumns - 1) / fColumns;
    const int buttonWidth = (Width() - 10) / fColumns;
    const int room = Height() - textHeight - 5;
    const int buttonHeight = std::max(room / perColumn, 0);
    const int topMargin = textHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < count; ++i)
        fGroup->button(i)->setGeometry((i / perColumn) * buttonWidth + 8,
                                       (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
}

void TRadioGroup::AlignControls(TRect rect) {
    TCustomGroupBox::AlignControls(rect);
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int value) {
    if (value < -1 || value >= fItems->Count()) ListIndexError(value);
    if (value == fItemIndex) return;
    fItemIndex = value;
    CheckChosenButton();
    Click();
}

void TRadioGroup::CheckChosenButton() {
    if (fItemIndex >= 0) {
        fGroup->button(fItemIndex)->setChecked(true);
    } else if (QAbstractButton* checked = fGroup->checkedButton()) {
        fGroup->setExclusive(false);
        checked->setChecked(false);
        fGroup->setExclusive(true);
    }
}

void TRadioGroup::SetColumns(int value) {
    fColumns = std::clamp(value, 1, 16);
    ArrangeButtons();
}

}  // namespace tv
