#include "platform/gui/tree_view.h"

#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "platform/gui/image_list.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

QTreeWidget* Tree(const TTreeView* v) {
    return static_cast<QTreeWidget*>(v->Widget());
}

}  // namespace

const TClassInfo& TTreeNode::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTreeNode>("TTreeNode").Build();
    return info;
}
const TClassInfo& TTreeNodes::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTreeNodes>("TTreeNodes").Build();
    return info;
}
const TClassInfo& TTreeView::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTreeView>("TTreeView").Build();
    return info;
}

// ---- TTreeNode ----

TTreeNode::TTreeNode(TTreeView* view, QTreeWidgetItem* item) : fView(view), fItem(item) {
    item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
}

TTreeNode::~TTreeNode() = default;

std::string TTreeNode::Text() const {
    return FromQString(fItem->text(0));
}

void TTreeNode::SetText(const std::string& value) {
    fItem->setText(0, ToQString(value));
    // A text cut short by the view's width shows whole in the node's tool tip.
    fItem->setToolTip(0, fItem->text(0));
}

void TTreeNode::SetImageIndex(int value) {
    fImageIndex = value;
    UpdateIcon();
}

void TTreeNode::SetStateIndex(int value) {
    fStateIndex = value;
    UpdateIcon();
}

void TTreeNode::UpdateIcon() {
    // The state picture, then the image, side by side in one icon.
    const QPixmap state = fView->fStateImages ? fView->fStateImages->Pixmap(fStateIndex) : QPixmap();
    const QPixmap image = fView->fImages ? fView->fImages->Pixmap(fImageIndex) : QPixmap();
    if (state.isNull() && image.isNull()) {
        fItem->setIcon(0, QIcon());
        return;
    }
    if (state.isNull() || image.isNull()) {
        fItem->setIcon(0, QIcon(state.isNull() ? image : state));
        return;
    }
    QPixmap both(state.width() + image.width(), std::max(state.height(), image.height()));
    both.fill(Qt::transparent);
    QPainter p(&both);
    p.drawPixmap(0, 0, state);
    p.drawPixmap(state.width(), 0, image);
    p.end();
    fItem->setIcon(0, QIcon(both));
}

TTreeNode* TTreeNode::Parent() const {
    return fView->NodeOf(fItem->parent());
}

int TTreeNode::Count() const {
    return fItem->childCount();
}

TTreeNode* TTreeNode::Item(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fView->NodeOf(fItem->child(Index));
}

int TTreeNode::Index() const {
    if (QTreeWidgetItem* parent = fItem->parent()) return parent->indexOfChild(fItem);
    return Tree(fView)->indexOfTopLevelItem(fItem);
}

