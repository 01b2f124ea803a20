#pragma once
// The columns of the data grid: TXColumn (the field a column shows, its width and look),
// TXColumnTitle (its title cell) and TXDBGridColumns (the grid's collection of them).
//
// A column is stored (made by a form or by code: the collection is then customized) or a default
// column (made by the grid from the dataset's fields while the collection is in its default
// state). A property with a default follows it until it is written ("assigned", kept in
// AssignedValues); a default column keeps its alignment, read-only flag and title caption in the
// field instead.

#include <memory>
#include <string>
#include <vector>

#include "controls/xdb_grid_types.h"
#include "platform/gui/edit.h"
#include "platform/gui/font.h"
#include "platform/rtl/alignment.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/string_list.h"

namespace tv {

class TBitmap;
class TImageList;
class TPicture;
class TPopupMenu;
class TStream;
class TXColumnTotal;
class TXColumnTotalFields;
class TXColumnTotalFooter;
class TXColumnTotalHeader;
class TXColumnTotalValues;
class TXCustomDBGrid;
class TXDBGridColumns;

enum TXColumnValue : uint8_t {
    cvColor,
    cvWidth,
    cvFont,
    cvAlignment,
    cvReadOnly,
    cvTitleColor,
    cvTitleCaption,
    cvTitleAlignment,
    cvTitleFont,
    cvImeMode,
    cvImeName,
    cvTotalColor,
    cvTotalCaption,
    cvTotalAlignment,
    cvTotalFont
};
TV_ENUM_INFO(TXColumnValue, "cvColor", "cvWidth", "cvFont", "cvAlignment", "cvReadOnly", "cvTitleColor",
             "cvTitleCaption", "cvTitleAlignment", "cvTitleFont", "cvImeMode", "cvImeName", "cvTotalColor",
             "cvTotalCaption", "cvTotalAlignment", "cvTotalFont");
using TXColumnValues = TSet<TXColumnValue>;

enum TXColumnButtonStyle : uint8_t { cbsAuto, cbsEllipsis, cbsNone, cbsDropDown, cbsDropDownMenu, cbsCalendar,
                                     cbsCalculator };
TV_ENUM_INFO(TXColumnButtonStyle, "cbsAuto", "cbsEllipsis", "cbsNone", "cbsDropDown", "cbsDropDownMenu",
             "cbsCalendar", "cbsCalculator");
enum TXColumnExpandStyle : uint8_t { cesAuto, cesNone, cesDropDown, cesDropDownMenu };
TV_ENUM_INFO(TXColumnExpandStyle, "cesAuto", "cesNone", "cesDropDown", "cesDropDownMenu");
// The texts of a check box's two states, from the class library's "True" and "False".
inline constexpr std::string_view kDefaultCheckBoxValues = "True;False";
enum TCheckBoxKind : uint8_t { ckCheck, ckCross, cbBox };
TV_ENUM_INFO(TCheckBoxKind, "ckCheck", "ckCross", "cbBox");
enum TCheckBoxStyle : uint8_t { cbAuto, cbAutoGray, cbAutoLowered, cbDefault, cbSoft, cbLoweredDark, cbLoweredGray,
                                cbLoweredMild, cbFlat, cbGray, cbMild };
TV_ENUM_INFO(TCheckBoxStyle, "cbAuto", "cbAutoGray", "cbAutoLowered", "cbDefault", "cbSoft", "cbLoweredDark",
             "cbLoweredGray", "cbLoweredMild", "cbFlat", "cbGray", "cbMild");
enum TCheckBoxToggle : uint8_t { ctCustomToggle, ctKeyPressOnly, ctOnCellClick, ctSelectClick };
TV_ENUM_INFO(TCheckBoxToggle, "ctCustomToggle", "ctKeyPressOnly", "ctOnCellClick", "ctSelectClick");
enum TDialogOption : uint8_t { doShowColumn, doItemEnabled };
TV_ENUM_INFO(TDialogOption, "doShowColumn", "doItemEnabled");
using TDialogOptions = TSet<TDialogOption>;
enum TImageDraw : uint8_t { idAlignment, idOpposite, idCenter, idScaled, idStretch, idTileCell, idTileGrid,
                            idTileCol, idTileRow };
TV_ENUM_INFO(TImageDraw, "idAlignment", "idOpposite", "idCenter", "idScaled", "idStretch", "idTileCell",
             "idTileGrid", "idTileCol", "idTileRow");
enum TMarker : uint8_t { tmNone, tmAscend, tmDescend };
TV_ENUM_INFO(TMarker, "tmNone", "tmAscend", "tmDescend");
enum TToolTipsWidth : uint8_t { ttAutoWidth, ttFixedWidth };
TV_ENUM_INFO(TToolTipsWidth, "ttAutoWidth", "ttFixedWidth");
enum TVAlignment : uint8_t { tvTopJustify, tvBottomJustify, tvCenter };
TV_ENUM_INFO(TVAlignment, "tvTopJustify", "tvBottomJustify", "tvCenter");
enum TXListOption : uint8_t {
    loAutoComplete,
    loAutoDropDown,
    loAutoCloseEditor,
    loSelectNextValue,
    loAllowClearValue,
    loShowToday,
    loShowTodayCircle,
    loShowWeekNumbers,
    loAutoTodayClose,
    loShowLookupListTitles,
    loAllowChangeOrder,
    loAllowColumnResize,
    loAllowColumnMoving,
    loExpandFirstColumn,
    loFirstColumnExpanded
};
TV_ENUM_INFO(TXListOption, "loAutoComplete", "loAutoDropDown", "loAutoCloseEditor", "loSelectNextValue",
             "loAllowClearValue", "loShowToday", "loShowTodayCircle", "loShowWeekNumbers", "loAutoTodayClose",
             "loShowLookupListTitles", "loAllowChangeOrder", "loAllowColumnResize", "loAllowColumnMoving",
             "loExpandFirstColumn", "loFirstColumnExpanded");
using TXListOptions = TSet<TXListOption>;
enum TXPickOption : uint8_t { poDropDownList, poListItemsOnly, poSelectPickText, poStoreItemIndex, poAcceptPickList,
                              poAcceptItemIndex, poAutoLoadList, poAppendToList, poSortedByText, poFormatPickText,
                              poFormatListOnly };
TV_ENUM_INFO(TXPickOption, "poDropDownList", "poListItemsOnly", "poSelectPickText", "poStoreItemIndex",
             "poAcceptPickList", "poAcceptItemIndex", "poAutoLoadList", "poAppendToList", "poSortedByText",
             "poFormatPickText", "poFormatListOnly");
using TXPickOptions = TSet<TXPickOption>;
enum TDBGridColumnsState : uint8_t { csDefault, csCustomized };
TV_ENUM_INFO(TDBGridColumnsState, "csDefault", "csCustomized");

inline constexpr TXListOptions kDefaultListOptions{loAutoComplete,    loAutoCloseEditor,  loSelectNextValue,
                                                   loAllowClearValue, loShowToday,        loAllowChangeOrder,
                                                   loAllowColumnResize};
inline constexpr TXPickOptions kDefaultPickOptions{poSelectPickText, poAcceptPickList};
// The width of a column that has no grid.
inline constexpr int kColumnDefaultWidth = 64;
// The texts of the grid's own columns.
inline constexpr const char* kAutoNumberCaption = "No.";
inline constexpr const char* kAutoSelectCaption = "Select";
inline constexpr int kAutoColumnWidth = 48;
// Title clicks order by at most this many columns (the marker glyphs are numbered 1 to 9).
inline constexpr int kMaxOrderedColumns = 9;

class TXColumn;

class TXColumnTitle : public TPersistent {
    TV_CLASS(TXColumnTitle, TPersistent)
public:
    explicit TXColumnTitle(TXColumn* Column);
    ~TXColumnTitle() override;

