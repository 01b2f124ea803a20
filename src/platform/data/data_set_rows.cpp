#include "platform/data/data_set_rows.h"

namespace tv {

TDataSetRows::TDataSetRows(TDataSet& dataSet) : dataSet_(dataSet) {
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField& field = dataSet.Fields(i);
        fields_.push_back(&field);
        columns_.push_back({field.FieldName(), field.DataType(), field.Size()});
    }
}

bool TDataSetRows::NextRow() {
    if (!started_) {
        started_ = true;
        dataSet_.First();
    } else {
        dataSet_.Next();
    }
    return !dataSet_.Eof();
}

}  // namespace tv
