#pragma once
// The vocabulary of the data grid (xdb_grid.h): its option sets, the looks it can take, the
// selection modes, its event types and its error texts. docs/data-grid.md tells which file of the
// grid builds what.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/gui/control.h"
#include "platform/gui/grid_types.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/event.h"
#include "platform/rtl/variant.h"

namespace tv {

class TDataSet;
class TField;
class TFont;
class TStrings;
class TXColumn;
class TXColumnTotalValue;
// The passes of a totals calculation (reset, one per record, final); the totals define the values.
enum TCalcPass : uint8_t;

// ---- errors (the class library's texts) ----
inline constexpr std::string_view kTooManyColumns = "Grid requested to display more than 256 columns";
// The questions of Ctrl+Delete with dgConfirmDelete, for one record and for several.
inline constexpr std::string_view kDeleteRecordText = "Delete record?";
inline constexpr std::string_view kDeleteRecordsText = "Delete all selected records?";

// The grid's private message of the deferred layout: the user message base plus 100.
inline constexpr uint32_t kLayoutMessage = 0x0400 + 100;

// ---- option sets ----
enum TXDBGridOption : uint8_t {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
    dgExtendedSelect,
    dgInternalSelect,
    dgRowResize,
    dgRowScroll,
    dgHotButtons,
    dgTitleButtons,
    dgTitleHeaders,
    dgTitleWidthOff,
    dgAllowDeleteOff,
    dgAllowInsertOff,
    dgAutoUnselectOff,
    dgIndicatorMarkOff,
    dgMarkerAutoAlign,
    dgMarkerAutoSwitch,
    dgMarkerAscendOnly,
    dgMarkerAutoToggle,
    dgForceSequence,
    dgThumbTracking,
    dgRightMoving
};
TV_ENUM_INFO(TXDBGridOption, "dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
             "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
             "dgCancelOnExit", "dgMultiSelect", "dgExtendedSelect", "dgInternalSelect", "dgRowResize",
             "dgRowScroll", "dgHotButtons", "dgTitleButtons", "dgTitleHeaders", "dgTitleWidthOff",
             "dgAllowDeleteOff", "dgAllowInsertOff", "dgAutoUnselectOff", "dgIndicatorMarkOff",
             "dgMarkerAutoAlign", "dgMarkerAutoSwitch", "dgMarkerAscendOnly", "dgMarkerAutoToggle",
             "dgForceSequence", "dgThumbTracking", "dgRightMoving");
using TXDBGridOptions = TSet<TXDBGridOption>;

enum TXDBGridOptionEx : uint8_t {
    dgBlankRow,
    dgTotalHeader,
    dgTotalValues,
    dgTotalFields,
    dgTotalFooter,
    dgTotalColLines,
    dgTotalHeaderBox,
    dgTotalValuesBox,
    dgTotalFieldsBox,
    dgTotalFooterBox,
    dgTotalDataBoxOnly,
    dgLoadCurrentOrder,
    dgAutoUpdateOrder,
    dgAutoAscendOrder,
    dgAutoUpdateSequence,
    dgDelayUpdateSequence,
    dgAutoUpdateTotals,
    dgDelayUpdateTotals,
    dgCalcInvisibleRows,
    dgCalcWholeDataSet,
    dgCalcSelectedRows,
    dgDelaySelectedRows,
    dgTotalHeaderSelected,
    dgTotalValuesSelected,
    dgTotalFooterSelected,
    dgSelectedAutoHidden,
    dgClickSelectOff
};
TV_ENUM_INFO(TXDBGridOptionEx, "dgBlankRow", "dgTotalHeader", "dgTotalValues", "dgTotalFields", "dgTotalFooter",
             "dgTotalColLines", "dgTotalHeaderBox", "dgTotalValuesBox", "dgTotalFieldsBox", "dgTotalFooterBox",
             "dgTotalDataBoxOnly", "dgLoadCurrentOrder", "dgAutoUpdateOrder", "dgAutoAscendOrder",
             "dgAutoUpdateSequence", "dgDelayUpdateSequence", "dgAutoUpdateTotals", "dgDelayUpdateTotals",
             "dgCalcInvisibleRows", "dgCalcWholeDataSet", "dgCalcSelectedRows", "dgDelaySelectedRows",
             "dgTotalHeaderSelected", "dgTotalValuesSelected", "dgTotalFooterSelected", "dgSelectedAutoHidden",
             "dgClickSelectOff");
using TXDBGridOptionsEx = TSet<TXDBGridOptionEx>;

enum TXDBGridOptionExt : uint8_t {
    dgAutoNumberColumn,
    dgAutoSelectColumn,
    dgAutoUpdateListItems,
    dgDelayUpdateListItems,
    dgGridStyleLists,
    dgMouseScrolling,
    dgMouseTracking
};
TV_ENUM_INFO(TXDBGridOptionExt, "dgAutoNumberColumn", "dgAutoSelectColumn", "dgAutoUpdateListItems",
             "dgDelayUpdateListItems", "dgGridStyleLists", "dgMouseScrolling", "dgMouseTracking");
using TXDBGridOptionsExt = TSet<TXDBGridOptionExt>;

enum TXHintOption : uint8_t {
    hoTitleHints,
    hoShowTitleHints,
    hoEditorHints,
    hoShowEditorHints,
    hoShowToolTips,
    hoKeepShowToolTips,
    hoAlwaysShowToolTips,
    hoDataHints,
    hoShowDataHints,
    hoAllowForGraphics,
    hoTotalHints,
    hoShowTotalHints,
    hoShowTotalToolTips
};
TV_ENUM_INFO(TXHintOption, "hoTitleHints", "hoShowTitleHints", "hoEditorHints", "hoShowEditorHints",
             "hoShowToolTips", "hoKeepShowToolTips", "hoAlwaysShowToolTips", "hoDataHints", "hoShowDataHints",
             "hoAllowForGraphics", "hoTotalHints", "hoShowTotalHints", "hoShowTotalToolTips");
using TXHintOptions = TSet<TXHintOption>;

enum TXResizeOption : uint8_t { roColumnResize, roOptimalWidth, roDefaultWidth, roColumnMoving };
TV_ENUM_INFO(TXResizeOption, "roColumnResize", "roOptimalWidth", "roDefaultWidth", "roColumnMoving");
using TXResizeOptions = TSet<TXResizeOption>;

// The defaults of the option sets.
inline constexpr TXDBGridOptions kDefaultGridOptions{
    dgEditing,        dgTitles,          dgIndicator,     dgColumnResize,  dgColLines,         dgRowLines,
    dgTabs,           dgConfirmDelete,   dgCancelOnExit,  dgExtendedSelect, dgInternalSelect,  dgRowResize,
    dgRowScroll,      dgHotButtons,      dgTitleButtons,  dgTitleHeaders,  dgTitleWidthOff,    dgMarkerAutoAlign,
    dgMarkerAutoToggle};
inline constexpr TXDBGridOptionsEx kDefaultGridOptionsEx{
    dgTotalHeaderBox,   dgTotalValuesBox,    dgTotalFieldsBox,   dgTotalFooterBox, dgAutoAscendOrder,
    dgAutoUpdateSequence, dgDelayUpdateSequence, dgAutoUpdateTotals, dgDelayUpdateTotals, dgCalcWholeDataSet,
    dgCalcSelectedRows, dgDelaySelectedRows, dgSelectedAutoHidden};
inline constexpr TXDBGridOptionsExt kDefaultGridOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems,
                                                           dgGridStyleLists, dgMouseScrolling};
