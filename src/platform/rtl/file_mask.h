#pragma once
// File-name masks as the Windows file functions read them: '*' stands for any run of characters,
// '?' for exactly one, letters match without regard to case, and a mask ending in ".*" also
// matches names without that dot ("*.*" is every name, "xformed*.*" matches "XFORMED_a").

#include <string_view>

namespace tv {

bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace tv
