#include "controls/xdb_column_totals.h"

#include "controls/xdb_collection_support.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/gui/menu.h"
#include "platform/gui/sound.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"

namespace tv {

const TClassInfo& TXColumnTotal::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotal>("TXColumnTotal").Build();
    return info;
}
const TClassInfo& TXColumnTotalValue::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotalValue>("TXColumnTotalValue").Build();
    return info;
}
const TClassInfo& TXColumnTotalValues::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotalValues>("TXColumnTotalValues").Build();
    return info;
}
const TClassInfo& TXColumnTotalHeader::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotalHeader>("TXColumnTotalHeader").Build();
    return info;
}
const TClassInfo& TXColumnTotalFooter::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotalFooter>("TXColumnTotalFooter").Build();
    return info;
}
const TClassInfo& TXColumnTotalFields::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXColumnTotalFields>("TXColumnTotalFields").Build();
    return info;
}

namespace {

TXColumn* ColumnOf(TCollection* collection) {
    auto* values = dynamic_cast<TXColumnTotalValues*>(collection);
    return values ? values->Column() : nullptr;
}

bool TotalsSelected(const TXCustomDBGrid* grid) {
    return grid && grid->Totals()->Selected();
}

bool IsIntegerVariant(uint16_t type) {
    switch (type) {
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
            return true;
        default:
            return false;
    }
}

// "text%pattern%text" as its three parts; false with fewer than two "%".
bool SplitPattern(const std::string& format, std::string& before, std::string& pattern, std::string& after) {
    const size_t first = format.find('%');
    if (first == std::string::npos) return false;
    const size_t second = format.find('%', first + 1);
    if (second == std::string::npos) return false;
    before = format.substr(0, first);
    pattern = format.substr(first + 1, second - first - 1);
    after = format.substr(second + 1);
    return true;
}

std::string ApplyFormat(const std::string& format, const Variant& v) {
    const uint16_t type = v.VarType();
    if (type == varDate || type == varBoolean) {
        std::string before, pattern, after;
        if (!SplitPattern(format, before, pattern, after))
            throw EConvertError(tv::Format(kFormatInvalid, {format}));
        if (type == varDate) return before + FormatDateTime(pattern, v.AsDate()) + after;
        const size_t semicolon = pattern.find(';');
        if (v.AsBoolean()) return before + pattern.substr(0, semicolon) + after;
        return before + (semicolon == std::string::npos ? std::string() : pattern.substr(semicolon + 1)) + after;
    }
    if (IsIntegerVariant(type)) return tv::Format(format, {v.AsInt64()});
    if (type == varInt64) return tv::Format(format, {static_cast<int64_t>(v.AsInt64())});
    if (type == varSingle || type == varDouble || type == varCurrency) return tv::Format(format, {v.AsDouble()});
    return tv::Format(format, {v.AsUtf8()});
}

}  // namespace

std::string TotalTextPart(const std::string& text, bool selected) {
    const size_t bar = text.find('|');
    if (bar == std::string::npos) return text;
    return selected ? text.substr(bar + 1) : text.substr(0, bar);
}

// ---------------------------------------------------------------- TXColumnTotal

TXColumnTotal::TXColumnTotal(TCollection* Collection)
    : TCollectionItem(Collection), fColumn(ColumnOf(Collection)), fFont(std::make_unique<TFont>()) {
    if (TFont* def = DefaultFont()) fFont->Assign(def);
    fColor = DefaultColor();
    fFont->OnChange = [this](TObject*) { FontChanged(); };
}

TXColumnTotal::TXColumnTotal(TXColumn* Column, TTotalResult Result) : TXColumnTotal(nullptr) {
    fColumn = Column;
    fTotalResult = Result;
    if (TFont* def = DefaultFont()) CopyFontQuietly(*fFont, *def);
    fColor = DefaultColor();
}

TXColumnTotal::~TXColumnTotal() {
    fFont->OnChange = nullptr;
}

TXCustomDBGrid* TXColumnTotal::Grid() const {
    return fColumn ? fColumn->Grid() : nullptr;
}

void TXColumnTotal::Changed() {
    if (fColumn) fColumn->TotalChanged(this);
}

TAlignment TXColumnTotal::DefaultAlignment() const {
    return fColumn ? fColumn->Alignment() : taLeftJustify;
}

TColor TXColumnTotal::DefaultColor() const {
    TXCustomDBGrid* grid = Grid();
    return grid ? grid->Totals()->Color() : clBtnFace;
}

