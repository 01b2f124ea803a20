#pragma once
// The settings root and where each settings file or folder is used. The root is the folder given
// with "/workfolder", or the common application-data folder + company + product + instance. A file
// of the root wins; otherwise a file or folder of that name beside the program is used; otherwise
// the root. So "scripts" beside the program wins over the root's, and the INI file of the root
// wins over the program's.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr std::string_view kInstanceSwitches[] = {"/appinstance", "/appinst", "/profile"};
inline constexpr std::string_view kWorkFolderSwitch = "/workfolder";

// The settings root with a trailing delimiter; not created here.
std::string GetPrefsRoot();
// The folder in which the settings file or folder `name` is to be used (an empty name: the root);
// recorded as "Prefs Folder".
std::string GetPrefsFolder(std::string_view name);

// The product's folder under the common application-data folder: company, then product (or the
// application title made safe for a file name), each with a trailing delimiter; created with its
// parents when asked.
std::string GetCommonAppDataAppFolder(bool create);

// The instance the parameters name: the value after the first "/appinstance", "/appinst" or
// "/profile" (exactly so, case included) that has one; otherwise "default".
std::string ResolveApplicationInstance(const std::vector<std::string>& params);
// The instance names a folder of the product folder, so it must be one plain folder name: an
// instance that is "." or "..", or holds a "/" or a control character, raises this text with it.
inline constexpr std::string_view kInvalidInstanceName = "Ogiltigt instansnamn [%s]";

// Resolves the instance of the program's parameters into AppInstanceName; an instance that is no
// plain folder name raises kInvalidInstanceName and leaves AppInstanceName as it was.
void UpdateApplicationInstance();

// The "Instance Name" fact: the first parameter holding "instance" (in any case) at its first or
// second character gives the text after "instance" and one more character ("/instance=north" and
// "instance:north" give "north"); else empty.
std::string InstanceParameter(const std::vector<std::string>& params);

}  // namespace tv
