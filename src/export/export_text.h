#pragma once
// Small text routines of the export writers, with the run-time library's rules: trimming removes
// blanks and control characters at both ends; replacing ignores the letter case of the pattern's
// ASCII letters, as the placeholders of file-name templates are written.

#include <string>
#include <string_view>

namespace tv {

std::string_view TrimView(std::string_view text);
inline std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

// Replaces every occurrence of `pattern` in `text`, letter case ignored.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view pattern, std::string_view value);

}  // namespace tv