TFont* TXColumnTotal::DefaultFont() const {
    if (TXCustomDBGrid* grid = Grid()) return grid->Totals()->Font();
    return fColumn ? fColumn->Font() : nullptr;
}

TAlignment TXColumnTotal::Alignment() const {
    return fAssignedValues.Contains(cvTotalAlignment) ? fAlignment : DefaultAlignment();
}

void TXColumnTotal::SetAlignment(TAlignment value) {
    if (fAssignedValues.Contains(cvTotalAlignment) && value == fAlignment) return;
    fAssignedValues.Include(cvTotalAlignment);
    fAlignment = value;
    Changed();
}

TColor TXColumnTotal::Color() const {
    return fAssignedValues.Contains(cvTotalColor) ? fColor : DefaultColor();
}

void TXColumnTotal::SetColor(TColor value) {
    if (fAssignedValues.Contains(cvTotalColor) && value == fColor) return;
    fAssignedValues.Include(cvTotalColor);
    fColor = value;
    Changed();
}

void TXColumnTotal::RefreshDefaultFont() const {
    if (fAssignedValues.Contains(cvTotalFont)) return;
    if (TFont* def = DefaultFont()) CopyFontQuietly(*fFont, *def);
}

TFont* TXColumnTotal::Font() const {
    RefreshDefaultFont();
    return fFont.get();
}

void TXColumnTotal::FontChanged() {
    fAssignedValues.Include(cvTotalFont);
    // A font changes the total rows' height: the whole layout.
    if (fColumn) fColumn->TotalChanged(nullptr);
}

void TXColumnTotal::SetPopupMenu(TPopupMenu* value) {
    fPopupMenu = value;
    if (TXCustomDBGrid* grid = Grid(); grid && value) value->FreeNotification(grid);
}

void TXColumnTotal::SetCaption(const std::string& value) {
    if (fAssignedValues.Contains(cvTotalCaption) && value == fCaption) return;
    fAssignedValues.Include(cvTotalCaption);
    fCaption = value;
    Changed();
}

// ---- the field

TField* TXColumnTotal::Field() const {
    if (fField) return fField;
    TXCustomDBGrid* grid = Grid();
    if (!grid) return nullptr;
    auto lookUp = [&](TDataLink* link, const std::string& name) -> TField* {
        TDataSet* dataSet = link->DataSet();
        if (!link->Active() || !dataSet || name.empty()) return nullptr;
        if (!dataSet->Active() && dataSet->DefaultFields()) return nullptr;
        TField* field = dataSet->FindField(name);
        if (field) field->FreeNotification(grid);
        return field;
    };
    if (fTotalResult == trDataField || fTotalResult == trCalcValue)
        fField = lookUp(grid->DataLink(), fFieldName.empty() ? fColumn->FieldName() : fFieldName);
    else if (fTotalResult == trTotalField)
        fField = lookUp(grid->Totals()->DataLink(), fFieldName);
    return fField;
}

void TXColumnTotal::SetField(TField* value) {
    if (value && value->ComponentState().Contains(csDestroying)) value = nullptr;
    if (value == fField) return;
    fField = value;
    if (TXCustomDBGrid* grid = Grid(); grid && value) value->FreeNotification(grid);
    if (value && !fFieldName.empty()) fFieldName = value->FullName();
}

void TXColumnTotal::FieldRemoved(const TComponent* value) {
    if (fField == value) fField = nullptr;
}

void TXColumnTotal::Rebind() {
    fField = nullptr;
    Field();
    TXCustomDBGrid* grid = Grid();
    if (fTotalResult == trCalcValue) {
        if (grid) grid->UpdateTotals(true);
    } else {
        Changed();
    }
}

void TXColumnTotal::SetFieldName(const std::string& value) {
    if (value == fFieldName) return;
    fFieldName = value;
    Rebind();
}

void TXColumnTotal::SetTotalResult(TTotalResult value) {
    if (value == fTotalResult) return;
    fTotalResult = value;
    Rebind();
}

std::string TXColumnTotal::TotalFieldText(int recNo) const {
    TXCustomDBGrid* grid = Grid();
    if (!grid) return {};
    TXTotalDataLink* link = grid->Totals()->DataLink();
    if (!link->Active()) return {};
    TField* field = Field();
    if (!field) return {};
    const int saved = link->ActiveRecord();
    link->SetActiveRecord(recNo);
    std::string text;
    try {
        text = field->DisplayText();
    } catch (...) {
        link->SetActiveRecord(saved);
        throw;
    }
    link->SetActiveRecord(saved);
    return text;
}

