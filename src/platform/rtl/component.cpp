#include "platform/rtl/component.h"

#include <algorithm>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {
constexpr std::string_view kInvalidName = "'%s' is not a valid component name";
constexpr std::string_view kDuplicateName = "A component named %s already exists";
constexpr std::string_view kListIndexError = "List index out of bounds (%d)";

bool IsValidIdent(std::string_view s) {
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (s.empty() || !alpha(s[0])) return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}
}  // namespace

void ListIndexError(int index) {
    throw EListError(Format(kListIndexError, {index}));
}

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent")
                                       .Published("Name", &TComponent::Name, &TComponent::SetName)
                                       .Published("Tag", &TComponent::Tag, &TComponent::SetTag)
                                       .Build();
    return info;
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell every component that asked about this one; each drops its reference in Notification.
    // This one leaves their lists first, also when an override does not pass the call on.
    while (!fFreeNotifies.empty()) {
        TComponent* other = fFreeNotifies.back();
        fFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (fOwner) fOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
    return fComponents[Index];
}

int TComponent::ComponentIndex() const {
    if (!fOwner) return -1;
    auto& list = fOwner->fComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
    const int i = ComponentIndex();
    if (i < 0) return;
    auto& list = fOwner->fComponents;
    Value = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
    if (Value == i) return;
    list.erase(list.begin() + i);
    list.insert(list.begin() + Value, this);
}

void TComponent::SetName(const std::string& NewName) {
    if (fName == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(Format(kInvalidName, {NewName}));
    if (fOwner)
        fOwner->ValidateRename(this, fName, NewName);
    else
        ValidateRename(nullptr, fName, NewName);
    fName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
    if (AComponent && !SameTextAscii(CurName, NewName) && AComponent->fOwner == this &&
        FindComponent(NewName))
        throw EComponentError(Format(kDuplicateName, {NewName}));
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : fComponents)
        if (SameTextAscii(c->fName, AName)) return c;
    return nullptr;
}

void TComponent::DestroyComponents() {
    while (!fComponents.empty()) {
        TComponent* c = fComponents.back();
        // One that others asked about is taken out with notification, so that its siblings
        // holding a reference to it drop it before it goes; the others leave quietly.
        if (c->fComponentState.Contains(csFreeNotification) || c->fSiblingsNotified)
            RemoveComponent(c);
        else
            Remove(c);
        delete c;
    }
}

void TComponent::Destroying() {
    if (fComponentState.Contains(csDestroying)) return;
    fComponentState.Include(csDestroying);
    for (TComponent* c : fComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    // Components of one owner hear of each other through the owner, which passes on the removal
    // of each component to all of them (also when it frees them one by one).
    if (!fOwner || AComponent->fOwner != fOwner) {
        if (std::find(fFreeNotifies.begin(), fFreeNotifies.end(), AComponent) == fFreeNotifies.end()) {
            fFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    } else {
        fSiblingsNotified = true;
    }
    fComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotification(AComponent);
    if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    auto it = std::find(fFreeNotifies.begin(), fFreeNotifies.end(), AComponent);
    if (it != fFreeNotifies.end()) fFreeNotifies.erase(it);
    if (fFreeNotifies.empty()) fComponentState.Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Handlers may free components; walk down and re-check the bound each time.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount()) continue;
        fComponents[i]->Notification(AComponent, Operation);
    }
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->fOwner == this) return;
    if (FindComponent(AComponent->fName)) throw EComponentError(Format(kDuplicateName, {AComponent->fName}));
    if (AComponent->fOwner) AComponent->fOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->fOwner != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    fComponents.push_back(AComponent);
    AComponent->fOwner = this;
    if (fComponentState.Contains(csLoading)) AComponent->BeginLoading();
}

void TComponent::BeginLoading() {
    fComponentState.Include(csLoading);
    for (TComponent* c : fComponents) c->BeginLoading();
}

namespace {
void CollectLoading(TComponent* c, std::vector<TComponent*>& out) {
    if (c->ComponentState().Contains(csLoading)) out.push_back(c);
    for (int i = 0; i < c->ComponentCount(); ++i) CollectLoading(c->Components(i), out);
}
}  // namespace

void TComponent::EndLoading() {
    // Collected first: a Loaded may make or free components. A component freed by an earlier
    // Loaded would leave a dangling entry, so each is looked for again before its turn.
    std::vector<TComponent*> loading;
    CollectLoading(this, loading);
    for (TComponent* c : loading) {
        std::vector<TComponent*> still;
        CollectLoading(this, still);
        if (std::find(still.begin(), still.end(), c) != still.end()) c->Loaded();
    }
}

void TComponent::Loaded() {
    fComponentState.Exclude(csLoading);
}

void TComponent::Remove(TComponent* AComponent) {
    auto it = std::find(fComponents.begin(), fComponents.end(), AComponent);
    if (it != fComponents.end()) fComponents.erase(it);
    AComponent->fOwner = nullptr;
}

void TComponent::SetState(TComponentStateE flag, bool on) {
    if (on)
        fComponentState.Include(flag);
    else
        fComponentState.Exclude(flag);
}

}  // namespace tv
