// Position keeping: the grid saves the current record and its screen row, lets the dataset be
// moved or changed with its controls disabled, and puts the record back on the same row.

#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"

namespace tv {

void TXCustomDBGrid::DisablePosition() {
    if (fPositionDisabled++ > 0 || !fDataLink->Active()) return;
    TDataSet* dataSet = fDataLink->DataSet();
    fLastBookmark = dataSet->GetBookmark();
    fLastPosition = Position();
    dataSet->DisableControls();
}

void TXCustomDBGrid::EnablePosition(bool UseCurrentRec) {
    // An unbalanced call is dropped.
    if (fPositionDisabled == 0) return;
    if (--fPositionDisabled > 0 || !fDataLink->Active()) return;
    TDataSet* dataSet = fDataLink->DataSet();
    ++fScrollLock;
    auto finish = [&] {
        dataSet->EnableControls();
        // A reopened dataset rebuilds default columns, which lose their sort markers.
        if (fLastOrderFields != OrderFields()) SetupOrderFields(fLastOrderFields);
        --fScrollLock;
    };
    try {
        if (UseCurrentRec) fLastBookmark = dataSet->GetBookmark();
        GotoPosition(fLastPosition, fLastBookmark);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool TXCustomDBGrid::GotoPosition(int Position, const TBookmark& Bookmark) {
    if (!fDataLink->Active()) return false;
    TDataSet* dataSet = fDataLink->DataSet();
    const int row = std::clamp(Position, 0, std::max(0, fDataLink->RecordCount() - 1));
    const TBookmark bookmark = Bookmark.IsEmpty() ? dataSet->GetBookmark() : Bookmark;
    if (bookmark.IsEmpty() || !dataSet->BookmarkValid(bookmark)) return false;
    fDataLink->SetActiveRecord(row);
    dataSet->GotoBookmarkWithoutResync(bookmark);
    dataSet->Resync(rmExact);
    return true;
}

}  // namespace tv
