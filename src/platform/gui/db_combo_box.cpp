#include "platform/gui/db_combo_box.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/gui/data_aware_keys.h"
#include "platform/gui/key_codes.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDBComboBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBComboBox>("TDBComboBox").Build();
    return info;
}

TDBComboBox::TDBComboBox(TComponent* AOwner) : TDataAwareControl(AOwner) {
    EditingChange();
}

std::string TDBComboBox::ComboText() const {
    if (Style() == csDropDown || Style() == csSimple) return Text();
    const int index = ItemIndex();
    return index < 0 ? std::string() : Items()->Strings(index);
}

void TDBComboBox::SetComboText(const std::string& value) {
    if (value == ComboText()) return;
    if (Style() != csDropDown) {
        const int index = value.empty() ? -1 : Items()->IndexOf(value);
        SetItemIndex(index);
        if (index >= 0) return;
    }
    if (Style() == csDropDown || Style() == csSimple) SetText(value);
}

void TDBComboBox::DataChange() {
    // An open list keeps what the user is choosing from.
    if (DroppedDown()) return;
    EditingChange();  // the style may have given the box a new edit part
    TField* field = Field();
    SetComboText(field ? field->Text() : std::string());
}

void TDBComboBox::EditingChange() {
    if (QLineEdit* edit = static_cast<QComboBox*>(Widget())->lineEdit())
        edit->setReadOnly(!fDataLink.Editing());
}

void TDBComboBox::UpdateData() {
    Field()->SetText(ComboText());
}

void TDBComboBox::ExitFailed() {
    SelectAll();
    TDataAwareControl::ExitFailed();
}

void TDBComboBox::ChangeDropped() {
    SelectAll();
}

void TDBComboBox::Click() {
    // A choice from the list while the value cannot be changed shows the field's text again;
    // putting the dataset into edit state shows it too, so the choice is shown again after that.
    const std::string chosen = ComboText();
    if (!fDataLink.Edit()) return fDataLink.Reset();
    SetComboText(chosen);
    TDataAwareControl::Click();
    UserChanged();
}

void TDBComboBox::Change() {
    UserChanged();
    TDataAwareControl::Change();
}

void TDBComboBox::DropDown() {
    fDataLink.Edit();
    TDataAwareControl::DropDown();
}

bool TDBComboBox::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (KeyChangesText(Key, Shift) || Key == VK_UP || Key == VK_DOWN) {
        // Up and Down choose another item: not while the value cannot be changed.
        if (!fDataLink.Edit() && (Key == VK_UP || Key == VK_DOWN)) Key = 0;
    }
    return TDataAwareControl::KeyDown(Key, Shift);
}

bool TDBComboBox::KeyPress(char16_t& Key) {
    if (CharChangesText(Key, false)) fDataLink.Edit();
    return TDataAwareControl::KeyPress(Key);
}

}  // namespace tv
