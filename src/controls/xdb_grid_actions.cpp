// The data grid's answers to actions: only its data link takes them, so that a data-set action
// ("Next", "Delete" ...) run while the grid has the focus works on the grid's own data source.

#include "controls/xdb_grid.h"
#include "platform/gui/data_set_actions.h"

namespace tv {

bool TXCustomDBGrid::ExecuteAction(TBasicAction& Action) {
    return fDataLink && DataLinkExecuteAction(*fDataLink, Action);
}

bool TXCustomDBGrid::UpdateAction(TBasicAction& Action) {
    return fDataLink && DataLinkUpdateAction(*fDataLink, Action);
}

}  // namespace tv
