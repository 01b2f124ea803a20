#pragma once
// The ten record operations that navigators and data-set actions offer on a dataset: moving to the
// first, prior, next and last record, inserting, deleting, editing, posting, cancelling and
// refreshing; when each makes sense in the dataset's state, and running one. Both the navigator's
// buttons and the data-set actions go through these, so that they enable and act alike.

#include <cstdint>

#include "platform/rtl/enum_set.h"

namespace tv {

class TDataSet;

enum TNavigateBtn : uint8_t { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
TV_ENUM_INFO(TNavigateBtn, "nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete", "nbEdit", "nbPost",
             "nbCancel", "nbRefresh");
using TNavButtonSet = TSet<TNavigateBtn>;
inline constexpr int kNavButtonCount = 10;
inline constexpr TNavButtonSet kAllNavButtons{nbFirst, nbPrior, nbNext,  nbLast,   nbInsert,
                                              nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};

// Whether the operation makes sense now on `DataSet` (an open one; none: never): moves away from
// the end they go to, changes while the dataset can be modified, Delete on a record, Edit outside
// edit state, Post and Cancel in it, Refresh outside it.
bool DataSetOperationEnabled(TNavigateBtn Operation, const TDataSet* DataSet);

// Runs the operation on the dataset, without asking anything (a Delete deletes).
void RunDataSetOperation(TNavigateBtn Operation, TDataSet& DataSet);

}  // namespace tv
