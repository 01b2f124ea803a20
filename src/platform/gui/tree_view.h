#pragma once
// Tree views: nodes with a text, an image, a state image (from StateImages) and user data, nested
// under each other. Nodes are made and freed through the view's Items; freeing a node frees the
// nodes under it (OnDeletion is told of each).

#include <string>

#include "platform/gui/win_control.h"

class QTreeWidgetItem;

namespace tv {

class TTreeView;
class TTreeNodes;
class TImageList;

class TTreeNode : public TPersistent {
    TV_CLASS(TTreeNode, TPersistent)
public:
    ~TTreeNode() override;

    std::string Text() const;
    void SetText(const std::string& value);
    // What the program keeps with the node; never looked at.
    void* Data() const { return fData; }
    void SetData(void* value) { fData = value; }
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return fSelectedIndex; }
    void SetSelectedIndex(int value) { fSelectedIndex = value; }
    // The picture from the view's StateImages shown before the node; -1 for none.
    int StateIndex() const { return fStateIndex; }
    void SetStateIndex(int value);

    TTreeNode* Parent() const;
    TTreeView* TreeView() const { return fView; }
    int Count() const;
    // Raises EListError outside 0..Count-1.
    TTreeNode* Item(int Index) const;
    bool HasChildren() const { return Count() > 0; }
    // The position under its parent (or among the top nodes).
    int Index() const;
    // 0 for a top node.
    int Level() const;
    // The position among all nodes, counted down the tree.
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return Count() ? Item(0) : nullptr; }
    TTreeNode* GetLastChild() const { return Count() ? Item(Count() - 1) : nullptr; }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node down the tree: first child, else next sibling, else a parent's next sibling.
    TTreeNode* GetNext() const;

    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool value);
    void MakeVisible();
    // Frees the node and the nodes under it.
    void Delete();
    void DeleteChildren();

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeView* view, QTreeWidgetItem* item);
    void UpdateIcon();

    TTreeView* fView;
    QTreeWidgetItem* fItem;
    void* fData = nullptr;
    int fImageIndex = -1;
    int fSelectedIndex = -1;
    int fStateIndex = -1;
};

class TTreeNodes : public TPersistent {
    TV_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TTreeView* view) : fView(view) {}
    ~TTreeNodes() override;

    // Every node, counted down the tree.
    int Count() const;
    // Raises EListError outside 0..Count-1.
    TTreeNode* Item(int Index) const;
    TTreeNode* GetFirstNode() const;

    // A new last sibling of Sibling (nil: a new top node).
    TTreeNode* Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
    // A new last child of Parent (nil: a new top node).
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) {
        return AddChildObject(Parent, S, nullptr);
    }
    TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
    // A new node just before Sibling (nil: a new last top node).
    TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    TTreeNode* Make(TTreeNode* parent, int index, const std::string& text, void* data);
    TTreeView* fView;
    int fUpdateCount = 0;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;

class TTreeView : public TWinControl {
    TV_CLASS(TTreeView, TWinControl)
public:
    explicit TTreeView(TComponent* AOwner = nullptr);
    ~TTreeView() override;

    TTreeNodes* Items() const { return fItems.get(); }
    TTreeNode* Selected() const;
    // nil clears the choice.
    void SetSelected(TTreeNode* value);
    TTreeNode* TopItem() const;
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);
    TImageList* StateImages() const { return fStateImages; }
    void SetStateImages(TImageList* value);
    bool ShowLines() const { return fShowLines; }
    void SetShowLines(bool value);
    bool ShowRoot() const { return fShowRoot; }
    void SetShowRoot(bool value);
    bool ReadOnly() const { return fReadOnly; }
    void SetReadOnly(bool value) { fReadOnly = value; }
    void FullExpand();
    void FullCollapse();
    // The node at a point of the client area; nil for none.
    TTreeNode* GetNodeAt(int X, int Y) const;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandedEvent OnExpanded;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;

protected:
    bool AcceptsFocus() const override { return true; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    TTreeNode* NodeOf(QTreeWidgetItem* item) const;
    void UpdateIcons();

    std::unique_ptr<TTreeNodes> fItems;
    TImageList* fImages = nullptr;
    TImageList* fStateImages = nullptr;
    bool fShowLines = true;
    bool fShowRoot = true;
    bool fReadOnly = false;
    int fSetting = 0;
};

}  // namespace tv
