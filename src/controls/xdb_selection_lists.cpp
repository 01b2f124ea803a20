#include "controls/xdb_selection_lists.h"

#include "controls/xdb_grid.h"
#include "platform/data/db_error.h"

namespace tv {

namespace {
// Binary search of a list in ascending order; `compare(entry)` is the sign of the entry against the
// item looked for. Index is the item's place, or where it would be inserted.
template <class List, class Compare>
bool SortedFind(const List& list, Compare compare, int& Index) {
    bool found = false;
    int lo = 0;
    int hi = static_cast<int>(list.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = compare(list[static_cast<size_t>(mid)]);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                lo = mid;
            }
        }
    }
    Index = lo;
    return found;
}
}  // namespace

// ---------------------------------------------------------------- selected records

TXBookmarkList::TXBookmarkList(TXCustomDBGrid* AGrid) : fGrid(AGrid) {}

const TBookmark& TXBookmarkList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fList[static_cast<size_t>(Index)];
}

TDataSet* TXBookmarkList::DataSet() const {
    return fGrid->DataLink()->DataSet();
}

TBookmark TXBookmarkList::CurrentBookmark() const {
    if (!fLinkActive) DatabaseError(kDataSetClosed);
    return DataSet()->GetBookmark();
}

bool TXBookmarkList::Find(const TBookmark& Item, int& Index) const {
    if (fCacheIndex >= 0 && Item == fCache) {
        Index = fCacheIndex;
        return fCacheFind;
    }
    TDataSet* dataSet = DataSet();
    const bool found =
        SortedFind(fList, [&](const TBookmark& entry) { return dataSet->CompareBookmarks(entry, Item); }, Index);
    fCache = Item;
    fCacheIndex = Index;
    fCacheFind = found;
    return found;
}

int TXBookmarkList::IndexOf(const TBookmark& Item) const {
    int index = -1;
    return Find(Item, index) ? index : -1;
}

bool TXBookmarkList::CurrentRowSelected() const {
    int index = 0;
    return Find(CurrentBookmark(), index);
}

void TXBookmarkList::SetCurrentRowSelected(bool Value) {
    const TBookmark current = CurrentBookmark();
    if (current.IsEmpty()) return;
    int index = 0;
    if (Find(current, index) == Value) return;
    fGrid->BeginSelect();
    try {
        if (Value)
            Insert(index, current);
        else
            RemoveAt(index);
        fGrid->InvalidateCurrentRow();
        fGrid->RowSelect(Value ? saSelect : saUnselect);
    } catch (...) {
        fGrid->EndSelect();
        throw;
    }
    fGrid->EndSelect();
}

void TXBookmarkList::Insert(int Index, const TBookmark& Item) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    fList.insert(fList.begin() + Index, Item);
    Uncache();
}

bool TXBookmarkList::Include(const TBookmark& Item) {
    int index = 0;
    if (Item.IsEmpty() || Find(Item, index)) return false;
    Insert(index, Item);
    return true;
}

void TXBookmarkList::RemoveAt(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    fList.erase(fList.begin() + Index);
    Uncache();
}

void TXBookmarkList::Clear() {
    if (fList.empty()) return;
    fGrid->BeginSelect();
    try {
        fList.clear();
        Uncache();
        fGrid->InvalidateDataRows();
        fGrid->RowSelect(saClear);
    } catch (...) {
        fGrid->EndSelect();
        throw;
    }
    fGrid->EndSelect();
}

