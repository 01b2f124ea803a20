#pragma once
// Where the settings files and folders of the central data module are, each resolved through the
// settings root (GetPrefsFolder): the settings INI file and the data folder of the text tables.

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kDataFolderName = "data";

// The program file's name with the extension ".ini" ("tollvane.ini"), in the folder where it is
// used.
std::string GetSettingsFile();
// The data folder, without a trailing delimiter.
std::string GetDataFolder();

}  // namespace tv
