#pragma once
// Small text routines of the export writers: trimming (the run-time library's), and replacing that
// ignores the letter case of the pattern's ASCII letters, as the placeholders of file-name
// templates are written.

#include <string>
#include <string_view>

#include "platform/rtl/trim.h"

namespace tv {

// Replaces every occurrence of `pattern` in `text`, letter case ignored.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view pattern, std::string_view value);

}  // namespace tv
