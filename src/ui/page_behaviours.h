#pragma once
// The behaviours a settings page block names by id ("does rule-choice"): one row each, saying what
// the behaviour does to the control or group that names it, when the page is made. A new behaviour
// is one row of the table in page_behaviours.cpp.

#include <span>
#include <string_view>

#include "core/settings_schema.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/control.h"
#include "platform/rtl/exception.h"

namespace tv {

class TControl;
class TSettingsPage;

struct TPageBehaviour {
    std::string_view Id;
    // `target` is the control (with its block line `control`) or the group (`control` nil) that
    // names the behaviour.
    void (*Apply)(TSettingsPage& page, TControl& target, const TPageControlDef* control,
                  const TPageBehaviourDef& behaviour);
};

// The row of the id; nil for an id no row names.
const TPageBehaviour* FindPageBehaviour(std::string_view id);

// The behaviours of the standard, integration-menu and time-reporting pages, each table in its
// page's file.
std::span<const TPageBehaviour> StandardPageBehaviours();
std::span<const TPageBehaviour> MenuPageBehaviours();
std::span<const TPageBehaviour> TidPageBehaviours();
// The behaviours of the export pages and the SQL query page.
std::span<const TPageBehaviour> ExportPageBehaviours();

// The target as the control class the behaviour works on; raises when the block names the
// behaviour on a control of another class.
template <class C>
C& BehaviourTarget(TControl& target, const TPageBehaviourDef& behaviour) {
    auto* control = dynamic_cast<C*>(&target);
    if (!control)
        throw Exception("The page behaviour " + behaviour.Id + " does not fit " + target.ClassName());
    return *control;
}

// A button's click runs `action`; a failure goes to the application's error box.
template <class Action>
void OnClick(TButton& button, Action action) {
    button.OnClick = [&button, action](TObject*) {
        try {
            action();
        } catch (...) {
            Application().HandleException(&button);
        }
    };
}

}  // namespace tv
