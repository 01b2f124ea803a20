#include "platform/rtl/collection.h"

#include <algorithm>

#include "platform/rtl/class_info.h"
#include "platform/rtl/component.h"

namespace tv {

namespace {
constexpr std::string_view kInvalidProperty = "Invalid property value";
}

const TClassInfo& TCollectionItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCollectionItem>("TCollectionItem").Build();
    return info;
}

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection").Build();
    return info;
}

const TClassInfo& TOwnedCollection::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOwnedCollection>("TOwnedCollection").Build();
    return info;
}

TCollectionItem::TCollectionItem(TCollection* Collection) {
    // The class is not checked here: while this constructor runs the object is not yet of its final class.
    if (Collection) Collection->InsertItem(this, false);
}

TCollectionItem::~TCollectionItem() {
    if (fCollection) fCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (fCollection == Value) return;
    if (fCollection) fCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this, true);
}

int TCollectionItem::Index() const {
    if (!fCollection) return -1;
    auto& items = fCollection->fItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    const int cur = Index();
    if (cur < 0 || cur == Value) return;
    auto& items = fCollection->fItems;
    if (Value < 0 || Value >= static_cast<int>(items.size())) ListIndexError(Value);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const std::string&) {
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems) {
    if (fCollection && fCollection->fUpdateCount == 0) fCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(const TClassInfo& ItemClass) : fItemClass(&ItemClass) {
    if (!ItemClass.InheritsFrom(TCollectionItem::StaticClassInfo()))
        throw EConvertError(std::string(kInvalidProperty));
}

TCollection::~TCollection() {
    fUpdateCount = 1;  // no updates while the items go
    while (!fItems.empty()) delete fItems.back();
}

TCollectionItem* TCollection::Add() {
    TObject* obj = fItemClass->Construct<TCollection*>(this);
    auto* item = static_cast<TCollectionItem*>(obj);
    if (item->fCollection != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    TCollectionItem* item = Add();
    try {
        item->SetIndex(Index);
    } catch (...) {
        delete item;
        throw;
    }
    return item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (fItems.empty()) return;
    BeginUpdate();
    try {
        while (!fItems.empty()) delete fItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() {
    ++fUpdateCount;
}

void TCollection::EndUpdate() {
    --fUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (fUpdateCount == 0) Update(nullptr);
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* item : fItems)
        if (item->fID == ID) return item;
    return nullptr;
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fItems[Index];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

void TCollection::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this) return;  // clearing first would leave nothing to copy
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->fItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* Item, bool checkClass) {
    if (checkClass && !Item->InheritsFrom(*fItemClass)) throw EConvertError(std::string(kInvalidProperty));
    fItems.push_back(Item);
    Item->fCollection = this;
    Item->fID = fNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    Notify(Item, cnExtracting);
    auto it = std::find(fItems.begin(), fItems.end(), Item);
    if (it != fItems.end()) fItems.erase(it);
    Item->fCollection = nullptr;
    Changed();
}

}  // namespace tv
