#pragma once
// The data grid's lists of selected records (SelectedRows: bookmarks kept in the dataset's order,
// found by binary search) and selected columns (SelectedCols: in column order, either the grid's
// selected column range or a set made column by column). Both remember the last item looked up,
// since painting asks for every visible row.

#include <memory>
#include <vector>

#include "platform/data/data_set.h"

namespace tv {

class TXColumn;
class TXCustomDBGrid;

class TXBookmarkList {
public:
    explicit TXBookmarkList(TXCustomDBGrid* AGrid);
    TXBookmarkList(const TXBookmarkList&) = delete;
    TXBookmarkList& operator=(const TXBookmarkList&) = delete;

    int Count() const { return static_cast<int>(fList.size()); }
    const TBookmark& Items(int Index) const;
    // Whether the current record is selected; raises "Cannot perform this operation on a closed
    // dataset" while the grid's link is inactive. Writing selects or unselects it.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool Value);
    void Clear();
    // Deletes every selected record from the dataset, the last first.
    void Delete();
    // Where Item stands, or would be inserted, in the dataset's order; true when it is there.
    bool Find(const TBookmark& Item, int& Index) const;
    int IndexOf(const TBookmark& Item) const;
    // Drops the bookmarks of records that no longer exist; true when any went.
    bool Refresh();
    // The grid's link went active or inactive.
    void LinkActive(bool Value) { fLinkActive = Value; }

    // Puts Item at Index (0 .. Count) or takes the entry at Index out (0 .. Count - 1); another
    // position raises EListError.
    void Insert(int Index, const TBookmark& Item);
    // Puts Item at its sorted place unless it is there already; true when it was added.
    bool Include(const TBookmark& Item);
    void RemoveAt(int Index);

private:
    TBookmark CurrentBookmark() const;
    TDataSet* DataSet() const;
    void Uncache() { fCacheIndex = -1; }

    TXCustomDBGrid* fGrid;
    std::vector<TBookmark> fList;
    mutable TBookmark fCache;
    mutable int fCacheIndex = -1;
    mutable bool fCacheFind = false;
    bool fLinkActive = false;
};

class TXColumnList {
public:
    explicit TXColumnList(TXCustomDBGrid* AGrid);
    TXColumnList(const TXColumnList&) = delete;
    TXColumnList& operator=(const TXColumnList&) = delete;

    int Count() const;
    TXColumn* Items(int Index) const;
    // Whether the grid's selected column is in the list; writing selects or unselects it.
    bool CurrentColSelected() const;
    void SetCurrentColSelected(bool Value);
    // Whether the column at collection index i is selected; writing changes that one column.
    bool Selected(int ColIndex) const;
    void SetSelected(int ColIndex, bool Value);
    void Clear();
    bool Find(const TXColumn* Item, int& Index) const;
    int IndexOf(const TXColumn* Item) const;
    // The list is made again from the grid's column range at next use: it does not exist yet or
    // was made from the range.
    bool NeedsRebuild() const { return !fList || fAutoRefresh; }
    void Release() { fList.reset(); }

private:
    std::vector<TXColumn*>& List() const;
    void Changed();

    TXCustomDBGrid* fGrid;
    mutable std::unique_ptr<std::vector<TXColumn*>> fList;
    mutable const TXColumn* fCache = nullptr;
    mutable int fCacheIndex = -1;
    mutable bool fCacheFind = false;
    mutable bool fAutoRefresh = false;
};

}  // namespace tv
