#include "platform/data/field_type.h"

#include <array>

namespace tv {

namespace {
constexpr std::array<std::string_view, 20> kFieldTypeNames = {
    "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean",   "ftFloat",    "ftCurrency",
    "ftDate",    "ftTime",   "ftDateTime", "ftBlob",    "ftMemo", "ftFixedChar", "ftWideMemo", "ftLargeint",
    "ftGraphic", "ftADT",    "ftArray",    "ftDataSet",
};
}  // namespace

std::string_view FieldTypeName(TFieldType type) {
    const auto i = static_cast<size_t>(type);
    return i < kFieldTypeNames.size() ? kFieldTypeNames[i] : kFieldTypeNames[0];
}

}  // namespace tv