    TXColumn* Column() const { return fColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    // The field's display label, else the column's FieldName, until set. A default column keeps a
    // caption in its field's DisplayLabel.
    std::string Caption() const;
    virtual void SetCaption(const std::string& value);
    TColor Color() const;
    void SetColor(TColor value);
    // The grid's TitleFont (the column's font without a grid) until set.
    TFont* Font() const;
    void SetFont(TFont* value) { fFont->Assign(value); }

    bool AutoToggle() const { return fAutoToggle; }
    void SetAutoToggle(bool value) { fAutoToggle = value; }
    bool Button() const { return fButton; }
    void SetButton(bool value);
    TPopupMenu* DropDownMenu() const { return fDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    bool Ellipsis() const { return fEllipsis; }
    void SetEllipsis(bool value) { SetDisplayed(fEllipsis, value); }
    // One text per level, "|" between them, level 0 first.
    const std::string& Header() const { return fHeader; }
    void SetHeader(const std::string& value) { SetDisplayed(fHeader, value); }
    const std::string& HeaderHint() const { return fHeaderHint; }
    void SetHeaderHint(const std::string& value) { fHeaderHint = value; }
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value) { fHint = value; }
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value) { SetDisplayed(fImageIndex, value); }
    // The sort marker (xdb_grid_markers.cpp). MarkerIndex is -1 without a marker, else twice a
    // number plus 1 for descending: 0 or 1 when one column sorts at a time (dgMarkerAutoSwitch),
    // 2 x position + 2 (+1) with numbered markers (dgMarkerAutoToggle); it is also the marker
    // glyph's index. OrderIndex is MarkerIndex div 2: the 1-based sort position when numbered.
    // A column outside a grid keeps no marker; every write is an order update of the grid.
    TMarker Marker() const { return fMarker; }
    void SetMarker(TMarker value);
    int MarkerIndex() const { return fMarkerIndex; }
    void SetMarkerIndex(int value);
    int OrderIndex() const { return fMarkerIndex < 0 ? fMarkerIndex : fMarkerIndex / 2; }
    void SetOrderIndex(int value);
    // A title click's toggle: NewOrder (or dgMarkerAutoSwitch) starts the order again from this
    // column; otherwise the column joins the order ascending, turns descending, and the last
    // ordered column (not the first) leaves it. At most kMaxOrderedColumns columns are ordered.
    void ToggleMarker(bool NewOrder);
    TPopupMenu* PopupMenu() const { return fPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    TVAlignment VAlignment() const { return fVAlignment; }
    void SetVAlignment(TVAlignment value) { SetDisplayed(fVAlignment, value); }
    bool WordWrap() const { return fWordWrap; }
    void SetWordWrap(bool value) { SetDisplayed(fWordWrap, value); }

    TAlignment DefaultAlignment() const { return taLeftJustify; }
    TColor DefaultColor() const;
    TFont* DefaultFont() const;
    std::string DefaultCaption() const;
    // Header levels: 0 without a header, else 1 plus the "|" in it; the text of one level.
    int HeaderRowCount() const;
    std::string HeaderText(int level) const;
    std::string HeaderHintText(int level) const;
    // The neighbour whose header cell at `level` merges with this one: the nearest visible column
    // with the same parent to the left (right), on the same side of the fixed columns, with at
    // least level + 1 levels and the same texts at levels 0 to `level`. Nil when there is none.
    TXColumn* HeaderLeft(int level) const { return HeaderNeighbour(level, -1); }
    TXColumn* HeaderRight(int level) const { return HeaderNeighbour(level, 1); }

    virtual void RestoreDefaults();
    void Assign(TPersistent* Source) override;

private:
    TXColumn* HeaderNeighbour(int level, int step) const;
    friend class TXColumn;
    friend class TXDBGridColumns;
    friend class TXCustomDBGrid;
    // Refreshes the whole layout when the column's title spans its children, else the column.
    void Changed();
    template <class T>
    void SetDisplayed(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    void FontChanged();
    void RefreshDefaultFont() const;

    TXColumn* fColumn;
    std::unique_ptr<TFont> fFont;
    TAlignment fAlignment = taLeftJustify;
    std::string fCaption;
    TColor fColor = clBtnFace;
    bool fAutoToggle = true;
    bool fButton = true;
    TPopupMenu* fDropDownMenu = nullptr;
    bool fEllipsis = true;
    std::string fHeader;
    std::string fHeaderHint;
    std::string fHint;
    int fImageIndex = -1;
    TMarker fMarker = tmNone;
    int fMarkerIndex = -1;
    TPopupMenu* fPopupMenu = nullptr;
    TVAlignment fVAlignment = tvCenter;
    bool fWordWrap = true;
};

class TXColumn : public TCollectionItem {
    TV_CLASS(TXColumn, TCollectionItem)
public:
    explicit TXColumn(TCollection* Collection);
    ~TXColumn() override;

    // The collection's grid; nil when the collection is no grid's.
    TXCustomDBGrid* Grid() const;
    TXDBGridColumns* Columns() const;
    TXColumnValues AssignedValues() const { return fAssignedValues; }
    // Made by the form or by code (true), or by the grid from the fields (false).
    bool Stored() const { return fStored; }

    // ---- the field ----
    const std::string& FieldName() const { return fFieldName; }
    void SetFieldName(const std::string& value);
    // Bound lazily: while none is bound and FieldName is set, read looks it up in an open dataset
    // (or one with fields of its own).
    TField* Field() const;
    void SetField(TField* value);
    // The field's text to show (through the grid's ColGetText), and the text to edit.
    std::string DisplayText() const;
    std::string EditText() const;
    void SetEditText(const std::string& value);

    // ---- look, with defaults that follow the grid or the field until assigned ----
    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment value);
    TColor Color() const;
    void SetColor(TColor value);
    TFont* Font() const;
    void SetFont(TFont* value) { fFont->Assign(value); }
    TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode value);
    std::string ImeName() const;
    virtual void SetImeName(const std::string& value);
    bool ReadOnly() const;
    virtual void SetReadOnly(bool value);
    TXColumnTitle* Title() const { return fTitle.get(); }
    void SetTitle(TXColumnTitle* value) { fTitle->Assign(value); }

    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;
    TFont* DefaultFont() const;
    TImeMode DefaultImeMode() const;
    std::string DefaultImeName() const;
    bool DefaultReadOnly() const;

