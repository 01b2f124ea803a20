#pragma once
// Trimming as the class library trims: every character up to and including a blank (the control
// characters too) goes at either end.

#include <string>
#include <string_view>

namespace tv {

std::string_view TrimView(std::string_view text);
// The same at the end only.
std::string_view TrimRightView(std::string_view text);
inline std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

}  // namespace tv
