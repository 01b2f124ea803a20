#include "platform/rtl/collection.h"

#include <gtest/gtest.h>

#include "platform/rtl/class_info.h"
#include "platform/rtl/component.h"

namespace tv {
namespace {

// An item with a value that Assign copies.
class TValueItem : public TCollectionItem {
    TV_CLASS(TValueItem, TCollectionItem)
public:
    explicit TValueItem(TCollection* c = nullptr) : TCollectionItem(c) {}
    int Value = 0;
    void Assign(TPersistent* source) override {
        if (auto* v = dynamic_cast<TValueItem*>(source))
            Value = v->Value;
        else
            TCollectionItem::Assign(source);
    }
};

const TClassInfo& TValueItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TValueItem>("TValueItem").Build();
    return info;
}

// Counts the update calls a collection makes.
class TCountingCollection : public TCollection {
public:
    TCountingCollection() : TCollection(TValueItem::StaticClassInfo()) {}
    int updates = 0;
    std::vector<TCollectionNotification> notes;

protected:
    void Update(TCollectionItem*) override { ++updates; }
    void Notify(TCollectionItem*, TCollectionNotification a) override { notes.push_back(a); }
};

std::vector<int> Ids(const TCollection& c) {
    std::vector<int> ids;
    for (int i = 0; i < c.Count(); ++i) ids.push_back(c.Items(i)->ID());
    return ids;
}

TEST(Collection, AddInsertDeleteAndMoveKeepIdsAndIndexes) {
    TCollection c(TValueItem::StaticClassInfo());
    TCollectionItem* a = c.Add();
    TCollectionItem* b = c.Add();
    EXPECT_EQ(a->ClassName(), "TValueItem");  // items are of the item class
    TCollectionItem* x = c.Insert(0);
    EXPECT_EQ(Ids(c), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(x->Index(), 0);
    EXPECT_EQ(b->Index(), 2);
    c.Delete(1);  // a goes
    EXPECT_EQ(Ids(c), (std::vector<int>{2, 1}));
    TCollectionItem* d = c.Add();
    EXPECT_EQ(d->ID(), 3);  // IDs are never reused
    d->SetIndex(0);
    EXPECT_EQ(Ids(c), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(c.FindItemID(2), x);
    EXPECT_EQ(c.FindItemID(0), nullptr);
    EXPECT_THROW(d->SetIndex(3), EListError);
    EXPECT_THROW(c.Items(3), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    EXPECT_THROW(c.Insert(9), EListError);
    EXPECT_EQ(c.Count(), 3);  // the failed insert left nothing behind
}

TEST(Collection, FreeingAnItemTakesItOutAndFreeingTheCollectionFreesTheItems) {
    auto* c = new TCollection;
    auto* a = c->Add();
    auto* b = c->Add();
    delete a;
    EXPECT_EQ(c->Count(), 1);
    EXPECT_EQ(b->Index(), 0);
    delete c;  // LeakSanitizer checks that b went with it
}

TEST(Collection, MovingAnItemToAnotherCollectionGivesItAnIdThere) {
    TCollection one(TValueItem::StaticClassInfo()), two(TValueItem::StaticClassInfo());
    two.Add();
    TCollectionItem* item = one.Add();
    item->SetCollection(&two);
    EXPECT_EQ(one.Count(), 0);
    EXPECT_EQ(item->Collection(), &two);
    EXPECT_EQ(item->ID(), 1);
    EXPECT_EQ(item->Index(), 1);
    item->SetCollection(nullptr);
    EXPECT_EQ(item->Index(), -1);
    delete item;
    TCollection plain;
    TCollectionItem* other = plain.Add();
    EXPECT_THROW(other->SetCollection(&two), EConvertError);  // not of two's item class
}

TEST(Collection, UpdatesWaitForTheLastEndUpdate) {
    TCountingCollection c;
    c.Add();
    EXPECT_EQ(c.updates, 1);
    c.BeginUpdate();
    c.BeginUpdate();
    c.Add();
    c.Add();
    c.EndUpdate();
    EXPECT_EQ(c.updates, 1);
    c.EndUpdate();
    EXPECT_EQ(c.updates, 2);
    c.notes.clear();
    c.Delete(0);
    EXPECT_EQ(c.notes, (std::vector<TCollectionNotification>{cnDeleting, cnExtracting}));
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
}

TEST(Collection, AssignCopiesTheItemsOfAnotherCollection) {
    TCollection src(TValueItem::StaticClassInfo()), dst(TValueItem::StaticClassInfo());
    static_cast<TValueItem*>(src.Add())->Value = 5;
    static_cast<TValueItem*>(src.Add())->Value = 7;
    dst.Add();
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(static_cast<TValueItem*>(dst.Items(1))->Value, 7);
    dst.SetItems(0, src.Items(1));
    EXPECT_EQ(static_cast<TValueItem*>(dst.Items(0))->Value, 7);
    src.Assign(&src);  // a collection assigned to itself keeps its items
    ASSERT_EQ(src.Count(), 2);
    EXPECT_EQ(static_cast<TValueItem*>(src.Items(0))->Value, 5);
}

TEST(Collection, OwnedCollectionsKnowTheirOwnerAndPlainOnesHaveNone) {
    TComponent owner;
    TOwnedCollection owned(&owner);
    EXPECT_EQ(owned.Owner(), &owner);
    EXPECT_EQ(owned.ItemClass().Name(), "TCollectionItem");
    TCollection plain;
    EXPECT_EQ(plain.Owner(), nullptr);
    EXPECT_EQ(plain.Add()->DisplayName(), "TCollectionItem");
    EXPECT_THROW(TCollection(TComponent::StaticClassInfo()), EConvertError);
}

}  // namespace
}  // namespace tv
