#include "platform/data/field.h"

#include "platform/data/data_set.h"
#include "platform/data/db_error.h"
#include "platform/data/field_text.h"
#include "platform/data/nested_data_set.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/number_text.h"

#include <algorithm>
#include <cmath>

namespace tv {

namespace {
constexpr std::string_view kTypeInteger = "Integer";
constexpr std::string_view kTypeBoolean = "Boolean";
constexpr std::string_view kTypeFloat = "Float";
constexpr std::string_view kTypeDateTime = "DateTime";
}  // namespace

const TClassInfo& TField::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TField>("TField")
            .Published("FieldName", &TField::FieldName)
            .Published("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
            .Published("Visible", &TField::Visible, &TField::SetVisible)
            .Published("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly)
            .Published("Required", &TField::Required, &TField::SetRequired)
            .Published("Size", &TField::Size)
            .Published("Index", &TField::Index, &TField::SetIndex)
            .Published("Alignment", &TField::Alignment, &TField::SetAlignment)
            .Published("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
            .Published("OnChange", &TField::OnChange)
            .Published("OnValidate", &TField::OnValidate)
            .Build();
    return info;
}

TField::TField(TDataSet* dataSet, std::string name, TFieldType type, int size, bool required)
    : dataSet_(dataSet), fieldName_(std::move(name)), dataType_(type), size_(size), required_(required) {
    if (IsNestedType(type)) nested_ = std::make_unique<TNestedDataSet>(*this);
}

TField::~TField() = default;

std::vector<std::unique_ptr<TField>>& TField::Siblings() {
    return parent_ ? parent_->subFields_ : dataSet_->fields_;
}

int TField::Index() const {
    const auto& siblings = const_cast<TField*>(this)->Siblings();
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return static_cast<int>(i);
    return -1;
}

void TField::SetIndex(int index) {
    auto& fields = Siblings();
    const int from = Index();
    index = std::clamp(index, 0, static_cast<int>(fields.size()) - 1);
    if (from < 0 || from == index) return;
    auto moved = std::move(fields[static_cast<size_t>(from)]);
    fields.erase(fields.begin() + from);
    fields.insert(fields.begin() + index, std::move(moved));
    dataSet_->DataEvent(TDataEvent::deLayoutChange);
}

std::string TField::NamePrefix() const {
    if (!parent_) return {};
    return parent_->dataType_ == TFieldType::ftArray ? parent_->NamePrefix() : parent_->FullName() + '.';
}

std::string TField::FullName() const {
    return NamePrefix() + fieldName_;
}

TField& TField::SubFields(int index) const {
    if (index < 0 || index >= SubFieldCount()) ListIndexError(index);
    return *subFields_[static_cast<size_t>(index)];
}

TAlignment TField::Alignment() const {
    if (alignment_ >= 0) return static_cast<TAlignment>(alignment_);
    return IsIntegerType(dataType_) || dataType_ == TFieldType::ftFloat || dataType_ == TFieldType::ftCurrency
               ? taRightJustify
               : taLeftJustify;
}

void TField::SetAlignment(TAlignment alignment) {
    if (alignment == Alignment() && alignment_ >= 0) return;
    alignment_ = alignment;
    LayoutChanged();
}

namespace {
// The characters a column shows of each type until a width is set.
int TypeDisplayWidth(TFieldType type, int size) {
    switch (type) {
        case TFieldType::ftString:
        case TFieldType::ftFixedChar:
            return size;
        case TFieldType::ftSmallint:
        case TFieldType::ftWord:
            return 6;
        case TFieldType::ftInteger:
            return 11;
        case TFieldType::ftLargeint:
            return 15;
        case TFieldType::ftBoolean:
            return 5;  // "False"
        case TFieldType::ftDateTime:
            return 18;
        default:
            return 10;
    }
}
}  // namespace

int TField::DisplayWidth() const {
    return displayWidth_ >= 0 ? displayWidth_ : TypeDisplayWidth(dataType_, size_);
}

void TField::SetDisplayWidth(int width) {
    if (width < 0) width = -1;
    if (width == displayWidth_) return;
    displayWidth_ = width;
    LayoutChanged();
}

void TField::SetDisplayLabel(std::string label) {
    if (label == displayLabel_) return;
    displayLabel_ = std::move(label);
    LayoutChanged();
}

void TField::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    LayoutChanged();
}

void TField::LayoutChanged() {
    if (dataSet_->Active()) dataSet_->DataEvent(TDataEvent::deLayoutChange);
}

bool TField::CanModify() const {
    return kind_ == fkData && !readOnly_ && dataSet_->CanModify();
}

bool TField::IsValidChar(char16_t ch) const {
    const bool digitOrSign = (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-';
    if (IsIntegerType(dataType_)) return digitOrSign;
    if (dataType_ == TFieldType::ftFloat || dataType_ == TFieldType::ftCurrency)
        return digitOrSign || ch == u'e' || ch == u'E' ||
               ch == static_cast<unsigned char>(dataSet_->FormatSettings().DecimalSeparator);
    return true;
}

TValueView TField::Read() const {
    return dataSet_->ReadField(*this);
}

void TField::Write(const TValueView& value) {
    dataSet_->WriteField(*this, value);
}

void TField::AccessError(std::string_view typeName) const {
    DatabaseError(kFieldAccessError, {DisplayName(), typeName});
}

bool TField::IsNull() const {
    if (nested_) return !nested_->Active() || nested_->IsEmpty();
    if (IsObjectField())
        return std::all_of(subFields_.begin(), subFields_.end(), [](const auto& f) { return f->IsNull(); });
    return Read().IsNull();
}

void TField::Clear() {
    if (!IsObjectField()) return Write({});
    dataSet_->CheckFieldWritable(*this);
    for (auto& field : subFields_) field->Clear();
}

void TField::FocusControl() {
    TField* field = this;
    dataSet_->DataEvent(TDataEvent::deFocusControl, reinterpret_cast<std::intptr_t>(&field));
}

// ---------------------------------------------------------------- text

std::string TField::AsString() const {
    return StorageToText(*this, Read());
}

std::string TField::GetText(bool display) const {
    std::string text;
    if (OnGetText)
        OnGetText(const_cast<TField*>(this), text, display);
    else
        text = AsString();
    return text;
}

void TField::SetText(std::string_view text) {
    if (OnSetText)
        OnSetText(this, std::string(text));
    else
        SetAsString(text);
}

void TField::SetAsString(std::string_view text) {
    dataSet_->CheckFieldWritable(*this);
    std::string scratch;
    Write(TextToStorage(*this, text, scratch));
}

void TField::WriteText(std::string_view text) {
    std::string scratch;
    Write(TextToStorage(*this, text, scratch));
}

// ---------------------------------------------------------------- integers

void TField::WriteInteger(std::int64_t value) {
    std::string scratch;
    Write(IntegerToStorage(*this, value, scratch));
}

std::int64_t TField::AsLargeInt() const {
    const TValueView v = Read();
    switch (StorageOf(dataType_)) {
        case TStorageKind::Integer:
            if (dataType_ == TFieldType::ftBoolean) AccessError(kTypeInteger);
            return v.IsNull() ? 0 : v.integer;
        case TStorageKind::Float:
            if (IsDateTimeType(dataType_)) AccessError(kTypeInteger);
            return v.IsNull() ? 0 : RoundToInteger(*this, v.number);
        case TStorageKind::Text:
            if (IsBlobType(dataType_)) AccessError(kTypeInteger);
            return StrToInt64(v.text);
    }
    return 0;
}

int TField::AsInteger() const {
    const std::int64_t value = AsLargeInt();
    if (value < INT32_MIN || value > INT32_MAX)
        DatabaseError(kFieldRangeError,
                      {IntToStr(value), DisplayName(), IntToStr(INT32_MIN), IntToStr(INT32_MAX)});
    return static_cast<int>(value);
}

void TField::SetAsLargeInt(std::int64_t value) {
    dataSet_->CheckFieldWritable(*this);
    if (dataType_ == TFieldType::ftBoolean || IsDateTimeType(dataType_) || IsBlobType(dataType_))
        AccessError(kTypeInteger);
    WriteInteger(value);
}

void TField::SetAsInteger(int value) {
    SetAsLargeInt(value);
}

// ---------------------------------------------------------------- Booleans

bool TField::AsBoolean() const {
    const TValueView v = Read();
    if (dataType_ == TFieldType::ftBoolean) return !v.IsNull() && v.integer != 0;
    if (IsStringType(dataType_) || IsMemoType(dataType_)) {
        // A text counts as true when it begins with T or Y, as the class library reads it.
        const char c = v.text.empty() ? '\0' : v.text.front();
        return c == 'T' || c == 't' || c == 'Y' || c == 'y';
    }
    AccessError(kTypeBoolean);
}

void TField::SetAsBoolean(bool value) {
    dataSet_->CheckFieldWritable(*this);
    if (dataType_ == TFieldType::ftBoolean) return Write(TValueView::FromInteger(value ? 1 : 0));
    if (IsStringType(dataType_) || IsMemoType(dataType_)) return WriteText(value ? "T" : "F");
    AccessError(kTypeBoolean);
}

// ---------------------------------------------------------------- floats and dates

void TField::WriteFloat(double value) {
    std::string scratch;
    Write(FloatToStorage(*this, value, scratch));
}

double TField::AsFloat() const {
    const TValueView v = Read();
    switch (StorageOf(dataType_)) {
        case TStorageKind::Integer:
            if (dataType_ == TFieldType::ftBoolean) AccessError(kTypeFloat);
            return v.IsNull() ? 0 : static_cast<double>(v.integer);
        case TStorageKind::Float:
            return v.IsNull() ? 0 : v.number;
        case TStorageKind::Text:
            if (IsBlobType(dataType_)) AccessError(kTypeFloat);
            return StrToFloat(v.text, dataSet_->FormatSettings());
    }
    return 0;
}

void TField::SetAsFloat(double value) {
    dataSet_->CheckFieldWritable(*this);
    if (dataType_ == TFieldType::ftBoolean || IsBlobType(dataType_)) AccessError(kTypeFloat);
    if (StorageOf(dataType_) == TStorageKind::Text)
        return WriteText(FloatToStr(value, dataSet_->FormatSettings()));
    WriteFloat(value);
}

void TField::SetAsCurrency(double value) {
    SetAsFloat(value);
}

double TField::AsDateTime() const {
    const TValueView v = Read();
    if (IsDateTimeType(dataType_)) return v.IsNull() ? 0 : v.number;
    if (IsStringType(dataType_) || IsMemoType(dataType_))
        return StrToDateTime(v.text, dataSet_->FormatSettings());
    AccessError(kTypeDateTime);
}

void TField::SetAsDateTime(double value) {
    dataSet_->CheckFieldWritable(*this);
    if (IsDateTimeType(dataType_)) return Write(TValueView::FromFloat(value));
    if (IsStringType(dataType_) || IsMemoType(dataType_))
        return WriteText(DateTimeToStr(value, dataSet_->FormatSettings()));
    AccessError(kTypeDateTime);
}

// ---------------------------------------------------------------- variants

Variant TField::Value() const {
    if (!IsObjectField()) return StorageToVariant(*this, Read());
    if (IsNull()) return Variant::Null();
    Variant values = Variant::ArrayOf(0, SubFieldCount() - 1);
    for (int i = 0; i < SubFieldCount(); ++i) values.Element(i) = SubFields(i).Value();
    return values;
}

void TField::SetValue(const Variant& value) {
    dataSet_->CheckFieldWritable(*this);
    if (IsObjectField()) {
        // Null clears every sub-field; an array gives them their values in order.
        if (value.IsNull() || value.IsEmpty()) return Clear();
        if (!value.IsArray() || value.LowBound() != 0 || value.HighBound() != SubFieldCount() - 1)
            AccessError("Variant");
        for (int i = 0; i < SubFieldCount(); ++i) SubFields(i).SetValue(value.Element(i));
        return;
    }
    if (value.IsString()) return WriteText(value.AsUtf8());
    std::string scratch;
    Write(VariantToStorage(*this, value, scratch));
}

Variant TField::OldValue() const {
    if (dataSet_->State() == dsInsert) return {};
    return StorageToVariant(*this, dataSet_->ReadOldField(*this));
}

}  // namespace tv
