#pragma once
// Combo boxes: an edit box with a drop-down list of Items (csDropDown), or a list to choose from
// only (csDropDownList). Items is the box's own list, live. OnChange fires when the user types or
// chooses an item (not when the program sets ItemIndex or Text).

#include <memory>

#include "platform/gui/rect.h"
#include "platform/gui/win_control.h"
#include "platform/rtl/string_list.h"

namespace tv {

class TItemStrings;

enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
TV_ENUM_INFO(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
             "csOwnerDrawVariable");

// Owner drawing: a list box fires these for its owner-drawn items; a combo box keeps them for
// scripts but never fires them.
using TDrawItemEvent = TEvent<void(TWinControl* Control, int32_t Index, TRect Rect, uint8_t State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int32_t Index, int32_t& Height)>;

class TCustomComboBox : public TWinControl {
    TV_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner = nullptr);
    ~TCustomComboBox() override;

    TStrings* Items() const;
    void SetItems(TStrings* value);
    // -1 for no item.
    int ItemIndex() const;
    // Raises EListError outside -1..Items.Count-1.
    void SetItemIndex(int value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    void Clear();
    void SelectAll();
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SetSelText(const std::string& value);
    TCanvas* Canvas() { return ControlCanvas(); }

    // csDropDown and csSimple can be typed into; the other styles only choose.
    TComboBoxStyle Style() const { return fStyle; }
    void SetStyle(TComboBoxStyle value);
    // How many items the open list shows at most.
    int DropDownCount() const { return fDropDownCount; }
    void SetDropDownCount(int value);
    bool Sorted() const;
    void SetSorted(bool value);
    // The longest text the user can type; 0 for no limit.
    int MaxLength() const { return fMaxLength; }
    void SetMaxLength(int value);
    // Stored only: the items are as high as their font.
    int ItemHeight() const { return fItemHeight; }
    void SetItemHeight(int value) { fItemHeight = value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void DropDown();
    // The open list closed (with a choice or without).
    virtual void CloseUp();
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;
    bool AcceptsFocus() const override { return true; }
    bool ClicksOnMouseUp() const override { return false; }

private:
    std::unique_ptr<TItemStrings> fItems;
    TComboBoxStyle fStyle = csDropDown;
    int fDropDownCount = 8;
    int fMaxLength = 0;
    int fItemHeight = 16;
};

class TComboBox : public TCustomComboBox {
    TV_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner = nullptr) : TCustomComboBox(AOwner) {}
};

}  // namespace tv