std::string TXColumnTotal::GetDisplayText() const {
    switch (fTotalResult) {
        case trCaption:
            return TotalTextPart(fCaption, TotalsSelected(Grid()));
        case trCalcValue:
            return fCaption;
        case trDataField:
        case trTotalField: {
            if (fTotalResult == trDataField && fFieldName.empty() && fColumn) return fColumn->DisplayText();
            TField* field = Field();
            return field ? field->DisplayText() : std::string();
        }
        default:
            return {};
    }
}

void TXColumnTotal::RestoreDefaults() {
    const bool fontAssigned = fAssignedValues.Contains(cvTotalFont);
    fAssignedValues.Exclude(cvTotalColor);
    fAssignedValues.Exclude(cvTotalAlignment);
    fAssignedValues.Exclude(cvTotalFont);
    RefreshDefaultFont();
    fEllipsis = true;
    fWordWrap = true;
    fVAlignment = tvCenter;
    fHint.clear();
    fToolTips = true;
    fToolTipsWidth = ttAutoWidth;
    fImageIndex = -1;
    fPopupMenu = nullptr;
    fTotalBox = tbAuto;
    fVisible = true;
    if (fColumn) fColumn->TotalChanged(fontAssigned ? nullptr : this);
}

void TXColumnTotal::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXColumnTotal*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    fFieldName = other->fFieldName;
    fField = nullptr;
    if (other->fAssignedValues.Contains(cvTotalAlignment)) SetAlignment(other->fAlignment);
    if (other->fAssignedValues.Contains(cvTotalColor)) SetColor(other->fColor);
    if (other->fAssignedValues.Contains(cvTotalCaption)) TXColumnTotal::SetCaption(other->fCaption);
    if (other->fAssignedValues.Contains(cvTotalFont)) SetFont(other->fFont.get());
    fEllipsis = other->fEllipsis;
    fHint = other->fHint;
    fImageIndex = other->fImageIndex;
    fPopupMenu = other->fPopupMenu;
    fToolTips = other->fToolTips;
    fToolTipsWidth = other->fToolTipsWidth;
    fTotalBox = other->fTotalBox;
    fTotalResult = other->fTotalResult;
    fVAlignment = other->fVAlignment;
    fVisible = other->fVisible;
    fWordWrap = other->fWordWrap;
    Changed();
}

// ---------------------------------------------------------------- TXColumnTotalValue

TXColumnTotalValue::TXColumnTotalValue(TCollection* Collection) : TXColumnTotal(Collection) {}

TXColumnTotalValue::TXColumnTotalValue(TXColumn* Column) : TXColumnTotal(Column, trCaption) {}

void TXColumnTotalValue::SetCaption(const std::string& value) {
    fValue.Clear();
    TXColumnTotal::SetCaption(value);
}

void TXColumnTotalValue::SetValue(const Variant& value) {
    fValue = value;
    fAssignedValues.Exclude(cvTotalCaption);
    fCaption = FormatValue(fValue);
    Changed();
}

void TXColumnTotalValue::Reformat() {
    // A stored or calculated value is formatted anew; a written caption stays.
    if (fValue.IsEmpty() || fAssignedValues.Contains(cvTotalCaption)) return;
    fCaption = FormatValue(fValue);
    Changed();
}

void TXColumnTotalValue::SetFormat(const std::string& value) {
    if (value == fFormat) return;
    fFormat = value;
    Reformat();
}

void TXColumnTotalValue::SetFormatAsFloat(bool value) {
    if (value == fFormatAsFloat) return;
    fFormatAsFloat = value;
    Reformat();
}

void TXColumnTotalValue::CalculationChanged() {
    if (TotalResult() != trCalcValue) return;
    if (TXCustomDBGrid* grid = Grid()) grid->UpdateTotals(true);
}

void TXColumnTotalValue::SetCalcApply(TCalcApply value) {
    if (value == fCalcApply) return;
    fCalcApply = value;
    CalculationChanged();
}

void TXColumnTotalValue::SetCalcValue(TCalcValue value) {
    if (value == fCalcValue) return;
    fCalcValue = value;
    CalculationChanged();
}

