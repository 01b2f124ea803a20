#pragma once
// Removing control characters from texts before they go into a document: the strip set of the
// export writers (codes 0 to 9, 11, 12, 14 to 31 and 127; line feed and carriage return remain,
// the tab goes). The central data module's StripCharsInSet2 is this routine.

#include <string>
#include <string_view>

namespace tv {

std::string StripCharsInSet2(std::string_view text);

}  // namespace tv
