// The grid's columns and their titles (xdb_columns.h): assigned values and defaults, field binding,
// widths, visibility, groups and position, the texts of a cell, restoring and copying.

#include <algorithm>

#include <cstdint>

#include "controls/xdb_collection_support.h"
#include "controls/xdb_column_totals.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menu.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXColumnTitle::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTitle>("TXColumnTitle").Build();
    return info;
}

const TClassInfo& TXColumn::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumn>("TXColumn").Build();
    return info;
}

void CopyFontQuietly(TFont& font, const TFont& source) {
    if (SameFont(font, source)) return;
    TNotifyEvent handler = font.OnChange;
    font.OnChange = nullptr;
    font.Assign(const_cast<TFont*>(&source));
    font.OnChange = handler;
}

namespace {

bool IsMemoField(const TField* field) {
    const TFieldType t = field->DataType();
    return t == TFieldType::ftMemo || t == TFieldType::ftWideMemo;
}

// The grid of a collection while a column is being made: its layout is locked until the column is
// complete, so that the collection's change notice lays out once, at the end.
TCollection* LockLayoutOf(TCollection* collection) {
    if (auto* columns = dynamic_cast<TXDBGridColumns*>(collection))
        if (columns->Grid()) columns->Grid()->BeginLayout();
    return collection;
}

}  // namespace

// ---------------------------------------------------------------- the title

TXColumnTitle::TXColumnTitle(TXColumn* Column) : fColumn(Column), fFont(std::make_unique<TFont>()) {
    if (TFont* def = DefaultFont()) fFont->Assign(def);
    fColor = DefaultColor();
    fFont->OnChange = [this](TObject*) { FontChanged(); };
}

TXColumnTitle::~TXColumnTitle() {
    fFont->OnChange = nullptr;
}

void TXColumnTitle::Changed() {
    fColumn->ColumnChanged(fColumn->Expanded());
}

void TXColumnTitle::FontChanged() {
    fColumn->fAssignedValues.Include(cvTitleFont);
    fColumn->ColumnChanged(true);
    if (TXCustomDBGrid* grid = fColumn->Grid()) grid->RefreshEditor();
}

void TXColumnTitle::RefreshDefaultFont() const {
    if (fColumn->fAssignedValues.Contains(cvTitleFont)) return;
    if (TFont* def = DefaultFont()) CopyFontQuietly(*fFont, *def);
}

TAlignment TXColumnTitle::Alignment() const {
    return fColumn->fAssignedValues.Contains(cvTitleAlignment) ? fAlignment : DefaultAlignment();
}

void TXColumnTitle::SetAlignment(TAlignment value) {
    if (!fColumn->Assigning(cvTitleAlignment, value == fAlignment)) return;
    fAlignment = value;
    Changed();
}

std::string TXColumnTitle::DefaultCaption() const {
    if (TField* field = fColumn->Field()) return field->DisplayLabel();
    return fColumn->FieldName();
}

std::string TXColumnTitle::Caption() const {
    return fColumn->fAssignedValues.Contains(cvTitleCaption) ? fCaption : DefaultCaption();
}

void TXColumnTitle::SetCaption(const std::string& value) {
    if (!fColumn->Stored()) {
        if (TField* field = fColumn->LiveField()) field->SetDisplayLabel(value);
        return;
    }
    if (!fColumn->Assigning(cvTitleCaption, value == fCaption)) return;
    fCaption = value;
    Changed();
}

TColor TXColumnTitle::DefaultColor() const {
    TXCustomDBGrid* grid = fColumn->Grid();
    return grid ? grid->FixedColor() : clBtnFace;
}

TColor TXColumnTitle::Color() const {
    return fColumn->fAssignedValues.Contains(cvTitleColor) ? fColor : DefaultColor();
}

void TXColumnTitle::SetColor(TColor value) {
    if (!fColumn->Assigning(cvTitleColor, value == fColor)) return;
    fColor = value;
    Changed();
}

TFont* TXColumnTitle::DefaultFont() const {
    TXCustomDBGrid* grid = fColumn->Grid();
    return grid ? grid->TitleFont() : fColumn->fFont.get();
}

TFont* TXColumnTitle::Font() const {
    RefreshDefaultFont();
    return fFont.get();
}

void TXColumnTitle::SetButton(bool value) {
    if (value == fButton) return;
    fButton = value;
    fColumn->ColumnChanged(false);
}

