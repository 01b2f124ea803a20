#pragma once
// The in-memory tables of the job automation's modules and windows, made from rows of field
// definitions (table, field, type, size) kept as data beside the code that uses them.

#include <span>
#include <string_view>

#include "platform/data/client_data_set.h"

namespace tv {

struct TTableField {
    std::string_view Table;
    std::string_view Name;
    TFieldType Type;
    int Size;
};

// An open, empty table named `name` with the fields of the rows of that table, in row order.
TClientDataSet* MakeClientTable(std::string_view name, std::span<const TTableField> fields, TComponent* owner);

}  // namespace tv
