#pragma once
// The stand-in for a registry key of the current user that is read and written as a sectioned
// name=value store: an INI file under the registry folder, at the key's path. The key
// "Software\Vendor\Grids" is the file "<folder>Software/Vendor/Grids.ini". The program points the
// registry folder at its settings root; until it does, the registry folder is the program's folder.

#include <memory>
#include <string>
#include <string_view>

#include "platform/ini/ini_file.h"

namespace tv {

// The folder that holds the keys' files, with a trailing delimiter, asked anew at every open (the
// settings root may depend on the command line). nullptr restores the default.
using TRegistryFolderProvider = std::string (*)();
void SetRegistryFolderProvider(TRegistryFolderProvider provider);
std::string RegistryFolder();

// The file of a key (parts separated by "\" or "/"). Raises EIniFileException for a key that is
// empty or has an empty part, ".", "..", or a control character: no key leaves the registry folder.
std::string RegistryKeyFileName(std::string_view key);

// The store of a key: an INI file at RegistryKeyFileName, read now (a missing file reads as empty).
// Whoever writes it makes the file's folder first.
std::unique_ptr<TIniFile> OpenRegistryIniFile(std::string_view key);

}  // namespace tv
