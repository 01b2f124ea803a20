#pragma once
// Building a form in code: a control placed on its parent under its name, and an action of the
// form's action list that runs a handler. Forms use these in their constructors in place of the
// form description files the class library reads.

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/gui/action.h"
#include "platform/gui/control.h"

namespace tv {

// A new control of class C owned by `owner`, named `name`, on `parent`, aligned by `align`.
template <class C>
C* Placed(TComponent* owner, TWinControl* parent, const char* name, TAlign align = alNone) {
    auto* c = new C(owner);
    c->SetName(name);
    c->SetParent(parent);
    c->SetAlign(align);
    return c;
}

// A new action of `list` (owned by the list's owner) with that name and caption; it runs `run`,
// and without one it has no handler.
inline TAction* NewAction(TActionList* list, const char* name, std::string_view caption,
                          std::function<void()> run) {
    auto* action = new TAction(list->Owner());
    action->SetName(name);
    action->SetCaption(std::string(caption));
    action->SetActionList(list);
    if (run) action->OnExecute = [run = std::move(run)](TObject*) { run(); };
    return action;
}

}  // namespace tv
