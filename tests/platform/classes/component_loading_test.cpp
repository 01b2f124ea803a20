// The loading bracket of code that builds a form: csLoading on the component and everything it
// owns (also what it comes to own meanwhile), Loaded on each at the end, owner first.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/component.h"

namespace tv {
namespace {

// Records its Loaded calls, and whether it was still loading when asked.
class TLoadingComponent : public TComponent {
public:
    TLoadingComponent(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), fLog(log) {
        SetName(name);
    }
    std::function<void()> OnLoaded;

protected:
    void Loaded() override {
        fLog.push_back(Name() + (ComponentState().Contains(csLoading) ? " loading" : " done"));
        TComponent::Loaded();
        if (OnLoaded) OnLoaded();
    }

private:
    std::vector<std::string>& fLog;
};

TEST(ComponentLoading, MarksTheTreeAndCallsLoadedOwnerFirstInOrderOfMaking) {
    std::vector<std::string> log;
    TLoadingComponent form(nullptr, "Form", log);
    auto* panel = new TLoadingComponent(&form, "Panel", log);
    form.BeginLoading();
    // Made while the form loads: it loads too, wherever it is owned below the form.
    auto* grid = new TLoadingComponent(panel, "Grid", log);
    auto* source = new TLoadingComponent(&form, "Source", log);
    for (TComponent* c : std::initializer_list<TComponent*>{&form, panel, grid, source})
        EXPECT_TRUE(c->ComponentState().Contains(csLoading)) << c->Name();
    form.EndLoading();
    // Loaded sees the flag still set (overrides settle first, then clear it).
    EXPECT_EQ(log, (std::vector<std::string>{"Form loading", "Panel loading", "Grid loading", "Source loading"}));
    for (TComponent* c : std::initializer_list<TComponent*>{&form, panel, grid, source})
        EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << c->Name();
    // Made afterwards: not loading, and a second EndLoading calls nobody.
    auto* late = new TLoadingComponent(&form, "Late", log);
    EXPECT_FALSE(late->ComponentState().Contains(csLoading));
    log.clear();
    form.EndLoading();
    EXPECT_TRUE(log.empty());
}

TEST(ComponentLoading, AComponentFreedByAnEarlierLoadedIsNotCalled) {
    std::vector<std::string> log;
    TLoadingComponent form(nullptr, "Form", log);
    form.BeginLoading();
    auto* a = new TLoadingComponent(&form, "A", log);
    auto* b = new TLoadingComponent(&form, "B", log);
    a->OnLoaded = [b] { delete b; };
    form.EndLoading();
    EXPECT_EQ(log, (std::vector<std::string>{"Form loading", "A loading"}));
    EXPECT_EQ(form.ComponentCount(), 1);
}

}  // namespace
}  // namespace tv
