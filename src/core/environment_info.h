#pragma once
// What the start of the program records in the environment-information list, and the program
// file's version texts. Main thread only.

#include <string_view>

#include "platform/rtl/environment_info.h"
#include "platform/rtl/string_list.h"

namespace tv {

inline constexpr std::string_view kLocaleFixEntry = "Locale";
inline constexpr std::string_view kLocaleFixValue = "No automatic updates of locale";

// The program file's string version information, "key=value" per line.
TStringList& ExeVersionInfo();

// Records what the start of the program knows: the locale fix, "Application Exe", "Application
// Exe Version", "Instance Name", "Remote Session", "64-bit Windows" and "Internet Connected", and
// reads the program's version texts into ExeVersionInfo.
void RecordStartupEnvironment();

}  // namespace tv
