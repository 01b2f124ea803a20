// The data grid: making and freeing it, its small properties, the hooks that raise its events, the
// selected column and the fonts' reactions.

#include "controls/xdb_grid.h"


#include "controls/xdb_grid_glyphs.h"
#include "platform/data/data_set.h"
#include "platform/gui/application.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menu.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXCustomDBGrid::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXCustomDBGrid>("TXCustomDBGrid").Build();
    return info;
}

const TClassInfo& TXDBGrid::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGrid>("TXDBGrid").Build();
    return info;
}

TXCustomDBGrid::TXCustomDBGrid(TComponent* AOwner)
    : TCustomGrid(AOwner),
      fTitleFont(std::make_unique<TFont>()),
      fHeaderFont(std::make_unique<TFont>()),
      fOptions(DefaultOptionsFor(KoreanUserLocale())),
      fOptionsEx(kDefaultGridOptionsEx),
      fOptionsExt(kDefaultGridOptionsExt) {
    fKoreanLocale = KoreanUserLocale();
    // The grid drives the vertical bar itself; the base grid only the horizontal one.
    TCustomGrid::SetScrollBars(ssHorizontal);
    TCustomGrid::SetOptions(
        {goVertLine, goHorzLine, goRowSizing, goColSizing, goColMoving, goEditing, goTabs});
    fColumns = CreateColumns();
    SetRowCount(2);
    SetColCount(2);
    fDataLink = CreateDataLink();
    SetColor(clWindow);
    SetParentColor(false);
    fTitleFont->OnChange = [this](TObject*) { TitleFontChanged(); };
    fBookmarks = std::make_unique<TXBookmarkList>(this);
    fHeaderFont->OnChange = [this](TObject*) { TitleFontChanged(); };
    fGridStyle = CreateGridStyle();
    fScrollProp = CreateScrollProp();
    fSettings = CreateSettings();
    fGradient = CreateGradient();
    fGradient->OnChange = [this](TObject*) { LayoutChanged(); };
    fTotals = CreateTotals();
    fSelectedCols = std::make_unique<TXColumnList>(this);
    fIndicators = std::make_unique<TImageList>();
    LoadGlyphStrip(fIndicators.get(), TGridGlyphStrip::Indicators);
    fCheckBoxes = std::make_unique<TImageList>();
    LoadGlyphStrip(fCheckBoxes.get(), TGridGlyphStrip::CheckBoxes);
    fMarkers = std::make_unique<TImageList>();
    HideEditor();
}

TXCustomDBGrid::~TXCustomDBGrid() {
    // The layout is saved while the grid is whole; a failure is reported and the grid still goes.
    if (fSettings->Active()) {
        try {
            fSettings->AutoSave();
        } catch (...) {
            HandleGuiException(this);
        }
    }
    // From here on the grid reacts to nothing: links, fields and rings let go of it first.
    BeginDestroy();
    fTitleFont->OnChange = nullptr;
    fHeaderFont->OnChange = nullptr;
    fGradient->OnChange = nullptr;
    fIndicatorImages = fTitleMarkers = fTitleImages = nullptr;
    SetMasterGrid(nullptr);
    ReleaseFollowers();
    fTotals->DataLink()->SetDataSource(nullptr);
    fDataLink->SetDataSource(nullptr);
}

std::unique_ptr<TXDBGridColumns> TXCustomDBGrid::CreateColumns() {
    return std::make_unique<TXDBGridColumns>(this, TXColumn::StaticClassInfo());
}

std::unique_ptr<TXGridDataLink> TXCustomDBGrid::CreateDataLink() {
    return std::make_unique<TXGridDataLink>(this);
}

std::unique_ptr<TXFGradientButton> TXCustomDBGrid::CreateGradient() {
    return std::make_unique<TXFGradientButton>(this);
}

std::unique_ptr<TXGridStyle> TXCustomDBGrid::CreateGridStyle() {
    return std::make_unique<TXGridStyle>(this);
}

std::unique_ptr<TXScrollProp> TXCustomDBGrid::CreateScrollProp() {
    return std::make_unique<TXScrollProp>(this);
}

std::unique_ptr<TXDBGridSettings> TXCustomDBGrid::CreateSettings() {
    return std::make_unique<TXDBGridSettings>(this);
}

std::unique_ptr<TXTotalDataLink> TXCustomDBGrid::CreateTotalDataLink() {
    return std::make_unique<TXTotalDataLink>(this);
}

