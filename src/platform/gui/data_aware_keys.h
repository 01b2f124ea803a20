#pragma once
// The keys with which the user starts changing a data-aware control's value (for the library's own
// sources): the first of them puts the dataset into edit state.

#include <cstdint>

#include "platform/gui/control_types.h"

namespace tv {

inline constexpr char16_t kEscapeChar = 27;

// Delete, Backspace, Shift+Insert (paste), Ctrl+V and Ctrl+X.
bool KeyChangesText(uint16_t key, TShiftState shift);
// A printable character, Backspace, Ctrl+V or Ctrl+X; a line break where the control takes it.
bool CharChangesText(char16_t ch, bool takesLineBreaks);

}  // namespace tv
