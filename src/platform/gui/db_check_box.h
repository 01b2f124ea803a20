#pragma once
// A data-aware check box: checked while the field holds one of the ValueChecked texts (letter case
// ignored), unchecked otherwise; a Boolean field is checked while it is true. A click, or the
// space bar, puts the dataset into edit state and toggles the box (nothing happens while the value
// cannot be changed); the field then gets the first ValueChecked or ValueUnchecked text, through
// its own conversion, when the focus leaves the box, on post or on the dataset's UpdateRecord. A
// field whose value matches neither text shows unchecked and is not written unless toggled.

#include <string>

#include "platform/gui/button.h"
#include "platform/gui/data_aware_control.h"

namespace tv {

class TDBCheckBox : public TDataAwareControl<TCustomCheckBox> {
    TV_CLASS(TDBCheckBox, TDataAwareControl<TCustomCheckBox>)
public:
    explicit TDBCheckBox(TComponent* AOwner = nullptr);
    ~TDBCheckBox() override;

    // The texts of a checked and an unchecked box, "True" and "False" unless set. Several texts
    // separated by ";" all match; the first is the one written.
    const std::string& ValueChecked() const { return fValueChecked; }
    void SetValueChecked(std::string value);
    const std::string& ValueUnchecked() const { return fValueUnchecked; }
    void SetValueUnchecked(std::string value);

protected:
    void DataChange() override;
    void UpdateData() override;

private:
    TCheckBoxState FieldState() const;

    std::string fValueChecked = "True";
    std::string fValueUnchecked = "False";
};

}  // namespace tv
