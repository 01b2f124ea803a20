#pragma once
// A data-aware combo box: free text (csDropDown, the default) with a list of Items that the
// program fills at run time, or a choice from the list only (csDropDownList, which shows the item
// equal to the field's text, or none). Typing, choosing an item or opening the list puts the
// dataset into edit state (the box refuses while the value cannot be changed); the text reaches
// the field, through the field's own conversion, when the focus leaves the box, on post or on
// UpdateRecord.

#include <string>

#include "platform/gui/combo_box.h"
#include "platform/gui/data_aware_control.h"

namespace tv {

class TDBComboBox : public TDataAwareControl<TCustomComboBox> {
    TV_CLASS(TDBComboBox, TDataAwareControl<TCustomComboBox>)
public:
    explicit TDBComboBox(TComponent* AOwner = nullptr);

    void Click() override;
    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;

protected:
    void DataChange() override;
    void EditingChange() override;
    void UpdateData() override;
    void ExitFailed() override;
    void ChangeDropped() override;
    void Change() override;
    void DropDown() override;

private:
    // The text the box stands for: the typed text, or the chosen item of a list-only box.
    std::string ComboText() const;
    void SetComboText(const std::string& value);
};

}  // namespace tv
