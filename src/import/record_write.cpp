#include "import/record_write.h"

#include "adk/adk_dataset.h"

namespace tv {

std::string ReadBackNumber(TAdkDataSet& dataSet) {
    dataSet.RefreshAdkRow();
    return dataSet.FieldByAdkIndex(0).AsString();
}

void CancelPending(TAdkDataSet& dataSet) {
    if (dataSet.IsEditing()) dataSet.Cancel();
}

}  // namespace tv