    // ---- width ----
    // Read: minus the grid's column line width while the column is not showing (it takes no room,
    // line included); else the assigned width or DefaultWidth.
    int Width() const;
    virtual void SetWidth(int value);
    // 64 without a grid; the grid's DefaultColWidth without a field; else the field's DisplayWidth
    // in "0"s of the column font plus 4, and with titles (unless dgTitleWidthOff) at least the
    // caption's width plus 4.
    int DefaultWidth() const;
    // The assigned width or DefaultWidth, showing or not.
    int TrueWidth() const;
    // A form description keeps the width when it was assigned and differs from DefaultWidth, or
    // is 64 (a default width that changes later must not take it along).
    bool WidthStored() const;
    // The width before stretching; writing it writes Width.
    int WidthBase() const;
    void SetWidthBase(int value);
    // -1: no limit. Max below Min rises to Min; the width follows a limit.
    int WidthMax() const { return fWidthMax; }
    void SetWidthMax(int value);
    int WidthMin() const { return fWidthMin; }
    void SetWidthMin(int value);
    // The widest text of the records the grid buffers, plus 4; WidthBase without active data.
    int OptimalWidth() const;

    // ---- visibility, groups and position ----
    // Visible: its own flag and its parent's visibility; Visibility: its own flag.
    bool Visible() const;
    void SetVisible(bool value);
    bool Visibility() const { return fVisible; }
    // The columns a column heads (ExpandCols following ones) form its group.
    int ExpandCols() const { return fExpandCols; }
    void SetExpandCols(int value);
    // An object field's column heads its sub-fields' columns; any column heads ExpandCols ones.
    bool Expandable() const;
    bool Expanded() const { return fExpanded && Expandable(); }
    void SetExpanded(bool value);
    TXColumnExpandStyle ExpandStyle() const { return fExpandStyle; }
    void SetExpandStyle(TXColumnExpandStyle value);
    // The nearest earlier column whose group holds this one; nil for none.
    TXColumn* ParentColumn() const;
    int Depth() const;
    // Visible, not expanded, and every parent expanded: the column has a grid column of its own.
    bool Showing() const;
    // The last position of the column's group; the width the group takes.
    int ExpandIndex() const;
    int ExpandWidth() const;
    // Moves the column (with its group); see TXDBGridColumns for default columns.
    void SetIndex(int Value) override;
    // Moves the column and, when the grid mirrors its columns into another grid, that grid's
    // column at the old position too.
    void MoveTo(int NewIndex);
    // Copies Expanded, Visible and TrueWidth to the column at the same position of the grid that
    // mirrors this one.
    void Synchronize();

