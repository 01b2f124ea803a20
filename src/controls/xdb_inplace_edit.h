#pragma once
// The data grid's in-place editor: a single-line edit over the current cell that knows the
// column it edits. TXInplaceEditList carries the edit style of the cell (the button and list it
// stands for come with the pop-up editors); TXDBGridInplaceEdit takes the style, colour, case,
// read-only state, hint, font and text from the grid's selected column each time it is shown.

#include <cstdint>

#include "platform/gui/grid.h"
#include "platform/rtl/enum_set.h"

namespace tv {

class TXCustomDBGrid;

// How the editor of a cell looks: no button, a button with three dots, a drop-down arrow with a
// pop-up list, or a drop-down arrow that acts like a button.
enum TXEditStyle : uint8_t { esSimple, esEllipsis, esPickList, esDropDown };
TV_ENUM_INFO(TXEditStyle, "esSimple", "esEllipsis", "esPickList", "esDropDown");

// Which pop-up an esPickList editor opens.
enum TXDataEditor : uint8_t { dePickList, deDataList, deGridList, deCalendar, deCalculator };
TV_ENUM_INFO(TXDataEditor, "dePickList", "deDataList", "deGridList", "deCalendar", "deCalculator");

class TXInplaceEditList : public TInplaceEdit {
    TV_CLASS(TXInplaceEditList, TInplaceEdit)
public:
    explicit TXInplaceEditList(TCustomGrid* AGrid);

    TXEditStyle EditStyle() const { return fEditStyle; }
    // The width of the button, the desktop's width of a vertical scroll bar.
    int ButtonWidth() const { return fButtonWidth; }
    // No list is open (the lists come with the pop-up editors).
    bool ListVisible() const { return false; }
    // Undoes the user's changes to the text and hands the restored text to the grid.
    void RestoreContents();

    TNotifyEvent OnEditButtonClick;

protected:
    // Asks the grid for the style of the current cell, then takes the text from it.
    void UpdateContents() override;
    // The style of the current cell; the plain editor of the base grid has no button.
    virtual TXEditStyle CellEditStyle() { return esSimple; }
    // The button was clicked: OnEditButtonClick, with the grid as the sender.
    virtual void EditorButtonClick();

private:
    int fButtonWidth;
    TXEditStyle fEditStyle = esSimple;
    // The text the editor opened with, for RestoreContents.
    std::string fOpenText;
};

class TXDBGridInplaceEdit : public TXInplaceEditList {
    TV_CLASS(TXDBGridInplaceEdit, TXInplaceEditList)
public:
    explicit TXDBGridInplaceEdit(TXCustomDBGrid* AGrid);

    TXCustomDBGrid* DBGrid() const { return fDBGrid; }
    // The pop-up the cell's esPickList style stands for.
    TXDataEditor DataEditor() const { return fDataEditor; }

protected:
    void UpdateContents() override;
    TXEditStyle CellEditStyle() override;
    void EditorButtonClick() override;

private:
    // Colour, letter case, read-only state, font and hint from the grid and the selected column.
    void ApplyColumn();

    TXCustomDBGrid* fDBGrid;
    TXDataEditor fDataEditor = dePickList;
};

}  // namespace tv
