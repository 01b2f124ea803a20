#include "controls/db_pick_combo.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/gui/application.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/sound.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/string_list.h"

namespace tv {

void TFieldDataLinkX::DataChange() {
    try {
        TFieldDataLink::DataChange();
    } catch (const std::exception& e) {
        Application().ShowException(e);
    }
}

const TClassInfo& TDBPickCombo::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBPickCombo>("TDBPickCombo").Build();
    return info;
}

TDBPickCombo::TDBPickCombo(TComponent* AOwner)
    : TDBPickComboBase(AOwner), fValues(std::make_unique<TStringList>()) {
    // The style's stored default is csDropDown, yet a new combo is a list to choose from only.
    SetStyle(csDropDownList);
    EditingChange();
}

TDBPickCombo::~TDBPickCombo() = default;

TStrings* TDBPickCombo::Values() const {
    return fValues.get();
}

void TDBPickCombo::SetValues(TStrings* value) {
    fValues->Assign(value);
}

void TDBPickCombo::SetItems(TStrings* value) {
    TDBPickComboBase::SetItems(value);
    RefreshFromField();
}

// ---------------------------------------------------------------- value mapping

std::string TDBPickCombo::CurrentValue() const {
    if (fValues->Count() == 0) return IntToStr(ItemIndex());
    const int i = IsListStyle() ? ItemIndex() : Items()->IndexOf(Text());
    if (i >= 0 && i < fValues->Count()) return fValues->Strings(i);
    return IntToStr(i);
}

std::optional<std::string> TDBPickCombo::CurrentText() const {
    if (!IsListStyle()) return Text();
    const int i = ItemIndex();
    if (i < 0) return std::nullopt;
    return Items()->Strings(i);
}

void TDBPickCombo::ShowPosition(int position) {
    if (position >= Items()->Count()) position = -1;
    QWidget* widget = Widget();
    const bool suspend = IsListStyle();
    if (suspend) widget->setUpdatesEnabled(false);
    try {
        SetItemIndex(position);
    } catch (...) {
        if (suspend) widget->setUpdatesEnabled(true);
        Invalidate();
        throw;
    }
    if (suspend) {
        widget->setUpdatesEnabled(true);
        Invalidate();
    }
}

void TDBPickCombo::SelectValue(const std::string& value) {
    if (value == CurrentValue()) return;
    if (Style() == csDropDown) return SetText(value);
    int position = -1;
    if (!value.empty()) position = fValues->Count() == 0 ? StrToInt(value) : fValues->IndexOf(value);
    ShowPosition(position);
    if (ItemIndex() < 0 && Style() == csSimple) SetText(value);
}

void TDBPickCombo::SelectText(const std::string& text) {
    if (CurrentText() == text) return;
    if (Style() == csDropDown) return SetText(text);
    try {
        ShowPosition(text.empty() ? -1 : Items()->IndexOf(text));
        if (ItemIndex() < 0 && Style() == csSimple) SetText(text);
    } catch (const std::exception& e) {
        // Reported with its own message, never as an empty box.
        Application().ShowException(e);
    }
}

void TDBPickCombo::RefreshFromField() {
    // An open list keeps what the user is choosing from.
    if (DroppedDown() && Style() != csSimple) return;
    TField* field = Field();
    if (field && !field->FieldName().empty())
        SelectValue(field->Text());
    else
        SelectText("");
}

void TDBPickCombo::WriteToField() {
    Field()->SetText(CurrentValue());
}

// ---------------------------------------------------------------- user edits

void TDBPickCombo::EditingChange() {
    if (QLineEdit* edit = static_cast<QComboBox*>(Widget())->lineEdit())
        edit->setReadOnly(!fDataLink.Editing());
}

void TDBPickCombo::ExitFailed() {
    SelectAll();
}

void TDBPickCombo::Click() {
    if (!fDataLink.Edit()) {
        // The value cannot change: the choice is undone and no change is reported.
        fChoiceRefused = true;
        if (Style() != csSimple) SetDroppedDown(false);
        RefreshFromField();
        return;
    }
    TDBPickComboBase::Click();
    fDataLink.Modified();
}

void TDBPickCombo::Change() {
    if (fChoiceRefused) {
        fChoiceRefused = false;
        return;
    }
    fDataLink.Edit();
    TDBPickComboBase::Change();
    fDataLink.Modified();
}

void TDBPickCombo::DropDown() {
    fDataLink.Edit();
    TDBPickComboBase::DropDown();
}

void TDBPickCombo::CloseUp() {
    if (!fDataLink.Editing()) RefreshFromField();
}

bool TDBPickCombo::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (!TDBPickComboBase::KeyDown(Key, Shift)) return false;
    if ((Key == VK_BACK || (Key >= 32 && Key <= 255)) && !fDataLink.Edit() && (Key == VK_UP || Key == VK_DOWN))
        Key = 0;
    return Key != 0;
}

bool TDBPickCombo::KeyPress(char16_t& Key) {
    if (!TDBPickComboBase::KeyPress(Key)) return false;
    const bool printable = Key >= 32 && Key <= 255;
    if (printable && Field() && !Field()->IsValidChar(Key)) {
        Beep();
        Key = 0;
        return false;
    }
    if (printable || Key == 8 || Key == 22 || Key == 24) fDataLink.Edit();
    return true;
}

}  // namespace tv
