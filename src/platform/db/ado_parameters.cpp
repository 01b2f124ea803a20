#include "platform/db/ado_parameters.h"

#include "platform/data/db_error.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/component.h"

namespace tv {

namespace {
constexpr std::string_view kParameterNotFound = "Parameter '%s' not found";
}  // namespace

TFieldType TParameter::DataType() const {
    if (dataType_ != TFieldType::ftUnknown) return dataType_;
    switch (value_.VarType()) {
        case varEmpty:
        case varNull:
            return TFieldType::ftUnknown;
        case varBoolean:
            return TFieldType::ftBoolean;
        case varSingle:
        case varDouble:
            return TFieldType::ftFloat;
        case varCurrency:
            return TFieldType::ftCurrency;
        case varDate:
            return TFieldType::ftDateTime;
        case varInt64:
        case varLongWord:
            return TFieldType::ftLargeint;
        default:
            return value_.IsString() ? TFieldType::ftString : TFieldType::ftInteger;
    }
}

TParameter& TParameters::Items(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return *items_[static_cast<size_t>(index)];
}

TParameter* TParameters::FindParam(std::string_view name) const {
    for (const auto& item : items_)
        if (SameTextAscii(item->Name(), name)) return item.get();
    return nullptr;
}

TParameter& TParameters::ParamByName(std::string_view name) const {
    TParameter* parameter = FindParam(name);
    if (!parameter) DatabaseError(kParameterNotFound, {name});
    return *parameter;
}

void TParameters::Assign(const std::vector<std::string>& names) {
    std::vector<std::unique_ptr<TParameter>> items;
    for (const std::string& name : names) {
        std::unique_ptr<TParameter> kept;
        for (auto& old : items_)
            if (old && SameTextAscii(old->Name(), name)) kept = std::move(old);
        items.push_back(kept ? std::move(kept) : std::make_unique<TParameter>(name));
    }
    items_ = std::move(items);
}

}  // namespace tv
