#include "platform/data/field_text.h"

#include "platform/data/data_set.h"
#include "platform/data/db_error.h"
#include "platform/data/field.h"
#include "platform/data/key_compare.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/number_text.h"

#include <cmath>
#include <limits>

namespace tv {

namespace {

constexpr std::string_view kTrueText = "True";
constexpr std::string_view kFalseText = "False";

const TFormatSettings& SettingsOf(const TField& field) {
    return field.DataSet() ? field.DataSet()->FormatSettings() : DefaultFormatSettings();
}

std::int64_t CheckRange(const TField& field, std::int64_t value) {
    std::int64_t low = std::numeric_limits<std::int64_t>::min(),
                 high = std::numeric_limits<std::int64_t>::max();
    switch (field.DataType()) {
        case TFieldType::ftSmallint:
            low = -32768;
            high = 32767;
            break;
        case TFieldType::ftWord:
            low = 0;
            high = 65535;
            break;
        case TFieldType::ftInteger:
            low = std::numeric_limits<std::int32_t>::min();
            high = std::numeric_limits<std::int32_t>::max();
            break;
        default:
            break;
    }
    if (value < low || value > high)
        DatabaseError(kFieldRangeError,
                      {IntToStr(value), field.DisplayName(), IntToStr(low), IntToStr(high)});
    return value;
}

double ForField(const TField& field, double value) {
    // A currency keeps four decimals, as the class library's currency type does.
    return field.DataType() == TFieldType::ftCurrency ? std::round(value * 10000.0) / 10000.0 : value;
}

bool TextToBoolean(const TField& field, std::string_view text) {
    if (StartsWithFieldText(kFalseText, text, true)) return false;
    if (StartsWithFieldText(kTrueText, text, true)) return true;
    DatabaseError(kInvalidBoolValue, {text, field.DisplayName()});
}

}  // namespace

std::int64_t RoundToInteger(const TField& field, double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18)
        DatabaseError(kFieldRangeError, {FloatToStr(value, SettingsOf(field)), field.DisplayName(),
                                         IntToStr(std::numeric_limits<std::int64_t>::min()),
                                         IntToStr(std::numeric_limits<std::int64_t>::max())});
    return CheckRange(field, std::llround(value));
}

std::string StorageToText(const TField& field, const TValueView& value) {
    if (value.IsNull()) return {};
    const TFormatSettings& settings = SettingsOf(field);
    switch (field.DataType()) {
        case TFieldType::ftBoolean:
            return std::string(value.integer ? kTrueText : kFalseText);
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
        case TFieldType::ftLargeint:
            return IntToStr(value.integer);
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
            return FloatToStr(value.number, settings);
        case TFieldType::ftDate:
            return DateToStr(value.number, settings);
        case TFieldType::ftTime:
            return TimeToStr(value.number, settings);
        case TFieldType::ftDateTime:
            return DateTimeToStr(value.number, settings);
        default:
            return std::string(value.text);
    }
}

TValueView TextToStorage(const TField& field, std::string_view text, std::string& scratch) {
    const TFieldType type = field.DataType();
    if (IsStringType(type)) {
        scratch.assign(text.substr(0, Utf8PrefixBytes(text, static_cast<size_t>(field.Size()))));
        return TValueView::FromText(scratch);
    }
    if (IsMemoType(type)) {
        scratch.assign(text);
        return TValueView::FromText(scratch);
    }
    if (text.empty()) return {};
    const TFormatSettings& settings = SettingsOf(field);
    switch (type) {
        case TFieldType::ftBoolean:
            return TValueView::FromInteger(TextToBoolean(field, text) ? 1 : 0);
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
        case TFieldType::ftLargeint: {
            std::int64_t value = 0;
            if (!TryStrToInt64(text, value)) DatabaseError(kInvalidIntegerValue, {text, field.DisplayName()});
            return TValueView::FromInteger(CheckRange(field, value));
        }
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency: {
            double value = 0;
            if (!TryStrToFloat(text, value, settings))
                DatabaseError(kInvalidFloatValue, {text, field.DisplayName()});
            return TValueView::FromFloat(ForField(field, value));
        }
        case TFieldType::ftDate:
            return TValueView::FromFloat(StrToDate(text, settings));
        case TFieldType::ftTime:
            return TValueView::FromFloat(StrToTime(text, settings));
        case TFieldType::ftDateTime:
            return TValueView::FromFloat(StrToDateTime(text, settings));
        default:
            DatabaseError(kFieldAccessError, {field.DisplayName(), "String"});
    }
}

