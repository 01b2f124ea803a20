#pragma once
// The data grid: the records of one dataset as rows, its fields as columns, on the base grid
// (platform/gui/grid.h). The grid's data link buffers only the records that fit on screen, so the
// grid scrolls the dataset, not pixels. TXCustomDBGrid holds all behaviour; TXDBGrid is the one
// forms place.
//
// Raw columns and rows are the base grid's. Raw column 0 is the indicator with dgIndicator; the
// raw column c >= IndicatorOffset shows the showing column c - IndicatorOffset. Raw rows are the
// title rows, one data row per buffered record, then the total area (blank row, total header,
// total values, total fields, total footer).
//
// The class is long; its code is split by concern (docs/data-grid.md): xdb_grid.cpp (making and
// freeing, the small properties and hooks), xdb_grid_setters.cpp (options and setters with their
// clamps), xdb_grid_layout.cpp (brackets, layout, row heights, metrics), xdb_grid_link.cpp (the
// data link's reactions, focus, component removal), xdb_grid_ring.cpp (master grids),
// xdb_grid_streams.cpp (columns as form text), xdb_grid_updates.cpp (requests
// for list items, numbering and totals, the selection bracket), xdb_grid_paint.cpp (DrawCell),
// xdb_grid_scroll.cpp (the record bar, the wheel, partial repaints), xdb_grid_position.cpp
// (position keeping).

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid_data_link.h"
#include "controls/xdb_grid_hints.h"
#include "controls/xdb_grid_settings.h"
#include "controls/xdb_grid_style.h"
#include "controls/xdb_grid_totals.h"
#include "controls/xdb_grid_types.h"
#include "controls/xdb_inplace_edit.h"
#include "controls/xdb_selection_lists.h"
#include "controls/xf_gradient.h"
#include "platform/gui/grid.h"
#include "platform/gui/theme_services.h"
#include "platform/gui/timer.h"

namespace tv {

class TBasicAction;
class TImageList;
class TParser;
class TPopupMenu;
enum class TRecordBarKind : uint8_t;

// The size of a floating grid's form (ShowPopupEditor): the client width is the right edge of
// its columns when that is under half the screen's width, else the form is a quarter of the
// screen wide; it is a quarter of the screen high.
struct TFloatingGridSize {
    bool ClientWidth = false;  // Width is the client width, else the form's
    int Width = 0;
    int Height = 0;
};
TFloatingGridSize FloatingGridSize(int ColumnsRight, int ScreenWidth, int ScreenHeight);
// ShowPopupEditor's X or Y for "at the current cell".
inline constexpr int kPopupAtCell = std::numeric_limits<int>::min();

class TXCustomDBGrid : public TCustomGrid {
    TV_CLASS(TXCustomDBGrid, TCustomGrid)
public:
    explicit TXCustomDBGrid(TComponent* AOwner = nullptr);
    ~TXCustomDBGrid() override;

    // Placing the grid in a window makes its window (CreateWnd).
    void SetParent(TWinControl* AParent) override;

    // ---- owned parts ----
    TXDBGridColumns* Columns() const { return fColumns.get(); }
    void SetColumns(TXDBGridColumns* value) { fColumns->Assign(value); }
    TXGridStyle* GridStyle() const { return fGridStyle.get(); }
    void SetGridStyle(TXGridStyle* value) { fGridStyle->Assign(value); }
    TXScrollProp* ScrollProp() const { return fScrollProp.get(); }
    void SetScrollProp(TXScrollProp* value) { fScrollProp->Assign(value); }
    TXDBGridSettings* Settings() const { return fSettings.get(); }
    void SetSettings(TXDBGridSettings* value) { fSettings->Assign(value); }
    TXDBGridTotals* Totals() const { return fTotals.get(); }
    void SetTotals(TXDBGridTotals* value) { fTotals->Assign(value); }
    TXFGradientButton* Gradient() const { return fGradient.get(); }
    void SetGradient(TXFGradientButton* value) { fGradient->Assign(value); }
    TXGridDataLink* DataLink() const { return fDataLink.get(); }
    TXBookmarkList* SelectedRows() const { return fBookmarks.get(); }
    TXColumnList* SelectedCols() const { return fSelectedCols.get(); }
    TFont* TitleFont() const { return fTitleFont.get(); }
    void SetTitleFont(TFont* value) { fTitleFont->Assign(value); }
    TFont* HeaderFont() const { return fHeaderFont.get(); }
    void SetHeaderFont(TFont* value) { fHeaderFont->Assign(value); }

    // ---- data ----
    TDataSource* DataSource() const { return fDataLink->DataSource(); }
    // Refused: a unidirectional dataset (the link stays), the totals' data source ("Circular
    // datalinks are not allowed"; skipped while loading).
    void SetDataSource(TDataSource* value);
    int FieldCount() const { return fDataLink->FieldCount(); }
    // The field at a field position of the link's map; nil when none.
    TField* Fields(int FieldIndex) const { return fDataLink->Fields(FieldIndex); }
    bool ValidFieldIndex(int FieldIndex) const { return fDataLink->FieldIndex(FieldIndex) >= 0; }
    // Records in the link's buffer (0 when inactive); buffer index of the current record.
    int DataRowCount() const;
    int Position() const;
    void SetPosition(int value);
    // Record count and 1-based record number of the dataset (-1 when inactive).
    int RecCount() const;
    int RecNumber() const;
    void SetRecNumber(int value);
    const std::string& KeyFields() const { return fKeyFields; }
    void SetKeyFields(const std::string& value) { fKeyFields = value; }
    // The order the sort markers show, as order text: "FIELD,FIELD DESC" (xdb_grid_order.cpp).
    std::string OrderFields() const;
    void SetOrderFields(const std::string& Value);

    // ---- options ----
    TXDBGridOptions Options() const { return fOptions; }
    void SetOptions(TXDBGridOptions value);
    TXDBGridOptionsEx OptionsEx() const { return fOptionsEx; }
    void SetOptionsEx(TXDBGridOptionsEx value);
    TXDBGridOptionsExt OptionsExt() const { return fOptionsExt; }
    void SetOptionsExt(TXDBGridOptionsExt value);
    TXHintOptions HintOptions() const { return fHintOptions; }
    void SetHintOptions(TXHintOptions value) { fHintOptions = value; }
    // Without roColumnResize, roOptimalWidth and roDefaultWidth go too.
    TXResizeOptions ResizeOptions() const { return fResizeOptions; }
    void SetResizeOptions(TXResizeOptions value);
    TMultiSelectOptions MultiSelectOptions() const { return fMultiSelectOptions; }
    void SetMultiSelectOptions(TMultiSelectOptions value);
    // The selection mode now, derived from the options and the selection under way.
    TMultiSelect MultiSelect() const;
    void SetMultiSelect(TMultiSelect value);

    // ---- plain properties ----
    bool ReadOnly() const { return fReadOnly; }
    void SetReadOnly(bool value) { fReadOnly = value; }
    bool DefaultDrawing() const { return fDefaultDrawing; }
    void SetDefaultDrawing(bool value) { fDefaultDrawing = value; }
    bool DragRows() const { return fDragRows; }
    void SetDragRows(bool value) { fDragRows = value; }
    TColor EditorColor() const { return fEditorColor; }
    void SetEditorColor(TColor value) { fEditorColor = value; }
    bool FillerButton() const { return fFillerButton; }
    void SetFillerButton(bool value) { fFillerButton = value; }
    const std::string& FillerHint() const { return fFillerHint; }
    void SetFillerHint(const std::string& value) { fFillerHint = value; }
    const std::string& IndicatorHint() const { return fIndicatorHint; }
    void SetIndicatorHint(const std::string& value) { fIndicatorHint = value; }
    TPopupMenu* FillerPopupMenu() const { return fFillerPopupMenu; }
    void SetFillerPopupMenu(TPopupMenu* value);
    TPopupMenu* IndicatorPopupMenu() const { return fIndicatorPopupMenu; }
    void SetIndicatorPopupMenu(TPopupMenu* value);
    // Rows per wheel step; below -1 becomes -1.
    int WheelScrollRows() const { return fWheelScrollRows; }
    void SetWheelScrollRows(int value) { fWheelScrollRows = value < -1 ? -1 : value; }
    // Stored for the desktop's input methods.
    TImeMode ImeMode() const { return fImeMode; }
    void SetImeMode(TImeMode value) { fImeMode = value; }
    const std::string& ImeName() const { return fImeName; }
    void SetImeName(const std::string& value) { fImeName = value; }
    // The grid's hint, also kept as the main hint the hint logic returns to.
    void SetHint(const std::string& value);
    const std::string& MainHint() const { return fMainHint; }
    bool DoubleBuffered() const { return fDoubleBuffered; }
    void SetDoubleBuffered(bool value) { fDoubleBuffered = value; }

