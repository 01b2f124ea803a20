#include "platform/gui/data_set_operations.h"

#include "platform/data/data_set.h"

namespace tv {

bool DataSetOperationEnabled(TNavigateBtn Operation, const TDataSet* DataSet) {
    if (!DataSet || !DataSet->Active()) return false;
    const bool canModify = DataSet->CanModify();
    const bool editing = DataSet->IsEditing();
    switch (Operation) {
        case nbFirst:
        case nbPrior: return !DataSet->Bof();
        case nbNext:
        case nbLast: return !DataSet->Eof();
        case nbInsert: return canModify;
        case nbDelete: return canModify && !DataSet->IsEmpty();
        case nbEdit: return canModify && !editing;
        case nbPost:
        case nbCancel: return canModify && editing;
        case nbRefresh: return !editing;
    }
    return false;
}

void RunDataSetOperation(TNavigateBtn Operation, TDataSet& DataSet) {
    switch (Operation) {
        case nbFirst: DataSet.First(); break;
        case nbPrior: DataSet.Prior(); break;
        case nbNext: DataSet.Next(); break;
        case nbLast: DataSet.Last(); break;
        case nbInsert: DataSet.Insert(); break;
        case nbDelete: DataSet.Delete(); break;
        case nbEdit: DataSet.Edit(); break;
        case nbPost: DataSet.Post(); break;
        case nbCancel: DataSet.Cancel(); break;
        case nbRefresh: DataSet.Resync(0); break;
    }
}

}  // namespace tv
