#include "platform/data/field_def.h"

#include "platform/data/db_error.h"
#include "platform/data/key_compare.h"

#include <algorithm>

namespace tv {

namespace {
int DefinedSize(TFieldType type, int size) {
    if (IsStringType(type) && size <= 0) return 20;
    if (type == TFieldType::ftArray) return std::max(size, 0);
    return IsStringType(type) || IsMemoType(type) ? size : 0;
}

int IndexOfName(const std::vector<TFieldDef>& defs, std::string_view name) {
    for (size_t i = 0; i < defs.size(); ++i)
        if (SameFieldText(defs[i].Name, name)) return static_cast<int>(i);
    return -1;
}
}  // namespace

TFieldDef& TFieldDefs::Add(std::string name, TFieldType type, int size, bool required) {
    if (IndexOf(name) >= 0) DatabaseError(kDuplicateFieldName, {name});
    size = DefinedSize(type, size);
    defs_.push_back({std::move(name), type, size, required, {}});
    return defs_.back();
}

TFieldDef& TFieldDef::AddChild(std::string name, TFieldType type, int size, bool required) {
    if (!HoldsNoValue(DataType)) DatabaseError(kNotObjectField, {Name});
    if (DataType == TFieldType::ftArray && !ChildDefs.empty()) DatabaseError(kArrayElementDefined, {Name});
    if (IndexOfName(ChildDefs, name) >= 0) DatabaseError(kDuplicateFieldName, {name});
    size = DefinedSize(type, size);
    ChildDefs.push_back({std::move(name), type, size, required, {}});
    return ChildDefs.back();
}

const TFieldDef& TFieldDefs::operator[](int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return defs_[static_cast<size_t>(index)];
}

int TFieldDefs::IndexOf(std::string_view name) const {
    return IndexOfName(defs_, name);
}

}  // namespace tv