TValueView IntegerToStorage(const TField& field, std::int64_t value, std::string& scratch) {
    switch (StorageOf(field.DataType())) {
        case TStorageKind::Text:
            return TextToStorage(field, IntToStr(value), scratch);
        case TStorageKind::Float:
            return TValueView::FromFloat(ForField(field, static_cast<double>(value)));
        case TStorageKind::Integer:
            if (field.DataType() == TFieldType::ftBoolean) return TValueView::FromInteger(value != 0 ? 1 : 0);
            return TValueView::FromInteger(CheckRange(field, value));
    }
    return {};
}

TValueView FloatToStorage(const TField& field, double value, std::string& scratch) {
    switch (StorageOf(field.DataType())) {
        case TStorageKind::Text:
            return TextToStorage(field, FloatToStr(value, SettingsOf(field)), scratch);
        case TStorageKind::Float:
            return TValueView::FromFloat(ForField(field, value));
        case TStorageKind::Integer:
            if (field.DataType() == TFieldType::ftBoolean) return TValueView::FromInteger(value != 0 ? 1 : 0);
            return TValueView::FromInteger(RoundToInteger(field, value));
    }
    return {};
}

TValueView VariantToStorage(const TField& field, const Variant& value, std::string& scratch) {
    if (value.IsEmpty() || value.IsNull()) return {};
    const TFormatSettings& settings = SettingsOf(field);
    const TStorageKind storage = StorageOf(field.DataType());
    if (value.IsString() || storage == TStorageKind::Text) {
        // Texts are read by the field's type; a number looked up by a string field compares as
        // its text.
        std::string text = value.AsUtf8(&settings);
        if (storage == TStorageKind::Text) {
            scratch = std::move(text);
            return TValueView::FromText(scratch);
        }
        return TextToStorage(field, text, scratch);
    }
    switch (value.VarType()) {
        case varBoolean:
            return IntegerToStorage(field, value.AsBoolean() ? 1 : 0, scratch);
        case varSingle:
        case varDouble:
        case varCurrency:
        case varDate:
            return FloatToStorage(field, value.AsDouble(&settings), scratch);
        default:
            return IntegerToStorage(field, value.AsInt64(&settings), scratch);
    }
}

TValueView ConvertToField(const TField& field, const TValueView& value, std::string& scratch) {
    switch (value.kind) {
        case TValueView::Kind::Null:
            return {};
        case TValueView::Kind::Text:
            return TextToStorage(field, value.text, scratch);
        case TValueView::Kind::Integer:
            return IntegerToStorage(field, value.integer, scratch);
        case TValueView::Kind::Float:
            return FloatToStorage(field, value.number, scratch);
    }
    return {};
}

Variant StorageToVariant(const TField& field, const TValueView& value) {
    if (value.IsNull()) return Variant::Null();
    switch (field.DataType()) {
        case TFieldType::ftBoolean:
            return Variant(value.integer != 0);
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
            return Variant(static_cast<std::int32_t>(value.integer));
        case TFieldType::ftLargeint:
            return Variant(static_cast<std::int64_t>(value.integer));
        case TFieldType::ftFloat:
            return Variant(value.number);
        case TFieldType::ftCurrency:
            return Variant::FromCurrency(std::llround(value.number * 10000.0));
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            return Variant::FromDate(value.number);
        default:
            return Variant::FromUtf8(value.text);
    }
}

}  // namespace tv