int TTreeNode::Level() const {
    int level = 0;
    for (QTreeWidgetItem* p = fItem->parent(); p; p = p->parent()) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const {
    int index = 0;
    for (QTreeWidgetItemIterator it(Tree(fView)); *it; ++it, ++index)
        if (*it == fItem) return index;
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const int i = Index() + 1;
    QTreeWidgetItem* parent = fItem->parent();
    QTreeWidgetItem* next =
        parent ? (i < parent->childCount() ? parent->child(i) : nullptr) : Tree(fView)->topLevelItem(i);
    return fView->NodeOf(next);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const int i = Index() - 1;
    if (i < 0) return nullptr;
    QTreeWidgetItem* parent = fItem->parent();
    return fView->NodeOf(parent ? parent->child(i) : Tree(fView)->topLevelItem(i));
}

TTreeNode* TTreeNode::GetNext() const {
    if (Count() > 0) return Item(0);
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

bool TTreeNode::Expanded() const {
    return fItem->isExpanded();
}

void TTreeNode::SetExpanded(bool value) {
    fItem->setExpanded(value);
}

void TTreeNode::Expand(bool Recurse) {
    SetExpanded(true);
    if (Recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    if (Recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::Selected() const {
    return Tree(fView)->currentItem() == fItem;
}

void TTreeNode::SetSelected(bool value) {
    if (value)
        fView->SetSelected(this);
    else if (Selected())
        fView->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
    for (QTreeWidgetItem* p = fItem->parent(); p; p = p->parent()) p->setExpanded(true);
    Tree(fView)->scrollToItem(fItem);
}

void TTreeNode::DeleteChildren() {
    while (Count() > 0) Item(Count() - 1)->Delete();
}

void TTreeNode::Delete() {
    DeleteChildren();
    TTreeView* view = fView;
    if (view->OnDeletion && !view->ComponentState().Contains(csDestroying)) view->OnDeletion(view, this);
    QTreeWidgetItem* item = fItem;
    delete this;
    delete item;
}

// ---- TTreeNodes ----

TTreeNodes::~TTreeNodes() {
    Clear();
}

int TTreeNodes::Count() const {
    int n = 0;
    for (QTreeWidgetItemIterator it(Tree(fView)); *it; ++it) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int Index) const {
    int n = 0;
    if (Index >= 0)
        for (QTreeWidgetItemIterator it(Tree(fView)); *it; ++it, ++n)
            if (n == Index) return fView->NodeOf(*it);
    ListIndexError(Index);
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return fView->NodeOf(Tree(fView)->topLevelItem(0));
}

TTreeNode* TTreeNodes::Make(TTreeNode* parent, int index, const std::string& text, void* data) {
    auto* item = new QTreeWidgetItem(QStringList{ToQString(text)});
    item->setToolTip(0, item->text(0));
    if (parent)
        parent->fItem->insertChild(index, item);
    else
        Tree(fView)->insertTopLevelItem(index, item);
    auto* node = new TTreeNode(fView, item);
    node->fData = data;
    return node;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
    TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
    const int count = parent ? parent->Count() : Tree(fView)->topLevelItemCount();
    return Make(parent, count, S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
    return Make(Sibling ? Sibling->Parent() : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr) {
    return Make(Parent, Parent ? Parent->Count() : Tree(fView)->topLevelItemCount(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
    return Make(Parent, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) {
    if (!Sibling) return Add(nullptr, S);
    return Make(Sibling->Parent(), Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (Node) Node->Delete();
}

void TTreeNodes::Clear() {
    QTreeWidget* tree = Tree(fView);
    ++fView->fSetting;
    while (tree->topLevelItemCount() > 0)
        fView->NodeOf(tree->topLevelItem(tree->topLevelItemCount() - 1))->Delete();
    --fView->fSetting;
}

void TTreeNodes::BeginUpdate() {
    if (fUpdateCount++ == 0) Tree(fView)->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate() {
    if (fUpdateCount > 0 && --fUpdateCount == 0) Tree(fView)->setUpdatesEnabled(true);
}

// ---- TTreeView ----

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QTreeWidget>()) {
    QTreeWidget* tree = Tree(this);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    fItems = std::make_unique<TTreeNodes>(this);
    GuardedConnect(this, tree, &QTreeWidget::currentItemChanged,
                   [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                       if (fSetting > 0) return;
                       TTreeNode* node = NodeOf(current);
                       bool allow = true;
                       if (OnChanging) OnChanging(this, node, allow);
                       if (!allow) {
                           ++fSetting;
                           Tree(this)->setCurrentItem(previous);
                           --fSetting;
                           return;
                       }
                       if (OnChange) OnChange(this, node);
                   });
    GuardedConnect(this, tree, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* item) {
        if (OnExpanded) OnExpanded(this, NodeOf(item));
    });
    GuardedConnect(this, tree, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* item) {
        if (OnCollapsed) OnCollapsed(this, NodeOf(item));
    });
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
    BeginDestroy();
    QObject::disconnect(Tree(this), nullptr, nullptr, nullptr);
    fItems.reset();
}

TTreeNode* TTreeView::NodeOf(QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    return reinterpret_cast<TTreeNode*>(item->data(0, kNodeRole).value<quintptr>());
}

TTreeNode* TTreeView::Selected() const {
    return NodeOf(Tree(this)->currentItem());
}

void TTreeView::SetSelected(TTreeNode* value) {
    QTreeWidget* tree = Tree(this);
    if (value) {
        tree->setCurrentItem(value->fItem);
    } else {
        tree->setCurrentItem(nullptr);
        tree->clearSelection();
    }
}

TTreeNode* TTreeView::TopItem() const {
    return NodeOf(Tree(this)->itemAt(1, 1));
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const {
    return NodeOf(Tree(this)->itemAt(X, Y));
}

void TTreeView::SetImages(TImageList* value) {
    if (fImages) fImages->RemoveFreeNotification(this);
    fImages = value;
    if (value) value->FreeNotification(this);
    UpdateIcons();
}

void TTreeView::SetStateImages(TImageList* value) {
    if (fStateImages) fStateImages->RemoveFreeNotification(this);
    fStateImages = value;
    if (value) value->FreeNotification(this);
    UpdateIcons();
}

void TTreeView::UpdateIcons() {
    const int w = (fStateImages ? fStateImages->Width() : 0) + (fImages ? fImages->Width() : 0);
    const int h = std::max(fStateImages ? fStateImages->Height() : 0, fImages ? fImages->Height() : 0);
    if (w > 0) Tree(this)->setIconSize(QSize(w, h));
    for (QTreeWidgetItemIterator it(Tree(this)); *it; ++it) NodeOf(*it)->UpdateIcon();
}

void TTreeView::SetShowLines(bool value) {
    fShowLines = value;
}

void TTreeView::SetShowRoot(bool value) {
    fShowRoot = value;
    Tree(this)->setRootIsDecorated(value);
}

void TTreeView::FullExpand() {
    Tree(this)->expandAll();
}

void TTreeView::FullCollapse() {
    Tree(this)->collapseAll();
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove || (AComponent != fImages && AComponent != fStateImages)) return;
    if (AComponent == fImages) fImages = nullptr;
    if (AComponent == fStateImages) fStateImages = nullptr;
    if (!ComponentState().Contains(csDestroying)) UpdateIcons();
}

}  // namespace tv
