#pragma once
// The field types of the dataset, named as the class library names them, and the facts the
// dataset needs about each: how a value is stored and what its text conversions are.

#include <cstdint>
#include <string_view>

namespace tv {

enum class TFieldType : std::uint8_t {
    ftUnknown,
    ftString,    // text of at most Size characters
    ftSmallint,  // -32768 .. 32767
    ftInteger,   // 32-bit
    ftWord,      // 0 .. 65535
    ftBoolean,
    ftFloat,
    ftCurrency,  // a float shown as money, kept to four decimals
    ftDate,      // TDateTime, whole days
    ftTime,      // TDateTime, fraction of a day
    ftDateTime,
    ftBlob,       // bytes of any length
    ftMemo,       // text of any length
    ftFixedChar,  // text of at most Size characters
    ftWideMemo,   // text of any length
    ftLargeint,   // 64-bit
    ftGraphic,    // the bytes of a picture (bitmap, JPEG, metafile or icon)
    // Object fields hold no value of their own: their sub-fields do. Kept after the stored types so
    // that a saved dataset's type numbers stay what they were.
    ftADT,    // a structure: named sub-fields of any type
    ftArray,  // Size elements of one type, named "Name[0]", "Name[1]" ...
    // A dataset field: it holds a nested dataset whose records belong to the record they were
    // entered under (TField::NestedDataSet).
    ftDataSet,
};

// How a value of the type is kept in a record slot.
enum class TStorageKind : std::uint8_t { Integer, Float, Text };

constexpr TStorageKind StorageOf(TFieldType type) {
    switch (type) {
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
        case TFieldType::ftLargeint:
        case TFieldType::ftBoolean:
            return TStorageKind::Integer;
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            return TStorageKind::Float;
        default:
            return TStorageKind::Text;
    }
}

constexpr bool IsStringType(TFieldType type) {
    return type == TFieldType::ftString || type == TFieldType::ftFixedChar;
}
// Bytes of any length, not read as text.
constexpr bool IsBlobType(TFieldType type) {
    return type == TFieldType::ftBlob || type == TFieldType::ftGraphic;
}
constexpr bool IsMemoType(TFieldType type) {
    return type == TFieldType::ftMemo || type == TFieldType::ftWideMemo || IsBlobType(type);
}
constexpr bool IsIntegerType(TFieldType type) {
    return type == TFieldType::ftSmallint || type == TFieldType::ftInteger || type == TFieldType::ftWord ||
           type == TFieldType::ftLargeint;
}
constexpr bool IsObjectType(TFieldType type) {
    return type == TFieldType::ftADT || type == TFieldType::ftArray;
}
constexpr bool IsNestedType(TFieldType type) {
    return type == TFieldType::ftDataSet;
}
// Object and dataset fields keep no value in the record: sub-fields or the nested dataset do.
constexpr bool HoldsNoValue(TFieldType type) {
    return IsObjectType(type) || IsNestedType(type);
}
constexpr bool IsDateTimeType(TFieldType type) {
    return type == TFieldType::ftDate || type == TFieldType::ftTime || type == TFieldType::ftDateTime;
}

// "ftString", "ftInteger" ...: for messages and the stream format's checks.
std::string_view FieldTypeName(TFieldType type);

}  // namespace tv
