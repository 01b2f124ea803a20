#pragma once
// The records of an open dataset as a row source, walked in the dataset's current order from the
// first: how a client dataset takes a copy of a query's result (TClientDataSet::AppendRows).

#include "platform/data/data_set.h"
#include "platform/data/row_source.h"

#include <vector>

namespace tv {

class TDataSetRows : public IRowSource {
public:
    // Every field of the dataset becomes a column of the same name, type and size.
    explicit TDataSetRows(TDataSet& dataSet);
    const std::vector<TRowColumn>& Columns() const override { return columns_; }
    bool NextRow() override;
    TValueView Value(size_t column) const override { return fields_[column]->ValueView(); }

private:
    TDataSet& dataSet_;
    std::vector<TRowColumn> columns_;
    std::vector<TField*> fields_;
    bool started_ = false;
};

}  // namespace tv