    // ---- look (setters in xdb_grid_setters.cpp) ----
    void SetFixedColor(TColor value);
    TColor FillerColor() const { return fFillerColor; }
    void SetFillerColor(TColor value);
    TColor HeaderColor() const { return fHeaderColor; }
    void SetHeaderColor(TColor value);
    int FixedCols() const { return fFixedCols < 0 ? 0 : fFixedCols; }
    void SetFixedCols(int value);
    TFixedStyle FixedStyle() const { return fFixedStyle; }
    void SetFixedStyle(TFixedStyle value);
    TFixedTheme FixedTheme() const { return fFixedTheme; }
    void SetFixedTheme(TFixedTheme value);
    TFocusRect FocusRect() const { return fFocusRect; }
    void SetFocusRect(TFocusRect value) { SetRelayout(fFocusRect, value); }
    THotButtons HotButtons() const { return fHotButtons; }
    void SetHotButtons(THotButtons value) { SetRelayout(fHotButtons, value); }
    TListBorder ListBorder() const { return fListBorder; }
    void SetListBorder(TListBorder value) { SetRelayout(fListBorder, value); }
    // The border the editor's lists draw (xdb_grid_border.cpp), ListBorder with lbAuto
    // read by FixedStyle (lbDefault unless both dgColLines and dgRowLines are set).
    TListBorder GetListBorder() const;
    TMarkerStyle MarkerStyle() const { return fMarkerStyle; }
    void SetMarkerStyle(TMarkerStyle value) { SetRelayout(fMarkerStyle, value); }
    TMarkerTransparent MarkerTransparent() const { return fMarkerTransparent; }
    void SetMarkerTransparent(TMarkerTransparent value) { SetRelayout(fMarkerTransparent, value); }
    TColor DataColLineColor() const { return fDataColLineColor; }
    void SetDataColLineColor(TColor value) { SetRelayout(fDataColLineColor, value); }
    TColor DataRowLineColor() const { return fDataRowLineColor; }
    void SetDataRowLineColor(TColor value) { SetRelayout(fDataRowLineColor, value); }
    TColor HighlightText() const { return fHighlightText; }
    void SetHighlightText(TColor value) { SetRelayout(fHighlightText, value); }
    TColor SelectCellColor() const { return fSelectCellColor; }
    void SetSelectCellColor(TColor value) { SetRelayout(fSelectCellColor, value); }
    TColor SelectionColor() const { return fSelectionColor; }
    void SetSelectionColor(TColor value) { SetRelayout(fSelectionColor, value); }
    TColor SelectRowColor() const { return fSelectRowColor; }
    void SetSelectRowColor(TColor value) { SetRelayout(fSelectRowColor, value); }
    TColor StripeColor() const { return fStripeColor; }
    void SetStripeColor(TColor value) { SetRelayout(fStripeColor, value); }
    // 0 and above: an image of TitleImages; below -1: the built-in indicator glyph -index - 2.
    int FillerIndex() const { return fFillerIndex; }
    void SetFillerIndex(int value);
    // At least 11.
    int IndicatorWidth() const { return fIndicatorWidth; }
    void SetIndicatorWidth(int value);
    TImageList* IndicatorImages() const { return fIndicatorImages; }
    void SetIndicatorImages(TImageList* value);
    TImageList* TitleImages() const { return fTitleImages; }
    void SetTitleImages(TImageList* value);
    TImageList* TitleMarkers() const { return fTitleMarkers; }
    void SetTitleMarkers(TImageList* value);
    // Text lines per header, title and data row. Header and title: at least 1. LinesCount stays
    // within LinesCountMin .. LinesCountMax (-1: no upper bound).
    int HeaderLinesCount() const { return fHeaderLinesCount; }
    void SetHeaderLinesCount(int value);
    int TitleLinesCount() const { return fTitleLinesCount; }
    void SetTitleLinesCount(int value);
    int LinesCount() const { return fLinesCount; }
    void SetLinesCount(int value);
    int LinesCountMax() const { return fLinesCountMax; }
    void SetLinesCountMax(int value);
    int LinesCountMin() const { return fLinesCountMin; }
    void SetLinesCountMin(int value);
    // Stretching of the columns to the client width; the bounds are -1 (none) or a width.
    bool StretchMode() const { return fStretchMode; }
    void SetStretchMode(bool value);
    int StretchWidthMax() const { return fStretchWidthMax; }
    void SetStretchWidthMax(int value);
    int StretchWidthMin() const { return fStretchWidthMin; }
    void SetStretchWidthMin(int value);
    // Which scroll bars the grid shows (the base grid drives only the horizontal one).
    TScrollStyle ScrollBars() const { return fScrollBars; }
    void SetScrollBars(TScrollStyle value);
    void SetBorderStyle(TBorderStyle value);
    // The 3D border: with Ctl3DAuto the grid chooses it; setting Ctl3D turns Ctl3DAuto off.
    void SetCtl3D(bool value) override;
    bool Ctl3DAuto() const { return fCtl3DAuto; }
    void SetCtl3DAuto(bool value);
    // Setting it on turns Ctl3DAuto off.
    void SetParentCtl3D(bool value);
    TBiDiMode BiDiMode() const { return fBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    // The grid whose column layout this one follows; joining a ring of grids (below).
    TXCustomDBGrid* MasterGrid() const { return fMasterGrid; }
    void SetMasterGrid(TXCustomDBGrid* value);
    // The next grid of the ring, which mirrors this one's columns.
    TXCustomDBGrid* ManageGrid() const { return fManageGrid; }
    // The ring of master grids (xdb_grid_ring.cpp): copies the columns' expansion, visibility
    // and widths, the indicator width, fixed columns, reading order and left column to the managed
    // grid, which passes them on around the ring; each grid takes them once.
    void Synchronize();
    // Form streaming (xdb_grid_streams.cpp): the form text lines of the properties "Columns"
    // (written when the columns differ from the ancestor's; without one, when customized) and
    // "OrderFields" (when not empty); ReadDefinedProperty reads one of them at the parser's
    // symbol (the columns are emptied first, the order goes through SetOrderFields) and answers
    // false, reading nothing, for any other name.
    bool ColumnsStored(TXCustomDBGrid* Ancestor);
    std::string DefinedPropertiesText(TXCustomDBGrid* Ancestor, const std::string& Indent);
    bool ReadDefinedProperty(TParser& Parser);

    // ---- the selected column ----
    TXColumn* SelectedColumn() const;
    void SetSelectedColumn(TXColumn* value);
    TField* SelectedField() const;
    void SetSelectedField(TField* value);
    int SelectedIndex() const;
    void SetSelectedIndex(int value);
    int DataLeftCol() const { return LeftCol() - fIndicatorOffset; }
    void SetDataLeftCol(int value);

    // ---- selection state ----
    bool ColsSelection() const;
    bool RowsSelection() const;
    bool RowsSelected() const { return fBookmarks->Count() > 0; }
    bool ColsSelected() const;
    bool MultiSelected() const { return RowsSelected() || ColsSelected(); }
    bool RowsChanged() const { return fRowsChanged; }
    bool ColsChanged() const { return fColsChanged; }
    int SelectionBegCol() const { return fSelectionBegCol; }
    int SelectionEndCol() const { return fSelectionEndCol; }
    int SelectionMinCol() const { return fSelectionMinCol; }
    int SelectionMaxCol() const { return fSelectionMaxCol; }
    int SelectionOffset() const { return fSelectionOffset; }
    const TBookmark& SelectionAnchor() const { return fSelectionAnchor; }
    void SetSelectionAnchor(const TBookmark& value);
    TShiftState LastShiftState() const { return fLastShiftState; }
    TXColumn* ResizedColumn() const;

    // ---- metrics (xdb_grid_layout.cpp) ----
    int ColLineWidth() const;
    int RowLineWidth() const;
    int RowHeight() const { return DefaultRowHeight() + RowLineWidth(); }
    int TitleHeight() const;
    int TotalHeight() const;
    int DataRowsHeight() const;
    int DataHeight() const;
    int BlankHeight() const;
    int ColumnsWidth() const;
    int FixedColsWidth() const;
    int ScrollBarHeight() const;
    int ScrollBarWidth() const;
    int TitleRowCount() const { return fTitleOffset; }
    int TotalRowCount() const;
    int TotalHeaderRowCount() const { return fTotalHeader; }
    int TotalValuesRowCount() const { return fTotalValues; }
    int TotalFieldsRowCount() const;
    int TotalFooterRowCount() const { return fTotalFooter; }
    // Data rows that fit: at least 1.
    int VisibleDataRowCount() const;
    int IndicatorOffset() const { return fIndicatorOffset; }
    int TitleOffset() const { return fTitleOffset; }
    int TotalOffset() const { return fTotalOffset; }
    // The showing columns in collection order, as the last layout found them.
    const std::vector<TXColumn*>& VisibleColumns() const { return fVisibleColumns; }
    TColor FixedLineColor() const;

    // ---- painting (xdb_grid_paint.cpp) ----
    // The indicator glyphs in use: IndicatorImages when set, else the built-in strip.
    TImageList* Indicators() const;
    TImageList* CheckBoxes() const { return fCheckBoxes.get(); }
    // The sort markers in use: TitleMarkers when set, else the built-in strip recoloured for the
    // effective marker style (rebuilt only when that style or the transparency changes).
    TImageList* Markers();
    TMarkerStyle GetMarkerStyle() const;
    bool GetMarkerTransparent() const;
    // The box style an automatic CheckBoxStyle stands for under the grid's FixedStyle (pictures in
    // data cells, xdb_grid_cell_picture.cpp).
    TCheckBoxStyle GetBoxStyle(TCheckBoxStyle style) const;
    // The colours a role takes for clDefault.
    TColor DefaultSelectCellColor() const { return clHighlight; }
    TColor DefaultHighlightText() const { return clHighlightText; }
    TColor DefaultSelectionColor() const { return clGradientActiveCaption; }
    TColor DefaultSelectRowColor() const { return clGradientInactiveCaption; }
    TColor DefaultStripeColor() const;
    TColor DefaultDataLineColor() const;
    // The grid's own drawing of a data cell's content (its column line, then its picture or text),
    // for OnDrawColumnCell handlers; and of a field's text.
    void DefaultDrawColumnCell(const TRect& Rect, int DataCol, TXColumn* Column, TGridDrawState State);
    void DefaultDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
    // The raw cell being painted, and the raw row last painted as the current record's.
    int PaintCol() const { return fPaintCol; }
    int PaintRow() const { return fPaintRow; }
    int SelRow() const { return fSelRow; }
    // While a data cell is drawn: whether it is highlighted, and how it is selected.
    bool Highlight() const { return fHighlight; }
    TSelections Selections() const { return fSelections; }

    // ---- scrolling (xdb_grid_scroll.cpp) ----
    // Rows per wheel step: WheelScrollRows above 0, the desktop's wheel lines for 0, a page (the
    // link's buffer, 1 without data) for -1.
    int MouseWheelScrollRows() const;
    // ---- position keeping (xdb_grid_position.cpp) ----
    // Freezes the current record and its screen row (nested; the dataset's controls are
    // disabled at the outermost), and puts them back at the outermost EnablePosition: the saved
    // record, or the current one with UseCurrentRec, on the saved row.
    void DisablePosition();
    void EnablePosition(bool UseCurrentRec);
    // Shows the record of `Bookmark` (the current one when empty) on visible row `Position`;
    // false without data or for a bookmark that is not valid.
    bool GotoPosition(int Position, const TBookmark& Bookmark);
    bool PositionDisabled() const { return fPositionDisabled > 0; }

    // ---- keys and editing (xdb_grid_keys.cpp, xdb_grid_edit.cpp) ----
    // Makes raw column `RawCol` current (clamped into the data columns); a Step skips columns
    // that take no room in its direction. Pending editor text is written first, ColExit and
    // ColEnter run around the move. Returns the column reached: ColCount() past the last one.
    int SelectColumn(int RawCol, int Step);
    // Moves the dataset by `Distance` records (dropping a row selection unless Select).
    void MoveRecord(bool Select, int Distance);
    // One record on; an untouched inserted record is cancelled instead, and with Append a record
    // is appended at the end when the grid may insert.
    void NextRecord(bool Select, bool Append);
    // One record back; an untouched record appended at the end is cancelled instead.
    void PriorRecord(bool Select);
    // Tab and Shift+Tab: the next (previous) column with a tab stop, going on to the next
    // (previous) record past the ends.
    void TabColumn(bool Forward);
    // Ctrl+Delete: deletes the current record or the selected rows, asking first with
    // dgConfirmDelete.
    void DeleteRecords();
    // The editor style of the selected column by its ButtonStyle and field; `DataEditor` gets the
    // pop-up an esPickList style opens (dePickList unless told otherwise).
    TXEditStyle GetColumnEditStyle(TXDataEditor& DataEditor);
    // The first column from FromIndex on whose FieldName is `FieldName` in any letter case; none
    // past the last column. ColumnByName raises "Field '%s' not found" instead of none.
    TXColumn* FindColumn(std::string_view FieldName, int FromIndex = 0) const;
    TXColumn* ColumnByName(std::string_view FieldName, int FromIndex = 0) const;
    // The colour of the in-place editor when EditorColor is clDefault.
    static constexpr TColor DefaultEditorColor() { return clInfoBk; }

    // ---- actions (xdb_grid_actions.cpp) ----
    // An action aimed at the grid's data source (a data-set action) runs there, or brings its
    // state up to date for it; true when the data link took it, false for any other action.
    bool ExecuteAction(TBasicAction& Action);
    bool UpdateAction(TBasicAction& Action);

    // ---- totals and delayed updates (xdb_grid_totals_calc.cpp, xdb_grid_delayed.cpp) ----
    // The text of Column's total cell in total row Index (counted from the row after the blank
    // row): the total shown there, through OnTotalGetText; empty without one or when hidden.
    virtual std::string GetTotalText(TXColumn* Column, int Index, TTextKind TextKind);
    // The grid rows a total of Column shows in, as offsets from the blank row; false when its row
    // kind is not shown.
    bool TotalRowSpan(const TXColumn* Column, const TXColumnTotal* Total, int& First, int& Last) const;
    // Repaints the cells of one total.
    void InvalidateTotal(const TXColumn* Column, const TXColumnTotal* Total);
    // One pass over the header, value and footer totals of every column; true when any took part.
    virtual bool CalcTotalsPass(TCalcPass Pass, bool SelectedOnly);
    // The total-row height the fonts of the totals in use ask for (0 without total rows).
    int TotalRowHeightFromFonts();
    // dgForceSequence with an active link: the grid numbers the records itself.
    bool ForcedSequence() const;
    // Closes and opens the dataset again, back on the record of KeyFields (or the same row).
    void RefreshDataSet();
    // A delayed request is waiting on its timer.
    bool ListItemsPending() const { return fLoaderTimer != nullptr; }
    bool SequencePending() const { return fUpdateTimer != nullptr; }
    bool TotalsPending() const { return fTotalsTimer != nullptr; }

    // ---- update flags ----
    bool InUpdateListItems() const { return fInUpdateListItems; }
    bool InUpdateSequence() const { return fInUpdateSequence; }
    bool InUpdateTotals() const { return fInUpdateTotals; }
    bool UpdateInProgress() const { return fInUpdateListItems || fInUpdateSequence || fInUpdateTotals; }
    bool LayoutFromDataSet() const { return fLayoutFromDataSet; }
    bool UpdateFields() const { return fUpdateFields; }
    bool StretchActive() const { return fStretchActive; }
    // Fits the showing columns' widths to the client width within their limits, while stretching
    // is active (xdb_grid_stretch.cpp); the widths it sets do not stretch again.
    void StretchGrid();
    bool Mirroring() const { return fManagement; }
    // The columns are being read from or written to a stream.
    TComponentState ColumnsState() const { return fColumnsState; }

    // ---- operations other parts call ----
    // Lays out again unless a lock holds the layout (whoever holds it lays out at its end).
    virtual void LayoutChanged();
    // Brings the vertical scroll bar up to date with the data.
    virtual void UpdateScrollBar();
    // Brings the horizontal bar (by columns) up to date; the base grid keeps it, flat mode being
    // always off.
    void UpdateHorzScrollBar();
    // The reaction of the total cells to changed data: trCaption lays out again; any other kind
    // repaints the cells of the totals of that kind (bound to Field when one is given).
    virtual void TotalsDataChanged(TTotalResult Kind, TField* Field);
    void BeginUpdate();
    void EndUpdate();
    int UpdateLock() const { return fUpdateLock; }
    void BeginLayout();
    void EndLayout();
    // Begins a layout only when no update or layout lock is held; tells whether it did.
    bool TryBeginLayout();
    // Ends one layout level without laying out, and lays out later from a posted message.
    void DeferLayout();
    bool LayoutLocked() const { return fLayoutLock > 0; }
    // The reaction to a change of the dataset's data.
    void RefreshData();
    // The current row follows the link's active record.
    void UpdateActive();
    // Writes the editor's remembered text into the selected column.
    void UpdateData();
    // Takes the focus when the grid may; true when the grid or its editor has it then.
    bool AcquireFocus();
    // Climbs from Col through its parent columns while ADepth is below their depth.
    TXColumn* ColumnAtDepth(TXColumn* Col, int ADepth) const;
    // The collection column of a raw column; nil for the indicator or outside.
    TXColumn* RawToColumn(int ACol) const;
    // The raw column of a showing column; -1 when it is not shown.
    int ColumnToRaw(const TXColumn* Column) const;
    // Sets the base LeftCol, not before the fixed columns.
    void SetLeftColumn(int RawCol);
    // Whether the desktop's visual theme applies (the theme service is on), and the grid looks themed.
    bool ThemesEnabled() const;
    bool IsGridThemed() const { return ThemesEnabled() && fFixedTheme != ftNone; }
    // ---- drop-down and context menus (xdb_grid_menus.cpp) ----
    // Drops a menu down under a title (Title) or under the column's cell in the current row: the
    // given menu, else the title's or column's DropDownMenu, else (no column) the filler's or the
    // indicator's menu. False when there is none. A title menu hides the editor, and with
    // dgAlwaysShowEditor the editor comes back afterwards, also when the menu raises.
    bool DropDownMenu(TXColumn* Column, bool Title, TPopupMenu* PopupMenu = nullptr);
    // Where such a menu opens, in screen coordinates.
    TPoint DropDownPoint(TXColumn* Column, bool Title);
    // Requests of the list items, numbering and totals: with CheckAutoUpdate only when the
    // grid's option for it is on.
    void UpdateListItems(bool CheckAutoUpdate);
    void UpdateSequence(bool CheckAutoUpdate);
    void UpdateTotals(bool CheckAutoUpdate);
    // The request to bring the sort markers and the dataset's order together.
    void UpdateOrder(bool CheckAutoUpdate);
    // The selection bracket: changes inside it are reported once when the outermost ends (200 ms
    // later with dgDelaySelectedRows, the wait starting again at each such end); CancelSelect
    // ends a bracket as EndSelect does.
    void BeginSelect();
    void EndSelect();
    void CancelSelect();
    // Clears the selected rows, the anchor, the selected columns and the column range.
    void ClearSelection();
    // A lock under which the grid does not react to the dataset's changes itself.
    void BeginChange() { ++fChangeLock; }
    void EndChange() {
        if (fChangeLock > 0) --fChangeLock;
    }
    // Marks rows changed and raises OnRowSelect (not while the grid is being destroyed).
    virtual void RowSelect(TSelectAction Action);
    // The selected columns changed (freeing the list first makes it be built again).
    void SelectedColsChanged(bool ReleaseList);
    // Repaints: the data rows, the current row, one grid column, the title band, the total area.
    // Each does nothing before the window exists.
    void InvalidateDataRows();
    void InvalidateTitles();
    void InvalidateTotals();
    void InvalidateGridRow(int ARow);
    // While the lock is raised, a grid that is not double-buffered ignores Invalidate.
    void Invalidate() override;
    void BeginInvalidate() { ++fInvalidateLock; }
    void EndInvalidate() {
        if (fInvalidateLock > 0) --fInvalidateLock;
    }
    void InvalidateCurrentRow();
    void InvalidateGridCol(const TXColumn* Column);
    // Refreshes the editor (its text and place) when it is open.
    void RefreshEditor();
    // The canvas with `font`, for measuring text (the recorder's metrics when one is attached).
    TCanvas* MeasureCanvas(const TFont* font);
    int TextHeightOf(const TFont* font);
    // Text conversion of a column's cell: sets nothing by itself, the events may change it.
    virtual void ColGetText(TXColumn* Column, std::string& Text, TTextKind TextKind);
    virtual void ColSetText(TXColumn* Column, std::string& Text);

    // ---- sort markers and the order (xdb_grid_order.cpp) ----
    // Marker changes inside the bracket are one change: the outermost end notices a changed
    // OrderFields, repaints the titles and calls DoOrderChanged once.
    void BeginOrderUpdate();
    void EndOrderUpdate();
    template <class F>
    void InOrderUpdate(F&& f) {
        BeginOrderUpdate();
        try {
            f();
        } catch (...) {
            EndOrderUpdate();
            throw;
        }
        EndOrderUpdate();
    }
    int OrderUpdateLock() const { return fOrderChangeLock; }
    // Sets the markers from order text without ordering the dataset and without notice.
    void SetupOrderFields(const std::string& Value);
    // Sets the markers from the dataset's present order.
    void SetupCurrentOrder();
    // Orders the dataset by `AOrderFields` (empty: OrderFields); false when no way of ordering
    // applies to the dataset. The ordering module fills these in.
    virtual bool ChangeDataSetOrder(const std::string& AOrderFields);
    virtual std::string CurrentDataSetOrder();
    // The dataset was reordered: OnOrderUpdated.
    virtual void OrderUpdated();

    // ---- titles, filler, indicator and total cells under the mouse (xdb_grid_titles.cpp) ----
    // The expand button of a title under X, Y (and its column); never on a header row.
    bool ExpandButtonAt(int X, int Y, TXColumn*& Column);
    // The raw column of the title pressed or hot (-1: none), whether it is tracked, drawn
    // pressed, or hot (and on its expand button).
    int TrackedTitle() const { return fTitleTrack.Tracked; }
    bool TitleTracking() const { return fTitleTrack.Tracking; }
    bool TitlePressed() const { return fTitleTrack.Pressed; }
    bool TitleHot() const { return fTitleTrack.Hot; }
    bool ExpandButtonHot() const { return fTitleTrack.HotExpand; }
    // Repaints the title rows of a raw column (the filler for the indicator column).
    void InvalidateTitle(int RawCol);
    // The look of a hot title: HotButtons, or for hbAuto the one that goes with FixedStyle.
    THotButtons GetHotButtons() const;

    // ---- events ----
    TCalcBoldDaysEvent OnCalcBoldDays;
    TCalcImageIndexEvent OnCalcImageIndex;
    TDBGridClickEvent OnCellClick;
    TCellHintEvent OnCellHint;
    TNotifyEvent OnColEnter;
    TNotifyEvent OnColExit;
    TDBGridClickEvent OnColExpand;
    TColGetTextEvent OnColGetText;
    TColSetTextEvent OnColSetText;
    TMovedEvent OnColumnMoved;
    TColumnMovingEvent OnColumnMoving;
    TNotifyEvent OnColumnResize;
    TColumnScrollEvent OnColumnScroll;
    TDrawDataCellEvent OnDrawDataCell;
    TDrawColumnCellEvent OnDrawColumnCell;
    TPaintColumnCellEvent OnPaintColumnCell;
    TNotifyEvent OnEditButtonClick;
    TDBGridClickEvent OnExpandClick;
    TNotifyEvent OnFillerClick;
    TNotifyEvent OnIndicatorClick;
    THeaderClickEvent OnHeaderClick;
    TDBGridClickEvent OnTitleClick;
    TTotalClickEvent OnTotalClick;
    TXDBGridLayoutEvent OnLayout;
    TListCloseUpEvent OnListCloseUp;
    TListDropDownEvent OnListDropDown;
    TNotifyEvent OnListItemsUpdated;
    TNotifyEvent OnSequenceUpdated;
    TNotifyEvent OnTotalsUpdated;
    TNotifyEvent OnOrderChanged;
    TNotifyEvent OnOrderUpdated;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnRowResize;
    TRowSelectEvent OnRowSelect;
    TNotifyEvent OnSelectedColsChanged;
    TNotifyEvent OnSelectedRowsChanged;
    TNotifyEvent OnSelectionChanged;
    TTotalCalcQueryEvent OnTotalCalcQuery;
    TTotalCalcValueEvent OnTotalCalcValue;
    TTotalGetTextEvent OnTotalGetText;

    // ---- mouse scrolling, hover and column moves (xdb_grid_mouse_scroll.cpp, xdb_grid_column_move.cpp) ----
    // A left press in the data rows is being dragged: beyond the data area the data scrolls on a
    // timer, the farther away the faster.
    bool ScrollTracking() const { return fScrollTracking; }
    // The data cell of a check-box column under the mouse (-1, -1 for none), and whether the
    // check-box cell pressed is still under the mouse.
    TGridCoord HotCell() const { return fHotCell; }
    bool CellPressed() const { return fCellPressed; }
    // The header row of Column's title under Y (0 for the top one), -1 when Y is not on one of
    // them, without a column or without dgTitleHeaders.
    int HeaderRowAt(const TXColumn* Column, int Y) const;

    // ---- multi-selection (xdb_grid_select*.cpp) ----
    // The column range: a begin column before SelectionOffset is none, and none ends the column
    // mode; an end column needs a begin column. Each marks the selected columns changed when the
    // range it makes counts.
    void SetSelectionBegin(int DataCol);
    void SetSelectionColumnMode(bool Value);
    void SetSelectionEnd(int DataCol);
    bool SelectionColumnMode() const { return fSelectionColumn; }
    // A range of rows is being stretched by Shift with keys or by the mouse.
    bool Selecting() const { return fSelecting; }
    // The anchor becomes the current record when none is set; the current record against it
    // (-1 before, 0 on it or without an anchor, 1 after).
    void EnsureSelectionAnchor();
    int CompareWithAnchor() const;
    // Bulk operations, each in one selection bracket; all but ClearSelection and UnselectAll need
    // an active link and bring the dataset to browse mode first. Record walks keep the current
    // record on its screen row.
    void SelectAll();
    void InvertAll();
    void UnselectAll() { ClearSelection(); }
    // From the current record to the anchor, the anchor included.
    void SelectRows();
    void InvertRows();
    void UnselectRows();
    // The current record only (nothing for a record without a bookmark).
    void ToggleRow();
    void SelectRow();
    void UnselectRow();
    // Calls DoProc for every cell of the scope, the current record being the cell's; fsAutoSelect
    // is the selection when there is one, else the whole dataset.
    void ForEachDataCell(const TForEachCellProc& DoProc, TForEachCellScope Scope);
    // The selected cells as text on the clipboard: cells split by tabs, lines ended by CR LF.
    void CopyToClipboard();
    // Reports the changes of the closed selection brackets now (the delayed report, or at once).
    void SelectionDone();

    // ---- the nested dataset's pop-up editor ----
    // The pop-up editor of a column whose field holds a nested dataset (xdb_grid_popup_editor.cpp):
    // a floating grid over the nested dataset at X, Y on the screen (kPopupAtCell: at the current
    // cell), made once per nested dataset and shown again afterwards; nothing for other columns.
    // A failure while it is built frees it and passes on.
    virtual void ShowPopupEditor(TXColumn* Column, int X, int Y);

    // ---- hints and tool tips (xdb_grid_hints.cpp) ----
    // The grid's answer to the hint query for the mouse at Pos (client coordinates): fills Info
    // (text, cursor rectangle, place, window, hide time-out) and answers 0 for a hint window,
    // non-zero for none; the grid's Hint follows the hinted cell.
    int HintQuery(TPoint Pos, THintInfo& Info);
    // The pause before a hint that follows another: the short pause after a tool-tip stage (state
    // 1), the normal one after a hint stage (state 2), `Pause` unchanged in state 0.
    int HintShowPause(int Pause) const;
    int HintPauseState() const { return fHintPause; }
    // Times the hint windows (made on first use).
    TXHintManager* HintManager();
    // The input method of the selected column applied to the grid (and its editor): the saved
    // settings, then the column's own. Stored only: the desktop's input methods do the work.
    void ApplyColumnIme();
    TImeMode OriginalImeMode() const { return fOriginalImeMode; }
    const std::string& OriginalImeName() const { return fOriginalImeName; }
    // The options a new grid starts with: the defaults, with dgAlwaysShowEditor in the Korean
    // user locale (the system locale's language).
    static TXDBGridOptions DefaultOptionsFor(bool Korean);
    static bool KoreanUserLocale();

    // ---- fixed-cell looks: themed cells, button states, the window border, right to left (xdb_grid_themed.cpp, xdb_grid_fixed_paint.cpp) ----
    // A fixed cell is drawn through the theme service on a themed grid with both line options.
    bool FixedCellsThemed() const;
    // The state a fixed cell at raw ACol, ARow shows: disabled while the grid is, pressed for the
    // title held down (not by its expand button), hot for the hot title, else normal.
    TThemedState FixedCellState(int ACol, int ARow) const;
    // The themed background of a fixed cell by FixedTheme (ARect without its frame pixel).
    void DrawThemedFixedCell(const TRect& ARect, int ACol, int ARow);
    // The themed check box of the data cell being painted (PaintCol, PaintRow) for a check index
    // (0 unchecked, 1 checked, 2 neither): hot or pressed under the mouse where a click toggles it.
    TThemedDetails ThemedCheckBox(const TXColumn* Column, int CheckIndex) const;
    // The expand button of Column's title drawn themed in its square; false on an unthemed grid,
    // where the caller draws the indicator glyph instead.
    bool DrawThemedExpandButton(const TXColumn* Column, const TRect& Button);
    // The title at raw ACol drawn pressed (held down and under the mouse), or hot.
    bool TitleDrawnPressed(int ACol) const;
    bool TitleDrawnHot(int ACol) const;
    // Right to left: the grid reads right to left, and a column's text and pictures follow it
    // unless SuppressRTL or a kind of field (numbers, dates) that keeps its alignment.
    bool IsRightToLeft() const { return fBiDiMode != bdLeftToRight; }
    bool ColumnRightToLeft(const TXColumn* Column) const;
    bool FieldRightToLeft(const TField* Field) const;

    // ---- the mirrored layout of a right-to-left grid (xdb_grid_rtl.cpp) ----
    // With BiDiMode bdRightToLeft the columns stand mirrored: the indicator at the right edge, the
    // first column next to it, each cell's line at its left.
    bool UseRightToLeftAlignment() const override;
    // The edge a cell begins at in column order: its left, its right on a mirrored grid.
    int LeadingEdge(const TRect& R) const;
    // `Part`, laid out left to right inside `Whole`, where it stands on a mirrored grid (reflected
    // within `Whole`); unchanged on a left-to-right grid.
    TRect MirrorIn(const TRect& Part, const TRect& Whole) const;
    // The line after a cell in column order, `Width` pixels outside it from Top to Bottom: right
    // of the cell, left of it on a mirrored grid.
    TRect TrailingStrip(const TRect& R, int Width, int Top, int Bottom) const;
    // R reaching `By` pixels further on its trailing side (over the line after it).
    TRect ExtendedTrailing(const TRect& R, int By) const;

    // ---- column groups and multi-level titles (xdb_grid_groups.cpp, xdb_grid_header_paint.cpp) ----
    // The title cell of the column at title depth Depth above Col: the cells at row Depth of the
    // columns of its group that show on screen. A leaf's or a collapsed group's title reaches
    // down through the last title row. Empty when no such column shows.
    TRect ColumnTitleRect(TXColumn* Col, int Depth) const;
    // ColumnTitleRect at title row Row, with an expanded group's title as wide as the whole group
    // (its children scrolled out on the left count), a column's at least its width, and at least
    // the row's height: the rectangle its caption is placed in.
    TRect ColumnTitleCellRect(TXColumn* Col, int Row) const;
    // One header row of Column's title: Full spans the neighbours that share the header text
    // (HeaderLeft and HeaderRight, followed along), the caption is placed in it; Visible is the part
    // of it on screen, which takes the background, the frame and the clipping.
    struct THeaderRowRects {
        TRect Full;
        TRect Visible;
    };
    THeaderRowRects HeaderRowRect(TXColumn* Column, int Index, const TRect& TitleCell) const;
    // Over the title rows the column named is the one whose title is at that depth: a point over
    // a group's title names the group's own raw column.
    TGridCoord MouseCoord(int X, int Y) const override;

protected:
    // ---- factories of the owned parts ----
    virtual std::unique_ptr<TXDBGridColumns> CreateColumns();
    virtual std::unique_ptr<TXGridDataLink> CreateDataLink();
    virtual std::unique_ptr<TXFGradientButton> CreateGradient();
    virtual std::unique_ptr<TXGridStyle> CreateGridStyle();
    virtual std::unique_ptr<TXScrollProp> CreateScrollProp();
    virtual std::unique_ptr<TXDBGridSettings> CreateSettings();
    virtual std::unique_ptr<TXTotalDataLink> CreateTotalDataLink();
    virtual std::unique_ptr<TXDBGridTotals> CreateTotals();

    // ---- the grid's own operations, each in the file of its concern ----
    // Fills the link's field map: one entry per column when customized, else per visible field.
    virtual void DefineFieldMap();
    virtual void LinkActive(bool Value);
    virtual void Scroll(int Distance);
    virtual void UpdateColumnTabs();
    virtual void ListItemsUpdated();
    virtual void SequenceUpdated();
    virtual void TotalsUpdated();
    virtual void DoUpdateListItems();
    virtual void DoUpdateSequence();
    virtual void DoUpdateTotals(bool SelectedOnly);
    virtual void DoUpdateOrder();
    // Runs delayed updates at once.
    virtual void PerformDelayed();
    virtual void RecordChanged(TField* Field);
    // A click on a data cell: ticks a check box as its column's CheckBoxToggle says, then
    // OnCellClick.
    virtual void CellClick(TXColumn* Column);
    // Clicks on the fixed cells (xdb_grid_titles.cpp), each raising its event; the filler drops
    // its menu down instead when it shows the default glyph; an expand click opens or closes a
    // group, drops the title's menu down or raises OnExpandClick by the column's ExpandStyle.
    virtual void TitleClick(TXColumn* Column);
    virtual void HeaderClick(TXColumn* Column, int Index);
    virtual void FillerClick();
    virtual void IndicatorClick();
    virtual void TotalClick(TXColumn* Column, int Index);
    virtual void ExpandClick(TXColumn* Column);
    // The order-changed notice: with dgAutoUpdateOrder the dataset is ordered, and OnOrderChanged
    // is raised when that is off or no way of ordering applied.
    virtual void DoOrderChanged();
    virtual void ColEnter();
    virtual void ColExit();
    virtual void ColExpand(TXColumn* Column);
    virtual void CalcImageIndex(TXColumn* Column, int& Index);
    virtual bool CanEditColumn(TXColumn* Column);
    virtual TFocusRect GetFocusRect() const { return fFocusRect == frAuto ? frDefault : fFocusRect; }
    // Whether the cell shows as selected: multi-selected (fixed cells only with msFixed), or the
    // selected cell while the selection shows.
    virtual bool HighlightCell(int DataCol, int DataRow, TGridDrawState State, const std::string& Text);
    // Hooks that raise the grid's events, for descendants to replace.
    // OnColumnMoving with column indexes while Accept is still true.
    virtual void ColumnMoving(int FromIndex, int ToIndex, bool& Accept);
    virtual void DrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
    virtual void DrawColumnCell(const TRect& Rect, int DataCol, TXColumn* Column, TGridDrawState State);
    virtual void PaintColumnCell(const TRect& Rect, int DataCol, TXColumn* Column, bool Highlight,
                                 TSelections Selections, TColor& Color, TFont* Font, TPersistent*& Image);
    // OnEditButtonClick when assigned, else the selected column's pop-up editor.
    virtual void EditButtonClick();
    // OnCellHint; a handler that raises clears the hint.
    virtual void CellHint(TXColumn* Column, int Index, THintCell HintCell, std::string& HintStr);
    // OnListCloseUp and OnListDropDown with the selected column.
    virtual void ListCloseUp(TObject* List, Variant& Value, bool& Accept);
    virtual void ListDropDown(TObject* List);
    // OnTotalCalcQuery (Accept starts true) and its answer; OnTotalCalcValue.
    virtual bool TotalCalcQuery(TDataSet* DataSet);
    virtual void TotalCalcValue(TXColumnTotalValue* Total, TCalcPass Pass, Variant& Value);
    // Sets the text of a total cell, then lets OnTotalGetText change it.
    virtual void DoTotalGetText(TXColumn* Column, int Index, std::string& Text, TTextKind TextKind,
                                const std::string& Value);
    // The ends of a selection bracket that changed something.
    virtual void DoSelectionChanged();
    virtual void DoSelectedRowsChanged();
    virtual void DoSelectedColsChanged();
    // The cell step of CopyToClipboard: gathers the cell's text into the lines copied.
    virtual void CopyCellText(TXColumn* Column, TForEachCellFlags Flags);

    // ---- hints and tool tips (xdb_grid_hints.cpp) ----
    // What a total shown in the total area gives the hints: its hint, display text, font,
    // alignments, wrapping, tool-tip settings and image; false where no total is shown
    // (xdb_grid_totals_calc.cpp).
    struct TTotalHint {
        std::string Hint;
        std::string Text;
        TFont* Font = nullptr;
        TAlignment Alignment = taLeftJustify;
        TVAlignment VAlignment = tvCenter;
        bool WordWrap = false;
        bool ToolTips = true;
        TToolTipsWidth ToolTipsWidth = ttAutoWidth;
        int ImageIndex = -1;
    };
    virtual bool TotalHintOf(TXColumn* Column, int Index, TTotalHint& Total);
    // Focus from outside takes the selected column's input method; leaving resets the grid's to
    // the screen's default (xdb_grid_ime.cpp).
    void DoEnter() override;
    void DoExit() override;
    // The tool-tip request, mouse moves, keys, clicks and the wheel for the hints; leaving the
    // window. True when the event is taken (WidgetEvent asks first).
    bool HintEvent(QEvent* e, bool viewport);

    // ---- the base grid and the control ----
    // The window frame's edges by FixedStyle and theme (bsSingle without Ctl3D, both lines).
    void PaintGridBorder(TCanvas* Canvas, const TRect& Window) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool CanEditShow() const override;
    void ColWidthsChanged() override;
    void GridMessage(uint32_t Msg) override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The grid's MouseDown decides what a double click is (a column border's optimal width).
    bool DoubleClicks() const override { return false; }
    // Column borders only with roColumnResize and on data columns (remembered as the sizing
    // column); row borders not in the total area.
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                         const TGridDrawInfo& DrawInfo) override;
    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyUp(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;
    // Leaving the grid: an untouched inserted record is cancelled with dgCancelOnExit, otherwise
    // pending edits are written (an error keeps the focus in the grid).
    void GridExit() override;
    bool CanEditAcceptKey(char16_t Key) override;
    bool CanEditModify() override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    int GetEditLimit() override;
    std::string GetEditMask(int ACol, int ARow) override;
    TInplaceEdit* CreateEditor() override;
    void DoFontChanged(bool ByParent) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void VertScrollCommand(TScrollCode Code, int Pos) override;
    void HorzScrollCommand(TScrollCode Code, int Pos) override;
    void TimedScroll(TGridScrollDirections Direction) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void TopLeftChanged() override;
    void RowHeightsChanged() override;
    // The window came into being: the grid settles its rows and bars.
    virtual void CreateWnd();
    bool WindowCreated() const { return fWindowCreated; }

    // ---- mouse scrolling, hover and column moves ----
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // The toolkit's context-menu request: a mouse's is taken at the right button's release.
    bool WidgetEvent(QEvent* e, bool viewport) override;
    // Also ends mouse scrolling and the tracking of a check-box cell.
    void CancelMode() override;
    // Column moves by title need roColumnMoving, and customized columns or a column with a field;
    // a press on a header row moves nothing. Held beyond the scrolled columns, the view scrolls
    // one column per mouse move.
    bool BeginColumnDrag(int& Origin, int& Destination, TPoint MousePt) override;
    bool CheckColumnDrag(int& Origin, int& Destination, TPoint MousePt) override;
    bool EndColumnDrag(int& Origin, int& Destination, TPoint MousePt) override;
    // The base grid moved raw column FromIndex to ToIndex: the collection follows when
    // ColumnMoving accepts (the column's group along), else the raw column goes back.
    // The managed grid of the ring repeats an accepted move (MirrorColumnMove, xdb_grid_ring.cpp).
    void ColumnMoved(int FromIndex, int ToIndex) override;

    // A relayout setter: stores a changed value and lays out again.
    template <class T>
    void SetRelayout(T& field, const T& value) {
        if (field == value) return;
        field = value;
        LayoutChanged();
    }

private:
    friend class TXGridDataLink;
    friend class TXDBGridInplaceEdit;
    friend class TXDBGridColumns;
    friend class TXColumn;
    friend class TXDBGridTotals;
    friend class TXTotalDataLink;
    friend class TXColumnTotalValue;
    // construction (xdb_grid.cpp)
    void TitleFontChanged();
    void GridFontChanged(bool fromParent);
    // layout (xdb_grid_layout.cpp)
    void InternalLayout();
    void LayoutColumns();
    void LayoutDefaultColumns();
    void LayoutFixedCols();
    void CalcRowHeights();
    // The value rows of the total area: the most total values a column has.
    int TotalValueRows() const;
    void UpdateRowCount();
    void SetTotalRowHeights(bool forCounting);
    int ColumnTitleHeight(TXColumn* Column);
    bool ParentsExpanded(const TXColumn* Column) const;
    // setters (xdb_grid_setters.cpp)
    void ApplyBaseOptions(TXDBGridOptions value);
    void Auto3D(bool borderAdjust);
    // link (xdb_grid_link.cpp)
    void LinkActiveChanged();
    void LinkLayoutChanged();
    void LinkFocusControl(TField** Field);
    void LinkEditingChanged();
    void LinkRecordChanged(TField* Field);
    void LinkUpdateData();
    void FieldRemoved(const TComponent* Field);
    void LeaveMasterRing();
    void JoinMasterRing(TXCustomDBGrid* master);
    TXCustomDBGrid* PartEnd();
    static void Manage(TXCustomDBGrid* from, TXCustomDBGrid* to);
    // Every grid that follows this one (it is going) leaves the ring.
    void ReleaseFollowers();
    // The ring's mirrored changes (xdb_grid_ring.cpp): Synchronize unless this grid is taking a
    // copy already; the left column, and a column move (column indexes) passed to the managed grid.
    void SynchronizeRing();
    void MirrorLeftColumn();
    void MirrorColumnMove(int FromIndex, int ToIndex);
    // selection
    void RecomputeSelectionOffset();
    // painting (xdb_grid_paint.cpp)
    void DrawIndicatorCell(int ARow, const TRect& ARect, TGridDrawState State, bool gradient);
    void DrawTitleCell(TXColumn* Column, const TRect& ARect, TGridDrawState State, bool gradient);
    void DrawDataCellOf(TXColumn* Column, int DataCol, int DataRow, const TRect& ARect, TGridDrawState State);
    // The brush of a data row's cell: the column colour, or the stripe on odd rows.
    TColor DataCellColor(const TXColumn* Column, int DataRow, bool blankRow) const;
    // A data cell's picture for the current record (xdb_grid_cell_picture.cpp): the image from
    // the column's Images, else the box of a check-box column, else the picture of a graphic field
    // with ShowBlob; `owned` keeps what was made for it. Nil for a cell that shows text.
    TPersistent* CellPicture(TXColumn* Column, std::unique_ptr<TPersistent>& owned);
    // Draws the cell's picture, if any, and its text unless a picture that is no wallpaper was drawn.
    void DrawCellContent(TXColumn* Column, const TRect& ARect, TPersistent* Picture, const std::string& Text,
                         bool fixed);
    // A fixed cell's background: the gradient or a fill in the brush colour.
    void FillFixedBackground(const TRect& ARect, bool gradient);
    void DrawDataLines(const TRect& ARect, bool rowLine, bool colLine, bool lastColumn);
    void DrawColumnLine(const TRect& ARect, bool lastColumn);
    void DrawFixedFrame(const TRect& ARect, bool gradient);
    void DrawFocusFrame(const TRect& ARect);
    bool CellMultiSelected(int DataCol, bool fixed) const;
    bool ShowsSelection() const;
    bool IsLastShowingColumn(const TXColumn* Column) const;
    // ---- the line over the totals and multi-selected fixed cells (xdb_grid_total_line.cpp, xdb_grid_themed.cpp) ----
    // With dgRowLines, the first total row's line over it (FixedLineColor, black without column
    // lines); over a blank row without height only on a double-buffered grid or at design time.
    void DrawLineOverTotals(const TRect& ARect);
    // The background of a fixed column's data cell in the brush colour Colour: a multi-selected
    // one on a themed grid shows the lit header with ftDefault, else its text in Colour.
    void FillFixedDataCell(const TRect& ARect, TColor Colour, bool MultiSelected);
    // scrolling (xdb_grid_scroll.cpp)
    // Moves the data by `Distance` records (a scroll command, a wheel step, a timed scroll).
    void MoveData(int Distance);
    // How the vertical bar knows a record's place (the link is active).
    TRecordBarKind RecordBarKind() const;
    // A wheel step: its event first, then the move.
    bool MouseWheel(bool down, TShiftState Shift, TPoint MousePos);

    // ---- hints and tool tips (xdb_grid_hints.cpp) ----
    TPoint ClientToScreenPoint(TPoint P) const;
    void SetCellHintText(const std::string& Text);
    // Ends a title, total or data hint: OnCellHint, the window by `Show`, the pause state and Hint.
    void FinishCellHint(TXColumn* Column, int Index, THintCell Kind, std::string Text, bool Show,
                        THintInfo& Info, int& Result);
    void TitleHint(TGridCoord Cell, TPoint Pos, THintInfo& Info, int& Result);
    void TotalHint(TGridCoord Cell, int Index, THintInfo& Info, int& Result);
    void DataHint(TGridCoord Cell, THintInfo& Info, int& Result);
    // A tool tip of the cell: false when the column or total has none (the next stage may
    // go on), true when the query ends here.
    bool DataToolTip(TGridCoord Cell, THintInfo& Info, int& Result);
    bool TotalToolTip(TGridCoord Cell, int Index, THintInfo& Info, int& Result);
    // Places the tool tip over the cell (or a total's inner rectangle) and applies the fit test.
    void LayToolTip(const TRect& Cell, TVAlignment VAlignment, int Margin, int GraphicShift, THintInfo& Info,
                    int& Result);
    TAlignment HintAlignment(TAlignment Alignment, bool MayMirror) const;
    // The display text of a column in a buffered data row; the link's active record is restored.
    std::string HintCellText(TXColumn* Column, int DataRow);
    void MouseLeft();
    std::unique_ptr<TXHintManager> fHintManager;
    // ---- the nested dataset's floating grid (xdb_grid_popup_editor.cpp) ----
    // The floating grid this grid owns over that nested dataset, if any.
    TXCustomDBGrid* FloatingGridOf(const TDataSet* NestedDataSet) const;
    // The look a floating grid takes from this one.
    void CopyLookTo(TXCustomDBGrid& Grid) const;
    // input method (xdb_grid_ime.cpp): the settings saved when the window was made, and the
    // Korean locale's Esc state (Esc was pressed; any character key clears it)
    TImeMode fOriginalImeMode = imDontCare;
    std::string fOriginalImeName;
    bool fKoreanLocale = false;
    bool fIsEscKey = false;
    void SaveOriginalIme();
    void KoreanEscape(bool Escape);
    // Whether a changed record may replace the editor's text.
    bool EditorRefreshAllowed() const;

    // ---- owned parts ----
    std::unique_ptr<TFont> fTitleFont;
    std::unique_ptr<TFont> fHeaderFont;
    std::unique_ptr<TXDBGridColumns> fColumns;
    std::unique_ptr<TXGridDataLink> fDataLink;
    std::unique_ptr<TXBookmarkList> fBookmarks;
    std::unique_ptr<TXColumnList> fSelectedCols;
    std::unique_ptr<TXGridStyle> fGridStyle;
    std::unique_ptr<TXScrollProp> fScrollProp;
    std::unique_ptr<TXDBGridSettings> fSettings;
    std::unique_ptr<TXFGradientButton> fGradient;
    std::unique_ptr<TXDBGridTotals> fTotals;
    std::vector<TXColumn*> fVisibleColumns;

    // ---- options and properties ----
    TXDBGridOptions fOptions;
    TXDBGridOptionsEx fOptionsEx;
    TXDBGridOptionsExt fOptionsExt;
    TXHintOptions fHintOptions = kDefaultHintOptions;
    TXResizeOptions fResizeOptions = kDefaultResizeOptions;
    TMultiSelectOptions fMultiSelectOptions{msRows};
    bool fReadOnly = false;
    bool fDefaultDrawing = true;
    bool fDragRows = false;
    TColor fEditorColor = clNone;
    bool fFillerButton = true;
    TColor fFillerColor = clBtnFace;
    bool fCustomFillerColor = false;
    TColor fHeaderColor = clBtnFace;
    bool fCustomHeaderColor = false;
    std::string fFillerHint;
    std::string fIndicatorHint;
    std::string fMainHint;
    TPopupMenu* fFillerPopupMenu = nullptr;
    TPopupMenu* fIndicatorPopupMenu = nullptr;
    int fFillerIndex = -7;
    int fIndicatorWidth = 20;
    TImageList* fIndicatorImages = nullptr;
    TImageList* fTitleImages = nullptr;
    TImageList* fTitleMarkers = nullptr;
    int fHeaderLinesCount = 1;
    int fTitleLinesCount = 1;
    int fLinesCount = 1;
    int fLinesCountMax = -1;
    int fLinesCountMin = 1;
    int fFixedCols = 0;
    TFixedStyle fFixedStyle = fsDefault;
    TFixedTheme fFixedTheme = ftDefault;
    TFocusRect fFocusRect = frAuto;
    THotButtons fHotButtons = hbAuto;
    TListBorder fListBorder = lbAuto;
    TMarkerStyle fMarkerStyle = msAuto;
    TMarkerTransparent fMarkerTransparent = mtAuto;
    TColor fDataColLineColor = clDefault;
    TColor fDataRowLineColor = clDefault;
    TColor fHighlightText = clDefault;
    TColor fSelectCellColor = clDefault;
    TColor fSelectionColor = clDefault;
    TColor fSelectRowColor = clDefault;
    TColor fStripeColor = clNone;
    bool fStretchMode = false;
    bool fStretchActive = false;
    bool fStretching = false;
    int fGridWidth = 0;  // the space and the base total the last stretch left to free columns
    int fColsWidth = 0;
    int fStretchWidthMax = -1;
    int fStretchWidthMin = -1;
    int fWheelScrollRows = 0;
    TScrollStyle fScrollBars = ssBoth;
    bool fCtl3DAuto = true;
    TBiDiMode fBiDiMode = bdLeftToRight;
    TImeMode fImeMode = imDontCare;
    std::string fImeName;
    bool fDoubleBuffered = true;
    std::string fKeyFields;
    std::string fLastOrderFields;
    TXCustomDBGrid* fMasterGrid = nullptr;
    TXCustomDBGrid* fManageGrid = nullptr;
    bool fManagement = false;

    // ---- layout state ----
    int fTitleOffset = 1;
    int fIndicatorOffset = 1;
    int fTotalOffset = 0;
    int fTotalHeader = 0;
    int fTotalValues = 0;
    int fTotalFooter = 0;
    int fTotalRowHeight = 0;
    int fHeaderRowHeight = 0;
    int fLineHeight = 0;
    int fUpdateLock = 0;
    int fLayoutLock = 0;
    int fChangeLock = 0;
    int fInvalidateLock = 0;
    int fScrollLock = 0;
    int fLastResizedCol = -1;
    bool fRowCalculated = false;
    bool fLayoutFromDataSet = false;
    bool fUpdateFields = true;
    bool fSelfChangingTitleFont = false;
    bool fWindowCreated = false;
    bool fAcquireFocus = true;
    TComponentState fColumnsState;

    // ---- editing ----
    std::string fEditText;

    // ---- painting ----
    std::unique_ptr<TImageList> fIndicators;
    std::unique_ptr<TImageList> fCheckBoxes;
    std::unique_ptr<TImageList> fMarkers;
    int fLoadedStyle = -1;  // marker style + 12 x transparency the markers were built for
    int fPaintCol = -1;
    int fPaintRow = -1;
    int fSelRow = -1;
    bool fHighlight = false;
    TSelections fSelections;

    // ---- scrolling and position keeping ----
    int fRecCount = 0;
    int fRecNumber = 0;
    int fHintPause = 0;
    int fPositionDisabled = 0;
    TBookmark fLastBookmark;
    int fLastPosition = 0;
    int fLastLeftCol = -1;
    int fLastRowHeight = 0;

    // ---- selection ----
    int fSelectLock = 0;
    bool fRowsChanged = false;
    bool fColsChanged = false;
    int fSelectionOffset = 0;
    int fSelectionBegCol = -1;
    int fSelectionEndCol = -1;
    int fSelectionMinCol = -1;
    int fSelectionMaxCol = -1;
    bool fSelectionColumn = false;
    TBookmark fSelectionAnchor;
    TShiftState fLastShiftState;
    // The column whose border CalcSizingState found under the mouse (none when not sizing).
    TXColumn* fSizingCol = nullptr;
    // The column whose border is under X, Y when it may be sized by the mouse, else none.
    TXColumn* SizingColumnAt(int X, int Y);
    // A column exit is running (SelectColumn does not start another).
    bool fInColExit = false;
    bool CanModifyColumn(TXColumn* column, bool memoByColumn);
    // The mouse on data cells: the press hit the cell that was current already; the check-box
    // cell pressed and followed until the release (-1, -1 when none).
    bool fSelectedCell = false;
    TGridCoord fTrackCell{-1, -1};
    // The press moved the current cell in the data area, so the release reports a cell click.
    bool fDataClick = false;
    // With dgRightMoving a right press on a title was handed to the base grid as a left press:
    // its moves and release are handed on as the left button's.
    bool fRightMoving = false;
    // Whether a left press at a data cell starts dragging rows (DragRows).
    bool StartsRowDrag(TMouseButton Button, TGridCoord Cell) const;

    // ---- context menus (xdb_grid_menus.cpp) ----
    // The menu of the cell under X, Y for a right-button release; true when the release ends
    // there (a menu was shown, or it was a title's).
    bool ContextMenuAt(int X, int Y);
    // The menu a right click on the cell opens; Title tells whether the cell is a title's.
    TPopupMenu* ContextMenuOf(TGridCoord Cell, int Y, bool& Title);

    // ---- titles under the mouse (xdb_grid_titles.cpp) ----
    struct TTitleTrack {
        int Tracked = -1;           // raw column of the title pressed or hot
        bool Tracking = false;      // a title button is held down
        bool Pressed = false;       // ... and the mouse is still on it
        bool OnExpand = false;      // the press was on the title's expand button
        bool Hot = false;           // the title under the mouse (not held) is hot
        bool HotExpand = false;     // ... on its expand button
        TPoint PressXY;
        TGridCoord Press{-1, -1};   // the fixed cell pressed, for the release's click
    };
    TTitleTrack fTitleTrack;
    // A press on a title row: true when the title took it (tracking, or ignored).
    bool TitleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Tracking and hot titles; true when the move belonged to a tracked title.
    bool TitleMouseMove(TShiftState Shift, int X, int Y);
    // The release on the fixed cells: title, header, expand, filler, indicator and total clicks.
    // True when the release lay on them (the data cells' click is then not reported).
    bool FixedCellMouseUp(TShiftState Shift, int X, int Y, const TTitleTrack& track, bool dataClick);
    bool TitlePressedAt(int X, int Y);
    void SetTitleHot(int RawCol, bool hot, bool onExpand);
    // The frame of the title at raw ACol while it is held down or hot (its caption part, or its
    // expand button); ARect is the cell with its frame pixel.
    void DrawTitleButtonFrame(int ACol, const TRect& ARect);

    // ---- the order (xdb_grid_order.cpp) ----
    std::string fLockOrderFields;
    int fOrderChangeLock = 0;
    // Becoming active: the markers from the dataset, or the last order applied to it.
    void OrderOnActivation();
    // The default columns of a grid without open data carry no markers: the order is text only.
    bool OrderWithoutColumns() const;

    // ---- updates ----
    bool fInUpdateListItems = false;
    bool fInUpdateSequence = false;
    bool fInUpdateTotals = false;

    // ---- mouse scrolling, hover and column moves ----
    // Stretching is active while StretchMode is on and the link is active (xdb_grid_stretch.cpp).
    void UpdateStretchActive(bool LinkActive);
    // Whether a left press in the data rows (not taken by the editor) starts mouse scrolling.
    bool StartsMouseScrolling(TMouseButton Button, TShiftState Shift) const;
    void BeginMouseScrolling(int X, int Y);
    void MouseScrollMove(int X, int Y);
    // One step of mouse scrolling (also each timer tick); the timer follows the distance.
    void MouseScrollStep();
    void EndMouseScrolling();
    // The current column and record follow the mouse (x and y as told).
    void HoverStep(int X, int Y, bool Horizontal, bool Vertical);
    bool CanHoverTrack() const;
    void SetHotCell(TGridCoord Cell);
    void SetCellPressed(bool Pressed);
    void EndCellTracking();
    // The first (last) raw column that shows a column of Column's group; -1 when none shows.
    int GroupRaw(const TXColumn* Column, bool Last) const;
    // totals and delayed updates (xdb_grid_delayed.cpp, xdb_grid_total_paint.cpp)
    // The delay of a delayed request, restarted by each further request.
    static constexpr uint32_t kDelayedUpdateMs = 200;
    // A column fills its pick list from its field (poAutoLoadList on a field that can load).
    bool ColumnLoadsList(TXColumn* Column) const;
    bool AnyColumnLoadsList() const;
    // Starts (or restarts) a delayed request's timer; false when none could be made.
    bool StartDelayTimer(std::unique_ptr<TTimer>& timer, void (TXCustomDBGrid::*handler)());
    void ListItemsTimer();
    void SequenceTimer();
    void TotalsTimer();
    // The common frame of the workers: browse mode, position saved, controls disabled and the
    // scroll lock raised around `walk`; all put back also when it raises.
    template <class Walk>
    void WalkRecords(Walk walk);
    // A field went: the totals bound to it forget it.
    void TotalsFieldRemoved(const TComponent* Field);
    void DrawTotalCell(TXColumn* Column, int TotalRow, const TRect& ARect, bool gradient);
    // The total cell of a data column merges across column lines.
    bool MergedTotalCell(const TXColumn* Column) const;
    // After the frame of the total cell just drawn: the column line under a merged cell painted
    // over, then the cell's box.
    void FinishTotalCell(const TRect& ARect);
    // The raised edges of a merged total cell in place of the fixed frame's own (false for any
    // other cell).
    bool DrawMergedTotalEdges(const TRect& Frame, TColor Brush, bool gradient);
    TRect fPendingTotalBox;
    TColor fTotalCellColor = clBtnFace;  // the background of the total cell being drawn
    std::unique_ptr<TTimer> fLoaderTimer;
    std::unique_ptr<TTimer> fUpdateTimer;
    std::unique_ptr<TTimer> fTotalsTimer;
    bool fScrollTracking = false;
    std::unique_ptr<TTimer> fMouseScrollTimer;
    TPoint fScrollMousePos;
    TPoint fScrollStartPos;  // where the data area begins for mouse scrolling (0 until entered)
    TPoint fHoverPos{-1, -1};
    TGridCoord fHotCell{-1, -1};
    bool fCellPressed = false;
    TXColumn* fDragCol = nullptr;  // the column (or group) moved by its title

    // ---- multi-selection (xdb_grid_select*.cpp) ----
    bool fSelecting = false;
    std::unique_ptr<TTimer> fSelectTimer;
    bool fRowsChangedInReport = false;  // the report under way has changed rows too
    // The outermost bracket closed with changes: repaint changed columns, report now or later.
    void ReportSelection();
    // Whether the totals follow selection changes (dgAutoUpdateTotals with calculated values),
    // and whether any total band shows the selected rows only.
    bool TotalsFollowSelection() const;
    bool AnySelectedTotals() const;
    // Drops the selection unless dgAutoUnselectOff keeps it; the range in progress ends.
    void DropSelection();
    void RecomputeSelectionRange();
    // The selected columns changed through the column range: a list made from the range is made
    // again, one made column by column stays.
    void ColumnRangeChanged();
    bool CellsSelectable() const { return fMultiSelectOptions.Contains(msCells) && !fOptions.Contains(dgRowSelect); }
    // One step of a row range: moves by Distance, unselecting the record left when the move goes
    // back towards the anchor and selecting the record reached otherwise.
    void RangeStep(int Distance);
    // Shift with Page Up/Down, or Ctrl+Shift with End, Home, Up or Down: a range over many records.
    void BulkRangeKey(uint16_t Key);
    // The keys' part in the selection (KeyDown calls it first): true when the key was used up.
    bool SelectionKeyDown(uint16_t Key, TShiftState Shift);
    // Makes raw column RawCol current (SelectColumn); with Shift in browse state the column
    // range follows it, without Shift a column or cell selection is dropped first.
    int ColumnRangeStep(int RawCol, int Step, TShiftState Shift);
    // The selection a left press in the data rows or on a title makes with dgMultiSelect.
    void ClickSelect(TShiftState Shift, TGridCoord Cell);
    // The hover step's selection: the column range follows the current column; the rows follow
    // the mouse one record at a time.
    void HoverSelectColumn();
    void HoverSelectRows(int Distance);
    // Runs `step` on every record between the current one and the anchor, the anchor included.
    void WalkToAnchor(void (TXCustomDBGrid::*step)());
    // A title held down is dragged into a column selection: true when it was.
    bool TitleDragSelects(int X, int Y);
    // Runs f inside a selection bracket (closed also on failure).
    template <class F>
    void InSelect(F&& f) {
        BeginSelect();
        try {
            f();
        } catch (...) {
            EndSelect();
            throw;
        }
        EndSelect();
    }

    // ---- column groups and multi-level titles (xdb_grid_groups.cpp, xdb_grid_header_paint.cpp) ----
    // Opens or closes a group (TXColumn::SetExpanded on a grid at work): the layout follows, the
    // current column stays on a showing one, stretching and the editor are restored, OnColExpand.
    void ExpandColumn(TXColumn* Column, bool Value);
    // The visible cells, at title row Row, of the columns of Column's group that show, as one
    // rectangle (empty when none is on screen).
    TRect GroupCellsRect(const TXColumn* Column, int Row) const;
    // The title rows of a data column's raw column: each title drawn once, by the first of its
    // cells on screen (its group's title over its children, header rows merged with neighbours).
    void DrawTitleArea(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    void DrawHeaderRows(TXColumn* Column, const TRect& TitleCell, bool gradient);
    // Whether Column's title shows an expand button in a caption area that wide.
    bool ShowsExpandButton(const TXColumn* Column, int CaptionWidth) const;
    void DrawExpandButton(TXColumn* Column, const TRect& Button, bool gradient);
    // The ends of a title drag, raw columns of shown columns, as the raw columns of the collection
    // move that carries the dragged column's group whole.
    void GroupMoveEnds(int& Origin, int& Destination) const;
};

// The grid forms place: TXCustomDBGrid with every property published.
class TXDBGrid : public TXCustomDBGrid {
    TV_CLASS(TXDBGrid, TXCustomDBGrid)
public:
    explicit TXDBGrid(TComponent* AOwner = nullptr) : TXCustomDBGrid(AOwner) {}
};

}  // namespace tv
