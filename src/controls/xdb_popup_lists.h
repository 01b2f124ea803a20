#pragma once
// The lists the grid's in-place editor drops down (xdb_inplace_edit.h): a list of the pick
// values, a lookup list over the lookup data set (the class library's lookup list box), and a
// lookup grid (a data grid of its own with list fields, titles and widths, a search as the user
// types, and the key value of its current record). Each is a window of its own on the desktop
// that shows without taking the focus: the editor keeps it and hands the keys on. Each reports its
// end through OnCloseUp (accepted or not), which the editor connects to its PickListCloseUp.

#include <string>

#include "controls/xdb_grid.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/list_box.h"

namespace tv {

using TOnCloseUp = TEvent<void(bool Accept)>;

// Makes a control's widget a top-level window that shows without taking the focus, and shows or
// hides it (a control without a parent is otherwise never shown).
void MakeListWindow(TControl& control);
void ShowListWindow(TControl& control, bool visible);

// What every list of the editor has: the grid whose look it takes and the close-up event.
template <class Base>
class TXEditorListOf : public Base {
public:
    template <class... A>
    explicit TXEditorListOf(TXCustomDBGrid* AGrid, A&&... args) : Base(std::forward<A>(args)...), fGrid(AGrid) {
        MakeListWindow(*this);
    }
    TXCustomDBGrid* Grid() const { return fGrid; }
    TOnCloseUp OnCloseUp;
    virtual void DoCloseUp(bool Accept) {
        if (OnCloseUp) OnCloseUp(Accept);
    }

protected:
    void UpdateWidgetVisibility() override { ShowListWindow(*this, this->Visible()); }

private:
    TXCustomDBGrid* fGrid;
};

// The pick values: moving the mouse chooses the row under it; releasing the left button ends the
// choice (accepted inside the list).
class TXEditorPickList : public TXEditorListOf<TCustomListBox> {
    TV_CLASS(TXEditorPickList, TXEditorListOf<TCustomListBox>)
public:
    TXEditorPickList(TXCustomDBGrid* AGrid, TComponent* AOwner);
    // Gives every row `height` pixels (0: the font's height + 2), which becomes ItemHeight.
    void FitRows(int height);
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The lookup list: the rows of the lookup data set; releasing the left button ends the choice.
class TXPopupDataList : public TXEditorListOf<TDBLookupListBox> {
    TV_CLASS(TXPopupDataList, TXEditorListOf<TDBLookupListBox>)
public:
    TXPopupDataList(TXCustomDBGrid* AGrid, TComponent* AOwner);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The lookup grid: the list fields as columns ("Name;Phone"; an empty item is a numbering column
// titled "No."), their titles and widths, searched on SearchField as the user types.
class TXPopupGridList : public TXEditorListOf<TXDBGrid> {
    TV_CLASS(TXPopupGridList, TXEditorListOf<TXDBGrid>)
public:
    TXPopupGridList(TXCustomDBGrid* AGrid, TComponent* AOwner);

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
