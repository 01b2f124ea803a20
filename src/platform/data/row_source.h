#pragma once
// A source of rows that a client dataset can be filled from (a query's result, a test table): its
// columns, then row after row of values.

#include "platform/data/field_type.h"
#include "platform/data/value_view.h"

#include <string>
#include <vector>

namespace tv {

struct TRowColumn {
    std::string Name;
    TFieldType DataType = TFieldType::ftString;
    int Size = 0;
};

class IRowSource {
public:
    virtual ~IRowSource() = default;
    virtual const std::vector<TRowColumn>& Columns() const = 0;
    // Moves to the next row; false after the last one.
    virtual bool NextRow() = 0;
    // A value of the current row; a text stays valid until the next call of NextRow.
    virtual TValueView Value(size_t column) const = 0;
};

}  // namespace tv