void TXColumnTotalValue::SetNullValue(TNullValue value) {
    if (value == fNullValue) return;
    fNullValue = value;
    CalculationChanged();
}

void TXColumnTotalValue::SetTotalRecNo(int value) {
    if (value <= 0) value = 1;
    SetDisplayed(fTotalRecNo, value);
}

std::string TXColumnTotalValue::GetDisplayText() const {
    if (TotalResult() == trTotalField) return TotalFieldText(fTotalRecNo - 1);
    return TXColumnTotal::GetDisplayText();
}

// ---- the calculation

void TXColumnTotalValue::AddRecord(Variant v) {
    if (v.IsNull()) {
        if (fNullValue == nvExclude) return;
        if (fNullValue == nvAsZero) v = Variant(int32_t{0});
    }
    ++Counter;
    switch (fCalcValue) {
        case cvSum:
        case cvAvg:
            if (!v.IsNumeric()) break;
            TempValue = TempValue.IsEmpty() ? v : Variant::BinaryOp(TVarOp::Add, TempValue, v);
            break;
        case cvCount:
            TempValue = TempValue.IsEmpty() ? Variant(int32_t{1})
                                            : Variant::BinaryOp(TVarOp::Add, TempValue, Variant(int32_t{1}));
            break;
        case cvMax:
        case cvMin: {
            if (TempValue.IsEmpty()) {
                TempValue = v;
                break;
            }
            const TVarCompare c = Variant::Compare(v, TempValue);
            if (c == (fCalcValue == cvMax ? TVarCompare::Greater : TVarCompare::Less)) TempValue = v;
            break;
        }
        case cvFirst:
            if (Counter == 1) TempValue = v;
            break;
        case cvLast:
            TempValue = v;
            break;
        case cvUnique:
            if (Counter == 1)
                TempValue = v;
            else if (!TempValue.IsNull() && Variant::Compare(v, TempValue) != TVarCompare::Equal)
                TempValue = Variant::Null();
            break;
        case cvCustom:
            break;
    }
}

bool TXColumnTotalValue::Calculate(TCalcPass Pass) {
    TXCustomDBGrid* grid = Grid();
    if (TotalResult() != trCalcValue) {
        if (Pass == cpFinal && TotalResult() == trCaption) Changed();
        return false;
    }
    if (Pass == cpCalcRec && fCalcApply != caBoth) {
        const bool selectedRows = grid && grid->Totals()->SelectedRows;
        if ((fCalcApply == caSelectedRows) != selectedRows) return false;
    }
    Variant v;
    switch (Pass) {
        case cpReset:
            Counter = 0;
            if (grid) grid->TotalCalcValue(this, Pass, v);
            TempValue = v;
            break;
        case cpCalcRec:
            // A failing field or handler leaves the total without a value; the walk goes on.
            try {
                if (TField* field = Field()) v = field->Value();
                if (grid) grid->TotalCalcValue(this, Pass, v);
                AddRecord(std::move(v));
            } catch (...) {
                TempValue.Clear();
            }
            break;
        case cpFinal:
            v = TempValue;
            if (fCalcValue == cvAvg) {
                if (Counter == 0 || !v.IsNumeric()) {
                    v.Clear();
                } else {
                    try {
                        v = Variant(v.AsDouble() / Counter);
                    } catch (...) {
                        v.Clear();
                    }
                }
            }
            if (grid) grid->TotalCalcValue(this, Pass, v);
            SetValue(v);
            break;
    }
    return true;
}

// ---- formatting

std::string TXColumnTotalValue::FormatValue(const Variant& AValue) const {
    if (AValue.IsEmpty() || AValue.IsNull()) return {};
    TXCustomDBGrid* grid = Grid();
    const std::string format = TotalTextPart(fFormat, TotalsSelected(grid));
    auto asText = [&](const Variant& v) {
        if (grid && grid->ComponentState().Contains(csDesigning)) Beep();
        try {
            return v.AsUtf8();
        } catch (const Exception&) {
            return std::string();
        }
    };
    Variant v = AValue;
    if (fFormatAsFloat) {
        try {
            v = Variant(AValue.AsDouble());
        } catch (const Exception&) {
            return asText(AValue);
        }
    }
    if (format.empty()) {
        if (v.VarType() == varCurrency) return tv::Format("%m", {v.AsDouble()});
        return asText(v);
    }
    try {
        return ApplyFormat(format, v);
    } catch (const Exception&) {
        return asText(AValue);
    }
}

