#pragma once
// The lookup lists the grid's in-place editor drops down (xdb_inplace_edit.h): a lookup list over
// the lookup data set (the class library's lookup list box), and a lookup grid (a data grid of its
// own with list fields, titles and widths, a search as the user types, and the key value of its
// current record). Both are the editor's pop-ups (xdb_popup.h): each reports its end through
// OnCloseUp, which the editor connects to its PickListCloseUp.

#include <string>

#include "controls/xdb_grid.h"
#include "controls/xdb_popup.h"
#include "platform/gui/db_lookup_controls.h"

namespace tv {

// The lookup list: the rows of the lookup data set; releasing the left button ends the choice.
class TXPopupDataList : public TXPopup<TDBLookupListBox> {
    TV_CLASS(TXPopupDataList, TDBLookupListBox)
public:
    explicit TXPopupDataList(TComponent* AOwner = nullptr);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    // The wheel moves the lookup data set by the grid's wheel rows (up for positive `steps`) and
    // chooses the key of the record reached.
    void WheelTurned(int steps);
};

// The lookup grid: the list fields as columns ("Name;Phone"; an empty item is a numbering column
// titled "No."), their titles and widths, searched on SearchField as the user types.
class TXPopupGridList : public TXPopup<TXDBGrid> {
    TV_CLASS(TXPopupGridList, TXDBGrid)
public:
    explicit TXPopupGridList(TComponent* AOwner = nullptr);

    // ";"-separated: the columns' field names, title captions and base widths.
    std::string ListFields() const;
    void SetListFields(const std::string& value);
    std::string ListTitles() const;
    void SetListTitles(const std::string& value);
    std::string ListWidths() const;
    void SetListWidths(const std::string& value);
    const std::string& SearchField() const { return fSearchField; }
    void SetSearchField(const std::string& value) { fSearchField = value; }
    const std::string& SearchText() const { return fSearchText; }
    // With `span` and more than one column the first column heads the others as its group, open
    // (`expanded`) or closed; without, every column stands alone.
    void SpanFirstColumn(bool span, bool expanded);
    bool FirstColumnSpans() const;
    // The values of KeyFields in the current record; writing locates that value.
    Variant KeyValue() const;
    void SetKeyValue(const Variant& value);

    // After each character the grid took: searches the typed text (after a pause of more than
    // 2,000 ms afresh, at most 32 characters) as the beginning of the search field, and keeps it
    // only when a record has it.
    virtual void SearchKey(char16_t Key);

    bool KeyPress(char16_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    // A resized column widens or narrows the list with it.
    void ColWidthsChanged() override;

private:
    std::string fListFields;
    std::string fListTitles;
    std::string fListWidths;
    std::string fSearchField;
    std::string fSearchText;
    uint32_t fSearchTickCount = 0;
    uint32_t fClickTime = 0;
};

}  // namespace tv
