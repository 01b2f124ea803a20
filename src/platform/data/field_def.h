#pragma once
// The definitions a dataset's fields are made from: name, type, size and whether a value is
// required. Names are unique without regard to letter case among their siblings. An object field's
// definition holds its sub-fields' definitions: a structure (ftADT) one per sub-field, an array
// (ftArray) the one definition its Size elements are made from; a dataset field (ftDataSet) the
// fields of its nested dataset.

#include "platform/data/field_type.h"

#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct TFieldDef {
    std::string Name;
    TFieldType DataType = TFieldType::ftUnknown;
    int Size = 0;  // characters of a string field, elements of an array; 0 elsewhere
    bool Required = false;
    std::vector<TFieldDef> ChildDefs;

    // Adds a sub-field's definition to an object field's, sized as TFieldDefs::Add sizes. A name
    // already among the sub-fields, a definition that is no object field, or a second element
    // definition of an array raises EDatabaseError.
    TFieldDef& AddChild(std::string name, TFieldType type, int size = 0, bool required = false);
};

class TFieldDefs {
public:
    // Adds a definition; a string field given no size gets 20, as the class library does; an
    // array keeps its size as its element count.
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
