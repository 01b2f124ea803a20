#include "platform/data/field_def.h"

#include "platform/data/db_error.h"
#include "platform/data/key_compare.h"

namespace tv {

TFieldDef& TFieldDefs::Add(std::string name, TFieldType type, int size, bool required) {
    if (IndexOf(name) >= 0) DatabaseError(kDuplicateFieldName, {name});
    if (IsStringType(type) && size <= 0) size = 20;
    if (!IsStringType(type) && !IsMemoType(type)) size = 0;
    defs_.push_back({std::move(name), type, size, required});
    return defs_.back();
}

const TFieldDef& TFieldDefs::operator[](int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return defs_[static_cast<size_t>(index)];
}

int TFieldDefs::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < defs_.size(); ++i)
        if (SameFieldText(defs_[i].Name, name)) return static_cast<int>(i);
    return -1;
}

}  // namespace tv
