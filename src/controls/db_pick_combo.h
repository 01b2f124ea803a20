#pragma once
// The pick-list combo of the settings pages: a data-aware combo box that shows one list of texts
// (Items) and stores the parallel list (Values) in its field. The i-th value is the stored form of
// the i-th item; the users keep the lists parallel. With Values empty the item's position is
// stored instead. A new combo chooses from the list only (csDropDownList).
//
// Choosing an item, typing, Up, Down or opening the list puts the dataset into edit state; while
// the value cannot be changed (a read-only link or field) keys that would choose are dropped and a
// choice from the list is undone. The choice reaches the field when the focus leaves the combo, on
// post or on UpdateRecord; a failed write keeps the focus in the combo and is reported once.

#include <memory>
#include <optional>
#include <string>

#include "platform/gui/combo_box.h"
#include "platform/gui/data_aware_control.h"

namespace tv {

// The field data link of this library's controls: showing the field's value is guarded, so that
// an error there (a value the control cannot show) is reported in a message box and goes no
// further; the control keeps what it showed.
class TFieldDataLinkX : public TFieldDataLink {
public:
    using TFieldDataLink::TFieldDataLink;

protected:
    void DataChange() override;
};

using TDBPickComboBase = TDataAwareControl<TCustomComboBox, TFieldDataLinkX>;

class TDBPickCombo : public TDBPickComboBase {
    TV_CLASS(TDBPickCombo, TDBPickComboBase)
public:
    explicit TDBPickCombo(TComponent* AOwner = nullptr);
    ~TDBPickCombo() override;

    // The stored values, parallel to Items; the list itself, filled by the caller. The writer
    // copies.
    TStrings* Values() const;
    void SetValues(TStrings* value);
    // Copies the items and shows the field's value among them. (Filling Items() itself does not.)
    void SetItems(TStrings* value);

    // What the combo would store now: the value of the chosen item (a list style's ItemIndex, an
    // edit style's text found among Items); the item's position as decimal text when Values is
    // empty or shorter; "-1" when nothing is chosen.
    std::string CurrentValue() const;
    // Shows the item whose stored value is `value` (none for empty). With Values empty `value` is
    // a position and must be an integer (EConvertError otherwise); a position outside Items
    // chooses nothing. csDropDown shows `value` as its text, csSimple when no item has it.
    void SelectValue(const std::string& value);
    // The text shown: an edit style's text, a list style's chosen item; nothing when no item is
    // chosen (an item that reads "x" stays an item like any other).
    std::optional<std::string> CurrentText() const;
    // Shows the item `text` (none for empty); an error is reported in a message box, not raised.
    void SelectText(const std::string& text);
    // Shows the field's value (nothing without a field); not while the list is open.
    void RefreshFromField();
    // Writes CurrentValue into the field as its text.
    void WriteToField();

    void Click() override;
    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;

protected:
    void DataChange() override { RefreshFromField(); }
    void EditingChange() override;
    void UpdateData() override { WriteToField(); }
    void ExitFailed() override;
    void ChangeDropped() override { SelectAll(); }
    void Change() override;
    void DropDown() override;
    void CloseUp() override;

private:
    bool IsListStyle() const { return Style() >= csDropDownList; }
    // Chooses the item at `position` (-1 or out of range: none), drawing once.
    void ShowPosition(int position);

    std::unique_ptr<TStrings> fValues;
    // A choice from the list was undone: the change that follows it is no change.
    bool fChoiceRefused = false;
};

}  // namespace tv
