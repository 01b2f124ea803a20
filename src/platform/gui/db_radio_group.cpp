#include "platform/gui/db_radio_group.h"

#include "platform/gui/application.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDBRadioGroup::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBRadioGroup>("TDBRadioGroup").Build();
    return info;
}

TDBRadioGroup::TDBRadioGroup(TComponent* AOwner)
    : TDataAwareControl(AOwner), fValues(std::make_unique<TStringList>()) {
    fValues->OnChange = [this](TObject*) { DataChange(); };
    // New buttons show the field's value again.
    auto* items = static_cast<TStringList*>(Items());
    items->OnChange = [this, makeButtons = items->OnChange](TObject* sender) {
        if (makeButtons) makeButtons(sender);
        DataChange();
    };
}

TDBRadioGroup::~TDBRadioGroup() {
    BeginDestroy();
    fValues->OnChange = nullptr;
    static_cast<TStringList*>(Items())->OnChange = nullptr;
}

std::string TDBRadioGroup::ButtonValue(int index) const {
    if (index >= 0 && index < fValues->Count() && !fValues->Strings(index).empty())
        return fValues->Strings(index);
    if (index >= 0 && index < Items()->Count()) return Items()->Strings(index);
    return {};
}

void TDBRadioGroup::SetValue(const std::string& value) {
    if (value != fValue) ShowValue(value);
}

void TDBRadioGroup::ShowValue(const std::string& value) {
    int index = Items()->Count() - 1;
    while (index >= 0 && ButtonValue(index) != value) --index;
    fInSetValue = true;
    try {
        SetItemIndex(index);
    } catch (...) {
        fInSetValue = false;
        throw;
    }
    fInSetValue = false;
    const bool changed = value != fValue;
    fValue = value;
    if (changed && OnChange) OnChange(this);
}

void TDBRadioGroup::Click() {
    if (fInSetValue) return;
    auto alive = Watch();
    TDataAwareControl::Click();
    if (alive.expired()) return;
    if (ItemIndex() >= 0) SetValue(ButtonValue(ItemIndex()));
    UserChanged();
}

bool TDBRadioGroup::CanModify() {
    try {
        return fDataLink.Edit();
    } catch (...) {
        HandleGuiException(this);
        return false;
    }
}

void TDBRadioGroup::DataChange() {
    TField* field = Field();
    ShowValue(field ? field->Text() : std::string());
}

void TDBRadioGroup::UpdateData() {
    Field()->SetText(fValue);
}

}  // namespace tv