    // ---- behaviour read by painting, editing and the pop-ups ----
    bool AutoNumber() const { return fAutoNumber; }
    void SetAutoNumber(bool value) { SetLayoutProp(fAutoNumber, value); }
    TXColumnButtonStyle ButtonStyle() const { return fButtonStyle; }
    void SetButtonStyle(TXColumnButtonStyle value) { SetDisplayed(fButtonStyle, value); }
    // The letter case the in-place editor turns typed text into.
    TEditCharCase CharCase() const { return fCharCase; }
    void SetCharCase(TEditCharCase value) { fCharCase = value; }
    bool CheckBox() const { return fCheckBox; }
    void SetCheckBox(bool value);
    TCheckBoxKind CheckBoxKind() const { return fCheckBoxKind; }
    void SetCheckBoxKind(TCheckBoxKind value) { SetDisplayed(fCheckBoxKind, value); }
    TCheckBoxStyle CheckBoxStyle() const { return fCheckBoxStyle; }
    void SetCheckBoxStyle(TCheckBoxStyle value) { SetDisplayed(fCheckBoxStyle, value); }
    TCheckBoxToggle CheckBoxToggle() const { return fCheckBoxToggle; }
    void SetCheckBoxToggle(TCheckBoxToggle value) { fCheckBoxToggle = value; }
    // The texts for ticked and not ticked, ";" between them; an empty write restores the default.
    const std::string& CheckBoxValues() const { return fCheckBoxValues; }
    void SetCheckBoxValues(const std::string& value);
    // ---- check boxes (xdb_column_checkbox.cpp) ----
    // Whether the cell reads as ticked (Checked) or not ticked: the field's edit text against the
    // text of that state, in any case; without a field, the current row's selection.
    bool IsCheckBoxValue(bool Checked) const;
    // The glyph of the current record's box: state 1 ticked, 0 not ticked, 2 neither, plus three
    // per CheckBoxKind (brought into the column's Images when it is too short).
    int CheckBoxIndex() const;
    // Ticks or unticks the current record's box when the grid lets this column change.
    void ToggleCheckBoxValue();
    // ---- cell pictures (xdb_column_images.cpp) ----
    // The box of the current record as a bitmap (white its transparent colour): the grid's glyph at
    // CheckBoxIndex with its frame drawn in the box style of CheckBoxStyle, or, while the grid is
    // disabled, blended with the grid's FixedColor and framed in cbMild. Nil without a grid or
    // while the grid's link is active on an empty dataset.
    std::unique_ptr<TBitmap> CheckBoxBitmap() const;
    // The index into Images a cell shows: CheckBoxIndex for a check-box column, -1 without a
    // field, 0 or 1 for a Boolean field, else the field's text as a number (-1 when it is none).
    int CellImageIndex() const;
    // Image `Index` of Images as a bitmap, blended with the grid's FixedColor while the grid is
    // disabled; TransparentColor, when set, is its transparent colour. Nil without a grid, without
    // Images or for an index outside it.
    std::unique_ptr<TBitmap> CellImageBitmap(int Index) const;
    // The picture of a graphic field whose bytes are no bitmap, read from them; nil when the field
    // is itself the picture's source (a bitmap, or no graphic field).
    std::unique_ptr<TPicture> FieldGraphic() const;
    TDialogOptions DialogOptions() const { return fDialogOptions; }
    void SetDialogOptions(TDialogOptions value) { fDialogOptions = value; }
    TPopupMenu* DropDownMenu() const { return fDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    int DropDownRows() const { return fDropDownRows; }
    void SetDropDownRows(int value) { fDropDownRows = value < 0 ? 0 : value; }
    int DropDownWidth() const { return fDropDownWidth; }
    void SetDropDownWidth(int value) { fDropDownWidth = value < 0 ? 0 : value; }
    bool EditMemo() const { return fEditMemo; }
    void SetEditMemo(bool value) { fEditMemo = value; }
    const std::string& EditorHint() const { return fEditorHint; }
    void SetEditorHint(const std::string& value) { fEditorHint = value; }
    bool Ellipsis() const { return fEllipsis; }
    void SetEllipsis(bool value) { SetDisplayed(fEllipsis, value); }
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value) { fHint = value; }
    // With CheckBox, the ways after idCenter read as idCenter.
    TImageDraw ImageDraw() const { return fImageDraw; }
    void SetImageDraw(TImageDraw value);
    int ImageOffsetX() const { return fImageOffsetX; }
    void SetImageOffsetX(int value) { SetDisplayed(fImageOffsetX, value); }
    int ImageOffsetY() const { return fImageOffsetY; }
    void SetImageOffsetY(int value) { SetDisplayed(fImageOffsetY, value); }
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);
    TXListOptions ListOptions() const { return fListOptions; }
    void SetListOptions(TXListOptions value) { fListOptions = value; }
    TDataSet* LookupDataSet() const { return fLookupDataSet; }
    void SetLookupDataSet(TDataSet* value);
    const std::string& LookupKeyField() const { return fLookupKeyField; }
    void SetLookupKeyField(const std::string& value) { fLookupKeyField = value; }
    const std::string& LookupListFields() const { return fLookupListFields; }
    void SetLookupListFields(const std::string& value) { fLookupListFields = value; }
    const std::string& LookupListTitles() const { return fLookupListTitles; }
    void SetLookupListTitles(const std::string& value) { fLookupListTitles = value; }
    const std::string& LookupListWidths() const { return fLookupListWidths; }
    void SetLookupListWidths(const std::string& value) { fLookupListWidths = value; }
    // The values stored and their texts, parallel by position; made on first use.
    // ---- pick lists (xdb_column_pick.cpp) ----
    // The stored values and the texts shown for them (entry i of PickText is the text of entry i
    // of PickList), created on first use. Writing none frees a list; a list is copied.
    TStrings* PickList();
    void SetPickList(TStrings* value);
    TStrings* PickText();
    void SetPickText(TStrings* value);
    bool HasPickList() const { return fPickList && fPickList->Count() > 0; }
    TXPickOptions PickOptions() const { return fPickOptions; }
    // poAutoLoadList leaves out poSelectPickText.
    void SetPickOptions(TXPickOptions value);
    // Pick texts are in use: poSelectPickText and a non-empty PickText.
    bool UsesPickText() const;
    // The list a drop-down shows, and the one the cell text uses (the plain pick texts with
    // poFormatListOnly); none when the list is empty.
    const TStrings* PickItems() const;
    const TStrings* PickDisplay() const;
    // PickTextFormat (or "%1:s - %0:s") over the pick text, the pick value and the 1-based
    // position of entry `ListIndex`; empty for a negative index.
    std::string FormatPickText(int ListIndex) const;
    // Fills PickList with the distinct non-empty texts of `PickListField` (the column's field when
    // none) over its whole dataset; PickText is freed.
    void LoadPickList(TField* PickListField = nullptr, bool Sorted = false);
    // Fills PickList and PickText with the pairs of the two fields' texts over their dataset, the
    // first record of each value winning; sorted by value (by text with poSortedByText).
    void LoadPickText(TField* PickListField, TField* PickTextField, bool Sorted = false);
    const std::string& PickTextFormat() const { return fPickTextFormat; }
    void SetPickTextFormat(const std::string& value);
    TPopupMenu* PopupMenu() const { return fPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    bool QuickDraw() const { return fQuickDraw; }
    void SetQuickDraw(bool value) { fQuickDraw = value; }
    bool ShowBlob() const { return fShowBlob; }
    void SetShowBlob(bool value) { SetDisplayed(fShowBlob, value); }
    bool ShowEdit() const { return fShowEdit; }
    void SetShowEdit(bool value) { SetLayoutProp(fShowEdit, value); }
    bool SuppressRTL() const { return fSuppressRTL; }
    void SetSuppressRTL(bool value) { SetDisplayed(fSuppressRTL, value); }
    bool ToolTips() const { return fToolTips; }
    void SetToolTips(bool value) { fToolTips = value; }
    TToolTipsWidth ToolTipsWidth() const { return fToolTipsWidth; }
    void SetToolTipsWidth(TToolTipsWidth value) { fToolTipsWidth = value; }
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool value) { SetDisplayed(fTransparent, value); }
    TColor TransparentColor() const { return fTransparentColor; }
    void SetTransparentColor(TColor value) { SetDisplayed(fTransparentColor, value); }
    TVAlignment VAlignment() const { return fVAlignment; }
    void SetVAlignment(TVAlignment value) { SetDisplayed(fVAlignment, value); }
    bool Wallpaper() const { return fWallpaper; }
    void SetWallpaper(bool value) { SetDisplayed(fWallpaper, value); }
    bool WordWrap() const { return fWordWrap; }
    void SetWordWrap(bool value) { SetDisplayed(fWordWrap, value); }

