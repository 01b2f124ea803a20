#pragma once
// Comparison of version texts such as "20.31.5867" by their first four numeric parts.

#include <string_view>

namespace tv {

// Compares the parts 0 to 3 of two texts split at "."; a missing or non-numeric part counts as 0
// and later parts are ignored. Returns a's number minus b's at the first part that differs, else 0:
// above 0 means that a is the newer version.
int CompareVersions(std::string_view a, std::string_view b);

}  // namespace tv
