#pragma once
// Where a text stands in its space: shared by dataset fields and controls.

#include <cstdint>

#include "platform/rtl/enum_set.h"

namespace tv {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
TV_ENUM_INFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter");

}  // namespace tv