    // The in-place editor may open: ShowEdit, and no check box or numbering.
    virtual bool CanShowEditor() const { return fShowEdit && !IsCheckBox() && !fAutoNumber; }
    virtual bool IsCheckBox() const { return fCheckBox; }

    // ---- totals (xdb_column_totals.cpp) ----
    TXColumnTotalHeader* TotalHeader() const { return fTotalHeader.get(); }
    TXColumnTotalValues* TotalValues() const { return fTotalValues.get(); }
    TXColumnTotalFields* TotalFields() const { return fTotalFields.get(); }
    TXColumnTotalFooter* TotalFooter() const { return fTotalFooter.get(); }
    // A total's look changed: its cells are repainted (the whole layout without a total).
    void TotalChanged(TXColumnTotal* Total);
    // The total shown in row r of the total area, counted from the row after the blank row.
    TXColumnTotal* TotalAtRow(int r) const;

    // Back to the creation defaults, except FieldName, Visible, Expanded, Images and the width
    // values (the width reads as the default again).
    virtual void RestoreDefaults();
    void Assign(TPersistent* Source) override;
    std::string DisplayName() const override;

protected:
    virtual std::unique_ptr<TXColumnTitle> CreateTitle();

private:
    friend class TXColumnTitle;
    friend class TXDBGridColumns;
    friend class TXCustomDBGrid;
    // Tells the collection: this column (false) or the whole layout (true) changed.
    void ColumnChanged(bool layout) { Changed(layout); }
    template <class T>
    void SetDisplayed(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed(false);
    }
    template <class T>
    void SetLayoutProp(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed(true);
    }
    // Marks a value assigned; false when it was assigned already with the same value.
    bool Assigning(TXColumnValue value, bool same);
    // A component the column refers to tells the grid when it goes (the grid's Notification
    // drops the reference); passes it through.
    template <class C>
    C* Watched(C* component) const {
        WatchComponent(component);
        return component;
    }
    void WatchComponent(TComponent* component) const;
    void FontChanged();
    void RefreshDefaultFont() const;
    // Whether the grid's link is active and the field present: default columns write there.
    TField* LiveField() const;
    // The width the column keeps, unclamped and unstored (SetWidth's core).
    void StoreWidth(int value);
    void MoveGroup(int target);

