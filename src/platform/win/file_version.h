#pragma once
// The version information of any file, as the Windows version-resource calls give it, over the
// run-time library's reader of the ".tvversion" section. A file without version information, or
// one that does not exist, gives false or an empty text; a file that exists but cannot be read
// raises EInOutError.

#include <string>
#include <string_view>

namespace tv {

// The four numbers of the file version.
bool GetFileVersionNumbers(std::string_view fileName, int& major, int& minor, int& release, int& build);
// The chosen numbers, in the order major, minor, release, build, joined by ".".
std::string GetFileVersionString(std::string_view fileName, bool major = true, bool minor = true,
                                 bool release = true, bool build = true);
// "key=value" lines ended by CR LF for the fourteen keys of a version resource, in their order; a
// key the file lacks gives "key=".
std::string GetVersionInfoText(std::string_view fileName);

}  // namespace tv