std::unique_ptr<TXDBGridTotals> TXCustomDBGrid::CreateTotals() {
    return std::make_unique<TXDBGridTotals>(this);
}

// ---------------------------------------------------------------- the window and loading

void TXCustomDBGrid::SetParent(TWinControl* AParent) {
    TCustomGrid::SetParent(AParent);
    if (AParent && !fWindowCreated) CreateWnd();
}

void TXCustomDBGrid::CreateWnd() {
    fWindowCreated = true;
    UpdateRowCount();
    UpdateActive();
    UpdateScrollBar();
    SaveOriginalIme();
}

void TXCustomDBGrid::Loaded() {
    TCustomGrid::Loaded();
    if (fColumns->State() == csCustomized) SetColCount(fColumns->Count() + fIndicatorOffset);
    fSettings->GridLoaded();
    LayoutChanged();
}

// ---------------------------------------------------------------- fonts

void TXCustomDBGrid::TitleFontChanged() {
    if (!fSelfChangingTitleFont && !ComponentState().Contains(csLoading)) SetParentFont(false);
    if (fOptions.Contains(dgTitles)) LayoutChanged();
}

void TXCustomDBGrid::DoFontChanged(bool ByParent) {
    if (BeingDestroyed()) return;
    BeginLayout();
    try {
        for (int i = 0; i < fColumns->Count(); ++i) fColumns->Items(i)->RefreshDefaultFont();
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
    if (!ByParent || !ParentFont()) return;
    fSelfChangingTitleFont = true;
    try {
        fTitleFont->Assign(Font());
        fHeaderFont->Assign(Font());
        fTotals->CopyFont(Font());
    } catch (...) {
        fSelfChangingTitleFont = false;
        throw;
    }
    fSelfChangingTitleFont = false;
    LayoutChanged();
    RefreshEditor();
}

TCanvas* TXCustomDBGrid::MeasureCanvas(const TFont* font) {
    TCanvas* canvas = Canvas();
    if (font) canvas->Font()->Assign(const_cast<TFont*>(font));
    return canvas;
}

int TXCustomDBGrid::TextHeightOf(const TFont* font) {
    return MeasureCanvas(font)->TextHeight("Wg");
}

// ---------------------------------------------------------------- small properties

void TXCustomDBGrid::SetHint(const std::string& value) {
    TCustomGrid::SetHint(value);
    fMainHint = value;
}

void TXCustomDBGrid::SetFillerPopupMenu(TPopupMenu* value) {
    fFillerPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TXCustomDBGrid::SetIndicatorPopupMenu(TPopupMenu* value) {
    fIndicatorPopupMenu = value;
    if (value) value->FreeNotification(this);
}

int TXCustomDBGrid::DataRowCount() const {
    return fDataLink->Active() ? fDataLink->RecordCount() : 0;
}

int TXCustomDBGrid::Position() const {
    return fDataLink->Active() ? fDataLink->ActiveRecord() : 0;
}

void TXCustomDBGrid::SetPosition(int value) {
    if (!fDataLink->Active()) return;
    value = std::clamp(value, 0, std::max(0, fDataLink->RecordCount() - 1));
    fDataLink->MoveBy(value - fDataLink->ActiveRecord());
}

int TXCustomDBGrid::RecCount() const {
    if (ForcedSequence()) return fRecCount;
    return fDataLink->Active() ? fDataLink->DataSet()->RecordCount() : -1;
}

int TXCustomDBGrid::RecNumber() const {
    if (ForcedSequence()) return fRecNumber;
    return fDataLink->Active() ? fDataLink->DataSet()->RecNo() : -1;
}

void TXCustomDBGrid::SetRecNumber(int value) {
    if (fDataLink->Active()) fDataLink->DataSet()->SetRecNo(value);
}

TXColumn* TXCustomDBGrid::RawToColumn(int ACol) const {
    const int index = ACol - fIndicatorOffset;
    return index >= 0 && index < fColumns->Count() ? fColumns->Items(index) : nullptr;
}

int TXCustomDBGrid::ColumnToRaw(const TXColumn* Column) const {
    if (!Column || Column->Collection() != fColumns.get()) return -1;
    return Column->Index() + fIndicatorOffset;
}

TXColumn* TXCustomDBGrid::SelectedColumn() const {
    return RawToColumn(Col());
}

void TXCustomDBGrid::SetSelectedColumn(TXColumn* value) {
    if (value) SetSelectedIndex(value->Index());
}

TField* TXCustomDBGrid::SelectedField() const {
    TXColumn* column = SelectedColumn();
    return column ? column->Field() : nullptr;
}

void TXCustomDBGrid::SetSelectedField(TField* value) {
    if (!value) return;
    for (int i = 0; i < fColumns->Count(); ++i)
        if (fColumns->Items(i)->Field() == value) {
            SetSelectedIndex(i);
            return;
        }
}

int TXCustomDBGrid::SelectedIndex() const {
    TXColumn* column = SelectedColumn();
    return column ? column->Index() : -1;
}

void TXCustomDBGrid::SetSelectedIndex(int value) {
    if (value < 0 || value >= fColumns->Count() || !fColumns->Items(value)->Showing()) return;
    const int raw = value + fIndicatorOffset;
    if (raw < TCustomGrid::FixedCols() || raw >= ColCount() || raw == Col()) return;
    SelectColumn(raw, 0);
}

TXColumn* TXCustomDBGrid::ResizedColumn() const {
    return RawToColumn(fLastResizedCol);
}

bool TXCustomDBGrid::ThemesEnabled() const {
    return tv::ThemesEnabled();
}

TXColumn* TXCustomDBGrid::ColumnAtDepth(TXColumn* Col, int ADepth) const {
    if (!Col) return nullptr;
    while (Col && ADepth < Col->Depth()) Col = Col->ParentColumn();
    return Col;
}

// ---------------------------------------------------------------- selection mode

TMultiSelect TXCustomDBGrid::MultiSelect() const {
    TMultiSelection mode;
    if (fOptions.Contains(dgRowSelect))
        mode = msRows;
    else if (fSelectionColumn)
        mode = msCols;
    else if (fSelectionBegCol < 0)
        mode = msRows;
    else if (fMultiSelectOptions.Contains(msCells))
        mode = msCells;
    else if (fMultiSelectOptions.Contains(msRows))
        mode = msRows;
    else
        mode = msCols;
    return fMultiSelectOptions.Contains(mode) ? mode : msNone;
}

void TXCustomDBGrid::SetMultiSelect(TMultiSelect value) {
    if (value == msNone || value > msCells || !fMultiSelectOptions.Contains(value)) return;
    if ((value == msCols || value == msCells) && fOptions.Contains(dgRowSelect)) return;
    BeginSelect();
    try {
        ClearSelection();
        if (value == msCols || value == msCells) {
            fSelectionColumn = value == msCols;
            fSelectionBegCol = SelectedIndex();
        }
    } catch (...) {
        EndSelect();
        throw;
    }
    EndSelect();
}

void TXCustomDBGrid::SetMultiSelectOptions(TMultiSelectOptions value) {
    value.Exclude(msNone);
    ClearSelection();
    PerformDelayed();
    fMultiSelectOptions = value;
    RecomputeSelectionOffset();
}

void TXCustomDBGrid::RecomputeSelectionOffset() {
    fSelectionOffset = fMultiSelectOptions.Contains(msFixed) ? 0 : FixedCols();
}

bool TXCustomDBGrid::ColsSelection() const {
    const TMultiSelect mode = MultiSelect();
    return mode == msCols || mode == msCells;
}

bool TXCustomDBGrid::RowsSelection() const {
    const TMultiSelect mode = MultiSelect();
    return mode == msRows || mode == msCells;
}

bool TXCustomDBGrid::ColsSelected() const {
    return fSelectedCols->Count() > 0 || (fSelectionBegCol >= 0 && fSelectionEndCol >= 0);
}

void TXCustomDBGrid::SetSelectionAnchor(const TBookmark& value) {
    fSelectionAnchor = value;
    if (fOptions.Contains(dgIndicator) && fOptions.Contains(dgMultiSelect) &&
        fOptions.Contains(dgExtendedSelect))
        InvalidateCol(0);
}

// ---------------------------------------------------------------- hooks that raise events

void TXCustomDBGrid::ColEnter() {
    ApplyColumnIme();
    if (OnColEnter) OnColEnter(this);
}

void TXCustomDBGrid::ColExit() {
    if (OnColExit) OnColExit(this);
}

void TXCustomDBGrid::ColExpand(TXColumn* Column) {
    if (OnColExpand) OnColExpand(Column);
}

void TXCustomDBGrid::CalcImageIndex(TXColumn* Column, int& Index) {
    if (!OnCalcImageIndex) return;
    try {
        int32_t i = Index;
        OnCalcImageIndex(this, Column, i);
        Index = i;
    } catch (...) {
        Index = -1;
    }
}

void TXCustomDBGrid::ColumnMoving(int FromIndex, int ToIndex, bool& Accept) {
    if (Accept && OnColumnMoving) OnColumnMoving(this, FromIndex, ToIndex, Accept);
}

void TXCustomDBGrid::DrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State) {
    if (OnDrawDataCell) OnDrawDataCell(this, Rect, Field, State);
}

void TXCustomDBGrid::DrawColumnCell(const TRect& Rect, int DataCol, TXColumn* Column, TGridDrawState State) {
    if (OnDrawColumnCell) OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TXCustomDBGrid::PaintColumnCell(const TRect& Rect, int DataCol, TXColumn* Column, bool Highlight,
                                     TSelections Selections, TColor& Color, TFont* Font,
                                     TPersistent*& Image) {
    if (OnPaintColumnCell)
        OnPaintColumnCell(this, Rect, DataCol, Column, Highlight, Selections, Color, Font, Image);
}

void TXCustomDBGrid::EditButtonClick() {
    if (OnEditButtonClick)
        OnEditButtonClick(this);
    else
        ShowPopupEditor(SelectedColumn(), kPopupAtCell, kPopupAtCell);
}

void TXCustomDBGrid::CellHint(TXColumn* Column, int Index, THintCell HintCell, std::string& HintStr) {
    if (!OnCellHint) return;
    try {
        OnCellHint(this, Column, Index, HintCell, HintStr);
    } catch (...) {
        HintStr.clear();
    }
}

void TXCustomDBGrid::ListCloseUp(TObject* List, Variant& Value, bool& Accept) {
    if (OnListCloseUp) OnListCloseUp(SelectedColumn(), List, Value, Accept);
}

void TXCustomDBGrid::ListDropDown(TObject* List) {
    if (OnListDropDown) OnListDropDown(SelectedColumn(), List);
}

bool TXCustomDBGrid::TotalCalcQuery(TDataSet* DataSet) {
    bool accept = true;
    if (OnTotalCalcQuery) OnTotalCalcQuery(this, DataSet, accept);
    return accept;
}

void TXCustomDBGrid::TotalCalcValue(TXColumnTotalValue* Total, TCalcPass Pass, Variant& Value) {
    if (OnTotalCalcValue) OnTotalCalcValue(Total, Pass, Value);
}

void TXCustomDBGrid::DoTotalGetText(TXColumn* Column, int Index, std::string& Text, TTextKind TextKind,
                                    const std::string& Value) {
    Text = Value;
    if (OnTotalGetText) OnTotalGetText(Column, Index, Text, TextKind);
}

void TXCustomDBGrid::DoSelectionChanged() {
    if (OnSelectionChanged) OnSelectionChanged(this);
}

void TXCustomDBGrid::ListItemsUpdated() {
    if (OnListItemsUpdated) OnListItemsUpdated(this);
}

void TXCustomDBGrid::SequenceUpdated() {
    if (OnSequenceUpdated) OnSequenceUpdated(this);
}

void TXCustomDBGrid::TotalsUpdated() {
    if (OnTotalsUpdated) OnTotalsUpdated(this);
}

void TXCustomDBGrid::RowSelect(TSelectAction Action) {
    fRowsChanged = true;
    if (!ComponentState().Contains(csDestroying) && OnRowSelect) OnRowSelect(this, Action);
}

bool TXCustomDBGrid::CanEditShow() const {
    if (!TCustomGrid::CanEditShow() || !fDataLink->Active() || fReadOnly) return false;
    TXColumn* column = SelectedColumn();
    return column && column->CanShowEditor() && !column->ReadOnly();
}

// ---------------------------------------------------------------- repaints

void TXCustomDBGrid::InvalidateCurrentRow() {
    if (fDataLink->Active()) InvalidateRow(fDataLink->ActiveRecord() + fTitleOffset);
}

void TXCustomDBGrid::InvalidateGridCol(const TXColumn* Column) {
    const int raw = ColumnToRaw(Column);
    if (raw >= 0 && raw < ColCount()) InvalidateCol(raw);
}

void TXCustomDBGrid::RefreshEditor() {
    if (EditorMode()) InvalidateEditor();
}

}  // namespace tv
