#include "platform/win/special_folders.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

#include "platform/rtl/files.h"

namespace tv {
namespace {

inline constexpr const char* kCommonAppDataVariable = "TOLLVANE_COMMON_APPDATA";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return {};
}

std::string CommonAppData() {
    std::string folder = Environment(kCommonAppDataVariable);
    if (folder.empty()) {
        folder = Environment("XDG_DATA_HOME");
        if (!folder.starts_with('/')) folder.clear();  // a relative value is not valid there
    }
    if (folder.empty()) {
        std::string home = HomeFolder();
        if (home.empty()) return {};
        folder = IncludeTrailingPathDelimiter(home) + ".local/share";
    }
    return folder.size() > 1 ? ExcludeTrailingPathDelimiter(folder) : folder;
}

}  // namespace

std::string GetSpecialFolder(int folderNumber, bool create) {
    if (folderNumber != CSIDL_COMMON_APPDATA) return {};
    std::string folder = CommonAppData();
    if (create && !folder.empty() && !DirectoryExists(folder)) ForceDirectories(folder);
    return folder;
}

std::string GetCommonAppDataFolder() {
    std::string folder = GetSpecialFolder(CSIDL_COMMON_APPDATA, false);
    return folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
}

}  // namespace tv