void TXBookmarkList::Delete() {
    TDataSet* dataSet = DataSet();
    const bool any = !fList.empty();
    fGrid->BeginSelect();
    dataSet->DisableControls();
    // A failed deletion stops the walk; the bookmarks not reached stay selected.
    auto finish = [&] {
        dataSet->EnableControls();
        if (any) {
            fGrid->RowSelect(saDelete);
            fGrid->EndSelect();
            fGrid->UpdateListItems(true);
            fGrid->UpdateSequence(true);
            fGrid->UpdateTotals(true);
        } else
            fGrid->CancelSelect();
    };
    try {
        for (int i = Count() - 1; i >= 0; --i) {
            dataSet->GotoBookmark(fList[static_cast<size_t>(i)]);
            dataSet->Delete();
            RemoveAt(i);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool TXBookmarkList::Refresh() {
    TDataSet* dataSet = DataSet();
    bool removed = false;
    fGrid->BeginSelect();
    try {
        dataSet->CheckBrowseMode();
        for (int i = Count() - 1; i >= 0; --i)
            if (!dataSet->BookmarkValid(fList[static_cast<size_t>(i)])) {
                RemoveAt(i);
                removed = true;
            }
        dataSet->Resync(0);
        if (removed) {
            fGrid->InvalidateDataRows();
            fGrid->RowSelect(saRefresh);
        }
    } catch (...) {
        fGrid->CancelSelect();
        throw;
    }
    if (removed)
        fGrid->EndSelect();
    else
        fGrid->CancelSelect();
    return removed;
}

// ---------------------------------------------------------------- selected columns

TXColumnList::TXColumnList(TXCustomDBGrid* AGrid) : fGrid(AGrid) {}

std::vector<TXColumn*>& TXColumnList::List() const {
    if (!fList) {
        fList = std::make_unique<std::vector<TXColumn*>>();
        if (fGrid->ColsSelection() && fGrid->SelectionMinCol() >= 0) {
            TXDBGridColumns* columns = fGrid->Columns();
            for (int i = fGrid->SelectionMinCol(); i <= fGrid->SelectionMaxCol() && i < columns->Count(); ++i)
                fList->push_back(columns->Items(i));
        }
        fAutoRefresh = true;
        fCacheIndex = -1;
    }
    return *fList;
}

int TXColumnList::Count() const {
    return static_cast<int>(List().size());
}

TXColumn* TXColumnList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return List()[static_cast<size_t>(Index)];
}

bool TXColumnList::Find(const TXColumn* Item, int& Index) const {
    if (fCacheIndex >= 0 && Item == fCache) {
        Index = fCacheIndex;
        return fCacheFind;
    }
    const bool found =
        SortedFind(List(), [&](const TXColumn* entry) { return entry->Index() - Item->Index(); }, Index);
    fCache = Item;
    fCacheIndex = Index;
    fCacheFind = found;
    return found;
}

int TXColumnList::IndexOf(const TXColumn* Item) const {
    int index = -1;
    return Find(Item, index) ? index : -1;
}

bool TXColumnList::Selected(int ColIndex) const {
    TXDBGridColumns* columns = fGrid->Columns();
    if (ColIndex < 0 || ColIndex >= columns->Count()) return false;
    return IndexOf(columns->Items(ColIndex)) >= 0;
}

void TXColumnList::SetSelected(int ColIndex, bool Value) {
    TXDBGridColumns* columns = fGrid->Columns();
    if (ColIndex < 0 || ColIndex >= columns->Count()) return;
    TXColumn* column = columns->Items(ColIndex);
    int index = 0;
    if (Find(column, index) == Value) return;
    std::vector<TXColumn*>& list = List();
    if (Value)
        list.insert(list.begin() + index, column);
    else
        list.erase(list.begin() + index);
    Changed();
}

bool TXColumnList::CurrentColSelected() const {
    TXColumn* column = fGrid->SelectedColumn();
    return column && IndexOf(column) >= 0;
}

void TXColumnList::SetCurrentColSelected(bool Value) {
    SetSelected(fGrid->SelectedIndex(), Value);
}

void TXColumnList::Clear() {
    if (!fList || fList->empty()) return;
    fList->clear();
    Changed();
}

void TXColumnList::Changed() {
    fCacheIndex = -1;
    fAutoRefresh = false;
    fGrid->SelectedColsChanged(false);
}

}  // namespace tv
