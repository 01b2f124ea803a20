#pragma once
// The data grid's in-place editor: a single-line edit over the current cell that knows the
// column it edits. TXInplaceEditList adds a button at the editor's right end (three dots, or a
// drop-down arrow) and a drop-down list, opened below the cell (or above it near the screen's
// bottom) and slid open row by row; TXDBGridInplaceEdit takes the style, colour, case, read-only
// state, hint, font and text from the grid's selected column each time it is shown, chooses the
// pop-up the column asks for, and puts the chosen value back into the field.

#include <cstdint>
#include <memory>
#include <string>

#include "controls/xdb_popup.h"
#include "platform/gui/grid.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/variant.h"

namespace tv {

class TXCustomDBGrid;
class TXColumn;
class TTimer;
class TDataSource;
class TDataSet;
class TField;
class TStrings;
class TPostedMessages;
class TXPopupPickList;
class TXPopupDataList;
class TXPopupGridList;
class TXPopupCalendar;
class TXPopupCalculator;

// How the editor of a cell looks: no button, a button with three dots, a drop-down arrow with a
// pop-up list, or a drop-down arrow that acts like a button.
enum TXEditStyle : uint8_t { esSimple, esEllipsis, esPickList, esDropDown };
TV_ENUM_INFO(TXEditStyle, "esSimple", "esEllipsis", "esPickList", "esDropDown");

// Which pop-up an esPickList editor opens.
enum TXDataEditor : uint8_t { dePickList, deDataList, deGridList, deCalendar, deCalculator };
TV_ENUM_INFO(TXDataEditor, "dePickList", "deDataList", "deGridList", "deCalendar", "deCalculator");

// Asks for the pick list's entries of a cell before its list first opens.
using TGetPickListItemsEvent = TEvent<void(int ACol, int ARow, TStrings* Items)>;

class TXInplaceEditList : public TInplaceEdit, protected IPopupKeyTarget {
    TV_CLASS(TXInplaceEditList, TInplaceEdit)
public:
    explicit TXInplaceEditList(TCustomGrid* AGrid);
    ~TXInplaceEditList() override;

    TXEditStyle EditStyle() const { return fEditStyle; }
    // The width of the button, the desktop's width of a vertical scroll bar.
    int ButtonWidth() const { return fButtonWidth; }
    // The button in the editor's client area; empty with esSimple.
    TRect ButtonRect() const;
    // A mirrored grid: the button stands on the left and the lists line up with the right edge.
    bool RightToLeft() const;
    bool ButtonPressed() const { return fPressed; }
    bool ButtonHot() const { return fMouseInControl; }
    // The list the button opens (none for the ellipsis and drop-down styles).
    TWinControl* ActiveList() const { return fActiveList; }
    // The plain pick list, made on first use.
    TXPopupPickList* PickList();
    bool ListVisible() const { return fListVisible; }
    // Limits of the open list, copied from the column before each drop-down.
    int DropDownRows() const { return fDropDownRows; }
    void SetDropDownRows(int value) { fDropDownRows = value; }
    int DropDownWidth() const { return fDropDownWidth; }
    void SetDropDownWidth(int value) { fDropDownWidth = value; }
    // Undoes the user's changes to the text and hands the restored text to the grid.
    void RestoreContents();

    // Opens the active list below (or above) the editor, unless it is open; it then grows a row
    // every 8 ms on the timer until it has its full height.
    virtual void DropDown();
    // Closes the open list, taking its value when Accept.
    virtual void CloseUp(bool Accept) {}
    // The close-up event of every pop-up: CloseUp, then, after an accepted choice in a column with
    // loAutoCloseEditor (and a grid without dgAlwaysShowEditor), an Enter posted to the editor.
    void PickListCloseUp(bool Accept);
    // The rows (width) a list of `count` entries (wanting `width`) gets within the column's limits.
    int LimitListRows(int count) const;
    int LimitListWidth(int width) const;

    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;
    // A double click on the text: the grid's with esSimple or when it has a handler; the next pick
    // value in turn with a pick list; the button's click with the other styles.
    void DblClick() override;

