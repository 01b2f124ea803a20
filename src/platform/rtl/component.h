#pragma once
// Components: named objects owned by another component, which frees them (last inserted first) when
// it is freed itself. Components that refer to each other across owners ask for free notification,
// so that a reference is cleared when its target goes. Every data module and form is built on this.

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/persistent.h"

namespace tv {

TV_DECLARE_EXCEPTION(EComponentError, Exception);  // invalid or duplicate component names
TV_DECLARE_EXCEPTION(EListError, Exception);       // an index outside a list

enum TComponentStateE : uint8_t {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
TV_ENUM_INFO(TComponentStateE, "csLoading", "csReading", "csWriting", "csDestroying", "csDesigning",
             "csAncestor", "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance");
using TComponentState = TSet<TComponentStateE>;

enum TOperation : uint8_t { opInsert, opRemove };
TV_ENUM_INFO(TOperation, "opInsert", "opRemove");

// "List index out of bounds (%d)", raised by lists of components, collection items and the like.
[[noreturn]] void ListIndexError(int index);

class TComponent : public TPersistent {
    TV_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    // A subclass whose Notification must see its owned components go calls DestroyComponents in
    // its own destructor: by the time this one runs, the subclass's overrides no longer do.
    ~TComponent() override;

    TComponent* Owner() const { return fOwner; }
    TComponent* Components(int Index) const;
    int ComponentCount() const { return static_cast<int>(fComponents.size()); }
    // The position in the owner's list, -1 without owner. Setting it moves the component, clamped
    // to the list.
    int ComponentIndex() const;
    void SetComponentIndex(int Value);
    TComponentState ComponentState() const { return fComponentState; }
    int32_t DesignInfo() const { return fDesignInfo; }
    void SetDesignInfo(int32_t value) { fDesignInfo = value; }

    const std::string& Name() const { return fName; }
    // Raises EComponentError for a name that is not an identifier or that a sibling already has.
    virtual void SetName(const std::string& NewName);
    int32_t Tag() const { return fTag; }
    void SetTag(int32_t value) { fTag = value; }

    // The owned component of that name, compared without case; nil for none or an empty name.
    TComponent* FindComponent(std::string_view AName) const;
    // Frees every owned component, the last first. The removal of one that asked for or was asked
    // for free notification is told to this component and all its owned ones before it is freed.
    void DestroyComponents();
    // Marks this component and its owned components as being destroyed.
    void Destroying();
    // Asks that AComponent is told (Notification with opRemove) when this component is freed, and
    // the other way round.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    // The loading bracket of code that builds a form (or data module) and its components:
    // BeginLoading marks this component and its owned ones csLoading, and so is every component
    // it comes to own until EndLoading; EndLoading calls Loaded on each of them still loading, the
    // owner before what it owns, in the order they were made. Setters that act differently on a
    // component being built read csLoading; Loaded is where such a component settles.
    void BeginLoading();
    void EndLoading();

protected:
    // The component and its properties are complete: clears csLoading. Overrides call it first.
    virtual void Loaded();
    // Called when AComponent is inserted into or removed from this component (or, with opRemove,
    // when a component this one asked to be notified about is freed). Passed on to every owned
    // component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName);
    void SetState(TComponentStateE flag, bool on);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* fOwner = nullptr;
    std::vector<TComponent*> fComponents;
    std::vector<TComponent*> fFreeNotifies;
    std::string fName;
    int32_t fTag = 0;
    int32_t fDesignInfo = 0;
    TComponentState fComponentState;
    // A component of the same owner asked to be told when this one goes: its owner tells them all.
    bool fSiblingsNotified = false;
};

}  // namespace tv