inline constexpr TXHintOptions kDefaultHintOptions{hoTitleHints, hoShowTitleHints, hoEditorHints, hoShowToolTips,
                                                   hoShowTotalToolTips};
inline constexpr TXResizeOptions kDefaultResizeOptions{roColumnResize, roOptimalWidth, roDefaultWidth,
                                                       roColumnMoving};

// ---- selection modes ----
// MultiSelect is one of msNone .. msCells; MultiSelectOptions a set of msRows .. msFixed (msFixed:
// fixed columns take part in column selection).
enum TMultiSelection : uint8_t { msNone, msRows, msCols, msCells, msFixed };
TV_ENUM_INFO(TMultiSelection, "msNone", "msRows", "msCols", "msCells", "msFixed");
using TMultiSelect = TMultiSelection;
using TMultiSelectOption = TMultiSelection;
using TMultiSelectOptions = TSet<TMultiSelection>;

// ---- looks ----
enum TFixedStyle : uint8_t { fsDefault, fsSoft, fsNice, fsFlat, fsGreat, fsGray, fsFine, fsMild };
TV_ENUM_INFO(TFixedStyle, "fsDefault", "fsSoft", "fsNice", "fsFlat", "fsGreat", "fsGray", "fsFine", "fsMild");
enum TFixedTheme : uint8_t { ftNone, ftDefault, ftButtons, ftTabs };
TV_ENUM_INFO(TFixedTheme, "ftNone", "ftDefault", "ftButtons", "ftTabs");
enum TFocusRect : uint8_t { frAuto, frDefault, frGray, frMild, frNone };
TV_ENUM_INFO(TFocusRect, "frAuto", "frDefault", "frGray", "frMild", "frNone");
enum THotButtons : uint8_t { hbAuto, hbNone, hbBump, hbTile, hbLowered, hbRaised };
TV_ENUM_INFO(THotButtons, "hbAuto", "hbNone", "hbBump", "hbTile", "hbLowered", "hbRaised");
enum TListBorder : uint8_t { lbAuto, lbDefault, lbGray, lbMild };
TV_ENUM_INFO(TListBorder, "lbAuto", "lbDefault", "lbGray", "lbMild");
enum TMarkerStyle : uint8_t {
    msAuto,
    msAutoGray,
    msDefault,
    msSoft,
    msRaisedDark,
    msRaisedGray,
    msRaisedMild,
    msLoweredDark,
    msLoweredGray,
    msLoweredMild,
    msFlat,
    msGray,
    msMild
};
TV_ENUM_INFO(TMarkerStyle, "msAuto", "msAutoGray", "msDefault", "msSoft", "msRaisedDark", "msRaisedGray",
             "msRaisedMild", "msLoweredDark", "msLoweredGray", "msLoweredMild", "msFlat", "msGray", "msMild");