    TGetPickListItemsEvent OnGetPickListItems;
    TNotifyEvent OnEditButtonClick;

protected:
    // Asks the grid for the style of the current cell, then takes the text from it.
    void UpdateContents() override;
    // The style of the current cell; the plain editor of the base grid has no button.
    virtual TXEditStyle CellEditStyle() { return esSimple; }
    // The button was clicked: OnEditButtonClick, with the grid as the sender.
    virtual void EditorButtonClick();
    // The keys that open and close an esPickList list; false when the key was consumed.
    virtual bool HandleListKeys(uint16_t& Key, TShiftState Shift);
    // Fills the pick list once per opening of the editor through OnGetPickListItems.
    virtual void FillPickList();
    // The value the editor shows for the row a list stands on (the pick list's entry).
    void SetActiveList(TWinControl* list) { fActiveList = list; }
    // Closes the open list after the pop-up's own close: hidden, full height again, repainted.
    void HideList();
    // The list is about to open (the grid's OnListDropDown).
    virtual void ListDroppingDown() {}
    // Whether the pick list draws its rows in the grid's style.
    virtual bool GridStyleLists() const { return false; }
    // F2 on an open list: whether it closes as a choice in the list does (PickListCloseUp, which
    // may end editing), or only closes it.
    virtual bool F2ClosesAsChoice() const { return false; }
    // The values the editor's text is found in when the pick list opens (the pick list's items).
    virtual const TStrings* PickValues();
    bool WidgetEvent(QEvent* e, bool viewport) override;
    void Resize() override;
    // The button is drawn over the edit's own painting.
    bool PaintsItself() const override { return fEditStyle != esSimple; }
    void PaintControl() override;
    // A key or character that came to the editor while its list is open: to the list, as if
    // typed there.
    void PassToList(uint16_t key, TShiftState shift, char16_t ch);
    // The open list's keys: the editor's logic first (as KeyDown and KeyPress), the list's after.
    bool PopupKeyDown(uint16_t& Key, TShiftState Shift) override;
    bool PopupKeyPress(char16_t& Key) override;
    bool PopupButtonAt(TPoint screenPoint) const override;
    // The key being handled came from the open list.
    bool fFromPopup = false;

    int fListMaxHeight = 0;
    int fListMinHeight = 0;
    int fListRowHeight = 0;
    // The character of a key-down the editor took is dropped.
    bool fDropChar = false;

private:
    void UpdateTextMargins();
    // The button's look while the mouse is held on it.
    void SetPressed(bool value);
    void StopTracking();
    // The mouse on the button (or held after a press on it): the text never sees these.
    void ButtonMouseDown(int X, int Y);
    void ButtonMouseMove(int X, int Y, QEvent* e);
    void ButtonMouseUp(int X, int Y, QEvent* e);
    void SetHot(bool value);
    // The pick list's size: its widest entry (+5), and its rows, within the column's limits.
    int PickListWidth();
    int PickListHeight();
    // One step of the sliding open.
    void SlideStep();

    int fButtonWidth;
    TXPopupPickList* fPickList = nullptr;
    TWinControl* fActiveList = nullptr;
    TXEditStyle fEditStyle = esSimple;
    int fDropDownRows = 0;
    int fDropDownWidth = 0;
    bool fListVisible = false;
    bool fTracking = false;
    bool fPressed = false;
    bool fPickListLoaded = false;
    bool fMouseInControl = false;
    // The list opened above the editor: it grows upwards.
    bool fListAbove = false;
    // A press on the button was dragged into the open list: the list gets the mouse from then on.
    bool fMouseToList = false;
    // A key is being passed on to the list: it does not come back to the editor's logic.
    bool fPassing = false;
    std::unique_ptr<TTimer> fSlideTimer;
    // The text the editor opened with, for RestoreContents.
    std::string fOpenText;
};

class TXDBGridInplaceEdit : public TXInplaceEditList {
    TV_CLASS(TXDBGridInplaceEdit, TXInplaceEditList)
public:
    explicit TXDBGridInplaceEdit(TXCustomDBGrid* AGrid);
    ~TXDBGridInplaceEdit() override;

    TXCustomDBGrid* DBGrid() const { return fDBGrid; }
    // The pop-up the cell's esPickList style stands for.
    TXDataEditor DataEditor() const { return fDataEditor; }
    TXPopupDataList* DataList() const { return fDataList; }
    TXPopupGridList* GridList() const { return fGridList; }
    TXPopupCalendar* Calendar() const { return fCalendar; }
    TXPopupCalculator* Calculator() const { return fCalculator; }

