#pragma once
// The rows of the field-definition table for one kit table, in the table's order: which element of
// an item carries which kit field. Read once per import operation, so that no record walks the
// whole table again.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TDataSet;

struct TFieldMappingRow {
    int Field;            // const_value: the kit field number
    std::string Element;  // const_title: the element name in the interchange file
};

class TFieldMapping {
public:
    TFieldMapping() = default;
    // The rows whose const_table equals `table` exactly, first to last. The table's cursor is put
    // back where it stood.
    static TFieldMapping For(TDataSet& fieldDefinitions, std::string_view table);

    const std::vector<TFieldMappingRow>& Rows() const { return rows_; }

private:
    std::vector<TFieldMappingRow> rows_;
};

}  // namespace tv
