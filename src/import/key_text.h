#pragma once
// The texts of keys and options as the import handles them: trimmed as the class library trims
// (every character up to and including a blank goes at either end), folded to small or capital
// letters by the run-time library's one case table (å, ä, ö included), and cut to a field's length
// in characters.

#include <string>
#include <string_view>

#include "platform/rtl/trim.h"

namespace tv {

// Every capital letter of the case table as its small letter; the one case rule of the registries.
std::string LowerKey(std::string_view text);
// Every small letter of the case table as its capital (article numbers and language codes).
std::string UpperKey(std::string_view text);
// The first `count` characters (never cutting inside a letter).
std::string CutToCharacters(std::string_view text, size_t count);

}  // namespace tv