void TXColumnTitle::SetPopupMenu(TPopupMenu* value) {
    fPopupMenu = fColumn->Watched(value);
}

void TXColumnTitle::SetDropDownMenu(TPopupMenu* value) {
    if (value == fDropDownMenu) return;
    fDropDownMenu = fColumn->Watched(value);
    if (value && fColumn->ExpandStyle() == cesAuto) fColumn->SetExpandStyle(cesDropDownMenu);
    if (!value && fColumn->ExpandStyle() == cesDropDownMenu) fColumn->SetExpandStyle(cesAuto);
}

int TXColumnTitle::HeaderRowCount() const {
    if (fHeader.empty()) return 0;
    return 1 + static_cast<int>(std::count(fHeader.begin(), fHeader.end(), '|'));
}

namespace {
std::string LevelOf(const std::string& text, int level) {
    size_t start = 0;
    for (int i = 0; i < level; ++i) {
        start = text.find('|', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    const size_t end = text.find('|', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
}  // namespace

std::string TXColumnTitle::HeaderText(int level) const {
    return level < 0 ? std::string() : LevelOf(fHeader, level);
}

std::string TXColumnTitle::HeaderHintText(int level) const {
    return level < 0 ? std::string() : LevelOf(fHeaderHint, level);
}

TXColumn* TXColumnTitle::HeaderNeighbour(int level, int step) const {
    TXDBGridColumns* columns = fColumn->Columns();
    if (!columns || level < 0 || level >= HeaderRowCount()) return nullptr;
    TXColumn* parent = fColumn->ParentColumn();
    TXColumn* found = nullptr;
    for (int i = fColumn->Index() + step; i >= 0 && i < columns->Count() && !found; i += step) {
        TXColumn* c = columns->Items(i);
        if (c->Visible() && c->ParentColumn() == parent) found = c;
    }
    if (!found || found->Title()->HeaderRowCount() < level + 1) return nullptr;
    // A header never spans the boundary of the fixed columns.
    TXCustomDBGrid* grid = fColumn->Grid();
    const int fixed = grid ? grid->FixedCols() : 0;
    if ((found->Index() < fixed) != (fColumn->Index() < fixed)) return nullptr;
    for (int l = 0; l <= level; ++l)
        if (found->Title()->HeaderText(l) != HeaderText(l)) return nullptr;
    return found;
}

void TXColumnTitle::RestoreDefaults() {
    const bool fontAssigned = fColumn->fAssignedValues.Contains(cvTitleFont);
    for (TXColumnValue v : {cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont})
        fColumn->fAssignedValues.Exclude(v);
    fCaption.clear();
    fHeader.clear();
    fHeaderHint.clear();
    fHint.clear();
    fImageIndex = -1;
    fMarkerIndex = -1;
    fPopupMenu = nullptr;
    fButton = fEllipsis = fWordWrap = fAutoToggle = true;
    fVAlignment = tvCenter;
    RefreshDefaultFont();
    fColumn->ColumnChanged(fontAssigned || fColumn->Expanded());
}

void TXColumnTitle::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXColumnTitle*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    const TXColumnValues assigned = other->fColumn->fAssignedValues;
    if (assigned.Contains(cvTitleAlignment)) SetAlignment(other->Alignment());
    if (assigned.Contains(cvTitleColor)) SetColor(other->Color());
    if (assigned.Contains(cvTitleCaption)) SetCaption(other->Caption());
    if (assigned.Contains(cvTitleFont)) SetFont(other->Font());
    SetButton(other->fButton);
    SetEllipsis(other->fEllipsis);
    SetMarker(other->fMarker);
    SetHeader(other->fHeader);
    SetWordWrap(other->fWordWrap);
    SetVAlignment(other->fVAlignment);
    SetHint(other->fHint);
    SetHeaderHint(other->fHeaderHint);
    SetImageIndex(other->fImageIndex);
    SetMarkerIndex(other->fMarkerIndex);
    SetAutoToggle(other->fAutoToggle);
    SetPopupMenu(other->fPopupMenu);
    SetDropDownMenu(other->fDropDownMenu);
}

// ---------------------------------------------------------------- the column: making and freeing

TXColumn::TXColumn(TCollection* Collection)
    : TCollectionItem(LockLayoutOf(Collection)), fFont(std::make_unique<TFont>()) {
    TXCustomDBGrid* grid = Grid();
    try {
        fCheckBoxValues = std::string(kDefaultCheckBoxValues);
        fColor = DefaultColor();
        fImeName = DefaultImeName();
        fImeMode = DefaultImeMode();
        if (TFont* def = DefaultFont()) fFont->Assign(def);
        fFont->OnChange = [this](TObject*) { FontChanged(); };
        fTitle = CreateTitle();
        CreateTotals();
    } catch (...) {
        if (grid) grid->EndLayout();
        throw;
    }
    if (grid) grid->EndLayout();
}

TXColumn::~TXColumn() {
    fFont->OnChange = nullptr;
    FreeTotals();
    if (TXDBGridColumns* columns = Columns()) {
        auto& order = columns->OrderList();
        order.erase(std::remove(order.begin(), order.end(), this), order.end());
    }
}

std::unique_ptr<TXColumnTitle> TXColumn::CreateTitle() {
    return std::make_unique<TXColumnTitle>(this);
}

TXDBGridColumns* TXColumn::Columns() const {
    return dynamic_cast<TXDBGridColumns*>(Collection());
}

TXCustomDBGrid* TXColumn::Grid() const {
    TXDBGridColumns* columns = Columns();
    return columns ? columns->Grid() : nullptr;
}

void TXColumn::WatchComponent(TComponent* component) const {
    if (TXCustomDBGrid* grid = Grid(); grid && component) component->FreeNotification(grid);
}

bool TXColumn::Assigning(TXColumnValue value, bool same) {
    if (same && fAssignedValues.Contains(value)) return false;
    fAssignedValues.Include(value);
    return true;
}

TField* TXColumn::LiveField() const {
    TXCustomDBGrid* grid = Grid();
    if (!grid || !grid->DataLink()->Active()) return nullptr;
    return Field();
}

// ---------------------------------------------------------------- the field

void TXColumn::SetFieldName(const std::string& value) {
    TField* field = nullptr;
    TXCustomDBGrid* grid = Grid();
    TDataSet* dataSet = grid ? grid->DataLink()->DataSet() : nullptr;
    if (dataSet && !grid->ComponentState().Contains(csLoading) && !value.empty()) field = dataSet->FindField(value);
    fFieldName = value;
    SetField(field);
    Changed(false);
}

TField* TXColumn::Field() const {
    if (!fField && !fFieldName.empty()) {
        TXCustomDBGrid* grid = Grid();
        TDataSet* dataSet = grid ? grid->DataLink()->DataSet() : nullptr;
        if (dataSet && (dataSet->Active() || !dataSet->DefaultFields())) {
            fField = dataSet->FindField(fFieldName);
            if (fField) fField->FreeNotification(grid);
        }
    }
    return fField;
}

void TXColumn::SetField(TField* value) {
    if (value == fField) return;
    if (value && value->ComponentState().Contains(csDestroying)) value = nullptr;
    fField = value;
    if (value) {
        if (TXCustomDBGrid* grid = Grid()) value->FreeNotification(grid);
        fFieldName = value->FullName();
    }
    if (!fStored) {
        if (!value) fFieldName.clear();
        RestoreDefaults();
    }
    Changed(false);
}

std::string TXColumn::DisplayText() const {
    TField* field = Field();
    if (!field) return {};
    std::string text = IsMemoField(field) && fShowBlob ? field->AsString() : field->DisplayText();
    if (TXCustomDBGrid* grid = Grid()) grid->ColGetText(const_cast<TXColumn*>(this), text, tkDisplay);
    return text;
}

std::string TXColumn::EditText() const {
    TField* field = Field();
    if (!field) return {};
    std::string text;
    if (IsMemoField(field) && fEditMemo)
        text = field->OnGetText ? field->Text() : field->AsString();
    else
        text = field->Text();
    if (TXCustomDBGrid* grid = Grid()) grid->ColGetText(const_cast<TXColumn*>(this), text, tkEdit);
    return text;
}

void TXColumn::SetEditText(const std::string& value) {
    if (value == EditText()) return;
    TField* field = Field();
    if (!field) return;
    std::string text = value;
    if (TXCustomDBGrid* grid = Grid()) grid->ColSetText(this, text);
    if (IsMemoField(field) && fEditMemo && !field->OnSetText)
        field->SetAsString(text);
    else
        field->SetText(text);
}

// ---------------------------------------------------------------- look

TAlignment TXColumn::DefaultAlignment() const {
    TField* field = Field();
    return field ? field->Alignment() : taLeftJustify;
}

TAlignment TXColumn::Alignment() const {
    return fAssignedValues.Contains(cvAlignment) ? fAlignment : DefaultAlignment();
}

void TXColumn::SetAlignment(TAlignment value) {
    if (!fStored) {
        if (TField* field = LiveField()) field->SetAlignment(value);
        return;
    }
    if (!Assigning(cvAlignment, value == fAlignment)) return;
    fAlignment = value;
    Changed(false);
}

TColor TXColumn::DefaultColor() const {
    TXCustomDBGrid* grid = Grid();
    return grid ? grid->Color() : clWindow;
}

TColor TXColumn::Color() const {
    return fAssignedValues.Contains(cvColor) ? fColor : DefaultColor();
}

void TXColumn::SetColor(TColor value) {
    if (!Assigning(cvColor, value == fColor)) return;
    fColor = value;
    Changed(false);
}

TFont* TXColumn::DefaultFont() const {
    TXCustomDBGrid* grid = Grid();
    return grid ? grid->Font() : nullptr;
}

void TXColumn::RefreshDefaultFont() const {
    if (fAssignedValues.Contains(cvFont)) return;
    if (TFont* def = DefaultFont()) CopyFontQuietly(*fFont, *def);
}

TFont* TXColumn::Font() const {
    RefreshDefaultFont();
    return fFont.get();
}

void TXColumn::FontChanged() {
    fAssignedValues.Include(cvFont);
    if (fTitle) fTitle->RefreshDefaultFont();
    Changed(false);
}

TImeMode TXColumn::DefaultImeMode() const {
    TXCustomDBGrid* grid = Grid();
    return grid ? grid->ImeMode() : imDontCare;
}

std::string TXColumn::DefaultImeName() const {
    TXCustomDBGrid* grid = Grid();
    return grid ? grid->ImeName() : std::string();
}

TImeMode TXColumn::ImeMode() const {
    return fAssignedValues.Contains(cvImeMode) ? fImeMode : DefaultImeMode();
}

void TXColumn::SetImeMode(TImeMode value) {
    if (value == DefaultImeMode() && !fAssignedValues.Contains(cvImeMode)) return;
    if (!Assigning(cvImeMode, value == fImeMode)) return;
    fImeMode = value;
    Changed(false);
}

std::string TXColumn::ImeName() const {
    return fAssignedValues.Contains(cvImeName) ? fImeName : DefaultImeName();
}

void TXColumn::SetImeName(const std::string& value) {
    if (value == DefaultImeName() && !fAssignedValues.Contains(cvImeName)) return;
    if (!Assigning(cvImeName, value == fImeName)) return;
    fImeName = value;
    Changed(false);
}

bool TXColumn::DefaultReadOnly() const {
    TXCustomDBGrid* grid = Grid();
    TField* field = Field();
    return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}

bool TXColumn::ReadOnly() const {
    return fAssignedValues.Contains(cvReadOnly) ? fReadOnly : DefaultReadOnly();
}

void TXColumn::SetReadOnly(bool value) {
    if (!fStored) {
        if (TField* field = LiveField()) field->SetReadOnly(value);
        return;
    }
    if (!Assigning(cvReadOnly, value == fReadOnly)) return;
    fReadOnly = value;
    Changed(false);
}

void TXColumn::SetCheckBox(bool value) {
    if (value == fCheckBox) return;
    fCheckBox = value;
    if (value && fImageDraw > idCenter) fImageDraw = idCenter;
    Changed(true);
}

void TXColumn::SetImageDraw(TImageDraw value) {
    if (fCheckBox && value > idCenter) value = idCenter;
    SetDisplayed(fImageDraw, value);
}

void TXColumn::SetDropDownMenu(TPopupMenu* value) {
    fDropDownMenu = Watched(value);
}

void TXColumn::SetImages(TImageList* value) {
    SetDisplayed(fImages, Watched(value));
}

void TXColumn::SetLookupDataSet(TDataSet* value) {
    fLookupDataSet = Watched(value);
}

void TXColumn::SetPopupMenu(TPopupMenu* value) {
    fPopupMenu = Watched(value);
}

// ---------------------------------------------------------------- width

int TXColumn::DefaultWidth() const {
    TXCustomDBGrid* grid = Grid();
    if (!grid) return kColumnDefaultWidth;
    TField* field = Field();
    if (!field) return grid->DefaultColWidth();
    int width = grid->MeasureCanvas(Font())->TextWidth("0") * field->DisplayWidth() + 4;
    if (grid->Options().Contains(dgTitles) && !grid->Options().Contains(dgTitleWidthOff))
        width = std::max(width, grid->MeasureCanvas(fTitle->Font())->TextWidth(fTitle->Caption()) + 4);
    return width;
}

int TXColumn::TrueWidth() const {
    return fAssignedValues.Contains(cvWidth) ? fWidth : DefaultWidth();
}

bool TXColumn::WidthStored() const {
    return fAssignedValues.Contains(cvWidth) && (fWidth != DefaultWidth() || fWidth == kColumnDefaultWidth);
}

int TXColumn::Width() const {
    TXCustomDBGrid* grid = Grid();
    const bool writing = grid && grid->ColumnsState().Contains(csWriting);
    if (!writing && !Showing()) return grid ? -grid->ColLineWidth() : 0;
    if (writing && grid->StretchActive()) return fWidthBase;
    return TrueWidth();
}

int TXColumn::WidthBase() const {
    TXCustomDBGrid* grid = Grid();
    return grid && grid->StretchActive() ? fWidthBase : TrueWidth();
}

void TXColumn::SetWidthBase(int value) {
    TXCustomDBGrid* grid = Grid();
    if (grid && grid->StretchActive()) {
        if (value >= 0) fWidthBase = value;
        grid->StretchGrid();
        return;
    }
    SetWidth(value);
}

void TXColumn::SetWidth(int value) {
    TXCustomDBGrid* grid = Grid();
    bool keep = true;
    if (!fStored) {
        TField* field = Field();
        if (field && grid && grid->WindowCreated() && grid->UpdateFields()) {
            // The field keeps the width in characters of the column font.
            TCanvas* canvas = grid->MeasureCanvas(Font());
            int c = canvas->TextWidth("0");
            int margin = 4;
            if (c == 0) {
                static constexpr std::string_view kAlphabet =
                    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
                c = (canvas->TextWidth(kAlphabet) + 26) / 52;
                margin = 3;
            }
            if (c > 0) field->SetDisplayWidth((value - margin + c / 2) / c);
        }
        keep = !(grid && grid->LayoutFromDataSet()) || fAssignedValues.Contains(cvWidth);
    }
    if (keep) {
        if (value >= 0) {
            if (fWidthMax >= 0 && value > fWidthMax) value = fWidthMax;
            if (fWidthMin >= 0 && value < fWidthMin) value = fWidthMin;
        }
        const bool reading = grid && grid->ColumnsState().Contains(csReading);
        const bool colLines = grid && grid->Options().Contains(dgColLines);
        if ((fAssignedValues.Contains(cvWidth) || value != DefaultWidth() || reading) &&
            (colLines ? value > -1 : value > 0)) {
            const int before = Width();
            fWidth = value;
            fAssignedValues.Include(cvWidth);
            // A width set while the columns stretch (not by the stretch itself) scales back to
            // the base the stretch shares from.
            if (grid && grid->fStretchActive && !grid->fStretching && grid->fGridWidth > 0 &&
                grid->fColsWidth > 0)
                fWidthBase = static_cast<int>(static_cast<int64_t>(value) * grid->fColsWidth / grid->fGridWidth);
            if (grid && Width() != before) {
                grid->fLastResizedCol = grid->ColumnToRaw(this);
                grid->StretchGrid();
            }
            Synchronize();
        }
    }
    Changed(false);
}

void TXColumn::SetWidthMax(int value) {
    if (value < -1) return;
    if (value >= 0 && fWidthMin >= 0 && value < fWidthMin) value = fWidthMin;
    fWidthMax = value;
    if (value >= 0 && TrueWidth() > value) SetWidth(value);
}

void TXColumn::SetWidthMin(int value) {
    if (value < -1) return;
    if (value >= 0 && fWidthMax >= 0 && value > fWidthMax) value = fWidthMax;
    fWidthMin = value;
    if (value >= 0 && TrueWidth() < value) SetWidth(value);
}

int TXColumn::OptimalWidth() const {
    TXCustomDBGrid* grid = Grid();
    if (!grid || !grid->DataLink()->Active()) return WidthBase();
    TXGridDataLink* link = grid->DataLink();
    TCanvas* canvas = grid->MeasureCanvas(Font());
    const int old = link->ActiveRecord();
    int best = 0;
    auto measure = [&] {
        for (int r = 0; r < link->RecordCount(); ++r) {
            link->SetActiveRecord(r);
            const std::string text = DisplayText();
            size_t start = 0;
            while (start <= text.size()) {
                size_t end = text.find('\n', start);
                if (end == std::string::npos) end = text.size();
                size_t stop = end;
                if (stop > start && text[stop - 1] == '\r') --stop;
                best = std::max(best, canvas->TextWidth(std::string_view(text).substr(start, stop - start)) + 4);
                start = end + 1;
            }
        }
    };
    try {
        measure();
    } catch (...) {
        link->SetActiveRecord(old);
        throw;
    }
    link->SetActiveRecord(old);
    return best;
}

// ---------------------------------------------------------------- visibility and groups

TXColumn* TXColumn::ParentColumn() const {
    TXDBGridColumns* columns = Columns();
    if (!columns) return nullptr;
    const int self = Index();
    // A sub-field's column belongs to the nearest earlier column of its object field; without
    // one, to a column that heads it by ExpandCols.
    if (TField* field = Field(); field && field->ParentField())
        for (int i = self - 1; i >= 0; --i)
            if (columns->Items(i)->Field() == field->ParentField()) return columns->Items(i);
    for (int i = self - 1; i >= 0; --i) {
        TXColumn* c = columns->Items(i);
        if (c->fExpandCols >= self - i) return c;
    }
    return nullptr;
}

int TXColumn::Depth() const {
    int depth = 0;
    for (TXColumn* p = ParentColumn(); p; p = p->ParentColumn()) ++depth;
    return depth;
}

bool TXColumn::Visible() const {
    if (!fVisible) return false;
    TXColumn* parent = ParentColumn();
    return !parent || parent->Visible();
}

void TXColumn::SetVisible(bool value) {
    if (value == fVisible) return;
    fVisible = value;
    Changed(true);
}

bool TXColumn::Showing() const {
    if (!Visible() || Expanded()) return false;
    for (TXColumn* p = ParentColumn(); p; p = p->ParentColumn())
        if (!p->Expanded()) return false;
    return true;
}

int TXColumn::ExpandIndex() const {
    TXDBGridColumns* columns = Columns();
    const int self = Index();
    if (!columns) return self;
    int last = self;
    for (int i = self + 1; i < columns->Count(); ++i) {
        bool inGroup = false;
        for (TXColumn* p = columns->Items(i)->ParentColumn(); p && !inGroup; p = p->ParentColumn())
            inGroup = p == this;
        if (!inGroup) break;
        last = i;
    }
    return last;
}

int TXColumn::ExpandWidth() const {
    if (!Visible()) return 0;
    TXCustomDBGrid* grid = Grid();
    if (!Expanded()) return Width() + (grid ? grid->ColLineWidth() : 0);
    int width = 0;
    TXDBGridColumns* columns = Columns();
    for (int i = Index() + 1, last = ExpandIndex(); i <= last; ++i) {
        TXColumn* c = columns->Items(i);
        if (c->ParentColumn() == this) width += c->ExpandWidth();
    }
    return width;
}

void TXColumn::SetExpandCols(int value) {
    if (value < 0) value = 0;
    SetLayoutProp(fExpandCols, value);
}

bool TXColumn::Expandable() const {
    if (fExpandCols > 0) return true;
    TField* field = Field();
    return field && field->IsObjectField();
}

void TXColumn::SetExpanded(bool value) {
    TXCustomDBGrid* grid = Grid();
    if (!grid || grid->ComponentState().Contains(csLoading)) {
        SetLayoutProp(fExpanded, value);
        return;
    }
    if (value == fExpanded) return;
    grid->ExpandColumn(this, value);
}

void TXColumn::SetExpandStyle(TXColumnExpandStyle value) {
    SetLayoutProp(fExpandStyle, value);
}

void TXColumn::MoveGroup(int target) {
    TXDBGridColumns* columns = Columns();
    const int first = Index();
    const int last = ExpandIndex();
    const int size = last - first + 1;
    // Moved right, the group ends where the target was: it goes behind the column found there.
    if (target > first) target -= size - 1;
    target = std::min(target, columns->Count() - size);
    if (target == first) return;
    // The group moves as a block; the items are re-seated one by one with the plain move.
    std::vector<TXColumn*> group;
    for (int i = first; i <= last; ++i) group.push_back(columns->Items(i));
    for (int k = 0; k < size; ++k) {
        TXColumn* c = target < first ? group[static_cast<size_t>(k)] : group[static_cast<size_t>(size - 1 - k)];
        c->TCollectionItem::SetIndex(target < first ? target + k : target + size - 1 - k);
    }
}

void TXColumn::SetIndex(int Value) {
    TXDBGridColumns* columns = Columns();
    TXCustomDBGrid* grid = Grid();
    if (!columns || Value < 0 || Value == Index()) return;
    Value = std::min(Value, columns->Count() - 1);
    if (fStored) {
        if (Value > Index() && Value <= ExpandIndex()) return;  // inside its own group
        if (grid) grid->BeginLayout();
        try {
            MoveGroup(Value);
        } catch (...) {
            if (grid) grid->EndLayout();
            throw;
        }
        if (grid) grid->EndLayout();
        return;
    }
    // A default column follows its field: the field takes the place of the field shown there.
    if (grid && grid->DataLink()->Active()) {
        if (!grid->TryBeginLayout()) return;
        try {
            TXColumn* there = grid->ColumnAtDepth(columns->Items(Value), Depth());
            if (there && there->Field() && Field()) {
                Field()->SetIndex(there->Field()->Index());
                TCollectionItem::SetIndex(Value);
            }
        } catch (...) {
            grid->EndLayout();
            throw;
        }
        grid->EndLayout();
        return;
    }
    TCollectionItem::SetIndex(Value);
}

void TXColumn::MoveTo(int NewIndex) {
    TXCustomDBGrid* grid = Grid();
    if (grid && grid->Mirroring()) return;
    const int old = Index();
    if (NewIndex < 0 || NewIndex == old) return;
    SetIndex(NewIndex);
    TXCustomDBGrid* managed = grid ? grid->ManageGrid() : nullptr;
    if (!managed || managed->Columns()->Count() <= std::max(old, NewIndex)) return;
    grid->fManagement = true;
    try {
        managed->Columns()->Items(old)->MoveTo(NewIndex);
    } catch (...) {
        grid->fManagement = false;
        throw;
    }
    grid->fManagement = false;
}

void TXColumn::Synchronize() {
    TXCustomDBGrid* grid = Grid();
    if (!grid || grid->Mirroring()) return;
    TXCustomDBGrid* managed = grid->ManageGrid();
    if (!managed || managed->Columns()->Count() <= Index()) return;
    TXColumn* other = managed->Columns()->Items(Index());
    grid->fManagement = true;
    try {
        if (Expandable() && other->Expandable()) other->SetExpanded(Expanded());
        other->SetVisible(fVisible);
        other->SetWidth(TrueWidth());
    } catch (...) {
        grid->fManagement = false;
        throw;
    }
    grid->fManagement = false;
}

// ---------------------------------------------------------------- defaults and copies

void TXColumn::RestoreDefaults() {
    const bool fontAssigned = fAssignedValues.Contains(cvFont);
    if (fTitle) fTitle->RestoreDefaults();
    fAssignedValues = {};
    RefreshDefaultFont();
    fPickList.reset();
    fPickText.reset();
    fFormattedPickText.reset();
    fAutoNumber = false;
    fButtonStyle = cbsAuto;
    fCharCase = ecNormal;
    fCheckBox = false;
    fCheckBoxKind = ckCheck;
    fCheckBoxStyle = cbAuto;
    fCheckBoxToggle = ctOnCellClick;
    fCheckBoxValues = std::string(kDefaultCheckBoxValues);
    fDialogOptions = {doShowColumn, doItemEnabled};
    fDropDownMenu = nullptr;
    fDropDownRows = 0;
    fDropDownWidth = 0;
    fEditMemo = false;
    fEditorHint.clear();
    fEllipsis = true;
    fExpandCols = 0;
    fExpandStyle = cesAuto;
    fHint.clear();
    fImageDraw = idCenter;
    fImageOffsetX = fImageOffsetY = 0;
    fListOptions = kDefaultListOptions;
    fLookupDataSet = nullptr;
    fLookupKeyField.clear();
    fLookupListFields.clear();
    fLookupListTitles.clear();
    fLookupListWidths.clear();
    fPickOptions = kDefaultPickOptions;
    fPickTextFormat.clear();
    fPopupMenu = nullptr;
    fQuickDraw = true;
    fShowBlob = true;
    fShowEdit = true;
    fSuppressRTL = false;
    fToolTips = true;
    fToolTipsWidth = ttAutoWidth;
    fTransparent = false;
    fTransparentColor = clNone;
    fVAlignment = tvCenter;
    fWallpaper = false;
    fWordWrap = true;
    Changed(fontAssigned);
}

void TXColumn::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXColumn*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    TCollection* collection = Collection();
    if (collection) collection->BeginUpdate();
    auto body = [&] {
        RestoreDefaults();
        SetFieldName(other->fFieldName);
        const TXColumnValues assigned = other->fAssignedValues;
        if (assigned.Contains(cvColor)) SetColor(other->Color());
        if (assigned.Contains(cvWidth)) SetWidth(other->WidthBase());
        if (assigned.Contains(cvFont)) SetFont(other->Font());
        if (assigned.Contains(cvImeMode)) SetImeMode(other->ImeMode());
        if (assigned.Contains(cvImeName)) SetImeName(other->ImeName());
        if (assigned.Contains(cvAlignment)) SetAlignment(other->Alignment());
        if (assigned.Contains(cvReadOnly)) SetReadOnly(other->ReadOnly());
        fTitle->Assign(other->fTitle.get());
        fAutoNumber = other->fAutoNumber;
        fButtonStyle = other->fButtonStyle;
        fCharCase = other->fCharCase;
        fCheckBox = other->fCheckBox;
        fCheckBoxKind = other->fCheckBoxKind;
        fCheckBoxStyle = other->fCheckBoxStyle;
        fCheckBoxToggle = other->fCheckBoxToggle;
        fCheckBoxValues = other->fCheckBoxValues;
        fDialogOptions = other->fDialogOptions;
        SetDropDownMenu(other->fDropDownMenu);
        fDropDownRows = other->fDropDownRows;
        fDropDownWidth = other->fDropDownWidth;
        fEditMemo = other->fEditMemo;
        fEditorHint = other->fEditorHint;
        fEllipsis = other->fEllipsis;
        fExpandCols = other->fExpandCols;
        fExpanded = other->fExpanded;
        fExpandStyle = other->fExpandStyle;
        fHint = other->fHint;
        fImageDraw = other->fImageDraw;
        fImageOffsetX = other->fImageOffsetX;
        fImageOffsetY = other->fImageOffsetY;
        fImages = Watched(other->fImages);
        fListOptions = other->fListOptions;
        SetLookupDataSet(other->fLookupDataSet);
        fLookupKeyField = other->fLookupKeyField;
        fLookupListFields = other->fLookupListFields;
        fLookupListTitles = other->fLookupListTitles;
        fLookupListWidths = other->fLookupListWidths;
        if (other->fPickList) PickList()->Assign(other->fPickList.get());
        if (other->fPickText) PickText()->Assign(other->fPickText.get());
        fPickOptions = other->fPickOptions;
        fPickTextFormat = other->fPickTextFormat;
        SetPopupMenu(other->fPopupMenu);
        fQuickDraw = other->fQuickDraw;
        fShowBlob = other->fShowBlob;
        fShowEdit = other->fShowEdit;
        fSuppressRTL = other->fSuppressRTL;
        fToolTips = other->fToolTips;
        fToolTipsWidth = other->fToolTipsWidth;
        fTransparent = other->fTransparent;
        fTransparentColor = other->fTransparentColor;
        fVAlignment = other->fVAlignment;
        fVisible = other->fVisible;
        fWallpaper = other->fWallpaper;
        fWidthMax = other->fWidthMax;
        fWidthMin = other->fWidthMin;
        fWordWrap = other->fWordWrap;
    };
    try {
        body();
    } catch (...) {
        if (collection) collection->EndUpdate();
        throw;
    }
    if (collection) collection->EndUpdate();
}

std::string TXColumn::DisplayName() const {
    std::string name = fFieldName;
    if (name.empty()) {
        const std::string caption = fTitle->Caption();
        if (caption.empty()) return TCollectionItem::DisplayName();
        name = "(" + (caption.size() > 20 ? caption.substr(0, 20) + "..." : caption) + ")";
    }
    if (TXColumn* parent = ParentColumn()) {
        // The child of an object field goes by the sub-field's own name under its parent's.
        TField* field = Field();
        if (field && field->ParentField() && parent->Field() == field->ParentField()) name = field->FieldName();
        return parent->DisplayName() + "." + name;
    }
    return name;
}

}  // namespace tv
