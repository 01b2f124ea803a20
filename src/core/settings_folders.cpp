#include "core/settings_folders.h"

#include "core/settings_root.h"
#include "platform/rtl/files.h"

namespace tv {

std::string GetSettingsFile() {
    const std::string name = ChangeFileExt(ExtractFileName(ProgramFileName()), ".ini");
    return GetPrefsFolder(name) + name;
}

std::string GetDataFolder() {
    return GetPrefsFolder(kDataFolderName) + std::string(kDataFolderName);
}

}  // namespace tv
