#pragma once
// The behaviours a settings page block names by id ("does rule-choice"): one row each, saying what
// the behaviour does to the control or group that names it, when the page is made. A new behaviour
// is one row of the table in page_behaviours.cpp.

#include <string_view>

#include "core/settings_schema.h"

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

}  // namespace tv
