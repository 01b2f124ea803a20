#pragma once
// What the selection tests read back from a data grid: the IDs of the records its selected rows
// hold, in list order (the dataset's current record stays where it was).

#include <vector>

#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"

namespace tv::test {

inline std::vector<int> SelectedIds(const TXCustomDBGrid& grid, TDataSet& table) {
    std::vector<int> ids;
    const TBookmark here = table.GetBookmark();
    for (int i = 0; i < grid.SelectedRows()->Count(); ++i) {
        table.GotoBookmark(grid.SelectedRows()->Items(i));
        ids.push_back(table.FieldByName("ID").AsInteger());
    }
    table.GotoBookmark(here);
    return ids;
}

}  // namespace tv::test
