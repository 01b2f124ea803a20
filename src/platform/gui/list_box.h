#pragma once
// List boxes: a list of Items to choose one or, with MultiSelect, several from. Items is the box's
// own list, live. OnClick fires when the user changes the chosen item (by mouse or keys).

#include <memory>

#include "platform/gui/combo_box.h"

namespace tv {

enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
TV_ENUM_INFO(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable");

// The State bits of an item drawn by its list (DrawItem, OnDrawItem).
inline constexpr uint8_t odSelected = 0x01;
inline constexpr uint8_t odFocused = 0x10;

class TCustomListBox : public TWinControl {
    TV_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner = nullptr);
    ~TCustomListBox() override;

    TStrings* Items() const;
    void SetItems(TStrings* value);
    // The item with the focus (the chosen one), -1 for none.
    int ItemIndex() const;
    // Raises EListError outside -1..Items.Count-1.
    void SetItemIndex(int value);
    // How many items are chosen; -1 without MultiSelect.
    int SelCount() const;
    // Raises EListError outside the items.
    bool Selected(int Index) const;
    void SetSelected(int Index, bool value);
    void Clear() { Items()->Clear(); }
    // The item at a point of the client area; -1 for none when Existing, else Items.Count below
    // the last item.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    // The item's rectangle in the client area; empty for an index outside the items.
    TRect ItemRect(int Index) const;
    // The first item shown.
    int TopIndex() const;
    void SetTopIndex(int value);
    TCanvas* Canvas() { return ControlCanvas(); }

    bool MultiSelect() const { return fMultiSelect; }
    void SetMultiSelect(bool value);
    // With MultiSelect: Shift and Ctrl extend the choice (on), or every click toggles (off).
    bool ExtendedSelect() const { return fExtendedSelect; }
    void SetExtendedSelect(bool value);
    bool Sorted() const;
    void SetSorted(bool value);
    // lbStandard: the list draws its items. Otherwise each item is drawn by DrawItem on Canvas,
    // ItemHeight high (lbOwnerDrawVariable is drawn as lbOwnerDrawFixed).
    TListBoxStyle Style() const { return fStyle; }
    void SetStyle(TListBoxStyle value);
    int Columns() const { return fColumns; }
    void SetColumns(int value) { fColumns = value; }
    bool IntegralHeight() const { return fIntegralHeight; }
    void SetIntegralHeight(bool value) { fIntegralHeight = value; }
    int ItemHeight() const { return fItemHeight; }
    void SetItemHeight(int value);
    int TabWidth() const { return fTabWidth; }
    void SetTabWidth(int value) { fTabWidth = value; }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // Draws an owner-drawn item on Canvas (its font and brush the list's): OnDrawItem when
    // assigned, else the item's text, highlighted when selected.
    virtual void DrawItem(int Index, TRect Rect, uint8_t State);

protected:
    bool AcceptsFocus() const override { return true; }
    bool ClicksOnMouseUp() const override { return false; }
    bool DoubleClicks() const override { return true; }

private:
    void ApplySelectionMode();
    std::unique_ptr<TItemStrings> fItems;
    bool fMultiSelect = false;
    bool fExtendedSelect = true;
    TListBoxStyle fStyle = lbStandard;
    int fColumns = 0;
    bool fIntegralHeight = false;
    int fItemHeight = 16;
    int fTabWidth = 0;
    int fSetting = 0;  // inside a change made by the program
};

class TListBox : public TCustomListBox {
    TV_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner = nullptr) : TCustomListBox(AOwner) {}
};

}  // namespace tv
