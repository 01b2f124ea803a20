#pragma once
// List views in the report style: one row per item, its caption in the first column and its
// sub-items in the columns after it, under a row of column headers. Items are made and freed
// through the view's Items; the view shows each change at once (or at the end of an update).
// Only the report style is drawn; the other styles are stored and show as a report too.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/win_control.h"
#include "platform/rtl/string_list.h"

class QTreeWidgetItem;

namespace tv {

class TListView;

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
TV_ENUM_INFO(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport");

class TListColumn {
public:
    std::string Caption() const { return fCaption; }
    void SetCaption(const std::string& value);
    // In pixels.
    int Width() const { return fWidth; }
    void SetWidth(int value);
    int Index() const { return fIndex; }

private:
    friend class TListColumns;
    TListColumn(TListView* view, int index) : fView(view), fIndex(index) {}
    TListView* fView;
    int fIndex;
    std::string fCaption;
    int fWidth = 50;
};

class TListColumns {
public:
    explicit TListColumns(TListView* view) : fView(view) {}
    // A new last column.
    TListColumn* Add();
    int Count() const { return static_cast<int>(fColumns.size()); }
    // Raises EListError outside 0..Count-1.
    TListColumn* Items(int Index) const;
    void Clear();

private:
    TListView* fView;
    std::vector<std::unique_ptr<TListColumn>> fColumns;
};

class TListItem {
public:
    ~TListItem();

    std::string Caption() const;
    void SetCaption(const std::string& value);
    // The texts of the columns after the first, in order; what it holds shows at once.
    TStrings* SubItems() { return &fSubItems; }
    // What the program keeps with the item; never looked at.
    void* Data() const { return fData; }
    void SetData(void* value) { fData = value; }
    int Index() const;
    TListView* ListView() const { return fView; }
    bool Selected() const;
    void SetSelected(bool value);
    // The row's rectangle in the rows' area (below the column headers, where the view's mouse
    // events are counted); empty while it does not show.
    TRect DisplayRect() const;
    // Frees the item.
    void Delete();

private:
    friend class TListItems;
    friend class TListView;
    TListItem(TListView* view, QTreeWidgetItem* item);
    void ShowSubItems();

    TListView* fView;
    QTreeWidgetItem* fItem;
    TStringList fSubItems;
    void* fData = nullptr;
};

class TListItems {
public:
    explicit TListItems(TListView* view) : fView(view) {}
    ~TListItems();

    // A new last item.
    TListItem* Add();
    // A new item at Index (0..Count).
    TListItem* Insert(int Index);
    int Count() const;
    // Raises EListError outside 0..Count-1.
    TListItem* Item(int Index) const;
    void Delete(int Index) { Item(Index)->Delete(); }
    void Clear();
    // Changes between BeginUpdate and the matching EndUpdate show once, at the end.
    void BeginUpdate();
    void EndUpdate();

private:
    TListView* fView;
    int fUpdateCount = 0;
};

class TListView : public TWinControl {
    TV_CLASS(TListView, TWinControl)
public:
    explicit TListView(TComponent* AOwner = nullptr);
    ~TListView() override;

    TListColumns* Columns() const { return fColumns.get(); }
    TListItems* Items() const { return fItems.get(); }
    TViewStyle ViewStyle() const { return fViewStyle; }
    void SetViewStyle(TViewStyle value) { fViewStyle = value; }
    // Stored only: captions are not edited in place here.
    bool ReadOnly() const { return fReadOnly; }
    void SetReadOnly(bool value) { fReadOnly = value; }
    // Stored only: the whole row always shows as chosen.
    bool RowSelect() const { return fRowSelect; }
    void SetRowSelect(bool value) { fRowSelect = value; }
    // The chosen item; nil for none. Setting nil clears the choice.
    TListItem* Selected() const;
    void SetSelected(TListItem* value);
    int ItemIndex() const;
    // The item at a point of the rows' area; nil for none.
    TListItem* GetItemAt(int X, int Y) const;

protected:
    bool AcceptsFocus() const override { return true; }

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    TListItem* ItemOf(QTreeWidgetItem* item) const;
    void ColumnsChanged();

    std::unique_ptr<TListColumns> fColumns;
    std::unique_ptr<TListItems> fItems;
    TViewStyle fViewStyle = vsIcon;
    bool fReadOnly = false;
    bool fRowSelect = false;
};

}  // namespace tv
