#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/class_info.h"
#include "platform/rtl/collection.h"

namespace tv {
namespace {

// Records its name in a shared log when it is freed.
class TLoggedComponent : public TComponent {
public:
    TLoggedComponent(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), fLog(log) {
        SetName(name);
    }
    ~TLoggedComponent() override {
        DestroyComponents();
        fLog.push_back(Name());
    }

private:
    std::vector<std::string>& fLog;
};

TEST(Component, TheOwnerFreesItsComponentsLastInsertedFirst) {
    std::vector<std::string> log;
    auto* owner = new TLoggedComponent(nullptr, "Owner", log);
    auto* a = new TLoggedComponent(owner, "A", log);
    new TLoggedComponent(owner, "B", log);
    new TLoggedComponent(a, "A1", log);
    new TLoggedComponent(owner, "C", log);
    ASSERT_EQ(owner->ComponentCount(), 3);
    delete owner;
    // Each component frees its own components before it is taken out of its owner.
    EXPECT_EQ(log, (std::vector<std::string>{"C", "B", "A1", "A", "Owner"}));
}

TEST(Component, AComponentFreedOnItsOwnLeavesTheOwnersList) {
    TComponent owner;
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(Component, ComponentIndexMovesWithinTheOwnerClampedToTheList) {
    TComponent owner;
    TComponent* c[3] = {new TComponent(&owner), new TComponent(&owner), new TComponent(&owner)};
    c[0]->SetComponentIndex(2);
    EXPECT_EQ(owner.Components(2), c[0]);
    EXPECT_EQ(owner.Components(0), c[1]);
    c[0]->SetComponentIndex(-5);
    EXPECT_EQ(c[0]->ComponentIndex(), 0);
    c[0]->SetComponentIndex(99);
    EXPECT_EQ(c[0]->ComponentIndex(), 2);
    TComponent lone;
    EXPECT_EQ(lone.ComponentIndex(), -1);
    lone.SetComponentIndex(3);  // no owner: nothing to move
    EXPECT_EQ(lone.ComponentIndex(), -1);
}

struct NameCase {
    const char* name;
    bool valid;
};

TEST(Component, NamesMustBeIdentifiersAndUniqueAmongSiblings) {
    const NameCase cases[] = {
        {"Button1", true}, {"_x", true},   {"", true},   {"1abc", false},
        {"a b", false},    {"a.b", false}, {"å", false},
    };
    for (const auto& c : cases) {
        TComponent comp;
        if (c.valid) {
            EXPECT_NO_THROW(comp.SetName(c.name)) << c.name;
        } else {
            try {
                comp.SetName(c.name);
                ADD_FAILURE() << c.name;
            } catch (const EComponentError& e) {
                EXPECT_EQ(e.Message, "'" + std::string(c.name) + "' is not a valid component name");
            }
        }
    }
    TComponent owner;
    auto* a = new TComponent(&owner);
    a->SetName("Edit1");
    auto* b = new TComponent(&owner);
    try {
        b->SetName("EDIT1");
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message, "A component named EDIT1 already exists");
    }
    a->SetName("edit1");  // the same component may change the case of its own name
    EXPECT_EQ(owner.FindComponent("EDIT1"), a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("Edit2"), nullptr);
}

TEST(Component, InsertingAComponentNamedLikeASiblingIsRefused) {
    TComponent owner, other;
    (new TComponent(&owner))->SetName("X");
    auto* x = new TComponent(&other);
    x->SetName("X");
    EXPECT_THROW(owner.InsertComponent(x), EComponentError);
    EXPECT_EQ(x->Owner(), &other);
    x->SetName("Y");
    owner.InsertComponent(x);  // moves it from its old owner
    EXPECT_EQ(x->Owner(), &owner);
    EXPECT_EQ(other.ComponentCount(), 0);
}

// Holds a reference to a component of another owner and drops it when told the target is gone.
class TLinkComponent : public TComponent {
public:
    using TComponent::TComponent;
    void SetLink(TComponent* c) {
        fLink = c;
        if (c) c->FreeNotification(this);
    }
    TComponent* Link() const { return fLink; }
    std::vector<TOperation> ops;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        ops.push_back(op);
        if (op == opRemove && c == fLink) fLink = nullptr;
    }

private:
    TComponent* fLink = nullptr;
};

TEST(Component, FreeNotificationClearsAReferenceWhenItsTargetIsFreed) {
    TComponent ownerA, ownerB;
    auto* link = new TLinkComponent(&ownerA);
    auto* target = new TComponent(&ownerB);
    link->SetLink(target);
    EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
    EXPECT_TRUE(link->ComponentState().Contains(csFreeNotification));
    delete target;
    EXPECT_EQ(link->Link(), nullptr);
    // After the target went, neither side keeps the other in its notification list.
    EXPECT_FALSE(link->ComponentState().Contains(csFreeNotification));
}

// Keeps its own books: its Notification does not pass the call on.
class TDeafComponent : public TComponent {
public:
    using TComponent::TComponent;

protected:
    void Notification(TComponent*, TOperation) override {}
};

TEST(Component, AComponentThatIgnoresNotificationsForgetsAFreedTargetAllTheSame) {
    auto* deaf = new TDeafComponent;
    auto* target = new TComponent;
    target->FreeNotification(deaf);
    delete target;
    EXPECT_FALSE(deaf->ComponentState().Contains(csFreeNotification));
    delete deaf;  // no notification goes to the freed target
}

// Records, as it is freed, whether the link still refers to it.
class TWatchedTarget : public TComponent {
public:
    TWatchedTarget(TComponent* owner, const TLinkComponent*& link, std::vector<std::string>& log)
        : TComponent(owner), fLink(link), fLog(log) {}
    ~TWatchedTarget() override { fLog.push_back(fLink && fLink->Link() == this ? "dangling" : "dropped"); }

private:
    const TLinkComponent*& fLink;
    std::vector<std::string>& fLog;
};

TEST(Component, SiblingsHearOfEachOtherWhenTheOwnerFreesThemOneByOne) {
    struct Case {
        const char* name;
        bool destroyComponents;     // the owner frees its components but stays, else it is freed
        bool otherTargetGoneFirst;  // the target was also watched by a component of another owner
    } cases[] = {
        {"owner freed", false, false},
        {"DestroyComponents", true, false},
        {"after another watcher went", false, true},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        const TLinkComponent* linkSeen = nullptr;
        auto* owner = new TComponent;
        auto* link = new TLinkComponent(owner);
        // Made after the link, so the owner frees it first.
        auto* target = new TWatchedTarget(owner, linkSeen, log);
        linkSeen = link;
        link->SetLink(target);
        if (c.otherTargetGoneFirst) {
            TComponent otherOwner;
            auto* other = new TLinkComponent(&otherOwner);
            other->SetLink(target);
            delete other;
        }
        if (c.destroyComponents) {
            owner->DestroyComponents();
            EXPECT_EQ(owner->ComponentCount(), 0) << c.name;
        }
        delete owner;
        EXPECT_EQ(log, (std::vector<std::string>{"dropped"})) << c.name;
    }
}

TEST(Component, TheOwnerHearsOfComponentsInsertedAndRemoved) {
    TLinkComponent owner;
    auto* c = new TComponent(&owner);
    delete c;
    EXPECT_EQ(owner.ops, (std::vector<TOperation>{opInsert, opRemove}));
}

// Sees its own state while it is being destroyed.
class TStateProbe : public TComponent {
public:
    TStateProbe(TComponent* owner, bool& destroying) : TComponent(owner), fDestroying(destroying) {}
    ~TStateProbe() override { fDestroying = ComponentState().Contains(csDestroying); }

private:
    bool& fDestroying;
};

TEST(Component, OwnedComponentsAreMarkedDestroyingBeforeAnyIsFreed) {
    bool destroying = false;
    auto* owner = new TComponent;
    new TStateProbe(owner, destroying);
    EXPECT_FALSE(owner->ComponentState().Contains(csDestroying));
    delete owner;
    EXPECT_TRUE(destroying);
}

TEST(Component, DestroyComponentsEmptiesTheOwnerAndKeepsIt) {
    std::vector<std::string> log;
    TComponent owner;
    new TLoggedComponent(&owner, "A", log);
    new TLoggedComponent(&owner, "B", log);
    owner.DestroyComponents();
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"B", "A"}));
}

TEST(Persistent, AssignBetweenUnrelatedClassesRaises) {
    TCollection collection;
    TComponent component;
    try {
        collection.Assign(&component);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a TComponent to a TCollection");
    }
    try {
        component.Assign(nullptr);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a nil to a TComponent");
    }
}

}  // namespace
}  // namespace tv
