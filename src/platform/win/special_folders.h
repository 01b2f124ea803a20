#pragma once
// The folders Windows knows by shell folder number, as this system finds them on Linux. The common
// application-data folder, under which the settings roots and the business system's common files
// live, is $TOLLVANE_COMMON_APPDATA, else $XDG_DATA_HOME (when absolute), else ~/.local/share.

#include <string>

namespace tv {

// The shell folder number of the common application-data folder.
inline constexpr int CSIDL_COMMON_APPDATA = 35;

// The folder of a shell folder number, without a trailing delimiter; with `create` it is made with
// its parents when missing. Empty for a number this system does not know, or when no home folder
// can be found.
std::string GetSpecialFolder(int folderNumber, bool create);

// The common application-data folder with a trailing delimiter (empty when it cannot be found).
std::string GetCommonAppDataFolder();

}  // namespace tv