    // Made by the constructor, freed by the destructor (xdb_column_totals.cpp).
    void CreateTotals();
    void FreeTotals();

    std::unique_ptr<TXColumnTitle> fTitle;
    std::unique_ptr<TXColumnTotalHeader> fTotalHeader;
    std::unique_ptr<TXColumnTotalValues> fTotalValues;
    std::unique_ptr<TXColumnTotalFields> fTotalFields;
    std::unique_ptr<TXColumnTotalFooter> fTotalFooter;
    std::unique_ptr<TFont> fFont;
    mutable TField* fField = nullptr;
    std::string fFieldName;
    bool fStored = true;
    TXColumnValues fAssignedValues;
    TAlignment fAlignment = taLeftJustify;
    TColor fColor = clWindow;
    int fWidth = kColumnDefaultWidth;
    int fWidthBase = kColumnDefaultWidth;
    int fWidthMax = -1;
    int fWidthMin = -1;
    bool fReadOnly = false;
    TImeMode fImeMode = imDontCare;
    std::string fImeName;
    bool fVisible = true;
    bool fExpanded = true;
    int fExpandCols = 0;
    TXColumnExpandStyle fExpandStyle = cesAuto;
    bool fAutoNumber = false;
    TXColumnButtonStyle fButtonStyle = cbsAuto;
    TEditCharCase fCharCase = ecNormal;
    bool fCheckBox = false;
    TCheckBoxKind fCheckBoxKind = ckCheck;
    TCheckBoxStyle fCheckBoxStyle = cbAuto;
    TCheckBoxToggle fCheckBoxToggle = ctOnCellClick;
    std::string fCheckBoxValues;
    TDialogOptions fDialogOptions{doShowColumn, doItemEnabled};
    TPopupMenu* fDropDownMenu = nullptr;
    int fDropDownRows = 0;
    int fDropDownWidth = 0;
    bool fEditMemo = false;
    std::string fEditorHint;
    bool fEllipsis = true;
    std::string fHint;
    TImageDraw fImageDraw = idCenter;
    int fImageOffsetX = 0;
    int fImageOffsetY = 0;
    TImageList* fImages = nullptr;
    TXListOptions fListOptions = kDefaultListOptions;
    TDataSet* fLookupDataSet = nullptr;
    std::string fLookupKeyField;
    std::string fLookupListFields;
    std::string fLookupListTitles;
    std::string fLookupListWidths;
    std::unique_ptr<TStringList> fPickList;
    std::unique_ptr<TStringList> fPickText;
    // The formatted pick texts, built on first use and dropped whenever the lists, the options or
    // the format change.
    mutable std::unique_ptr<TStringList> fFormattedPickText;
    TStringList* PickStrings(std::unique_ptr<TStringList>& list);
    void AssignPickStrings(std::unique_ptr<TStringList>& list, TStrings* value);
    // Suspends the dataset of `field` for loading (the grid's position tracking when it is the
    // column's own dataset), opening it when closed; undone by `load` ending, even by an error.
    template <class Load>
    void LoadFrom(TField* field, Load load);
    TXPickOptions fPickOptions = kDefaultPickOptions;
    std::string fPickTextFormat;
    TPopupMenu* fPopupMenu = nullptr;
    bool fQuickDraw = true;
    bool fShowBlob = true;
    bool fShowEdit = true;
    bool fSuppressRTL = false;
    bool fToolTips = true;
    TToolTipsWidth fToolTipsWidth = ttAutoWidth;
    bool fTransparent = false;
    TColor fTransparentColor = clNone;
    TVAlignment fVAlignment = tvCenter;
    bool fWallpaper = false;
    bool fWordWrap = true;
};

