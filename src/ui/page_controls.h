#pragma once
// The kinds of control a settings page block may name ("edit", "radio", "sortorder" ...): one row
// each, saying how the control is made. A new kind is one row of the table in page_controls.cpp.

#include <string_view>

#include "core/settings_schema.h"

namespace tv {

class TSettingsPage;
class TWinControl;

// Where a control goes: inside `Parent`, from `Left` and `Top`, `Width` wide.
struct TPagePlace {
    TWinControl* Parent = nullptr;
    int Left = 0;
    int Top = 0;
    int Width = 0;
};

struct TPageControlKind {
    std::string_view Kind;
    // Makes the control (with its caption) at the place, records it with the page, and answers
    // the height it takes.
    int (*Make)(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place);
};

// The row of the kind; nil for a kind no row names.
const TPageControlKind* FindPageControlKind(std::string_view kind);

}  // namespace tv