    void DropDown() override;
    void CloseUp(bool Accept) override;
    // Re-applies the grid's scroll-bar settings to the lists; without flat scroll bars on this
    // desktop the lists keep their standard ones, so nothing changes.
    virtual void ScrollPropChanged() {}
    // The automatic drop-down: -2 suppresses it (the grid's mouse press), -1 re-arms it; a
    // suppressed one takes the current cell when the mouse is released, so that cell stays closed.
    void SuppressAutoDropDown() { fLastCol = -2; }
    void ArmAutoDropDown() { fLastCol = -1; }
    void MouseReleased();

    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;
    void DblClick() override;

protected:
    void UpdateContents() override;
    TXEditStyle CellEditStyle() override;
    void EditorButtonClick() override;
    void ListDroppingDown() override;
    bool GridStyleLists() const override;
    // With loAutoDropDown; the column's PickDisplay.
    bool F2ClosesAsChoice() const override;
    const TStrings* PickValues() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    // Colour, letter case, read-only state, font and hint from the grid and the selected column.
    void ApplyColumn();
    // The editor's hint: with hoEditorHints the column's EditorHint through the grid's CellHint,
    // otherwise the grid's main hint.
    std::string EditorHintText();
    // The hint query over the editor: takes the hint, sets the grid's pause state (2 with
    // hoShowEditorHints, 1 without) and tells whether a hint window opens.
    bool EditorHintQuery();
    // The active list for the data editor, made on first need, in the grid's look.
    void ChooseActiveList();
    // The calendar or calculator of a deCalendar or deCalculator cell, made on first need, in the
    // grid's colour and gradient (xdb_inplace_edit_editors.cpp).
    TWinControl* DateOrNumberEditor();
    // The active list is the calendar or the calculator.
    bool DateOrNumberListActive() const;
    // Before it opens, the calendar or calculator takes the editor's text.
    void PrepareDateOrNumberEditor();
    // The result text the calendar or calculator closes up with.
    Variant DateOrNumberResult();
    // The automatic drop-down on entering a cell.
    void CheckAutoDropDown();
    // Puts a chosen value into the field (or, AsText, into the editor's text).
    void ApplyListValue(const Variant& value, bool AsText);
    // Delete: clears a fully selected value of a lookup or drop-down-list column.
    bool ClearListValue();
    // Keypad plus and minus, double click: the next (previous) value.
    bool StepListValue(bool Next);
    // Completes the typed text from the pick values or the lookup list; false when it consumed Key.
    bool AutoCompleteKey(char16_t& Key);
    bool AutoCompleteText(const std::string& prefix);
    static int FindPrefix(const TStrings* list, const std::string& prefix);
    // The lookup of the column: its data set, the key field in it, and the shown (result) field.
    TDataSet* LookupDataSet() const;
    std::string LookupKeyName() const;
    std::string LookupResultName() const;
    // The value of the key the cell holds now.
    Variant CurrentKeyValue() const;
    bool LookupActive() const;
    // Opens a closed lookup data set for the time of `work`.
    template <class F>
    auto WithLookupOpen(F work);
    // Opens the column's own lookup data set when closed (closed again at close-up) and shows it
    // through the editor's data source.
    void OpenLookup();
    void PrepareDataList();
    void PrepareGridList();
    // The lookup grid takes the grid's look: its colours, styles, markers and limits.
    void ApplyGridLook(TXPopupGridList& list) const;
    static int TitleHeight(const TXPopupGridList& list);
    int DataListWidth();
    int DataListRows();
    int GridListWidth();
    int GridListHeight();

    TXCustomDBGrid* fDBGrid;
    TXPopupDataList* fDataList = nullptr;
    TXDataEditor fDataEditor = dePickList;
    bool fLookupClosed = false;
    std::unique_ptr<TDataSource> fLookupSource;
    int fLastCol = -1;
    int fLastRow = -1;
    TXPopupGridList* fGridList = nullptr;
    TXPopupCalendar* fCalendar = nullptr;
    TXPopupCalculator* fCalculator = nullptr;
    int fSaveWidth = 0;
    int fInitWidth = 0;
    std::unique_ptr<TPostedMessages> fMessages;
};

}  // namespace tv