class TXDBGridColumns : public TCollection {
    TV_CLASS(TXDBGridColumns, TCollection)
public:
    TXDBGridColumns(TXCustomDBGrid* AGrid, const TClassInfo& ColumnClass);

    TXCustomDBGrid* Grid() const { return fGrid; }
    TPersistent* Owner() const override;
    TXColumn* Items(int Index) const { return static_cast<TXColumn*>(TCollection::Items(Index)); }
    TXColumn* operator[](int Index) const { return Items(Index); }
    // A new stored column at the end (the collection becomes customized).
    TXColumn* Add();
    // A numbering column (AutoNumber, "No.") and a selection check-box column ("Select"), each
    // stored at position 0.
    TXColumn* AddAutoNumber();
    TXColumn* AddAutoSelect();
    // csCustomized when not empty and the last column is stored. Writing csCustomized rebuilds
    // the columns from the fields; csDefault clears them.
    TDBGridColumnsState State() const;
    void SetState(TDBGridColumnsState value);
    // One stored column per field of the grid's dataset (with the grid's auto columns); without a
    // dataset the collection is emptied.
    void RebuildColumns();
    void RestoreDefaults();
    // Copies another collection's columns, with the grid's layout locked.
    void Assign(TPersistent* Source) override;
    // The columns that carry a sort marker, first sort column first.
    std::vector<TXColumn*>& OrderList() { return fOrderList; }
    // The columns with the grid's order fields as form text (xdb_grid_streams.cpp): saving writes
    // widths before stretching; loading replaces the columns and the order fields. The stream's
    // and the parser's errors reach the caller.
    void SaveToStream(TStream& Stream);
    void LoadFromStream(TStream& Stream);
    void SaveToFile(const std::string& FileName);
    void LoadFromFile(const std::string& FileName);
    // Clears every column's marker (the order list empties).
    void RemoveMarkers();
    // Numbers the markers again from the order list, as the grid's marker options say.
    void UpdateMarkers();

    // The grid's own: a default (not stored) column, and its auto columns of either kind.
    TXColumn* InternalAdd();
    TXColumn* InternalAddAutoNumber(bool stored);
    TXColumn* InternalAddAutoSelect(bool stored);

protected:
    void Update(TCollectionItem* Item) override;

private:
    static void SetUpAutoColumn(TXColumn& column, TAlignment alignment, const char* caption, bool linkActive);

    TXCustomDBGrid* fGrid;
    std::vector<TXColumn*> fOrderList;
};

}  // namespace tv