enum TMarkerTransparent : uint8_t { mtAuto, mtFalse, mtTrue };
TV_ENUM_INFO(TMarkerTransparent, "mtAuto", "mtFalse", "mtTrue");

// Stored for the properties the grid keeps for the desktop; they change nothing here.
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
TV_ENUM_INFO(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly");
enum TImeMode : uint8_t { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                          imChinese, imSHanguel, imHanguel };
TV_ENUM_INFO(TImeMode, "imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha", "imHira", "imSKata",
             "imKata", "imChinese", "imSHanguel", "imHanguel");

// ---- painting and selection states ----
enum TSelection : uint8_t { slCellSelected, slRowSelected, slMultiSelected, slCellFixed, slRowStriped };
TV_ENUM_INFO(TSelection, "slCellSelected", "slRowSelected", "slMultiSelected", "slCellFixed", "slRowStriped");
using TSelections = TSet<TSelection>;
enum TSelectAction : uint8_t { saUnselect, saSelect, saClear, saDelete, saRefresh };
TV_ENUM_INFO(TSelectAction, "saUnselect", "saSelect", "saClear", "saDelete", "saRefresh");
enum TTextKind : uint8_t { tkEdit, tkDisplay, tkReport };
TV_ENUM_INFO(TTextKind, "tkEdit", "tkDisplay", "tkReport");
enum THintCell : uint8_t { hcTitle, hcHeader, hcFiller, hcEditor, hcData, hcIndicator, hcTotal };
TV_ENUM_INFO(THintCell, "hcTitle", "hcHeader", "hcFiller", "hcEditor", "hcData", "hcIndicator", "hcTotal");
enum TForEachCellScope : uint8_t { fsAutoSelect, fsWholeDataSet, fsSelectedOnly };
TV_ENUM_INFO(TForEachCellScope, "fsAutoSelect", "fsWholeDataSet", "fsSelectedOnly");
enum TForEachCellFlag : uint8_t { feFirstCol, feLastCol, feFirstRow, feLastRow };
TV_ENUM_INFO(TForEachCellFlag, "feFirstCol", "feLastCol", "feFirstRow", "feLastRow");
using TForEachCellFlags = TSet<TForEachCellFlag>;

// ---- events ----
using TDBGridClickEvent = TEvent<void(TXColumn* Column)>;
using TCalcBoldDaysEvent = TEvent<void(TObject* Sender, double Date, bool& BoldDay)>;
using TCalcImageIndexEvent = TEvent<void(TObject* Sender, TXColumn* Column, int32_t& Index)>;
using TCellHintEvent =
    TEvent<void(TObject* Sender, TXColumn* Column, int32_t Index, THintCell HintCell, std::string& HintStr)>;
using TColGetTextEvent = TEvent<void(TXColumn* Column, std::string& Text, TTextKind TextKind)>;
using TColSetTextEvent = TEvent<void(TXColumn* Column, std::string& Text)>;
using TMovedEvent = TEvent<void(TObject* Sender, int32_t FromIndex, int32_t ToIndex)>;
using TColumnMovingEvent = TEvent<void(TObject* Sender, int32_t FromIndex, int32_t ToIndex, bool& Accept)>;
using TColumnScrollEvent = TEvent<void(TObject* Sender, int32_t LeftIndex)>;
using TDrawDataCellEvent =
    TEvent<void(TObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
using TDrawColumnCellEvent = TEvent<void(TObject* Sender, const TRect& Rect, int32_t DataCol, TXColumn* Column,
                                         TGridDrawState State)>;
using TPaintColumnCellEvent =
    TEvent<void(TObject* Sender, const TRect& Rect, int32_t DataCol, TXColumn* Column, bool Highlight,
                TSelections Selections, TColor& Color, TFont* Font, TPersistent*& Image)>;
using THeaderClickEvent = TEvent<void(TXColumn* Column, int32_t Index)>;
using TTotalClickEvent = TEvent<void(TXColumn* Column, int32_t Index)>;
using TXDBGridLayoutEvent = TEvent<void(TObject* Sender, TStrings* Layout, bool Apply)>;
using TListCloseUpEvent = TEvent<void(TXColumn* Column, TObject* List, Variant& Value, bool& Accept)>;
using TListDropDownEvent = TEvent<void(TXColumn* Column, TObject* List)>;
using TMouseWheelUpDownEvent = TEvent<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TRowSelectEvent = TEvent<void(TObject* Sender, TSelectAction Action)>;
// One cell of ForEachDataCell: its column (the current record is its row) and where it stands.
using TForEachCellProc = std::function<void(TXColumn* Column, TForEachCellFlags Flags)>;
using TTotalCalcQueryEvent = TEvent<void(TObject* Sender, TDataSet* DataSet, bool& Accept)>;
using TTotalCalcValueEvent = TEvent<void(TXColumnTotalValue* Total, TCalcPass Pass, Variant& Value)>;
using TTotalGetTextEvent = TEvent<void(TXColumn* Column, int32_t Index, std::string& Text, TTextKind TextKind)>;

}  // namespace tv
