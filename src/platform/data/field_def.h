#pragma once
// The definitions a dataset's fields are made from: name, type, size and whether a value is
// required. Names are unique without regard to letter case.

#include "platform/data/field_type.h"

#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct TFieldDef {
    std::string Name;
    TFieldType DataType = TFieldType::ftUnknown;
    int Size = 0;  // characters of a string field; 0 elsewhere
    bool Required = false;
};

class TFieldDefs {
public:
    // Adds a definition; a string field given no size gets 20, as the class library does.
    // A name already present (any letter case) raises EDatabaseError.
    TFieldDef& Add(std::string name, TFieldType type, int size = 0, bool required = false);
    void Clear() { defs_.clear(); }
    int Count() const { return static_cast<int>(defs_.size()); }
    // Raises EListError for a position outside 0 .. Count()-1.
    const TFieldDef& operator[](int index) const;
    // Position of the definition named `name` (letter case ignored), or -1.
    int IndexOf(std::string_view name) const;

    auto begin() const { return defs_.begin(); }
    auto end() const { return defs_.end(); }

private:
    std::vector<TFieldDef> defs_;
};

}  // namespace tv
