#pragma once
// The desktop's visual theme, for controls that have a themed look beside their plain one (the
// data grid's fixed cells, check boxes and expand buttons, the navigator's buttons). The service
// is off by default: every control then draws its plain look. Switched on, `ThemesEnabled` is true
// and `DrawThemedElement` draws an element in the look of the running style. With a recorder on
// the canvas the element is recorded instead (TCanvasOp::Themed: Index the element, Flags the
// state, Color the check state), so that tests see what was drawn in which state.

#include <cstdint>

#include "platform/gui/rect.h"

namespace tv {

class TCanvas;

enum class TThemedElement : uint8_t {
    HeaderItem,   // a column title button
    PushButton,
    Tab,
    ToolBar,
    ToolButton,   // a button on a toolbar
    CheckBox,
    SpinUp,       // the arrows of an up-down control
    SpinDown,
    ScrollUp,     // the arrow buttons of a scroll bar
    ScrollDown,
    ScrollLeft,
    ScrollRight,
};

enum class TThemedState : uint8_t { Normal, Hot, Pressed, Disabled };

// A check box's mark: unchecked, checked, or neither (greyed).
enum class TThemedCheck : uint8_t { Unchecked, Checked, Mixed };

struct TThemedDetails {
    TThemedElement Element = TThemedElement::PushButton;
    TThemedState State = TThemedState::Normal;
    TThemedCheck Check = TThemedCheck::Unchecked;  // check boxes only
};

bool ThemesEnabled();
// Switches the service on or off (off when the program starts).
void SetThemesEnabled(bool enabled);

// Draws the element filling `rect`; nothing while the service is off.
void DrawThemedElement(TCanvas& canvas, const TThemedDetails& details, const TRect& rect);

// The side of the square the style gives a check box.
int ThemedCheckBoxSize();

}  // namespace tv
