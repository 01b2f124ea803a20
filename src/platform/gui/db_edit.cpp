#include "platform/gui/db_edit.h"

#include <type_traits>

#include "platform/gui/data_aware_keys.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDBEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBEdit>("TDBEdit").Build();
    return info;
}

const TClassInfo& TDBMemo::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBMemo>("TDBMemo").Build();
    return info;
}

template <class EditBase>
TDBTextControl<EditBase>::TDBTextControl(TComponent* AOwner) : TDataAwareControl<EditBase>(AOwner) {
    EditBase::SetReadOnly(true);
}

template <class EditBase>
void TDBTextControl<EditBase>::DataChange() {
    TField* field = this->Field();
    // A one-line box takes no more characters than a text field holds.
    if (field && this->MaxLength() == 0 && std::is_same_v<EditBase, TCustomEdit> &&
        (field->DataType() == TFieldType::ftString || field->DataType() == TFieldType::ftFixedChar))
        this->SetMaxLength(field->Size());
    this->SetText(field ? field->Text() : std::string());
}

template <class EditBase>
void TDBTextControl<EditBase>::EditingChange() {
    EditBase::SetReadOnly(!this->fDataLink.Editing());
}

template <class EditBase>
void TDBTextControl<EditBase>::UpdateData() {
    this->Field()->SetText(this->Text());
}

template <class EditBase>
void TDBTextControl<EditBase>::ExitFailed() {
    this->SelectAll();
    TDataAwareControl<EditBase>::ExitFailed();
}

template <class EditBase>
void TDBTextControl<EditBase>::ChangeDropped() {
    this->SelectAll();
}

template <class EditBase>
void TDBTextControl<EditBase>::Change() {
    this->UserChanged();
    EditBase::Change();
}

template <class EditBase>
bool TDBTextControl<EditBase>::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (KeyChangesText(Key, Shift)) this->fDataLink.Edit();
    return EditBase::KeyDown(Key, Shift);
}

template <class EditBase>
bool TDBTextControl<EditBase>::KeyPress(char16_t& Key) {
    if (CharChangesText(Key, std::is_same_v<EditBase, TCustomMemo>)) this->fDataLink.Edit();
    return TDataAwareControl<EditBase>::KeyPress(Key);
}

template class TDBTextControl<TCustomEdit>;
template class TDBTextControl<TCustomMemo>;

}  // namespace tv