void TXColumnTotalValue::Assign(TPersistent* Source) {
    TXColumnTotal::Assign(Source);
    auto* other = dynamic_cast<TXColumnTotalValue*>(Source);
    if (!other) return;
    fCalcApply = other->fCalcApply;
    fCalcValue = other->fCalcValue;
    fFormat = other->fFormat;
    fFormatAsFloat = other->fFormatAsFloat;
    fNullValue = other->fNullValue;
    fTotalRecNo = other->fTotalRecNo;
    // The value is stored when no caption was written and it is not calculated.
    if (!other->fAssignedValues.Contains(cvTotalCaption) && other->TotalResult() != trCalcValue)
        SetValue(other->fValue);
}

std::string TXColumnTotalValue::DisplayName() const {
    TXColumn* column = Column();
    std::string name;
    if (TField* field = Field())
        name = field->FieldName();
    else if (!FieldName().empty())
        name = FieldName();
    else if (column && !column->FieldName().empty())
        name = column->FieldName();
    else if (TotalResult() == trDataField && column)
        name = "(" + column->Title()->Caption() + ")";
    else
        name = "<Unknown>";
    static constexpr const char* kCalcNames[] = {"Sum(",  "Avg(",  "Count(",  "Max(",   "Min(",
                                                 "First(", "Last(", "Unique(", "Custom("};
    switch (TotalResult()) {
        case trNone:
            return "<None>";
        case trCaption:
            if (!fCaption.empty()) return fCaption;
            return fValue.IsNull() ? "<Null>" : "<Empty>";
        case trDataField:
            return (FieldName().empty() ? "ColumnData: " : "DataField: ") + name;
        case trTotalField:
            if (FieldName().empty()) return "TotalField: <Unknown>";
            return "TotalField: " + name + "[" + std::to_string(fTotalRecNo) + "]";
        case trCalcValue:
            return kCalcNames[fCalcValue] + name + ")";
    }
    return {};
}

// ---------------------------------------------------------------- TXColumnTotalValues

TXColumnTotalValues::TXColumnTotalValues(TXColumn* Column, const TClassInfo& ValueClass)
    : TCollection(ValueClass), fColumn(Column) {}

TPersistent* TXColumnTotalValues::Owner() const {
    return fColumn;
}

TXColumnTotalValue* TXColumnTotalValues::Add() {
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = TCollection::Add();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return static_cast<TXColumnTotalValue*>(item);
}

void TXColumnTotalValues::RestoreDefaults() {
    RestoreItemDefaults(*this);
}

void TXColumnTotalValues::Update(TCollectionItem* Item) {
    if (fColumn) fColumn->TotalChanged(static_cast<TXColumnTotal*>(Item));
}

// ---------------------------------------------------------------- the column's totals

void TXColumn::CreateTotals() {
    fTotalHeader = std::make_unique<TXColumnTotalHeader>(this);
    fTotalValues = std::make_unique<TXColumnTotalValues>(this);
    fTotalFields = std::make_unique<TXColumnTotalFields>(this);
    fTotalFooter = std::make_unique<TXColumnTotalFooter>(this);
}

void TXColumn::FreeTotals() {
    fTotalFooter.reset();
    fTotalFields.reset();
    fTotalValues.reset();
    fTotalHeader.reset();
}

void TXColumn::TotalChanged(TXColumnTotal* Total) {
    TXCustomDBGrid* grid = Grid();
    if (!grid || grid->ComponentState().Contains(csLoading)) return;
    if (!Total) {
        grid->LayoutChanged();
        grid->RefreshEditor();
        return;
    }
    grid->InvalidateTotal(this, Total);
}

TXColumnTotal* TXColumn::TotalAtRow(int r) const {
    TXCustomDBGrid* grid = Grid();
    if (!grid || r < 0) return nullptr;
    const int h = grid->TotalHeaderRowCount();
    const int v = grid->TotalValuesRowCount();
    const int t = grid->TotalOffset();
    const int f = grid->TotalFooterRowCount();
    if (r < h) return fTotalHeader.get();
    if (r < h + v) return r - h < fTotalValues->Count() ? fTotalValues->Items(r - h) : nullptr;
    if (r < t - f - 1) return fTotalFields.get();
    if (r < t - 1) return fTotalFooter.get();
    return nullptr;
}

}  // namespace tv
