#pragma once
// Data-aware lookup controls (see lookup_list.h): the field stores a key of the list dataset, the
// user sees and chooses the list's rows by their ListField texts. TDBLookupListBox shows the rows
// in place; TDBLookupComboBox shows the chosen row's text and drops the rows down. A choice is
// written into the field at once. Both are disabled while their DataSource's dataset is closed.

#include <memory>
#include <string>

#include "platform/gui/lookup_list.h"
#include "platform/gui/win_control.h"

namespace tv {

class TLookupRowsView;
class TLookupComboPopup;

// The properties both controls have, on their TLookupList.
template <class Base>
class TDBLookupControl : public Base, protected ILookupListClient {
public:
    TDataSource* DataSource() const { return fList->DataSource(); }
    void SetDataSource(TDataSource* source) {
        fList->SetDataSource(source);
        ShowDataState();
    }
    const std::string& DataField() const { return fList->DataField(); }
    void SetDataField(std::string name) { fList->SetDataField(std::move(name)); }
    TField* Field() const { return fList->Field(); }
    TDataSource* ListSource() const { return fList->ListSource(); }
    void SetListSource(TDataSource* source) { fList->SetListSource(source); }
    const std::string& KeyField() const { return fList->KeyField(); }
    void SetKeyField(std::string name) { fList->SetKeyField(std::move(name)); }
    const std::string& ListField() const { return fList->ListField(); }
    void SetListField(std::string names) { fList->SetListField(std::move(names)); }
    int ListFieldIndex() const { return fList->ListFieldIndex(); }
    void SetListFieldIndex(int index) { fList->SetListFieldIndex(index); }
    bool ReadOnly() const { return fList->ReadOnly(); }
    void SetReadOnly(bool value) { fList->SetReadOnly(value); }
    // The chosen key; Null for none.
    const Variant& KeyValue() const { return fList->KeyValue(); }
    void SetKeyValue(const Variant& value) { fList->SetKeyValue(value); }
    TLookupList& LookupList() { return *fList; }

    void SetEnabled(bool value) override {
        Base::SetEnabled(value);
        ShowDataState();
    }

protected:
    template <class... A>
    explicit TDBLookupControl(A&&... args)
        : Base(std::forward<A>(args)...),
          fList(std::make_unique<TLookupList>(*this, static_cast<ILookupListClient&>(*this))) {}

    void KeyChosen() override { this->Click(); }
    void DataActiveChanged() override { ShowDataState(); }
    // Disabled while a data source is set and its dataset is closed.
    void ShowDataState();

    std::unique_ptr<TLookupList> fList;
};

class TDBLookupListBox : public TDBLookupControl<TWinControl> {
    TV_CLASS(TDBLookupListBox, TDBLookupControl<TWinControl>)
public:
    explicit TDBLookupListBox(TComponent* AOwner = nullptr);
    ~TDBLookupListBox() override;

    // How many rows show (1 to 100): the height follows.
    int RowCount() const;
    void SetRowCount(int rows);
    // The shown text of the chosen row; empty when the key is not in the list.
    std::string SelectedItem() const;

protected:
    void KeyValueChanged() override;
    void ListDataChanged() override;
    bool AcceptsFocus() const override { return true; }
    bool ClicksOnMouseUp() const override { return false; }

private:
    TLookupRowsView* View() const;
    std::string fSelectedItem;
};

enum TDropDownAlign : uint8_t { daLeft, daRight, daCenter };
TV_ENUM_INFO(TDropDownAlign, "daLeft", "daRight", "daCenter");

class TDBLookupComboBox : public TDBLookupControl<TWinControl> {
    TV_CLASS(TDBLookupComboBox, TDBLookupControl<TWinControl>)
public:
    explicit TDBLookupComboBox(TComponent* AOwner = nullptr);
    ~TDBLookupComboBox() override;

    // The drop-down: rows shown (7), width (0: the combo's), and which edges line up.
    int DropDownRows() const { return fDropDownRows; }
    void SetDropDownRows(int rows) { fDropDownRows = std::clamp(rows, 1, 100); }
    int DropDownWidth() const { return fDropDownWidth; }
    void SetDropDownWidth(int width) { fDropDownWidth = width; }
    TDropDownAlign DropDownAlign() const { return fDropDownAlign; }
    void SetDropDownAlign(TDropDownAlign align) { fDropDownAlign = align; }
    bool ListVisible() const { return fListVisible; }
    // Opens the drop-down (when the list is bound), and closes it, choosing the row the user went
    // to when `accept` and the value may be changed.
    void DropDown();
    void CloseUp(bool accept);

    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    // The text: the shown field of the key's row, empty when the key is not in the list.
    std::string GetText() const override { return fText; }
    void SetTextValue(const std::string&) override {}
    void KeyValueChanged() override;
    void ListDataChanged() override {}
    bool AcceptsFocus() const override { return true; }
    bool ClicksOnMouseUp() const override { return false; }

private:
    std::string fText;
    int fDropDownRows = 7;
    int fDropDownWidth = 0;
    TDropDownAlign fDropDownAlign = daLeft;
    bool fListVisible = false;
    TLookupComboPopup* fPopup = nullptr;  // a window of its own, freed with the combo
};

extern template class TDBLookupControl<TWinControl>;

}  // namespace tv
