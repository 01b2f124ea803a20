#include "platform/gui/list_view.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

QTreeWidget* Tree(const TListView* v) {
    return static_cast<QTreeWidget*>(v->Widget());
}

}  // namespace

const TClassInfo& TListView::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TListView>("TListView").Build();
    return info;
}

// ---- columns ----

void TListColumn::SetCaption(const std::string& value) {
    fCaption = value;
    fView->ColumnsChanged();
}

void TListColumn::SetWidth(int value) {
    fWidth = std::max(0, value);
    fView->ColumnsChanged();
}

TListColumn* TListColumns::Add() {
    fColumns.push_back(std::unique_ptr<TListColumn>(new TListColumn(fView, Count())));
    fView->ColumnsChanged();
    return fColumns.back().get();
}

TListColumn* TListColumns::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fColumns[Index].get();
}

void TListColumns::Clear() {
    fColumns.clear();
    fView->ColumnsChanged();
}

// ---- items ----

TListItem::TListItem(TListView* view, QTreeWidgetItem* item) : fView(view), fItem(item) {
    item->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    fSubItems.OnChange = [this](TObject*) { ShowSubItems(); };
}

TListItem::~TListItem() = default;

std::string TListItem::Caption() const {
    return FromQString(fItem->text(0));
}

// A text cut short by its column's width shows whole in the cell's tool tip.
void TListItem::SetCaption(const std::string& value) {
    fItem->setText(0, ToQString(value));
    fItem->setToolTip(0, fItem->text(0));
}

void TListItem::ShowSubItems() {
    // Column 0 is the caption; a sub-item beyond the columns is kept but has nowhere to show.
    const int columns = fItem->columnCount();
    for (int i = 1; i < std::max(columns, fSubItems.Count() + 1); ++i) {
        fItem->setText(i, i <= fSubItems.Count() ? ToQString(fSubItems.Strings(i - 1)) : QString());
        fItem->setToolTip(i, fItem->text(i));
    }
}

int TListItem::Index() const {
    return Tree(fView)->indexOfTopLevelItem(fItem);
}

bool TListItem::Selected() const {
    return fItem->isSelected();
}

void TListItem::SetSelected(bool value) {
    if (value)
        fView->SetSelected(this);
    else
        fItem->setSelected(false);
}

TRect TListItem::DisplayRect() const {
    return FromQRect(Tree(fView)->visualItemRect(fItem));
}

void TListItem::Delete() {
    QTreeWidgetItem* item = fItem;
    delete this;
    delete item;
}

TListItems::~TListItems() {
    Clear();
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int Index) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    auto* item = new QTreeWidgetItem();
    Tree(fView)->insertTopLevelItem(Index, item);
    return new TListItem(fView, item);
}

int TListItems::Count() const {
    return Tree(fView)->topLevelItemCount();
}

TListItem* TListItems::Item(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fView->ItemOf(Tree(fView)->topLevelItem(Index));
}

void TListItems::Clear() {
    QTreeWidget* tree = Tree(fView);
    while (tree->topLevelItemCount() > 0) Item(tree->topLevelItemCount() - 1)->Delete();
}

void TListItems::BeginUpdate() {
    if (fUpdateCount++ == 0) Tree(fView)->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (fUpdateCount > 0 && --fUpdateCount == 0) Tree(fView)->setUpdatesEnabled(true);
}

// ---- the view ----

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QTreeWidget>()) {
    QTreeWidget* tree = Tree(this);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setAllColumnsShowFocus(true);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    fColumns = std::make_unique<TListColumns>(this);
    fItems = std::make_unique<TListItems>(this);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColumnsChanged();
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
    BeginDestroy();
    QObject::disconnect(Tree(this), nullptr, nullptr, nullptr);
    fItems.reset();
}

TListItem* TListView::ItemOf(QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    return reinterpret_cast<TListItem*>(item->data(0, kItemRole).value<quintptr>());
}

void TListView::ColumnsChanged() {
    QTreeWidget* tree = Tree(this);
    const int count = fColumns->Count();
    tree->setColumnCount(std::max(count, 1));
    tree->setHeaderHidden(count == 0);
    QStringList captions;
    for (int i = 0; i < count; ++i) captions << ToQString(fColumns->Items(i)->Caption());
    tree->setHeaderLabels(captions);
    for (int i = 0; i < count; ++i) tree->header()->resizeSection(i, fColumns->Items(i)->Width());
    for (int i = 0; i < tree->topLevelItemCount(); ++i) ItemOf(tree->topLevelItem(i))->ShowSubItems();
}

TListItem* TListView::Selected() const {
    const QList<QTreeWidgetItem*> chosen = Tree(this)->selectedItems();
    return chosen.isEmpty() ? nullptr : ItemOf(chosen.front());
}

void TListView::SetSelected(TListItem* value) {
    QTreeWidget* tree = Tree(this);
    if (value) {
        tree->setCurrentItem(value->fItem);
        value->fItem->setSelected(true);
    } else {
        tree->clearSelection();
    }
}

int TListView::ItemIndex() const {
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

TListItem* TListView::GetItemAt(int X, int Y) const {
    return ItemOf(Tree(this)->itemAt(X, Y));
}

}  // namespace tv
