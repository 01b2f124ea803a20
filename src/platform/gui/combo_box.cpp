#include "platform/gui/combo_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "platform/gui/item_strings.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

// A combo box that says when its list opens.
class TComboWidget : public QComboBox {
public:
    std::function<void()> OnPopup;
    std::function<void()> OnPopupClosed;
    void showPopup() override {
        if (OnPopup) OnPopup();
        QComboBox::showPopup();
    }
    void hidePopup() override {
        const bool wasOpen = view()->isVisible();
        QComboBox::hidePopup();
        if (wasOpen && OnPopupClosed) OnPopupClosed();
    }
};

class TComboItems : public TItemStrings::TItems {
public:
    explicit TComboItems(QComboBox* box) : fBox(box) {}
    int Count() const override { return fBox->count(); }
    QString Text(int i) const override { return fBox->itemText(i); }
    void SetText(int i, const QString& text) override { fBox->setItemText(i, text); }
    TObject* Object(int i) const override {
        return reinterpret_cast<TObject*>(fBox->itemData(i).value<quintptr>());
    }
    void SetObject(int i, TObject* object) override {
        fBox->setItemData(i, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    }
    void Insert(int i, const QString& text) override { fBox->insertItem(i, text); }
    void Remove(int i) override { fBox->removeItem(i); }
    void Clear() override { fBox->clear(); }
    void SetUpdating(bool updating) override { fBox->setUpdatesEnabled(!updating); }

private:
    QComboBox* fBox;
};

QComboBox* Box(const TCustomComboBox* c) {
    return static_cast<QComboBox*>(c->Widget());
}

}  // namespace

const TClassInfo& TCustomComboBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomComboBox>("TCustomComboBox").Build();
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Style",          "Anchors",    "Color",      "DropDownCount", "Font",       "MaxLength",
        "ParentColor",    "ParentFont", "Sorted",     "Text",          "OnChange",   "OnClick",
        "OnDblClick",     "OnDropDown", "OnEnter",    "OnExit",        "OnKeyDown",  "OnKeyPress",
        "OnKeyUp",        "CTL3D",      "DragMode",   "DragCursor",    "ItemHeight", "ParentCtl3D",
        "ParentShowHint", "OnDragDrop", "OnDragOver", "OnDrawItem",    "OnEndDrag",  "OnMeasureItem",
        "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TComboBox>("TComboBox", kPublished);
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner, NewWidget<TComboWidget>()) {
    auto* box = static_cast<TComboWidget*>(Widget());
    fItems = std::make_unique<TItemStrings>(std::make_unique<TComboItems>(box));
    box->OnPopup = [this] {
        try {
            DropDown();
        } catch (...) {
            HandleGuiException(this);
        }
    };
    box->OnPopupClosed = [this] {
        try {
            CloseUp();
        } catch (...) {
            HandleGuiException(this);
        }
    };
    // A choice from the list: Click, then Change, as the class library reports it.
    GuardedConnect(this, box, &QComboBox::activated, [this](int) {
        auto alive = Watch();
        Click();
        if (!alive.expired()) Change();
    });
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetStyle(csDropDown);
    SetDropDownCount(fDropDownCount);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() {
    BeginDestroy();
    static_cast<TComboWidget*>(Widget())->OnPopup = nullptr;
    static_cast<TComboWidget*>(Widget())->OnPopupClosed = nullptr;
}

TStrings* TCustomComboBox::Items() const {
    return fItems.get();
}

void TCustomComboBox::SetItems(TStrings* value) {
    fItems->Assign(value);
}

int TCustomComboBox::ItemIndex() const {
    return Box(this)->currentIndex();
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= fItems->Count()) ListIndexError(value);
    Box(this)->setCurrentIndex(value);
}

bool TCustomComboBox::DroppedDown() const {
    return Box(this)->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (value == DroppedDown()) return;
    if (value)
        Box(this)->showPopup();
    else
        Box(this)->hidePopup();
}

void TCustomComboBox::Clear() {
    fItems->Clear();
    SetText("");
}

void TCustomComboBox::SelectAll() {
    if (QLineEdit* edit = Box(this)->lineEdit()) edit->selectAll();
}

int TCustomComboBox::SelStart() const {
    QLineEdit* edit = Box(this)->lineEdit();
    if (!edit) return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TCustomComboBox::SetSelStart(int value) {
    if (QLineEdit* edit = Box(this)->lineEdit()) edit->setCursorPosition(std::max(value, 0));
}

int TCustomComboBox::SelLength() const {
    QLineEdit* edit = Box(this)->lineEdit();
    return edit ? static_cast<int>(edit->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int value) {
    if (QLineEdit* edit = Box(this)->lineEdit()) edit->setSelection(SelStart(), std::max(value, 0));
}

std::string TCustomComboBox::SelText() const {
    QLineEdit* edit = Box(this)->lineEdit();
    return edit ? FromQString(edit->selectedText()) : std::string();
}

void TCustomComboBox::SetSelText(const std::string& value) {
    if (QLineEdit* edit = Box(this)->lineEdit()) edit->insert(ToQString(value));
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    fStyle = value;
    QComboBox* box = Box(this);
    const bool editable = value == csDropDown || value == csSimple;
    if (box->isEditable() == editable) return;
    box->setEditable(editable);
    if (QLineEdit* edit = box->lineEdit()) {
        edit->setMaxLength(fMaxLength > 0 ? fMaxLength : 32767);
        GuardedConnect(this, edit, &QLineEdit::textEdited, [this](const QString&) { Change(); });
    }
}

void TCustomComboBox::SetDropDownCount(int value) {
    fDropDownCount = std::max(value, 1);
    Box(this)->setMaxVisibleItems(fDropDownCount);
}

bool TCustomComboBox::Sorted() const {
    return fItems->Sorted();
}

void TCustomComboBox::SetSorted(bool value) {
    fItems->SetSorted(value);
}

void TCustomComboBox::SetMaxLength(int value) {
    fMaxLength = std::max(value, 0);
    if (QLineEdit* edit = Box(this)->lineEdit()) edit->setMaxLength(fMaxLength > 0 ? fMaxLength : 32767);
}

std::string TCustomComboBox::GetText() const {
    return FromQString(Box(this)->currentText());
}

void TCustomComboBox::SetTextValue(const std::string& value) {
    QComboBox* box = Box(this);
    if (box->isEditable()) {
        box->setEditText(ToQString(value));
        return;
    }
    // A list to choose from only: the text chooses the item that has it (case aside), if any.
    box->setCurrentIndex(box->findText(ToQString(value), Qt::MatchFixedString));
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {}

}  // namespace tv
