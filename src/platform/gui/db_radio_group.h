#pragma once
// A data-aware radio group: the button whose value equals the field's text is chosen; a text that
// no button has chooses none. A button's value is its line of Values, or its caption when Values
// has no (or an empty) line for it. Choosing a button puts the dataset into edit state (nothing
// happens while the value cannot be changed); the chosen value reaches the field, through the
// field's own conversion, when the focus leaves the group, on post or on UpdateRecord.

#include <memory>
#include <string>

#include "platform/gui/data_aware_control.h"
#include "platform/gui/group_box.h"

namespace tv {

class TDBRadioGroup : public TDataAwareControl<TRadioGroup> {
    TV_CLASS(TDBRadioGroup, TDataAwareControl<TRadioGroup>)
public:
    explicit TDBRadioGroup(TComponent* AOwner = nullptr);
    ~TDBRadioGroup() override;

    // The values of the buttons, line by line.
    TStrings* Values() const { return fValues.get(); }
    void SetValues(TStrings* value) { fValues->Assign(value); }
    // The chosen button's value; empty when none is chosen. Setting it chooses the button with
    // that value (none when no button has it) and fires OnChange.
    const std::string& Value() const { return fValue; }
    void SetValue(const std::string& value);
    // The value of the button at `index`.
    std::string ButtonValue(int index) const;

    void Click() override;

    // The value changed.
    TNotifyEvent OnChange;

protected:
    void DataChange() override;
    void UpdateData() override;
    bool CanModify() override;

private:
    void ShowValue(const std::string& value);

    std::unique_ptr<TStringList> fValues;
    std::string fValue;
    bool fInSetValue = false;
};

}  // namespace tv
