#pragma once
// Finding the application's help file when help is asked for.

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kNoHelpFile = "No helpfile available [%s]";

// The help file to use: `helpFile` (relative to the current folder) when it exists, else the file
// of that name in the program's folder; neither raises kNoHelpFile. Files here are always local,
// so no local copy is made. The file in use is recorded as "Help File".
std::string LocaliseHelpFile(std::string_view helpFile);

}  // namespace tv
