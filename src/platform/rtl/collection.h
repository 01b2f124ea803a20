#pragma once
// Collections: an ordered list of items of one item class, each with a position (Index) and an ID
// that the collection hands out once and never reuses. Items belong to their collection: freeing the
// collection frees them, freeing an item takes it out. Grid columns and the like are built on this.

#include <string>
#include <vector>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TCollection;

enum TCollectionNotification : uint8_t { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    TV_CLASS(TCollectionItem, TPersistent)
public:
    // Adds the new item to Collection when one is given.
    explicit TCollectionItem(TCollection* Collection = nullptr);
    ~TCollectionItem() override;

    TCollection* Collection() const { return fCollection; }
    // Moves the item into another collection (a new ID there), or out of any with nil.
    virtual void SetCollection(TCollection* Value);
    int ID() const { return fID; }
    int Index() const;
    // Moves the item to that position; raises EListError outside the list.
    virtual void SetIndex(int Value);
    // The class name unless a subclass says otherwise.
    virtual std::string DisplayName() const;
    virtual void SetDisplayName(const std::string& Value);

protected:
    // Tells the collection that this item (AllItems false) or all items changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* fCollection = nullptr;
    int fID = 0;
};

class TCollection : public TPersistent {
    TV_CLASS(TCollection, TPersistent)
public:
    // Raises EConvertError when ItemClass does not descend from TCollectionItem.
    explicit TCollection(const TClassInfo& ItemClass = TCollectionItem::StaticClassInfo());
    ~TCollection() override;

    const TClassInfo& ItemClass() const { return *fItemClass; }
    // The owner of the collection: nil here, the owner given to a TOwnedCollection.
    virtual TPersistent* Owner() const { return nullptr; }

    // A new item of the item class at the end.
    TCollectionItem* Add();
    // A new item at Index.
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return fUpdateCount; }
    TCollectionItem* FindItemID(int ID) const;
    int Count() const { return static_cast<int>(fItems.size()); }
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItems(int Index, TCollectionItem* Value);
    // Copies the items of another collection (each through its Assign).
    void Assign(TPersistent* Source) override;

protected:
    // Called after changes while no update is open: Item is the changed item, nil for all.
    virtual void Update(TCollectionItem* Item) {}
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item, bool checkClass);
    void RemoveItem(TCollectionItem* Item);

    const TClassInfo* fItemClass;
    std::vector<TCollectionItem*> fItems;
    int fUpdateCount = 0;
    int fNextID = 0;
};

// A collection that knows its owner (the component or object whose property it is).
class TOwnedCollection : public TCollection {
    TV_CLASS(TOwnedCollection, TCollection)
public:
    explicit TOwnedCollection(TPersistent* AOwner = nullptr,
                              const TClassInfo& ItemClass = TCollectionItem::StaticClassInfo())
        : TCollection(ItemClass), fOwner(AOwner) {}
    TPersistent* Owner() const override { return fOwner; }

private:
    TPersistent* fOwner;
};

}  // namespace tv
